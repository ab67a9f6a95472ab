#pragma once

#include "applications/ApplicationXml.h"
#include "platform/data/RecordSet.h"

namespace velmora {

// Creators of the application's list tables, each left open and empty. Column names, kinds
// and declared sizes are the ones the saved files and printouts use.
Status createVacancyList(RecordSet& table);   // IdSolicitud, Orden, CodConvocatoria, ... Demarcacion
Status createResultasList(RecordSet& table);  // as the vacancy list
Status createCoursesList(RecordSet& table);   // Curso, NHoras, Ano, Centro, IdCurso
Status createDocumentsList(RecordSet& table); // IdDocumento, Documento, Horas, Fecha, Centro

// The four lists of the application being edited. They exist, open and empty with their
// columns, from construction on, so code that runs after a failed load sees empty lists.
struct ApplicationListTables {
    ApplicationListTables();

    RecordSet vacancyList;
    RecordSet resultasList;
    RecordSet coursesList;
    RecordSet documentsList;

    // The four as the saving, printing and reading routines take them.
    ApplicationLists lists() { return {vacancyList, resultasList, coursesList, documentsList}; }

    // Closes every list and drops its rows; later reads see closed, empty tables.
    void release();
};

} // namespace velmora
