// Cylindrical projections 10..15, the sinusoidal 16, the three projections
// that need an auxiliary angle (17..19) and the interrupted 29 built from 16
// and 17. Input is the point turned by Axis; the equator is y = 0.
#include "clsPrjPoint.h"

#include "prjShared.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace prj;

namespace {

using AuxTable = std::array<double, 37>;

// theta in 0..pi/2 with f(theta) = rhs for an increasing f: Newton's steps,
// kept inside a shrinking bracket where they would leave it.
template <class F, class D>
double SolveIncreasing(F f, D df, double rhs) {
    double lo = 0, hi = kHalfPi, t = std::min(rhs / df(0.0), kHalfPi);
    for (int i = 0; i < 200; ++i) {
        const double g = f(t) - rhs;
        if (g == 0) break;
        if (g > 0) hi = t;
        else lo = t;
        const double d = df(t);
        double next = d > 0 ? t - g / d : (lo + hi) / 2;
        if (!(next > lo && next < hi)) next = (lo + hi) / 2;
        if (next == t) break;
        t = next;
    }
    return t;
}

// The auxiliary angle every 2.5 degrees of latitude, rounded to 12 decimal
// places; the pole's entry is kHalfPi.
template <class F, class D>
AuxTable MakeAuxTable(F f, D df, double c) {
    AuxTable t{};
    for (int k = 0; k < 36; ++k) {
        const double theta = SolveIncreasing(f, df, c * std::sin(2.5 * k * kPi / 180));
        t[k] = std::nearbyint(theta * 1e12) / 1e12;
    }
    t[36] = kHalfPi;
    return t;
}

// モルワイデ: 2 theta + sin 2 theta = pi sin phi.
const AuxTable& Table17() {
    static const AuxTable t = MakeAuxTable([](double a) { return 2 * a + std::sin(2 * a); },
                                           [](double a) { return 2 + 2 * std::cos(2 * a); }, kPi);
    return t;
}

// エッケルト第４式: theta + sin theta cos theta + 2 sin theta = (2 + pi/2) sin phi.
const AuxTable& Table18() {
    static const AuxTable t =
        MakeAuxTable([](double a) { return a + std::sin(a) * std::cos(a) + 2 * std::sin(a); },
                     [](double a) { return 1 + std::cos(2 * a) + 2 * std::cos(a); }, 2 + kPi / 2);
    return t;
}

// エッケルト第６式: theta + sin theta = (1 + pi/2) sin phi.
const AuxTable& Table19() {
    static const AuxTable t = MakeAuxTable([](double a) { return a + std::sin(a); },
                                           [](double a) { return 1 + std::cos(a); }, 1 + kPi / 2);
    return t;
}

// Each lobe of 29 about its own central meridian: 30 and -100 degrees in the
// north (cut at -40), -160, -60, 20 and 150 degrees in the south (cut at
// -100, -20 and 80).
double GoodeLobeX(double lon, double lat, double f) {
    double c;
    if (lat >= 0) {
        c = lon >= -0.6981317007977311 ? 0.5235987755982988 : -1.7453292519943278;
    } else if (lon >= 1.3962634015954623) {
        c = 2.6179938779914917;
    } else if (lon >= -0.34906585039886556) {
        c = 0.34906585039886556;
    } else if (lon >= -1.7453292519943278) {
        c = -1.0471975511965967;
    } else {
        c = -2.7925268031909245;
    }
    return (lon - c) * f + c;
}

} // namespace

void clsPrjPoint::PrepareCylindrical() {
    switch (index_) {
    case 12: case 15: k_ = std::cos(s_); break;   // standard parallels at +-s
    case 17: case 29: SetAuxTable(Table17()); break;
    case 18: SetAuxTable(Table18()); break;
    case 19: SetAuxTable(Table19()); break;
    default: break;
    }
}

double clsPrjPoint::AuxAngleLookup(double lat) const {
    const double a = std::min(std::fabs(lat), kHalfPi);
    const double u = a / 0.043633231299858195;   // steps of 2.5 degrees
    const int k = std::clamp(static_cast<int>(u), 0, 36);
    const double v = table_[k] + (table_[std::min(k + 1, 36)] - table_[k]) * (u - k);
    return lat < 0 ? -v : v;
}

