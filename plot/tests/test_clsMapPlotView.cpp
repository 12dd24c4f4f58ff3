// View projections: the automatic choice, the transforms both ways in each
// slot and hemisphere, the covered field, the date-line copy, the setters'
// ranges and the narrow coordinates of old devices.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "MapPlotTestSupport.h"
#include "PrjServices.h"
#include "basAngle.h"

using namespace plottest;

namespace {

using View = MapPlotTest;

constexpr int32_t kDeg = 3600;

TEST_F(View, AutomaticChoiceFollowsLatitudeAndScale) {
    struct Case {
        int32_t lat;
        double scale;
        int32_t slot;
    };
    const double small = MapScaleMax / 5;
    const Case cases[] = {
        {0, 1e7, 2},           {15 * kDeg, 1e7, 2},    {15 * kDeg + 1, 1e7, 3}, {-45 * kDeg, 1e7, 3},
        {75 * kDeg - 1, 1e7, 3}, {75 * kDeg, 1e7, 4},  {-90 * kDeg, 1e7, 4},    {45 * kDeg, small, 1},
        {0, small, 1},         {45 * kDeg, small * 0.99, 3}, {80 * kDeg, small, 4},
    };
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot p;
    for (const Case& c : cases) {
        SetView(p, &dc, -1, 0, c.lat, c.scale);
        EXPECT_EQ(p.ProjectionIndex(), c.slot) << c.lat << " " << c.scale;
        EXPECT_EQ(p.MapMode(), 1);
    }
    EXPECT_EQ(p.ProjectionName(), QStringLiteral("接方位図法"));
}

TEST_F(View, LatitudeRulesOverrideTheUsersSlot) {
    struct Case {
        int32_t chosen, lat, drawn;
    };
    const Case cases[] = {
        {3, 1 * kDeg, 1},  {3, -1 * kDeg, 1}, {3, 2 * kDeg, 3}, {2, 89 * kDeg, 4},
        {3, -89 * kDeg, 4}, {2, 88 * kDeg, 2}, {4, 0, 4},       {1, 89 * kDeg, 1},
    };
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot p;
    for (const Case& c : cases) {
        SetView(p, &dc, c.chosen, 0, c.lat, 1e7);
        EXPECT_EQ(p.ProjectionIndex(), c.drawn) << c.chosen << " at " << c.lat;
        // The choice itself stays: back at 45 degrees the cone is drawn again.
        p.setCenterY(45 * kDeg);
        EXPECT_EQ(p.ProjectionIndex(), c.chosen);
    }
}

TEST_F(View, UnknownChoiceNameDrawsAsTangentCylinderWithoutMainCounterpart) {
    env.LoadLines({"DirectPrjName00=ＸＹ図法", "DirectPrjName01=接円筒図法", "PlotLowPrjKald=どれでもない"});
    SetPrjServices([](const QString& name) { return int16_t(name.isEmpty() ? -1 : 12); }, nullptr);
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot p, one;
    SetView(p, &dc, -1, 0, 0, 1e7);
    SetView(one, &dc, 1, 0, 0, 1e7);
    EXPECT_EQ(p.ProjectionIndex(), -1);
    EXPECT_EQ(p.DirectToMain(), -1);
    EXPECT_EQ(one.DirectToMain(), 12);
    EXPECT_EQ(p.ProjectionName(), QStringLiteral("--- 未定義 ---"));
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    p.MapToCanvas(-90000, -40000, x1, y1);
    one.MapToCanvas(-90000, -40000, x2, y2);
    EXPECT_EQ((PolyPoint{x1, y1}), (PolyPoint{x2, y2}));
    SetPrjServices(nullptr, nullptr);
}

// Map points worked out from the projection formulas on a globe of
// 6371000.79 m (30.8875 m an arc-second), 800 x 600 pixels at 96 dpi:
// a mapping wrong the same way both ways still misses these.
TEST_F(View, LiteralCanvasPointsInEverySlot) {
    struct Case {
        int32_t slot, cx, cy;
        double scale;
        int32_t mx, my;
        PolyPoint canvas;
    };
    const Case cases[] = {
        {1, 0, 0, 1e7, 10 * kDeg, 5 * kDeg, {820, 90}},                     // 420.26 px east, 210.13 up
        {2, 15 * kDeg, 48 * kDeg, 2e7, 20 * kDeg, 50 * kDeg, {470, 258}},     // x shrunk by cos 48
        {3, 0, 45 * kDeg, 1e7, 10 * kDeg, 50 * kDeg, {671, 73}},
        {3, 0, -40 * kDeg, 1e7, -10 * kDeg, -35 * kDeg, {55, 109}},
        {4, 0, 70 * kDeg, 2e7, 30 * kDeg, 80 * kDeg, {505, 62}},
        {4, 20 * kDeg, -75 * kDeg, 2e7, 0, -85 * kDeg, {364, 516}},
        {0, 1000000, -2000000, 1e6, 1005000, -2002000, {419, 308}},          // metres: 18.9 px east, 75.6 down
    };
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    for (const Case& c : cases) {
        clsMapPlot p;
        SetView(p, &dc, c.slot, c.cx, c.cy, c.scale);
        ASSERT_EQ(p.ProjectionIndex(), c.slot);
        int32_t x = 0, y = 0;
        EXPECT_TRUE(p.MapToCanvas(c.mx, c.my, x, y));
        EXPECT_EQ((PolyPoint{x, y}), c.canvas) << "slot " << c.slot << " at " << c.cy << ": " << x << ", " << y;
    }
}

// Canvas and back at the largest scale and resolution: the map point comes
// back within one unit and the map length of a pixel, in every slot, on
// both hemispheres.
TEST_F(View, MapToCanvasAndBackRoundTripInEverySlot) {
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    std::mt19937 rnd(7);
    for (int32_t slot = 0; slot <= 4; ++slot) {
        for (int32_t cy : {40 * kDeg, -40 * kDeg}) {
            clsMapPlot p;
            SetView(p, &dc, slot, 500000, cy, MapScaleMin);
            p.setdpix(1440);
            p.setdpiy(1440);
            ASSERT_EQ(p.ProjectionIndex(), slot);
            const double tol = 1 + p.CanvasToMapLengthX(1);
            std::uniform_int_distribution<int32_t> d(-2 * kDeg, 2 * kDeg);
            for (int i = 0; i < 200; ++i) {
                const int32_t mx = 500000 + d(rnd), my = cy + d(rnd);
                int32_t cx = 0, cyy = 0, bx = 0, by = 0;
                ASSERT_TRUE(p.MapToCanvas(mx, my, cx, cyy));
                p.CanvasToMap(cx, cyy, bx, by);
                EXPECT_NEAR(bx, mx, tol) << slot << " " << cy;
                EXPECT_NEAR(by, my, tol) << slot << " " << cy;
            }
        }
    }
}

// Every canvas pixel's map point lies in Field; with the pole in view the
// field runs round the globe.
TEST_F(View, FieldCoversTheCanvas) {
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    struct Case {
        int32_t slot, cx, cy;
        double scale;
    };
    const Case cases[] = {{1, 0, 0, 5e7},  {2, 200000, 30 * kDeg, 2e7}, {3, -300000, 50 * kDeg, 1e7},
                          {3, 0, -40 * kDeg, 3e7}, {4, 0, 70 * kDeg, 2e7}, {0, 1000000, -2000000, 1e6}};
    for (const Case& c : cases) {
        clsMapPlot p;
        SetView(p, &dc, c.slot, c.cx, c.cy, c.scale);
        const clsRect f = p.Field();
        for (int32_t x = 0; x < 800; x += 40)
            for (int32_t y : {0, 300, 599}) {
                int32_t mx = 0, my = 0;
                p.CanvasToMap(x, y, mx, my);
                EXPECT_TRUE(f.IsInner(mx, my)) << c.slot << ": " << x << "," << y;
            }
    }
    clsMapPlot polar;
    SetView(polar, &dc, 4, 0, 80 * kDeg, 5e7);
    EXPECT_EQ(polar.Field(), clsRect(-648000, polar.Field().y1, 648000, 324000));
}

TEST_F(View, DateLineViewsGetAShiftedCopy) {
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot p;
    struct Case {
        int32_t slot, cx;
        double scale;
        int32_t shift;   // 0: no copy
    };
    for (const Case c : {Case{1, 170 * kDeg, 5e7, -1296000}, Case{1, -170 * kDeg, 5e7, 1296000},
                         Case{1, 0, MapScaleMax, 0}, Case{0, 600000, MapScaleMax, 0}}) {
        SetView(p, &dc, c.slot, c.cx, 0, c.scale);
        EXPECT_EQ(p.WrapEnabled() ? p.WrapShift() : 0, c.shift) << c.cx;
    }
    // 175 degrees west is off the field until the view is shifted, and then
    // lies right of the centre, where it belongs.
    SetView(p, &dc, 1, 170 * kDeg, 0, 5e7);
    int32_t x = 0, y = 0;
    EXPECT_FALSE(p.PointMapToCanvas(-175 * kDeg, 0, x, y));
    ASSERT_TRUE(p.ShiftOn());
    EXPECT_FALSE(p.ShiftOn()) << "shifted once only";
    EXPECT_TRUE(p.PointMapToCanvas(-175 * kDeg, 0, x, y));
    EXPECT_GT(x, 400);
    EXPECT_TRUE(p.ShiftOff());
    EXPECT_EQ(p.CenterX(), 170 * kDeg);
}

// A parallel across the view: two points in a cylinder, a curve bending
// towards the pole in the cone; the source stays as it was.
TEST_F(View, PolyMapToCanvasClipsAndDensifies) {
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot p;
    SetView(p, &dc, 1, 0, 40 * kDeg, 2e7);
    clsPoly far;
    far.SetLine(600000, 0, 640000, 10000);
    EXPECT_EQ(p.PolyMapToCanvas(far), nullptr);
    clsPoly parallel;
    parallel.SetLine(-600000, 40 * kDeg, 600000, 40 * kDeg);
    const clsPoly before = parallel;
    EXPECT_EQ(p.PolyMapToCanvas(parallel)->Count(), 2);
    SetView(p, &dc, 3, 0, 45 * kDeg, 2e7);
    const auto curved = p.PolyMapToCanvas(parallel);
    ASSERT_NE(curved, nullptr);
    EXPECT_GT(curved->Count(), 10);
    EXPECT_LT(curved->y(1), curved->y(curved->Count() / 2));
    EXPECT_TRUE(parallel.IsMatch(before));
}

TEST_F(View, NarrowCoordinateDevicesRejectFarPixels) {
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot p;
    SetView(p, &dc, 1, 0, 0, 1e6);
    const int32_t lon = SafeCLng(40000 / p.RatioX() / MeterPerSec);   // 40000 pixels east
    int32_t x = 0, y = 0;
    EXPECT_TRUE(p.MapToCanvas(lon, 0, x, y));
    p.setWideCoordinates(false);
    EXPECT_FALSE(p.MapToCanvas(lon, 0, x, y));
    clsPoly line;
    line.SetLine(-lon, 0, lon, 0);
    EXPECT_LE(p.PolyMapToCanvas(line)->RectBound().x2, 32700);
}

TEST_F(View, SettersKeepTheirRanges) {
    clsMapPlot p;
    struct Case {
        int32_t in, out;
    };
    for (const Case c : {Case{648000, 648000}, Case{-648000, -648000}, Case{648001, -647999}, Case{-648001, 647999},
                         Case{2000000, -592000}, Case{INT32_MAX, 11647}}) {
        p.setCenterX(c.in);
        EXPECT_EQ(p.CenterX(), c.out) << c.in;
    }
    p.setCanvasWidth(10);
    p.setCanvasHeight(40000);
    p.setdpix(5000);
    p.setMapScale(MapScaleMax * 2);
    p.setPtnRatio(5);
    EXPECT_EQ((PolyPoint{p.CanvasWidth(), p.CanvasHeight()}), (PolyPoint{32, 32767}));
    EXPECT_EQ(p.dpix(), 1440);
    EXPECT_EQ(p.MapScale(), MapScaleMax / 50);
    EXPECT_EQ(p.PtnRatio(), 100);
    p.setProjectionIndex(0);
    EXPECT_EQ(p.MapMode(), 2);
    EXPECT_FALSE(p.Grid().UnitMode() != 2 || p.Grid().Vertical || p.Grid().Horizontal || p.Grid().Zone);
    p.setCenterX(INT32_MAX);
    EXPECT_EQ(p.CenterX(), MaxXY);
}

} // namespace
