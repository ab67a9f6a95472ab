// The office reader on scanned batches: a PDF of scanned pages read back on every core,
// the time of one page at the usual scanning resolutions, and the time of one page as a real
// scanner gives it (turned up to 2 degrees, speckled, JPEG-compressed) at 200 dpi.
//
//   build/bench/OfficeReaderBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

#include "BenchSupport.h"
#include "office/OfficeBatchReader.h"
#include "platform/Clock.h"
#include "platform/barcode/Pdf417Writer.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeText.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <map>
#include <tuple>

using namespace velmora;

namespace {

constexpr int kPagesPerApplication = 5;

QImage barcodePicture(const QString& text, qint16 height, const QString& folder) {
    Pdf417Writer control;
    SystemClock clock;
    QString folded = text;
    Result<QString> stem = GeneraCodigoBarras(folded, control, 6000, height, folder, clock);
    if (!stem)
        return {};
    const QString file = stem.value() + QStringLiteral(".bmp");
    QImage picture(file);
    QFile::remove(file);
    return picture;
}

// A scanned page: the barcode where the printout puts it, some lines of text, and specks.
QImage scannedPage(const QString& text, bool firstPage, int dpi, const QString& folder) {
    QImage page(int(8.27 * dpi), int(11.69 * dpi), QImage::Format_Grayscale8);
    page.fill(Qt::white);
    QPainter painter(&page);
    const QImage picture = barcodePicture(text, firstPage ? 2000 : 900, folder);
    // The picture is made at the writer's resolution; the page shows it at its size in inches.
    const double scale = double(dpi) / Pdf417Writer::kPixelsPerInch;
    const QRectF place(dpi * 1.0, dpi * (firstPage ? 1.0 : 9.5), picture.width() * scale,
                       picture.height() * scale);
    drawBarcodePicture(painter, place, picture);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    for (int line = 0; line < 40; ++line)
        painter.drawText(
            QPointF(dpi, dpi * 3.0 + line * dpi * 0.15),
            QStringLiteral("%1  Facultativo Especialista de Área - Pediatría  Talavera de la Reina")
                .arg(line + 1));
    painter.end();
    QRandomGenerator random(3);
    for (int i = 0; i < 3000; ++i)
        page.setPixel(random.bounded(page.width()), random.bounded(page.height()), qRgb(0, 0, 0));
    return page;
}

// What a real scanner makes of a printed page: turned by `degrees` about its centre, grey
// specks and smudges, and JPEG compression at an office scanner's usual quality.
QImage asRealScan(const QImage& page, double degrees, int seed) {
    QImage scan(page.size(), QImage::Format_Grayscale8);
    scan.fill(Qt::white);
    QPainter painter(&scan);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(page.width() / 2.0, page.height() / 2.0);
    painter.rotate(degrees);
    painter.translate(-page.width() / 2.0, -page.height() / 2.0);
    painter.drawImage(QPoint(0, 0), page);
    painter.resetTransform();
    QRandomGenerator random{quint32(seed)};
    for (int i = 0; i < 6000; ++i) {
        const int grey = int(random.bounded(40, 200));
        const int size = int(random.bounded(1, 4));
        painter.fillRect(random.bounded(scan.width()), random.bounded(scan.height()), size, size,
                         QColor(grey, grey, grey));
    }
    painter.end();
    QBuffer jpeg;
    jpeg.open(QIODevice::WriteOnly);
    scan.save(&jpeg, "JPG", 70);
    return QImage::fromData(jpeg.data(), "JPG").convertToFormat(QImage::Format_Grayscale8);
}

QString pageText(int application, int pageInPrint) {
    const QString key =
        ClaveCodigoBarras(QStringLiteral("%1").arg(application, 8, 10, QLatin1Char('0')) + QLatin1Char('A'),
                          QStringLiteral("10010"), QStringLiteral("A2"));
    const QString header = barcodeHeader(key, QDateTime(QDate(2024, 3, 5), QTime(9, 0, 0)));
    if (pageInPrint == 0)
        return barcodeText(
            header, BarcodeKind::FirstPage, 1,
            QStringLiteral("N|Mu&noz|P&erez|Mar&ia|%1|19800312|925000000|N||||||N|||Calle Mayor "
                           "1|Toledo|45|45001|10010|A2|4500000000|20050101|A||00000000|S||D|||||N|"
                           "00000000|Hospital Provincial|Toledo|Toledo|")
                .arg(application));
    QString data;
    for (int row = 1; row <= 40; ++row)
        data += QString::number((pageInPrint - 1) * 40 + row).rightJustified(4, u'0') +
                QString::number(10000 + row).rightJustified(5, u' ');
    return barcodeText(header, BarcodeKind::Vacancies, pageInPrint + 1, data);
}

// A PDF of `pages` scanned pages at `dpi`, made once per size; `real` turns, speckles and
// compresses each page as a real scanner does.
QString scannedBatch(int pages, int dpi, bool real = false) {
    static QTemporaryDir dir;
    static std::map<std::tuple<int, int, bool>, QString> made;
    const auto key = std::tuple(pages, dpi, real);
    if (const auto it = made.find(key); it != made.end())
        return it->second;
    const QString path = QDir(dir.path())
                             .filePath(QStringLiteral("lote-%1-%2%3.pdf")
                                           .arg(pages)
                                           .arg(dpi)
                                           .arg(real ? QStringLiteral("-real") : QString()));
    // Pages repeat every application's worth: drawing each anew would only slow the set-up.
    std::vector<QImage> kinds;
    for (int p = 0; p < kPagesPerApplication; ++p) {
        QImage page = scannedPage(pageText(1, p), p == 0, dpi, dir.path());
        // Turned both ways, up to 2 degrees.
        kinds.push_back(real ? asRealScan(page, -2.0 + p, p) : page);
    }
    QPdfWriter writer(path);
    writer.setResolution(dpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.drawImage(QPoint(0, 0), kinds[size_t(i % kPagesPerApplication)]);
    }
    painter.end();
    made[key] = path;
    return path;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// The process's processor time so far: the reading runs on worker threads, which the
// benchmark's own CPU column (the main thread's) does not see.
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Processor milliseconds per page of the timed loop, from every thread of the process.
void countCpuPerPage(benchmark::State& state, double cpuBefore) {
    state.counters["cpu_ms_per_page"] =
        (processCpuSeconds() - cpuBefore) * 1000.0 / double(state.iterations() * kPagesPerApplication);
}

void BM_ReadBatch(benchmark::State& state) {
    const int pages = int(state.range(0));
    const QString pdf = scannedBatch(pages, 200);
    for (auto _ : state) {
        OfficeReadOutcome outcome = OfficeBatchReader().read({pdf});
        if (outcome.pages != pages || outcome.pagesWithoutBarcode != 0)
            state.SkipWithError("pages were not read");
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["pages_per_s"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_MiB"] = peakMiB();
}
BENCHMARK(BM_ReadBatch)->Arg(100)->Arg(1000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void BM_OnePage(benchmark::State& state) {
    const QString pdf = scannedBatch(kPagesPerApplication, int(state.range(0)));
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            OfficeBatchReader(OfficeReadOptions{.dpi = int(state.range(0)), .threads = 1}).read({pdf}));
    state.SetItemsProcessed(state.iterations() * kPagesPerApplication);
    countCpuPerPage(state, cpuBefore);
}
BENCHMARK(BM_OnePage)->Arg(150)->Arg(200)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime();

// One worker; every symbol must still be found.
void BM_RealScanPage(benchmark::State& state) {
    const QString pdf = scannedBatch(kPagesPerApplication, 200, true);
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state) {
        OfficeReadOutcome outcome =
            OfficeBatchReader(OfficeReadOptions{.dpi = 200, .threads = 1}).read({pdf});
        if (outcome.pages != kPagesPerApplication || outcome.pagesWithoutBarcode != 0)
            state.SkipWithError("a symbol of the real scans was not found");
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * kPagesPerApplication);
    countCpuPerPage(state, cpuBefore);
}
BENCHMARK(BM_RealScanPage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return velmora::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
