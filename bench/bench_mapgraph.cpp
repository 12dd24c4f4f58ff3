// The drawing layer on a 1920 x 1080 raster canvas against the same drawing
// made directly on the device context: plain and wide polylines, solid
// polygons (where the layer's own overhead should stay within 1.2 times the
// direct calls), patterned polylines, tiled polygons, symbols and texts. The
// "Mirror" runs draw with the PostScript mirror on and report the bytes of
// program text per drawing call. Arguments: points per figure (8, 64, 512).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "BenchMain.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "clsMapGraph.h"
#include "clsPostScript.h"

using namespace plat;

namespace {

constexpr int kW = 1920, kH = 1080;
constexpr int kFigures = 400;

HBITMAP canvas() {
    static HBITMAP b = Bitmap::Create(kW, kH, 32);
    return b;
}

// Deterministic figures spread over the canvas: random walks of n points
// (polylines) or star-shaped rings of n points (polygons, closed).
struct Figures {
    std::vector<clsPoly> polys;
    std::vector<std::vector<POINT>> points;
    int64_t pointCount = 0;
};

Figures makeFigures(int n, bool rings) {
    Figures f;
    uint32_t seed = 12345;
    auto rnd = [&](int m) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % uint32_t(m));
    };
    for (int i = 0; i < kFigures; ++i) {
        clsPoly p;
        const int cx = 100 + rnd(kW - 200), cy = 100 + rnd(kH - 200);
        if (rings) {
            for (int k = 0; k < n; ++k) {
                const double a = k * 2 * 3.14159265358979 / n, r = 40 + rnd(40);
                p.AddXandY(cx + int(r * std::cos(a)), cy + int(r * std::sin(a)));
            }
            p.AddXandY(p.x(1), p.y(1));
        } else {
            int x = cx, y = cy;
            const int step = std::max(2, 400 / n);
            for (int k = 0; k < n; ++k) {
                p.AddXandY(x, y);
                x = std::clamp(x + rnd(2 * step + 1) - step, 0, kW - 1);
                y = std::clamp(y + rnd(2 * step + 1) - step, 0, kH - 1);
            }
        }
        std::vector<POINT> pts;
        for (const PolyPoint& q : p.Points()) pts.push_back(POINT{q.x, q.y});
        f.pointCount += p.Count();
        f.points.push_back(std::move(pts));
        f.polys.push_back(std::move(p));
    }
    return f;
}

int32_t colorOf(int i) { return int32_t((i * 2654435761u) & 0x7F7F7F); }

