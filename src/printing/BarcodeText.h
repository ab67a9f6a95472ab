#pragma once

#include "platform/Result.h"
#include "platform/barcode/BarcodeFolding.h"

#include <QDateTime>
#include <QString>

namespace velmora {

class RecordSet;

// The three barcodes of a printed application, by the letter each carries.
enum class BarcodeKind : char { FirstPage = 'P', Vacancies = 'V', Resultas = 'R' };

// The key that opens every barcode of an application: the DNI padded with blanks on the
// right to 9, the body code (its last 5 characters when longer) padded with "0" on the
// left to 5, and the group padded with a blank on the left to at least 1. Padding never
// shortens a text.
QString ClaveCodigoBarras(const QString& dni, const QString& cuerpo, const QString& grupo);

// key + "DD/MM/YYYY" + "HH:mm:ss" of the moment printing started, with nothing between.
QString barcodeHeader(const QString& key, const QDateTime& printedAt);

// header + kind letter + page number in 3 digits ("001" whatever `page` says for the first
// page) + data + "F". The data of the first page is the print record as it stands.
QString barcodeText(const QString& header, BarcodeKind kind, int page, const QString& data);

// A list row as its page's barcode carries it: `Orden` padded with "0" on the left to 4,
// then `CodConvocatoria` padded with blanks on the left to 5. Reads the current row.
Result<QString> listRowBarcodeData(const RecordSet& list);
// The data of one printed page of the vacancy or resultas list: `count` rows from the
// 0-based position `first` of the cursor's view, in view order. The cursor is left on
// the row it was on.
Result<QString> listPageBarcodeData(RecordSet& list, int first, int count);

} // namespace velmora
