// The polyline dialog on long lines: opening it (the node grid filled, the
// window shown and painted once) and pressing OK without edits (the nodes
// read back, brought round the date line, checked and returned). Target for
// 100 000 nodes: under 300 ms each.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>

#include <memory>
#include <random>

#include "BenchMain.h"
#include "basAngle.h"
#include "FlexGrid.h"
#include "clsMapPolyline.h"
#include "frmFigPoly.h"

namespace {

// A coastline-like random walk in arc-seconds across East Asia.
MapFigurePtr Coast(int n) {
    auto line = std::make_shared<clsMapPolyline>();
    line->setAdmin(0);
    line->setThing(0);
    auto poly = std::make_shared<clsPoly>();
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> step(-50, 50);
    int32_t x = 100 * 3600, y = 20 * 3600;
    for (int i = 0; i < n; ++i) {
        poly->AddXandY(x, y);
        x += step(rng);
        y += step(rng) / 2;
    }
    line->setPoly(poly);
    return line;
}

struct Dialog {
    FigureDialogVars vars;
    std::unique_ptr<frmFigPoly> dlg;
    explicit Dialog(const MapFigurePtr& figure) {
        vars.Figure = figure;
        vars.MapUnit = std::make_shared<clsMapUnit>();
        vars.MapUnit->setUnitName(QStringLiteral("/maps/COAST.MLL"));
        vars.ActiveNode = 1;
    }
    void open() {
        dlg = std::make_unique<frmFigPoly>(vars);
        dlg->show();
        QApplication::processEvents();
    }
};

void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t n : {1000, 10000, 100000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void BM_OpenDialog(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const MapFigurePtr line = Coast(n);
    for (auto _ : state) {
        Dialog d(line);
        d.open();
        benchmark::DoNotOptimize(d.dlg->flgPoly->Rows());
        state.PauseTiming();
        d.dlg.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_OpenDialog)->Apply(Sizes);

void BM_PressOK(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const MapFigurePtr line = Coast(n);
    for (auto _ : state) {
        state.PauseTiming();
        Dialog d(line);
        d.open();
        state.ResumeTiming();
        d.dlg->cmdOK->click();
        if (!d.vars.OK || d.vars.Results->front()->Poly()->Count() != n) {
            state.SkipWithError("OK did not return the line");
            break;
        }
        state.PauseTiming();
        d.dlg.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PressOK)->Apply(Sizes);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, [] {
        SetAngleUnit(1);
    });
}
