// Choosing a body in the editor: the body's candidate positions copied into the editor's
// tables (SeleccionaPlazasRS) for the body with the most positions. Target: under 50 ms on
// the realistic contest.
//
//   build/bench/CandidateSelectionBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "app/LoadingSequence.h"
#include "catalog/CatalogTables.h"
#include "catalog/SampleContest.h"
#include "editor/CandidateSelection.h"
#include "editor/CandidateTables.h"
#include "platform/AppFolders.h"
#include "platform/MessageService.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

void BM_SelectLargestBody(benchmark::State& state) {
    QTemporaryDir dir;
    SilentMessageService messages;
    CatalogTables catalogs;
    if (!writeSampleContest(dir.path(), static_cast<SampleScale>(state.range(0)), 1).ok() ||
        !loadInstallation(AppFolders::at(dir.path()), catalogs, messages).loaded) {
        state.SkipWithError("loading failed");
        return;
    }
    const BodyPositions* largest = nullptr;
    for (const BodyPositions& entry : catalogs.bodyPositions)
        if (!entry.isEmpty() && entry.offeredOnly &&
            (!largest || entry.vacancy->recordCount() + entry.resultas->recordCount() >
                             largest->vacancy->recordCount() + largest->resultas->recordCount()))
            largest = &entry;
    if (!largest) {
        state.SkipWithError("no body has positions");
        return;
    }
    CandidateTables tables;
    CandidateSelection selection(catalogs.bodyPositions, tables);
    for (auto _ : state)
        if (!selection.selectBody(largest->bodyCode, messages))
            state.SkipWithError("selection failed");
    state.counters["vacancies"] = largest->vacancy->recordCount();
    state.counters["resultas"] = largest->resultas->recordCount();
}
BENCHMARK(BM_SelectLargestBody)
    ->Arg(int(SampleScale::Realistic))
    ->Arg(int(SampleScale::Large))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
