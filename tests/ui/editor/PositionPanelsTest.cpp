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
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::codesByOrder;
using test::FakeMessageService;
using test::isWellKept;
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

TEST_F(VacanciesPanelTest, BindsItsTablesAndOpensTheLocationsAfterTheProvince) {
    const std::pair<const char*, RecordSet*> bound[] = {
        {"cboPuestoVacante", &t.candidates},     {"cboProvinciaVacantes", &t.provinces},
        {"cboLocalidadVacantes", &t.localities}, {"cboConsejeriaVacantes", &t.departments},
        {"cboAreasVacantes", &t.areas},          {"cboZonasVacantes", &t.zones}};
    for (const auto& [name, table] : bound)
        EXPECT_EQ(combo(name)->boundSet(), table) << name;
    EXPECT_EQ(control<DataGrid>(panel, "grdVacantes")->boundSet(), &t.list);
    EXPECT_EQ(control<QLabel>(panel, "lblPlazas")->text(), "Códigos Localizados: 3");
    EXPECT_FALSE(box("txtDescVacantes")->isVisibleTo(&panel));

    // The province comes first; it brings the institution and the area with it.
    EXPECT_TRUE(combo("cboProvinciaVacantes")->isEnabled());
    for (const char* name :
         {"cboConsejeriaVacantes", "cboLocalidadVacantes", "cboAreasVacantes", "cboZonasVacantes"})
        EXPECT_FALSE(combo(name)->isEnabled()) << name;
    combo("cboProvinciaVacantes")->setValue("04");
    panel.setFiltersEnabled(true);
    EXPECT_TRUE(!combo("cboProvinciaVacantes")->isEnabled() && combo("cboConsejeriaVacantes")->isEnabled() &&
                combo("cboAreasVacantes")->isEnabled());
    click("cmdCancelarVacante");
    EXPECT_EQ(combo("cboProvinciaVacantes")->value(), "");
    EXPECT_TRUE(combo("cboProvinciaVacantes")->isEnabled() && !combo("cboAreasVacantes")->isEnabled());
}

TEST_F(VacanciesPanelTest, AddsChosenPositionsWithTheirMessages) {
    QSignalSpy added(&panel, &PositionPanel::positionsAdded);
    box("txtDemPlaza")->setText("Norte");
    choose("00030", "");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(added.count(), 1);
    EXPECT_EQ(test::listedTexts(t.list, {"00030:Demarcacion", "00030:Area", "00030:Zona"}),
              QStringList({"Norte", "Área Norte", "Zona Centro"}));
    EXPECT_EQ(combo("cboPuestoVacante")->value(), ""); // the panel is reset

    // The typed code picks its candidate; order 1 puts it first.
    box("txtCodVacante")->setText("00020");
    panel.lookUpCode();
    EXPECT_TRUE(combo("cboPuestoVacante")->value() == "00020" &&
                combo("cboPuestoVacante")->text() == "Puesto 00020");
    box("txtOrdenVacante")->setText("1");
    click("cmdAceptarVacante");
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00020", "00030"}));
    EXPECT_EQ(t.candidates.recordCount(), 3); // the reset clears the code filter

    choose("00030", "");
    combo("cboPuestoVacante")->setText("Puesto inventado");
    box("txtOrdenVacante")->setText("");
    click("cmdAceptarVacante");
    EXPECT_EQ(messages.texts(), QStringList({"Este puesto ya ha sido agregado a la solicitud",
                                             "El puesto elegido no es válido"}));
    EXPECT_EQ(messages.messages[1].title, "Solicitud Vacantes");
    EXPECT_EQ(added.count(), 2);
    EXPECT_TRUE(isWellKept(t.list));
}

