#pragma once

#include <QPainter>

namespace velmora::docengine {

class DocumentLayout;

// Draws laid-out pages on any paint device (PDF writer, printer, image). Two-colour pictures
// (barcodes) are drawn as vector rectangles with every module a whole number of device pixels;
// other pictures are drawn without smoothing and stored losslessly.
class PagePainter {
public:
    // `dpiX`/`dpiY`: device pixels per inch of the painter's device.
    static void paint(QPainter& painter, const DocumentLayout& layout, int pageIndex, qreal dpiX, qreal dpiY);
};

} // namespace velmora::docengine
