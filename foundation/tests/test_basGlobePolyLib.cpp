#include <gtest/gtest.h>

#include "FoundationTest.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basGlobePolyLib.h"
#include "clsSurvey.h"

#include <algorithm>
#include <array>
#include <functional>
#include <cmath>
#include <random>

using namespace ftest;

namespace {

constexpr int32_t D = 3600;
constexpr int32_t L = 648000;   // 180 degrees

// Planar area in the equal-area plane (longitude, sin latitude), square
// metres: the area on the sphere of a ring whose edges are straight there.
// Written here on its own, without the unwrapping or the pole closing of
// clsSurvey::PolyArea.
double EqualAreaOf(const clsPoly& p) {
    double sum = 0;
    const double k = 1 / SecToRadian(1);
    for (int32_t i = 1; i < p.Count(); ++i)
        sum += p.x(i) * std::sin(SecToRadian(p.y(i + 1))) * k - p.x(i + 1) * std::sin(SecToRadian(p.y(i))) * k;
    return std::abs(sum) / 2 * MeterPerSec * MeterPerSec;
}

// Height of a ring in the equal-area plane, in its units (for the strips of
// 1" lost beside each cut).
double EqualAreaHeight(const clsPoly& p) {
    const clsRect b = p.RectBound();
    return (std::sin(SecToRadian(b.y2)) - std::sin(SecToRadian(b.y1))) / SecToRadian(1);
}

// Prepares a ring round refLon; every piece is closed and within one turn,
// and together they keep the ring's area but for the strips of 1" beside
// each cut, 2" at both ends of a pole edge and the 30" round the pole.
PolyCollection PreparedRings(const Pts& ring, int32_t refLon) {
    clsPoly p = Make(ring);
    const PolyCollection rings = GlobePolyRound(p, refLon, false, true);
    EXPECT_EQ(PointsOf(p), ring);   // the given ring is left alone
    double sum = 0, slack = 3000 + 4 * 2 / SecToRadian(1);
    for (const clsPoly& r : rings) {
        EXPECT_TRUE(r.IsLoop());
        EXPECT_GE(r.RectBound().x1, refLon - L);
        EXPECT_LE(r.RectBound().x2, refLon + L);
        sum += EqualAreaOf(r);
        slack += 2 * EqualAreaHeight(r) + 2000;
    }
    clsSurvey s;
    EXPECT_NEAR(sum, s.PolyArea(Make(ring)), slack * MeterPerSec * MeterPerSec) << refLon;
    return rings;
}

} // namespace

TEST(GlobePoly, DistanceOfAnArcToThePole) {
    EXPECT_EQ(DistanceGreatArcToPole(0, 300000, 648000, 300000), 0);   // over the pole
    EXPECT_EQ(DistanceGreatArcToPole(0, -3600, 3600, -7200), 324000 - 7200);   // ending before the vertex
    EXPECT_EQ(DistanceGreatArcToPole(0, 0, 324000, 0), 324000);   // along the equator
    EXPECT_EQ(DistanceGreatArcToPole(0, 324000, 100000, 0), 0);   // from the pole itself
    EXPECT_NEAR(DistanceGreatArcToPole(-162000, 162000, 162000, 162000), 126951.8, 1);   // vertex inside: 90 - atan(sqrt 2)
}

