#include "RingGeometry.h"

#include "SecRings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace worldsrc;

namespace {

constexpr int32_t D = SecPerDegree;

SecPolygon Poly(std::initializer_list<SecRing> rings) { return SecPolygon{std::vector<SecRing>(rings)}; }

// A square of 2° across the date line, as Fiji's rings run.
const SecRing AcrossDateLine = Sec({{179, -16}, {-179, -16}, {-179, -18}, {179, -18}, {179, -16}});
// A coast that goes once round the south pole, as Antarctica's does.
const SecRing AroundSouthPole =
    Sec({{-180, -70}, {-90, -72}, {0, -68}, {90, -71}, {180, -70}, {-180, -70}});
// Open to the east: its centroid lies in the gap.
const SecRing CShape = Sec({{20, 0}, {26, 0}, {26, 1}, {21, 1}, {21, 5}, {26, 5}, {26, 6}, {20, 6}, {20, 0}});

} // namespace

TEST(RingGeometry, SecondsRoundHalfToEven) {
    // k/32 degrees is exact in binary and a half arc-second for odd k.
    const SecRing r = ToSeconds({{1.0 / 32, 3.0 / 32}, {-1.0 / 32, -3.0 / 32}, {180, 90}, {-180, -90}});
    EXPECT_EQ(r, (SecRing{{112, 338}, {-112, -338}, {MaxLonSec, MaxLatSec}, {-MaxLonSec, -MaxLatSec}}));
}

TEST(RingGeometry, SecondsDropRepeatsAndRefuseOutOfRange) {
    EXPECT_EQ(ToSeconds({{0, 0}, {0.0001, 0}, {1, 1}, {1, 1}}), (SecRing{{0, 0}, {D, D}}));
    EXPECT_THROW(ToSeconds({{180.001, 0}}), WorldSourceError);
    EXPECT_THROW(ToSeconds({{0, -90.001}}), WorldSourceError);
    EXPECT_THROW(ToSeconds({{NAN, 0}}), WorldSourceError);
}

TEST(RingGeometry, DateLineJumpsAndPoles) {
    EXPECT_EQ(DateLineJumps(CShape), 0);
    EXPECT_EQ(DateLineJumps(AcrossDateLine), 2);
    EXPECT_FALSE(EnclosesPole(AcrossDateLine));
    EXPECT_EQ(DateLineJumps(AroundSouthPole), 1);
    EXPECT_TRUE(EnclosesPole(AroundSouthPole));
}

TEST(RingGeometry, AreaAcrossTheDateLineAndAroundThePole) {
    EXPECT_DOUBLE_EQ(std::fabs(PlanarArea(AcrossDateLine)), 4.0);
    EXPECT_DOUBLE_EQ(std::fabs(PlanarArea(CShape)), 16.0);
    // Closed along the pole: about 360° by 20°.
    EXPECT_NEAR(std::fabs(PlanarArea(AroundSouthPole)), 360.0 * 20, 360.0 * 2);
}

TEST(RingGeometry, ContainsHonoursHolesAndTheDateLine) {
    const SecPolygon framed = Poly({Sec({{40, 0}, {50, 0}, {50, 10}, {40, 10}, {40, 0}}),
                                    Sec({{44, 4}, {46, 4}, {46, 6}, {44, 6}, {44, 4}})});
    EXPECT_TRUE(Contains(framed, {42 * D, 5 * D}));
    EXPECT_FALSE(Contains(framed, {45 * D, 5 * D}));
    EXPECT_FALSE(Contains(framed, {55 * D, 5 * D}));

    const SecPolygon fiji = Poly({AcrossDateLine});
    EXPECT_TRUE(Contains(fiji, {-179 * D - D / 2, -17 * D}));
    EXPECT_TRUE(Contains(fiji, {179 * D + D / 2, -17 * D}));
    EXPECT_FALSE(Contains(fiji, {178 * D, -17 * D}));
}

TEST(RingGeometry, LabelOfAConcaveRingLiesInside) {
    // The centroid (22.375°, 3°) is in the gap; the widest chord through the
    // middle is the C's back.
    const SecPolygon c = Poly({CShape});
    const SecPoint p = LabelPoint({c});
    EXPECT_EQ(p, (SecPoint{20 * D + D / 2, 3 * D}));
    EXPECT_TRUE(Contains(c, p));
}

TEST(RingGeometry, LabelAvoidsAHoleAndTakesTheLargestRing) {
    const SecPolygon small = Poly({Sec({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}})});
    const SecPolygon framed = Poly({Sec({{40, 0}, {50, 0}, {50, 10}, {40, 10}, {40, 0}}),
                                    Sec({{44, 4}, {46, 4}, {46, 6}, {44, 6}, {44, 4}})});
    const SecPoint p = LabelPoint({small, framed});
    EXPECT_EQ(p, (SecPoint{42 * D, 5 * D}));

    const SecPolygon plain = Poly({Sec({{40, 0}, {50, 0}, {50, 10}, {40, 10}, {40, 0}})});
    EXPECT_EQ(LabelPoint({small, plain}), (SecPoint{45 * D, 5 * D}));
    EXPECT_THROW(LabelPoint({}), WorldSourceError);
}

TEST(RingGeometry, LabelAcrossTheDateLineAndAroundThePole) {
    // The centre lies on the date line itself, written as -180°.
    const SecPoint fiji = LabelPoint({Poly({AcrossDateLine})});
    EXPECT_EQ(fiji, (SecPoint{-MaxLonSec, -17 * D}));
    EXPECT_TRUE(Contains(Poly({AcrossDateLine}), fiji));

    const SecPoint south = LabelPoint({Poly({AroundSouthPole})});
    EXPECT_LT(south.lat, -70 * D);
    EXPECT_TRUE(Contains(Poly({AroundSouthPole}), south));
}

TEST(RingGeometry, RingsWithoutArea) {
    // Antarctica's first 1:50m ring runs along one parallel close to the pole.
    EXPECT_TRUE(IsDegenerate(Sec({{-180, -89.999}, {-90, -89.999}, {0, -89.999}, {178.6, -89.999}, {-180, -89.999}})));
    EXPECT_TRUE(IsDegenerate(Sec({{5, 1}, {5, 2}, {5, 3}, {5, 1}})));          // one meridian
    EXPECT_TRUE(IsDegenerate(Sec({{0, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 0}})));  // two corners, out and back
    EXPECT_TRUE(IsDegenerate(Sec({{0, 0}, {1, 1}, {0, 0}})));
    EXPECT_FALSE(IsDegenerate(Sec({{0, 0}, {1, 0}, {1, 1}, {0, 0}})));
    EXPECT_FALSE(IsDegenerate(AroundSouthPole));
    EXPECT_FALSE(IsDegenerate(AcrossDateLine));
}
