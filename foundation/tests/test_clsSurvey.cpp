#include <gtest/gtest.h>

#include "AppError.h"
#include "PolyTestData.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "clsSurvey.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <random>
#include <vector>

using namespace polytest;

namespace {

constexpr int32_t D = 3600;   // arc-seconds per degree
constexpr long double kPiL = 3.141592653589793238462643383279503L;

long double RadL(int64_t sec) { return static_cast<long double>(sec) * SecToRadian(1); }

// The haversine formula in extended precision on the same sphere.
long double Haversine(int32_t lon1, int32_t lat1, int32_t lon2, int32_t lat2) {
    const long double f1 = RadL(lat1), f2 = RadL(lat2), dl = RadL(int64_t{lon2} - lon1);
    const long double a = std::sin((f2 - f1) / 2), b = std::sin(dl / 2);
    const long double h = a * a + std::cos(f1) * std::cos(f2) * b * b;
    return 2 * std::asin(std::sqrt(std::min(h, 1.0L)));
}

struct Vec {
    long double x, y, z;
};

Vec UnitL(int32_t lon, int32_t lat) {
    const long double l = RadL(lon), f = RadL(lat);
    return {std::cos(f) * std::cos(l), std::cos(f) * std::sin(l), std::sin(f)};
}

long double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Spherical excess of a great-circle triangle (the tangent formula of the
// solid angle), in steradians.
long double Excess(const PolyPoint& p, const PolyPoint& q, const PolyPoint& r) {
    const Vec a = UnitL(p.x, p.y), b = UnitL(q.x, q.y), c = UnitL(r.x, r.y);
    const Vec bc{b.y * c.z - b.z * c.y, b.z * c.x - b.x * c.z, b.x * c.y - b.y * c.x};
    return 2 * std::atan2(std::fabs(Dot(a, bc)), 1 + Dot(a, b) + Dot(b, c) + Dot(c, a));
}

double R2() { return GlobeRadius * GlobeRadius; }

std::string Sci(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3e", v);
    return buf;
}

// A ring along a parallel, once round the globe from -180 degrees, with
// vertices every `every` arc-seconds; the jump back to -180 closes it.
clsPoly Parallel(int32_t lat, int32_t every, bool eastwards = true) {
    clsPoly p;
    for (int32_t x = -648000; x <= 648000; x += every) p.AddXandY(x, lat);
    p.AddXandY(-648000, lat);
    if (!eastwards) p.Reverse();
    return p;
}

clsPoly Rotated(const clsPoly& ring, int32_t k) {
    // Start at point k of a closed ring (1 < k < Count).
    clsPoly r;
    for (int32_t i = k; i <= ring.Count(); ++i) r.AddPoint(ring.GetPoint(i));
    for (int32_t i = 2; i <= k; ++i) r.AddPoint(ring.GetPoint(i));
    return r;
}

} // namespace

// ---------------------------------------------------------------- arc

TEST(Survey, ArcAgreesWithHaversine) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> lon(-648000, 648000), lat(-324000, 324000), near(-40, 40);
    double worst = 0;
    clsSurvey s;
    for (int i = 0; i < 20000; ++i) {
        const int32_t x1 = lon(rng), y1 = lat(rng);
        // Half the pairs far apart, half within a few arc-seconds.
        int32_t x2, y2;
        if (i % 2) {
            x2 = lon(rng);
            y2 = lat(rng);
        } else {
            x2 = x1 + near(rng);
            y2 = std::clamp(y1 + near(rng), -324000, 324000);
        }
        s.SetAll(x1, y1, x2, y2);
        const long double ref = Haversine(x1, y1, x2, y2);
        if (ref > kPiL - 1e-3L) continue;   // haversine itself is unsound there
        const double arc = s.ArcRadian();
        if (ref == 0) {
            EXPECT_EQ(arc, 0.0);
            continue;
        }
        const double rel = static_cast<double>(std::fabs((arc - ref) / ref));
        worst = std::max(worst, rel);
        ASSERT_LT(rel, 1e-9) << x1 << " " << y1 << " " << x2 << " " << y2;
        EXPECT_DOUBLE_EQ(s.ArcDistance(), arc * GlobeRadius);
    }
    RecordProperty("worst_relative_error", Sci(worst));
    EXPECT_LT(worst, 1e-12);
}

