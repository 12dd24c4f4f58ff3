// Constants and small helpers shared by the projection formulas. The
// formulas use these truncated literals, not the exact pi: map files keep
// projected points in metres, and the same literals give the same metres.
#pragma once

#include <algorithm>
#include <cmath>

namespace prj {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;
constexpr double kHalfPi = 1.5707963267949;
constexpr double kRadPerSec = 4.848136811095355e-6;

inline bool InRangeD(double a, double lo, double hi) { return lo <= a && a <= hi; }
inline bool IsNearZero(double a) { return InRangeD(a, -1e-6, 1e-6); }
// lo for anything not at least lo (NaN included).
inline double ClampD(double v, double lo, double hi) { return !(v >= lo) ? lo : std::min(v, hi); }
inline double ClampUnit(double v) { return ClampD(v, -1, 1); }

inline double NormalizeRadian(double a) {
    if (!std::isfinite(a)) return 0;
    // Far angles first lose their whole turns at once; the loops then match
    // the stepwise reduction.
    if (std::fabs(a) > 64 * kTwoPi) a = std::remainder(a, kTwoPi);
    while (a > kPi) a -= kTwoPi;
    while (a < -kPi) a += kTwoPi;
    return a;
}

// Polar coordinates about the projection centre: the centre's own meridian
// southward points down, eastward points right.
inline void PolarToPlane(double theta, double r, double& x, double& y) {
    const double s = std::sin(theta), c = std::cos(theta);
    x = r * s;
    y = -r * c;
}

} // namespace prj
