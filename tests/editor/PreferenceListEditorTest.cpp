#include "editor/PreferenceListEditor.h"

#include "applications/ApplicationColumns.h"
#include "editor/ApplicationListTables.h"
#include "editor/HandListChecks.h"
#include "editor/HandListEditor.h"
#include "editor/PreferenceListRoutines.h"
#include "platform/data/RecordSet.h"
#include "support/FakeMessageService.h"
#include "support/PreferenceListFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora {
namespace {

using test::codesByOrder;
using test::FakeMessageService;
using test::isWellKept;
using test::listedText;
using test::listedTexts;
using test::PreferenceTables;
using test::refusalText;

PositionChoice chosen(const QString& code, const QString& area = QString(), const QString& zone = QString()) {
    return PositionChoice{true, code, "Puesto " + code, "Hospital", "Localidad", area, zone};
}

qint64 rowIdOf(const RecordSet& list, const QString& code) {
    auto copy = list.clone();
    EXPECT_TRUE(copy->find(u"CodConvocatoria='%1'"_s.arg(code)));
    return copy->currentRowId();
}

TEST(PreferenceListEditorAdd, AddedRowsGetTheirOrderIdentifierWithNames) {
    PreferenceTables t;
    test::addRows(t.areas, {"CodArea", "Area"}, {{"A1", "Área Norte"}});
    test::addRows(t.zones, {"CodZona", "Zona"}, {{"Z7", "Zona Sur"}});
    PreferenceListEditor editor(t.list, "Solicitud Vacantes");
    AreaZoneNames names(t.areas, t.zones);
    EXPECT_TRUE(editor.add(chosen("10", "A1", "Z7"), "5", "Demarcación 3", names).ok());
    EXPECT_EQ(listedTexts(t.list, {"10:Orden", "10:IdSolicitud", "10:NomConvocatoria", "10:Area", "10:Zona",
                                   "10:Demarcacion"}),
              QStringList({"1", "0", "Puesto 10", "Área Norte", "Zona Sur", "Demarcación 3"}));

    // Inserted at order 1: the list shows it first, the rows after it move down.
    EXPECT_TRUE(editor.add(chosen("20", "A9"), "1", "", names).ok());
    // An area the catalogue lacks has no name.
    EXPECT_EQ(listedTexts(t.list, {"20:Area", "20:IdSolicitud"}), QStringList({"", "1"}));
    EXPECT_EQ(t.list.textAt(0, t.list.columnIndex(u"CodConvocatoria")), "20");
    EXPECT_TRUE(isWellKept(t.list));

    // A choice not in the list, or listed already, is refused; so is an empty code, though an
    // empty text matching a nameless row passes for a list item.
    PositionChoice typed = chosen("99");
    typed.isListItem = false;
    const std::pair<PositionChoice, const char*> refused[] = {
        {typed, "El puesto elegido no es válido"},
        {chosen(""), "El puesto elegido no es válido"},
        {chosen("10"), "Este puesto ya ha sido agregado a la solicitud"}};
    for (const auto& [choice, message] : refused)
        EXPECT_EQ(refusalText(editor.add(choice, "1", "", names), u"Solicitud Vacantes"_s,
                              MessageIcon::Exclamation),
                  QString::fromUtf8(message));
    EXPECT_EQ(codesByOrder(t.list), QStringList({"20", "10"}));
}

TEST(PreferenceListEditorModify, ModifyingRewritesTheLoadedRow) {
    PreferenceTables t;
    t.listCodes(6);
    PreferenceListEditor editor(t.list, "Solicitud Vacantes");

    const auto loaded = editor.beginModify(rowIdOf(t.list, "4"));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->order == 4 && loaded->id == 3);
    EXPECT_EQ(editor.mode(), PanelMode::Modifying);
    EXPECT_EQ(*editor.modify("3", "2", QString("D")), 2);
    EXPECT_EQ(editor.mode(), PanelMode::Adding);

