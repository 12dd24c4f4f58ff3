#include <gtest/gtest.h>

#include "AppError.h"
#include "PolyTestData.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basGlobePolyLib.h"
#include "clsSurvey.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace polytest;

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
    for (int32_t i = 1; i < p.Count(); ++i) {
        const double x1 = p.x(i), y1 = std::sin(SecToRadian(p.y(i))) * k;
        const double x2 = p.x(i + 1), y2 = std::sin(SecToRadian(p.y(i + 1))) * k;
        sum += x1 * y2 - x2 * y1;
    }
    return std::abs(sum) / 2 * MeterPerSec * MeterPerSec;
}

// Height of a ring in the equal-area plane, in its units (for the strips of
// 1" lost beside each cut).
double EqualAreaHeight(const clsPoly& p) {
    const clsRect b = p.RectBound();
    return (std::sin(SecToRadian(b.y2)) - std::sin(SecToRadian(b.y1))) / SecToRadian(1);
}

void ExpectPreparedRings(const PolyCollection& rings, int32_t refLon, const char* what) {
    for (const clsPoly& r : rings) {
        EXPECT_TRUE(r.IsLoop()) << what;
        const clsRect b = r.RectBound();
        EXPECT_GE(b.x1, refLon - L) << what;
        EXPECT_LE(b.x2, refLon + L) << what;
    }
}

// Angle from the nearer pole to the great-circle arc, found by sampling the
// arc finely, in arc-seconds.
double SampledPoleDistance(const PolyPoint& p, const PolyPoint& q) {
    auto unit = [](const PolyPoint& a) {
        const double l = SecToRadian(a.x), f = SecToRadian(a.y);
        return std::vector<double>{std::cos(f) * std::cos(l), std::cos(f) * std::sin(l), std::sin(f)};
    };
    const std::vector<double> a = unit(p), b = unit(q);
    const double th = std::acos(std::clamp(a[0] * b[0] + a[1] * b[1] + a[2] * b[2], -1.0, 1.0));
    double best = 1e9;
    const int n = 200000;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const double u = std::sin((1 - t) * th) / std::sin(th), v = std::sin(t * th) / std::sin(th);
        const double z = u * a[2] + v * b[2];
        best = std::min(best, (M_PI / 2 - std::asin(std::min(1.0, std::fabs(z)))) / SecToRadian(1));
    }
    return best;
}

int ErrorNumberOf(const std::function<void()>& f, QString* source = nullptr) {
    try {
        f();
    } catch (const plat::AppError& e) {
        if (source) *source = e.source();
        return e.number();
    }
    return 0;
}

} // namespace

// ---------------------------------------------------------------- pole distance

TEST(GlobePoly, DistanceOfAnArcToThePole) {
    // Over the pole; ending before the vertex; along the equator.
    EXPECT_EQ(DistanceGreatArcToPole(0, 300000, 648000, 300000), 0);
    EXPECT_EQ(DistanceGreatArcToPole(0, 0, 3600, 3600), 324000 - 3600);
    EXPECT_EQ(DistanceGreatArcToPole(0, -3600, 3600, -7200), 324000 - 7200);
    EXPECT_EQ(DistanceGreatArcToPole(0, 0, 324000, 0), 324000);
    // From the pole itself.
    EXPECT_EQ(DistanceGreatArcToPole(0, 324000, 100000, 0), 0);

    std::mt19937 rng(2);
    std::uniform_int_distribution<int32_t> lon(-L, L), lat(-300000, 300000);
    for (int i = 0; i < 40; ++i) {
        const PolyPoint p{lon(rng), lat(rng)}, q{lon(rng), lat(rng)};
        clsSurvey s;
        s.SetAll(p.x, p.y, q.x, q.y);
        if (s.ArcRadian() > 3.1) continue;
        EXPECT_NEAR(DistanceGreatArcToPole(p.x, p.y, q.x, q.y), SampledPoleDistance(p, q), 2.0)
            << p.x << " " << p.y << " " << q.x << " " << q.y;
    }
}