// Seconds per drawn figure or symbol, and points drawn per second.
void setCounters(benchmark::State& state, int64_t calls, int64_t points) {
    state.counters["time/call"] =
        benchmark::Counter(double(calls), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["points/s"] = benchmark::Counter(double(points), benchmark::Counter::kIsIterationInvariantRate);
}

// A drawing made by the layer, begun on the canvas; with the mirror on the
// program text starts anew every iteration and its size is reported.
class Layer {
public:
    explicit Layer(bool mirror) : dc_(canvas(), 96) {
        if (mirror) {
            graph_.setPostScriptEi(true);
            clsPostScript& ps = *graph_.oPostScript();
            ps.setDpi(96);
            ps.setLeft(0);
            ps.setTop(0);
            ps.setWidth(kW);
            ps.setHeight(kH);
        }
        graph_.GraphBegin(&dc_, 0, 0, kW, kH);
    }
    ~Layer() { graph_.GraphEnd(); }
    clsMapGraph& graph() { return graph_; }
    RasterDC& dc() { return dc_; }
    void startProgram() {
        if (graph_.oPostScript()) graph_.oPostScript()->psBegin();
    }
    int64_t programBytes() const { return graph_.oPostScript() ? graph_.oPostScript()->ProgramText().size() : 0; }

private:
    RasterDC dc_;
    clsMapGraph graph_;
};

// One figure drawn directly on the context: a polyline with a plain pen,
// or a polygon filled with a solid brush and no outline.
void drawDirect(RasterDC& dc, const std::vector<POINT>& pts, int i, bool polygon, int width) {
    const COLORREF c = COLORREF(colorOf(i % 8));
    if (polygon) {
        dc.SelectBrush(CreateSolidBrush(c));
        dc.SetTextColor(c);
        dc.SetBkMode(TRANSPARENT);
        const Pen old = dc.SelectPen(StockPen(NULL_PEN));
        dc.Polygon(pts.data(), int(pts.size()));
        dc.SelectPen(old);
    } else {
        dc.SelectPen(CreatePen(PS_SOLID, width, c));
        dc.SetBkMode(TRANSPARENT);
        dc.Polyline(pts.data(), int(pts.size()));
    }
}

// The same figure through the layer, in line style `style` or solid fill.
void drawLayer(clsMapGraph& g, const clsPoly& poly, int i, bool polygon, int style, int width) {
    if (polygon) {
        g.SetBrush(8, colorOf(i % 8), -1);
        g.DrawPolygon(poly);
    } else {
        g.SetPen(static_cast<int16_t>(style), width, colorOf(i % 8), style > 100 ? 0xFFFFFF : -1);
        g.DrawPolyline(poly);
    }
}

// Figures through the layer; with the mirror on the program text starts
// anew every iteration and its bytes per call (a setting and a drawing per
// figure) are reported.
template <bool Mirror>
void LayerRun(benchmark::State& state, bool polygons, int style, int width) {
    const Figures f = makeFigures(int(state.range(0)), polygons);
    Layer layer(Mirror);
    int64_t bytes = 0;
    for (auto _ : state) {
        layer.startProgram();
        for (size_t i = 0; i < f.polys.size(); ++i) drawLayer(layer.graph(), f.polys[i], int(i), polygons, style, width);
        bytes += layer.programBytes();
    }
    setCounters(state, kFigures, f.pointCount);
    if (Mirror) state.counters["bytes/call"] = double(bytes) / double(state.iterations()) / (2.0 * kFigures);
}

void DirectRun(benchmark::State& state, bool polygons, int width) {
    const Figures f = makeFigures(int(state.range(0)), polygons);
    RasterDC dc(canvas(), 96);
    for (auto _ : state)
        for (size_t i = 0; i < f.points.size(); ++i) drawDirect(dc, f.points[i], int(i), polygons, width);
    setCounters(state, kFigures, f.pointCount);
}

// The pattern 鉄道小 through the layer, and the same rows stepped by hand.
void DirectPatternedPolylines(benchmark::State& state) {
    const Figures f = makeFigures(int(state.range(0)), false);
    RasterDC dc(canvas(), 96);
    clsResLine lines;
    lines.setIndex(120);
    std::vector<std::vector<uint8_t>> rows;
    for (int k = 0; k < lines.DstThick(); ++k) {
        const std::vector<bool> c = lines.CycleArray(0, k);
        rows.emplace_back(c.begin(), c.end());
    }
    for (auto _ : state) {
        for (size_t i = 0; i < f.points.size(); ++i) {
            int64_t phase = 0;
            const std::vector<POINT>& p = f.points[i];
            for (size_t s = 1; s < p.size(); ++s) {
                const int64_t start = phase;
                for (size_t k = 0; k < rows.size(); ++k) {
                    phase = start;
                    const int off = int(k) - int(rows.size() / 2);
                    dc.PatternLine(p[s - 1].x, p[s - 1].y + off, p[s].x, p[s].y + off, rows[k].data(),
                                   int(rows[k].size()), phase, COLORREF(colorOf(int(i) % 8)), 0xFFFFFF);
                }
            }
        }
    }
    setCounters(state, kFigures, f.pointCount);
}

// Tiles laid transparently by the layer; a pattern brush directly.
void LayerTiledPolygons(benchmark::State& state) {
    const Figures f = makeFigures(int(state.range(0)), true);
    Layer layer(false);
    for (auto _ : state)
        for (size_t i = 0; i < f.polys.size(); ++i) {
            layer.graph().SetBrush(116, colorOf(int(i) % 8), -1);
            layer.graph().DrawPolygon(f.polys[i]);
        }
    setCounters(state, kFigures, f.pointCount);
}

void DirectPatternBrushPolygons(benchmark::State& state) {
    const Figures f = makeFigures(int(state.range(0)), true);
    RasterDC dc(canvas(), 96);
    clsResTile tiles;
    dc.SelectBrush(CreatePatternBrush(tiles.handle(116)));
    dc.SelectPen(StockPen(NULL_PEN));
    for (auto _ : state)
        for (size_t i = 0; i < f.points.size(); ++i) {
            dc.SetTextColor(COLORREF(colorOf(int(i) % 8)));
            dc.Polygon(f.points[i].data(), int(f.points[i].size()));
        }
    setCounters(state, kFigures, f.pointCount);
}

// Symbols with a halo: the layer, and the five transfers directly.
template <bool Mirror>
void LayerSymbols(benchmark::State& state) {
    const Figures f = makeFigures(8, false);
    Layer layer(Mirror);
    int64_t bytes = 0;
    for (auto _ : state) {
        layer.startProgram();
        for (size_t i = 0; i < f.polys.size(); ++i) {
            layer.graph().SetSymbol(static_cast<int16_t>(i % 19), colorOf(int(i) % 8), 0xFFFFFF);
            for (const PolyPoint& p : f.polys[i].Points()) layer.graph().DrawPaint(p.x, p.y);
        }
        bytes += layer.programBytes();
    }
    setCounters(state, f.pointCount, f.pointCount);
    if (Mirror) state.counters["bytes/call"] = double(bytes) / double(state.iterations()) / double(f.pointCount + kFigures);
}

void DirectSymbols(benchmark::State& state) {
    const Figures f = makeFigures(8, false);
    RasterDC dc(canvas(), 96);
    clsResSymbol symbols;
    HDC mem = CreateCompatibleDC(&dc);
    const POINT halo[4] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (auto _ : state) {
        for (size_t i = 0; i < f.polys.size(); ++i) {
            const HBITMAP b = symbols.handle(static_cast<int16_t>(i % 19));
            mem->SelectBitmap(b);
            const Brush fore = CreateSolidBrush(COLORREF(colorOf(int(i) % 8))), back = CreateSolidBrush(0xFFFFFF);
            dc.SetTextColor(0);
            dc.SetBkColor(0xFFFFFF);
            for (const PolyPoint& p : f.polys[i].Points()) {
                const int x = p.x - b->width() / 2, y = p.y - b->height() / 2;
                dc.SelectBrush(back);
                for (const POINT& d : halo) dc.BitBlt(x + d.x, y + d.y, b->width(), b->height(), mem, 0, 0, ROP_PSDPxax);
                dc.SelectBrush(fore);
                dc.BitBlt(x, y, b->width(), b->height(), mem, 0, 0, ROP_PSDPxax);
            }
        }
    }
    DeleteDC(mem);
    setCounters(state, f.pointCount, f.pointCount);
}

// The layer's overhead measured in one loop: every iteration draws the
// figures directly and through the layer, alternately, and the counter is
// the ratio of the two times (1.0: no overhead), which load on the machine
// affects alike.
void Overhead(benchmark::State& state, bool polygons) {
    using Clock = std::chrono::steady_clock;
    const Figures f = makeFigures(int(state.range(0)), polygons);
    Layer layer(false);
    RasterDC& dc = layer.dc();
    Clock::duration direct{}, through{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (size_t i = 0; i < f.points.size(); ++i) drawDirect(dc, f.points[i], int(i), polygons, 1);
        const auto t1 = Clock::now();
        for (size_t i = 0; i < f.polys.size(); ++i) drawLayer(layer.graph(), f.polys[i], int(i), polygons, 0, 1);
        const auto t2 = Clock::now();
        direct += t1 - t0;
        through += t2 - t1;
    }
    state.counters["layer/direct"] = double(through.count()) / double(std::max<int64_t>(1, direct.count()));
}

// What the mirror adds: the same figures through a layer without and a
// layer with the mirror, alternately; the counters are the time the mirror
// adds to each call (a setting and a drawing per figure) and the bytes of
// program text a call writes.
void MirrorCost(benchmark::State& state, bool polygons, int style) {
    using Clock = std::chrono::steady_clock;
    const Figures f = makeFigures(int(state.range(0)), polygons);
    Layer plain(false), mirrored(true);
    Clock::duration off{}, on{};
    int64_t bytes = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (size_t i = 0; i < f.polys.size(); ++i) drawLayer(plain.graph(), f.polys[i], int(i), polygons, style, 1);
        const auto t1 = Clock::now();
        mirrored.startProgram();
        for (size_t i = 0; i < f.polys.size(); ++i) drawLayer(mirrored.graph(), f.polys[i], int(i), polygons, style, 1);
        const auto t2 = Clock::now();
        off += t1 - t0;
        on += t2 - t1;
        bytes += mirrored.programBytes();
    }
    const double calls = 2.0 * kFigures * double(state.iterations());
    state.counters["added ns/call"] =
        double(std::chrono::duration_cast<std::chrono::nanoseconds>(on - off).count()) / calls;
    state.counters["bytes/call"] = double(bytes) / calls;
}

