#pragma once

#include "platform/Result.h"

#include <QDateTime>
#include <QString>

class QPainter;
class QImage;
class QRectF;

namespace velmora {

class Clock;
class Pdf417Writer;
struct Pdf417Layout;

// The place of a barcode on the page is 1.3 times the height its caller asks for
// (2000 -> 2600, 900 -> 1170): the nearest integer, halves away from zero.
int barcodePlaceHeight(int height);

// Stem of a barcode picture: the folder, then the date "YYYYMMDD" and the time as hour,
// minutes, seconds and the minutes once more (14:05:09 gives "14050905"). Two pictures
// made in the same second share it, so each is used and deleted before the next.
QString barcodePictureStem(const QString& folder, const QDateTime& now);

// Removes the barcode pictures a print cut short left in `folder` (they hold the
// applicant's data): files named as barcodePictureStem names them, last written more than a
// minute before `now` - a print in progress in another instance keeps its picture for a
// moment only. Returns how many were removed.
int removeLeftBarcodePictures(const QString& folder, const QDateTime& now);

// Makes the picture of a barcode text. `text` is folded in place (foldBarcodeText) and
// `height` becomes the height of the place (barcodePlaceHeight); the control encodes
// the folded text into a picture of `width` by that height, in twips, with a white
// background, written to the returned stem + ".bmp" in `folder`. The caller inserts
// the picture and deletes the file.
Result<QString> GeneraCodigoBarras(QString& text, Pdf417Writer& control, qint16 width, qint16& height,
                                   const QString& folder, const Clock& clock, Pdf417Layout* layout = nullptr);

// The same picture made in memory, without a file: `text` is folded and `height` becomes
// the height of the place, as above.
Result<QImage> barcodeImage(QString& text, Pdf417Writer& control, qint16 width, qint16& height);

// Draws a barcode picture into its place on a page: its dark pixels become filled
// rectangles (one per run of a row), with no smoothing, its top-left corner on a whole
// device pixel. On a PDF the bars stay sharp at any rendering resolution; on a printer or
// a page image they keep whole device pixels per module, unlike an image the PDF writer
// would compress as JPEG and viewers would filter.
void drawBarcodePicture(QPainter& painter, const QRectF& place, const QImage& picture);

} // namespace velmora
