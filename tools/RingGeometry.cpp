#include "RingGeometry.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace worldsrc {

namespace {

struct Pt {
    double x = 0;  // longitude in degrees, possibly beyond ±180 after unwrapping
    double y = 0;  // latitude in degrees
};
using PlaneRing = std::vector<Pt>;

// The ring as a closed planar figure: longitudes continuous across the date
// line, and a ring that goes round the globe closed along its pole.
PlaneRing Planar(const SecRing& ring) {
    PlaneRing out;
    if (ring.empty()) return out;
    out.reserve(ring.size() + 3);
    double x = ring[0].lon / double(SecPerDegree);
    out.push_back({x, ring[0].lat / double(SecPerDegree)});
    double latSum = out.back().y;
    for (size_t i = 1; i < ring.size(); ++i) {
        int64_t d = int64_t(ring[i].lon) - ring[i - 1].lon;
        if (d > MaxLonSec) d -= 2 * MaxLonSec;
        if (d < -MaxLonSec) d += 2 * MaxLonSec;
        x += d / double(SecPerDegree);
        out.push_back({x, ring[i].lat / double(SecPerDegree)});
        latSum += out.back().y;
    }
    const Pt first = out.front();
    const Pt last = out.back();
    if (std::fabs(last.x - first.x) > 180) {
        const double pole = latSum < 0 ? -90.0 : 90.0;
        out.push_back({last.x, pole});
        out.push_back({first.x, pole});
        out.push_back(first);
    } else if (last.x != first.x || last.y != first.y) {
        out.push_back(first);
    }
    return out;
}

double Area(const PlaneRing& r) {
    double twice = 0;
    for (size_t i = 1; i < r.size(); ++i) twice += r[i - 1].x * r[i].y - r[i].x * r[i - 1].y;
    return twice / 2;
}

Pt Centroid(const PlaneRing& r) {
    const double a = Area(r);
    if (std::fabs(a) < 1e-12) {
        // A ring without area: the mean of its points is as good as any.
        Pt m;
        for (const Pt& p : r) {
            m.x += p.x;
            m.y += p.y;
        }
        return {m.x / double(r.size()), m.y / double(r.size())};
    }
    double cx = 0, cy = 0;
    for (size_t i = 1; i < r.size(); ++i) {
        const double f = r[i - 1].x * r[i].y - r[i].x * r[i - 1].y;
        cx += (r[i - 1].x + r[i].x) * f;
        cy += (r[i - 1].y + r[i].y) * f;
    }
    return {cx / (6 * a), cy / (6 * a)};
}

// The x where each edge meets the parallel y; an edge counts when one end is
// above and the other not, so a vertex on the parallel is counted once.
void Crossings(const PlaneRing& r, double y, std::vector<double>& xs) {
    for (size_t i = 1; i < r.size(); ++i) {
        const Pt& a = r[i - 1];
        const Pt& b = r[i];
        if ((a.y > y) != (b.y > y)) xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
    }
}

bool Parity(const std::vector<PlaneRing>& rings, Pt p) {
    std::vector<double> xs;
    for (const PlaneRing& r : rings) Crossings(r, p.y, xs);
    return std::count_if(xs.begin(), xs.end(), [&](double x) { return p.x < x; }) % 2 != 0;
}

// All rings of a polygon in the longitude frame of rings[ref], each shifted by
// whole turns so that the polygon's pieces lie side by side.
std::vector<PlaneRing> Aligned(const SecPolygon& polygon, size_t ref) {
    std::vector<PlaneRing> out;
    out.reserve(polygon.rings.size());
    for (const SecRing& r : polygon.rings) out.push_back(Planar(r));
    const auto middle = [](const PlaneRing& r) {
        const auto [lo, hi] = std::minmax_element(r.begin(), r.end(), [](Pt a, Pt b) { return a.x < b.x; });
        return (lo->x + hi->x) / 2;
    };
    if (out[ref].empty()) return out;
    const double m = middle(out[ref]);
    for (PlaneRing& r : out) {
        if (r.empty()) continue;
        const double shift = 360 * std::round((m - middle(r)) / 360);
        for (Pt& p : r) p.x += shift;
    }
    return out;
}

SecPoint ToSecPoint(Pt p) {
    const double x = p.x - 360 * std::floor((p.x + 180) / 360);
    int32_t lon = int32_t(std::nearbyint(x * SecPerDegree));
    if (lon >= MaxLonSec) lon -= 2 * MaxLonSec;
    const int32_t lat = int32_t(std::clamp(std::nearbyint(p.y * SecPerDegree), double(-MaxLatSec), double(MaxLatSec)));
    return {lon, lat};
}

} // namespace