TEST(GlobePoly, PoleChop) {
    // Below 239607 and under 108000 wide: never densified, although its
    // great circle passes within the densifying distance of the pole.
    clsPoly away = Make({{0, 239000}, {107999, 239000}});
    EXPECT_EQ(PointsOf(GlobePolyChopPole(away, 3600, true).at(0)), (Pts{{0, 239000}, {107999, 239000}}));
    const Pts over{{0, 300000}, {L, 300000}};
    clsPoly p = Make(over);
    const PolyCollection pieces = GlobePolyChopPole(p, 3600, true);
    // poly now holds the route in steps of 15" near the pole; the points
    // beyond the limit are dropped, the halves lie on their meridians.
    EXPECT_GT(p.Count(), 3000);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].GetPoint(1), over[0]);
    EXPECT_EQ(pieces[1].GetPoint(pieces[1].Count()), over[1]);
    EXPECT_EQ(pieces[0].RectBound().x2, 0);
    EXPECT_EQ(pieces[1].RectBound().x1, L);
    EXPECT_GT(pieces[0].LastY(), 323970 - 15);
    EXPECT_LE(pieces[0].LastY(), 323970);
    int32_t beyond = 0;
    for (const PolyPoint& pt : p.Points()) beyond += pt.y > 323970;
    EXPECT_EQ(pieces[0].Count() + pieces[1].Count(), p.Count() - beyond);
    clsPoly c = Make(over);   // without splitting: held at the limit
    const PolyCollection held = GlobePolyChopPole(c, 3600, false);
    ASSERT_EQ(held.size(), 1u);
    for (int32_t i = 1; i <= c.Count(); ++i) EXPECT_EQ(held[0].y(i), std::min(c.y(i), 323970)) << i;
    // Some 5 degrees from the pole the edge is sampled at the step, 30..10800.
    for (auto [step, want] : {std::pair{0, 30}, {1000000, 10800}}) {
        clsPoly e = Make({{0, 280000}, {300000, 280000}});
        GlobePolyChopPole(e, step, true);
        clsSurvey s;
        s.SetAll(e.x(2), e.y(2), e.x(3), e.y(3));
        EXPECT_NEAR(s.ArcRadian() / SecToRadian(1), want, 1.5) << step;
    }
    clsPoly one = Make({{5, 5}}), none;
    EXPECT_TRUE(GlobePolyChopPole(one, 3600, true).empty());
    for (const auto& f : std::initializer_list<std::function<void()>>{
             [&] { GlobePolyChopPole(none, 3600, true); }, [&] { GlobePolyRollOver(none, 0, true); },
             [&] { GlobePolyGreatCircle(none, 3600); }, [&] { GlobePolyRound(none, 0, false, true); }})
        EXPECT_EQ(ErrorOf(f).number(), plat::ErrSubscript);
    EXPECT_FALSE(GlobePolyRollBound(none, 0));
}

TEST(GlobePoly, RollOverAndRollBound) {
    const struct {
        Pts in;
        int32_t refLon;
        bool closed, changed;
        Pts out;
    } cases[] = {
        // An open line across 180 degrees once: unwrapped, no pole edge.
        {{{640000, 0}, {-640000, 0}, {-630000, 10}}, 0, false, true, {{640000, 0}, {656000, 0}, {666000, 10}}},
        // A ring across it and back (Fiji): no pole edge.
        {{{644400, -57600}, {-644400, -57600}, {-644400, -64800}, {644400, -64800}, {644400, -57600}}, 0, true, true,
         {{644400, -57600}, {651600, -57600}, {651600, -64800}, {644400, -64800}, {644400, -57600}}},
        {{{0, 0}, {3600, 0}, {3600, 3600}, {0, 0}}, 0, true, false, {{0, 0}, {3600, 0}, {3600, 3600}, {0, 0}}},
        {{{-324000, 0}, {324000, 0}}, 0, false, true, {{-324000, 0}, {-972000, 0}}},   // half a turn crosses
        {{{1400000, 0}, {1400100, 0}}, 0, false, true, {{104000, 0}, {104100, 0}}},     // a turn towards refLon
        {{{1400000, 0}, {1400100, 0}}, 1296000, false, false, {{1400000, 0}, {1400100, 0}}},
        // Round a pole: restarted at the vertex nearest it, down (or up) to
        // the limit, along it and closed, a hair (4") less than a turn wide.
        {{{0, 288000}, {324000, 270000}, {647000, 288000}, {-324000, 270000}, {0, 288000}}, 0, true, true,
         {{2, 288000}, {324000, 270000}, {647000, 288000}, {972000, 270000}, {1295998, 288000}, {1295998, 323970},
          {2, 323970}, {2, 288000}}},
        {{{0, -270000}, {-324000, -280000}, {-647000, -270000}, {324000, -270000}, {0, -270000}}, 0, true, true,
         {{971998, -280000}, {649000, -270000}, {324000, -270000}, {0, -270000}, {-323998, -280000},
          {-323998, -323970}, {971998, -323970}, {971998, -280000}}},
    };
    for (const auto& c : cases) {
        clsPoly p = Make(c.in);
        p.setModify(true);
        EXPECT_EQ(GlobePolyRollOver(p, c.refLon, c.closed), c.changed) << c.in[0].x;
        EXPECT_EQ(p.Modify(), c.changed);
        EXPECT_EQ(PointsOf(p), c.out) << c.in[0].x;
    }
    // The first point beyond refLon +- 648000 decides, whatever the others are.
    clsPoly q = Make({{100000, 0}, {-100000, 0}, {900000, 0}});
    EXPECT_TRUE(GlobePolyRollBound(q, 100000));
    EXPECT_EQ(PointsOf(q), (Pts{{100000 - 1296000, 0}, {-100000 - 1296000, 0}, {900000 - 1296000, 0}}));
    clsPoly inside = Make({{-L, 0}, {L, 0}});
    EXPECT_FALSE(GlobePolyRollBound(inside, 0));
}

