#include "printing/ListPages.h"

#include "platform/docengine/DocumentLayout.h"
#include "printing/BarcodePicture.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

using docengine::RunFormat;
using docengine::Twips;

std::vector<int> listPageSizes(const std::vector<Twips>& heights, qreal room, int perPage) {
    std::vector<int> pages;
    if (perPage <= 0)
        perPage = PositionsPerPage::kDefault;
    const int rows = int(heights.size());
    for (int next = 0; next < rows;) {
        const int remaining = rows - next;
        const int most = remaining < perPage && remaining >= 32 ? 31 : perPage;
        int onPage = 0;
        qreal used = 0;
        while (onPage < most && next + onPage < rows &&
               (onPage == 0 || used + heights[size_t(next + onPage)] <= room)) {
            used += heights[size_t(next + onPage)];
            ++onPage;
        }
        pages.push_back(onPage);
        next += onPage;
    }
    return pages;
}

std::vector<int> listPageSizes(int rows, int perPage) {
    return listPageSizes(std::vector<Twips>(size_t(std::max(rows, 0)), 0), 0, perPage);
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

constexpr Twips kRowPadding = 20;

int halfPointsOf(double points) {
    return std::max(1, int(std::lround(points * 2)));
}

qreal availableWidth(Twips cellWidth) {
    return std::max<qreal>(1, (cellWidth - ListCellFitter::kCellMargins) * kWidthSafety);
}

} // namespace

ListCellFitter::ListCellFitter(const RunFormat& base)
    : m_size(base.size > 0 ? base.size : 10),
      m_face(std::make_unique<Face>(
          docengine::renderFamily(base.font.isEmpty() ? QStringLiteral("Times New Roman") : base.font),
          halfPointsOf(m_size), base.bold.value_or(false))) {}

ListCellFitter::~ListCellFitter() = default;

Twips ListCellFitter::rowHeight(int lines) {
    // A little air below the last line, so that rows of one line do not touch the borders.
    return Twips(std::ceil(m_face->line * lines)) + kRowPadding;
}

Twips ListCellFitter::rowHeight(const QStringList& texts, const QList<Twips>& widths) {
    int lines = 1;
    for (int c = 0; c < texts.size() && c < widths.size(); ++c)
        if (!texts.at(c).isEmpty())
            lines = std::max(lines, m_face->lines(texts.at(c), availableWidth(widths.at(c))));
    return rowHeight(lines);
}

qreal ListCellFitter::textHeight(const QString& text, Twips width, const RunFormat& format) {
    Face f(docengine::renderFamily(format.font.isEmpty() ? QStringLiteral("Times New Roman") : format.font),
           halfPointsOf(format.size > 0 ? format.size : 10), format.bold.value_or(false));
    return f.lines(text, availableWidth(width)) * f.line;
}

qreal ListCellFitter::lineHeight(const RunFormat& format) {
    Face f(docengine::renderFamily(format.font.isEmpty() ? QStringLiteral("Times New Roman") : format.font),
           halfPointsOf(format.size > 0 ? format.size : 10), format.bold.value_or(false));
    return f.line;
}

qreal listPageRoom(const docengine::PageSetup& page, qreal headerHeight) {
    const qreal content = page.height - page.marginTop - page.marginBottom;
    const qreal line = ListCellFitter::lineHeight(RunFormat{.font = QStringLiteral("Arial"), .size = 10});
    const qreal barcode = barcodePlaceHeight(kListBarcodeHeight) + 4 * line;
    const qreal heading =
        2 * ListCellFitter::lineHeight(RunFormat{.font = QStringLiteral("Arial"), .size = 12}) + 240;
    return content * 0.97 - headerHeight - barcode - heading;
}

int rowsThatFit(qreal room, const RunFormat& dataFont) {
    ListCellFitter fitter(dataFont);
    return std::max(1, int(std::floor(room / fitter.rowHeight(1))));
}

qreal listHeaderHeight(const ListTableShape& shape) {
    qreal height = 0;
    for (int r = 0; r < shape.headerRows.size(); ++r) {
        QList<Twips> widths = shape.widths;
        for (const ListTableShape::Merge& m : shape.merges)
            if (m.row == r + 1 && m.lastCell <= widths.size()) {
                Twips merged = 0;
                for (int c = m.firstCell; c <= m.lastCell; ++c)
                    merged += widths.at(c - 1);
                widths.remove(m.firstCell - 1, m.lastCell - m.firstCell + 1);
                widths.insert(m.firstCell - 1, merged);
            }
        qreal row = 0;
        const QStringList& texts = shape.headerRows.at(r);
        for (int c = 0; c < texts.size() && c < widths.size(); ++c)
            row = std::max(row, ListCellFitter::textHeight(texts.at(c), widths.at(c), listHeaderFont()));
        height += row;
    }
    return height;
}

int largestPositionsPerPage() {
    static const int largest = [] {
        int fit = std::numeric_limits<int>::max();
        for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy})
            for (ListKind kind : {ListKind::Vacancies, ListKind::Resultas})
                fit = std::min(fit, rowsThatFit(listPageRoom(templatePageSetup(),
                                                             listHeaderHeight(listTableShape(kind, g))),
                                                listDataFont()));
        return fit;
    }();
    return largest;
}

} // namespace velmora