// ---------------------------------------------------------------- pole chop

TEST(GlobePoly, EdgesAwayFromThePolesStayAsTheyAre) {
    // Below 239607 and under 108000 wide: never densified, although its
    // great circle passes within the densifying distance of the pole.
    ASSERT_LT(DistanceGreatArcToPole(0, 239000, 107999, 239000), 84394);
    clsPoly p = Make({{0, 239000}, {107999, 239000}});
    PolyCollection pieces = GlobePolyChopPole(p, 3600, true);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(PointsOf(pieces[0]), (Pts{{0, 239000}, {107999, 239000}}));
    EXPECT_EQ(PointsOf(p), PointsOf(pieces[0]));

    // Wide but along the equator: far from the poles.
    clsPoly q = Make({{0, 0}, {200000, 0}});
    EXPECT_EQ(PointsOf(GlobePolyChopPole(q, 3600, true).at(0)), (Pts{{0, 0}, {200000, 0}}));
}

TEST(GlobePoly, EdgeOverThePoleIsSplitOrClamped) {
    const Pts over{{0, 300000}, {L, 300000}};
    clsPoly p = Make(over);
    p.setModify(false);
    const PolyCollection pieces = GlobePolyChopPole(p, 3600, true);
    // poly now holds the route in steps of 15", the 3" round the pole left out.
    EXPECT_TRUE(p.Modify());
    EXPECT_GT(p.Count(), 3000);
    EXPECT_EQ(p.GetPoint(1), over[0]);
    EXPECT_EQ(p.GetPoint(p.Count()), over[1]);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].GetPoint(1), over[0]);
    EXPECT_EQ(pieces[1].GetPoint(pieces[1].Count()), over[1]);
    for (const PolyPoint& pt : pieces[0].Points()) EXPECT_EQ(pt.x, 0);
    for (const PolyPoint& pt : pieces[1].Points()) EXPECT_EQ(std::abs(pt.x), L);
    EXPECT_GT(pieces[0].LastY(), 323970 - 15);
    EXPECT_LE(pieces[0].LastY(), 323970);
    EXPECT_LE(pieces[1].y(1), 323970);
    // Exactly the points beyond the limit are dropped.
    int32_t beyond = 0;
    for (const PolyPoint& pt : p.Points()) beyond += pt.y > 323970;
    EXPECT_GT(beyond, 0);
    EXPECT_EQ(pieces[0].Count() + pieces[1].Count(), p.Count() - beyond);

    clsPoly c = Make(over);
    const PolyCollection held = GlobePolyChopPole(c, 3600, false);
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].Count(), c.Count());
    int atLimit = 0;
    for (int32_t i = 1; i <= c.Count(); ++i) {
        EXPECT_EQ(held[0].y(i), std::min(c.y(i), 323970)) << i;
        atLimit += held[0].y(i) == 323970;
    }
    EXPECT_GE(atLimit, 2);
}

TEST(GlobePoly, ChopStepIsClamped) {
    // An edge passing some 5 degrees from the pole: sampled at the step,
    // 30..10800.
    for (auto [step, want] : {std::pair{0, 30}, {1000000, 10800}, {600, 600}}) {
        clsPoly p = Make({{0, 280000}, {300000, 280000}});
        ASSERT_GT(DistanceGreatArcToPole(0, 280000, 300000, 280000), 900);
        GlobePolyChopPole(p, step, true);
        clsSurvey s;
        for (int32_t i = 2; i < p.Count() - 1; ++i) {
            s.SetAll(p.x(i), p.y(i), p.x(i + 1), p.y(i + 1));
            EXPECT_NEAR(s.ArcRadian() / SecToRadian(1), want, 1.5) << step << " " << i;
        }
    }
}