void MirrorPolylines(benchmark::State& s) { MirrorCost(s, false, 0); }
void MirrorPolygonsCost(benchmark::State& s) { MirrorCost(s, true, 0); }
void MirrorPatternedCost(benchmark::State& s) { MirrorCost(s, false, 120); }

void OverheadPolylines(benchmark::State& s) { Overhead(s, false); }
void OverheadPolygons(benchmark::State& s) { Overhead(s, true); }

void LayerThin(benchmark::State& s) { LayerRun<false>(s, false, 0, 1); }
void LayerWide(benchmark::State& s) { LayerRun<false>(s, false, 0, 3); }
void MirrorThin(benchmark::State& s) { LayerRun<true>(s, false, 0, 1); }
void DirectThin(benchmark::State& s) { DirectRun(s, false, 1); }
void DirectWide(benchmark::State& s) { DirectRun(s, false, 3); }
void LayerPolygons(benchmark::State& s) { LayerRun<false>(s, true, 0, 1); }
void MirrorPolygons(benchmark::State& s) { LayerRun<true>(s, true, 0, 1); }
void DirectPolygons(benchmark::State& s) { DirectRun(s, true, 1); }
// The pattern 鉄道小 through the layer; by hand below.
void LayerPatterned(benchmark::State& s) { LayerRun<false>(s, false, 120, 1); }
void MirrorPatterned(benchmark::State& s) { LayerRun<true>(s, false, 120, 1); }