TEST(Survey, ArcOfExactCases) {
    clsSurvey s;
    // One arc-second along the equator and along a meridian, half a turn
    // along the equator, pole to pole, and coincident points.
    s.SetAll(0, 0, 1, 0);
    EXPECT_NEAR(s.ArcRadian(), SecToRadian(1), 1e-22);
    s.SetAll(100, 200000, 100, 200001);
    EXPECT_NEAR(s.ArcRadian(), SecToRadian(1), 1e-22);
    // Half a turn is 648000 seconds of the angle model, its pi.
    const double pi = SecToRadian(648000);
    s.SetAll(-10, 0, 648000 - 10, 0);
    EXPECT_NEAR(s.ArcRadian(), pi, 1e-15);
    s.SetAll(5, 324000, 77, -324000);
    EXPECT_NEAR(s.ArcRadian(), pi, 1e-15);
    s.SetAll(123, -4567, 123, -4567);
    EXPECT_EQ(s.ArcRadian(), 0.0);
    // Longitudes a turn apart are the same point, to the precision of the
    // model's turn.
    s.SetAll(-648000, 1000, 648000, 1000);
    EXPECT_NEAR(s.ArcRadian(), 0.0, 1e-14);
}

// ---------------------------------------------------------------- azimuth

TEST(Survey, AzimuthAtPolesAntipodesAndCoincidentPoints) {
    struct Case {
        const char* what;
        int32_t lon1, lat1, lon2, lat2;
        double az;
    } cases[] = {
        {"point 1 on the north pole", 0, 324000, 1000, 0, M_PI},
        {"point 1 within 3\" of it", 0, 323997, 1000, 0, M_PI},
        {"point 2 on the south pole", 1000, 100, 0, -324000, M_PI},
        {"point 1 on the south pole", 0, -324000, 1000, 0, 0},
        {"point 2 on the north pole", 1000, 100, 0, 324000, 0},
        {"point 2 within 3\" of it", 1000, 100, 0, 323997, 0},
        {"both on the north pole: the first rule wins", 0, 324000, 9, 324000, M_PI},
        {"coincident points", 5000, 6000, 5000, 6000, 0},
        {"antipodal points", 324000, 0, -324000, 0, 0},
        {"antipodal off the equator", 100000, 50000, 100000 - 648000, -50000, 0},
        {"east along the equator", 0, 0, 3600, 0, M_PI / 2},
        {"south", 0, 0, 0, -3600, M_PI},
        {"west", 0, 0, -3600, 0, 3 * M_PI / 2},
        {"north across the date line", 647000, 0, -647000, 0, M_PI / 2},
    };
    clsSurvey s;
    for (const Case& c : cases) {
        s.SetAll(c.lon1, c.lat1, c.lon2, c.lat2);
        EXPECT_NEAR(s.DirectionRadian(), c.az, 1e-13) << c.what;
    }
}

TEST(Survey, AzimuthAgreesWithTheTangentFormula) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int32_t> lon(-648000, 648000), lat(-320000, 320000);
    clsSurvey s;
    for (int i = 0; i < 5000; ++i) {
        s.SetAll(lon(rng), lat(rng), lon(rng), lat(rng));
        const double arc = s.ArcRadian();
        if (arc < 1e-4 || arc > M_PI - 1e-4) continue;
        const long double f1 = RadL(s.Lat1), f2 = RadL(s.Lat2), dl = RadL(int64_t{s.Lon2} - s.Lon1);
        long double ref = std::atan2(std::sin(dl) * std::cos(f2),
                                     std::cos(f1) * std::sin(f2) - std::sin(f1) * std::cos(f2) * std::cos(dl));
        if (ref < 0) ref += 2 * kPiL;
        const double az = s.DirectionRadian();
        EXPECT_GE(az, 0.0);
        EXPECT_LT(az, 2 * M_PI);
        EXPECT_NEAR(az, static_cast<double>(ref), 1e-12) << i;
    }
}

