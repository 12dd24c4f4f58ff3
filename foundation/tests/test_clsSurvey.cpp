#include <gtest/gtest.h>

#include "FoundationTest.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "clsSurvey.h"

#include <cmath>
#include <random>

using namespace ftest;

namespace {

constexpr int32_t D = 3600;   // arc-seconds per degree
constexpr long double kPiL = 3.141592653589793238462643383279503L;

long double RadL(int64_t sec) { return static_cast<long double>(sec) * SecToRadian(1); }

double R2() { return GlobeRadius * GlobeRadius; }

// Spherical excess of a great-circle triangle (the tangent formula of the
// solid angle), in steradians, in extended precision.
long double Excess(const PolyPoint& p, const PolyPoint& q, const PolyPoint& r) {
    auto unit = [](const PolyPoint& a) {
        const long double l = RadL(a.x), f = RadL(a.y);
        return std::array<long double, 3>{std::cos(f) * std::cos(l), std::cos(f) * std::sin(l), std::sin(f)};
    };
    const auto a = unit(p), b = unit(q), c = unit(r);
    auto dot = [](const auto& u, const auto& v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; };
    const std::array<long double, 3> bc{b[1] * c[2] - b[2] * c[1], b[2] * c[0] - b[0] * c[2], b[0] * c[1] - b[1] * c[0]};
    return 2 * std::atan2(std::fabs(dot(a, bc)), 1 + dot(a, b) + dot(b, c) + dot(c, a));
}

// A ring along a parallel once round the globe, a vertex every `every`
// arc-seconds from `from`, crossing 180 degrees between two vertices.
clsPoly Parallel(int32_t lat, int32_t every, int32_t from = -648000) {
    clsPoly p;
    for (int32_t x = 0; x < 1296000; x += every) p.AddXandY(from + x > 648000 ? from + x - 1296000 : from + x, lat);
    return p;
}

clsPoly Rotated(const clsPoly& ring, int32_t k) {   // a closed ring started at its point k
    clsPoly r;
    for (int32_t i = k; i <= ring.Count(); ++i) r.AddPoint(ring.GetPoint(i));
    for (int32_t i = 2; i <= k; ++i) r.AddPoint(ring.GetPoint(i));
    return r;
}

} // namespace

// Arcs against haversine and azimuths against the tangent formula, both in
// extended precision, for pairs far apart and within arc-seconds.
TEST(Survey, ArcAndAzimuthAgreeWithTheTextbookFormulas) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> lon(-648000, 648000), lat(-324000, 324000), near(-40, 40);
    clsSurvey s;
    for (int i = 0; i < 10000; ++i) {
        const int32_t x1 = lon(rng), y1 = lat(rng);
        const int32_t x2 = i % 2 ? lon(rng) : x1 + near(rng), y2 = i % 2 ? lat(rng) : std::clamp(y1 + near(rng), -324000, 324000);
        s.SetAll(x1, y1, x2, y2);
        const long double f1 = RadL(y1), f2 = RadL(y2), dl = RadL(int64_t{x2} - x1), a = std::sin((f2 - f1) / 2), b = std::sin(dl / 2);
        const long double ref = 2 * std::asin(std::sqrt(std::min(a * a + std::cos(f1) * std::cos(f2) * b * b, 1.0L)));
        if (ref > kPiL - 1e-3L) continue;   // haversine itself is unsound there
        ASSERT_NEAR(s.ArcRadian(), static_cast<double>(ref), static_cast<double>(ref) * 1e-12) << x1 << " " << y1 << " " << x2 << " " << y2;
        if (ref < 1e-4 || std::abs(y1) > 320000 || std::abs(y2) > 320000) continue;
        long double az = std::atan2(std::sin(dl) * std::cos(f2), std::cos(f1) * std::sin(f2) - std::sin(f1) * std::cos(f2) * std::cos(dl));
        EXPECT_NEAR(s.DirectionRadian(), static_cast<double>(az < 0 ? az + 2 * kPiL : az), 1e-12) << i;
    }
    s.SetAll(-10, 0, 648000 - 10, 0);   // half a turn is 648000 seconds of the angle model, its pi
    EXPECT_NEAR(s.ArcRadian(), SecToRadian(648000), 1e-15);
    s.SetAll(5, 324000, 77, -324000);
    EXPECT_NEAR(s.ArcRadian(), SecToRadian(648000), 1e-15);
    s.SetAll(-648000, 1000, 648000, 1000);   // a turn apart: the same point
    EXPECT_NEAR(s.ArcRadian(), 0.0, 1e-14);
    EXPECT_DOUBLE_EQ(s.ArcDistance(), s.ArcRadian() * GlobeRadius);
}

