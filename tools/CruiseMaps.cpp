#include "CruiseMaps.h"

#include "WorldFigures.h"

#include "TextFile.h"

#include "basGlobe.h"
#include "clsMap.h"
#include "clsMapSymbol.h"
#include "clsMapText.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace worldsrc {

namespace {

constexpr StandardMap Maps[] = {
    {131000, 1, "WORLD_A1", 50, 0, 10000000, true, 0, "World Administrative Map 1", "世界行政図１"},
    {132000, 2, "WORLD_A2", 50, 0, 5000000, true, 0, "World Administrative Map 2", "世界行政図２"},
    {133000, 3, "WORLD_A3", 50, 0, 2000000, true, 0, "World Administrative Map 3", "世界行政図３"},
    {134000, 4, "WORLD_A4", 50, 0, 1000000, true, 0, "World Administrative Map 4", "世界行政図４"},
    {135000, 5, "WORLD_A5", 10, 0.1, 300000, true, 0, "World Administrative Map 5", "世界行政図５"},
    {136000, 6, "WORLD_A6", 10, 0.1, 100000, true, 0, "World Administrative Map 6", "世界行政図６"},
    {167392, 7, "JAPAN_A7", 10, 0, 50000, false, 392, "Japan Administrative Map 7", "日本行政図７"},
    {168392, 8, "JAPAN_A8", 10, 0, 10000, false, 392, "Japan Administrative Map 8", "日本行政図８"},
};

// The standard border ratios of the cruise: level L spans MapScaleMax /
// Ratio[L - 1] down to MapScaleMax / Ratio[L].
constexpr double BorderRatio[] = {1, 10, 20, 50, 100, 200, 500, 2000, 10000};

constexpr int16_t TextAnchorRight = 10;  // left edge with a gap at the point, centred on it

QByteArray Loose(const QString& name, bool ascii) {
    // A letter none of the folds knows is left out rather than stop the run.
    QByteArray out;
    for (const QChar c : name) {
        try {
            out += ascii ? AsciiName(QString(c)).toLatin1() : LatinName(QString(c));
        } catch (const WorldSourceError&) {
        }
    }
    return out;
}

// Where a country's name may stand so that no capital waits for it long:
// its label point when that hides no capital from the level the name
// begins; else the point nearest to it, straight north or south and inside
// the country, from which the capitals and the names of the larger
// countries (`earlier`) are clear at the earliest level (the label point
// itself when it is as good). The name keeps the level it would begin at.
SecPoint ClearOfCapitals(const Country& country, const LabelSpot& name, const std::vector<LabelSpot>& capitals,
                         std::span<const LabelSpot> earlier, int16_t last) {
    const auto clearOf = [&](const auto& others, SecPoint at, int level) {
        LabelSpot moved = name;
        moved.at = at;
        return std::none_of(others.begin(), others.end(),
                            [&](const LabelSpot& o) { return Overlaps(moved, o, ScaleOfLevel(int16_t(level))); });
    };
    const auto clearAt = [&](SecPoint at, int level) { return clearOf(capitals, at, level); };
    const auto inside = [&](SecPoint p) {
        return std::any_of(country.polygons.begin(), country.polygons.end(),
                           [&](const SecPolygon& polygon) { return Contains(polygon, p); });
    };
    if (name.from > last || clearAt(name.at, name.from)) return name.at;
    // Steps of a quarter of the name's height at the level tried, up to
    // three heights, the smaller steps first; one decade of levels at most.
    constexpr double MetresPerDot = 0.0254 / 96;
    constexpr int Steps = 12;
    // A moved name keeps two zoom levels more room from the larger
    // countries' names: views far from their centre squeeze it.
    constexpr int MoveMargin = 2;
    for (int16_t level = name.from; level <= std::min<int>(last, name.from + 13); ++level) {
        if (clearAt(name.at, level)) return name.at;
        const double stepSec = name.height / 4 * MetresPerDot * ScaleOfLevel(level) / MeterPerSec;
        for (int k = 1; k <= Steps; ++k)
            for (const int sign : {-1, 1}) {
                const double lat = double(name.at.lat) + sign * k * stepSec;
                if (std::fabs(lat) >= MaxLatSec) continue;
                const SecPoint p{name.at.lon, int32_t(std::lround(lat))};
                if (inside(p) && clearAt(p, level) && clearOf(earlier, p, std::max(1, level - MoveMargin))) return p;
            }
    }
    return name.at;
}

} // namespace

