#pragma once

#include "platform/data/RecordSet.h"

namespace velmora {

// Creators of the application's list tables, each left open and empty. Column
// names, kinds and declared sizes are the ones the saved files and printouts use.
Status createVacancyList(RecordSet& table);   // IdSolicitud, Orden, CodConvocatoria, ... Demarcacion
Status createResultasList(RecordSet& table);  // as the vacancy list
Status createCoursesList(RecordSet& table);   // Curso, NHoras, Ano, Centro, IdCurso
Status createDocumentsList(RecordSet& table); // IdDocumento, Documento, Horas, Fecha, Centro
// Candidate positions: CodConvocatoria, NomConvocatoria, Consejeria, Localidad, CodConsejeria,
// CodLocalidad, CodProvincia, CodArea, CodZona, Area (all text).
Status createCandidatePositions(RecordSet& table);

} // namespace velmora
