// Rings written in degrees for the tests.
#pragma once

#include "RingGeometry.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace worldsrc {

// Degrees (longitude, latitude) to arc-seconds.
inline SecRing Sec(std::initializer_list<std::pair<double, double>> degrees) {
    SecRing r;
    for (auto [x, y] : degrees) r.push_back({int32_t(std::lround(x * SecPerDegree)), int32_t(std::lround(y * SecPerDegree))});
    return r;
}

} // namespace worldsrc
