#include "platform/docengine/PagePainter.h"

#include "platform/docengine/DocTypes.h"
#include "platform/docengine/DocumentLayout.h"

#include <cmath>

namespace velmora::docengine {

namespace {

// How a page is drawn: for paper and the checks that read it as paper, or for a screen.
enum class Target { Paper, Screen };

// On a screen a picture whose whole-pixel modules would outgrow its place by more than this
// is drawn smoothly into the place instead (the page must keep its look at any zoom).
constexpr qreal kScreenModuleSlack = 1.2;

void drawBilevel(QPainter& painter, const BilevelImage& b, const QImage& image, const QRectF& rectTwips,
                 qreal sx, qreal sy, QPointF shift, Target target) {
    const QSize pixels = image.size();
    // Device geometry: whole device pixels per module, centred in the picture's box. Each
    // rectangle is filled on its own: viewers that smooth edges leave touching corners of one
    // combined path grey, separate rectangles on whole pixels stay black and white.
    const QRectF dev(rectTwips.x() * sx, rectTwips.y() * sy, rectTwips.width() * sx, rectTwips.height() * sy);
    const int mw = std::max(1, static_cast<int>(std::lround(dev.width() / pixels.width())));
    const int mh = std::max(1, static_cast<int>(std::lround(dev.height() / pixels.height())));
    const qreal w = qreal(mw) * pixels.width();
    const qreal h = qreal(mh) * pixels.height();
    if (target == Target::Screen &&
        (w > dev.width() * kScreenModuleSlack || h > dev.height() * kScreenModuleSlack)) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(rectTwips, image);
        painter.restore();
        return;
    }
    const qreal x = std::round(dev.x() + (dev.width() - w) / 2);
    const qreal y = std::round(dev.y() + (dev.height() - h) / 2);
    painter.save();
    painter.setTransform(QTransform::fromTranslate(shift.x(), shift.y()));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    if (b.light != 0xffffffff)
        painter.fillRect(QRectF(x, y, w, h), QColor::fromRgba(b.light));
    painter.setBrush(QColor::fromRgba(b.dark));
    for (const QRect& r : b.darkRects)
        painter.drawRect(QRectF(x + qreal(r.x()) * mw, y + qreal(r.y()) * mh, qreal(r.width()) * mw,
                                qreal(r.height()) * mh));
    painter.restore();
}

// Whether something whose bounds are `r` may reach the area drawn (all of the page without one).
bool reaches(const QRectF* area, const QRectF& r) {
    return !area || area->intersects(r.normalized());
}

void paintPage(QPainter& painter, const DocumentLayout& layout, int pageIndex, qreal dpiX, qreal dpiY,
               const QRectF* area, Target target = Target::Paper) {
    const PageContent& page = layout.page(pageIndex);
    const qreal sx = dpiX / kTwipsPerInch;
    const qreal sy = dpiY / kTwipsPerInch;
    const QPointF shift(painter.transform().dx(), painter.transform().dy());
    painter.save();
    painter.scale(sx, sy);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    for (const PageFill& f : page.fills)
        if (reaches(area, f.rect))
            painter.fillRect(f.rect, QColor::fromRgba(f.color));

    for (const PageImage& im : page.images) {
        if (!reaches(area, im.rect))
            continue;
        const BilevelImage& b = layout.bilevel(im.image);
        if (b.isBilevel)
            drawBilevel(painter, b, layout.image(im.image), im.rect, sx, sy, shift, target);
        else
            painter.drawImage(im.rect, layout.image(im.image));
    }

    int currentFont = -1;
    QRgb currentColor = 0;
    bool penSet = false;
    for (const PageText& t : page.texts) {
        if (area) {
            // From the ascent above the baseline to the descent below it; a text starts at its x.
            const qreal size = layout.font(t.font).pixelSize();
            if (t.pos.x() > area->right() ||
                !reaches(area, QRectF(area->x(), t.pos.y() - size, 1, 1.4 * size)))
                continue;
        }
        if (t.font != currentFont) {
            painter.setFont(layout.font(t.font));
            currentFont = t.font;
        }
        if (!penSet || t.color != currentColor) {
            painter.setPen(QColor::fromRgba(t.color));
            currentColor = t.color;
            penSet = true;
        }
        painter.drawText(t.pos, t.text);
    }

    for (const PageLine& l : page.lines) {
        if (!reaches(area, QRectF(l.from, l.to).normalized().adjusted(-l.width, -l.width, l.width, l.width)))
            continue;
        QPen pen(QColor::fromRgba(l.color), l.width);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(l.from, l.to);
    }

    for (const PageCheckBox& b : page.boxes) {
        if (!reaches(area, b.rect))
            continue;
        const qreal pw = std::max<qreal>(8, b.rect.height() / 14);
        QPen pen(Qt::black, pw);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QRectF r = b.rect.adjusted(pw / 2, pw / 2, -pw / 2, -pw / 2);
        painter.drawRect(r);
        if (b.checked) {
            const qreal inset = r.width() * 0.12;
            const QRectF x = r.adjusted(inset, inset, -inset, -inset);
            painter.drawLine(x.topLeft(), x.bottomRight());
            painter.drawLine(x.topRight(), x.bottomLeft());
        }
    }
    painter.restore();
}

} // namespace

void PagePainter::paint(QPainter& painter, const DocumentLayout& layout, int pageIndex, qreal dpiX,
                        qreal dpiY) {
    paintPage(painter, layout, pageIndex, dpiX, dpiY, nullptr);
}

void PagePainter::paintArea(QPainter& painter, const DocumentLayout& layout, int pageIndex, qreal dpiX,
                            qreal dpiY, const QRectF& area) {
    paintPage(painter, layout, pageIndex, dpiX, dpiY, &area);
}

QImage PagePainter::renderPage(const DocumentLayout& layout, int pageIndex, qreal dpi) {
    const QSizeF twips = layout.pageSize();
    QImage image(std::max(1, qRound(twips.width() / kTwipsPerInch * dpi)),
                 std::max(1, qRound(twips.height() / kTwipsPerInch * dpi)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    // Smooth text, but sharp shapes: a blurred barcode edge would read badly off the screen.
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, layout, pageIndex, dpi, dpi, nullptr, Target::Screen);
    return image;
}

} // namespace velmora::docengine
