#include "printing/ApplicationDocument.h"
#include "editor/ControlName.h"

#include "applications/ApplicationXml.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/PagePainter.h"
#include "printing/BarcodeReader.h"
#include "printing/BarcodeText.h"
#include "printing/PrintingFixture.h"
#include "support/PdfTools.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using docengine::Document;
using test::PrintingFixture;

const QString kHeader = u"12345678Z10010A205/03/202414:05:09"_s;

// The barcode of a list page, built here from the list's codes rather than by the code under test.
QString listBarcode(QChar kind, int page, int firstOrder, int lastOrder, int firstCode) {
    QString text = kHeader + kind + u"%1"_s.arg(page, 3, 10, QLatin1Char('0'));
    for (int order = firstOrder; order <= lastOrder; ++order)
        text += u"%1%2"_s.arg(order, 4, 10, QLatin1Char('0')).arg(firstCode + order, 5);
    return text + QLatin1Char('F');
}

// The text of every page of a PDF, laid out (or `-raw`: in drawing order), in one run of pdftotext.
QStringList pdfPages(const QString& pdf, const QString& mode = u"-layout"_s) {
    const test::ToolRun run = test::runTool(u"pdftotext"_s, {mode, pdf, u"-"_s});
    QStringList pages = QString::fromUtf8(run.out).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Rows of a vacancy or resultas table on a page: lines that start with an order and a code.
QList<int> ordersOnPage(const QString& pageText, int firstCode) {
    static const QRegularExpression row(u"^\\s*(\\d{1,4})\\s+(\\d{5})\\b"_s,
                                        QRegularExpression::MultilineOption);
    QList<int> orders;
    for (auto it = row.globalMatch(pageText); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2).toInt() - m.captured(1).toInt() == firstCode)
            orders << m.captured(1).toInt();
    }
    return orders;
}

const QStringList kOneLineTexts{u"Pediatra"_s, u"Hospital"_s, u"Talavera"_s, u"Toledo"_s, u"Norte"_s};

TEST(ApplicationDocumentTest, ASaveWritesOnlyTheApplicationPair) {
    PrintingFixture f;
    test::addSampleCourses(f.courses, 3);
    PrintingFixture::addPositions(f.vacancies, 2);
    auto saved = f.runWXP(false);
    ASSERT_TRUE(saved.ok()) << saved.error().description.toStdString();

    EXPECT_EQ(f.applicationFiles(), (QStringList{u"12345678Z_10010A2.doc"_s, u"12345678Z_10010A2.xml"_s}));
    EXPECT_FALSE(f.wordProcessor.isHeld());
    EXPECT_FALSE(saved.value().printed);
    EXPECT_TRUE(saved.value().barcodes.isEmpty());
    EXPECT_EQ(f.progress.maximum(), 162 + 3 + 2);
    EXPECT_EQ(f.progress.value(), float(f.model.controls().size() + 3));

    Document doc = Document::open(f.documentPath()).value();
    QStringList contents;
    for (const char* field : {"NOMBRE", "PRIMERAPELLIDO", "PROVINCIA", "PROVINCIA1", "CUERPOOESCALA"})
        contents << doc.fieldResult(QString::fromLatin1(field)).value();
    for (const char* box : {"DISCAPACIDADNO", "DISCAPACIDADSI", "TARVO"})
        contents << (doc.checkBox(QString::fromLatin1(box)).value() ? u"X"_s : u"-"_s);
    for (const char* bookmark : {"DNICAB", "FECHAIMPR", "BORRADOR"})
        contents << doc.bookmarkText(QString::fromLatin1(bookmark)).value();
    EXPECT_EQ(contents,
              (QStringList{u"María José"_s, u"Muñoz & Peña"_s, u"Toledo"_s, u"Toledo"_s, u"Enfermero/a"_s,
                           u"X"_s, u"-"_s, u"X"_s, u"12345678Z"_s, u"05/03/2024 14:05:09"_s, QString()}));

    // The saved file holds the courses, but no barcode and none of the other lists.
    const docengine::Table courses = doc.table(3).value();
    ASSERT_EQ(courses.rowCount(), 4);
    EXPECT_EQ(courses.cellText(2, 1).value(), u"Curso de formación número 1"_s);
    EXPECT_EQ(courses.cellText(2, 2).value(), u"11"_s);
    EXPECT_EQ(courses.cellText(4, 3).value(), u"2003"_s);
    const int tables = doc.tableCount();
    EXPECT_EQ(doc.table(tables - 1).value().rowCount(), 1) << "vacancies written into a saved document";
    EXPECT_TRUE(doc.table(2).value().cellText(1, 1).value().isEmpty());

    // The companion holds the lists as the sidecar writer writes them, plus its document's digest.
    EXPECT_EQ(QString::fromLatin1(f.dir.read(u"ficheros/temp/12345678Z_10010A2.xml"_s))
                  .remove(QRegularExpression(u" documento=\"[0-9A-F]{64}\""_s)),
              buildApplicationXml({f.vacancies, f.resultas, f.courses, f.documents}));
}

