#include "app/LoadingSequence.h"

#include "app/LoadedTables.h"
#include "app/RunState.h"
#include "applications/ApplicationFiles.h"
#include "catalog/CatalogLoader.h"
#include "platform/Progress.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>

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

LoadingOutcome load(const ContestFixture& contest, LoadedTables& tables, Progress& progress,
                    LoadingView* view = nullptr) {
    CatalogLoader loader(contest.folders().data);
    EXPECT_TRUE(loader.buildBodies(tables.bodies));
    return LoadingSequence(contest.folders(), tables, progress, view).run();
}

} // namespace

// An unusable positions-per-page value (which ones PositionsPerPageTest says) is told once, and
// the contest still loads.
TEST(LoadingSequence, ACompleteLoadFillsEveryTableUnderTheProgressBar) {
    ContestFixture contest;
    replaceInFile(contest.root() + u"/conf.xml"_s, "numPlazasPorPag=\"40\"", "numPlazasPorPag=\"abc\"");
    LoadedTables tables;
    FakeMessageService messages;
    RecordingProgress progress;
    RecordingView view;
    const LoadingOutcome outcome = load(contest, tables, progress, &view);
    ASSERT_TRUE(outcome.loaded && outcome.notice);
    messages.tell(*outcome.notice);
    EXPECT_EQ(
        messages.only(programTitle(), MessageIcon::Exclamation),
        u"Aviso de la configuración del concurso (conf.xml):\nnumPlazasPorPag \"abc\" no es válido; se usan 40"_s);

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
    EXPECT_EQ(tables.localitiesClone->sort(), u"Localidad ASC"_s);
    EXPECT_EQ(tables.bodyPositions.size(), 20u);
    EXPECT_EQ(tables.groupPositions.size(), 3u);

    // The localities copies and the clone each keep their own filter.
    ASSERT_TRUE(tables.localities2.setFilter(u"CodProvincia='02' "_s));
    EXPECT_LT(tables.localities2.recordCount(), tables.localities.recordCount());
    EXPECT_EQ(tables.localities3.recordCount(), tables.localities.recordCount());
    EXPECT_EQ(tables.localitiesClone->recordCount(), tables.localities.recordCount());
}

// A damaged installation stops at the step that reads it, named in the failure to tell; broken
// position details end the program, told in the catalogue loader's words.
TEST(LoadingSequence, AFailingStepStopsTheLoadNamingItsNumber) {
    const struct {
        std::function<void(const ContestFixture&)> damage;
        int step;
        bool endsProgram;
        const char* told; // its beginning
    } cases[] = {
        {[](const ContestFixture& c) { c.removeCatalogue("F0015.enc"); }, 13, false,
         "Error en línea 13.Error de acceso a la ruta o el archivo 75"},
        {[](const ContestFixture& c) { QFile::remove(c.root() + u"/conf.xml"_s); }, 6, false,
         "Error en línea 6."},
        {[](const ContestFixture& c) { QFile::remove(c.dataFile(u"FicheroTexto.txt"_s)); }, 4, false,
         "Error en línea 4."},
        {[](const ContestFixture& c) { writeFile(c.dataFile("F0009.enc"), "\x01\x02"); }, 53, true,
         "error al cargar plazas"},
    };
    for (const auto& c : cases) {
        ContestFixture contest;
        c.damage(contest);
        LoadedTables tables;
        Progress progress;
        const LoadingOutcome outcome = load(contest, tables, progress);
        EXPECT_FALSE(outcome.loaded);
        EXPECT_EQ(outcome.failedStep, c.step);
        EXPECT_EQ(outcome.endsProgram, c.endsProgram) << c.step;
        ASSERT_TRUE(outcome.notice) << c.step;
        const QString told = outcome.notice->description;
        EXPECT_TRUE(told.startsWith(QString::fromUtf8(c.told))) << told.toStdString();
        if (c.endsProgram)
            continue;
        // The program goes on: everything later code touches is there, open and empty.
        for (RecordSet* t :
             {&tables.localities2, &tables.vacancyList, &tables.resultasList, &tables.coursesList,
              &tables.documentsList, &tables.vacantPositions, &tables.zones2}) {
            EXPECT_TRUE(t->isOpen() && t->recordCount() == 0 && t->columnCount() > 0) << c.step;
        }
        EXPECT_TRUE(tables.bodyPositions.empty()) << c.step;
    }
}

// After the catalogues are released nothing that still holds a table can crash on it:
// every table is closed and empty, and reading from it is an error, not a fault.
TEST(RunState, ReleasedCataloguesRefuseEveryUse) {
    RunState state;
    ASSERT_TRUE(createApplicationFilesTable(state.applicationFiles));
    ASSERT_TRUE(state.tables.vacancyList.addNew());
    ASSERT_TRUE(state.tables.vacancyList.setValue(u"Orden", 1));
    auto clone = state.tables.vacancyList.clone();

    state.releaseCatalogues();
    for (RecordSet* t : {&state.tables.vacancyList, &state.tables.bodies, &state.tables.localities2,
                         &state.applicationFiles}) {
        EXPECT_FALSE(t->isOpen());
        EXPECT_EQ(t->recordCount(), 0);
        EXPECT_FALSE(t->addNew());
        EXPECT_FALSE(t->setFilter(u"Orden = 1"_s));
    }
    EXPECT_EQ(state.tables.localitiesClone, nullptr);
    // A cursor taken before the release still reads its own rows.
    clone->moveFirst();
    EXPECT_EQ(clone->integer(u"Orden"), 1);
}
