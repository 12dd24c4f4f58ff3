// The main projection's settings: ranges, the automatic choice, taking a
// view over, copies and the settings section.
#include <gtest/gtest.h>

#include "ProjectorTestSupport.h"
#include "basGlobe.h"
#include "clsEnvironment.h"

using namespace prjtest;

namespace {

using Projector = ProjectorTest;

class EnvScope {
public:
    explicit EnvScope(const QStringList& lines) {
        env_.LoadLines(lines);
        gvEnvironment = &env_;
    }
    ~EnvScope() { gvEnvironment = nullptr; }

private:
    clsEnvironment env_;
};

class FakePlot : public ProjectorPlotSource {
public:
    clsRect field{-648000, -324000, 648000, 324000};
    int32_t x = 0, y = 0;
    double scale = 1e8;
    ProjectorGrid grid;
    int16_t direct = -1;
    clsRect Field() const override { return field; }
    int32_t CenterX() const override { return x; }
    int32_t CenterY() const override { return y; }
    double MapScale() const override { return scale; }
    const ProjectorGrid& Grid() const override { return grid; }
    int16_t DirectToMain() const override { return direct; }
    QString AzimuthLine() const override { return QStringLiteral("0,90"); }
    bool TextSlant() const override { return true; }
};

} // namespace

TEST_F(Projector, SettersIgnoreValuesOutsideTheirRanges) {
    clsProjector p;
    p.setPrjIndex(31);
    p.setCenterLat(324001);
    p.setCone(100000);
    p.setDivision(40);
    p.setLight(1.0);
    p.setMapScale(MapScaleMax * 2);
    p.setSecant(1);   // 12 takes secants up to 612000
    EXPECT_EQ(p.PrjIndex(), 12);
    EXPECT_EQ(p.CenterLat(), 0);
    EXPECT_EQ(p.Cone(), 216000);
    EXPECT_EQ(p.Division(), 12);
    EXPECT_EQ(p.Light(), 2.0);
    EXPECT_EQ(p.MapScale(), MapScaleMax / 50);
    EXPECT_EQ(p.Secant(), 1);
    p.setSecant(612001);
    EXPECT_EQ(p.Secant(), 1);
    // Longitudes and the rotation are normalised, not refused.
    p.setCenterLon(700000);
    p.setPoler(-700000);
    EXPECT_EQ(p.CenterLon(), 700000 - 1296000);
    EXPECT_EQ(p.poler(), 1296000 - 700000);
    // Without a secant parameter only 0 fits.
    p.setPrjIndex(13);
    EXPECT_EQ(p.Secant(), 0);
    p.setSecant(1);
    EXPECT_EQ(p.Secant(), 0);
}

TEST_F(Projector, ANarrowerConeOrIndexLimitsTheStoredSecant) {
    clsProjector p;
    p.setPrjIndex(24);
    p.setCone(108000);
    p.setSecant(500000);
    EXPECT_EQ(p.Secant(), 500000);
    p.setCone(216000);   // the maximum falls to 640800 - 216000
    EXPECT_EQ(p.Secant(), 424800);
    p.setPrjIndex(12);   // 612000: nothing to limit
    EXPECT_EQ(p.Secant(), 424800);
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
        {12, 300000, MapScaleMax / 50, true, 6, 324000, 540000},     // high band, azimuthal normal aspect
        {12, 100000, MapScaleMax, true, 12, 0, 108000},              // 12 serves the middle band and the world
        {1, 100000, MapScaleMax / 10, true, 23, 100000, 200000},     // the middle band's cone
        {1, 100000, MapScaleMax / 5, true, 19, 0, 108000},           // small scale, tested on the mask of 1
        {1, 20000, MapScaleMax / 50, true, 12, 0, 108000},           // low band
        {2, -1, MapScaleMax / 50, false, 2, -324000, 540000},        // right axis only: south pole
        {23, 10000, MapScaleMax / 50, false, 23, 54000, 108000},     // cone latitude held in 15..75 degrees
        {29, 50000, MapScaleMax / 50, false, 29, 0, 108000},         // no parameter at all
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
        p.SetAuto();
        SCOPED_TRACE(testing::Message() << "index " << c.index << " lat " << c.lat);
        EXPECT_EQ(p.PrjIndex(), c.wantIndex);
        EXPECT_EQ(p.CenterLat(), c.wantLat);
        EXPECT_EQ(p.Cone(), c.wantCone);
        EXPECT_EQ(p.poler(), 0);
        EXPECT_EQ(p.CenterLon(), c.wantIndex == 29 ? 0 : 3600);
        // A second pass keeps what the first chose.
        p.SetAuto();
        EXPECT_EQ(p.PrjIndex(), c.wantIndex);
        EXPECT_EQ(p.CenterLat(), c.wantLat);
    }
}

