#include "platform/docengine/LayoutDump.h"

#include "platform/docengine/DocumentLayout.h"

#include <QCryptographicHash>

namespace velmora::docengine {
namespace {

constexpr qreal kTwipsPerPoint = 20;

// Points with two decimals: finer than any difference a printer shows, coarse enough that
// the last bits of a floating-point sum do not count as a change.
QString pt(qreal twips) {
    return QString::number(twips / kTwipsPerPoint, 'f', 2);
}
QString point(QPointF p) {
    return pt(p.x()) + QLatin1Char(',') + pt(p.y());
}
QString rect(const QRectF& r) {
    return point(r.topLeft()) + QLatin1Char(' ') + pt(r.width()) + QLatin1Char('x') + pt(r.height());
}
QString color(QRgb c) {
    return QStringLiteral("#%1").arg(c, 8, 16, QLatin1Char('0'));
}
// Fonts by what they are, not by their place in the layout's list, which is an accident of
// the order in which the engine met them.
QString font(const QFont& f) {
    return QStringLiteral("%1 %2px%3%4%5%6")
        .arg(f.family())
        .arg(f.pixelSize())
        .arg(f.bold() ? QStringLiteral(" b") : QString())
        .arg(f.italic() ? QStringLiteral(" i") : QString())
        .arg(f.underline() ? QStringLiteral(" u") : QString())
        .arg(f.strikeOut() ? QStringLiteral(" s") : QString());
}
QString pixels(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < argb.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4));
    return QStringLiteral("%1x%2 %3")
        .arg(argb.width())
        .arg(argb.height())
        .arg(QString::fromLatin1(hash.result().toHex().left(16)));
}

} // namespace

QString dumpLayout(const DocumentLayout& layout) {
    QString out;
    out += QStringLiteral("pages %1 size %2x%3\n")
               .arg(layout.pageCount())
               .arg(pt(layout.pageSize().width()), pt(layout.pageSize().height()));
    for (int i = 0; i < layout.pageCount(); ++i) {
        const PageContent& page = layout.page(i);
        out += QStringLiteral("page %1\n").arg(i + 1);
        for (const PageFill& f : page.fills)
            out += QStringLiteral("fill %1 %2\n").arg(rect(f.rect), color(f.color));
        for (const PageImage& p : page.images)
            out += QStringLiteral("picture %1 %2\n").arg(rect(p.rect), pixels(layout.image(p.image)));
        for (const PageText& t : page.texts)
            out += QStringLiteral("text %1 [%2] %3 \"%4\"\n")
                       .arg(point(t.pos), font(layout.font(t.font)), color(t.color), t.text);
        for (const PageLine& l : page.lines)
            out += QStringLiteral("line %1 %2 %3 %4\n")
                       .arg(point(l.from), point(l.to), pt(l.width), color(l.color));
        for (const PageCheckBox& b : page.boxes)
            out += QStringLiteral("box %1 %2\n")
                       .arg(rect(b.rect), b.checked ? QStringLiteral("X") : QStringLiteral("-"));
    }
    return out;
}

} // namespace velmora::docengine
