#include "platform/docengine/Document.h"
#include "platform/docengine/DocxPackage.h"
#include "platform/docengine/WordProcessor.h"

#include "platform/docengine/SampleDocuments.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;
using velmora::test::TempDir;

TEST(DocEngineDocument, FormFieldsKeepTheirValuesThroughASave) {
    TempDir dir;
    Document doc = test::sampleTemplate();
    const std::pair<QString, QString> texts[] = {{u"NOMBRE"_s, u"Ana María & <Núñez>"_s},
                                                 {u"PRIMERAPELLIDO"_s, u"  O'Donnell \"Ibáñez\""_s},
                                                 {u"PROVINCIA1"_s, u"Cáceres"_s},
                                                 {u"PROVINCIA"_s, u"Badajoz"_s}};
    const std::pair<QString, bool> boxes[] = {
        {u"DISCAPACIDADSI"_s, true}, {u"DISCAPACIDADNO"_s, false}, {u"SEACOMPAÑAPETICIONSI"_s, true}};
    // Writing twice replaces, it does not append.
    ASSERT_TRUE(doc.setFieldResult(u"PROVINCIA"_s, u"Badajoz provisional"_s).ok());
    for (const auto& [name, text] : texts)
        ASSERT_TRUE(doc.setFieldResult(name, text).ok());
    for (const auto& [name, ticked] : boxes)
        ASSERT_TRUE(doc.setCheckBox(name, ticked).ok());
    const QString path = dir.file(u"00000001Z___0010A.doc"_s);
    ASSERT_TRUE(doc.saveAs(path).ok());

    Document back = Document::open(path).value();
    EXPECT_EQ(back.path(), path);
    for (const auto& [name, text] : texts)
        EXPECT_EQ(back.fieldResult(name).value(), text);
    for (const auto& [name, ticked] : boxes)
        EXPECT_EQ(back.checkBox(name).value(), ticked) << name.toStdString();
    // A field never written reads as empty, not as the blank placeholder the template holds.
    Document fresh = test::sampleTemplate();
    EXPECT_EQ(fresh.fieldResult(u"NOMBRE"_s).value(), QString());
    EXPECT_EQ(back.formFieldNames(),
              (QStringList{"DISCAPACIDADNO", "DISCAPACIDADSI", "NOMBRE", "PRIMERAPELLIDO", "PROVINCIA",
                           "PROVINCIA1", "SEACOMPAÑAPETICIONSI"}));
}

TEST(DocEngineDocument, MissingNamesAreErrorsTheCallerCanSkip) {
    Document doc = test::sampleTemplate();
    EXPECT_EQ(doc.formField(u"NOEXISTE"_s).error().number, DocError::MissingMember);
    EXPECT_EQ(doc.setFieldResult(u"NOEXISTE"_s, u"x"_s).error().number, DocError::MissingMember);
    EXPECT_EQ(doc.setBookmarkText(u"NOEXISTE"_s, u"x"_s).error().number, DocError::MissingMember);
    EXPECT_EQ(doc.table(4).error().number, DocError::MissingMember);
    EXPECT_EQ(doc.table(0).error().number, DocError::MissingMember);
    // Check-box calls on text fields (and the reverse) are errors too, and change nothing.
    EXPECT_EQ(doc.setCheckBox(u"NOMBRE"_s, true).error().number, DocError::WrongFieldKind);
    EXPECT_EQ(doc.setFieldResult(u"DISCAPACIDADNO"_s, u"x"_s).error().number, DocError::WrongFieldKind);
    EXPECT_TRUE(doc.checkBox(u"DISCAPACIDADNO"_s).value());
    // Names match regardless of letter case, as in the word processor.
    EXPECT_TRUE(doc.setFieldResult(u"nombre"_s, u"Eva"_s).ok());
    EXPECT_EQ(doc.fieldResult(u"NOMBRE"_s).value(), u"Eva"_s);

    // Rewriting a cell removes nodes; a field handle elsewhere finds its field again.
    FormField name = doc.formField(u"NOMBRE"_s).value();
    Table t = doc.table(1).value();
    ASSERT_TRUE(t.setCellText(1, 1, u"otra cosa"_s).ok());
    ASSERT_TRUE(t.setCellText(1, 2, u"sin campo ya"_s).ok());
    ASSERT_TRUE(name.setResult(u"Ana"_s).ok());
    EXPECT_EQ(name.result().value(), u"Ana"_s);
    // The field that lived in the rewritten cell is gone, and says so.
    EXPECT_EQ(doc.formField(u"PROVINCIA"_s).error().number, DocError::MissingMember);
    EXPECT_TRUE(doc.formField(u"PROVINCIA1"_s).ok());
}