// ---------------------------------------------------------------- direct problem

TEST(Survey, SettersMovePointTwo) {
    clsSurvey s;
    s.SetAll(0, 0, 3600, 0);   // 1 degree east
    s.setDirectionRadian(0);   // now 1 degree north
    EXPECT_EQ(s.Lon2, 0);
    EXPECT_EQ(s.Lat2, 3600);
    s.setArcRadian(SecToRadian(36000));
    EXPECT_EQ(s.Lon2, 0);
    EXPECT_EQ(s.Lat2, 36000);
    s.setDirectionRadian(M_PI / 2);
    EXPECT_EQ(s.Lon2, 36000);
    EXPECT_EQ(s.Lat2, 0);

    // Arcs outside 0..pi change nothing.
    for (double bad : {-0.1, 3.2, M_PI, std::nan("")}) {
        s.setArcRadian(bad);
        EXPECT_EQ(s.Lon2, 36000) << bad;
        EXPECT_EQ(s.Lat2, 0) << bad;
    }

    // Over the north pole: the new point's latitude folds and its longitude
    // lies on the far meridian.
    s.SetAll(100000, 300000, 100000, 310000);
    s.setArcRadian(SecToRadian(60000));
    EXPECT_EQ(s.Lat2, 288000);   // 300000 + 60000 folded
    EXPECT_EQ(s.Lon2, 100000 - 648000);
}

TEST(Survey, DirectThenInverseWithinTheRounding) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> lon(-648000, 648000), lat(-300000, 300000);
    std::uniform_real_distribution<double> arc(0.01, 3.0), az(0, 2 * M_PI);
    clsSurvey s;
    for (int i = 0; i < 2000; ++i) {
        s.SetAll(lon(rng), lat(rng), 0, 0);
        const double a = arc(rng), b = az(rng);
        // Any point 2 at the wanted arc; then turn it to the wanted azimuth.
        s.Lon2 = s.Lon1;
        s.Lat2 = s.Lat1 > 0 ? s.Lat1 - 1 : s.Lat1 + 1;
        s.setArcRadian(a);
        s.setDirectionRadian(b);
        // The new point is rounded to whole seconds: within 0.71" of the exact one.
        EXPECT_NEAR(s.ArcRadian(), a, 1.5 * SecToRadian(1)) << i;
        const double tolAz = SecToRadian(1) / std::sin(a) / std::cos(SecToRadian(s.Lat1)) + 1e-12;
        double d = std::fabs(s.DirectionRadian() - b);
        d = std::min(d, 2 * M_PI - d);
        EXPECT_LT(d, tolAz) << i;
    }
}

// ---------------------------------------------------------------- route

TEST(Survey, RouteStepsAndEnds) {
    clsSurvey s;
    s.SetAll(0, 0, 310, 0);
    const clsPoly r15 = s.RoutePoly(0);   // step 15
    ASSERT_EQ(r15.Count(), 22);
    for (int32_t i = 1; i <= 21; ++i) EXPECT_EQ(r15.GetPoint(i), (PolyPoint{15 * (i - 1), 0})) << i;
    EXPECT_EQ(r15.GetPoint(22), (PolyPoint{310, 0}));

    // Antipodes: north over the pole, with the largest step (90 degrees).
    // The sample on the pole is skipped; a third of the step later (120
    // degrees from the start) one is kept on the far meridian.
    s.SetAll(0, 0, 648000, 0);
    const clsPoly big = s.RoutePoly(1000000);
    ASSERT_EQ(big.Count(), 3);
    EXPECT_EQ(std::abs(big.x(2)), 648000);
    EXPECT_EQ(big.y(2), 216000);
    EXPECT_EQ(big.GetPoint(3), (PolyPoint{648000, 0}));

    s.SetAll(7, 8, 7, 8);
    EXPECT_EQ(PointsOf(s.RoutePoly(100)), (Pts{{7, 8}, {7, 8}}));

    // Point 2 is appended as held, even where it is no normalised angle.
    s.SetAll(0, 0, 1296100, 0);
    const clsPoly wrapped = s.RoutePoly(15);
    ASSERT_EQ(wrapped.Count(), 8);
    EXPECT_EQ(wrapped.GetPoint(7), (PolyPoint{90, 0}));
    EXPECT_EQ(wrapped.GetPoint(8), (PolyPoint{1296100, 0}));
}

