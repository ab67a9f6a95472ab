#include "office/SymbolFinder.h"

#include "platform/data/CodePages.h"

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

QString textOf(const ZXing::Result& result) {
    // Symbols without ECI carry Windows-1252 bytes: what the printing's writer encodes.
    if (!result.hasECI()) {
        const ZXing::ByteArray& bytes = result.bytes();
        return codepage::decodeCp1252(
            QByteArrayView(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    return QString::fromStdWString(result.text());
}

std::pair<int, int> topLeft(const ZXing::Result& r) {
    const ZXing::Position& p = r.position();
    int top = p[0].y, left = p[0].x;
    for (int i = 1; i < 4; ++i) {
        top = std::min(top, p[i].y);
        left = std::min(left, p[i].x);
    }
    return {top, left};
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
    ZXing::Results results = ZXing::ReadBarcodes(view, hints);
    std::erase_if(results, [](const ZXing::Result& r) { return !r.isValid(); });
    std::stable_sort(results.begin(), results.end(),
                     [](const ZXing::Result& a, const ZXing::Result& b) { return topLeft(a) < topLeft(b); });
    QStringList texts;
    for (const ZXing::Result& r : results)
        texts << textOf(r);
    return texts;
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
