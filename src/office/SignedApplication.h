#pragma once

#include "office/OfficeApplication.h"
#include "office/ScanFile.h"

#include <optional>
#include <vector>

namespace velmora {

class SignatureTrust;

// The embedded file of a signed application: its barcode texts, page by page, one a line.
inline constexpr char16_t kCodesAttachment[] = u"velmora-codigos.txt";

// The problems a signed application can show, named the way the office's lists show them.
namespace signature_problem {
inline const QString kInvalid = QStringLiteral("Firma no válida");
inline const QString kChanged = QStringLiteral("Documento modificado después de firmar");
inline const QString kNotApplicant = QStringLiteral("El firmante no es el solicitante");
inline const QString kUnknownAuthority = QStringLiteral("Certificado no reconocido");
inline const QString kExpired = QStringLiteral("Certificado caducado al firmar");
inline const QString kAttachmentDiffers = QStringLiteral("Datos adjuntos distintos de los códigos de barras");
} // namespace signature_problem

struct SignedFileRead {
    std::optional<SignedFileCheck> check; // none when the file could not be opened
    std::vector<ScannedPage> pages;
};

// Reads a signed application's PDF (`name` names it in the lists): checks its signature,
// takes the barcode texts from its attachment without drawing a page but the first, whose
// barcodes must be those the attachment gives it. Without the attachment every page is read
// as a scan's would be; a PDF that carries no signature is read as a scan, without `check`.
SignedFileRead readSignedApplication(const ScanFileInfo& file, const QString& name, int dpi,
                                     const SignatureTrust* trust);

// Sets the application's signature columns from the file it was read from, adding the
// file's problems and, when the signer's NIF is not the application's DNI, that one.
void applySignature(OfficeApplication& application, const SignedFileCheck& check);

} // namespace velmora
