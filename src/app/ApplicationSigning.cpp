#include "app/ApplicationSigning.h"

#include "platform/data/AtomicFile.h"
#include "signing/CertificateDatabase.h"
#include "signing/PdfAttachment.h"
#include "signing/PdfSigner.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace velmora {

SignatureLook applicantSignatureLook() {
    return SignatureLook{.fieldName = QString::fromUtf16(kSignatureFieldName),
                         .caption = QStringLiteral("Lugar, fecha y firma del/la solicitante"),
                         .endCaption = QStringLiteral("Fdo.:"),
                         .reason = QStringLiteral("Solicitud de participación en el concurso de traslados")};
}
namespace {

QString signingTitle() {
    return QStringLiteral("Firmar solicitud");
}

Result<SigningCertificate> chosenCertificate(const QString& nickname) {
    auto certificates = certificate_database::signingCertificates();
    VELMORA_TRY(certificates);
    for (const SigningCertificate& certificate : certificates.value())
        if (certificate.nickname == nickname)
            return certificate;
    return Error::make(ErrorCode::ItemNotFound,
                       QStringLiteral("No hay ningún certificado «%1» con su clave en la base de datos de "
                                      "certificados.")
                           .arg(nickname));
}

// The key's password, when it is locked: asked, then tried.
Result<QString> unlockedKey(const SigningChoice& choice) {
    if (!certificate_database::needsPassword(choice.certificateNickname))
        return QString();
    const std::optional<QString> password = choice.password ? choice.password() : std::nullopt;
    if (!password)
        return Error::make(SigningError::Cancelled, QStringLiteral("Firma cancelada."));
    VELMORA_TRY(certificate_database::unlock(choice.certificateNickname, *password));
    return *password;
}

// A refusal or failure of the signing, in the words of its cause under the window's title; a
// cancelled password prompt is told nothing.
Error signingFailed(const Error& error) {
    if (error.number == SigningError::Cancelled)
        return Error::cancelled();
    return Error::told(error.number, error.description, signingTitle(), MessageIcon::Critical);
}

Result<SignedApplication> signUnlocked(SaveAndPrintFlow& flow, const SigningCertificate& signer,
                                       const QString& password, const SigningChoice& choice) {
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No hay una carpeta temporal donde preparar la "
                                          "firma."));
    const QString printed = scratch.filePath(QStringLiteral("impreso.pdf"));
    // Why the printing stopped is told as the printing says it.
    auto printout = flow.printForSigning(printed);
    if (!printout.ok())
        return printout.error();
    const QString attached = scratch.filePath(QStringLiteral("adjunto.pdf"));
    Status done = attachFile(printed, attached, QString::fromUtf16(kBarcodeTextsAttachment),
                             barcodeTextsFile(printout.value().barcodes));
    if (done.ok())
        done = signPdf(attached, choice.output, signer, password, applicantSignatureLook(),
                       QDateTime::currentDateTime());
    if (!done.ok())
        return signingFailed(done.error());
    return SignedApplication{choice.output, signer, std::move(printout).value()};
}

} // namespace

QByteArray barcodeTextsFile(const QStringList& texts) {
    QByteArray file;
    for (const QString& text : texts)
        file += text.toUtf8() + '\n';
    return file;
}

Result<SignedApplication> signApplication(SaveAndPrintFlow& flow, const QString& applicantDni,
                                          const SigningChoice& choice) {
    auto signer = chosenCertificate(choice.certificateNickname);
    if (!signer.ok())
        return signingFailed(signer.error());
    // Checked now, not at the time the printing ends: the signature's time is now too.
    if (Status fits = checkSigner(signer.value(), applicantDni, QDateTime::currentDateTime()); !fits.ok())
        return signingFailed(fits.error());
    auto password = unlockedKey(choice);
    if (!password.ok())
        return signingFailed(password.error());
    auto made = signUnlocked(flow, signer.value(), password.value(), choice);
    certificate_database::lock(choice.certificateNickname);
    return made;
}

QString signedApplicationFileName(const QString& nif, const QString& body) {
    QString name = QStringLiteral("Solicitud-%1-%2.pdf").arg(nif.trimmed().toUpper(), body.trimmed());
    // A body code is letters and digits; anything a file name may not hold is kept out.
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.isSpace())
            c = QLatin1Char('_');
    return name;
}

Status keepSignedApplication(const QString& signedPdf, const QString& destination) {
    QFile source(signedPdf);
    QByteArray bytes;
    if (source.open(QIODevice::ReadOnly))
        bytes = source.readAll();
    if (bytes.isEmpty() || bytes.size() != source.size())
        return Error::make(ErrorCode::FileAccess, QStringLiteral("No se puede leer la solicitud firmada %1.")
                                                      .arg(QDir::toNativeSeparators(signedPdf)));
    return writeFileAtomically(destination, bytes);
}

QString signedApplicationKeptNotice(const QString& path) {
    return QStringLiteral("La solicitud firmada está en\n%1\n\nNo hace falta imprimirla: preséntela en el "
                          "registro electrónico del concurso, en el plazo que indique la convocatoria.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace velmora
