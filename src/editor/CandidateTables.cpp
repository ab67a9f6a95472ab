#include "editor/CandidateTables.h"

#include "catalog/CandidatePositionsTable.h"
#include "platform/CannotFail.h"

namespace velmora {

CandidateTables::CandidateTables() {
    release();
}

void CandidateTables::release() {
    // Creating a fixed set of text columns on a fresh set cannot fail.
    cannotFail(createCandidatePositions(vacancies));
    cannotFail(createCandidatePositions(resultas));
}

} // namespace velmora
