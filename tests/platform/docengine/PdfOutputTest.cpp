#include "platform/SystemPrinter.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/PdfViewerPreferences.h"

#include "platform/docengine/SampleDocuments.h"
#include "support/FileSizeLimit.h"
#include "support/PdfTools.h"
#include "support/TempDir.h"

#include <QPdfWriter>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;
using velmora::test::TempDir;

namespace {

// Dark pixels of a grey image: their bounding box, and whether any pixel is neither black
// nor white (a sign of resampling or smoothing).
struct InkSurvey {
    QRect box;
    int greys = 0;
};

InkSurvey survey(const QImage& img) {
    InkSurvey s;
    int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int g = qGray(img.pixel(x, y));
            if (g != 0 && g != 255)
                ++s.greys;
            if (g < 128) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
    if (x1 >= 0)
        s.box = QRect(QPoint(x0, y0), QPoint(x1, y1));
    return s;
}

// A document holding one picture of `image`, `twips` wide and high, at the top-left margin.
Document pictureDocument(const QImage& image, int twips) {
    Document doc;
    Cursor c = doc.endCursor();
    EXPECT_TRUE(c.insertImage(image, QSize(twips, twips)).ok());
    return doc;
}

// Checks that every module of an n-by-n checkerboard is exactly `module` by `module` pixels.
void expectExactCheckerboard(const QImage& img, int n, int module) {
    const InkSurvey s = survey(img);
    ASSERT_TRUE(s.box.isValid());
    EXPECT_EQ(s.greys, 0) << "smoothed or resampled edges";
    EXPECT_EQ(s.box.size(), QSize(n * module, n * module));
    int wrong = 0;
    for (int y = 0; y < n * module; ++y)
        for (int x = 0; x < n * module; ++x) {
            const bool dark = qGray(img.pixel(s.box.x() + x, s.box.y() + y)) < 128;
            const bool want = ((x / module + y / module) % 2) == 0;
            if (dark != want)
                ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}

} // namespace

TEST(DocEnginePdf, PagesCarryEverythingTheDocumentShows) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    TempDir dir;
    Document doc = test::sampleTemplate();
    ASSERT_TRUE(doc.setFieldResult(u"NOMBRE"_s, u"Ana María"_s).ok());
    ASSERT_TRUE(doc.setFieldResult(u"PROVINCIA"_s, u"Cáceres"_s).ok());
    ASSERT_TRUE(doc.setBookmarkText(u"DNICAB"_s, u"12345678Z"_s).ok());
    ASSERT_TRUE(doc.setCheckBox(u"DISCAPACIDADSI"_s, true).ok());
    ASSERT_TRUE(doc.setCheckBox(u"DISCAPACIDADNO"_s, false).ok());
    Cursor end = doc.endCursor();
    end.insertPageBreak().insertText(u"Segunda hoja"_s);
    const QString docPath = dir.file(u"12345678Z___0010A.doc"_s);
    ASSERT_TRUE(doc.saveAs(docPath).ok());

    const PrintOutcome out = DocumentPrinter::print(doc, PrintDestination::Pdf).value();
    EXPECT_TRUE(!out.printed && out.pageCount == 2);
    EXPECT_EQ(out.pdfPath, dir.file(u"12345678Z___0010A.pdf"_s));
    QString complaints;
    EXPECT_EQ(test::pdfPageCount(out.pdfPath, &complaints), 2);
    EXPECT_TRUE(complaints.trimmed().isEmpty()) << complaints.toStdString();
    // Viewers are asked not to scale the pages, in an update the file's readers all accept;
    // applying it again changes nothing; what is not a classic PDF is refused, not damaged.
    const QByteArray bytes = dir.read(u"12345678Z___0010A.pdf"_s);
    ASSERT_TRUE(bytes.startsWith("%PDF-1.6"));
    EXPECT_EQ(bytes.count("/ViewerPreferences << /PrintScaling /None >>"), 1);
    EXPECT_TRUE(bytes.contains("/Prev "));
    EXPECT_EQ(addNoPrintScaling(bytes).value(), bytes);
    EXPECT_FALSE(addNoPrintScaling(QByteArray("%PDF-1.5\nbasura")).ok());
    EXPECT_FALSE(addNoPrintScaling(bytes.left(bytes.size() / 2)).ok());

    const QString page1 = test::pdfPageText(out.pdfPath, 1);
    EXPECT_TRUE(page1.contains(u"DNI: 12345678Z"_s) && page1.contains(u"Nombre: Ana María"_s));
    EXPECT_FALSE(page1.contains(u"-&C&-"_s)) << "hidden marker printed";
    EXPECT_TRUE(test::pdfPageText(out.pdfPath, 2).contains(u"Segunda hoja"_s));

