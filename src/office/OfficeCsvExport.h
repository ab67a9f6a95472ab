#pragma once

#include "office/OfficeApplication.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

namespace velmora {

// The office's four lists as UTF-8 CSV files with a header row (and a byte-order mark, so
// spreadsheets take them as UTF-8): solicitudes.csv, vacantes.csv, resultas.csv and
// incidencias.csv in `folder`, which is made when missing. A fifth, lecturas.csv, keeps what
// every page gave (see kScansFile), from which runs over parts of a batch are merged.
// The five replace the old ones as a set, each written whole and checked first: on a failed
// write the error names the file and the cause, and the old results stay as they were.
Status writeOfficeCsv(const OfficeReadOutcome& outcome, const QString& folder);

// The file of a run's page reads: one row per barcode text, page without one, page or file
// that could not be read, with the run's number of the page read (`Lectura`).
inline constexpr char16_t kScansFile[] = u"lecturas.csv";

// The pages of a run as lecturas.csv holds them, and the signatures of its signed files;
// `cancelled` is set when the run was. A file cut short, empty or without its header row is
// an error naming it.
Result<std::vector<ScannedPage>> readScannedPages(const QString& folder, bool* cancelled,
                                                  std::vector<SignedFileCheck>* signedFiles);

// One CSV line: fields with a comma, a quote or a line break are quoted, quotes doubled.
QString csvLine(const QStringList& fields);

// The rows of a CSV text as csvLine writes them (a leading byte-order mark is skipped).
// `cutShort`, when given, tells whether the text ends inside a row (no line end after its
// last field, or a quoted field left open); that row is still returned.
std::vector<QStringList> parseCsv(QStringView text, bool* cutShort = nullptr);

} // namespace velmora
