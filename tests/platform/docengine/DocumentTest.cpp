#include "platform/docengine/Document.h"
#include "platform/docengine/DocxPackage.h"
#include "platform/docengine/WordProcessor.h"

#include "platform/docengine/SampleDocuments.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;
using velmora::test::TempDir;

TEST(DocEngineDocument, FormFieldsKeepTheirValuesThroughSaveAndOpen) {
    TempDir dir;
    Document doc = test::sampleTemplate();
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("NOMBRE"), QStringLiteral("Ana María & <Núñez>")).ok());
    ASSERT_TRUE(
        doc.setFieldResult(QStringLiteral("PRIMERAPELLIDO"), QStringLiteral("  O'Donnell \"Ibáñez\"")).ok());
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("PROVINCIA1"), QStringLiteral("Cáceres")).ok());
    ASSERT_TRUE(doc.setCheckBox(QStringLiteral("DISCAPACIDADSI"), true).ok());
    ASSERT_TRUE(doc.setCheckBox(QStringLiteral("DISCAPACIDADNO"), false).ok());
    ASSERT_TRUE(doc.setCheckBox(QStringLiteral("SEACOMPAÑAPETICIONSI"), true).ok());
    // Writing twice replaces, it does not append.
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("PROVINCIA"), QStringLiteral("Badajoz provisional")).ok());
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("PROVINCIA"), QStringLiteral("Badajoz")).ok());
    const QString path = dir.file(QStringLiteral("00000001Z___0010A.doc"));
    ASSERT_TRUE(doc.saveAs(path).ok());

    Document back = Document::open(path).value();
    EXPECT_EQ(back.path(), path);
    EXPECT_EQ(back.fieldResult(QStringLiteral("NOMBRE")).value(), QStringLiteral("Ana María & <Núñez>"));
    EXPECT_EQ(back.fieldResult(QStringLiteral("PRIMERAPELLIDO")).value(),
              QStringLiteral("  O'Donnell \"Ibáñez\""));
    EXPECT_EQ(back.fieldResult(QStringLiteral("PROVINCIA")).value(), QStringLiteral("Badajoz"));
    EXPECT_EQ(back.fieldResult(QStringLiteral("PROVINCIA1")).value(), QStringLiteral("Cáceres"));
    EXPECT_TRUE(back.checkBox(QStringLiteral("DISCAPACIDADSI")).value());
    EXPECT_FALSE(back.checkBox(QStringLiteral("DISCAPACIDADNO")).value());
    EXPECT_TRUE(back.checkBox(QStringLiteral("SEACOMPAÑAPETICIONSI")).value());
    // A field never written reads as empty, not as the blank placeholder the template holds.
    Document fresh = test::sampleTemplate();
    EXPECT_EQ(fresh.fieldResult(QStringLiteral("NOMBRE")).value(), QString());
    EXPECT_EQ(back.formFieldNames(),
              (QStringList{"DISCAPACIDADNO", "DISCAPACIDADSI", "NOMBRE", "PRIMERAPELLIDO", "PROVINCIA",
                           "PROVINCIA1", "SEACOMPAÑAPETICIONSI"}));
}

TEST(DocEngineDocument, MissingNamesAreErrorsTheCallerCanSkip) {
    Document doc = test::sampleTemplate();
    auto f = doc.formField(QStringLiteral("NOEXISTE"));
    ASSERT_FALSE(f.ok());
    EXPECT_EQ(f.error().number, DocError::MissingMember);
    EXPECT_EQ(doc.setFieldResult(QStringLiteral("NOEXISTE"), QStringLiteral("x")).error().number,
              DocError::MissingMember);
    EXPECT_EQ(doc.setBookmarkText(QStringLiteral("NOEXISTE"), QStringLiteral("x")).error().number,
              DocError::MissingMember);
    EXPECT_EQ(doc.table(4).error().number, DocError::MissingMember);
    EXPECT_EQ(doc.table(0).error().number, DocError::MissingMember);
    // Check-box calls on text fields (and the reverse) are errors too, and change nothing.
    EXPECT_EQ(doc.setCheckBox(QStringLiteral("NOMBRE"), true).error().number, DocError::WrongFieldKind);
    EXPECT_EQ(doc.setFieldResult(QStringLiteral("DISCAPACIDADNO"), QStringLiteral("x")).error().number,
              DocError::WrongFieldKind);
    EXPECT_TRUE(doc.checkBox(QStringLiteral("DISCAPACIDADNO")).value());
    // Names match regardless of letter case, as in the word processor.
    EXPECT_TRUE(doc.setFieldResult(QStringLiteral("nombre"), QStringLiteral("Eva")).ok());
    EXPECT_EQ(doc.fieldResult(QStringLiteral("NOMBRE")).value(), QStringLiteral("Eva"));
}

