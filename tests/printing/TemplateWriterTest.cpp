#include "printing/TemplateWriter.h"

#include "platform/docengine/Cursor.h"
#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/DocxPackage.h"
#include "printing/TemplateLayout.h"

#include "support/PdfTools.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <QDir>
#include <QFile>

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

} // namespace

TEST(TemplateKeys, FolderNamesCoverEveryCombinationOnce) {
    const std::vector<TemplateKey> keys = TemplateKey::all();
    ASSERT_EQ(keys.size(), 32u);
    QStringList names;
    for (const TemplateKey& k : keys) {
        names << k.folderName();
        EXPECT_EQ(TemplateKey::fromFolderName(k.folderName())->folderName(), k.folderName());
    }
    EXPECT_EQ(names.first(), u"DOT_00000"_s);
    EXPECT_EQ(names.last(), u"DOT_11111"_s);
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

TEST(TemplateWriter, HiddenTabsLeaveTheirSectionsOutOfTheA4Template) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    TempDir dir;
    Document all = buildApplicationTemplate(key("DOT_11111"), TemplateGeneration::Current);
    const QString allPdf = pdfOf(all, dir, u"plantilla.pdf"_s);
    ASSERT_EQ(test::pdfPageCount(allPdf), 3);
    const auto info = test::runTool(u"pdfinfo"_s, {allPdf});
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(u"(A4)"_s)) << info.out.toStdString();
    EXPECT_TRUE(
        test::pdfPageText(allPdf, 3).contains(u"7. PUESTOS DE TRABAJO SOLICITADOS. PLAZAS RESULTAS"_s));

    Document doc = buildApplicationTemplate(key("DOT_10110"), TemplateGeneration::Legacy);
    const QString pdf = pdfOf(doc, dir, u"oculta.pdf"_s);
    ASSERT_EQ(test::pdfPageCount(pdf), 2); // no page is left for the hidden courses and documents
    const QString text = test::pdfPageText(pdf, 1) + test::pdfPageText(pdf, 2);
    for (const char* hidden : {"CURSOS DE FORMACIÓN", "DOCUMENTACIÓN QUE APORTA", "-&"})
        EXPECT_FALSE(text.contains(QString::fromUtf8(hidden))) << hidden;
    // Sections are numbered without gaps; the long header wraps before its bracket, which stays whole.
    for (const char* shown :
         {"4. PUESTOS DE TRABAJO SOLICITADOS. PLAZAS VACANTES",
          "5. PUESTOS DE TRABAJO SOLICITADOS. PLAZAS RESULTAS", "Localidad o", "(Provincia)"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown;
    EXPECT_FALSE(text.contains(QRegularExpression(u"^\\s*\\)\\s*$"_s, QRegularExpression::MultilineOption)));
    // The markers are in the document all the same.
    for (ListKind k : {ListKind::Courses, ListKind::Documents, ListKind::Vacancies, ListKind::Resultas})
        EXPECT_TRUE(doc.findText(listMarker(k)).ok());
}

TEST(TemplateLayout, ContinuationTablesRepeatOnlyTheHeader) {
    for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy}) {
        Document doc;
        Cursor at = doc.endCursor();
        auto table = insertListTable(at, ListKind::Resultas, g);
        ASSERT_TRUE(table.ok());
        Table& t = table.value();
        EXPECT_EQ(t.rowCount(), 2);
        EXPECT_EQ(t.cellCount(1), 3); // "PUESTO DE TRABAJO" spans the last three columns
        EXPECT_EQ(t.cellText(1, 3).value(), u"PUESTO DE TRABAJO"_s);
        EXPECT_EQ(t.cellText(2, 5).value(), u"Localidad y Provincia"_s);
        auto row =
            appendListRow(t, {u"1"_s, u"99001"_s, u"CELADOR/A"_s, u"Gerencia Norte"_s, u"Villalba (Lugo)"_s});
        ASSERT_TRUE(row.ok());
        EXPECT_EQ(row.value(), 3);
        EXPECT_EQ(t.cellText(3, 5).value(), u"Villalba (Lugo)"_s);

        // In the file: the header rows repeat on every page; the data row is neither bold
        // nor shaded like the header it was copied from.
        auto pkg = DocxPackage::fromBytes(doc.toBytes().value()).value();
        const QByteArray xml = pkg.part(u"word/document.xml"_s);
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
    auto one = test::runTool(QStringList{u"templates"_s, dir.path(), u"--key"_s, u"DOT_10110"_s});
    EXPECT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file(u"DOT_10110/PlantillaWXP.dot"_s)));
    EXPECT_TRUE(Document::open(dir.file(u"DOT_10110/PlantillaW97.dot"_s)).value().isTemplate());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    auto bad = test::runTool(QStringList{u"templates"_s, dir.path(), u"--key"_s, u"DOT_1011"_s});
    EXPECT_EQ(bad.exitCode, 2);
}
