#include "RingGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace worldsrc;

namespace {

// Fixtures in degrees, through the conversion tested first.
constexpr int32_t D = SecPerDegree;

SecPolygon Poly(std::initializer_list<SecRing> rings) { return SecPolygon{std::vector<SecRing>(rings)}; }

// A square of 2° across the date line, as Fiji's rings run.
const SecRing AcrossDateLine = ToSeconds({{179, -16}, {-179, -16}, {-179, -18}, {179, -18}, {179, -16}});
// A coast that goes once round the south pole, as Antarctica's does.
const SecRing AroundSouthPole =
    ToSeconds({{-180, -70}, {-90, -72}, {0, -68}, {90, -71}, {180, -70}, {-180, -70}});
// Open to the east: its centroid lies in the gap.
const SecRing CShape = ToSeconds({{20, 0}, {26, 0}, {26, 1}, {21, 1}, {21, 5}, {26, 5}, {26, 6}, {20, 6}, {20, 0}});
// A square with a square hole.
const SecPolygon Framed = Poly({ToSeconds({{40, 0}, {50, 0}, {50, 10}, {40, 10}, {40, 0}}),
                                ToSeconds({{44, 4}, {46, 4}, {46, 6}, {44, 6}, {44, 4}})});

} // namespace

// Rounded half to even (k/32 degrees is exact in binary and a half
// arc-second for odd k), repeats dropped, out of range refused.
TEST(RingGeometry, Seconds) {
    const SecRing r = ToSeconds({{1.0 / 32, 3.0 / 32}, {-1.0 / 32, -3.0 / 32}, {180, 90}, {-180, -90}});
    EXPECT_EQ(r, (SecRing{{112, 338}, {-112, -338}, {MaxLonSec, MaxLatSec}, {-MaxLonSec, -MaxLatSec}}));
    EXPECT_EQ(ToSeconds({{0, 0}, {0.0001, 0}, {1, 1}, {1, 1}}), (SecRing{{0, 0}, {D, D}}));
    for (DegPoint bad : {DegPoint{180.001, 0}, DegPoint{0, -90.001}, DegPoint{NAN, 0}}) EXPECT_THROW(ToSeconds({bad}), WorldSourceError);
}

TEST(RingGeometry, DateLineJumpsPolesAndArea) {
    EXPECT_TRUE(DateLineJumps(CShape) == 0 && DateLineJumps(AcrossDateLine) == 2 && DateLineJumps(AroundSouthPole) == 1);
    EXPECT_TRUE(EnclosesPole(AroundSouthPole) && !EnclosesPole(AcrossDateLine));
    EXPECT_DOUBLE_EQ(std::fabs(PlanarArea(AcrossDateLine)), 4.0);
    EXPECT_DOUBLE_EQ(std::fabs(PlanarArea(CShape)), 16.0);
    // Closed along the pole: about 360° by 20°.
    EXPECT_NEAR(std::fabs(PlanarArea(AroundSouthPole)), 360.0 * 20, 360.0 * 2);
}

TEST(RingGeometry, ContainsHonoursHolesAndTheDateLine) {
    EXPECT_TRUE(Contains(Framed, {42 * D, 5 * D}));
    EXPECT_FALSE(Contains(Framed, {45 * D, 5 * D}) || Contains(Framed, {55 * D, 5 * D}));
    const SecPolygon fiji = Poly({AcrossDateLine});
    EXPECT_TRUE(Contains(fiji, {-179 * D - D / 2, -17 * D}) && Contains(fiji, {179 * D + D / 2, -17 * D}));
    EXPECT_FALSE(Contains(fiji, {178 * D, -17 * D}));
}

TEST(RingGeometry, LabelPoints) {
    // Concave: the centroid (22.375°, 3°) is in the gap; the widest chord
    // through the middle is the C's back.
    EXPECT_EQ(LabelPoint({Poly({CShape})}), (SecPoint{20 * D + D / 2, 3 * D}));
    // Off a hole, in the largest ring.
    const SecPolygon small = Poly({ToSeconds({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}})});
    EXPECT_EQ(LabelPoint({small, Framed}), (SecPoint{42 * D, 5 * D}));

    const SecPolygon plain = Poly({ToSeconds({{40, 0}, {50, 0}, {50, 10}, {40, 10}, {40, 0}})});
    EXPECT_EQ(LabelPoint({small, plain}), (SecPoint{45 * D, 5 * D}));
    EXPECT_THROW(LabelPoint({}), WorldSourceError);
    // Across the date line the centre lies on it, written as -180°.
    const SecPoint fiji = LabelPoint({Poly({AcrossDateLine})});
    EXPECT_EQ(fiji, (SecPoint{-MaxLonSec, -17 * D}));
    EXPECT_TRUE(Contains(Poly({AcrossDateLine}), fiji));

    const SecPoint south = LabelPoint({Poly({AroundSouthPole})});
    EXPECT_LT(south.lat, -70 * D);
    EXPECT_TRUE(Contains(Poly({AroundSouthPole}), south));
}

TEST(RingGeometry, RingsWithoutArea) {
    // Antarctica's first 1:50m ring runs along one parallel close to the pole.
    EXPECT_TRUE(IsDegenerate(ToSeconds({{-180, -89.999}, {-90, -89.999}, {0, -89.999}, {178.6, -89.999}, {-180, -89.999}})));
    EXPECT_TRUE(IsDegenerate(ToSeconds({{5, 1}, {5, 2}, {5, 3}, {5, 1}})));          // one meridian
    EXPECT_TRUE(IsDegenerate(ToSeconds({{0, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 0}})));  // two corners, out and back
    EXPECT_TRUE(IsDegenerate(ToSeconds({{0, 0}, {1, 1}, {0, 0}})));
    EXPECT_FALSE(IsDegenerate(ToSeconds({{0, 0}, {1, 0}, {1, 1}, {0, 0}})));
    EXPECT_FALSE(IsDegenerate(AroundSouthPole));
    EXPECT_FALSE(IsDegenerate(AcrossDateLine));
}