TEST(DocEngineDocument, FieldsAreFoundByTheirBookmarkWhenTheNameWasDropped) {
    // As another word processor re-saves them: check boxes lose their own name and keep a
    // bookmark that starts inside the field; a text field may keep only the bookmark around it.
    const QString body = QStringLiteral(
        "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:name w:val=\"\"/><w:checkBox><w:sizeAuto/>"
        "<w:checked/></w:checkBox></w:ffData></w:fldChar></w:r>"
        "<w:r><w:instrText> FORMCHECKBOX </w:instrText></w:r><w:r><w:fldChar "
        "w:fldCharType=\"separate\"/></w:r>"
        "<w:bookmarkStart w:id=\"2\" w:name=\"DISCAPACIDADSI\"/><w:r/><w:r><w:fldChar "
        "w:fldCharType=\"end\"/></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:name w:val=\"\"/><w:checkBox><w:sizeAuto/>"
        "</w:checkBox></w:ffData></w:fldChar></w:r>"
        "<w:r><w:instrText> FORMCHECKBOX </w:instrText></w:r><w:r><w:fldChar "
        "w:fldCharType=\"separate\"/></w:r>"
        "<w:bookmarkStart w:id=\"5\" w:name=\"DISCAPACIDADNO\"/><w:bookmarkEnd w:id=\"2\"/>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:bookmarkEnd w:id=\"5\"/></w:p>"
        "<w:p><w:bookmarkStart w:id=\"7\" w:name=\"NOMBRE\"/>"
        "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> FORMTEXT </w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>Luis</w:t></w:r><w:r><w:t> "
        "Gil</w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:bookmarkEnd w:id=\"7\"/></w:p>"
        "<w:p><w:bookmarkStart w:id=\"8\" w:name=\"SOLOTEXTO\"/><w:r><w:t>sin campo</w:t></w:r>"
        "<w:bookmarkEnd w:id=\"8\"/></w:p>");
    Document doc = test::documentWithBody(body);
    EXPECT_TRUE(doc.checkBox(QStringLiteral("DISCAPACIDADSI")).value());
    EXPECT_FALSE(doc.checkBox(QStringLiteral("DISCAPACIDADNO")).value());
    EXPECT_EQ(doc.fieldResult(QStringLiteral("NOMBRE")).value(), QStringLiteral("Luis Gil"));
    ASSERT_TRUE(doc.setCheckBox(QStringLiteral("DISCAPACIDADNO"), true).ok());
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("NOMBRE"), QStringLiteral("Ana")).ok());
    Document back = test::reopened(doc);
    EXPECT_TRUE(back.checkBox(QStringLiteral("DISCAPACIDADNO")).value());
    EXPECT_TRUE(back.checkBox(QStringLiteral("DISCAPACIDADSI")).value());
    EXPECT_EQ(back.fieldResult(QStringLiteral("NOMBRE")).value(), QStringLiteral("Ana"));
    // A bookmark with no field in it is not a form field.
    EXPECT_EQ(back.formField(QStringLiteral("SOLOTEXTO")).error().number, DocError::MissingMember);
    EXPECT_EQ(back.formFieldNames(), (QStringList{"DISCAPACIDADNO", "DISCAPACIDADSI", "NOMBRE"}));
}

