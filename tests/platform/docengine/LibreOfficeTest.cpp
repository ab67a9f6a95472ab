// Documents the engine writes must open in other word processors, and what those write back
// must still be readable. Runs only where LibreOffice is installed (slow: it starts LibreOffice).
#include "platform/docengine/Document.h"

#include "platform/docengine/SampleDocuments.h"
#include "support/PdfTools.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;
using velmora::test::TempDir;

namespace {

QString soffice() {
    QString exe = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (exe.isEmpty())
        exe = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    return exe;
}

// Converts `input` with LibreOffice into `outDir` ("pdf", "docx:MS Word 2007 XML", ...).
bool convert(const QString& input, const QString& filter, const QString& outDir, const QString& profile) {
    const test::ToolRun r =
        test::runTool(soffice(),
                      {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                       QStringLiteral("--headless"), QStringLiteral("--norestore"),
                       QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), outDir, input},
                      180000);
    return r.exitCode == 0;
}

Document filledDocument() {
    Document doc = test::sampleTemplate();
    EXPECT_TRUE(doc.setFieldResult(QStringLiteral("NOMBRE"), QStringLiteral("María José")).ok());
    EXPECT_TRUE(doc.setFieldResult(QStringLiteral("PRIMERAPELLIDO"), QStringLiteral("Peña & Ibáñez")).ok());
    EXPECT_TRUE(doc.setFieldResult(QStringLiteral("PROVINCIA"), QStringLiteral("Cáceres")).ok());
    EXPECT_TRUE(doc.setFieldResult(QStringLiteral("PROVINCIA1"), QStringLiteral("Badajoz")).ok());
    EXPECT_TRUE(doc.setCheckBox(QStringLiteral("DISCAPACIDADSI"), true).ok());
    EXPECT_TRUE(doc.setCheckBox(QStringLiteral("DISCAPACIDADNO"), false).ok());
    EXPECT_TRUE(doc.setCheckBox(QStringLiteral("SEACOMPAÑAPETICIONSI"), true).ok());
    EXPECT_TRUE(doc.setBookmarkText(QStringLiteral("DNICAB"), QStringLiteral("12345678Z")).ok());
    Table courses = doc.table(3).value();
    EXPECT_TRUE(courses
                    .appendRow({QStringLiteral("Soporte vital"), QStringLiteral("20"), QStringLiteral("2024"),
                                QStringLiteral("Hospital de Mérida")})
                    .ok());
    EXPECT_TRUE(courses.mergeCells(2, 3, 4).ok());
    Cursor cell = doc.table(2).value().cellCursor(1, 1).value();
    EXPECT_TRUE(cell.insertImage(test::checkerboard(16), QSize(1440, 1440)).ok());
    Cursor end = doc.endCursor();
    end.insertPageBreak().insertText(QStringLiteral("Hoja de listas"));
    return doc;
}

} // namespace

TEST(DocEngineLibreOffice, WrittenDocumentsOpenAndReSavedOnesStillReadBack) {
    if (soffice().isEmpty())
        GTEST_SKIP() << "LibreOffice no está instalado";
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    TempDir dir;
    const QString profile = dir.file(QStringLiteral("perfil"));
    QDir().mkpath(dir.file(QStringLiteral("pdf")));
    QDir().mkpath(dir.file(QStringLiteral("docx")));
    Document doc = filledDocument();
    // The program's files end in ".doc" although their content is a WordprocessingML package.
    const QString path = dir.file(QStringLiteral("12345678Z___0010A.doc"));
    ASSERT_TRUE(doc.saveAs(path).ok());

    ASSERT_TRUE(convert(path, QStringLiteral("pdf"), dir.file(QStringLiteral("pdf")), profile));
    const QString pdf = dir.file(QStringLiteral("pdf/12345678Z___0010A.pdf"));
    EXPECT_EQ(test::pdfPageCount(pdf), 2);
    const QString page1 = test::pdfPageText(pdf, 1).simplified();
    for (const QString& shown :
         {QStringLiteral("12345678Z"), QStringLiteral("María José"), QStringLiteral("Peña & Ibáñez"),
          QStringLiteral("Cáceres"), QStringLiteral("Badajoz"), QStringLiteral("Hospital de Mérida"),
          QStringLiteral("SOLICITUD DE TRASLADO")})
        EXPECT_TRUE(page1.contains(shown))
            << shown.toStdString() << " no aparece en: " << page1.toStdString();
    EXPECT_TRUE(test::pdfPageText(pdf, 2).contains(QStringLiteral("Hoja de listas")));

    // Re-saved by LibreOffice, every field value is still found, by name or by bookmark.
    ASSERT_TRUE(
        convert(path, QStringLiteral("docx:MS Word 2007 XML"), dir.file(QStringLiteral("docx")), profile));
    auto back = Document::open(dir.file(QStringLiteral("docx/12345678Z___0010A.docx")));
    ASSERT_TRUE(back.ok()) << back.error().description.toStdString();
    Document& re = back.value();
    EXPECT_EQ(re.fieldResult(QStringLiteral("NOMBRE")).value(), QStringLiteral("María José"));
    EXPECT_EQ(re.fieldResult(QStringLiteral("PRIMERAPELLIDO")).value(), QStringLiteral("Peña & Ibáñez"));
    EXPECT_EQ(re.fieldResult(QStringLiteral("PROVINCIA")).value(), QStringLiteral("Cáceres"));
    EXPECT_EQ(re.fieldResult(QStringLiteral("PROVINCIA1")).value(), QStringLiteral("Badajoz"));
    EXPECT_TRUE(re.checkBox(QStringLiteral("DISCAPACIDADSI")).value());
    EXPECT_FALSE(re.checkBox(QStringLiteral("DISCAPACIDADNO")).value());
    EXPECT_TRUE(re.checkBox(QStringLiteral("SEACOMPAÑAPETICIONSI")).value());
    EXPECT_EQ(re.bookmarkText(QStringLiteral("DNICAB")).value(), QStringLiteral("12345678Z"));
    EXPECT_EQ(re.tableCount(), 3);
    // And the engine can go on working on it.
    EXPECT_TRUE(re.setFieldResult(QStringLiteral("NOMBRE"), QStringLiteral("Otra")).ok());
    EXPECT_TRUE(re.setCheckBox(QStringLiteral("DISCAPACIDADNO"), true).ok());
    Document again = Document::fromBytes(re.toBytes().value()).value();
    EXPECT_EQ(again.fieldResult(QStringLiteral("NOMBRE")).value(), QStringLiteral("Otra"));
    EXPECT_TRUE(again.checkBox(QStringLiteral("DISCAPACIDADNO")).value());
}
