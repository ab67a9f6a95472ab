#include "office/SymbolFinder.h"

#include "printing/Pdf417Results.h"

#include <QPainter>
#include <QTransform>

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

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

// Where a page's symbols may lie, top to bottom: the page is cut into tiles of kTile pixels;
// a symbol is a block of tiles whose mean grey is darker than text or specks ever make one. Each area is
// widened by a tile's margin on every side.
constexpr int kTile = 24;
constexpr int kDenseTileGrey = 175;
constexpr int kMinAreaTiles = 6;

// The mean grey of each whole tile (a page narrower than a tile is one tile), summed straight
// from the page's rows: no scaled copy of the page is made.
class TileGreys {
public:
    explicit TileGreys(const QImage& greyPage)
        : m_width(std::max(1, greyPage.width() / kTile)), m_height(std::max(1, greyPage.height() / kTile)),
          m_sums(size_t(m_width) * size_t(m_height), 0) {
        const int columns = std::min(greyPage.width(), m_width * kTile);
        const int rows = std::min(greyPage.height(), m_height * kTile);
        // Every tile is as large: kTile square, or the whole page where it is smaller.
        m_tilePixels = qint64(std::min(columns, kTile)) * std::min(rows, kTile);
        for (int y = 0; y < rows; ++y) {
            const uchar* line = greyPage.constScanLine(y);
            const size_t first = size_t(y / kTile) * size_t(m_width);
            for (int tile = 0; tile * kTile < columns; ++tile) {
                const int end = std::min(columns, (tile + 1) * kTile);
                int sum = 0;
                for (int x = tile * kTile; x < end; ++x)
                    sum += line[x];
                m_sums[first + size_t(tile)] += sum;
            }
        }
    }
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool dense(int x, int y) const {
        return m_sums[size_t(y) * size_t(m_width) + size_t(x)] < kDenseTileGrey * m_tilePixels;
    }

private:
    int m_width;
    int m_height;
    std::vector<qint64> m_sums;
    qint64 m_tilePixels = 0;
};

QList<QRect> symbolAreas(const QImage& greyPage) {
    const TileGreys tiles(greyPage);
    std::vector<int> label(size_t(tiles.width()) * size_t(tiles.height()), 0);
    QList<QRect> areas;
    for (int y = 0; y < tiles.height(); ++y)
        for (int x = 0; x < tiles.width(); ++x) {
            if (!tiles.dense(x, y) || label[size_t(y) * size_t(tiles.width()) + size_t(x)])
                continue;
            // The block of dense tiles touching this one.
            QRect box(x, y, 1, 1);
            int count = 0;
            std::vector<QPoint> stack{QPoint(x, y)};
            label[size_t(y) * size_t(tiles.width()) + size_t(x)] = 1;
            while (!stack.empty()) {
                const QPoint at = stack.back();
                stack.pop_back();
                ++count;
                box = box.united(QRect(at, QSize(1, 1)));
                for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint next = at + step;
                    if (next.x() < 0 || next.y() < 0 || next.x() >= tiles.width() ||
                        next.y() >= tiles.height())
                        continue;
                    int& seen = label[size_t(next.y()) * size_t(tiles.width()) + size_t(next.x())];
                    if (!seen && tiles.dense(next.x(), next.y())) {
                        seen = 1;
                        stack.push_back(next);
                    }
                }
            }
            if (count >= kMinAreaTiles)
                areas << QRect(box.x() * kTile, box.y() * kTile, box.width() * kTile, box.height() * kTile)
                             .adjusted(-kTile, -kTile, kTile, kTile)
                             .intersected(greyPage.rect());
        }
    std::sort(areas.begin(), areas.end(), [](const QRect& a, const QRect& b) {
        return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
    });
    return areas;
}

QImage turned(const QImage& greyPage, double degrees) {
    QImage result = greyPage.transformed(QTransform().rotate(degrees), Qt::SmoothTransformation);
    // The corners the turn uncovers are transparent black; paper is white.
    QImage white(result.size(), QImage::Format_Grayscale8);
    white.fill(Qt::white);
    QPainter(&white).drawImage(0, 0, result);
    return white;
}

