// velmora-tools templates / manual: writes the application form templates of every
// tab-visibility key, and the user manual.
#include "ToolCommand.h"

#include "app/UserManualWriter.h"
#include "printing/TemplateWriter.h"

namespace velmora::tools {
namespace {

int templates(const QStringList& args) {
    const QStringList positional = positionalArgs(args, {QStringLiteral("--key")});
    const QString keyText = optionValue(args, QStringLiteral("--key"));
    const std::optional<TemplateKey> key =
        keyText.isEmpty() ? std::optional<TemplateKey>() : TemplateKey::fromFolderName(keyText);
    if (positional.size() != 1 || (!keyText.isEmpty() && !key)) {
        printErr(QStringLiteral("Uso: velmora-tools templates DIR [--key DOT_xxxxx]"));
        return 2;
    }
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
    const QStringList positional = positionalArgs(args, {});
    if (positional.size() != 1) {
        printErr(QStringLiteral("Uso: velmora-tools manual DIR"));
        return 2;
    }
    const Status written = writeUserManual(positional.first());
    if (!written) {
        printErr(written.error().description);
        return 1;
    }
    printOut(QStringLiteral("Manual escrito en %1").arg(userManualPath(positional.first())));
    return 0;
}

const ToolCommand templatesCommand("templates", "templates DIR [--key DOT_xxxxx]", templates);
const ToolCommand manualCommand("manual", "manual DIR", manual);

} // namespace
} // namespace velmora::tools