TEST(ApplicationDocumentTest, CurrentPostBoxesAreUntickedWithOptNoInTheNewerGenerationOnly) {
    PrintingFixture f;
    f.model.setSelected(ctl::OptNo);
    f.model.setSelected(ctl::optSSTarvo);
    f.model.setSelected(ctl::optDefinitivo);
    ASSERT_TRUE(f.runWXP(false).ok());
    Document newer = Document::open(f.documentPath()).value();
    for (const char* box : {"TARVO", "SSOTROS", "DEFINITIVO", "TEMPORAL"})
        EXPECT_FALSE(newer.checkBox(QString::fromLatin1(box)).value()) << box;
    EXPECT_TRUE(newer.checkBox(u"ACTIVO"_s).value());

    ASSERT_TRUE(f.runW97(false).ok());
    Document older = Document::open(f.documentPath()).value();
    EXPECT_TRUE(older.checkBox(u"TARVO"_s).value());
    EXPECT_TRUE(older.checkBox(u"DEFINITIVO"_s).value());
    EXPECT_FALSE(older.checkBox(u"TEMPORAL"_s).value());
}

// The preview first: it saves nothing, tells nothing, and shows what the print then gives. A
// first page as long as the boxes let it be still keeps the whole form on the first sheet.
TEST(ApplicationDocumentTest, PreviewShowsWhatThePrintGives) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 75, 10000, kOneLineTexts);
    PrintingFixture::addPositions(f.resultas, 10, 20000, kOneLineTexts);
    f.model.setText(ctl::txtDomicilio, QStringLiteral("Avenida de la Constitución de mil ochocientos doce, "
                                                      "número 145, escalera B, piso 3º, puerta izquierda"));
    f.model.setText(ctl::txtAdaptaciones, QString(1000, u'a'));
    f.printRecord = GeneraCadenaImpresion(f.model, f.situations);
    ProgressWindow progress;
    PrintingEditor previewed = f.editor();
    auto preview = previewApplication(previewed, progress, f.barcode, u"16"_s, false);
    ASSERT_TRUE(preview.ok() && preview->pages) << preview.error().description.toStdString();
    EXPECT_TRUE(f.applicationFiles().isEmpty());
    // The pictures on the screen (zoomed in, so each module is whole pixels) carry the texts
    // the paper carries.
    QStringList shown;
    for (int page = 0; page < preview->pages->pageCount(); ++page)
        shown << readPdf417(docengine::PagePainter::renderPage(*preview->pages, page, 2 * kBarcodeScanDpi));

    PrintingEditor printing = f.editor();
    auto printed = ImprimeSolicitudWXP(f.fileName(), f.folders.applications, printing, f.progress, f.barcode,
                                       true, false);
    ASSERT_TRUE(printed.ok()) << printed.error().description.toStdString();

    const QString pdf = printed.value().outcome.pdfPath;
    EXPECT_EQ(printed.value().outcome.pageCount, 6);
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 6);
    // Every page is numbered; every page after the first names the applicant.
    for (int page = 0; page < pages.size(); ++page) {
        const QString text = pages[page].simplified();
        EXPECT_TRUE(text.contains(u"Página %1 de 6"_s.arg(page + 1))) << "page " << page + 1;
        if (page == 0) {
            EXPECT_TRUE(text.contains(u"Protección de datos"_s) && text.contains(u"Lugar, fecha y firma"_s));
        } else {
            EXPECT_FALSE(text.contains(u"Protección de datos"_s)) << "spilt over";
            EXPECT_TRUE(text.contains(u"NIF: 12345678Z"_s) && text.contains(u"María José"_s)) << page + 1;
        }
    }

    // With 40 places per page and 75 vacancies: 40, 31 and 4 rows, then the resultas.
    const QStringList expected = {
        kHeader + u"P001"_s + foldBarcodeText(f.printRecord) + QLatin1Char('F'),
        // Each carries the page it prints on: the second sheet, without courses, is blank.
        listBarcode(u'V', 3, 1, 40, 10000),
        listBarcode(u'V', 4, 41, 71, 10000),
        listBarcode(u'V', 5, 72, 75, 10000),
        listBarcode(u'R', 6, 1, 10, 20000),
    };
    EXPECT_EQ(printed.value().barcodes, expected);
    EXPECT_EQ(readPdf417Pdf(pdf, 300).value(), expected);
    EXPECT_EQ(preview->pages->pageCount(), 6);
    EXPECT_EQ(preview->barcodes, expected);
    EXPECT_EQ(shown, expected);

    // Written to a PDF, not being printed: the notice says where it is, and its "Sí" opens it.
    ASSERT_TRUE(printed->notice);
    EXPECT_EQ(
        printed->notice->text,
        QStringLiteral("La solicitud no se ha enviado a ninguna impresora: está en el documento PDF\n%1\n"
                       "Imprímala desde ese documento. ¿Desea abrirlo ahora?")
            .arg(QDir::toNativeSeparators(pdf)));
    EXPECT_EQ(std::tuple(printed->notice->title, printed->notice->icon, printed->notice->pdfToOpen),
              std::tuple(u"Impresión"_s, MessageIcon::Question, pdf));

    // The printed document stays open until the editor's timer closes it; the pictures are gone.
    ASSERT_TRUE(f.wordProcessor.isHeld());
    EXPECT_EQ(f.wordProcessor.held()->documentCount(), 1);
    EXPECT_TRUE(QDir(f.folders.applications).entryList({u"*.bmp"_s}, QDir::Files).isEmpty());
    EXPECT_TRUE(f.wordProcessor.closeAndForget());
    EXPECT_EQ(f.progress.maximum(), 162 + 85);
}

