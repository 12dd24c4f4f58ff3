// Positions between the map and the view through the current plot engine
// and the canvas: round trips in both map modes, and the copy of a view
// wrapped across the 180th meridian that each position takes.
#include <gtest/gtest.h>

#include <random>

#include "MapPlotTestSupport.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "clsCanvas.h"

using namespace plottest;

namespace {

constexpr int kW = 800, kH = 500;
constexpr int32_t kDeg = 3600;

// A canvas of kW x kH shown in a view of half its size (view area 5, so
// view and canvas pixels differ by an offset), and one engine per mode.
class MapView : public MapPlotTest {
protected:
    MapView() : view_(kW / 2, kH / 2, QSize(0, 0), QSize(1920, 1080)), dc_(plat::Bitmap::Create(kW, kH, 32), 96) {
        clsRegistry(QStringLiteral("CANVAS")).RegDelete(QString());
        canvas_ = std::make_unique<clsCanvas>(picture_, view_, 96);
        canvas_->setSynchro(false);
        canvas_->setCanvasWidth(kW);
        canvas_->setCanvasHeight(kH);
        gvCanvas = canvas_.get();
        gvMapPlotLL = &ll_;
        gvMapPlotXY = &xy_;
    }
    ~MapView() override {
        gvCanvas = nullptr;
        gvMapPlotLL = gvMapPlotXY = nullptr;
        SetMapModeSource({});
    }
    static void mode(int32_t m) { SetMapModeSource([m] { return m; }); }

    BitmapCanvasPicture picture_;
    BitmapViewPicture view_;
    std::unique_ptr<clsCanvas> canvas_;
    plat::RasterDC dc_;
    clsMapPlot ll_, xy_;
};

TEST_F(MapView, ViewPointsRoundTripInBothModes) {
    SetView(ll_, &dc_, 2, 15 * kDeg, 48 * kDeg, 2e7, kW, kH);
    xy_.MapUnits = BaseOnly(2);
    SetView(xy_, &dc_, 0, 1000000, -2000000, 5e6, kW, kH);
    std::mt19937 rng(2141);
    std::uniform_int_distribution<int32_t> vx(0, kW / 2 - 1), vy(0, kH / 2 - 1);
    for (int32_t m : {1, 2}) {
        mode(m);
        for (int i = 0; i < 300; ++i) {
            const int32_t x = vx(rng), y = vy(rng);
            int32_t mx = 0, my = 0, bx = 0, by = 0;
            ASSERT_TRUE(PosViewToMap(x, y, mx, my)) << m;
            ASSERT_TRUE(PosMapToView(mx, my, bx, by)) << m;
            EXPECT_LE(std::abs(bx - x) + std::abs(by - y), 1) << m << ": " << x << "," << y;
            ASSERT_TRUE(PosMapToViewNear(mx, my, bx, by)) << m;
            EXPECT_LE(std::abs(bx - x) + std::abs(by - y), 1) << m;
        }
    }
    // Worked out from the formulas: the canvas centre (400, 250) is view
    // point (200, 125); 1 degree is 21.0 px at 1:2e7, 1 km 7.56 px at 1:5e6.
    const struct {
        int32_t mode, mx, my, vx, vy;
    } literal[] = {
        {1, 20 * kDeg, 50 * kDeg, 270, 83}, {1, 12 * kDeg, 47 * kDeg, 158, 146},
        {2, 1010000, -2005000, 208, 129},   {2, 990000, -1996000, 192, 122},
    };
    for (const auto& c : literal) {
        mode(c.mode);
        int32_t vx = 0, vy = 0;
        EXPECT_TRUE(PosMapToView(c.mx, c.my, vx, vy));
        EXPECT_EQ(QPoint(vx, vy), QPoint(c.vx, c.vy)) << c.mode << ": " << vx << ", " << vy;
    }
    mode(3);
    int32_t mx = 0, my = 0;
    EXPECT_FALSE(PosViewToMap(10, 10, mx, my)) << "no engine for another mode";
    EXPECT_EQ(CurrentMapPlot(), nullptr);
}

TEST_F(MapView, AWrappedViewShowsEachPointInTheCopyNearerTheCentre) {
    // A view across the date line, wider than the whole turn: every
    // longitude lies in both copies.
    ll_.MapUnits = BaseOnly(1);
    SetView(ll_, &dc_, 1, 180 * kDeg, 0, 2.5e8, kW, kH);
    ASSERT_TRUE(ll_.WrapEnabled());
    mode(1);
    int32_t ex = 0, ey = 0, wx = 0, wy = 0, cx = 0, cy = 0;
    canvas_->PosCanvasToView(kW / 2, kH / 2, cx, cy);
    ASSERT_TRUE(PosMapToViewNear(170 * kDeg, 0, ex, ey));
    ASSERT_TRUE(PosMapToViewNear(-170 * kDeg, 0, wx, wy));
    EXPECT_LT(ex, cx) << "170 degrees east, just left of the date line";
    EXPECT_GT(wx, cx) << "170 degrees west, just right of it";
    EXPECT_LE(std::abs((cx - ex) - (wx - cx)), 1);
    EXPECT_EQ(ey, wy);
    // The plain conversion of the west point lies off the canvas; PosMapToView
    // finds it on the other copy.
    int32_t px = 0, py = 0;
    EXPECT_TRUE(PosMapToView(-170 * kDeg, 0, px, py));
    int32_t mx = 0, my = 0;
    ASSERT_TRUE(PosViewToMap(wx, wy, mx, my));
    EXPECT_LE(std::abs(mx + 170 * kDeg), 2200) << "within a pixel (about 2140 arc-seconds here)";
    EXPECT_EQ(ll_.CenterX() % (360 * kDeg), (180 * kDeg) % (360 * kDeg)) << "the engine is left unshifted";
}

} // namespace
