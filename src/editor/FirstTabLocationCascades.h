#pragma once

#include "editor/ControlName.h"

#include <QStringView>

namespace velmora {

class ApplicationModel;
struct CatalogTables;

// The personal-data tab's location drop-downs that narrow others when their list closes:
// the current posting's province (its areas and localities), its area (its basic health
// zones) and the alleged preference's area (its localities and zones). A new pick empties
// the choices it narrows, so no stale locality, area or zone of another place is kept.
// Returns whether `name` is one of them; other names change nothing.
bool cascadeFirstTabLocations(ControlName name, ApplicationModel& model, CatalogTables& tables);

} // namespace velmora
