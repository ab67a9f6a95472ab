#include "editor/FirstTabLocationCascades.h"

#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"
#include "editor/PreferenceListRoutines.h"
#include "platform/CannotFail.h"

namespace velmora {
namespace {

// Narrows `table` to the rows whose `column` is `code`; no code leaves the list whole.
void narrowTo(RecordSet& table, const char* column, const QString& code) {
    table.clearFilter();
    if (!code.isEmpty())
        cannotFail(table.setFilter(QLatin1String(column) + QLatin1Char('=') + quotedLiteral(code) +
                                   QLatin1Char(' '))); // a quoted literal always parses
}

} // namespace

bool cascadeFirstTabLocations(QStringView name, ApplicationModel& model, CatalogTables& tables) {
    const QString code = model.value(name);
    const bool picked = model.isListItem(name);
    const auto empty = [&](QStringView dependent) {
        if (picked)
            model.clearChoice(dependent);
    };
    if (name == u"cboProvinciasIxa") {
        narrowTo(tables.areas2, "CodProvincia", code);
        empty(u"cboAreaIxa");
        if (tables.localitiesClone)
            narrowTo(*tables.localitiesClone, "CodProvincia", code);
        empty(u"cboLocalidadesIxa");
        // The zone belonged to the area just emptied.
        empty(u"cboZBSIxa");
    } else if (name == u"cboAreaIxa") {
        narrowTo(tables.zones2, "CodArea", code);
        empty(u"cboZBSIxa");
    } else if (name == u"cboPrefArea") {
        // The localities carry no area: those whose province code equals the area's code.
        narrowTo(tables.localities, "CodProvincia", code);
        empty(u"cboPrefLocalidad");
        narrowTo(tables.zones, "CodArea", code);
        empty(u"cboPrefProvincia");
    } else {
        return false;
    }
    return true;
}

} // namespace velmora