std::span<const StandardMap> StandardMaps() { return Maps; }

double ThinningDegrees(const StandardMap& m) {
    const double largestScale = MapScaleMax / BorderRatio[m.level];
    return m.thinning / 1000 * largestScale / MeterPerSec / SecPerDegree;
}

QString ListEuropeanName(const StandardMap& m) {
    return m.country == 392 ? QStringLiteral("Japan") : QString::fromUtf8(m.european);
}

QString ListJapaneseName(const StandardMap& m) {
    return m.country == 392 ? QStringLiteral("日本") : QString::fromUtf8(m.japanese);
}

QString CruiseListText() {
    QString text = QStringLiteral(
        "' KALDERO 標準地図リスト（クルーズ用）\r\n"
        "' 1行に1地図: 地図コード（6桁）、地図ファイル、欧文名、和文名 をコンマで区切る.\r\n"
        "' 地図ファイルは地図フォルダから探す. 同じコードが複数あるときは最初の行が有効.\r\n");
    for (const StandardMap& m : Maps)
        text += QStringLiteral("%1,%2.MLL,%3,%4\r\n").arg(m.code).arg(QString::fromLatin1(m.name), ListEuropeanName(m), ListJapaneseName(m));
    return text;
}

int16_t FirstLevel(const StandardMap& m) {
    return LevelFrom(m.level == 1 ? NamesFromScale : MapScaleMax / BorderRatio[m.level - 1]);
}

NameLevels PlanNames(const World& world, const std::vector<const City*>& places,
                     const std::map<int64_t, QString>& japanese, bool capitals, int16_t first) {
    // In order of importance: every country's name (largest first), the
    // capitals, the other places. Country names are the primary labels of a
    // world or continent view; a capital yields where it would cover one.
    std::vector<size_t> byArea(world.countries.size());
    std::vector<double> areas;
    for (size_t i = 0; i < byArea.size(); ++i) {
        byArea[i] = i;
        areas.push_back(CountryArea(world.countries[i]));
    }
    std::stable_sort(byArea.begin(), byArea.end(), [&](size_t a, size_t b) { return areas[a] > areas[b]; });
    const auto isCapital = [&](const City* c) { return capitals && c->isCapital(); };

    struct Entry {
        bool country;
        size_t index;
    };
    std::vector<Entry> order;
    for (const size_t i : byArea) order.push_back({true, i});
    for (size_t i = 0; i < places.size(); ++i)
        if (isCapital(places[i])) order.push_back({false, i});
    for (size_t i = 0; i < places.size(); ++i)
        if (!isCapital(places[i])) order.push_back({false, i});

    std::vector<LabelSpot> spots;
    std::vector<LabelSpot> capitalSpots;
    for (const Entry& e : order) {
        if (e.country) {
            spots.push_back(CountryNameSpot(world.countries[e.index], first));
            continue;
        }
        const City& c = *places[e.index];
        const PlaceNames n = NamesOf(c, japanese);
        LabelSpot s = NameBox(QString::fromLatin1(n.european), plat::DecodeCp932(n.japanese), isCapital(&c) ? 9 : 8, true);
        s.at = c.at;
        s.from = first;
        spots.push_back(s);
        if (isCapital(&c)) capitalSpots.push_back(s);
    }
    const int16_t last = LevelFrom(MapScaleMin);
    for (size_t k = 0; k < order.size(); ++k)
        if (order[k].country)
            spots[k].at = ClearOfCapitals(world.countries[order[k].index], spots[k], capitalSpots,
                                          std::span<const LabelSpot>(spots.data(), k), last);
    const std::vector<int16_t> from = ClearLevels(spots, last);
    NameLevels out;
    out.countries.resize(world.countries.size());
    out.countryAt.resize(world.countries.size());
    out.places.resize(places.size());
    for (size_t k = 0; k < order.size(); ++k) {
        (order[k].country ? out.countries : out.places)[order[k].index] = from[k];
        if (order[k].country) out.countryAt[order[k].index] = spots[k].at;
    }
    return out;
}

TieredCatalogue CatalogueOf(const NameLevels& levels, const std::vector<const City*>& places, bool capitals,
                            const std::string& comment) {
    TieredCatalogue c(WorldCatalogue(), comment);
    for (const int16_t level : levels.countries)
        if (level > 0) c.addTier(tier::CountryName, level);
    for (size_t i = 0; i < places.size(); ++i) {
        if (levels.places[i] == 0) continue;
        const bool capital = capitals && places[i]->isCapital();
        c.addTier(capital ? tier::CapitalSymbol : tier::CitySymbol, levels.places[i]);
        c.addTier(capital ? tier::CapitalName : tier::CityName, levels.places[i]);
    }
    return c;
}