TEST(GlobePoly, ChopOfOnePointOrNone) {
    clsPoly one = Make({{5, 5}});
    EXPECT_TRUE(GlobePolyChopPole(one, 3600, true).empty());
    EXPECT_EQ(one.Count(), 1);

    QString source;
    clsPoly none;
    EXPECT_EQ(ErrorNumberOf([&] { GlobePolyChopPole(none, 3600, true); }, &source), 9);
    EXPECT_TRUE(source.contains(QStringLiteral("basGlobePolyLib.GlobePolyChopPole"))) << source.toStdString();
    EXPECT_EQ(ErrorNumberOf([&] { GlobePolyRollOver(none, 0, true); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { GlobePolyGreatCircle(none, 3600); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { GlobePolyRound(none, 0, false, true); }), 9);
    EXPECT_FALSE(GlobePolyRollBound(none, 0));
}

// ---------------------------------------------------------------- roll over

TEST(GlobePoly, RollOverUnwrapsLinesAndRingsThatComeBack) {
    // An open line across 180 degrees once: unwrapped, no pole edge.
    clsPoly line = Make({{640000, 0}, {-640000, 0}, {-630000, 10}});
    EXPECT_TRUE(GlobePolyRollOver(line, 0, false));
    EXPECT_EQ(PointsOf(line), (Pts{{640000, 0}, {656000, 0}, {666000, 10}}));

    // A closed ring across it and back (Fiji): offset 0 at the end, no pole edge.
    clsPoly fiji = Make({{644400, -57600}, {-644400, -57600}, {-644400, -64800}, {644400, -64800}, {644400, -57600}});
    EXPECT_TRUE(GlobePolyRollOver(fiji, 0, true));
    EXPECT_EQ(PointsOf(fiji),
              (Pts{{644400, -57600}, {651600, -57600}, {651600, -64800}, {644400, -64800}, {644400, -57600}}));

    // Nothing to do: False and not modified.
    clsPoly calm = Make({{0, 0}, {3600, 0}, {3600, 3600}, {0, 0}});
    calm.setModify(true);
    EXPECT_FALSE(GlobePolyRollOver(calm, 0, true));
    EXPECT_FALSE(calm.Modify());

    // A step of exactly half a turn counts as crossing.
    clsPoly half = Make({{-324000, 0}, {324000, 0}});
    EXPECT_TRUE(GlobePolyRollOver(half, 0, false));
    EXPECT_EQ(PointsOf(half), (Pts{{-324000, 0}, {-972000, 0}}));
}

TEST(GlobePoly, RingRoundAPoleIsClosedAlongTheLimit) {
    // Three points more: down (or up) to the limit, along it, and the closing
    // point; the ring a hair (4") less than a turn wide.
    struct Case {
        const char* what;
        Pts ring;
        Pts result;
    } cases[] = {
        {"north, starting at its northernmost vertex",
         {{0, 288000}, {324000, 270000}, {647000, 288000}, {-324000, 270000}, {0, 288000}},
         {{2, 288000}, {324000, 270000}, {647000, 288000}, {972000, 270000}, {1295998, 288000},
          {1295998, 323970}, {2, 323970}, {2, 288000}}},
        {"north, restarted at its northernmost vertex",
         {{0, 270000}, {324000, 270000}, {647000, 288000}, {-324000, 270000}, {0, 270000}},
         {{-648998, 288000}, {-324000, 270000}, {0, 270000}, {324000, 270000}, {646998, 288000},
          {646998, 323970}, {-648998, 323970}, {-648998, 288000}}},
        {"south, running west, restarted at its southernmost vertex",
         {{0, -270000}, {-324000, -280000}, {-647000, -270000}, {324000, -270000}, {0, -270000}},
         {{971998, -280000}, {649000, -270000}, {324000, -270000}, {0, -270000}, {-323998, -280000},
          {-323998, -323970}, {971998, -323970}, {971998, -280000}}},
    };
    for (const Case& c : cases) {
        clsPoly p = Make(c.ring);
        EXPECT_TRUE(GlobePolyRollOver(p, 0, true)) << c.what;
        EXPECT_EQ(PointsOf(p), c.result) << c.what;
    }
}

TEST(GlobePoly, RollOverBringsTheSequenceNearTheReference) {
    clsPoly far = Make({{1400000, 0}, {1400100, 0}});
    EXPECT_TRUE(GlobePolyRollOver(far, 0, false));
    EXPECT_EQ(PointsOf(far), (Pts{{104000, 0}, {104100, 0}}));
    clsPoly kept = Make({{1400000, 0}, {1400100, 0}});
    EXPECT_FALSE(GlobePolyRollOver(kept, 1296000, false));
    clsPoly low = Make({{0, 0}, {-1300000, 0}});   // unwrapped to 0, -4000
    GlobePolyRollOver(low, -1296000 * 2, false);
    EXPECT_EQ(PointsOf(low), (Pts{{-1296000, 0}, {-1300000, 0}}));
}

TEST(GlobePoly, RollBound) {
    // The first point beyond refLon +- 648000 decides, whatever the others are.
    clsPoly p = Make({{-700000, 0}, {700000, 5}});
    EXPECT_TRUE(GlobePolyRollBound(p, 0));
    EXPECT_EQ(PointsOf(p), (Pts{{596000, 0}, {1996000, 5}}));
    clsPoly q = Make({{100000, 0}, {-100000, 0}, {900000, 0}});
    EXPECT_TRUE(GlobePolyRollBound(q, 100000));
    EXPECT_EQ(PointsOf(q), (Pts{{100000 - 1296000, 0}, {-100000 - 1296000, 0}, {900000 - 1296000, 0}}));
    clsPoly inside = Make({{-L, 0}, {L, 0}});
    inside.setModify(false);
    EXPECT_FALSE(GlobePolyRollBound(inside, 0));
    EXPECT_FALSE(inside.Modify());
}

// ---------------------------------------------------------------- the whole preparation

TEST(GlobePoly, RingAcrossTheDateLineIsCutIntoTwoRings) {
    const Pts fiji{{644400, -57600}, {-644400, -57600}, {-644400, -64800}, {644400, -64800}, {644400, -57600}};
    // The same ring started on 180 degrees itself (it then runs 180 -> 179 ...).
    const Pts onLine{{L, -64800}, {644400, -64800}, {644400, -57600}, {-644400, -57600}, {-644400, -64800},
                     {L, -64800}};
    clsSurvey s;
    const double area = s.PolyArea(Make(fiji));
    for (const Pts& ring : {fiji, onLine}) {
        clsPoly p = Make(ring);
        const PolyCollection rings = GlobePolyRound(p, 0, false, true);
        ASSERT_EQ(rings.size(), 2u);
        ExpectPreparedRings(rings, 0, "fiji");
        EXPECT_EQ(PointsOf(p), ring);   // the given ring is left alone
        const clsRect a = rings[0].RectBound(), b = rings[1].RectBound();
        EXPECT_TRUE((a.x2 == L - 1 && b.x1 == -L + 1) || (b.x2 == L - 1 && a.x1 == -L + 1));
        const double sum = EqualAreaOf(rings[0]) + EqualAreaOf(rings[1]);
        const double strips = 2 * EqualAreaHeight(rings[0]) * MeterPerSec * MeterPerSec;
        EXPECT_NEAR(sum, area - strips, area * 1e-9);
    }
}

TEST(GlobePoly, RingRoundTheSouthPoleIsClosedAlongThePole) {
    // A coast once round the south pole, from -180 to 180 degrees and back to
    // its start, as the world data has it; and the same with the pole
    // written out, down 180 degrees, along the pole and up -180 degrees.
    Pts coast;
    for (int32_t k = 0; k <= 360; ++k) coast.push_back({-L + k * D, -252000 - (k % 7) * 1800});
    coast.push_back(coast.front());
    Pts withPole(coast.begin(), coast.end() - 1);
    withPole.push_back({L, -324000});
    withPole.push_back({-L, -324000});
    withPole.push_back(coast.front());

    clsSurvey s;
    const double area = s.PolyArea(Make(coast));
    const double cap = 2 * M_PI * GlobeRadius * GlobeRadius * (1 - std::sin(SecToRadian(252000)));
    EXPECT_LT(area, cap);   // the coast lies south of 70 S
    EXPECT_GT(area, 0.8 * cap);
    EXPECT_NEAR(s.PolyArea(Make(withPole)), area, area * 1e-9);

    for (const Pts& ring : {coast, withPole}) {
        for (int32_t refLon : {0, 100000, -L}) {
            clsPoly p = Make(ring);
            const PolyCollection rings = GlobePolyRound(p, refLon, false, true);
            ASSERT_GE(rings.size(), 1u);
            ExpectPreparedRings(rings, refLon, "south pole");
            double sum = 0;
            int poleEdges = 0;
            for (const clsPoly& r : rings) {
                sum += EqualAreaOf(r);
                for (int32_t i = 1; i < r.Count(); ++i)
                    poleEdges += r.y(i) == -323970 && r.y(i + 1) == -323970 && r.x(i) != r.x(i + 1);
            }
            EXPECT_GE(poleEdges, 1);
            // Lost: 1" beside each cut, 2" at both ends of the pole edge,
            // and the 30" round the pole.
            const double slack = (4 * 2 / SecToRadian(1) * double(rings.size() + 1) + 3000) * MeterPerSec * MeterPerSec;
            EXPECT_NEAR(sum, area, slack) << refLon;
            EXPECT_LT(std::abs(sum - area) / area, 2e-5);
        }
    }
}

TEST(GlobePoly, DegenerateRingsStayWhole) {
    // Along a parallel near the pole from -180 to 180 degrees and back, as
    // the world data has a ring of Antarctica; and a ring lying on 180
    // degrees itself.
    Pts along;
    for (int32_t x = -L; x <= L; x += 36000) along.push_back({x, -323996});
    for (int32_t x = L - 36000; x >= -L; x -= 36000) along.push_back({x, -323996});
    const Pts onMeridian{{L, 0}, {L, 3600}, {L, 7200}, {L, 0}};
    for (const Pts& ring : {along, onMeridian}) {
        clsPoly p = Make(ring);
        const PolyCollection rings = GlobePolyRound(p, 0, false, true);
        ASSERT_EQ(rings.size(), 1u);
        ExpectPreparedRings(rings, 0, "degenerate");
        EXPECT_EQ(EqualAreaOf(rings[0]), 0.0);
    }
    clsPoly q = Make(onMeridian);
    EXPECT_EQ(PointsOf(GlobePolyRound(q, 0, false, true).at(0)), onMeridian);
}

TEST(GlobePoly, RouteAcrossTheDateLineAndOverThePole) {
    clsSurvey s;
    s.SetAll(600000, 100000, -600000, 120000);
    clsPoly route = s.RoutePoly(3600);
    const PolyCollection pieces = GlobePolyRound(route, 0, true, false);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].GetPoint(1), (PolyPoint{600000, 100000}));
    EXPECT_EQ(pieces[0].LastX(), L - 1);
    EXPECT_EQ(pieces[1].x(1), -L + 1);
    EXPECT_EQ(pieces[1].y(1), pieces[0].LastY());
    EXPECT_EQ(pieces[1].GetPoint(pieces[1].Count()), (PolyPoint{-600000, 120000}));

    // Over the north pole: split there, each half on its own meridian.
    s.SetAll(100000, 250000, 100000 - L, 260000);
    clsPoly over = s.RoutePoly(3600);
    const PolyCollection halves = GlobePolyRound(over, 0, true, false);
    ASSERT_EQ(halves.size(), 2u);
    for (const clsPoly& h : halves) {
        const clsRect b = h.RectBound();
        EXPECT_EQ(b.x1, b.x2);
        EXPECT_LE(b.y2, 323970);
    }
}

