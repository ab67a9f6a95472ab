#include "editor/ControlName.h"
#include "support/PreferenceListFixture.h"
#include "support/TableText.h"
#include "ui/EditorFixture.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

QString located(int count) {
    return u"Códigos Localizados: %1"_s.arg(count);
}

// The first value of `column` among the candidates `rows`.
QString firstOf(const RecordSet& rows, QStringView column) {
    return rows.clone()->textAt(0, rows.columnIndex(column));
}

// The editor of the small sample with a body chosen that offers at least six vacancies, in more
// than one province. Which rows and lists each choice narrows is LocationFiltersTest's and
// FirstTabCascades'; the lists' rules are PreferenceListEditorTest's. Here the window running
// those rules and showing what they give, by keyboard and mouse.
class ListTabsEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor = &f.openEditor();
        offered = f.pickBody([](const BodyPositions& e) {
            return e.vacancy->recordCount() >= 6 && valuesWhere(*e.vacancy, u"CodProvincia").size() > 1;
        });
        ASSERT_NE(offered, nullptr);
        auto sorted = offered->vacancy->clone();
        ASSERT_TRUE(sorted->setSort(u"CodConvocatoria"_s));
        for (int row = 0; row < sorted->recordCount(); ++row)
            codes << sorted->textAt(row, sorted->columnIndex(u"CodConvocatoria"));
        tabs = control<QTabWidget>(editor, u"tabPrincipal"_s);
        tabs->setCurrentIndex(2);
        settle();
    }
    QString count() const { return control<QLabel>(editor, u"lblPlazas"_s)->text(); }
    int shownCandidates(const char* name) { return dropDown(editor, name)->listModel()->rowCount(); }
    // Picks `code` from the vacancy drop-down, types `order` and accepts.
    void addVacancy(const QString& code, const QString& order = {}) {
        ASSERT_TRUE(pickFromList(dropDown(editor, "cboPuestoVacante"), code)) << code.toStdString();
        typeInto(editor, "txtOrdenVacante", order);
        press(editor, "cmdAceptarVacante");
    }
    QStringList listed() const { return codesByOrder(f.state.tables.vacancyList); }
    QStringList pick(std::initializer_list<int> indexes) const {
        QStringList out;
        for (int i : indexes)
            out << codes[i];
        return out;
    }

    EditorFixture f;
    EditorWindow* editor = nullptr;
    QTabWidget* tabs = nullptr;
    const BodyPositions* offered = nullptr;
    QStringList codes; // the body's vacancies by code
};

TEST_F(ListTabsEditorTest, VacancyOrdersStayOneToNThroughEveryEdit) {
    for (int i : {0, 1, 2})
        addVacancy(codes[i], i == 2 ? u"7"_s : QString());
    addVacancy(codes[4], u"2"_s); // rows 2..3 move down
    EXPECT_EQ(listed(), pick({0, 4, 1, 2}));
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();

    addVacancy(codes[0]);
    EXPECT_EQ(f.messages.only(u"Solicitud Vacantes"_s, MessageIcon::Exclamation),
              u"Este puesto ya ha sido agregado a la solicitud"_s);

    // Which orders count is orderOfText's; the box keeps none that does not, nor a letter.
    typeInto(editor, "txtOrdenVacante", u"32001a"_s, "txtDemPlaza");
    EXPECT_EQ(control<QLineEdit>(editor, u"txtOrdenVacante"_s)->text(), "");

    selectGridRow(editor, "grdVacantes", 1);
    press(editor, "cmdDelVacante");
    EXPECT_EQ(listed(), pick({0, 1, 2}));
    EXPECT_TRUE(isWellKept(f.state.tables.vacancyList));
}

