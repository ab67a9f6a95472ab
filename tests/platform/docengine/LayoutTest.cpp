#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"

#include "platform/docengine/SampleDocuments.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <map>

using namespace velmora;
using namespace velmora::docengine;

namespace {

const QString kLorem = QStringLiteral(
    "Los aspirantes podrán solicitar las plazas vacantes que figuran en el anexo de esta resolución, "
    "por orden de preferencia, así como las que resulten de la adjudicación a otros concursantes. ");

// Left and right ends of the text of a page, in twips.
std::pair<qreal, qreal> textExtent(const DocumentLayout& layout, int page) {
    qreal left = 1e9, right = -1e9;
    for (const PageText& t : layout.page(page).texts) {
        QFontMetricsF fm(layout.font(t.font));
        left = std::min(left, t.pos.x());
        right = std::max(right, t.pos.x() + fm.horizontalAdvance(t.text));
    }
    return {left, right};
}

// The page each word is on (-1: none).
QList<int> pagesOf(const DocumentLayout& layout, const QStringList& words) {
    QList<int> pages;
    for (const QString& word : words) {
        pages << -1;
        for (int p = layout.pageCount() - 1; p >= 0; --p)
            for (const PageText& t : layout.page(p).texts)
                if (t.text.contains(word))
                    pages.last() = p;
    }
    return pages;
}

} // namespace

TEST(DocEngineLayout, ParagraphsAlignBetweenTheMargins) {
    Document doc;
    DocumentBuilder b(doc);
    b.paragraph(kLorem.repeated(3), {}, ParagraphFormat{.alignment = Alignment::Justify});
    b.paragraph(u"centrado"_s, {}, ParagraphFormat{.alignment = Alignment::Center});
    b.paragraph(u"derecha"_s, {}, ParagraphFormat{.alignment = Alignment::Right});
    const DocumentLayout layout(doc);
    const PageSetup ps = doc.pageSetup();
    ASSERT_EQ(layout.pageCount(), 1);
    const auto [left, right] = textExtent(layout, 0);
    EXPECT_NEAR(left, ps.marginLeft, 1);
    // Justified lines reach the right margin without passing it.
    EXPECT_LE(right, ps.width - ps.marginRight + 1);
    EXPECT_GT(right, ps.width - ps.marginRight - 20);
    int lines = 0;
    qreal lastY = -1;
    for (const PageText& t : layout.page(0).texts) {
        if (t.pos.y() != lastY)
            ++lines;
        lastY = t.pos.y();
        const qreal w = QFontMetricsF(layout.font(t.font)).horizontalAdvance(t.text);
        if (t.text == QLatin1String("centrado")) {
            EXPECT_NEAR(t.pos.x() + w / 2, ps.marginLeft + ps.contentWidth() / 2.0, 2);
        } else if (t.text == QLatin1String("derecha")) {
            EXPECT_NEAR(t.pos.x() + w, ps.width - ps.marginRight, 2);
        }
    }
    EXPECT_GE(lines, 6);
    // Times New Roman and Arial are drawn with themselves or their metric-compatible
    // Liberation faces, never with whatever face the system would pick.
    const QStringList serif{u"Times New Roman"_s, u"Liberation Serif"_s};
    EXPECT_TRUE(serif.contains(QFontInfo(layout.font(layout.page(0).texts.front().font)).family()));
    EXPECT_TRUE(serif.contains(QFontInfo(QFont(renderFamily(u"CG Times"_s))).family()));
    EXPECT_TRUE((QStringList{u"Arial"_s, u"Liberation Sans"_s})
                    .contains(QFontInfo(QFont(renderFamily(u"Arial"_s))).family()));
}