std::vector<const City*> PlacesOf(const StandardMap& m, const std::vector<City>& cities,
                                  const std::map<int64_t, QString>& japanese) {
    const QString country = m.country == 392 ? QStringLiteral("JP") : QString();
    // GeoNames' codes of a section of a town and of places that are no more.
    static const QStringList gone{"PPLX", "PPLH", "PPLQ", "PPLW", "PPLCH"};
    std::vector<const City*> out;
    for (const City& c : cities) {
        if (!country.isEmpty() && c.country != country) continue;
        if (gone.contains(c.featureCode)) continue;
        if (!country.isEmpty() && !NamesOf(c, japanese).japaneseFound) continue;
        if (c.population >= m.minPopulation || (m.capitals && c.isCapital())) out.push_back(&c);
    }
    std::stable_sort(out.begin(), out.end(), [&](const City* a, const City* b) {
        const bool ca = m.capitals && a->isCapital(), cb = m.capitals && b->isCapital();
        if (ca != cb) return ca;
        if (a->population != b->population) return a->population > b->population;
        return a->id < b->id;
    });
    return out;
}

PlaceNames NamesOf(const City& c, const std::map<int64_t, QString>& japanese) {
    PlaceNames n;
    n.european = Loose(c.name, false);
    const auto it = japanese.find(c.id);
    if (it != japanese.end() && plat::IsCp932Encodable(it->second)) {
        n.japanese = ShiftJisName(it->second);
        n.japaneseFound = true;
    } else {
        n.japanese = Loose(c.name, true);
    }
    return n;
}

void AddPlaceFigures(clsMap& map, const std::vector<const City*>& places, const std::vector<int16_t>& levels,
                     const std::map<int64_t, QString>& japanese, const std::map<QString, int16_t>& districtOf,
                     bool capitals) {
    if (levels.size() != places.size()) throw WorldSourceError("a level for each place expected");
    const auto add = [&](const MapFigurePtr& f) {
        if (!map.Add(f)) throw WorldSourceError("the map refused a place");
    };
    const auto districtFor = [&](const City& c) {
        const auto it = districtOf.find(c.country);
        return it == districtOf.end() ? int16_t(0) : it->second;
    };
    const auto thing = [&](size_t i, int16_t capital, int16_t city) {
        return int16_t((capitals && places[i]->isCapital() ? capital : city) + levels[i]);
    };
    // Symbols first, names over them.
    for (size_t i = 0; i < places.size(); ++i) {
        if (levels[i] == 0) continue;
        const City* c = places[i];
        auto s = std::make_shared<clsMapSymbol>();
        s->setPosition(PolyPoint{c->at.lon, c->at.lat});
        s->setThing(thing(i, tier::CapitalSymbol, tier::CitySymbol));
        s->setAdmin(districtFor(*c));
        add(s);
    }
    for (size_t i = 0; i < places.size(); ++i) {
        if (levels[i] == 0) continue;
        const City* c = places[i];
        const PlaceNames n = NamesOf(*c, japanese);
        auto t = std::make_shared<clsMapText>();
        t->setPosition(PolyPoint{c->at.lon, c->at.lat});
        t->setTextFix(TextAnchorRight);
        t->setTextAnsi(1, n.european);
        t->setTextAnsi(2, n.japanese);
        t->setThing(thing(i, tier::CapitalName, tier::CityName));
        t->setAdmin(districtFor(*c));
        add(t);
    }
}

World OneCountry(const World& world, int16_t code) {
    World out;
    for (const Country& c : world.countries)
        if (c.code == code) out.countries.push_back(c);
    for (const Coast& c : world.coasts)
        if (c.code == code) out.coasts.push_back(c);
    if (out.countries.empty()) throw WorldSourceError(QStringLiteral("no country %1").arg(code).toStdString());
    for (const SecPolygon& lake : world.lakes) {
        const SecPoint inside = LabelPoint({lake});
        for (const SecPolygon& p : out.countries.front().polygons)
            if (Contains(p, inside)) {
                out.lakes.push_back(lake);
                break;
            }
    }
    return out;
}

} // namespace worldsrc