// A row being modified shows its description instead of the choice and the count, and keeps the
// location lists locked, also when another window took the activation and gave it back.
TEST_F(ListTabsEditorTest, ARowBeingModifiedKeepsItsBoxesLockedWhenTheWindowComesBack) {
    typeInto(editor, "txtDemPlaza", u"Norte"_s);
    addVacancy(codes[0]);
    addVacancy(codes[1]);
    EXPECT_EQ(listedText(f.state.tables.vacancyList, codes[0], u"Demarcacion"), "Norte");
    selectGridRow(editor, "grdVacantes", 0);
    press(editor, "cmdUpdateVacante");
    const auto locked = [this] {
        for (const char* name :
             {"cboProvinciaVacantes", "cboConsejeriaVacantes", "cboLocalidadVacantes", "cboPuestoVacante"})
            if (dropDown(editor, name)->isEnabled())
                return false;
        return control<QWidget>(editor, u"txtDescVacantes"_s)->isVisible() &&
               !control<QWidget>(editor, u"lblPlazas"_s)->isVisible();
    };
    ASSERT_TRUE(locked());
    QWidget other;
    ASSERT_TRUE(showActive(&other));
    other.close();
    ASSERT_TRUE(showActive(editor));
    EXPECT_TRUE(locked());

    typeInto(editor, "txtOrdenVacante", u"2"_s);
    typeInto(editor, "txtDemPlaza", u"Sur"_s);
    press(editor, "cmdAceptarVacante");
    EXPECT_EQ(listed(), pick({1, 0}));
    EXPECT_EQ(listedText(f.state.tables.vacancyList, codes[0], u"Demarcacion"), "Sur");
    EXPECT_TRUE(dropDown(editor, "cboPuestoVacante")->isEnabled() &&
                control<QWidget>(editor, u"lblPlazas"_s)->isVisible());
}

TEST_F(ListTabsEditorTest, BodyComesFreeWithBothListsEmptyUntilTheApplicationIsSaved) {
    DataComboBox* body = dropDown(editor, "cboCuerpo");
    addVacancy(codes[0]);
    tabs->setCurrentIndex(3);
    const QString resulta = *listedCodes(dropDown(editor, "cboPuestoResultas")).begin();
    ASSERT_TRUE(pickFromList(dropDown(editor, "cboPuestoResultas"), resulta));
    press(editor, "cmdAceptarResultas");
    EXPECT_EQ(codesByOrder(f.state.tables.resultasList), QStringList{resulta});
    EXPECT_FALSE(body->isEnabled());

    selectGridRow(editor, "grdResultas", 0);
    press(editor, "cmdDelResultas");
    EXPECT_FALSE(body->isEnabled()) << "the vacancy list still holds a row";
    tabs->setCurrentIndex(2);
    selectGridRow(editor, "grdVacantes", 0);
    press(editor, "cmdDelVacante");
    EXPECT_TRUE(body->isEnabled());

    // Once saved, the application's file name holds the body: it stays.
    addVacancy(codes[1]);
    f.createPasswordWhenAsked();
    editor->menuEntry(MenuEntry::Save)->trigger();
    settle();
    ASSERT_TRUE(f.state.hasPassword);
    tabs->setCurrentIndex(2);
    selectGridRow(editor, "grdVacantes", 0);
    press(editor, "cmdDelVacante");
    EXPECT_EQ(f.state.tables.vacancyList.recordCount(), 0);
    EXPECT_FALSE(body->isEnabled());
    EXPECT_EQ(f.messages.texts(), QStringList(3, u"¿Desea borrar la fila seleccionada?"_s));
}

