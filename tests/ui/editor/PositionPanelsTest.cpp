#include "ui/editor/ResultasPanel.h"
#include "ui/editor/VacanciesPanel.h"

#include "catalog/CatalogLoader.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DataGrid.h"
#include "support/FakeMessageService.h"
#include "support/PreferenceListFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::codesByOrder;
using test::FakeMessageService;
using test::listedText;

// The tables of one position tab, with three candidates in two areas.
struct TabTables : test::PreferenceTables {
    RecordSet provinces, localities, departments;

    TabTables() {
        EXPECT_TRUE(CatalogLoader::createProvinces(provinces));
        EXPECT_TRUE(CatalogLoader::createLocalities(localities));
        EXPECT_TRUE(CatalogLoader::createDepartments(departments));
        EXPECT_TRUE(provinces.addNew() && provinces.setValue(u"CodProvincia", "04") &&
                    provinces.setValue(u"Provincia", "Almería"));
        addArea("A1", "Área Norte");
        addZone("Z1", "Zona Centro");
        addCandidate("00030", "A1", "Z1");
        addCandidate("00010");
        addCandidate("00020", "A1");
        sortCandidates();
    }
    PositionTabTables tab() { return {list, candidates, provinces, localities, departments, areas, zones}; }
};

template <typename T> T* control(const QWidget& panel, const QString& name) {
    T* found = panel.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

class VacanciesPanelTest : public ::testing::Test {
protected:
    void click(const char* name) { control<QPushButton>(panel, QString::fromLatin1(name))->click(); }
    QLineEdit* box(const char* name) { return control<QLineEdit>(panel, QString::fromLatin1(name)); }
    DataComboBox* combo(const char* name) { return control<DataComboBox>(panel, QString::fromLatin1(name)); }
    void choose(const QString& code, const QString& order) {
        combo("cboPuestoVacante")->setValue(code);
        box("txtOrdenVacante")->setText(order);
        click("cmdAceptarVacante");
    }

    TabTables t;
    FakeMessageService messages;
    VacanciesPanel panel{t.tab(), messages};
};

// Adding, refusing and deleting are the list editor's (PreferenceListEditorTest) and the
// editor window's (ListTabsEditorTest); here what the panel itself binds and shows.
TEST_F(VacanciesPanelTest, BindsItsTablesAndModifiesTheSelectedRowInPlace) {
    const std::pair<const char*, RecordSet*> bound[] = {
        {"cboPuestoVacante", &t.candidates},     {"cboProvinciaVacantes", &t.provinces},
        {"cboLocalidadVacantes", &t.localities}, {"cboConsejeriaVacantes", &t.departments},
        {"cboAreasVacantes", &t.areas},          {"cboZonasVacantes", &t.zones}};
    for (const auto& [name, table] : bound)
        EXPECT_EQ(combo(name)->boundSet(), table) << name;
    EXPECT_EQ(control<DataGrid>(panel, "grdVacantes")->boundSet(), &t.list);
    EXPECT_EQ(control<QLabel>(panel, "lblPlazas")->text(), "Códigos Localizados: 3");

    box("txtDemPlaza")->setText("Norte");
    choose("00030", "");
    EXPECT_EQ(listedText(t.list, "00030", u"Demarcacion"), "Norte");
    click("cmdTodasVacantes");
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00030", "00010", "00020"}));
    panel.grid()->selectRowId(t.list.rowIdAt(1));
    click("cmdUpdateVacante");
    EXPECT_EQ(panel.mode(), PanelMode::Modifying);
    EXPECT_EQ(QStringList({box("txtOrdenVacante")->text(), box("txtCodVacante")->text(),
                           box("txtDescVacantes")->text()}),
              QStringList({"2", "00010", "Puesto 00010"}));
    EXPECT_TRUE(box("txtDescVacantes")->isVisibleTo(&panel) && !combo("cboPuestoVacante")->isEnabled() &&
                !box("txtCodVacante")->isEnabled() &&
                !control<QLabel>(panel, "lblPlazas")->isVisibleTo(&panel));

    click("cmdAddVacante"); // with a body chosen "Añadir" leaves the row loaded
    box("txtOrdenVacante")->clear();
    click("cmdAceptarVacante");
    ASSERT_EQ(messages.texts(), QStringList({"Debe asignar un orden a esta plaza"}));
    EXPECT_EQ(panel.mode(), PanelMode::Modifying);

    box("txtOrdenVacante")->setText("9");
    box("txtDemPlaza")->setText("Sur");
    click("cmdAceptarVacante");
    EXPECT_EQ(panel.mode(), PanelMode::Adding);
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00030", "00020", "00010"}));
    EXPECT_EQ(listedText(t.list, "00010", u"Demarcacion"), "Sur");
    EXPECT_TRUE(control<QLabel>(panel, "lblPlazas")->isVisibleTo(&panel) &&
                combo("cboPuestoVacante")->isEnabled());
}

TEST(ResultasPanel, KeepsItsListWithoutDemarcation) {
    TabTables t;
    FakeMessageService messages;
    ResultasPanel panel(t.tab(), messages);
    EXPECT_EQ(panel.findChild<QWidget*>("txtDemPlaza"), nullptr);
    EXPECT_EQ(panel.findChild<QWidget*>("lblPlazas"), nullptr);
    control<QPushButton>(panel, "cmdInsertaTodasResultas")->click();
    panel.grid()->selectRowId(t.list.rowIdAt(2));
    control<QPushButton>(panel, "cmdUpdateResultas")->click();
    control<QLineEdit>(panel, "txtOrdenResultas")->setText("1");
    control<QPushButton>(panel, "cmdAceptarResultas")->click();
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00030", "00010", "00020"}));
    EXPECT_EQ(listedText(t.list, "00030", u"Demarcacion"), "");
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace velmora
