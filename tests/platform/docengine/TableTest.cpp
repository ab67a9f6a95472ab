#include "editor/ControlName.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"

#include "platform/docengine/SampleDocuments.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;

namespace {

// Fills a table with `rows` data rows the way the printing routines do: add a row, type its cells.
void fill(Table& t, int from, int rows) {
    for (int i = from; i < from + rows; ++i) {
        const int r = t.addRow().value();
        ASSERT_TRUE(t.setCellText(r, 1, u"Curso %1"_s.arg(i)).ok());
        ASSERT_TRUE(t.setCellText(r, 2, QString::number(i)).ok());
    }
}

} // namespace

TEST(DocEngineTable, TablesAreNumberedInDocumentOrderWithoutNestedOnes) {
    Document doc = test::sampleTemplate();
    ASSERT_EQ(doc.tableCount(), 3);
    EXPECT_EQ(doc.table(1).value().cellText(1, 1).value(), u"Provincia"_s);
    EXPECT_EQ(doc.table(3).value().cellText(1, 3).value(), u"Año"_s);
    // A table inside a cell is not one of the document's tables.
    Cursor inCell = doc.table(2).value().cellCursor(1, 1).value();
    ASSERT_TRUE(inCell.insertTable(2, 2).ok());
    EXPECT_EQ(doc.tableCount(), 3);
    // A table added before the others takes number 1; handles keep pointing at their table.
    Table courses = doc.table(3).value();
    Cursor start = doc.startCursor();
    Table first = start.insertTable(1, 1).value();
    ASSERT_TRUE(first.setCellText(1, 1, u"nueva"_s).ok());
    EXPECT_EQ(doc.tableCount(), 4);
    EXPECT_EQ(doc.table(1).value(), first);
    EXPECT_EQ(doc.table(4).value(), courses);
    EXPECT_EQ(courses.cellText(1, 1).value(), u"Curso"_s);
    EXPECT_EQ(test::reopened(doc).table(4).value().cellText(1, 4).value(), u"Centro"_s);
}

TEST(DocEngineTable, NewRowsCopyTheLastRowsShapeButNotItsText) {
    Document doc = test::sampleTemplate();
    Table t = doc.table(3).value();
    ASSERT_TRUE(t.setRowHeight(1, RowHeight{400, HeightRule::Exact}).ok());
    ASSERT_TRUE(t.setHeaderRow(1, true).ok());
    EXPECT_EQ(t.addRow().value(), 2);
    EXPECT_EQ(t.cellCount(2), 4);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(t.cellText(2, c).value(), QString());
    EXPECT_EQ(t.rowHeight(2).value(), (RowHeight{400, HeightRule::Exact}));
    // Typed text takes the row's formatting (the header row is bold, 10 point Times New Roman).
    ASSERT_TRUE(t.setCellText(2, 1, u"Primeros auxilios"_s).ok());
    const QString xml = test::documentXml(doc);
    EXPECT_TRUE(xml.contains(QStringLiteral("<w:r><w:rPr><w:rFonts w:ascii=\"Times New Roman\" "
                                            "w:hAnsi=\"Times New Roman\" w:cs=\"Times New Roman\"/>"
                                            "<w:b/><w:bCs/><w:sz w:val=\"20\"/><w:szCs "
                                            "w:val=\"20\"/></w:rPr><w:t>Primeros auxilios</w:t></w:r>")))
        << xml.toStdString();
    // The repeated-header mark stays on the header row only.
    EXPECT_EQ(xml.count(u"<w:tblHeader/>"_s), 1);
    // Paragraphs and line breaks inside a cell.
    ASSERT_TRUE(t.setCellText(2, 4, u"Hospital\nde Mérida\rSegundo párrafo"_s).ok());
    EXPECT_EQ(test::reopened(doc).table(3).value().cellText(2, 4).value(),
              u"Hospital\nde Mérida\nSegundo párrafo"_s);
    EXPECT_EQ(t.setCellText(3, 1, u"x"_s).error().number, DocError::BadCell);
    EXPECT_EQ(t.setCellText(2, 5, u"x"_s).error().number, DocError::BadCell);
    EXPECT_EQ(t.appendRow({u"a"_s, u"b"_s}).value(), 3);
    EXPECT_EQ(t.cellText(3, 2).value(), u"b"_s);
}

