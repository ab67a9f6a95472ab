// Printing benchmarks: saving and printing to PDF an application with long lists, and the
// making of one list-page barcode on its own.
//
//   build/bench/PrintBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "BenchSupport.h"
#include "applications/ApplicationXml.h"
#include "editor/ApplicationListTables.h"
#include "editor/ApplicationModel.h"
#include "platform/AppFolders.h"
#include "platform/Clock.h"
#include "platform/Progress.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/data/RecordSet.h"
#include "platform/docengine/Document.h"
#include "printing/ApplicationDocument.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeText.h"
#include "printing/PrintRecord.h"
#include "printing/PrintingWordProcessor.h"
#include "printing/SampleApplication.h"
#include "printing/TemplateWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// An installation holding the templates, and an application with 1,000 vacancies, 1,000
// resultas, 100 courses and 50 documents.
struct LongApplication {
    QTemporaryDir dir;
    AppFolders folders = AppFolders::at(dir.path());
    ApplicationModel model;
    RecordSet vacancies, resultas, courses, documents;

    LongApplication() {
        QDir().mkpath(folders.applications);
        (void)writeApplicationTemplates(folders.data, TemplateKey{});
        (void)createVacancyList(vacancies);
        (void)createResultasList(resultas);
        (void)createCoursesList(courses);
        (void)createDocumentsList(documents);
        bench::fillPrintedApplicant(model);
        (void)test::addSamplePositions(vacancies, 1000, 10000);
        (void)test::addSamplePositions(resultas, 1000, 20000);
        for (int i = 1; i <= 100; ++i) {
            (void)courses.addNew();
            (void)courses.setValue(u"Curso",
                                   QStringLiteral("Curso de actualización en cuidados, edición %1").arg(i));
            (void)courses.setValue(u"NHoras", 20);
            (void)courses.setValue(u"Ano", 2010);
            (void)courses.setValue(u"Centro", QStringLiteral("Escuela de Ciencias de la Salud"));
            (void)courses.setValue(u"IdCurso", i);
        }
        for (int i = 1; i <= 50; ++i) {
            (void)documents.addNew();
            (void)documents.setValue(u"IdDocumento", i);
            (void)documents.setValue(u"Documento",
                                     QStringLiteral("Certificado de servicios prestados %1").arg(i));
            (void)documents.setValue(u"Horas", QStringLiteral("30"));
            (void)documents.setValue(u"Fecha", QStringLiteral("01/02/2020"));
            (void)documents.setValue(u"Centro", QStringLiteral("Hospital Provincial"));
        }
    }
};

void BM_SaveAndPrintToPdf(benchmark::State& state) {
    LongApplication app;
    SystemClock clock;
    PrintingWordProcessor wordProcessor;
    PrintingEditor editor{.model = app.model,
                          .lists = {app.vacancies, app.resultas, app.courses, app.documents},
                          .printRecord = GeneraCadenaImpresion(app.model, RecordSet()),
                          .templateFolderKey = TemplateKey{}.folderName(),
                          .positionsPerPage = QStringLiteral("40"),
                          .folders = app.folders,
                          .wordProcessor = wordProcessor,
                          .clock = clock,
                          .destination = docengine::PrintDestination::Pdf};
    Progress progress;
    Pdf417Writer barcode;
    int barcodes = 0;
    int pages = 0;
    for (auto _ : state) {
        auto printed = ImprimeSolicitudWXP(QStringLiteral("12345678Z_10010A2.doc"), app.folders.applications,
                                           editor, progress, barcode, true, false);
        if (!printed.ok()) {
            state.SkipWithError(printed.error().description.toUtf8().constData());
            break;
        }
        barcodes = int(printed.value().barcodes.size());
        pages = printed.value().outcome.pageCount;
        wordProcessor.closeAndForget();
    }
    state.counters["barcodes"] = barcodes;
    state.counters["pages"] = pages;
    // Wall time of one save-and-print shared out over its barcodes.
    state.counters["per_barcode"] = benchmark::Counter(
        barcodes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SaveAndPrintToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

// One list page's barcode: the picture made, put into a document and its file deleted.
void BM_ListPageBarcode(benchmark::State& state) {
    QTemporaryDir dir;
    SystemClock clock;
    Pdf417Writer control;
    QString data;
    for (int order = 1; order <= 40; ++order)
        data += QStringLiteral("%1%2").arg(order, 4, 10, QLatin1Char('0')).arg(10000 + order, 5);
    const QString text =
        barcodeText(QStringLiteral("12345678Z10010A205/03/202414:05:09"), BarcodeKind::Vacancies, 2, data);
    docengine::Document doc;
    docengine::Cursor at = doc.endCursor();
    for (auto _ : state) {
        QString folded = text;
        qint16 height = 900;
        auto stem = GeneraCodigoBarras(folded, control, 6000, height, dir.path(), clock);
        if (!stem.ok()) {
            state.SkipWithError("barcode failed");
            break;
        }
        (void)at.insertPicture(stem.value() + QStringLiteral(".bmp"), QSize(6000, height));
        QFile::remove(stem.value() + QStringLiteral(".bmp"));
    }
}
BENCHMARK(BM_ListPageBarcode)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return velmora::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