// Labels as a map has them: 10 000 at spread points, Japanese and Latin
// alternately in eight styles of two faces, sizes 8 to 14 points, one in
// four turned by 30 or 90 degrees, at anchors 0..24; halos round every
// label, half of them or none.
constexpr int kLabels = 10000;
struct Label {
    int x, y, size, angle;
    int16_t anchor;
    QString face, text;
};

std::vector<Label> makeLabels() {
    std::vector<Label> labels;
    uint32_t seed = 777;
    auto rnd = [&](int m) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % uint32_t(m));
    };
    const QString japanese[] = {QStringLiteral("東京"), QStringLiteral("大阪湾"), QStringLiteral("富士山"),
                                QStringLiteral("北海道")};
    const QString latin[] = {QStringLiteral("Tokyo"), QStringLiteral("Osaka Bay"), QStringLiteral("Mt. Fuji"),
                             QStringLiteral("Hokkaido")};
    for (int i = 0; i < kLabels; ++i) {
        const bool jp = i % 2 == 0;
        const int style = rnd(8);
        labels.push_back(Label{20 + rnd(kW - 40), 20 + rnd(kH - 40), 8 + 2 * (style % 4),
                               rnd(4) == 0 ? (rnd(2) ? 30 : 90) : 0, static_cast<int16_t>(rnd(25)),
                               jp ? QStringLiteral("ＭＳ Ｐゴシック") : QStringLiteral("Arial"), jp ? japanese[rnd(4)] : latin[rnd(4)]});
    }
    return labels;
}