TEST(DocEngineDocument, ResultsSpreadOverRunsAndParagraphsAreReplacedWhole) {
    const QString body = QStringLiteral(
        "<w:p><w:r><w:t xml:space=\"preserve\">Antes </w:t></w:r>"
        "<w:r><w:rPr><w:b/></w:rPr><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:name w:val=\"DOMICILIO\"/>"
        "<w:textInput/></w:ffData></w:fldChar></w:r><w:r><w:instrText> FORMTEXT </w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:rPr><w:i/></w:rPr><w:t>Calle</w:t></w:r>"
        "<w:r><w:t xml:space=\"preserve\"> Mayor</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>segunda línea</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
        "<w:r><w:t xml:space=\"preserve\"> después</w:t></w:r></w:p>"
        "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:name "
        "w:val=\"VACIO\"/><w:textInput/></w:ffData>"
        "</w:fldChar></w:r><w:r><w:instrText> FORMTEXT </w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>");
    Document doc = test::documentWithBody(body);
    EXPECT_EQ(doc.fieldResult(QStringLiteral("DOMICILIO")).value(),
              QStringLiteral("Calle Mayor\nsegunda línea"));
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("DOMICILIO"), QStringLiteral("Plaza 1")).ok());
    EXPECT_EQ(doc.fieldResult(QStringLiteral("DOMICILIO")).value(), QStringLiteral("Plaza 1"));
    EXPECT_EQ(doc.plainText(), QStringLiteral("Antes Plaza 1 después\n\n"));
    // The new result keeps the formatting of the first run it replaced.
    EXPECT_TRUE(test::documentXml(doc).contains(
        QStringLiteral("<w:r><w:rPr><w:i/></w:rPr><w:t>Plaza 1</w:t></w:r>")));
    // A field with no result yet gets one.
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("VACIO"), QStringLiteral("lleno")).ok());
    EXPECT_EQ(test::reopened(doc).fieldResult(QStringLiteral("VACIO")).value(), QStringLiteral("lleno"));
}

TEST(DocEngineDocument, TextThatXmlCannotCarryIsCleanedNotCorrupting) {
    Document doc = test::sampleTemplate();
    const QString nasty = QStringLiteral("a") + QChar(0x01) + QStringLiteral("b") + QChar(0x0B) +
                          QStringLiteral("c") + QChar(0xD800) + QStringLiteral("d\r\ne\tf");
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("NOMBRE"), nasty).ok());
    ASSERT_TRUE(doc.setBookmarkText(QStringLiteral("DNICAB"), nasty).ok());
    Document back = test::reopened(doc);
    EXPECT_EQ(back.fieldResult(QStringLiteral("NOMBRE")).value(),
              QStringLiteral("ab\nc") + QStringLiteral("d\ne\tf"));
    EXPECT_EQ(back.bookmarkText(QStringLiteral("DNICAB")).value(), QStringLiteral("ab\ncd\ne\tf"));
}

TEST(DocEngineDocument, BookmarkTextReplacesThePlaceAndKeepsTheBookmark) {
    Document doc = test::sampleTemplate();
    ASSERT_TRUE(doc.setBookmarkText(QStringLiteral("DNICAB"), QStringLiteral("12345678Z")).ok());
    ASSERT_TRUE(doc.setBookmarkText(QStringLiteral("FECHAIMPR"), QStringLiteral("06/12/2026 10:11:12")).ok());
    ASSERT_TRUE(doc.setBookmarkText(QStringLiteral("DNICAB"), QStringLiteral("87654321X")).ok());
    Document back = test::reopened(doc);
    EXPECT_EQ(back.bookmarkText(QStringLiteral("DNICAB")).value(), QStringLiteral("87654321X"));
    EXPECT_TRUE(back.plainText().contains(QStringLiteral("DNI: 87654321X\nFecha: 06/12/2026 10:11:12\n")));
    EXPECT_TRUE(back.hasBookmark(QStringLiteral("DNICAB")));
    // An empty text leaves the place empty.
    ASSERT_TRUE(back.setBookmarkText(QStringLiteral("DNICAB"), QString()).ok());
    EXPECT_TRUE(back.plainText().contains(QStringLiteral("DNI: \n")));

    // A bookmark over two paragraphs joins them around the new text.
    Document two = test::documentWithBody(QStringLiteral(
        "<w:p><w:r><w:t xml:space=\"preserve\">uno </w:t></w:r><w:bookmarkStart w:id=\"1\" w:name=\"B\"/>"
        "<w:r><w:t>dos</w:t></w:r></w:p><w:p><w:r><w:t>tres</w:t></w:r><w:bookmarkEnd w:id=\"1\"/>"
        "<w:r><w:t xml:space=\"preserve\"> cuatro</w:t></w:r></w:p>"));
    ASSERT_TRUE(two.setBookmarkText(QStringLiteral("B"), QStringLiteral("X")).ok());
    EXPECT_EQ(two.plainText(), QStringLiteral("uno X cuatro\n"));
}

