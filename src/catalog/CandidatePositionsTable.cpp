#include "catalog/CandidatePositionsTable.h"

#include "catalog/CatalogColumns.h"

namespace velmora {

Status createCandidatePositions(RecordSet& table) {
    using namespace col::Positions;
    auto text = [](ColumnName name, int size) { return ColumnDef{name.toString(), ColumnType::Text, size}; };
    return createTable(table, {text(CodConvocatoria, 5), text(NomConvocatoria, 50), text(Consejeria, 50),
                               text(Localidad, 53), text(CodConsejeria, 2), text(CodLocalidad, 7),
                               text(CodProvincia, 2), text(CodArea, 8), text(CodZona, 8), text(Area, 50)});
}

} // namespace velmora
