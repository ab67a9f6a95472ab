#include "catalog/CandidatePositionsTable.h"

namespace velmora {

Status createCandidatePositions(RecordSet& table) {
    auto text = [](const char* name, int size) {
        return ColumnDef{QString::fromLatin1(name), ColumnType::Text, size};
    };
    return createTable(table,
                       {text("CodConvocatoria", 5), text("NomConvocatoria", 50), text("Consejeria", 50),
                        text("Localidad", 53), text("CodConsejeria", 2), text("CodLocalidad", 7),
                        text("CodProvincia", 2), text("CodArea", 8), text("CodZona", 8), text("Area", 50)});
}

} // namespace velmora