TEST(DocEngineTable, MergedCellsSpanTheirColumns) {
    Document doc;
    Table t = doc.endCursor().insertTable(2, 5, {600, 1200, 3000, 2000, 1700}).value();
    ASSERT_TRUE(t.setCellText(1, 1, u"Orden"_s).ok());
    ASSERT_TRUE(t.setCellText(1, 3, u"PUESTO DE TRABAJO"_s).ok());
    ASSERT_TRUE(t.mergeCells(1, 3, 5).ok());
    EXPECT_EQ(t.cellCount(1), 3);
    EXPECT_EQ(t.cellCount(2), 5);
    EXPECT_EQ(t.cellText(1, 3).value(), u"PUESTO DE TRABAJO"_s);
    EXPECT_EQ(t.columnCount(), 5);
    EXPECT_EQ(t.mergeCells(1, 3, 5).error().number, DocError::BadCell);
    // The merged cell covers the three grid columns on paper: one border line less than below.
    const DocumentLayout layout(doc);
    const PageContent& page = layout.page(0);
    auto verticalsAt = [&](qreal y) {
        int n = 0;
        for (const PageLine& l : page.lines)
            if (l.from.x() == l.to.x() && l.from.y() <= y && l.to.y() >= y)
                ++n;
        return n;
    };
    const qreal top = doc.pageSetup().marginTop;
    qreal bottom = 0;
    for (const PageLine& l : page.lines)
        bottom = std::max(bottom, l.to.y());
    EXPECT_EQ(verticalsAt(top + 30), 4);
    EXPECT_EQ(verticalsAt(bottom - 30), 6);
    // Merging keeps the texts of all merged cells.
    ASSERT_TRUE(t.setCellText(2, 1, u"a"_s).ok());
    ASSERT_TRUE(t.setCellText(2, 2, u"b"_s).ok());
    ASSERT_TRUE(t.mergeCells(2, 1, 2).ok());
    EXPECT_EQ(t.cellText(2, 1).value(), u"a\nb"_s);
}

TEST(DocEngineTable, TablesGoBeforeAfterOrInsideTheParagraphAtTheCursor) {
    Document doc = test::documentWithBody(u"<w:p><w:r><w:t>uno dos</w:t></w:r></w:p>"_s);
    Cursor c = doc.startCursor();
    Table before = c.insertTable(1, 1).value();
    ASSERT_TRUE(before.setCellText(1, 1, u"A"_s).ok());
    c.moveToParagraphEnd();
    Table after = c.insertTable(1, 1).value();
    ASSERT_TRUE(after.setCellText(1, 1, u"B"_s).ok());
    EXPECT_EQ(doc.plainText(), u"A\nuno dos\nB\n\n"_s);

    // In the middle the paragraph is split around the table.
    Document mid = test::documentWithBody(QStringLiteral(
        "<w:p><w:r><w:t xml:space=\"preserve\">uno </w:t></w:r><w:r><w:t>dos</w:t></w:r></w:p>"));
    Cursor m = mid.startCursor();
    m.moveToParagraphEnd();
    ASSERT_TRUE(m.movePreviousParagraph() == false);
    Cursor found = mid.findText(u"dos"_s).value();
    Table t = found.insertTable(1, 1).value();
    ASSERT_TRUE(t.setCellText(1, 1, u"T"_s).ok());
    EXPECT_EQ(mid.plainText(), u"uno \nT\ndos\n"_s);
    EXPECT_EQ(mid.tableCount(), 1);
    // Bad sizes are refused.
    EXPECT_FALSE(mid.endCursor().insertTable(0, 3).ok());
    EXPECT_FALSE(mid.endCursor().insertTable(3, 64).ok());
}

