#pragma once

#include "platform/docengine/BlockModel.h"
#include "platform/docengine/LineBreaker.h"

#include <functional>
#include <vector>

namespace velmora::docengine {

class LayoutFonts;

// A paragraph broken into lines, with the spacing and page rules the pagination needs.
struct ParagraphBox {
    std::vector<LaidLine> lines;
    qreal spaceBefore = 0;
    qreal spaceAfter = 0;
    bool pageBreakBefore = false;
    bool keepWithNext = false;
    bool hasContent = false;

    qreal height() const;
};

// Where a paragraph is laid out: what its page fields show, and while a cell is fitted, the
// largest type size allowed (0: as written).
struct ParagraphContext {
    int pageNumber = 1;
    int pageCount = 1;
    int halfPointCap = 0;
    bool inCell = false; // cells, headers and footers: no page breaks, no keeping with the next
};

// Turns a paragraph of the block model into lines: its items measured in their fonts, then
// broken to `width`.
class ParagraphLayout {
public:
    // `pictureIndex` numbers the layout's pictures by the part that holds them (-1: unreadable).
    ParagraphLayout(LayoutFonts& fonts, qreal defaultTabStop, std::function<int(const QString&)> pictureIndex)
        : m_fonts(fonts), m_defaultTabStop(defaultTabStop), m_pictureIndex(std::move(pictureIndex)) {}

    ParagraphBox layout(const ParagraphBlock& paragraph, qreal width, const ParagraphContext& context) const;

private:
    std::vector<InlineAtom> atoms(const std::vector<InlineItem>& items,
                                  const ParagraphContext& context) const;
    void addText(const QString& text, const CharProps& chars, const ParagraphContext& context,
                 std::vector<InlineAtom>& out) const;

    LayoutFonts& m_fonts;
    qreal m_defaultTabStop;
    std::function<int(const QString&)> m_pictureIndex;
};

} // namespace velmora::docengine