// The sample catalogues' longest texts on 1, 40 and 400 rows: each list page shows its rows whole
// (wrapped, never cut), and its barcode, numbered with its page, carries exactly those rows.
TEST(ApplicationDocumentTest, EveryListPagePrintsWholeTheRowsItsBarcodeCarries) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    const QStringList longest{u"Facultativo Especialista de Ár - Consultas Externa"_s,
                              u"Gerencia de Atención Primaria de Puebla de la Peña"_s,
                              u"Úbeda de los Montes 306 y Pedanías del Término Munici"_s,
                              u"Área de Salud de Ciudad Real 2"_s,
                              u"Zona norte, turno de mañana o de tarde; y festivos"_s};
    for (const int rows : {1, 40, 400}) {
        SCOPED_TRACE(u"%1 filas"_s.arg(rows).toStdString());
        PrintingFixture f;
        PrintingFixture::addPositions(f.vacancies, rows, 10000, longest);
        auto printed = f.runWXP(true);
        ASSERT_TRUE(printed.ok()) << printed.error().description.toStdString();
        const QStringList pages = pdfPages(printed->outcome.pdfPath);
        // In drawing order each cell's lines follow one another, so a whole text reads whole.
        const QStringList drawn = pdfPages(printed->outcome.pdfPath, u"-raw"_s);
        int next = 1; // every order once, in order
        for (const QString& barcode : printed->barcodes.mid(1)) {
            const int page = barcode.mid(kHeader.size() + 1, 3).toInt();
            ASSERT_TRUE(page >= 1 && page <= pages.size() && drawn.size() == pages.size());
            QList<int> carried;
            for (qsizetype at = kHeader.size() + 4; at + 9 < barcode.size(); at += 9)
                carried << barcode.mid(at, 4).toInt();
            EXPECT_EQ(ordersOnPage(pages[page - 1], 10000), carried) << "page " << page;
            for (const QString& text : longest)
                EXPECT_EQ(drawn[page - 1].simplified().count(text), carried.size())
                    << page << text.toStdString();
            for (int order : carried)
                EXPECT_EQ(order, next++);
        }
        EXPECT_EQ(next, rows + 1);
    }
}

