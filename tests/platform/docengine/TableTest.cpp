#include "editor/ControlName.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"

#include "platform/docengine/SampleDocuments.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;

namespace {

// Fills a table with `rows` data rows the way the printing routines do: add a row, type its cells.
void fill(Table& t, int from, int rows) {
    for (int i = from; i < from + rows; ++i) {
        const int r = t.addRow().value();
        ASSERT_TRUE(t.setCellText(r, 1, QStringLiteral("Curso %1").arg(i)).ok());
        ASSERT_TRUE(t.setCellText(r, 2, QString::number(i)).ok());
    }
}

} // namespace

TEST(DocEngineTable, TablesAreNumberedInDocumentOrderWithoutNestedOnes) {
    Document doc = test::sampleTemplate();
    ASSERT_EQ(doc.tableCount(), 3);
    EXPECT_EQ(doc.table(1).value().cellText(1, 1).value(), QStringLiteral("Provincia"));
    EXPECT_EQ(doc.table(3).value().cellText(1, 3).value(), QStringLiteral("Año"));
    // A table inside a cell is not one of the document's tables.
    Cursor inCell = doc.table(2).value().cellCursor(1, 1).value();
    ASSERT_TRUE(inCell.insertTable(2, 2).ok());
    EXPECT_EQ(doc.tableCount(), 3);
    // A table added before the others takes number 1; handles keep pointing at their table.
    Table courses = doc.table(3).value();
    Cursor start = doc.startCursor();
    Table first = start.insertTable(1, 1).value();
    ASSERT_TRUE(first.setCellText(1, 1, QStringLiteral("nueva")).ok());
    EXPECT_EQ(doc.tableCount(), 4);
    EXPECT_EQ(doc.table(1).value(), first);
    EXPECT_EQ(doc.table(4).value(), courses);
    EXPECT_EQ(courses.cellText(1, 1).value(), QStringLiteral("Curso"));
    EXPECT_EQ(test::reopened(doc).table(4).value().cellText(1, 4).value(), QStringLiteral("Centro"));
}

TEST(DocEngineTable, NewRowsCopyTheLastRowsShapeButNotItsText) {
    Document doc = test::sampleTemplate();
    Table t = doc.table(3).value();
    ASSERT_TRUE(t.setRowHeight(1, RowHeight{400, HeightRule::Exact}).ok());
    ASSERT_TRUE(t.setHeaderRow(1, true).ok());
    EXPECT_EQ(t.addRow().value(), 2);
    EXPECT_EQ(t.rowCount(), 2);
    EXPECT_EQ(t.cellCount(2), 4);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(t.cellText(2, c).value(), QString());
    EXPECT_EQ(t.rowHeight(2).value(), (RowHeight{400, HeightRule::Exact}));
    // Typed text takes the row's formatting (the header row is bold, 10 point Times New Roman).
    ASSERT_TRUE(t.setCellText(2, 1, QStringLiteral("Primeros auxilios")).ok());
    const QString xml = test::documentXml(doc);
    EXPECT_TRUE(xml.contains(QStringLiteral("<w:r><w:rPr><w:rFonts w:ascii=\"Times New Roman\" "
                                            "w:hAnsi=\"Times New Roman\" w:cs=\"Times New Roman\"/>"
                                            "<w:b/><w:bCs/><w:sz w:val=\"20\"/><w:szCs "
                                            "w:val=\"20\"/></w:rPr><w:t>Primeros auxilios</w:t></w:r>")))
        << xml.toStdString();
    // The repeated-header mark stays on the header row only.
    EXPECT_EQ(xml.count(QStringLiteral("<w:tblHeader/>")), 1);
    // Paragraphs and line breaks inside a cell.
    ASSERT_TRUE(t.setCellText(2, 4, QStringLiteral("Hospital\nde Mérida\rSegundo párrafo")).ok());
    EXPECT_EQ(test::reopened(doc).table(3).value().cellText(2, 4).value(),
              QStringLiteral("Hospital\nde Mérida\nSegundo párrafo"));
    EXPECT_EQ(t.setCellText(3, 1, QStringLiteral("x")).error().number, DocError::BadCell);
    EXPECT_EQ(t.setCellText(2, 5, QStringLiteral("x")).error().number, DocError::BadCell);
    EXPECT_EQ(t.appendRow({QStringLiteral("a"), QStringLiteral("b")}).value(), 3);
    EXPECT_EQ(t.cellText(3, 2).value(), QStringLiteral("b"));
}

