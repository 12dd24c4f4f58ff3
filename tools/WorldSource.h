// The countries and borders of a world-atlas topology as plain data for the
// generators: outlines in arc-seconds, codes, names, areas, label points.
#pragma once

#include "CountryNames.h"
#include "RingGeometry.h"
#include "TopoJson.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace worldsrc {

struct Country {
    int16_t code = -1;         // ISO 3166-1 numeric, or our own 900..999
    QString englishName;
    QString japaneseName;      // empty when no source has one
    int16_t area = -1;         // Area, -1 when the continent table lacks the code
    std::vector<SecPolygon> polygons;
    SecPoint label;            // inside the country, for its name
    QStringList sourceNames;   // world-atlas names of the features merged into it
};

// A stretch of border between two countries, as one polyline.
struct Border {
    int16_t codeA = -1;
    int16_t codeB = -1;
    SecRing line;
};

// A stretch of coast, as one polyline: an arc that a single ring uses, so
// that the sea lies on its other side.
struct Coast {
    int16_t code = -1;  // the country (or the key) whose ring uses it
    SecRing line;
};

struct World {
    std::vector<Country> countries;  // by code
    std::vector<Border> borders;     // in arc order, each arc once
    std::vector<Coast> coasts;       // in arc order
    std::vector<SecPolygon> lakes;   // drawn over the countries as water
};

// The polygons of every geometry of an object (land, a country), in order.
std::vector<SecPolygon> ReadPolygons(const Topology& topo, const std::vector<TopoGeometry>& geoms);

// The arcs that exactly one ring of the geometries uses (keys[i] belongs to
// geoms[i]), in arc order. Rings without area (IsDegenerate) are left out, so
// that Antarctica's ring along -89.999° gives no coast.
std::vector<Coast> CoastLines(const Topology& topo, const std::vector<TopoGeometry>& geoms, const std::vector<int>& keys);

// The countries of the object (world-atlas calls it "countries"). Features with
// the same code (Australia and its Ashmore and Cartier Islands) become one
// country; features without an outline (points) are left out. Names come from
// the name list, else from our own code table, else (English only) from the
// feature. Throws WorldSourceError for a feature with
// neither a valid id nor an entry in our code table.
World ReadCountries(const Topology& topo, const CountryNames& names, const QString& object = QStringLiteral("countries"));

} // namespace worldsrc
