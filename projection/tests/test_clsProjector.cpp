// The main projection's settings: ranges, the automatic choice, taking a
// view over, copies and the settings section.
#include <gtest/gtest.h>

#include "ProjectorTestSupport.h"
#include "basGlobe.h"
#include "clsEnvironment.h"

using namespace prjtest;

namespace {

using Projector = ProjectorTest;

struct FakePlot : ProjectorPlotSource {
    clsRect field{-648000, -324000, 648000, 324000};
    int32_t x = 0, y = 0;
    ProjectorGrid grid;
    int16_t direct = -1;
    clsRect Field() const override { return field; }
    int32_t CenterX() const override { return x; }
    int32_t CenterY() const override { return y; }
    double MapScale() const override { return 2e7; }
    const ProjectorGrid& Grid() const override { return grid; }
    int16_t DirectToMain() const override { return direct; }
    QString AzimuthLine() const override { return QStringLiteral("0,90"); }
    bool TextSlant() const override { return true; }
};

} // namespace

TEST_F(Projector, SettersKeepTheirRangesAndTheSecantItsMaximum) {
    clsProjector p;
    for (int32_t bad : {0, 31}) p.setPrjIndex(bad);
    p.setCenterLat(324001);
    p.setCone(100000);
    p.setDivision(40);
    p.setLight(1.0);
    p.setMapScale(MapScaleMax * 2);
    p.setSecant(612001);   // 12 takes up to 612000
    EXPECT_EQ(p.PrjIndex(), 12);
    EXPECT_EQ(p.CenterLat(), 0);
    EXPECT_EQ(p.Cone(), 216000);
    EXPECT_EQ(p.Division(), 12);
    EXPECT_EQ(p.Light(), 2.0);
    EXPECT_EQ(p.MapScale(), MapScaleMax / 50);
    EXPECT_EQ(p.Secant(), 0);
    p.setCenterLon(700000);   // normalised, not refused
    EXPECT_EQ(p.CenterLon(), 700000 - 1296000);
    // A narrower cone or another index holds a stored secant to its new maximum.
    p.setPrjIndex(24);
    p.setCone(108000);
    p.setSecant(500000);
    p.setCone(216000);
    EXPECT_EQ(p.Secant(), 640800 - 216000);
    p.setPrjIndex(1);
    EXPECT_EQ(p.Secant(), 0);
}

TEST_F(Projector, SetAutoChoosesByLatitudeBandAndScale) {
    struct Case {
        int16_t index;
        int32_t lat;
        double scale;
        bool autoPrj;
        int16_t wantIndex;
        int32_t wantLat, wantCone;
    };
    const Case cases[] = {
        {12, 300000, MapScaleMax / 50, true, 6, 324000, 540000},   // high band, azimuthal normal aspect
        {12, 100000, MapScaleMax, true, 12, 0, 108000},            // 12 serves the middle band and the world
        {1, 100000, MapScaleMax / 10, true, 23, 100000, 200000},   // the middle band's cone
        {1, 100000, MapScaleMax / 5, true, 19, 0, 108000},         // small scale, tested on the mask of 1
        {1, 20000, MapScaleMax / 50, true, 12, 0, 108000},         // low band
        {2, -1, MapScaleMax / 50, false, 2, -324000, 540000},      // right axis alone: the south pole
        {23, 10000, MapScaleMax / 50, false, 23, 54000, 108000},   // cones keep 15..75 degrees
        {29, 50000, MapScaleMax / 50, false, 29, 0, 108000},       // no parameter at all
    };
    for (const Case& c : cases) {
        ForgetSettings();
        clsProjector p;
        p.setPrjIndex(c.index);
        p.setCenterLat(c.lat);
        p.setCenterLon(3600);
        p.setPoler(7200);
        p.setMapScale(c.scale);
        p.AutoProjection = c.autoPrj;
        p.RightAxis = true;
        for (int pass = 0; pass < 2; ++pass) {   // a second pass keeps the first's choice
            p.SetAuto();
            SCOPED_TRACE(testing::Message() << "index " << c.index << " lat " << c.lat << " pass " << pass);
            EXPECT_EQ(p.PrjIndex(), c.wantIndex);
            EXPECT_EQ(p.CenterLat(), c.wantLat);
            EXPECT_EQ(p.Cone(), c.wantCone);
            EXPECT_EQ(p.poler(), 0);
            EXPECT_EQ(p.CenterLon(), c.wantIndex == 29 ? 0 : 3600);
        }
    }
}

