#include <gtest/gtest.h>

#include "MapProjection.h"
#include "PrjTestUtil.h"
#include "QStringPrinter.h"
#include "ResString.h"
#include "basGlobe.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <string>

using prjtest::EnvScope;

namespace {

// The catalogue as the wizard shows it, in words; the masks must say the same.
struct Row {
    const char* params;
    const char* shapes;
    const char* props;
    const char* areas;
    int32_t help;
};

const char* const kAll5 = "全世界 大陸程度 高緯度地帯 中緯度地帯 低緯度地帯";

const Row kRows[31] = {
    {},
    {"lon lat rot", "円形", "方位 大圏", "高緯度地帯", 341001},
    {"lon lat rot", "円形", "角度 方位", "大陸程度 高緯度地帯 中緯度地帯", 341002},
    {"lon lat rot light", "円形", "方位", "高緯度地帯", 341003},
    {"lon lat rot light", "円形", "方位", "高緯度地帯", 341004},
    {"lon lat rot", "円形", "方位", "高緯度地帯", 341005},
    {"lon lat rot", "円形", "距離 方位", "全世界 大陸程度 高緯度地帯 中緯度地帯", 341006},
    {"lon lat rot", "円形", "面積 方位", "全世界 大陸程度 高緯度地帯 中緯度地帯", 341007},
    {"lon lat rot", "楕円形", "面積 バランス", "全世界 大陸程度 中緯度地帯 低緯度地帯", 341008},
    {"lon lat rot", "楕円形", "バランス", "全世界 大陸程度 中緯度地帯 低緯度地帯", 341009},
    {"lon lat rot", "長方形", "水平緯線", "低緯度地帯", 342001},
    {"lon lat rot", "長方形", "水平緯線 バランス", kAll5, 342002},
    {"lon lat rot secant", "長方形", "距離 水平緯線", "全世界 大陸程度 中緯度地帯 低緯度地帯", 342003},
    {"lon lat rot", "長方形", "角度 水平緯線", "大陸程度 中緯度地帯 低緯度地帯", 342004},
    {"lon lat rot", "長方形", "水平緯線 バランス", "全世界 大陸程度 中緯度地帯 低緯度地帯", 342005},
    {"lon lat rot secant", "長方形", "面積 水平緯線", "全世界 大陸程度 中緯度地帯 低緯度地帯", 342006},
    {"lon lat rot", "紡錘形", "距離 面積 水平緯線", "全世界 大陸程度 中緯度地帯 低緯度地帯", 342007},
    {"lon lat rot", "楕円形", "面積 水平緯線 バランス", "全世界 大陸程度 中緯度地帯 低緯度地帯", 342008},
    {"lon lat rot", "タル型", "面積 水平緯線 バランス", kAll5, 342009},
    {"lon lat rot", "タル型", "面積 水平緯線 バランス", kAll5, 342010},
    {"lon lat rot", "タル型", "面積 バランス", kAll5, 342011},
    {"lon lat rot cone secant", "扇形", "", "大陸程度 高緯度地帯 中緯度地帯", 343001},
    {"lon lat rot cone", "扇形", "距離 バランス", "大陸程度 高緯度地帯 中緯度地帯", 343002},
    {"lon lat rot cone secant", "扇形", "距離 バランス", "大陸程度 中緯度地帯", 343003},
    {"lon lat rot cone secant", "扇形", "面積 バランス", "大陸程度 中緯度地帯", 343004},
    {"lon lat rot cone secant", "扇形", "角度 バランス", "大陸程度 高緯度地帯 中緯度地帯", 343005},
    {"lon lat rot cone", "紡錘形 その他", "距離 面積", "大陸程度 中緯度地帯", 343006},
    {"lon lat rot", "その他", "距離", "全世界 大陸程度 低緯度地帯", 343007},
    {"lon lat rot gores", "断裂形", "距離 バランス", kAll5, 343008},
    {"", "断裂形", "面積 水平緯線 バランス", kAll5, 344001},
    {"lon lat rot", "タル型", "バランス", kAll5, 344002},
};

const std::map<std::string, int32_t>& bitOfWord() {
    static const std::map<std::string, int32_t> m = {
        {"lon", PrjParamLon},          {"lat", PrjParamLat},           {"rot", PrjParamRotation},
        {"cone", PrjParamCone},        {"secant", PrjParamSecant},     {"light", PrjParamLight},
        {"gores", PrjParamGores},      {"円形", PrjShapeCircle},       {"長方形", PrjShapeRectangle},
        {"扇形", PrjShapeFan},         {"楕円形", PrjShapeEllipse},    {"紡錘形", PrjShapeSpindle},
        {"断裂形", PrjShapeInterrupted}, {"タル型", PrjShapeBarrel},   {"その他", PrjShapeOther},
        {"距離", PrjTrueDistance},     {"面積", PrjTrueArea},          {"角度", PrjTrueAngle},
        {"方位", PrjTrueAzimuth},      {"大圏", PrjTrueGreatCircle},   {"水平緯線", PrjTrueParallels},
        {"バランス", PrjTrueBalance},  {"全世界", PrjAreaWorld},       {"大陸程度", PrjAreaContinent},
        {"高緯度地帯", PrjAreaHighLat}, {"中緯度地帯", PrjAreaMiddleLat}, {"低緯度地帯", PrjAreaLowLat},
    };
    return m;
}

int32_t maskOf(const char* words) {
    int32_t m = 0;
    for (const QString& w : QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        m |= bitOfWord().at(w.toStdString());
    return m;
}

std::vector<int16_t> range(int16_t from, int16_t to) {
    std::vector<int16_t> v(static_cast<size_t>(to - from + 1));
    std::iota(v.begin(), v.end(), from);
    return v;
}

std::vector<PolyPoint> pointsOf(const clsPoly& p) { return {p.Points().begin(), p.Points().end()}; }

} // namespace

TEST(Catalogue, MasksSayWhatTheTableSays) {
    for (int16_t i = 1; i <= 30; ++i) {
        const Row& r = kRows[i];
        const int32_t expected = maskOf(r.params) | maskOf(r.shapes) | maskOf(r.props) | maskOf(r.areas);
        EXPECT_EQ(PrjAttribute(i), expected) << "index " << i;
        EXPECT_EQ(PrjHelpID(i), r.help) << "index " << i;
    }
    for (int16_t i : {int16_t(-1), int16_t(0), int16_t(31), int16_t(32767)}) {
        EXPECT_EQ(PrjAttribute(i), 0);
        EXPECT_EQ(PrjHelpID(i), -1);
        EXPECT_EQ(PrjNameOf(i), QString());
        EXPECT_EQ(PrjPlaneRadius(i, 0, 2), -1);
        EXPECT_TRUE(PrjShadowPolys(i, 0, 0, 2, 12).empty());
        EXPECT_TRUE(PrjSplitLons(i, 12).empty());
        EXPECT_EQ(PrjMaxSecant(i, 0), 0);
    }
}

TEST(Catalogue, ConditionFilter) {
    struct Case {
        int32_t condition;
        std::vector<int16_t> expected;
    };
    const std::vector<Case> cases = {
        {0, range(1, 30)},
        {PrjTrueGreatCircle, {1}},
        {PrjShapeFan, range(21, 25)},
        // Areas and shapes any-of, properties and parameters all-of.
        {PrjShapeCircle | PrjShapeEllipse, {1, 2, 3, 4, 5, 6, 7, 8, 9, 17}},
        {PrjTrueArea | PrjTrueParallels, {15, 16, 17, 18, 19, 29}},
        {PrjAreaLowLat | PrjShapeRectangle, range(10, 15)},
        {PrjAreaWorld | PrjTrueDistance, {6, 12, 16, 27, 28}},
        {PrjParamLight, {3, 4}},
        {PrjParamCone | PrjParamSecant, {21, 23, 24, 25}},
        {PrjTrueAngle | PrjTrueArea, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(PrjListByCondition(c.condition), c.expected) << std::hex << c.condition;
    // A projection with no true property never matches a property request.
    for (int32_t bit = PrjTrueDistance; bit <= PrjTrueBalance; bit <<= 1) {
        const auto l = PrjListByCondition(bit);
        EXPECT_EQ(std::count(l.begin(), l.end(), 21), 0);
    }
}

TEST(Catalogue, NamesFromTheEnvironment) {
    {
        EnvScope env({"PrjName01=心射方位図法", "prjname02=平射", "PrjName12=正距円筒図法", "PrjName13=正距円筒図法"});
        EXPECT_EQ(PrjNameOf(1), QStringLiteral("心射方位図法"));
        EXPECT_EQ(PrjNameOf(2), QStringLiteral("平射"));   // keys ignore case
        EXPECT_EQ(PrjNameOf(7), QStringLiteral("--- 未定義 ---"));
        EXPECT_EQ(PrjIndexOf(QStringLiteral("正距円筒図法")), 12);   // the first match
        EXPECT_EQ(PrjIndexOf(QStringLiteral("--- 未定義 ---")), 3);   // the first missing key
        EXPECT_EQ(PrjIndexOf(QStringLiteral("平射 ")), -1);           // exact comparison
        EXPECT_EQ(PrjIndexOf(QString()), -1);
    }
    EXPECT_EQ(PrjNameOf(30), QStringLiteral("--- 未定義 ---"));   // no environment at all
}

TEST(Catalogue, InstalledNamesMatchTheStringResources) {
    clsEnvironment env;
    env.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/Environment.txt"));
    ASSERT_EQ(env.Load(), 0);
    gvEnvironment = &env;
    std::set<QString> seen;
    for (int16_t i = 1; i <= 30; ++i) {
        const QString name = PrjNameOf(i);
        EXPECT_EQ(name, plat::LoadResString(5000 + i)) << "index " << i;
        EXPECT_EQ(PrjIndexOf(name), i);
        seen.insert(name);
    }
    gvEnvironment = nullptr;
    EXPECT_EQ(seen.size(), 30u);
    EXPECT_EQ(plat::LoadResString(5012), QStringLiteral("正距円筒図法"));
    EXPECT_EQ(plat::LoadResString(5023), QStringLiteral("ドリール正距円錐図法"));
    EXPECT_EQ(plat::LoadResString(5006), QStringLiteral("正距方位図法"));
}

TEST(Catalogue, PlaneExtentAndLatitudeLimits) {
    struct Case {
        int16_t index;
        int32_t cone;
        double light;
        int32_t extent, centerLat, north, south;
    };
    // 3 and 4: 2 arccos(1/2) = 120 degrees less 15", the far side its
    // complement; the halving of the azimuthal extents drops the odd second.
    const Case cases[] = {
        {1, 0, 2, 432000, 0, 324000, 108000},      {2, 0, 2, 648000, 0, 324000, 0},
        {3, 0, 2, 431984, 0, 324000, 108008},      {4, 0, 2, 863984, 0, 324000, -107992},
        {3, 0, 0, 0, 0, 324000, 324000},           {6, 0, 2, 1281600, 0, 324000, -316800},
        {7, 0, 2, 1281600, 0, 324000, -316800},    {8, 0, 2, 648000, 0, 324000, -324000},
        {10, 0, 2, 432000, 500, 216000, -216000},  {13, 0, 2, 612000, 0, 306000, -306000},
        {22, 108000, 2, 486000, 180000, 324000, -162000}, {22, 108000, 2, 486000, -180000, 162000, -324000},
        {25, 216000, 2, 432000, 0, 324000, -108000}, {21, 216002, 2, 431999, 1, 324000, -107999},
        {29, 0, 2, 648000, 0, 324000, -324000},    {30, 0, 2, 648000, 0, 324000, -324000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrjPlaneRadius(c.index, c.cone, c.light), c.extent) << "index " << c.index;
        int32_t n = 1, s = 1;
        EXPECT_TRUE(PrjLatLimit(c.index, c.centerLat, c.cone, c.light, n, s));
        EXPECT_EQ(n, c.north) << "index " << c.index;
        EXPECT_EQ(s, c.south) << "index " << c.index;
    }
}

TEST(Catalogue, EnvironmentOnlyShrinksAzimuthalExtents) {
    struct Case {
        const char* line;
        int16_t index;
        int32_t extent;
    };
    const Case cases[] = {
        {"MainPrjPlaneRadius=300000", 6, 600000}, {"MainPrjPlaneRadius=300000", 2, 600000},
        {"MainPrjPlaneRadius=300000", 1, 432000},    // beyond its half extent: ignored
        {"MainPrjPlaneRadius=300000", 12, 648000},   // not azimuthal
        {"MainPrjPlaneRadius=-1", 6, 1281600},       {"MainPrjPlaneRadius=0", 7, 0},
    };
    for (const Case& c : cases) {
        EnvScope env({QString::fromLatin1(c.line)});
        EXPECT_EQ(PrjPlaneRadius(c.index, 0, 2), c.extent) << c.line << " " << c.index;
        int32_t n = 0, s = 0;
        PrjLatLimit(c.index, 0, 0, 2, n, s);
        EXPECT_EQ(s, c.index <= 7 ? 324000 - c.extent / 2 : -c.extent / 2);
    }
}

TEST(Catalogue, LimitFrames) {
    using Pts = std::vector<PolyPoint>;
    // The circle of the azimuthal ones, 5" inside their limit.
    auto polys = PrjShadowPolys(1, 0, 0, 2, 12);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(pointsOf(polys[0]), (Pts{{-647995, 108005}, {647995, 108005}}));
    // Bands: closed outlines 5" inside the limits, held 30" off the poles.
    polys = PrjShadowPolys(10, 0, 0, 2, 12);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(pointsOf(polys[0]),
              (Pts{{-647995, -215995}, {647995, -215995}, {647995, 215995}, {-647995, 215995}, {-647995, -215995}}));
    for (int16_t i : {11, 12, 14, 15, 18, 19, 20, 24, 30}) {
        polys = PrjShadowPolys(i, -1, 216000, 2, 12);
        ASSERT_EQ(polys.size(), 1u) << i;
        EXPECT_EQ(polys[0].y(1), -323970) << i;
        EXPECT_EQ(polys[0].y(3), i == 24 ? 107995 : 323970) << i;   // 24: a southern cone
    }
    // The outer meridians.
    for (int16_t i : {8, 9, 16, 17, 26, 27}) {
        polys = PrjShadowPolys(i, 0, 0, 2, 12);
        ASSERT_EQ(polys.size(), 2u) << i;
        EXPECT_EQ(pointsOf(polys[0]), (Pts{{-647995, -323970}, {-647995, 323970}}));
        EXPECT_EQ(pointsOf(polys[1]), (Pts{{647995, -323970}, {647995, 323970}}));
    }
    // Both edges of every gore and of every Goode interruption, 10" apart.
    polys = PrjShadowPolys(28, 0, 0, 2, 12);
    ASSERT_EQ(polys.size(), 24u);
    EXPECT_EQ(pointsOf(polys[0]), (Pts{{-594000 - 53995, -323970}, {-594000 - 53995, 323970}}));
    EXPECT_EQ(polys[1].x(1), -594000 + 53995);
    EXPECT_EQ(polys[23].x(1), 594000 + 53995);
    EXPECT_EQ(PrjShadowPolys(28, 0, 0, 2, 36).size(), 72u);
    EXPECT_TRUE(PrjShadowPolys(28, 0, 0, 2, 5).empty());
    EXPECT_TRUE(PrjShadowPolys(28, 0, 0, 2, 37).empty());
    polys = PrjShadowPolys(29, 0, 0, 2, 12);
    ASSERT_EQ(polys.size(), 10u);
    const int32_t xs[10] = {-647995, -360005, -359995, -144005, -143995, -72005, -71995, 287995, 288005, 647995};
    for (int k = 0; k < 10; ++k) {
        const bool north = k == 3 || k == 4, full = k == 0 || k == 9;
        EXPECT_EQ(pointsOf(polys[k]), (Pts{{xs[k], north ? 0 : -323970}, {xs[k], north || full ? 323970 : 0}})) << k;
    }
}

TEST(Catalogue, InterruptionsAndSecants) {
    std::vector<int32_t> lons = PrjSplitLons(28, 12);
    ASSERT_EQ(lons.size(), 13u);
    EXPECT_EQ(lons.front(), -648000);
    EXPECT_EQ(lons[1], -540000);
    EXPECT_EQ(lons.back(), 648000);
    EXPECT_EQ(PrjSplitLons(28, 7)[1], -648000 + 185142);   // 1296000 \ 7
    EXPECT_EQ(PrjSplitLons(28, 1), (std::vector<int32_t>{-648000, 648000}));
    EXPECT_TRUE(PrjSplitLons(28, 0).empty());
    EXPECT_EQ(PrjSplitLons(29, 12), (std::vector<int32_t>{-360000, -144000, -72000, 288000}));
    EXPECT_TRUE(PrjSplitLons(16, 12).empty());

    EXPECT_EQ(PrjMaxSecant(12, 0), 612000);
    EXPECT_EQ(PrjMaxSecant(15, 999999), 612000);
    EXPECT_EQ(PrjMaxSecant(21, 648000), 0);
    EXPECT_EQ(PrjMaxSecant(24, 0), 612000);
    EXPECT_EQ(PrjMaxSecant(25, 216000), 424800);
    EXPECT_EQ(PrjMaxSecant(23, -2147483647 - 1), 612000);
    EXPECT_EQ(PrjMaxSecant(22, 0), 0);
    EXPECT_EQ(PrjMaxSecant(26, 0), 0);
}

TEST(Catalogue, LightHeights) {
    std::vector<double> t = LightHeightTable();
    ASSERT_EQ(t.size(), 161u);
    const std::map<size_t, double> some = {{0, 1e5},   {1, 1.1e5}, {19, 2.9e5}, {20, 3e5},       {21, 3.2e5},
                                           {31, 5.25e5}, {39, 9e5}, {40, 1e6},  {111, 5.25e7}, {160, 1e9}};
    for (auto [i, v] : some) EXPECT_EQ(t[i], v) << i;
    EXPECT_TRUE(std::adjacent_find(t.begin(), t.end(), std::greater_equal<>()) == t.end());   // rising
    // A smaller globe moves the decades: 1.005 radii of 50 km lie 250 m up.
    EnvScope env({"GlobeRadius=50000"});
    InitGlobe();
    t = LightHeightTable();
    gvEnvironment = nullptr;
    InitGlobe();
    ASSERT_EQ(t.size(), 121u);
    EXPECT_EQ(t.front(), 1000);
    EXPECT_EQ(t.back(), 1000000);
}
