#include "printing/BarcodeReader.h"

#include "platform/data/CodePages.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <ZXing/ReadBarcode.h>
#include <poppler-qt6.h>

#include <algorithm>

namespace velmora {
namespace {

QString textOf(const ZXing::Result& result) {
    if (!result.hasECI()) {
        const ZXing::ByteArray& bytes = result.bytes();
        return codepage::decodeCp1252(
            QByteArrayView(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    return QString::fromStdWString(result.text());
}

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
    ZXing::Results results = ZXing::ReadBarcodes(view, hints);
    std::erase_if(results, [](const ZXing::Result& r) { return !r.isValid(); });

    const auto topLeft = [](const ZXing::Result& r) {
        const ZXing::Position& p = r.position();
        int top = p[0].y, left = p[0].x;
        for (int i = 1; i < 4; ++i) {
            top = std::min(top, p[i].y);
            left = std::min(left, p[i].x);
        }
        return std::pair(top, left);
    };
    std::stable_sort(results.begin(), results.end(),
                     [&](const ZXing::Result& a, const ZXing::Result& b) { return topLeft(a) < topLeft(b); });

    QStringList texts;
    for (const ZXing::Result& r : results)
        texts << textOf(r);
    return texts;
}

Result<QStringList> readPdf417Pdf(const QString& path, int dpi) {
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document)
        return readError(path, QStringLiteral("no es un PDF válido"));
    if (document->isLocked())
        return readError(path, QStringLiteral("el PDF está protegido con contraseña"));
    QStringList texts;
    for (int i = 0; i < document->numPages(); ++i) {
        std::unique_ptr<Poppler::Page> page = document->page(i);
        if (!page)
            return readError(path, QStringLiteral("no se puede abrir la página %1").arg(i + 1));
        const QImage image = page->renderToImage(dpi, dpi);
        if (image.isNull())
            return readError(path, QStringLiteral("no se puede dibujar la página %1").arg(i + 1));
        texts << readPdf417(image);
    }
    return texts;
}

Result<QStringList> readPdf417File(const QString& path, int pdfDpi) {
    if (!QFileInfo(path).isFile())
        return Error::make(ErrorCode::FileNotFound,
                           QStringLiteral("No se encuentra el archivo %1").arg(path));
    if (isPdf(path))
        return readPdf417Pdf(path, pdfDpi);
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull())
        return readError(path, reader.errorString());
    return readPdf417(image);
}

} // namespace velmora