// The checks and the identifiers are the hand lists' (HandListEditorTest); here the course and
// document tabs running them on the editor's clock.
TEST_F(ListTabsEditorTest, HandListsAreEditedOnTheirTabs) {
    RecordSet& courses = f.state.tables.coursesList;
    tabs->setCurrentIndex(1);
    press(editor, "cmdAdd");
    typeInto(editor, "txtCurso", u"Uno"_s);
    auto* hours = control<QLineEdit>(editor, u"txtHoras"_s);
    typeInto(editor, "txtHoras", u"0a,5."_s, "txtAno"); // the letter and the full stop do not get in
    EXPECT_EQ(f.messages.only(u"Datos Erróneos"_s, MessageIcon::Exclamation),
              u"El número de horas introducido es erróneo"_s);
    EXPECT_TRUE(hours->text().isEmpty() && hours->hasFocus());
    typeInto(editor, "txtHoras", u"20"_s);
    typeInto(editor, "txtAno", u"2026"_s);
    f.messages.messages.clear();
    press(editor, "cmdAceptar");
    EXPECT_EQ(f.messages.texts(), QStringList({"Es obligatorio rellenar el centro que impartió el curso "}));
    EXPECT_EQ(control<QLineEdit>(editor, u"txtCurso"_s)->text(), "Uno"); // the tab keeps what was typed
    typeInto(editor, "txtCentro", u"Escuela"_s);
    press(editor, "cmdAceptar");
    EXPECT_EQ(rowsOf(courses), QStringList{"Uno|20|2026|Escuela|0"}) << "the clock's year is accepted";

    selectGridRow(editor, "grdCursos", 0);
    press(editor, "cmdUpdate");
    EXPECT_EQ(control<QLineEdit>(editor, u"txtCurso"_s)->text(), "Uno");
    typeInto(editor, "txtCurso", u"Uno bis"_s);
    press(editor, "cmdAceptar");
    EXPECT_EQ(rowsOf(courses), QStringList{"Uno bis|20|2026|Escuela|0"});
    selectGridRow(editor, "grdCursos", 0);
    press(editor, "cmdDel");
    EXPECT_EQ(courses.recordCount(), 0);

    tabs->setCurrentIndex(4);
    f.messages.messages.clear();
    press(editor, "cmdAceptarDoc");
    EXPECT_EQ(f.messages.texts().value(0), "Es obligatorio rellenar el nombre del documento");
    EXPECT_EQ(f.state.tables.documentsList.recordCount(), 0);
}

TEST_F(ListTabsEditorTest, VacancyTabNarrowsStepByStepUntilCancel) {
    const int all = offered->vacancy->recordCount();
    DataComboBox* province = dropDown(editor, "cboProvinciaVacantes");
    DataComboBox* institution = dropDown(editor, "cboConsejeriaVacantes");
    DataComboBox* locality = dropDown(editor, "cboLocalidadVacantes");
    DataComboBox* area = dropDown(editor, "cboAreasVacantes");
    DataComboBox* zone = dropDown(editor, "cboZonasVacantes");
    EXPECT_EQ(count(), located(all));
    EXPECT_TRUE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone})
        EXPECT_FALSE(box->isEnabled()) << qPrintable(box->objectName());

    // The province comes first and then stays; the candidates and the other lists narrow to it.
    const QString p = firstOf(*offered->vacancy, u"CodProvincia");
    ASSERT_TRUE(pickFromList(province, p));
    const int inProvince = shownCandidates("cboPuestoVacante");
    EXPECT_TRUE(inProvince > 0 && inProvince < all) << inProvince;
    EXPECT_EQ(count(), located(inProvince));
    EXPECT_FALSE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone})
        EXPECT_TRUE(box->isEnabled()) << qPrintable(box->objectName());
    EXPECT_EQ(listedCodes(locality),
              valuesWhere(f.state.tables.localities, u"CodLocalidad", u"CodProvincia", p));

    // A locality shuts the zone; emptying it by hand opens the zone again.
    ASSERT_TRUE(pickFromList(locality, firstOf(*offered->vacancy, u"CodLocalidad")));
    EXPECT_EQ(count(), located(shownCandidates("cboPuestoVacante")));
    EXPECT_FALSE(zone->isEnabled());
    locality->setFocus(Qt::TabFocusReason);
    locality->lineEdit()->selectAll();
    QTest::keyClick(locality->lineEdit(), Qt::Key_Backspace);
    settle();
    EXPECT_TRUE(zone->isEnabled());
    EXPECT_EQ(count(), located(inProvince));

    // A typed code narrows further; "Cancelar" starts over with the province alone.
    typeInto(editor, "txtCodVacante", firstOf(*offered->vacancy, u"CodConvocatoria"), "cboPuestoVacante");
    press(editor, "cmdCancelarVacante");
    EXPECT_EQ(count(), located(all));
    EXPECT_EQ(shownCandidates("cboPuestoVacante"), all);
    EXPECT_TRUE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone}) {
        EXPECT_FALSE(box->isEnabled()) << qPrintable(box->objectName());
        EXPECT_EQ(box->value(), "") << qPrintable(box->objectName());
    }
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

