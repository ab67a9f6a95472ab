#include "platform/docengine/ParagraphLayout.h"

#include "platform/docengine/LayoutConstants.h"
#include "platform/docengine/LayoutFonts.h"

#include <algorithm>

namespace velmora::docengine {

using namespace layout;

qreal ParagraphBox::height() const {
    qreal total = spaceBefore + spaceAfter;
    for (const LaidLine& l : lines)
        total += l.height;
    return total;
}

namespace {

// Pictures and check boxes stand alone: a line may break before and after them.
void addObject(InlineAtom atom, std::vector<InlineAtom>& out) {
    if (!out.empty())
        out.back().breakAfter = true;
    atom.breakAfter = true;
    out.push_back(std::move(atom));
}

} // namespace

// Text becomes one atom per word with the blanks that follow it.
void ParagraphLayout::addText(const QString& text, const CharProps& c, const ParagraphContext& context,
                              std::vector<InlineAtom>& out) const {
    if (text.isEmpty())
        return;
    const qreal scale = c.vertAlign ? kScriptSizeScale : 1.0;
    const int font = m_fonts.fontFor(c, scale, context.halfPointCap);
    MeasuredFont& measured = m_fonts[font];
    const qreal size = c.halfPoints * static_cast<qreal>(kTwipsPerHalfPoint);
    const qreal rise = c.vertAlign > 0   ? size * kSuperscriptRise
                       : c.vertAlign < 0 ? -size * kSubscriptDrop
                                         : 0;
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n) {
        int wordEnd = i;
        while (wordEnd < n && !isBlank(text.at(wordEnd)))
            ++wordEnd;
        int blanksEnd = wordEnd;
        while (blanksEnd < n && isBlank(text.at(blanksEnd)))
            ++blanksEnd;
        InlineAtom a;
        a.kind = AtomKind::Text;
        a.text = text.mid(i, blanksEnd - i);
        a.font = font;
        a.color = c.color;
        a.rise = rise;
        a.width = measured.width(a.text);
        a.trimmed = blanksEnd > wordEnd ? measured.width(text.mid(i, wordEnd - i)) : a.width;
        a.breakAfter = blanksEnd > wordEnd;
        out.push_back(std::move(a));
        i = blanksEnd;
    }
}

std::vector<InlineAtom> ParagraphLayout::atoms(const std::vector<InlineItem>& items,
                                               const ParagraphContext& context) const {
    std::vector<InlineAtom> out;
    for (const InlineItem& item : items) {
        switch (item.kind) {
        case InlineItem::Kind::Text:
            addText(item.text, item.chars, context, out);
            break;
        case InlineItem::Kind::PageNumber:
        case InlineItem::Kind::PageCount: {
            const int value =
                item.kind == InlineItem::Kind::PageCount ? context.pageCount : context.pageNumber;
            addText(QString::number(std::max(1, value)), item.chars, context, out);
            break;
        }
        case InlineItem::Kind::Tab: {
            InlineAtom a;
            a.kind = AtomKind::Tab;
            a.breakAfter = true;
            a.font = m_fonts.fontFor(item.chars, 1.0, context.halfPointCap);
            out.push_back(a);
            break;
        }
        case InlineItem::Kind::LineBreak:
        case InlineItem::Kind::PageBreak: {
            InlineAtom a;
            a.kind = item.kind == InlineItem::Kind::PageBreak ? AtomKind::PageBreak : AtomKind::LineBreak;
            out.push_back(a);
            break;
        }
        case InlineItem::Kind::Picture: {
            InlineAtom a;
            a.kind = AtomKind::Image;
            a.width = a.trimmed = item.width;
            a.height = item.height;
            a.image = item.pictureTarget.isEmpty() ? -1 : m_pictureIndex(item.pictureTarget);
            addObject(a, out);
            break;
        }
        case InlineItem::Kind::CheckBox: {
            InlineAtom a;
            a.kind = AtomKind::CheckBox;
            a.checked = item.checked;
            a.height = item.boxSize * kCheckBoxSquareShare;
            a.width = a.height + item.boxSize * kCheckBoxGapShare;
            a.trimmed = a.width;
            addObject(a, out);
            break;
        }
        }
    }
    return out;
}

ParagraphBox ParagraphLayout::layout(const ParagraphBlock& paragraph, qreal width,
                                     const ParagraphContext& context) const {
    std::vector<InlineAtom> content = atoms(paragraph.content, context);
    ParagraphBox box;
    box.hasContent = !content.empty();
    if (paragraph.mark.hidden && content.empty())
        return box; // a hidden paragraph (a template's marker line) takes no room at all
    const int markFont = m_fonts.fontFor(paragraph.mark, 1.0, context.halfPointCap);
    box.lines = LineBreaker(m_fonts, m_defaultTabStop)
                    .breakLines(std::move(content), width, paragraph.props, markFont, context.inCell);
    box.spaceBefore = paragraph.props.spaceBefore;
    box.spaceAfter = paragraph.props.spaceAfter;
    box.pageBreakBefore = paragraph.props.pageBreakBefore && !context.inCell;
    box.keepWithNext = paragraph.props.keepNext && !context.inCell;
    if (!context.inCell && paragraph.endsSection && !box.lines.empty())
        box.lines.back().pageBreakAfter = true;
    return box;
}

} // namespace velmora::docengine
