// The wizard's projection run on the bundled start map (WORLD_T3 over the
// base land map, with the real ocean, graticule and frame layers), whole
// world at 1:30000000, in one projection of each family: 12
// equirectangular (cylindrical), 17 Mollweide (pseudo-cylindrical), 6
// azimuthal equidistant, 24 Albers (conic). Arg 1 draws every projected
// element on the monitor picture and refreshes it in a shown monitor view,
// as the run page does, so its repaints count too; arg 0 drops the
// elements, so the difference is the monitor's cost. The progress timer
// runs in both.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <filesystem>

#include "BenchMain.h"
#include "BenchData.h"
#include "AppInfo.h"
#include "AppState.h"
#include "MessageBox.h"
#include "PlotProjectionGlue.h"
#include "SettingsStore.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapUnits.h"
#include "clsProjector.h"
#include "frmPrjWizard.h"
#include "frmPrjWizardLogic.h"

namespace {

// The run's closing message needs an answer.
class AnswerOK : public plat::MessageBoxProvider {
public:
    int showMessage(const plat::MessageRequest&) override { return plat::IdOk; }
    bool showInput(const plat::InputRequest&, QString&) override { return false; }
};

struct World {
    QTemporaryDir settings;
    clsEnvironment env;
    clsMapGraph graph;
    clsMapUnits units;
    AnswerOK boxes;

    World() {
        UseBundledData(settings, env);
        gvMapGraph = &graph;
        InstallPlotProjectionGlue();
        plat::SetMessageBoxProvider(&boxes);
        units.Create(1);
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(gvMapFolder + QStringLiteral("/WORLD_T3.MLL"));
        world->Load();
        units.Add(world);
    }
};

World& TheWorld() {
    static World w;
    return w;
}

// Forwards to the real projection, with or without the monitor.
class Engine : public ProjectorRunEngine {
public:
    Engine(clsProjector& p, bool monitor, int64_t& cells) : ProjectorRunEngine(p), monitor_(monitor), cells_(cells) {}
    std::shared_ptr<clsMapUnits> ExeProjection(clsMapUnits& units, const CellHandler& add) override {
        return ProjectorRunEngine::ExeProjection(units, [&](clsMapCell& cell) {
            ++cells_;
            if (monitor_) add(cell);
        });
    }

private:
    bool monitor_;
    int64_t& cells_;
};

void BM_WizardRun(benchmark::State& state) {
    World& w = TheWorld();
    const auto index = static_cast<int16_t>(state.range(0));
    const bool monitor = state.range(1) != 0;
    int64_t cells = 0;
    clsProjector global;
    frmPrjWizardLogic logic;
    logic.MapUnitsLL = &w.units;
    logic.Projector = &global;
    logic.InitOption = 1;
    logic.RunEngineFactory = [&](clsProjector& p) { return std::make_unique<Engine>(p, monitor, cells); };
    logic.Load();
    logic.Forward();
    logic.Work.PrjIndex = index;
    logic.Work.MapScale = 30000000;
    PrjMonitorView view(logic.Monitor(), nullptr);
    if (monitor) {
        logic.Monitor().Changed = [&view] { view.update(); };
        view.show();
    }
    for (auto _ : state) {
        logic.Execute();
        if (!logic.ResultUnits) state.SkipWithError("the run did not complete");
    }
    state.counters["cells"] = double(cells) / double(state.iterations());
    logic.Monitor().Changed = nullptr;
}

} // namespace

BENCHMARK(BM_WizardRun)
    ->ArgsProduct({{12, 17, 6, 24}, {0, 1}})
    ->ArgNames({"prj", "monitor"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

int main(int argc, char** argv) { return RunBenchmarks<QApplication>(argc, argv); }
