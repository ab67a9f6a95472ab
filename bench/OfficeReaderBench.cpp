// The office reader on scanned batches: a PDF of scanned pages read back on every core,
// the time of one page at the usual scanning resolutions, and the time of one page as a real
// scanner gives it (turned up to 2 degrees, speckled, JPEG-compressed) at 200 dpi. And on
// signed applications: one printed, its barcode texts attached and signed as "Firmar
// solicitud" does, copied to a batch of files and verified against a trust folder.
//
//   build/bench/OfficeReaderBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
//   build/bench/OfficeReaderBench --benchmark_filter=SignedApplications/1000

#include "BenchSupport.h"
#include "app/ApplicationSigning.h"
#include "editor/ApplicationListTables.h"
#include "editor/ApplicationModel.h"
#include "office/OfficeBatchReader.h"
#include "platform/Clock.h"
#include "platform/Progress.h"
#include "platform/barcode/Pdf417Writer.h"
#include "printing/ApplicationDocument.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeText.h"
#include "printing/PrintRecord.h"
#include "printing/PrintingWordProcessor.h"
#include "printing/SampleApplication.h"
#include "printing/TemplateWriter.h"
#include "signing/CertificateDatabase.h"
#include "signing/PdfAttachment.h"
#include "signing/PdfSigner.h"
#include "signing/SignatureTrust.h"
#include "support/TestCertificates.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <ZXing/ReadBarcode.h>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
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

// The processor time of the children waited for so far (pdftoppm).
double childrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// What a generic reader does with the same real scans: poppler's pdftoppm draws every page
// in grey at 200 dpi, and zxing-cpp looks for PDF417 symbols on each whole page with its
// default (harder) tries. Returns the symbols it found.
int genericRead(const QString& pdf, const QString& folder) {
    QProcess draw;
    draw.start(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-gray"), pdf,
                QDir(folder).filePath(QStringLiteral("p"))});
    if (!draw.waitForFinished(600000) || draw.exitCode() != 0)
        return -1;
    int found = 0;
    for (const QFileInfo& page : QDir(folder).entryInfoList({QStringLiteral("p-*.pgm")}, QDir::Files)) {
        const QImage grey = QImage(page.filePath()).convertToFormat(QImage::Format_Grayscale8);
        const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                    int(grey.bytesPerLine()));
        found += int(
            ZXing::ReadBarcodes(view, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::PDF417)).size());
        QFile::remove(page.filePath());
    }
    return found;
}

// The office reader and the generic one, alternately on the same real scans, one worker
// each: the processor time of each per page, their ratio, and the symbols each missed.
void BM_RealScanAgainstGenericReader(benchmark::State& state) {
    const QString pdf = scannedBatch(kPagesPerApplication, 200, true);
    QTemporaryDir pages;
    double ours = 0;
    double generic = 0;
    int genericMissed = 0;
    for (auto _ : state) {
        double before = processCpuSeconds();
        const OfficeReadOutcome outcome =
            OfficeBatchReader(OfficeReadOptions{.dpi = 200, .threads = 1}).read({pdf});
        ours += processCpuSeconds() - before;
        if (outcome.pages != kPagesPerApplication || outcome.pagesWithoutBarcode != 0)
            state.SkipWithError("the office reader missed a symbol of the real scans");
        before = processCpuSeconds() + childrenCpuSeconds();
        const int found = genericRead(pdf, pages.path());
        generic += processCpuSeconds() + childrenCpuSeconds() - before;
        if (found < 0)
            state.SkipWithError("pdftoppm is missing (poppler-utils)");
        genericMissed += kPagesPerApplication - found;
    }
    const double read = double(state.iterations()) * kPagesPerApplication;
    state.counters["cpu_ms_per_page"] = ours * 1000.0 / read;
    state.counters["generic_cpu_ms_per_page"] = generic * 1000.0 / read;
    state.counters["ratio"] = ours / generic;
    state.counters["generic_missed"] = genericMissed / double(state.iterations());
}
BENCHMARK(BM_RealScanAgainstGenericReader)->Unit(benchmark::kMillisecond)->UseRealTime();

// One genuine signed application: a sample application of `vacancies` positions printed to
// PDF, its barcode texts attached and the whole signed with the applicant's test
// certificate; beside it, the trust folder holding the test authority. Empty on failure.
struct SignedSample {
    QTemporaryDir dir;
    QString pdf;
    QString trustFolder;
    int pages = 0;
    int barcodes = 0;

