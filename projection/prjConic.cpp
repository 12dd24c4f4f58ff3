// Cones 21..25, Bonne's projection 26 and the polyconic projections 27 and
// 28. Input is the point turned by Axis: a conic centre lies on the tangent
// parallel (colatitude z0) of a cone whose pole is the north pole, or the
// south pole for a southern cone; z is the distance from that pole.
#include "clsPrjPoint.h"

#include "prjShared.h"

#include <algorithm>
#include <cmath>

using namespace prj;

void clsPrjPoint::PrepareConic() {
    const double z0 = z0_;
    // The secant may have been set before a smaller cone or another index:
    // the standard parallels never pass the pole.
    double s = std::min(s_, z0);
    switch (index_) {
    case 21:
        c_ = std::cos(s);
        n_ = std::cos(z0);
        rho0_ = std::tan(z0) * c_;
        break;
    case 22:
        n_ = std::sin(z0) / z0;   // the apex at the pole, z0 true
        rho0_ = z0;
        break;
    case 23:
        // Standard parallels at z0 -+ s, true distance between them.
        n_ = s == 0 ? std::cos(z0) : std::sin(s) / s * std::cos(z0);
        rho0_ = std::sin(z0) * std::cos(s) / n_;
        break;
    case 24:
        // Equal area with standard parallels at z0 -+ s.
        c_ = std::cos(z0 + s);
        n_ = (std::cos(z0 - s) + c_) / 2;
        kc_ = 2 / n_;
        m_ = std::pow(std::sin(z0 + s) / n_, 2);
        rho0_ = std::sqrt(std::max(0.0, (c_ - std::cos(z0)) * kc_ + m_));
        break;
    case 25: {
        // Conformal with standard parallels at z0 -+ s; the nearer one kept
        // off the pole, where the logarithms have no value.
        s = std::min(s, z0 - kRadPerSec);
        const double z1 = z0 + s, z2 = z0 - s;
        n_ = s == 0 ? std::cos(z0)
                    : (std::log(std::sin(z1)) - std::log(std::sin(z2))) /
                          (std::log(std::tan(z1 / 2)) - std::log(std::tan(z2 / 2)));
        f_ = (std::sin(z1) / (n_ * std::pow(std::tan(z1 / 2), n_)) +
              std::sin(z2) / (n_ * std::pow(std::tan(z2 / 2), n_))) /
             2;
        rho0_ = std::pow(std::tan(z0 / 2), n_) * f_;
        break;
    }
    case 26:
        rho0_ = std::tan(z0);   // the tangent cone's apex distance
        break;
    default:
        break;
    }
}

double clsPrjPoint::ConeColatitude(double lat) const { return southernCone_ ? kHalfPi + lat : kHalfPi - lat; }

void clsPrjPoint::ConeToPlane(double lambda, double rho, double n, double& x, double& y) const {
    const double s = std::sin(n * lambda), c = std::cos(n * lambda);
    x = rho * s;
    y = southernCone_ ? rho * c - rho0_ : rho0_ - rho * c;
}

// 心射円錐図法: the view from the centre onto the cone.
bool clsPrjPoint::LLtoXY21(double lam, double phi, double& x, double& y) const {
    const double z = ConeColatitude(phi);
    if (z > zmax_) return false;
    ConeToPlane(lam, std::tan(z - z0_) * c_ + rho0_, n_, x, y);
    return true;
}

// メンデレエフ正距円錐図法: true distance along the meridians from the pole.
bool clsPrjPoint::LLtoXY22(double lam, double phi, double& x, double& y) const {
    const double z = ConeColatitude(phi);
    if (z > zmax_) return false;
    ConeToPlane(lam, z + rho0_ - z0_, n_, x, y);
    return true;
}

// ドリール正距円錐図法: true distance along the meridians.
bool clsPrjPoint::LLtoXY23(double lam, double phi, double& x, double& y) const {
    const double z = ConeColatitude(phi);
    if (z > zmax_) return false;
    ConeToPlane(lam, z + rho0_ - z0_, n_, x, y);
    return true;
}

// アルベルス正積円錐図法.
bool clsPrjPoint::LLtoXY24(double lam, double phi, double& x, double& y) const {
    const double z = ConeColatitude(phi);
    if (z > zmax_) return false;
    // Never below 0 on the globe; rounding near a pole standard parallel.
    ConeToPlane(lam, std::sqrt(std::max(0.0, (c_ - std::cos(z)) * kc_ + m_)), n_, x, y);
    return true;
}

// ランベルト正角円錐図法.
bool clsPrjPoint::LLtoXY25(double lam, double phi, double& x, double& y) const {
    const double z = ConeColatitude(phi);
    if (z > zmax_) return false;
    ConeToPlane(lam, std::pow(std::tan(z / 2), n_) * f_, n_, x, y);
    return true;
}

// ボンヌ図法: parallels of the equidistant tangent cone, each drawn at its
// true length.
bool clsPrjPoint::LLtoXY26(double lam, double phi, double& x, double& y) const {
    const double z = ConeColatitude(phi);
    const double rho = z + rho0_ - z0_;
    ConeToPlane(lam, rho, std::sin(z) / rho, x, y);
    return true;
}

// 正規多円錐図法: every parallel the arc of its own tangent cone, true on the
// central meridian lambda = 0.
bool clsPrjPoint::LLtoXY27(double lam, double phi, double& x, double& y) const {
    if (phi >= 1.570796326794895) {
        x = 0;
        y = kHalfPi;
    } else if (phi <= -1.570796326794895) {
        x = 0;
        y = -kHalfPi;
    } else if (IsNearZero(phi)) {
        x = lam;
        y = 0;
    } else {
        const double c = std::tan(kHalfPi - phi);
        const double e = lam * std::sin(phi);
        x = std::sin(e) * c;
        y = (1 - std::cos(e)) * c + phi;
    }
    return true;
}

// 舟型多円錐図法: gores, each a polyconic strip about its own central
// meridian, side by side along x.
bool clsPrjPoint::LLtoXY28(double lam, double phi, double& x, double& y) const {
    const double w = kTwoPi / division_;
    // The east edge (lambda = pi) belongs to the last gore, not a gore beyond.
    const double g = std::clamp(std::floor((lam + kPi) / w), 0.0, static_cast<double>(division_ - 1));
    const double c = (g + 0.5) * w - kPi;
    const double d = lam - c;
    const double a = std::fabs(phi);
    double xg;
    if (IsNearZero(a)) {
        xg = d;
        y = 0;
    } else if (a >= 1.570796326794895) {
        xg = 0;
        y = kHalfPi;
    } else {
        const double k = 1 / std::tan(a);
        const double e = std::sin(a) * d;
        xg = std::sin(e) * k;
        y = (1 - std::cos(e)) * k + a;
    }
    x = c + xg;
    if (phi < 0) y = -y;
    return true;
}
