// The longest texts the boxes take still fit the first page's barcode.
#include "editor/ApplicationModel.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/data/RecordSet.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeReader.h"
#include "printing/BarcodeText.h"
#include "printing/PrintRecord.h"

#include <gtest/gtest.h>

using namespace velmora;

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
