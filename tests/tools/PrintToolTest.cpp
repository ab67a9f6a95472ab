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
#include "printing/PrintingWordProcessor.h"
#include "printing/SampleApplication.h"
#include "printing/TemplateWriter.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <functional>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A sample installation with one application saved through the program's own routine.
struct SavedSample {
    test::TempDir dir;
    AppFolders folders = AppFolders::at(dir.path());
    LoadedTables tables;
    ApplicationModel model;
    ApplicationLists lists{tables.vacancyList, tables.resultasList, tables.coursesList, tables.documentsList};
    QString fileName;

    // `adjust` changes the applicant's data before saving.
    void save(int vacancies, int resultas, int courses, int documents,
              const std::function<void(ApplicationModel&)>& adjust = {}) {
        ASSERT_TRUE(writeSampleContest(dir.path(), SampleScale::Small, 7).ok());
        ASSERT_TRUE(writeApplicationTemplates(folders.data, TemplateKey{}).ok());
        ASSERT_TRUE(test::loadContest(dir.path(), tables));
        ASSERT_TRUE(
            test::makeSampleApplication(tables, model, lists, vacancies, resultas, courses, documents));
        if (adjust)
            adjust(model);
        test::SilentMessages messages;
        fileName = applicationFileNameOf(model, messages);
        FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 0, 0)));
        PrintingWordProcessor wordProcessor;
        PrintingEditor editor{.model = model,
                              .lists = lists,
                              .templateFolderKey = TemplateKey{}.folderName(),
                              .positionsPerPage = u"40"_s,
                              .folders = folders,
                              .wordProcessor = wordProcessor,
                              .messages = messages,
                              .clock = clock};
        Progress progress;
        Pdf417Writer barcode;
        ASSERT_TRUE(
            ImprimeSolicitudWXP(fileName, folders.applications, editor, progress, barcode, false, false)
                .ok());
    }
};

} // namespace

TEST(PrintToolTest, PrintsASavedApplicationOnEveryPageUnlessItsListsCannotBe) {
    SavedSample sample;
    ASSERT_NO_FATAL_FAILURE(sample.save(45, 3, 2, 1));
    const QString sidecar = QDir(sample.folders.applications).filePath(sidecarFileName(sample.fileName));
    const QStringList saved = QDir(sample.folders.applications).entryList(QDir::Files);
    const QString pdf = sample.dir.file(u"solicitud.pdf"_s);
    const QStringList print{u"print"_s, sample.dir.path(), sample.fileName, u"--pdf"_s, pdf};

    const test::ToolOutput printed = test::runTool(print);
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    for (const QString& page : {u"P 001"_s, u"V 003"_s, u"V 004"_s, u"R 005"_s})
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
