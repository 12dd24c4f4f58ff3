// The standard maps that the cruise shows by scale level, and its list:
// world administrative maps of levels 1..6 (Natural Earth at 1:110m for
// levels 1-2, 1:50m for 3-4, 1:10m for 5-6) and Japan's maps of levels 7 and
// 8 (its 1:10m outline), each with the places of GeoNames whose population
// threshold falls with the level, and capitals on the world maps.
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
    int resolution;          // Natural Earth: 110, 50 or 10 (1:110m ...)
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

// Thing numbers of the places, after those of the world map.
namespace place {
enum : int16_t { Capital = 10, City = 11, CityName = 12, CapitalName = 14 };
} // namespace place

// The catalogue of a standard map: the world map's things and the places',
// the places' shown from the smaller-scale border of the map's level on
// (1:200 000 000 at level 1, as the country names), so that a map standing
// in for a larger scale still shows them.
class StandardCatalogue {
public:
    explicit StandardCatalogue(const StandardMap& m);
    CatalogueStyle style() const;

private:
    std::string comment_;
    std::vector<CategoryStyle> categories_;
    std::vector<ThingStyle> things_;
};

// The places of the map, largest population first (capitals of the world
// maps first of all), ties by GeoNames id.
std::vector<const City*> PlacesOf(const StandardMap& m, const std::vector<City>& cities);

// The European name in Latin-1; the Japanese one from the catalogue of
// Japanese names in Shift-JIS, else the European name in ASCII. Characters
// that neither covers are left out (the counts say how often).
struct PlaceNames {
    QByteArray european;
    QByteArray japanese;
    bool japaneseFound = false;
};
PlaceNames NamesOf(const City& c, const std::map<int64_t, QString>& japanese);

// A point symbol and its name to the right of it for each place, of the
// district of the place's country (0 when the catalogue has no such
// district): `districtOf` maps ISO alpha-2 to the district. With
// `capitals`, capitals take the capital things.
void AddPlaceFigures(clsMap& map, const std::vector<const City*>& places, const std::map<int64_t, QString>& japanese,
                     const std::map<QString, int16_t>& districtOf, bool capitals);

// The world reduced to one country with its coasts (no borders).
World OneCountry(const World& world, int16_t code);

} // namespace worldsrc
