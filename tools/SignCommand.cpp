// velmora-tools sign: signs a saved application of an installation as "Firmar solicitud"
// does: the final printout's PDF, its barcode texts attached, signed with a certificate of
// an NSS certificate database.
#include "SavedApplicationRun.h"
#include "ToolArguments.h"
#include "ToolCommand.h"

#include "app/ApplicationSigning.h"
#include "editor/ApplicationModel.h"
#include "signing/CertificateDatabase.h"

#include <QDir>
#include <QFile>

namespace velmora::tools {
namespace {

const QString kUsage =
    QStringLiteral("sign CARPETA FICHERO.doc --cert NOMBRE [--nssdb DIR] [--pin-file F] --out SALIDA.pdf");

// The password's file holds it on its first line.
std::optional<QString> passwordFrom(const QString& path) {
    if (path.isEmpty()) {
        printErr(QStringLiteral(
            "La clave del certificado tiene contraseña: indíquela en un fichero con --pin-file."));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printErr(QStringLiteral("No se puede leer el fichero de la contraseña %1.")
                     .arg(QDir::toNativeSeparators(path)));
        return std::nullopt;
    }
    return QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
}

int sign(const QStringList& args) {
    ToolArguments parsed(
        kUsage,
        {{QStringLiteral("cert"), QStringLiteral("Nombre del certificado en la base de datos."),
          QStringLiteral("NOMBRE")},
         {QStringLiteral("nssdb"),
          QStringLiteral("Carpeta de la base de datos de certificados NSS (por omisión, la del navegador)."),
          QStringLiteral("DIR")},
         {QStringLiteral("pin-file"),
          QStringLiteral("Fichero cuya primera línea es la contraseña de la clave."), QStringLiteral("F")},
         {QStringLiteral("out"), QStringLiteral("PDF firmado que se escribe."),
          QStringLiteral("SALIDA.pdf")}});
    if (!parsed.parse(args, 2, 2))
        return parsed.exitCode();
    const QString nickname = parsed.value(QStringLiteral("cert"));
    const QString out = parsed.value(QStringLiteral("out"));
    if (nickname.isEmpty() || out.isEmpty())
        return parsed.usageError(QStringLiteral("Faltan --cert y --out."));
    const AppFolders folders = AppFolders::at(parsed.positional().at(0));
    const QFileInfo document = applicationDocument(folders, parsed.positional().at(1));
    if (!document.isFile()) {
        printErr(
            QStringLiteral("No existe la solicitud %1.").arg(QDir::toNativeSeparators(document.filePath())));
        return 1;
    }
    if (!outputAllowed(out, document, folders))
        return 2;
    if (const Status opened = certificate_database::open(
            parsed.value(QStringLiteral("nssdb"), certificate_database::defaultFolder()));
        !opened.ok()) {
        printErr(opened.error().description);
        return 1;
    }
    SavedApplicationRun run;
    if (!run.load(folders, document))
        return 1;
    // The printout is made in a scratch folder of the signing; only the signed PDF is written.
    SaveAndPrintFlow& flow = run.flow(QString(), false);
    const QString pinFile = parsed.value(QStringLiteral("pin-file"));
    auto signedPdf = signApplication(flow, run.model().text(ctl::txtDNI),
                                     SigningChoice{.certificateNickname = nickname,
                                                   .password = [&] { return passwordFrom(pinFile); },
                                                   .output = QFileInfo(out).absoluteFilePath()});
    run.finish();
    if (!signedPdf.ok()) {
        run.messages().tell(signedPdf.error());
        return 1;
    }
    const SignedApplication& made = signedPdf.value();
    printOut(QStringLiteral("Solicitud firmada por %1 (NIF %2) en %3 (%4 páginas, %5 códigos de barras)")
                 .arg(made.signer.holderName, made.signer.nif, QDir::toNativeSeparators(made.pdfPath))
                 .arg(made.printout.outcome.pageCount)
                 .arg(made.printout.barcodes.size()));
    return 0;
}

const ToolCommand
    signCommand("sign", kUsage,
                QStringLiteral("Firma una solicitud guardada con el certificado del solicitante."), sign);

} // namespace
} // namespace velmora::tools
