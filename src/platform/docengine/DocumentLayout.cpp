#include "platform/docengine/DocumentLayout.h"

#include "platform/docengine/BilevelAnalysis.h"
#include "platform/docengine/BlockModelReader.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentData.h"
#include "platform/docengine/LayoutConstants.h"
#include "platform/docengine/LayoutFonts.h"
#include "platform/docengine/PageFlow.h"
#include "platform/docengine/ParagraphLayout.h"
#include "platform/docengine/TableLayout.h"

#include <QFontDatabase>
#include <QHash>
#include <QMutex>

#include <algorithm>
#include <cmath>
#include <optional>

namespace velmora::docengine {

using namespace layout;

QString renderFamily(const QString& documentFont) {
    // The face itself when installed (Windows), else its metric-compatible Liberation twin, so
    // that lines and pages break in the same places everywhere. The answers are kept for every
    // layout of the process, and layouts run on several threads at once (print preview, the
    // office reader), hence the lock.
    static QMutex mutex;
    static QHash<QString, QString> cache;
    const QMutexLocker lock(&mutex);
    auto it = cache.constFind(documentFont);
    if (it != cache.cend())
        return *it;
    const QString f = documentFont.trimmed().toLower();
    QString twin;
    if (f == QLatin1String("times new roman") || f == QLatin1String("times") ||
        f == QLatin1String("cg times"))
        twin = QStringLiteral("Liberation Serif");
    else if (f == QLatin1String("arial") || f == QLatin1String("helvetica"))
        twin = QStringLiteral("Liberation Sans");
    else if (f == QLatin1String("courier new") || f == QLatin1String("courier"))
        twin = QStringLiteral("Liberation Mono");
    QString chosen = documentFont;
    if (!twin.isEmpty() && (f == QLatin1String("cg times") || !QFontDatabase::hasFamily(documentFont)) &&
        QFontDatabase::hasFamily(twin))
        chosen = twin;
    cache.insert(documentFont, chosen);
    return chosen;
}

void PageContent::append(const PageContent& o, QPointF off) {
    for (PageFill f : o.fills) {
        f.rect.translate(off);
        fills.push_back(f);
    }
    for (PageImage i : o.images) {
        i.rect.translate(off);
        images.push_back(i);
    }
    for (const PageText& t : o.texts)
        texts.push_back(PageText{t.pos + off, t.text, t.font, t.color});
    for (PageLine l : o.lines) {
        l.from += off;
        l.to += off;
        lines.push_back(l);
    }
    for (PageCheckBox b : o.boxes) {
        b.rect.translate(off);
        boxes.push_back(b);
    }
}

bool PageContent::isEmpty() const {
    return fills.empty() && images.empty() && texts.empty() && lines.empty() && boxes.empty();
}

struct DocumentLayout::Private {
    std::vector<PageContent> pages;
    std::vector<QFont> fonts;
    std::vector<QImage> images;
    // Analysed when first painted; a layout may be painted from several threads at once.
    mutable QMutex bilevelMutex;
    mutable std::vector<std::unique_ptr<BilevelImage>> bilevels;
    QSizeF pageSize;
    Status status;
};

namespace {

// Lays the block model out: the body down the pages, then every page's header and footer
// (which may show the page count, known only once the body is laid out).
class Layouter {
public:
    Layouter(DocumentData& d, DocumentLayout::Private& out)
        : m_d(d), m_out(out), m_model(readBlockModel(d)),
          m_paragraphs(m_fonts, m_model.defaultTabStop,
                       [this](const QString& target) { return pictureIndex(target); }),
          m_tables([this](LaidCell& cell, qreal exactHeight) { layoutCell(cell, exactHeight); }) {}

