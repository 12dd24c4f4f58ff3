#include <gtest/gtest.h>

#include "MapProjection.h"
#include "PrjTestUtil.h"
#include "basGlobe.h"

#include <array>

using namespace prjtest;

TEST(PrjPoint, DefaultsAndParameterRanges) {
    clsPrjPoint p;
    EXPECT_EQ(p.PrjIndex(), 12);
    EXPECT_EQ(p.Light(), 2.0);
    EXPECT_EQ(p.Division(), 12);
    EXPECT_NEAR(p.Cone(), 1.0471975511965967, 1e-15);
    EXPECT_EQ(p.Secant(), 0);
    // Ignored.
    for (int16_t i : {0, 31}) p.setPrjIndex(i);
    for (double l : {1.0, 250.0, std::nan("")}) p.setLight(l);
    for (int32_t n : {5, 37}) p.setDivision(n);
    EXPECT_EQ(p.PrjIndex(), 12);
    EXPECT_EQ(p.Light(), 2.0);
    EXPECT_EQ(p.Division(), 12);
    // Normalised and clamped.
    p.setCenterLon(Deg(190));
    EXPECT_NEAR(p.CenterLon(), Deg(-170), 1e-12);
    p.setCenterLon(1e300);
    EXPECT_LE(std::fabs(p.CenterLon()), 3.14159265358979);
    p.setPolerDirection(Deg(350));
    EXPECT_NEAR(p.PolerDirection(), Deg(-10), 1e-12);
    p.setCenterLat(-2.0);
    EXPECT_EQ(p.CenterLat(), -1.5707963267949);
    p.setCone(0.1);
    EXPECT_NEAR(p.Cone(), Deg(30), 1e-14);
    p.setCone(3.0);
    EXPECT_NEAR(p.Cone(), Deg(150), 1e-14);
    // The secant: 170 degrees at most, twice the tangent colatitude on a cone.
    p.setCone(Deg(60));
    p.setSecant(3.5);
    EXPECT_EQ(p.Secant(), 2.9670597283903573);
    p.setSecant(-1);
    EXPECT_EQ(p.Secant(), 0);
    p.setPrjIndex(24);
    p.setSecant(3.5);
    EXPECT_NEAR(p.Secant(), Deg(120), 1e-14);
    p.setPrjIndex(26);   // a cone parameter but no secant of its own
    p.setSecant(3.5);
    EXPECT_EQ(p.Secant(), 2.9670597283903573);
    // The height is the catalogue's extent.
    p.setPrjIndex(22);
    p.setCone(Deg(30));
    EXPECT_NEAR(p.Height(), Sec(540000 - 54000), 1e-15);
    p.setPrjIndex(4);
    EXPECT_NEAR(p.Height(), Sec(863984), 1e-15);
}

