#include "editor/HandListEditor.h"

#include "editor/ApplicationListTables.h"
#include "editor/HandListChecks.h"
#include "platform/data/RecordSet.h"
#include "support/FakeMessageService.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeMessageService;

struct Courses {
    RecordSet list;
    HandListEditor editor{list, "curso", {"Curso", "NHoras", "Ano", "Centro"}};
    Courses() { EXPECT_TRUE(createCoursesList(list)); }

    qint64 add(const QString& name) { return *editor.accept(QString(), {name, "20", "2001", "Centro"}); }
    qint64 rowOf(qint64 id) const {
        auto copy = list.clone();
        EXPECT_TRUE(copy->find(u"IdCurso=%1"_s.arg(id)));
        return copy->currentRowId();
    }
    void remove(qint64 id) {
        FakeMessageService messages;
        EXPECT_TRUE(*editor.confirmAndDelete(rowOf(id), messages));
    }
};

TEST(HandListEditor, IdentifiersGrowFromTheLargestAndAreNeverRenumbered) {
    Courses c;
    EXPECT_EQ(c.add("Uno"), 0);
    EXPECT_EQ(c.add("Dos"), 1);
    c.remove(1);
    EXPECT_EQ(c.add("Tres"), 1);
    FakeMessageService no;
    no.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(*c.editor.confirmAndDelete(c.rowOf(0), no));
    EXPECT_EQ(no.texts(), QStringList{"¿Desea borrar la fila seleccionada?"});
    c.remove(0);
    EXPECT_EQ(c.add("Cuatro"), 2);
    EXPECT_EQ(c.list.recordCount(), 2);
}

// ListTabsEditorTest.CoursesAndDocuments... loads and overwrites a row through the window; here
// the rows the window does not show: the others, and one gone meanwhile.
TEST(HandListEditor, ModifyOverwritesTheLoadedRowOnly) {
    Courses c;
    c.add("Uno");
    c.add("Dos");
    const auto loaded = c.editor.beginModify(c.rowOf(1));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*c.editor.accept(loaded->id, {"Dos bis", "35", "1999", "Otro"}), 1);
    auto copy = c.list.clone();
    ASSERT_TRUE(copy->find("IdCurso=0"));
    EXPECT_EQ(copy->text(u"Curso"), "Uno");
    EXPECT_EQ(copy->integer(u"NHoras"), 20);

    ASSERT_TRUE(c.editor.beginModify(c.rowOf(0)));
    EXPECT_FALSE(c.editor.accept("7", {"x", "1", "2000", "y"}).ok()); // no row with that identifier
    EXPECT_EQ(c.editor.mode(), PanelMode::Modifying);
    EXPECT_EQ(c.list.recordCount(), 2);
}

TEST(HandListEditor, AFieldThatDoesNotFitLeavesNoHalfRow) {
    Courses c;
    const auto refused = c.editor.accept(QString(), {"Curso", "muchas", "2001", "Centro"});
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(c.list.recordCount(), 0);
}

TEST(ValidaCurso, NamesTheFirstMissingFieldWithItsTrailingBlank) {
    CourseFields fields;
    const auto check = [&]() {
        FakeMessageService messages;
        const bool passed = ValidaCurso(fields, messages);
        EXPECT_EQ(passed, messages.messages.empty());
        return messages.only(programTitle(), MessageIcon::None);
    };
    EXPECT_EQ(check(), "Es obligatorio rellenar el nombre del curso ");
    fields.curso = "Urgencias";
    EXPECT_EQ(check(), "Es obligatorio rellenar el nº de horas del curso ");
    fields.horas = "20";
    EXPECT_EQ(check(), "Es obligatorio rellenar el año de realización del curso ");
    fields.ano = "2001";
    EXPECT_EQ(check(), "Es obligatorio rellenar el centro que impartió el curso ");
    fields.centro = "Escuela";
    EXPECT_EQ(check(), QString());
}

TEST(CourseNumberChecks, HoursAndYearAreWholeNumbersInRange) {
    const auto hours = [](const QString& text) {
        FakeMessageService messages;
        const bool passed = checkCourseHours(text, messages);
        EXPECT_EQ(passed, messages.messages.empty());
        return messages.only("Datos Erróneos", MessageIcon::Exclamation);
    };
    const auto year = [](const QString& text) {
        FakeMessageService messages;
        const bool passed = checkCourseYear(text, 2026, messages);
        EXPECT_EQ(passed, messages.messages.empty());
        return messages.only("Datos erróneos", MessageIcon::Exclamation);
    };
    for (const char* belowOne : {"0", "-3"})
        EXPECT_EQ(hours(belowOne), "El número de horas debe ser mayor de 0") << belowOne;
    for (const char* notWhole : {"0,5", "1,5", "-"})
        EXPECT_EQ(hours(notWhole), "El número de horas introducido es erróneo") << notWhole;
    for (const char* bad : {"1949", "2027", "1990,5", "-"})
        EXPECT_EQ(year(bad), "El año introducido es erróneo") << bad;
    for (const char* good : {"", "1", "250"})
        EXPECT_EQ(hours(good), "") << good;
    for (const char* good : {"", "1950", "2026"})
        EXPECT_EQ(year(good), "") << good;
}

} // namespace
} // namespace velmora
