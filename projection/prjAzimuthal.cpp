// Azimuthal projections 1..7 and the whole-globe projections built from an
// azimuthal view of a rescaled longitude (8, 9, 20, 30). Input is the point
// turned by Axis: for 1..7 the centre is the north pole and z its angular
// distance; 8, 9, 20 and 30 look at the globe from (0, 0).
#include "clsPrjPoint.h"

#include "basNumberText.h"
#include "prjShared.h"

#include <algorithm>
#include <cmath>

using namespace prj;

namespace {

// The point (u, v) seen from (0, 0): the cosine and sine of its distance d
// and of its direction A clockwise from north. The direction comes from the
// spherical triangle (sin d sin A = cos v sin u, sin d cos A = sin v), which
// keeps its digits near the equator and the central meridian; within 1e-6
// of the centre it is north.
struct View {
    double cosD, sinD, sinA, cosA;
};

View ViewFromCentre(double u, double v) {
    const double cv = std::cos(v), sv = std::sin(v);
    View w;
    w.cosD = std::cos(u) * cv;
    w.sinD = std::sqrt(std::max(0.0, 1 - w.cosD * w.cosD));
    if (IsNearZero(w.sinD)) {
        w.sinA = 0;
        w.cosA = 1;
    } else {
        w.sinA = ClampUnit(cv * std::sin(u) / w.sinD);
        w.cosA = sv / w.sinD;
    }
    return w;
}

// An azimuthal projection of radius r(z) at the distance z from the centre
// (the frame's north pole); outside beyond zlim.
template <class R>
bool Azimuthal(double zlim, double lam, double phi, double& x, double& y, R r) {
    const double z = kHalfPi - phi;
    if (z > zlim) return false;
    PolarToPlane(lam, r(z), x, y);
    return true;
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
    return Azimuthal(zlim_, lam, phi, x, y, [](double z) { return std::tan(z); });
}

// 平射方位図法: stereographic, the view from the antipode.
bool clsPrjPoint::LLtoXY02(double lam, double phi, double& x, double& y) const {
    return Azimuthal(zlim_, lam, phi, x, y, [](double z) { return 2 * std::tan(z / 2); });
}

// 異種外射方位図法: the view from L radii on the near side.
bool clsPrjPoint::LLtoXY03(double lam, double phi, double& x, double& y) const {
    return Azimuthal(zlim_, lam, phi, x, y,
                     [this](double z) { return std::sin(z) * lightNear_ / (light_ - std::cos(z)); });
}

// 外射方位図法: the view from L radii on the far side.
bool clsPrjPoint::LLtoXY04(double lam, double phi, double& x, double& y) const {
    return Azimuthal(zlim_, lam, phi, x, y,
                     [this](double z) { return std::sin(z) * lightFar_ / (light_ + std::cos(z)); });
}

// 正射方位図法: orthographic, the view from infinity.
bool clsPrjPoint::LLtoXY05(double lam, double phi, double& x, double& y) const {
    return Azimuthal(zlim_, lam, phi, x, y, [](double z) { return std::sin(z); });
}

// 正距方位図法: true distance from the centre.
bool clsPrjPoint::LLtoXY06(double lam, double phi, double& x, double& y) const {
    return Azimuthal(zlim_, lam, phi, x, y, [](double z) { return z; });
}

// ランベルト正積方位図法: the chord to the centre, true area.
bool clsPrjPoint::LLtoXY07(double lam, double phi, double& x, double& y) const {
    return Azimuthal(zlim_, lam, phi, x, y, [](double z) { return 2 * std::sin(z / 2); });
}

// ハンメル図法: the equal-area azimuthal of half the longitude, stretched
// twice across; r = 2 sin(d / 2).
bool clsPrjPoint::LLtoXY08(double lam, double phi, double& x, double& y) const {
    const View w = ViewFromCentre(lam / 2, phi);
    const double r = std::sqrt(2 * (1 - w.cosD));
    x = 2 * r * w.sinA;
    y = r * w.cosA;
    return true;
}

// エイトフ図法: the equidistant azimuthal of half the longitude, stretched.
bool clsPrjPoint::LLtoXY09(double lam, double phi, double& x, double& y) const {
    const View w = ViewFromCentre(lam / 2, phi);
    const double d = ArcCos(w.cosD);
    x = 2 * d * w.sinA;
    y = d * w.cosA;
    return true;
}

// ヴィンケル図法・第３式: the mean of Aitoff and the equidistant cylinder
// whose standard parallels lie at 50 degrees 28 minutes (cos = 0.6365...).
bool clsPrjPoint::LLtoXY30(double lam, double phi, double& x, double& y) const {
    const double u = lam / 2;
    const View w = ViewFromCentre(u, phi);
    const double d = ArcCos(w.cosD);
    x = d * w.sinA + 0.636527025593367 * u;
    y = (phi + d * w.cosA) / 2;
    return true;
}

// ワグネル図法 (the seventh): Hammer's construction on the latitude squeezed
// into +-65 degrees (sin = 0.90631) and a third of the longitude, scaled to
// keep area. The squeezed point psi is seen from (0, 0) at distance D and
// direction A.
bool clsPrjPoint::LLtoXY20(double lam, double phi, double& x, double& y) const {
    const double sinPsi = 0.90631 * std::sin(phi);
    const double cosPsi = std::sqrt(1 - sinPsi * sinPsi);
    const double cosD = ClampUnit(cosPsi * std::cos(lam / 3.0));
    const double d = ArcCos(cosD);
    const double sinD = std::sqrt(1 - cosD * cosD);
    double q = 1.0, sinA = 0;
    if (!IsNearZero(d)) {
        q = sinPsi / sinD;                                   // cos A
        sinA = ClampUnit(cosPsi * std::sin(lam / 3.0) / sinD);   // west of the centre negative
    }
    const double h = std::sqrt((1 - cosD) / 2);   // sin(D / 2)
    x = h * 5.33448 * sinA;
    y = h * 2.48206 * q;
    return true;
}
