#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>

namespace velmora {

// What the encoder chose for one picture.
struct Pdf417Layout {
    int dataColumns = 0;
    int rows = 0;
    int errorCorrectionLevel = 0;
    int modulePixels = 0; // width of the narrowest bar, in picture pixels
    int rowPixels = 0;    // height of one row of the symbol, in picture pixels
    QRect symbolRect;     // the bars inside the picture, quiet zones excluded
    bool utf8Eci = false; // text carried as UTF-8 behind ECI 26 instead of Windows-1252 bytes
};

// The PDF417 symbol maker of the printed form: it holds a text and a picture size in
// twips and writes the symbol as a Windows bitmap of exactly that size.
//
// Pictures are made at 300 pixels per inch. A module is preferably 3 pixels (0.01 inch,
// 2 pixels in a 200 dpi scan) and rows are 3 modules high; the symbol sits on the module
// grid of the picture, so printers at 300, 600 or 1200 dpi and scanners at 200 dpi see
// whole device pixels per module when the picture is drawn at its size without
// smoothing. Error correction is level 5 when it fits; longer texts step down the level
// and then the module width until the symbol fits its place.
//
// Texts that Windows-1252 can hold are encoded as Windows-1252 bytes without ECI (what
// the receiving office has always read); any other text goes as UTF-8 behind ECI 26.
class Pdf417Writer {
public:
    static constexpr int kPixelsPerInch = 300;
    static constexpr int kTwipsPerInch = 1440;
    static constexpr int kPreferredModulePixels = 3;
    static constexpr int kPreferredErrorCorrection = 5;

    void setText(const QString& text) { m_text = text; }
    const QString& text() const { return m_text; }
    void setSize(int widthTwips, int heightTwips) {
        m_widthTwips = widthTwips;
        m_heightTwips = heightTwips;
    }
    int widthTwips() const { return m_widthTwips; }
    int heightTwips() const { return m_heightTwips; }
    void setBackColor(QRgb color) { m_background = color; }
    QRgb backColor() const { return m_background; }

    // Picture size in pixels of a place given in twips.
    static QSize pictureSize(int widthTwips, int heightTwips);

    // The picture in memory (a two-colour image, background and black).
    Result<QImage> render(Pdf417Layout* layout = nullptr) const;
    // Writes the picture to stem + ".bmp", replacing a file of that name.
    Status writeBitmap(const QString& stem, Pdf417Layout* layout = nullptr) const;

private:
    QString m_text;
    int m_widthTwips = 0;
    int m_heightTwips = 0;
    QRgb m_background = qRgb(255, 255, 255);
};

} // namespace velmora
