#include <gtest/gtest.h>

#include "AppState.h"
#include "MapProjection.h"
#include "QStringPrinter.h"
#include "basGlobe.h"
#include "clsEnvironment.h"

#include <QStringList>

#include <algorithm>
#include <functional>

namespace {

// Runs f with an Environment.txt of the given lines.
void WithEnvironment(const QStringList& lines, const std::function<void()>& f) {
    clsEnvironment env;
    env.LoadLines(lines);
    gvEnvironment = &env;
    f();
    gvEnvironment = nullptr;
}

using Pts = std::vector<PolyPoint>;
Pts pointsOf(const clsPoly& p) { return {p.Points().begin(), p.Points().end()}; }

} // namespace

TEST(Catalogue, HelpTopicsAndNeutralAnswersOutsideTheCatalogue) {
    const std::pair<int16_t, int32_t> help[] = {{1, 341001}, {9, 341009}, {10, 342001}, {20, 342011}, {21, 343001}, {30, 344002}};
    for (auto [i, id] : help) EXPECT_EQ(PrjHelpID(i), id) << i;
    for (int16_t i : {int16_t(-1), int16_t(0), int16_t(31), int16_t(32767)})
        EXPECT_TRUE(PrjAttribute(i) == 0 && PrjHelpID(i) == -1 && PrjNameOf(i).isEmpty() && PrjPlaneRadius(i, 0, 2) == -1 &&
                    PrjShadowPolys(i, 0, 0, 2, 12).empty() && PrjMaxSecant(i, 0) == 0) << i;
}

// The masks, read through the filter the wizard uses: areas and shapes
// any-of, properties and parameters all-of.
TEST(Catalogue, ConditionFilter) {
    const std::pair<int32_t, std::vector<int16_t>> cases[] = {
        {PrjTrueGreatCircle, {1}},       {PrjParamLight, {3, 4}},  {PrjParamGores, {28}},  {PrjTrueAngle | PrjTrueArea, {}},
        {PrjShapeFan, {21, 22, 23, 24, 25}},
        {PrjShapeCircle | PrjShapeEllipse, {1, 2, 3, 4, 5, 6, 7, 8, 9, 17}},
        {PrjTrueArea | PrjTrueParallels, {15, 16, 17, 18, 19, 29}},
        {PrjAreaLowLat | PrjShapeRectangle, {10, 11, 12, 13, 14, 15}},
        {PrjAreaWorld | PrjTrueDistance, {6, 12, 16, 27, 28}},
        {PrjParamCone | PrjParamSecant, {21, 23, 24, 25}},
        {PrjShapeBarrel | PrjShapeOther, {18, 19, 20, 26, 27, 30}},
    };
    for (const auto& [condition, expected] : cases) {
        EXPECT_EQ(PrjListByCondition(condition), expected) << std::hex << condition;
    }
    EXPECT_EQ(PrjListByCondition(0).size(), 30u);
}

TEST(Catalogue, NamesFromTheEnvironment) {
    WithEnvironment({"PrjName01=心射方位図法", "prjname02=平射", "PrjName12=正距円筒図法", "PrjName13=正距円筒図法"}, [] {
        EXPECT_EQ(PrjNameOf(2), QStringLiteral("平射"));             // keys ignore case
        EXPECT_EQ(PrjIndexOf(QStringLiteral("正距円筒図法")), 12);   // the first match
        EXPECT_EQ(PrjIndexOf(QStringLiteral("--- 未定義 ---")), 3);   // the first missing key
        EXPECT_EQ(PrjIndexOf(QStringLiteral("平射 ")), -1);           // exact comparison
    });
    EXPECT_EQ(PrjNameOf(30), QStringLiteral("--- 未定義 ---"));   // no environment at all
}

