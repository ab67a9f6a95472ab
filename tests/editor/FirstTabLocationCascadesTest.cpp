#include "editor/FirstTabLocationCascades.h"

#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"

#include <gtest/gtest.h>

// LocationCascadesEditorTest.FirstTabPostingCascade checks on the window that a pick narrows
// the lists it shows; here what each pick narrows and empties.
namespace velmora {
namespace {

struct FirstTabCascades : ::testing::Test {
    CatalogTables tables;
    ApplicationModel model;

    FirstTabCascades() {
        for (const char* province : {"04", "18"}) {
            EXPECT_TRUE(tables.areas2.addNew() && tables.areas2.setValue(u"CodProvincia", province));
            EXPECT_TRUE(tables.localities.addNew() && tables.localities.setValue(u"CodProvincia", province));
        }
        for (const char* area : {"01", "02", "02"})
            EXPECT_TRUE(tables.zones2.addNew() && tables.zones2.setValue(u"CodArea", area));
        model.setChoice(ctl::cboAreaIxa, "01", "Área Almería");
        model.setChoice(ctl::cboLocalidadesIxa, "0400100", "Almería");
        model.setChoice(ctl::cboZBSIxa, "11", "Poniente");
        model.setChoice(ctl::cboPrefLocalidad, "0400100", "Almería");
        model.setChoice(ctl::cboPrefProvincia, "11", "Poniente");
    }
};

TEST_F(FirstTabCascades, PostingCascadesKeepTheirOwnCursorsAndEmptyOnlyWhatDepends) {
    // The current posting's area empties its zone but leaves the locality.
    model.setChoice(ctl::cboAreaIxa, "02", "Área Granada");
    EXPECT_TRUE(cascadeFirstTabLocations(ctl::cboAreaIxa, model, tables));
    EXPECT_EQ(tables.zones2.recordCount(), 2);
    EXPECT_EQ(model.value(ctl::cboZBSIxa), "");
    EXPECT_EQ(model.value(ctl::cboLocalidadesIxa), "0400100");

    // The province narrows the clone; the first tab's own localities list is another cursor.
    model.setChoice(ctl::cboProvinciasIxa, "18", "Granada");
    EXPECT_TRUE(cascadeFirstTabLocations(ctl::cboProvinciasIxa, model, tables));
    EXPECT_EQ(tables.areas2.recordCount(), 1);
    EXPECT_EQ(tables.localitiesClone->filter(), "CodProvincia='18' ");
    EXPECT_EQ(tables.localities.recordCount(), 2);
    for (ControlName emptied : {ctl::cboAreaIxa, ctl::cboLocalidadesIxa, ctl::cboZBSIxa})
        EXPECT_EQ(model.value(emptied), "") << emptied.toString().toStdString();
}

TEST_F(FirstTabCascades, PreferenceAreaNarrowsOnlyWhenPicked) {
    // A text that is no item of the list empties nothing, and no code leaves lists whole.
    model.setChoice(ctl::cboPrefArea, "", "Áre", false);
    EXPECT_TRUE(cascadeFirstTabLocations(ctl::cboPrefArea, model, tables));
    EXPECT_EQ(tables.localities.filter(), "");
    EXPECT_EQ(model.value(ctl::cboPrefLocalidad), "0400100");

    model.setChoice(ctl::cboPrefArea, "04", "Área 04");
    EXPECT_TRUE(cascadeFirstTabLocations(ctl::cboPrefArea, model, tables));
    EXPECT_EQ(tables.localities.filter(), "CodProvincia='04' ");
    EXPECT_EQ(tables.zones.filter(), "CodArea='04' ");
    EXPECT_EQ(model.value(ctl::cboPrefLocalidad), "");
    EXPECT_EQ(model.value(ctl::cboPrefProvincia), "");

    EXPECT_FALSE(cascadeFirstTabLocations(ctl::cboSituaciones, model, tables));
}

} // namespace
} // namespace velmora