TEST_F(Projector, UnknownProjectionNamesFallBackOnTheBuiltInOnes) {
    struct Case {
        QStringList env;
        int16_t want;
    };
    const Case cases[] = {
        {{}, 6},                                                       // no display names at all
        {{"MainHighPrj=心射方位図法"}, 1},                             // a built-in name
        {{"MainHighPrj=no such projection"}, 6},                       // the default then
        {{"PrjName05=Orthographic", "MainHighPrj=Orthographic"}, 5},   // a display name
    };
    for (const Case& c : cases) {
        clsEnvironment env;
        env.LoadLines(c.env);
        gvEnvironment = &env;
        ForgetSettings();
        clsProjector p;
        p.setCenterLat(300000);
        p.AutoProjection = true;
        p.SetAuto();
        gvEnvironment = nullptr;
        EXPECT_EQ(p.PrjIndex(), c.want) << c.env.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(Projector, SynchroPlotTakesTheViewOver) {
    FakePlot plot;
    plot.field = clsRect(0, 0, 360000, 180000);
    plot.x = 180000;
    plot.y = 90000;
    plot.grid.setWidth(18000);
    plot.direct = 24;
    clsProjector p;
    p.SynchroPlot(plot);
    EXPECT_EQ(*p.Field(), plot.field);
    EXPECT_EQ(p.CenterLon(), 180000);
    EXPECT_EQ(p.MapScale(), 2e7);
    EXPECT_EQ(p.Grid()->Width(), 18000);
    EXPECT_EQ(p.AzimuthLine, QStringLiteral("0,90"));
    EXPECT_TRUE(p.TextSlant && p.FieldFrame && p.AutoProjection);
    EXPECT_FALSE(p.ShadowFrame || p.FieldWorld);
    // 24 suits the middle band: kept in its normal aspect, with half the
    // field's height as secant and 1 + that height in radians as light.
    EXPECT_EQ(p.PrjIndex(), 24);
    EXPECT_EQ(p.CenterLat(), 90000);
    EXPECT_EQ(p.Cone(), 180000);
    EXPECT_EQ(p.Secant(), 90000);
    EXPECT_DOUBLE_EQ(p.Light(), 1 + 180000 * 4.848136811095355e-6);

    // The whole world in the high band with no main counterpart of the view.
    FakePlot world;
    world.y = 320000;
    p.setPrjIndex(12);
    p.SynchroPlot(world);
    EXPECT_TRUE(p.FieldWorld && p.ShadowFrame);
    EXPECT_EQ(p.PrjIndex(), 6);

    // With the high band moved to the pole, 12 keeps a view at 310000; its
    // secant of 2 x |y| would exceed what 12 takes and is held there.
    clsEnvironment env;
    env.LoadLines({"MainHighLat=324000"});
    gvEnvironment = &env;
    clsProjector q;
    gvEnvironment = nullptr;
    world.y = 310000;
    world.direct = 12;
    q.SynchroPlot(world);
    EXPECT_EQ(q.PrjIndex(), 12);
    EXPECT_EQ(q.Secant(), 612000);
}

// Every setting a copy and the settings section carry, as one text.
static QString Settings(const clsProjector& q) {
    const ProjectorGrid& g = *q.Grid();
    const clsRect& f = *q.Field();
    QStringList v;
    for (double n : {double(q.PrjIndex()), double(q.CenterLon()), double(q.CenterLat()), double(q.poler()),
                     double(q.Cone()), double(q.Secant()), q.Light(), double(q.Division()), q.MapScale(),
                     double(f.x1), double(f.y1), double(f.x2), double(f.y2), double(g.Width()), double(g.Height()),
                     double(g.NorthLimit()), double(g.SouthLimit())})
        v << QString::number(n, 'g', 17);
    for (bool b : {q.AutoProjection, q.RightAxis, q.FieldWorld, q.FieldFrame, q.ShadowFrame, q.TextSlant, g.Vertical,
                   g.Horizontal, g.Zone})
        v << QString::number(b);
    return v.join(QLatin1Char(' ')) + QLatin1Char(' ') + q.AzimuthLine;
}

TEST_F(Projector, CopiesAreIndependentAndSettingsRoundTrip) {
    QString before;
    {
        clsProjector p;
        p.setPrjIndex(21);
        p.setCenterLon(-360000);
        p.setCenterLat(-100000);
        p.setPoler(1800);
        p.setCone(300000);
        p.setSecant(50000);
        p.setLight(1.5);
        p.setDivision(24);
        p.setMapScale(3e6);
        p.FieldFrame = false;
        p.TextSlant = true;
        p.AzimuthLine = QStringLiteral("15 165");
        p.Field()->x1 = 600000;   // across 180 degrees
        p.Field()->x2 = -600000;
        p.Grid()->Zone = false;
        p.Grid()->setHeight(18000);
        p.Grid()->setNorthLimit(200000);
        before = Settings(p);
        const std::unique_ptr<clsProjector> c = p.Copy();
        EXPECT_EQ(Settings(*c), before);
        c->Field()->x1 = 1;
        c->Grid()->setHeight(60);
        EXPECT_EQ(Settings(p), before);
        ForgetSettings();
    }   // p is written when destroyed
    EXPECT_EQ(Settings(clsProjector()), before);
    clsRegistry r(clsProjector::RegistrySection());
    EXPECT_EQ(r.RegGet(QStringLiteral("GrigHeight"), QString()), QStringLiteral("18000"));

    // Stored values out of range, or beyond 32 bits, are ignored (or held).
    r.RegPut(QStringLiteral("ProjectionCode"), QStringLiteral("31"));
    r.RegPut(QStringLiteral("ConePeak"), QStringLiteral("4295267296"));   // 2^32 + 300000
    r.RegPut(QStringLiteral("FieldNorth"), QStringLiteral("99999999999"));
    clsProjector s;
    EXPECT_EQ(s.PrjIndex(), 12);
    EXPECT_EQ(s.Cone(), 108000);
    EXPECT_EQ(s.Field()->y2, 324000);
}
