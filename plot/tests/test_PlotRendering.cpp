// The bundled world drawn through Replot in every view projection, across
// the date line and about both poles, on the raster canvas; once more as an
// EPS file read back by Ghostscript. Each picture is written to the test
// output folder to be looked at; the checks here are that land and sea lie
// where they should and that the plot ends cleanly without a message box.
#include <gtest/gtest.h>

#include <QImage>

#include "EpsTestSupport.h"
#include "MapPlotTestSupport.h"
#include "SavePostScriptFile.h"
#include "TestSupport.h"

using namespace plottest;

namespace {

using Rendering = MapPlotTest;

constexpr int32_t kDeg = 3600;
constexpr int kW = 1200, kH = 800;

struct Scene {
    const char* name;
    int32_t slot;   // -1: the automatic choice
    int32_t lon, lat;
    double scale;
    PolyPoint land, sea;   // map points that must show land and sea
};

// Probe points lie off the graticule's lines.
const Scene kScenes[] = {
    {"1_tangent_cylinder_world", 1, 0, 0, 1.2e8, {73000, 4700}, {-559000, 13300}},
    {"2_secant_cylinder_europe", 2, 15 * kDeg, 48 * kDeg, 2e7, {37100, 181100}, {-76700, 159500}},
    {"3_cone_japan", 3, 138 * kDeg, 36 * kDeg, 1e7, {504400, 132100}, {541100, 109100}},
    {"4_azimuthal_north", 4, 0, 90 * kDeg, 6e7, {361100, 235100}, {-127100, 199100}},
    {"4_azimuthal_antarctica", 4, 0, -90 * kDeg, 5e7, {37100, -289100}, {37100, -217100}},
    {"1_date_line_bering", 1, 175 * kDeg, 60 * kDeg, 3e7, {-559100, 235100}, {-641900, 209900}},
    {"auto_north_america", -1, -100 * kDeg, 45 * kDeg, 4e7, {-361100, 163100}, {-505100, 109100}},
};

QRgb Rgb(int32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The colour at a map point, with the colours of the ocean thing and the
// base map's land thing to compare with.
struct Probe {
    QRgb ocean = 0, at = 0;
};

Probe ProbeAt(clsMapPlot& p, const QImage& img, const PolyPoint& q, const clsMapUnits& units) {
    Probe r;
    const ThingPtr ocean = units.Base()->Things().Item(units.Base()->Things().Search(QStringLiteral("海洋")));
    r.ocean = Rgb(ocean->Fore());
    int32_t x = 0, y = 0;
    if (!p.PointMapToCanvas(q.x, q.y, x, y) && !(p.ShiftOn() && p.PointMapToCanvas(q.x, q.y, x, y))) {
        ADD_FAILURE() << "off the canvas";
        return r;
    }
    p.ShiftOff();
    r.at = img.pixel(x, y);
    return r;
}

TEST_F(Rendering, WorldInEveryViewProjection) {
    const auto units = World();
    for (const Scene& s : kScenes) {
        plat::RasterDC dc(plat::Bitmap::Create(kW, kH, 32), 96);
        clsMapPlot p;
        p.MapUnits = units;
        p.AzimuthLine = s.slot == 3 ? QStringLiteral("0 45 90 135 180 225 270 315") : QString();
        SetView(p, &dc, s.slot, s.lon, s.lat, s.scale, kW, kH);
        std::vector<int16_t> phases;
        p.Progress = [&](int16_t n) { phases.push_back(n); };
        ASSERT_EQ(p.Replot(), 0) << s.name;
        EXPECT_EQ(phases.size(), 10u);
        const QImage img = dc.image().copy();
        const QString path = testsupport::OutputFolder() + QStringLiteral("/Rendering-") +
                             QString::fromLatin1(s.name) + QStringLiteral(".png");
        EXPECT_TRUE(img.save(path)) << path.toStdString();

        const Probe sea = ProbeAt(p, img, s.sea, *units);
        const Probe land = ProbeAt(p, img, s.land, *units);
        EXPECT_EQ(sea.at, sea.ocean) << s.name << ": sea";
        EXPECT_NE(land.at, land.ocean) << s.name << ": land";

        // Lines and areas projected ahead on helper threads, or all on the
        // drawing thread: the same picture, pixel for pixel.
        for (int helpers : {0, 3}) {
            clsMapPlot::ProjectionHelpers = helpers;
            plat::RasterDC other(plat::Bitmap::Create(kW, kH, 32), 96);
            clsMapPlot q;
            q.MapUnits = units;
            q.AzimuthLine = p.AzimuthLine;
            SetView(q, &other, s.slot, s.lon, s.lat, s.scale, kW, kH);
            EXPECT_EQ(q.Replot(), 0);
            EXPECT_TRUE(other.image() == img) << s.name << " with " << helpers << " helpers";
        }
        clsMapPlot::ProjectionHelpers = -1;
    }
}

TEST_F(Rendering, WorldAsEpsReadsBackInGhostscript) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "Ghostscript is not installed";
    const auto units = World();
    plat::RasterDC dc(plat::Bitmap::Create(kW, kH, 32), 96);
    clsMapPlot p;
    p.MapUnits = units;
    const Scene& s = kScenes[1];
    SetView(p, &dc, s.slot, s.lon, s.lat, s.scale, kW, kH);
    const QString eps = testsupport::OutputFolder() + QStringLiteral("/Rendering-europe.eps");
    int16_t result = -1;
    ASSERT_TRUE(SavePostScriptFile(graph, eps, EpsCanvas{kW, kH, 96}, [&] {
        result = p.Replot();
        return true;
    }));
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(p.PlainScreen()) << "the mirror takes the exact path";
    // European names in Latin-1, also where the bytes would read as katakana.
    const QByteArray program = testsupport::ReadBytes(eps);
    EXPECT_TRUE(program.contains(" <37b03330> DrawLatinText\r\n")) << "7°30 of the graticule";
    EXPECT_TRUE(program.contains(" <54fc726b697965> DrawLatinText\r\n")) << "Türkiye";
    epstest::GsRun run;
    const QImage img = epstest::RenderEps(eps, 96, &run);
    ASSERT_FALSE(img.isNull()) << run.output.toStdString();
    EXPECT_TRUE(run.clean()) << run.output.toStdString();
    img.save(testsupport::OutputFolder() + QStringLiteral("/Rendering-europe-eps.png"));
    const QImage raster = dc.image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), raster.size());
    EXPECT_LT(epstest::DifferingShare(img.convertToFormat(QImage::Format_RGB32), raster, 24, 2), 0.02);
}

} // namespace
