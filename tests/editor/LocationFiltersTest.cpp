#include "editor/LocationFilters.h"

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogLoader.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::addRows;

// The values of the first column over the rows the table's filter lets through.
QStringList shown(const RecordSet& table) {
    QStringList values;
    for (int row = 0; row < table.recordCount(); ++row)
        values << table.textAt(row, 0);
    return values;
}

LocationChoice picked(const char* value) {
    return {QString::fromUtf8(value), u"elegido"_s, true, true};
}
LocationChoice typed(const char* text) {
    return {QString(), QString::fromUtf8(text), false, true};
}

// Almería (04) with areas 01 and 03, localities 0400100 and 0400200, zones 11 (area 01,
// institution 01) and 12 (area 03) and departments 01 and 03; Granada (18) with area 02,
// locality 1800100, zone 21 and department 02. Institution 01 has centres in 0400100 and in
// 1800100. Five candidates spread over them.
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
        addRows(provinces, {"CodProvincia"}, {{"04"}, {"18"}});
        addRows(localities, {"CodLocalidad", "CodProvincia"},
                {{"0400100", "04"}, {"0400200", "04"}, {"1800100", "18"}});
        addRows(departments, {"CodConsejeria", "CodArea", "CodProvincia"},
                {{"01", "01", "04"}, {"02", "02", "18"}, {"03", "03", "04"}});
        addRows(areas, {"CodArea", "CodProvincia"}, {{"01", "04"}, {"02", "18"}, {"03", "04"}});
        addRows(zones, {"CodZona", "CodArea", "CodProvincia", "CodInstitucion"},
                {{"11", "01", "04", "01"}, {"12", "03", "04", ""}, {"21", "02", "18", ""}});
        addRows(institutions, {"CodInstitucion", "CodLocalidad"},
                {{"01", "0400100"}, {"01", "1800100"}, {"02", "1800100"}});
        addRows(candidates,
                {"CodConvocatoria", "CodProvincia", "CodLocalidad", "CodConsejeria", "CodArea", "CodZona"},
                {{"00001", "04", "0400100", "01", "01", ""},
                 {"00002", "04", "0400200", "01", "01", "11"},
                 {"00003", "04", "0400100", "01", "01", "11"},
                 {"00004", "18", "1800100", "02", "02", "21"},
                 {"00005", "18", "1800100", "02", "02", ""}});
    }

    // The candidates a filter selects ("0": no filter, every candidate).
    QStringList selected(const QString& criteria) {
        if (criteria == QLatin1String("0"))
            candidates.clearFilter();
        else
            EXPECT_TRUE(candidates.setFilter(criteria)) << criteria.toStdString();
        return shown(candidates);
    }

    // What the locality, area, zone and department lists show.
    QList<QStringList> lists() const {
        return {shown(localities), shown(areas), shown(zones), shown(departments)};
    }
};

using Lists = QList<QStringList>;
// Every locality, area, zone and department that has candidates (03 has none: never offered).
const Lists kUnfiltered = {
    {"0400100", "0400200", "1800100"}, {"01", "02", "03"}, {"11", "12", "21"}, {"01", "02"}};

// The values chosen in each box ("" for none); `listed`: whether the texts of locality,
// institution, area and zone are items of their lists (a province is always picked).
struct FilterCase {
    const char *mode, *province, *locality, *institution, *area, *zone, *code;
    bool listed;
    QStringList selected;
};

