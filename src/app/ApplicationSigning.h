#pragma once

#include "app/SaveAndPrintFlow.h"
#include "platform/Result.h"
#include "printing/ApplicationDocument.h"
#include "signing/PdfSigner.h"
#include "signing/SigningCertificate.h"

#include <QString>

#include <functional>
#include <optional>

namespace velmora {

// The name of the file of barcode texts embedded in a signed application.
inline constexpr char16_t kBarcodeTextsAttachment[] = u"velmora-codigos.txt";
// The name of the signature field of a signed application.
inline constexpr char16_t kSignatureFieldName[] = u"FirmaSolicitante";

// How the applicant's signature shows on the first page: in the form's box for it.
SignatureLook applicantSignatureLook();

// What the applicant chose to sign with, and where the signed application goes.
struct SigningChoice {
    QString certificateNickname; // of the open certificate database
    // Asked only when the certificate's key is locked; no value: the applicant cancelled.
    std::function<std::optional<QString>()> password;
    QString output; // the signed PDF, replaced only once complete
};

struct SignedApplication {
    QString pdfPath;
    SigningCertificate signer;
    ApplicationPrintout printout;
};

// The barcode texts as a signed application carries them: one line each, in page order.
QByteArray barcodeTextsFile(const QStringList& texts);

// "Firmar solicitud": the certificate is checked first (the applicant's own NIF, in force
// now, its password), so that a refusal saves nothing; then the final printout as
// "Imprimir" makes it, into a PDF of exactly the printed pages; the barcode texts are
// embedded in it and it is signed into `choice.output`. Every refusal and failure comes back
// as it is told ("Firmar solicitud", critical, in the words of its cause; the printing's own as
// the printing tells them); a cancelled password prompt is a cancellation, told nothing.
Result<SignedApplication> signApplication(SaveAndPrintFlow& flow, const QString& applicantDni,
                                          const SigningChoice& choice);

// "Solicitud-<NIF>-<cuerpo>.pdf": the name a signed application is proposed to be kept under.
QString signedApplicationFileName(const QString& nif, const QString& body);
// Copies the signed application `signedPdf` to `destination`, where the applicant keeps it:
// written beside it and renamed over it once complete, never through a link.
Status keepSignedApplication(const QString& signedPdf, const QString& destination);
// What the applicant is told once the signed application is kept at `path`.
QString signedApplicationKeptNotice(const QString& path);

} // namespace velmora
