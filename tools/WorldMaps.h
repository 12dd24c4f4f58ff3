// The bundled maps built from the world data: their header remarks and
// figures. The figures refer to the things of WorldStyles.h and to the
// districts of the catalogues: district 0 is the world, every other district
// a country under its ISO 3166-1 numeric code.
#pragma once

#include "Labels.h"
#include "WorldSource.h"

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

class clsMap;

namespace worldsrc {

// Map codes: mode, kind, scale level, country (six digits). The base maps
// serve every scale (level 0); the world map is the world administrative map
// of scale level 3, whose recommended range fits data at 1:50m.
constexpr int32_t BaseMapCodeLL = 110000;
constexpr int32_t BaseMapCodeXY = 210000;
constexpr int32_t WorldMapCode = 133000;

struct HeaderText {
    int32_t code = 0;
    QString european;  // map name
    QString japanese;
    QString contents;  // what the map holds
    QString sources;   // where it comes from
};

// The header the program writes for a new map, with its lines of contents
// and sources filled in. The map's file name and mode must be set first.
void WriteHeader(clsMap& map, const HeaderText& header);

// The land of the base map.
struct Land {
    std::vector<SecPolygon> polygons;
};
Land ReadLand(const Topology& topo, const QString& object = QStringLiteral("land"));
// The outlines of the countries as land, so that the base land's coast is
// exactly theirs and never shows past it; enclaves and holes are left out.
Land CountriesAsLand(const World& world);

// Land polygons (largest first), then the holes of the land (the Caspian
// Sea) and the `lakes` as lakes, all of district 0. No coast: the world map
// over it draws its own, finer one, and two coasts side by side would blur.
void AddBaseFigures(clsMap& map, const Land& land, const std::vector<SecPolygon>& lakes);

// Pages 1..8 of the countries (by code), so that countries sharing a border
// differ: each country in turn, most neighbours first, takes the page that
// its coloured neighbours leave free and that fewest countries use so far.
std::map<int16_t, int16_t> CountryPages(const World& world);

// One district of the catalogues.
struct District {
    int16_t code = 0;
    int16_t area = 0;   // Area of Continents.h
    int16_t page = 1;   // of the land thing
    QString european;   // ASCII (the catalogues are Shift-JIS text)
    QString japanese;
};

// District 0, the world (area 0), and every country of the world map with
// its page (CountryPages); with `names`, also every other code the list or
// our own code table knows, on the page fewest districts use. In code order.
// Throws WorldSourceError for a code without a continent or a name.
std::vector<District> Districts(const World& world, const CountryNames* names);

// A country's area in km², measured on its outlines in square degrees
// shrunk by the cosine of the latitude.
double CountryArea(const Country& c);

// The side of a square as large as the country's largest polygon, in
// metres: how much room its name has there.
double MainlandSize(const Country& c);

// The extent of a country: the larger side of the box round its outlines,
// in metres on the ground; 0 for a country whose outlines have no area.
double CountryExtent(const Country& c);

// The spot of a country's name (Labels.h) at its label point, centred on
// it, shown at the earliest from zoom level `first`, and not before the name
// is at most eight times as wide as the country's extent: Vatican's name
// waits for a town map, Åland's shows over Europe where there is room,
// Russia's always. A country whose outlines have no area gets no name.
LabelSpot CountryNameSpot(const Country& c, int16_t first, EngineMeasure& measure);

// Where the name may stand: at its label point, else at the points of a
// grid over the piece of the country that holds the label point (a
// sixteenth of its extent apart, no closer than a third of the name's
// height eight levels after its first) that lie inside it: those with room
// for half the name's height to the outline where it is first due, the
// nearest to the label point first, then the rest, the deepest first (160
// points at most).
std::vector<LabelSpot> CountryNameSpots(const Country& c, const LabelSpot& spot, int16_t last);

// The name beside the point of `spot`, for a country too small for it (an
// island's name over the sea round it): above, below, right, left and the
// diagonals, as a place's name stands round its symbol.
std::vector<LabelSpot> CountryNameBeside(const Country& c, const LabelSpot& spot, EngineMeasure& measure);

// The countries as polygons of their district (largest first, so that an
// enclave is drawn over the country around it; holes are left out), their
// coasts (of their district), the borders (of district 0), the lakes over
// them (of district 0; islands in lakes are not drawn) and a name at each
// country's label point (or at its point in `nameAt` when given, with its
// anchor in `nameFix`, else centred), of the tier of the zoom level in
// `nameLevels` (one a country, 0 leaves the name out).
void AddWorldFigures(clsMap& map, const World& world, const std::vector<int16_t>& nameLevels,
                     const std::vector<SecPoint>& nameAt = {}, const std::vector<int16_t>& nameFix = {});

} // namespace worldsrc
