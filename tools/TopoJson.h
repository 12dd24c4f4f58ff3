// TopoJSON topologies as the world-atlas package ships them: shared arcs,
// optionally quantized and delta-encoded, and geometry objects that refer to
// the arcs by index (i forward, ~i backward).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <vector>

namespace worldsrc {

// Every fault in the source data: a clear message, never a crash.
class WorldSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DegPoint {
    double lon = 0;
    double lat = 0;
    bool operator==(const DegPoint&) const = default;
};
using DegRing = std::vector<DegPoint>;

// Arc references of one ring or line: i is arc i as stored, ~i (= -i-1) is
// arc i backward.
using ArcRefs = std::vector<int32_t>;

struct TopoGeometry {
    enum class Kind { Polygon, MultiPolygon, LineString, MultiLineString, Other };
    Kind kind = Kind::Other;
    QString id;    // empty when the feature has none; a number as its text
    QString name;  // properties.name, empty when absent
    // Polygon and MultiPolygon: each polygon's rings, the outer one first.
    std::vector<std::vector<ArcRefs>> polygons;
    // LineString and MultiLineString: one entry per line.
    std::vector<ArcRefs> lines;
};

class Topology {
public:
    // Throws WorldSourceError on anything malformed, including arc references
    // out of range, so that the accessors below cannot fail.
    static Topology Parse(const QByteArray& json);
    static Topology ReadFile(const QString& path);

    // The arcs decoded to absolute degrees.
    const std::vector<DegRing>& arcs() const { return arcs_; }

    bool hasObject(const QString& name) const { return objects_.count(name) != 0; }
    // The geometries of a named object, nested collections flattened in order.
    // Throws WorldSourceError when there is no such object.
    const std::vector<TopoGeometry>& object(const QString& name) const;

    // The arcs joined into one ring or line: each arc after the first starts
    // where the previous one ends, so its first point is dropped.
    DegRing stitch(const ArcRefs& refs) const;

    // A copy whose arcs keep only the points that stray more than
    // `tolerance` degrees (in the longitude/latitude plane) from the line
    // between the points kept around them (Douglas-Peucker). Each arc keeps
    // its ends and its point farthest from them, so arcs stay shared, rings
    // keep an area and lines their course.
    Topology Thinned(double tolerance) const;

private:
    std::vector<DegRing> arcs_;
    std::map<QString, std::vector<TopoGeometry>> objects_;
};

// An arc that the rings of two geometries with different keys share.
struct SharedArc {
    int32_t arc = 0;  // index into Topology::arcs()
    int keyA = 0;     // key of the first geometry that uses it
    int keyB = 0;     // key of another geometry using it with a different key
};

// The arcs used by polygons of at least two different keys (keys[i] belongs to
// geoms[i]), each arc once, in arc order. With country codes as keys these are
// the international borders; coasts and the arcs inside one country drop out.
std::vector<SharedArc> SharedArcs(const std::vector<TopoGeometry>& geoms, const std::vector<int>& keys);

} // namespace worldsrc