// 36 courses and 36 documents: each list continues in a table of its own on a new page, and
// each of those page breaks moves the barcodes' page numbers on.
void expectListContinuations(TemplateGeneration generation) {
    PrintingFixture f;
    test::addSampleCourses(f.courses, 36);
    test::addSampleDocuments(f.documents, 36);
    PrintingFixture::addPositions(f.vacancies, 41, 10000, kOneLineTexts);
    PrintingFixture::addPositions(f.resultas, 1, 20000);
    const bool older = generation == TemplateGeneration::Legacy;
    auto printed = older ? f.runW97(true) : f.runWXP(true);
    ASSERT_TRUE(printed.ok());
    const QStringList pages = pdfPages(printed.value().outcome.pdfPath);
    ASSERT_EQ(pages.size(), 7);

    EXPECT_TRUE(pages[2].contains(u"N Horas"_s)) << "courses continue without their header";
    EXPECT_TRUE(pages[2].contains(u"Curso de formación número 36"_s));
    EXPECT_TRUE(pages[3].contains(u"NºDocumento"_s));
    EXPECT_TRUE(pages[3].contains(u"Certificado de servicios 36"_s));
    EXPECT_EQ(pages[3].contains(u"Horas"_s), !older) << "the older documents table has no hours";
    EXPECT_EQ(pages[5].contains(u"Localidad o"_s), older);
    for (const QString& page : pages)
        EXPECT_FALSE(page.contains(u"-&"_s)) << "a marker printed";

    // Page 1, courses from page 2 (one break), documents (one break), then the vacancies.
    EXPECT_EQ(printed.value().barcodes.mid(1),
              (QStringList{listBarcode(u'V', 5, 1, 40, 10000), listBarcode(u'V', 6, 41, 41, 10000),
                           listBarcode(u'R', 7, 1, 1, 20000)}));

    docengine::Document& doc = *f.wordProcessor.held()->activeDocument();
    EXPECT_EQ(doc.table(4).value().columnWidths(), doc.table(3).value().columnWidths());
}

// The older generation continues its lists at the markers of its template.
TEST(ApplicationDocumentTest, HandListsContinueInANewTableEvery35Rows) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    for (const TemplateGeneration generation : {TemplateGeneration::Current, TemplateGeneration::Legacy}) {
        SCOPED_TRACE(generation == TemplateGeneration::Legacy ? "older" : "current");
        expectListContinuations(generation);
    }
}

