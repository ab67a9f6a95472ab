#include "printing/TemplateWriter.h"

#include "platform/docengine/Cursor.h"
#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/DocxPackage.h"
#include "platform/docengine/WordProcessor.h"
#include "printing/TemplateLayout.h"

#include "support/PdfTools.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"
#include "support/TemplateChecks.h"
#include "support/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <QRegularExpression>

#include <gtest/gtest.h>
#include <pugixml.hpp>

using namespace velmora;
using namespace velmora::docengine;
using velmora::test::TempDir;

namespace {

TemplateKey key(const char* name) {
    return TemplateKey::fromFolderName(QString::fromLatin1(name)).value();
}

QString pdfOf(Document& doc, const TempDir& dir, const QString& name) {
    const QString pdf = dir.file(name);
    auto pages = DocumentPrinter::writePdf(doc, pdf);
    EXPECT_TRUE(pages.ok()) << (pages.ok() ? std::string() : pages.error().description.toStdString());
    return pdf;
}

QString allText(const QString& pdf, int pages) {
    QString text;
    for (int p = 1; p <= pages; ++p)
        text += velmora::test::pdfPageText(pdf, p);
    return text;
}

} // namespace

TEST(TemplateKeys, FolderNamesCoverEveryCombinationOnce) {
    const std::vector<TemplateKey> keys = TemplateKey::all();
    ASSERT_EQ(keys.size(), 32u);
    QStringList names;
    for (const TemplateKey& k : keys) {
        names << k.folderName();
        EXPECT_EQ(TemplateKey::fromFolderName(k.folderName())->folderName(), k.folderName());
    }
    EXPECT_EQ(names.first(), QStringLiteral("DOT_00000"));
    EXPECT_EQ(names.last(), QStringLiteral("DOT_11111"));
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 32);
    // Digits follow the tabs in conf.xml order.
    const TemplateKey k = key("DOT_10110");
    EXPECT_TRUE(k.shows(EditorTab::Personal) && k.shows(EditorTab::Vacancies) &&
                k.shows(EditorTab::Resultas));
    EXPECT_FALSE(k.shows(EditorTab::Courses) || k.shows(EditorTab::Documents));
    for (const char* bad : {"DOT_1111", "DOT_111111", "DOT_11121", "dot_11111", "DOX_11111"})
        EXPECT_FALSE(TemplateKey::fromFolderName(QString::fromLatin1(bad))) << bad;
}

TEST(TemplateWriter, WrittenTemplatesHoldEveryFieldBookmarkAndTable) {
    TempDir dir;
    // A few keys fully, through the files as written; the sample installation test covers all keys.
    for (const char* name : {"DOT_11111", "DOT_10110", "DOT_01001", "DOT_00000"}) {
        const TemplateKey k = key(name);
        ASSERT_TRUE(writeApplicationTemplates(dir.path(), k));
        for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy}) {
            const QString path = QDir(dir.file(k.folderName())).filePath(templateFileName(g));
            // Opened as the printing routine does: a new document based on the template.
            WordProcessor word;
            auto doc = word.addDocument(path);
            ASSERT_TRUE(doc.ok()) << path.toStdString();
            test::expectCompleteTemplate(*doc.value(), k, g);
        }
    }
    // Templates are written as templates, not as documents.
    auto opened = Document::open(
        QDir(dir.file(QStringLiteral("DOT_11111"))).filePath(QStringLiteral("PlantillaW97.dot")));
    ASSERT_TRUE(opened.ok());
    EXPECT_TRUE(opened.value().isTemplate());
}

TEST(TemplateWriter, FirstPageIsAnOfficialFormOnA4) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    TempDir dir;
    Document doc = buildApplicationTemplate(key("DOT_11111"), TemplateGeneration::Current);
    const QString pdf = pdfOf(doc, dir, QStringLiteral("plantilla.pdf"));
    ASSERT_EQ(test::pdfPageCount(pdf), 3);
    const auto info = test::runTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(QStringLiteral("(A4)"))) << info.out.toStdString();

    const QString first = test::pdfPageText(pdf, 1);
    for (const char* title : {"SOLICITUD DE PARTICIPACIÓN EN EL CONCURSO DE TRASLADOS",
                              "1. DATOS DEL CONCURSO", "2. DATOS PERSONALES", "3. DATOS PROFESIONALES",
                              "Lugar, fecha y firma", "Fdo.:", "Fecha y hora de impresión:", "Página 1 de 3"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(title))) << title;
    const QString second = test::pdfPageText(pdf, 2);
    EXPECT_TRUE(second.contains(QStringLiteral("4. CURSOS DE FORMACIÓN DE FUNCIONARIOS")));
    EXPECT_TRUE(second.contains(QStringLiteral("5. DOCUMENTACIÓN QUE APORTA")));
    const QString third = test::pdfPageText(pdf, 3);
    EXPECT_TRUE(third.contains(QStringLiteral("6. PUESTOS DE TRABAJO SOLICITADOS. PLAZAS VACANTES")));
    EXPECT_TRUE(third.contains(QStringLiteral("7. PUESTOS DE TRABAJO SOLICITADOS. PLAZAS RESULTAS")));
}

