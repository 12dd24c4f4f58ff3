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
    EXPECT_TRUE(g.ColVlineX().empty() && g.ColHlineY().empty() && g.ColZoneLineY().empty());
    g.Vertical = true;
    Ints all;
    for (int32_t x = -648000; x <= 648000; x += 54000) all.push_back(x);
    EXPECT_EQ(g.ColVlineX(), all) << "25 meridians, 648000 kept";

    g.setUnitMode(3);
    EXPECT_EQ(g.UnitMode(), 1);
    g.setUnitMode(2);
    EXPECT_TRUE(g.Vertical) << "the switches stay";
    EXPECT_EQ(g.Width(), MaxXY / 20);
    EXPECT_EQ(g.SouthLimit(), -MaxXY);
    EXPECT_EQ(g.Area(), clsRect(-MaxXY, -MaxXY, MaxXY, MaxXY));
    EXPECT_EQ(g.RegistrySection(), QStringLiteral("XYGRID"));
}

TEST_F(Grid, SettersLimitByUnitMode) {
    using Set = std::function<void(clsGrid&, int32_t)>;
    using Get = std::function<int32_t(const clsGrid&)>;
    const Set width = [](clsGrid& g, int32_t v) { g.setWidth(v); };
    const Set north = [](clsGrid& g, int32_t v) { g.setNorthLimit(v); };
    const Set west = [](clsGrid& g, int32_t v) { g.setWest(v); };
    const Get getWidth = [](const clsGrid& g) { return g.Width(); };
    const Get getNorth = [](const clsGrid& g) { return g.NorthLimit(); };
    const Get getWest = [](const clsGrid& g) { return g.West(); };
    const struct {
        const char* what;
        int32_t mode;
        Set set;
        Get get;
        int32_t in, stored;
    } cases[] = {
        {"interval below", 1, width, getWidth, 10, 60},
        {"interval above", 1, width, getWidth, 500000, 324000},
        {"limit above", 1, north, getNorth, 400000, 323970},
        {"limit below", 1, north, getNorth, INT32_MIN, -323970},
        {"longitude past 180", 1, west, getWest, 700000, 700000 - 1296000},
        {"longitude 180 stays", 1, west, getWest, 648000, 648000},
        {"longitude, whole turns", 1, west, getWest, -648001 - 2 * 1296000, 647999},
        {"XY interval below", 2, width, getWidth, 1, MaxXY / 40000},
        {"XY interval above", 2, width, getWidth, INT32_MAX, MaxXY / 4},
        {"XY limit", 2, north, getNorth, INT32_MAX, MaxXY},
        {"XY x position", 2, west, getWest, INT32_MIN, -MaxXY},
    };
    for (const auto& c : cases) {
        clsGrid g;
        g.setUnitMode(c.mode);
        c.set(g, c.in);
        EXPECT_EQ(c.get(g), c.stored) << c.what;
    }
    clsGrid g;
    g.setArea(clsRect(-700000, -400000, 100, 400000));
    EXPECT_EQ(g.Area(), clsRect(596000, -323970, 100, 323970)) << "each corner through its setter";
}

TEST_F(Grid, VerticalLinePositions) {
    const struct {
        const char* what;
        int32_t mode, west, east, width;
        Ints expected;
    } cases[] = {
        {"across the date line", 1, 600000, -600000, 54000, {594000, 648000}},
        {"the first line rounds toward zero", 1, 10000, 120000, 54000, {0, 54000, 108000}},
        {"negative west rounds toward zero", 1, -120000, -10000, 54000, {-108000, -54000, 0}},
        {"past 180 comes back negative", 1, 600000, -590000, 36000, {576000, 612000, 648000, -612000}},
        {"equal ends take a whole turn", 1, 0, 0, 324000, {0, 324000, 648000, -324000, 0}},
        {"plane", 2, -50000, 50000, 40000, {-40000, 0, 40000}},
    };
    for (const auto& c : cases) {
        clsGrid g;
        g.setUnitMode(c.mode);
        g.Vertical = true;
        g.setWidth(c.width);
        g.setWest(c.west);
        g.setEast(c.east);
        EXPECT_EQ(g.ColVlineX(), c.expected) << c.what;
    }
}