TEST(DocEngineLayout, PageBreaksStartPagesWithoutBlankOnes) {
    Document doc;
    DocumentBuilder b(doc);
    // A break before the first paragraph of a page opens no page of its own.
    b.paragraph(u"uno"_s, {}, ParagraphFormat{.pageBreakBefore = true});
    b.pageBreak();
    b.paragraph(u"dos"_s);
    b.paragraph(u"-&V&-"_s, RunFormat{.hidden = true}); // takes no room between "dos" and "tres"
    b.paragraph().insertText(u"tres"_s).insertPageBreak().insertText(u"cuatro"_s);
    b.paragraph(u"cinco"_s, {}, ParagraphFormat{.pageBreakBefore = true});
    // A page break as the last thing and the empty paragraph after it open no page.
    b.pageBreak();
    b.paragraph();
    const DocumentLayout layout(doc);
    EXPECT_EQ(layout.pageCount(), 4);
    EXPECT_EQ(pagesOf(layout, {"uno", "dos", "tres", "cuatro", "cinco"}), (QList<int>{0, 1, 1, 2, 3}));
    // Text after a break starts at the top margin.
    for (const PageText& t : layout.page(2).texts)
        EXPECT_LT(t.pos.y(), doc.pageSetup().marginTop + 400);
    const std::vector<PageText>& second = layout.page(1).texts;
    ASSERT_EQ(second.size(), 2u);
    EXPECT_NEAR(second[1].pos.y() - second[0].pos.y(),
                QFontMetricsF(layout.font(second[0].font)).lineSpacing(), 1);
}

TEST(DocEngineLayout, TablesSplitBetweenRows) {
    Document doc;
    Table t = doc.endCursor().insertTable(1, 2, {2000, 6000}).value();
    ASSERT_TRUE(t.setCellText(1, 1, u"Orden"_s).ok());
    ASSERT_TRUE(t.setCellText(1, 2, u"Puesto"_s).ok());
    ASSERT_TRUE(t.setHeaderRow(1, true).ok());
    for (int i = 1; i <= 120; ++i)
        ASSERT_TRUE(t.appendRow({u"N%1"_s.arg(i), u"Puesto número %1\nsegunda línea"_s.arg(i)}).ok());
    // One taller row (new rows would copy its height, so it is set afterwards).
    ASSERT_TRUE(t.setRowHeight(61, RowHeight{2000, HeightRule::Exact}).ok());
    const DocumentLayout layout(doc);
    ASSERT_GE(layout.pageCount(), 3);
    int rowsSeen = 0;
    for (int p = 0; p < layout.pageCount(); ++p) {
        const QString text = layout.pageText(p);
        EXPECT_TRUE(text.startsWith(u"Orden Puesto"_s)) << "página " << p + 1;
        rowsSeen += text.count(u"segunda línea"_s);
        // Both lines of a row land on the page of its number.
        for (int i = 1; i <= 120; ++i)
            if (text.contains(u"N%1 Puesto número %1\n"_s.arg(i))) {
                EXPECT_TRUE(text.contains(u"N%1 Puesto número %1\nsegunda línea"_s.arg(i)));
            }
    }
    EXPECT_EQ(rowsSeen, 120);
    // A row of at least some height grows with what its cells hold.
    Document grown;
    Table g = grown.endCursor().insertTable(2, 1, {3000}).value();
    ASSERT_TRUE(g.setRowHeight(1, RowHeight{200, HeightRule::AtLeast}).ok());
    ASSERT_TRUE(g.setCellText(1, 1, u"uno\ndos\ntres"_s).ok());
    ASSERT_TRUE(g.setCellText(2, 1, u"cuatro"_s).ok());
    const DocumentLayout grownLayout(grown);
    std::map<QString, qreal> y;
    for (const PageText& x : grownLayout.page(0).texts)
        y[x.text] = x.pos.y();
    EXPECT_GT(y[u"cuatro"_s], y[u"tres"_s]) << "the second row overlaps the first";
    // The bottom border of a page's last row is drawn: every page has lines right under its
    // lowest text.
    for (int p = 0; p < layout.pageCount(); ++p) {
        qreal lowestText = 0, lowestLine = 0;
        for (const PageText& x : layout.page(p).texts)
            lowestText = std::max(lowestText, x.pos.y());
        for (const PageLine& l : layout.page(p).lines)
            if (l.from.y() == l.to.y())
                lowestLine = std::max(lowestLine, l.from.y());
        EXPECT_GT(lowestLine, lowestText);
        EXPECT_LT(lowestLine, lowestText + 400);
    }
}

