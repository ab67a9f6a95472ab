// Prints that must stop before anything reaches paper, and lists left out of the print.
#include "editor/ControlName.h"
#include "printing/ApplicationDocument.h"

#include "platform/docengine/DocumentData.h"
#include "printing/PrintingFixture.h"
#include "support/PdfTools.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

using test::PrintingFixture;

// The header of every barcode: key, date and time; then the kind letter and the page.
constexpr int kHeaderLength = 34;

// A stopped print: the message, nothing printed, no picture left, the document closed.
void expectStoppedPrint(PrintingFixture& f, const Result<ApplicationPrintout>& printed,
                        const QString& message) {
    ASSERT_FALSE(printed.ok());
    const QString said = f.told(printed, u"Impresión"_s, MessageIcon::Critical);
    EXPECT_TRUE(said.startsWith(message)) << said.toStdString();
    EXPECT_FALSE(QFile::exists(f.pdfPath())) << "something was printed";
    EXPECT_TRUE(QDir(f.folders.applications).entryList({u"*.bmp"_s}, QDir::Files).isEmpty());
    EXPECT_FALSE(f.wordProcessor.isHeld());
    // The application itself was saved before printing.
    EXPECT_EQ(f.applicationFiles(), (QStringList{u"12345678Z_10010A2.doc"_s, u"12345678Z_10010A2.xml"_s}));
}

} // namespace

TEST(PrintedFormTest, DataTooLongForABarcodeStopThePrintNamingTheLongestFields) {
    {
        PrintingFixture f;
        PrintingFixture::addPositions(f.vacancies, 3);
        f.model.setText(ctl::txtAdaptaciones, QString(1700, u'a'));
        f.model.setText(ctl::txtDomicilio, QString(300, u'd'));
        f.model.setText(ctl::txtTipoDisc, QString(200, u't'));
        f.printRecord = GeneraCadenaImpresion(f.model, f.situations);
        expectStoppedPrint(
            f, f.runWXP(true),
            QStringLiteral(
                "Los datos de la solicitud son demasiado largos para el código de barras de la primera "
                "página, así que la solicitud no se ha impreso.\nLos campos más largos son: "
                "Adaptaciones precisas (1700 caracteres), Domicilio (300 caracteres) y Tipo de "
                "discapacidad (200 caracteres).\nAcorte esos datos y vuelva a imprimir la solicitud."));

        // A draft carries no barcode, so it still prints.
        auto draft = f.runWXP(true, true);
        ASSERT_TRUE(draft.ok()) << draft.error().description.toStdString();
        EXPECT_TRUE(QFile::exists(f.pdfPath()));
        EXPECT_TRUE(draft.value().barcodes.isEmpty());
        EXPECT_EQ(f.wordProcessor.held()->activeDocument()->bookmarkText(u"BORRADOR"_s).value(),
                  u"BORRADOR"_s);
        f.wordProcessor.closeAndForget();
    }
    {
        PrintingFixture f;
        PrintingFixture::addPositions(f.vacancies, 45);
        f.vacancies.moveFirst();
        f.vacancies.moveNext();
        ASSERT_TRUE(f.vacancies.setValue(u"CodConvocatoria", QString(100000, u'9')).ok());
        ASSERT_TRUE(f.vacancies.update().ok());
        ASSERT_EQ(f.vacancies.text(u"CodConvocatoria").size(), 100000);
        // Such a code is no position of any contest: the final print is refused before the
        // barcodes are made, naming the row.
        EXPECT_TRUE(f.told(f.runWXP(true), u"Impresión"_s, MessageIcon::Exclamation)
                        .contains(u"tiene un código de más de 5 caracteres"_s));
        EXPECT_FALSE(QFile::exists(f.pdfPath()));
    }
}

TEST(PrintedFormTest, ARowTooTallForASheetStopsThePrintNamingIt) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 3);
    f.vacancies.moveLast();
    ASSERT_TRUE(f.vacancies.setValue(u"Demarcacion", u"Zona norte, de tarde. "_s.repeated(150)).ok());
    ASSERT_TRUE(f.vacancies.update().ok());
    expectStoppedPrint(f, f.runWXP(true),
                       u"No se ha podido preparar la impresión de la solicitud: La fila 3 de la lista de "
                       "vacantes tiene textos tan largos que no caben en una hoja; acórtelos."_s);
}