// haloEvery: 1 every label, 2 every other one, 0 none.
void LayerTexts(benchmark::State& state, int haloEvery) {
    const std::vector<Label> labels = makeLabels();
    Layer layer(false);
    clsMapGraph& g = layer.graph();
    for (auto _ : state)
        for (size_t i = 0; i < labels.size(); ++i) {
            const Label& l = labels[i];
            const bool halo = haloEvery > 0 && i % size_t(haloEvery) == 0;
            g.SetFont(l.face, l.size, l.angle, 0, colorOf(int(i) % 8), halo ? 0xFFFFFF : -1);
            g.DrawText(l.x, l.y, l.anchor, l.text);
        }
    state.counters["labels/s"] = benchmark::Counter(double(kLabels), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["fonts made"] = double(g.FontsMade());
}

// The same labels straight onto the context: a font per label, no anchor,
// no halo.
void DirectTexts(benchmark::State& state) {
    const std::vector<Label> labels = makeLabels();
    RasterDC dc(canvas(), 96);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE);
    for (auto _ : state)
        for (size_t i = 0; i < labels.size(); ++i) {
            const Label& l = labels[i];
            LOGFONT lf;
            lf.lfHeight = -(l.size * 96 / 72);
            lf.lfEscapement = l.angle * 10;
            lf.lfFaceName = l.face;
            dc.SelectFont(CreateFontIndirect(lf));
            dc.SetTextColor(COLORREF(colorOf(int(i) % 8)));
            dc.TextOut(l.x, l.y, l.text);
        }
    state.counters["labels/s"] = benchmark::Counter(double(kLabels), benchmark::Counter::kIsIterationInvariantRate);
}

void TextsPlain(benchmark::State& s) { LayerTexts(s, 0); }
void TextsHalfHalo(benchmark::State& s) { LayerTexts(s, 2); }
void TextsHalo(benchmark::State& s) { LayerTexts(s, 1); }

} // namespace

BENCHMARK(DirectTexts)->Name("Texts/Direct")->Unit(benchmark::kMillisecond);
BENCHMARK(TextsPlain)->Name("Texts/Layer")->Unit(benchmark::kMillisecond);
BENCHMARK(TextsHalfHalo)->Name("Texts/LayerHalfWithHalo")->Unit(benchmark::kMillisecond);
BENCHMARK(TextsHalo)->Name("Texts/LayerAllWithHalo")->Unit(benchmark::kMillisecond);
BENCHMARK(OverheadPolylines)->Name("Overhead/Polylines1px")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(OverheadPolygons)->Name("Overhead/SolidPolygons")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(MirrorPolylines)->Name("MirrorCost/Polylines1px")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(MirrorPolygonsCost)->Name("MirrorCost/SolidPolygons")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(MirrorPatternedCost)->Name("MirrorCost/PatternedPolylines")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectThin)->Name("Polylines1px/Direct")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(LayerThin)->Name("Polylines1px/Layer")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(MirrorThin)->Name("Polylines1px/Mirror")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectWide)->Name("Polylines3px/Direct")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(LayerWide)->Name("Polylines3px/Layer")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectPolygons)->Name("SolidPolygons/Direct")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(LayerPolygons)->Name("SolidPolygons/Layer")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(MirrorPolygons)->Name("SolidPolygons/Mirror")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectPatternedPolylines)->Name("PatternedPolylines/Direct")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(LayerPatterned)->Name("PatternedPolylines/Layer")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(MirrorPatterned)->Name("PatternedPolylines/Mirror")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectPatternBrushPolygons)->Name("TiledPolygons/DirectPatternBrush")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(LayerTiledPolygons)->Name("TiledPolygons/Layer")->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(DirectSymbols)->Name("SymbolsWithHalo/Direct")->Unit(benchmark::kMillisecond);
BENCHMARK(LayerSymbols<false>)->Name("SymbolsWithHalo/Layer")->Unit(benchmark::kMillisecond);
BENCHMARK(LayerSymbols<true>)->Name("SymbolsWithHalo/Mirror")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunBenchmarks<QGuiApplication>(argc, argv); }
