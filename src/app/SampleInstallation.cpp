#include "app/SampleInstallation.h"

#include "app/UserManualWriter.h"
#include "platform/AppFolders.h"
#include "printing/TemplateWriter.h"

namespace velmora {

Status writeSampleInstallation(const QString& folder, SampleScale scale, quint32 seed) {
    VELMORA_TRY(writeSampleContest(folder, scale, seed));
    const AppFolders folders = AppFolders::at(folder);
    // Templates for every combination of visible tabs, so that conf.xml can be edited freely.
    VELMORA_TRY(writeAllApplicationTemplates(folders.data));
    VELMORA_TRY(writeUserManual(folders.program));
    return {};
}

} // namespace velmora
