#include <gtest/gtest.h>

#include "MapProjection.h"
#include "PrjTestUtil.h"
#include "basGlobe.h"
#include "clsPrjPoint.h"

#include <array>
#include <cmath>

using namespace prjtest;

namespace {

using Vec = std::array<double, 3>;

double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Unit vector of a point: x toward (90E, 0), y toward the north pole, z
// toward the back of (0, 0).
Vec vecOf(double lon, double lat) {
    return {std::sin(lon) * std::cos(lat), std::sin(lat), -std::cos(lon) * std::cos(lat)};
}

// Where Axis must take a point, built from geometry alone: the centre C, the
// east and north directions at C turned clockwise by the poler direction,
// and the image of each of them in the projection frame.
struct Frame {
    Vec east, north, centre;     // on the globe
    Vec eastTo, northTo, centreTo;   // in the projection frame

    Frame(double lon0, double lat0, double poler, double centreLatTo) {
        centre = vecOf(lon0, lat0);
        const Vec e = {std::cos(lon0), 0, std::sin(lon0)};
        const Vec n = {-std::sin(lon0) * std::sin(lat0), std::cos(lat0), std::cos(lon0) * std::sin(lat0)};
        for (int i = 0; i < 3; ++i) {
            east[i] = e[i] * std::cos(poler) + n[i] * std::sin(poler);
            north[i] = n[i] * std::cos(poler) - e[i] * std::sin(poler);
        }
        // The centre goes to (0, centreLatTo) on the meridian 0, its north
        // direction stays north, its east direction east.
        centreTo = vecOf(0, centreLatTo);
        northTo = {0, std::cos(centreLatTo), std::sin(centreLatTo)};
        eastTo = {1, 0, 0};
    }

    void expected(double lon, double lat, double& outLon, double& outLat) const {
        const Vec p = vecOf(lon, lat);
        const double a = dot(p, east), b = dot(p, north), c = dot(p, centre);
        Vec q;
        for (int i = 0; i < 3; ++i) q[i] = a * eastTo[i] + b * northTo[i] + c * centreTo[i];
        outLon = std::atan2(q[0], -q[2]);
        outLat = std::atan2(q[1], std::hypot(q[0], q[2]));
    }
};

// Difference of two longitudes, in -pi..pi.
double lonDiff(double a, double b) { return std::remainder(a - b, 2 * kPi); }

} // namespace

TEST(PrjPoint, DefaultsAndParameterRanges) {
    clsPrjPoint p;
    EXPECT_EQ(p.PrjIndex(), 12);
    EXPECT_EQ(p.Light(), 2.0);
    EXPECT_EQ(p.Division(), 12);
    EXPECT_NEAR(p.Cone(), 1.0471975511965967, 1e-15);
    EXPECT_EQ(p.Secant(), 0);

    p.setPrjIndex(31);
    p.setPrjIndex(0);
    EXPECT_EQ(p.PrjIndex(), 12);
    p.setLight(1.0);
    p.setLight(250);
    EXPECT_EQ(p.Light(), 2.0);
    p.setLight(1.005);
    EXPECT_EQ(p.Light(), 1.005);
    p.setDivision(5);
    p.setDivision(37);
    EXPECT_EQ(p.Division(), 12);
    p.setDivision(36);
    EXPECT_EQ(p.Division(), 36);

    p.setCenterLon(Deg(190));
    EXPECT_NEAR(p.CenterLon(), Deg(-170), 1e-12);
    p.setCenterLon(Deg(-540));
    EXPECT_NEAR(std::fabs(p.CenterLon()), kPi, 1e-12);
    p.setCenterLon(1e300);   // far beyond any turn: still within -pi..pi
    EXPECT_LE(std::fabs(p.CenterLon()), 3.14159265358979);
    p.setCenterLat(2.0);
    EXPECT_EQ(p.CenterLat(), 1.5707963267949);
    p.setCenterLat(-2.0);
    EXPECT_EQ(p.CenterLat(), -1.5707963267949);
    p.setPolerDirection(Deg(350));
    EXPECT_NEAR(p.PolerDirection(), Deg(-10), 1e-12);

    p.setCone(0.1);
    EXPECT_NEAR(p.Cone(), Deg(30), 1e-14);
    p.setCone(3.0);
    EXPECT_NEAR(p.Cone(), Deg(150), 1e-14);

    p.setCone(Deg(60));
    p.setSecant(3.5);
    EXPECT_EQ(p.Secant(), 2.9670597283903573);   // 170 degrees
    p.setSecant(-1);
    EXPECT_EQ(p.Secant(), 0);
    p.setPrjIndex(24);
    p.setSecant(3.5);
    EXPECT_NEAR(p.Secant(), Deg(120), 1e-14);   // 2 z0
    p.setPrjIndex(26);   // a cone parameter but no secant of its own
    p.setSecant(3.5);
    EXPECT_EQ(p.Secant(), 2.9670597283903573);
}

