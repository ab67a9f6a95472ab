#pragma once

#include "office/OfficeApplication.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

namespace velmora {

// The office's four lists as UTF-8 CSV files with a header row (and a byte-order mark, so
// spreadsheets take them as UTF-8): solicitudes.csv, vacantes.csv, resultas.csv and
// incidencias.csv in `folder`, which is made when missing.
Status writeOfficeCsv(const OfficeReadOutcome& outcome, const QString& folder);

// One CSV line: fields with a comma, a quote or a line break are quoted, quotes doubled.
QString csvLine(const QStringList& fields);

} // namespace velmora
