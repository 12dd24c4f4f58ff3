// The standard maps that the cruise shows by scale level, and its list:
// world administrative maps of levels 1..6 (Natural Earth at 1:50m for
// levels 1-4, the outlines of the start map and the base land; 1:10m for
// 5-6) and Japan's maps of levels 7 and 8 (its 1:10m outline), each with the
// places of GeoNames whose population threshold falls with the level, and
// capitals on the world maps.
#pragma once

#include "Cities.h"
#include "WorldMaps.h"
#include "WorldStyles.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <span>
#include <string>
#include <vector>

class clsMap;

namespace worldsrc {

struct StandardMap {
    int32_t code;            // 13L000 world, 16L392 Japan
    int16_t level;
    const char* name;        // file name without extension
    int resolution;          // Natural Earth: 50 or 10 (1:50m, 1:10m)
    double thinning;         // mm on paper at the level's largest scale; 0 keeps every point
    int64_t minPopulation;   // places of at least this many people
    bool capitals;           // and every capital (world maps)
    int16_t country;         // 0 the world, else the one country (392)
    const char* european;    // map name
    const char* japanese;
};
std::span<const StandardMap> StandardMaps();

// The thinning of a map's outlines in degrees: its `thinning` at the largest
// scale of its level, where the map is drawn largest.
double ThinningDegrees(const StandardMap& m);

// Names of the list: for a country map the country's, so that the list's
// country lookup finds them.
QString ListEuropeanName(const StandardMap& m);
QString ListJapaneseName(const StandardMap& m);

// CRUISE05.LST: comment lines, then "code,file,European name,Japanese name"
// of every standard map (Shift-JIS is the caller's).
QString CruiseListText();

// Names begin at 1:200 000 000, a view of the whole world.
constexpr double NamesFromScale = 200000000;

// The zoom level (see ScaleOfLevel) from which the map is shown: the
// smaller-scale border of its level (1:200 000 000 on level 1, where the
// country names begin).
int16_t FirstLevel(const StandardMap& m);

// Where each name of a map stands and the zoom level it shows from
// (Labels.h), 0 for a name left out: from `first` on, clear of each other
// down to the largest scale (a map shown past its level keeps its names
// apart too). Country names stand at a point inside their country (a small
// country's, where none has room, beside one of the first points inside),
// place names at an anchor round their symbol. In order of importance: the
// names of the countries large enough for them (largest first), the
// capitals (of the largest countries first), the names of the small
// countries (so that a small country's capital comes before its name), the
// other places (in their order); a capital in the way of a country's name
// that came first pushes it aside, to a later level if need be. On a map of
// continents (from 1:50 000 000 on) the capitals are due from its first
// level; on a world map they show where the names of the countries leave
// room. `countryOf` gives the code of a place's country (ISO alpha-2 to
// code).
struct NameLevels {
    std::vector<int16_t> countries;  // as world.countries
    std::vector<SecPoint> countryAt; // where each country's name stands
    std::vector<int16_t> countryFix; // and its anchor there
    std::vector<int16_t> places;     // as the places
    std::vector<int16_t> placeFix;   // the anchor of each place's name
};
NameLevels PlanNames(const World& world, const std::vector<const City*>& places,
                     const std::map<int64_t, QString>& japanese, const std::map<QString, int16_t>& countryOf,
                     bool capitals, int16_t first);

// The catalogue of a map: the world map's things and the tiers its names
// and places use.
TieredCatalogue CatalogueOf(const NameLevels& levels, const std::vector<const City*>& places, bool capitals,
                            const std::string& comment);

// The places of the map, largest population first (capitals of the world
// maps first of all), ties by GeoNames id. Sections of a town and places
// GeoNames marks historical, abandoned or destroyed (Tanashichō inside
// Nishitokyo) are left out; a country map of Japan keeps only places with a
// Japanese name in `japanese` that Shift-JIS can write.
std::vector<const City*> PlacesOf(const StandardMap& m, const std::vector<City>& cities,
                                  const std::map<int64_t, QString>& japanese);

// The European name in Latin-1 (characters it lacks left out); the Japanese
// one from the catalogue of Japanese names in Shift-JIS, else none: a
// Japanese map leaves the name out rather than show it in Latin letters.
struct PlaceNames {
    QByteArray european;
    QByteArray japanese;
    bool japaneseFound = false;
};
PlaceNames NamesOf(const City& c, const std::map<int64_t, QString>& japanese);

// A point symbol and its name at its anchor for each place with a level
// (PlanNames), both of that level's tier and of the district of the
// place's country (0 when the catalogue has no such district): `districtOf`
// maps ISO alpha-2 to the district. With `capitals`, capitals take the
// capital tiers.
void AddPlaceFigures(clsMap& map, const std::vector<const City*>& places, const NameLevels& levels,
                     const std::map<int64_t, QString>& japanese, const std::map<QString, int16_t>& districtOf,
                     bool capitals);

// The world reduced to one country with its coasts and its lakes (no
// borders).
World OneCountry(const World& world, int16_t code);

} // namespace worldsrc
