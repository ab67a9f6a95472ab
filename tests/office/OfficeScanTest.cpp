#include "editor/ControlName.h"
#include "office/OfficeBatchReader.h"
#include "office/OfficeCsvExport.h"
#include "office/OfficeRunMerge.h"
#include "office/PrintRecordFields.h"
#include "office/ScanFile.h"
#include "printing/PrintingFixture.h"
#include "support/PdfTools.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// What the program printed, and the page images a scanner would give of it.
struct PrintedScan {
    QStringList barcodes;
    QString printRecord;
    std::vector<QImage> pages;
};

PrintedScan printAndScan(const QString& dni, int vacancies, int resultas, int minute, int dpi) {
    test::PrintingFixture f;
    f.model.setText(ctl::txtDNI, dni);
    f.clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, minute, 0)));
    f.printRecord = GeneraCadenaImpresion(f.model, f.situations);
    test::PrintingFixture::addPositions(f.vacancies, vacancies);
    test::PrintingFixture::addPositions(f.resultas, resultas, 30000);
    test::addSampleCourses(f.courses, 3);
    Result<ApplicationPrintout> printed = f.runWXP(true);
    EXPECT_TRUE(printed.ok());
    PrintedScan scan{printed->barcodes, f.printRecord, {}};
    Result<ScanFileInfo> pdf = inspectScanFile(printed->outcome.pdfPath);
    EXPECT_TRUE(pdf.ok());
    if (!pdf)
        return scan;
    Result<std::unique_ptr<ScanPageStream>> pages = openScanPages(pdf.value(), dpi);
    for (int i = 0; pages && i < pdf->pages; ++i)
        scan.pages.push_back(pages.value()->page(i).value().convertToFormat(QImage::Format_Grayscale8));
    return scan;
}

// A scanner's faults: turned, specks of dust, lossy compression.
QImage rotated(const QImage& page, double degrees) {
    QImage turned = page.transformed(QTransform().rotate(degrees), Qt::SmoothTransformation);
    QImage white(turned.size(), QImage::Format_Grayscale8);
    white.fill(Qt::white);
    QPainter(&white).drawImage(0, 0, turned);
    return white;
}

QImage specked(QImage page, int specks) {
    QRandomGenerator random(7);
    for (int i = 0; i < specks; ++i)
        page.setPixel(random.bounded(page.width()), random.bounded(page.height()),
                      random.bounded(2) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return page;
}

QImage jpeg(const QImage& page, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    page.save(&buffer, "JPG", quality);
    return QImage::fromData(bytes, "JPG");
}

void writePdf(const QString& path, const std::vector<QImage>& pages, int dpi) {
    QPdfWriter writer(path);
    writer.setResolution(dpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        painter.drawImage(QPoint(0, 0), pages[i]);
    }
}

QStringList problemsOf(const std::vector<OfficeProblem>& problems) {
    QStringList names;
    for (const OfficeProblem& p : problems)
        names << p.problem;
    return names;
}

} // namespace