TEST(PrjPoint, HeightIsThePlaneExtent) {
    clsPrjPoint p;
    for (int16_t i = 1; i <= 30; ++i) {
        p.setPrjIndex(i);
        EXPECT_NEAR(p.Height(), Sec(PrjPlaneRadius(i, 216000, 2.0)), 1e-15) << i;
    }
    p.setPrjIndex(22);
    p.setCone(Deg(30));
    EXPECT_NEAR(p.Height(), Sec(540000 - 54000), 1e-15);
}

// The rotation of every family against the frame built from geometry.
TEST(PrjPoint, AxisAgreesWithAnIndependentRotation) {
    Points pts;
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
        clsPrjPoint p;
        p.setPrjIndex(c.index);
        p.setCone(c.cone);
        p.setCenterLon(c.lon0);
        p.setCenterLat(c.lat0);
        p.setPolerDirection(c.poler);
        const int32_t a = PrjAttribute(c.index);
        double latTo = 0;
        if (a & PrjShapeCircle) latTo = kPi / 2;
        else if (a & PrjParamCone) latTo = (c.lat0 < 0 ? -1 : 1) * (p.Cone() / 2);
        const Frame f(c.lon0, c.lat0, c.poler, latTo);
        for (int k = 0; k < 2000; ++k) {
            double lon, lat, el, ep, gl, gp;
            pts.next(lon, lat);
            f.expected(lon, lat, el, ep);
            p.Axis(lon, lat, gl, gp);
            EXPECT_NEAR(gp, ep, 1e-12) << c.index << " at " << lon << ", " << lat;
            if (std::cos(ep) > 1e-6) {
                EXPECT_NEAR(lonDiff(gl, el), 0, 1e-11 / std::cos(ep));
            }
            EXPECT_LE(std::fabs(gl), 3.14159265358979);
        }
    }
}

TEST(PrjPoint, AxisOfTheCentre) {
    clsPrjPoint p;
    double lon, lat;
    // Azimuthal: the centre itself goes to the north pole.
    p.setPrjIndex(6);
    p.setCenterLon(Deg(135));
    p.setCenterLat(Deg(35));
    p.Axis(Deg(135), Deg(35), lon, lat);
    EXPECT_NEAR(lat, kPi / 2, 1e-12);
    // Cylindrical: to (0, 0), in arc-seconds exactly.
    p.setPrjIndex(13);
    for (double rot : {0.0, 0.3}) {
        p.setPolerDirection(rot);
        int32_t sl = 1, sp = 1;
        p.AxisSec(486000, 126000, sl, sp);
        EXPECT_EQ(sl, 0);
        EXPECT_EQ(sp, 0);
    }
    // Goode keeps its normal aspect whatever the centre.
    p.setPrjIndex(29);
    p.setPolerDirection(0.3);
    p.Axis(Deg(-45), Deg(10), lon, lat);
    EXPECT_DOUBLE_EQ(lon, Deg(-45));
    EXPECT_DOUBLE_EQ(lat, Deg(10));
    int32_t sl, sp;
    p.AxisSec(-647000, -323000, sl, sp);
    EXPECT_EQ(sl, -647000);
    EXPECT_EQ(sp, -323000);
    // A tiny centre latitude is no rotation at all (the longitude alone turns).
    p.setPrjIndex(12);
    p.setPolerDirection(0);
    p.setCenterLon(Deg(10));
    p.setCenterLat(1e-7);
    p.Axis(Deg(20), Deg(30), lon, lat);
    EXPECT_DOUBLE_EQ(lat, Deg(30));
    EXPECT_NEAR(lon, Deg(10), 1e-15);
    // The longitude comes back into -pi..pi once.
    p.setCenterLat(0);
    p.setCenterLon(Deg(-170));
    p.Axis(Deg(170), 0, lon, lat);
    EXPECT_NEAR(lon, Deg(-20), 1e-12);
}

