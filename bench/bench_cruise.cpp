// The cruise over the shipped data (build/bin: the list, the grid and the
// standard maps) while zooming over Japan.
//
// BM_CruiseZoomStep: one decision per zoom step with every standard map
// loaded already: level, nomination (list lookups, the grid at levels 7-8),
// the file tests, hiding and showing the units, their reordering. Target:
// under 1 ms a step.
// BM_CruiseFirstLoad/L: the first cruise of level L, which loads its map
// (reported apart: it is bounded by the map file's size).
// BM_GridArea: the country codes under a 20° x 20° view, read from the file.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "AppInfo.h"
#include "AppState.h"
#include "SettingsStore.h"
#include "clsCruise05.h"
#include "clsMapUnits.h"
#include "clsRect.h"

#include <memory>

namespace {

// The build's program folder holds the data; the benchmarks sit beside it.
struct Installation {
    QTemporaryDir settings;
    Installation() {
        plat::SettingsStore::SetFolder(settings.path());
        const QString program = plat::AppPath() + QStringLiteral("/../bin");
        plat::SetAppPath(program);
        gvMapFolder = program + QStringLiteral("/maps");
    }
};

Installation& Data() {
    static Installation i;
    return i;
}

constexpr double kScales[] = {300000000, 70000000, 30000000, 14000000, 7000000, 3000000, 1000000, 220000};

clsRect View(double scale) {
    // About 1000 x 750 pixels at 96 dpi over Tokyo.
    const double half = 0.004 * scale / 100000;
    return clsRect(int32_t((139.7 - half) * 3600), int32_t((35.7 - half * 0.75) * 3600), int32_t((139.7 + half) * 3600),
                   int32_t((35.7 + half * 0.75) * 3600));
}

void BM_CruiseZoomStep(benchmark::State& state) {
    Data();
    clsCruise05 engine;
    clsMapUnits units;
    units.Create(1);
    for (const double s : kScales) {
        const clsRect v = View(s);
        engine.Cruise(s, &v, &units);
    }
    if (units.Count() != 9) state.SkipWithError("the shipped maps did not all load");
    size_t step = 0;
    for (auto _ : state) {
        const double s = kScales[step++ % std::size(kScales)];
        const clsRect v = View(s);
        benchmark::DoNotOptimize(engine.Cruise(s, &v, &units));
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_CruiseZoomStep)->Unit(benchmark::kMicrosecond);

void BM_CruiseFirstLoad(benchmark::State& state) {
    Data();
    const double s = kScales[state.range(0) - 1];
    const clsRect v = View(s);
    clsCruise05 engine;
    for (auto _ : state) {
        state.PauseTiming();
        auto units = std::make_unique<clsMapUnits>();
        units->Create(1);
        state.ResumeTiming();
        benchmark::DoNotOptimize(engine.Cruise(s, &v, units.get()));
        state.PauseTiming();
        if (units->Count() != 2) state.SkipWithError("the level's map did not load");
        units.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CruiseFirstLoad)->DenseRange(1, 8)->Unit(benchmark::kMillisecond);

void BM_GridArea(benchmark::State& state) {
    Data();
    clsCruise05 engine;
    const clsRect area(125 * 3600, 25 * 3600, 145 * 3600, 45 * 3600);
    for (auto _ : state) benchmark::DoNotOptimize(engine.Grid().GetCountryCodeArea(&area));
}
BENCHMARK(BM_GridArea)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
