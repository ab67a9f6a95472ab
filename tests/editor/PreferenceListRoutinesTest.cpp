#include "editor/PreferenceListRoutines.h"

#include "support/PreferenceListFixture.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::codesByOrder;
using test::isWellKept;
using test::PreferenceTables;

TEST(SiguienteValor, LargestPlusOneOverEveryRowWhateverTheCursor) {
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
}

TEST(PlazaIncluida, FindsTheCodeInAnyRowOfTheList) {
    PreferenceTables t;
    EXPECT_FALSE(*PlazaIncluida("10", t.list));
    t.listCodes(3);
    EXPECT_TRUE(*PlazaIncluida("3", t.list));
    EXPECT_FALSE(*PlazaIncluida("4", t.list));
    ASSERT_TRUE(t.list.setFilter("Orden=1"));
    EXPECT_TRUE(*PlazaIncluida("3", t.list));
    EXPECT_FALSE(*PlazaIncluida("O'Donnell", t.list)); // a quote in the code is a literal, not an error
}

// CalculaOrden and ReordenaPlazas are met on every add and modify of the randomized
// PreferenceListEditor test, checked there against a plain model of the list.

TEST(NumeraOrden, ClosesGapsInOrderAndSortsTheCursor) {
    PreferenceTables t;
    ASSERT_TRUE(NumeraOrden(t.list, "Orden")); // an empty list is no error
    t.addListed(0, 9, "a");
    t.addListed(1, 2, "b");
    t.addListed(2, 5, "c");
    t.addListed(3, 5, "d"); // a tie keeps the order the rows were added in
    ASSERT_TRUE(NumeraOrden(t.list, "Orden"));
    EXPECT_EQ(t.list.sort(), "Orden ASC");
    EXPECT_TRUE(isWellKept(t.list));
    EXPECT_EQ(codesByOrder(t.list), QStringList({"b", "c", "d", "a"}));
}

TEST(InsertaTodasPlazas, AppendsTheCandidatesNotListedInCodeOrder) {
    PreferenceTables t;
    t.addListed(0, 1, "200");
    t.addListed(1, 2, "100");
    t.addListed(5, 3, "300");
    t.addArea("A1", "Área Norte");
    t.addZone("Z1", "Zona Centro");
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
}

TEST(InsertaTodasPlazas, RepaintsEachTimeTheNextOrderIsAMultipleOf300) {
    PreferenceTables t;
    t.listCodes(2);
    for (int code = 1000; code < 1700; ++code)
        t.addCandidate(QString::number(code));
    AreaZoneNames names(t.areas, t.zones);
    QList<int> calls;
    EXPECT_EQ(*InsertaTodasPlazas(t.candidates, t.list, names, [&](int appended) { calls << appended; }),
              700);
    // Orders 3..702 are given; the next order is 300 after 297 rows and 600 after 597.
    EXPECT_EQ(calls, QList<int>({297, 597}));
}

TEST(OrderOfText, OnlyWholeOrdersFrom1To32000) {
    EXPECT_EQ(orderOfText("1"), 1);
    EXPECT_EQ(orderOfText(" 32000 "), 32000);
    EXPECT_EQ(orderOfText("007"), 7);
    for (const char* none : {"", "0", "-3", "32001", "-", "2,5", "1,", "99999999999999999999"})
        EXPECT_EQ(orderOfText(none), std::nullopt) << none;
}

} // namespace
} // namespace velmora