// The turn that levels a symbol's rows, in degrees, or nullopt when the area shows none.
// A symbol is much wider than tall, so its rows, not its short sides, tell the skew best:
// the dark pixels are counted along lines at each candidate slope, and the slope whose
// counts change most sharply from line to line runs along the rows.
std::optional<double> levellingTurn(const QImage& greyArea) {
    constexpr int kDark = 128;
    constexpr double kLargestSkew = 3.0;
    constexpr double kStep = 0.1;
    std::vector<QPoint> dark;
    for (int y = 0; y < greyArea.height(); ++y) {
        const uchar* row = greyArea.constScanLine(y);
        for (int x = 0; x < greyArea.width(); x += 2)
            if (row[x] < kDark)
                dark.emplace_back(x, y);
    }
    if (dark.size() < 100)
        return std::nullopt;
    const int margin = int(std::ceil(greyArea.width() * std::tan(kLargestSkew * M_PI / 180.0))) + 1;
    std::vector<int> counts(size_t(greyArea.height() + 2 * margin));
    double best = 0;
    double bestScore = -1;
    for (double degrees = -kLargestSkew; degrees <= kLargestSkew + 1e-9; degrees += kStep) {
        const double slope = std::tan(degrees * M_PI / 180.0);
        std::fill(counts.begin(), counts.end(), 0);
        for (const QPoint& p : dark)
            ++counts[size_t(std::lround(p.y() - p.x() * slope) + margin)];
        double score = 0;
        for (size_t i = 1; i < counts.size(); ++i)
            score += double(counts[i] - counts[i - 1]) * double(counts[i] - counts[i - 1]);
        if (score > bestScore) {
            bestScore = score;
            best = degrees;
        }
    }
    return -best;
}

// One area's symbols: levelled first when its rows slope, then as it stands, then by
// the usual skews.
QStringList readArea(const QImage& greyArea) {
    constexpr double kStraightEnough = 0.3;
    const std::optional<double> turn = levellingTurn(greyArea);
    QStringList found;
    if (turn && std::abs(*turn) >= kStraightEnough)
        found = decode(turned(greyArea, *turn), Binarization::Fixed);
    if (found.isEmpty())
        found = decode(greyArea, Binarization::Fixed);
    for (size_t i = 0; found.isEmpty() && i < std::size(kSkewTries); ++i)
        if (!turn || std::abs(kSkewTries[i] - *turn) >= kStraightEnough)
            found = decode(turned(greyArea, kSkewTries[i]), Binarization::Fixed);
    return found;
}

} // namespace

QStringList glanceTexts(const QImage& page) {
    if (page.isNull())
        return {};
    const QImage straight = grey(page);
    const QList<QRect> areas = symbolAreas(straight);
    // Dense print (a bold heading, a stamp) makes areas too; they give nothing and are passed.
    QStringList texts;
    for (const QRect& area : areas)
        texts << readArea(straight.copy(area));
    // A symbol fainter than the areas look for, or one the areas cut: the whole page.
    return texts.isEmpty() ? decode(straight, Binarization::Fixed) : texts;
}

QStringList findBarcodeTexts(const QImage& page) {
    if (page.isNull())
        return {};
    const QImage straight = grey(page);
    QStringList texts = decode(straight, Binarization::Fixed);
    if (!texts.isEmpty())
        return texts;
    // A skewed or noisy scan: the harder reads and the turns are paid on the symbols' areas
    // only, a fraction of the page. Should they miss, the whole page gets them all.
    for (const QRect& area : symbolAreas(straight)) {
        const QImage part = straight.copy(area);
        QStringList found = decode(part, Binarization::LocalAverage);
        if (found.isEmpty())
            if (const std::optional<double> turn = levellingTurn(part))
                found = decodeEitherWay(turned(part, *turn));
        for (size_t i = 0; found.isEmpty() && i < std::size(kSkewTries); ++i)
            found = decodeEitherWay(turned(part, kSkewTries[i]));
        texts << found;
    }
    if (!texts.isEmpty())
        return texts;
    texts = decode(straight, Binarization::LocalAverage);
    for (size_t i = 0; texts.isEmpty() && i < std::size(kSkewTries); ++i)
        texts = decodeEitherWay(turned(straight, kSkewTries[i]));
    return texts;
}

} // namespace velmora
