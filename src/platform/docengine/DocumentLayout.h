#pragma once

#include "platform/Result.h"
#include "platform/docengine/DocTypes.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

namespace velmora::docengine {

class Document;

// What a laid-out page holds, in twips from the page's top-left corner. Text positions are
// baselines.
struct PageText {
    QPointF pos;
    QString text;
    int font = 0;
    QRgb color = 0xff000000;
};
struct PageLine {
    QPointF from;
    QPointF to;
    qreal width = 0;
    QRgb color = 0xff000000;
};
struct PageFill {
    QRectF rect;
    QRgb color = 0xffffffff;
};
struct PageImage {
    QRectF rect;
    int image = 0;
};
struct PageCheckBox {
    QRectF rect;
    bool checked = false;
};

struct PageContent {
    std::vector<PageFill> fills;
    std::vector<PageImage> images;
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
    std::vector<PageCheckBox> boxes;
    // The page begins with body rows of a table that began on the page before: whatever
    // belongs to the table's rows as a whole is not all on one page.
    bool continuesTable = false;

    void append(const PageContent& other, QPointF offset);
    bool isEmpty() const;
};

// A two-colour picture as rectangles of its dark pixels (in image pixels), so that it can be
// drawn as vector shapes, every module a whole number of device pixels. Runs of a row are
// one rectangle; rows repeating the row above extend its rectangles downwards.
struct BilevelImage {
    bool isBilevel = false;
    QRgb dark = 0xff000000;
    QRgb light = 0xffffffff;
    std::vector<QRect> darkRects;
};

// A document broken into pages: paragraphs wrapped into lines, tables split between rows,
// explicit page breaks honoured, headers and footers on every page. The document is read into
// a block model (BlockModelReader), whose paragraphs are broken into lines (ParagraphLayout,
// LineBreaker), tables into rows (TableLayout), and both put down the pages (PageFlow).
// Layouts of different documents may run on different threads at once.
class DocumentLayout {
public:
    explicit DocumentLayout(Document& document);
    ~DocumentLayout();
    DocumentLayout(const DocumentLayout&) = delete;
    DocumentLayout& operator=(const DocumentLayout&) = delete;

    // An error when the pages are not the whole document (it runs past the pages a document
    // may have); printing refuses such a layout.
    const Status& status() const;
    int pageCount() const;
    QSizeF pageSize() const; // twips
    const PageContent& page(int index) const;
    const QFont& font(int index) const;
    const QImage& image(int index) const;
    const BilevelImage& bilevel(int index) const;
    // Puts another picture in the place of picture `index` on every page that shows it; the
    // pages keep their layout (the place does not depend on the picture's pixels). Printing
    // numbers its barcodes this way once it knows the page each one landed on.
    void replaceImage(int index, const QImage& image);
    // The page's words in reading order, lines separated by '\n' (for checks and tools).
    QString pageText(int index) const;

    struct Private;

private:
    std::unique_ptr<Private> d;
};

// Family actually used to draw a font name: the metric-compatible Liberation faces stand in
// for Times New Roman, Arial and Courier New.
QString renderFamily(const QString& documentFont);

} // namespace velmora::docengine