TEST(DocEngineTable, ContinuationTablesCopyWidthsHeightsAndBorders) {
    Document doc = test::sampleTemplate();
    Table first = doc.table(3).value();
    ASSERT_TRUE(first.setColumnWidth(1, 4400).ok());
    EXPECT_EQ(first.columnWidths(), (QList<Twips>{4400, 1200, 1000, 2300}));
    ASSERT_TRUE(first.setRowHeight(1, RowHeight{500, HeightRule::AtLeast}).ok());
    fill(first, 1, 35);

    // After 35 rows: below the table, a page break and a new table with the same columns.
    Cursor below = doc.cursorAfter(first);
    below.insertPageBreak();
    Table next = below.insertTable(1, first.columnCount()).value();
    ASSERT_TRUE(next.setColumnWidths(first.columnWidths()).ok());
    ASSERT_TRUE(next.setRowHeight(1, first.rowHeight(1).value()).ok());
    next.setBorders(true);
    for (int c = 1; c <= 4; ++c)
        ASSERT_TRUE(next.setCellText(1, c, first.cellText(1, c).value()).ok());
    fill(next, 36, 1);

    Document back = test::reopened(doc);
    ASSERT_EQ(back.tableCount(), 4);
    Table t4 = back.table(4).value();
    EXPECT_EQ(t4.columnWidths(), (QList<Twips>{4400, 1200, 1000, 2300}));
    EXPECT_EQ(t4.rowHeight(1).value(), (RowHeight{500, HeightRule::AtLeast}));
    EXPECT_TRUE(t4.hasBorders());
    EXPECT_EQ(t4.rowCount(), 2);
    EXPECT_EQ(t4.cellText(2, 1).value(), QStringLiteral("Curso 36"));
    // The hidden marker that followed the first table now follows the second one.
    const QString text = back.plainText();
    EXPECT_LT(text.indexOf(QStringLiteral("Curso 35")), text.indexOf(QStringLiteral("Curso 36")));
    EXPECT_LT(text.indexOf(QStringLiteral("Curso 36")), text.indexOf(QStringLiteral("-&C&-")));
    // And it prints on a page of its own.
    const DocumentLayout layout(back);
    const int last = layout.pageCount() - 1;
    EXPECT_TRUE(layout.pageText(last).startsWith(QStringLiteral("Curso N Horas Año Centro")));
    EXPECT_TRUE(layout.pageText(last).contains(QStringLiteral("Curso 36")));
    EXPECT_FALSE(layout.pageText(last - 1).contains(QStringLiteral("Curso 36")));
}

TEST(DocEngineTable, MergedCellsSpanTheirColumns) {
    Document doc;
    Table t = doc.endCursor().insertTable(2, 5, {600, 1200, 3000, 2000, 1700}).value();
    ASSERT_TRUE(t.setCellText(1, 1, QStringLiteral("Orden")).ok());
    ASSERT_TRUE(t.setCellText(1, 3, QStringLiteral("PUESTO DE TRABAJO")).ok());
    ASSERT_TRUE(t.mergeCells(1, 3, 5).ok());
    EXPECT_EQ(t.cellCount(1), 3);
    EXPECT_EQ(t.cellCount(2), 5);
    EXPECT_EQ(t.cellText(1, 3).value(), QStringLiteral("PUESTO DE TRABAJO"));
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
    ASSERT_TRUE(t.setCellText(2, 1, QStringLiteral("a")).ok());
    ASSERT_TRUE(t.setCellText(2, 2, QStringLiteral("b")).ok());
    ASSERT_TRUE(t.mergeCells(2, 1, 2).ok());
    EXPECT_EQ(t.cellText(2, 1).value(), QStringLiteral("a\nb"));
}

