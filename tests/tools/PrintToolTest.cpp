// velmora-tools print: a saved application of an installation, read back from its files and
// printed to a PDF.
#include "app/LoadedTables.h"
#include "applications/ApplicationFiles.h"
#include "catalog/SampleContest.h"
#include "editor/ApplicationChecks.h"
#include "editor/ControlName.h"
#include "platform/Clock.h"
#include "platform/barcode/Pdf417Writer.h"
#include "printing/ApplicationDocument.h"
#include "printing/BarcodeReader.h"
#include "printing/PrintingWordProcessor.h"
#include "printing/SampleApplication.h"
#include "printing/TemplateWriter.h"
#include "support/SavedSample.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <functional>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmora;
using test::SavedSample;

TEST(PrintToolTest, PrintsASavedApplicationOnEveryPageUnlessItsListsCannotBe) {
    SavedSample sample;
    ASSERT_NO_FATAL_FAILURE(sample.save(45, 3, 2, 1));
    const QString sidecar = QDir(sample.folders.applications).filePath(sidecarFileName(sample.fileName));
    const QStringList saved = QDir(sample.folders.applications).entryList(QDir::Files);
    const QString pdf = sample.dir.file(u"solicitud.pdf"_s);
    const QStringList print{u"print"_s, sample.dir.path(), sample.fileName, u"--pdf"_s, pdf};

    const test::ToolOutput printed = test::runTool(print);
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    for (const QString& page : {u"P 001"_s, u"V 003"_s, u"V 004"_s, u"V 005"_s, u"R 006"_s})
        EXPECT_TRUE(printed.out.contains(u"código de barras "_s + page)) << printed.out.toStdString();
    EXPECT_EQ(QDir(sample.folders.applications).entryList(QDir::Files), saved) << "the installation changed";
    // What the barcodes carry, page by page, is ApplicationDocumentTest's.

    QFile::remove(pdf);
    const QByteArray good = test::readFile(sidecar);
    const auto expectRefused = [&](const QString& said) {
        const test::ToolOutput refused = test::runTool(print);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.err.contains(said)) << refused.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    };
    test::writeFile(sidecar, "<Plazas><Vacantes><Plaza>");
    expectRefused(u"La lista de plazas, cursos y documentos de la solicitud no se ha podido leer (%1: "_s.arg(
        QDir::toNativeSeparators(sidecar)));
    // A final print needs the orders 1 to N; a draft does not.
    test::writeFile(sidecar, QByteArray(good).replace("<Orden>2</Orden>", "<Orden>1</Orden>"));
    expectRefused(u"La solicitud no se puede imprimir como definitiva: la lista de plazas vacantes repite el "
                  u"orden 1.\nNo se ha guardado ni impreso nada."_s);
    EXPECT_EQ(test::runTool(print + QStringList{u"--draft"_s}).exitCode, 0);
}

// Codes shorter than five characters print as final, in five places of their barcode rows.
TEST(PrintToolTest, ShortCodesOfASavedApplicationReadBackFromItsBarcodes) {
    SavedSample sample;
    ASSERT_NO_FATAL_FAILURE(sample.save(45, 3, 0, 0));
    const QString sidecar = QDir(sample.folders.applications).filePath(sidecarFileName(sample.fileName));
    test::replaceInFile(sidecar, "<CodConvocatoria>100", "<CodConvocatoria>3"); // 10001 becomes 301
    test::replaceInFile(sidecar, "<CodConvocatoria>200", "<CodConvocatoria>7");
    const QString pdf = sample.dir.file(u"solicitud.pdf"_s);
    const test::ToolOutput printed =
        test::runTool({u"print"_s, sample.dir.path(), sample.fileName, u"--pdf"_s, pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    const Result<QStringList> read = readPdf417Pdf(pdf);
    ASSERT_TRUE(read.ok()) << read.error().description.toStdString();
    // After the key, the date and time (34 characters): the kind, the page, the rows, "F".
    QString rows[2];
    for (const QString& text : read.value())
        if (text[34] != u'P')
            rows[text[34] == u'R'] += text.mid(38).chopped(1);
    const auto expected = [](int count, int firstCode) {
        QString data;
        for (int order = 1; order <= count; ++order)
            data += u"%1%2"_s.arg(order, 4, 10, QLatin1Char('0')).arg(firstCode + order, 5);
        return data;
    };
    EXPECT_EQ(rows[0], expected(45, 300));
    EXPECT_EQ(rows[1], expected(3, 700));
}

// The tool prints through the editor's own flow, whose save check wants a body of the catalogue:
// it warns, refuses, and writes no printout whose barcodes the office could not file.
TEST(PrintToolTest, ABodyNoLongerOfferedStopsThePrint) {
    SavedSample unknown;
    ASSERT_NO_FATAL_FAILURE(unknown.save(3, 0, 0, 0, [](ApplicationModel& model) {
        model.setChoice(ctl::cboCuerpo, u"99999"_s, u"Cuerpo que ya no existe"_s);
    }));
    const QString pdf = unknown.dir.file(u"solicitud.pdf"_s);
    const test::ToolOutput warned =
        test::runTool({u"print"_s, unknown.dir.path(), unknown.fileName, u"--pdf"_s, pdf});
    EXPECT_EQ(warned.exitCode, 1) << warned.err.toStdString();
    EXPECT_TRUE(warned.err.contains(
        u"aviso: el cuerpo o categoría de la solicitud («Cuerpo que ya no existe») no está en el "
        u"catálogo del concurso; los códigos de barras no llevarán su código."_s))
        << warned.err.toStdString();
    EXPECT_TRUE(warned.err.contains(u"Es necesario seleccionar un cuerpo o escala"_s));
    EXPECT_FALSE(QFile::exists(pdf));
}