TEST_F(Projector, ProjectionNamesFallBackOnTheBuiltInNames) {
    struct Case {
        QStringList env;
        int16_t want;
    };
    const Case cases[] = {
        {{}, 6},                                                               // no display names at all
        {{"MainHighPrj=心射方位図法"}, 1},                                     // a built-in name
        {{"MainHighPrj=no such projection"}, 6},                               // the default then
        {{"PrjName05=Orthographic", "MainHighPrj=Orthographic"}, 5},           // a display name
    };
    for (const Case& c : cases) {
        EnvScope env(c.env);
        ForgetSettings();
        clsProjector p;
        p.setCenterLat(300000);
        p.AutoProjection = true;
        p.SetAuto();
        EXPECT_EQ(p.PrjIndex(), c.want) << c.env.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(Projector, FieldAndGridAreKeptAndNormalised) {
    clsProjector p;
    auto field = std::make_shared<clsRect>();
    field->x1 = 700000;   // across 180 degrees once normalised
    field->x2 = -600000;
    field->y1 = 400000;
    field->y2 = 10000;
    p.setField(field);
    EXPECT_EQ(p.Field(), field);
    EXPECT_EQ(field->x1, -596000);
    EXPECT_EQ(field->x2, -600000);
    EXPECT_EQ(field->y1, 10000);
    EXPECT_EQ(field->y2, 324000);
    p.setField(nullptr);
    EXPECT_EQ(p.Field(), field);
    p.SetAuto();
    EXPECT_EQ(p.Grid()->Area().x1, -596000);
    p.FieldWorld = true;
    p.SetAuto();
    EXPECT_EQ(*field, (clsRect{-648000, -324000, 648000, 324000}));
}

TEST_F(Projector, SynchroPlotTakesTheViewOver) {
    FakePlot plot;
    plot.field = clsRect(0, 0, 360000, 180000);
    plot.x = 180000;
    plot.y = 90000;
    plot.scale = 2e7;
    plot.grid.setWidth(18000);
    plot.direct = 24;
    clsProjector p;
    p.SynchroPlot(plot);
    EXPECT_EQ(*p.Field(), plot.field);
    EXPECT_EQ(p.CenterLon(), 180000);
    EXPECT_EQ(p.MapScale(), 2e7);
    EXPECT_EQ(p.Grid()->Width(), 18000);
    EXPECT_NE(p.Grid().get(), &plot.grid);
    EXPECT_EQ(p.AzimuthLine, QStringLiteral("0,90"));
    EXPECT_TRUE(p.TextSlant);
    EXPECT_TRUE(p.FieldFrame);
    EXPECT_FALSE(p.ShadowFrame);
    EXPECT_FALSE(p.FieldWorld);
    EXPECT_TRUE(p.AutoProjection);
    // 24 suits the middle band: kept, in its normal aspect, secant half the
    // field's height.
    EXPECT_EQ(p.PrjIndex(), 24);
    EXPECT_EQ(p.CenterLat(), 90000);
    EXPECT_EQ(p.Cone(), 180000);
    EXPECT_EQ(p.Secant(), 90000);
    EXPECT_DOUBLE_EQ(p.Light(), 1 + 180000 * 4.848136811095355e-6);

    // The whole world without a main counterpart of the view: the index
    // stays and the automatic choice does the rest; 2 x |y| exceeds what 12
    // takes and is held at its maximum.
    FakePlot world;
    world.y = 320000;
    world.scale = 1e7;
    clsProjector q;
    q.setPrjIndex(12);
    q.SynchroPlot(world);
    EXPECT_TRUE(q.FieldWorld);
    EXPECT_TRUE(q.ShadowFrame);
    EXPECT_EQ(q.PrjIndex(), 6);
    world.y = 20000;
    q.setPrjIndex(12);
    q.SynchroPlot(world);
    EXPECT_EQ(q.PrjIndex(), 12);
    EXPECT_EQ(q.Secant(), 40000);
    EXPECT_EQ(q.Light(), LimitLightRatio(1 + 648000 * 4.848136811095355e-6));
}

TEST_F(Projector, CopyIsIndependent) {
    clsProjector p;
    p.setPrjIndex(25);
    p.setCenterLat(162000);
    p.setCone(324000);
    p.setSecant(100000);
    p.setLight(3.5);
    p.setDivision(18);
    p.AzimuthLine = QStringLiteral("45");
    p.TextSlant = true;
    p.Grid()->setHeight(36000);
    const std::unique_ptr<clsProjector> c = p.Copy();
    EXPECT_EQ(c->PrjIndex(), 25);
    EXPECT_EQ(c->Cone(), 324000);
    EXPECT_EQ(c->Secant(), 100000);
    EXPECT_EQ(c->Light(), 3.5);
    EXPECT_EQ(c->Division(), 18);
    EXPECT_EQ(c->AzimuthLine, QStringLiteral("45"));
    EXPECT_EQ(c->Grid()->Height(), 36000);
    c->Field()->x1 = 1;
    c->Grid()->setHeight(60);
    EXPECT_EQ(p.Field()->x1, -648000);
    EXPECT_EQ(p.Grid()->Height(), 36000);
}

TEST_F(Projector, SettingsRoundTripThroughTheSection) {
    {
        clsProjector p;
        p.setPrjIndex(21);
        p.setCenterLon(-360000);
        p.setCenterLat(-100000);
        p.setCone(300000);
        p.setSecant(50000);
        p.setLight(1.5);
        p.setDivision(24);
        p.setMapScale(3e6);
        p.FieldFrame = false;
        p.AzimuthLine = QStringLiteral("15 165");
        p.Field()->x1 = 600000;
        p.Field()->x2 = -600000;
        p.Grid()->Zone = false;
        p.Grid()->setHeight(18000);
    }   // written when destroyed
    clsRegistry r(clsProjector::RegistrySection());
    EXPECT_EQ(r.RegGet(QStringLiteral("GrigHeight"), QString()), QStringLiteral("18000"));
    clsProjector q;
    EXPECT_EQ(q.PrjIndex(), 21);
    EXPECT_EQ(q.CenterLon(), -360000);
    EXPECT_EQ(q.CenterLat(), -100000);
    EXPECT_EQ(q.Cone(), 300000);
    EXPECT_EQ(q.Secant(), 50000);
    EXPECT_EQ(q.Light(), 1.5);
    EXPECT_EQ(q.Division(), 24);
    EXPECT_EQ(q.MapScale(), 3e6);
    EXPECT_FALSE(q.FieldFrame);
    EXPECT_TRUE(q.ShadowFrame);
    EXPECT_EQ(q.AzimuthLine, QStringLiteral("15 165"));
    EXPECT_EQ(q.Field()->x1, 600000);
    EXPECT_EQ(q.Field()->x2, -600000);
    EXPECT_FALSE(q.Grid()->Zone);
    EXPECT_TRUE(q.Grid()->Vertical);
    EXPECT_EQ(q.Grid()->Height(), 18000);

    // Stored values out of range, or beyond 32 bits, are ignored.
    r.RegPut(QStringLiteral("ProjectionCode"), QStringLiteral("31"));
    r.RegPut(QStringLiteral("ConePeak"), QStringLiteral("4295267296"));
    r.RegPut(QStringLiteral("FieldNorth"), QStringLiteral("99999999999"));
    clsProjector s;
    EXPECT_EQ(s.PrjIndex(), 12);   // the values of a new projector
    EXPECT_EQ(s.Cone(), 108000);
    EXPECT_EQ(s.Field()->y2, 324000);
}
