#include "catalog/PositionLookup.h"
#include "editor/ControlName.h"
#include "support/PreferenceListFixture.h"
#include "support/QStringPrinter.h"
#include "ui/EditorFixture.h"
#include "ui/ListDriving.h"

#include <QAction>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

void expectMessage(const FakeMessageService::Message& m, const char* text, const char* title,
                   MessageIcon icon = MessageIcon::Exclamation, MessageButtons buttons = MessageButtons::Ok) {
    EXPECT_EQ(m.text, QString::fromUtf8(text));
    EXPECT_EQ(m.title, QString::fromUtf8(title));
    EXPECT_EQ(m.icon, icon) << text;
    EXPECT_EQ(m.buttons, buttons) << text;
}

// The editor of the small sample with a body offering at least six vacancies chosen.
class ListTabsEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor = &f.openEditor();
        typeInto(editor, "txtApellido1", QStringLiteral("García"));
        typeInto(editor, "txtNombre", QStringLiteral("María"));
        typeInto(editor, "txtFecNacimiento", QStringLiteral("12031980"));
        control<QRadioButton>(editor, ctl::optActivo)->click();
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
            (void)offered->setSort(QStringLiteral("CodConvocatoria"));
            for (int row = 0; row < offered->recordCount(); ++row)
                codes << offered->textAt(row, offered->columnIndex(u"CodConvocatoria"));
        }
        ASSERT_GE(codes.size(), 6);
        tabs = control<QTabWidget>(editor, QStringLiteral("tabPrincipal"));
        tabs->setCurrentIndex(2);
    }
    // Picks `code` from the vacancy drop-down, types `order` and accepts.
    void addVacancy(const QString& code, const QString& order = {}) {
        ASSERT_TRUE(pickFromList(dropDown(editor, "cboPuestoVacante"), code)) << code.toStdString();
        typeInto(editor, "txtOrdenVacante", order);
        press(editor, "cmdAceptarVacante");
    }
    void modifyVacancy(int shownRow, const QString& order) {
        selectGridRow(editor, "grdVacantes", shownRow);
        press(editor, "cmdUpdateVacante");
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

// The panel's own rules are checked on the panel (PositionPanelsTest) and the list's on its
// editor (PreferenceListEditorTest); here the editor's wiring of them, by keyboard and mouse.
TEST_F(ListTabsEditorTest, VacancyOrdersStayOneToNThroughAddModifyAndDelete) {
    for (int i : {0, 1, 2})
        addVacancy(codes[i], i == 2 ? QStringLiteral("7") : QString());
    addVacancy(codes[4], QStringLiteral("2")); // rows 2..3 move down
    EXPECT_EQ(listed(), pick({0, 4, 1, 2}));
    modifyVacancy(3, QStringLiteral("2")); // order 4 to 2
    EXPECT_EQ(listed(), pick({0, 2, 4, 1}));
    EXPECT_TRUE(isWellKept(f.state.tables.vacancyList));
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();

    addVacancy(codes[0]);
    expectMessage(f.messages.messages.at(0), "Este puesto ya ha sido agregado a la solicitud",
                  "Solicitud Vacantes");

    // The order box: digits and one comma only; nothing above 32000 or below 1 stays.
    auto* order = control<QLineEdit>(editor, QStringLiteral("txtOrdenVacante"));
    typeInto(editor, "txtOrdenVacante", QStringLiteral("1a.2."));
    EXPECT_EQ(order->text(), "1,2");
    for (const char* text : {"0", "32001"}) {
        typeInto(editor, "txtOrdenVacante", QString::fromLatin1(text), "txtDemPlaza");
        EXPECT_EQ(order->text(), "") << text;
    }

    selectGridRow(editor, "grdVacantes", 1);
    press(editor, "cmdDelVacante");
    EXPECT_EQ(listed(), pick({0, 4, 1}));
    EXPECT_TRUE(isWellKept(f.state.tables.vacancyList));
}

TEST_F(ListTabsEditorTest, ARowBeingModifiedKeepsItsLocationListsLockedWhenTheWindowComesBack) {
    addVacancy(codes[0]);
    selectGridRow(editor, "grdVacantes", 0);
    press(editor, "cmdUpdateVacante");
    const auto locked = [this] {
        for (const char* name : {"cboProvinciaVacantes", "cboConsejeriaVacantes", "cboLocalidadVacantes"})
            if (dropDown(editor, name)->isEnabled())
                return false;
        return true;
    };
    ASSERT_TRUE(locked());
    QWidget other; // a message box or another window takes the activation and gives it back
    ASSERT_TRUE(showActive(&other));
    other.close();
    ASSERT_TRUE(showActive(editor));
    EXPECT_TRUE(locked());
    press(editor, "cmdCancelarVacante");
    EXPECT_TRUE(dropDown(editor, "cboProvinciaVacantes")->isEnabled());
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
    f.whenModal(QStringLiteral("frmCreaPwd"), [](QWidget* w) {
        QTest::keyClicks(control<QLineEdit>(w, QStringLiteral("txtPwd(0)")), QStringLiteral("secreto"));
        QTest::keyClicks(control<QLineEdit>(w, QStringLiteral("txtPwd(1)")), QStringLiteral("secreto"));
        QTest::mouseClick(control<QWidget>(w, QStringLiteral("cmdAceptar")), Qt::LeftButton);
    });
    editor->menuEntry(MenuEntry::Save)->trigger();
    settle();
    ASSERT_TRUE(f.state.hasPassword);
    tabs->setCurrentIndex(2);
    selectGridRow(editor, "grdVacantes", 0);
    press(editor, "cmdDelVacante");
    EXPECT_EQ(f.state.tables.vacancyList.recordCount(), 0);
    EXPECT_FALSE(body->isEnabled());
    EXPECT_EQ(f.messages.texts(), QStringList(3, QStringLiteral("¿Desea borrar la fila seleccionada?")));
}

TEST_F(ListTabsEditorTest, CourseIdentifiersAndYearsFollowTheirRules) {
    tabs->setCurrentIndex(1);
    const auto addCourse = [&](const QString& name, const QString& year) {
        press(editor, "cmdAdd");
        typeInto(editor, "txtCurso", name);
        typeInto(editor, "txtHoras", QStringLiteral("20"));
        typeInto(editor, "txtAno", year);
        typeInto(editor, "txtCentro", QStringLiteral("Escuela"));
        press(editor, "cmdAceptar");
    };
    const RecordSet& courses = f.state.tables.coursesList;
    const auto ids = [&] { return valuesWhere(courses, u"IdCurso"); };
    addCourse(QStringLiteral("Uno"), QStringLiteral("2026")); // the clock's year is accepted
    addCourse(QStringLiteral("Dos"), QStringLiteral("2000"));
    EXPECT_EQ(ids(), QSet<QString>({"0", "1"}));
    selectGridRow(editor, "grdCursos", 1);
    press(editor, "cmdDel");
    addCourse(QStringLiteral("Tres"), QStringLiteral("2001"));
    EXPECT_EQ(ids(), QSet<QString>({"0", "1"})) << "the freed largest identifier is given again";
    selectGridRow(editor, "grdCursos", 0);
    press(editor, "cmdDel");
    addCourse(QStringLiteral("Cuatro"), QStringLiteral("2002"));
    EXPECT_EQ(ids(), QSet<QString>({"1", "2"}));

    f.messages.messages.clear();
    typeInto(editor, "txtAno", QStringLiteral("2027"), "txtCentro");
    ASSERT_EQ(f.messages.messages.size(), 1u);
    expectMessage(f.messages.messages[0], "El año introducido es erróneo", "Datos erróneos");
    EXPECT_EQ(control<QLineEdit>(editor, QStringLiteral("txtAno"))->text(), "");

    tabs->setCurrentIndex(4);
    press(editor, "cmdAddDoc");
    typeInto(editor, "txtDoc", QStringLiteral("Título de grado"));
    press(editor, "cmdAceptarDoc");
    EXPECT_EQ(f.state.tables.documentsList.recordCount(), 1) << "a name alone is enough";
    EXPECT_EQ(f.messages.messages.size(), 1u);
}

} // namespace
} // namespace velmora::test
