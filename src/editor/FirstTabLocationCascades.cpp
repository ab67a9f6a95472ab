#include "editor/FirstTabLocationCascades.h"

#include "catalog/CatalogColumns.h"
#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"
#include "platform/CannotFail.h"

namespace velmora {
namespace {

// Narrows `table` to the rows whose `column` is `code`; no code leaves the list whole.
void narrowTo(RecordSet& table, ColumnName column, const QString& code) {
    table.clearFilter();
    if (!code.isEmpty())
        cannotFail(table.setFilter(Filter::equals(column, code))); // a quoted literal always parses
}

} // namespace

bool cascadeFirstTabLocations(ControlName name, ApplicationModel& model, CatalogTables& tables) {
    const QString code = model.value(name);
    const bool picked = model.isListItem(name);
    const auto empty = [&](ControlName dependent) {
        if (picked)
            model.clearChoice(dependent);
    };
    if (name == ctl::cboProvinciasIxa) {
        narrowTo(tables.areas2, col::Areas::CodProvincia, code);
        empty(ctl::cboAreaIxa);
        if (tables.localitiesClone)
            narrowTo(*tables.localitiesClone, col::Localities::CodProvincia, code);
        empty(ctl::cboLocalidadesIxa);
        // The zone belonged to the area just emptied.
        empty(ctl::cboZBSIxa);
    } else if (name == ctl::cboAreaIxa) {
        narrowTo(tables.zones2, col::Zones::CodArea, code);
        empty(ctl::cboZBSIxa);
    } else if (name == ctl::cboPrefArea) {
        // The localities carry no area: those whose province code equals the area's code.
        narrowTo(tables.localities, col::Localities::CodProvincia, code);
        empty(ctl::cboPrefLocalidad);
        narrowTo(tables.zones, col::Zones::CodArea, code);
        empty(ctl::cboPrefProvincia);
    } else {
        return false;
    }
    return true;
}

} // namespace velmora