TEST(DocEngineDocument, FieldHandlesSurviveEditsElsewhere) {
    Document doc = test::sampleTemplate();
    FormField name = doc.formField(QStringLiteral("NOMBRE")).value();
    Table t = doc.table(1).value();
    // Rewriting a cell removes nodes; the field handle finds its field again.
    ASSERT_TRUE(t.setCellText(1, 1, QStringLiteral("otra cosa")).ok());
    ASSERT_TRUE(t.setCellText(1, 2, QStringLiteral("sin campo ya")).ok());
    ASSERT_TRUE(name.setResult(QStringLiteral("Ana")).ok());
    EXPECT_EQ(name.result().value(), QStringLiteral("Ana"));
    // The field that lived in the rewritten cell is gone, and says so.
    EXPECT_EQ(doc.formField(QStringLiteral("PROVINCIA")).error().number, DocError::MissingMember);
    EXPECT_TRUE(doc.formField(QStringLiteral("PROVINCIA1")).ok());
}

TEST(DocEngineDocument, FilesThatAreNotDocumentsAreRefusedCleanly) {
    TempDir dir;
    auto missing = Document::open(dir.file(QStringLiteral("nada.doc")));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, ErrorCode::FileNotFound);

    const QString text = dir.write(QStringLiteral("texto.doc"), "esto no es un documento");
    EXPECT_EQ(Document::open(text).error().number, DocError::NotAPackage);
    const QString truncated = dir.write(QStringLiteral("roto.doc"), Document().toBytes().value().left(200));
    EXPECT_EQ(Document::open(truncated).error().number, DocError::NotAPackage);

    // A ZIP package without a document body, and one whose body is not XML.
    Document blank;
    auto pkg = DocxPackage::fromBytes(blank.toBytes().value()).value();
    pkg.removePart(QStringLiteral("word/document.xml"));
    EXPECT_EQ(Document::fromBytes(pkg.toBytes().value()).error().number, DocError::NotAPackage);
    pkg.setPart(QStringLiteral("word/document.xml"), "<w:document><w:body>");
    EXPECT_EQ(Document::fromBytes(pkg.toBytes().value()).error().number, DocError::NotAPackage);
    // Strict-conformance files name the main namespace differently.
    pkg.setPart(
        QStringLiteral("word/document.xml"),
        "<w:document xmlns:w=\"http://purl.oclc.org/ooxml/wordprocessingml/main\"><w:body/></w:document>");
    EXPECT_EQ(Document::fromBytes(pkg.toBytes().value()).error().number, DocError::Unsupported);
    // Saving where the folder does not exist fails without leaving anything behind.
    EXPECT_FALSE(blank.saveAs(dir.file(QStringLiteral("no/existe/x.doc"))).ok());
    EXPECT_EQ(blank.save().error().number, DocError::NoPath);
}

TEST(DocEngineDocument, DocumentsBasedOnATemplateAreUntitledDocuments) {
    TempDir dir;
    Document tpl = test::sampleTemplate();
    tpl.setTemplate(true);
    const QString tplPath = dir.file(QStringLiteral("PlantillaWXP.dot"));
    ASSERT_TRUE(tpl.saveAs(tplPath).ok());
    const QString types =
        QString::fromUtf8(DocxPackage::fromFile(tplPath).value().part(QStringLiteral("[Content_Types].xml")));
    EXPECT_TRUE(types.contains(QStringLiteral("wordprocessingml.template.main+xml")));

    WordProcessor wp;
    Document* doc = wp.addDocument(tplPath).value();
    EXPECT_EQ(wp.activeDocument(), doc);
    EXPECT_TRUE(doc->path().isEmpty());
    EXPECT_FALSE(doc->isTemplate());
    EXPECT_EQ(doc->save().error().number, DocError::NoPath);
    ASSERT_TRUE(doc->setFieldResult(QStringLiteral("NOMBRE"), QStringLiteral("Eva")).ok());
    const QString docPath = dir.file(QStringLiteral("12345678Z___0010A.doc"));
    ASSERT_TRUE(doc->saveAs(docPath).ok());
    ASSERT_TRUE(doc->setFieldResult(QStringLiteral("NOMBRE"), QStringLiteral("Eva Gil")).ok());
    ASSERT_TRUE(doc->save().ok());
    const auto pkg = DocxPackage::fromFile(docPath).value();
    EXPECT_TRUE(QString::fromUtf8(pkg.part(QStringLiteral("[Content_Types].xml")))
                    .contains(QStringLiteral("wordprocessingml.document.main+xml")));
    EXPECT_EQ(Document::open(docPath).value().fieldResult(QStringLiteral("NOMBRE")).value(),
              QStringLiteral("Eva Gil"));
    // The template itself is untouched.
    EXPECT_EQ(Document::open(tplPath).value().fieldResult(QStringLiteral("NOMBRE")).value(), QString());
    EXPECT_EQ(wp.addDocument(dir.file(QStringLiteral("falta.dot"))).error().number, ErrorCode::FileNotFound);
}