    void run() {
        const PageSetup& page = m_model.page;
        m_out.pageSize = QSizeF(page.width, page.height);
        PageFlow flow(m_out.pages, page.marginTop, page.height - page.marginBottom, kMaxPages);
        placeBlocks(m_model.body, page.marginLeft, page.contentWidth(), flow);
        if (flow.overflowed())
            m_out.status = Error::make(
                DocError::Unsupported,
                QStringLiteral(
                    "El documento pasa de %1 páginas, más de las que se pueden preparar para imprimir.")
                    .arg(kMaxPages));
        placeHeadersAndFooters();
        m_out.fonts = m_fonts.fonts();
    }

private:
    int pictureIndex(const QString& target) {
        auto it = m_pictureIndex.constFind(target);
        if (it != m_pictureIndex.cend())
            return *it;
        const QImage image = QImage::fromData(m_d.package.part(target));
        int index = -1;
        if (!image.isNull()) {
            m_out.images.push_back(image);
            m_out.bilevels.emplace_back();
            index = static_cast<int>(m_out.images.size()) - 1;
        }
        m_pictureIndex.insert(target, index);
        return index;
    }

    ParagraphBox layoutParagraph(const ParagraphBlock& p, qreal width, bool inCell) const {
        return m_paragraphs.layout(p, width,
                                   ParagraphContext{.pageNumber = m_pageNumber,
                                                    .pageCount = m_pageCount,
                                                    .halfPointCap = m_sizeCap,
                                                    .inCell = inCell});
    }

    void placeBlocks(const std::vector<Block>& blocks, qreal x0, qreal width, PageFlow& flow) {
        const bool inCell = !flow.paginated();
        // A paragraph kept with the next one (a heading) is laid out with a look at that one.
        std::optional<ParagraphBox> ahead;
        for (size_t i = 0; i < blocks.size(); ++i) {
            const auto& content = blocks[i].content;
            if (const auto* p = std::get_if<ParagraphBlock>(&content)) {
                if (flow.paginated())
                    m_pageNumber = flow.pageCount();
                ParagraphBox box = ahead ? std::move(*ahead) : layoutParagraph(*p, width, inCell);
                ahead.reset();
                if (flow.paginated() && box.keepWithNext && flow.pageHasContent && !flow.breakPending) {
                    qreal nextNeed = 0;
                    if (p->followedBy == FollowedBy::Paragraph) {
                        ahead =
                            layoutParagraph(std::get<ParagraphBlock>(blocks[i + 1].content), width, inCell);
                        nextNeed =
                            ahead->spaceBefore + (ahead->lines.empty() ? 0 : ahead->lines.front().height);
                    } else if (p->followedBy == FollowedBy::Table) {
                        nextNeed = kKeepWithTableRoom;
                    }
                    if (keepWithNextStartsPage(box, nextNeed, flow))
                        flow.breakPending = true;
                }
                placeParagraph(box, x0, flow, p->lastOfBody, m_clip);
            } else if (const auto* t = std::get_if<TableBlock>(&content)) {
                m_tables.place(*t, x0, width, flow);
            } else if (const auto* g = std::get_if<BlockGroup>(&content)) {
                placeBlocks(g->blocks, x0, width, flow);
            }
        }
    }

    // A cell's content. In a row of exact height the content never runs out of its cell: a
    // cell marked to fit its text first sets its larger type smaller, down to
    // kSmallestFittedHalfPoints; what still does not fit is cut after the last whole line
    // that does, which ends in "…".
    void layoutCell(LaidCell& cell, qreal exactHeight) {
        const TableCellBlock& block = *cell.block;
        const qreal width =
            std::max<qreal>(cell.width - block.margins.left - block.margins.right, kMinimumCellTextWidth);
        auto lay = [&]() {
            cell.content = PageContent();
            PageFlow box(cell.content);
            placeBlocks(block.content, 0, width, box);
            cell.contentHeight = box.y;
        };
        lay();
        const qreal room = exactHeight - block.margins.top - block.margins.bottom;
        if (exactHeight <= 0 || cell.contentHeight <= room + kFitTolerance)
            return;
        if (block.fitText) {
            for (int cap = block.largestHalfPoints - 1;
                 cap >= kSmallestFittedHalfPoints && cell.contentHeight > room + kFitTolerance; --cap) {
                m_sizeCap = cap;
                lay();
            }
        }
        if (cell.contentHeight > room + kFitTolerance) {
            m_clip = CellClip{.active = true, .height = room};
            lay();
            if (m_clip.clipped && m_clip.lastLineText != SIZE_MAX)
                endWithEllipsis(cell.content.texts[m_clip.lastLineText], width);
            cell.contentHeight = std::min(cell.contentHeight, std::max<qreal>(room, 0));
            m_clip = CellClip();
        }
        m_sizeCap = 0;
    }

