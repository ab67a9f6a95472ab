#include "office/SignedApplication.h"

#include "office/ScannedBarcode.h"
#include "signing/SignedPdf.h"

#include <algorithm>

namespace velmora {
namespace {

const QString& problemName(SignatureFault fault) {
    switch (fault) {
    case SignatureFault::ChangedAfterSigning:
        return signature_problem::kChanged;
    case SignatureFault::UnknownAuthority:
        return signature_problem::kUnknownAuthority;
    case SignatureFault::ExpiredWhenSigned:
        return signature_problem::kExpired;
    case SignatureFault::Invalid:
        break;
    }
    return signature_problem::kInvalid;
}

// The attachment's lines, each the text of one barcode, grouped by the printed page the text
// names (a text that names none stays with the page before it).
std::vector<ScannedPage> attachedPages(const QByteArray& attachment, const QString& name) {
    QStringList lines = QString::fromUtf8(attachment).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    std::vector<ScannedPage> pages;
    int page = 1;
    for (const QString& line : std::as_const(lines)) {
        if (Result<ScannedBarcode> barcode = parseScannedBarcode(line); barcode && barcode->page > 0)
            page = barcode->page;
        if (pages.empty() || pages.back().origin.page != page)
            pages.push_back(ScannedPage{PageOrigin{name, page}, {}, std::nullopt});
        pages.back().texts << line;
    }
    return pages;
}

QString quoted(QStringList texts) {
    constexpr int kShown = 40;
    for (QString& t : texts)
        t = QStringLiteral("«%1»").arg(t.size() > kShown ? t.left(kShown) + QStringLiteral("…") : t);
    return texts.isEmpty() ? QStringLiteral("ninguno") : texts.join(QStringLiteral(", "));
}

QString normalNif(QString nif) {
    nif = nif.trimmed().toUpper();
    while (nif.size() > 1 && nif.front() == QLatin1Char('0'))
        nif.remove(0, 1);
    return nif;
}

} // namespace

SignedFileRead readSignedApplication(const ScanFileInfo& file, const QString& name, int dpi,
                                     const SignatureTrust* trust) {
    using namespace signature_problem;
    SignedFileRead read;
    Result<SignedPdf> pdf = readSignedPdf(file.path, QString::fromUtf16(kCodesAttachment), trust);
    if (!pdf) {
        read.pages.push_back(ScannedPage{PageOrigin{name, 0}, {}, pdf.error().description});
        return read;
    }
    Result<std::unique_ptr<ScanPageStream>> stream = openScanPages(file, dpi);
    const auto drawn = [&](int index) -> ScannedPage {
        ScannedPage page{PageOrigin{name, index + 1}, {}, std::nullopt};
        if (!stream) {
            page.error = stream.error().description;
        } else if (Result<QStringList> texts = readPageSymbols(*stream.value(), index); !texts) {
            page.error = texts.error().description;
        } else {
            page.texts = std::move(texts).value();
        }
        return page;
    };
    if (!pdf->signature) { // a form never signed: a scan's pages
        for (int index = 0; index < pdf->pages; ++index)
            read.pages.push_back(drawn(index));
        return read;
    }
    SignedFileCheck& check = read.check.emplace();
    check.file = name;
    const auto report = [&](const QString& problem, const QString& detail) {
        check.problems.push_back(OfficeProblem{name, problem, detail});
    };
    check.signerName = pdf->signature->signerName;
    check.signerNif = pdf->signature->signerNif;
    check.signingTime = pdf->signature->signingTime;
    for (const SignatureFinding& finding : pdf->signature->findings)
        report(problemName(finding.fault), finding.detail);

    // The first page is drawn: the barcodes the applicant saw printed there must be the ones
    // the office takes from the attachment.
    const ScannedPage first = drawn(0);
    if (!pdf->attachment) {
        report(kAttachmentDiffers,
               QStringLiteral("el PDF firmado no lleva el fichero %1: se leen los códigos "
                              "de sus páginas")
                   .arg(QString::fromUtf16(kCodesAttachment)));
        read.pages.push_back(first);
        for (int index = 1; index < pdf->pages; ++index)
            read.pages.push_back(drawn(index));
        return read;
    }
    read.pages = attachedPages(*pdf->attachment, name);
    QStringList attached;
    for (const ScannedPage& page : read.pages)
        if (page.origin.page == 1)
            attached += page.texts;
    QStringList printed = first.texts;
    std::sort(attached.begin(), attached.end());
    std::sort(printed.begin(), printed.end());
    if (first.error)
        report(kAttachmentDiffers,
               QStringLiteral("no se puede leer la página 1 para compararla con el adjunto: %1")
                   .arg(*first.error));
    else if (attached != printed)
        report(kAttachmentDiffers, QStringLiteral("la página 1 lleva el código %1 y el adjunto da %2")
                                       .arg(quoted(printed), quoted(attached)));
    return read;
}

void applySignature(OfficeApplication& a, const SignedFileCheck& check) {
    std::vector<OfficeProblem> problems = check.problems;
    // Without a signer (a signature that does not verify names none) there is nobody to compare.
    const bool signerKnown = !check.signerNif.isEmpty() || !check.signerName.isEmpty();
    if (signerKnown && normalNif(check.signerNif) != normalNif(a.dni))
        problems.push_back(
            OfficeProblem{check.file, signature_problem::kNotApplicant,
                          check.signerNif.isEmpty()
                              ? QStringLiteral("el certificado de «%1» no lleva NIF").arg(check.signerName)
                              : QStringLiteral("firma el NIF %1 y la solicitud es del DNI %2")
                                    .arg(check.signerNif, a.dni)});
    a.signer = check.signerName;
    if (!check.signerNif.isEmpty() && !a.signer.contains(check.signerNif))
        a.signer += QStringLiteral(" (%1)").arg(check.signerNif);
    a.signingTime = check.signingTime.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    QStringList reasons;
    for (const OfficeProblem& p : problems) {
        QString reason = p.problem;
        reason[0] = reason[0].toLower();
        if (!reasons.contains(reason))
            reasons << reason;
        a.problems.push_back(
            OfficeProblem{a.id, p.problem, QStringLiteral("%1: %2").arg(check.file, p.detail)});
    }
    a.signature = reasons.isEmpty() ? QStringLiteral("Válida")
                                    : QStringLiteral("No válida: %1").arg(reasons.join(QStringLiteral("; ")));
}

} // namespace velmora