TEST(DocEngineDocument, PicturesAreStoredInThePackageAndOutliveTheirFile) {
    TempDir dir;
    const QImage board = test::checkerboard(9);
    const QString bmp = dir.file(QStringLiteral("20261206101112 11.bmp"));
    ASSERT_TRUE(board.save(bmp, "BMP"));
    Document doc = test::sampleTemplate();
    Cursor c = doc.table(2).value().cellCursor(1, 1).value();
    c.insertLineBreak();
    ASSERT_TRUE(c.insertPicture(bmp, QSize(6000, 2600)).ok());
    c.setAlignment(Alignment::Center).insertLineBreak();
    ASSERT_TRUE(QFile::remove(bmp));
    EXPECT_EQ(c.insertPicture(bmp).error().number, ErrorCode::FileNotFound);

    Document back = test::reopened(doc);
    const auto pkg = DocxPackage::fromBytes(back.toBytes().value()).value();
    const QByteArray png = pkg.part(QStringLiteral("word/media/image1.png"));
    ASSERT_FALSE(png.isEmpty());
    const QImage stored = QImage::fromData(png).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(stored, board.convertToFormat(QImage::Format_RGB32));
    const QString rels = QString::fromUtf8(pkg.part(QStringLiteral("word/_rels/document.xml.rels")));
    EXPECT_TRUE(rels.contains(QStringLiteral("Target=\"media/image1.png\"")));
    EXPECT_TRUE(QString::fromUtf8(pkg.part(QStringLiteral("[Content_Types].xml")))
                    .contains(QStringLiteral("Extension=\"png\" ContentType=\"image/png\"")));
    const QString xml = test::documentXml(back);
    EXPECT_TRUE(xml.contains(QStringLiteral("<wp:extent cx=\"3810000\" cy=\"1651000\"/>")));
    // Each picture gets its own part and drawing id.
    Cursor end = back.endCursor();
    ASSERT_TRUE(end.insertImage(board).ok());
    const QString xml2 = test::documentXml(back);
    EXPECT_TRUE(xml2.contains(QStringLiteral("wp:docPr id=\"1\"")));
    EXPECT_TRUE(xml2.contains(QStringLiteral("wp:docPr id=\"2\"")));
}

TEST(DocEngineDocument, WordProcessorReportsItsGenerationAndOwnsItsDocuments) {
    WordProcessor current;
    EXPECT_GE(current.version(), 9);
    EXPECT_EQ(current.versionText().section('.', 0, 0).toInt(), current.version());
    WordProcessor older(8);
    EXPECT_EQ(older.version(), 8);
    EXPECT_EQ(older.versionText(), QStringLiteral("8.0"));

    EXPECT_FALSE(current.isVisible());
    Document* a = current.addBlankDocument();
    Document* b = current.addBlankDocument();
    EXPECT_EQ(current.activeDocument(), b);
    current.closeDocument();
    EXPECT_EQ(current.activeDocument(), a);
    current.addBlankDocument();
    current.quit();
    EXPECT_EQ(current.documentCount(), 0);
    EXPECT_EQ(current.activeDocument(), nullptr);
    EXPECT_EQ(current.printOut().error().number, DocError::MissingMember);
}
