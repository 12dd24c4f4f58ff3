// Graticule pitch and extent by scale and view, the nearest-element search
// and the engine's settings sections.
#include <gtest/gtest.h>

#include "MapPlotTestSupport.h"
#include "clsMapSymbol.h"

using namespace plottest;

namespace {

using PlotSearch = MapPlotTest;

constexpr int32_t kDeg = 3600;

// The pitch and limits a drawing of the graticule leaves in the engine's grid.
void DrawGridOnce(clsMapPlot& p) {
    ASSERT_TRUE(p.DrawStart());
    p.DrawGrid();
    p.DrawEnd();
}

TEST_F(PlotSearch, GraticulePitchFollowsScaleAndLatitude) {
    struct Case {
        int32_t slot, lat;
        double scale;
        int32_t pitchX, pitchY;
    };
    // 50 mm at 96 dpi: 1:10 000 000 gives 4.47 degrees of latitude (4 degrees);
    // at 80 degrees north a longitude step of 5.7 times that may widen to
    // four sevenths of it (10 degrees); at 40 degrees, 1.3 times, it keeps
    // the latitude step.
    const Case cases[] = {
        {1, 0, 1e7, 14400, 14400},         {2, 40 * kDeg, 1e7, 14400, 14400}, {4, 80 * kDeg, 1e7, 36000, 14400},
        {1, 80 * kDeg, 1e7, 14400, 14400}, {1, 0, 1e9, 216000, 216000},      {1, 0, 1e5, 150, 150},
        {0, 0, 1e6, 40000, 40000},         {0, 0, 1e8, 4000000, 4000000},
    };
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    auto units = BaseOnly(1);
    auto unitsXY = BaseOnly(2);
    for (const Case& c : cases) {
        clsMapPlot p;
        p.MapUnits = c.slot == 0 ? unitsXY : units;
        SetView(p, &dc, c.slot, 0, c.lat, c.scale);
        DrawGridOnce(p);
        EXPECT_EQ(p.Grid().Width(), c.pitchX) << c.slot << " " << c.lat << " " << c.scale;
        EXPECT_EQ(p.Grid().Height(), c.pitchY) << c.slot << " " << c.lat << " " << c.scale;
    }
}

TEST_F(PlotSearch, TargetBelowTheSmallestPitchGivesTheSmallest) {
    env.LoadLines({"PlotGridPitch=1"});
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot p;
    p.MapUnits = BaseOnly(1);
    SetView(p, &dc, 1, 0, 0, 1e5);
    DrawGridOnce(p);
    EXPECT_EQ(p.Grid().Width(), 60);
    EXPECT_EQ(p.Grid().Height(), 60);
}

TEST_F(PlotSearch, GraticuleLimitsStopShortOfThePoleInPolarViews) {
    struct Case {
        int32_t slot;
        double scale;
        int32_t limit;
    };
    // Half an inch of output: 30" at the largest scale, 10 degrees at most.
    const Case cases[] = {{1, 1e7, 323970}, {2, 1e7, 323970}, {3, 1e7, 324000 - 4112},
                          {4, 1e5, 324000 - 41}, {4, 1e9, 288000}, {0, 1e7, MaxXY}};
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    for (const Case& c : cases) {
        clsMapPlot p;
        p.MapUnits = BaseOnly(c.slot == 0 ? 2 : 1);
        SetView(p, &dc, c.slot, 0, 50 * kDeg, c.scale);
        DrawGridOnce(p);
        EXPECT_NEAR(p.Grid().NorthLimit(), c.limit, 1) << c.slot << " " << c.scale;
        EXPECT_EQ(p.Grid().SouthLimit(), -p.Grid().NorthLimit());
    }
}

TEST_F(PlotSearch, GraticuleAreaFollowsTheViewWhateverGridAutoSays) {
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot p;
    p.MapUnits = BaseOnly(1);
    p.GridAuto = false;
    p.Grid().setWidth(7200);
    p.Grid().setNorthLimit(200000);
    SetView(p, &dc, 1, 100000, 30 * kDeg, 1e7);
    const clsRect f = p.Field();
    DrawGridOnce(p);
    EXPECT_EQ(p.Grid().Width(), 7200);
    EXPECT_EQ(p.Grid().NorthLimit(), 200000);
    EXPECT_EQ(p.Grid().West(), f.x1);
    EXPECT_EQ(p.Grid().East(), f.x2);
    EXPECT_EQ(p.Grid().South(), f.y1);
    EXPECT_EQ(p.Grid().North(), std::min(200000, f.y2));
}

class Nears : public PlotSearch {
protected:
    Nears() {
        const auto base = BaseOnly(1);
        const int16_t line = ThingOf(*base, "緯線");
        symbolThing = std::make_shared<clsThing>();
        symbolThing->setFigure(4);
        symbolThing->setName(QStringLiteral("点"));
        symbolThing->setShowMode(1);
        // Two lines whose nearest points lie 10 pixels either side of the
        // search point, a symbol farther away.
        east = Poly<clsMapPolyline>(line, {{dx, 0}, {dx, 20000}});
        west = Poly<clsMapPolyline>(line, {{-dx, -20000}, {-dx, 0}, {-dx, 20000}});
        units = WithFigures({east, west});
        units->Item(2)->Things().Add(symbolThing);
        symbol = At<clsMapSymbol>(symbolThing->Index(), 3 * dx, 0);
        units->Item(2)->Map().Add(symbol);
        p.MapUnits = units;
        SetView(p, &dc, 1, 0, 0, 1e7);
        int32_t x = 0, y = 0;
        p.MapToCanvas(0, 0, x, y);
        p.SearchX = x;
        p.SearchY = y;
    }
    // Ten pixels of longitude at the view's scale.
    const int32_t dx = SafeCLng(10 / (96 * 1000 / 25.4 / 1e7) / MeterPerSec);
    plat::RasterDC dc{plat::Bitmap::Create(64, 64, 32), 96};
    clsMapPlot p;
    std::shared_ptr<clsMapUnits> units;
    ThingPtr symbolThing;
    MapFigurePtr east, west, symbol;
};

TEST_F(Nears, NearestOnlyKeepsEveryEquallyNearElement) {
    const auto found = p.SearchNears(false, true, 64);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ((PolyPoint{found[0]->FigureIndex, found[1]->FigureIndex}), (PolyPoint{1, 2}));
    EXPECT_EQ((PolyPoint{found[1]->PointIndex, found[0]->UnitIndex}), (PolyPoint{2, 2}));
    EXPECT_NEAR(found[0]->Distance, 10, 0.6);
    EXPECT_EQ(found[0]->Distance, found[1]->Distance);
    EXPECT_EQ((PolyPoint{found[1]->MapX, found[1]->MapY}), (PolyPoint{-dx, 0}));
    EXPECT_EQ(found[0]->Cell.CellFigure, east);
}

TEST_F(Nears, RadiusPickBitsAndSwitchesDecideWhatIsSearched) {
    struct Case {
        const char* what;
        std::function<void()> set;
        bool includeAll;
        double radius;
        size_t found;
    };
    const Case cases[] = {
        {"all", [] {}, false, 64, 3},
        {"the symbol lies 30 pixels away", [] {}, false, 20, 2},
        {"none within 4", [] {}, false, 4, 0},
        {"lines not picked", [&] { p.FigurePick = 31 - 2; }, false, 64, 1},
        {"symbols not drawn", [&] { p.FigurePick = 31, p.FigureDisp = 31 - 8; }, false, 64, 2},
        {"hidden symbol", [&] { p.FigureDisp = 31, symbol->setOwnShowMode(0); }, false, 64, 2},
        {"unit not searched", [&] { units->Item(2)->setSearchSwitch(false); }, false, 64, 0},
        {"unless all are", [] {}, true, 64, 2},
        {"unit not shown", [&] { units->Item(2)->setDisplaySwitch(false); }, true, 64, 0},
    };
    for (const Case& c : cases) {
        c.set();
        EXPECT_EQ(p.SearchNears(c.includeAll, false, c.radius).size(), c.found) << c.what;
    }
}

TEST_F(Nears, FarSideOfTheDateLineIsFoundThroughTheShiftedCopy) {
    auto far = Poly<clsMapPolyline>(east->Thing(), {{-644400, 0}, {-644400, 3600}});
    units->Item(2)->Map().Add(far);
    SetView(p, &dc, 1, 644400 - 10 * dx, 0, 1e7);
    ASSERT_TRUE(p.WrapEnabled());
    int32_t x = 0, y = 0;
    ASSERT_TRUE(p.ShiftOn());
    p.MapToCanvas(-644400, 0, x, y);
    p.ShiftOff();
    p.SearchX = x + 3;
    p.SearchY = y;
    const auto found = p.SearchNears(false, true, 64);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->Cell.CellFigure, far);
    EXPECT_EQ(found[0]->MapX, -644400) << "its own stored longitude";
    EXPECT_NEAR(found[0]->Distance, 3, 0.01);
    EXPECT_EQ(p.CenterX(), 644400 - 10 * dx) << "the shift is undone";
}

