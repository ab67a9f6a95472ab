#include "printing/ListPages.h"

#include "platform/docengine/DocumentLayout.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace velmora {

using docengine::RunFormat;
using docengine::Twips;

std::vector<int> listPageSizes(int rows, int perPage) {
    std::vector<int> pages;
    if (rows <= 0)
        return pages;
    if (perPage <= 0)
        perPage = PositionsPerPage::kDefault;
    const int rest = rows % perPage;
    const int earlyEnd = rest >= 32 ? rows - rest + 31 : 0;
    int onPage = 0;
    for (int row = 1; row <= rows; ++row) {
        ++onPage;
        if (row % perPage == 0 || row == earlyEnd || row == rows) {
            pages.push_back(onPage);
            onPage = 0;
        }
    }
    return pages;
}

// One face at one size, measured as pages draw it (pixel size in twips, no hinting).
struct ListCellFitter::Face {
    QFont font;
    QFontMetricsF metrics;
    qreal line = 0;
    qreal space = 0;
    QHash<QString, qreal> widths;

    static QFont makeFont(const QString& family, int halfPoints, bool bold) {
        QFont f(family);
        f.setPixelSize(std::max(1, halfPoints * 10));
        f.setBold(bold);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setKerning(true);
        return f;
    }

    Face(const QString& family, int halfPoints, bool bold)
        : font(makeFont(family, halfPoints, bold)), metrics(font) {
        line = std::max(metrics.lineSpacing(), metrics.ascent() + metrics.descent());
        space = metrics.horizontalAdvance(QLatin1Char(' '));
    }

    qreal width(const QString& word) {
        auto it = widths.constFind(word);
        if (it != widths.cend())
            return *it;
        const qreal w = metrics.horizontalAdvance(word);
        widths.insert(word, w);
        return w;
    }

    // Lines that `text` takes when wrapped at `available`: words go on a line while they fit;
    // a word wider than the line is broken.
    int lines(const QString& text, qreal available) {
        int count = 0;
        for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
            int lines = 1;
            qreal used = 0;
            for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                qreal w = width(word);
                if (used > 0 && used + space + w <= available) {
                    used += space + w;
                    continue;
                }
                if (used > 0) {
                    ++lines;
                    used = 0;
                }
                while (w > available && available > 0) {
                    ++lines;
                    w -= available;
                }
                used = w;
            }
            count += lines;
        }
        return count;
    }
};

namespace {

// Measured text runs a little wider or narrower than laid-out text; wrap a bit early.
constexpr qreal kWidthSafety = 0.97;

int halfPointsOf(double points) {
    return std::max(1, int(std::lround(points * 2)));
}

} // namespace

ListCellFitter::ListCellFitter(const RunFormat& base, Twips rowHeight)
    : m_family(docengine::renderFamily(base.font.isEmpty() ? QStringLiteral("Times New Roman") : base.font)),
      m_bold(base.bold.value_or(false)), m_baseSize(base.size > 0 ? base.size : 10), m_rowHeight(rowHeight) {}

ListCellFitter::~ListCellFitter() = default;

ListCellFitter::Face& ListCellFitter::face(int halfPoints) {
    std::unique_ptr<Face>& f = m_faces[halfPoints];
    if (!f)
        f = std::make_unique<Face>(m_family, halfPoints, m_bold);
    return *f;
}

double ListCellFitter::sizeFor(const QString& text, Twips width) {
    const int base = halfPointsOf(m_baseSize);
    if (text.isEmpty())
        return m_baseSize;
    const qreal available = std::max<qreal>(1, (width - kCellMargins) * kWidthSafety);
    const int smallest = std::min(base, halfPointsOf(kMinimumPoints));
    for (int hp = base; hp >= smallest; --hp) {
        Face& f = face(hp);
        if (f.lines(text, available) * f.line <= m_rowHeight)
            return hp / 2.0;
    }
    return smallest / 2.0;
}

qreal ListCellFitter::textHeight(const QString& text, Twips width, const RunFormat& format) {
    Face f(docengine::renderFamily(format.font.isEmpty() ? QStringLiteral("Times New Roman") : format.font),
           halfPointsOf(format.size > 0 ? format.size : 10), format.bold.value_or(false));
    const qreal available = std::max<qreal>(1, (width - kCellMargins) * kWidthSafety);
    return f.lines(text, available) * f.line;
}

qreal ListCellFitter::lineHeight(const RunFormat& format) {
    Face f(docengine::renderFamily(format.font.isEmpty() ? QStringLiteral("Times New Roman") : format.font),
           halfPointsOf(format.size > 0 ? format.size : 10), format.bold.value_or(false));
    return f.line;
}

} // namespace velmora
