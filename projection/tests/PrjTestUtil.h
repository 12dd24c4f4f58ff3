// Helpers shared by the projection tests.
#pragma once

#include <QStringList>

#include <cmath>
#include <numbers>
#include <random>

#include "AppState.h"
#include "clsEnvironment.h"

namespace prjtest {

constexpr double kPi = std::numbers::pi;
inline double Deg(double d) { return d * kPi / 180; }
// Degrees, minutes and seconds in radians.
inline double Dms(double d, double m, double s) { return Deg(d + m / 60 + s / 3600); }
// Arc-seconds in radians, as the program converts them.
inline double Sec(double s) { return s * 4.848136811095355e-6; }

// Installs an Environment.txt of the given lines for the life of the object.
class EnvScope {
public:
    explicit EnvScope(const QStringList& lines) {
        env_.LoadLines(lines);
        gvEnvironment = &env_;
    }
    ~EnvScope() { gvEnvironment = nullptr; }

private:
    clsEnvironment env_;
};

// Reproducible random points.
class Points {
public:
    explicit Points(unsigned seed = 20240601u) : rng_(seed) {}
    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
    // Uniform on the sphere.
    void next(double& lon, double& lat) {
        lon = uniform(-kPi, kPi);
        lat = std::asin(uniform(-1, 1));
    }

private:
    std::mt19937_64 rng_;
};

} // namespace prjtest
