#include "office/SymbolFinder.h"

#include "printing/BarcodeReader.h"

#include <QPainter>
#include <QTransform>

namespace velmora {
namespace {

// A page turned by a degree or two leaves the symbol's rows slanted across its width, which
// the decoder's row scan does not follow; turning it back straightens them. Only pages where
// nothing was found pay for these tries.
constexpr double kSkewTries[] = {2.0, -2.0, 1.0, -1.0};

QImage turned(const QImage& page, double degrees) {
    QImage grey = page.convertToFormat(QImage::Format_Grayscale8);
    QImage result = grey.transformed(QTransform().rotate(degrees), Qt::SmoothTransformation);
    // The corners the turn uncovers are transparent black; paper is white.
    QImage white(result.size(), QImage::Format_Grayscale8);
    white.fill(Qt::white);
    QPainter(&white).drawImage(0, 0, result);
    return white;
}

} // namespace

QStringList findBarcodeTexts(const QImage& page) {
    QStringList texts = readPdf417(page);
    if (!texts.isEmpty() || page.isNull())
        return texts;
    for (const double degrees : kSkewTries) {
        texts = readPdf417(turned(page, degrees));
        if (!texts.isEmpty())
            return texts;
    }
    return {};
}

} // namespace velmora
