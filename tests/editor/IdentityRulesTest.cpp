#include "editor/IdentityRules.h"

#include "app/LoadingSequence.h"
#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogTables.h"
#include "editor/ApplicationChecks.h"
#include "editor/ApplicationListTables.h"
#include "editor/ApplicationModel.h"
#include "editor/CandidateSelection.h"
#include "editor/CandidateTables.h"
#include "platform/MessageService.h"
#include "platform/data/RecordSet.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"
#include "support/TableRows.h"
#include "support/TableText.h"
#include "support/TempDir.h"
#include "users/DniValidator.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

using test::FakeMessageService;
using test::refusalText;
using test::rowsOf;

// Two bodies: one that fixes its group, one whose code starts with "X" and takes any.
class IdentityRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::addRows(catalogs.bodies, {},
                      {{"01000", "Enfermero/a", "B"}, {"X0001", "Personal directivo", "A1"}});
        test::addRows(catalogs.groups, {}, {{"A1"}, {"B"}});
        for (const auto& [body, codes] : {std::pair{"01000", QStringList{"00300", "00100", "00200"}},
                                          std::pair{"X0001", QStringList{"00900"}}}) {
            BodyPositions& entry = catalogs.bodyPositions.emplace_back();
            entry = {body, true, std::make_unique<RecordSet>(), std::make_unique<RecordSet>()};
            ASSERT_TRUE(createCandidatePositions(*entry.vacancy).ok());
            ASSERT_TRUE(createCandidatePositions(*entry.resultas).ok());
            for (const QString& code : codes) {
                test::addRows(*entry.vacancy, {}, {{code}});
                test::addRows(*entry.resultas, {}, {{code}});
            }
        }
        model.setText(ctl::txtDNI, "12345678Z");
    }
    void pickBody(const QString& code) { model.setChoice(ctl::cboCuerpo, code, "Cuerpo " + code); }

    CatalogTables catalogs;
    CandidateTables tables;
    CandidateSelection selection{catalogs.bodyPositions, tables};
    ApplicationModel model;
    test::TempDir applications;
    test::FakeMessageService messages;
    IdentityRules rules{model, catalogs, selection, applications.path(), messages};
};

TEST_F(IdentityRulesTest, ChoosingABodySetsUpItsGroupBox) {
    pickBody("01000");
    const IdentityOutcome changed = rules.bodyChanged();
    EXPECT_EQ(model.value(ctl::cboGrupo), "B");
    EXPECT_TRUE(changed.enableMenu);

    const IdentityOutcome closed = rules.bodyListClosed();
    EXPECT_FALSE(closed.failure);
    EXPECT_TRUE(model.isListItem(ctl::cboGrupo) && !model.isEnabled(ctl::cboGrupo));
    tables.vacancies.moveFirst();
    EXPECT_EQ(tables.vacancies.text(u"CodConvocatoria"), "00100");
    EXPECT_EQ(closed.positionsCaption, "Códigos Localizados: 3");
    EXPECT_EQ(closed.categoryCaption, "Enfermero/a");
    EXPECT_TRUE(closed.locationFilters == true && closed.sendTab && !closed.quitProgram);

    // A body whose code starts with "X" leaves the group to the applicant.
    pickBody("X0001");
    EXPECT_TRUE(rules.bodyListClosed().sendTab);
    EXPECT_TRUE(model.text(ctl::cboGrupo).isEmpty() && model.isEnabled(ctl::cboGrupo));
    EXPECT_EQ(tables.vacancies.recordCount(), 1) << "the previous body's positions stayed";
    EXPECT_FALSE(rules.menuEntriesAllowed());

    model.setChoice(ctl::cboGrupo, "A1", "A1");
    EXPECT_TRUE(rules.groupChanged().enableMenu);
    const IdentityOutcome group = rules.groupListClosed();
    EXPECT_FALSE(group.focusBack || group.failure);
    model.setText(ctl::txtDNI, "");
    EXPECT_FALSE(rules.groupChanged().enableMenu) << "menu enabled without a DNI";
}

TEST_F(IdentityRulesTest, AnExistingApplicationStopsThePickOrEndsTheProgram) {
    applications.write("12345678Z_010000B.doc", "documento");
    messages.queueAnswer(MessageAnswer::No);
    pickBody("01000");
    const IdentityOutcome chooseAnother = rules.bodyListClosed();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Solicitud Existente");
    EXPECT_EQ(model.text(ctl::cboCuerpo) + model.text(ctl::cboGrupo), "");
    EXPECT_EQ(tables.vacancies.recordCount(), 0);
    EXPECT_FALSE(chooseAnother.sendTab || chooseAnother.quitProgram || chooseAnother.locationFilters);

    messages.queueAnswer(MessageAnswer::Yes);
    pickBody("01000");
    EXPECT_TRUE(rules.bodyListClosed().quitProgram);
    messages.queueAnswer(MessageAnswer::Yes); // a valid DNI asks the same
    EXPECT_TRUE(rules.dniLeft().quitProgram);
}

