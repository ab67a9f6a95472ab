#include "office/SymbolFinder.h"

#include "printing/Pdf417Results.h"

#include <QPainter>
#include <QTransform>

#include <ZXing/ReadBarcode.h>

#include <algorithm>

namespace velmora {
namespace {

// A page turned by a degree or two leaves the symbol's rows slanted across its width, which
// the decoder's row scan does not follow; turning it back straightens them. Only pages where
// nothing was found pay for these tries.
constexpr double kSkewTries[] = {2.0, -2.0, 1.0, -1.0};

// A fixed threshold costs a few milliseconds a page and reads clean prints and scans,
// even at 150 dpi where the local-average binarizer smears the narrow modules; the local
// average (with the decoder's harder tries) is kept for faint, uneven or noisy scans.
enum class Binarization { Fixed, LocalAverage };

QImage grey(const QImage& page) {
    return page.format() == QImage::Format_Grayscale8 ? page
                                                      : page.convertToFormat(QImage::Format_Grayscale8);
}

// `image` must be Grayscale8: the decoder looks at its buffer in place.
QStringList decode(const QImage& image, Binarization binarization) {
    const ZXing::ImageView view(image.constBits(), image.width(), image.height(), ZXing::ImageFormat::Lum,
                                int(image.bytesPerLine()));
    auto hints = ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::PDF417).setTryRotate(true);
    if (binarization == Binarization::Fixed)
        hints.setBinarizer(ZXing::Binarizer::FixedThreshold).setTryDownscale(false);
    else
        hints.setBinarizer(ZXing::Binarizer::LocalAverage).setTryHarder(true);
    return pdf417TextsInReadingOrder(ZXing::ReadBarcodes(view, hints));
}

QStringList decodeEitherWay(const QImage& image) {
    QStringList texts = decode(image, Binarization::Fixed);
    return texts.isEmpty() ? decode(image, Binarization::LocalAverage) : texts;
}

QImage turned(const QImage& greyPage, double degrees) {
    QImage result = greyPage.transformed(QTransform().rotate(degrees), Qt::SmoothTransformation);
    // The corners the turn uncovers are transparent black; paper is white.
    QImage white(result.size(), QImage::Format_Grayscale8);
    white.fill(Qt::white);
    QPainter(&white).drawImage(0, 0, result);
    return white;
}

} // namespace

QStringList glanceBarcodeTexts(const QImage& page) {
    if (page.isNull())
        return {};
    return decode(grey(page), Binarization::Fixed);
}

QStringList findBarcodeTexts(const QImage& page) {
    if (page.isNull())
        return {};
    const QImage straight = grey(page);
    QStringList texts = decodeEitherWay(straight);
    for (size_t i = 0; texts.isEmpty() && i < std::size(kSkewTries); ++i)
        texts = decodeEitherWay(turned(straight, kSkewTries[i]));
    return texts;
}

} // namespace velmora
