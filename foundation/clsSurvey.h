// Measurement on the globe between two points given in integer arc-seconds:
// the great-circle angle and distance, the azimuth from the first point to
// the second, moving the second point to a given distance or azimuth (the
// direct problem), the great-circle route between the points, and the length
// and area of a longitude/latitude point sequence. Errors name "clsSurvey".
//
// The globe is a sphere of radius GlobeRadius (basGlobe); longitudes are x,
// latitudes y of the point sequences, both in arc-seconds.
//
// Accuracy (doubles throughout; figures from the tests):
// - ArcRadian is atan2(|a x b|, a . b), its terms written with sin(dlat)
//   and sin^2(dlon / 2), so it keeps full relative precision from one
//   arc-second up to antipodal points. It agrees with the haversine formula
//   evaluated in extended precision to 1.5e-13 relative (worst of 10^4
//   random pairs, near and far; the worst lie near the poles, where a
//   latitude in radians is itself no more precise), and is exact to about
//   1e-15 rad at antipodes, where haversine fails.
// - ArcDistance and PolyLength carry the same relative accuracy.
// - DirectionRadian is exact to about 1e-12 rad where it is defined (see
//   the degenerate cases below).
// - The direct problem (both setters, RoutePoly) rounds the new point to
//   whole arc-seconds, half to even: each coordinate lies within 0.5" of
//   the exact point (about 15 m on the default globe); the computation
//   itself adds less than 1e-9".
// - PolyArea measures the ring with its edges read this way: an edge that
//   spans more than 18000" (5 degrees) in the plane of longitude and
//   latitude (longitudes taken the short way round) follows its great
//   circle, sampled every 1800" at whole arc-seconds; every shorter edge,
//   and each piece of a sampled one, is a straight line in the equal-area
//   plane of longitude and sin(latitude). The area of that figure is exact
//   to about 1e-13 relative: a cap bounded by a parallel (vertices at most
//   5 degrees apart) agrees with 2 pi R^2 (1 - sin phi), and a quadrangle
//   of meridians and parallels with R^2 dlon (sin phi2 - sin phi1), both to
//   1e-12. Against the spherical excess of a triangle of great circles it
//   is 2e-5 low for edges of tens of degrees (the half-degree pieces are
//   straight in the equal-area plane) and 6e-4 low for a triangle of
//   4-degree edges, which are not sampled at all.
//
// Degenerate cases:
// - Coincident points (and points less than one arc-second apart): arc 0,
//   azimuth 0 (north). The route is the two points.
// - Antipodal points (less than one arc-second from antipodal): arc pi,
//   azimuth 0; the route runs north from point 1 along its meridian and
//   over the north pole.
// - Point 1 within 3" of the north pole, or point 2 within 3" of the south
//   pole: azimuth pi (south). Point 1 within 3" of the south pole, or point
//   2 within 3" of the north pole: azimuth 0 (north). The first rule wins.
// - A route across a pole leaves out the samples beyond latitude +-323997
//   (within 3" of the pole) and goes on in thirds of the step until a
//   sample is kept again.
// - setArcRadian ignores arcs outside 0..3.14159265358979; setDirectionRadian
//   takes any azimuth. Both normalise the new point (longitude
//   -648000..648000, latitude folded over the poles).
// - PolyArea of a ring that goes once round the globe in longitude (it
//   encloses a pole) is the smaller of the two regions it divides the
//   sphere into: for a ring within one hemisphere, the cap on its side. The
//   result does not depend on the direction of the ring nor on its first
//   point. A ring that winds round more than once is not measured
//   meaningfully.
// - PolyLength and PolyArea of an empty sequence (the stand-in for none)
//   are 0; so is PolyArea under 3 points.
//
// Side effects: PolyLength and PolyArea leave the last pair of points they
// loaded in the four fields (the last edge of the sequence, for PolyArea
// the closing edge of the ring when it was open).
#pragma once

#include <cstdint>

#include "clsPoly.h"

class clsSurvey {
public:
    int32_t Lon1 = 0;
    int32_t Lat1 = 0;
    int32_t Lon2 = 0;
    int32_t Lat2 = 0;

    // Great-circle angle between the points, in radians (0..pi).
    double ArcRadian() const;
    // Moves point 2 to the angular distance arc from point 1 along the
    // current azimuth; arcs outside 0..pi change nothing.
    void setArcRadian(double arc);
    // ArcRadian x GlobeRadius, metres.
    double ArcDistance() const;
    // Azimuth at point 1 towards point 2, clockwise from north, 0..2 pi.
    double DirectionRadian() const;
    // Moves point 2 to azimuth az from point 1 at the current distance.
    void setDirectionRadian(double az);
    void SetAll(int32_t lon1, int32_t lat1, int32_t lon2, int32_t lat2);

    // The great-circle route from point 1 to point 2: point 1, samples every
    // step arc-seconds (clamped to 15..324000), and point 2 exactly as held.
    // At least two points.
    clsPoly RoutePoly(int32_t step) const;
    // Length in metres along great circles between consecutive points.
    double PolyLength(const clsPoly& poly);
    double PolyLength(const clsPoly* poly);
    // Area in square metres of the ring (closed or not).
    double PolyArea(const clsPoly& poly);
    double PolyArea(const clsPoly* poly);

private:
    void Direct(double s, double az, int32_t& lon, int32_t& lat) const;
};
