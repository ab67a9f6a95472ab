#include "editor/CandidateTables.h"

#include "catalog/ListTables.h"

namespace velmora {

CandidateTables::CandidateTables() {
    release();
}

void CandidateTables::release() {
    // Creating a fixed set of text columns on a fresh set cannot fail.
    (void)createCandidatePositions(vacancies);
    (void)createCandidatePositions(resultas);
}

} // namespace velmora
