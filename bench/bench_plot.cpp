// Replot of the bundled start map (the world at 1:50m over the base land
// map, with background, ocean, graticule, labels and names) on a 1920 x 1080
// raster canvas: the whole world, the engine's default view, and Europe and
// Japan at 4, 16 and 64 times the world's scale. Counters: ms per plot, the
// ms of each phase (clear, ocean, polygons, graticule, labels, lines,
// symbols, texts, azimuth), the figures drawn per plot, and ms_direct and
// x_direct: the direct drawing below, timed in the same iterations as the
// plot, and the plot's time over it (the engine should stay within 1.5);
// ms_event_wait, the longest that events waited during a plot (at most 50).
//
// BM_Device draws the same rings and lines, already in canvas pixels (as
// the engine handed them to the device context in one plot), through the
// device context alone, and BM_Direct the rings, lines and texts (each
// shaped once per plot, its glyphs drawn for every halo copy) straight with
// QPainter without antialiasing, as the
// device context draws: what is left once the engine's own work is taken
// away, and the floor of what any plot of that view can cost. A zoomed view
// should cost what it shows, not what is loaded.
//
// The process starts Qt as the program does, and each plot begins with a
// fill of the canvas through Qt's vector code.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QGlyphRun>
#include <QTextLayout>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <filesystem>

#include "BenchMain.h"
#include "BenchWorld.h"
#include "AppInfo.h"
#include "Fonts.h"
#include "VectorState.h"
#include "AppState.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "SettingsStore.h"
#include "basGlobe.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnits.h"