TEST_F(LocationFixture, CandidateFiltersSelectTheRowsOfTheChoices) {
    const QStringList all = {"00001", "00002", "00003", "00004", "00005"};
    const QStringList almeria = {"00001", "00002", "00003"}, granada = {"00004", "00005"};
    const FilterCase cases[] = {
        {"V", "", "", "", "", "", "", true, all},
        {"V", "04", "", "", "", "", "", true, almeria},
        {"v", "04", "", "", "", "", "", true, almeria},
        {"X", "04", "", "", "", "", "", true, all},
        // The area replaces the province condition; typed but not listed, it still counts.
        {"V", "04", "", "", "02", "", "", true, granada},
        {"V", "", "", "", "02", "", "", false, granada},
        {"V", "", "", "", "", "", "00003", true, {"00003"}},
        {"V", "04", "0400100", "", "", "", "", true, {"00001", "00003"}},
        {"V", "", "", "02", "", "", "", true, granada},
        {"V", "", "", "", "", "11", "", true, {"00002", "00003"}},
        {"V", "", "0400100", "01", "01", "11", "00003", true, {"00003"}},
        // Locality, institution and zone count only when their text is an item of their list.
        {"V", "04", "0400200", "02", "", "11", "", false, almeria},
        {"V", "", "", "", "", "", "0'1", true, {}}, // a quote cannot break the criteria
        // Resultas take every value, listed or not, together.
        {"R", "", "", "", "", "", "", true, all},
        {"r", "04", "", "", "", "", "", true, almeria},
        {"R", "04", "", "", "02", "", "", true, {}},
        {"R", "04", "0400100", "", "", "11", "", false, {"00003"}},
    };
    for (const FilterCase& c : cases) {
        const auto choice = [&](const char* value, bool listed) {
            return LocationChoice{QString::fromLatin1(value), u"texto"_s, *value && listed, true};
        };
        LocationState state;
        state.province = choice(c.province, true);
        state.locality = choice(c.locality, c.listed);
        state.institution = choice(c.institution, c.listed);
        state.area = choice(c.area, c.listed);
        state.zone = choice(c.zone, c.listed);
        state.code = QString::fromLatin1(c.code);
        EXPECT_EQ(selected(ConstruyeFiltroPlazas(QString::fromLatin1(c.mode), state)), c.selected)
            << c.mode << " " << c.province << " " << c.locality << " " << c.institution << " " << c.area
            << " " << c.zone << " " << c.code;
    }
}

TEST_F(LocationFixture, EachPickedLocationNarrowsTheVacancyLists) {
    LocationState state;
    state.province = picked("04");
    FiltraLocalizacionesVacantes("", state, tables);
    EXPECT_EQ(lists(), (Lists{{"0400100", "0400200"}, {"01", "03"}, {"11", "12"}, {"01", "03"}}));

    state.area = picked("01");
    FiltraLocalizacionesVacantes("", state, tables);
    EXPECT_EQ(lists(), (Lists{{"0400100", "0400200"}, {"01", "03"}, {"11"}, {"01"}}));

    // An institution lists the localities of its centres, whatever their province.
    state.area = {};
    state.institution = picked("01");
    FiltraLocalizacionesVacantes("", state, tables);
    EXPECT_EQ(lists(), (Lists{{"0400100", "1800100"}, {"01", "03"}, {"11"}, {"01", "03"}}));
    EXPECT_EQ(institutions.recordCount(), 3);
}

TEST_F(LocationFixture, ALocalityShutsOutTheZoneWhicheverComesFirst) {
    LocationState state;
    state.province = picked("04");
    state.zone = picked("11");
    state.locality = picked("0400100");
    ASSERT_TRUE(zones.setFilter("CodZona='11' "));
    FiltraLocalizacionesVacantes("LOCALIDAD", state, tables);
    EXPECT_TRUE(!state.zone.enabled && state.zone.value.isEmpty() && state.zone.text.isEmpty());
    EXPECT_TRUE(state.locality.enabled && state.locality.value == u"0400100"_s);
    EXPECT_EQ(shown(zones), QStringList({"11", "12"}));

    LocationState zoneFirst;
    zoneFirst.province = picked("04");
    zoneFirst.zone = picked("11");
    zoneFirst.locality = typed("");
    ASSERT_TRUE(zones.setFilter("CodZona='11' "));
    ASSERT_TRUE(localities.setFilter("CodLocalidad='0400100' "));
    FiltraLocalizacionesVacantes("ZONABASICA", zoneFirst, tables);
    EXPECT_EQ(shown(zones), QStringList({"11"}));
    EXPECT_FALSE(zoneFirst.locality.enabled);
    EXPECT_EQ(shown(localities), QStringList({"0400100", "0400200"}));

    // Without a province, a locality narrows the areas to its own province.
    LocationState localityOnly;
    localityOnly.locality = picked("1800100");
    localityOnly.zone.enabled = false;
    FiltraLocalizacionesVacantes("LOCALIDAD", localityOnly, tables);
    EXPECT_EQ(shown(areas), QStringList({"02"}));
}

