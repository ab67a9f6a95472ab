#include "signing/SigningCertificate.h"

namespace velmora {

QString nifFromSerialNumber(const QString& serialNumber) {
    QString nif = serialNumber.trimmed().toUpper();
    if (nif.startsWith(QLatin1String("IDCES-")))
        nif.remove(0, 6);
    return nif;
}

Status checkSigner(const SigningCertificate& certificate, const QString& dni, const QDateTime& now) {
    if (certificate.nif.isEmpty() || certificate.nif != dni.trimmed().toUpper())
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("El certificado elegido no es del solicitante (NIF %1).")
                               .arg(certificate.nif.isEmpty()
                                        ? QStringLiteral("no indicado en el certificado")
                                        : certificate.nif));
    if (now < certificate.validFrom || now > certificate.validUntil) {
        const QString format = QStringLiteral("dd/MM/yyyy HH:mm");
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("El certificado elegido no está en vigor: es válido del %1 al %2.")
                               .arg(certificate.validFrom.toLocalTime().toString(format),
                                    certificate.validUntil.toLocalTime().toString(format)));
    }
    return {};
}

} // namespace velmora
