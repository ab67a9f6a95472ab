#include "signing/PdfSigner.h"

#include "platform/data/AtomicFile.h"
#include "signing/SigningCertificate.h"

#include <QDir>
#include <QTemporaryDir>

#include <poppler-qt6.h>

#include <algorithm>
#include <memory>

namespace velmora {
namespace {

Error signingFailed(const QString& why) {
    return Error::make(ErrorCode::InvalidProcedureCall,
                       QStringLiteral("No se ha podido firmar el PDF: %1").arg(why));
}

// The box between the caption's lines of text and the line that closes it, in points; an
// empty rectangle when the page lacks either.
QRectF signatureBox(const Poppler::Page& page, const SignatureLook& look) {
    const QList<QRectF> captions = page.search(look.caption);
    if (captions.isEmpty())
        return {};
    const QRectF caption = captions.first();
    QRectF end;
    for (const QRectF& found : page.search(look.endCaption))
        if (found.top() > caption.bottom()) {
            end = found;
            break;
        }
    if (end.isNull())
        return {};
    // The caption's cell: from its left edge to the widest of the two lines; the box starts
    // below the lowest text written in it (the place and date lines).
    const double left = std::min(caption.left(), end.left()) - 2;
    const double right = std::max(caption.right(), end.right()) + 2;
    double top = caption.bottom();
    for (const auto& box : page.textList())
        if (const QRectF r = box->boundingBox();
            r.top() > caption.bottom() && r.bottom() < end.top() && r.left() >= left && r.right() <= right)
            top = std::max(top, r.bottom());
    const double bottom = end.top() - 1;
    if (bottom - top < 12)
        return {};
    return QRectF(QPointF(left, top + 1), QPointF(right, bottom));
}

} // namespace

Status signPdf(const QString& input, const QString& output, const SigningCertificate& certificate,
               const QString& password, const SignatureLook& look, const QDateTime& at) {
    std::unique_ptr<Poppler::Document> document(Poppler::Document::load(input));
    if (!document || document->isLocked() || document->numPages() < 1)
        return signingFailed(QStringLiteral("no se puede leer %1.").arg(QDir::toNativeSeparators(input)));
    std::unique_ptr<Poppler::Page> first(document->page(0));
    const QSizeF size = first->pageSizeF();
    QRectF box = signatureBox(*first, look);
    if (box.isEmpty()) // a form without the box: the lower right corner of the first page
        box = QRectF(size.width() * 0.55, size.height() * 0.82, size.width() * 0.38, size.height() * 0.08);

    QTemporaryDir scratch;
    if (!scratch.isValid())
        return signingFailed(QStringLiteral("no hay una carpeta temporal donde escribir."));
    const QString signedPath = scratch.filePath(QStringLiteral("firmado.pdf"));
    std::unique_ptr<Poppler::PDFConverter> converter(document->pdfConverter());
    converter->setOutputFileName(signedPath);
    Poppler::PDFConverter::NewSignatureData data;
    data.setCertNickname(certificate.nickname);
    data.setPassword(password);
    data.setPage(0);
    data.setBoundingRectangle(QRectF(box.left() / size.width(), box.top() / size.height(),
                                     box.width() / size.width(), box.height() / size.height()));
    data.setSignatureText(QStringLiteral("Firmado digitalmente por\n%1\nNIF: %2\nFecha: %3")
                              .arg(certificate.holderName, certificate.nif,
                                   at.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))));
    data.setFontSize(7);
    data.setBorderWidth(0.5);
    data.setFontColor(Qt::black);
    data.setBorderColor(Qt::black);
    data.setBackgroundColor(Qt::white);
    data.setFieldPartialName(look.fieldName);
    data.setReason(look.reason);
    if (!converter->sign(data))
        return signingFailed(QStringLiteral("la biblioteca de firma no lo ha aceptado (certificado «%1»).")
                                 .arg(certificate.nickname));
    const QByteArray bytes = fileBytes(signedPath);
    if (bytes.isEmpty())
        return signingFailed(QStringLiteral("el fichero firmado ha quedado vacío."));
    return writeFileAtomically(output, bytes);
}

} // namespace velmora