TEST(GlobePoly, RingAcrossTheDateLineIsCutIntoTwoRings) {
    const Pts fiji{{644400, -57600}, {-644400, -57600}, {-644400, -64800}, {644400, -64800}, {644400, -57600}};
    // The same ring started on 180 degrees itself (it then runs 180 -> 179 ...).
    const Pts onLine{{L, -64800}, {644400, -64800}, {644400, -57600}, {-644400, -57600}, {-644400, -64800}, {L, -64800}};
    clsSurvey s;
    const double area = s.PolyArea(Make(fiji));
    for (const Pts& ring : {fiji, onLine}) {
        const PolyCollection rings = PreparedRings(ring, 0);
        ASSERT_EQ(rings.size(), 2u);
        const clsRect a = rings[0].RectBound(), b = rings[1].RectBound();
        EXPECT_TRUE((a.x2 == L - 1 && b.x1 == -L + 1) || (b.x2 == L - 1 && a.x1 == -L + 1));
        const double strips = 2 * EqualAreaHeight(rings[0]) * MeterPerSec * MeterPerSec;
        EXPECT_NEAR(EqualAreaOf(rings[0]) + EqualAreaOf(rings[1]), area - strips, area * 1e-9);
    }
    // Degenerate: along a parallel near the pole and back, as the world data
    // has a ring of Antarctica, and a ring on 180 degrees itself stay whole.
    Pts along;
    for (int32_t x = -L; x <= L; x += 36000) along.push_back({x, -323996});
    for (int32_t x = L - 36000; x >= -L; x -= 36000) along.push_back({x, -323996});
    const Pts onMeridian{{L, 0}, {L, 3600}, {L, 7200}, {L, 0}};
    EXPECT_EQ(EqualAreaOf(PreparedRings(along, 0).at(0)), 0.0);
    EXPECT_EQ(PointsOf(PreparedRings(onMeridian, 0).at(0)), onMeridian);
}

TEST(GlobePoly, RingRoundTheSouthPoleIsClosedAlongThePole) {
    // A coast once round the south pole, from -180 to 180 degrees and back to
    // its start, as the world data has it; and the same with the pole
    // written out, down 180 degrees, along the pole and up -180 degrees.
    Pts coast;
    for (int32_t k = 0; k <= 360; ++k) coast.push_back({-L + k * D, -252000 - (k % 7) * 1800});
    coast.push_back(coast.front());
    Pts withPole(coast.begin(), coast.end() - 1);
    withPole.insert(withPole.end(), {{L, -324000}, {-L, -324000}, coast.front()});
    clsSurvey s;
    EXPECT_NEAR(s.PolyArea(Make(withPole)), s.PolyArea(Make(coast)), s.PolyArea(Make(coast)) * 1e-9);
    for (const Pts& ring : {coast, withPole}) {
        for (int32_t refLon : {0, 100000, -L}) {
            int poleEdges = 0;
            for (const clsPoly& r : PreparedRings(ring, refLon))
                for (int32_t i = 1; i < r.Count(); ++i) poleEdges += r.y(i) == -323970 && r.y(i + 1) == -323970 && r.x(i) != r.x(i + 1);
            EXPECT_GE(poleEdges, 1) << refLon;
        }
    }
}

