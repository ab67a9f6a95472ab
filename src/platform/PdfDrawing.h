#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QSizeF>
#include <QString>

#include <memory>
#include <optional>

namespace velmora {

// A PDF opened to draw its pages as pictures (to look for barcodes in them), with poppler.
class PdfDrawing {
public:
    virtual ~PdfDrawing() = default;

    virtual bool isLocked() const = 0;
    virtual int pageCount() const = 0;
    // Whether the PDF has an interactive form: signature fields live in one, so a PDF
    // without it is known unsigned without looking further.
    virtual bool hasForm() const = 0;
    // Page `index`'s size in points, or nothing when the page cannot be opened.
    virtual std::optional<QSizeF> pageSize(int index) const = 0;
    // Page `index` drawn at `dpi`; the drawing stops after `budgetMilliseconds`, which sets
    // `timedOut`. A null picture when the page cannot be drawn.
    virtual QImage draw(int index, int dpi, int budgetMilliseconds, bool& timedOut) = 0;
    // How many complaints the PDF library has made while drawing, in this process: a page
    // drawn with complaints may lack what is looked for in it.
    virtual int complaints() const = 0;
};

// Opens the PDF at `path` (smoothed drawing when `antialiased`). Fails with `unreadable` when
// the file is no PDF the library can open.
Result<std::unique_ptr<PdfDrawing>> openPdfDrawing(const QString& path, bool antialiased,
                                                   const QString& unreadable);

} // namespace velmora
