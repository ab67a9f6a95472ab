#include "office/ScanFile.h"

#include "office/SymbolFinder.h"
#include "platform/PdfDrawing.h"
#include "platform/PngFile.h"
#include "printing/BarcodeReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace velmora {
namespace {

constexpr int kCoarsestGlanceDpi = 150;
// A scanned picture larger than this (about A4 at 600 dpi, twice over) is no scan of ours.
constexpr qint64 kLargestPicturePixels = 40'000'000;

Error unreadable(const QString& why) {
    return Error::make(ErrorCode::FileAccess, why);
}

bool startsAsPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(1024).contains("%PDF-");
}

Result<std::unique_ptr<PdfDrawing>> loadPdf(const QString& path) {
    Result<std::unique_ptr<PdfDrawing>> document =
        openPdfDrawing(path, true, QStringLiteral("el PDF está dañado o no se puede abrir"));
    if (!document)
        return document.error();
    if (document.value()->isLocked())
        return unreadable(QStringLiteral("el PDF está protegido con contraseña"));
    return document;
}

class PdfPages : public ScanPageStream {
public:
    PdfPages(std::unique_ptr<PdfDrawing> document, int dpi) : m_document(std::move(document)), m_dpi(dpi) {}

    Result<QImage> page(int index) override { return render(index, m_dpi); }
    Result<QImage> glance(int index) override {
        // Below 150 dpi the narrow modules of the list symbols blur together.
        return render(index, std::min(m_dpi, std::max(kCoarsestGlanceDpi, m_dpi * 3 / 4)));
    }

private:
    Result<QImage> render(int index, int dpi) {
        const std::optional<QSizeF> points = m_document->pageSize(index);
        if (!points)
            return unreadable(QStringLiteral("no se puede abrir la página"));
        return renderPageForBarcodes(*m_document, index, *points, dpi);
    }

    std::unique_ptr<PdfDrawing> m_document;
    int m_dpi;
};

class PicturePages : public ScanPageStream {
public:
    explicit PicturePages(const QString& path) : m_path(path), m_reader(path) {}

    Result<QImage> page(int index) override {
        if (index == m_next - 1 && !m_last.isNull())
            return m_last;
        // A PNG goes through our own reader: Qt's lets libpng print an English line for a
        // damaged one.
        if (index == 0 && PngFile::isPng(m_path)) {
            Result<QImage> png = PngFile::read(m_path, kLargestPicturePixels);
            if (!png)
                return unreadable(png.error().description);
            m_last = png.value();
            m_next = 1;
            return m_last;
        }
        if (index != m_next && !m_reader.jumpToImage(index))
            return unreadable(QStringLiteral("no se puede llegar a la imagen %1").arg(index + 1));
        m_last = m_reader.read();
        m_next = index + 1;
        if (m_last.isNull())
            return unreadable(QStringLiteral("la imagen está dañada o cortada"));
        return m_last;
    }
    Result<QImage> glance(int index) override { return page(index); }

private:
    QString m_path;
    QImageReader m_reader;
    int m_next = 0;
    QImage m_last; // the picture read last, which a glance is usually followed by
};

} // namespace

Result<ScanFileInfo> inspectScanFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return Error::make(ErrorCode::FileNotFound, QStringLiteral("no se encuentra el archivo"));
    if (info.size() == 0)
        return unreadable(QStringLiteral("el archivo está vacío"));
    ScanFileInfo file{path, startsAsPdf(path), 0};
    if (file.pdf) {
        Result<std::unique_ptr<PdfDrawing>> document = loadPdf(path);
        if (!document)
            return document.error();
        file.pages = document.value()->pageCount();
        file.form = document.value()->hasForm();
        if (file.pages <= 0)
            return unreadable(QStringLiteral("el PDF no tiene páginas"));
        return file;
    }
    QImageReader reader(path);
    if (!reader.canRead())
        return unreadable(QStringLiteral("no es un PDF ni una imagen que se pueda leer"));
    file.pages = std::max(1, reader.imageCount());
    return file;
}

Result<std::unique_ptr<ScanPageStream>> openScanPages(const ScanFileInfo& file, int dpi) {
    if (!file.pdf)
        return std::unique_ptr<ScanPageStream>(std::make_unique<PicturePages>(file.path));
    Result<std::unique_ptr<PdfDrawing>> document = loadPdf(file.path);
    if (!document)
        return document.error();
    return std::unique_ptr<ScanPageStream>(std::make_unique<PdfPages>(std::move(document).value(), dpi));
}

Result<QStringList> readPageSymbols(ScanPageStream& pages, int index) {
    Result<QImage> glance = pages.glance(index);
    if (!glance)
        return glance.error();
    if (QStringList texts = glanceTexts(glance.value()); !texts.isEmpty())
        return texts;
    glance = QImage(); // one page image per worker at a time
    Result<QImage> page = pages.page(index);
    if (!page)
        return page.error();
    return findBarcodeTexts(page.value());
}

} // namespace velmora
