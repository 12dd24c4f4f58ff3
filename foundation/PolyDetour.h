// A quick test for the simplification's detour rule: most triples of a drawn
// outline bend clearly and are told apart without a square root.
#pragma once

#include <cmath>

#include "clsPoly.h"

// True when the middle point's detour (|p1p2| + |p2p3| - |p1p3|) is surely
// not below tol, or the span |p1p3| surely not below maxSpan: then the triple
// cannot go. With u = p2 - p1, v = p3 - p2 and c the span, the detour is
// 2 cross^2 / ((|u||v| + u.v)(|u| + |v| + c)); the first factor is at most
// c^2 / 2 and, for a triple that may go, the second below 2 maxSpan + tol.
// The margin lies far above the rounding of the exact test.
inline bool DetourClearlyAbove(const PolyPoint& p1, const PolyPoint& p2, const PolyPoint& p3, double tol,
                               double maxSpan) {
    constexpr double kExact = 33554432.0;   // 2^25: every product below stays exact
    const double dx = double(p3.x) - p1.x, dy = double(p3.y) - p1.y;
    if (!(std::fabs(dx) < kExact && std::fabs(dy) < kExact)) return false;
    if (!(std::fabs(dx) < maxSpan && std::fabs(dy) < maxSpan)) return true;   // the span is no shorter
    const double ux = double(p2.x) - p1.x, uy = double(p2.y) - p1.y;
    if (!(tol >= 1e-7 && maxSpan < kExact && std::fabs(ux) < kExact && std::fabs(uy) < kExact)) return false;
    const double cross = ux * dy - uy * dx;
    return 4 * cross * cross > tol * (dx * dx + dy * dy) * (2 * maxSpan + tol) * (1 + 1e-6);
}
