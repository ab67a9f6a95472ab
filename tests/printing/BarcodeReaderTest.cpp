#include "printing/BarcodeReader.h"

#include "platform/barcode/Pdf417Writer.h"
#include "platform/data/RecordSet.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeSamples.h"
#include "printing/BarcodeText.h"
#include "printing/PrintRecord.h"
#include "support/SampleApplicant.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

using test::runTool;

QImage picture(const QString& text, QSize placeTwips) {
    Pdf417Writer writer;
    writer.setText(text);
    writer.setSize(placeTwips.width(), placeTwips.height());
    return writer.render().value();
}

// A printed form in miniature: each page holds its pictures at their places (twips from
// the page's top-left corner), drawn at their size without smoothing.
struct Placed {
    QImage picture;
    QPoint atTwips;
    QSize sizeTwips;
};

void writePdf(const QString& path, const QList<QList<Placed>>& pages) {
    QPdfWriter pdf(path);
    pdf.setResolution(1200);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    bool first = true;
    for (const QList<Placed>& page : pages) {
        if (!first)
            pdf.newPage();
        first = false;
        for (const Placed& p : page)
            drawBarcodePicture(painter,
                               QRectF(p.atTwips.x() / 1.2, p.atTwips.y() / 1.2, p.sizeTwips.width() / 1.2,
                                      p.sizeTwips.height() / 1.2),
                               p.picture);
        painter.drawText(QPointF(1200, 12000), u"Página de prueba"_s);
    }
}

const QSize kFirstPage(6000, 2600);
const QSize kListPage(6000, 1170);

} // namespace

TEST(BarcodeReaderTest, ReadsEveryBarcodeOfAPdfInPageOrderThenTopToBottom) {
    test::TempDir dir;
    const QString header = test::sampleHeader();
    // A first page as dense as a real one: some 600 characters once folded.
    ApplicationModel applicant;
    test::fillSampleApplicant(applicant);
    applicant.setText(
        ctl::txtAdaptaciones,
        u"Acceso sin escaleras, mobiliario ergonómico y turno de mañana; ¿aparcamiento? "_s.repeated(4));
    const QString first = foldBarcodeText(
        barcodeText(header, BarcodeKind::FirstPage, 1, GeneraCadenaImpresion(applicant, RecordSet())));
    ASSERT_GT(first.size(), 550);
    QString vacancies1, vacancies2, resultas;
    for (int i = 1; i <= 40; ++i)
        vacancies1 +=
            QString::number(i).rightJustified(4, u'0') + QString::number(10000 + 37 * i).rightJustified(5);
    for (int i = 41; i <= 45; ++i)
        vacancies2 += QString::number(i).rightJustified(4, u'0') + QString::number(i).rightJustified(5);
    resultas = "0001  123000245678";
    const QString v1 = barcodeText(header, BarcodeKind::Vacancies, 3, vacancies1);
    const QString v2 = barcodeText(header, BarcodeKind::Vacancies, 4, vacancies2);
    const QString r1 = barcodeText(header, BarcodeKind::Resultas, 5, resultas);

    const QString pdf = dir.file("solicitud.pdf");
    // The second page carries its barcodes bottom first in drawing order.
    writePdf(pdf, {{Placed{picture(first, kFirstPage), QPoint(2880, 2000), kFirstPage}},
                   {Placed{picture(v2, kListPage), QPoint(2880, 12000), kListPage},
                    Placed{picture(v1, kListPage), QPoint(2880, 3000), kListPage}},
                   {},
                   {Placed{picture(r1, kListPage), QPoint(1440, 14000), kListPage}}});

    Result<QStringList> texts = readPdf417File(pdf);
    ASSERT_TRUE(texts.ok()) << texts.error().description.toStdString();
    EXPECT_EQ(texts.value(), (QStringList{first, v1, v2, r1}));
}

TEST(BarcodeReaderTest, ReadsPictureFiles) {
    test::TempDir dir;
    const QString text = "12345678Z12341105/03/202614:05:09R0070001  123F";
    const QImage image = picture(text, kListPage);
    ASSERT_TRUE(image.save(dir.file("a.png"), "PNG"));
    ASSERT_TRUE(image.convertToFormat(QImage::Format_RGB32).save(dir.file("a.jpg"), "JPEG", 95));
    EXPECT_EQ(readPdf417File(dir.file("a.png")).value(), QStringList{text});
    EXPECT_EQ(readPdf417File(dir.file("a.jpg")).value(), QStringList{text});

    QImage blank(400, 200, QImage::Format_RGB32);
    blank.fill(Qt::white);
    ASSERT_TRUE(blank.save(dir.file("blank.png")));
    EXPECT_TRUE(readPdf417File(dir.file("blank.png")).value().isEmpty());

    const Result<QStringList> missing = readPdf417File(dir.file("none.png"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, ErrorCode::FileNotFound);
    dir.write("broken.pdf", "%PDF-1.4\nnot really");
    EXPECT_FALSE(readPdf417File(dir.file("broken.pdf")).ok());
    dir.write("text.bmp", "hello");
    EXPECT_FALSE(readPdf417File(dir.file("text.bmp")).ok());
}

TEST(BarcodeReaderTest, ToolEncodesLikePrinting) {
    test::TempDir dir;
    const QString text = "12345678Z12341105/03/202614:05:09P001N|Núñez & Cía|¿Sí?|F";
    const QString folded = foldBarcodeText(text);
    const test::ToolOutput encode = runTool({"barcode", "encode", "--text", text, "--width", "6000",
                                             "--height", "2000", "--out", dir.file("p.bmp")});
    ASSERT_EQ(encode.exitCode, 0);
    EXPECT_EQ(encode.out, folded + "\n");
    EXPECT_EQ(QImage(dir.file("p.bmp")).size(), Pdf417Writer::pictureSize(6000, 2600));

    const QImage list = picture("R002F", kListPage);
    ASSERT_TRUE(list.save(dir.file("r.png")));
    const test::ToolOutput read = runTool({"barcode", "read", dir.file("p.bmp"), dir.file("r.png")});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out, folded + "\nR002F\n");
    // (A blank page's and a damaged file's statuses are HostileInputTool's.)
    EXPECT_EQ(runTool({"barcode", "encode", "--text", "x", "--width", "0", "--height", "900", "--out",
                       dir.file("x.bmp")})
                  .exitCode,
              2);
}