TEST(TemplateWriter, FilledFormWithItsBarcodeStillFitsTheFirstPage) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    TempDir dir;
    Document doc = buildApplicationTemplate(key("DOT_11111"), TemplateGeneration::Current);
    ASSERT_TRUE(doc.setBookmarkText(QStringLiteral("DNICAB"), QStringLiteral("12345678Z")));
    ASSERT_TRUE(doc.setBookmarkText(QStringLiteral("FECHAIMPR"), QStringLiteral("06/12/2026 10:11:12")));
    ASSERT_TRUE(doc.setBookmarkText(QStringLiteral("BORRADOR"), QStringLiteral("BORRADOR")));
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("PRIMERAPELLIDO"), QStringLiteral("Fernández-Villaverde")));
    ASSERT_TRUE(doc.setFieldResult(QStringLiteral("NOMBRE"), QStringLiteral("María José")));
    ASSERT_TRUE(
        doc.setFieldResult(QStringLiteral("DOMICILIO"),
                           QStringLiteral("Avenida de la Constitución de 1978, número 125, 3º izquierda")));
    ASSERT_TRUE(
        doc.setFieldResult(QStringLiteral("CUERPOOESCALA"),
                           QStringLiteral("Técnico/a Especialista en Laboratorio de Diagnóstico Clínico")));
    ASSERT_TRUE(
        doc.setFieldResult(QStringLiteral("CUERPOOESCALA1"), QStringLiteral("Técnico/a Especialista")));
    ASSERT_TRUE(doc.setCheckBox(QStringLiteral("VOLUNTARIO"), true));
    // The first-page barcode as the printing routine places it: a line break, the picture
    // 6000 by 2600 twips, a line break.
    QImage picture(340, 150, QImage::Format_RGB32);
    picture.fill(Qt::black);
    Table barcode = doc.table(TemplateTables::kFirstPageBarcode).value();
    Cursor cell = barcode.cellCursor(1, 1).value();
    cell.insertLineBreak();
    ASSERT_TRUE(cell.insertImage(picture, QSize(6000, 2600)));
    cell.insertLineBreak();
    Table vacancies = doc.table(listTableNumber(ListKind::Vacancies, doc.tableCount())).value();
    ASSERT_TRUE(appendListRow(vacancies, {QStringLiteral("1"), QStringLiteral("10234"),
                                          QStringLiteral("ENFERMERO/A"), QStringLiteral("Hospital General"),
                                          QStringLiteral("Centro"), QStringLiteral("Área I"), QString()}));

    const QString pdf = pdfOf(doc, dir, QStringLiteral("rellena.pdf"));
    ASSERT_EQ(test::pdfPageCount(pdf), 3);
    const QString first = test::pdfPageText(pdf, 1);
    for (const char* shown : {"12345678Z", "06/12/2026 10:11:12", "BORRADOR", "Fernández-Villaverde",
                              "María José", "número 125", "Laboratorio de Diagnóstico Clínico", "Fdo.:"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(shown))) << shown;
    EXPECT_TRUE(test::pdfPageText(pdf, 2).contains(QStringLiteral("Técnico/a Especialista")));
    EXPECT_TRUE(test::pdfPageText(pdf, 3).contains(QStringLiteral("Hospital General")));
}