TEST(DocEngineTable, MarkersPlaceContinuationTablesForTheOlderGeneration) {
    Document doc = test::sampleTemplate();
    Table courses = doc.table(3).value();
    fill(courses, 1, 3);
    // Find the marker below the list, open a line above it, break the page there and add the
    // continuation table at that place.
    Cursor from = courses.cellCursor(courses.rowCount(), 1).value();
    Cursor at = doc.findText(u"-&C&-"_s, &from).value();
    at.insertParagraph();
    ASSERT_TRUE(at.movePreviousParagraph());
    at.insertPageBreak();
    Table next = at.insertTable(1, 4).value();
    ASSERT_TRUE(next.setCellText(1, 1, u"Curso"_s).ok());
    fill(next, 4, 1);
    ASSERT_EQ(doc.tableCount(), 4);
    const QString text = doc.plainText();
    EXPECT_LT(text.indexOf(u"Curso 4"_s), text.indexOf(u"-&C&-"_s));
    // The next search from the new table finds the same marker again, still below the list.
    Cursor from2 = next.cellCursor(2, 1).value();
    EXPECT_TRUE(doc.findText(u"-&C&-"_s, &from2).ok());
    // A marker that runs over several runs is found too; a missing one is an error.
    Document split = test::documentWithBody(QStringLiteral(
        "<w:p><w:r><w:t>ab-&amp;</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>V&amp;-cd</w:t></w:r></w:p>"));
    Cursor v = split.findText(u"-&V&-"_s).value();
    v.insertText(u"|"_s);
    EXPECT_EQ(split.plainText(), u"ab|-&V&-cd\n"_s);
    EXPECT_EQ(split.findText(u"-&R&-"_s).error().number, DocError::MissingMember);
}

TEST(DocEngineTable, CellCursorsGoStaleWhenTheirCellIsRewritten) {
    Document doc = test::sampleTemplate();
    Table barcode = doc.table(2).value();
    Cursor c = barcode.cellCursor(1, 1).value();
    c.insertLineBreak().insertText(u"código"_s).setAlignment(Alignment::Center).insertLineBreak();
    EXPECT_EQ(barcode.cellText(1, 1).value(), u"\ncódigo\n"_s);
    EXPECT_TRUE(test::documentXml(doc).contains(u"<w:jc w:val=\"center\"/>"_s));
    EXPECT_TRUE(c.isValid());
    // Rewriting a cell removes content: old cursors stop doing anything rather than write into
    // freed nodes, and report the failure where they can.
    ASSERT_TRUE(barcode.setCellText(1, 1, u"nuevo"_s).ok());
    EXPECT_FALSE(c.isValid());
    EXPECT_TRUE(c.status().ok());
    c.insertText(u"perdido"_s);
    EXPECT_EQ(c.status().error().number, DocError::StaleHandle);
    EXPECT_FALSE(c.insertTable(1, 1).ok());
    EXPECT_EQ(barcode.cellText(1, 1).value(), u"nuevo"_s);
    EXPECT_FALSE(doc.plainText().contains(u"perdido"_s));
}

TEST(DocEngineTable, CursorsAnswerWithoutTheirXml) {
    Document doc;
    DocumentBuilder b(doc);
    b.paragraph(u"Nombre: "_s).insertTextField(ctl::txtNombre, u"Ana"_s);
    const Cursor first = b.cursor();
    b.paragraph(u"nueva hoja"_s, {}, ParagraphFormat{.pageBreakBefore = true});
    const Cursor second = doc.endCursor();
    // A field's result is part of the paragraph's text.
    EXPECT_EQ(first.paragraphText(), u"Nombre: Ana"_s);
    EXPECT_FALSE(first.paragraphBreaksPageBefore());
    EXPECT_TRUE(second.paragraphBreaksPageBefore());
    EXPECT_FALSE(first.inSameParagraphAs(second));

    Table t = b.table({3000, 3000}, 1);
    ASSERT_TRUE(t.setCellShading(1, 1, QColor(Qt::lightGray)).ok());
    EXPECT_EQ(DocumentLayout(doc).page(1).fills.size(), 1u);
    ASSERT_TRUE(t.clearCellShading(1, 1).ok());
    EXPECT_TRUE(DocumentLayout(doc).page(1).fills.empty());
    EXPECT_FALSE(t.clearCellShading(2, 1).ok());
}