TEST(OfficeScanTest, ShuffledScansOfTwoPrintsComeBackWithTheirFaultsNamed) {
    test::TempDir dir;
    PrintedScan small = printAndScan(u"12345678Z"_s, 3, 1, 1, 150);
    PrintedScan medium = printAndScan(u"00000001R"_s, 45, 0, 2, 200);
    // The small print's pages are pictures of their own, so its courses page is one without a
    // barcode; the medium print's lies in one file between its first page and its list: not one.
    const int withoutBarcode = int(small.pages.size() - small.barcodes.size());

    // Turned, specked and compressed pages; the medium print has a page scanned twice. The
    // faults of broken prints are named by ApplicationAssemblerTest; here they must reach the run.
    small.pages[0] = jpeg(rotated(small.pages[0], 180), 60);
    medium.pages[0] = specked(rotated(medium.pages[0], 2), 2000);
    // The form, the courses, then the vacancies on three pages: the last one is scanned twice.
    ASSERT_EQ(medium.pages.size(), 5u);
    const QImage again = medium.pages.back();

    std::vector<QImage> batch200 = medium.pages;
    batch200.emplace_back(1654, 2339, QImage::Format_Grayscale8); // a blank sheet
    batch200.back().fill(Qt::white);
    std::reverse(batch200.begin(), batch200.end());
    const QString first = dir.file(u"lote1.pdf"_s);
    writePdf(first, batch200, 200);
    QStringList files{first};
    for (size_t i = 0; i < small.pages.size(); ++i) {
        files << dir.file(u"suelta%1.png"_s.arg(i + 1));
        ASSERT_TRUE(small.pages[i].save(files.back()));
    }
    files << dir.file(u"repetida.png"_s);
    ASSERT_TRUE(again.save(files.back()));
    files << dir.file(u"vacio.pdf"_s);
    QFile(files.back()).open(QIODevice::WriteOnly);

    OfficeBatchReader reader;
    int lastDone = 0;
    const OfficeReadOutcome outcome = reader.read(files, [&](int done, int) { lastDone = done; });
    EXPECT_EQ(lastDone, outcome.pages);
    EXPECT_EQ(outcome.pagesWithoutBarcode, withoutBarcode + 1);
    EXPECT_TRUE(problemsOf(outcome.fileProblems).contains(u"Archivo ilegible"_s));
    EXPECT_FALSE(outcome.allComplete());
    ASSERT_EQ(outcome.applications.size(), 2u);

    // Applications come in order of their id: the DNI first.
    const OfficeApplication* m = &outcome.applications[0];
    const OfficeApplication* s = &outcome.applications[1];
    ASSERT_EQ(m->dni, u"00000001R"_s);
    ASSERT_EQ(s->dni, u"12345678Z"_s);

    EXPECT_TRUE(s->complete()) << problemsOf(s->problems).join(u',').toStdString();
    EXPECT_EQ(s->fields, readablePrintRecord(splitPrintRecord(foldBarcodeText(small.printRecord))));
    EXPECT_EQ(s->fields[1], u"Muñoz   Peña"_s) << "the ampersand was printed as a blank";
    ASSERT_EQ(s->vacancies.size(), 3u);
    EXPECT_EQ(s->vacancies[2], (RequestedPosition{3, u"10003"_s, s->vacancies[2].page}));
    ASSERT_EQ(s->resultas.size(), 1u);
    EXPECT_EQ(s->resultas[0].code, u"30001"_s);

    EXPECT_EQ(problemsOf(m->problems), QStringList{u"Página repetida"_s});
    EXPECT_EQ(m->vacancies.size(), 45u);

    ASSERT_TRUE(writeOfficeCsv(outcome, dir.file(u"salida"_s)).ok());
    const auto csv = [&](const QString& folder, const char* name) {
        return dir.read(folder + u'/' + QLatin1String(name));
    };
    EXPECT_EQ(csv(u"salida"_s, "vacantes.csv").count('\n'), qsizetype(1 + 3 + 45));

    // The same batch split by files across two runs, the small print's pages and the repeated
    // page on both sides, and merged: the files of the single run, byte for byte.
    QStringList parts[2];
    for (qsizetype i = 0; i < files.size(); ++i)
        parts[files[i].endsWith(u"repetida.png"_s) ? 1 : i % 2] << files[i];
    QStringList partFolders;
    for (const QStringList& part : parts) {
        partFolders << dir.file(u"parte%1"_s.arg(partFolders.size() + 1));
        ASSERT_TRUE(writeOfficeCsv(OfficeBatchReader().read(part), partFolders.back()).ok());
    }
    Result<OfficeReadOutcome> merged = mergeOfficeRuns(partFolders);
    ASSERT_TRUE(merged.ok()) << merged.error().description.toStdString();
    EXPECT_EQ(merged->pages, outcome.pages);
    ASSERT_TRUE(writeOfficeCsv(merged.value(), dir.file(u"unida"_s)).ok());
    for (const char* name :
         {"solicitudes.csv", "vacantes.csv", "resultas.csv", "incidencias.csv", "lecturas.csv"})
        EXPECT_EQ(csv(u"unida"_s, name), csv(u"salida"_s, name)) << name;
    EXPECT_NE(csv(u"parte1"_s, "incidencias.csv"), csv(u"salida"_s, "incidencias.csv"));
}

TEST(OfficeScanTest, EachBadFileIsAProblemOfItsOwn) {
    test::TempDir dir;
    const auto write = [&](const char* name, const QByteArray& bytes) {
        return dir.write(QString::fromLatin1(name), bytes);
    };
    // A picture cut short passes the first look and fails only when read: in Spanish, with
    // nothing of libpng's own on the console.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    const QStringList files{write("nota.txt", "no es una imagen"),
                            write("roto.pdf", "%PDF-1.4\n1 0 obj\n<<"),
                            write("vacio.png", ""),
                            dir.file(u"no-existe.pdf"_s),
                            write("cortada.png", png.left(png.size() / 2)),
                            write("enorme.pdf", test::onePagePdf("", {}, 14400, 14400)),
                            write("plana.pdf", test::onePagePdf("", {}, 595, 0))};
    const OfficeReadOutcome outcome = OfficeBatchReader().read(files);
    EXPECT_EQ(outcome.applications.size(), 0u);
    // Listed by file and page, whichever worker finished first.
    std::vector<std::pair<QString, QString>> problems;
    for (const OfficeProblem& p : outcome.fileProblems)
        problems.emplace_back(p.where, p.detail);
    ASSERT_EQ(problems.size(), 7u);
    EXPECT_EQ(problems[0], std::pair(u"cortada.png, página 1"_s, u"la imagen está dañada o cortada"_s));
    // A page too large to draw is refused before any memory is spent on it.
    EXPECT_EQ(problems[1], std::pair(u"enorme.pdf, página 1"_s,
                                     u"la página 1 mide 508 x 508 cm, demasiado para buscar códigos"_s));
    EXPECT_EQ(problems[4], std::pair(u"plana.pdf, página 1"_s, u"la página 1 está vacía: mide 21 x 0 cm"_s));
    EXPECT_EQ(problems[6], std::pair(u"vacio.png"_s, u"el archivo está vacío"_s));
    EXPECT_FALSE(outcome.allComplete());
}