TEST_F(VacanciesPanelTest, ModifiesTheOrderAndDemarcationOfTheSelectedRow) {
    click("cmdTodasVacantes");
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00010", "00020", "00030"}));
    panel.grid()->selectRowId(t.list.rowIdAt(0));
    click("cmdUpdateVacante");
    EXPECT_EQ(panel.mode(), PanelMode::Modifying);
    EXPECT_EQ(QStringList({box("txtOrdenVacante")->text(), box("txtCodVacante")->text(),
                           box("txtDescVacantes")->text()}),
              QStringList({"1", "00010", "Puesto 00010"}));
    EXPECT_TRUE(box("txtDescVacantes")->isVisibleTo(&panel) && !combo("cboPuestoVacante")->isEnabled() &&
                !box("txtCodVacante")->isEnabled() &&
                !control<QLabel>(panel, "lblPlazas")->isVisibleTo(&panel));

    click("cmdAddVacante"); // with a body chosen "Añadir" leaves the row loaded
    EXPECT_EQ(panel.mode(), PanelMode::Modifying);

    box("txtOrdenVacante")->clear();
    click("cmdAceptarVacante");
    ASSERT_EQ(messages.texts(), QStringList({"Debe asignar un orden a esta plaza"}));
    EXPECT_EQ(messages.messages[0].title, "Error");
    EXPECT_EQ(panel.mode(), PanelMode::Modifying);
    EXPECT_EQ(box("txtCodVacante")->text(), "00010");

    box("txtOrdenVacante")->setText("9");
    box("txtDemPlaza")->setText("Sur");
    click("cmdAceptarVacante");
    EXPECT_EQ(panel.mode(), PanelMode::Adding);
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00020", "00030", "00010"}));
    EXPECT_EQ(listedText(t.list, "00010", u"Demarcacion"), "Sur");
    EXPECT_TRUE(control<QLabel>(panel, "lblPlazas")->isVisibleTo(&panel) &&
                combo("cboPuestoVacante")->isEnabled());
}

TEST_F(VacanciesPanelTest, DeletesTheSelectedRowAndRenumbers) {
    QSignalSpy deleted(&panel, &PositionPanel::positionDeleted);
    click("cmdTodasVacantes");
    click("cmdDelVacante"); // no row selected: nothing asked
    EXPECT_TRUE(messages.messages.empty());
    panel.grid()->selectRowId(t.list.rowIdAt(1));
    messages.queueAnswer(MessageAnswer::No);
    click("cmdDelVacante");
    EXPECT_EQ(t.list.recordCount(), 3);
    panel.grid()->selectRowId(t.list.rowIdAt(1));
    click("cmdDelVacante");
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00010", "00030"}));
    EXPECT_TRUE(isWellKept(t.list));
    EXPECT_EQ(deleted.count(), 1);
    EXPECT_EQ(messages.texts(),
              QStringList({"¿Desea borrar la fila seleccionada?", "¿Desea borrar la fila seleccionada?"}));
    EXPECT_EQ(messages.messages[1].title, "Solicitudes");
}

TEST(ResultasPanel, KeepsItsListWithoutDemarcation) {
    TabTables t;
    FakeMessageService messages;
    ResultasPanel panel(t.tab(), messages);
    QSignalSpy added(&panel, &PositionPanel::positionsAdded);
    EXPECT_EQ(panel.findChild<QWidget*>("txtDemPlaza"), nullptr);
    EXPECT_EQ(panel.findChild<QWidget*>("lblPlazas"), nullptr);

    control<DataComboBox>(panel, "cboPuestoResultas")->setValue("00020");
    control<QPushButton>(panel, "cmdAceptarResultas")->click();
    control<DataComboBox>(panel, "cboPuestoResultas")->setValue("00020");
    control<QPushButton>(panel, "cmdAceptarResultas")->click();
    EXPECT_EQ(messages.texts(), QStringList({"Este puesto ya ha sido agregado a la solicitud"}));
    EXPECT_EQ(messages.messages[0].title, "Solicitud Resultas");
    control<QPushButton>(panel, "cmdInsertaTodasResultas")->click();
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00020", "00010", "00030"}));
    EXPECT_EQ(listedText(t.list, "00030", u"Demarcacion"), "");
    EXPECT_EQ(added.count(), 2);

    panel.grid()->selectRowId(t.list.rowIdAt(2));
    control<QPushButton>(panel, "cmdUpdateResultas")->click();
    control<QLineEdit>(panel, "txtOrdenResultas")->setText("1");
    control<QPushButton>(panel, "cmdAceptarResultas")->click();
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00030", "00020", "00010"}));

    panel.grid()->selectRowId(t.list.rowIdAt(0));
    control<QPushButton>(panel, "cmdDelResultas")->click();
    EXPECT_EQ(codesByOrder(t.list), QStringList({"00020", "00010"}));
    EXPECT_TRUE(isWellKept(t.list));
}

} // namespace
} // namespace velmora