namespace {

constexpr int kW = 1920, kH = 1080;
constexpr int32_t kDeg = 3600;
constexpr double kWorldScale = 8e7;

struct Scene {
    const char* name;
    int32_t lon, lat;
    double zoom;   // times the world's scale; 0 for the engine's default view
};

const Scene kScenes[] = {
    {"world", 0, 0, 1},           {"default", 0, 0, 0},        {"europe_x4", 15 * kDeg, 50 * kDeg, 4},
    {"europe_x16", 15 * kDeg, 50 * kDeg, 16}, {"europe_x64", 15 * kDeg, 50 * kDeg, 64},
    {"japan_x4", 138 * kDeg, 36 * kDeg, 4},   {"japan_x16", 138 * kDeg, 36 * kDeg, 16},
    {"japan_x64", 138 * kDeg, 36 * kDeg, 64},
};

// Records every ring and line the layer hands to the device.
class RecordingDC : public plat::RasterDC {
public:
    RecordingDC() : RasterDC(plat::Bitmap::Create(kW, kH, 32), 96) {}
    using Points = std::vector<plat::POINT>;
    bool Polygon(const plat::POINT* pts, int n) override {
        if (record) rings.emplace_back(pts, pts + n);
        return RasterDC::Polygon(pts, n);
    }
    bool Polyline(const plat::POINT* pts, int n) override {
        if (record) lines.emplace_back(pts, pts + n);
        return RasterDC::Polyline(pts, n);
    }
    bool TextOut(int x, int y, const QString& text) override {
        if (record && !inHalo_) recordText(x, y, text, nullptr, 0);
        return RasterDC::TextOut(x, y, text);
    }
    bool TextOutHalo(int x, int y, const QString& text, plat::COLORREF halo, plat::COLORREF fore,
                     const plat::POINT* offsets, int n) override {
        if (record) recordText(x, y, text, offsets, n);
        inHalo_ = true;
        const bool ok = RasterDC::TextOutHalo(x, y, text, halo, fore, offsets, n);
        inHalo_ = false;
        return ok;
    }
    static std::vector<QPolygon> toPolygons(const std::vector<Points>& from) {
        std::vector<QPolygon> to;
        for (const Points& pts : from) {
            QPolygon q(int(pts.size()));
            for (size_t i = 0; i < pts.size(); ++i) q[int(i)] = QPoint(pts[i].x, pts[i].y);
            to.push_back(q);
        }
        return to;
    }
    struct Text {
        QPoint at;
        QString text;
        QFont font;
        double angle;
        std::vector<QPoint> halo;   // offsets of the halo copies
    };
    bool record = false;
    std::vector<Points> rings, lines;
    std::vector<Text> texts;

private:
    void recordText(int x, int y, const QString& text, const plat::POINT* offsets, int n) {
        const plat::HFONT f = CurrentFont() ? CurrentFont() : plat::StockFont(plat::SYSTEM_FONT);
        Text t{QPoint(x, y), text, plat::QFontOf(*f, 1.0), f->lf.lfEscapement / 10.0, {}};
        for (int i = 0; i < n && offsets; ++i) t.halo.emplace_back(offsets[i].x, offsets[i].y);
        texts.push_back(std::move(t));
    }
    bool inHalo_ = false;
};

// What one plot of a scene handed to the device, drawn straight with
// QPainter.
class DirectFloor {
public:
    explicit DirectFloor(const RecordingDC& dc)
        : rings_(RecordingDC::toPolygons(dc.rings)), lines_(RecordingDC::toPolygons(dc.lines)), texts_(dc.texts) {}
    void Draw(QImage& img) const {
        QPainter g(&img);
        g.fillRect(img.rect(), QColor(0xFA, 0xFA, 0xF8));
        g.setBrush(QColor(0xF0, 0xED, 0xE2));
        g.setPen(Qt::NoPen);
        for (const QPolygon& r : rings_) g.drawPolygon(r);
        g.setPen(QColor(0x80, 0x80, 0x80));
        g.setBrush(Qt::NoBrush);
        for (const QPolygon& l : lines_) g.drawPolyline(l);
        // Qt's polygon fill leaves the wide registers' upper state in use,
        // which slows the text code after it twofold; the program clears it.
        plat::ClearUpperVectorState();
        // Each text shaped once per plot and its glyphs drawn for every copy.
        for (const RecordingDC::Text& t : texts_) {
            QTextLayout layout(t.text, t.font, &img);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            line.setPosition(QPointF(0, -line.ascent()));
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            auto at = [&](QPoint p) {
                QTransform m = QTransform::fromTranslate(p.x(), p.y());
                if (t.angle != 0) m.rotate(-t.angle);
                g.setTransform(m);
                for (const QGlyphRun& run : runs) g.drawGlyphRun(QPointF(0, 0), run);
            };
            g.setPen(Qt::white);
            for (const QPoint& o : t.halo) at(t.at + o);
            g.setPen(Qt::black);
            at(t.at);
        }
        g.resetTransform();
    }
    size_t Texts() const { return texts_.size(); }

private:
    std::vector<QPolygon> rings_, lines_;
    std::vector<RecordingDC::Text> texts_;
};

void SetScene(clsMapPlot& p, plat::HDC dc, const Scene& s) {
    p.MapUnits = TheWorld().units;
    p.sethdc(dc);
    p.setCanvasWidth(kW);
    p.setCanvasHeight(kH);
    p.setdpix(96);
    p.setdpiy(96);
    p.ProjectionAuto = true;
    if (s.zoom == 0) {
        p.setCenterX(0);
        p.setCenterY(185318);
        p.setMapScale(MapScaleMax / 50);
    } else {
        p.setCenterX(s.lon);
        p.setCenterY(s.lat);
        p.setMapScale(kWorldScale / s.zoom);
    }
}

// The rings and lines of one plot of the scene, in canvas pixels.
void RecordScene(RecordingDC& dc, const Scene& s) {
    clsMapPlot p;
    SetScene(p, &dc, s);
    dc.record = true;
    p.Replot();
    dc.record = false;
}

void BM_Replot(benchmark::State& state) {
    const Scene& s = kScenes[state.range(0)];
    state.SetLabel(s.name);
    RecordingDC dc;
    RecordScene(dc, s);
    const DirectFloor floor(dc);
    QImage img(kW, kH, QImage::Format_RGB32);
    double directSeconds = 0, plotSeconds = 0;
    clsMapPlot p;
    SetScene(p, &dc, s);
    std::array<double, clsMapPlot::PhaseNum + 1> phaseSeconds{};
    auto last = std::chrono::steady_clock::now();
    p.Progress = [&](int16_t n) {
        const auto now = std::chrono::steady_clock::now();
        if (n > 0) phaseSeconds[size_t(n)] += std::chrono::duration<double>(now - last).count();
        last = now;
    };
    // The longest the event loop waited during a plot (a timer due at once
    // runs at every round of events).
    double longestWait = 0;
    auto round = std::chrono::steady_clock::now();
    QTimer events;
    events.setInterval(0);
    QObject::connect(&events, &QTimer::timeout, [&] {
        const auto now = std::chrono::steady_clock::now();
        longestWait = std::max(longestWait, std::chrono::duration<double>(now - round).count());
        round = now;
    });
    events.start();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        last = round = start;
        if (p.Replot() != 0) state.SkipWithError("Replot failed");
        const auto mid = std::chrono::steady_clock::now();
        longestWait = std::max(longestWait, std::chrono::duration<double>(mid - round).count());
        floor.Draw(img);
        const auto end = std::chrono::steady_clock::now();
        const double plot = std::chrono::duration<double>(mid - start).count();
        state.SetIterationTime(plot);
        plotSeconds += plot;
        directSeconds += std::chrono::duration<double>(end - mid).count();
    }
    const double n = double(state.iterations());
    const char* names[] = {"", "clear", "ocean", "polygons", "grid", "labels", "lines", "symbols", "texts", "azimuth"};
    if (p.GridOcean) std::swap(names[3], names[5]);
    for (size_t i = 1; i < phaseSeconds.size(); ++i)
        state.counters[std::string("ms_") + names[i]] = phaseSeconds[i] * 1000 / n;
    state.counters["ms_plot"] = plotSeconds * 1000 / n;
    state.counters["ms_event_wait"] = longestWait * 1000;
    state.counters["ms_direct"] = directSeconds * 1000 / n;
    state.counters["x_direct"] = plotSeconds / directSeconds;
    state.counters["rings"] = double(dc.rings.size());
    state.counters["lines"] = double(dc.lines.size());
    state.counters["texts"] = double(floor.Texts());
}

