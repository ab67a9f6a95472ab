#include "editor/ApplicationListTables.h"

#include "platform/CannotFail.h"

namespace velmora {
namespace {

ColumnDef text(const char* name, int size) {
    return {QString::fromLatin1(name), ColumnType::Text, size};
}
ColumnDef integer(const char* name) {
    return {QString::fromLatin1(name), ColumnType::Integer, 8};
}

Status createPreferenceList(RecordSet& table) {
    return createTable(table, {integer("IdSolicitud"), integer("Orden"), text("CodConvocatoria", 5),
                               text("NomConvocatoria", 50), text("Consejeria", 50), text("Localidad", 53),
                               text("CodArea", 8), text("CodZona", 8), text("Area", 50), text("Zona", 50),
                               text("Demarcacion", 50)});
}

} // namespace

Status createVacancyList(RecordSet& table) {
    return createPreferenceList(table);
}

Status createResultasList(RecordSet& table) {
    return createPreferenceList(table);
}

Status createCoursesList(RecordSet& table) {
    return createTable(table, {text("Curso", 100), integer("NHoras"), integer("Ano"), text("Centro", 100),
                               integer("IdCurso")});
}

Status createDocumentsList(RecordSet& table) {
    return createTable(table, {integer("IdDocumento"), text("Documento", 100), text("Horas", 6),
                               text("Fecha", 10), text("Centro", 100)});
}

ApplicationListTables::ApplicationListTables() {
    // Columns declared above on fresh tables.
    cannotFail(createVacancyList(vacancyList));
    cannotFail(createResultasList(resultasList));
    cannotFail(createCoursesList(coursesList));
    cannotFail(createDocumentsList(documentsList));
}

void ApplicationListTables::release() {
    for (RecordSet* t : {&vacancyList, &resultasList, &coursesList, &documentsList}) {
        t->close();
        *t = RecordSet();
    }
}

} // namespace velmora