    // The same order changes only the demarcation; resultas rows keep theirs. Where other
    // orders move is the randomized test's.
    ASSERT_TRUE(editor.beginModify(rowIdOf(t.list, "5")));
    EXPECT_TRUE(editor.modify("4", "5", QString("Nueva")).ok());
    EXPECT_EQ(listedText(t.list, "5", u"Demarcacion"), "Nueva");
    ASSERT_TRUE(editor.beginModify(rowIdOf(t.list, "5")));
    EXPECT_TRUE(editor.modify("4", "5", std::nullopt).ok());
    EXPECT_EQ(listedText(t.list, "5", u"Demarcacion"), "Nueva");

    ASSERT_TRUE(editor.beginModify(rowIdOf(t.list, "2")));
    for (const char* noOrder : {"", "-", "0"}) {
        EXPECT_EQ(
            refusalText(editor.modify("1", noOrder, std::nullopt), u"Error"_s, MessageIcon::Exclamation),
            u"Debe asignar un orden a esta plaza"_s);
        EXPECT_EQ(editor.mode(), PanelMode::Modifying);
    }
    EXPECT_EQ(editor.modify("77", "1", std::nullopt).error().number,
              ErrorCode::NoCurrentRecord); // no longer listed
    EXPECT_EQ(codesByOrder(t.list), QStringList({"1", "4", "2", "3", "5", "6"}));
    EXPECT_TRUE(isWellKept(t.list));

    FakeMessageService messages;
    messages.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(*editor.confirmAndDelete(rowIdOf(t.list, "2"), messages));
    EXPECT_TRUE(*editor.confirmAndDelete(rowIdOf(t.list, "2"), messages));
    EXPECT_EQ(codesByOrder(t.list), QStringList({"1", "4", "3", "5", "6"})) << "orders stay 1 to n";
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1],
              (FakeMessageService::Message{u"¿Desea borrar la fila seleccionada?"_s, u"Solicitudes"_s,
                                           MessageIcon::Exclamation, MessageButtons::YesNo}));
}

// A plain model of the list: position codes in preference order.
struct ModelList {
    QStringList codes;

    void add(const QString& code, const QString& orderText) {
        const auto order = orderOfText(orderText);
        codes.insert(order && *order <= codes.size() ? *order - 1 : codes.size(), code);
    }
    void move(int from, int toOrder) { codes.move(from, std::min<int>(toOrder, codes.size()) - 1); }
};

TEST(PreferenceListEditorRandomized, EveryOperationKeepsTheListWellOrdered) {
    PreferenceTables t;
    for (int code = 0; code < 150; ++code)
        t.addCandidate(u"%1"_s.arg(code, 5, 10, QLatin1Char('0')));
    t.sortCandidates();
    PreferenceListEditor editor(t.list, "Solicitud Vacantes");
    FakeMessageService messages;
    ModelList model;
    std::mt19937 random(20240611);
    const auto below = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); };
    const auto orderText = [&]() {
        const char* odd[] = {"", "0", "-", "32001", "2,5"};
        return below(4) == 0 ? QString::fromLatin1(odd[below(5)])
                             : QString::number(1 + below(model.codes.size() + 3));
    };

    for (int step = 0; step < 3000; ++step) {
        const int n = int(model.codes.size());
        const int operation = below(10);
        if (operation < 4) { // add
            const QString code = t.candidates.textAt(below(150), 0);
            PositionChoice choice = chosen(code);
            choice.isListItem = below(10) != 0;
            const QString order = orderText();
            AreaZoneNames names(t.areas, t.zones);
            const Status added = editor.add(choice, order, "", names);
            ASSERT_EQ(added.ok(), choice.isListItem && !model.codes.contains(code));
            if (added)
                model.add(code, order);
        } else if (operation < 6 && n > 0) { // modify
            const int from = below(n);
            const auto loaded = editor.beginModify(rowIdOf(t.list, model.codes[from]));
            ASSERT_TRUE(loaded);
            ASSERT_EQ(loaded->order, from + 1);
            const QString order = orderText();
            const auto modified = editor.modify(QString::number(loaded->id), order, QString());
            ASSERT_EQ(modified.ok(), orderOfText(order).has_value());
            if (modified)
                model.move(from, *orderOfText(order));
            editor.setMode(PanelMode::Adding); // "Cancelar" after a refused order
        } else if (operation < 9 && n > 0) {   // delete
            const int at = below(n);
            const bool yes = below(8) != 0;
            messages.queueAnswer(yes ? MessageAnswer::Yes : MessageAnswer::No);
            ASSERT_EQ(*editor.confirmAndDelete(rowIdOf(t.list, model.codes[at]), messages), yes);
            if (yes)
                model.codes.removeAt(at);
        } else { // insert every candidate of a few codes
            const int first = below(150);
            ASSERT_TRUE(t.candidates.setFilter(
                u"CodConvocatoria >= '%1' and CodConvocatoria < '%2'"_s.arg(first, 5, 10, QLatin1Char('0'))
                    .arg(first + 1 + below(8), 5, 10, QLatin1Char('0'))));
            AreaZoneNames names(t.areas, t.zones);
            ASSERT_TRUE(editor.insertAll(t.candidates, names).ok());
            for (int i = 0; i < t.candidates.recordCount(); ++i)
                if (!model.codes.contains(t.candidates.textAt(i, 0)))
                    model.codes << t.candidates.textAt(i, 0);
            t.candidates.clearFilter();
        }
        ASSERT_TRUE(isWellKept(t.list)) << "after step " << step << " (operation " << operation << ")";
        ASSERT_EQ(codesByOrder(t.list), model.codes)
            << "after step " << step << " (operation " << operation << ")";
    }
}

