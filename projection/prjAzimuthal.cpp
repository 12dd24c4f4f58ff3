// Azimuthal projections 1..7 and the whole-globe projections built from an
// azimuthal view of a rescaled longitude (8, 9, 20, 30). Input is the point
// turned by Axis: for 1..7 the centre is the north pole and z its angular
// distance; 8, 9, 20 and 30 look at the globe from (0, 0).
#include "clsPrjPoint.h"

#include "basNumberText.h"
#include "prjShared.h"

#include <cmath>

using namespace prj;

namespace {

double AngularDistance(double u, double v) { return ArcCos(std::cos(u) * std::cos(v)); }

// Direction of (u, v) seen from (0, 0), clockwise from north; d is the
// point's AngularDistance. 0 at the centre and its antipode.
double DirectionAngle(double u, double v, double d) {
    const double sd = std::sin(d);
    if (IsNearZero(sd)) return 0;
    double a = ArcSin(ClampUnit(std::cos(v) * std::sin(u) / sd));
    if (v < 0) a = (u >= 0 ? kPi : -kPi) - a;
    return a;
}

} // namespace

void clsPrjPoint::PrepareAzimuthal() {
    // Half the plane extent plus 15 arc-seconds, so the frame's own points
    // lie inside.
    zlim_ = Height() / 2 + 7.272205216643033e-5;
    lightNear_ = light_ - 1;
    lightFar_ = light_ + 1;
}

// 心射方位図法: gnomonic, every great circle a straight line.
bool clsPrjPoint::LLtoXY01(double lam, double phi, double& x, double& y) const {
    const double z = kHalfPi - phi;
    if (z > zlim_) return false;
    PolarToPlane(lam, std::tan(z), x, y);
    return true;
}

// 平射方位図法: stereographic, the view from the antipode.
bool clsPrjPoint::LLtoXY02(double lam, double phi, double& x, double& y) const {
    const double z = kHalfPi - phi;
    if (z > zlim_) return false;
    PolarToPlane(lam, 2 * std::tan(z / 2), x, y);
    return true;
}

// 異種外射方位図法: the view from L radii on the near side.
bool clsPrjPoint::LLtoXY03(double lam, double phi, double& x, double& y) const {
    const double z = kHalfPi - phi;
    if (z > zlim_) return false;
    PolarToPlane(lam, std::sin(z) * lightNear_ / (light_ - std::cos(z)), x, y);
    return true;
}

// 外射方位図法: the view from L radii on the far side.
bool clsPrjPoint::LLtoXY04(double lam, double phi, double& x, double& y) const {
    const double z = kHalfPi - phi;
    if (z > zlim_) return false;
    PolarToPlane(lam, std::sin(z) * lightFar_ / (light_ + std::cos(z)), x, y);
    return true;
}

// 正射方位図法: orthographic, the view from infinity.
bool clsPrjPoint::LLtoXY05(double lam, double phi, double& x, double& y) const {
    const double z = kHalfPi - phi;
    if (z > zlim_) return false;
    PolarToPlane(lam, std::sin(z), x, y);
    return true;
}

// 正距方位図法: true distance from the centre.
bool clsPrjPoint::LLtoXY06(double lam, double phi, double& x, double& y) const {
    const double z = kHalfPi - phi;
    if (z > zlim_) return false;
    PolarToPlane(lam, z, x, y);
    return true;
}

// ランベルト正積方位図法: the chord to the centre, true area.
bool clsPrjPoint::LLtoXY07(double lam, double phi, double& x, double& y) const {
    const double z = kHalfPi - phi;
    if (z > zlim_) return false;
    PolarToPlane(lam, 2 * std::sin(z / 2), x, y);
    return true;
}

// ハンメル図法: the equal-area azimuthal of half the longitude, stretched
// twice across.
bool clsPrjPoint::LLtoXY08(double lam, double phi, double& x, double& y) const {
    const double u = lam / 2;
    const double d = AngularDistance(u, phi);
    const double a = DirectionAngle(u, phi, d);
    const double r = 2 * std::sin(d / 2);
    x = 2 * r * std::sin(a);
    y = r * std::cos(a);
    return true;
}

// エイトフ図法: the equidistant azimuthal of half the longitude, stretched.
bool clsPrjPoint::LLtoXY09(double lam, double phi, double& x, double& y) const {
    const double u = lam / 2;
    const double d = AngularDistance(u, phi);
    const double a = DirectionAngle(u, phi, d);
    x = 2 * d * std::sin(a);
    y = d * std::cos(a);
    return true;
}

// ヴィンケル図法・第３式: the mean of Aitoff and the equidistant cylinder
// whose standard parallels lie at 50 degrees 28 minutes (cos = 0.6365...).
bool clsPrjPoint::LLtoXY30(double lam, double phi, double& x, double& y) const {
    const double u = lam / 2;
    const double d = AngularDistance(u, phi);
    const double a = DirectionAngle(u, phi, d);
    x = d * std::sin(a) + 0.636527025593367 * u;
    y = (phi + d * std::cos(a)) / 2;
    return true;
}

// ワグネル図法 (the seventh): Hammer's construction on the latitude squeezed
// into +-65 degrees (sin = 0.90631) and a third of the longitude, scaled to
// keep area.
bool clsPrjPoint::LLtoXY20(double lam, double phi, double& x, double& y) const {
    const double psi = ArcSin(0.90631 * std::sin(phi));
    const double d = ArcCos(ClampUnit(std::cos(psi) * std::cos(lam / 3.0)));
    const double q = IsNearZero(d) ? 1.0 : std::sin(psi) / std::sin(d);
    double a = ArcCos(ClampUnit(q));
    if (lam < 0) a = -a;
    const double h = std::sin(d / 2);
    x = h * 5.33448 * std::sin(a);
    y = h * 2.48206 * q;
    return true;
}
