// Printed applications with long texts and crowded lists, read back from their PDF: the
// first sheet always holds the form, its barcode and the signature place; every list page
// carries one barcode; every page after the first names the applicant.
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

void fillLongFirstPage(ApplicationModel& model, int adaptations) {
    model.setText(u"txtApellido1", QStringLiteral("Fernández-Villaverde de la Concepción"));
    model.setText(u"txtApellido2", QStringLiteral("Martínez de Irujo y Ruiz de Alarcón"));
    model.setText(u"txtNombre", QStringLiteral("María de los Remedios Inmaculada"));
    model.setText(u"txtDomicilio", QStringLiteral("Avenida de la Constitución de mil ochocientos doce, "
                                                  "número 145, escalera B, piso 3º, puerta izquierda")
                                       .left(110));
    model.setText(u"txtAdaptaciones",
                  QStringLiteral("Mesa regulable, pantalla ampliada y pausas frecuentes. ")
                      .repeated(adaptations / 55 + 1)
                      .left(adaptations));
}

TEST(FirstSheetTest, LongTextsKeepTheFormTheBarcodeAndTheSignatureOnTheFirstSheet) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    for (int adaptations : {0, 250, 400, 1000}) {
        SCOPED_TRACE(adaptations);
        PrintingFixture f;
        PrintingFixture::addPositions(f.vacancies, 3);
        fillLongFirstPage(f.model, adaptations);
        f.printRecord = GeneraCadenaImpresion(f.model, f.situations);
        auto printed = f.runWXP(true);
        ASSERT_TRUE(printed.ok()) << printed.error().description.toStdString();
        const QString pdf = printed.value().outcome.pdfPath;
        const QString first = test::pdfPageText(pdf, 1);
        EXPECT_TRUE(first.contains(QStringLiteral("Lugar, fecha y firma"))) << "signature place";
        EXPECT_TRUE(first.contains(QStringLiteral("Protección de datos"))) << "data-protection note";
        const QStringList barcodes = barcodesOnPage(pdf, 1);
        ASSERT_EQ(barcodes.size(), 1);
        EXPECT_EQ(barcodes[0].mid(kHeaderLength, 4), QStringLiteral("P001"));
        // The whole text travels in the barcode even where paper cuts it.
        EXPECT_EQ(barcodes[0], printed.value().barcodes[0]);
        // Page 2 is the courses' and documents' sheet, never a spill-over of the first.
        EXPECT_FALSE(test::pdfPageText(pdf, 2).contains(QStringLiteral("Protección de datos")));
        f.wordProcessor.closeAndForget();
    }
}

TEST(FirstSheetTest, EveryPageAfterTheFirstNamesTheApplicantAndItsPage) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    PrintingFixture f;
    PrintingFixture::addPositions(f.vacancies, 45);
    f.printRecord = GeneraCadenaImpresion(f.model, f.situations);
    auto printed = f.runWXP(true);
    ASSERT_TRUE(printed.ok()) << printed.error().description.toStdString();
    const QString pdf = printed.value().outcome.pdfPath;
    const int pages = test::pdfPageCount(pdf);
    ASSERT_GE(pages, 3);
    const QString who = test::pdfPageText(pdf, 2);
    EXPECT_FALSE(test::pdfPageText(pdf, 1).contains(QStringLiteral("NIF: 12345678Z  ·")));
    for (int page = 2; page <= pages; ++page) {
        const QString text = test::pdfPageText(pdf, page).simplified();
        EXPECT_TRUE(text.contains(QStringLiteral("NIF: 12345678Z"))) << "page " << page;
        EXPECT_TRUE(text.contains(f.model.text(u"txtNombre").simplified())) << "page " << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Grupo: ") + f.model.text(u"cboGrupo"))) << "page " << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Página %1 de %2").arg(page).arg(pages))) << "page " << page;
    }
}

TEST(ListPagesPrintTest, CrowdedPlacesPerPageAreLoweredSoEveryListPageHasOneBarcode) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    PrintingFixture f;
    f.positionsPerPage = QStringLiteral("70");
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
        const bool listPage = test::pdfPageText(pdf, page).contains(QStringLiteral("10001"));
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
            model.setText(control.name,
                          QStringLiteral("Muñoz Pérez de la Peña, 12 º ").repeated(40).left(limit));
    }
    EXPECT_EQ(ApplicationModel::textLimit(u"txtDomicilio"), 110) << "a long but plausible address fits";
    QString text = barcodeText(QStringLiteral("12345678Z00001 A1"), BarcodeKind::FirstPage, 1,
                               GeneraCadenaImpresion(model, RecordSet()));
    Pdf417Writer writer;
    qint16 height = 2000;
    auto picture = barcodeImage(text, writer, 6000, height);
    ASSERT_TRUE(picture.ok()) << picture.error().description.toStdString();
    EXPECT_EQ(readPdf417(picture.value()).value(0), text);
}

} // namespace
} // namespace velmora