// A template that lost its trailing tables (an old or hand-edited one): the saved vacancies
// have no table to print in, so nothing is printed rather than a form without them.
TEST(PrintedFormTest, AListWithoutItsTemplateTableStopsThePrint) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 3);
    const QString path =
        templatePath(f.folders.data, TemplateKey{}.folderName(), TemplateGeneration::Current);
    {
        Result<docengine::Document> doc = docengine::Document::open(path);
        ASSERT_TRUE(doc.ok());
        pugi::xml_node body = doc.value().data()->body();
        for (int dropped = 0; dropped < 3; ++dropped)
            ASSERT_TRUE(body.remove_child(body.last_child().previous_sibling("w:tbl")));
        ASSERT_TRUE(doc.value().saveAs(path).ok());
    }
    expectStoppedPrint(
        f, f.runWXP(true),
        QStringLiteral("No se ha podido preparar la impresión de la solicitud: La plantilla no "
                       "tiene la tabla de la lista de vacantes.\nLa solicitud no se ha impreso."));
}

TEST(PrintedFormTest, APrintoutThatCannotBeWrittenIsReportedAfterSaving) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 3);
    PrintingEditor editor = f.editor();
    editor.pdfPath = f.dir.file(u"no-existe/solicitud.pdf"_s);
    expectStoppedPrint(
        f,
        ImprimeSolicitudWXP(f.fileName(), f.folders.applications, editor, f.progress, f.barcode, true, false),
        u"No se ha podido imprimir la solicitud: "_s);
}

TEST(PrintedFormTest, AHiddenTabPrintsNothingOfItsSavedList) {
    PrintingFixture f;
    TemplateKey key;
    key.visibleTabs[EditorTab::Vacancies] = false;
    ASSERT_TRUE(writeApplicationTemplates(f.folders.data, key).ok());
    PrintingFixture::addPositions(f.vacancies, 45);
    PrintingFixture::addPositions(f.resultas, 3, 20000);
    PrintingEditor editor = f.editor();
    editor.templateFolderKey = key.folderName();
    auto printed =
        ImprimeSolicitudWXP(f.fileName(), f.folders.applications, editor, f.progress, f.barcode, true, false);
    ASSERT_TRUE(printed.ok()) << printed.error().description.toStdString();
    const QStringList barcodes = printed.value().barcodes;
    ASSERT_EQ(barcodes.size(), 2);
    EXPECT_EQ(barcodes[1].mid(kHeaderLength, 1), u"R"_s);
    if (!test::havePoppler())
        return;
    for (int page = 1; page <= printed.value().outcome.pageCount; ++page) {
        EXPECT_FALSE(test::pdfPageText(f.pdfPath(), page).contains(u"10001"_s))
            << "a vacancy printed on page " << page;
    }
}

TEST(PrintedFormTest, ListsThatCannotBeWrittenStopTheSave) {
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 2);
    // A folder where the companion file goes cannot be replaced by it.
    const QString sidecar = QDir(f.folders.applications).filePath(u"12345678Z_10010A2.xml"_s);
    ASSERT_TRUE(QDir().mkpath(sidecar));
    auto saved = f.runWXP(false);
    ASSERT_FALSE(saved.ok());
    const QString& said = saved.error().description;
    EXPECT_TRUE(said.startsWith(u"No se ha podido guardar la solicitud "_s)) << said.toStdString();
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(sidecar)) && said.contains(u"carpeta"_s))
        << said.toStdString();
    ASSERT_TRUE(saved.error().telling);
    EXPECT_EQ(saved.error().telling->icon, MessageIcon::Critical);
    EXPECT_FALSE(QFile::exists(QDir(f.folders.program).filePath(u"traza.txt"_s)));
    EXPECT_FALSE(QFile::exists(f.documentPath()));
    EXPECT_FALSE(f.wordProcessor.isHeld());
}
