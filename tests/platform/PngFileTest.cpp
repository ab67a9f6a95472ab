// PNG pictures read without Qt's decoder: every pixel layout reads as Qt reads it, and damaged
// files are refused in Spanish with nothing printed on the console.
#include "platform/PngFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A small picture with every kind of pixel a layout can lose: black, white, colours, shades.
QImage pattern() {
    QImage image(37, 23, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 7, y * 11, (x * y) % 256, (x + y) % 3 ? 255 : 0));
    return image;
}

} // namespace

TEST(PngFileTest, EveryPixelLayoutReadsAsQtReadsIt) {
    test::TempDir dir;
    const QImage source = pattern();
    const QImage::Format layouts[] = {
        QImage::Format_Mono,  QImage::Format_Indexed8, QImage::Format_Grayscale8, QImage::Format_Grayscale16,
        QImage::Format_RGB32, QImage::Format_ARGB32,   QImage::Format_RGBA64};
    for (const QImage::Format layout : layouts) {
        const QString path = dir.file(u"p%1.png"_s.arg(int(layout)));
        ASSERT_TRUE(source.convertToFormat(layout).save(path, "PNG")) << layout;
        ASSERT_TRUE(PngFile::isPng(path));
        const Result<QImage> read = PngFile::read(path, 1000);
        ASSERT_TRUE(read.ok()) << layout << read.error().description.toStdString();
        const QImage expected = QImage(path).convertToFormat(QImage::Format_ARGB32);
        const QImage actual = read.value().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(actual.size(), expected.size()) << layout;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << layout << " at " << x << "," << y;
    }
}

TEST(PngFileTest, DamagedOrHugeFilesAreRefusedInSpanishWithoutConsoleOutput) {
    test::TempDir dir;
    const QString whole = dir.file(u"entera.png"_s);
    ASSERT_TRUE(pattern().save(whole, "PNG"));
    const QByteArray bytes = dir.read(u"entera.png"_s);
    QByteArray badSum = bytes;
    badSum[20] = char(badSum[20] ^ 0x40); // inside the header chunk: its checksum no longer matches
    QByteArray badData = bytes;
    const qsizetype data = badData.indexOf("IDAT") + 4;
    badData.replace(data, 6, "basura");

    for (const QByteArray& damaged : {bytes.left(bytes.size() / 2), badSum, badData, bytes.left(8)}) {
        const QString path = dir.write(u"dañada.png"_s, damaged);
        testing::internal::CaptureStderr();
        const Result<QImage> read = PngFile::read(path, 1000);
        const std::string console = testing::internal::GetCapturedStderr();
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.error().description, u"la imagen está dañada o cortada"_s);
        EXPECT_EQ(console, "");
    }

    const Result<QImage> huge = PngFile::read(whole, 37 * 23 - 1);
    ASSERT_FALSE(huge.ok());
    EXPECT_EQ(huge.error().description, u"la imagen es demasiado grande"_s);
    EXPECT_FALSE(PngFile::isPng(dir.write(u"texto.png"_s, "no soy un PNG")));
}
