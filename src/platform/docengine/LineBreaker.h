#pragma once

#include "platform/docengine/StyleSheet.h"

#include <QRgb>
#include <QString>

#include <vector>

namespace velmora::docengine {

class LayoutFonts;

enum class AtomKind { Text, Image, CheckBox, Tab, LineBreak, PageBreak };

// The smallest piece a line is made of: a word with the blanks after it, a picture, a check
// box, a tab or a break. A line may break after an atom marked `breakAfter` (and at tabs and
// breaks); atoms between such places are kept together, like a word in two fonts.
struct InlineAtom {
    AtomKind kind = AtomKind::Text;
    QString text;
    int font = -1;
    QRgb color = 0xff000000;
    qreal width = 0;
    qreal trimmed = 0; // width without trailing blanks
    qreal height = 0;  // pictures and check boxes
    qreal rise = 0;    // superscript / subscript shift
    int image = -1;
    bool checked = false;
    bool breakAfter = false;
};

// An atom placed on a line, `x` from the line's start.
struct LineFragment {
    AtomKind kind = AtomKind::Text;
    qreal x = 0;
    qreal width = 0;
    qreal height = 0;
    qreal rise = 0;
    QString text;
    int font = -1;
    QRgb color = 0xff000000;
    int image = -1;
    bool checked = false;
    bool trailingBlank = false;
};

struct LaidLine {
    std::vector<LineFragment> fragments;
    qreal x = 0; // start relative to the text column
    qreal height = 0;
    qreal baseline = 0;
    bool pageBreakAfter = false;
    bool onlyBreak = false; // a page break alone on its line: takes no room
};

// Blanks between words: where lines break and justified lines stretch.
bool isBlank(QChar c);

// Fills lines of a paragraph with its atoms: words that fit go on the line, a word longer than
// a whole line is cut between characters, tabs go to the next stop; then each line is given its
// height (line spacing rule), its alignment and its text merged into runs of one font.
class LineBreaker {
public:
    LineBreaker(LayoutFonts& fonts, qreal defaultTabStop)
        : m_fonts(fonts), m_defaultTabStop(defaultTabStop) {}

    // `markFont` gives an empty line its height. In a cell a page break is only a line break.
    std::vector<LaidLine> breakLines(std::vector<InlineAtom> atoms, qreal width, const ParaProps& para,
                                     int markFont, bool inCell) const;

private:
    qreal nextTabStop(qreal pos, const ParaProps& para) const;
    void finishLine(LaidLine& line, qreal available, const ParaProps& para, int markFont,
                    bool lastOfParagraph, bool explicitBreak) const;

    LayoutFonts& m_fonts;
    qreal m_defaultTabStop;
};

} // namespace velmora::docengine
