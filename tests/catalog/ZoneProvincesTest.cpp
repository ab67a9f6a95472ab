#include "catalog/CatalogLoader.h"

#include "support/TableText.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(ZoneProvinces, EachZoneTakesTheProvinceOfItsArea) {
    RecordSet areas, zones;
    ASSERT_TRUE(CatalogLoader::createAreas(areas));
    ASSERT_TRUE(CatalogLoader::createZones(zones));
    for (const auto& [area, province] : {std::pair{"01", "04"}, std::pair{"02", "18"}})
        ASSERT_TRUE(areas.addNew() && areas.setValue(u"CodArea", area) &&
                    areas.setValue(u"CodProvincia", province));
    for (const char* area : {"02", "01", "99"})
        ASSERT_TRUE(zones.addNew() && zones.setValue(u"CodArea", area) && zones.setValue(u"CodZona", "01"));
    ASSERT_TRUE(CatalogLoader::fillZoneProvinces(zones, areas));
    EXPECT_EQ(test::rowsOf(zones), QStringList({"01||02|18|", "01||01|04|", "01||99||"}));
    // The province now narrows the zones through the index like any other code.
    ASSERT_TRUE(zones.setFilter("CodProvincia='18' "));
    EXPECT_EQ(zones.recordCount(), 1);
}
