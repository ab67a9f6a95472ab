#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>

namespace velmora::docengine {

class DocumentLayout;

// Draws laid-out pages on any paint device (PDF writer, printer, image). Two-colour pictures
// (barcodes) are drawn as vector rectangles with every module a whole number of device pixels;
// other pictures are drawn without smoothing and stored losslessly.
class PagePainter {
public:
    // `dpiX`/`dpiY`: device pixels per inch of the painter's device.
    // A translation already set on the painter (whole device pixels) moves the page.
    static void paint(QPainter& painter, const DocumentLayout& layout, int pageIndex, qreal dpiX, qreal dpiY);
    // The same drawing limited to what may reach `area` (twips from the page's top-left
    // corner): one place of the page rendered as the printer gets it, without the cost of
    // drawing the rest.
    static void paintArea(QPainter& painter, const DocumentLayout& layout, int pageIndex, qreal dpiX,
                          qreal dpiY, const QRectF& area);
    // The page as a white picture at `dpi` (for the screen: smooth text and lines).
    static QImage renderPage(const DocumentLayout& layout, int pageIndex, qreal dpi);
};

} // namespace velmora::docengine
