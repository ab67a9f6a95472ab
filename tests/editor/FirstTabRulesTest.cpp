#include "editor/FirstTabRules.h"

#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"
#include "editor/DateField.h"
#include "editor/FiltraTecla.h"
#include "editor/FirstTabLocationCascades.h"
#include "platform/Clock.h"
#include "platform/data/RecordSet.h"
#include "support/FakeMessageService.h"
#include "support/TableRows.h"

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
    test::addRows(table, {},
                  {{"01", "Servicio activo", "0"}, {"03", "Servicios especiales", "0"}, {"08", "Otra", "1"}});
    return table;
}

TEST_F(FirstTabRulesTest, ClearedOptionsHideTheBoxesTheyShowedEmptied) {
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

TEST_F(FirstTabRulesTest, TheAdministrativeSituationDecidesItsBoxes) {
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

TEST_F(FirstTabRulesTest, TheCurrentPostOptionsDecideTheirBoxes) {
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

// ListTabsEditorTest.FirstTabPostingCascade checks on the window that a pick narrows
// the lists it shows; here what each pick narrows and empties.

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

TEST_F(FirstTabCascades, EachPickNarrowsOnlyWhatDependsOnIt) {
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
    EXPECT_EQ(tables.localitiesClone->filter(), "CodProvincia='18'");
    EXPECT_EQ(tables.localities.recordCount(), 2);
    for (ControlName emptied : {ctl::cboAreaIxa, ctl::cboLocalidadesIxa, ctl::cboZBSIxa})
        EXPECT_EQ(model.value(emptied), "") << emptied.toString().toStdString();

    // The preference area narrows only when picked: a text that is no item of the list empties
    // nothing, and no code leaves lists whole.
    model.setChoice(ctl::cboPrefArea, "", "Áre", false);
    EXPECT_TRUE(cascadeFirstTabLocations(ctl::cboPrefArea, model, tables));
    EXPECT_EQ(tables.localities.filter(), "");
    EXPECT_EQ(model.value(ctl::cboPrefLocalidad), "0400100");

    model.setChoice(ctl::cboPrefArea, "04", "Área 04");
    EXPECT_TRUE(cascadeFirstTabLocations(ctl::cboPrefArea, model, tables));
    EXPECT_EQ(tables.localities.filter(), "CodProvincia='04'");
    EXPECT_EQ(tables.zones.filter(), "CodArea='04'");
    EXPECT_EQ(model.value(ctl::cboPrefLocalidad), "");
    EXPECT_EQ(model.value(ctl::cboPrefProvincia), "");

    EXPECT_FALSE(cascadeFirstTabLocations(ctl::cboSituaciones, model, tables));
}

TEST(DateField, TypedDigitsGetTheSlashes) {
    QString text;
    for (const QChar digit : u"12031980"_s)
        text = DateField::afterKeyRelease(text + digit, true);
    EXPECT_EQ(text, "12/03/1980");
    EXPECT_EQ(DateField::afterKeyRelease("12", false), "12"); // Backspace, arrows, ...
}

TEST(DateField, DatesGetTheirFullForm) {
    EXPECT_EQ(DateField::normalised("1/2/1990"), "01/02/1990");
    EXPECT_EQ(DateField::normalised(" 5-11-1971 "), "05/11/1971");
    for (const char* notADate : {"31/02/2000", "29/02/1900", "12/03/80", "12/03/", "1/2-1990", "hoy"})
        EXPECT_EQ(DateField::normalised(notADate), notADate);
}

// Leaving a date box: the text kept, and the message ("Fecha Errónea", OK; the focus goes back)
// whose title is given ("" for none).
TEST(DateField, LeavingChecksTheDateFrom1900ToTodayByTheClock) {
    ApplicationModel model;
    FixedClock clock{QDateTime(QDate(2024, 5, 10), QTime(9, 30))};
    const QString wrong = u"Formato de Fecha erróneo"_s;
    const std::tuple<ControlName, const char*, const char*, QString> cases[] = {
        {ctl::txtFecNacimiento, "31/02/2000", "31/02/2000", programTitle()},
        {ctl::txtFechaIngreso, "12/13/2000", "12/13/2000", wrong},
        {ctl::txtFechaSit, "12/13/2000", "12/13/2000", wrong},
        {ctl::txtFecPosesion, "12/13/2000", "12/13/2000", wrong},
        {ctl::txtFecNacimiento, "31/12/1899", "31/12/1899", wrong},
        {ctl::txtFechaIngreso, "11/5/2024", "11/05/2024", wrong}, // tomorrow
        {ctl::txtFecNacimiento, "1/1/1900", "01/01/1900", u""_s},
        {ctl::txtFecNacimiento, "10/05/2024", "10/05/2024", u""_s},
        {ctl::txtFecNacimiento, "", "", u""_s}};
    for (const auto& [field, typed, kept, title] : cases) {
        model.setText(field, QString::fromLatin1(typed));
        const Status left = DateField::leave(model, field, clock);
        EXPECT_EQ(model.text(field), QString::fromLatin1(kept)) << typed;
        EXPECT_EQ(
            test::refusalText(left, title, title == wrong ? MessageIcon::Exclamation : MessageIcon::None),
            title.isEmpty() ? u""_s : u"Fecha Errónea"_s)
            << typed;
    }
    clock.set(QDateTime(QDate(2024, 5, 11), QTime(0, 1)));
    model.setText(ctl::txtFechaIngreso, "11/5/2024");
    EXPECT_TRUE(DateField::leave(model, ctl::txtFechaIngreso, clock).ok()) << "a valid date was refused";
}

// Types `keys` into a box the way the window applies the filter.
QString typed(const QString& keys) {
    QString text;
    for (const QChar key : keys)
        if (const KeyFilterResult result = FiltraTecla(key, text); result.key)
            text += *result.key;
    return text;
}

TEST(FiltraTecla, NumericBoxesTakeOnlyNumberKeys) {
    EXPECT_EQ(typed("47."), "47,");
    EXPECT_EQ(typed("4.7.1"), "4,71"); // a second full stop is discarded
    EXPECT_EQ(typed("4,7,1"), "4,71"); // and so is a second comma
    EXPECT_EQ(typed("4a7Z b"), "47");  // letters and blanks are discarded
    EXPECT_EQ(typed("-4-7"), "-4-7");  // the minus sign passes as typed
    EXPECT_EQ(typed("2n5n"), "2,5");   // "n" is a decimal key: a comma
    EXPECT_EQ(typed("\"'+"), "");
    // Enter moves on; Backspace passes.
    EXPECT_TRUE(FiltraTecla(QChar(13), "47").sendTab);
    EXPECT_FALSE(FiltraTecla(QChar(13), "47").key);
    EXPECT_EQ(FiltraTecla(QChar(8), "47").key, QChar(8));
    EXPECT_FALSE(FiltraTecla(QLatin1Char('5'), "47").sendTab);
}

} // namespace
} // namespace velmora
