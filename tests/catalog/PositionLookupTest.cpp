#include "catalog/PositionLookup.h"

#include "app/LoadedTables.h"
#include "app/LoadingSequence.h"
#include "catalog/CatalogLoader.h"
#include "platform/Progress.h"
#include "support/ContestFixture.h"
#include "support/LiteralPositionLookup.h"
#include "support/TableText.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

PositionSources sourcesOf(LoadedTables& t) {
    return {t.bodies,         t.groups,          t.positionBody,
            t.positionGroup,  t.vacantPositions, t.resultasPositions,
            t.vacancyDetails, t.resultasDetails};
}

void loadAll(const ContestFixture& contest, LoadedTables& tables) {
    Progress progress;
    CatalogLoader loader(contest.folders().data);
    ASSERT_TRUE(loader.buildBodies(tables.bodies));
    ASSERT_TRUE(LoadingSequence(contest.folders(), tables, progress).run().loaded);
}

QByteArray detail(const char* code, const char* name, const char* area) {
    return (QString::fromLatin1(code).leftJustified(5) + QString::fromLatin1(name).leftJustified(50) +
            u"Hospital"_s.leftJustified(50) + u"Toledo"_s.leftJustified(53) + "07" + "4500100" +
            QString::fromLatin1(area).leftJustified(8) + "03")
        .toLatin1();
}

// The indexed entries against those of the row-by-row walk.
void expectSameBodies(const std::vector<BodyPositions>& mine, const std::vector<BodyPositions>& walked) {
    ASSERT_EQ(mine.size(), walked.size());
    for (size_t i = 0; i < walked.size(); ++i) {
        ASSERT_EQ(mine[i].isEmpty(), walked[i].isEmpty()) << i;
        if (mine[i].isEmpty())
            continue;
        EXPECT_EQ(mine[i].bodyCode, walked[i].bodyCode) << i;
        EXPECT_EQ(mine[i].offeredOnly, walked[i].offeredOnly) << i;
        EXPECT_EQ(rowsOf(*mine[i].vacancy), rowsOf(*walked[i].vacancy)) << i;
        EXPECT_EQ(rowsOf(*mine[i].resultas), rowsOf(*walked[i].resultas)) << i;
    }
}

} // namespace

class PositionLookupSeeds : public ::testing::TestWithParam<quint32> {};

