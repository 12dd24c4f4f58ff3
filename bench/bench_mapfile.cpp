// Loading and saving a map file of about 50 MB (version 1.06: polygons,
// polylines, texts and a few remarks), against simply reading the file's
// bytes and writing them atomically; and the parts a load is made of.
// bytes_per_second is the file's size per second, items_per_second its
// figures per second.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BinaryIO.h"
#include "FileOps.h"
#include "basHMap.h"
#include "clsMap.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapRem.h"
#include "clsMapText.h"

#include <cmath>
#include <random>

namespace {

std::shared_ptr<clsPoly> outline(std::mt19937& rng, int n, bool closed) {
    std::uniform_real_distribution<double> turn(-0.3, 0.3);
    std::uniform_int_distribution<int32_t> start(-600000, 600000);
    auto p = std::make_shared<clsPoly>();
    double x = start(rng), y = start(rng) / 2, a = 0;
    const int m = closed ? n - 1 : n;
    for (int i = 0; i < m; ++i) {
        p->AddXandY(static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y)));
        a += turn(rng);
        x += 40 * std::cos(a);
        y += 40 * std::sin(a);
    }
    if (closed) p->MakeLoop();
    return p;
}

struct Sample {
    QTemporaryDir dir;
    QString path;
    int64_t bytes = 0;
    int64_t figures = 0;
    QByteArray content;

    Sample() {
        std::mt19937 rng(2024);
        std::uniform_int_distribution<int> size(20, 280);
        clsMap map;
        path = dir.path() + QStringLiteral("/BENCH.MLL");
        map.setFileName(path);
        map.setEiUndo(false);
        map.MakeHeader(143000, QStringLiteral("Bench"), QStringLiteral("ベンチ"));
        for (int i = 0; i < 1000; ++i) map.Add(NewMapRem(QStringLiteral("# 注釈 %1：地図の説明文 %1").arg(i)));
        for (int i = 0; i < 25000; ++i) {
            auto f = std::make_shared<clsMapPolygon>();
            f->setPoly(outline(rng, size(rng), true));
            f->setAdmin(i % 900);
            f->setThing(i % 40);
            map.Add(f);
        }
        for (int i = 0; i < 15000; ++i) {
            auto f = std::make_shared<clsMapPolyline>();
            f->setPoly(outline(rng, size(rng) * 4 / 5, false));
            f->setAdmin(i % 900);
            f->setThing(i % 40);
            map.Add(f);
        }
        for (int i = 0; i < 60000; ++i) {
            auto t = std::make_shared<clsMapText>();
            t->setPosition({i * 7, -i * 3});
            t->setTextUnicode(1, QStringLiteral("Place %1").arg(i));
            t->setTextUnicode(2, QStringLiteral("地名%1").arg(i));
            t->setAdmin(i % 900);
            t->setThing(i % 40);
            map.Add(t);
        }
        if (map.Save() != 0) std::abort();
        content = plat::ReadAllBytes(path);
        bytes = content.size();
        figures = map.Count();
    }
};

Sample& sample() {
    static Sample s;
    return s;
}

void Counters(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * sample().bytes);
    state.SetItemsProcessed(state.iterations() * sample().figures);
    state.counters["MB"] = static_cast<double>(sample().bytes) / 1e6;
}