TEST(Survey, RouteAcrossAPoleSkipsItsNeighbourhood) {
    // From 323010 in steps of 15 the 66th sample falls on the pole: it is
    // skipped, and the next is taken 5" further, on the far meridian.
    clsSurvey s;
    s.SetAll(0, 323010, 648000, 323010);
    const clsPoly r = s.RoutePoly(15);
    int32_t k = 0;
    for (int32_t i = 1; i <= r.Count(); ++i) {
        EXPECT_LE(r.y(i), 323997) << i;
        EXPECT_TRUE(r.x(i) == 0 || std::abs(r.x(i)) == 648000) << r.x(i);
        if (r.y(i) == 323985) k = i;
    }
    ASSERT_GT(k, 0);
    EXPECT_EQ(r.x(k), 0);
    EXPECT_EQ(std::abs(r.x(k + 1)), 648000);
    EXPECT_EQ(r.y(k + 1), 323995);
    EXPECT_EQ(r.y(k + 2), 323980);
}

TEST(Survey, RoutePointsLieOnTheGreatCircle) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int32_t> lon(-648000, 648000), lat(-320000, 320000);
    clsSurvey s, t;
    for (int i = 0; i < 50; ++i) {
        s.SetAll(lon(rng), lat(rng), lon(rng), lat(rng));
        const double arc = s.ArcRadian();
        const clsPoly r = s.RoutePoly(3600);
        EXPECT_EQ(r.GetPoint(1), (PolyPoint{s.Lon1, s.Lat1}));
        EXPECT_EQ(r.GetPoint(r.Count()), (PolyPoint{s.Lon2, s.Lat2}));
        EXPECT_NEAR(r.Count(), std::ceil(arc / SecToRadian(3600)) + 1, 1) << i;
        for (int32_t k = 2; k < r.Count(); ++k) {
            t.SetAll(s.Lon1, s.Lat1, r.x(k), r.y(k));
            const double a = t.ArcRadian();
            t.SetAll(r.x(k), r.y(k), s.Lon2, s.Lat2);
            // Off the circle by the rounding alone: the detour stays below 1".
            EXPECT_NEAR(a + t.ArcRadian(), arc, SecToRadian(1)) << i << " " << k;
            EXPECT_NEAR(a, SecToRadian(3600) * (k - 1), SecToRadian(1)) << i << " " << k;
        }
    }
}

// ---------------------------------------------------------------- length

TEST(Survey, PolyLengthAndTheFieldsItLeaves) {
    clsSurvey s;
    s.SetAll(1, 2, 3, 4);
    EXPECT_EQ(s.PolyLength(nullptr), 0.0);
    EXPECT_EQ(s.PolyLength(clsPoly()), 0.0);
    EXPECT_EQ(s.PolyLength(Make({{9, 9}})), 0.0);
    EXPECT_EQ(s.Lon1, 1);   // nothing loaded
    EXPECT_EQ(s.Lat2, 4);

    // Equator to pole along a meridian in ten legs: a quarter circumference.
    clsPoly meridian;
    for (int32_t y = 0; y <= 324000; y += 32400) meridian.AddXandY(500000, y);
    EXPECT_NEAR(s.PolyLength(meridian), M_PI / 2 * GlobeRadius, 1e-6);
    EXPECT_EQ(s.Lon1, 500000);
    EXPECT_EQ(s.Lat1, 291600);
    EXPECT_EQ(s.Lat2, 324000);

    // A leg across the date line is the short way.
    EXPECT_NEAR(s.PolyLength(Make({{647000, 0}, {-647000, 0}})), SecToRadian(2000) * GlobeRadius, 1e-6);
}

