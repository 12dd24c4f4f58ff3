// Point sequences on large outlines: simplification, densification, repeated
// points, area, clipping and cutting. Each runs at n = 10^4 .. 4 x 10^6
// points; "per_point" is the time per point, which stays about flat when the
// operation grows linearly.
#include <benchmark/benchmark.h>

#include "BinaryIO.h"
#include "basPolyLib.h"
#include "clsPoly.h"

#include <cmath>
#include <random>

namespace {

void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t n : {10000, 40000, 100000, 400000, 1000000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

void PerPoint(benchmark::State& state) {
    state.counters["per_point"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

// A smooth wandering outline with jitter, like a digitised coast.
clsPoly Coast(int64_t n, bool closed) {
    std::mt19937 rng(42);
    std::normal_distribution<double> turn(0, 0.08);
    std::uniform_int_distribution<int> jitter(-1, 1);
    clsPoly p;
    double x = 0, y = 0, a = 0;
    for (int64_t i = 0; i < n - (closed ? 1 : 0); ++i) {
        p.AddXandY(static_cast<int32_t>(std::lround(x)) + jitter(rng), static_cast<int32_t>(std::lround(y)));
        a += turn(rng);
        x += 20 * std::cos(a);
        y += 20 * std::sin(a);
    }
    if (closed) p.MakeLoop();
    return p;
}

// A comb ring whose teeth all cross the line x = 0.
clsPoly Comb(int64_t n) {
    clsPoly p;
    const int32_t teeth = static_cast<int32_t>((n - 3) / 4);
    for (int32_t k = 0; k < teeth; ++k) {
        p.AddXandY(-100, 10 * k);
        p.AddXandY(100, 10 * k);
        p.AddXandY(100, 10 * k + 5);
        p.AddXandY(-100, 10 * k + 5);
    }
    p.AddXandY(-200, 10 * teeth);
    p.AddXandY(-200, 0);
    p.MakeLoop();
    return p;
}

void BM_CompressB(benchmark::State& state) {
    const clsPoly src = Coast(state.range(0), false);
    for (auto _ : state) {
        state.PauseTiming();
        clsPoly p = src;
        state.ResumeTiming();
        p.CompressB(2.0, 1e9);
        benchmark::DoNotOptimize(p.Count());
    }
    PerPoint(state);
}
BENCHMARK(BM_CompressB)->Apply(Sizes);

// Every middle point goes: the most passes and deletions.
void BM_CompressB_Straight(benchmark::State& state) {
    clsPoly src;
    for (int64_t i = 0; i < state.range(0); ++i) src.AddXandY(static_cast<int32_t>(3 * i), static_cast<int32_t>(4 * i));
    for (auto _ : state) {
        state.PauseTiming();
        clsPoly p = src;
        state.ResumeTiming();
        p.CompressB(0.5, 1e12);
        benchmark::DoNotOptimize(p.Count());
    }
    PerPoint(state);
}
BENCHMARK(BM_CompressB_Straight)->Apply(Sizes);

void BM_DelOverlap(benchmark::State& state) {
    clsPoly src;
    for (int64_t i = 0; i < state.range(0); ++i) src.AddXandY(static_cast<int32_t>(i / 2), 0);   // every point twice
    for (auto _ : state) {
        state.PauseTiming();
        clsPoly p = src;
        state.ResumeTiming();
        benchmark::DoNotOptimize(p.DelOverlap());
    }
    PerPoint(state);
}
BENCHMARK(BM_DelOverlap)->Apply(Sizes);

void BM_Chop(benchmark::State& state) {
    const clsPoly src = Coast(state.range(0), false);   // segments of 20: one point inserted in each
    for (auto _ : state) {
        state.PauseTiming();
        clsPoly p = src;
        state.ResumeTiming();
        benchmark::DoNotOptimize(p.Chop(12, 3));
    }
    PerPoint(state);
}
BENCHMARK(BM_Chop)->Apply(Sizes);

void BM_Area(benchmark::State& state) {
    const clsPoly p = Coast(state.range(0), true);
    for (auto _ : state) benchmark::DoNotOptimize(p.Area());
    PerPoint(state);
}
BENCHMARK(BM_Area)->Apply(Sizes);

void BM_Clip(benchmark::State& state) {
    const clsPoly src = Coast(state.range(0), true);
    const clsRect b = src.RectBound();
    const clsRect half(b.x1 + (b.x2 - b.x1) / 4, b.y1 + (b.y2 - b.y1) / 4, b.x2 - (b.x2 - b.x1) / 4, b.y2);
    for (auto _ : state) {
        state.PauseTiming();
        clsPoly p = src;
        state.ResumeTiming();
        benchmark::DoNotOptimize(p.Clip(half));
    }
    PerPoint(state);
}
BENCHMARK(BM_Clip)->Apply(Sizes);

// Wholly inside with a valid bounds cache: no work per point at all.
void BM_ClipInside(benchmark::State& state) {
    clsPoly p = Coast(state.range(0), true);
    clsRect b = p.RectBound();
    b.Extention(10);
    for (auto _ : state) benchmark::DoNotOptimize(p.Clip(b));
    state.counters["per_call"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}
BENCHMARK(BM_ClipInside)->Apply(Sizes);

void BM_Clips(benchmark::State& state) {
    const clsPoly p = Coast(state.range(0), false);
    const clsRect b = p.RectBound();
    const clsRect half(b.x1 + (b.x2 - b.x1) / 4, b.y1 + (b.y2 - b.y1) / 4, b.x2 - (b.x2 - b.x1) / 4, b.y2);
    for (auto _ : state) benchmark::DoNotOptimize(p.Clips(half).size());
    PerPoint(state);
}
BENCHMARK(BM_Clips)->Apply(Sizes);

void BM_CutPolygon(benchmark::State& state) {
    const clsPoly p = Comb(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(PolyLibCutPolygonX(p, 0).size());
    PerPoint(state);
}
BENCHMARK(BM_CutPolygon)->Apply(Sizes);

// A coast crossing the line now and then: the walk itself dominates.
void BM_CutPolygonCoast(benchmark::State& state) {
    const clsPoly p = Coast(state.range(0), true);
    const clsRect b = p.RectBound();
    for (auto _ : state) benchmark::DoNotOptimize(PolyLibCutPolygonX(p, b.CenterX()).size());
    PerPoint(state);
}
BENCHMARK(BM_CutPolygonCoast)->Apply(Sizes);

void BM_SaveLoad(benchmark::State& state) {
    clsPoly p = Coast(state.range(0), false);
    for (auto _ : state) {
        plat::BinaryWriter w;
        p.Save(w, true);
        plat::BinaryReader r(w.buffer());
        clsPoly q;
        q.Load(r, true);
        benchmark::DoNotOptimize(q.Count());
    }
    PerPoint(state);
}
BENCHMARK(BM_SaveLoad)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