    // The ticked box has ink in its middle (the cross), the empty one has not.
    const DocumentLayout layout(doc);
    ASSERT_EQ(layout.page(0).boxes.size(), 3u);
    for (const PageCheckBox& box : layout.page(0).boxes) {
        const QRectF r = box.rect;
        const QRect region(int(r.x() * 300 / 1440.0), int(r.y() * 300 / 1440.0),
                           int(r.width() * 300 / 1440.0) + 1, int(r.height() * 300 / 1440.0) + 1);
        const QImage img = test::pdfRender(out.pdfPath, 1, 300, region);
        ASSERT_FALSE(img.isNull());
        const QPoint centre(img.width() / 2, img.height() / 2);
        const bool inked = qGray(img.pixel(centre)) < 160;
        EXPECT_EQ(inked, box.checked);
        // Both have their frame.
        EXPECT_LT(qGray(img.pixel(1, img.height() / 2)), 160);
    }
}

TEST(DocEnginePdf, BarcodeModulesStayWholeDevicePixels) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    TempDir dir;
    // 8 modules in 77 twips: 4.01 PDF grid pixels each at 600 dpi, drawn as exactly 4.
    Document doc = pictureDocument(test::checkerboard(8), 77);
    const QString pdf = dir.file(u"cb.pdf"_s);
    ASSERT_TRUE(DocumentPrinter::writePdf(doc, pdf).ok());
    const PageSetup page = doc.pageSetup();
    auto region = [&](int dpi) {
        const int x = page.marginLeft * dpi / 1440 - 20;
        const int y = page.marginTop * dpi / 1440 - 20;
        return QRect(x, y, 120 * dpi / 300, 120 * dpi / 300);
    };
    expectExactCheckerboard(test::pdfRender(pdf, 1, 600, region(600)), 8, 4);
    expectExactCheckerboard(test::pdfRender(pdf, 1, 300, region(300)), 8, 2);

    // An awkward size (4.17 pixels a module) still gives equal modules, not a mix of 4 and 5.
    Document odd = pictureDocument(test::checkerboard(10), 100);
    const QString pdf2 = dir.file(u"odd.pdf"_s);
    ASSERT_TRUE(DocumentPrinter::writePdf(odd, pdf2).ok());
    expectExactCheckerboard(test::pdfRender(pdf2, 1, 600, region(600)), 10, 4);
}

TEST(DocEnginePdf, PrintingNeedsASavedDocumentForThePdf) {
    Document doc = test::sampleTemplate();
    auto r = DocumentPrinter::print(doc, PrintDestination::Pdf);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().number, DocError::NoPath);
    EXPECT_EQ(DocumentPrinter::pdfPathFor(u"/x/y/12345678Z___0010A.doc"_s), u"/x/y/12345678Z___0010A.pdf"_s);
    // A PDF that cannot be written is an error, not a silent success.
    TempDir dir;
    EXPECT_FALSE(DocumentPrinter::writePdf(doc, dir.file(u"no/hay/carpeta.pdf"_s)).ok());
    {
        test::FileSizeLimit fullDisk(512); // and one on a full disk says so
        const auto cut = DocumentPrinter::writePdf(doc, dir.file(u"lleno.pdf"_s));
        ASSERT_FALSE(cut.ok());
        EXPECT_TRUE(cut.error().description.contains(u"no queda espacio en el disco"_s))
            << cut.error().description.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.file(u"lleno.pdf"_s)));
    // Without printers, printing goes to the PDF; asking for the printer is an error.
    ASSERT_TRUE(doc.saveAs(dir.file(u"s.doc"_s)).ok());
    const PrintOutcome out = DocumentPrinter::print(doc).value();
    EXPECT_FALSE(out.printed);
    EXPECT_EQ(out.pdfPath, dir.file(u"s.pdf"_s));
    EXPECT_EQ(out.pageCount, 1);
    auto printer = DocumentPrinter::print(doc, PrintDestination::Printer);
    ASSERT_FALSE(printer.ok());
    EXPECT_EQ(printer.error().number, DocError::PrintFailed);
}

// A print goes to the default printer it is given, even of a document never saved.
TEST(DocEnginePdf, PrintingGoesToTheDefaultPrinterGiven) {
    TempDir dir;
    struct PdfPrinter final : SystemPrinter {
        QString file;
        bool hasDefaultPrinter() const override { return true; }
        DefaultPrinter openDefaultPrinter(const QPageSize&, const QString&) override {
            return {u"Oficina 2"_s, std::make_unique<QPdfWriter>(file)};
        }
    } printer;
    printer.file = dir.file(u"papel.pdf"_s);
    Document doc = test::sampleTemplate();
    const PrintOutcome out = DocumentPrinter::print(doc, PrintDestination::Automatic, &printer).value();
    EXPECT_EQ(out.printerName, u"Oficina 2"_s);
    EXPECT_EQ(test::pdfPageCount(printer.file), 1);
}
