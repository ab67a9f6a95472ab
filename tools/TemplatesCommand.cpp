// velmora-tools templates / manual: writes the application form templates of every
// tab-visibility key, and the user manual.
#include "ToolArguments.h"
#include "ToolCommand.h"

#include "app/UserManualWriter.h"
#include "printing/TemplateWriter.h"

namespace velmora::tools {
namespace {

const QString kTemplatesUsage = QStringLiteral("templates CARPETA [--key DOT_xxxxx]");
const QString kManualUsage = QStringLiteral("manual CARPETA");

int templates(const QStringList& args) {
    ToolArguments parsed(kTemplatesUsage,
                         {{QStringLiteral("key"),
                           QStringLiteral("Sólo las plantillas de esta combinación de pestañas visibles."),
                           QStringLiteral("DOT_xxxxx")}});
    if (!parsed.parse(args, 1, 1))
        return parsed.exitCode();
    const QStringList& positional = parsed.positional();
    const QString keyText = parsed.value(QStringLiteral("key"));
    const std::optional<TemplateKey> key =
        keyText.isEmpty() ? std::optional<TemplateKey>() : TemplateKey::fromFolderName(keyText);
    if (!keyText.isEmpty() && !key)
        return parsed.usageError(QStringLiteral("Clave de plantillas no válida: %1").arg(keyText));
    const Status written = key ? writeApplicationTemplates(positional.first(), *key)
                               : writeAllApplicationTemplates(positional.first());
    if (!written) {
        printErr(written.error().description);
        return 1;
    }
    printOut(QStringLiteral("Plantillas escritas en %1 (%2)")
                 .arg(positional.first(), key ? key->folderName() : QStringLiteral("DOT_00000 a DOT_11111")));
    return 0;
}

int manual(const QStringList& args) {
    ToolArguments parsed(kManualUsage, {});
    if (!parsed.parse(args, 1, 1))
        return parsed.exitCode();
    const QStringList& positional = parsed.positional();
    const Status written = writeUserManual(positional.first());
    if (!written) {
        printErr(written.error().description);
        return 1;
    }
    printOut(QStringLiteral("Manual escrito en %1").arg(userManualPath(positional.first())));
    return 0;
}

const ToolCommand templatesCommand("templates", kTemplatesUsage,
                                   QStringLiteral("Escribe las plantillas del impreso de solicitud."),
                                   templates);
const ToolCommand manualCommand("manual", kManualUsage,
                                QStringLiteral("Escribe el «Manual de Usuario.doc» en la carpeta."), manual);

} // namespace
} // namespace velmora::tools