TEST_F(PlotSearch, SettingsRoundTripAndKeepTheirRanges) {
    {
        clsMapPlot p;
        EXPECT_EQ(p.CenterY(), 185318);
        EXPECT_TRUE(p.Grid().Vertical) << "the graticule read its section";
        p.setCenterX(-500000);
        p.setMapScale(3e6);
        p.setPtnRatio(250);
        p.GridOcean = true;
        p.FigureDisp = 12;
        p.AzimuthLine = QStringLiteral("0 90");
        p.Grid().Zone = false;
        p.setCenterY(80 * kDeg);
        EXPECT_EQ(p.ProjectionIndex(), 4) << "chosen automatically";
    }
    {
        clsMapPlot q;
        q.ProjectionAuto = false;
        EXPECT_EQ(q.ProjectionIndex(), 4) << "the slot last chosen comes back";
        EXPECT_EQ((PolyPoint{q.CenterX(), q.CenterY()}), (PolyPoint{-500000, 80 * kDeg}));
        EXPECT_EQ(q.MapScale(), 3e6);
        EXPECT_EQ(q.PtnRatio(), 250);
        EXPECT_TRUE(q.GridOcean);
        EXPECT_EQ(q.FigureDisp, 12);
        EXPECT_EQ(q.AzimuthLine, QStringLiteral("0 90"));
        EXPECT_FALSE(q.Grid().Zone);
    }
    clsRegistry r(QStringLiteral("LLPLOT"));
    r.RegPut(QStringLiteral("Scale"), 5.0);
    r.RegPut(QStringLiteral("PatternRatio"), 5000);
    r.RegPut(QStringLiteral("DpiY"), 5000);
    clsMapPlot q;
    EXPECT_EQ(q.MapScale(), MapScaleMax / 50) << "out of range: the initial value";
    EXPECT_EQ(q.PtnRatio(), 100);
    EXPECT_EQ(q.dpiy(), 1440) << "the resolution is clamped";
    // An engine for X/Y maps reads its own section once it is in slot 0.
    clsRegistry(QStringLiteral("XYPLOT")).RegPut(QStringLiteral("CenterX"), 123456);
    q.setProjectionIndex(0);
    q.ReadRegistry();
    EXPECT_EQ(q.RegistrySection(), QStringLiteral("XYPLOT"));
    EXPECT_EQ((PolyPoint{q.CenterX(), q.CenterY()}), (PolyPoint{123456, 0}));
    EXPECT_FALSE(q.Grid().Vertical) << "X/Y lines are off unless switched on";
    // A slot of the other map mode (a hand-edited snapshot) is ignored.
    clsRegistry(QStringLiteral("XYPLOT")).RegPut(QStringLiteral("ProjectionIndex"), 3);
    q.ReadRegistry();
    EXPECT_EQ(q.RegistrySection(), QStringLiteral("XYPLOT"));
    r.RegPut(QStringLiteral("ProjectionIndex"), 0);
    EXPECT_EQ(clsMapPlot().RegistrySection(), QStringLiteral("LLPLOT"));
}

} // namespace
