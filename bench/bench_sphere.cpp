// Measurement and polygon preparation on the sphere over large outlines:
// area (short edges, and long edges sampled along great circles), length,
// pole chopping and the whole date-line preparation. Each runs at n = 10^4 ..
// 10^6 points; "per_point" is the time per point, which stays about flat when
// the operation grows linearly.
#include <benchmark/benchmark.h>

#include "basGlobePolyLib.h"
#include "clsPoly.h"
#include "clsSurvey.h"

#include <cmath>
#include <random>

namespace {

void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t n : {10000, 100000, 1000000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

void PerPoint(benchmark::State& state) {
    state.counters["per_point"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

// A jagged coast once round the south pole between 60 and 75 S, its
// longitudes from -180 to 180 degrees and back to its start, as the world
// data has Antarctica.
clsPoly PolarCoast(int64_t n) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int32_t> wobble(-600, 600);
    clsPoly p;
    int32_t lat = -244800;
    for (int64_t k = 0; k < n - 1; ++k) {
        const int32_t x = static_cast<int32_t>(-648000 + k * 1296000 / (n - 1));
        lat = std::clamp(lat + wobble(rng), -270000, -216000);
        p.AddXandY(x, lat);
    }
    p.AddXandY(648000, p.y(1));
    p.AddXandY(p.x(1), p.y(1));
    return p;
}

// A sawtooth whose edges run 6 degrees north and south: every edge is
// sampled along its great circle by the area.
clsPoly Sawtooth(int64_t n) {
    clsPoly p;
    for (int64_t k = 0; k < n; ++k) p.AddXandY(static_cast<int32_t>(k % 1200000), k % 2 ? 21600 : 0);
    p.MakeLoop();
    return p;
}

void BM_PolyArea(benchmark::State& state) {
    const clsPoly p = PolarCoast(state.range(0));
    clsSurvey s;
    for (auto _ : state) benchmark::DoNotOptimize(s.PolyArea(p));
    PerPoint(state);
}
BENCHMARK(BM_PolyArea)->Apply(Sizes);

void BM_PolyArea_LongEdges(benchmark::State& state) {
    const clsPoly p = Sawtooth(state.range(0));
    clsSurvey s;
    for (auto _ : state) benchmark::DoNotOptimize(s.PolyArea(p));
    PerPoint(state);
}
BENCHMARK(BM_PolyArea_LongEdges)->Apply(Sizes);

void BM_PolyLength(benchmark::State& state) {
    const clsPoly p = PolarCoast(state.range(0));
    clsSurvey s;
    for (auto _ : state) benchmark::DoNotOptimize(s.PolyLength(p));
    PerPoint(state);
}
BENCHMARK(BM_PolyLength)->Apply(Sizes);

void BM_ChopPole(benchmark::State& state) {
    // Every edge lies beyond 66.5 degrees and is measured against the pole.
    clsPoly coast = PolarCoast(state.range(0));
    coast.Move(0, -30000);
    for (auto _ : state) {
        clsPoly p = coast;
        benchmark::DoNotOptimize(GlobePolyChopPole(p, 3600, false));
    }
    PerPoint(state);
}
BENCHMARK(BM_ChopPole)->Apply(Sizes);

void BM_GlobePolyRound(benchmark::State& state) {
    // Unwrap, close over the pole and cut at 100 W, both ends of the turn
    // round 80 E.
    const clsPoly coast = PolarCoast(state.range(0));
    for (auto _ : state) {
        clsPoly p = coast;
        benchmark::DoNotOptimize(GlobePolyRound(p, 288000, false, true));
    }
    PerPoint(state);
}
BENCHMARK(BM_GlobePolyRound)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
