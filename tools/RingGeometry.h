// Rings in integer arc-seconds and the little planar geometry the generators
// need: date-line and pole detection, areas and a label point inside a
// country.
//
// The planar routines work on longitude/latitude as plane coordinates, with
// one allowance for the sphere: a ring's longitudes are made continuous
// across ±180° (Fiji's ring runs from 178° to 182°), and a ring that goes
// once round the globe (Antarctica's coast) is closed along the pole it
// encloses. This is enough to compare sizes and to find a point inside; it is
// not a measurement on the sphere.
#pragma once

#include "TopoJson.h"

#include <cstdint>
#include <vector>

namespace worldsrc {

constexpr int32_t SecPerDegree = 3600;
constexpr int32_t MaxLonSec = 180 * SecPerDegree;  // 648000
constexpr int32_t MaxLatSec = 90 * SecPerDegree;   // 324000

struct SecPoint {
    int32_t lon = 0;
    int32_t lat = 0;
    bool operator==(const SecPoint&) const = default;
};
using SecRing = std::vector<SecPoint>;

// The rings of one polygon, the outer one first, then its holes. Rings are
// closed: the last point repeats the first.
struct SecPolygon {
    std::vector<SecRing> rings;
};

// Degrees to arc-seconds, rounded half to even; a point that rounds onto its
// predecessor is dropped. Throws WorldSourceError outside ±180° / ±90°.
SecRing ToSeconds(const DegRing& ring);

// How often consecutive longitudes jump by more than 180°: the ring crosses
// the date line there. An even count crosses and comes back; an odd count
// means the ring goes round the globe and encloses a pole.
int DateLineJumps(const SecRing& ring);
inline bool EnclosesPole(const SecRing& ring) { return DateLineJumps(ring) % 2 != 0; }

// A ring that outlines nothing: fewer than three distinct corners, or all
// its points on one parallel or one meridian. Antarctica's 1:50m outline
// comes with such a ring along -89.999°, which the drawing must not take as
// a polar cap.
bool IsDegenerate(const SecRing& ring);

// Signed planar area in square degrees (counter-clockwise positive), after
// the date-line and pole allowance above.
double PlanarArea(const SecRing& ring);

// Even-odd inside test against all rings of the polygon, holes excluded;
// longitudes are compared modulo 360°.
bool Contains(const SecPolygon& polygon, SecPoint p);

// A point for a country's name: the centroid of the largest ring (by planar
// area) when it lies inside that ring's polygon, else the midpoint of the
// widest piece of the polygon on the parallel through the ring's vertical
// middle. Longitude in [-180°, 180°). Throws WorldSourceError when there is no
// ring at all.
SecPoint LabelPoint(const std::vector<SecPolygon>& polygons);

} // namespace worldsrc
