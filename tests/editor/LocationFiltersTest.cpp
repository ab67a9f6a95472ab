#include "editor/LocationFilters.h"

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogLoader.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace velmora {
namespace {

void addRow(RecordSet& table, std::initializer_list<std::pair<const char*, const char*>> values) {
    ASSERT_TRUE(table.addNew());
    for (const auto& [column, value] : values)
        ASSERT_TRUE(table.setValue(QString::fromLatin1(column), QString::fromUtf8(value)));
}

// Two provinces: Almería (04) with area 01, localities 0400100 and 0400200, zone 11 and
// department 01 (centres in both localities); Granada (18) with area 02, locality 1800100,
// zone 21 and department 02. Five candidates spread over them.
struct LocationFixture : ::testing::Test {
    RecordSet candidates, provinces, localities, departments, areas, zones, institutions;
    LocationTables tables{candidates, provinces, localities, departments, areas, zones, &institutions};

    LocationFixture() {
        EXPECT_TRUE(createCandidatePositions(candidates));
        EXPECT_TRUE(CatalogLoader::createProvinces(provinces));
        EXPECT_TRUE(CatalogLoader::createLocalities(localities));
        EXPECT_TRUE(CatalogLoader::createDepartments(departments));
        EXPECT_TRUE(CatalogLoader::createAreas(areas));
        EXPECT_TRUE(CatalogLoader::createZones(zones));
        EXPECT_TRUE(CatalogLoader::createInstitutions(institutions));
        addRow(provinces, {{"CodProvincia", "04"}, {"Provincia", "Almería"}});
        addRow(provinces, {{"CodProvincia", "18"}, {"Provincia", "Granada"}});
        addRow(localities, {{"CodLocalidad", "0400100"}, {"Localidad", "Almería"}, {"CodProvincia", "04"}});
        addRow(localities, {{"CodLocalidad", "0400200"}, {"Localidad", "Roquetas"}, {"CodProvincia", "04"}});
        addRow(localities, {{"CodLocalidad", "1800100"}, {"Localidad", "Granada"}, {"CodProvincia", "18"}});
        addRow(departments, {{"CodConsejeria", "01"}, {"CodArea", "01"}, {"CodProvincia", "04"}});
        addRow(departments, {{"CodConsejeria", "02"}, {"CodArea", "02"}, {"CodProvincia", "18"}});
        addRow(areas, {{"CodArea", "01"}, {"Area", "Área Almería"}, {"CodProvincia", "04"}});
        addRow(areas, {{"CodArea", "02"}, {"Area", "Área Granada"}, {"CodProvincia", "18"}});
        addRow(zones, {{"CodZona", "11"}, {"Zona", "Poniente"}, {"CodArea", "01"}, {"CodProvincia", "04"}});
        addRow(zones, {{"CodZona", "21"}, {"Zona", "Vega"}, {"CodArea", "02"}, {"CodProvincia", "18"}});
        addRow(institutions, {{"CodInstitucion", "01"}, {"CodLocalidad", "0400100"}});
        addRow(institutions, {{"CodInstitucion", "01"}, {"CodLocalidad", "0400200"}});
        addRow(institutions, {{"CodInstitucion", "02"}, {"CodLocalidad", "1800100"}});
        candidate("00001", "04", "0400100", "01", "01", "");
        candidate("00002", "04", "0400200", "01", "01", "11");
        candidate("00003", "04", "0400100", "01", "01", "11");
        candidate("00004", "18", "1800100", "02", "02", "21");
        candidate("00005", "18", "1800100", "02", "02", "");
    }

    void candidate(const char* code, const char* province, const char* locality, const char* department,
                   const char* area, const char* zone) {
        addRow(candidates, {{"CodConvocatoria", code},
                            {"CodProvincia", province},
                            {"CodLocalidad", locality},
                            {"CodConsejeria", department},
                            {"CodArea", area},
                            {"CodZona", zone}});
    }

    static LocationChoice picked(const char* value, const char* text) {
        return {QString::fromUtf8(value), QString::fromUtf8(text), true, true};
    }
    static LocationChoice typed(const char* text) {
        return {QString(), QString::fromUtf8(text), false, true};
    }
};

TEST(ConstruyeFiltroPlazas, VacancyFilterTakesFinerChoicesAndTheProvinceOnlyAlone) {
    using C = LocationChoice;
    const C province{"04", "Almería", true, true};
    LocationState none;
    EXPECT_EQ(ConstruyeFiltroPlazas("V", none), "0");

    LocationState provinceOnly;
    provinceOnly.province = province;
    EXPECT_EQ(ConstruyeFiltroPlazas("V", provinceOnly), " (  CodProvincia='04'  ) ");
    EXPECT_EQ(ConstruyeFiltroPlazas("v", provinceOnly), " (  CodProvincia='04'  ) ");
    EXPECT_EQ(ConstruyeFiltroPlazas("X", provinceOnly), "0");

    LocationState withArea = provinceOnly;
    withArea.area = C{"01", "Área Almería", true, true};
    EXPECT_EQ(ConstruyeFiltroPlazas("V", withArea), " CodArea='01'");
    // An area typed but not listed still narrows through its value.
    withArea.area.inList = false;
    EXPECT_EQ(ConstruyeFiltroPlazas("V", withArea), " CodArea='01'");

    LocationState codeOnly;
    codeOnly.code = "00010";
    EXPECT_EQ(ConstruyeFiltroPlazas("V", codeOnly), " CodConvocatoria='00010' ");

    LocationState all = withArea;
    all.locality = C{"0400100", "Almería", true, true};
    all.institution = C{"01", "Hospital", true, true};
    all.zone = C{"11", "Poniente", true, true};
    all.code = "00010";
    EXPECT_EQ(ConstruyeFiltroPlazas("V", all), " CodLocalidad='0400100'  AND CodConsejeria='01'  AND "
                                               "CodConvocatoria='00010'  AND CodArea='01' AND CodZona='11' ");

    // Locality, institution and zone count only when their text is an item of their list.
    LocationState notListed = provinceOnly;
    notListed.locality = C{"0400100", "Almer", false, true};
    notListed.institution = C{"01", "Hosp", false, true};
    notListed.zone = C{"11", "Pon", false, true};
    EXPECT_EQ(ConstruyeFiltroPlazas("V", notListed), " (  CodProvincia='04'  ) ");

    // A quote in a code cannot break the criteria.
    LocationState quoted;
    quoted.code = "0'1";
    EXPECT_EQ(ConstruyeFiltroPlazas("V", quoted), " CodConvocatoria='0''1' ");
}

TEST(ConstruyeFiltroPlazas, ResultasFilterTakesEveryValueInItsOrder) {
    LocationState state;
    EXPECT_EQ(ConstruyeFiltroPlazas("R", state), "0");
    state.province = {"04", "Almería", true, true};
    EXPECT_EQ(ConstruyeFiltroPlazas("r", state), " CodProvincia='04' ");
    state.locality = {"0400100", "", false, true};
    state.institution = {"01", "", false, true};
    state.code = "00002";
    state.area = {"01", "", false, true};
    state.zone = {"11", "", false, true};
    EXPECT_EQ(ConstruyeFiltroPlazas("R", state),
              " CodProvincia='04'  AND CodLocalidad='0400100'  AND CodConsejeria='01'  AND "
              "CodConvocatoria='00002'  AND CodArea='01' AND CodZona='11' ");
}

TEST(HabilitaFiltrosVacantes, ProvinceFirstThenTheRestWithLocalityAndZoneExcludingEachOther) {
    LocationState state;
    const auto flags = [](const VacancyFilterEnabling& e) {
        return std::vector<bool>{e.province, e.institution, e.locality, e.area, e.zone};
    };
    EXPECT_EQ(flags(HabilitaFiltrosVacantes(state)), (std::vector<bool>{true, false, false, false, false}));
    state.province = {"04", "Almería", true, true};
    EXPECT_EQ(flags(HabilitaFiltrosVacantes(state)), (std::vector<bool>{false, true, true, true, true}));
    state.locality = {"0400100", "Almería", true, true};
    EXPECT_EQ(flags(HabilitaFiltrosVacantes(state)), (std::vector<bool>{false, true, true, true, false}));
    state.locality = {};
    state.zone = {"11", "Poniente", true, true};
    EXPECT_EQ(flags(HabilitaFiltrosVacantes(state)), (std::vector<bool>{false, true, false, true, true}));
}

TEST_F(LocationFixture, ProvinceAreaAndInstitutionNarrowTheVacancyLists) {
    LocationState state;
    state.province = picked("04", "Almería");
    FiltraLocalizacionesVacantes("", state, tables);
    for (RecordSet* table : {&localities, &areas, &zones, &departments})
        EXPECT_EQ(table->filter(), "CodProvincia='04' ");
    EXPECT_EQ(localities.recordCount(), 2);
    EXPECT_EQ(zones.recordCount(), 1);

    state.area = picked("01", "Área Almería");
    FiltraLocalizacionesVacantes("", state, tables);
    EXPECT_EQ(zones.filter(), "CodProvincia='04'  AND CodArea='01' ");
    EXPECT_EQ(departments.filter(), "CodProvincia='04'  and CodArea='01' ");
    EXPECT_EQ(departments.recordCount(), 1);

    state.institution = picked("01", "Hospital");
    FiltraLocalizacionesVacantes("", state, tables);
    EXPECT_EQ(zones.filter(), "CodProvincia='04'  AND CodArea='01'  AND Codinstitucion='01' ");
    EXPECT_EQ(localities.filter(), " (  CodLocalidad='0400100' OR  CodLocalidad='0400200'  ) ");
    EXPECT_EQ(localities.recordCount(), 2);
    EXPECT_EQ(institutions.filter(), "");
    // The same change again leaves the same texts.
    FiltraLocalizacionesVacantes("", state, tables);
    EXPECT_EQ(zones.filter(), "CodProvincia='04'  AND CodArea='01'  AND Codinstitucion='01' ");
}

TEST_F(LocationFixture, LocalityAndZoneShutEachOtherAndAChangedListKeepsItsFilter) {
    LocationState state;
    state.province = picked("04", "Almería");
    state.zone = picked("11", "Poniente");
    state.locality = picked("0400100", "Almería");
    ASSERT_TRUE(zones.setFilter("CodZona='11' "));
    FiltraLocalizacionesVacantes("LOCALIDAD", state, tables);
    EXPECT_FALSE(state.zone.enabled);
    EXPECT_EQ(state.zone.value, "");
    EXPECT_EQ(state.zone.text, "");
    EXPECT_TRUE(state.locality.enabled);
    EXPECT_EQ(state.locality.value, "0400100");
    EXPECT_EQ(zones.filter(), "CodProvincia='04' ");

    LocationState zoneFirst;
    zoneFirst.province = picked("04", "Almería");
    zoneFirst.zone = picked("11", "Poniente");
    zoneFirst.locality = typed("");
    ASSERT_TRUE(zones.setFilter("CodZona='11' "));
    ASSERT_TRUE(localities.setFilter("CodLocalidad='0400100' "));
    FiltraLocalizacionesVacantes("ZONABASICA", zoneFirst, tables);
    EXPECT_EQ(zones.filter(), "CodZona='11' ");
    EXPECT_FALSE(zoneFirst.locality.enabled);
    EXPECT_EQ(localities.filter(), "CodProvincia='04' ");

    // Without a province, a locality narrows the areas to its own province.
    LocationState localityOnly;
    localityOnly.locality = picked("1800100", "Granada");
    localityOnly.zone.enabled = false;
    FiltraLocalizacionesVacantes("LOCALIDAD", localityOnly, tables);
    EXPECT_EQ(areas.filter(), " CodProvincia='18' ");
}

TEST_F(LocationFixture, VacancyReactionsRefreshTheCountAndCancelRestoresEverything) {
    VacancyLocationFilters filters(tables);
    LocationState state;
    filters.applyEnabling(state);
    state.code = "00003";
    state.province = picked("04", "Almería");
    const LocationReaction closed = filters.react(LocationBox::Province, LocationEvent::ListClosed, state);
    EXPECT_TRUE(closed.sendTab);
    EXPECT_EQ(closed.candidateCount, 3);
    EXPECT_EQ(state.code, "");
    EXPECT_FALSE(state.province.enabled);
    EXPECT_TRUE(state.locality.enabled && state.zone.enabled && state.area.enabled);

    state.locality = picked("0400100", "Almería");
    const LocationReaction locality =
        filters.react(LocationBox::Locality, LocationEvent::ChoiceConfirmed, state);
    EXPECT_FALSE(locality.sendTab);
    EXPECT_EQ(locality.candidateCount, 2);
    EXPECT_EQ(candidates.filter(), " CodLocalidad='0400100' ");
    EXPECT_FALSE(state.zone.enabled);
    // Typing in the locality does nothing until the choice is confirmed.
    EXPECT_FALSE(filters.react(LocationBox::Locality, LocationEvent::TextChanged, state).candidateCount);

    // Clearing the locality opens the zone again.
    state.locality = typed("");
    const LocationReaction cleared =
        filters.react(LocationBox::Locality, LocationEvent::ChoiceConfirmed, state);
    EXPECT_EQ(cleared.candidateCount, 3);
    EXPECT_TRUE(state.zone.enabled);

    // A half-typed locality is no confirmed choice.
    state.locality = typed("Alm");
    EXPECT_FALSE(filters.react(LocationBox::Locality, LocationEvent::ChoiceConfirmed, state).candidateCount);

    state.area = picked("01", "Área Almería");
    state.zone = picked("11", "Poniente");
    EXPECT_EQ(filters.react(LocationBox::Zone, LocationEvent::ChoiceConfirmed, state).candidateCount, 2);
    EXPECT_EQ(candidates.filter(), " CodArea='01' AND CodZona='11' ");

    // What the boxes show after "Cancelar" is checked on the window (LocationCascadesEditorTest);
    // here the lists it does not show.
    EXPECT_EQ(filters.clear(state).candidateCount, 5);
    for (RecordSet* table : {&localities, &areas, &zones, &departments, &provinces})
        EXPECT_EQ(table->filter(), "");
}

TEST_F(LocationFixture, ResultasProvinceNarrowsItsListsAndATypedOneEmptiesThem) {
    ResultasLocationFilters filters(tables);
    LocationState state;
    state.province = picked("18", "Granada");
    state.locality = picked("0400100", "Almería");
    state.institution = picked("01", "Hospital");
    state.code = "00001";
    ASSERT_TRUE(departments.setFilter("CodArea='01' "));
    const LocationReaction closed = filters.react(LocationBox::Province, LocationEvent::ListClosed, state);
    EXPECT_TRUE(closed.sendTab);
    EXPECT_EQ(closed.candidateCount, 2);
    EXPECT_EQ(candidates.filter(), " CodProvincia='18' ");
    for (RecordSet* table : {&localities, &areas, &zones})
        EXPECT_EQ(table->filter(), "CodProvincia='18' ");
    EXPECT_EQ(departments.filter(), "");
    EXPECT_EQ(state.locality.value, "");
    EXPECT_EQ(state.institution.value, "");
    EXPECT_EQ(state.code, "");

    state.area = picked("02", "Área Granada");
    state.zone = picked("21", "Vega");
    state.province = typed("Gran");
    state.province.value = "18";
    const LocationReaction typedProvince =
        filters.react(LocationBox::Province, LocationEvent::TextChanged, state);
    EXPECT_FALSE(typedProvince.sendTab);
    EXPECT_EQ(typedProvince.candidateCount, 5);
    EXPECT_EQ(state.province.text, "Gran");
    for (const LocationChoice* choice : {&state.province, &state.area, &state.zone, &state.institution})
        EXPECT_EQ(choice->value, "");
    for (RecordSet* table : {&localities, &areas, &zones, &departments})
        EXPECT_EQ(table->filter(), "");
}

// A locality shutting the zone and opening it again is checked on the window
// (LocationCascadesEditorTest.ResultasTabNarrowsEveryChoiceTogether).
TEST_F(LocationFixture, ResultasAreaAndZoneReactions) {
    ResultasLocationFilters filters(tables);
    LocationState state;
    state.zone = picked("21", "Vega");
    state.area = picked("02", "Área Granada");
    const LocationReaction area = filters.react(LocationBox::Area, LocationEvent::ListClosed, state);
    EXPECT_TRUE(area.sendTab);
    EXPECT_EQ(state.zone.value, "");
    EXPECT_EQ(zones.filter(), "CodArea='02' ");
    EXPECT_EQ(departments.filter(), "CodArea='02' ");
    EXPECT_EQ(candidates.filter(), " CodArea='02'");

    state.area = typed("Áre");
    filters.react(LocationBox::Area, LocationEvent::TextChanged, state);
    EXPECT_EQ(zones.filter(), "");
    EXPECT_EQ(state.area.value, "");

    // A zone name half typed keeps the focus; an emptied one moves it on.
    state.zone = typed("Ve");
    EXPECT_FALSE(filters.react(LocationBox::Zone, LocationEvent::TextChanged, state).sendTab);
    state.zone = typed("");
    EXPECT_TRUE(filters.react(LocationBox::Zone, LocationEvent::TextChanged, state).sendTab);
}

} // namespace
} // namespace velmora
