#include "app/RunState.h"

#include "applications/ApplicationFiles.h"

#include <gtest/gtest.h>

using namespace velmora;

// After the catalogues are released nothing that still holds a table can crash on it:
// every table is closed and empty, and reading from it is an error, not a fault.
TEST(RunState, ReleasedCataloguesAreClosedAndHarmless) {
    RunState state;
    ASSERT_TRUE(createApplicationFilesTable(state.applicationFiles));
    ASSERT_TRUE(state.tables.vacancyList.addNew());
    ASSERT_TRUE(state.tables.vacancyList.setValue(u"Orden", 1));
    auto clone = state.tables.vacancyList.clone();

    state.releaseCatalogues();
    for (RecordSet* t : {&state.tables.vacancyList, &state.tables.bodies, &state.tables.localities2,
                         &state.applicationFiles}) {
        EXPECT_FALSE(t->isOpen());
        EXPECT_EQ(t->recordCount(), 0);
        EXPECT_FALSE(t->addNew());
        EXPECT_FALSE(t->setFilter(u"Orden = 1"_s));
    }
    EXPECT_EQ(state.tables.localitiesClone, nullptr);
    // A cursor taken before the release still reads its own rows.
    clone->moveFirst();
    EXPECT_EQ(clone->integer(u"Orden"), 1);
}