TEST(Survey, AzimuthAtPolesAntipodesAndCoincidentPoints) {
    const struct {
        int32_t lon1, lat1, lon2, lat2;
        double az;
    } cases[] = {
        {0, 323997, 1000, 0, M_PI},   // point 1 within 3" of the north pole
        {1000, 100, 0, -324000, M_PI},   // point 2 on the south pole
        {0, -324000, 1000, 0, 0}, {1000, 100, 0, 323997, 0},
        {0, 324000, 9, 324000, M_PI},   // both on the north pole: the first rule wins
        {5000, 6000, 5000, 6000, 0},   // coincident
        {100000, 50000, 100000 - 648000, -50000, 0},   // antipodal
        {0, 0, -3600, 0, 3 * M_PI / 2}, {647000, 0, -647000, 0, M_PI / 2},   // west; east across the date line
    };
    clsSurvey s;
    for (const auto& c : cases) {
        s.SetAll(c.lon1, c.lat1, c.lon2, c.lat2);
        EXPECT_NEAR(s.DirectionRadian(), c.az, 1e-13) << c.lon1 << " " << c.lat1 << " " << c.lon2 << " " << c.lat2;
    }
}

TEST(Survey, DirectProblem) {
    clsSurvey s;
    s.SetAll(0, 0, 3600, 0);
    s.setArcRadian(SecToRadian(36000));
    s.setDirectionRadian(0);
    for (double bad : {-0.1, 3.2, M_PI, std::nan("")}) s.setArcRadian(bad);   // ignored
    EXPECT_EQ(s.Lat2, 36000);
    s.SetAll(100000, 300000, 100000, 310000);
    s.setArcRadian(SecToRadian(60000));   // over the pole: folded, on the far meridian
    EXPECT_EQ(s.Lat2, 288000);
    EXPECT_EQ(s.Lon2, 100000 - 648000);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> lon(-648000, 648000), lat(-300000, 300000);
    std::uniform_real_distribution<double> arc(0.01, 3.0), az(0, 2 * M_PI);
    for (int i = 0; i < 1000; ++i) {   // rounded to whole seconds: within 0.71" of the exact point
        const int32_t x = lon(rng), y = lat(rng);
        const double a = arc(rng), b = az(rng);
        s.SetAll(x, y, x, y > 0 ? y - 1 : y + 1);
        s.setArcRadian(a);
        s.setDirectionRadian(b);
        EXPECT_NEAR(s.ArcRadian(), a, 1.5 * SecToRadian(1)) << i;
        const double d = std::fabs(s.DirectionRadian() - b);
        EXPECT_LT(std::min(d, 2 * M_PI - d), SecToRadian(1) / std::sin(a) / std::cos(SecToRadian(y)) + 1e-12) << i;
    }
}

TEST(Survey, Routes) {
    clsSurvey s;
    s.SetAll(0, 0, 310, 0);
    const clsPoly r15 = s.RoutePoly(0);   // step 15
    ASSERT_EQ(r15.Count(), 22);
    EXPECT_EQ(r15.GetPoint(21), (PolyPoint{300, 0}));
    // Antipodes: north over the pole with the largest step (90 degrees); the
    // sample on the pole is skipped, one a third of a step later kept.
    s.SetAll(0, 0, 648000, 0);
    EXPECT_EQ(PointsOf(s.RoutePoly(1000000)), (Pts{{0, 0}, {648000, 216000}, {648000, 0}}));
    s.SetAll(0, 0, 1296100, 0);   // point 2 appended as held
    EXPECT_EQ(s.RoutePoly(15).GetPoint(8), (PolyPoint{1296100, 0}));
    // The 66th sample from 323010 falls on the pole: skipped, the next one 5" on.
    s.SetAll(0, 323010, 648000, 323010);
    const clsPoly r = s.RoutePoly(15);
    int32_t k = 0;
    for (int32_t i = 1; i <= r.Count(); ++i) k = r.y(i) == 323985 ? i : k;
    ASSERT_GT(k, 0);
    EXPECT_EQ(PointsOf(r).at(k), (PolyPoint{648000, 323995}));
}

