#include "printing/PrintBarcodes.h"

#include "platform/barcode/Pdf417Writer.h"
#include "platform/docengine/Cursor.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/PagePainter.h"
#include "printing/BarcodePicture.h"
#include "printing/FinalPrintLists.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace velmora {

using namespace docengine;

namespace {

// Text key of the picture's PNG that says which barcode of the print it is: the laid-out
// pages know their pictures only by their pixels.
const QString kBarcodeTag = QStringLiteral("VelmoraCodigoBarras");

// White around the barcode's place that the check renders too (0.1 inch): what is drawn
// next to the place must not spoil the symbol either.
constexpr qreal kCheckMargin = 144;

Error printingStopped(const QString& what) {
    return Error::make(ErrorCode::InvalidProcedureCall,
                       what + QStringLiteral(" La solicitud no se ha impreso; vuelva a intentarlo y, si "
                                             "el problema continúa, comuníquelo al servicio que "
                                             "gestiona el concurso."));
}

// A list page numbered past the three digits its barcode gives the page.
Error pageTooHigh(int page) {
    return Error::make(ErrorCode::Overflow,
                       QStringLiteral("La página %1 de la solicitud no cabe en su código de barras, que "
                                      "lleva el número de página en 3 cifras: la solicitud puede tener "
                                      "como mucho %2 páginas. Acorte las listas de plazas. La solicitud "
                                      "no se ha impreso.")
                           .arg(page)
                           .arg(kMaxBarcodePage));
}

} // namespace

PrintBarcodes::PrintBarcodes(Pdf417Writer& encoder, QString header, QString pictureFolder, const Clock& clock)
    : m_encoder(encoder), m_header(std::move(header)), m_folder(std::move(pictureFolder)), m_clock(clock) {}

Status PrintBarcodes::insert(Cursor& at, BarcodeKind kind, int page, const QString& data, qint16 height) {
    if (kind != BarcodeKind::FirstPage && page > kMaxBarcodePage)
        return pageTooHigh(page);
    Placed placed{.kind = kind, .data = data, .page = page, .height = height};
    QString text = barcodeText(m_header, kind, page, data);
    qint16 placeHeight = height;
    auto stem = GeneraCodigoBarras(text, m_encoder, kBarcodePictureWidth, placeHeight, m_folder, m_clock);
    if (!stem)
        return stem.error();
    // The picture file is deleted once read, whatever happens next.
    const QString file = stem.value() + QStringLiteral(".bmp");
    QImage image(file);
    QFile::remove(file);
    if (image.isNull())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede leer la imagen del código de barras %1.").arg(file));
    image.setText(kBarcodeTag, QString::number(m_placed.size()));
    VELMORA_TRY(at.insertImage(image, QSize(kBarcodePictureWidth, placeHeight)));
    placed.text = text;
    m_placed.push_back(std::move(placed));
    return {};
}

Result<QImage> PrintBarcodes::picture(Placed& placed, int id) {
    QString text = barcodeText(m_header, placed.kind, placed.page, placed.data);
    qint16 placeHeight = placed.height;
    Result<QImage> image = barcodeImage(text, m_encoder, kBarcodePictureWidth, placeHeight);
    if (!image)
        return image.error();
    placed.text = text;
    QImage tagged = image.value();
    tagged.setText(kBarcodeTag, QString::number(id));
    return tagged;
}

Status PrintBarcodes::numberByPage(DocumentLayout& layout) {
    std::vector<int> imageOf(m_placed.size(), -1);
    for (Placed& placed : m_placed)
        placed.pageIndex = -1;
    for (int page = 0; page < layout.pageCount(); ++page)
        for (const PageImage& shown : layout.page(page).images) {
            bool isNumber = false;
            const int id = layout.image(shown.image).text(kBarcodeTag).toInt(&isNumber);
            if (!isNumber || id < 0 || id >= count() || m_placed[size_t(id)].pageIndex >= 0)
                continue;
            m_placed[size_t(id)].pageIndex = page;
            m_placed[size_t(id)].rect = shown.rect;
            imageOf[size_t(id)] = shown.image;
        }

    for (size_t id = 0; id < m_placed.size(); ++id) {
        Placed& placed = m_placed[id];
        if (placed.pageIndex < 0)
            return printingStopped(QStringLiteral("El código de barras número %1 no ha quedado en ninguna "
                                                  "página de la solicitud.")
                                       .arg(id + 1));
        // The first page's barcode always says "001".
        if (placed.kind == BarcodeKind::FirstPage)
            continue;
        // A list page's table that ran over its sheet left rows on the sheet before, which
        // this barcode would carry as its own.
        if (layout.page(placed.pageIndex).continuesTable)
            return printingStopped(QStringLiteral("Las filas de la página %1 no caben en ella junto a su "
                                                  "código de barras.")
                                       .arg(placed.pageIndex));
        if (placed.pageIndex + 1 > kMaxBarcodePage)
            return pageTooHigh(placed.pageIndex + 1);
        if (placed.page == placed.pageIndex + 1)
            continue;
        placed.page = placed.pageIndex + 1;
        Result<QImage> renumbered = picture(placed, int(id));
        if (!renumbered)
            return renumbered.error();
        layout.replaceImage(imageOf[id], renumbered.value());
    }
    return {};
}

Status PrintBarcodes::verify(const DocumentLayout& layout, int dpi) const {
    // Painted as the PDF gets it (three times the check's resolution, where every module is
    // whole device pixels), then brought down to `dpi` as a scanner would see the paper.
    const int paintDpi = 3 * dpi;
    const qreal scale = qreal(paintDpi) / kTwipsPerInch;
    for (const Placed& placed : m_placed) {
        if (placed.pageIndex < 0 || placed.pageIndex >= layout.pageCount())
            return printingStopped(QStringLiteral("Un código de barras no ha quedado en ninguna página."));
        const QRectF area = placed.rect.adjusted(-kCheckMargin, -kCheckMargin, kCheckMargin, kCheckMargin);
        const int left = int(std::floor(area.left() * scale));
        const int top = int(std::floor(area.top() * scale));
        const QSize size(int(std::ceil(area.right() * scale)) - left,
                         int(std::ceil(area.bottom() * scale)) - top);
        QImage painted(size, QImage::Format_RGB32);
        painted.fill(Qt::white);
        {
            QPainter painter(&painted);
            painter.translate(-left, -top);
            PagePainter::paintArea(painter, layout, placed.pageIndex, paintDpi, paintDpi, area);
        }
        const QImage image =
            painted.scaled(painted.size() / 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QStringList read = readPdf417(image);
        const int page = placed.pageIndex + 1;
        if (read.isEmpty())
            return printingStopped(
                QStringLiteral("El código de barras de la página %1 no se puede leer tal como se imprimiría.")
                    .arg(page));
        if (!read.contains(placed.text))
            return printingStopped(
                QStringLiteral("El código de barras de la página %1 no contiene los datos que debe llevar.")
                    .arg(page));
    }
    return {};
}

QStringList PrintBarcodes::texts() const {
    std::vector<size_t> order(m_placed.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const bool laidOut =
        std::none_of(m_placed.begin(), m_placed.end(), [](const Placed& p) { return p.pageIndex < 0; });
    if (laidOut)
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const Placed& x = m_placed[a];
            const Placed& y = m_placed[b];
            return std::pair(x.pageIndex, x.rect.top()) < std::pair(y.pageIndex, y.rect.top());
        });
    QStringList out;
    for (size_t i : order)
        out << m_placed[i].text;
    return out;
}

} // namespace velmora