TEST(DocEngineDocument, FieldsAreFoundByTheirBookmarkWhenTheNameWasDropped) {
    // As another word processor re-saves them: check boxes lose their own name and keep a
    // bookmark that starts inside the field.
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
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:bookmarkEnd w:id=\"5\"/></w:p>");
    Document doc = test::documentWithBody(body);
    EXPECT_TRUE(doc.checkBox(u"DISCAPACIDADSI"_s).value());
    EXPECT_FALSE(doc.checkBox(u"DISCAPACIDADNO"_s).value());
    ASSERT_TRUE(doc.setCheckBox(u"DISCAPACIDADNO"_s, true).ok());
    Document back = test::reopened(doc);
    EXPECT_TRUE(back.checkBox(u"DISCAPACIDADNO"_s).value() && back.checkBox(u"DISCAPACIDADSI"_s).value());
    EXPECT_EQ(back.formFieldNames(), (QStringList{"DISCAPACIDADNO", "DISCAPACIDADSI"}));
}

TEST(DocEngineDocument, ResultsSpreadOverParagraphsAreReplacedWhole) {
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
    EXPECT_EQ(doc.fieldResult(u"DOMICILIO"_s).value(), u"Calle Mayor\nsegunda línea"_s);
    ASSERT_TRUE(doc.setFieldResult(u"DOMICILIO"_s, u"Plaza 1"_s).ok());
    EXPECT_EQ(doc.fieldResult(u"DOMICILIO"_s).value(), u"Plaza 1"_s);
    EXPECT_EQ(doc.plainText(), u"Antes Plaza 1 después\n\n"_s);
    // The new result keeps the formatting of the first run it replaced.
    EXPECT_TRUE(test::documentXml(doc).contains(u"<w:r><w:rPr><w:i/></w:rPr><w:t>Plaza 1</w:t></w:r>"_s));
    // A field with no result yet gets one.
    ASSERT_TRUE(doc.setFieldResult(u"VACIO"_s, u"lleno"_s).ok());
    EXPECT_EQ(test::reopened(doc).fieldResult(u"VACIO"_s).value(), u"lleno"_s);
}

TEST(DocEngineDocument, BookmarkTextReplacesThePlaceKeepingTheBookmark) {
    Document doc = test::sampleTemplate();
    ASSERT_TRUE(doc.setBookmarkText(u"DNICAB"_s, u"12345678Z"_s).ok());
    ASSERT_TRUE(doc.setBookmarkText(u"FECHAIMPR"_s, u"06/12/2026 10:11:12"_s).ok());
    ASSERT_TRUE(doc.setBookmarkText(u"DNICAB"_s, u"87654321X"_s).ok());
    // Text that XML cannot carry is cleaned rather than corrupting the file.
    const QString nasty =
        u"a"_s + QChar(0x01) + u"b"_s + QChar(0x0B) + u"c"_s + QChar(0xD800) + u"d\r\ne\tf"_s;
    ASSERT_TRUE(doc.setFieldResult(u"NOMBRE"_s, nasty).ok());
    Document back = test::reopened(doc);
    EXPECT_EQ(back.fieldResult(u"NOMBRE"_s).value(), u"ab\nc"_s + u"d\ne\tf"_s);
    EXPECT_EQ(back.bookmarkText(u"DNICAB"_s).value(), u"87654321X"_s) << "the bookmark stays";
    EXPECT_TRUE(back.plainText().contains(u"DNI: 87654321X\nFecha: 06/12/2026 10:11:12\n"_s));
    ASSERT_TRUE(back.setBookmarkText(u"FECHAIMPR"_s, nasty).ok());
    EXPECT_EQ(test::reopened(back).bookmarkText(u"FECHAIMPR"_s).value(), u"ab\ncd\ne\tf"_s);
    // An empty text leaves the place empty.
    ASSERT_TRUE(back.setBookmarkText(u"DNICAB"_s, QString()).ok());
    EXPECT_TRUE(back.plainText().contains(u"DNI: \n"_s));

    // A bookmark over two paragraphs joins them around the new text.
    Document two = test::documentWithBody(QStringLiteral(
        "<w:p><w:r><w:t xml:space=\"preserve\">uno </w:t></w:r><w:bookmarkStart w:id=\"1\" w:name=\"B\"/>"
        "<w:r><w:t>dos</w:t></w:r></w:p><w:p><w:r><w:t>tres</w:t></w:r><w:bookmarkEnd w:id=\"1\"/>"
        "<w:r><w:t xml:space=\"preserve\"> cuatro</w:t></w:r></w:p>"));
    ASSERT_TRUE(two.setBookmarkText(u"B"_s, u"X"_s).ok());
    EXPECT_EQ(two.plainText(), u"uno X cuatro\n"_s);
}

