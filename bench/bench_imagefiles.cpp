// Image files: the 8-bit BMP of a canvas against writing its raw index
// bytes ("MB/s" of picture pixels), and recording a map-like drawing as a
// metafile against drawing it on the raster canvas (records and bytes per
// drawing).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

#include "BenchMain.h"
#include "Bitmap.h"
#include "FileOps.h"
#include "MetaFileDC.h"
#include "RasterDC.h"
#include "basSaveBMP.h"

using namespace plat;

namespace {

QString tempFile(const char* name) {
    static QTemporaryDir dir;
    return dir.path() + QLatin1Char('/') + QString::fromLatin1(name);
}

// A canvas of edge x edge pixels in 200 colours laid out in blocks and
// stripes, as filled districts and lines of a map.
HBITMAP mapLikeCanvas(int edge) {
    HBITMAP b = Bitmap::Create(edge, edge, 32);
    for (int y = 0; y < edge; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(b->image().scanLine(y));
        for (int x = 0; x < edge; ++x) row[x] = 0xFF000000u | QRgb(((x / 97) * 7 + (y / 61) * 13 + (x + y) / 400) % 200) * 0x030507u;
    }
    return b;
}

void SaveBmp256(benchmark::State& state) {
    const int edge = static_cast<int>(state.range(0));
    const HBITMAP canvas = mapLikeCanvas(edge);
    RasterDC dc(canvas);
    const QString path = tempFile("bench.bmp");
    for (auto _ : state) {
        if (SaveBMP256(&dc, canvas, path) != 0) state.SkipWithError("not written");
    }
    state.counters["MB/s"] =
        benchmark::Counter(double(edge) * edge * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// Only the writing of as many bytes, for scale.
void RawIndexWrite(benchmark::State& state) {
    const int edge = static_cast<int>(state.range(0));
    const QByteArray bytes(qsizetype(edge) * edge, 'x');
    const QString path = tempFile("raw.bin");
    for (auto _ : state) WriteFileAtomic(path, bytes);
    state.counters["MB/s"] =
        benchmark::Counter(double(bytes.size()) * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// n coastline-like polylines of 200 points and n / 4 filled districts.
void drawMap(DeviceContext& dc, int n) {
    std::vector<POINT> pts(200);
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < 200; ++i) {
            const double a = (k * 37 + i) * 0.05;
            pts[size_t(i)] = POINT{(k * 53) % 1800 + i * 4, (k * 29) % 1000 + int(40 * std::sin(a))};
        }
        dc.SelectPen(CreatePen(PS_SOLID, 1 + k % 3, RGB(k % 255, 80, 160)));
        dc.Polyline(pts.data(), 200);
        if (k % 4 == 0) {
            dc.SelectBrush(CreateSolidBrush(RGB(200, k % 255, 120)));
            dc.Polygon(pts.data(), 200);
        }
    }
}

void MapOnRaster(benchmark::State& state) {
    RasterDC dc(Bitmap::Create(1920, 1080, 32));
    for (auto _ : state) drawMap(dc, static_cast<int>(state.range(0)));
}

void MapAsMetafile(benchmark::State& state) {
    size_t records = 0, bytes = 0;
    for (auto _ : state) {
        MetaFileDC dc;
        drawMap(dc, static_cast<int>(state.range(0)));
        const HMETAFILE mf = dc.Close();
        records = mf->recordCount();
        bytes = size_t(mf->bits().size());
    }
    state.counters["records"] = double(records);
    state.counters["bytes"] = double(bytes);
}

} // namespace

BENCHMARK(SaveBmp256)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawIndexWrite)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(MapOnRaster)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(MapAsMetafile)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunBenchmarks<QGuiApplication>(argc, argv); }