// 心射円筒図法: the view from the centre onto a tangent cylinder.
bool clsPrjPoint::LLtoXY10(double lam, double phi, double& x, double& y) const {
    if (!InRangeD(phi, -1.047270273248763, 1.047270273248763)) return false;   // +-216015"
    x = lam;
    y = std::tan(phi);
    return true;
}

// 平射円筒図法: the view from the opposite point of the equator.
bool clsPrjPoint::LLtoXY11(double lam, double phi, double& x, double& y) const {
    x = lam;
    y = 2 * std::tan(phi / 2);
    return true;
}

// 正距円筒図法: true distance along the meridians.
bool clsPrjPoint::LLtoXY12(double lam, double phi, double& x, double& y) const {
    x = k_ * lam;
    y = phi;
    return true;
}

// メルカトル図法: conformal.
bool clsPrjPoint::LLtoXY13(double lam, double phi, double& x, double& y) const {
    if (!InRangeD(phi, -1.483602586247345, 1.483602586247345)) return false;   // +-306015"
    x = lam;
    y = std::log(std::tan(phi / 2 + 0.7853981633974475));
    return true;
}

// ミラー図法: Mercator of 4/5 of the latitude, stretched by 5/4.
bool clsPrjPoint::LLtoXY14(double lam, double phi, double& x, double& y) const {
    x = lam;
    y = 1.25 * std::log(std::tan(0.4 * phi + 0.7853981633974475));
    return true;
}

// ベールマン図法: equal-area cylinder cutting the globe at +-s.
bool clsPrjPoint::LLtoXY15(double lam, double phi, double& x, double& y) const {
    x = k_ * lam;
    y = std::sin(phi) / k_;
    return true;
}

// サンソン図法: sinusoidal.
bool clsPrjPoint::LLtoXY16(double lam, double phi, double& x, double& y) const {
    x = lam * std::cos(phi);
    y = phi;
    return true;
}

// モルワイデ図法: the globe's area in an ellipse of axes 2 sqrt 2 and sqrt 2
// (0.9003... = 2 sqrt 2 / pi).
bool clsPrjPoint::LLtoXY17(double lam, double phi, double& x, double& y) const {
    const double theta = AuxAngleLookup(phi);
    x = 0.900316316157107 * lam * std::cos(theta);
    y = 1.4142135623731 * std::sin(theta);
    return true;
}

// エッケルト図法・第４式: elliptical meridians, the pole half the equator.
bool clsPrjPoint::LLtoXY18(double lam, double phi, double& x, double& y) const {
    const double theta = AuxAngleLookup(phi);
    x = 0.422238200315771 * lam * (1 + std::cos(theta));
    y = 1.326500428177 * std::sin(theta);
    return true;
}

// エッケルト図法・第６式: sinusoidal meridians, the pole half the equator.
bool clsPrjPoint::LLtoXY19(double lam, double phi, double& x, double& y) const {
    const double theta = AuxAngleLookup(phi);
    x = 0.441012771724552 * lam * (1 + std::cos(theta));
    y = 0.882025543449103 * theta;
    return true;
}

// グード図法: sinusoidal up to 40 degrees 44 minutes, where its parallels are
// as long as Mollweide's, and Mollweide beyond, shifted to meet it; each
// lobe about its own meridian.
bool clsPrjPoint::LLtoXY29(double lam, double phi, double& x, double& y) const {
    double f;
    if (InRangeD(phi, -0.7109307819790229, 0.7109307819790229)) {   // +-146640"
        f = std::cos(phi);
        y = phi;
    } else {
        const double theta = AuxAngleLookup(phi);
        const double y0 = 1.4142135623731 * std::sin(theta);
        f = std::sqrt(std::max(0.0, 2 - y0 * y0)) / kHalfPi;
        y = phi > 0 ? y0 - 0.0527335438734063 : y0 + 0.0527335438734063;
    }
    x = GoodeLobeX(lam, phi, f);
    return true;
}
