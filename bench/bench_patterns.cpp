// Patterned lines and tile fills at printer resolution on the raster device
// context. Rates are destination pixels per second ("Mpix/s" counters).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <vector>

#include "BenchMain.h"
#include "Bitmap.h"
#include "LineDDA.h"
#include "RasterDC.h"

using namespace plat;

namespace {

// A 600 dpi canvas of about 8 x 6 inches.
constexpr int kW = 4800, kH = 3600;

HBITMAP canvas() {
    static HBITMAP b = Bitmap::Create(kW, kH, 32);
    return b;
}

// A star of segments across the canvas, as a map's coastlines cross a page.
std::vector<POINT> spokes() {
    std::vector<POINT> p;
    for (int i = 0; i < 64; ++i) {
        const double a = i * 2 * 3.14159265358979 / 64;
        p.push_back(POINT{kW / 2, kH / 2});
        p.push_back(POINT{kW / 2 + int(1700 * std::cos(a)), kH / 2 + int(1700 * std::sin(a))});
    }
    return p;
}

const uint8_t kCycle[24] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0};

template <bool Direct>
void PatternedLines(benchmark::State& state) {
    RasterDC dc(canvas(), 600);
    if (state.range(0)) {
        // A clip of many rectangles, as the printer's band or a polygon clip.
        std::vector<POINT> tri = {{100, 100}, {kW - 100, 300}, {kW / 2, kH - 100}};
        Region r = CreatePolygonRgn(tri.data(), 3, ALTERNATE);
        dc.SelectClipRgn(&r);
    }
    const std::vector<POINT> segs = spokes();
    int64_t pixels = 0;
    for (auto _ : state) {
        int64_t phase = 0;
        for (size_t i = 0; i + 1 < segs.size(); i += 2) {
            const POINT a = segs[i], b = segs[i + 1];
            if (Direct) dc.PatternLine(a.x, a.y, b.x, b.y, kCycle, 24, phase, 0x0000FF, 0xFFFFFF);
            else dc.DeviceContext::PatternLine(a.x, a.y, b.x, b.y, kCycle, 24, phase, 0x0000FF, 0xFFFFFF);
        }
        pixels += phase;
    }
    state.counters["Mpix/s"] = benchmark::Counter(double(pixels) / 1e6, benchmark::Counter::kIsRate);
}

// Raw stepping alone, for scale.
void LineDDAOnly(benchmark::State& state) {
    const std::vector<POINT> segs = spokes();
    int64_t pixels = 0, sink = 0;
    for (auto _ : state) {
        for (size_t i = 0; i + 1 < segs.size(); i += 2)
            pixels += LineDDAEach(segs[i].x, segs[i].y, segs[i + 1].x, segs[i + 1].y, [&](int x, int y) { sink += x ^ y; });
    }
    benchmark::DoNotOptimize(sink);
    state.counters["Mpix/s"] = benchmark::Counter(double(pixels) / 1e6, benchmark::Counter::kIsRate);
}

HBITMAP tile(int edge) {
    HBITMAP t = Bitmap::Create(edge, edge, 1);
    for (int y = 0; y < edge; ++y)
        for (int x = 0; x < edge; ++x)
            if ((x + y) % 5 == 0 || (x * 3 + y) % 7 == 0) t->image().setPixel(x, y, 0);
    return t;
}

std::vector<POINT> blob() {
    std::vector<POINT> p;
    for (int i = 0; i < 360; ++i) {
        const double a = i * 3.14159265358979 / 180, r = 1500 + 250 * std::sin(7 * a);
        p.push_back(POINT{kW / 2 + int(r * std::cos(a)), kH / 2 + int(r * std::sin(a))});
    }
    return p;
}

// The polygon area in pixels, counted once.
int64_t blobArea() {
    static int64_t area = [] {
        const std::vector<POINT> p = blob();
        Region r = CreatePolygonRgn(p.data(), int(p.size()), WINDING);
        int64_t n = 0;
        for (const QRect& q : r.qregion()) n += int64_t(q.width()) * q.height();
        return n;
    }();
    return area;
}

// A tile as a pattern brush filling the polygon.
void TileFillPatternBrush(benchmark::State& state) {
    RasterDC dc(canvas(), 600);
    dc.SelectBrush(CreatePatternBrush(tile(int(state.range(0)))));
    dc.SelectPen(StockPen(NULL_PEN));
    dc.SetTextColor(0x008000);
    dc.SetBkColor(0xFFFFFF);
    const std::vector<POINT> p = blob();
    for (auto _ : state) dc.Polygon(p.data(), int(p.size()));
    state.counters["Mpix/s"] =
        benchmark::Counter(double(blobArea()) * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// Tiles stretched one by one into the polygon's clip, laid transparently.
void TileFillBlits(benchmark::State& state) {
    const int edge = int(state.range(0)), dst = edge * 2;
    RasterDC dc(canvas(), 600);
    HDC mem = CreateCompatibleDC(&dc);
    mem->SelectBitmap(tile(edge));
    const std::vector<POINT> p = blob();
    Region r = CreatePolygonRgn(p.data(), int(p.size()), WINDING);
    const RECT box = r.box();
    dc.SelectClipRgn(&r);
    dc.SelectBrush(CreateSolidBrush(0x008000));
    dc.SetTextColor(0);
    dc.SetBkColor(0xFFFFFF);
    for (auto _ : state)
        for (int y = box.top - box.top % dst; y <= box.bottom; y += dst)
            for (int x = box.left - box.left % dst; x <= box.right; x += dst)
                dc.StretchBlt(x, y, dst, dst, mem, 0, 0, edge, edge, ROP_PSDPxax);
    DeleteDC(mem);
    state.counters["Mpix/s"] =
        benchmark::Counter(double(blobArea()) * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(LineDDAOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(PatternedLines<false>)->Name("PatternedLines/PixelByPixel")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PatternedLines<true>)->Name("PatternedLines/Direct")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(TileFillPatternBrush)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(TileFillBlits)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunBenchmarks<QGuiApplication>(argc, argv); }