TEST(ListScans, SeeEveryRowWhateverTheCursor) {
    PreferenceTables t;
    EXPECT_EQ(*SiguienteValor(t.list, "Solicitud", true), 0);
    t.addListed(3, 1, "10");
    t.addListed(7, 2, "11");
    t.addListed(1, 3, "12");
    EXPECT_EQ(*SiguienteValor(t.list, "Solicitud", true), 8);
    EXPECT_EQ(*SiguienteValor(t.list, "Orden", false), 4);
    // The grid's cursor may be filtered and positioned: the copy sees every row and the
    // cursor stays where it was.
    ASSERT_TRUE(t.list.setFilter("Orden=3"));
    EXPECT_EQ(*SiguienteValor(t.list, "Solicitud", true), 8);
    EXPECT_EQ(t.list.text(u"CodConvocatoria"), "12");
    EXPECT_FALSE(SiguienteValor(t.list, "Nada", true).ok());
    // Column names matching without regard to case ("curso" for IdCurso) is HandListEditorTest's.

    // PlazaIncluida looks at every row too.
    EXPECT_TRUE(*PlazaIncluida("10", t.list));
    EXPECT_FALSE(*PlazaIncluida("13", t.list));
    EXPECT_FALSE(*PlazaIncluida("O'Donnell", t.list)); // a quote in the code is a literal, not an error
}

// CalculaOrden and ReordenaPlazas are met on every add and modify of the randomized
// PreferenceListEditor test, checked there against a plain model of the list.

TEST(NumeraOrden, RenumbersOrdersWithoutGaps) {
    PreferenceTables t;
    ASSERT_TRUE(NumeraOrden(t.list, col::PreferenceList::Orden)); // an empty list is no error
    t.addListed(0, 9, "a");
    t.addListed(1, 2, "b");
    t.addListed(2, 5, "c");
    t.addListed(3, 5, "d"); // a tie keeps the order the rows were added in
    ASSERT_TRUE(NumeraOrden(t.list, col::PreferenceList::Orden));
    EXPECT_EQ(t.list.sort(), "Orden ASC");
    EXPECT_TRUE(isWellKept(t.list));
    EXPECT_EQ(codesByOrder(t.list), QStringList({"b", "c", "d", "a"}));
}