TEST(DocEngineDocument, FilesThatAreNotDocumentsAreRefusedCleanly) {
    TempDir dir;
    EXPECT_EQ(Document::open(dir.file(u"nada.doc"_s)).error().number, ErrorCode::FileNotFound);

    // A ZIP package without a document body.
    Document blank;
    auto pkg = DocxPackage::fromBytes(blank.toBytes().value()).value();
    pkg.removePart(u"word/document.xml"_s);
    EXPECT_EQ(Document::fromBytes(pkg.toBytes().value()).error().number, DocError::NotAPackage);
    // Strict-conformance files name the main namespace differently.
    pkg.setPart(
        u"word/document.xml"_s,
        "<w:document xmlns:w=\"http://purl.oclc.org/ooxml/wordprocessingml/main\"><w:body/></w:document>");
    EXPECT_EQ(Document::fromBytes(pkg.toBytes().value()).error().number, DocError::Unsupported);
    // Saving where the folder does not exist fails without leaving anything behind.
    EXPECT_FALSE(blank.saveAs(dir.file(u"no/existe/x.doc"_s)).ok());
    EXPECT_EQ(blank.save().error().number, DocError::NoPath);
}

TEST(DocEngineDocument, DocumentsBasedOnATemplateAreUntitledDocuments) {
    TempDir dir;
    Document tpl = test::sampleTemplate();
    tpl.setTemplate(true);
    const QString tplPath = dir.file(u"PlantillaWXP.dot"_s);
    ASSERT_TRUE(tpl.saveAs(tplPath).ok());
    const QString types =
        QString::fromUtf8(DocxPackage::fromFile(tplPath).value().part(u"[Content_Types].xml"_s));
    EXPECT_TRUE(types.contains(u"wordprocessingml.template.main+xml"_s));

    WordProcessor wp;
    Document* doc = wp.addDocument(tplPath).value();
    EXPECT_EQ(wp.activeDocument(), doc);
    EXPECT_TRUE(doc->path().isEmpty());
    EXPECT_FALSE(doc->isTemplate());
    EXPECT_EQ(doc->save().error().number, DocError::NoPath);
    ASSERT_TRUE(doc->setFieldResult(u"NOMBRE"_s, u"Eva"_s).ok());
    const QString docPath = dir.file(u"12345678Z___0010A.doc"_s);
    ASSERT_TRUE(doc->saveAs(docPath).ok());
    ASSERT_TRUE(doc->setFieldResult(u"NOMBRE"_s, u"Eva Gil"_s).ok());
    ASSERT_TRUE(doc->save().ok());
    const auto pkg = DocxPackage::fromFile(docPath).value();
    EXPECT_TRUE(QString::fromUtf8(pkg.part(u"[Content_Types].xml"_s))
                    .contains(u"wordprocessingml.document.main+xml"_s));
    EXPECT_EQ(Document::open(docPath).value().fieldResult(u"NOMBRE"_s).value(), u"Eva Gil"_s);
    // The template itself is untouched.
    EXPECT_EQ(Document::open(tplPath).value().fieldResult(u"NOMBRE"_s).value(), QString());
    EXPECT_EQ(wp.addDocument(dir.file(u"falta.dot"_s)).error().number, ErrorCode::FileNotFound);
}
