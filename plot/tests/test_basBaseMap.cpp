// Base-map layer generators: labels' texts, ocean tiles, graticule lines of
// both unit modes, azimuth lines (also at large scales and near a pole),
// field and limit frames, the azimuth list, and absent things.
#include <gtest/gtest.h>

#include "MapPlotTestSupport.h"
#include "PrjServices.h"
#include "basAngle.h"
#include "basBaseMap.h"
#include "TestSupport.h"
#include "clsSurvey.h"

using namespace plottest;

namespace {

using BaseMap = MapPlotTest;

constexpr int32_t kDeg = 3600;

QString Name(const clsMapUnit& u, const MapFigurePtr& f) { return u.Things().Item(f->Thing())->Name(); }

std::vector<PolyPoint> Points(const MapFigurePtr& f) {
    const auto p = f->Poly();
    return {p->Points().begin(), p->Points().end()};
}

TEST_F(BaseMap, GridAngleTextByUnit) {
    struct Case {
        int16_t unit;
        int32_t sec;
        const char* text;
    };
    const Case cases[] = {
        {1, 54000, "15"},       {1, 55800, "15°30"},      {1, 55815, "15°30′15"}, {1, 0, "0"},
        {1, -54000, "15"},      {1, 486000, "135"},      {1, 1800, "0°30"},      {1, 648000, "180"},
        {3, 54000, "54000"},    {3, -90, "90"},
    };
    SetAngleSymbol(2);
    for (const Case& c : cases) {
        SetAngleUnit(c.unit);
        EXPECT_EQ(GridAngleText(c.sec), QString::fromUtf8(c.text)) << c.unit << " " << c.sec;
    }
    SetAngleUnit(1);
}

TEST_F(BaseMap, OceanTilesAndOceanArea) {
    const auto units = BaseOnly(1);
    const MapFigures tiles = BaseMapOceanSplit(units->Base().get());
    ASSERT_EQ(tiles.size(), 32u);
    EXPECT_EQ(tiles.front()->Poly()->RectBound(), clsRect(-647995, -323970, -482400, -158400));
    EXPECT_EQ(tiles.back()->Poly()->RectBound(), clsRect(482400, 158400, 647995, 323970));
    EXPECT_EQ(Name(*units->Base(), tiles[5]), QStringLiteral("海洋"));
    const MapFigurePtr area = BaseMapOceanArea(clsRect(100000, -50000, 300000, 80000), units->Base().get());
    EXPECT_EQ(area->Poly()->RectBound(), clsRect(-100000, -50000, 100000, 80000)) << "about longitude 0";
    EXPECT_EQ(BaseMapOceanArea(clsRect(-700000, 0, 700000, 1), units->Base().get())->Poly()->RectBound().x2, 647995);
}

TEST_F(BaseMap, ParallelsEquatorPolarEdgesAndZones) {
    const auto units = BaseOnly(1);
    clsGrid g;
    g.Horizontal = g.Zone = true;
    g.setHeight(54000);
    g.setNorthLimit(270000);
    g.setSouthLimit(-270000);
    g.setArea(clsRect(-648000, -324000, 648000, 324000));
    const MapFigures lines = BaseMapGridH(g, units->Base().get());
    std::vector<int32_t> ys;
    QStringList names;
    for (const MapFigurePtr& f : lines) {
        ys.push_back(f->Poly()->y(1));
        names << Name(*units->Base(), f);
    }
    const std::vector<int32_t> expect = {-270000, -216000, -162000, -108000, -54000, 0,      54000,
                                         108000,  162000,  216000,  270000,  -323970, 323970, -239640,
                                         -84360,  84360,   239640};
    EXPECT_EQ(ys, expect);
    EXPECT_EQ(names[5], QStringLiteral("赤道線"));
    EXPECT_EQ(names[4], QStringLiteral("緯線"));
    EXPECT_EQ(names.last(), QStringLiteral("帯域線"));
    // Meridians keep off the date line and the poles.
    g.Vertical = true;
    g.setWidth(324000);
    g.setNorthLimit(400000);
    EXPECT_EQ(Points(BaseMapGridV(g, units->Base().get()).front()),
              (std::vector<PolyPoint>{{-647995, -270000}, {-647995, 323970}}));
    // An area across the date line gets lines round the globe.
    clsRect across;   // field by field: the constructor would put west before east
    across.x1 = 600000;
    across.y1 = 0;
    across.x2 = -600000;
    across.y2 = 100000;
    g.setArea(across);
    EXPECT_EQ(Points(BaseMapGridH(g, units->Base().get()).front()),
              (std::vector<PolyPoint>{{-647995, 0}, {647995, 0}}));
}

// X/Y grids keep their own range: lines beyond 323970 m from the origin
// are not pulled onto the latitude limit.
TEST_F(BaseMap, XYLinesKeepTheXYRange) {
    const auto units = BaseOnly(2);
    clsGrid g;
    g.setUnitMode(2);
    g.Vertical = g.Horizontal = true;
    g.setWidth(1000000);
    g.setHeight(1000000);
    g.setArea(clsRect(-2000000, -3000000, 2000000, 3000000));
    const MapFigures v = BaseMapGridV(g, units->Base().get());
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(Points(v.front()), (std::vector<PolyPoint>{{-2000000, -3000000}, {-2000000, 3000000}}));
    EXPECT_EQ(Name(*units->Base(), v.front()), QStringLiteral("縦線"));
    const MapFigures h = BaseMapGridH(g, units->Base().get());
    ASSERT_EQ(h.size(), 7u) << "no polar edges, no zones";
    EXPECT_EQ(h.front()->Poly()->y(1), -3000000);
    EXPECT_EQ(Name(*units->Base(), h[3]), QStringLiteral("横線")) << "no equator in X/Y";
}

// A line from Tokyo sets off in its azimuth and runs along one great
// circle to near the antipode; due east from the equator is the equator.
TEST_F(BaseMap, AzimuthLinesFollowTheGreatCircle) {
    clsSurvey s;
    const int32_t lon = 503000, lat = 128000;
    double last = 0;
    int32_t count = 0;
    for (const clsPoly& p : AzimuthPoly(45 * kDeg, lon, lat, 300))
        for (const PolyPoint& q : p.Points()) {
            s.SetAll(lon, lat, q.x, q.y);
            if (++count == 2) {
                EXPECT_NEAR(s.DirectionRadian(), SecToRadian(45 * kDeg), 0.01);
            }
            EXPECT_GE(s.ArcDistance(), last - 1) << "distance grows along the line";
            last = s.ArcDistance();
        }
    EXPECT_GT(last, GlobeCircumference / 2 - 300 * MeterPerSec - 20000);

    const auto units = BaseOnly(1);
    const clsMapUnit* base = units->Base().get();
    const MapFigures east = BaseMapAzimuthLine(QStringLiteral("90"), 0, 0, 1e7, base);
    ASSERT_FALSE(east.empty());
    EXPECT_EQ(Name(*units->Base(), east.front()), QStringLiteral("方位線"));
    EXPECT_NE(Points(east.front()).front(), (PolyPoint{0, 0})) << "the centre point is dropped";
    for (const MapFigurePtr& f : east)
        for (const PolyPoint& q : Points(f)) EXPECT_NEAR(q.y, 0, 1);
    struct Case {
        const char* angles;
        int32_t lat;
        double scale;
        bool drawn;
    };
    // A scale of 1:1000 makes 3 mm no arc-second at all; within a degree of
    // a pole there are no lines.
    for (const Case c : {Case{"0,200\"", 0, 1e7, true}, Case{"10°30'", 0, 1e7, true}, Case{"30", 0, 1000, true},
                         Case{"30", 320400, 1e7, false}, Case{"30", -320400, 1e7, false},
                         Case{"30", 320399, 1e7, true}, Case{"", 0, 1e7, false}})
        EXPECT_EQ(!BaseMapAzimuthLine(QString::fromUtf8(c.angles), 503000, c.lat, c.scale, base).empty(), c.drawn)
            << c.angles << " " << c.lat;
}

TEST_F(BaseMap, FieldFrameOneRingTwoPiecesOrNone) {
    const auto units = BaseOnly(1);
    const clsMapUnit* base = units->Base().get();
    EXPECT_TRUE(BaseMapFieldFrame(clsRect(-648000, -324000, 648000, 324000), base).empty());
    const MapFigures ring = BaseMapFieldFrame(clsRect(0, 0, 100000, 50000), base);
    ASSERT_EQ(ring.size(), 1u);
    EXPECT_EQ(ring.front()->Poly()->RectBound(), clsRect(5, 5, 99995, 49995));
    EXPECT_TRUE(ring.front()->Poly()->IsLoop());
    clsRect across;   // field by field: the constructor would put west before east
    across.x1 = 600000;
    across.y1 = 0;
    across.x2 = -600000;
    across.y2 = 100000;
    const MapFigures two = BaseMapFieldFrame(across, base);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(Points(two[0]), (std::vector<PolyPoint>{{647995, 5}, {600005, 5}, {600005, 99995}, {647995, 99995}}));
    EXPECT_EQ(Points(two[1]).back(), (PolyPoint{-647995, 99995}));
}

TEST_F(BaseMap, ShadowFrameTakesTheProjectionsFramesAsLines) {
    const auto units = BaseOnly(1);
    EXPECT_TRUE(BaseMapShadowFrame(8, 0, 0, 1.5, 12, units->Base().get()).empty()) << "nothing installed";
    std::vector<double> lights;
    SetPrjServices(nullptr, [&](int16_t index, int32_t, int32_t, double light, int16_t) {
        lights.push_back(light);
        clsPoly a, b;
        a.SetLine(index, 0, index, 1000);
        b.SetLine(0, 0, 1, 1);
        return PolyCollection{a, b};
    });
    const MapFigures f = BaseMapShadowFrame(8, 0, 0, 1.5, 12, units->Base().get());
    SetPrjServices(nullptr, nullptr);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0]->Poly()->x(1), 8);
    EXPECT_EQ(Name(*units->Base(), f[1]), QStringLiteral("投影枠"));
    EXPECT_EQ(lights, std::vector<double>{1.5}) << "the light ratio goes through whole";
}

