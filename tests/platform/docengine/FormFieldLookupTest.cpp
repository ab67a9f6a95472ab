// Form fields known only by a bookmark, bookmarks sharing one id, and packages refused when read.
#include "platform/docengine/Document.h"
#include "platform/docengine/DocxPackage.h"

#include "SampleDocuments.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace velmora::docengine {
namespace {

using test::documentWithBody;
using test::packageWith;
using test::packageWithBody;

// An unnamed text field, so that only a bookmark can name it.
QString field(const QString& result) {
    return QStringLiteral(
               "<w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:textInput/></w:ffData></w:fldChar></w:r>"
               "<w:r><w:instrText> FORMTEXT </w:instrText></w:r>"
               "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>%1</w:t></w:r>"
               "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>")
        .arg(result);
}

QString bookmarked(const QString& name, int id, const QString& inside) {
    return u"<w:bookmarkStart w:id=\"%1\" w:name=\"%2\"/>%3<w:bookmarkEnd w:id=\"%1\"/>"_s.arg(id).arg(
        name, inside);
}

QString paragraph(const QString& inside) {
    return u"<w:p>"_s + inside + u"</w:p>"_s;
}

TEST(DocEngineFormFieldLookup, BookmarksFindTheirFieldsWhereverTheyLie) {
    const QString pageField = QStringLiteral("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
                                             "<w:r><w:instrText> PAGE </w:instrText></w:r>"
                                             "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>");
    const QString inResult = QStringLiteral(
        "<w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData><w:textInput/></w:ffData></w:fldChar></w:r>"
        "<w:r><w:instrText> FORMTEXT </w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"
        "<w:bookmarkStart w:id=\"2\" w:name=\"Dentro\"/><w:r><w:t>dos</w:t></w:r><w:bookmarkEnd w:id=\"2\"/>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>");
    Document doc = documentWithBody(
        paragraph(bookmarked(u"Primero"_s, 1, field(u"uno"_s))) + paragraph(field(u"antes"_s) + inResult) +
        u"<w:tbl><w:tr><w:tc>"_s + paragraph(bookmarked(u"Celda"_s, 3, field(u"tres"_s))) +
        u"</w:tc></w:tr></w:tbl><w:sdt><w:sdtContent>"_s +
        paragraph(bookmarked(u"Control"_s, 4, field(u"cuatro"_s))) + u"</w:sdtContent></w:sdt>"_s +
        // Inside a field that is no form field, the form field within the bookmark counts.
        paragraph(pageField + bookmarked(u"Pagina"_s, 5, u"<w:r><w:t>7</w:t></w:r>"_s + field(u"cinco"_s)) +
                  u"<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"_s) +
        paragraph(bookmarked(u"Vacio"_s, 6, u"<w:r><w:t>nada</w:t></w:r>"_s)) +
        paragraph(bookmarked(u"Ultimo"_s, 7, field(u"seis"_s))));

    const struct {
        const char* bookmark;
        const char* result;
    } found[] = {{"Primero", "uno"},    {"Dentro", "dos"},   {"Celda", "tres"},
                 {"Control", "cuatro"}, {"Pagina", "cinco"}, {"Ultimo", "seis"}};
    for (const auto& f : found)
        EXPECT_EQ(doc.fieldResult(QString::fromUtf8(f.bookmark)).valueOr(u"?"_s), QString::fromUtf8(f.result))
            << f.bookmark;
    EXPECT_FALSE(doc.formField(u"Vacio"_s).ok());
    EXPECT_EQ(doc.formFieldNames(),
              (QStringList{u"Celda"_s, u"Control"_s, u"Dentro"_s, u"Pagina"_s, u"Primero"_s, u"Ultimo"_s}));

    // Writing through a bookmark's field leaves the others where they were.
    ASSERT_TRUE(doc.setFieldResult(u"Celda"_s, u"otra\nlínea"_s).ok());
    EXPECT_EQ(doc.fieldResult(u"Ultimo"_s).valueOr(QString()), u"seis"_s);
    EXPECT_EQ(doc.fieldResult(u"Dentro"_s).valueOr(QString()), u"dos"_s);
}

TEST(DocEngineFormFieldLookup, BookmarksSharingOneIdKeepToTheirOwnText) {
    QString body;
    for (int i = 1; i <= 3; ++i)
        body += paragraph(bookmarked(u"B%1"_s.arg(i), 0, field(u"v%1"_s.arg(i))));
    // A start whose end is missing holds nothing, even with ends of its id before it.
    body += paragraph(u"<w:bookmarkStart w:id=\"0\" w:name=\"Suelto\"/><w:r><w:t>fin</w:t></w:r>"_s);
    Document doc = documentWithBody(body);

    for (int i = 1; i <= 3; ++i) {
        const QString name = u"B%1"_s.arg(i);
        EXPECT_EQ(doc.bookmarkText(name).valueOr(QString()), u"v%1"_s.arg(i)) << i;
        EXPECT_EQ(doc.fieldResult(name).valueOr(QString()), u"v%1"_s.arg(i)) << i;
    }
    EXPECT_EQ(doc.bookmarkText(u"Suelto"_s).valueOr(u"?"_s), QString());

    // Giving the loose bookmark its end makes it hold what is written into it.
    ASSERT_TRUE(doc.setBookmarkText(u"Suelto"_s, u"nuevo"_s).ok());
    EXPECT_EQ(doc.bookmarkText(u"Suelto"_s).valueOr(QString()), u"nuevo"_s);
    EXPECT_EQ(doc.bookmarkText(u"B3"_s).valueOr(QString()), u"v3"_s);
}

// `withData` fields carrying form-field data and `byInstruction` known only by their FORM
// instruction, plus a page-number field that is no form field.
QByteArray formFields(int withData, int byInstruction) {
    QByteArray body =
        "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
    for (int i = 0; i < withData; ++i)
        body +=
            "<w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData/></w:fldChar></w:r>"
            "<w:r><w:instrText>FORMCHECKBOX</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
    for (int i = 0; i < byInstruction; ++i)
        body +=
            "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>FORMTEXT</w:instrText></w:r>"
            "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
    return packageWithBody(body + "</w:p>");
}

// Damaged packages, and more form fields than any form has, are refused naming the file.
TEST(DocEngineFormFieldLookup, ProblemsInsideThePackageNameTheFile) {
    test::TempDir dir;
    EXPECT_TRUE(Document::fromBytes(formFields(10000, 10000)).ok());
    const QString tooMany = u"El documento tiene más de 20.000 campos de formulario y no se puede abrir."_s;
    const QByteArray otherBody = packageWith(
        u"_rels/.rels"_s,
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Target=\"word/otro.xml\" Type=\"http://schemas.openxmlformats.org/"
        "officeDocument/2006/relationships/officeDocument\"/></Relationships>");
    const QString damaged = u"El archivo no es un documento válido del procesador de textos (%1)."_s;
    // Same length as the real name, so renaming it in the bytes keeps the archive whole.
    const QByteArray twice =
        packageWith(u"word/documenX.xml"_s, "<otro/>").replace("word/documenX.xml", "word/document.xml");
    const std::pair<QByteArray, QString> cases[] = {
        {"PK esto no es un ZIP de verdad, solo empieza así", damaged.arg(u"no es un archivo ZIP"_s)},
        {twice, damaged.arg(u"la parte word/document.xml aparece dos veces"_s)},
        {packageWith(u"[Content_Types].xml"_s, "<Types"), damaged.arg(u"[Content_Types].xml ilegible"_s)},
        {otherBody, damaged.arg(u"falta el cuerpo del documento"_s)},
        {packageWith(u"_rels/.rels"_s, "<Relationships"), damaged.arg(u"_rels/.rels ilegible"_s)},
        {packageWith(u"word/_rels/document.xml.rels"_s, "<Relationships"),
         damaged.arg(u"word/_rels/document.xml.rels ilegible"_s)},
        {packageWith(u"word/document.xml"_s, "<w:document><w:body>"),
         damaged.arg(u"el cuerpo del documento no es XML válido"_s)},
        {packageWith(u"word/document.xml"_s, "<html><body/></html>"),
         u"El documento usa una variante del formato que no se admite."_s},
        {formFields(20001, 0), tooMany},
        {formFields(0, 20001), tooMany},
        {formFields(10001, 10000), tooMany},
    };
    for (const auto& [bytes, problem] : cases) {
        const QString path = dir.write(u"dañado.doc"_s, bytes);
        auto opened = Document::open(path);
        ASSERT_FALSE(opened.ok()) << problem.toStdString();
        EXPECT_EQ(opened.error().description, QDir::toNativeSeparators(path) + u": "_s + problem);
    }
}

} // namespace
} // namespace velmora::docengine
