#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;

namespace {

const QString kLong = QStringLiteral(
    "Necesita un puesto adaptado con mesa regulable en altura, acceso sin escalones y pantalla de "
    "lectura ampliada, además de pausas cada dos horas y aparcamiento cercano a la entrada principal.");

// A one-row table with an exact height; the cell holds `text` at 10 pt, marked to fit it when asked.
Document cellDocument(const QString& text, Twips height, bool fitText) {
    Document doc;
    DocumentBuilder b(doc);
    b.paragraph(u"antes"_s);
    Table t = b.table({2500, 2500}, 1, RunFormat{.font = u"Times New Roman"_s, .size = 10});
    (void)t.setCellText(1, 1, text);
    (void)t.setCellText(1, 2, u"fijo"_s);
    (void)t.setRowHeight(1, RowHeight{height, HeightRule::Exact});
    if (fitText) {
        EXPECT_TRUE(t.setCellFitText(1, 1, true).ok());
    }
    b.paragraph(u"después"_s);
    return doc;
}

struct CellLook {
    qreal lowest = 0; // the lowest baseline of the cell's text
    qreal rightmost = 0;
    qreal secondCell = 0; // where the second cell's text starts
    QString lastText;
    std::vector<int> pixelSizes;
};

CellLook lookOfFirstCell(const DocumentLayout& layout) {
    CellLook look;
    const PageContent& page = layout.page(0);
    qreal top = 0;
    for (const PageText& t : page.texts)
        if (t.text == u"fijo"_s) {
            top = t.pos.y();
            look.secondCell = t.pos.x();
        }
    for (const PageText& t : page.texts) {
        if (t.text == u"antes"_s || t.text == u"después"_s || t.text == u"fijo"_s ||
            t.pos.x() >= look.secondCell)
            continue;
        const QFontMetricsF fm(layout.font(t.font));
        look.pixelSizes.push_back(layout.font(t.font).pixelSize());
        if (t.pos.y() >= look.lowest) {
            look.lowest = t.pos.y();
            look.lastText = t.text;
        }
        look.rightmost = std::max(look.rightmost, t.pos.x() + fm.horizontalAdvance(t.text));
    }
    look.lowest -= top; // relative to the first line of the row
    return look;
}

} // namespace

TEST(DocEngineCellFitting, TextOfAnExactRowShrinksWhenMarkedThenEndsWithAnEllipsisInsideItsCell) {
    const QString ellipsis(QChar(0x2026));
    const Twips height = 520;

    // Unmarked: the size stays, the lines that do not fit are cut and the last one ends in "…".
    Document plain = cellDocument(kLong, height, false);
    const DocumentLayout plainLayout(plain);
    const CellLook cut = lookOfFirstCell(plainLayout);
    for (int px : cut.pixelSizes)
        EXPECT_EQ(px, 200) << "10 pt";
    EXPECT_TRUE(cut.lastText.endsWith(ellipsis)) << cut.lastText.toStdString();
    EXPECT_LT(cut.lowest, height);
    EXPECT_LT(cut.rightmost, cut.secondCell - 108) << "the cut line stays within its cell";

    // Marked: set smaller, never below 7 pt, and still cut when even that does not fit.
    Document fitted = cellDocument(kLong, height, true);
    const DocumentLayout fittedLayout(fitted);
    const CellLook small = lookOfFirstCell(fittedLayout);
    ASSERT_FALSE(small.pixelSizes.empty());
    for (int px : small.pixelSizes)
        EXPECT_EQ(px, 140) << "7 pt, the smallest";
    EXPECT_TRUE(small.lastText.endsWith(ellipsis));
    EXPECT_LT(small.lowest, height);

    // A text that fits its place is left alone; one that fits once smaller is not cut.
    Document shortText = cellDocument(u"García"_s, height, true);
    const CellLook whole = lookOfFirstCell(DocumentLayout(shortText));
    EXPECT_EQ(whole.pixelSizes, std::vector<int>{200});
    EXPECT_EQ(whole.lastText, u"García"_s);
    Document medium = cellDocument(kLong.left(60), height, true);
    const CellLook shrunk = lookOfFirstCell(DocumentLayout(medium));
    EXPECT_FALSE(shrunk.lastText.endsWith(ellipsis));
    EXPECT_LT(shrunk.pixelSizes.front(), 200);

    // The rows after the table do not move, however long the text.
    auto afterY = [](const DocumentLayout& l) {
        for (const PageText& t : l.page(0).texts)
            if (t.text == u"después"_s)
                return t.pos.y();
        return -1.0;
    };
    EXPECT_EQ(afterY(plainLayout), afterY(fittedLayout));
}
