// Choosing a body in the editor: the body's candidate positions copied into the editor's
// tables (SeleccionaPlazasRS) for the body with the most positions. Target: under 50 ms on
// the realistic contest.
//
//   build/bench/CandidateSelectionBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "BenchSupport.h"
#include "editor/CandidateSelection.h"
#include "editor/CandidateTables.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

void BM_SelectLargestBody(benchmark::State& state) {
    const bench::LoadedSampleContest contest(static_cast<SampleScale>(state.range(0)));
    if (!contest.loaded) {
        state.SkipWithError("loading failed");
        return;
    }
    const BodyPositions* largest = contest.largestBody(
        [](const BodyPositions& b) { return b.vacancy->recordCount() + b.resultas->recordCount(); },
        [](const BodyPositions& b) { return b.offeredOnly; });
    if (!largest) {
        state.SkipWithError("no body has positions");
        return;
    }
    CandidateTables tables;
    CandidateSelection selection(contest.tables.bodyPositions, tables);
    for (auto _ : state)
        if (!selection.selectBody(largest->bodyCode))
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
    return velmora::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
