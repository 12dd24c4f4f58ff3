#include "clsSurvey.h"

#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basNumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

const QString kClass = QStringLiteral("clsSurvey");

constexpr double kPi = 3.14159265358979;
constexpr double kHalfPi = 1.5707963267949;
constexpr double kTwoPi = 6.28318530717958;
constexpr double kOneSecond = 4.848136811095355e-6;
constexpr double kPiLessOneSecond = 3.141587805452979;
constexpr int32_t kPoleMargin = 323997;   // within 3" of a pole
constexpr int64_t kTurn = 1296000;
constexpr int64_t kHalfTurn = 648000;

// Radians of a count of arc-seconds that may exceed 32 bits (differences).
double Rad(int64_t sec) { return static_cast<double>(sec) * SecToRadian(1); }

// The terms of the angle and the azimuth between two points:
// east = cos f2 sin dl, north = cos f1 sin f2 - sin f1 cos f2 cos dl (the
// components of point 2 seen from point 1), along = the dot product. The
// north and along terms are written with sin(f2 - f1) and sin^2(dl / 2) so
// that short arcs keep their relative precision.
struct Bearing {
    double east, north, along;
};

Bearing BearingOf(int32_t lon1, int32_t lat1, int32_t lon2, int32_t lat2) {
    const double f1 = SecToRadian(lat1), f2 = SecToRadian(lat2);
    const double dl = Rad(int64_t{lon2} - lon1);
    const double s1 = std::sin(f1), c1 = std::cos(f1), c2 = std::cos(f2);
    const double h = std::sin(dl / 2);
    const double hav = 2 * h * h;   // 1 - cos dl
    const double df = Rad(int64_t{lat2} - lat1);
    return Bearing{c2 * std::sin(dl), std::sin(df) + s1 * c2 * hav, std::cos(df) - c1 * c2 * hav};
}

double ArcOf(const Bearing& b) { return std::atan2(std::sqrt(b.east * b.east + b.north * b.north), b.along); }

// Heights in Lambert's equal-area plane, sin(latitude) in arc-seconds of
// radian, taken relative to a base latitude: sin f - sin f0 written as
// 2 cos((f + f0) / 2) sin((f - f0) / 2), exact for close latitudes and
// near the poles, where the difference of the sines would cancel.
struct EqualAreaHeight {
    int32_t lat0;
    double operator()(int32_t lat) const {
        return 2 * std::cos(Rad(int64_t{lat} + lat0) / 2) * std::sin(Rad(int64_t{lat} - lat0) / 2) / SecToRadian(1);
    }
    // The pole (+1 north, -1 south) seen from the base: +-(1 -+ sin f0).
    double pole(int sign) const {
        const double h = std::sin(Rad(324000 - int64_t{sign} * lat0) / 2);
        return sign * 2 * h * h / SecToRadian(1);
    }
};

} // namespace

double clsSurvey::ArcRadian() const {
    try {
        return ArcOf(BearingOf(Lon1, Lat1, Lon2, Lat2));
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ArcRadian"));
    }
}

double clsSurvey::ArcDistance() const { return ArcRadian() * GlobeRadius; }

double clsSurvey::DirectionRadian() const {
    try {
        if (Lat1 >= kPoleMargin || Lat2 <= -kPoleMargin) return kPi;
        if (Lat1 <= -kPoleMargin || Lat2 >= kPoleMargin) return 0;
        const Bearing b = BearingOf(Lon1, Lat1, Lon2, Lat2);
        const double arc = ArcOf(b);
        if (arc < kOneSecond || arc > kPiLessOneSecond) return 0;
        double az = AnglePosToRadian(b.north, b.east);
        if (az < 0) az += kTwoPi;
        return az;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DirectionRadian"));
    }
}

// The point at angular distance s and azimuth az from point 1: found at
// distance s from the north pole, then the pole is turned down to point 1.
void clsSurvey::Direct(double s, double az, int32_t& lon, int32_t& lat) const {
    double x, y, z;
    LonLatToVector(kPi - az, kHalfPi - s, x, y, z);
    RotateXY(Rad(int64_t{Lat1} - 324000), y, z);
    double rlon, rlat;
    VectorToLonLat(x, y, z, rlon, rlat);
    lon = plat::CLng(static_cast<double>(int64_t{RadianToSec(rlon)} + Lon1));
    lat = RadianToSec(rlat);
    NormalizeLonLat(lon, lat);
}

void clsSurvey::setArcRadian(double arc) {
    try {
        if (!(arc >= 0 && arc <= kPi)) return;
        const double az = DirectionRadian();
        Direct(arc, az, Lon2, Lat2);
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ArcRadian"));
    }
}