TEST(GlobePoly, CuttingKeepsTheAreaOfRandomRings) {
    std::mt19937 rng(29);
    std::uniform_real_distribution<double> u(0, 1);
    clsSurvey s;
    for (int round = 0; round < 120; ++round) {
        clsPoly ring;
        if (round % 2) {
            // A wobbly ring round a pole in steps of at most 3 degrees.
            // Its latitude waves a whole number of times round, so that the
            // closing edge is short as well.
            const int sign = round % 4 == 1 ? 1 : -1;
            const int32_t start = static_cast<int32_t>(u(rng) * 1296000) - L;
            const double base = (60 + 20 * u(rng)) * D, waves = 1 + std::floor(4 * u(rng));
            for (int32_t x = 0; x < 1296000; x += static_cast<int32_t>((1 + 2 * u(rng)) * D)) {
                const int32_t lat = static_cast<int32_t>(base + 3 * D * std::sin(waves * x * 2 * M_PI / 1296000) +
                                                         (u(rng) - 0.5) * 0.4 * D);
                int32_t lon = start + x;
                if (lon > L) lon -= 1296000;
                ring.AddXandY(lon, sign * lat);
            }
        } else {
            // A star of short edges round a centre near 180 degrees.
            const int32_t cx = L - static_cast<int32_t>((u(rng) - 0.5) * 16 * D);
            const int32_t cy = static_cast<int32_t>((u(rng) - 0.5) * 80 * D);
            for (int k = 0; k < 48; ++k) {
                const double a = k * 2 * M_PI / 48, r = (7 + 1.5 * u(rng)) * D;
                int32_t x = cx + static_cast<int32_t>(r * std::cos(a) / std::cos(SecToRadian(cy)));
                if (x > L) x -= 1296000;
                ring.AddXandY(x, cy + static_cast<int32_t>(r * std::sin(a)));
            }
        }
        ring.MakeLoop();
        const double area = s.PolyArea(ring);
        const int32_t refLon = round % 3 == 0 ? 0 : static_cast<int32_t>((u(rng) - 0.5) * 1296000);
        clsPoly p = ring.Copy();
        const PolyCollection rings = GlobePolyRound(p, refLon, false, true);
        ASSERT_FALSE(rings.empty()) << round;
        ExpectPreparedRings(rings, refLon, "random");
        double sum = 0, slack = 3000;
        for (const clsPoly& r : rings) {
            sum += EqualAreaOf(r);
            slack += 2 * EqualAreaHeight(r) + 2000;
        }
        if (round % 2) slack += 4 * 2 / SecToRadian(1);
        EXPECT_NEAR(sum, area, slack * MeterPerSec * MeterPerSec) << round;
    }
}

