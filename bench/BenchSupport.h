#pragma once

// What the benchmarks share: their main, and a generated sample contest loaded with its
// largest body picked out.

#include "app/LoadingSequence.h"
#include "catalog/CatalogTables.h"
#include "catalog/SampleContest.h"
#include "editor/ApplicationModel.h"
#include "platform/AppFolders.h"
#include "platform/HeadlessEnvironment.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

namespace velmora::bench {

// The applicant of the printing benchmarks: what a final printout needs, names with accents and
// an ampersand, a body and group of the sample contest.
inline void fillPrintedApplicant(ApplicationModel& model) {
    model.setText(ctl::txtApellido1, QStringLiteral("Muñoz & Peña"));
    model.setText(ctl::txtNombre, QStringLiteral("María José"));
    model.setText(ctl::txtDNI, QStringLiteral("12345678Z"));
    model.setText(ctl::txtFecNacimiento, QStringLiteral("12/03/1980"));
    model.setChoice(ctl::cboCuerpo, QStringLiteral("10010"), QStringLiteral("Enfermero/a"));
    model.setChoice(ctl::cboGrupo, QStringLiteral("A2"), QStringLiteral("A2"));
    model.setSelected(ctl::optActivo);
    model.setSelected(ctl::OptSi);
    model.setSelected(ctl::optSSTarvo);
}

// A sample contest of one scale written to a scratch folder and loaded as the program does.
struct LoadedSampleContest {
    QTemporaryDir dir;
    CatalogTables tables;
    bool loaded = false;

    explicit LoadedSampleContest(SampleScale scale) {
        loaded = writeSampleContest(dir.path(), scale, 1).ok() &&
                 loadInstallation(AppFolders::at(dir.path()), tables).loaded;
    }

    // The body with the most positions by `size`, among those `eligible`; null when none has any.
    const BodyPositions* largestBody(const std::function<qsizetype(const BodyPositions&)>& size,
                                     const std::function<bool(const BodyPositions&)>& eligible = {}) const {
        const BodyPositions* largest = nullptr;
        for (const BodyPositions& entry : tables.bodyPositions)
            if (!entry.isEmpty() && (!eligible || eligible(entry)) &&
                (!largest || size(entry) > size(*largest)))
                largest = &entry;
        return largest;
    }
};

// Runs the benchmarks named on the command line inside an application object of the kind
// the measured code needs: QGuiApplication for anything that measures text (loading a
// contest does, to check its places per page) or draws, QApplication for windows; on the
// offscreen platform when there is no display.
template <typename Application> int runBenchmarks(int argc, char** argv) {
    prepareHeadlessEnvironment();
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace velmora::bench