TEST_F(Grid, HorizontalAndZoneLinesStayWithinLimitsAndArea) {
    clsEnvironment env;
    env.LoadLines({QStringLiteral("AxialTilt=90000")});
    clsGrid g;
    g.Horizontal = g.Zone = true;
    g.setNorthLimit(200000);
    g.setSouthLimit(-200000);
    EXPECT_EQ(g.ColHlineY(), (Ints{-162000, -108000, -54000, 0, 54000, 108000, 162000}));
    EXPECT_EQ(g.ColZoneLineY(), (Ints{-84360, 84360}));
    g.setSouth(30000);
    g.setNorth(400000);
    EXPECT_EQ(g.VLineNorth(), 200000);
    EXPECT_EQ(g.ColHlineY(), (Ints{0, 54000, 108000, 162000}));
    EXPECT_EQ(g.ColZoneLineY(), (Ints{84360}));

    gvEnvironment = &env;
    clsGrid tilted;
    tilted.Zone = true;
    EXPECT_EQ(tilted.ColZoneLineY(), (Ints{-234000, -90000, 90000, 234000}));
    tilted.setUnitMode(2);
    EXPECT_TRUE(tilted.ColZoneLineY().empty()) << "no zone lines on a plane";
}

TEST_F(Grid, SettingsRoundTripWithModeDefaultsAndLimits) {
    clsGrid ll;
    ll.setWidth(3600);
    ll.ReadRegistry();
    EXPECT_TRUE(ll.Vertical && ll.Horizontal && ll.Zone) << "empty store, mode 1";
    EXPECT_EQ(ll.Width(), 54000);
    clsGrid xy;
    xy.setUnitMode(2);
    xy.Vertical = true;
    xy.ReadRegistry();
    EXPECT_FALSE(xy.Vertical || xy.Horizontal || xy.Zone) << "empty store, mode 2";

    ll.Horizontal = false;
    ll.setWidth(7200);
    ll.setSouthLimit(-100000);
    ll.WriteRegistry();
    clsRegistry reg(QStringLiteral("LLGRID"));
    const auto table = reg.RegGetSec();
    ASSERT_TRUE(table);
    QStringList keys;
    for (const auto& [k, v] : *table) keys << k + QLatin1Char('=') + v;
    EXPECT_EQ(keys, (QStringList{"UnitMode=1", "Vertical=True", "Horizontal=False", "Zone=True", "NorthLimit=270000",
                                 "SouthLimit=-100000", "Width=7200", "Height=54000"}));
    reg.RegPut(QStringLiteral("Height"), QStringLiteral("99999999999"));
    reg.RegPut(QStringLiteral("NorthLimit"), QStringLiteral("junk"));
    clsGrid back;
    back.ReadRegistry();
    EXPECT_FALSE(back.Horizontal);
    EXPECT_EQ(back.Width(), 7200);
    EXPECT_EQ(back.SouthLimit(), -100000);
    EXPECT_EQ(back.Height(), 324000) << "limited on the way in";
    EXPECT_EQ(back.NorthLimit(), 270000) << "unreadable: the default";
}

TEST_F(Grid, OnlyANamedGraticuleReadsItsModeFromItsOwnSection) {
    clsRegistry named(QStringLiteral("PRJGRID"));
    named.RegPut(QStringLiteral("UnitMode"), 2);
    named.RegPut(QStringLiteral("Width"), 500000);
    clsRegistry(QStringLiteral("LLGRID")).RegPut(QStringLiteral("UnitMode"), 2);
    clsGrid g;
    g.setName(QStringLiteral("PRJGRID"));
    g.ReadRegistry();
    EXPECT_EQ(g.UnitMode(), 2);
    EXPECT_EQ(g.Width(), 500000);
    const clsGrid copy = g.Copy();
    EXPECT_EQ(copy.RegistrySection(), QStringLiteral("PRJGRID"));
    EXPECT_EQ(copy.Width(), 500000) << "set after the mode, so not reset by it";
    clsGrid plain;
    plain.ReadRegistry();
    EXPECT_EQ(plain.UnitMode(), 1);
}

} // namespace