// ---------------------------------------------------------------- area

TEST(Survey, AreaOfTooFewPointsIsZero) {
    clsSurvey s;
    EXPECT_EQ(s.PolyArea(nullptr), 0.0);
    EXPECT_EQ(s.PolyArea(clsPoly()), 0.0);
    EXPECT_EQ(s.PolyArea(Make({{0, 0}, {36000, 36000}})), 0.0);
    // Out and back along one edge: its great circle is sampled the same way
    // both times.
    EXPECT_NEAR(s.PolyArea(Make({{0, 0}, {36000, 36000}, {0, 0}})), 0.0, 1e-3);
}

TEST(Survey, AreaOfCapsBoundedByAParallel) {
    clsSurvey s;
    for (int32_t lat : {288000, 36000, 0, -216000, 323000}) {
        for (int32_t every : {3600, 18000}) {
            for (bool east : {true, false}) {
                const double phi = std::fabs(SecToRadian(lat));
                const double cap = 2 * M_PI * R2() * (1 - std::sin(phi));
                const double area = s.PolyArea(Parallel(lat, every, east));
                EXPECT_NEAR(area / cap, 1.0, 1e-12) << lat << " " << every << " " << east;
            }
        }
    }
}

TEST(Survey, CapFromAnyStartAndAcrossTheDateLine) {
    // The same cap, its ring starting in the middle of the Pacific and
    // crossing 180 degrees between two vertices.
    clsSurvey s;
    clsPoly ring;
    for (int32_t k = 0; k < 360; ++k) {
        int32_t x = 646200 + k * D;
        if (x > 648000) x -= 1296000;
        ring.AddXandY(x, 252000);
    }
    const double cap = 2 * M_PI * R2() * (1 - std::sin(SecToRadian(252000)));
    EXPECT_NEAR(s.PolyArea(ring) / cap, 1.0, 1e-12);   // open: closed by the area
    ring.MakeLoop();
    EXPECT_NEAR(s.PolyArea(ring) / cap, 1.0, 1e-12);
    EXPECT_EQ(s.Lon1, ring.x(360));   // the closing edge was loaded last
    EXPECT_EQ(s.Lon2, ring.x(1));
}

TEST(Survey, AreaOfQuadranglesOfMeridiansAndParallels) {
    // Long meridian edges follow their great circles, parallels run in 5
    // degree steps: the exact zone area R^2 dlon (sin f2 - sin f1).
    struct Case {
        int32_t lon1, lon2, lat1, lat2;
    } cases[] = {{10 * D, 20 * D, 10 * D, 40 * D}, {-170 * D, -93 * D, -80 * D, 75 * D}, {0, 5 * D, -5 * D, 0}};
    clsSurvey s;
    for (const Case& c : cases) {
        clsPoly ring;
        for (int32_t x = c.lon1; x < c.lon2; x += 18000) ring.AddXandY(x, c.lat1);
        ring.AddXandY(c.lon2, c.lat1);
        for (int32_t x = c.lon2; x > c.lon1; x -= 18000) ring.AddXandY(x, c.lat2);
        ring.AddXandY(c.lon1, c.lat2);
        ring.AddXandY(c.lon1, c.lat1);
        const double exact = R2() * SecToRadian(c.lon2 - c.lon1) *
                             (std::sin(SecToRadian(c.lat2)) - std::sin(SecToRadian(c.lat1)));
        EXPECT_NEAR(s.PolyArea(ring) / exact, 1.0, 1e-12) << c.lon1;
    }
}

