#pragma once

#include "platform/data/RecordSet.h"

namespace velmora {

// The positions a body or group can ask for, left open and empty: CodConvocatoria,
// NomConvocatoria, Consejeria, Localidad, CodConsejeria, CodLocalidad, CodProvincia, CodArea,
// CodZona, Area (all text).
Status createCandidatePositions(RecordSet& table);

} // namespace velmora
