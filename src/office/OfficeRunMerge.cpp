#include "office/OfficeRunMerge.h"

#include "office/OfficeCsvExport.h"
#include "office/OfficeOutcomeCollector.h"

#include <QSet>

namespace velmora {

Result<OfficeReadOutcome> mergeOfficeRuns(const QStringList& folders, const ContestRules* contest) {
    OfficeOutcomeCollector collector(contest);
    QSet<QString> files;
    bool cancelled = false;
    for (const QString& folder : folders) {
        std::vector<SignedFileCheck> signedFiles;
        Result<std::vector<ScannedPage>> pages = readScannedPages(folder, &cancelled, &signedFiles);
        if (!pages)
            return pages.error();
        for (SignedFileCheck& check : signedFiles) {
            files.insert(check.file);
            collector.add(std::move(check));
        }
        for (ScannedPage& page : pages.value()) {
            files.insert(page.origin.file);
            collector.add(std::move(page));
        }
    }
    return collector.finish(int(files.size()), cancelled);
}

} // namespace velmora