    explicit SignedSample(int vacancies) {
        test::TestCertificates& certificates = test::TestCertificates::shared();
        if (!certificates.made)
            return;
        QTemporaryDir install;
        const AppFolders folders = AppFolders::at(install.path());
        QDir().mkpath(folders.applications);
        ApplicationModel model;
        RecordSet lists[4];
        if (!writeApplicationTemplates(folders.data, TemplateKey{}).ok() ||
            !createVacancyList(lists[0]).ok() || !createResultasList(lists[1]).ok() ||
            !createCoursesList(lists[2]).ok() || !createDocumentsList(lists[3]).ok() ||
            !test::addSamplePositions(lists[0], vacancies, 10000))
            return;
        bench::fillPrintedApplicant(model);
        SystemClock clock;
        PrintingWordProcessor wordProcessor;
        PrintingEditor editor{.model = model,
                              .lists = {lists[0], lists[1], lists[2], lists[3]},
                              .printRecord = GeneraCadenaImpresion(model, RecordSet()),
                              .templateFolderKey = TemplateKey{}.folderName(),
                              .positionsPerPage = QStringLiteral("40"),
                              .folders = folders,
                              .wordProcessor = wordProcessor,
                              .clock = clock,
                              .destination = docengine::PrintDestination::Pdf};
        Progress progress;
        Pdf417Writer barcode;
        Result<ApplicationPrintout> printed =
            ImprimeSolicitudWXP(QStringLiteral("12345678Z_10010A2.doc"), folders.applications, editor,
                                progress, barcode, true, false);
        if (!printed.ok())
            return;
        const QString attached = dir.filePath(QStringLiteral("adjunto.pdf"));
        if (!attachFile(printed->outcome.pdfPath, attached, QString::fromUtf16(kBarcodeTextsAttachment),
                        barcodeTextsFile(printed->barcodes))
                 .ok() ||
            !certificate_database::open(certificates.nssdb).ok())
            return;
        Result<std::vector<SigningCertificate>> signers = certificate_database::signingCertificates();
        const auto signer = signers ? std::ranges::find(*signers, QStringLiteral("solicitante"),
                                                        &SigningCertificate::nickname)
                                    : signers->end();
        if (!signers || signer == signers->end() ||
            !certificate_database::unlock(signer->nickname, test::TestCertificates::password).ok())
            return;
        const QString made = dir.filePath(QStringLiteral("firmada.pdf"));
        const Status signedPdf = signPdf(attached, made, *signer, test::TestCertificates::password,
                                         applicantSignatureLook(), QDateTime::currentDateTime());
        certificate_database::lock(signer->nickname);
        // The office trusts the test authority alone, given as a PEM file.
        trustFolder = dir.filePath(QStringLiteral("confianza"));
        QProcess authority;
        authority.start(QStringLiteral("certutil"),
                        {QStringLiteral("-L"), QStringLiteral("-d"),
                         QStringLiteral("sql:") + certificates.nssdb, QStringLiteral("-n"),
                         QStringLiteral("AC Pruebas"), QStringLiteral("-a")});
        if (!signedPdf.ok() || !QDir().mkpath(trustFolder) || !authority.waitForFinished(60000) ||
            authority.exitCode() != 0)
            return;
        QFile pem(QDir(trustFolder).filePath(QStringLiteral("ac.pem")));
        if (!pem.open(QIODevice::WriteOnly) || pem.write(authority.readAllStandardOutput()) <= 0)
            return;
        pages = printed->outcome.pageCount;
        barcodes = int(printed->barcodes.size());
        pdf = made;
    }
};

// A batch of `range(0)` copies of one signed application, read on every core and verified
// against the trust folder: each file is opened, its signature checked and its first page
// drawn, as for so many different applications.
void BM_SignedApplications(benchmark::State& state) {
    static SignedSample sample(100);
    if (sample.pdf.isEmpty()) {
        state.SkipWithError("the signed application could not be made (certutil missing?)");
        return;
    }
    const int count = int(state.range(0));
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < count; ++i) {
        files << dir.filePath(QStringLiteral("solicitud-%1.pdf").arg(i, 4, 10, QLatin1Char('0')));
        QFile::copy(sample.pdf, files.back());
    }
    Result<std::shared_ptr<const SignatureTrust>> trust = SignatureTrust::load(sample.trustFolder);
    if (!trust) {
        state.SkipWithError("the trust folder could not be read");
        return;
    }
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state) {
        OfficeReadOutcome outcome = OfficeBatchReader(OfficeReadOptions{.trust = trust->get()}).read(files);
        // The copies are one application read N times over: its pages are named repeated, and
        // nothing else may be wrong with it.
        const bool valid = outcome.applications.size() == 1 &&
                           outcome.applications[0].signature == QStringLiteral("Válida") &&
                           std::ranges::all_of(outcome.applications[0].problems, [](const OfficeProblem& p) {
                               return p.problem == QStringLiteral("Página repetida");
                           });
        if (!valid || outcome.applications[0].problems.size() != size_t((count - 1) * sample.barcodes))
            state.SkipWithError("a signed application was not read as valid");
        benchmark::DoNotOptimize(outcome);
    }
    const double cpuMs = (processCpuSeconds() - cpuBefore) * 1000.0;
    const double read = double(state.iterations()) * count;
    state.counters["pages_per_file"] = sample.pages;
    state.counters["cpu_ms_per_page"] = cpuMs / (read * sample.pages);
    state.counters["cpu_ms_per_file"] = cpuMs / read;
    state.counters["pages_per_s"] =
        benchmark::Counter(double(count) * sample.pages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SignedApplications)->Arg(100)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SignedApplications)->Arg(1000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return velmora::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
