#include "printing/PositionsPerPage.h"

namespace velmora {

PositionsPerPage PositionsPerPage::fromText(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (ok && n > 0 && n <= kMaximum)
        return PositionsPerPage{.count = n, .warning = {}};
    return PositionsPerPage{
        .count = kDefault,
        .warning = QStringLiteral("numPlazasPorPag \"%1\" no es válido; se usan %2").arg(text).arg(kDefault)};
}

} // namespace velmora
