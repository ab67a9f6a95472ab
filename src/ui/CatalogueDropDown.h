#pragma once

namespace velmora {

class DataComboBox;
class RecordSet;

// Binds a first-tab drop-down to a catalogue table: its code and name under Spanish captions
// ("Código", "Provincia"), the columns kept for the location filters out of sight.
void bindCatalogue(DataComboBox& box, RecordSet& table);

} // namespace velmora
