#include "platform/docengine/PageFlow.h"

#include "platform/docengine/LayoutConstants.h"

namespace velmora::docengine {

using namespace layout;

PageFlow::PageFlow(std::vector<PageContent>& pages, qreal top_, qreal bottom_, int maxPages)
    : top(top_), bottom(bottom_), m_pages(&pages), m_maxPages(maxPages) {
    newPage();
}

void PageFlow::newPage() {
    if (static_cast<int>(m_pages->size()) >= m_maxPages)
        m_overflowed = true; // the layout is refused; what remains only needs to end quickly
    else
        m_pages->emplace_back();
    y = top;
    pageHasContent = false;
    breakPending = false;
}

namespace {

void emitLine(const LaidLine& line, qreal x0, qreal y, PageContent& out) {
    const qreal baseline = y + line.baseline;
    for (const LineFragment& f : line.fragments) {
        const qreal x = x0 + line.x + f.x;
        switch (f.kind) {
        case AtomKind::Text:
            if (!f.text.isEmpty())
                out.texts.push_back(PageText{QPointF(x, baseline - f.rise), f.text, f.font, f.color});
            break;
        case AtomKind::Image:
            if (f.image >= 0)
                out.images.push_back(PageImage{QRectF(x, baseline - f.height, f.width, f.height), f.image});
            break;
        case AtomKind::CheckBox:
            out.boxes.push_back(PageCheckBox{QRectF(x, baseline - f.height, f.height, f.height), f.checked});
            break;
        default:
            break;
        }
    }
}

} // namespace

void placeParagraph(const ParagraphBox& box, qreal x0, PageFlow& flow, bool lastOfBody, CellClip& clip) {
    if (flow.paginated()) {
        if (lastOfBody && !box.hasContent && !box.lines.empty() &&
            (flow.breakPending || flow.y + box.spaceBefore + box.lines.front().height > flow.bottom) &&
            flow.pageHasContent)
            return; // a trailing empty paragraph does not open a page of its own
        if (box.pageBreakBefore && flow.pageHasContent)
            flow.breakPending = true;
        flow.applyPendingBreak();
    }
    if (clip.active && clip.clipped)
        return;
    flow.y += box.spaceBefore;
    for (const LaidLine& line : box.lines) {
        if (clip.active && !flow.paginated() && flow.y + line.height > clip.height + kFitTolerance) {
            clip.clipped = true;
            return;
        }
        if (line.onlyBreak) {
            if (flow.paginated())
                flow.breakPending = true;
            continue;
        }
        if (flow.paginated()) {
            flow.applyPendingBreak();
            if (flow.y + line.height > flow.bottom + kFitTolerance && flow.pageHasContent)
                flow.newPage();
        }
        const size_t textsBefore = flow.out().texts.size();
        emitLine(line, x0, flow.y, flow.out());
        if (clip.active && flow.out().texts.size() > textsBefore)
            clip.lastLineText = flow.out().texts.size() - 1;
        flow.y += line.height;
        flow.pageHasContent = true;
        if (line.pageBreakAfter && flow.paginated())
            flow.breakPending = true;
    }
    flow.y += box.spaceAfter;
}

bool keepWithNextStartsPage(const ParagraphBox& box, qreal nextNeed, const PageFlow& flow) {
    const qreal need = box.height() + nextNeed;
    return flow.y + need > flow.bottom && need <= flow.bottom - flow.top;
}

} // namespace velmora::docengine
