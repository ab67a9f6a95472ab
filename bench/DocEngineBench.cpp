// Word-processor engine benchmarks: a full application print as the printing routine builds it
// (about 2,200 list rows in continuation tables of 37 rows, one PDF417 picture per list page)
// and its rendering to PDF.
//
//   build/bench/DocEngineBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "BenchSupport.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/DocumentPrinter.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace velmora;
using namespace velmora::docengine;

namespace {

constexpr int kRows = 2200;
constexpr int kRowsPerPage = 37;

const QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

// One list-page barcode picture, written once.
QString barcodeFile() {
    static QString path;
    if (path.isEmpty()) {
        Pdf417Writer writer;
        QString text = QStringLiteral("12345678Z00010A106/12/202610:11:12V002");
        for (int i = 0; i < kRowsPerPage; ++i)
            text += QStringLiteral("%1%2").arg(i + 1, 4, 10, QChar('0')).arg(10000 + i, 5);
        writer.setText(text + QStringLiteral("F"));
        writer.setSize(6000, 1170);
        (void)writer.writeBitmap(scratch().filePath(QStringLiteral("barcode")));
        path = scratch().filePath(QStringLiteral("barcode.bmp"));
    }
    return path;
}

Document printedApplication() {
    Document doc;
    DocumentBuilder b(doc);
    b.paragraph(QStringLiteral("SOLICITUD"),
                RunFormat{.font = QStringLiteral("Arial"), .size = 14, .bold = true});
    const QList<Twips> widths{800, 900, 3200, 1700, 1700, 800};
    const RunFormat font{.font = QStringLiteral("Times New Roman"), .size = 8};
    Table table = b.table(widths, 1, font);
    for (int i = 1; i <= kRows; ++i) {
        const int r = table.addRow().value();
        (void)table.setCellText(r, 1, QString::number(i));
        (void)table.setCellText(r, 2, QString::number(10000 + i));
        (void)table.setCellText(r, 3, QStringLiteral("CENTRO DE SALUD NÚMERO %1").arg(i));
        (void)table.setCellText(r, 4, QStringLiteral("SANIDAD"));
        (void)table.setCellText(r, 5, QStringLiteral("Localidad %1").arg(i % 90));
        (void)table.setCellText(r, 6, QStringLiteral("Área %1").arg(i % 9));
        if (i % kRowsPerPage == 0 || i == kRows) {
            Cursor c = doc.cursorAfter(table);
            c.insertLineBreak();
            (void)c.insertPicture(barcodeFile(), QSize(6000, 1170));
            c.insertLineBreak();
            if (i == kRows)
                break;
            c.insertPageBreak();
            Table next = c.insertTable(1, static_cast<int>(widths.size()), widths).value();
            next.setFont(font);
            table = next;
        }
    }
    return doc;
}

void BM_FillAndSave(benchmark::State& state) {
    for (auto _ : state) {
        Document doc = printedApplication();
        if (!doc.saveAs(scratch().filePath(QStringLiteral("solicitud.doc"))).ok())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_FillAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LayoutAndPdf(benchmark::State& state) {
    Document doc = printedApplication();
    int pages = 0;
    for (auto _ : state) {
        const DocumentLayout layout(doc);
        pages =
            DocumentPrinter::writePdf(layout, scratch().filePath(QStringLiteral("solicitud.pdf")), QString())
                .valueOr(0);
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LayoutAndPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return velmora::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
