#include "ui/office/OfficeContestLoader.h"

#include "app/ContestFolder.h"
#include "app/LoadedTables.h"
#include "app/LoadingSequence.h"
#include "office/ContestRules.h"
#include "platform/AppFolders.h"
#include "platform/MessageService.h"
#include "ui/office/OfficeTexts.h"

namespace velmora {

std::shared_ptr<const ContestRules> loadOfficeContest(const QString& folder, MessageService& messages) {
    // The office only reads the contest, so a folder it cannot write to serves as well.
    const Status contest = checkContestFolder(folder);
    if (!contest.ok()) {
        messages.inform(contest.error().description, officeWindowTitle(), MessageIcon::Critical);
        return nullptr;
    }
    // The rules copy what they need, so the tables go as soon as they are made.
    LoadedTables tables;
    const LoadingOutcome loaded = loadInstallation(AppFolders::at(folder), tables);
    messages.tell(loaded.notice);
    if (!loaded.loaded)
        return nullptr;
    return std::make_shared<CatalogContestRules>(tables);
}

} // namespace velmora
