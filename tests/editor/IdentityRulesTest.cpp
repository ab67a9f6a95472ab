#include "editor/IdentityRules.h"

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"
#include "editor/CandidateSelection.h"
#include "editor/CandidateTables.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"
#include "users/DniValidator.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

void addRow(RecordSet& table, const QStringList& cells) {
    ASSERT_TRUE(table.addNew().ok());
    for (int column = 0; column < cells.size(); ++column)
        ASSERT_TRUE(table.setText(column, cells[column]).ok());
}

// Two bodies: one that fixes its group, one whose code starts with "X" and takes any.
class IdentityRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        addRow(catalogs.bodies, {"01000", "Enfermero/a", "B"});
        addRow(catalogs.bodies, {"X0001", "Personal directivo", "A1"});
        addRow(catalogs.groups, {"A1"});
        addRow(catalogs.groups, {"B"});
        for (const auto& [body, codes] : {std::pair{"01000", QStringList{"00300", "00100", "00200"}},
                                          std::pair{"X0001", QStringList{"00900"}}}) {
            BodyPositions& entry = catalogs.bodyPositions.emplace_back();
            entry = {body, true, std::make_unique<RecordSet>(), std::make_unique<RecordSet>()};
            ASSERT_TRUE(createCandidatePositions(*entry.vacancy).ok());
            ASSERT_TRUE(createCandidatePositions(*entry.resultas).ok());
            for (const QString& code : codes) {
                addRow(*entry.vacancy, {code});
                addRow(*entry.resultas, {code});
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

TEST_F(IdentityRulesTest, ABodyFixesAndLocksItsGroupAndOffersItsPositions) {
    pickBody("01000");
    const IdentityOutcome changed = rules.bodyChanged();
    EXPECT_EQ(model.value(ctl::cboGrupo), "B");
    EXPECT_TRUE(changed.enableMenu);

    const IdentityOutcome closed = rules.bodyListClosed();
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(model.isListItem(ctl::cboGrupo) && !model.isEnabled(ctl::cboGrupo));
    tables.vacancies.moveFirst();
    EXPECT_EQ(tables.vacancies.text(u"CodConvocatoria"), "00100");
    EXPECT_EQ(closed.positionsCaption, "Códigos Localizados: 3");
    EXPECT_EQ(closed.categoryCaption, "Enfermero/a");
    EXPECT_TRUE(closed.locationFilters == true && closed.sendTab && !closed.quitProgram);

    model.setText(ctl::txtDNI, "");
    EXPECT_FALSE(rules.bodyChanged().enableMenu) << "menu enabled without a DNI";
}

TEST_F(IdentityRulesTest, AnXBodyLeavesTheGroupToTheApplicant) {
    pickBody("01000");
    (void)rules.bodyListClosed();
    pickBody("X0001");
    const IdentityOutcome closed = rules.bodyListClosed();
    EXPECT_TRUE(model.text(ctl::cboGrupo).isEmpty() && model.isEnabled(ctl::cboGrupo) && closed.sendTab);
    EXPECT_EQ(tables.vacancies.recordCount(), 1) << "the previous body's positions stayed";
    EXPECT_FALSE(rules.menuEntriesAllowed());

    model.setChoice(ctl::cboGrupo, "A1", "A1");
    EXPECT_TRUE(rules.groupChanged().enableMenu);
    EXPECT_FALSE(rules.groupListClosed().focusBack);
    EXPECT_TRUE(messages.messages.empty());
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
    EXPECT_EQ(messages.only("Grupo Erróneo", MessageIcon::Exclamation), "El grupo seleccionado no es válido");
    EXPECT_TRUE(group.focusBack && group.locationFilters == false);
    EXPECT_EQ(tables.vacancies.recordCount(), 0);

    pickBody("01000");
    (void)rules.bodyListClosed();
    model.clearChoice(ctl::cboCuerpo);
    const IdentityOutcome body = rules.bodyListClosed();
    EXPECT_TRUE(body.sendTab && body.locationFilters == false);
    EXPECT_EQ(tables.resultas.recordCount(), 0);
}

TEST_F(IdentityRulesTest, DniBoxesFilterKeysAndCheckWhatIsTyped) {
    EXPECT_FALSE(IdentityRules::acceptsDniKey(QLatin1Char('-')));
    EXPECT_TRUE(IdentityRules::acceptsPartnerDniKey(QLatin1Char('-')));
    EXPECT_FALSE(IdentityRules::acceptsPartnerDniKey(QLatin1Char(',')));
    EXPECT_TRUE(IdentityRules::dniComplete("12345678Z"));

    model.setText(ctl::txtDNI, "12345678A");
    const IdentityOutcome invalid = rules.dniLeft();
    EXPECT_EQ(model.text(ctl::txtDNI), "");
    EXPECT_TRUE(invalid.focusBack && invalid.disableMenu);
    EXPECT_EQ(invalid.dniColor, dniInvalidColor());
    model.setText(ctl::txtDNI, "12345678z");
    const IdentityOutcome valid = rules.dniLeft();
    EXPECT_EQ(model.text(ctl::txtDNI), "12345678Z");
    EXPECT_FALSE(valid.focusBack || valid.disableMenu);

    // The other applicant's DNI is checked only when typed, and never cleared.
    EXPECT_FALSE(rules.partnerDniLeft().focusBack);
    model.setText(ctl::txtDNIConyuge, "87654321A");
    EXPECT_TRUE(rules.partnerDniLeft().focusBack);
    EXPECT_EQ(model.text(ctl::txtDNIConyuge), "87654321A");
    EXPECT_EQ(messages.texts(), (QStringList{"DNI no válido", "DNI no válido"}));
}

} // namespace
} // namespace velmora
