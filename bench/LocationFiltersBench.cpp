// The location drop-downs of the position tabs: each reaction narrows the catalogue lists
// and the candidates of the body with the most vacancies. Targets: every reaction under
// 5 ms on the realistic contest and under 20 ms on the large one.
//
//   build/bench/LocationFiltersBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "BenchSupport.h"
#include "editor/LocationFilters.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

enum class Step { Province, Area, Institution, Locality, Zone, ResultasProvince, Cancel };

// The first row of a table that the candidates use, as a picked choice.
LocationChoice firstOf(const RecordSet& table, QStringView key, QStringView shown) {
    if (table.recordCount() == 0)
        return {};
    return {table.textAt(0, table.columnIndex(key)), table.textAt(0, table.columnIndex(shown)), true, true};
}

void BM_LocationReaction(benchmark::State& state) {
    bench::LoadedSampleContest contest(static_cast<SampleScale>(state.range(0)));
    if (!contest.loaded) {
        state.SkipWithError("loading failed");
        return;
    }
    CatalogTables& t = contest.tables;
    const BodyPositions* largest =
        contest.largestBody([](const BodyPositions& b) { return b.vacancy->recordCount(); });
    if (!largest) {
        state.SkipWithError("no body has positions");
        return;
    }
    const auto step = static_cast<Step>(state.range(1));
    const bool resultas = step == Step::ResultasProvince;
    const auto candidates = (resultas ? largest->resultas : largest->vacancy)->clone();
    const LocationTables tables{*candidates,    t.provinces, resultas ? t.localities3 : t.localities2,
                                t.departments,  t.areas,     t.zones,
                                &t.institutions};
    VacancyLocationFilters vacancy(tables);
    ResultasLocationFilters resultasFilters(tables);

    // The province of the first candidate, and finer choices inside it.
    LocationState chosen;
    const QString province = candidates->textAt(0, candidates->columnIndex(u"CodProvincia"));
    chosen.province = {province, province, true, true};
    FiltraLocalizacionesVacantes(QString(), chosen, tables);
    chosen.area = firstOf(t.areas, u"CodArea", u"Area");
    chosen.institution = firstOf(t.departments, u"CodConsejeria", u"Consejeria");
    chosen.locality = firstOf(t.localities2, u"CodLocalidad", u"Localidad");
    chosen.zone = firstOf(t.zones, u"CodZona", u"Zona");

    for (auto _ : state) {
        LocationState s = chosen;
        LocationReaction reaction;
        switch (step) {
        case Step::Province:
            s.area = s.institution = s.locality = s.zone = {};
            reaction = vacancy.react(LocationBox::Province, LocationEvent::ListClosed, s);
            break;
        case Step::Area:
            s.institution = s.locality = s.zone = {};
            reaction = vacancy.react(LocationBox::Area, LocationEvent::ListClosed, s);
            break;
        case Step::Institution:
            s.locality = s.zone = {};
            reaction = vacancy.react(LocationBox::Institution, LocationEvent::ListClosed, s);
            break;
        case Step::Locality:
            s.zone = {};
            reaction = vacancy.react(LocationBox::Locality, LocationEvent::ChoiceConfirmed, s);
            break;
        case Step::Zone:
            s.locality = {};
            reaction = vacancy.react(LocationBox::Zone, LocationEvent::ChoiceConfirmed, s);
            break;
        case Step::ResultasProvince:
            reaction = resultasFilters.react(LocationBox::Province, LocationEvent::ListClosed, s);
            break;
        case Step::Cancel:
            reaction = vacancy.clear(s);
            break;
        }
        benchmark::DoNotOptimize(reaction);
    }
    state.counters["candidates"] = largest->vacancy->recordCount();
}

void arguments(benchmark::internal::Benchmark* b) {
    for (SampleScale scale : {SampleScale::Realistic, SampleScale::Large})
        for (int step = int(Step::Province); step <= int(Step::Cancel); ++step)
            b->Args({int(scale), step});
}
BENCHMARK(BM_LocationReaction)->Apply(arguments)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return velmora::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
