// The cost of one call into the maths library (sin, cos, atan2 with the
// conversions from integer coordinates and to pixels around them, as the
// projections make them) before Qt has started, and after it has started
// and filled an image the way the program does before every drawing. Qt's
// vector code can leave the wide registers' upper state in use; the
// program's long loops clear it at their entry (ClearUpperVectorState).
// Counters: ns per call, and x_before, the ratio to the cost before Qt
// (when that benchmark ran first in the same process). The cleared case
// should stay within 10% of the cost before Qt; the uncleared one shows the
// penalty this processor charges (none on some).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cmath>
#include <memory>

#include "VectorState.h"

namespace {

constexpr int kCalls = 3000;
double gBeforeNs = 0;

std::unique_ptr<QGuiApplication> gApp;

void StartQt() {
    if (gApp) return;
    static int argc = 1;
    static char name[] = "bench_vectorstate";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gApp = std::make_unique<QGuiApplication>(argc, argv);
}

enum Case { BeforeQt, QtCleared, QtUncleared };

void BM_MathCall(benchmark::State& state) {
    const auto which = static_cast<Case>(state.range(0));
    const char* labels[] = {"before_qt", "qt_cleared", "qt_uncleared"};
    state.SetLabel(labels[which]);
    std::unique_ptr<QImage> img;
    if (which != BeforeQt) {
        StartQt();
        img = std::make_unique<QImage>(256, 256, QImage::Format_RGB32);
    }
    double seconds = 0;
    int64_t sum = 0;
    for (auto _ : state) {
        if (img) img->fill(Qt::white);   // Qt's vector code, as at a drawing's start
        if (which == QtCleared) plat::ClearUpperVectorState();
        const auto start = std::chrono::steady_clock::now();
        // Integer arc-seconds in, rounded pixels out, as a view projection
        // turns a map point.
        for (int32_t i = 0; i < kCalls; ++i) {
            const double t = double(i * 37) * 4.848136811095355e-6;
            const double r = double(300000 - i) * 30.87;
            sum += std::lrint(std::sin(t) * r) + std::lrint(std::cos(t) * r) + std::lrint(std::atan2(r, t) * 1e4);
        }
        const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(t);
        seconds += t;
    }
    benchmark::DoNotOptimize(sum);
    const double ns = seconds * 1e9 / (double(state.iterations()) * kCalls * 3);
    state.counters["ns_call"] = ns;
    if (which == BeforeQt) gBeforeNs = ns;
    else if (gBeforeNs > 0) state.counters["x_before"] = ns / gBeforeNs;
}

} // namespace

// In this order: the first runs before Qt starts.
BENCHMARK(BM_MathCall)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinWarmUpTime(0.3)->MinTime(0.5);

BENCHMARK_MAIN();
