#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace velmora {

class SignatureTrust;

// What can be wrong with a PDF signature, from the reader's point of view.
enum class SignatureFault {
    Invalid,             // the signature does not verify (damaged, malformed, wrong key)
    ChangedAfterSigning, // a signed byte changed, or bytes were added after the signed ones
    UnknownAuthority,    // the signer's chain ends in no trusted authority
    ExpiredWhenSigned,   // the certificate (or one above it) was not valid at the signing time
};

struct SignatureFinding {
    SignatureFault fault;
    QString detail; // what exactly, in Spanish
};

// A PDF signature as checked: the signature itself and what it covers by poppler, the
// signer's chain at the moment of signing by NSS against the trusted authorities.
struct PdfSignatureCheck {
    QString signerName;                     // the subject's common name
    QString signerNif;                      // its serialNumber attribute, "IDCES-" dropped, upper case
    QDateTime signingTime;                  // UTC; invalid when the signature carries none
    std::vector<SignatureFinding> findings; // empty: the signature holds
};

struct SignedPdf {
    int pages = 0;
    std::optional<PdfSignatureCheck> signature; // none: nothing in the PDF was signed
    std::optional<QByteArray> attachment;       // the embedded file asked for, when there is one
};

// Opens a PDF, checks its signatures against `trust` (null: no authority is trusted) and,
// when it carries one, takes its embedded file named `attachmentName` (a PDF that carries
// none is only counted). Safe from several threads at once.
Result<SignedPdf> readSignedPdf(const QString& path, const QString& attachmentName,
                                const SignatureTrust* trust);

} // namespace velmora
