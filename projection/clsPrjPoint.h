// Projection of single points by one of the 30 projections of the catalogue
// (MapProjection.h), with an oblique axis.
//
// A point goes through two steps: Axis turns its longitude/latitude into the
// frame of the projection axis (the chosen centre to longitude 0, latitude
// 0, the map turned about it by PolerDirection, then an azimuthal centre to
// the north pole and a conic centre to the tangent latitude), and LLtoXY
// applies the formula to the turned point. The plane is the unit sphere's:
// x grows east of the axis, y north; the Sec variants take arc-seconds and
// give metres on the globe of GlobeRadius, rounded half to even.
//
// Constants are worked out once per parameter change: the rotation's sines
// and cosines on the next Axis, each formula's constants (and the auxiliary-
// angle table of 17, 18, 19 and 29) on the next LLtoXY.
//
// Accuracy: the formulas are closed forms in double precision except 17, 18,
// 19 and 29, which interpolate linearly in a table of the auxiliary angle
// every 2.5 degrees: the angle is off by up to 2e-4 radians below 60
// degrees of latitude, 5e-4 below 80, and for 17 and 29 up to 0.02 in the
// last band before a pole. The whole-globe projections 8, 9, 20 and 30 take
// their distance from its cosine and so keep only about 1e-16 / d of it at
// a distance d from their centre.
//
// Domains (ok = false outside): azimuthal 1..7 up to half the plane extent
// plus 15 arc-seconds from the centre; 10 within +-60 degrees 15
// arc-seconds, 13 within +-85 degrees 15 arc-seconds; cones 21..25 up to 60
// degrees beyond the tangent parallel; every other formula everywhere. A
// non-finite input is outside everywhere.
//
// Degenerate cases: the cones' secant is held within the tangent parallel's
// colatitude when the formula is prepared (whatever order the parameters
// were set in), and the conformal cone (25) keeps its nearer standard
// parallel at least 1 arc-second off the pole. A point on the east edge of
// the gores (28) belongs to the last gore.
//
// One instance serves one projection run at a time.
#pragma once

#include <array>
#include <cstdint>

class clsPrjPoint {
public:
    clsPrjPoint() = default;

    // -- parameters (angles in radians)
    // 1..30; other values are ignored.
    int16_t PrjIndex() const { return index_; }
    void setPrjIndex(int16_t index);
    // Normalised into -pi..pi.
    double CenterLon() const { return centerLon_; }
    void setCenterLon(double lon);
    // Clamped to +-pi/2; a negative centre makes the cones southern.
    double CenterLat() const { return centerLat_; }
    void setCenterLat(double lat);
    // Rotation of the map about its centre, normalised into -pi..pi.
    double PolerDirection() const { return polerDirection_; }
    void setPolerDirection(double angle);
    // Light-source distance from the globe centre in globe radii, 1.005..201;
    // other values are ignored.
    double Light() const { return light_; }
    void setLight(double ratio);
    // The cone's apex angle, clamped to 30..150 degrees.
    double Cone() const;
    void setCone(double apex);
    // Full angle between the two standard parallels, clamped to 0..170
    // degrees and, for the cones 21..25, to twice the tangent colatitude. Set
    // PrjIndex and Cone first.
    double Secant() const { return 2 * s_; }
    void setSecant(double secant);
    // Gores of 28, 6..36; other values are ignored.
    int32_t Division() const { return division_; }
    void setDivision(int32_t n);
    // The plane extent in radians.
    double Height() const;

    // -- projection
    void Axis(double lon, double lat, double& outLon, double& outLat);
    // Applies the formula to a point already turned by Axis. x and y are 0
    // when ok is false.
    void LLtoXY(double lon, double lat, double& x, double& y, bool& ok);
    void AxisSec(int32_t lon, int32_t lat, int32_t& outLon, int32_t& outLat);
    // ok is false also when the metres do not fit 32 bits.
    void LLtoXYsec(int32_t lon, int32_t lat, int32_t& x, int32_t& y, bool& ok);
    // The local slant of the map at a point in arc-seconds: the mean tilt of
    // its meridian from the vertical and of its parallel from the
    // horizontal. 0 when a probe 120 arc-seconds away falls outside the
    // domain or across a break.
    void PointSlant(int32_t lon, int32_t lat, int32_t& slant);

private:
    using Formula = bool (clsPrjPoint::*)(double lam, double phi, double& x, double& y) const;
    static const Formula kFormulas[31];