TEST(InsertaTodasPlazas, AppendsTheCandidatesNotListedInCodeOrderRepaintingEvery300) {
    PreferenceTables t;
    t.addListed(0, 1, "200");
    t.addListed(1, 2, "100");
    t.addListed(5, 3, "300");
    test::addRows(t.areas, {"CodArea", "Area"}, {{"A1", "Área Norte"}});
    test::addRows(t.zones, {"CodZona", "Zona"}, {{"Z1", "Zona Centro"}});
    for (const char* code : {"500", "300", "150", "400"})
        t.addCandidate(code);
    t.addCandidate("120", "A1", "Z1");
    t.addCandidate("150"); // the same code twice among the candidates is listed once
    t.sortCandidates();
    AreaZoneNames names(t.areas, t.zones);

    EXPECT_EQ(*InsertaTodasPlazas(t.candidates, t.list, names), 4);
    EXPECT_EQ(codesByOrder(t.list), QStringList({"200", "100", "300", "120", "150", "400", "500"}));
    EXPECT_EQ(test::listedTexts(t.list, {"120:IdSolicitud", "500:IdSolicitud", "120:Area", "120:Zona",
                                         "120:Localidad", "150:Area", "150:Demarcacion"}),
              QStringList({"6", "9", "Área Norte", "Zona Centro", "Localidad 120", "", ""}));
    EXPECT_TRUE(isWellKept(t.list));

    EXPECT_EQ(*InsertaTodasPlazas(t.candidates, t.list, names), 0); // a second run adds nothing

    // The window repaints each time the next order is a multiple of 300.
    for (int code = 1000; code < 1700; ++code)
        t.addCandidate(QString::number(code));
    QList<int> calls;
    EXPECT_EQ(*InsertaTodasPlazas(t.candidates, t.list, names, [&](int appended) { calls << appended; }),
              700);
    // Orders 8..707 are given; the next order is 300 after 292 rows and 600 after 592.
    EXPECT_EQ(calls, QList<int>({292, 592}));
}

TEST(OrderOfText, OnlyWholeOrdersFrom1To32000) {
    EXPECT_EQ(orderOfText("1"), 1);
    EXPECT_EQ(orderOfText(" 32000 "), 32000);
    EXPECT_EQ(orderOfText("007"), 7);
    for (const char* none : {"", "0", "-3", "32001", "-", "2,5", "1,", "99999999999999999999"})
        EXPECT_EQ(orderOfText(none), std::nullopt) << none;
}

struct Courses {
    RecordSet list;
    HandListEditor editor{list, "IdCurso", {"Curso", "NHoras", "Ano", "Centro"}};
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

TEST(HandListEditor, IdentifiersGrowFromTheLargestWithoutRenumbering) {
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

    c.editor.setMode(PanelMode::Adding);
    EXPECT_FALSE(c.editor.accept(QString(), {"Curso", "muchas", "2001", "Centro"}).ok());
    EXPECT_EQ(c.list.recordCount(), 2) << "a field that does not fit left half a row";
}

TEST(CourseChecks, ACourseNeedsEveryFieldInRange) {
    CourseFields fields;
    const auto check = [&]() { return refusalText(ValidaCurso(fields), programTitle(), MessageIcon::None); };
    EXPECT_EQ(check(), "Es obligatorio rellenar el nombre del curso ");
    fields.curso = "Urgencias";
    EXPECT_EQ(check(), "Es obligatorio rellenar el nº de horas del curso ");
    fields.horas = "20";
    EXPECT_EQ(check(), "Es obligatorio rellenar el año de realización del curso ");
    fields.ano = "2001";
    EXPECT_EQ(check(), "Es obligatorio rellenar el centro que impartió el curso ");
    fields.centro = "Escuela";
    EXPECT_EQ(check(), QString());

    // Hours and year are whole numbers in range.
    const auto hours = [](const QString& text) {
        return refusalText(checkCourseHours(text), "Datos Erróneos", MessageIcon::Exclamation);
    };
    const auto year = [](const QString& text) {
        return refusalText(checkCourseYear(text, 2026), "Datos erróneos", MessageIcon::Exclamation);
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