// Axis against a rotation built from geometry alone: the centre C, the east
// and north directions at C turned clockwise by the poler direction, and
// where each must go (C to longitude 0 at the frame latitude, its north
// still north, its east still east).
TEST(PrjPoint, AxisAgreesWithAnIndependentRotation) {
    using Vec = std::array<double, 3>;
    auto vec = [](double lon, double lat) {
        return Vec{std::sin(lon) * std::cos(lat), std::sin(lat), -std::cos(lon) * std::cos(lat)};
    };
    auto dot = [](const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
    struct Case {
        int16_t index;
        double lon0, lat0, poler, cone;
    };
    const Case cases[] = {
        {6, Deg(135), Deg(35), 0, Deg(60)},        {2, Deg(-20), Deg(-70), Deg(30), Deg(60)},
        {12, Deg(100), Deg(40), 0, Deg(60)},       {17, Deg(-150), Deg(-10), Deg(-75), Deg(60)},
        {23, Deg(139), Deg(35), 0, Deg(90)},       {25, Deg(10), Deg(-50), Deg(45), Deg(40)},
        {26, Deg(-70), Deg(20), Deg(170), Deg(120)}, {12, 0, 0, Deg(90), Deg(60)},
    };
    for (const Case& c : cases) {
        clsPrjPoint p = MakePrj({c.index, 2, c.cone});
        p.setCenterLon(c.lon0);
        p.setCenterLat(c.lat0);
        p.setPolerDirection(c.poler);
        double to = 0;   // the frame latitude of the centre
        if (PrjAttribute(c.index) & PrjShapeCircle) to = kPi / 2;
        else if (PrjAttribute(c.index) & PrjParamCone) to = (c.lat0 < 0 ? -1 : 1) * p.Cone() / 2;
        const Vec centre = vec(c.lon0, c.lat0), e0 = {std::cos(c.lon0), 0, std::sin(c.lon0)};
        const Vec n0 = {-std::sin(c.lon0) * std::sin(c.lat0), std::cos(c.lat0), std::cos(c.lon0) * std::sin(c.lat0)};
        Vec east, north;
        for (int i = 0; i < 3; ++i) {
            east[i] = e0[i] * std::cos(c.poler) + n0[i] * std::sin(c.poler);
            north[i] = n0[i] * std::cos(c.poler) - e0[i] * std::sin(c.poler);
        }
        const Vec centreTo = vec(0, to), northTo = {0, std::cos(to), std::sin(to)};
        Points pts;
        for (int k = 0; k < 2000; ++k) {
            double lon, lat, gl, gp;
            pts.next(lon, lat);
            const Vec v = vec(lon, lat);
            const double a = dot(v, east), b = dot(v, north), cc = dot(v, centre);
            const Vec q = {a, b * northTo[1] + cc * centreTo[1], b * northTo[2] + cc * centreTo[2]};
            const double el = std::atan2(q[0], -q[2]), ep = std::atan2(q[1], std::hypot(q[0], q[2]));
            p.Axis(lon, lat, gl, gp);
            EXPECT_NEAR(gp, ep, 1e-12) << c.index << " at " << lon << ", " << lat;
            if (std::cos(ep) > 1e-6) {
                EXPECT_NEAR(std::remainder(gl - el, 2 * kPi), 0, 1e-11 / std::cos(ep)) << c.index;
            }
            EXPECT_LE(std::fabs(gl), 3.14159265358979);
        }
    }
}

TEST(PrjPoint, AxisSpecialCases) {
    clsPrjPoint p = MakePrj({6});
    double lon, lat;
    int32_t sl, sp;
    // Azimuthal: the centre goes to the north pole.
    p.setCenterLon(Deg(135));
    p.setCenterLat(Deg(35));
    p.Axis(Deg(135), Deg(35), lon, lat);
    EXPECT_NEAR(lat, kPi / 2, 1e-12);
    // Cylindrical: to (0, 0), in whole arc-seconds exactly.
    p.setPrjIndex(13);
    for (double rot : {0.0, 0.3}) {
        p.setPolerDirection(rot);
        p.AxisSec(486000, 126000, sl, sp);
        EXPECT_EQ(sl, 0);
        EXPECT_EQ(sp, 0);
    }
    // Goode keeps its normal aspect whatever the centre.
    p.setPrjIndex(29);
    p.AxisSec(-647000, -323000, sl, sp);
    EXPECT_EQ(sl, -647000);
    EXPECT_EQ(sp, -323000);
    // A centre latitude within 1e-6 of 0 is no rotation; the longitude alone
    // turns, back into -pi..pi once.
    p = MakePrj({12});
    p.setCenterLon(Deg(-170));
    p.setCenterLat(1e-7);
    p.Axis(Deg(170), Deg(30), lon, lat);
    EXPECT_EQ(lat, Deg(30));
    EXPECT_NEAR(lon, Deg(-20), 1e-12);
}

TEST(PrjPoint, MetresOnTheGlobe) {
    clsPrjPoint p;   // 正距円筒図法: x = lambda, y = phi
    int32_t x = 7, y = 7;
    bool ok = false;
    p.LLtoXYsec(1, -1, x, y, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(x, 31);   // 30.887 m
    EXPECT_EQ(y, -31);
    p.LLtoXYsec(648000, 324000, x, y, ok);
    EXPECT_EQ(x, 20015089);
    EXPECT_EQ(y, 10007545);
    // Outside the domain or not a number: not ok, the point 0.
    p.setPrjIndex(13);
    p.LLtoXYsec(0, 306016, x, y, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(x, 0);
    double dx = 1, dy = 1;
    for (auto [a, b] : {std::pair{0.0, std::nan("")}, std::pair{HUGE_VAL, 0.0}}) {
        p.LLtoXY(a, b, dx, dy, ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(dx, 0);
    }
    // The globe's radius scales the metres.
    EnvScope env({"GlobeRadius=63710007.8997414"});
    InitGlobe();
    p.setPrjIndex(12);
    p.LLtoXYsec(1, 0, x, y, ok);
    EXPECT_EQ(x, 309);
    gvEnvironment = nullptr;
    InitGlobe();
}

// A secant wide for a small cone, then a large cone: the standard parallels
// would pass the pole, and the conformal cone's logarithms lose their value.
TEST(PrjPoint, ConeSecantBeyondThePoleStaysFinite) {
    for (int16_t index : {21, 23, 24, 25}) {
        clsPrjPoint p = MakePrj({index, 2, Deg(30), Deg(170)});
        p.setCone(Deg(150));
        p.setCenterLat(Deg(75));
        for (int32_t phi : {324000, 270000, 162000, 57600}) {   // z from 0 to 74 degrees
            int32_t x = 0, y = 0;
            bool ok = false;
            p.LLtoXYsec(12345, phi, x, y, ok);
            EXPECT_TRUE(ok) << index << " at " << phi;
        }
        int32_t slant = 99;
        p.PointSlant(0, 216000, slant);
        EXPECT_EQ(slant, 0) << index;   // no rotation: meridians straight up
        // The same map as with the parameters set in their proper order.
        clsPrjPoint q = MakePrj({index, 2, Deg(150), Deg(170)});
        q.setCenterLat(Deg(75));
        const XY a = *Fwd(p, 0.3, 0.8), b = *Fwd(q, 0.3, 0.8);
        EXPECT_EQ(a.x, b.x) << index;
        EXPECT_EQ(a.y, b.y) << index;
    }
    clsPrjPoint p = MakePrj({25, 2, Deg(60), 3.5});   // the full secant on the cone itself
    for (double z : {0.0, 0.5, 1.0, 2.0}) {
        auto r = Fwd(p, 0.2, kPi / 2 - z);
        EXPECT_TRUE(r && std::isfinite(r->x) && std::isfinite(r->y)) << z;
    }
}

TEST(PrjPoint, Slant) {
    clsPrjPoint p;
    int32_t slant = 7;
    // Upright everywhere without rotation, also at the poles and where a
    // probe wraps over the date line.
    for (int32_t lon : {0, 300000, -648000, 647950})
        for (int32_t lat : {0, 200000, -324000, 323990}) {
            p.PointSlant(lon, lat, slant);
            EXPECT_EQ(slant, 0) << lon << ", " << lat;
        }
    // A turned map slants by its turn at the centre (turns whose probes stay
    // on whole arc-seconds in the turned frame).
    for (int32_t turn : {162000, 324000, -486000}) {
        p.setPolerDirection(Sec(turn));
        p.PointSlant(0, 0, slant);
        EXPECT_EQ(slant, turn);
    }
    // South-east of the pole of a polar azimuthal map the meridians lean 45
    // degrees to the left (probes rounded to metres: some 30" of play).
    p = MakePrj({6});
    p.setCenterLat(Deg(90));
    p.PointSlant(162000, 216000, slant);
    EXPECT_NEAR(slant, -162000, 40);
    // Probes across an interruption or outside the domain: no slant.
    struct Case {
        int16_t index;
        int32_t lon, lat;
    };
    for (const Case& c : {Case{29, -144000, 100000}, Case{28, -540000, 250000}, Case{13, 0, 305950}}) {
        p = MakePrj({c.index});
        p.PointSlant(c.lon, c.lat, slant);
        EXPECT_EQ(slant, 0) << c.index;
    }
}