TEST(GlobePoly, RouteAcrossTheDateLineAndOverThePole) {
    clsSurvey s;
    s.SetAll(600000, 100000, -600000, 120000);
    clsPoly route = s.RoutePoly(3600);
    const PolyCollection pieces = GlobePolyRound(route, 0, true, false);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].LastX(), L - 1);
    EXPECT_EQ(pieces[1].GetPoint(1), (PolyPoint{-L + 1, pieces[0].LastY()}));
    EXPECT_EQ(pieces[1].GetPoint(pieces[1].Count()), (PolyPoint{-600000, 120000}));
    s.SetAll(100000, 250000, 100000 - L, 260000);   // over the north pole: a half on each meridian
    clsPoly over = s.RoutePoly(3600);
    for (const clsPoly& h : GlobePolyRound(over, 0, true, false)) EXPECT_EQ(h.RectBound().x1, h.RectBound().x2);
}

TEST(GlobePoly, CuttingKeepsTheAreaOfRandomRings) {
    std::mt19937 rng(29);
    std::uniform_real_distribution<double> u(0, 1);
    for (int round = 0; round < 60; ++round) {
        // A wobbly ring round a pole in steps of at most 3 degrees; its
        // latitude waves a whole number of times round, so that the closing
        // edge is short as well.
        Pts ring;
        const int32_t start = static_cast<int32_t>(u(rng) * 1296000) - L;
        const double base = (60 + 20 * u(rng)) * D, waves = 1 + std::floor(4 * u(rng));
        for (int32_t x = 0; x < 1296000; x += static_cast<int32_t>((1 + 2 * u(rng)) * D)) {
            const double lat = base + 3 * D * std::sin(waves * x * 2 * M_PI / 1296000) + (u(rng) - 0.5) * 0.4 * D;
            ring.push_back({start + x > L ? start + x - 1296000 : start + x, (round % 2 ? 1 : -1) * static_cast<int32_t>(lat)});
        }
        ring.push_back(ring.front());
        EXPECT_FALSE(PreparedRings(ring, round % 3 == 0 ? 0 : static_cast<int32_t>((u(rng) - 0.5) * 1296000)).empty()) << round;
    }
}

TEST(GlobePoly, GreatCircleKeepsTheGivenPoints) {
    const Pts pts{{0, 0}, {324500, 0}, {324500, 162300}, {324500, 162300}};
    const clsPoly g = GlobePolyGreatCircle(Make(pts), 3600);
    // 90 samples along the equator, 45 up the meridian, the repeated point.
    ASSERT_EQ(g.Count(), 1 + 90 + 1 + 45 + 1 + 1);
    for (int32_t i = 1; i <= 91; ++i) EXPECT_EQ(g.GetPoint(i), (PolyPoint{(i - 1) * D, 0})) << i;
    EXPECT_EQ(g.GetPoint(92), pts[1]);
    for (int32_t j = 1; j <= 45; ++j) EXPECT_EQ(g.GetPoint(92 + j), (PolyPoint{324500, j * D})) << j;
    EXPECT_EQ(g.GetPoint(139), pts[3]);
    // The step is clamped to 15..324000.
    EXPECT_EQ(PointsOf(GlobePolyGreatCircle(Make({{0, 0}, {50, 0}}), 0)), (Pts{{0, 0}, {15, 0}, {30, 0}, {45, 0}, {50, 0}}));
}
