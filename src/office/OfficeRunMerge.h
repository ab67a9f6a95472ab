#pragma once

#include "office/OfficeApplication.h"
#include "platform/Result.h"

#include <QStringList>

namespace velmora {

class ContestRules;

// Merges the exported folders of runs over parts of one batch (split by files across
// machines) into the outcome one run over all the files gives: the pages each run read are
// put together and every check that spans files (an application's pages read in different
// parts, a page repeated across parts, a missing page) runs again over the whole.
Result<OfficeReadOutcome> mergeOfficeRuns(const QStringList& folders, const ContestRules* contest = nullptr);

} // namespace velmora
