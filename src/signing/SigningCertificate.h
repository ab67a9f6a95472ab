#pragma once

#include "platform/Result.h"

#include <QDateTime>
#include <QString>

namespace velmora {

// A certificate with its private key, as the applicant picks it to sign.
struct SigningCertificate {
    QString nickname;   // its name in the certificate database, which signing asks for
    QString holderName; // given name and surnames, or the common name
    QString nif;        // the holder's NIF, upper case; empty when the subject carries none
    QString issuer;     // the authority that issued it
    QDateTime validFrom;
    QDateTime validUntil;
};

// The NIF of a subject's serialNumber attribute: Spanish personal certificates write it as
// "IDCES-12345678Z" or as the bare NIF.
QString nifFromSerialNumber(const QString& serialNumber);

// Whether `certificate` may sign the application of `dni` at `now`: its holder is the
// applicant and it is in force. The error says why not, in the applicant's words.
Status checkSigner(const SigningCertificate& certificate, const QString& dni, const QDateTime& now);

} // namespace velmora
