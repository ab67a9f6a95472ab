#include "printing/PositionsPerPage.h"

#include "printing/ListPages.h"

namespace velmora {

PositionsPerPage PositionsPerPage::fromText(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n <= 0)
        return PositionsPerPage{
            .count = kDefault,
            .warning =
                QStringLiteral("numPlazasPorPag \"%1\" no es válido; se usan %2").arg(text).arg(kDefault)};
    // The form is drawn for kDefault rows, so as many or fewer always fit; only more are
    // measured, which needs the fonts (a tenth of a second at start).
    if (n <= kDefault)
        return PositionsPerPage{.count = n, .warning = {}};
    // More rows than a sheet holds with its barcode would spill onto a page without one.
    const int largest = largestPositionsPerPage();
    if (n > largest)
        return PositionsPerPage{
            .count = largest,
            .warning = QStringLiteral("numPlazasPorPag \"%1\" no cabe en una hoja con su código de barras; "
                                      "se usan %2")
                           .arg(text)
                           .arg(largest)};
    return PositionsPerPage{.count = n, .warning = {}};
}

} // namespace velmora
