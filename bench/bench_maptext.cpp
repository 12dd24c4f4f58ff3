// The figure list's text exchange file and sort: the whole world map (every
// figure of WORLD_A5) written as a text file and read back into an empty
// unit, a file of lines that are no figures, and an ascending sort by thing name of 100 000 rows (copies made,
// rows replaced, one insertion). The sort is O(n log n): compare 10 000 and
// 100 000 rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <random>

#include "BenchMain.h"
#include "MapUnitIo.h"
#include "MessageBox.h"
#include "TextFile.h"
#include "basAngle.h"
#include "basHMap.h"
#include "basHMapCoord.h"
#include "clsMapSymbol.h"
#include "clsMapText.h"
#include "clsMapUnits.h"
#include "clsThing.h"
#include "frmMapList.h"

namespace {

QString WorldMap() { return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/maps/WORLD_A5.MLL"); }

std::unique_ptr<clsMapUnits> UnitsOf(const MapUnitPtr& unit) {
    SetMapUnitDialogs([](clsMapUnit&) { return true; }, {});
    auto units = std::make_unique<clsMapUnits>();
    units->Add(unit);
    units->setIndex(units->Count());
    SetMapUnitDialogs({}, {});
    return units;
}

void Open(frmMapList& w, clsMapUnits& units) {
    w.logic().MapUnits = &units;
    w.loadList();
    w.show();
    while (w.logic().UnitIndex == 0) QApplication::processEvents();
}

struct World {
    QTemporaryDir dir;
    std::unique_ptr<clsMapUnits> units;
    QString csv;
    World() {
        SetMapModeSource([] { return 1; });
        SetAngleUnit(1);
        SetAngleSymbol(2);
        SetAngleDirStyle(3);
        auto unit = std::make_shared<clsMapUnit>();
        unit->setUnitName(WorldMap());
        if (!unit->Load()) std::abort();
        units = UnitsOf(unit);
        csv = dir.path() + QStringLiteral("/WORLD.CSV");
    }
};

World& TheWorld() {
    static World w;
    return w;
}

void BM_ExportWorldMap(benchmark::State& state) {
    World& world = TheWorld();
    frmMapList w;
    Open(w, *world.units);
    w.logic().SelectAll();
    for (auto _ : state)
        if (!w.logic().WriteTextFile(world.csv)) state.SkipWithError("write failed");
    state.counters["figures"] = w.logic().RowCount();
    w.closeCancel();
}
BENCHMARK(BM_ExportWorldMap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ImportWorldMap(benchmark::State& state) {
    World& world = TheWorld();
    {
        frmMapList w;
        Open(w, *world.units);
        w.logic().SelectAll();
        w.logic().WriteTextFile(world.csv);
        w.closeCancel();
    }
    int32_t figures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const MapUnitPtr source = world.units->Active();
        auto unit = std::make_shared<clsMapUnit>();
        unit->setUnitName(QStringLiteral("/bench/EMPTY.MLL"));
        unit->setThings(source->Things().Copy());
        unit->setAdmins(source->Admins().Copy());
        unit->Map().Add(NewMapRem(QStringLiteral("start")));
        auto units = UnitsOf(unit);
        frmMapList w;
        Open(w, *units);
        w.logic().JumpRow(1);
        state.ResumeTiming();
        w.logic().ReadTextFile(world.csv);
        state.PauseTiming();
        figures = unit->Map().Count() - 1;
        w.closeCancel();
        state.ResumeTiming();
    }
    state.counters["figures"] = figures;
}
BENCHMARK(BM_ImportWorldMap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A text file of lines that give no figure (plain text, points after no
// polyline, fields of another table, coordinates that are no angle), some
// megabytes of it, inserted into the world map's unit: it must read as fast
// as good lines, in well under a second per megabyte. The figure list's
// one report of the skipped lines is answered.
void BM_ImportBadLines(benchmark::State& state) {
    World& world = TheWorld();
    const qsizetype bytes = state.range(0) << 20;
    const char* kinds[] = {"this line is no figure at all\r\n", ",,,,,,,135abc,35xyz\r\n",
                           "name,area,population,1.2.3,N 35,E 135 30 15 20,,seven,nine\r\n",
                           "\"quoted, field\",1,2,3,4,5,6,東経,北緯\r\n"};
    QByteArray block;
    for (int i = 0; i < 400; ++i) block += plat::EncodeCp932(QString::fromUtf8(kinds[i % 4]));
    QByteArray file;
    while (file.size() < bytes) file += block;
    const QString path = world.dir.path() + QStringLiteral("/BAD.CSV");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size()) std::abort();
    out.close();
    frmMapList w;
    Open(w, *world.units);
    const int32_t rows = w.logic().RowCount();
    for (auto _ : state) {
        plat::ScriptedMessageBox boxes;
        boxes.expect(QStringLiteral("の読めない行"), plat::IdOk);
        if (!w.logic().ReadTextFile(path)) state.SkipWithError("read failed");
        if (w.logic().RowCount() != rows || boxes.pending() != 0) state.SkipWithError("a figure or no report");
    }
    state.counters["MB"] = static_cast<double>(state.range(0));
    state.counters["s/MB"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    w.closeCancel();
}
BENCHMARK(BM_ImportBadLines)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// n symbols under 40 thing names, every tenth figure a remark.
std::unique_ptr<clsMapUnits> SortUnits(int n) {
    auto unit = std::make_shared<clsMapUnit>();
    unit->setUnitName(QStringLiteral("/bench/SORT.MLL"));
    for (int k = 0; k < 40; ++k) {
        auto t = std::make_shared<clsThing>();
        t->setIndex(k);
        t->setName(QStringLiteral("事象%1").arg(k * 7919 % 40));
        unit->Things().Add(t);
    }
    std::mt19937 rng(3);
    std::uniform_int_distribution<int32_t> thing(0, 39), pos(-600000, 600000);
    auto& figures = unit->Map().MapCollection();
    for (int i = 0; i < n; ++i) {
        if (i % 10 == 0) {
            figures.push_back(NewMapRem(QStringLiteral("section %1").arg(i)));
            continue;
        }
        auto s = std::make_shared<clsMapSymbol>();
        s->setThing(thing(rng));
        s->setAdmin(0);
        s->setPosition({pos(rng), pos(rng) / 2});
        figures.push_back(s);
    }
    return UnitsOf(unit);
}

void BM_SortRows(benchmark::State& state) {
    auto units = SortUnits(static_cast<int>(state.range(0)));
    frmMapList w;
    Open(w, *units);
    frmMapListLogic& list = w.logic();
    int direction = 1;
    for (auto _ : state) {
        list.SelectAll();
        if (!list.SortMap(direction, 1)) state.SkipWithError("sort failed");
        state.PauseTiming();
        list.MapUnit->Garbage().MapCollection().clear();
        direction = 3 - direction;
        state.ResumeTiming();
    }
    state.counters["rows"] = list.RowCount();
    w.closeCancel();
}
BENCHMARK(BM_SortRows)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) { return RunBenchmarks<QApplication>(argc, argv); }
