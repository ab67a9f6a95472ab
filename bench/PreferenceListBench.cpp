// The preference lists under load: one change to a list of 1,000 rows (target under 5 ms)
// and "Insertar Todas" of 5,000 candidates (target under 1 s).

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogLoader.h"
#include "editor/ApplicationListTables.h"
#include "editor/PreferenceListEditor.h"
#include "platform/MessageService.h"
#include "platform/data/RecordSet.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace velmora {
namespace {

// Benchmarks measure working code: any failure ends the run.
void ensure(bool ok) {
    if (!ok)
        std::abort();
}

void require(const Status& status) {
    ensure(status.ok());
}

QString codeOf(int n) {
    return QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0'));
}

struct Tables {
    RecordSet list, candidates, areas, zones;

    explicit Tables(int candidateCount) {
        require(createVacancyList(list));
        require(createCandidatePositions(candidates));
        require(CatalogLoader::createAreas(areas));
        require(CatalogLoader::createZones(zones));
        for (int i = 0; i < 60; ++i) {
            require(areas.addNew());
            require(areas.setValue(u"CodArea", codeOf(i)));
            require(areas.setValue(u"Area", QStringLiteral("Área ") + codeOf(i)));
            require(zones.addNew());
            require(zones.setValue(u"CodZona", codeOf(i)));
            require(zones.setValue(u"Zona", QStringLiteral("Zona ") + codeOf(i)));
        }
        for (int i = 0; i < candidateCount; ++i) {
            require(candidates.addNew());
            require(candidates.setValue(u"CodConvocatoria", codeOf(i)));
            require(candidates.setValue(u"NomConvocatoria", QStringLiteral("Puesto ") + codeOf(i)));
            require(candidates.setValue(u"CodArea", codeOf(i % 60)));
            require(candidates.setValue(u"CodZona", codeOf(i % 50)));
        }
        require(candidates.setSort(QStringLiteral("CodConvocatoria")));
    }

    // A list of `rows` positions at orders 1..rows, as "Insertar Todas" leaves it.
    void fillList(int rows) {
        AreaZoneNames names(areas, zones);
        require(candidates.setFilter(QStringLiteral("CodConvocatoria < '%1'").arg(codeOf(rows))));
        ensure(InsertaTodasPlazas(candidates, list, names).ok());
        candidates.clearFilter();
        require(list.setSort(QStringLiteral("Orden ASC")));
    }

    qint64 rowOf(const QString& code) const {
        auto copy = list.clone();
        require(copy->find(QStringLiteral("CodConvocatoria='%1'").arg(code)));
        return copy->currentRowId();
    }
};

PositionChoice choiceOf(const QString& code) {
    return {true,
            code,
            QStringLiteral("Puesto ") + code,
            QStringLiteral("Hospital"),
            QStringLiteral("Localidad"),
            codeOf(3),
            codeOf(4)};
}

void BM_AddAtAnOrderOf1000Rows(benchmark::State& state) {
    Tables tables(1001);
    tables.fillList(1000);
    PreferenceListEditor editor(tables.list, QStringLiteral("Solicitud Vacantes"));
    SilentMessageService messages;
    const QString code = codeOf(1000);
    for (auto _ : state) {
        AreaZoneNames names(tables.areas, tables.zones);
        ensure(editor.add(choiceOf(code), QStringLiteral("500"), QString(), names).ok());
        state.PauseTiming();
        ensure(editor.confirmAndDelete(tables.rowOf(code), messages).ok());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddAtAnOrderOf1000Rows)->Unit(benchmark::kMillisecond);

void BM_MoveARowOf1000Rows(benchmark::State& state) {
    Tables tables(1000);
    tables.fillList(1000);
    PreferenceListEditor editor(tables.list, QStringLiteral("Solicitud Vacantes"));
    const qint64 row = tables.rowOf(codeOf(900));
    bool up = true;
    for (auto _ : state) {
        const auto loaded = editor.beginModify(row);
        ensure(loaded.has_value());
        const auto moved = editor.modify(QString::number(loaded->id),
                                         up ? QStringLiteral("10") : QStringLiteral("990"), QString());
        ensure(moved.ok());
        up = !up;
    }
}
BENCHMARK(BM_MoveARowOf1000Rows)->Unit(benchmark::kMillisecond);

void BM_DeleteARowOf1000Rows(benchmark::State& state) {
    Tables tables(1000);
    tables.fillList(1000);
    PreferenceListEditor editor(tables.list, QStringLiteral("Solicitud Vacantes"));
    SilentMessageService messages;
    const QString code = codeOf(500);
    for (auto _ : state) {
        const auto deleted = editor.confirmAndDelete(tables.rowOf(code), messages);
        ensure(deleted.ok() && *deleted);
        state.PauseTiming();
        AreaZoneNames names(tables.areas, tables.zones);
        ensure(editor.add(choiceOf(code), QStringLiteral("500"), QString(), names).ok());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteARowOf1000Rows)->Unit(benchmark::kMillisecond);

void BM_InsertAll5000Candidates(benchmark::State& state) {
    Tables tables(5000);
    for (auto _ : state) {
        state.PauseTiming();
        require(createVacancyList(tables.list));
        state.ResumeTiming();
        AreaZoneNames names(tables.areas, tables.zones);
        const auto appended = InsertaTodasPlazas(tables.candidates, tables.list, names);
        ensure(appended.ok() && *appended == 5000);
    }
}
BENCHMARK(BM_InsertAll5000Candidates)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmora

BENCHMARK_MAIN();
