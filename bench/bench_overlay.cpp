// The view overlay on a pointer move over a 1920 x 1080 view: the old band
// drawn again (erased), the new one drawn, and the changed part of the view
// painted with the marks over the map picture, also after a hundred moves
// since the map was last painted, and a pan then. Target: under 2 ms.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ViewOverlay.h"

namespace {

constexpr int kW = 1920, kH = 1080;

using Band = std::vector<plat::POINT>;

// The outline of a frame cut: a rectangle from (200, 150) to the corner,
// its sides in 24 pieces each, slightly bowed as in a conic view.
Band FrameCut(int cornerX, int cornerY) {
    Band b;
    const int x1 = 200, y1 = 150;
    auto side = [&](int ax, int ay, int bx, int by) {
        for (int i = 0; i < 24; ++i) {
            const double t = i / 24.0;
            const double bow = std::sin(t * 3.14159265358979) * 12;
            b.push_back({int(ax + (bx - ax) * t), int(ay + (by - ay) * t + (ay == by ? bow : 0))});
        }
    };
    side(x1, y1, cornerX, y1);
    side(cornerX, y1, cornerX, cornerY);
    side(cornerX, cornerY, x1, cornerY);
    side(x1, cornerY, x1, y1);
    b.push_back(b.front());
    return b;
}

// A survey leg: a great circle's arc with a point every degree.
Band SurveyLeg(int endX, int endY) {
    Band b;
    const int x0 = 120, y0 = 800;
    for (int i = 0; i <= 120; ++i) {
        const double t = i / 120.0;
        b.push_back({int(x0 + (endX - x0) * t), int(y0 + (endY - y0) * t - std::sin(t * 3.14159265358979) * 300)});
    }
    return b;
}

// A map picture of noise, the window it is painted on and the overlay with
// the band pen.
struct Scene {
    QImage map{kW, kH, QImage::Format_RGB32};
    QImage window{kW, kH, QImage::Format_RGB32};
    QPainter painter{&window};
    plat::ViewOverlay overlay{kW, kH};
    plat::DeviceContext* dc = overlay.dc();
    Scene() {
        for (int r = 0; r < kH; ++r) {
            auto* row = reinterpret_cast<uint32_t*>(map.scanLine(r));
            for (int c = 0; c < kW; ++c) row[c] = 0xFF000000u | uint32_t(c * 7 + r * 13) * 2654435761u >> 8;
        }
        dc->SetROP2(plat::R2_XORPEN);
        dc->SelectPen(plat::CreatePen(plat::PS_SOLID, 2, 0x00FF00));
    }
};

void Move(benchmark::State& state, Band (*make)(int, int), int x, int y) {
    Scene s;
    auto& [map, window, painter, overlay, dc] = s;
    Band old = make(x, y);
    dc->Polyline(old.data(), int(old.size()));
    overlay.Paint(painter, map, overlay.TakeDirty());
    int step = 0;
    for (auto _ : state) {
        const int d = (step++ % 2) ? 3 : -3;   // the pointer jitters back and forth
        Band now = make(x + d, y + d);
        dc->Polyline(old.data(), int(old.size()));
        dc->Polyline(now.data(), int(now.size()));
        overlay.Paint(painter, map, overlay.TakeDirty());
        old.swap(now);
    }
    benchmark::DoNotOptimize(window.constBits());
    state.counters["points"] = double(old.size());
}

void BM_OverlayMove_FrameCut(benchmark::State& state) { Move(state, FrameCut, 1700, 900); }
void BM_OverlayMove_SurveyLeg(benchmark::State& state) { Move(state, SurveyLeg, 1800, 300); }

// The repaint after a plot: every mark cleared and the whole view painted.
void BM_OverlayClearAndFullPaint(benchmark::State& state) {
    Scene s;
    auto& [map, window, painter, overlay, dc] = s;
    const Band band = FrameCut(1700, 900);
    for (auto _ : state) {
        dc->Polyline(band.data(), int(band.size()));
        overlay.Clear();
        overlay.Paint(painter, map, overlay.TakeDirty() + QRect(0, 0, kW, kH));
    }
}

// The pointer walking across the view, 100 moves between repaints of the
// map (a repaint clears the marks; it is not timed): each move erases the
// band at the last position and draws it at the next.
void Walk(benchmark::State& state, Band (*make)(int, int)) {
    constexpr int kMoves = 100;
    Scene s;
    auto& [map, window, painter, overlay, dc] = s;
    auto at = [](int k) { return QPoint(700 + k * 11, 400 + k * 6); };
    Band old = make(at(0).x(), at(0).y());
    dc->Polyline(old.data(), int(old.size()));
    int step = 0, rects = 0;
    for (auto _ : state) {
        if (++step == kMoves) {
            state.PauseTiming();
            rects = std::max(rects, int(overlay.Inked().rectCount()));
            overlay.Clear();
            overlay.Paint(painter, map, overlay.TakeDirty());
            step = 0;
            state.ResumeTiming();
        }
        Band now = make(at(step).x(), at(step).y());
        dc->Polyline(old.data(), int(old.size()));
        dc->Polyline(now.data(), int(now.size()));
        overlay.Paint(painter, map, overlay.TakeDirty());
        old.swap(now);
    }
    benchmark::DoNotOptimize(window.constBits());
    state.counters["marked rects"] = rects;
}

void BM_OverlayWalk_FrameCut(benchmark::State& state) { Walk(state, FrameCut); }
void BM_OverlayWalk_SurveyLeg(benchmark::State& state) { Walk(state, SurveyLeg); }

// A pan while a band is up: the whole view painted, after 100 moves of the
// band since the map was last painted.
void BM_OverlayPanAfterWalk(benchmark::State& state) {
    Scene s;
    auto& [map, window, painter, overlay, dc] = s;
    Band old = FrameCut(700, 400);
    dc->Polyline(old.data(), int(old.size()));
    for (int k = 1; k < 100; ++k) {
        Band now = FrameCut(700 + k * 11, 400 + k * 6);
        dc->Polyline(old.data(), int(old.size()));
        dc->Polyline(now.data(), int(now.size()));
        overlay.TakeDirty();
        old.swap(now);
    }
    int pan = 0;
    for (auto _ : state) overlay.Paint(painter, map, QRect(0, 0, kW, kH), QPoint(++pan % 7, 0));
    state.counters["marked rects"] = double(overlay.Inked().rectCount());
}

BENCHMARK(BM_OverlayMove_FrameCut)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OverlayWalk_FrameCut)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OverlayWalk_SurveyLeg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OverlayPanAfterWalk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OverlayMove_SurveyLeg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OverlayClearAndFullPaint)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
