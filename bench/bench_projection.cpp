// Points per second of the 30 projections (items_per_second), over a million
// random points of the globe each:
// - Formula: LLtoXY alone, on points already in the projection frame.
// - Pipeline: AxisSec and LLtoXYsec with an oblique centre, arc-seconds in
//   and metres out, as the main projection runs every figure point.
#include <benchmark/benchmark.h>

#include "clsPrjPoint.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr size_t kPoints = 1000000;

struct Radians {
    std::vector<double> lon, lat;
};

struct Seconds {
    std::vector<int32_t> lon, lat;
};

// Uniform on the sphere, the same points for every projection.
const Radians& radianPoints() {
    static const Radians pts = [] {
        Radians r;
        std::mt19937_64 rng(12345);
        std::uniform_real_distribution<double> lon(-std::numbers::pi, std::numbers::pi), z(-1, 1);
        for (size_t i = 0; i < kPoints; ++i) {
            r.lon.push_back(lon(rng));
            r.lat.push_back(std::asin(z(rng)));
        }
        return r;
    }();
    return pts;
}

const Seconds& secondPoints() {
    static const Seconds pts = [] {
        Seconds s;
        const Radians& r = radianPoints();
        for (size_t i = 0; i < kPoints; ++i) {
            s.lon.push_back(static_cast<int32_t>(std::lround(r.lon[i] * 206264.80624709636)));
            s.lat.push_back(static_cast<int32_t>(std::lround(r.lat[i] * 206264.80624709636)));
        }
        return s;
    }();
    return pts;
}

clsPrjPoint projectionOf(int16_t index) {
    clsPrjPoint p;
    p.setPrjIndex(index);
    if (index >= 21 && index <= 25) p.setSecant(0.3);
    if (index == 12 || index == 15) p.setSecant(1.0);
    return p;
}

void BM_Formula(benchmark::State& state) {
    clsPrjPoint p = projectionOf(static_cast<int16_t>(state.range(0)));
    const Radians& pts = radianPoints();
    size_t inside = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < kPoints; ++i) {
            double x, y;
            bool ok;
            p.LLtoXY(pts.lon[i], pts.lat[i], x, y, ok);
            benchmark::DoNotOptimize(x);
            benchmark::DoNotOptimize(y);
            inside += ok;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPoints));
    state.counters["inside"] = static_cast<double>(inside) / static_cast<double>(state.iterations() * kPoints);
}
BENCHMARK(BM_Formula)->DenseRange(1, 30)->ArgName("index")->Unit(benchmark::kMillisecond);

void BM_Pipeline(benchmark::State& state) {
    clsPrjPoint p = projectionOf(static_cast<int16_t>(state.range(0)));
    p.setCenterLon(139.7 * std::numbers::pi / 180);
    p.setCenterLat(35.7 * std::numbers::pi / 180);
    const Seconds& pts = secondPoints();
    for (auto _ : state) {
        for (size_t i = 0; i < kPoints; ++i) {
            int32_t al, ap, x, y;
            bool ok;
            p.AxisSec(pts.lon[i], pts.lat[i], al, ap);
            p.LLtoXYsec(al, ap, x, y, ok);
            benchmark::DoNotOptimize(x);
            benchmark::DoNotOptimize(y);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPoints));
}
BENCHMARK(BM_Pipeline)->DenseRange(1, 30)->ArgName("index")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
