#include "editor/FirstTabRules.h"

#include "editor/ApplicationModel.h"
#include "platform/data/RecordSet.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Names = std::initializer_list<ControlName>;

class FirstTabRulesTest : public ::testing::Test, public ApplicationModelListener {
protected:
    void SetUp() override { model.addListener(this); }
    void controlChanged(const FormControl&) override {}
    void focusRequested(QStringView name) override { focused << name.toString(); }

    void click(ControlName option) {
        model.setSelected(option);
        EXPECT_TRUE(rules.optionClicked(option));
    }
    void fill(Names names) {
        for (ControlName name : names)
            model.setText(name, "dato");
    }
    void expectShown(Names names, bool shown) {
        for (ControlName name : names)
            EXPECT_EQ(model.isVisible(name), shown) << name.toString().toStdString();
    }
    void expectEmpty(Names names) {
        for (ControlName name : names)
            EXPECT_EQ(model.text(name), "") << name.toString().toStdString();
    }

    ApplicationModel model;
    FirstTabRules rules{model};
    QStringList focused;
};

// The situations catalogue as contests ship it: one row marks the "other" situation.
RecordSet situationsTable() {
    RecordSet table;
    EXPECT_TRUE(createTable(table, {{"CodSituacion"}, {"Situacion"}, {"esOtras"}}).ok());
    for (const QStringList& row : {QStringList{"01", "Servicio activo", "0"},
                                   {"03", "Servicios especiales", "0"},
                                   QStringList{"08", "Otra", "1"}}) {
        EXPECT_TRUE(table.addNew().ok());
        for (int column = 0; column < 3; ++column)
            EXPECT_TRUE(table.setText(column, row[column]).ok());
    }
    return table;
}

TEST_F(FirstTabRulesTest, DisabilityFamilyReasonsAndParticipation) {
    const Names disability = {ctl::lblTipoDis, ctl::txtTipoDisc, ctl::lblAdap, ctl::txtAdaptaciones};
    click(ctl::optDiscSi);
    expectShown(disability, true);
    fill({ctl::txtTipoDisc, ctl::txtAdaptaciones});
    click(ctl::optDiscNo);
    expectShown(disability, false);
    expectEmpty({ctl::txtTipoDisc, ctl::txtAdaptaciones});

    const Names otherApplicant = {ctl::txtDNIConyuge, ctl::txtConyuApellido1, ctl::txtCOnyuApellido2,
                                  ctl::txtConyuNombre};
    click(ctl::optPetConyugeSi);
    expectShown({ctl::fraDNIConyuge}, true);
    fill(otherApplicant);
    click(ctl::optForzoso); // a forced participant cannot condition his application
    EXPECT_TRUE(model.isSelected(ctl::optPetConyugeNo));
    EXPECT_FALSE(model.isSelected(ctl::optPetConyugeSi));
    expectShown({ctl::fraDNIConyuge, ctl::fraAcopPetConyu}, false);
    expectEmpty(otherApplicant);
    click(ctl::optVoluntario);
    expectShown({ctl::fraAcopPetConyu}, false);
}

TEST_F(FirstTabRulesTest, ActiveForcesNoReentryAndOtherSituationsOpenTheList) {
    click(ctl::optOtras);
    EXPECT_TRUE(model.isEnabled(ctl::fraReingreso));
    expectShown({ctl::cboSituaciones, ctl::txtFechaSit, ctl::lblFechaSit}, true);
    model.setSelected(ctl::optReingesoSi); // re-entry has no rule of its own
    rules.situationsListClosed("1", "Otra");
    expectShown({ctl::txtSitAdm}, true);
    EXPECT_EQ(focused, QStringList{"txtSitAdm"});
    model.setChoice(ctl::cboSituaciones, "08", "Otra");
    fill({ctl::txtSitAdm, ctl::txtFechaSit});

    click(ctl::optActivo);
    EXPECT_TRUE(model.isSelected(ctl::optReingresoNo));
    EXPECT_FALSE(model.isEnabled(ctl::fraReingreso));
    expectShown({ctl::txtFechaSit, ctl::lblFechaSit, ctl::txtSitAdm, ctl::cboSituaciones}, false);
    expectEmpty({ctl::txtFechaSit, ctl::txtSitAdm, ctl::cboSituaciones});
    EXPECT_FALSE(model.isListItem(ctl::cboSituaciones));

    click(ctl::optOtras);
    rules.situationsListClosed("0", "Servicios especiales");
    expectShown({ctl::txtSitAdm}, false);
    EXPECT_EQ(model.text(ctl::txtSitAdm), "Servicios especiales");
    EXPECT_EQ(focused.size(), 1);
}