TEST(Catalogue, PlaneExtentAndLatitudeLimits) {
    // 3 and 4: 2 arccos(1/3) less 15", the far side its complement; halving
    // an azimuthal extent drops an odd second.
    const std::array<int32_t, 7> cases[] = {   // index, cone, light, extent, centre latitude, north, south
        {1, 0, 2, 432000, 0, 324000, 108000},     {3, 0, 3, 507792, 0, 324000, 70104},   {3, 0, 0, 0, 0, 324000, 324000},
        {4, 0, 3, 788178, 0, 324000, -70089},     {8, 0, 2, 648000, 0, 324000, -324000}, {13, 0, 2, 612000, 0, 306000, -306000},
        {10, 0, 2, 432000, 500, 216000, -216000},
        {22, 108000, 2, 486000, 180000, 324000, -162000}, {22, 108000, 2, 486000, -180000, 162000, -324000},
        {25, 216000, 2, 432000, 0, 324000, -108000}, {21, 216002, 2, 431999, 1, 324000, -107999},
    };
    for (const auto& [index, cone, light, extent, centre, north, south] : cases) {
        EXPECT_EQ(PrjPlaneRadius(int16_t(index), cone, light), extent) << index;
        int32_t n = 1, s = 1;
        EXPECT_TRUE(PrjLatLimit(int16_t(index), centre, cone, light, n, s));
        EXPECT_TRUE(n == north && s == south) << index << ": " << n << ", " << s;
    }
    // The environment may shrink an azimuthal extent, never widen it.
    const std::tuple<const char*, int16_t, int32_t> env[] = {
        {"MainPrjPlaneRadius=300000", 6, 600000}, {"MainPrjPlaneRadius=300000", 1, 432000},
        {"MainPrjPlaneRadius=300000", 12, 648000}, {"MainPrjPlaneRadius=-1", 6, 1281600}, {"MainPrjPlaneRadius=0", 7, 0},
    };
    for (const auto& [line, index, extent] : env) {
        WithEnvironment({QString::fromLatin1(line)}, [&, &l = line, i = index, e = extent] { EXPECT_EQ(PrjPlaneRadius(i, 0, 2), e) << l << " " << i; });
    }
}

TEST(Catalogue, LimitFramesAndInterruptions) {
    // 5" inside the limits, 30" off the poles; 24 here a southern cone.
    EXPECT_EQ(pointsOf(PrjShadowPolys(1, 0, 0, 2, 12).at(0)), (Pts{{-647995, 108005}, {647995, 108005}}));
    EXPECT_EQ(pointsOf(PrjShadowPolys(10, 0, 0, 2, 12).at(0)),
              (Pts{{-647995, -215995}, {647995, -215995}, {647995, 215995}, {-647995, 215995}, {-647995, -215995}}));
    EXPECT_EQ(PrjShadowPolys(24, -1, 216000, 2, 12).at(0).y(3), 107995);
    // Both edges of every gore and of every interruption, 10" apart.
    const PolyCollection gores = PrjShadowPolys(28, 0, 0, 2, 12);
    ASSERT_EQ(gores.size(), 24u);
    EXPECT_EQ(pointsOf(gores[0]), (Pts{{-647995, -323970}, {-647995, 323970}}));
    EXPECT_EQ(PrjShadowPolys(28, 0, 0, 2, 36).size(), 72u);
    EXPECT_TRUE(PrjShadowPolys(28, 0, 0, 2, 5).empty() && PrjShadowPolys(28, 0, 0, 2, 37).empty());
    EXPECT_EQ(pointsOf(PrjShadowPolys(29, 0, 0, 2, 12).at(3)), (Pts{{-144005, 0}, {-144005, 323970}}));

    EXPECT_EQ(PrjSplitLons(28, 7)[1], -648000 + 185142);   // 1296000 \ 7
    EXPECT_TRUE(PrjSplitLons(28, 1).size() == 2 && PrjSplitLons(28, 0).empty() && PrjSplitLons(16, 12).empty());
    EXPECT_EQ(PrjSplitLons(29, 12), (std::vector<int32_t>{-360000, -144000, -72000, 288000}));
}

TEST(Catalogue, LargestSecantsAndLightHeights) {
    const std::array<int32_t, 3> secants[] = {{12, 0, 612000}, {15, 999999, 612000}, {21, 648000, 0}, {24, 0, 612000},
                                              {25, 216000, 424800}, {23, INT32_MIN, 612000}, {22, 0, 0}};
    for (auto [index, cone, secant] : secants) EXPECT_EQ(PrjMaxSecant(int16_t(index), cone), secant) << index;

    std::vector<double> t = LightHeightTable();
    ASSERT_EQ(t.size(), 161u);
    const std::pair<size_t, double> some[] = {{0, 1e5}, {1, 1.1e5}, {21, 3.2e5}, {31, 5.25e5}, {111, 5.25e7}, {160, 1e9}};
    for (auto [i, v] : some) EXPECT_EQ(t[i], v) << i;
    EXPECT_TRUE(std::adjacent_find(t.begin(), t.end(), std::greater_equal<>()) == t.end());   // rising
    // A smaller globe moves the decades: 1.005 radii of 50 km lie 250 m up.
    WithEnvironment({"GlobeRadius=50000"}, [&] {
        InitGlobe();
        t = LightHeightTable();
    });
    InitGlobe();
    EXPECT_TRUE(t.size() == 121u && t.front() == 1000 && t.back() == 1000000);
}