// Whatever the contest, the indexed lookups give exactly what walking the tables gives.
TEST_P(PositionLookupSeeds, AgreeWithTheRowByRowWalk) {
    ContestFixture contest(SampleScale::Small, GetParam());
    LoadedTables tables;
    loadAll(contest, tables);

    std::vector<BodyPositions> bodies;
    std::vector<GroupPositions> groups;
    literal::positionsByBody(sourcesOf(tables), bodies);
    literal::positionsByGroup(sourcesOf(tables), groups);

    expectSameBodies(tables.bodyPositions, bodies);
    EXPECT_TRUE(std::any_of(bodies.begin(), bodies.end(), [](const auto& b) { return !b.isEmpty(); }));
    ASSERT_EQ(groups.size(), tables.groupPositions.size());
    for (size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(tables.groupPositions[i].group, groups[i].group);
        EXPECT_EQ(rowsOf(*tables.groupPositions[i].vacancy), rowsOf(*groups[i].vacancy)) << i;
        EXPECT_EQ(rowsOf(*tables.groupPositions[i].resultas), rowsOf(*groups[i].resultas)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Contests, PositionLookupSeeds, ::testing::Values(1u, 7u, 2026u));

TEST(PositionLookup, EntriesFollowTheBodiesWithTheirGroups) {
    ContestFixture contest;
    contest.replaceCatalogue("F0004.enc",
                             {"A110001Enfermero/a", "X 10002Cuerpo a extinguir", "C110003Celador/a"});
    contest.replaceCatalogue("F0005.enc", {"A1", "C1", "X"});
    contest.replaceCatalogue("F0009.enc", {detail("00001", "Enfermero/a UCI", "01"),
                                           detail("00002", "Enfermero/a Urgencias", "02"),
                                           detail("00003", "Celador/a", "01")});
    contest.replaceCatalogue("F0010.enc", {detail("00001", "Enfermero/a UCI", "01")});
    contest.replaceCatalogue("F0011.enc", {"00001", "00003"});
    contest.replaceCatalogue("F0012.enc", {"00001"});
    contest.replaceCatalogue(
        "F0008.enc", {"00002  10001", "00001  10001", "00004  10001", "00003  10003", "00003  10002"});
    contest.replaceCatalogue("F0007.enc", {"00001A1", "00002A1", "00003C1"});
    LoadedTables tables;
    loadAll(contest, tables);

    // Three bodies, one of group X: six entries, the last two left empty.
    ASSERT_EQ(tables.bodyPositions.size(), 6u);
    EXPECT_FALSE(tables.bodyPositions[3].isEmpty());
    EXPECT_TRUE(tables.bodyPositions[4].isEmpty());
    EXPECT_TRUE(tables.bodyPositions[5].isEmpty());
    EXPECT_EQ(findBodyPositions(tables.bodyPositions, "10002", true), nullptr);
    EXPECT_EQ(findBodyPositions(tables.bodyPositions, "10002", false), nullptr);

    // Offered only: the vacancy 00002 is not offered and 00004 exists nowhere.
    const BodyPositions* offered = findBodyPositions(tables.bodyPositions, "10001", true);
    ASSERT_NE(offered, nullptr);
    EXPECT_EQ(
        rowsOf(*offered->vacancy),
        QStringList({"00001|Enfermero/a UCI|Hospital|Toledo|07|4500100|45|01|03|Área de Salud de Albacete"}));
    // From the details: every position of the body, in the order of the links.
    const BodyPositions* all = findBodyPositions(tables.bodyPositions, "10001", false);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(rowsOf(*all->vacancy).size(), 2);
    EXPECT_TRUE(rowsOf(*all->vacancy)[0].startsWith(u"00002|Enfermero/a Urgencias"_s));
    EXPECT_EQ(rowsOf(*all->resultas).size(), 1);

    // Through a group the offered positions come without their area.
    const GroupPositions* group = findGroupPositions(tables.groupPositions, "A1");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(rowsOf(*group->vacancy),
              QStringList({"00001|Enfermero/a UCI|Hospital|Toledo|07|4500100|45|01|03|"}));
    EXPECT_EQ(rowsOf(*findGroupPositions(tables.groupPositions, "X")->vacancy), QStringList());
}

TEST(PositionLookup, RepeatedBodiesShareTheirCandidatesInsteadOfCopyingThem) {
    ContestFixture contest;
    contest.replaceCatalogue("F0004.enc", {"A110001Enfermero/a", "C110003Celador/a", "A110001Enfermero/a",
                                           "A110001Enfermero/a (bis)"});
    contest.replaceCatalogue("F0008.enc", {"00001  10001", "00002  10001", "00003  10003"});
    LoadedTables tables;
    loadAll(contest, tables);
    std::vector<BodyPositions> walked;
    literal::positionsByBody(sourcesOf(tables), walked);

    ASSERT_EQ(tables.bodyPositions.size(), 8u);
    expectSameBodies(tables.bodyPositions, walked);
    // Entries 0-1, 4-5 and 6-7 are the same body: one offered set and one detailed set.
    for (const size_t repeat : {4u, 6u})
        for (size_t k = 0; k < 2; ++k) {
            EXPECT_EQ(tables.bodyPositions[repeat + k].vacancy, tables.bodyPositions[k].vacancy);
            EXPECT_EQ(tables.bodyPositions[repeat + k].resultas, tables.bodyPositions[k].resultas);
        }
    EXPECT_NE(tables.bodyPositions[2].vacancy, tables.bodyPositions[0].vacancy);
}