TEST_F(FirstTabRulesTest, CurrentPostNatureHealthServiceAndPostalCode) {
    const Names post = {ctl::Frame7, ctl::Frame3, ctl::fraDefTemp, ctl::txtFecPosesion, ctl::lblPosesion};
    const Names postTexts = {ctl::txtFecPosesion, ctl::txtPuesto, ctl::txtLocalidadPuesto,
                             ctl::txtProvinciaPuesto, ctl::txtSS};
    click(ctl::OptSi);
    fill(postTexts);
    fill({ctl::txtDemarDest});
    click(ctl::OptNo);
    expectShown(post, false);
    expectEmpty(postTexts);
    EXPECT_EQ(model.text(ctl::txtDemarDest), "dato");
    click(ctl::OptSi);
    expectShown(post, true);

    fill({ctl::txtFecPosesion});
    click(ctl::optTemporal);
    expectShown({ctl::txtFecPosesion, ctl::lblPosesion}, false);
    expectEmpty({ctl::txtFecPosesion});
    click(ctl::optDefinitivo);
    expectShown({ctl::txtFecPosesion, ctl::lblPosesion}, true);

    click(ctl::optSSOtros);
    expectShown({ctl::txtSS}, true);
    EXPECT_EQ(focused, QStringList{"txtSS"});
    fill({ctl::txtSS});
    click(ctl::optSSTarvo);
    expectShown({ctl::txtSS}, false);
    expectEmpty({ctl::txtSS});
    EXPECT_FALSE(rules.optionClicked(ctl::txtNombre));

    model.setText(ctl::txtCP, "45600");
    rules.addressProvinceChanged(); // no province yet: the code stays
    EXPECT_EQ(model.text(ctl::txtCP), "45600");
    model.setChoice(ctl::cboProvincia, "28", "Madrid");
    rules.addressProvinceChanged();
    EXPECT_EQ(model.text(ctl::txtCP), "28");
}

// Loading runs the option clicks first: the fields they clear get their saved values after.
TEST_F(FirstTabRulesTest, LoadingKeepsEveryValueTheOptionClicksWouldClear) {
    ApplicationModel saved;
    for (ControlName option : {ctl::optDiscSi, ctl::optPetConyugeSi, ctl::optReingesoSi, ctl::optOtras,
                               ctl::OptSi, ctl::optDefinitivo, ctl::optSSOtros})
        saved.setSelected(option);
    const Names kept = {ctl::txtTipoDisc, ctl::txtConyuNombre, ctl::txtSS, ctl::txtFecPosesion};
    for (ControlName name : kept)
        saved.setText(name, "guardado");
    saved.setText(ctl::txtSitAdm, "Comisión de servicios");
    saved.setText(ctl::txtFechaSit, "1/2/2020");
    saved.setChoice(ctl::cboCuerpo, "01000", "Enfermero/a");
    saved.setChoice(ctl::cboGrupo, "", "Z9", false);

    rules.fillFromSaved(saved);
    rules.applyLoadedData(situationsTable());
    for (ControlName name : kept)
        EXPECT_EQ(model.text(name), "guardado") << name.toString().toStdString();
    expectShown({ctl::txtTipoDisc, ctl::lblAdap, ctl::fraDNIConyuge, ctl::txtSS, ctl::txtFecPosesion}, true);
    EXPECT_EQ(model.text(ctl::txtSitAdm), "Comisión de servicios");
    expectShown({ctl::txtSitAdm, ctl::cboSituaciones}, true);
    EXPECT_EQ(model.value(ctl::cboSituaciones), "08");
    EXPECT_EQ(model.text(ctl::cboSituaciones), "Otra");
    EXPECT_TRUE(model.isSelected(ctl::optReingesoSi));
    EXPECT_EQ(model.text(ctl::txtFechaSit), "01/02/2020");
    EXPECT_TRUE(model.isListItem(ctl::cboCuerpo));
    EXPECT_EQ(model.text(ctl::cboGrupo), "Z9");
    EXPECT_FALSE(model.isListItem(ctl::cboGrupo));
    for (ControlName name : {ctl::cboCuerpo, ctl::cboGrupo, ctl::txtDNI})
        EXPECT_FALSE(model.isEnabled(name)) << name.toString().toStdString();
    EXPECT_EQ(focused, QStringList{}) << "loading moved the focus";
}

TEST_F(FirstTabRulesTest, LoadedSituationsFindTheirRowThroughTheSituationsTable) {
    const RecordSet situations = situationsTable();
    ApplicationModel listed;
    listed.setSelected(ctl::optOtras);
    listed.setText(ctl::txtSitAdm, "Servicios especiales");
    listed.setSelected(ctl::optTemporal);
    rules.fillFromSaved(listed);
    rules.applyLoadedData(situations);
    EXPECT_EQ(model.value(ctl::cboSituaciones), "03");
    expectShown({ctl::txtSitAdm, ctl::txtFecPosesion, ctl::lblPosesion}, false);

    // An active employee has no situation: none is made up for him.
    ApplicationModel active;
    active.setSelected(ctl::optActivo);
    rules.fillFromSaved(active);
    rules.applyLoadedData(situations);
    EXPECT_EQ(model.value(ctl::cboSituaciones), "");
    EXPECT_FALSE(model.isListItem(ctl::cboSituaciones));
}

} // namespace
} // namespace velmora
