#pragma once

#include "catalog/CatalogTables.h"
#include "editor/ApplicationListTables.h"

namespace velmora {

// What loading after sign-in builds and the windows share until the editor closes: every
// catalogue table, and the four lists of the application being edited.
struct LoadedTables : CatalogTables, ApplicationListTables {
    // Closes every catalogue and list; later reads see closed, empty tables.
    void release() {
        CatalogTables::release();
        ApplicationListTables::release();
    }
};

} // namespace velmora
