#include "ui/editor/CoursesPanel.h"
#include "ui/editor/DocumentsPanel.h"

#include "editor/ApplicationListTables.h"
#include "platform/data/RecordSet.h"
#include "platform/widgets/DataGrid.h"
#include "support/FakeMessageService.h"
#include "support/TableText.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeMessageService;

template <typename T> T* control(const QWidget& panel, const char* name) {
    T* found = panel.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void click(const QWidget& panel, const char* name) {
    QPushButton* button = control<QPushButton>(panel, name);
    ASSERT_NE(button, nullptr);
    button->click();
}

void type(const QWidget& panel, const char* name, const QString& text) {
    QLineEdit* box = control<QLineEdit>(panel, name);
    ASSERT_NE(box, nullptr);
    box->setText(text);
}

QString text(const QWidget& panel, const char* name) {
    QLineEdit* box = control<QLineEdit>(panel, name);
    return box ? box->text() : u"<no existe>"_s;
}

class CoursesPanelTest : public ::testing::Test {
protected:
    CoursesPanelTest() {
        EXPECT_TRUE(createCoursesList(courses));
        panel.setClock(clock);
    }

    void fill(const QString& name, const QString& hours, const QString& year, const QString& centre) {
        type(panel, "txtCurso", name);
        type(panel, "txtHoras", hours);
        type(panel, "txtAno", year);
        type(panel, "txtCentro", centre);
    }

    RecordSet courses;
    FakeMessageService messages;
    FixedClock clock{QDateTime(QDate(2026, 3, 1), QTime(10, 0))};
    CoursesPanel panel{courses, messages};
};

// The checks themselves are the list's (HandListEditorTest, ValidaCurso, CourseNumberChecks);
// here the panel running them and keeping or clearing its boxes.
TEST_F(CoursesPanelTest, AddChecksEveryFieldThenStoresTheCourse) {
    click(panel, "cmdAdd");
    fill("Urgencias", "20", "2001", "");
    click(panel, "cmdAceptar");
    EXPECT_EQ(messages.texts(), QStringList({"Es obligatorio rellenar el centro que impartió el curso "}));
    EXPECT_EQ(courses.recordCount(), 0);
    EXPECT_EQ(text(panel, "txtCurso"), "Urgencias"); // a failed check keeps the panel as it was

    type(panel, "txtCentro", "Escuela");
    click(panel, "cmdAceptar");
    EXPECT_EQ(test::rowsOf(courses), QStringList{"Urgencias|20|2001|Escuela|0"});
    EXPECT_EQ(text(panel, "txtCurso"), ""); // the panel is reset

    // A year past the clock's is refused at "Aceptar" too, not only on leaving its box.
    fill("Otro", "3", "2027", "Escuela");
    click(panel, "cmdAceptar");
    EXPECT_EQ(messages.texts().last(), "El año introducido es erróneo");
    EXPECT_EQ(courses.recordCount(), 1);

    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    QLineEdit* hours = control<QLineEdit>(panel, "txtHoras");
    hours->setFocus();
    hours->clear();
    QTest::keyClicks(hours, "0a.5.");
    EXPECT_EQ(hours->text(), "0,5"); // a letter and a second comma are discarded
    control<QLineEdit>(panel, "txtAno")->setFocus();
    EXPECT_EQ(messages.texts().last(), "El número de horas introducido es erróneo");
    EXPECT_EQ(hours->text(), "");
    EXPECT_TRUE(hours->hasFocus());
}

TEST_F(CoursesPanelTest, ModifyThenCancelOrAcceptAndDelete) {
    fill("Uno", "10", "2000", "A");
    click(panel, "cmdAceptar");
    fill("Dos", "20", "2010", "B");
    click(panel, "cmdAceptar");
    ASSERT_EQ(courses.recordCount(), 2);

    panel.grid()->selectRowId(courses.rowIdAt(1));
    click(panel, "cmdUpdate");
    EXPECT_EQ(panel.mode(), PanelMode::Modifying);
    EXPECT_EQ(QStringList({text(panel, "txtIdCurso"), text(panel, "txtCurso"), text(panel, "txtAno")}),
              QStringList({"1", "Dos", "2010"}));
    click(panel, "cmdCancelar");
    EXPECT_EQ(panel.mode(), PanelMode::Adding);

    panel.grid()->selectRowId(courses.rowIdAt(1));
    click(panel, "cmdUpdate");
    type(panel, "txtCurso", "Dos bis");
    click(panel, "cmdAceptar");
    EXPECT_EQ(test::rowsOf(courses), QStringList({"Uno|10|2000|A|0", "Dos bis|20|2010|B|1"}));

    panel.grid()->selectRowId(courses.rowIdAt(0));
    messages.queueAnswer(MessageAnswer::No);
    click(panel, "cmdDel");
    EXPECT_EQ(courses.recordCount(), 2);
    panel.grid()->selectRowId(courses.rowIdAt(0));
    click(panel, "cmdDel"); // answered "Sí"
    EXPECT_EQ(test::rowsOf(courses), QStringList{"Dos bis|20|2010|B|1"});
    EXPECT_EQ(messages.texts(), QStringList(2, u"¿Desea borrar la fila seleccionada?"_s));
}

TEST(DocumentsPanel, KeepsDocumentsWithOnlyANameRequired) {
    RecordSet documents;
    ASSERT_TRUE(createDocumentsList(documents));
    FakeMessageService messages;
    DocumentsPanel panel(documents, messages);
    click(panel, "cmdAddDoc");
    type(panel, "txtNumHoras", "12");
    click(panel, "cmdAceptarDoc");
    EXPECT_EQ(messages.texts(), QStringList({"Es obligatorio rellenar el nombre del documento"}));
    EXPECT_EQ(messages.messages[0].title, programTitle());
    EXPECT_EQ(documents.recordCount(), 0);
    type(panel, "txtDoc", "Título de grado");
    click(panel, "cmdAceptarDoc");
    EXPECT_EQ(test::rowsOf(documents), QStringList{"0|Título de grado|12||"});
}

} // namespace
} // namespace velmora
