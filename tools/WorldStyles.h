// The things of the bundled catalogues and their styles, written down as
// data: what the base-map layers and the plot engine look up by name, and
// what the world map and new user maps draw with.
//
// Colours are 0x00BBGGRR. Every thing has one style on all eight pages,
// except the land of the world catalogues, whose pages give the countries
// their colours (each country's district chooses a page).
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

namespace worldsrc {

constexpr int32_t Rgb(int r, int g, int b) { return int32_t(r) | (int32_t(g) << 8) | (int32_t(b) << 16); }

// Figure kinds of things, as map figures number them.
enum FigureKind : int16_t { FigRem = 1, FigPolyline = 2, FigPolygon = 3, FigSymbol = 4, FigText = 5 };

struct CategoryStyle {
    int16_t number;      // 1..20
    const char* name;    // UTF-8
};

struct ThingStyle {
    int16_t number;      // 0..999, the figures' Thing
    const char* name;    // UTF-8; the layers find their things by it
    int16_t figure;      // FigureKind
    int16_t category;    // CategoryStyle number
    int16_t style;       // line style, fill style, symbol number or text decoration
    int32_t fore;
    int32_t back;        // -1 none; for symbols and texts the halo
    int16_t size;        // line width or text height in points; 0 for other kinds
    double smallest;     // the smallest scale (largest denominator) shown; 0: every scale
    double largest = 0;  // the largest scale (smallest denominator) shown; 0: every scale
};

struct CatalogueStyle {
    const char* comment;  // UTF-8, lines separated by "\n"
    std::span<const CategoryStyle> categories;
    std::span<const ThingStyle> things;
    int16_t pagedLand = -1;  // the thing whose pages take LandPageColours; -1 none
};

// Thing numbers the generated maps refer to. The world and default
// catalogues hold base::Azimuth too, under the same number: the main window
// adds the azimuth lines it makes to the active map as the base map's thing.
namespace base {
enum : int16_t {
    Background = 1, Ocean = 2, Land = 3, Lake = 4,
    Meridian = 11, Parallel = 12, Equator = 13, Zone = 14, Vertical = 15, Horizontal = 16,
    LonLabel = 21, LatLabel = 22,
    Azimuth = 31, FieldFrame = 32, ProjectionFrame = 33,
};
} // namespace base
namespace world {
enum : int16_t { Land = 1, Border = 2, Coast = 3, Name = 4, SmallName = 5, Lake = 6 };
} // namespace world

// Names and place symbols come in tiers: one thing per zoom level (1..53,
// see ScaleOfLevel) that they show from, numbered its base plus the level.
// Labels.h decides the level of each name.
namespace tier {
enum : int16_t { CountryName = 100, CapitalSymbol = 200, CapitalName = 300, CitySymbol = 400, CityName = 500 };
} // namespace tier

// The style of a tier's kind (tier::CountryName ...): its text height and
// decoration, or its symbol.
const ThingStyle& TierStyle(int16_t base);

// The largest scale of the 1:50m outlines: the large-scale border of cruise
// level 4. Beyond it only the 1:10m maps draw land, and the base land, which
// has the 1:50m outlines, must not show past their coasts.
constexpr double CoarseLandScale = 10000000;

// BASE.THG: the base units of both map modes.
CatalogueStyle BaseCatalogue();
// WORLD_T3.THG: the things of the world map.
CatalogueStyle WorldCatalogue();
// DEFAULT.THG: the world map's things and a few more for the user's own maps.
CatalogueStyle DefaultCatalogue();

// A catalogue put together at run time: the things of a fixed one and the
// tiers a map uses, each named after its kind and the scale it shows from
// ("都市名（1:3000万～）").
class TieredCatalogue {
public:
    TieredCatalogue(const CatalogueStyle& from, std::string comment);
    // The things point into names_: a move keeps them, a copy would not.
    TieredCatalogue(const TieredCatalogue&) = delete;
    TieredCatalogue& operator=(const TieredCatalogue&) = delete;
    TieredCatalogue(TieredCatalogue&&) = default;
    // The thing of tier base + level, once however often asked.
    void addTier(int16_t base, int16_t level);
    CatalogueStyle style() const;

private:
    std::string comment_;
    std::vector<CategoryStyle> categories_;
    std::vector<ThingStyle> things_;
    std::deque<std::string> names_;  // the tier things' names, in place
    int16_t pagedLand_;
};

// The land colours of pages 1..8 in the world catalogues; neighbouring
// countries get different pages.
std::span<const int32_t, 8> LandPageColours();

} // namespace worldsrc
