#pragma once

#include <QString>

namespace velmora {

class ApplicationModel;
class RecordSet;

// The print record of an application: its 37 first-tab fields, each followed by "|".
// Texts stand as typed but for a "|", which becomes "/" so that the record keeps its 37
// fields, drop-downs give their code (value), choices a letter, and
// dates "YYYYMMDD" ("00000000" when empty or not a date). The situation field holds the
// typed text when the chosen row of `situations` is the "other" one, as the first tab decides.
QString GeneraCadenaImpresion(const ApplicationModel& model, const RecordSet& situations);

// A date text as the record writes it: "12/03/1980" gives "19800312".
QString printRecordDate(const QString& text);

} // namespace velmora
