// Helpers shared by the projection tests.
#pragma once

#include <QStringList>

#include <cmath>
#include <numbers>
#include <optional>
#include <random>

#include "AppState.h"
#include "clsEnvironment.h"
#include "clsPrjPoint.h"

namespace prjtest {

constexpr double kPi = std::numbers::pi;
inline double Deg(double d) { return d * kPi / 180; }
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

struct PrjSetup {
    int16_t index = 12;
    double light = 2.0;
    double cone = Deg(60);
    double secant = 0;
};

inline clsPrjPoint MakePrj(const PrjSetup& s) {
    clsPrjPoint p;
    p.setPrjIndex(s.index);
    p.setLight(s.light);
    p.setCone(s.cone);
    p.setSecant(s.secant);
    return p;
}

struct XY {
    double x = 0, y = 0;
};

// The formula alone, on a point already in the projection frame.
inline std::optional<XY> Fwd(clsPrjPoint& p, double lam, double phi) {
    XY r;
    bool ok = false;
    p.LLtoXY(lam, phi, r.x, r.y, ok);
    return ok ? std::optional<XY>(r) : std::nullopt;
}

// Axis and formula: a point of the globe onto the plane.
inline std::optional<XY> Project(clsPrjPoint& p, double lon, double lat) {
    double al, ap;
    p.Axis(lon, lat, al, ap);
    return Fwd(p, al, ap);
}

} // namespace prjtest