    // Shortens a cut line's last text until the ellipsis fits within the line.
    void endWithEllipsis(PageText& text, qreal width) {
        MeasuredFont& font = m_fonts[text.font];
        const QString ellipsis(QChar(0x2026));
        QString shown = text.text;
        while (!shown.isEmpty() && text.pos.x() + font.width(shown + ellipsis) > width)
            shown.chop(1);
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
        text.text = shown + ellipsis;
    }

    void placeHeadersAndFooters() {
        const PageSetup& page = m_model.page;
        m_pageCount = static_cast<int>(m_out.pages.size());
        for (int i = 0; i < m_pageCount; ++i) {
            m_pageNumber = i + 1;
            for (const bool footer : {false, true}) {
                const auto& blocks = (footer ? m_model.footer : m_model.header).forPage(i);
                if (!blocks)
                    continue;
                PageContent box;
                PageFlow flow(box);
                placeBlocks(*blocks, 0, page.contentWidth(), flow);
                const qreal y = footer ? page.height - page.footer - flow.y : page.header;
                m_out.pages[static_cast<size_t>(i)].append(box, QPointF(page.marginLeft, y));
            }
        }
    }

    DocumentData& m_d;
    DocumentLayout::Private& m_out;
    const DocumentModel m_model;
    LayoutFonts m_fonts;
    QHash<QString, int> m_pictureIndex;
    ParagraphLayout m_paragraphs;
    TableLayout m_tables;
    int m_pageNumber = 1;
    int m_pageCount = 1;
    // While a cell is fitted: the largest type size in half-points (0: as written), and the
    // height below which lines are cut. They hold for tables nested in that cell too.
    int m_sizeCap = 0;
    CellClip m_clip;
};

} // namespace

DocumentLayout::DocumentLayout(Document& document) : d(std::make_unique<Private>()) {
    Layouter(*document.data(), *d).run();
}

DocumentLayout::~DocumentLayout() = default;

const Status& DocumentLayout::status() const {
    return d->status;
}

int DocumentLayout::pageCount() const {
    return static_cast<int>(d->pages.size());
}
QSizeF DocumentLayout::pageSize() const {
    return d->pageSize;
}
const PageContent& DocumentLayout::page(int index) const {
    return d->pages.at(static_cast<size_t>(index));
}
const QFont& DocumentLayout::font(int index) const {
    return d->fonts.at(static_cast<size_t>(index));
}
const QImage& DocumentLayout::image(int index) const {
    return d->images.at(static_cast<size_t>(index));
}

const BilevelImage& DocumentLayout::bilevel(int index) const {
    const QMutexLocker lock(&d->bilevelMutex);
    auto& slot = d->bilevels.at(static_cast<size_t>(index));
    if (!slot)
        slot = std::make_unique<BilevelImage>(analyseBilevel(d->images.at(static_cast<size_t>(index))));
    return *slot;
}

void DocumentLayout::replaceImage(int index, const QImage& image) {
    const QMutexLocker lock(&d->bilevelMutex);
    d->images.at(static_cast<size_t>(index)) = image;
    d->bilevels.at(static_cast<size_t>(index)).reset();
}

QString DocumentLayout::pageText(int index) const {
    // Texts whose baselines are within a point of each other are on one line.
    constexpr qreal kSameLine = kTwipsPerPoint;
    std::vector<const PageText*> texts;
    for (const PageText& t : page(index).texts)
        texts.push_back(&t);
    std::stable_sort(texts.begin(), texts.end(), [](const PageText* a, const PageText* b) {
        if (std::abs(a->pos.y() - b->pos.y()) > kSameLine)
            return a->pos.y() < b->pos.y();
        return a->pos.x() < b->pos.x();
    });
    QString out;
    qreal lastY = -1e9;
    for (const PageText* t : texts) {
        if (!out.isEmpty())
            out += std::abs(t->pos.y() - lastY) > kSameLine ? QChar(u'\n') : QChar(u' ');
        out += t->text;
        lastY = t->pos.y();
    }
    return out;
}

} // namespace velmora::docengine