TEST(Survey, LengthAndTheFieldsItLeaves) {
    clsSurvey s;
    s.SetAll(1, 2, 3, 4);
    EXPECT_EQ(s.PolyLength(Make({{9, 9}})), 0.0);
    EXPECT_EQ(s.PolyArea(Make({{0, 0}, {36000, 36000}})), 0.0);
    EXPECT_EQ(s.Lat2, 4);   // nothing loaded
    clsPoly meridian;   // equator to pole in ten legs: a quarter circumference
    for (int32_t y = 0; y <= 324000; y += 32400) meridian.AddXandY(500000, y);
    EXPECT_NEAR(s.PolyLength(meridian), M_PI / 2 * GlobeRadius, 1e-6);
    EXPECT_EQ(s.Lat1, 291600);
    EXPECT_EQ(s.Lat2, 324000);
    EXPECT_NEAR(s.PolyLength(Make({{647000, 0}, {-647000, 0}})), SecToRadian(2000) * GlobeRadius, 1e-6);   // the short way
    // Out and back along one edge: its great circle sampled the same both times.
    EXPECT_NEAR(s.PolyArea(Make({{0, 0}, {36000, 36000}, {0, 0}})), 0.0, 1e-3);
}

// Caps bounded by a parallel (either direction, any start, across the date
// line), quadrangles of meridians and parallels, and great-circle triangles.
TEST(Survey, AreasAgainstExactFormulas) {
    clsSurvey s;
    for (int32_t lat : {288000, 36000, 0, -216000, 323000}) {
        for (int32_t every : {3600, 18000}) {
            clsPoly ring = Parallel(lat, every, every == 3600 ? 646200 : -648000);
            const double cap = 2 * M_PI * R2() * (1 - std::sin(std::fabs(SecToRadian(lat))));
            EXPECT_NEAR(s.PolyArea(ring) / cap, 1.0, 1e-12) << lat;   // open: closed by the area
            ring.MakeLoop();
            ring.Reverse();
            EXPECT_NEAR(s.PolyArea(ring) / cap, 1.0, 1e-12) << lat;
        }
    }
    const int32_t quads[][4] = {{10 * D, 20 * D, 10 * D, 40 * D}, {-170 * D, -93 * D, -80 * D, 75 * D}};
    for (const auto& c : quads) {
        clsPoly ring;
        for (int32_t x = c[0]; x < c[1]; x += 18000) ring.AddXandY(x, c[2]);
        ring.AddXandY(c[1], c[2]);
        for (int32_t x = c[1]; x > c[0]; x -= 18000) ring.AddXandY(x, c[3]);
        ring.AddXandY(c[0], c[3]);
        const double exact = R2() * SecToRadian(c[1] - c[0]) * (std::sin(SecToRadian(c[3])) - std::sin(SecToRadian(c[2])));
        EXPECT_NEAR(s.PolyArea(ring) / exact, 1.0, 1e-12) << c[0];
        ring.MakeLoop();
        ring.Reverse();
        EXPECT_NEAR(s.PolyArea(Rotated(ring, 3)) / exact, 1.0, 1e-12) << c[0];
    }
    const struct {
        PolyPoint a, b, c;
        double tol;
    } triangles[] = {
        {{0, 0}, {40 * D, 10 * D}, {10 * D, 50 * D}, 3e-5},   // long edges sampled every half degree
        {{170 * D, 5 * D}, {-150 * D, 15 * D}, {-175 * D, 45 * D}, 3e-5},
        {{0, 0}, {4 * D, 1 * D}, {1 * D, 3 * D}, 1e-3},   // short edges straight in the equal-area plane
    };
    for (const auto& t : triangles)
        EXPECT_NEAR(s.PolyArea(Make({t.a, t.b, t.c})) / static_cast<double>(Excess(t.a, t.b, t.c) * R2()), 1.0, t.tol);
    // A zigzag round the globe between 10 S and 20 N: the northern side is
    // the smaller, whichever latitude the ring starts at.
    clsPoly zig;
    for (int32_t k = 0; k < 72; ++k) zig.AddXandY(-648000 + k * 18000, k % 2 ? 72000 : -36000);
    const double area = s.PolyArea(zig);
    EXPECT_LT(area, 2 * M_PI * R2());
    EXPECT_GT(area, 1.5 * M_PI * R2());
    zig.MakeLoop();
    EXPECT_NEAR(s.PolyArea(Rotated(zig, 2)), area, area * 1e-12);
}
