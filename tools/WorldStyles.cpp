#include "WorldStyles.h"

#include "WorldSource.h"

#include "basGlobe.h"

#include <QString>

#include <algorithm>
#include <array>

namespace worldsrc {

namespace {

// One palette for all catalogues, so that the units drawn over each other
// agree: a blue-grey sea, pale land, graticule a shade darker than the sea.
constexpr int32_t Paper = Rgb(250, 250, 248);
constexpr int32_t Sea = Rgb(200, 220, 233);
constexpr int32_t PaleLand = Rgb(240, 237, 226);
constexpr int32_t CoastLine = Rgb(122, 152, 178);
constexpr int32_t GridLine = Rgb(160, 184, 204);
constexpr int32_t GridStrong = Rgb(112, 142, 170);
constexpr int32_t GridText = Rgb(84, 104, 124);
constexpr int32_t Ink = Rgb(48, 48, 56);
constexpr int32_t White = Rgb(255, 255, 255);

// Line styles of the drawing layer.
constexpr int16_t Solid = 0;
constexpr int16_t Dash = 1;
constexpr int16_t Fill = 8;  // solid fill
constexpr int16_t Italic = 2;

// The base map's azimuth lines. The main window adds the lines it makes to
// the active map under the base map's thing, so every catalogue a user's
// map can have holds it too.
constexpr ThingStyle AzimuthLine{base::Azimuth, "方位線", FigPolyline, 3, Dash, Rgb(196, 84, 64), -1, 1, 0};

constexpr CategoryStyle BaseCategories[] = {
    {1, "地表"},
    {2, "経緯線"},
    {3, "枠組"},  // the name that keeps frames listed although no figure uses them
};

constexpr ThingStyle BaseThings[] = {
    {base::Background, "背景", FigPolygon, 1, Fill, Paper, -1, 0, 0},
    {base::Ocean, "海洋", FigPolygon, 1, Fill, Sea, -1, 0, 0},
    {base::Land, "陸地", FigPolygon, 1, Fill, PaleLand, -1, 0, 0, CoarseLandScale},
    {base::Lake, "湖沼", FigPolygon, 1, Fill, Sea, -1, 0, 0},
    {base::Meridian, "経線", FigPolyline, 2, Solid, GridLine, -1, 1, 0},
    {base::Parallel, "緯線", FigPolyline, 2, Solid, GridLine, -1, 1, 0},
    {base::Equator, "赤道線", FigPolyline, 2, Solid, GridStrong, -1, 1, 0},
    {base::Zone, "帯域線", FigPolyline, 2, Dash, GridStrong, -1, 1, 0},
    {base::Vertical, "縦線", FigPolyline, 2, Solid, GridLine, -1, 1, 0},
    {base::Horizontal, "横線", FigPolyline, 2, Solid, GridLine, -1, 1, 0},
    {base::LonLabel, "経度", FigText, 2, 0, GridText, Paper, 8, 0},
    {base::LatLabel, "緯度", FigText, 2, 0, GridText, Paper, 8, 0},
    AzimuthLine,
    {base::FieldFrame, "領域枠", FigPolyline, 3, Solid, Rgb(70, 70, 70), -1, 2, 0},
    {base::ProjectionFrame, "投影枠", FigPolyline, 3, Solid, Rgb(110, 110, 110), -1, 1, 0},
};

// The maps' azimuth lines keep the base map's category name; its number
// there is the water's, so they take the first one the default catalogue
// leaves free.
constexpr int16_t Frames = 5;

constexpr ThingStyle InCategory(ThingStyle t, int16_t category) {
    t.category = category;
    return t;
}

constexpr CategoryStyle WorldCategories[] = {
    {1, "行政"},
    {2, "地名"},
    {3, "水部"},
    {Frames, "枠組"},
};

constexpr CategoryStyle DefaultCategories[] = {
    WorldCategories[0], WorldCategories[1], WorldCategories[2],
    {4, "交通"},
    WorldCategories[3],
};

// Names of large countries from a world view on, of small ones only where
// there is room for them.
constexpr double NameScale = 200000000;
constexpr double SmallNameScale = 40000000;

constexpr ThingStyle WorldThings[] = {
    {world::Land, "陸地", FigPolygon, 1, Fill, PaleLand, -1, 0, 0},  // fore by page: LandPageColours
    {world::Border, "国境", FigPolyline, 1, Solid, Rgb(110, 100, 116), -1, 1, 0},
    {world::Coast, "海岸線", FigPolyline, 3, Solid, CoastLine, -1, 1, 0},
    {world::Name, "国名", FigText, 2, 0, Ink, White, 9, NameScale},
    {world::SmallName, "国名（小国）", FigText, 2, 0, Ink, White, 8, SmallNameScale},
    {world::Lake, "湖沼", FigPolygon, 3, Fill, Sea, -1, 0, 0},
    InCategory(AzimuthLine, Frames),
};

constexpr ThingStyle DefaultThings[] = {
    WorldThings[0], WorldThings[1], WorldThings[2], WorldThings[3], WorldThings[4], WorldThings[5],
    {7, "河川", FigPolyline, 3, Solid, Rgb(110, 150, 200), -1, 1, 0},
    {8, "道路", FigPolyline, 4, Solid, Rgb(200, 120, 60), -1, 2, 0},
    {9, "鉄道", FigPolyline, 4, Solid, Rgb(70, 70, 70), -1, 1, 0},
    {10, "首都", FigSymbol, 2, 0, Ink, White, 0, 0},   // symbol 0: city 1, small
    {11, "都市", FigSymbol, 2, 2, Ink, White, 0, 0},   // symbol 2: city 3, small
    {12, "地名", FigText, 2, 0, Ink, White, 8, 0},
    {13, "海洋名", FigText, 3, Italic, Rgb(70, 110, 150), -1, 9, 0},
    InCategory(AzimuthLine, Frames),
};

constexpr std::array<int32_t, 8> LandPages{
    Rgb(246, 226, 178),  // sand
    Rgb(206, 228, 182),  // green
    Rgb(246, 204, 190),  // salmon
    Rgb(214, 206, 232),  // lavender
    Rgb(190, 224, 218),  // teal
    Rgb(236, 200, 222),  // pink
    Rgb(226, 232, 170),  // lime
    Rgb(224, 208, 190),  // tan
};

// The style of each tier's kind: the names as on the world map, capitals
// a point larger and bold.
constexpr ThingStyle TierStyles[] = {
    {tier::CountryName, "国名", FigText, 2, 0, Ink, White, 9, 0},
    {tier::CapitalSymbol, "首都", FigSymbol, 2, 0, Ink, White, 0, 0},   // symbol 0: city 1, small
    {tier::CapitalName, "首都名", FigText, 2, 1, Ink, White, 9, 0},    // bold
    {tier::CitySymbol, "都市", FigSymbol, 2, 2, Ink, White, 0, 0},      // symbol 2: city 3, small
    {tier::CityName, "都市名", FigText, 2, 0, Ink, White, 8, 0},
};

} // namespace

TieredCatalogue::TieredCatalogue(const CatalogueStyle& from, std::string comment)
    : comment_(std::move(comment)), categories_(from.categories.begin(), from.categories.end()),
      things_(from.things.begin(), from.things.end()), pagedLand_(from.pagedLand) {}

void TieredCatalogue::addTier(int16_t base, int16_t level) {
    const int16_t number = int16_t(base + level);
    for (const ThingStyle& t : things_)
        if (t.number == number) return;
    if (level < 1 || level > 53) throw WorldSourceError("no such tier");
    ThingStyle t = TierStyle(base);
    t.number = number;
    t.smallest = ScaleOfLevel(level);
    names_.push_back((QString::fromUtf8(t.name) + QStringLiteral("（1:") + ScaleLevelText(level) + QStringLiteral("～）")).toStdString());
    t.name = names_.back().c_str();
    things_.push_back(t);
}

const ThingStyle& TierStyle(int16_t base) {
    const auto kind = std::find_if(std::begin(TierStyles), std::end(TierStyles), [&](const ThingStyle& t) { return t.number == base; });
    if (kind == std::end(TierStyles)) throw WorldSourceError("no such tier");
    return *kind;
}

CatalogueStyle TieredCatalogue::style() const { return {comment_.c_str(), categories_, things_, pagedLand_}; }

CatalogueStyle BaseCatalogue() {
    return {"KALDERO ベース地図の事象: 背景、海陸、経緯線とその目盛、方位線、枠.\n"
            "経緯度地図とＸＹ地図のベースユニットが共用する.",
            BaseCategories, BaseThings};
}

CatalogueStyle WorldCatalogue() {
    return {"KALDERO 世界行政図の事象: 国土、国境、海岸線、国名、湖沼.\n"
            "陸地の頁 1..8 は国の色分け. 行政区の頁で選ぶ.",
            WorldCategories, WorldThings, world::Land};
}

CatalogueStyle DefaultCatalogue() {
    return {"KALDERO 既定の事象: 世界行政図の事象と、ユーザー地図のための水部、交通、地名.\n"
            "陸地の頁 1..8 は国の色分け. 行政区の頁で選ぶ.",
            DefaultCategories, DefaultThings, world::Land};
}

std::span<const int32_t, 8> LandPageColours() { return LandPages; }

} // namespace worldsrc
