// The main projection's batch run on the bundled start map (WORLD_T3 over
// the base land map, with ocean tiles, graticule and frames), one projection
// of each family plus the gores (28) and the interrupted one (29), at
// 1:30000000 without a progress display. Counters: in_pts/s and out_pts/s
// (points read and written per second), figs/s (figures written).
// BM_Stages runs the same with the stage clocks on and gives per stage the
// nanoseconds per input point (clip, densify, rotate, cut, project,
// compress; the rest of a run is figure handling); the clocks themselves
// cost a few per cent.
//
// BM_Scaling runs the equirectangular projection over the start map with
// every edge split into 1, 4 and 16 parts: the time per input point shows
// whether the cost grows linearly. Lines of more than 5000 points skip the
// densifying and the simplification, so the larger sets do less work per
// point there.
//
// The runs happen in a process that has started Qt and filled an image, as
// the program has before any projection: Qt's vector code has run by then.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <filesystem>

#include "BenchMain.h"
#include "../projection/tests/FakeProjectorLayers.h"
#include "AppState.h"
#include "SettingsStore.h"
#include "clsMapUnits.h"
#include "clsProjector.h"

namespace {

struct World {
    QTemporaryDir settings;
    std::shared_ptr<clsMapUnits> units = std::make_shared<clsMapUnits>();
    std::shared_ptr<prjtest::FakeProjectorLayers> layers = std::make_shared<prjtest::FakeProjectorLayers>();

    World() {
        plat::SettingsStore::SetFolder(settings.path());
        const std::filesystem::path maps = std::filesystem::path(KAL_BENCH_DATA) / "maps";
        gvMapFolder = QString::fromStdString(maps.lexically_normal().string());
        units->Create(1);
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(gvMapFolder + QStringLiteral("/WORLD_T3.MLL"));
        world->Load();
        units->Add(world);
        SetProjectorLayers(layers);
    }
};

World& TheWorld() {
    static World w;
    return w;
}

int64_t PointsOf(const clsMapUnits& units) {
    int64_t n = 0;
    for (const MapUnitPtr& u : units)
        for (const MapFigurePtr& f : u->Map())
            if (f->FigCode() == 2 || f->FigCode() == 3) n += f->Poly()->Count();
            else if (f->FigCode() >= 4) ++n;
    return n;
}

int64_t FiguresOf(const clsMapUnits& units) {
    int64_t n = 0;
    for (const MapUnitPtr& u : units) n += u->Map().Count();
    return n;
}

// A copy of the set whose lines and rings have every edge split into k.
std::shared_ptr<clsMapUnits> Densified(const clsMapUnits& from, int k) {
    auto units = std::make_shared<clsMapUnits>();
    units->Create(1);
    for (int32_t i = 2; i <= from.Count(); ++i) {
        const clsMapUnit& src = *from.Item(i);
        auto u = std::make_shared<clsMapUnit>();
        u->setThings(src.Things().Copy());
        u->setAdmins(src.Admins().Copy());
        u->setUnitName(src.UnitName());
        u->Map().setEiUndo(false);
        for (const MapFigurePtr& f : src.Map()) {
            MapFigurePtr c = f->Copy();
            if (f->FigCode() == 2 || f->FigCode() == 3) {
                const clsPoly& p = *f->Poly();
                auto d = std::make_shared<clsPoly>();
                for (int32_t j = 1; j < p.Count(); ++j)
                    for (int s = 0; s < k; ++s)
                        d->AddXandY(p.x(j) + static_cast<int32_t>(int64_t{p.x(j + 1) - p.x(j)} * s / k),
                                    p.y(j) + static_cast<int32_t>(int64_t{p.y(j + 1) - p.y(j)} * s / k));
                d->AddPoint(p.GetPoint(p.Count()));
                c->setPoly(d);
            }
            u->Map().Add(c);
        }
        units->Add(u);
    }
    return units;
}

void Run(benchmark::State& state, clsMapUnits& units, int16_t index, int32_t centerLat, bool stages) {
    clsProjector p;
    p.setPrjIndex(index);
    p.setCenterLat(centerLat);
    p.setCone(216000);
    p.setMapScale(3e7);
    p.FieldWorld = true;
    PrjStageTimes times;
    if (stages) p.setStageTimes(&times);
    const int64_t in = PointsOf(units);
    int64_t out = 0, figures = 0;
    for (auto _ : state) {
        const std::shared_ptr<clsMapUnits> result = p.ExeProjection(units);
        state.PauseTiming();
        if (!result) state.SkipWithError("the run failed");
        else {
            out += PointsOf(*result);
            figures += FiguresOf(*result);
        }
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    const double perIn = runs * static_cast<double>(in);
    state.counters["in_pts/s"] = benchmark::Counter(perIn, benchmark::Counter::kIsRate);
    state.counters["out_pts/s"] = benchmark::Counter(static_cast<double>(out), benchmark::Counter::kIsRate);
    state.counters["figs/s"] = benchmark::Counter(static_cast<double>(figures), benchmark::Counter::kIsRate);
    state.counters["in_pts"] = static_cast<double>(in);
    if (!stages) return;
    state.counters["ns_clip"] = static_cast<double>(times.clipNs) / perIn;
    state.counters["ns_densify"] = static_cast<double>(times.densifyNs) / perIn;
    state.counters["ns_rotate"] = static_cast<double>(times.rotateNs) / perIn;
    state.counters["ns_cut"] = static_cast<double>(times.cutNs) / perIn;
    state.counters["ns_project"] = static_cast<double>(times.projectNs) / perIn;
    state.counters["ns_compress"] = static_cast<double>(times.compressNs) / perIn;
}

void World(benchmark::State& state, bool stages) {
    const auto index = static_cast<int16_t>(state.range(0));
    // The azimuthal and conic ones in their normal aspect over the north.
    const int32_t lat = index <= 7 ? 324000 : (index >= 21 && index <= 26 ? 108000 : 0);
    Run(state, *TheWorld().units, index, lat, stages);
}
void BM_WorldProjection(benchmark::State& state) { World(state, false); }
void BM_Stages(benchmark::State& state) { World(state, true); }
// 12 cylindrical, 6 azimuthal, 17 pseudo-cylindrical, 16 sinusoidal,
// 8 whole-globe azimuthal-based, 24 conic, 27 polyconic, 28 gores, 29 interrupted.
BENCHMARK(BM_WorldProjection)->Arg(12)->Arg(6)->Arg(17)->Arg(16)->Arg(8)->Arg(24)->Arg(27)->Arg(28)->Arg(29)
    ->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Stages)->Arg(12)->Arg(6)->Arg(29)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_Scaling(benchmark::State& state) {
    static std::map<int64_t, std::shared_ptr<clsMapUnits>> sets;
    std::shared_ptr<clsMapUnits>& set = sets[state.range(0)];
    if (!set) set = Densified(*TheWorld().units, static_cast<int>(state.range(0)));
    Run(state, *set, 12, 0, false);
    state.counters["ns/in_pt"] = benchmark::Counter(static_cast<double>(PointsOf(*set)),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_Scaling)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, [] {
        // Qt's vector code has run once, as in the program.
        QImage(640, 480, QImage::Format_RGB32).fill(Qt::white);
    });
}
