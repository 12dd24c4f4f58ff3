// The pickup list's answer to a double click on the bundled world map
// (tens of thousands of figures) on a 1920 x 1080 canvas: the search for the
// nearest figures and their rows, at the whole world, the default view and
// Europe at 16 times the world's scale, clicked at the middle of the view
// and at a corner. Target: under 50 ms per click.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "BenchMain.h"
#include "BenchWorld.h"
#include "Bitmap.h"
#include "MessageBox.h"
#include "RasterDC.h"
#include "basGlobe.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "frmPickupLogic.h"

namespace {

constexpr int kW = 1920, kH = 1080;
constexpr int32_t kDeg = 3600;

struct Scene {
    int32_t lon, lat;
    double scale;
    int x, y;   // the click, canvas pixels
};
const Scene kScenes[] = {
    {0, 0, 8e7, kW / 2, kH / 2},     {0, 185318, MapScaleMax / 50, kW / 2, kH / 2},
    {0, 0, 8e7, 40, 40},             {15 * kDeg, 50 * kDeg, 5e6, kW / 2, kH / 2},
};

void BM_Pickup(benchmark::State& state) {
    const Scene& s = kScenes[state.range(0)];
    plat::ScriptedMessageBox quiet;   // a click far from everything answers with a message
    plat::RasterDC dc(plat::Bitmap::Create(kW, kH, 32), 96);
    clsMapPlot p;
    p.MapUnits = TheWorld().units;
    p.sethdc(&dc);
    p.setCanvasWidth(kW);
    p.setCanvasHeight(kH);
    p.setdpix(96);
    p.setdpiy(96);
    p.setCenterX(s.lon);
    p.setCenterY(s.lat);
    p.setMapScale(s.scale);
    p.Field();
    size_t rows = 0;
    for (auto _ : state) {
        frmPickupLogic list;
        list.MapUnits = TheWorld().units;
        list.MapPlot = &p;
        list.SearchX = s.x;
        list.SearchY = s.y;
        list.Search();
        for (const SearchInfoPtr& info : list.Candidates()) benchmark::DoNotOptimize(frmPickupLogic::RowText(*info));
        rows = list.Candidates().size();
    }
    state.counters["rows"] = double(rows);
    double figures = 0;
    for (const MapUnitPtr& u : *TheWorld().units) figures += u->Map().Count();
    state.counters["figures"] = figures;
}

} // namespace

BENCHMARK(BM_Pickup)->DenseRange(0, std::size(kScenes) - 1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunBenchmarks<QGuiApplication>(argc, argv); }