TEST_F(LocationFixture, VacancyReactionsKeepTheCandidateCountTrue) {
    VacancyLocationFilters filters(tables);
    LocationState state;
    filters.applyEnabling(state); // the province first, alone
    EXPECT_TRUE(state.province.enabled && !state.locality.enabled && !state.zone.enabled);
    state.code = "00003";
    state.province = picked("04");
    const LocationReaction closed = filters.react(LocationBox::Province, LocationEvent::ListClosed, state);
    EXPECT_TRUE(closed.sendTab);
    EXPECT_EQ(closed.candidateCount, 3);
    EXPECT_EQ(state.code, "");
    EXPECT_EQ(shown(departments), QStringList{"01"}) << "03, in Almería too, has no candidate there";
    EXPECT_FALSE(state.province.enabled);
    EXPECT_TRUE(state.locality.enabled && state.zone.enabled && state.area.enabled);

    state.locality = picked("0400100");
    const LocationReaction locality =
        filters.react(LocationBox::Locality, LocationEvent::ChoiceConfirmed, state);
    EXPECT_FALSE(locality.sendTab);
    EXPECT_EQ(locality.candidateCount, 2);
    EXPECT_EQ(shown(candidates), QStringList({"00001", "00003"}));
    EXPECT_FALSE(state.zone.enabled);
    filters.applyEnabling(state); // as the window does when the tab's enabling is asked again
    EXPECT_TRUE(!state.zone.enabled && state.locality.enabled);
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

    state.area = picked("01");
    state.zone = picked("11");
    EXPECT_EQ(filters.react(LocationBox::Zone, LocationEvent::ChoiceConfirmed, state).candidateCount, 2);
    EXPECT_EQ(shown(candidates), QStringList({"00002", "00003"}));

    // What the boxes show after "Cancelar" is checked on the window (ListTabsEditorTest);
    // here the lists it does not show.
    EXPECT_EQ(filters.clear(state).candidateCount, 5);
    EXPECT_EQ(lists(), kUnfiltered);
    EXPECT_EQ(provinces.recordCount(), 2);
}

TEST_F(LocationFixture, ResultasProvinceNarrowsOnlyWhenPicked) {
    ResultasLocationFilters filters(tables);
    LocationState state;
    state.province = picked("18");
    state.locality = picked("0400100");
    state.institution = picked("01");
    state.code = "00001";
    ASSERT_TRUE(departments.setFilter("CodArea='01' "));
    const LocationReaction closed = filters.react(LocationBox::Province, LocationEvent::ListClosed, state);
    EXPECT_TRUE(closed.sendTab);
    EXPECT_EQ(closed.candidateCount, 2);
    EXPECT_EQ(shown(candidates), QStringList({"00004", "00005"}));
    EXPECT_EQ(lists(), (Lists{{"1800100"}, {"02"}, {"21"}, {"02"}})); // only Granada's has candidates
    EXPECT_TRUE(state.locality.value.isEmpty() && state.institution.value.isEmpty() && state.code.isEmpty());

    state.area = picked("02");
    state.zone = picked("21");
    state.province = typed("Gran");
    state.province.value = "18";
    const LocationReaction typedProvince =
        filters.react(LocationBox::Province, LocationEvent::TextChanged, state);
    EXPECT_FALSE(typedProvince.sendTab);
    EXPECT_EQ(typedProvince.candidateCount, 5);
    EXPECT_EQ(state.province.text, "Gran");
    for (const LocationChoice* choice : {&state.province, &state.area, &state.zone, &state.institution})
        EXPECT_EQ(choice->value, "");
    EXPECT_EQ(lists(), kUnfiltered);
}

TEST_F(LocationFixture, ResultasAreaOrZoneNarrowsTheCandidates) {
    ResultasLocationFilters filters(tables);
    LocationState state;
    state.zone = picked("21");
    state.area = picked("01");
    const LocationReaction area = filters.react(LocationBox::Area, LocationEvent::ListClosed, state);
    EXPECT_TRUE(area.sendTab);
    EXPECT_EQ(state.zone.value, "");
    EXPECT_EQ(lists().mid(2), (Lists{{"11"}, {"01"}}));
    EXPECT_EQ(shown(candidates), QStringList({"00001", "00002", "00003"}));

    state.area = typed("Áre");
    filters.react(LocationBox::Area, LocationEvent::TextChanged, state);
    EXPECT_EQ(zones.recordCount(), 3);
    EXPECT_EQ(state.area.value, "");

    // A zone name half typed keeps the focus; an emptied one moves it on.
    state.zone = typed("Ve");
    EXPECT_FALSE(filters.react(LocationBox::Zone, LocationEvent::TextChanged, state).sendTab);
    state.zone = typed("");
    EXPECT_TRUE(filters.react(LocationBox::Zone, LocationEvent::TextChanged, state).sendTab);
}

} // namespace
} // namespace velmora
