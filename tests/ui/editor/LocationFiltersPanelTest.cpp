#include "ui/editor/VacanciesPanel.h"

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogLoader.h"
#include "editor/ApplicationListTables.h"
#include "platform/widgets/DataComboBox.h"
#include "support/FakeMessageService.h"
#include "support/QStringPrinter.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora {
namespace {

void addRow(RecordSet& table, std::initializer_list<std::pair<const char*, const char*>> values) {
    ASSERT_TRUE(table.addNew());
    for (const auto& [column, value] : values)
        ASSERT_TRUE(table.setValue(QString::fromLatin1(column), QString::fromUtf8(value)));
}

// The vacancy tab over two provinces: three candidates in Almería, one in Granada.
class LocationFiltersPanelTest : public ::testing::Test {
protected:
    LocationFiltersPanelTest() {
        EXPECT_TRUE(createVacancyList(list));
        EXPECT_TRUE(createCandidatePositions(candidates));
        EXPECT_TRUE(CatalogLoader::createProvinces(provinces));
        EXPECT_TRUE(CatalogLoader::createLocalities(localities));
        EXPECT_TRUE(CatalogLoader::createDepartments(departments));
        EXPECT_TRUE(CatalogLoader::createAreas(areas));
        EXPECT_TRUE(CatalogLoader::createZones(zones));
        addRow(provinces, {{"CodProvincia", "04"}, {"Provincia", "Almería"}});
        addRow(provinces, {{"CodProvincia", "18"}, {"Provincia", "Granada"}});
        addRow(localities, {{"CodLocalidad", "0400100"}, {"Localidad", "Almería"}, {"CodProvincia", "04"}});
        addRow(localities, {{"CodLocalidad", "0400200"}, {"Localidad", "Roquetas"}, {"CodProvincia", "04"}});
        addRow(localities, {{"CodLocalidad", "1800100"}, {"Localidad", "Granada"}, {"CodProvincia", "18"}});
        for (const auto& [code, province, locality] :
             {std::tuple{"00001", "04", "0400100"}, std::tuple{"00002", "04", "0400200"},
              std::tuple{"00003", "04", "0400100"}, std::tuple{"00004", "18", "1800100"}})
            addRow(candidates,
                   {{"CodConvocatoria", code}, {"CodProvincia", province}, {"CodLocalidad", locality}});
        panel = std::make_unique<VacanciesPanel>(
            PositionTabTables{list, candidates, provinces, localities, departments, areas, zones}, messages);
        panel->show();
    }

    DataComboBox* combo(const char* name) {
        return panel->findChild<DataComboBox*>(QString::fromLatin1(name));
    }
    QString count() { return panel->findChild<QLabel*>(QStringLiteral("lblPlazas"))->text(); }

    RecordSet list, candidates, provinces, localities, departments, areas, zones;
    test::FakeMessageService messages;
    std::unique_ptr<VacanciesPanel> panel;
};

TEST_F(LocationFiltersPanelTest, PickingAProvinceNarrowsTheCandidatesAndCancelWidensThemAgain) {
    EXPECT_EQ(count(), "Códigos Localizados: 4");
    DataComboBox* province = combo("cboProvinciaVacantes");
    ASSERT_TRUE(province->isEnabled());
    EXPECT_FALSE(combo("cboLocalidadVacantes")->isEnabled());

    province->setFocus();
    QTest::keyClick(province, Qt::Key_Down); // picks Almería, as from the list
    ASSERT_EQ(province->value(), "04");
    EXPECT_EQ(count(), "Códigos Localizados: 3");
    EXPECT_EQ(combo("cboPuestoVacante")->listModel()->rowCount(), 3);
    EXPECT_FALSE(province->isEnabled());
    for (const char* name :
         {"cboConsejeriaVacantes", "cboLocalidadVacantes", "cboAreasVacantes", "cboZonasVacantes"})
        EXPECT_TRUE(combo(name)->isEnabled()) << name;
    EXPECT_EQ(combo("cboLocalidadVacantes")->listModel()->rowCount(), 2);

    DataComboBox* locality = combo("cboLocalidadVacantes");
    locality->setFocus();
    QTest::keyClick(locality, Qt::Key_Down);
    ASSERT_EQ(locality->value(), "0400100");
    EXPECT_EQ(count(), "Códigos Localizados: 2");
    EXPECT_FALSE(combo("cboZonasVacantes")->isEnabled()) << "a locality shuts the zone";

    panel->findChild<QPushButton*>(QStringLiteral("cmdCancelarVacante"))->click();
    EXPECT_EQ(count(), "Códigos Localizados: 4");
    EXPECT_EQ(province->value(), "");
    EXPECT_TRUE(province->isEnabled());
    EXPECT_FALSE(locality->isEnabled());
    EXPECT_EQ(locality->listModel()->rowCount(), 3);
}

} // namespace
} // namespace velmora