TEST_F(BaseMap, AzimuthTextEvenlySpacedOrAsked) {
    struct Case {
        int16_t count;
        const char* text;
    };
    for (const Case c : {Case{4, "0,90,180,270"}, Case{1, "0"}, Case{73, ""}, Case{-1, ""},
                         Case{7, "0,51.4285714285714,102.857142857143,154.285714285714,205.714285714286,"
                                 "257.142857142857,308.571428571429"}})
        EXPECT_EQ(BaseMapAzimuthText(c.count, QString()), QString::fromLatin1(c.text)) << c.count;
    {
        // The angles are joined by commas: a decimal comma would draw other lines.
        testsupport::CommaLocale comma;
        EXPECT_EQ(BaseMapAzimuthText(16, QString()),
                  QStringLiteral("0,22.5,45,67.5,90,112.5,135,157.5,180,202.5,225,247.5,270,292.5,315,337.5"));
    }
    testsupport::ScriptedBoxes boxes;
    boxes.expectInput(QStringLiteral("12時が0度で時計回りです."), QStringLiteral("15 165"))
        .expectInput(QStringLiteral("方位線"), QStringLiteral("ignored"), false);
    EXPECT_EQ(BaseMapAzimuthText(0, QStringLiteral("0")), QStringLiteral("15 165"));
    EXPECT_EQ(BaseMapAzimuthText(0, QStringLiteral("0")), QString()) << "cancelled";
}

// A catalogue without the things gets no layers; no unit at all stands for
// thing 0.
TEST_F(BaseMap, AbsentThingsGiveNoLayers) {
    auto bare = std::make_shared<clsMapUnit>();
    clsGrid g;
    g.Vertical = g.Horizontal = g.Zone = true;
    EXPECT_EQ(BaseMapOceanArea(clsRect(0, 0, 10, 10), bare.get()), nullptr);
    EXPECT_TRUE(BaseMapOceanSplit(bare.get()).empty());
    EXPECT_TRUE(BaseMapGridV(g, bare.get()).empty());
    EXPECT_TRUE(BaseMapGridH(g, bare.get()).empty());
    EXPECT_TRUE(BaseMapAzimuthLine(QStringLiteral("0"), 0, 0, 1e7, bare.get()).empty());
    EXPECT_EQ(BaseMapOceanSplit(nullptr).front()->Thing(), 0);
}

} // namespace
