// The map-symbol dialog on the bundled start map (the base unit and the
// world at 1:50m): building the thing grid of the shipped catalogues (every
// thing listed, samples drawn), and a preview after one click compared with
// a plain replot of the same 1920 x 1080 view.
//
// BM_PlainReplot is the main window's redraw; BM_PreviewClick one click on
// the show-mode cell of "国境" (cycling hidden, shown, scale-dependent, so
// the average covers each mode once per three clicks) with the redraw the
// preview runs; BM_PreviewOnly the preview alone, which lends the working
// copies to the units for one replot. The preview should cost no more than
// the plain replot.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <filesystem>

#include "BenchMain.h"
#include "BenchData.h"
#include "AppInfo.h"
#include "AppState.h"
#include "Bitmap.h"
#include "FlexGridData.h"
#include "MapSymbolHost.h"
#include "MapSymbolModel.h"
#include "RasterDC.h"
#include "SettingsStore.h"
#include "basGlobe.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnits.h"

namespace {

constexpr int kW = 1920, kH = 1080;

struct World {
    QTemporaryDir settings;
    clsEnvironment env;
    clsMapGraph graph;
    std::shared_ptr<clsMapUnits> units = std::make_shared<clsMapUnits>();
    plat::HBITMAP canvas = plat::Bitmap::Create(kW, kH, 32);
    plat::RasterDC dc{canvas, 96};
    clsMapPlot plot;

    World() {
        UseBundledData(settings, env);
        gvMapGraph = &graph;
        gvLanguage = 2;
        units->Create(1);
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(gvMapFolder + QStringLiteral("/WORLD_T3.MLL"));
        world->Load();
        units->Add(world);
        plot.MapUnits = units;
        plot.sethdc(&dc);
        plot.setCanvasWidth(kW);
        plot.setCanvasHeight(kH);
        plot.setdpix(96);
        plot.setdpiy(96);
        plot.ProjectionAuto = true;
        plot.setCenterX(0);
        plot.setCenterY(185318);
        plot.setMapScale(MapScaleMax / 50);
        MapSymbolHost host;
        host.PlotWindow = [this] { plot.Replot(); };
        SetMapSymbolHost(host);
    }
};

World& TheWorld() {
    static World w;
    return w;
}

// The model opened on the world's units with every thing listed.
struct Opened {
    plat::FlexGridData things, admins;
    MapSymbolModel m;
    Opened() {
        things.setFormatString(MapSymbolModel::ThingFormat());
        admins.setFormatString(MapSymbolModel::AdminFormat());
        m.attach(&things, &admins);
        m.EiDispAll = true;
        m.SampleWidth = 120;
        m.SampleHeight = 27;
        m.TargetUnits = TheWorld().units.get();
        m.Load();
    }
    int32_t rowOf(const QString& name) const {
        for (int32_t r = 1; r < things.Rows(); ++r)
            if (things.TextMatrix(r, 1) == name) return r;
        return -1;
    }
};

// Argument: the unit chosen, 1 the base map's catalogue, 2 the world's.
void BM_SetGridData(benchmark::State& state) {
    Opened o;
    o.m.ChooseMap(int32_t(state.range(0)));
    for (auto _ : state) {
        o.things.setRows(1);
        o.m.SetGridData();
    }
    state.counters["rows"] = double(o.things.Rows() - 1);
    state.counters["ms"] = benchmark::Counter(double(state.iterations()) / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PlainReplot(benchmark::State& state) {
    World& w = TheWorld();
    for (auto _ : state) w.plot.Replot();
    state.counters["ms"] = benchmark::Counter(double(state.iterations()) / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PreviewClick(benchmark::State& state) {
    Opened o;
    const int32_t row = o.rowOf(QStringLiteral("国境"));
    if (row < 1) state.SkipWithError("no border thing");
    for (auto _ : state) o.m.ThingClick(row, MapSymbolModel::colShow);
    state.counters["ms"] = benchmark::Counter(double(state.iterations()) / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PreviewOnly(benchmark::State& state) {
    Opened o;
    for (auto _ : state) o.m.ExePreview();
    state.counters["ms"] = benchmark::Counter(double(state.iterations()) / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_SetGridData)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReplot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewClick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunBenchmarks<QGuiApplication>(argc, argv); }