TEST(TemplateWriter, HiddenTabsLeaveTheirSectionsOutAndMarkersNeverPrint) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    TempDir dir;
    Document doc = buildApplicationTemplate(key("DOT_10110"), TemplateGeneration::Legacy);
    const QString pdf = pdfOf(doc, dir, QStringLiteral("oculta.pdf"));
    const int pages = test::pdfPageCount(pdf);
    ASSERT_EQ(pages, 2); // no page is left for the hidden courses and documents
    const QString text = allText(pdf, pages);
    EXPECT_FALSE(text.contains(QStringLiteral("CURSOS DE FORMACIÓN")));
    EXPECT_FALSE(text.contains(QStringLiteral("DOCUMENTACIÓN QUE APORTA")));
    // Sections are numbered without gaps.
    EXPECT_TRUE(text.contains(QStringLiteral("4. PUESTOS DE TRABAJO SOLICITADOS. PLAZAS VACANTES")));
    EXPECT_TRUE(text.contains(QStringLiteral("5. PUESTOS DE TRABAJO SOLICITADOS. PLAZAS RESULTAS")));
    // The long header wraps before its bracket, which stays whole.
    EXPECT_TRUE(text.contains(QStringLiteral("Localidad o")));
    EXPECT_TRUE(text.contains(QStringLiteral("(Provincia)")));
    EXPECT_FALSE(text.contains(
        QRegularExpression(QStringLiteral("^\\s*\\)\\s*$"), QRegularExpression::MultilineOption)));
    EXPECT_FALSE(text.contains(QStringLiteral("-&")));
    // The markers are in the document all the same.
    for (ListKind k : {ListKind::Courses, ListKind::Documents, ListKind::Vacancies, ListKind::Resultas})
        EXPECT_TRUE(doc.findText(listMarker(k)).ok());
}

TEST(TemplateLayout, ContinuationTablesRepeatTheHeaderAndDataRowsAreNotHeaderLike) {
    for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy}) {
        Document doc;
        Cursor at = doc.endCursor();
        auto table = insertListTable(at, ListKind::Resultas, g);
        ASSERT_TRUE(table.ok());
        Table& t = table.value();
        EXPECT_EQ(t.rowCount(), 2);
        EXPECT_EQ(t.cellCount(1), 3); // "PUESTO DE TRABAJO" spans the last three columns
        EXPECT_EQ(t.cellText(1, 3).value(), QStringLiteral("PUESTO DE TRABAJO"));
        EXPECT_EQ(t.cellText(2, 5).value(), QStringLiteral("Localidad y Provincia"));
        auto row =
            appendListRow(t, {QStringLiteral("1"), QStringLiteral("99001"), QStringLiteral("CELADOR/A"),
                              QStringLiteral("Gerencia Norte"), QStringLiteral("Villalba (Lugo)")});
        ASSERT_TRUE(row.ok());
        EXPECT_EQ(row.value(), 3);
        EXPECT_EQ(t.cellText(3, 5).value(), QStringLiteral("Villalba (Lugo)"));

        // In the file: the header rows repeat on every page; the data row is neither bold
        // nor shaded like the header it was copied from.
        auto pkg = DocxPackage::fromBytes(doc.toBytes().value()).value();
        const QByteArray xml = pkg.part(QStringLiteral("word/document.xml"));
        pugi::xml_document x;
        ASSERT_TRUE(x.load_buffer(xml.constData(), static_cast<size_t>(xml.size())));
        EXPECT_EQ(x.select_nodes("//w:tr[w:trPr/w:tblHeader]").size(), 2u);
        const pugi::xml_node run = x.select_node("//w:r[w:t='Gerencia Norte']").node();
        ASSERT_TRUE(run);
        const pugi::xml_node bold = run.child("w:rPr").child("w:b");
        EXPECT_TRUE(!bold || QByteArray(bold.attribute("w:val").value()) == "0");
        const pugi::xml_node shade = run.parent().parent().child("w:tcPr").child("w:shd");
        EXPECT_TRUE(!shade || QByteArray(shade.attribute("w:fill").value()) == "FFFFFF");
    }
}

TEST(TemplateWriter, ToolWritesOneKeyOrAll) {
    TempDir dir;
    auto one = test::runTool(QStringList{QStringLiteral("templates"), dir.path(), QStringLiteral("--key"),
                                         QStringLiteral("DOT_10110")});
    EXPECT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("DOT_10110/PlantillaWXP.dot"))));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("DOT_10110/PlantillaW97.dot"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    auto bad = test::runTool(QStringList{QStringLiteral("templates"), dir.path(), QStringLiteral("--key"),
                                         QStringLiteral("DOT_1011")});
    EXPECT_EQ(bad.exitCode, 2);
}
