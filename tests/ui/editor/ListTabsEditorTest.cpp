#include "catalog/PositionLookup.h"
#include "editor/ControlName.h"
#include "support/PreferenceListFixture.h"
#include "support/TableText.h"
#include "ui/EditorFixture.h"
#include "ui/ListDriving.h"

#include <QAction>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// The editor of the small sample with a body offering at least six vacancies chosen.
class ListTabsEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor = &f.openEditor();
        DataComboBox* body = dropDown(editor, "cboCuerpo");
        body->setFocus();
        for (int i = 0; i < 50 && codes.size() < 6; ++i) {
            QTest::keyClick(body, Qt::Key_Down);
            settle();
            const BodyPositions* entry = findBodyPositions(f.state.tables.bodyPositions, body->value(), true);
            if (body->value().startsWith(QLatin1Char('X')) || !entry || !entry->vacancy)
                continue;
            codes.clear();
            auto offered = entry->vacancy->clone();
            (void)offered->setSort(u"CodConvocatoria"_s);
            for (int row = 0; row < offered->recordCount(); ++row)
                codes << offered->textAt(row, offered->columnIndex(u"CodConvocatoria"));
        }
        ASSERT_GE(codes.size(), 6);
        tabs = control<QTabWidget>(editor, u"tabPrincipal"_s);
        tabs->setCurrentIndex(2);
    }
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
    QStringList codes; // the body's vacancies by code
};

// The list's rules are checked on its editor (PreferenceListEditorTest); here the editor window's
// wiring of them, by keyboard and mouse.
TEST_F(ListTabsEditorTest, VacancyOrdersStayOneToNThroughAddAndDelete) {
    for (int i : {0, 1, 2})
        addVacancy(codes[i], i == 2 ? u"7"_s : QString());
    addVacancy(codes[4], u"2"_s); // rows 2..3 move down
    EXPECT_EQ(listed(), pick({0, 4, 1, 2}));
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();

    addVacancy(codes[0]);
    EXPECT_EQ(f.messages.only(u"Solicitud Vacantes"_s, MessageIcon::Exclamation),
              u"Este puesto ya ha sido agregado a la solicitud"_s);

    // The order box: digits and one comma only; nothing above 32000 or below 1 stays.
    auto* order = control<QLineEdit>(editor, u"txtOrdenVacante"_s);
    typeInto(editor, "txtOrdenVacante", u"1a.2."_s);
    EXPECT_EQ(order->text(), "1,2");
    for (const char* text : {"0", "32001"}) {
        typeInto(editor, "txtOrdenVacante", QString::fromLatin1(text), "txtDemPlaza");
        EXPECT_EQ(order->text(), "") << text;
    }

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

// The checks and the identifiers are the hand lists' (HandListEditorTest, ValidaCurso,
// CourseNumberChecks); here the course and document tabs running them on the editor's clock.
TEST_F(ListTabsEditorTest, CoursesAndDocumentsAreCheckedKeptAndModifiedOnTheirTabs) {
    RecordSet& courses = f.state.tables.coursesList;
    tabs->setCurrentIndex(1);
    press(editor, "cmdAdd");
    typeInto(editor, "txtCurso", u"Uno"_s);
    auto* hours = control<QLineEdit>(editor, u"txtHoras"_s);
    typeInto(editor, "txtHoras", u"0a.5."_s);
    EXPECT_EQ(hours->text(), "0,5"); // a letter and a second comma are discarded
    typeInto(editor, "txtHoras", u"0,5"_s, "txtAno");
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

    f.messages.messages.clear();
    typeInto(editor, "txtAno", u"2027"_s, "txtCentro");
    EXPECT_EQ(f.messages.only(u"Datos erróneos"_s, MessageIcon::Exclamation),
              u"El año introducido es erróneo"_s);
    EXPECT_EQ(control<QLineEdit>(editor, u"txtAno"_s)->text(), "");

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

} // namespace
} // namespace velmora::test
