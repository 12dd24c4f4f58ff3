// Dragging a node of a 50 000-point polygon in the drawing window on a
// 1920 x 1080 view: per pointer move, the rubber band erased and drawn
// again and the changed part of the view painted with the marks over the
// picture. Target: under 2 ms per move, and no replot (nor any repaint of
// the node list) until the drag ends. For comparison: the full repaint of
// the view with every node mark, done once when the node is dropped.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>

#include "BenchMain.h"
#include "frmDrawLogic.h"

namespace {

constexpr int kW = 1920, kH = 1080;
constexpr int32_t kNodes = 50000;

// One view pixel is 100 map units, the view's middle is map (0, 0), y up.
class LinearView : public DrawMapView {
public:
    int plots = 0;
    int pictures = 0;
    int32_t MapMode() const override { return 2; }
    QSize ViewSize() const override { return {kW, kH}; }
    QImage Picture() override {
        ++pictures;
        QImage img(kW, kH, QImage::Format_RGB32);
        for (int r = 0; r < kH; ++r) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(r));
            for (int c = 0; c < kW; ++c) row[c] = 0xFF000000u | uint32_t(c * 7 + r * 13) * 2654435761u >> 8;
        }
        return img;
    }
    bool MapToView(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) const override {
        MapToViewNear(mx, my, vx, vy);
        return vx >= 0 && vx < kW && vy >= 0 && vy < kH;
    }
    bool MapToViewNear(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) const override {
        vx = kW / 2 + int32_t(std::lround(mx / 100.0));
        vy = kH / 2 - int32_t(std::lround(my / 100.0));
        return true;
    }
    bool ViewToMap(int32_t vx, int32_t vy, int32_t& mx, int32_t& my) const override {
        mx = (vx - kW / 2) * 100;
        my = (kH / 2 - vy) * 100;
        return vx >= 0 && vx < kW && vy >= 0 && vy < kH;
    }
    std::optional<PolyPoint> NearestElement(int32_t, int32_t) override { return std::nullopt; }
    int32_t CenterX() const override { return 0; }
    int32_t CenterY() const override { return 0; }
    double MapScale() const override { return 1e6; }
    void SetView(int32_t, int32_t, double) override {}
    bool OnCanvas(int32_t mx, int32_t my) const override {
        int32_t x = 0, y = 0;
        return MapToView(mx, my, x, y);
    }
    void PlotWindow() override { ++plots; }
};

// A wavy closed ring over most of the view, every node on it.
clsPoly Ring() {
    clsPoly p;
    for (int32_t i = 0; i < kNodes - 1; ++i) {
        const double t = 2 * M_PI * i / (kNodes - 1);
        const double r = 1.0 + 0.08 * std::sin(t * 60);
        p.AddXandY(int32_t(std::cos(t) * 90000 * r), int32_t(std::sin(t) * 50000 * r));
    }
    p.MakeLoop();
    return p;
}

struct Scene {
    LinearView view;
    frmDrawLogic logic;
    QImage window{kW, kH, QImage::Format_RGB32};
    QPoint grabbed;
    Scene() {
        logic.Mode = frmDrawLogic::ModePoly;
        logic.Poly = Ring();
        logic.ActIndex = 1;
        logic.GridStepXY = 1000;
        logic.Load(view);
        logic.Paint();
        int32_t x = 0, y = 0;
        view.MapToView(logic.Poly.x(1), logic.Poly.y(1), x, y);
        grabbed = {x, y};
        QPainter p(&window);
        logic.Overlay().Paint(p, logic.Picture(), logic.TakeDirty());
    }
};

void BM_DragNodeMove(benchmark::State& state) {
    Scene s;
    QPainter painter(&s.window);
    s.logic.MouseDown(1, s.grabbed.x(), s.grabbed.y());
    int step = 0;
    for (auto _ : state) {
        // The pointer wanders up and to the left and back.
        const int d = 40 + (step++ % 64) * 5;
        s.logic.MouseMove(1, s.grabbed.x() - d, s.grabbed.y() - d / 2);
        s.logic.Overlay().Paint(painter, s.logic.Picture(), s.logic.TakeDirty());
    }
    benchmark::DoNotOptimize(s.window.constBits());
    state.counters["nodes"] = kNodes;
    // Both stay at what the opening took: one picture, no replot.
    state.counters["pictures"] = s.view.pictures;
    state.counters["replots"] = s.view.plots;
    s.logic.MouseUp(1, s.grabbed.x() - 40, s.grabbed.y() - 20);
}

// The drop: the node placed and the whole view repainted with every mark.
void BM_DropAndRepaint(benchmark::State& state) {
    Scene s;
    QPainter painter(&s.window);
    int step = 0;
    for (auto _ : state) {
        const int d = (step++ % 2) ? 3 : -3;
        s.logic.SetPos(1, s.logic.Poly.x(1) + d * 100, s.logic.Poly.y(1));
        s.logic.Overlay().Paint(painter, s.logic.Picture(), s.logic.TakeDirty());
    }
    state.counters["nodes"] = kNodes;
}

BENCHMARK(BM_DragNodeMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DropAndRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return RunBenchmarks<QGuiApplication>(argc, argv); }
