#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace velmora {

class PdfDrawing;

// Resolution at which PDF pages are looked at: what the receiving office scans at.
inline constexpr int kBarcodeScanDpi = 200;

// Every PDF417 text in a picture, top to bottom, then left to right. Symbols without ECI
// are read as Windows-1252 bytes (what Pdf417Writer writes for such texts); symbols with
// ECI in the character set they name.
QStringList readPdf417(const QImage& image);

// Page `index` (from 0) of a PDF drawn at `dpi` to look for barcodes in, within what one page
// may cost: its size at that resolution and its drawing time are capped, so that a page built
// to exhaust the machine is refused. The error's text names the page, not the file.
// `points` is the page's size.
Result<QImage> renderPageForBarcodes(PdfDrawing& document, int index, QSizeF points, int dpi);

// Every PDF417 text of every page of a PDF, pages in order, each page rendered at `dpi`.
Result<QStringList> readPdf417Pdf(const QString& path, int dpi = kBarcodeScanDpi);

// Every PDF417 text of a file: a PDF (by content) or a picture Qt reads (BMP, PNG, JPEG...).
Result<QStringList> readPdf417File(const QString& path, int pdfDpi = kBarcodeScanDpi);

} // namespace velmora
