#include "ui/office/OfficeContestLoader.h"

#include "app/LoadedTables.h"
#include "app/LoadingSequence.h"
#include "office/ContestRules.h"
#include "platform/AppFolders.h"
#include "platform/MessageService.h"
#include "ui/office/OfficeTexts.h"

#include <QDir>

namespace velmora {

std::shared_ptr<const ContestRules> loadOfficeContest(const QString& folder, MessageService& messages) {
    if (!QDir(folder).exists(QStringLiteral("conf.xml"))) {
        messages.inform(QStringLiteral("No se encuentra la instalación del concurso en %1 (falta conf.xml).")
                            .arg(QDir::toNativeSeparators(QDir(folder).absolutePath())),
                        officeWindowTitle(), MessageIcon::Critical);
        return nullptr;
    }
    // The rules copy what they need, so the tables go as soon as they are made.
    LoadedTables tables;
    if (!loadInstallation(AppFolders::at(folder), tables, messages).loaded)
        return nullptr;
    return std::make_shared<CatalogContestRules>(tables);
}

} // namespace velmora