// ---------------------------------------------------------------- great circles

TEST(GlobePoly, GreatCircleKeepsTheGivenPoints) {
    const Pts pts{{0, 0}, {324500, 0}, {324500, 162300}, {324500, 162300}};
    const clsPoly given = Make(pts);
    const clsPoly g = GlobePolyGreatCircle(given, 3600);
    EXPECT_EQ(PointsOf(given), pts);
    // 90 samples along the equator, 45 up the meridian, the repeated point.
    ASSERT_EQ(g.Count(), 1 + 90 + 1 + 45 + 1 + 1);
    for (int32_t i = 1; i <= 91; ++i) EXPECT_EQ(g.GetPoint(i), (PolyPoint{(i - 1) * D, 0})) << i;
    EXPECT_EQ(g.GetPoint(92), pts[1]);
    for (int32_t j = 1; j <= 45; ++j) EXPECT_EQ(g.GetPoint(92 + j), (PolyPoint{324500, j * D})) << j;
    EXPECT_EQ(g.GetPoint(138), pts[2]);
    EXPECT_EQ(g.GetPoint(139), pts[3]);
    // The step is clamped to 15..324000.
    EXPECT_EQ(PointsOf(GlobePolyGreatCircle(Make({{0, 0}, {50, 0}}), 0)), (Pts{{0, 0}, {15, 0}, {30, 0}, {45, 0}, {50, 0}}));
    EXPECT_EQ(GlobePolyGreatCircle(Make({{5, 5}}), 3600).Count(), 1);
}