TEST_F(IdentityRulesTest, AGroupOrBodyOutsideTheirListsTakeThePositionsAway) {
    pickBody("01000");
    (void)rules.bodyListClosed();
    model.setChoice(ctl::cboGrupo, "", "Z9", false);
    const IdentityOutcome group = rules.groupListClosed();
    ASSERT_TRUE(group.failure);
    EXPECT_EQ(refusalText(Status(*group.failure), "Grupo Erróneo", MessageIcon::Exclamation),
              "El grupo seleccionado no es válido");
    EXPECT_TRUE(group.focusBack && group.locationFilters == false);
    EXPECT_EQ(tables.vacancies.recordCount(), 0);

    pickBody("01000");
    (void)rules.bodyListClosed();
    model.clearChoice(ctl::cboCuerpo);
    const IdentityOutcome body = rules.bodyListClosed();
    EXPECT_TRUE(body.sendTab && body.locationFilters == false);
    EXPECT_EQ(tables.resultas.recordCount(), 0);
}

TEST_F(IdentityRulesTest, DniBoxesTakeOnlyValidDnis) {
    EXPECT_FALSE(IdentityRules::acceptsDniKey(QLatin1Char('-')));
    EXPECT_TRUE(IdentityRules::acceptsPartnerDniKey(QLatin1Char('-')));
    EXPECT_FALSE(IdentityRules::acceptsPartnerDniKey(QLatin1Char(',')));
    EXPECT_TRUE(IdentityRules::dniComplete("12345678Z"));

    model.setText(ctl::txtDNI, "12345678A");
    const IdentityOutcome invalid = rules.dniLeft();
    EXPECT_EQ(model.text(ctl::txtDNI), "");
    EXPECT_TRUE(invalid.focusBack && invalid.disableMenu);
    ASSERT_TRUE(invalid.failure);
    EXPECT_EQ(refusalText(Status(*invalid.failure), "Error en DNI", MessageIcon::Exclamation),
              "DNI no válido");
    EXPECT_EQ(invalid.dniColor, dniInvalidColor());
    model.setText(ctl::txtDNI, "12345678z");
    const IdentityOutcome valid = rules.dniLeft();
    EXPECT_EQ(model.text(ctl::txtDNI), "12345678Z");
    EXPECT_FALSE(valid.focusBack || valid.disableMenu || valid.failure);

    // The other applicant's DNI is checked only when typed, and never cleared.
    EXPECT_FALSE(rules.partnerDniLeft().focusBack);
    model.setText(ctl::txtDNIConyuge, "87654321A");
    const IdentityOutcome partner = rules.partnerDniLeft();
    EXPECT_TRUE(partner.focusBack);
    EXPECT_EQ(partner.failure->description, "DNI no válido");
    EXPECT_EQ(model.text(ctl::txtDNIConyuge), "87654321A");
    EXPECT_TRUE(messages.messages.empty());
}

// The sample contest, loaded once: the selection only reads its lookups.
class CandidateSelectionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        contest = new test::ContestFixture();
        catalogs = new CatalogTables();
        ASSERT_TRUE(loadInstallation(contest->folders(), *catalogs).loaded);
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
};

