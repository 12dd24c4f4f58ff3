// Graticule settings: defaults and limits of both unit modes, line positions
// (also across the date line), and the settings sections.
#include <gtest/gtest.h>

#include "AppState.h"
#include "basGlobe.h"
#include "clsEnvironment.h"
#include "clsGrid.h"
#include "clsRegistry.h"

#include <functional>

namespace {

using Ints = std::vector<int32_t>;

class Grid : public ::testing::Test {
protected:
    void SetUp() override { clearSections(); }
    void TearDown() override {
        clearSections();
        gvEnvironment = nullptr;
    }
    static void clearSections() {
        for (const char* s : {"LLGRID", "XYGRID", "PRJGRID"}) clsRegistry(QString::fromLatin1(s)).RegDelete(QString());
    }
};

TEST_F(Grid, NewGraticuleIsModeOneWithLinesOff) {
    clsGrid g;
    EXPECT_EQ(g.UnitMode(), 1);
    EXPECT_FALSE(g.Vertical || g.Horizontal || g.Zone);
    EXPECT_EQ(g.Width(), 54000);
    EXPECT_EQ(g.Height(), 54000);
    EXPECT_EQ(g.NorthLimit(), 270000);
    EXPECT_EQ(g.SouthLimit(), -270000);
    EXPECT_EQ(g.Area(), clsRect(-648000, -324000, 648000, 324000));
    EXPECT_EQ(g.RegistrySection(), QStringLiteral("LLGRID"));
    EXPECT_TRUE(g.ColVlineX().empty());
    EXPECT_TRUE(g.ColHlineY().empty());
    EXPECT_TRUE(g.ColZoneLineY().empty());

    g.Vertical = true;
    const Ints xs = g.ColVlineX();
    ASSERT_EQ(xs.size(), 25u);
    for (size_t i = 0; i < xs.size(); ++i) EXPECT_EQ(xs[i], -648000 + int32_t(i) * 54000);
}

TEST_F(Grid, SettersLimitByUnitMode) {
    struct Case {
        const char* what;
        int32_t mode;
        std::function<void(clsGrid&, int32_t)> set;
        std::function<int32_t(const clsGrid&)> get;
        int32_t in;
        int32_t stored;
    };
    const auto width = [](clsGrid& g, int32_t v) { g.setWidth(v); };
    const auto north = [](clsGrid& g, int32_t v) { g.setNorthLimit(v); };
    const auto west = [](clsGrid& g, int32_t v) { g.setWest(v); };
    const auto south = [](clsGrid& g, int32_t v) { g.setSouth(v); };
    const auto getWidth = [](const clsGrid& g) { return g.Width(); };
    const auto getNorth = [](const clsGrid& g) { return g.NorthLimit(); };
    const auto getWest = [](const clsGrid& g) { return g.West(); };
    const auto getSouth = [](const clsGrid& g) { return g.South(); };
    const Case cases[] = {
        {"interval below", 1, width, getWidth, 10, 60},
        {"interval above", 1, width, getWidth, 500000, 324000},
        {"interval inside", 1, width, getWidth, 3600, 3600},
        {"limit above", 1, north, getNorth, 400000, 323970},
        {"limit below", 1, north, getNorth, -400000, -323970},
        {"longitude past the date line", 1, west, getWest, 700000, 700000 - 1296000},
        {"longitude 180 stays", 1, west, getWest, 648000, 648000},
        {"longitude whole turns", 1, west, getWest, -648001 - 2 * 1296000, 647999},
        {"latitude", 1, south, getSouth, INT32_MIN, -323970},
        {"XY interval below", 2, width, getWidth, 1, MaxXY / 40000},
        {"XY interval above", 2, width, getWidth, INT32_MAX, MaxXY / 4},
        {"XY limit", 2, north, getNorth, INT32_MAX, MaxXY},
        {"XY x position", 2, west, getWest, INT32_MIN, -MaxXY},
        {"XY y position", 2, south, getSouth, 12345, 12345},
    };
    for (const Case& c : cases) {
        clsGrid g;
        g.setUnitMode(c.mode);
        c.set(g, c.in);
        EXPECT_EQ(c.get(g), c.stored) << c.what;
    }
}

TEST_F(Grid, UnitModeResetsGeometryButNotSwitches) {
    clsGrid g;
    g.Vertical = g.Horizontal = g.Zone = true;
    g.setWidth(3600);
    g.setUnitMode(3);
    EXPECT_EQ(g.UnitMode(), 1);
    EXPECT_EQ(g.Width(), 3600);

    g.setUnitMode(2);
    EXPECT_EQ(g.UnitMode(), 2);
    EXPECT_TRUE(g.Vertical && g.Horizontal && g.Zone);
    EXPECT_EQ(g.Width(), MaxXY / 20);
    EXPECT_EQ(g.Height(), MaxXY / 20);
    EXPECT_EQ(g.NorthLimit(), MaxXY);
    EXPECT_EQ(g.SouthLimit(), -MaxXY);
    EXPECT_EQ(g.Area(), clsRect(-MaxXY, -MaxXY, MaxXY, MaxXY));
    EXPECT_EQ(g.RegistrySection(), QStringLiteral("XYGRID"));
    EXPECT_TRUE(g.ColZoneLineY().empty()) << "no zone lines on a plane";
}

TEST_F(Grid, AreaSetGoesThroughTheLimitsAndGetIsACopy) {
    clsGrid g;
    g.setArea(clsRect(-700000, -400000, 100, 400000));
    EXPECT_EQ(g.West(), 596000);
    EXPECT_EQ(g.East(), 100);
    EXPECT_EQ(g.South(), -323970);
    EXPECT_EQ(g.North(), 323970);
    clsRect a = g.Area();
    a.x1 = 0;
    EXPECT_EQ(a.x1, 0);
    EXPECT_EQ(g.West(), 596000);
}

TEST_F(Grid, VerticalLinePositions) {
    struct Case {
        const char* what;
        int32_t mode, west, east, width;
        Ints expected;
    };
    const Case cases[] = {
        {"across the date line", 1, 600000, -600000, 54000, {594000, 648000}},
        {"first line rounds toward zero", 1, 10000, 120000, 54000, {0, 54000, 108000}},
        {"negative west rounds toward zero", 1, -120000, -10000, 54000, {-108000, -54000, 0}},
        {"wrap past 180 comes back negative", 1, 600000, -590000, 36000, {576000, 612000, 648000, -612000}},
        {"equal ends take a whole turn", 1, 0, 0, 324000, {0, 324000, 648000, -324000, 0}},
        {"plane", 2, -50000, 50000, 40000, {-40000, 0, 40000}},
    };
    for (const Case& c : cases) {
        clsGrid g;
        g.setUnitMode(c.mode);
        g.Vertical = true;
        g.setWidth(c.width);
        g.setWest(c.west);
        g.setEast(c.east);
        EXPECT_EQ(g.ColVlineX(), c.expected) << c.what;
    }
}

TEST_F(Grid, HorizontalAndZoneLinesStayWithinTheLimits) {
    clsGrid g;
    g.Horizontal = g.Zone = true;
    g.setNorthLimit(200000);
    g.setSouthLimit(-200000);
    EXPECT_EQ(g.VLineNorth(), 200000);
    EXPECT_EQ(g.VLineSouth(), -200000);
    EXPECT_EQ(g.ColHlineY(), (Ints{-162000, -108000, -54000, 0, 54000, 108000, 162000}));
    EXPECT_EQ(g.ColZoneLineY(), (Ints{-84360, 84360}));

    g.setNorthLimit(270000);
    g.setSouthLimit(-270000);
    EXPECT_EQ(g.ColZoneLineY(), (Ints{-239640, -84360, 84360, 239640}));

    // The area narrower than the limits decides.
    g.setSouth(30000);
    g.setNorth(100000);
    EXPECT_EQ(g.ColHlineY(), (Ints{0, 54000}));
    EXPECT_EQ(g.ColZoneLineY(), (Ints{84360}));
}

TEST_F(Grid, AxialTiltComesFromTheEnvironment) {
    clsEnvironment env;
    env.LoadLines({QStringLiteral("AxialTilt=90000")});
    gvEnvironment = &env;
    clsGrid g;
    g.Zone = true;
    EXPECT_EQ(g.ColZoneLineY(), (Ints{-234000, -90000, 90000, 234000}));

    clsEnvironment outOfRange;
    outOfRange.LoadLines({QStringLiteral("AxialTilt=400000")});
    gvEnvironment = &outOfRange;
    clsGrid h;
    h.Zone = true;
    EXPECT_EQ(h.ColZoneLineY(), (Ints{-239640, -84360, 84360, 239640}));
}

TEST_F(Grid, CopyCarriesEverySetting) {
    clsGrid g;
    g.setUnitMode(2);
    g.setName(QStringLiteral("PRJGRID"));
    g.Vertical = true;
    g.Zone = true;
    g.setWidth(100000);
    g.setHeight(200000);
    g.setNorthLimit(3000000);
    g.setSouthLimit(-1000000);
    g.setArea(clsRect(-500000, -600000, 700000, 800000));
    const clsGrid c = g.Copy();
    EXPECT_EQ(c.UnitMode(), 2);
    EXPECT_EQ(c.Name(), QStringLiteral("PRJGRID"));
    EXPECT_TRUE(c.Vertical);
    EXPECT_FALSE(c.Horizontal);
    EXPECT_TRUE(c.Zone);
    EXPECT_EQ(c.Width(), 100000);
    EXPECT_EQ(c.Height(), 200000);
    EXPECT_EQ(c.NorthLimit(), 3000000);
    EXPECT_EQ(c.SouthLimit(), -1000000);
    EXPECT_EQ(c.Area(), clsRect(-500000, -600000, 700000, 800000));
}

TEST_F(Grid, ReadRegistryOnAnEmptyStoreGivesTheModeDefaults) {
    clsGrid ll;
    ll.setWidth(3600);
    ll.ReadRegistry();
    EXPECT_TRUE(ll.Vertical && ll.Horizontal && ll.Zone);
    EXPECT_EQ(ll.Width(), 54000);
    EXPECT_EQ(ll.NorthLimit(), 270000);
    EXPECT_EQ(ll.SouthLimit(), -270000);

    clsGrid xy;
    xy.setUnitMode(2);
    xy.Vertical = true;
    xy.ReadRegistry();
    EXPECT_FALSE(xy.Vertical || xy.Horizontal || xy.Zone);
    EXPECT_EQ(xy.Width(), MaxXY / 20);
    EXPECT_EQ(xy.NorthLimit(), MaxXY);
}

TEST_F(Grid, SettingsRoundTripAndAreLimitedOnTheWayIn) {
    clsGrid g;
    g.Vertical = true;
    g.setWidth(7200);
    g.setHeight(3600);
    g.setNorthLimit(300000);
    g.setSouthLimit(-100000);
    g.WriteRegistry();

    const clsRegistry reg(QStringLiteral("LLGRID"));
    const auto table = reg.RegGetSec();
    ASSERT_TRUE(table.has_value());
    QStringList keys;
    for (const auto& [k, v] : *table) keys << k;
    EXPECT_EQ(keys, (QStringList{"UnitMode", "Vertical", "Horizontal", "Zone", "NorthLimit", "SouthLimit", "Width",
                                 "Height"}));
    EXPECT_EQ(reg.RegGet(QStringLiteral("Vertical"), QString()), QStringLiteral("True"));

    clsGrid r;
    r.ReadRegistry();
    EXPECT_TRUE(r.Vertical);
    EXPECT_FALSE(r.Horizontal);
    EXPECT_EQ(r.Width(), 7200);
    EXPECT_EQ(r.Height(), 3600);
    EXPECT_EQ(r.NorthLimit(), 300000);
    EXPECT_EQ(r.SouthLimit(), -100000);

    clsRegistry edit(QStringLiteral("LLGRID"));
    edit.RegPut(QStringLiteral("Width"), QStringLiteral("99999999999"));
    edit.RegPut(QStringLiteral("NorthLimit"), QStringLiteral("-99999999999"));
    edit.RegPut(QStringLiteral("Height"), QStringLiteral("junk"));
    r.ReadRegistry();
    EXPECT_EQ(r.Width(), 324000);
    EXPECT_EQ(r.NorthLimit(), -323970);
    EXPECT_EQ(r.Height(), 54000);
}

TEST_F(Grid, ANamedGraticuleReadsItsModeFromItsOwnSection) {
    clsRegistry(QStringLiteral("XYGRID")).RegPut(QStringLiteral("Width"), 123456);
    clsRegistry named(QStringLiteral("PRJGRID"));
    named.RegPut(QStringLiteral("UnitMode"), 2);
    named.RegPut(QStringLiteral("Width"), 500000);

    clsGrid g;
    g.setName(QStringLiteral("PRJGRID"));
    EXPECT_EQ(g.RegistrySection(), QStringLiteral("PRJGRID"));
    g.ReadRegistry();
    EXPECT_EQ(g.UnitMode(), 2);
    EXPECT_EQ(g.Width(), 500000);
    EXPECT_FALSE(g.Vertical) << "mode 2 defaults";

    // Without a name the mode is not read.
    clsRegistry(QStringLiteral("LLGRID")).RegPut(QStringLiteral("UnitMode"), 2);
    clsGrid plain;
    plain.ReadRegistry();
    EXPECT_EQ(plain.UnitMode(), 1);
}

} // namespace
