#include "signing/SignedPdf.h"

#include "signing/CertificateNames.h"
#include "signing/SignatureTrust.h"

#include <QFileInfo>

#include <cert.h>
#include <certdb.h>
#include <poppler-form.h>
#include <poppler-qt6.h>
#include <secerr.h>

#include <memory>
#include <mutex>

namespace velmora {
namespace {

// The largest attachment taken: a printout of thousands of positions carries a few hundred KiB.
constexpr qsizetype kLargestAttachment = 16 << 20;

// Poppler starts NSS the first time a signature is checked, from no lock of its own; the
// trusted authorities are made once NSS runs. Checks take a millisecond or two: one at a time.
std::mutex& signatureMutex() {
    static std::mutex mutex;
    return mutex;
}

Error unreadable(const QString& why) {
    return Error::make(ErrorCode::FileAccess, why);
}

Result<std::unique_ptr<Poppler::Document>> open(const QString& path) {
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document)
        return unreadable(QStringLiteral("el PDF está dañado o no se puede abrir"));
    if (document->isLocked())
        return unreadable(QStringLiteral("el PDF está protegido con contraseña"));
    return document;
}

bool isSigned(const Poppler::FormFieldSignature& field) {
    return field.signatureType() != Poppler::FormFieldSignature::UnsignedSignature;
}

QString dateText(const QDateTime& time) {
    return time.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

// The chain of `cert` up to a trusted authority, as it stood at the signing time.
void checkChain(CERTCertificate* cert, const QDateTime& signingTime, const SignatureTrust* trust,
                PdfSignatureCheck& check) {
    QString why = QStringLiteral("no se ha indicado ninguna carpeta de autoridades de confianza");
    CERTCertList* anchors = trust ? trust->anchors(&why) : nullptr;
    if (!anchors) {
        check.findings.push_back({SignatureFault::UnknownAuthority, why});
        return;
    }
    CERTValInParam in[5];
    in[0].type = cert_pi_revocationFlags;
    // Revocation would ask the authority's servers over the network, for every file of a batch.
    in[0].value.pointer.revocation = CERT_GetClassicOCSPDisabledPolicy();
    in[1].type = cert_pi_date;
    in[1].value.scalar.time = PRTime(signingTime.toMSecsSinceEpoch()) * PR_USEC_PER_MSEC;
    in[2].type = cert_pi_trustAnchors;
    in[2].value.pointer.chain = anchors;
    in[3].type = cert_pi_useOnlyTrustAnchors;
    in[3].value.scalar.b = PR_TRUE;
    in[4].type = cert_pi_end;
    CERTValOutParam out[1];
    out[0].type = cert_po_end;
    if (CERT_PKIXVerifyCert(cert, certificateUsageEmailSigner, in, out, nullptr) == SECSuccess)
        return;
    const int error = PORT_GetError();
    CERTCertificate* issuer = CERT_FindCertIssuer(cert, PR_Now(), certUsageAnyCA);
    const QString issuerName =
        issuer ? QString::fromUtf8(issuer->subjectName) : QString::fromUtf8(cert->issuerName);
    if (issuer)
        CERT_DestroyCertificate(issuer);
    switch (error) {
    case SEC_ERROR_EXPIRED_CERTIFICATE:
    case SEC_ERROR_EXPIRED_ISSUER_CERTIFICATE: {
        PRTime notBefore = 0;
        PRTime notAfter = 0;
        CERT_GetCertTimes(cert, &notBefore, &notAfter);
        const auto when = [](PRTime t) {
            return dateText(QDateTime::fromMSecsSinceEpoch(t / PR_USEC_PER_MSEC, Qt::UTC));
        };
        check.findings.push_back(
            SignatureFinding{SignatureFault::ExpiredWhenSigned,
                             error == SEC_ERROR_EXPIRED_CERTIFICATE
                                 ? QStringLiteral("firmado el %1 con un certificado válido del %2 al %3")
                                       .arg(dateText(signingTime), when(notBefore), when(notAfter))
                                 : QStringLiteral("el %1 había caducado el certificado de la autoridad «%2»")
                                       .arg(dateText(signingTime), issuerName)});
        return;
    }
    case SEC_ERROR_UNKNOWN_ISSUER:
    case SEC_ERROR_UNTRUSTED_ISSUER:
    case SEC_ERROR_UNTRUSTED_CERT:
    case SEC_ERROR_CA_CERT_INVALID:
        check.findings.push_back({SignatureFault::UnknownAuthority,
                                  QStringLiteral("el certificado lo emite «%1», que no está entre las "
                                                 "autoridades de confianza")
                                      .arg(issuerName)});
        return;
    default:
        check.findings.push_back(
            {SignatureFault::UnknownAuthority,
             QStringLiteral("el certificado no sirve para firmar (error %1 de NSS)").arg(error)});
    }
}

PdfSignatureCheck checkSignature(const Poppler::FormFieldSignature& field, qint64 fileSize,
                                 const SignatureTrust* trust) {
    using Info = Poppler::SignatureValidationInfo;
    // Poppler hands over the signer's certificate only when it checks it too (against its own
    // store, without asking the network); its verdict is not used: the certificate is checked
    // below, against the office's authorities at the signing time.
    const Info info = field.validate(Poppler::FormFieldSignature::ValidateVerifyCertificate |
                                         Poppler::FormFieldSignature::ValidateWithoutOCSPRevocationCheck,
                                     QDateTime());
    PdfSignatureCheck check;
    switch (info.signatureStatus()) {
    case Info::SignatureValid:
        break;
    case Info::SignatureDigestMismatch:
        check.findings.push_back({SignatureFault::ChangedAfterSigning,
                                  QStringLiteral("el contenido firmado no coincide con el de la firma")});
        break;
    default:
        check.findings.push_back(
            {SignatureFault::Invalid, QStringLiteral("la firma no se puede comprobar (estado %1 de poppler)")
                                          .arg(int(info.signatureStatus()))});
    }
    const QList<qint64> ranges = info.signedRangeBounds();
    if (info.signatureStatus() != Info::SignatureDigestMismatch &&
        (!info.signsTotalDocument() || ranges.isEmpty() || ranges.last() != fileSize))
        check.findings.push_back(
            {SignatureFault::ChangedAfterSigning,
             QStringLiteral("la firma cubre %1 de los %2 bytes del archivo: se añadió algo después de firmar")
                 .arg(ranges.isEmpty() ? 0 : ranges.last())
                 .arg(fileSize)});
    if (info.signingTime() > 0)
        check.signingTime = QDateTime::fromSecsSinceEpoch(info.signingTime(), Qt::UTC);
    else
        check.findings.push_back(
            {SignatureFault::Invalid, QStringLiteral("la firma no lleva la fecha en que se hizo")});

    const QByteArray der = info.certificateInfo().certificateData();
    SECItem item{siDERCertBuffer, reinterpret_cast<unsigned char*>(const_cast<char*>(der.constData())),
                 static_cast<unsigned int>(der.size())};
    CERTCertificate* cert =
        der.isEmpty() ? nullptr
                      : CERT_NewTempCertificate(CERT_GetDefaultCertDB(), &item, nullptr, PR_FALSE, PR_TRUE);
    if (!cert) {
        // A signature that does not verify gives no signer to look at.
        if (info.signatureStatus() == Info::SignatureValid)
            check.findings.push_back(
                {SignatureFault::Invalid, QStringLiteral("la firma no trae el certificado del firmante")});
        return check;
    }
    check.signerName = nameAttribute(cert->subject, SEC_OID_AVA_COMMON_NAME);
    check.signerNif = holderNif(*cert);
    if (check.signingTime.isValid())
        checkChain(cert, check.signingTime, trust, check);
    CERT_DestroyCertificate(cert);
    return check;
}

} // namespace

Result<SignedPdf> readSignedPdf(const QString& path, const QString& attachmentName,
                                const SignatureTrust* trust) {
    Result<std::unique_ptr<Poppler::Document>> opened = open(path);
    if (!opened)
        return opened.error();
    Poppler::Document& document = *opened.value();
    SignedPdf pdf;
    pdf.pages = document.numPages();
    const qint64 fileSize = QFileInfo(path).size();
    // Finding the fields reads the form's resources, the dearest part of opening a signed
    // file: done outside the lock, so files are opened on every core at once.
    const std::vector<std::unique_ptr<Poppler::FormFieldSignature>> fields = document.signatures();
    {
        std::lock_guard lock(signatureMutex());
        for (const std::unique_ptr<Poppler::FormFieldSignature>& field : fields) {
            if (!isSigned(*field))
                continue;
            PdfSignatureCheck check = checkSignature(*field, fileSize, trust);
            if (!pdf.signature)
                pdf.signature = std::move(check);
            else // a second signature: its faults count, the first names the signer
                for (SignatureFinding& finding : check.findings)
                    pdf.signature->findings.push_back(std::move(finding));
        }
    }
    if (!pdf.signature)
        return pdf;
    for (Poppler::EmbeddedFile* file : document.embeddedFiles()) {
        if (file->name() != attachmentName || pdf.attachment)
            continue;
        QByteArray data = file->data();
        if (data.size() > kLargestAttachment)
            return unreadable(
                QStringLiteral("el fichero adjunto %1 es demasiado grande").arg(attachmentName));
        pdf.attachment = std::move(data);
    }
    return pdf;
}

} // namespace velmora