void BM_Direct(benchmark::State& state) {
    const Scene& s = kScenes[state.range(0)];
    state.SetLabel(s.name);
    RecordingDC dc;
    RecordScene(dc, s);
    const DirectFloor floor(dc);
    QImage img(kW, kH, QImage::Format_RGB32);
    for (auto _ : state) floor.Draw(img);
    state.counters["ms_plot"] =
        benchmark::Counter(double(state.iterations()) / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The same rings and lines through the device context alone: what is left
// of a plot once the engine's own work is taken away.
void BM_Device(benchmark::State& state) {
    const Scene& s = kScenes[state.range(0)];
    state.SetLabel(s.name);
    RecordingDC dc;
    RecordScene(dc, s);
    const plat::Brush back = plat::CreateSolidBrush(0xF8FAFA);
    dc.SelectPen(plat::CreatePen(plat::PS_NULL, 1, 0));
    dc.SelectBrush(plat::CreateSolidBrush(0xE2EDF0));
    const plat::Pen line = plat::CreatePen(plat::PS_SOLID, 1, 0x808080);
    const plat::Pen none = plat::CreatePen(plat::PS_NULL, 1, 0);
    for (auto _ : state) {
        dc.FillRect(plat::RECT{0, 0, kW, kH}, back);
        dc.SelectPen(none);
        for (const auto& r : dc.rings) dc.plat::RasterDC::Polygon(r.data(), int(r.size()));
        dc.SelectPen(line);
        for (const auto& l : dc.lines) dc.plat::RasterDC::Polyline(l.data(), int(l.size()));
    }
    state.counters["ms_plot"] = benchmark::Counter(double(state.iterations()) / 1000,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_Replot)->DenseRange(0, std::size(kScenes) - 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Device)->DenseRange(0, std::size(kScenes) - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct)->DenseRange(0, std::size(kScenes) - 1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunBenchmarks<QApplication>(argc, argv); }
