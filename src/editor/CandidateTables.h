#pragma once

#include "platform/data/RecordSet.h"

namespace velmora {

// The positions offered to the applicant's body: the vacancy and resultas candidates
// tables of the editor. They are the same two objects for the life of the editor, so the
// drop-downs and filters bound to them keep working when a body is chosen: new contents
// are moved into them, and the record sets tell their bound views.
struct CandidateTables {
    // Both open and empty, with the candidate positions columns.
    CandidateTables();

    RecordSet vacancies;
    RecordSet resultas;

    // Empties both tables in place (no body chosen: nothing to offer).
    void release();
};

} // namespace velmora
