#pragma once

#include "printing/BarcodeText.h"

#include <QString>
#include <QStringList>

namespace velmora {

class ApplicationModel;
class RecordSet;

// The fields of the print record that are not fixed letters or dates, longest first, each
// as its label and length ("Domicilio (110 caracteres)"); at most `count` of them, and only
// fields that hold something.
QStringList longestPrintRecordFields(const ApplicationModel& model, int count = 3);

// The message of a print stopped because the first page's barcode cannot hold the
// application's data: it names the longest fields, which the applicant can shorten.
QString firstPageBarcodeTooLong(const ApplicationModel& model);

// The same for a page of the vacancy or resultas list: it names the positions of the list
// with the longest codes.
QString listBarcodeTooLong(BarcodeKind kind, const RecordSet& list);

} // namespace velmora
