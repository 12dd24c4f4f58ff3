// The figure list on a map of 100 000 figures (polylines and polygons of 20
// points, symbols and texts): opening the window (load, first activation,
// first screenful drawn), scrolling to a row with a repaint, and what the
// open list holds on the heap. For comparison, making every row's text
// once, which a list that stored its texts would do on opening. Targets:
// open under 500 ms, a scroll with its repaint well under a frame (16 ms).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <malloc.h>

#include <memory>
#include <random>

#include "BenchMain.h"
#include "MapUnitIo.h"
#include "clsAdmin.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapSymbol.h"
#include "clsMapText.h"
#include "clsMapUnits.h"
#include "clsThing.h"
#include "frmMapList.h"

namespace {

MapFigurePtr Figure(int i, std::mt19937& rng) {
    std::uniform_int_distribution<int32_t> lon(-640000, 640000), lat(-320000, 320000), step(-3000, 3000);
    const int32_t x = lon(rng), y = lat(rng);
    MapFigurePtr f;
    switch (i % 4) {
    case 0:
    case 1: {
        f = i % 4 == 0 ? MapFigurePtr(std::make_shared<clsMapPolyline>()) : MapFigurePtr(std::make_shared<clsMapPolygon>());
        auto p = std::make_shared<clsPoly>();
        for (int k = 0; k < 19; ++k) p->AddXandY(x + step(rng), y + step(rng));
        p->AddXandY(p->x(1), p->y(1));
        f->setPoly(p);
        break;
    }
    case 2: {
        auto s = std::make_shared<clsMapSymbol>();
        s->setPosition({x, y});
        f = s;
        break;
    }
    default: {
        auto t = std::make_shared<clsMapText>();
        t->setPosition({x, y});
        t->setTextUnicode(1, QStringLiteral("Place %1").arg(i));
        t->setTextUnicode(2, QStringLiteral("地名%1").arg(i));
        f = t;
        break;
    }
    }
    f->setThing(i % 40);
    f->setAdmin(i % 200);
    if (i % 97 == 0) f->setOwnColor(0x3060C0);
    return f;
}

// The base unit and a unit of n figures (active), built once.
clsMapUnits& Units(int n) {
    static std::unique_ptr<clsMapUnits> units;
    if (units) return *units;
    SetMapUnitDialogs([](clsMapUnit&) { return true; }, {});
    auto unit = std::make_shared<clsMapUnit>();
    unit->setUnitName(QStringLiteral("/bench/BIG.MLL"));
    for (int k = 0; k < 40; ++k) {
        auto t = std::make_shared<clsThing>();
        t->setIndex(k);
        t->setName(QStringLiteral("事象%1").arg(k));
        unit->Things().Add(t);
    }
    for (int k = 0; k < 200; ++k) {
        auto a = std::make_shared<clsAdmin>();
        a->setAdminCode(k);
        a->setJapaneseName(QStringLiteral("行政区%1").arg(k));
        unit->Admins().Add(a);
    }
    std::mt19937 rng(11);
    auto& figures = unit->Map().MapCollection();
    figures.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) figures.push_back(Figure(i, rng));
    units = std::make_unique<clsMapUnits>();
    units->Add(unit);
    SetMapUnitDialogs({}, {});
    return *units;
}

// Opens the list as the main window does, up to the first screenful drawn.
void Open(frmMapList& w, clsMapUnits& units) {
    w.logic().MapUnits = &units;
    w.logic().StartUnit = 0;
    w.logic().StartRow = 0;
    w.loadList();
    w.show();
    while (w.logic().UnitIndex == 0) QApplication::processEvents();
    w.flgList->viewport()->repaint();
}

void BM_OpenList(benchmark::State& state) {
    clsMapUnits& units = Units(static_cast<int>(state.range(0)));
    frmMapList w;
    for (auto _ : state) {
        Open(w, units);
        state.PauseTiming();
        w.closeCancel();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(units.Active()->Map().Count());
}
BENCHMARK(BM_OpenList)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScrollAndRepaint(benchmark::State& state) {
    clsMapUnits& units = Units(static_cast<int>(state.range(0)));
    frmMapList w;
    Open(w, units);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> pick(1, units.Active()->Map().Count());
    for (auto _ : state) {
        w.logic().JumpRow(pick(rng));
        w.flgList->viewport()->repaint();
    }
    w.closeCancel();
}
BENCHMARK(BM_ScrollAndRepaint)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime();

constexpr int32_t kEditRows = 10000;

// Rows 45 001 .. 55 000 deleted with the Edit menu's Delete; the paste that
// puts them back is not timed.
void BM_Delete10k(benchmark::State& state) {
    clsMapUnits& units = Units(static_cast<int>(state.range(0)));
    frmMapList w;
    Open(w, units);
    frmMapListLogic& list = w.logic();
    const int32_t first = 45001;
    for (auto _ : state) {
        list.SetSelectRange(first, first + kEditRows - 1);
        list.Delete();
        state.PauseTiming();
        // What was deleted is in the trash: pasted back from there.
        list.SetSelectRange(first, first);
        list.MapUnit->Garbage().MapCollection().swap(list.ClipMap->MapCollection());
        list.Paste();
        list.ClipMap->MapCollection().clear();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(units.Active()->Map().Count());
    w.closeCancel();
}
BENCHMARK(BM_Delete10k)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// 10 000 copied rows pasted back before row 45 001 (fresh copies, one
// insertion); the deletion that takes them out again is not timed.
void BM_Paste10k(benchmark::State& state) {
    clsMapUnits& units = Units(static_cast<int>(state.range(0)));
    frmMapList w;
    Open(w, units);
    frmMapListLogic& list = w.logic();
    const int32_t first = 45001;
    list.SetSelectRange(first, first + kEditRows - 1);
    list.Copy();
    for (auto _ : state) {
        list.SetSelectRange(first, first);
        list.Paste();
        state.PauseTiming();
        list.SetSelectRange(first, first + kEditRows - 1);
        list.Delete();
        list.MapUnit->Garbage().MapCollection().clear();
        state.ResumeTiming();
    }
    w.closeCancel();
}
BENCHMARK(BM_Paste10k)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The heap the open list holds beyond the map: its grid, made rows and window.
void BM_OpenListMemory(benchmark::State& state) {
    clsMapUnits& units = Units(static_cast<int>(state.range(0)));
    double bytes = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        auto w = std::make_unique<frmMapList>();
        Open(*w, units);
        bytes = static_cast<double>(mallinfo2().uordblks - before);
        state.PauseTiming();
        w->closeCancel();
        w.reset();
        state.ResumeTiming();
    }
    state.counters["list_kib"] = bytes / 1024;
    state.counters["bytes_per_row"] = bytes / units.Active()->Map().Count();
}
BENCHMARK(BM_OpenListMemory)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every row's text made once: what opening would cost if the grid stored
// its texts.
void BM_AllRowTexts(benchmark::State& state) {
    clsMapUnits& units = Units(static_cast<int>(state.range(0)));
    const MapUnitPtr unit = units.Active();
    for (auto _ : state) {
        int64_t chars = 0;
        for (const MapFigurePtr& f : unit->Map()) chars += frmMapListRows::FigureToStrGrid(f.get(), unit.get()).size();
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_AllRowTexts)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) { return RunBenchmarks<QApplication>(argc, argv); }
