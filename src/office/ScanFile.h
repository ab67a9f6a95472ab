#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

namespace velmora {

// A file handed to the reader: a PDF (known by its content) or a picture Qt reads, with
// its number of pages (a TIFF may hold several pictures).
struct ScanFileInfo {
    QString path;
    bool pdf = false;
    int pages = 0;
    bool form = false; // a PDF with an interactive form, which a signed one has
};

// Looks at a file without rendering it. Missing, empty, damaged or locked files and files
// that are neither a PDF nor a picture give an error saying which.
Result<ScanFileInfo> inspectScanFile(const QString& path);

// The pages of one file, one at a time and in order, so a long PDF never sits in memory
// whole. Each stream has its own document: streams of one file may run on different threads.
class ScanPageStream {
public:
    virtual ~ScanPageStream() = default;
    // The 0-based page `index`, rendered at the stream's resolution when a PDF.
    virtual Result<QImage> page(int index) = 0;
    // The same page for a first look: a PDF page rendered at three quarters of the stream's
    // resolution, 150 dpi at least (drawing costs as many pixels as it makes, and most
    // symbols read there too); a picture as it is (its page() next does not read it again).
    virtual Result<QImage> glance(int index) = 0;
};

Result<std::unique_ptr<ScanPageStream>> openScanPages(const ScanFileInfo& file, int dpi);

// The barcode texts of the 0-based page `index`: a glance at a coarse rendering finds most
// symbols at a fraction of the cost; only a page where it finds none is drawn at full
// resolution and given every try.
Result<QStringList> readPageSymbols(ScanPageStream& pages, int index);

} // namespace velmora
