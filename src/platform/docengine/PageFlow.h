#pragma once

#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/ParagraphLayout.h"

#include <vector>

namespace velmora::docengine {

// Where blocks go: down the pages of the body, starting a new page when one is full, or down
// an unbounded box (a cell's content, a header, a footer).
class PageFlow {
public:
    // The body's pages, between `top` and `bottom`; the first page is opened.
    PageFlow(std::vector<PageContent>& pages, qreal top, qreal bottom, int maxPages);
    // A box that never breaks.
    explicit PageFlow(PageContent& box) : m_box(&box) {}

    bool paginated() const { return m_pages != nullptr; }
    PageContent& out() { return paginated() ? m_pages->back() : *m_box; }
    int pageCount() const { return paginated() ? static_cast<int>(m_pages->size()) : 1; }
    // True once the document asked for more pages than allowed; the rest piled on the last one.
    bool overflowed() const { return m_overflowed; }

    qreal y = 0;
    qreal top = 0;
    qreal bottom = 0;
    bool pageHasContent = false;
    // A break was asked for; the page starts when something is placed after it, so that a
    // break at the end of the document opens no empty page.
    bool breakPending = false;

    void newPage();
    void applyPendingBreak() {
        if (paginated() && breakPending)
            newPage();
    }

private:
    std::vector<PageContent>* m_pages = nullptr;
    PageContent* m_box = nullptr;
    int m_maxPages = 0;
    bool m_overflowed = false;
};

// While a cell of fixed height is laid out: lines below `height` are left out, and the last
// text that does fit is remembered so that it can end in an ellipsis.
struct CellClip {
    bool active = false;
    qreal height = 0;
    bool clipped = false;
    size_t lastLineText = SIZE_MAX;
};

// Puts a paragraph's lines on the flow: a line that does not fit starts a new page, breaks
// before and after are honoured, and a trailing empty paragraph opens no page of its own.
void placeParagraph(const ParagraphBox& box, qreal x0, PageFlow& flow, bool lastOfBody, CellClip& clip);

// Whether a paragraph kept with the next one should start a new page: it and the first line of
// what follows (`nextNeed`) do not fit on this page, and would on an empty one.
bool keepWithNextStartsPage(const ParagraphBox& box, qreal nextNeed, const PageFlow& flow);

} // namespace velmora::docengine
