#pragma once

class QString;
class QWidget;

namespace velmora {

// Names `control` as a screen reader says it. A drop-down's box, where the user types, and
// its list, where the user picks, take the same name: a listener hears the field, never the
// value it happens to hold.
void setSpokenName(QWidget* control, const QString& name);

// Has the program's drop-downs (DataComboBox) say their name, not their value, as their name.
void speakDropDownsByName();

// Names every control under `root` that has no name yet after the label it is the buddy of.
// Controls whose label repeats elsewhere in the window are named first, with their section.
void nameControlsAfterLabels(QWidget* root);

} // namespace velmora
