#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/PagePainter.h"
#include "printing/BarcodeReader.h"
#include "printing/PrintingFixture.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(PrintPreview, ShowsThePagesAndBarcodesThePrintGivesAndSavesNothing) {
    PrintingFixture f;
    test::addSampleCourses(f.courses, 3);
    PrintingFixture::addPositions(f.vacancies, 45); // two pages of vacancies
    PrintingFixture::addPositions(f.resultas, 2, 20000);
    ProgressWindow progress;
    PrintingEditor previewed = f.editor();
    auto preview = previewApplication(previewed, progress, f.barcode, u"16"_s, false);
    ASSERT_TRUE(preview.ok()) << preview.error().description.toStdString();
    EXPECT_TRUE(f.applicationFiles().isEmpty()) << f.applicationFiles().join(u' ').toStdString();
    EXPECT_TRUE(f.messages.messages.empty()) << "no print notice for a preview";
    ASSERT_TRUE(preview->pages);

    auto printed = f.runWXP(true);
    ASSERT_TRUE(printed.ok());
    const docengine::DocumentLayout& pages = *preview->pages;
    ASSERT_EQ(pages.pageCount(), printed->outcome.pageCount);
    EXPECT_EQ(preview->barcodes, printed->barcodes);
    // The pictures on the screen (zoomed in, so each module is whole pixels) carry the texts
    // the paper carries.
    QStringList shown;
    for (int page = 0; page < pages.pageCount(); ++page)
        shown << readPdf417(docengine::PagePainter::renderPage(pages, page, 2 * kBarcodeScanDpi));
    auto onPaper = readPdf417Pdf(printed->outcome.pdfPath);
    ASSERT_TRUE(onPaper.ok());
    EXPECT_EQ(shown, onPaper.value());
    EXPECT_EQ(shown.size(), 1 + 2 + 1); // the first page's, two vacancy pages, one resultas page
}

} // namespace
} // namespace velmora::test