void clsSurvey::setDirectionRadian(double az) {
    try {
        const double s = ArcRadian();
        Direct(s, az, Lon2, Lat2);
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DirectionRadian"));
    }
}

void clsSurvey::SetAll(int32_t lon1, int32_t lat1, int32_t lon2, int32_t lat2) {
    Lon1 = lon1;
    Lat1 = lat1;
    Lon2 = lon2;
    Lat2 = lat2;
}

clsPoly clsSurvey::RoutePoly(int32_t step) const {
    try {
        const double h = SecToRadian(Clamp(step, 15, 324000));
        const double arc = ArcRadian();
        const double az = DirectionRadian();
        clsPoly route;
        route.AddXandY(Lon1, Lat1);
        double s = h;
        while (s < arc) {
            int32_t lon, lat;
            Direct(s, az, lon, lat);
            if (lat >= -kPoleMargin && lat <= kPoleMargin) {
                route.AddXandY(lon, lat);
                s += h;
            } else {
                s += h / 3;
            }
        }
        route.AddXandY(Lon2, Lat2);
        return route;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("RoutePoly"));
    }
}

double clsSurvey::PolyLength(const clsPoly& poly) {
    double sum = 0;
    for (int32_t i = 2; i <= poly.Count(); ++i) {
        poly.GetXandY(i - 1, Lon1, Lat1);
        poly.GetXandY(i, Lon2, Lat2);
        sum += ArcDistance();
    }
    return sum;
}

double clsSurvey::PolyLength(const clsPoly* poly) { return poly ? PolyLength(*poly) : 0.0; }

double clsSurvey::PolyArea(const clsPoly* poly) { return poly ? PolyArea(*poly) : 0.0; }

double clsSurvey::PolyArea(const clsPoly& poly) {
    try {
        if (poly.Count() < 3) return 0;
        const std::span<const PolyPoint> given = poly.Points();
        std::vector<PolyPoint> ring(given.begin(), given.end());
        if (!poly.IsLoop()) ring.push_back(ring.front());

        // Long edges follow their great circles. Each is sampled from the
        // lesser of its ends, so that a ring run the other way, or from
        // another point, is sampled at the very same points.
        std::vector<PolyPoint> p;
        p.reserve(ring.size());
        p.push_back(ring.front());
        for (size_t i = 1; i < ring.size(); ++i) {
            const PolyPoint a = ring[i - 1], b = ring[i];
            int64_t dx = std::llabs(int64_t{b.x} - a.x);
            if (dx > kHalfTurn && dx <= kTurn) dx = kTurn - dx;   // the short way round
            const double dy = double(b.y) - a.y;
            if (std::nearbyint(Hypot(double(dx), dy)) > 18000) {
                const bool backwards = b.x < a.x || (b.x == a.x && b.y < a.y);
                if (backwards)
                    SetAll(b.x, b.y, a.x, a.y);
                else
                    SetAll(a.x, a.y, b.x, b.y);
                const clsPoly route = RoutePoly(1800);
                const std::span<const PolyPoint> r = route.Points();
                if (r.size() > 2) {
                    if (backwards)
                        p.insert(p.end(), r.rbegin() + 1, r.rend() - 1);
                    else
                        p.insert(p.end(), r.begin() + 1, r.end() - 1);
                }
            }
            SetAll(a.x, a.y, b.x, b.y);
            p.push_back(b);
        }

        // Longitudes unwrapped across 180 degrees, latitudes to the equal-area
        // plane; the shoelace sum (twice the signed area) about point 1.
        const double x0 = p.front().x;
        const EqualAreaHeight height{p.front().y};
        int64_t offset = 0;
        double px = 0, py = 0;   // previous point, relative to point 1
        double sum = 0;
        for (size_t k = 1; k < p.size(); ++k) {
            const int64_t d = int64_t{p[k].x} - p[k - 1].x;
            if (d < -324000)
                offset += kTurn;
            else if (d > 324000)
                offset -= kTurn;
            const double x = static_cast<double>(int64_t{p[k].x} + offset) - x0;
            const double y = height(p[k].y);
            sum += px * y - py * x;
            px = x;
            py = y;
        }
        if (offset != 0) {
            // The ring goes round the globe: close it over either pole and
            // keep the smaller side. Its last point is point 1 a turn away,
            // so each closure adds the rectangle up to that pole.
            const double north = sum + 2 * px * height.pole(1);
            const double south = sum + 2 * px * height.pole(-1);
            sum = std::min(std::abs(north), std::abs(south));
        }
        return std::abs(sum) / 2 * MeterPerSec * MeterPerSec;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("PolyArea"));
    }
}
