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

QByteArray Loose(const QString& name) {
    // A letter none of the folds knows is left out rather than stop the run.
    QByteArray out;
    for (const QChar c : name) {
        try {
            out += LatinName(QString(c));
        } catch (const WorldSourceError&) {
        }
    }
    return out;
}

// The scale from which on a map shows a continent rather than the world
// (the small-scale border of cruise level 3).
constexpr double CapitalsFromScale = 50000000;

// A country is small on a map whose name is wider than its largest piece
// this many zoom levels after the map's first.
constexpr int SmallWithin = 2;

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
                     const std::map<int64_t, QString>& japanese, const std::map<QString, int16_t>& countryOf,
                     bool capitals, int16_t first) {
    EngineMeasure measure;
    const int16_t last = LevelFrom(MapScaleMin);
    const auto isCapital = [&](const City* c) { return capitals && c->isCapital(); };

    // Where each country's name may stand, and whether it is small: its
    // name wider than its largest piece two zoom levels into the map.
    constexpr double MetresPerDot = 0.0254 / 96;
    std::vector<std::vector<LabelSpot>> countrySpots;
    std::vector<bool> small;
    std::vector<double> areas;
    std::map<int16_t, size_t> countryIndex;
    for (size_t i = 0; i < world.countries.size(); ++i) {
        const Country& c = world.countries[i];
        const LabelSpot spot = CountryNameSpot(c, first, measure);
        small.push_back(MainlandSize(c) < WidthOf(spot.text) * MetresPerDot * ScaleOfLevel(int16_t(first + SmallWithin)));
        // Inside first; for a small country then beside the first few
        // points inside.
        constexpr size_t BesidePoints = 8;
        std::vector<LabelSpot> spots = CountryNameSpots(c, spot, last);
        if (small.back() && spot.from <= last)
            for (size_t k = 0, n = std::min(spots.size(), BesidePoints); k < n; ++k) {
                const LabelSpot at = spots[k];
                for (LabelSpot& s : CountryNameBeside(c, at, measure)) spots.push_back(std::move(s));
            }
        countrySpots.push_back(std::move(spots));
        areas.push_back(CountryArea(c));
        countryIndex[c.code] = i;
    }
    std::vector<size_t> byArea(world.countries.size());
    for (size_t i = 0; i < byArea.size(); ++i) byArea[i] = i;
    std::stable_sort(byArea.begin(), byArea.end(), [&](size_t a, size_t b) { return areas[a] > areas[b]; });

    // In order of importance: the names of the countries large enough for
    // them, largest first; the capitals, of the largest countries first
    // (of a country the map lacks last); the names of the small countries;
    // the other places. A name yields to one of a smaller rank: the
    // capitals, the large countries, the small ones, the other places. The
    // ranks of capitals and countries' names are not adjacent, so that a
    // capital may push a country's name to a later level (PlaceLabels).
    struct Entry {
        int16_t rank;
        size_t index;  // into the countries or the places
        int16_t due;
    };
    enum : int16_t { Capital = 0, LargeCountry = 2, SmallCountry = 3, Place = 4 };
    std::vector<Entry> order;
    for (const size_t i : byArea)
        if (!small[i]) order.push_back({LargeCountry, i, countrySpots[i].front().from});
    std::vector<std::pair<size_t, double>> capitalsBy;  // place, its country's area
    for (size_t i = 0; i < places.size(); ++i) {
        if (!isCapital(places[i])) continue;
        double area = -1;
        const auto code = countryOf.find(places[i]->country);
        if (code != countryOf.end()) {
            const auto at = countryIndex.find(code->second);
            if (at != countryIndex.end()) area = areas[at->second];
        }
        capitalsBy.push_back({i, area});
    }
    std::stable_sort(capitalsBy.begin(), capitalsBy.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    // Capitals are due on the maps of continents; on a map of the world
    // they show where the countries' names leave room.
    const int16_t capitalsDue = first >= LevelFrom(CapitalsFromScale) ? first : last;
    for (const auto& [place, area] : capitalsBy) order.push_back({Capital, place, capitalsDue});
    for (const size_t i : byArea)
        if (small[i]) order.push_back({SmallCountry, i, countrySpots[i].front().from});
    for (size_t i = 0; i < places.size(); ++i)
        if (!isCapital(places[i])) order.push_back({Place, i, last});

    const PixelBox capitalMark = measure.Symbol(TierStyle(tier::CapitalSymbol).style);
    const PixelBox cityMark = measure.Symbol(TierStyle(tier::CitySymbol).style);
    // A name that may as well stand off a capital's symbol does so; a
    // capital's name never covers another capital.
    std::vector<LabelSpot> capitalMarks;
    std::vector<LabelName> names;
    for (const Entry& e : order) {
        if (e.rank == LargeCountry || e.rank == SmallCountry) {
            names.push_back({e.due, std::move(countrySpots[e.index]), true, false, e.rank});
            continue;
        }
        const City& c = *places[e.index];
        const PlaceNames n = NamesOf(c, japanese);
        const ThingStyle& style = TierStyle(e.rank == Capital ? tier::CapitalName : tier::CityName);
        LabelSpot mark;
        mark.at = c.at;
        mark.mark = e.rank == Capital ? capitalMark : cityMark;
        mark.from = first;
        mark.owner = int32_t(e.index);
        if (e.rank == Capital) capitalMarks.push_back(mark);
        std::vector<LabelSpot> around;
        for (const int16_t fix : PlaceAnchors()) {
            LabelSpot s = mark;
            s.fix = fix;
            s.text = measure.Text(n.european, n.japanese, style.size, style.style, fix);
            around.push_back(s);
        }
        names.push_back({e.due, std::move(around), false, e.rank == Capital, e.rank});
    }
    const std::vector<Placed> placed = PlaceLabels(names, last, capitalMarks);

    NameLevels out;
    out.countries.resize(world.countries.size());
    out.countryAt.resize(world.countries.size());
    out.countryFix.resize(world.countries.size(), 12);
    out.places.resize(places.size());
    out.placeFix.resize(places.size(), PlaceAnchors()[0]);
    for (size_t k = 0; k < order.size(); ++k) {
        const LabelSpot& s = names[k].spots[placed[k].spot];
        if (order[k].rank == LargeCountry || order[k].rank == SmallCountry) {
            out.countries[order[k].index] = placed[k].from;
            out.countryAt[order[k].index] = s.at;
            out.countryFix[order[k].index] = s.fix;
        } else {
            out.places[order[k].index] = placed[k].from;
            out.placeFix[order[k].index] = s.fix;
        }
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
    n.european = Loose(c.name);
    const auto it = japanese.find(c.id);
    if (it != japanese.end() && plat::IsCp932Encodable(it->second)) {
        n.japanese = ShiftJisName(it->second);
        n.japaneseFound = true;
    }
    return n;
}

void AddPlaceFigures(clsMap& map, const std::vector<const City*>& places, const NameLevels& named,
                     const std::map<int64_t, QString>& japanese, const std::map<QString, int16_t>& districtOf,
                     bool capitals) {
    const std::vector<int16_t>& levels = named.places;
    if (levels.size() != places.size() || named.placeFix.size() != places.size())
        throw WorldSourceError("a level and an anchor for each place expected");
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
        t->setTextFix(named.placeFix[i]);
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
