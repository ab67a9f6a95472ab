#include "printing/BarcodePicture.h"

#include "editor/ApplicationModel.h"
#include "platform/Clock.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/data/RecordSet.h"
#include "printing/BarcodeReader.h"
#include "printing/BarcodeSamples.h"
#include "printing/BarcodeText.h"
#include "printing/PrintRecord.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace velmora;

// The place is 1.3 times the asked height; the stem is folder, date, time and the minutes again.

TEST(BarcodePictureTest, PlaceHeightWithThePictureStem) {
    EXPECT_EQ((std::vector<int>{barcodePlaceHeight(2000), barcodePlaceHeight(900), barcodePlaceHeight(5),
                                barcodePlaceHeight(11), barcodePlaceHeight(12)}),
              (std::vector<int>{2600, 1170, 7, 14, 16}));
    EXPECT_EQ(barcodePictureStem("/apps/temp/", QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9))),
              "/apps/temp/2026030514050905");
    EXPECT_EQ(barcodePictureStem("/apps/temp", QDateTime(QDate(2026, 12, 31), QTime(9, 59, 1))),
              "/apps/temp/2026123109590159");
}

TEST(BarcodePictureTest, PicturesLeftByACutShortPrintGoAtStartOthersStay) {
    test::TempDir dir;
    const QDateTime now = QDateTime::currentDateTime();
    const QStringList old = {u"2024030514050905.bmp"_s, u"2024030514051005.BMP"_s,
                             u"2024030514051005.bmp.txt"_s, u"12345678Z_1234501.doc"_s};
    for (const QString& name : old + QStringList{u"2024030514051105.bmp"_s})
        dir.write(name, "x");
    for (const QString& name : old) {
        QFile file(dir.file(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(now.addSecs(-3600), QFileDevice::FileModificationTime));
    }
    // The last picture is a print going on right now in another instance.
    EXPECT_EQ(removeLeftBarcodePictures(dir.path(), now), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{"12345678Z_1234501.doc", "2024030514051005.bmp.txt", "2024030514051105.bmp"}));
}

TEST(BarcodePictureTest, GeneraCodigoBarrasWritesTheFoldedTextsBitmap) {
    test::TempDir dir;
    FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9)));
    Pdf417Writer control;
    QString text = test::sampleHeader() + "P001N|Muñoz & García|¿Dónde?|F";
    qint16 height = 2000;

    Result<QString> stem = GeneraCodigoBarras(text, control, 6000, height, dir.path(), clock);
    ASSERT_TRUE(stem.ok()) << stem.error().description.toStdString();
    EXPECT_EQ(stem.value(), dir.file("2026030514050905"));
    EXPECT_EQ(text, test::sampleHeader() + "P001N|Mu&noz   Garc&ia| D&onde |F");
    EXPECT_EQ(height, 2600);
    EXPECT_EQ(control.text(), text);
    EXPECT_EQ(control.backColor(), qRgb(255, 255, 255));

    const QImage picture(stem.value() + ".bmp");
    EXPECT_EQ(picture.size(), Pdf417Writer::pictureSize(6000, 2600));
    EXPECT_EQ(readPdf417(picture), QStringList{text});

    // Failures leave no picture; an overflowing height is left as it was.
    ASSERT_TRUE(QFile::remove(stem.value() + ".bmp"));
    height = 30000;
    Result<QString> overflow = GeneraCodigoBarras(text, control, 6000, height, dir.path(), clock);
    ASSERT_FALSE(overflow.ok());
    EXPECT_EQ(overflow.error().number, ErrorCode::Overflow);
    EXPECT_EQ(height, 30000);
    QString tooLong(3000, u'a');
    height = 900;
    ASSERT_FALSE(GeneraCodigoBarras(tooLong, control, 6000, height, dir.path(), clock).ok());
    EXPECT_FALSE(QFile::exists(stem.value() + ".bmp"));
}

// The longest texts the boxes take still fit the first page's barcode.
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
