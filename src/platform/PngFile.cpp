#include "platform/PngFile.h"

#include <QFile>

#include <png.h>

#include <csetjmp>

namespace velmora {
namespace {

// What one decoding keeps outside the frame libpng may jump back to: objects living in that
// frame would be left without their destructors.
struct Decoding {
    QFile file;
    QImage image;
    qint64 maxPixels = 0;
    bool tooLarge = false;
};

void refuse(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignore(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep data, size_t length) {
    auto* file = static_cast<QFile*>(png_get_io_ptr(png));
    if (file->read(reinterpret_cast<char*>(data), qint64(length)) != qint64(length))
        png_error(png, "cut");
}

// Fills `d.image`; false when libpng gave up on the file or it is too large.
bool decode(Decoding& d) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, refuse, ignore);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &d.file, readBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (qint64(width) * qint64(height) > d.maxPixels) {
        d.tooLarge = true;
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    const int colour = png_get_color_type(png, info);
    const bool alpha = (colour & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    const bool grey = !(colour & PNG_COLOR_MASK_COLOR);
    png_set_expand(png);
    png_set_scale_16(png); // rounded to 8 bits, as Qt rounds
    if (grey && alpha)
        png_set_gray_to_rgb(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    d.image = QImage(int(width), int(height),
                     alpha  ? QImage::Format_RGBA8888
                     : grey ? QImage::Format_Grayscale8
                            : QImage::Format_RGB888);
    if (d.image.isNull() || png_get_rowbytes(png, info) > size_t(d.image.bytesPerLine())) {
        d.tooLarge = true;
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < d.image.height(); ++y)
            png_read_row(png, d.image.scanLine(y), nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

bool PngFile::isPng(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8);
}

Result<QImage> PngFile::read(const QString& path, qint64 maxPixels) {
    Decoding d;
    d.file.setFileName(path);
    d.maxPixels = maxPixels;
    if (!d.file.open(QIODevice::ReadOnly))
        return Error::make(ErrorCode::FileAccess, QStringLiteral("no se puede abrir"));
    if (!decode(d)) {
        d.image = QImage();
        return Error::make(ErrorCode::FileAccess, d.tooLarge
                                                      ? QStringLiteral("la imagen es demasiado grande")
                                                      : QStringLiteral("la imagen está dañada o cortada"));
    }
    return std::move(d.image);
}

} // namespace velmora
