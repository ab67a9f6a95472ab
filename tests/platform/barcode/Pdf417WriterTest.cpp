#include "platform/barcode/Pdf417Writer.h"

#include "platform/data/CodePages.h"
#include "support/TempDir.h"

#include <ZXing/ReadBarcode.h>

#include <QImageReader>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Decodes with zxing-cpp directly, as an independent check of the symbol's bytes.
struct Decoded {
    bool found = false;
    bool hasEci = false;
    QByteArray bytes;
    QString text;
};

Decoded decode(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                int(grey.bytesPerLine()));
    const ZXing::Result r =
        ZXing::ReadBarcode(view, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::PDF417));
    Decoded d;
    d.found = r.isValid();
    d.hasEci = r.hasECI();
    d.bytes = QByteArray(reinterpret_cast<const char*>(r.bytes().data()), qsizetype(r.bytes().size()));
    d.text = QString::fromStdString(r.text());
    return d;
}

Result<QImage> render(const QString& text, int widthTwips, int heightTwips, Pdf417Layout* layout = nullptr) {
    Pdf417Writer writer;
    writer.setText(text);
    writer.setSize(widthTwips, heightTwips);
    return writer.render(layout);
}

} // namespace

TEST(Pdf417WriterTest, PicturesFillThePlaceWithTheSymbolOnTheModuleGrid) {
    struct Case {
        int width, height;
        QSize pixels;
    };
    for (const Case& c : {Case{6000, 2600, {1250, 542}}, Case{6000, 1170, {1250, 244}}}) {
        Pdf417Layout layout;
        Result<QImage> image = render(u"12345678Z123411"_s + QString(300, u'7'), c.width, c.height, &layout);
        ASSERT_TRUE(image.ok()) << image.error().description.toStdString();
        EXPECT_EQ(image->size(), c.pixels);
        EXPECT_EQ(image->dotsPerMeterX(), 11811);
        EXPECT_EQ((std::vector{layout.modulePixels, layout.rowPixels, layout.errorCorrectionLevel,
                               layout.dataColumns}),
                  (std::vector{3, 9, 5, 20}));
        EXPECT_FALSE(layout.utf8Eci);

        const QRect symbol = layout.symbolRect;
        EXPECT_EQ(symbol.width(), (69 + 17 * 20) * 3);
        EXPECT_EQ(symbol.height(), layout.rows * 9);
        EXPECT_EQ(symbol.left() % 3, 0);
        EXPECT_EQ(symbol.top() % 3, 0);
        // Quiet zones of at least two modules all round, all background.
        const QRect quiet = symbol.adjusted(-6, -6, 6, 6);
        EXPECT_TRUE(QRect(QPoint(0, 0), c.pixels).contains(quiet));
        for (int y = 0; y < c.pixels.height(); ++y) {
            for (int x = 0; x < c.pixels.width(); ++x) {
                if (!symbol.contains(x, y)) {
                    ASSERT_EQ(image->pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
                }
            }
        }
        // The symbol starts with the start pattern's 8 dark modules.
        for (int x = 0; x < 24; ++x)
            EXPECT_EQ(image->pixel(symbol.left() + x, symbol.top()), qRgb(0, 0, 0));
        EXPECT_EQ(image->pixel(symbol.left() + 24, symbol.top()), qRgb(255, 255, 255));
    }
}

TEST(Pdf417WriterTest, TextsDecodeToTheSameCharactersWhateverTheirCharacterSet) {
    struct Case {
        QString text;
        bool utf8Eci;
    };
    const Case cases[] = {
        // Windows-1252 texts travel as their single bytes, with no ECI.
        {u"12345678Z123411 05/03/202614:05:09V0020001  1230002456780003 1000F"_s, false},
        {u"Fern&andez|C/ Mayor, 5|1.|«Villa» 20 €|Müller ß ã\r\nsegunda línea|\t|"_s, false},
        {QString::fromUtf16(u"\u0081\u008D\u00A0byte sin letra"), false},
        // Anything else as UTF-8 behind ECI 26.
        {u"Łódź ő Ş 日本 😀"_s, true},
    };
    for (const Case& c : cases) {
        Pdf417Layout layout;
        Result<QImage> image = render(c.text, 6000, 2600, &layout);
        ASSERT_TRUE(image.ok()) << image.error().description.toStdString();
        EXPECT_EQ(layout.utf8Eci, c.utf8Eci) << c.text.toStdString();
        const Decoded d = decode(image.value());
        ASSERT_TRUE(d.found) << c.text.toStdString();
        EXPECT_EQ(d.hasEci, c.utf8Eci);
        if (c.utf8Eci)
            EXPECT_EQ(d.text, c.text);
        else
            EXPECT_EQ(d.bytes, codepage::encodeCp1252(c.text));
    }
    // The euro sign is byte 0x80 in the symbol, as Windows-1252 writes it.
    const Decoded euro = decode(render(u"20 €"_s, 6000, 1170).value());
    EXPECT_EQ(euro.bytes, QByteArray("20 \x80"));
}

TEST(Pdf417WriterTest, LongTextsTradeErrorCorrectionBeforeModuleWidth) {
    const QString digitsAndLetters = u"0001 12345 Calle Mayor|"_s;
    const auto repeated = [&](int length) {
        QString t;
        while (t.size() < length)
            t += digitsAndLetters;
        return t.left(length);
    };
    Pdf417Layout layout;
    ASSERT_TRUE(render(repeated(1000), 6000, 2600, &layout).ok());
    EXPECT_EQ(layout.errorCorrectionLevel, 5);
    EXPECT_EQ(layout.modulePixels, 3);

    // Half the width: 3-pixel modules leave room for only 4 columns.
    ASSERT_TRUE(render(repeated(1000), 3000, 2600, &layout).ok());
    EXPECT_LT(layout.modulePixels, 3);
    EXPECT_TRUE(decode(render(repeated(1000), 3000, 2600).value()).found);

    // Past 928 codewords no PDF417 symbol holds the text.
    Result<QImage> tooLong = render(repeated(2500), 6000, 2600);
    ASSERT_FALSE(tooLong.ok());
    EXPECT_EQ(tooLong.error().description,
              u"No cabe un texto de 2500 caracteres en un código de barras de 6000 x 2600 twips"_s);
    EXPECT_FALSE(render(u"x"_s, 300, 2600).ok());
    EXPECT_FALSE(render(QString(), 6000, 2600).ok());
    EXPECT_FALSE(render(u"x"_s, 0, 2600).ok());
}

TEST(Pdf417WriterTest, WritesAOneBitWindowsBitmapAtStemDotBmp) {
    test::TempDir dir;
    Pdf417Writer writer;
    writer.setText(u"ABC"_s);
    writer.setSize(6000, 1170);
    ASSERT_TRUE(writer.writeBitmap(dir.file(u"2026030514050905"_s)).ok());
    const QByteArray bytes = dir.read(u"2026030514050905.bmp"_s);
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(quint8(bytes[28]), 1); // bits per pixel
    QImageReader reader(dir.file(u"2026030514050905.bmp"_s));
    EXPECT_EQ(reader.format(), QByteArray("bmp"));
    const QImage image = reader.read();
    EXPECT_EQ(image.size(), QSize(1250, 244));
    EXPECT_EQ(decode(image).text, u"ABC"_s);

    // Written again over the same name (two pictures in one second).
    writer.setText(u"DEF"_s);
    ASSERT_TRUE(writer.writeBitmap(dir.file(u"2026030514050905"_s)).ok());
    EXPECT_EQ(decode(QImage(dir.file(u"2026030514050905.bmp"_s))).text, u"DEF"_s);

    const Status missingFolder = writer.writeBitmap(dir.file(u"no/such/folder/x"_s));
    ASSERT_FALSE(missingFolder.ok());
    EXPECT_EQ(missingFolder.error().number, ErrorCode::FileAccess);
}
