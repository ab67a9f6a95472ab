#include "platform/docengine/LineBreaker.h"

#include "platform/docengine/LayoutConstants.h"
#include "platform/docengine/LayoutFonts.h"

#include <algorithm>
#include <cmath>

namespace velmora::docengine {

using namespace layout;

bool isBlank(QChar c) {
    return c == QChar(u' ') || c == QChar(0x2002) || c == QChar(0x2003);
}

namespace {

QString withoutTrailingBlanks(QString text) {
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Line height from the tallest text and objects on the line and the paragraph's spacing rule.
void setLineHeight(LaidLine& line, const ParaProps& para, qreal ascent, qreal descent, qreal leading) {
    const qreal natural = ascent + descent + leading;
    switch (para.lineRule) {
    case LineRule::Auto:
        line.height = natural * std::max(para.line, 1) / static_cast<qreal>(kSingleLineSpacing);
        break;
    case LineRule::AtLeast:
        line.height = std::max<qreal>(para.line, natural);
        break;
    case LineRule::Exact:
        line.height = std::max(1, para.line);
        break;
    }
    line.baseline = std::max(ascent * kMinimumBaselineShare, line.height - descent - leading);
}

// Spreads the free room over the gaps between words, the last fragment's blanks left out.
void justify(LaidLine& line, qreal slack) {
    int gaps = 0;
    for (size_t i = 0; i + 1 < line.fragments.size(); ++i)
        if (line.fragments[i].trailingBlank)
            ++gaps;
    if (gaps == 0)
        return;
    const qreal extra = slack / gaps;
    qreal shift = 0;
    for (size_t i = 0; i < line.fragments.size(); ++i) {
        line.fragments[i].x += shift;
        if (line.fragments[i].trailingBlank && i + 1 < line.fragments.size())
            shift += extra;
    }
}

// Neighbouring text of one font and colour is drawn in one go.
void mergeText(LaidLine& line) {
    std::vector<LineFragment> merged;
    merged.reserve(line.fragments.size());
    for (LineFragment& f : line.fragments) {
        if (f.kind == AtomKind::Tab)
            continue;
        if (!merged.empty() && f.kind == AtomKind::Text && merged.back().kind == AtomKind::Text &&
            merged.back().font == f.font && merged.back().color == f.color && merged.back().rise == f.rise &&
            std::abs(merged.back().x + merged.back().width - f.x) < 0.01) {
            merged.back().text += f.text;
            merged.back().width += f.width;
            continue;
        }
        merged.push_back(std::move(f));
    }
    if (!merged.empty() && merged.back().kind == AtomKind::Text)
        merged.back().text = withoutTrailingBlanks(merged.back().text);
    line.fragments = std::move(merged);
}

} // namespace

qreal LineBreaker::nextTabStop(qreal pos, const ParaProps& para) const {
    for (Twips t : para.tabStops)
        if (t > pos + kTabStopMinimumAdvance)
            return t;
    // A hanging indent acts as the first stop.
    if (para.firstLine < 0 && para.indentLeft > pos + kTabStopMinimumAdvance)
        return para.indentLeft;
    return (std::floor(pos / m_defaultTabStop) + 1) * m_defaultTabStop;
}

void LineBreaker::finishLine(LaidLine& line, qreal available, const ParaProps& para, int markFont,
                             bool lastOfParagraph, bool explicitBreak) const {
    qreal ascent = 0, descent = 0, leading = 0;
    bool text = false;
    for (const LineFragment& f : line.fragments) {
        if (f.kind == AtomKind::Text) {
            const MeasuredFont& font = m_fonts[f.font];
            ascent = std::max(ascent, font.ascent() + std::max<qreal>(0, f.rise));
            descent = std::max(descent, font.descent() - std::min<qreal>(0, f.rise));
            leading = std::max(leading, font.leading());
            text = true;
        } else if (f.kind == AtomKind::Image || f.kind == AtomKind::CheckBox) {
            ascent = std::max(ascent, f.height);
        }
    }
    if (!text) {
        // A line without text (empty, or only a picture) is at least as tall as the
        // paragraph mark's type.
        const MeasuredFont& mark = m_fonts[markFont];
        ascent = std::max(ascent, mark.ascent());
        descent = std::max(descent, mark.descent());
        leading = std::max(leading, mark.leading());
    }
    setLineHeight(line, para, ascent, descent, leading);

    qreal used = 0;
    if (!line.fragments.empty()) {
        const LineFragment& last = line.fragments.back();
        used = last.x + last.width;
        if (last.kind == AtomKind::Text && last.trailingBlank)
            used = last.x + m_fonts[last.font].width(withoutTrailingBlanks(last.text));
    }
    const qreal slack = available - used;
    if (slack > 0) {
        if (para.align == Alignment::Center)
            line.x += slack / 2;
        else if (para.align == Alignment::Right)
            line.x += slack;
        else if (para.align == Alignment::Justify && !lastOfParagraph && !explicitBreak)
            justify(line, slack);
    }
    mergeText(line);
}

std::vector<LaidLine> LineBreaker::breakLines(std::vector<InlineAtom> atoms, qreal width,
                                              const ParaProps& para, int markFont, bool inCell) const {
    std::vector<LaidLine> lines;
    const qreal left = para.indentLeft;
    const qreal lineWidth = width - para.indentLeft - para.indentRight;
    qreal available = lineWidth - para.firstLine;
    // Widths of a cut word's rest are only measured up to this: past it nothing fits anyway.
    const qreal measureLimit = 2 * std::max<qreal>(available, lineWidth) + 1000;
    LaidLine cur;
    cur.x = left + para.firstLine;
    qreal x = 0;
    bool hasContent = false;

    auto finish = [&](bool last, bool explicitBreak) {
        finishLine(cur, available, para, markFont, last, explicitBreak);
        lines.push_back(std::move(cur));
        cur = LaidLine{};
        cur.x = left;
        available = lineWidth;
        x = 0;
        hasContent = false;
    };
    auto place = [&](const InlineAtom& a) {
        LineFragment f;
        f.kind = a.kind;
        f.x = x;
        f.width = a.width;
        f.height = a.height;
        f.rise = a.rise;
        f.text = a.text;
        f.font = a.font;
        f.color = a.color;
        f.image = a.image;
        f.checked = a.checked;
        f.trailingBlank = a.kind == AtomKind::Text && a.trimmed < a.width;
        x += a.width;
        cur.fragments.push_back(std::move(f));
        hasContent = true;
    };
    auto fits = [&](qreal w) { return x + w <= available + kFitTolerance; };

    const size_t n = atoms.size();
    size_t i = 0;
    while (i < n) {
        InlineAtom& a = atoms[i];
        if (a.kind == AtomKind::LineBreak || (a.kind == AtomKind::PageBreak && inCell)) {
            ++i;
            finish(false, true);
            if (i == n)
                finish(true, false); // the empty line after a final line break
            continue;
        }
        if (a.kind == AtomKind::PageBreak) {
            ++i;
            cur.pageBreakAfter = true;
            cur.onlyBreak = !hasContent;
            finish(i == n, true);
            if (lines.back().onlyBreak)
                lines.back().height = 0;
            continue;
        }
        if (a.kind == AtomKind::Tab) {
            const qreal pos = cur.x + x;
            const qreal w = nextTabStop(pos, para) - pos;
            if (hasContent && x + w > available + kFitTolerance) {
                finish(false, false);
                continue;
            }
            a.width = a.trimmed = w;
            place(a);
            ++i;
            continue;
        }
        // The unbreakable group starting here.
        size_t e = i;
        qreal groupWidth = 0;
        while (e < n && (atoms[e].kind == AtomKind::Text || atoms[e].kind == AtomKind::Image ||
                         atoms[e].kind == AtomKind::CheckBox)) {
            groupWidth += atoms[e].width;
            ++e;
            if (atoms[e - 1].breakAfter)
                break;
        }
        const InlineAtom& lastOfGroup = atoms[e - 1];
        const qreal groupTrimmed = groupWidth - lastOfGroup.width + lastOfGroup.trimmed;
        if (fits(groupTrimmed)) {
            for (size_t k = i; k < e; ++k)
                place(atoms[k]);
            i = e;
            continue;
        }
        if (hasContent) {
            finish(false, false);
            continue;
        }
        // A word longer than the line: break it between characters.
        bool broke = false;
        for (size_t k = i; k < e; ++k) {
            InlineAtom& b = atoms[k];
            if (fits(b.trimmed) || (b.kind != AtomKind::Text && !hasContent)) {
                place(b);
                continue;
            }
            if (b.kind != AtomKind::Text) {
                i = k;
                broke = true;
                break;
            }
            MeasuredFont& font = m_fonts[b.font];
            int fit = font.longestPrefixWithin(b.text, static_cast<int>(b.text.size()) - 1, fits);
            if (fit == 0 && !hasContent)
                fit = 1;
            if (fit > 0) {
                InlineAtom head = b;
                head.text = b.text.left(fit);
                head.width = head.trimmed = font.width(head.text);
                head.breakAfter = true;
                place(head);
                b.text = b.text.mid(fit);
                b.width = font.widthUpTo(b.text, measureLimit);
                b.trimmed = font.widthUpTo(withoutTrailingBlanks(b.text), measureLimit);
            }
            i = k;
            broke = true;
            break;
        }
        if (!broke)
            i = e;
        finish(false, false);
    }
    if (hasContent || lines.empty())
        finish(true, false);
    return lines;
}

} // namespace velmora::docengine
