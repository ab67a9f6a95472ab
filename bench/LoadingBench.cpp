// Loading benchmarks: the whole start-up load at realistic and large scale, and the
// position lookups against the row-by-row walk they replace.
//
//   build/bench/LoadingBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "BenchSupport.h"
#include "app/LoadingSequence.h"
#include "catalog/CatalogLoader.h"
#include "catalog/CatalogTables.h"
#include "catalog/PositionLookup.h"
#include "catalog/SampleContest.h"
#include "platform/AppFolders.h"
#include "platform/Progress.h"
#include "support/LiteralPositionLookup.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <map>
#include <memory>

using namespace velmora;

namespace {

// One generated installation per scale, written once for the whole run.
const QString& installation(SampleScale scale) {
    static std::map<SampleScale, std::unique_ptr<QTemporaryDir>> dirs;
    auto& dir = dirs[scale];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        (void)writeSampleContest(dir->path(), scale, 1);
    }
    static std::map<SampleScale, QString> paths;
    return paths[scale] = dir->path();
}

bool loadEverything(const QString& root, CatalogTables& tables) {
    return loadInstallation(AppFolders::at(root), tables).loaded;
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_LoadingSequence(benchmark::State& state) {
    const auto scale = static_cast<SampleScale>(state.range(0));
    const QString& root = installation(scale);
    for (auto _ : state) {
        CatalogTables tables;
        if (!loadEverything(root, tables))
            state.SkipWithError("loading failed");
        benchmark::DoNotOptimize(tables.bodyPositions.data());
    }
    state.counters["peak_MiB"] = double(peakMemoryKiB()) / 1024.0;
}
BENCHMARK(BM_LoadingSequence)
    ->Arg(int(SampleScale::Realistic))
    ->Arg(int(SampleScale::Large))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

PositionSources sourcesOf(CatalogTables& t) {
    return {t.bodies,         t.groups,          t.positionBody,
            t.positionGroup,  t.vacantPositions, t.resultasPositions,
            t.vacancyDetails, t.resultasDetails};
}

void BM_PositionLookups(benchmark::State& state) {
    CatalogTables tables;
    if (!loadEverything(installation(SampleScale::Realistic), tables))
        state.SkipWithError("loading failed");
    Progress progress;
    for (auto _ : state) {
        std::vector<BodyPositions> bodies;
        std::vector<GroupPositions> groups;
        (void)positionsByBody(sourcesOf(tables), bodies, progress, 30);
        (void)positionsByGroup(sourcesOf(tables), groups, progress, 30);
        // Every candidates table read once, so that all of them are made, as the walk makes them.
        for (const BodyPositions& entry : bodies)
            benchmark::DoNotOptimize(entry.vacancy.get() && entry.resultas.get());
        for (const GroupPositions& entry : groups)
            benchmark::DoNotOptimize(entry.vacancy.get() && entry.resultas.get());
    }
}
BENCHMARK(BM_PositionLookups)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PositionLookupsRowByRow(benchmark::State& state) {
    CatalogTables tables;
    if (!loadEverything(installation(SampleScale::Realistic), tables))
        state.SkipWithError("loading failed");
    for (auto _ : state) {
        std::vector<BodyPositions> bodies;
        std::vector<GroupPositions> groups;
        literal::positionsByBody(sourcesOf(tables), bodies);
        literal::positionsByGroup(sourcesOf(tables), groups);
        benchmark::DoNotOptimize(bodies.data());
    }
}
BENCHMARK(BM_PositionLookupsRowByRow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return velmora::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