TEST(DocEngineLayout, PicturesLieWhereTheyAreAnchored) {
    Document doc = test::sampleTemplate();
    Cursor cell = doc.table(2).value().cellCursor(1, 1).value();
    ASSERT_TRUE(cell.insertImage(test::checkerboard(10), QSize(6000, 2600)).ok());
    Cursor footer = doc.footerCursor();
    footer.setAlignment(Alignment::Center)
        .insertText(u"Página "_s)
        .insertPageNumber()
        .insertText(u" de "_s)
        .insertPageCount();
    Cursor end = doc.endCursor();
    end.insertPageBreak().insertText(u"Fin"_s);
    Document reread = Document::fromBytes(doc.toBytes().value()).value();
    const DocumentLayout layout(reread);
    ASSERT_EQ(layout.pageCount(), 2);

    const PageContent& p1 = layout.page(0);
    ASSERT_EQ(p1.images.size(), 1u);
    EXPECT_EQ(p1.images[0].rect.size(), QSizeF(6000, 2600));
    EXPECT_TRUE(layout.bilevel(p1.images[0].image).isBilevel &&
                layout.bilevel(p1.images[0].image).darkRects.size() == 50u);
    // The picture sits inside its cell: the cell grew to hold it.
    qreal cellBottom = 0;
    for (const PageLine& l : p1.lines)
        if (l.from.y() == l.to.y() && l.from.y() > p1.images[0].rect.top() &&
            (cellBottom == 0 || l.from.y() < cellBottom))
            cellBottom = l.from.y();
    EXPECT_GE(cellBottom, p1.images[0].rect.bottom());

    EXPECT_TRUE(layout.pageText(0).endsWith(u"Página 1 de 2"_s));
    EXPECT_TRUE(layout.pageText(1).endsWith(u"Página 2 de 2"_s));
    EXPECT_TRUE(layout.pageText(1).startsWith(u"Fin"_s));
}

TEST(DocEngineLayout, OddContentIsLaidOutWithoutHanging) {
    // A word wider than its cell, a row taller than a page, a vertically merged cell, a table
    // without a grid, an empty body: all laid out, nothing lost, nothing endless.
    Document doc = test::documentWithBody(QStringLiteral(
        "<w:tbl><w:tr><w:tc><w:tcPr><w:tcW w:w=\"600\" w:type=\"dxa\"/><w:vMerge w:val=\"restart\"/></w:tcPr>"
        "<w:p><w:r><w:t>Supercalifragilisticoespialidoso</w:t></w:r></w:p></w:tc>"
        "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr><w:p/></w:tc></w:tr>"
        "<w:tr><w:tc><w:tcPr><w:tcW w:w=\"600\" w:type=\"dxa\"/><w:vMerge/></w:tcPr><w:p/></w:tc>"
        "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr><w:p/></w:tc></w:tr>"
        "<w:tr><w:trPr><w:trHeight w:val=\"20000\" w:hRule=\"exact\"/></w:trPr><w:tc><w:p/></w:tc>"
        "<w:tc><w:p><w:r><w:t>alta</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
        "<w:p><w:r><w:t>después</w:t></w:r></w:p>"));
    const DocumentLayout layout(doc);
    EXPECT_GE(layout.pageCount(), 2);
    QString all;
    for (int p = 0; p < layout.pageCount(); ++p)
        all += layout.pageText(p) + QChar('\n');
    all.remove(QChar('\n')).remove(QChar(' '));
    EXPECT_EQ(all, u"Supercalifragilisticoespialidosoaltadespués"_s);

    Document empty = test::documentWithBody(QString());
    const DocumentLayout emptyLayout(empty);
    EXPECT_EQ(emptyLayout.pageCount(), 1);
    EXPECT_TRUE(emptyLayout.page(0).isEmpty());
}