void BM_RawRead(benchmark::State& state) {
    sample();   // made outside the timing
    for (auto _ : state) benchmark::DoNotOptimize(plat::ReadAllBytes(sample().path));
    Counters(state);
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Load(benchmark::State& state) {
    for (auto _ : state) {
        clsMap map;
        map.setFileName(sample().path);
        if (map.Load() != 0 || map.Count() != sample().figures) state.SkipWithError("load failed");
    }
    Counters(state);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime();

// Decoding alone, from bytes already in memory.
void BM_ReadFromMemory(benchmark::State& state) {
    for (auto _ : state) {
        clsMap map;
        map.ReadFrom(sample().content);
        benchmark::DoNotOptimize(map.Count());
    }
    Counters(state);
}
BENCHMARK(BM_ReadFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts of a load (a map's destruction is part of BM_Load and
// BM_ReadFromMemory too). A fresh buffer of the file's size, touched page by
// page (what a whole-file read pays before any copy).
void BM_PartFreshBuffer(benchmark::State& state) {
    for (auto _ : state) {
        QByteArray b(static_cast<qsizetype>(sample().bytes), Qt::Uninitialized);
        for (qsizetype i = 0; i < b.size(); i += 4096) b.data()[i] = 1;
        benchmark::DoNotOptimize(b.data());
    }
    Counters(state);
}
BENCHMARK(BM_PartFreshBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

// The kernel's copy alone: the file through one reused block, as a load
// reads it.
void BM_PartChunkedRead(benchmark::State& state) {
    std::vector<char> buf(1 << 18);
    for (auto _ : state) {
        plat::ReadOnlyFile f(sample().path);
        while (f.read(buf.data(), buf.size()) != 0) {}
        benchmark::DoNotOptimize(buf.data());
    }
    Counters(state);
}
BENCHMARK(BM_PartChunkedRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// Destroying a loaded map.
void BM_PartDestroy(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto map = std::make_unique<clsMap>();
        map->ReadFrom(sample().content);
        state.ResumeTiming();
        map.reset();
    }
    Counters(state);
}
BENCHMARK(BM_PartDestroy)->Unit(benchmark::kMillisecond)->UseRealTime();

// The scans after reading: the version a save would write and the first
// figure it cannot hold.
void BM_PartUnsavableScan(benchmark::State& state) {
    clsMap map;
    map.ReadFrom(sample().content);
    for (auto _ : state) benchmark::DoNotOptimize(map.FirstUnsavable(map.SaveVersion()));
    Counters(state);
}
BENCHMARK(BM_PartUnsavableScan)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawWriteAtomic(benchmark::State& state) {
    const QString out = sample().dir.path() + QStringLiteral("/RAW.MLL");
    for (auto _ : state) plat::WriteFileAtomic(out, sample().content);
    Counters(state);
}
BENCHMARK(BM_RawWriteAtomic)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Save(benchmark::State& state) {
    clsMap map;
    map.setFileName(sample().path);
    if (map.Load() != 0) state.SkipWithError("load failed");
    for (auto _ : state) {
        map.setModify(true);
        if (map.Save() != 0) state.SkipWithError("save failed");
    }
    Counters(state);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseRealTime();

// Encoding alone, into memory.
void BM_WriteToMemory(benchmark::State& state) {
    clsMap map;
    map.ReadFrom(sample().content);
    for (auto _ : state) {
        plat::BinaryWriter out;
        map.WriteTo(out, 106);
        benchmark::DoNotOptimize(out.size());
    }
    Counters(state);
}
BENCHMARK(BM_WriteToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

// A map of one polyline of 280 000 points saved as a 1.05 map, which first
// tries to bring the points below 65 536, against the same map as 1.06.
// Arguments: the version, then the points: 0 scattered over 2000 x 2000
// (cannot be reduced: written as 1.06 after all), 1 a walk of short steps
// (reduced to 65 535 and written as 1.05). The reduction should cost no
// more than the writing itself.
void BM_SaveLongPolyline(benchmark::State& state) {
    const auto version = static_cast<int16_t>(state.range(0));
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> scatter(0, 2000);
    std::uniform_real_distribution<double> stepTo(-60, 60);
    clsPoly points;
    double x = 0, y = 0;
    for (int i = 0; i < 280000; ++i) {
        if (state.range(1) == 0) {
            points.AddXandY(scatter(rng), scatter(rng));
        } else {
            x += stepTo(rng);
            y += stepTo(rng);
            points.AddXandY(static_cast<int32_t>(x), static_cast<int32_t>(y));
        }
    }
    QTemporaryDir dir;
    clsMap map;
    map.setFileName(dir.path() + QStringLiteral("/LONG.MLL"));
    map.setEiUndo(false);
    map.MakeHeader(143000, QStringLiteral("Long"), QStringLiteral("長い線"));
    auto line = std::make_shared<clsMapPolyline>();
    line->setPoly(std::make_shared<clsPoly>(points));
    line->setAdmin(1);
    line->setThing(1);
    if (!map.Add(line)) state.SkipWithError("no polyline");
    map.setVersion(version);
    for (auto _ : state) {
        state.PauseTiming();
        line->setPoly(std::make_shared<clsPoly>(points));   // the reduction works on the figure itself
        state.ResumeTiming();
        if (!map.Modify() || map.Save() != 0) state.SkipWithError("save failed");
    }
    state.counters["points"] = static_cast<double>(line->Poly()->Count());
}
BENCHMARK(BM_SaveLongPolyline)
    ->Args({106, 0})
    ->Args({105, 0})
    ->Args({106, 1})
    ->Args({105, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
