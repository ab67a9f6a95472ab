#include "platform/docengine/DocumentPrinter.h"

#include "platform/SystemPrinter.h"
#include "platform/data/AtomicFile.h"
#include "platform/docengine/DocTypes.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/PagePainter.h"
#include "platform/docengine/PdfViewerPreferences.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace velmora::docengine {

namespace {

// PDF coordinates fall on this grid, so barcode modules are whole pixels at 300, 600 and 1200 dpi.
constexpr int kPdfResolution = 600;

QPageSize pageSizeOf(const DocumentLayout& layout) {
    const QSizeF points(layout.pageSize().width() / 20.0, layout.pageSize().height() / 20.0);
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Point);
    if (std::abs(points.width() - a4.width()) < 2 && std::abs(points.height() - a4.height()) < 2)
        return QPageSize(QPageSize::A4);
    return QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch);
}

Error printError(const QString& detail) {
    return Error::make(DocError::PrintFailed, detail);
}

} // namespace

QString DocumentPrinter::pdfPathFor(const QString& documentPath) {
    const QFileInfo fi(documentPath);
    return fi.dir().filePath(fi.completeBaseName() + QStringLiteral(".pdf"));
}

Result<int> DocumentPrinter::writePdf(const DocumentLayout& layout, const QString& pdfPath,
                                      const QString& title) {
    if (!layout.status().ok())
        return printError(layout.status().error().description);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_6);
        writer.setPageLayout(QPageLayout(pageSizeOf(layout), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Velmora"));
        QPainter painter;
        if (!painter.begin(&writer))
            return printError(QStringLiteral("No se puede crear el PDF %1.").arg(pdfPath));
        for (int i = 0; i < layout.pageCount(); ++i) {
            if (i > 0)
                writer.newPage();
            PagePainter::paint(painter, layout, i, kPdfResolution, kPdfResolution);
        }
        painter.end();
    }
    QByteArray bytes = buffer.data();
    // Without the viewer preference the file is still a correct PDF; keep it rather than fail.
    if (auto adjusted = addNoPrintScaling(bytes); adjusted.ok())
        bytes = adjusted.value();
    if (const Status written = writeFileAtomically(pdfPath, bytes); !written)
        return printError(written.error().description);
    return layout.pageCount();
}

Result<int> DocumentPrinter::writePdf(Document& document, const QString& pdfPath) {
    const DocumentLayout layout(document);
    return writePdf(layout, pdfPath, QFileInfo(document.path()).completeBaseName());
}

Result<PrintOutcome> DocumentPrinter::print(Document& document, PrintDestination destination,
                                            SystemPrinter* printers) {
    const bool toPdf = destination == PrintDestination::Pdf || (destination == PrintDestination::Automatic &&
                                                                !(printers && printers->hasDefaultPrinter()));
    if (toPdf && document.path().isEmpty())
        return Error::make(DocError::NoPath,
                           QStringLiteral("Hay que guardar el documento antes de imprimirlo en PDF."));
    const DocumentLayout layout(document);
    return print(layout, document.path(), destination, printers);
}

Result<PrintOutcome> DocumentPrinter::print(const DocumentLayout& layout, const QString& documentPath,
                                            PrintDestination destination, SystemPrinter* printers) {
    if (!layout.status().ok())
        return printError(layout.status().error().description);
    // The default printer is asked for once, both to choose and to print on.
    DefaultPrinter printer =
        destination == PrintDestination::Pdf || !printers
            ? DefaultPrinter{}
            : printers->openDefaultPrinter(pageSizeOf(layout), QFileInfo(documentPath).completeBaseName());
    const bool toPrinter = destination == PrintDestination::Printer ||
                           (destination == PrintDestination::Automatic && printer.device);
    PrintOutcome outcome;
    if (!toPrinter) {
        if (documentPath.isEmpty())
            return Error::make(DocError::NoPath,
                               QStringLiteral("Hay que guardar el documento antes de imprimirlo en PDF."));
        outcome.pdfPath = pdfPathFor(documentPath);
        auto pages = writePdf(layout, outcome.pdfPath, QFileInfo(documentPath).completeBaseName());
        if (!pages.ok())
            return pages.error();
        outcome.pageCount = pages.value();
        return outcome;
    }
    if (!printer.device)
        return printError(QStringLiteral("No hay ninguna impresora predeterminada configurada."));
    QPagedPaintDevice& device = *printer.device;
    QPainter painter;
    if (!painter.begin(&device))
        return printError(QStringLiteral("No se puede imprimir en la impresora %1.").arg(printer.name));
    const qreal dpiX = device.logicalDpiX();
    const qreal dpiY = device.logicalDpiY();
    for (int i = 0; i < layout.pageCount(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return printError(QStringLiteral("La impresora %1 ha rechazado el documento.").arg(printer.name));
        }
        PagePainter::paint(painter, layout, i, dpiX, dpiY);
    }
    if (!painter.end())
        return printError(QStringLiteral("La impresora %1 ha rechazado el documento.").arg(printer.name));
    outcome.printed = true;
    outcome.printerName = printer.name;
    outcome.pageCount = layout.pageCount();
    return outcome;
}

} // namespace velmora::docengine