SecRing ToSeconds(const DegRing& ring) {
    SecRing out;
    out.reserve(ring.size());
    for (const DegPoint& p : ring) {
        const double x = std::nearbyint(p.lon * SecPerDegree);
        const double y = std::nearbyint(p.lat * SecPerDegree);
        if (!(std::fabs(x) <= MaxLonSec && std::fabs(y) <= MaxLatSec))
            throw WorldSourceError(QStringLiteral("position %1, %2 is not a longitude and latitude")
                                       .arg(p.lon).arg(p.lat).toStdString());
        const SecPoint s{int32_t(x), int32_t(y)};
        if (out.empty() || !(out.back() == s)) out.push_back(s);
    }
    return out;
}

int DateLineJumps(const SecRing& ring) {
    int n = 0;
    for (size_t i = 1; i < ring.size(); ++i)
        if (std::llabs(int64_t(ring[i].lon) - ring[i - 1].lon) > MaxLonSec) ++n;
    return n;
}

bool IsDegenerate(const SecRing& ring) {
    if (ring.size() < 4) return true;
    bool oneLat = true;
    bool oneLon = true;
    for (const SecPoint& p : ring) {
        oneLat = oneLat && p.lat == ring[0].lat;
        oneLon = oneLon && p.lon == ring[0].lon;
    }
    if (oneLat || oneLon) return true;
    // Three distinct corners at least (the last point repeats the first).
    std::vector<SecPoint> corners(ring.begin(), ring.end());
    std::sort(corners.begin(), corners.end(),
              [](SecPoint a, SecPoint b) { return a.lon != b.lon ? a.lon < b.lon : a.lat < b.lat; });
    return std::unique(corners.begin(), corners.end()) - corners.begin() < 3;
}

double PlanarArea(const SecRing& ring) { return Area(Planar(ring)); }

bool Contains(const SecPolygon& polygon, SecPoint p) {
    if (polygon.rings.empty()) return false;
    const std::vector<PlaneRing> rings = Aligned(polygon, 0);
    const Pt q{p.lon / double(SecPerDegree), p.lat / double(SecPerDegree)};
    for (const double shift : {0.0, -360.0, 360.0})
        if (Parity(rings, {q.x + shift, q.y})) return true;
    return false;
}

SecPoint LabelPoint(const std::vector<SecPolygon>& polygons) {
    const SecPolygon* best = nullptr;
    size_t bestRing = 0;
    double bestArea = -1;
    for (const SecPolygon& polygon : polygons) {
        for (size_t i = 0; i < polygon.rings.size(); ++i) {
            if (polygon.rings[i].empty()) continue;
            const double a = std::fabs(PlanarArea(polygon.rings[i]));
            if (a > bestArea) {
                best = &polygon;
                bestRing = i;
                bestArea = a;
            }
        }
    }
    if (!best) throw WorldSourceError("a country without any ring has no label point");

    const std::vector<PlaneRing> rings = Aligned(*best, bestRing);
    const PlaneRing& ring = rings[bestRing];
    const Pt c = Centroid(ring);
    if (Parity(rings, c)) return ToSecPoint(c);

    const auto [lo, hi] = std::minmax_element(ring.begin(), ring.end(), [](Pt a, Pt b) { return a.y < b.y; });
    const double y = (lo->y + hi->y) / 2;
    std::vector<double> xs;
    for (const PlaneRing& r : rings) Crossings(r, y, xs);
    std::sort(xs.begin(), xs.end());
    double width = -1;
    Pt inside = c;
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        if (xs[i + 1] - xs[i] > width) {
            width = xs[i + 1] - xs[i];
            inside = {(xs[i] + xs[i + 1]) / 2, y};
        }
    }
    return ToSecPoint(inside);
}

} // namespace worldsrc