TEST_F(CandidateSelectionTest, CopiesTheBodysOfferedPositionsVacanciesSortedByCode) {
    const BodyPositions& body = *offeredBodies().at(0);
    const QStringList entryVacancies = rowsOf(*body.vacancy);
    const QStringList entryResultas = rowsOf(*body.resultas);
    ASSERT_GT(entryVacancies.size(), 1);

    ApplicationModel model;
    model.setChoice(ctl::cboCuerpo, body.bodyCode, "Cuerpo escrito a mano", false); // typed, not picked
    EXPECT_EQ(*selection.SeleccionaPlazasRS(model), std::nullopt);
    EXPECT_EQ(tables.vacancies.recordCount(), 0);
    model.setChoice(ctl::cboCuerpo, body.bodyCode, "Enfermero/a");
    EXPECT_EQ(*selection.SeleccionaPlazasRS(model),
              "Códigos Localizados: " + QString::number(entryVacancies.size()));

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

TEST_F(CandidateSelectionTest, OnlyABodyWithPositionsReplacesTheCandidates) {
    // A drop-down bound to the table stays bound and is told to read it again.
    struct BoundView : RecordSetListener {
        int resets = 0;
        void viewReset() override { ++resets; }
    } view;
    tables.vacancies.addListener(&view);
    const std::vector<const BodyPositions*> bodies = offeredBodies();
    ASSERT_GE(bodies.size(), 2u);
    ASSERT_TRUE(selection.selectBody(bodies[0]->bodyCode));
    ASSERT_TRUE(selection.selectBody(bodies.back()->bodyCode));
    EXPECT_GE(view.resets, 2);
    const QStringList vacancies = rowsOf(tables.vacancies);
    const QStringList resultas = rowsOf(tables.resultas);
    EXPECT_EQ(vacancies.size(), bodies.back()->vacancy->recordCount());

    // The body of group "X" has no positions, and neither has a code nobody uses.
    catalogs->bodies.moveFirst();
    ASSERT_TRUE(catalogs->bodies.find("Grupo='X'").ok());
    ASSERT_FALSE(catalogs->bodies.isEOF());
    for (const QString& code : {catalogs->bodies.text(u"CodCuerpo"), u"99999"_s}) {
        const Result<QString> failed = selection.selectBody(code);
        ASSERT_FALSE(failed) << code.toStdString();
        EXPECT_EQ(failed.error().number, ErrorCode::ItemNotFound);
        EXPECT_EQ(failed.error().description,
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

ApplicationModel identified() {
    ApplicationModel model;
    model.setText(ctl::txtDNI, "12345678Z");
    model.setChoice(ctl::cboCuerpo, "12345", "Enfermero/a");
    model.setChoice(ctl::cboGrupo, "B1", "B1");
    return model;
}

TEST(ValidaDatosImpresion, ReportsTheFirstMissingItemInOrder) {
    RecordSet vacancies, resultas;
    ASSERT_TRUE(createVacancyList(vacancies).ok());
    ASSERT_TRUE(createResultasList(resultas).ok());
    ApplicationModel model;
    const auto check = [&]() {
        return refusalText(ValidaDatosImpresion(model, vacancies, resultas), "Validación",
                           MessageIcon::Exclamation);
    };
    EXPECT_EQ(check(), "El campo Nombre es obligatorio");
    model.setText(ctl::txtNombre, "Ana");
    EXPECT_EQ(check(), "El campo Primer Apellido es obligatorio");
    model.setText(ctl::txtApellido1, "Pérez");
    EXPECT_EQ(check(), "El campo Fecha de nacimiento es obligatorio");
    model.setText(ctl::txtFecNacimiento, "01/02/1970");
    EXPECT_EQ(check(), "No hay ninguna plaza seleccionada");
    ASSERT_TRUE(resultas.addNew().ok());
    EXPECT_EQ(check(), QString());
}

TEST(ValidaDatosGrabacion, RefusesAnIncompleteIdentity) {
    const auto check = [](const ApplicationModel& model) {
        return refusalText(ValidaDatosGrabacion(model), "Datos no válidos", MessageIcon::Exclamation);
    };
    ApplicationModel model = identified();
    EXPECT_EQ(check(model), QString());

    model.setSelected(ctl::optPetConyugeSi);
    EXPECT_EQ(check(model), "El DNI de su cónyuge no es válido");
    model.setText(ctl::txtDNIConyuge, "87654321X");
    EXPECT_EQ(check(model), QString());

    model.setListItem(ctl::cboGrupo, false);
    EXPECT_EQ(check(model), "Es necesario seleccionar un grupo para grabar los datos o imprimir el informe");
    model.setText(ctl::cboCuerpo, "texto suelto");
    model.setListItem(ctl::cboCuerpo, false);
    EXPECT_EQ(check(model),
              "Es necesario seleccionar un cuerpo o escala para grabar los datos o imprimir el informe");
    model.setText(ctl::txtDNI, "");
    EXPECT_EQ(check(model), "Es necesario rellenar el DNI para grabar los datos o imprimir el informe");
}

// What each answer does to the pick is IdentityRulesTest.AnExistingApplicationStopsThePick...'s.
TEST(CompruebaSolicitudExistente, AsksOnlyWhenTheDocumentOfTheWholeIdentityExists) {
    test::TempDir dir;
    FakeMessageService messages;
    ApplicationModel model = identified();
    EXPECT_EQ(CompruebaSolicitudExistente(model, dir.path(), messages), ExistingApplication::None);
    dir.write("12345678Z_12345B1.doc", "d");
    model.setText(ctl::cboGrupo, "");
    EXPECT_EQ(CompruebaSolicitudExistente(model, dir.path(), messages), ExistingApplication::None);
    EXPECT_TRUE(messages.messages.empty());

    messages.queueAnswer(MessageAnswer::No);
    model = identified();
    EXPECT_EQ(CompruebaSolicitudExistente(model, dir.path(), messages), ExistingApplication::ChooseAnother);
    EXPECT_EQ(
        messages.only("Solicitud Existente", MessageIcon::Critical, MessageButtons::YesNo),
        "Ya existe una solicitud con estos datos, si continúa puede sobreescribir los datos anteriormente "
        "guardados. ¿Qué desea hacer? Sí para cerrar la aplicación. No para teclear otro cuerpo y grupo");
    EXPECT_EQ(model.text(ctl::txtDNI), "12345678Z");
}

} // namespace
} // namespace velmora
