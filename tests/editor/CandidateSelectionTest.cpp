#include "editor/CandidateSelection.h"

#include "app/LoadingSequence.h"
#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"
#include "editor/CandidateTables.h"
#include "platform/MessageService.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"
#include "support/TableText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

using test::rowsOf;

// The sample contest, loaded once: the selection only reads its lookups.
class CandidateSelectionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        contest = new test::ContestFixture();
        catalogs = new CatalogTables();
        SilentMessageService silent;
        ASSERT_TRUE(loadInstallation(contest->folders(), *catalogs, silent).loaded);
    }
    static void TearDownTestSuite() {
        delete catalogs;
        delete contest;
    }

    // Offered-only entries, the one with the most vacancy candidates first.
    static std::vector<const BodyPositions*> offeredBodies() {
        std::vector<const BodyPositions*> bodies;
        for (const BodyPositions& entry : catalogs->bodyPositions)
            if (!entry.isEmpty() && entry.offeredOnly)
                bodies.push_back(&entry);
        std::stable_sort(bodies.begin(), bodies.end(), [](auto* a, auto* b) {
            return a->vacancy->recordCount() > b->vacancy->recordCount();
        });
        return bodies;
    }

    static inline test::ContestFixture* contest = nullptr;
    static inline CatalogTables* catalogs = nullptr;

    CandidateTables tables;
    CandidateSelection selection{catalogs->bodyPositions, tables};
    test::FakeMessageService messages;
};

TEST_F(CandidateSelectionTest, CopiesTheBodysOfferedPositionsVacanciesSortedByCode) {
    const BodyPositions& body = *offeredBodies().at(0);
    const QStringList entryVacancies = rowsOf(*body.vacancy);
    const QStringList entryResultas = rowsOf(*body.resultas);
    ASSERT_GT(entryVacancies.size(), 1);

    ApplicationModel model;
    model.setChoice(ctl::cboCuerpo, body.bodyCode, "Cuerpo escrito a mano", false); // typed, not picked
    EXPECT_FALSE(selection.SeleccionaPlazasRS(model, messages));
    EXPECT_EQ(tables.vacancies.recordCount(), 0);
    model.setChoice(ctl::cboCuerpo, body.bodyCode, "Enfermero/a");
    EXPECT_EQ(selection.SeleccionaPlazasRS(model, messages),
              "Códigos Localizados: " + QString::number(entryVacancies.size()));
    EXPECT_TRUE(messages.messages.empty());

    QStringList sorted = entryVacancies;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.section('|', 0, 0) < b.section('|', 0, 0);
    });
    EXPECT_EQ(rowsOf(tables.vacancies), sorted);
    EXPECT_EQ(rowsOf(tables.resultas), entryResultas);

    // The editor's tables are copies: deleting or filtering there leaves the lookup as it was.
    tables.vacancies.moveFirst();
    ASSERT_TRUE(tables.vacancies.deleteCurrent().ok());
    ASSERT_TRUE(tables.resultas.setFilter("CodConvocatoria='none'").ok());
    EXPECT_EQ(rowsOf(*body.vacancy), entryVacancies);
    EXPECT_EQ(rowsOf(*body.resultas), entryResultas);
}

TEST_F(CandidateSelectionTest, ANewBodyReplacesTheCandidatesAndAnUnknownOneLeavesThem) {
    // A drop-down bound to the table stays bound and is told to read it again.
    struct BoundView : RecordSetListener {
        int resets = 0;
        void viewReset() override { ++resets; }
    } view;
    tables.vacancies.addListener(&view);
    const std::vector<const BodyPositions*> bodies = offeredBodies();
    ASSERT_GE(bodies.size(), 2u);
    ASSERT_TRUE(selection.selectBody(bodies[0]->bodyCode, messages));
    ASSERT_TRUE(selection.selectBody(bodies.back()->bodyCode, messages));
    EXPECT_GE(view.resets, 2);
    const QStringList vacancies = rowsOf(tables.vacancies);
    const QStringList resultas = rowsOf(tables.resultas);
    EXPECT_EQ(vacancies.size(), bodies.back()->vacancy->recordCount());

    // The body of group "X" has no positions, and neither has a code nobody uses.
    catalogs->bodies.moveFirst();
    ASSERT_TRUE(catalogs->bodies.find("Grupo='X'").ok());
    ASSERT_FALSE(catalogs->bodies.isEOF());
    for (const QString& code : {catalogs->bodies.text(u"CodCuerpo"), u"99999"_s}) {
        test::FakeMessageService failing;
        EXPECT_FALSE(selection.selectBody(code, failing)) << code.toStdString();
        EXPECT_EQ(failing.only("Cuerpo no válido", MessageIcon::Exclamation),
                  "Error en la carga de datos. Debe cerrar el programa y volver a "
                  "arrancarlo. Guarde la información si desea conservar los cambios.");
        EXPECT_EQ(rowsOf(tables.vacancies), vacancies);
        EXPECT_EQ(rowsOf(tables.resultas), resultas);
    }

    selection.release();
    tables.vacancies.removeListener(&view);
    EXPECT_TRUE(tables.vacancies.isOpen());
    EXPECT_EQ(tables.vacancies.recordCount() + tables.resultas.recordCount(), 0);
}

} // namespace
} // namespace velmora
