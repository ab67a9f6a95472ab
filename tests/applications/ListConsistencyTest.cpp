#include "applications/ListConsistency.h"

#include "support/EmptyApplicationLists.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ListConsistency, NamesTheFirstThingAFinalPrintoutCannotCarry) {
    struct Row {
        qint64 order;
        const char* code;
    };
    struct Case {
        std::vector<Row> vacancies, resultas;
        const char* problem; // nullptr: none
    };
    const Case cases[] = {
        {{{2, "00002"}, {1, "00001"}}, {{1, "00001"}}, nullptr},
        {{}, {}, nullptr},
        {{{5, "00005"},
          {5, "00006"},
          {9, "00009"},
          {2, "00002"},
          {0, "00000"},
          {-3, "0000A"},
          {7, "00007"},
          {100000, "00010"}},
         {},
         "la lista de plazas vacantes tiene el orden -3, y los órdenes empiezan en 1"},
        {{{1, "00001"}, {2, "00002"}, {2, "00003"}}, {}, "la lista de plazas vacantes repite el orden 2"},
        {{{1, "00001"}, {3, "00003"}}, {}, "a la lista de plazas vacantes le falta el orden 2"},
        {{{1, "123456"}},
         {},
         "la plaza \"123456\" de la lista de plazas vacantes no tiene un código de 5 caracteres"},
        {{{1, "00001"}},
         {{1, "00007"}, {2, "00007"}},
         "la plaza 00007 está más de una vez en la lista de plazas de resultas"},
    };
    for (const Case& c : cases) {
        test::EmptyApplicationLists lists;
        for (auto [rows, table] :
             {std::pair{&c.vacancies, &lists.vacancies}, std::pair{&c.resultas, &lists.resultas}})
            for (const Row& row : *rows) {
                ASSERT_TRUE(table->addNew().ok());
                ASSERT_TRUE(table->setValue(u"Orden", row.order).ok());
                ASSERT_TRUE(table->setValue(u"CodConvocatoria", QString::fromLatin1(row.code)).ok());
                ASSERT_TRUE(table->update().ok());
            }
        const std::optional<QString> problem = firstListProblem(lists.vacancies, lists.resultas);
        EXPECT_EQ(problem.value_or(QString()), QString::fromUtf8(c.problem ? c.problem : ""));
    }
}

} // namespace
} // namespace velmora
