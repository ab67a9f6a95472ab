#include "printing/BarcodeReader.h"

#include "platform/PdfDrawing.h"
#include "platform/PngFile.h"
#include "printing/Pdf417Results.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <ZXing/ReadBarcode.h>

#include <algorithm>

namespace velmora {
namespace {

Error readError(const QString& path, const QString& why) {
    return Error::make(ErrorCode::FileAccess, QStringLiteral("No se puede leer %1: %2").arg(path, why));
}

bool isPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

} // namespace

QStringList readPdf417(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                int(grey.bytesPerLine()));
    const auto hints =
        ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::PDF417).setTryHarder(true).setTryRotate(true);
    return pdf417TextsInReadingOrder(ZXing::ReadBarcodes(view, hints));
}

namespace {

// What one page may cost to look at. A4 at the scanning resolution is 3.7 million pixels;
// the cap leaves room for any real paper size while refusing pictures of gigabytes.
constexpr qint64 kMaxPagePixels = 40'000'000;
// The printed forms draw in well under a second; a page still drawing after this long is
// built to exhaust the machine.
constexpr int kMaxPageRenderMilliseconds = 15'000;

} // namespace

Result<QImage> renderPageForBarcodes(PdfDrawing& document, int index, QSizeF points, int dpi) {
    const double pixels = points.width() * dpi / 72.0 * (points.height() * dpi / 72.0);
    const QString measures = QStringLiteral("mide %1 x %2 cm")
                                 .arg(points.width() * 2.54 / 72.0, 0, 'f', 0)
                                 .arg(points.height() * 2.54 / 72.0, 0, 'f', 0);
    // A page without area (or with a size that is no number) has nothing to draw.
    if (!(pixels > 0))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("la página %1 está vacía: %2").arg(index + 1).arg(measures));
    if (pixels > double(kMaxPagePixels))
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("la página %1 %2, demasiado para buscar códigos").arg(index + 1).arg(measures));
    bool timedOut = false;
    const QImage image = document.draw(index, dpi, kMaxPageRenderMilliseconds, timedOut);
    if (timedOut)
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("la página %1 tarda demasiado en dibujarse").arg(index + 1));
    if (image.isNull())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("no se puede dibujar la página %1").arg(index + 1));
    return image;
}

Result<QStringList> readPdf417Pdf(const QString& path, int dpi) {
    Result<std::unique_ptr<PdfDrawing>> opened =
        openPdfDrawing(path, false, QStringLiteral("no es un PDF válido"));
    if (!opened)
        return readError(path, opened.error().description);
    PdfDrawing& document = *opened.value();
    if (document.isLocked())
        return readError(path, QStringLiteral("el PDF está protegido con contraseña"));
    QStringList texts;
    for (int i = 0; i < document.pageCount(); ++i) {
        const std::optional<QSizeF> points = document.pageSize(i);
        if (!points)
            return readError(path, QStringLiteral("no se puede abrir la página %1").arg(i + 1));
        const int complaintsBefore = document.complaints();
        Result<QImage> image = renderPageForBarcodes(document, i, *points, dpi);
        if (!image)
            return readError(path, image.error().description);
        const QStringList found = readPdf417(image.value());
        // A page drawn with errors may have lost exactly the barcode looked for.
        if (found.isEmpty() && document.complaints() != complaintsBefore)
            return readError(
                path, QStringLiteral("la página %1 está dañada y no se ha podido dibujar entera").arg(i + 1));
        texts << found;
    }
    return texts;
}

Result<QStringList> readPdf417File(const QString& path, int pdfDpi) {
    if (!QFileInfo(path).isFile())
        return Error::make(ErrorCode::FileNotFound,
                           QStringLiteral("No se encuentra el archivo %1").arg(path));
    if (isPdf(path))
        return readPdf417Pdf(path, pdfDpi);
    if (PngFile::isPng(path)) {
        Result<QImage> png = PngFile::read(path, kMaxPagePixels);
        if (!png.ok())
            return readError(path, png.error().description);
        return readPdf417(png.value());
    }
    QImageReader reader(path);
    // Image decoders warn in English on the console; the reason is given below in Spanish.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QImage image = reader.read();
    qInstallMessageHandler(previous);
    // Qt's reasons are English; the user reads what went wrong in Spanish.
    if (image.isNull())
        return readError(path, reader.error() != QImageReader::UnsupportedFormatError
                                   ? QStringLiteral("la imagen está dañada o cortada")
                                   : QStringLiteral("no es una imagen que se sepa leer (BMP, PNG, "
                                                    "JPEG...)"));
    return readPdf417(image);
}

} // namespace velmora
