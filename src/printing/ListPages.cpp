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

constexpr Twips kRowPadding = 20;

int halfPointsOf(double points) {
    return std::max(1, int(std::lround(points * 2)));
}

qreal availableWidth(Twips cellWidth) {
    return std::max<qreal>(1, (cellWidth - ListCellFitter::kCellMargins) * kWidthSafety);
}

} // namespace

ListCellFitter::ListCellFitter(const RunFormat& base)
    : m_family(docengine::renderFamily(base.font.isEmpty() ? QStringLiteral("Times New Roman") : base.font)),
      m_bold(base.bold.value_or(false)), m_baseSize(base.size > 0 ? base.size : 10) {}

ListCellFitter::~ListCellFitter() = default;

ListCellFitter::Face& ListCellFitter::face(int halfPoints) {
    std::unique_ptr<Face>& f = m_faces[halfPoints];
    if (!f)
        f = std::make_unique<Face>(m_family, halfPoints, m_bold);
    return *f;
}

Twips ListCellFitter::rowHeight(double size, int lines) {
    // A little air below the last line, so that rows of one line do not touch the borders.
    return Twips(std::ceil(face(halfPointsOf(size)).line * lines)) + kRowPadding;
}

ListType ListCellFitter::choose(const std::vector<QStringList>& texts, const QList<Twips>& widths,
                                Twips rowRoom) {
    const int smallest = halfPointsOf(kMinimumPoints);
    const int base = std::max(smallest, halfPointsOf(m_baseSize));
    for (int hp = base; hp >= smallest; --hp) {
        Face& f = face(hp);
        const double size = hp / 2.0;
        int allowed = kMaximumLines;
        while (allowed > 1 && rowHeight(size, allowed) > rowRoom)
            --allowed;
        if (rowHeight(size, allowed) > rowRoom && hp > smallest)
            continue;
        int needed = 1;
        for (const QStringList& row : texts) {
            for (int c = 0; c < row.size() && c < widths.size() && needed <= allowed; ++c)
                if (!row.at(c).isEmpty())
                    needed = std::max(needed, f.lines(row.at(c), availableWidth(widths.at(c))));
            if (needed > allowed)
                break;
        }
        if (needed <= allowed || hp == smallest) {
            const int lines = std::min(needed, allowed);
            return ListType{.size = size, .lines = lines, .rowHeight = rowHeight(size, lines)};
        }
    }
    return ListType{.size = kMinimumPoints, .lines = 1, .rowHeight = rowHeight(kMinimumPoints, 1)};
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
    return std::max(1, int(std::floor(room / fitter.rowHeight(ListCellFitter::kMinimumPoints, 1))));
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