    void PrepareAxis();
    void PrepareFormula();
    void PrepareAzimuthal();
    void PrepareCylindrical();
    void PrepareConic();
    bool Probe(int32_t lon, int32_t lat, int64_t& x, int64_t& y);

    // Shared formula procedures.
    double ConeColatitude(double lat) const;
    void ConeToPlane(double lambda, double rho, double n, double& x, double& y) const;
    double AuxAngleLookup(double lat) const;
    void SetAuxTable(const std::array<double, 37>& table) { table_ = table; }

    // Azimuthal and whole-globe formulas (prjAzimuthal.cpp).
    bool LLtoXY01(double lam, double phi, double& x, double& y) const;
    bool LLtoXY02(double lam, double phi, double& x, double& y) const;
    bool LLtoXY03(double lam, double phi, double& x, double& y) const;
    bool LLtoXY04(double lam, double phi, double& x, double& y) const;
    bool LLtoXY05(double lam, double phi, double& x, double& y) const;
    bool LLtoXY06(double lam, double phi, double& x, double& y) const;
    bool LLtoXY07(double lam, double phi, double& x, double& y) const;
    bool LLtoXY08(double lam, double phi, double& x, double& y) const;
    bool LLtoXY09(double lam, double phi, double& x, double& y) const;
    bool LLtoXY20(double lam, double phi, double& x, double& y) const;
    bool LLtoXY30(double lam, double phi, double& x, double& y) const;
    // Cylindrical and pseudo-cylindrical formulas (prjCylindrical.cpp).
    bool LLtoXY10(double lam, double phi, double& x, double& y) const;
    bool LLtoXY11(double lam, double phi, double& x, double& y) const;
    bool LLtoXY12(double lam, double phi, double& x, double& y) const;
    bool LLtoXY13(double lam, double phi, double& x, double& y) const;
    bool LLtoXY14(double lam, double phi, double& x, double& y) const;
    bool LLtoXY15(double lam, double phi, double& x, double& y) const;
    bool LLtoXY16(double lam, double phi, double& x, double& y) const;
    bool LLtoXY17(double lam, double phi, double& x, double& y) const;
    bool LLtoXY18(double lam, double phi, double& x, double& y) const;
    bool LLtoXY19(double lam, double phi, double& x, double& y) const;
    bool LLtoXY29(double lam, double phi, double& x, double& y) const;
    // Conic and polyconic formulas (prjConic.cpp).
    bool LLtoXY21(double lam, double phi, double& x, double& y) const;
    bool LLtoXY22(double lam, double phi, double& x, double& y) const;
    bool LLtoXY23(double lam, double phi, double& x, double& y) const;
    bool LLtoXY24(double lam, double phi, double& x, double& y) const;
    bool LLtoXY25(double lam, double phi, double& x, double& y) const;
    bool LLtoXY26(double lam, double phi, double& x, double& y) const;
    bool LLtoXY27(double lam, double phi, double& x, double& y) const;
    bool LLtoXY28(double lam, double phi, double& x, double& y) const;

    // Parameters.
    int16_t index_ = 12;
    double centerLon_ = 0;
    double centerLat_ = 0;
    bool southernCone_ = false;
    double polerDirection_ = 0;
    double z0_ = (3.14159265358979 - 1.0471975511965967) / 2;   // tangent colatitude (60 degrees)
    double zmax_ = z0_ + 1.0471975511965965;                    // conic limit
    double s_ = 0;                                           // half the secant
    double light_ = 2.0;
    int32_t division_ = 12;

    // Rotation of Axis.
    bool axisPrepared_ = false;
    int axisFlags_ = 0;
    double r1_ = 0;
    double sinR2_ = 0, cosR2_ = 1, sinR3_ = 0, cosR3_ = 1, sinT_ = 0, cosT_ = 1;

    // Formula constants of LLtoXY.
    bool formulaPrepared_ = false;
    double zlim_ = 0;         // azimuthal limit from the centre
    double lightNear_ = 0;    // L - 1 (3)
    double lightFar_ = 0;     // L + 1 (4)
    double k_ = 1;            // cos s (12, 15)
    double n_ = 0;            // cone constant
    double rho0_ = 0;         // apex offset
    double c_ = 0;            // 21: cos s; 24: cos(z0 + s)
    double kc_ = 0;           // 24: 2 / n
    double m_ = 0;            // 24: (sin(z0 + s) / n)^2
    double f_ = 0;            // 25: F
    std::array<double, 37> table_{};
};
