#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/LayoutFonts.h"
#include "platform/docengine/LineBreaker.h"

#include <QElapsedTimer>
#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;

namespace {

InlineAtom word(LayoutFonts& fonts, int font, const QString& text) {
    InlineAtom a;
    a.text = text;
    a.font = font;
    a.width = fonts[font].width(text);
    QString trimmed = text;
    while (trimmed.endsWith(QLatin1Char(' ')))
        trimmed.chop(1);
    a.trimmed = fonts[font].width(trimmed);
    a.breakAfter = trimmed.size() < text.size();
    return a;
}

} // namespace

TEST(DocEngineLineBreaking, AWordLongerThanTheLineFillsEveryLineToItsEnd) {
    // A hundred thousand characters without a blank: cut between characters, each line as
    // full as it can be, nothing lost, and in about the time of any text of that length.
    QString longWord;
    for (int i = 0; i < 100000; ++i)
        longWord += QChar(u'a' + i % 26);
    Document doc;
    DocumentBuilder b(doc);
    b.paragraph(longWord);
    QElapsedTimer timer;
    timer.start();
    const DocumentLayout layout(doc);
    EXPECT_LT(timer.elapsed(), 5000);
    const PageSetup ps = doc.pageSetup();
    const qreal rightMargin = ps.width - ps.marginRight;
    QString joined;
    int lines = 0;
    for (int p = 0; p < layout.pageCount(); ++p)
        for (const PageText& t : layout.page(p).texts) {
            const QFontMetricsF fm(layout.font(t.font));
            EXPECT_LE(t.pos.x() + fm.horizontalAdvance(t.text), rightMargin + 0.5);
            if (joined.size() + t.text.size() < longWord.size()) {
                const QChar next = longWord.at(joined.size() + t.text.size());
                EXPECT_GT(t.pos.x() + fm.horizontalAdvance(t.text + next), rightMargin + 0.5)
                    << "línea " << lines;
            }
            joined += t.text;
            ++lines;
        }
    EXPECT_EQ(joined, longWord);
    EXPECT_GT(lines, 500);
}

TEST(DocEngineLineBreaking, TrailingBlanksTakeNoRoom) {
    LayoutFonts fonts;
    const int font = fonts.fontFor(CharProps{});
    const LineBreaker breaker(fonts, 720);
    const InlineAtom first = word(fonts, font, u"palabra "_s);
    const InlineAtom second = word(fonts, font, u"justa          "_s);
    // The line is exactly as wide as the two words without the blanks after the second: they
    // stay on one line, and a right-aligned line ends at the margin with its last letter.
    const qreal width = first.width + second.trimmed;
    ParaProps right;
    right.align = Alignment::Right;
    const auto lines = breaker.breakLines({first, second}, width, right, font, false);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].fragments.size(), 1u); // one font, one colour: one text
    EXPECT_EQ(lines[0].fragments[0].text, u"palabra justa"_s);
    EXPECT_NEAR(lines[0].x, 0, 0.01);

    // A page break alone on its line takes no height; in a cell it is a line break.
    InlineAtom pageBreak;
    pageBreak.kind = AtomKind::PageBreak;
    const auto broken =
        breaker.breakLines({first, pageBreak, pageBreak, second}, 5000, ParaProps{}, font, false);
    ASSERT_EQ(broken.size(), 3u);
    EXPECT_TRUE(broken[0].pageBreakAfter);
    EXPECT_TRUE(broken[1].onlyBreak);
    EXPECT_EQ(broken[1].height, 0);
    EXPECT_GT(broken[2].height, 0);
    const auto inCell = breaker.breakLines({first, pageBreak, second}, 5000, ParaProps{}, font, true);
    ASSERT_EQ(inCell.size(), 2u);
    EXPECT_FALSE(inCell[0].pageBreakAfter);

    // Tabs go to the next default stop, or to the hanging indent first.
    InlineAtom tab;
    tab.kind = AtomKind::Tab;
    tab.font = font;
    tab.breakAfter = true;
    ParaProps hanging;
    hanging.indentLeft = 1000;
    hanging.firstLine = -1000;
    const auto tabbed =
        breaker.breakLines({word(fonts, font, u"1."_s), tab, second}, 5000, hanging, font, false);
    ASSERT_EQ(tabbed.size(), 1u);
    EXPECT_NEAR(tabbed[0].x + tabbed[0].fragments.back().x, 1000, 0.01);
    const auto plain =
        breaker.breakLines({word(fonts, font, u"1."_s), tab, second}, 5000, ParaProps{}, font, false);
    EXPECT_NEAR(plain[0].x + plain[0].fragments.back().x, 720, 0.01);
}