// A province typed by hand, which only the window turns into a choice that is no item.
TEST_F(ListTabsEditorTest, ResultasProvinceTypedByHandEmptiesTheRelatedChoices) {
    tabs->setCurrentIndex(3);
    const int all = offered->resultas->recordCount();
    ASSERT_GT(all, 0);
    DataComboBox* province = dropDown(editor, "cboProvinciaResultas");
    DataComboBox* area = dropDown(editor, "cboAreasResultas");
    EXPECT_EQ(listedCodes(dropDown(editor, "cboConsejeriaResultas")),
              valuesWhere(*offered->resultas, u"CodConsejeria")); // only those with positions
    ASSERT_TRUE(pickFromList(province, firstOf(*offered->resultas, u"CodProvincia")));
    ASSERT_FALSE(listedCodes(area).isEmpty());
    ASSERT_TRUE(pickFromList(area, *listedCodes(area).begin()));

    province->setFocus();
    province->lineEdit()->selectAll();
    QTest::keyClicks(province->lineEdit(), u"Provincia inventada"_s);
    settle();
    EXPECT_EQ(province->value(), "");
    EXPECT_EQ(area->value(), "");
    EXPECT_EQ(listedCodes(dropDown(editor, "cboZonasResultas")),
              valuesWhere(f.state.tables.zones, u"CodZona"));
    EXPECT_EQ(shownCandidates("cboPuestoResultas"), all);
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

// Which lists each pick empties and narrows is FirstTabCascades'; here the window running it.
TEST_F(ListTabsEditorTest, FirstTabPostingCascade) {
    tabs->setCurrentIndex(0);
    control<QRadioButton>(editor, ctl::OptSi)->click(); // a current post: its boxes show
    settle();
    auto& t = f.state.tables;
    DataComboBox* province = dropDown(editor, "cboProvinciasIxa");
    DataComboBox* area = dropDown(editor, "cboAreaIxa");
    const QString p = *listedCodes(province).begin();
    ASSERT_TRUE(pickFromList(province, p));
    EXPECT_EQ(listedCodes(area), valuesWhere(t.areas, u"CodArea", u"CodProvincia", p));
    EXPECT_EQ(listedCodes(dropDown(editor, "cboLocalidadesIxa")),
              valuesWhere(t.localities, u"CodLocalidad", u"CodProvincia", p));
    ASSERT_FALSE(listedCodes(area).isEmpty());
    const QString a = *listedCodes(area).begin();
    ASSERT_TRUE(pickFromList(area, a));
    EXPECT_EQ(listedCodes(dropDown(editor, "cboZBSIxa")), valuesWhere(t.zones, u"CodZona", u"CodArea", a));

    // An area of the preference whose localities are none: the box says so.
    DataComboBox* prefArea = dropDown(editor, "cboPrefArea");
    const QSet<QString> lonely = listedCodes(prefArea) - valuesWhere(t.localities, u"CodProvincia");
    ASSERT_FALSE(lonely.isEmpty());
    ASSERT_TRUE(pickFromList(prefArea, *lonely.begin()));
    EXPECT_EQ(dropDown(editor, "cboPrefLocalidad")->lineEdit()->placeholderText(),
              "Ninguna localidad en esta área");
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

} // namespace
} // namespace velmora::test