TEST(PrjPoint, MetresOnTheGlobe) {
    clsPrjPoint p;   // 正距円筒図法: x = lambda, y = phi
    int32_t x = 7, y = 7;
    bool ok = false;
    p.LLtoXYsec(1, -1, x, y, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(x, 31);    // 30.887 m
    EXPECT_EQ(y, -31);
    p.LLtoXYsec(648000, 324000, x, y, ok);
    EXPECT_EQ(x, 20015089);
    EXPECT_EQ(y, 10007545);
    // Outside the domain: ok false and the point 0.
    p.setPrjIndex(13);
    p.LLtoXYsec(0, 306016, x, y, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    double dx = 1, dy = 1;
    p.LLtoXY(0, std::nan(""), dx, dy, ok);
    EXPECT_FALSE(ok);
    p.LLtoXY(INFINITY, 0, dx, dy, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(dx, 0);
    // A larger globe scales the same point.
    EnvScope env({"GlobeRadius=63710007.8997414"});
    InitGlobe();
    p.setPrjIndex(12);
    p.LLtoXYsec(1, 0, x, y, ok);
    EXPECT_EQ(x, 309);
    gvEnvironment = nullptr;
    InitGlobe();
}

// A secant wide for a small cone, then a large cone: the conformal cone's
// standard parallel would fall on or past the pole.
TEST(PrjPoint, ConeSecantBeyondThePoleStaysFinite) {
    for (int16_t index : {21, 23, 24, 25}) {
        clsPrjPoint p;
        p.setPrjIndex(index);
        p.setCone(Deg(30));
        p.setSecant(Deg(170));
        p.setCone(Deg(150));
        p.setCenterLat(Deg(75));
        // From the cone's pole (z = 0) to its limit (z = 75 degrees).
        for (int32_t phi : {324000, 270000, 162000, 57600}) {
            int32_t x = 0, y = 0;
            bool ok = false;
            p.LLtoXYsec(12345, phi, x, y, ok);
            EXPECT_TRUE(ok) << index << " at " << phi;
        }
        double x = 0, y = 0;
        bool ok = false;
        p.LLtoXY(0.3, 0.5, x, y, ok);
        EXPECT_TRUE(ok && std::isfinite(x) && std::isfinite(y)) << index;
        int32_t slant = 99;
        p.PointSlant(0, Deg(60) / 4.848136811095355e-6, slant);
        EXPECT_EQ(slant, 0) << index;   // no rotation: meridians stay straight up
    }
    // The secant set at its full width on the conformal cone itself.
    clsPrjPoint p;
    p.setPrjIndex(25);
    p.setSecant(3.5);
    double x = 0, y = 0;
    bool ok = false;
    for (double z : {0.0, 0.5, 1.0, 2.0}) {
        p.LLtoXY(0.2, kPi / 2 - z, x, y, ok);
        EXPECT_TRUE(ok && std::isfinite(x) && std::isfinite(y)) << z;
    }
}

TEST(PrjPoint, Slant) {
    clsPrjPoint p;
    int32_t slant = 7;
    // No rotation on the equidistant cylinder: upright everywhere, also at
    // the poles and where a probe wraps over the date line.
    for (int32_t lon : {0, 300000, -648000, 647950})
        for (int32_t lat : {0, 200000, -324000, 323990}) {
            p.PointSlant(lon, lat, slant);
            EXPECT_EQ(slant, 0) << lon << ", " << lat;
        }
    // A turned map slants by its turn at the centre (turns whose probes
    // stay on whole arc-seconds in the turned frame).
    for (int32_t turn : {162000, 324000, -486000}) {
        p.setPolerDirection(Sec(turn));
        p.PointSlant(0, 0, slant);
        EXPECT_EQ(slant, turn);
    }
    // The meridians of a polar azimuthal map point to its centre: south-east
    // of the pole they lean 45 degrees to the left.
    p.setPrjIndex(6);
    p.setPolerDirection(0);
    p.setCenterLat(Deg(90));
    p.PointSlant(162000, 216000, slant);
    EXPECT_NEAR(slant, -162000, 40);
    // Probes either side of an interruption: no slant.
    p.setPrjIndex(29);
    p.PointSlant(-144000, 100000, slant);
    EXPECT_EQ(slant, 0);
    p.setPrjIndex(28);
    p.setCenterLat(0);
    p.PointSlant(-540000, 250000, slant);
    EXPECT_EQ(slant, 0);
    // A probe outside the domain: no slant.
    p.setPrjIndex(13);
    p.PointSlant(0, 305950, slant);
    EXPECT_EQ(slant, 0);
}