TEST(Survey, AreaOfGreatCircleTrianglesAgainstTheSphericalExcess) {
    struct Case {
        PolyPoint a, b, c;
        double tol;
    } cases[] = {
        // Long edges are sampled every half degree; each piece is straight
        // in the equal-area plane.
        {{0, 0}, {40 * D, 10 * D}, {10 * D, 50 * D}, 3e-5},
        {{-100 * D, -20 * D}, {-60 * D, -35 * D}, {-80 * D, 10 * D}, 3e-5},
        {{170 * D, 5 * D}, {-150 * D, 15 * D}, {-175 * D, 45 * D}, 3e-5},
        // Edges up to 5 degrees are straight in that plane, not great circles.
        {{0, 0}, {4 * D, 1 * D}, {1 * D, 3 * D}, 1e-3},
    };
    clsSurvey s;
    for (const Case& c : cases) {
        const double exact = static_cast<double>(Excess(c.a, c.b, c.c)) * R2();
        const double area = s.PolyArea(Make({c.a, c.b, c.c}));
        EXPECT_NEAR(area / exact, 1.0, c.tol) << c.a.x << " " << c.b.x;
        RecordProperty("relative_error_" + std::to_string(c.a.x) + "_" + std::to_string(c.b.x),
                       Sci(area / exact - 1));
    }
}

TEST(Survey, AreaDoesNotDependOnDirectionOrStart) {
    std::mt19937 rng(17);
    std::uniform_int_distribution<int32_t> lon(-648000, 648000), lat(-250000, 250000), count(3, 40);
    std::uniform_real_distribution<double> radius(0.5, 30), jitter(0, 1);
    clsSurvey s;
    for (int round = 0; round < 300; ++round) {
        // A star round a random centre (degrees in a local frame), or now and
        // then a wobbly ring round a pole.
        const int n = count(rng);
        clsPoly ring;
        if (round % 5 == 0) {
            const int32_t base = round % 10 == 0 ? 260000 : -280000;
            for (int k = 0; k < n; ++k) {
                const int32_t x = static_cast<int32_t>(-648000 + (k + 0.9 * jitter(rng)) * 1296000 / n);
                ring.AddXandY(x, base + static_cast<int32_t>(jitter(rng) * 30000));
            }
        } else {
            const int32_t cx = lon(rng), cy = lat(rng);
            for (int k = 0; k < n; ++k) {
                const double a = (k + 0.8 * jitter(rng)) * 2 * M_PI / n, r = radius(rng) * D;
                int32_t x = cx + static_cast<int32_t>(r * std::cos(a) / std::cos(SecToRadian(cy)));
                if (x > 648000) x -= 1296000;
                if (x < -648000) x += 1296000;
                ring.AddXandY(x, std::clamp(cy + static_cast<int32_t>(r * std::sin(a)), -323000, 323000));
            }
        }
        const double area = s.PolyArea(ring);
        ASSERT_GT(area, 0) << round;
        ring.MakeLoop();
        clsPoly reversed = ring.Copy();
        reversed.Reverse();
        EXPECT_NEAR(s.PolyArea(ring) / area, 1.0, 1e-9) << round;
        EXPECT_NEAR(s.PolyArea(reversed) / area, 1.0, 1e-9) << round;
        for (int32_t k = 2; k < ring.Count(); k += 1 + n / 4) {
            EXPECT_NEAR(s.PolyArea(Rotated(ring, k)) / area, 1.0, 1e-9) << round << " from " << k;
            EXPECT_NEAR(s.PolyArea(Rotated(reversed, k)) / area, 1.0, 1e-9) << round << " from " << k;
        }
    }
}

TEST(Survey, RingAcrossTheEquatorRoundTheGlobeKeepsTheSmallerSide) {
    // A zigzag round the globe between 10 S and 20 N: the northern side is
    // the smaller, whichever latitude the ring starts or ends at.
    clsPoly ring;
    for (int32_t k = 0; k < 72; ++k) ring.AddXandY(-648000 + k * 18000, k % 2 ? 72000 : -36000);
    clsSurvey s;
    const double area = s.PolyArea(ring);
    EXPECT_LT(area, 2 * M_PI * R2());
    EXPECT_GT(area, 1.5 * M_PI * R2());
    ring.MakeLoop();
    for (int32_t k : {2, 3}) EXPECT_NEAR(s.PolyArea(Rotated(ring, k)), area, area * 1e-12) << k;
    ring.Reverse();
    EXPECT_NEAR(s.PolyArea(ring), area, area * 1e-12);
}