TEST(ApplicationDocumentTest, FailuresBeforeTheDocumentExistsWriteNothing) {
    {
        PrintingFixture f;
        PrintingEditor editor = f.editor();
        editor.templateFolderKey = u"DOT_10101"_s;
        auto r = ImprimeSolicitudWXP(f.fileName(), f.folders.applications, editor, f.progress, f.barcode,
                                     true, false);
        EXPECT_EQ(f.told(r, programTitle(), MessageIcon::Critical),
                  QStringLiteral(
                      "No se encuentra la plantilla de la solicitud:\n%1\nLa solicitud no se ha guardado.")
                      .arg(QDir::toNativeSeparators(f.folders.data + u"DOT_10101/PlantillaWXP.dot"_s)));
        EXPECT_TRUE(f.applicationFiles().isEmpty());
        EXPECT_FALSE(f.wordProcessor.isHeld());
    }
    {
        PrintingFixture f; // the contest folder renamed while the program runs
        const QString moved = f.folders.program + u"-movida"_s;
        ASSERT_TRUE(QDir().rename(f.folders.program, moved));
        EXPECT_TRUE(f.told(f.runWXP(false), programTitle(), MessageIcon::Critical)
                        .startsWith(u"No se encuentra la carpeta del concurso:\n"_s + f.folders.program));
        ASSERT_TRUE(QDir().rename(moved, f.folders.program));
    }
    {
        PrintingFixture f;
        PrintingEditor editor = f.editor();
        const QString missing = f.dir.file(u"no-existe"_s);
        auto r = ImprimeSolicitudW97(f.fileName(), missing, editor, f.progress, f.barcode, false, false);
        const QString said = f.told(r, programTitle(), MessageIcon::Critical);
        EXPECT_TRUE(said.startsWith(u"No existe la carpeta de las solicitudes"_s));
        EXPECT_TRUE(said.contains(QDir::toNativeSeparators(missing)));
        EXPECT_FALSE(QFileInfo::exists(missing));
    }
    {
        PrintingFixture f([]() -> Result<std::unique_ptr<docengine::WordProcessor>> {
            return Error::make(429, u"no hay memoria"_s);
        });
        EXPECT_EQ(f.told(f.runWXP(false), programTitle(), MessageIcon::Critical),
                  QStringLiteral("No se puede iniciar el procesador de textos: no hay memoria\nLa solicitud "
                                 "no se ha guardado."));
        EXPECT_TRUE(f.applicationFiles().isEmpty());
    }
    {
        // One order more than the four digits of its barcode field hold.
        PrintingFixture f;
        PrintingFixture::addPositions(f.vacancies, 10000);
        EXPECT_EQ(f.told(f.runWXP(true), u"Impresión"_s, MessageIcon::Exclamation),
                  QStringLiteral("La solicitud no se puede imprimir como definitiva: la lista de plazas "
                                 "vacantes llega al orden 10000, y el código de barras lleva el orden en 4 "
                                 "cifras: una lista puede tener como mucho 9999 plazas.\nNo se ha guardado "
                                 "ni impreso nada. Corrija la lista; mientras tanto puede guardar la "
                                 "solicitud con «Guardar» o imprimir un borrador."));
        EXPECT_TRUE(f.applicationFiles().isEmpty());
    }
}

class RecordingWindow : public ProgressWindow {
public:
    void unload() override { unloaded = true; }
    bool unloaded = false;
};

TEST(ApplicationDocumentTest, SavingPicksTheTemplateGenerationByTheStoredVersion) {
    PrintingFixture f;
    ASSERT_TRUE(
        QFile::remove(templatePath(f.folders.data, TemplateKey{}.folderName(), TemplateGeneration::Legacy)));
    RecordingWindow window;
    PrintingEditor editor = f.editor();
    auto saved = saveApplication(editor, window, f.barcode, u"16.0"_s, false, false);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved.value().documentPath, f.documentPath());
    EXPECT_EQ(window.action(), u"Guardando Datos ..."_s);
    EXPECT_TRUE(window.unloaded);

    for (const QString& version : {u"8"_s, QString()}) {
        RecordingWindow older;
        EXPECT_TRUE(f.told(saveApplication(editor, older, f.barcode, version, false, false), programTitle(),
                           MessageIcon::Critical)
                        .contains(u"PlantillaW97.dot"_s))
            << version.toStdString();
        EXPECT_TRUE(older.unloaded);
    }
}

} // namespace
} // namespace velmora
