#pragma once

#include <QString>

#include <optional>

namespace velmora {

class RecordSet;

// The widest numbers a list page's barcode has room for: each row's order in four digits and
// the page in three. A longer number would push every field after it out of its place.
inline constexpr int kMaxBarcodeOrder = 9999;
inline constexpr int kMaxBarcodePage = 999;

// What keeps the position lists off a final printout, in words for the user: rows whose
// orders, codes or number the barcodes cannot carry as the office reads them. None when the
// lists can be printed.
std::optional<QString> finalPrintListProblem(const RecordSet& vacancies, const RecordSet& resultas);

// The message of a final print refused for `problem` before anything was saved or printed.
QString finalPrintRefusal(const QString& problem);

} // namespace velmora
