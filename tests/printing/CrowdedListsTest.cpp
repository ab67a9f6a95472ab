// Crowded lists read back from their PDF: every list page carries one barcode; and the
// longest texts the boxes take still fit the first page's barcode.
#include "printing/ApplicationDocument.h"

#include "editor/ApplicationModel.h"
#include "platform/barcode/Pdf417Writer.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeReader.h"
#include "printing/BarcodeText.h"
#include "printing/ListPages.h"
#include "printing/PrintRecord.h"
#include "printing/PrintingFixture.h"
#include "support/PdfTools.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::PrintingFixture;

constexpr int kHeaderLength = 34; // key, date and time before the kind letter

QStringList barcodesOnPage(const QString& pdf, int page) {
    return readPdf417(test::pdfRender(pdf, page, kBarcodeScanDpi));
}

TEST(ListPagesPrintTest, CrowdedPlacesPerPageAreLoweredSoEveryListPageHasOneBarcode) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    PrintingFixture f;
    f.positionsPerPage = u"70"_s;
    PrintingFixture::addPositions(f.vacancies, 150);
    f.printRecord = GeneraCadenaImpresion(f.model, f.situations);
    auto printed = f.runW97(true);
    ASSERT_TRUE(printed.ok()) << printed.error().description.toStdString();
    const QString pdf = printed.value().outcome.pdfPath;
    const int perPage = std::min(70, largestPositionsPerPage());
    int listPages = 0;
    int rows = 0;
    for (int page = 2; page <= test::pdfPageCount(pdf); ++page) {
        const QStringList barcodes = barcodesOnPage(pdf, page);
        const bool listPage = test::pdfPageText(pdf, page).contains(u"10001"_s);
        if (barcodes.isEmpty() && !listPage && listPages == 0)
            continue; // the courses' sheet
        ++listPages;
        ASSERT_EQ(barcodes.size(), 1) << "page " << page;
        const int onPage = (barcodes[0].size() - kHeaderLength - 5) / 9;
        EXPECT_LE(onPage, perPage);
        rows += onPage;
    }
    EXPECT_EQ(rows, 150);
    EXPECT_EQ(listPages, int(listPageSizes(150, perPage).size()));
}

TEST(TextLimitsTest, ARecordOfFullBoxesStillFitsTheFirstPageBarcode) {
    ApplicationModel model;
    for (const FormControl& control : model.controls()) {
        const int limit = ApplicationModel::textLimit(control.name);
        if (control.kind == ControlKind::TextBox) {
            EXPECT_GT(limit, 0) << control.name.toStdString();
        }
        if (limit > 0)
            // Ordinary Spanish text, accents and ñ included (each takes two characters once
            // folded). A box of nothing but accented letters can still overflow: printing then
            // stops with its own message, which the printing tests cover.
            model.setText(ControlName(control.name),
                          u"Muñoz Pérez de la Peña, 12 º "_s.repeated(40).left(limit));
    }
    EXPECT_EQ(ApplicationModel::textLimit(ctl::txtDomicilio), 110) << "a long but plausible address fits";
    QString text = barcodeText(u"12345678Z00001 A1"_s, BarcodeKind::FirstPage, 1,
                               GeneraCadenaImpresion(model, RecordSet()));
    Pdf417Writer writer;
    qint16 height = 2000;
    auto picture = barcodeImage(text, writer, 6000, height);
    ASSERT_TRUE(picture.ok()) << picture.error().description.toStdString();
    EXPECT_EQ(readPdf417(picture.value()).value(0), text);
}

} // namespace
} // namespace velmora
