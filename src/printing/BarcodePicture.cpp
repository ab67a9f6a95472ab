#include "printing/BarcodePicture.h"

#include "platform/Clock.h"
#include "platform/barcode/Pdf417Writer.h"
#include "printing/BarcodeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QRegularExpression>

#include <cmath>
#include <cstring>
#include <limits>

namespace velmora {

int barcodePlaceHeight(int height) {
    return int(std::lround(height * 13 / 10.0));
}

namespace {

constexpr qint64 kBarcodePictureLifetimeSeconds = 60;

} // namespace

QString barcodePictureStem(const QString& folder, const QDateTime& now) {
    const QString name = now.toString(QStringLiteral("yyyyMMdd")) + now.toString(QStringLiteral("HHmmss")) +
                         now.toString(QStringLiteral("mm"));
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

int removeLeftBarcodePictures(const QString& folder, const QDateTime& now) {
    static const QRegularExpression pictureName(QStringLiteral("^[0-9]{16}\\.bmp$"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QDir dir(folder);
    int removed = 0;
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::System | QDir::Hidden)) {
        if (!pictureName.match(file.fileName()).hasMatch() ||
            file.lastModified().secsTo(now) < kBarcodePictureLifetimeSeconds)
            continue;
        if (QFile::remove(file.filePath()))
            ++removed;
    }
    return removed;
}

namespace {

// Steps shared by the picture file and the picture in memory: the place's height, the
// folded text, a white background.
Status setUpControl(QString& text, Pdf417Writer& control, qint16 width, qint16& height) {
    const int placeHeight = barcodePlaceHeight(height);
    if (placeHeight > std::numeric_limits<qint16>::max() || placeHeight < std::numeric_limits<qint16>::min())
        return Error::make(ErrorCode::Overflow, QStringLiteral("Desbordamiento"));
    height = qint16(placeHeight);
    text = foldBarcodeText(text);

    control.setBackColor(qRgb(255, 255, 255));
    control.setText(text);
    control.setSize(width, height);
    return {};
}

} // namespace

Result<QImage> barcodeImage(QString& text, Pdf417Writer& control, qint16 width, qint16& height) {
    VELMORA_TRY(setUpControl(text, control, width, height));
    return control.render();
}

Result<QString> GeneraCodigoBarras(QString& text, Pdf417Writer& control, qint16 width, qint16& height,
                                   const QString& folder, const Clock& clock, Pdf417Layout* layout) {
    VELMORA_TRY(setUpControl(text, control, width, height));
    const QString stem = barcodePictureStem(folder, clock.now());
    VELMORA_TRY(control.writeBitmap(stem, layout));
    return stem;
}

void drawBarcodePicture(QPainter& painter, const QRectF& place, const QImage& picture) {
    if (picture.isNull() || place.isEmpty())
        return;
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const int width = grey.width();
    const int height = grey.height();

    // Whole device pixels per module need the symbol to start on a device pixel.
    QPointF origin = place.topLeft();
    const QTransform toDevice = painter.deviceTransform();
    if (toDevice.type() <= QTransform::TxScale) {
        const QPointF device = toDevice.map(origin);
        origin = toDevice.inverted().map(QPointF(std::round(device.x()), std::round(device.y())));
    }
    const double xScale = place.width() / width;
    const double yScale = place.height() / height;

    // Identical pixel rows (a symbol row is several of them) become one band of rectangles.
    QList<QRectF> bars;
    for (int y = 0; y < height;) {
        const uchar* line = grey.constScanLine(y);
        int end = y + 1;
        while (end < height && std::memcmp(grey.constScanLine(end), line, size_t(width)) == 0)
            ++end;
        for (int x = 0; x < width;) {
            if (line[x] >= 128) {
                ++x;
                continue;
            }
            const int runStart = x;
            while (x < width && line[x] < 128)
                ++x;
            bars << QRectF(origin.x() + runStart * xScale, origin.y() + y * yScale, (x - runStart) * xScale,
                           (end - y) * yScale);
        }
        y = end;
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(origin, place.size()), QColor(grey.pixel(0, 0)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(bars);
    painter.restore();
}

} // namespace velmora
