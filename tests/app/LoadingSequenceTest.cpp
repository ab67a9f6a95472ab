#include "app/LoadingSequence.h"

#include "app/LoadedTables.h"
#include "catalog/CatalogLoader.h"
#include "platform/Progress.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// Records what the loading window would show.
class RecordingProgress : public Progress {
public:
    float highest = 0;
    int yields = 0;
    void yieldToEvents() override { ++yields; }

protected:
    void changed() override { highest = std::max(highest, value()); }
};

class RecordingView : public LoadingView {
public:
    QString headline, caption;
    void setHeadline(const QString& text) override { headline = text; }
    void setCaption(const QString& text) override { caption = text; }
};

LoadingOutcome load(const ContestFixture& contest, LoadedTables& tables, MessageService& messages,
                    Progress& progress, LoadingView* view = nullptr) {
    CatalogLoader loader(contest.folders().data, messages);
    EXPECT_TRUE(loader.buildBodies(tables.bodies));
    return LoadingSequence(contest.folders(), tables, messages, progress, view).run();
}

} // namespace

TEST(LoadingSequence, LoadsEveryTableAndFillsTheBar) {
    ContestFixture contest;
    LoadedTables tables;
    FakeMessageService messages;
    RecordingProgress progress;
    RecordingView view;
    const LoadingOutcome outcome = load(contest, tables, messages, progress, &view);
    ASSERT_TRUE(outcome.loaded);
    EXPECT_TRUE(messages.messages.empty());

    // 10 bodies and 3 groups: 660 + 30 x 10 x 4 + 30 x 3.
    EXPECT_FLOAT_EQ(progress.maximum(), 1950);
    EXPECT_FLOAT_EQ(progress.value(), progress.maximum());
    EXPECT_LE(progress.highest, progress.maximum()) << "the bar never runs past its maximum";
    EXPECT_EQ(progress.yields, 4);

    EXPECT_TRUE(view.headline.startsWith(u"\r\nCONCURSO DE TRASLADOS"_s));
    EXPECT_EQ(view.caption, u"Concurso de Traslados 2026 - Servicio Regional de Salud 1.0.0"_s);

    for (RecordSet* t :
         {&tables.localities, &tables.localities2, &tables.localities3, &tables.departments,
          &tables.departments2, &tables.areas, &tables.areas2, &tables.zones, &tables.zones2,
          &tables.situations, &tables.institutions, &tables.vacancyDetails, &tables.resultasDetails,
          &tables.positionBody, &tables.positionGroup, &tables.vacantPositions, &tables.resultasPositions,
          &tables.provinces, &tables.addressProvinces})
        EXPECT_GT(t->recordCount(), 0) << t->columnNames().join(',').toStdString();
    EXPECT_EQ(tables.addressProvinces.recordCount(), 52);
    // The clone lists the localities by name, as the table it copies.
    EXPECT_TRUE(tables.localitiesClone->sharesRowsWith(tables.localities));
    EXPECT_EQ(tables.localitiesClone->sort(), u" Localidad ASC "_s);
    EXPECT_EQ(tables.bodyPositions.size(), 20u);
    EXPECT_EQ(tables.groupPositions.size(), 3u);

    // The localities copies and the clone each keep their own filter.
    ASSERT_TRUE(tables.localities2.setFilter(u"CodProvincia='02' "_s));
    EXPECT_LT(tables.localities2.recordCount(), tables.localities.recordCount());
    EXPECT_EQ(tables.localities3.recordCount(), tables.localities.recordCount());
    EXPECT_EQ(tables.localitiesClone->recordCount(), tables.localities.recordCount());
}

TEST(LoadingSequence, AFailingStepIsReportedByNumberAndLeavesEmptyTables) {
    ContestFixture contest;
    contest.removeCatalogue("F0015.enc");
    LoadedTables tables;
    FakeMessageService messages;
    Progress progress;
    const LoadingOutcome outcome = load(contest, tables, messages, progress);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(outcome.failedStep, 13);
    EXPECT_FALSE(outcome.endsProgram);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_TRUE(messages.messages[0].text.startsWith(u"Se ha producido el siguiente error 53-"_s));
    EXPECT_EQ(messages.messages[1],
              (FakeMessageService::Message{u"Error en línea 13.Error de acceso a la ruta o el archivo 75"_s,
                                           programTitle(), MessageIcon::None}));

    // Everything later code touches is there, open and empty.
    for (RecordSet* t : {&tables.localities2, &tables.vacancyList, &tables.resultasList, &tables.coursesList,
                         &tables.documentsList, &tables.vacantPositions, &tables.zones2}) {
        EXPECT_TRUE(t->isOpen());
        EXPECT_EQ(t->recordCount(), 0);
        EXPECT_GT(t->columnCount(), 0);
    }
    EXPECT_TRUE(tables.bodyPositions.empty());
}

TEST(LoadingSequence, StopsAtTheFirstReadingOfTheConfiguration) {
    ContestFixture contest;
    QFile::remove(contest.root() + u"/conf.xml"_s);
    LoadedTables tables;
    FakeMessageService messages;
    Progress progress;
    const LoadingOutcome outcome = load(contest, tables, messages, progress);
    EXPECT_EQ(outcome.failedStep, 6);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.startsWith(u"Error en línea 6."_s));
    EXPECT_TRUE(messages.messages[0].text.endsWith(u" 91"_s));

    QFile::remove(contest.dataFile(u"FicheroTexto.txt"_s));
    messages.messages.clear();
    EXPECT_EQ(load(contest, tables, messages, progress).failedStep, 4);
}

TEST(LoadingSequence, BrokenPositionDetailsEndTheProgramWithoutASecondMessage) {
    ContestFixture contest;
    contest.replaceCatalogue("F0009.enc", {QByteArray("ok")});
    writeFile(contest.dataFile("F0009.enc"), "\x01\x02");
    LoadedTables tables;
    FakeMessageService messages;
    Progress progress;
    const LoadingOutcome outcome = load(contest, tables, messages, progress);
    EXPECT_EQ(outcome.failedStep, 53);
    EXPECT_TRUE(outcome.endsProgram);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, u"error al cargar plazas"_s);
}

// Every unusable value takes the same path (PositionsPerPageTest covers which values are
// unusable); here the warning must reach the user once, after a load that still succeeds.
TEST(LoadingSequence, AnUnusablePositionsPerPageIsSaidOnceTheContestHasLoaded) {
    ContestFixture contest;
    replaceInFile(contest.root() + u"/conf.xml"_s, "numPlazasPorPag=\"40\"", "numPlazasPorPag=\"abc\"");
    LoadedTables tables;
    FakeMessageService messages;
    Progress progress;
    ASSERT_TRUE(load(contest, tables, messages, progress).loaded);
    EXPECT_EQ(
        messages.only(programTitle(), MessageIcon::Exclamation),
        u"Aviso de la configuración del concurso (conf.xml):\nnumPlazasPorPag \"abc\" no es válido; se usan 40"_s);
}
