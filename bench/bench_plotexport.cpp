// The start map (the world at 1:50m over the base land map, with ocean,
// graticule and labels, in the engine's default view) plotted once onto a
// 1920 x 1080 raster canvas and once recorded as a metafile, as the WMF
// export records it. Counters: ms per plot, and for the metafile the
// records and bytes of one recording.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <filesystem>

#include "BenchMain.h"
#include "BenchData.h"
#include "AppInfo.h"
#include "AppState.h"
#include "Bitmap.h"
#include "MetaFileDC.h"
#include "RasterDC.h"
#include "SettingsStore.h"
#include "basGlobe.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnits.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// The bundled environment and the start map, loaded once.
struct StartMap {
    QTemporaryDir settings;
    clsEnvironment env;
    clsMapGraph graph;
    std::shared_ptr<clsMapUnits> units = std::make_shared<clsMapUnits>();

    StartMap() {
        UseBundledData(settings, env);
        gvMapGraph = &graph;
        InitGlobe();
        units->Create(1);
        auto start = std::make_shared<clsMapUnit>();
        start->setUnitName(gvMapFolder + QStringLiteral("/WORLD_T3.MLL"));
        start->Load();
        units->Add(start);
    }

    // The engine's view at start-up on dc.
    void setView(clsMapPlot& p, plat::HDC dc) const {
        p.MapUnits = units;
        p.sethdc(dc);
        p.setCanvasWidth(kWidth);
        p.setCanvasHeight(kHeight);
        p.setdpix(96);
        p.setdpiy(96);
        p.setCenterX(0);
        p.setCenterY(185318);
        p.setMapScale(MapScaleMax / 50);
    }
};

StartMap& Map() {
    static StartMap m;
    return m;
}

void msPerPlot(benchmark::State& state) {
    state.counters["ms_plot"] =
        benchmark::Counter(double(state.iterations()) / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_RasterPlot(benchmark::State& state) {
    plat::RasterDC dc(plat::Bitmap::Create(kWidth, kHeight, 32), 96);
    clsMapPlot p;
    Map().setView(p, &dc);
    for (auto _ : state)
        if (p.Replot() != 0) state.SkipWithError("Replot failed");
    msPerPlot(state);
}

void BM_MetafilePlot(benchmark::State& state) {
    clsMapPlot p;
    size_t records = 0;
    qsizetype bytes = 0;
    for (auto _ : state) {
        plat::MetaFileDC dc;
        Map().setView(p, &dc);
        if (p.Replot() != 0) state.SkipWithError("Replot failed");
        const plat::HMETAFILE mf = dc.Close();
        records = mf ? mf->recordCount() : 0;
        bytes = mf ? mf->bits().size() : 0;
    }
    msPerPlot(state);
    state.counters["records"] = double(records);
    state.counters["bytes"] = double(bytes);
}

} // namespace

BENCHMARK(BM_RasterPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MetafilePlot)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunBenchmarks<QGuiApplication>(argc, argv); }