TEST(DocEngineTable, TablesGoBeforeAfterOrInsideTheParagraphAtTheCursor) {
    Document doc = test::documentWithBody(QStringLiteral("<w:p><w:r><w:t>uno dos</w:t></w:r></w:p>"));
    Cursor c = doc.startCursor();
    Table before = c.insertTable(1, 1).value();
    ASSERT_TRUE(before.setCellText(1, 1, QStringLiteral("A")).ok());
    c.moveToParagraphEnd();
    Table after = c.insertTable(1, 1).value();
    ASSERT_TRUE(after.setCellText(1, 1, QStringLiteral("B")).ok());
    EXPECT_EQ(doc.plainText(), QStringLiteral("A\nuno dos\nB\n\n"));

    // In the middle the paragraph is split around the table.
    Document mid = test::documentWithBody(QStringLiteral(
        "<w:p><w:r><w:t xml:space=\"preserve\">uno </w:t></w:r><w:r><w:t>dos</w:t></w:r></w:p>"));
    Cursor m = mid.startCursor();
    m.moveToParagraphEnd();
    ASSERT_TRUE(m.movePreviousParagraph() == false);
    Cursor found = mid.findText(QStringLiteral("dos")).value();
    Table t = found.insertTable(1, 1).value();
    ASSERT_TRUE(t.setCellText(1, 1, QStringLiteral("T")).ok());
    EXPECT_EQ(mid.plainText(), QStringLiteral("uno \nT\ndos\n"));
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
    Cursor at = doc.findText(QStringLiteral("-&C&-"), &from).value();
    at.insertParagraph();
    ASSERT_TRUE(at.movePreviousParagraph());
    at.insertPageBreak();
    Table next = at.insertTable(1, 4).value();
    ASSERT_TRUE(next.setCellText(1, 1, QStringLiteral("Curso")).ok());
    fill(next, 4, 1);
    ASSERT_EQ(doc.tableCount(), 4);
    const QString text = doc.plainText();
    EXPECT_LT(text.indexOf(QStringLiteral("Curso 4")), text.indexOf(QStringLiteral("-&C&-")));
    // The next search from the new table finds the same marker again, still below the list.
    Cursor from2 = next.cellCursor(2, 1).value();
    EXPECT_TRUE(doc.findText(QStringLiteral("-&C&-"), &from2).ok());
    // A marker that runs over several runs is found too; a missing one is an error.
    Document split = test::documentWithBody(QStringLiteral(
        "<w:p><w:r><w:t>ab-&amp;</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>V&amp;-cd</w:t></w:r></w:p>"));
    Cursor v = split.findText(QStringLiteral("-&V&-")).value();
    v.insertText(QStringLiteral("|"));
    EXPECT_EQ(split.plainText(), QStringLiteral("ab|-&V&-cd\n"));
    EXPECT_EQ(split.findText(QStringLiteral("-&R&-")).error().number, DocError::MissingMember);
}

TEST(DocEngineTable, CursorsWorkInCellsAndBecomeInvalidAfterRemovals) {
    Document doc = test::sampleTemplate();
    Table barcode = doc.table(2).value();
    Cursor c = barcode.cellCursor(1, 1).value();
    c.insertLineBreak()
        .insertText(QStringLiteral("código"))
        .setAlignment(Alignment::Center)
        .insertLineBreak();
    EXPECT_EQ(barcode.cellText(1, 1).value(), QStringLiteral("\ncódigo\n"));
    EXPECT_TRUE(test::documentXml(doc).contains(QStringLiteral("<w:jc w:val=\"center\"/>")));
    EXPECT_TRUE(c.isValid());
    // Rewriting a cell removes content: old cursors stop doing anything rather than write into
    // freed nodes, and report the failure where they can.
    ASSERT_TRUE(barcode.setCellText(1, 1, QStringLiteral("nuevo")).ok());
    EXPECT_FALSE(c.isValid());
    EXPECT_TRUE(c.status().ok());
    c.insertText(QStringLiteral("perdido"));
    EXPECT_EQ(c.status().error().number, DocError::StaleHandle);
    EXPECT_FALSE(c.insertTable(1, 1).ok());
    EXPECT_EQ(barcode.cellText(1, 1).value(), QStringLiteral("nuevo"));
    EXPECT_FALSE(doc.plainText().contains(QStringLiteral("perdido")));
}

TEST(DocEngineTable, LongTablesFillRowAfterRow) {
    // What the print of a full application does: thousands of rows, filled one by one.
    Document doc;
    Table t = doc.endCursor().insertTable(1, 3, {1000, 1500, 6000}).value();
    for (int i = 1; i <= 3000; ++i)
        ASSERT_TRUE(
            t.appendRow({QString::number(i), QString::number(10000 + i), QStringLiteral("Puesto %1").arg(i)})
                .ok());
    EXPECT_EQ(t.rowCount(), 3001);
    EXPECT_EQ(t.cellText(3001, 3).value(), QStringLiteral("Puesto 3000"));
    const DocumentLayout layout(doc);
    EXPECT_GT(layout.pageCount(), 40);
    // Rows are never split between pages: each number and its position name share a page.
    for (int p = 0; p < layout.pageCount(); ++p) {
        const QString text = layout.pageText(p);
        for (const QString& line : text.split('\n')) {
            const QStringList words = line.split(' ');
            if (words.size() == 4 && words.at(2) == QLatin1String("Puesto")) {
                EXPECT_EQ(words.at(0), words.at(3));
            }
        }
    }
}

TEST(DocEngineTable, CursorsAndCellsAnswerWithoutTheirXml) {
    Document doc;
    DocumentBuilder b(doc);
    b.paragraph(QStringLiteral("Nombre: ")).insertTextField(ctl::txtNombre, QStringLiteral("Ana"));
    const Cursor first = b.cursor();
    b.paragraph(QStringLiteral("nueva hoja"), {}, ParagraphFormat{.pageBreakBefore = true});
    const Cursor second = doc.endCursor();
    // A field's result is part of the paragraph's text.
    EXPECT_EQ(first.paragraphText(), QStringLiteral("Nombre: Ana"));
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
