#include "editor/ApplicationListTables.h"

#include "applications/ApplicationColumns.h"
#include "platform/CannotFail.h"

namespace velmora {
namespace {

ColumnDef text(ColumnName name, int size) {
    return {name.toString(), ColumnType::Text, size};
}
ColumnDef integer(ColumnName name) {
    return {name.toString(), ColumnType::Integer, 8};
}

Status createPreferenceList(RecordSet& table) {
    using namespace col::PreferenceList;
    return createTable(table, {integer(IdSolicitud), integer(Orden), text(CodConvocatoria, 5),
                               text(NomConvocatoria, 50), text(Consejeria, 50), text(Localidad, 53),
                               text(CodArea, 8), text(CodZona, 8), text(Area, 50), text(Zona, 50),
                               text(Demarcacion, 50)});
}

} // namespace

Status createVacancyList(RecordSet& table) {
    return createPreferenceList(table);
}

Status createResultasList(RecordSet& table) {
    return createPreferenceList(table);
}

Status createCoursesList(RecordSet& table) {
    using namespace col::Courses;
    return createTable(
        table, {text(Curso, 100), integer(NHoras), integer(Ano), text(Centro, 100), integer(IdCurso)});
}

Status createDocumentsList(RecordSet& table) {
    using namespace col::Documents;
    return createTable(table, {integer(IdDocumento), text(Documento, 100), text(Horas, 6), text(Fecha, 10),
                               text(Centro, 100)});
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
