#include "CruiseMaps.h"

#include "WorldFigures.h"

#include "TextFile.h"

#include "basGlobe.h"
#include "clsMap.h"
#include "clsMapSymbol.h"
#include "clsMapText.h"

#include <algorithm>
#include <array>

namespace worldsrc {

namespace {

constexpr StandardMap Maps[] = {
    {131000, 1, "WORLD_A1", 110, 0, 10000000, true, 0, "World Administrative Map 1", "世界行政図１"},
    {132000, 2, "WORLD_A2", 110, 0, 5000000, true, 0, "World Administrative Map 2", "世界行政図２"},
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
constexpr double PlaceScaleAtLevel1 = 200000000;

constexpr int16_t TextAnchorRight = 10;  // left edge with a gap at the point, centred on it
constexpr int16_t Bold = 1;

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

StandardCatalogue::StandardCatalogue(const StandardMap& m) {
    const CatalogueStyle world = WorldCatalogue();
    const CatalogueStyle defaults = DefaultCatalogue();
    comment_ = std::string(world.comment) + "\n首都と都市は GeoNames (CC BY 4.0). この縮尺レベル以上で表示.";
    categories_.assign(defaults.categories.begin(), defaults.categories.end());
    things_.assign(world.things.begin(), world.things.end());
    const double from = m.level == 1 ? PlaceScaleAtLevel1 : MapScaleMax / BorderRatio[m.level - 1];
    const auto copy = [&](int16_t number) {
        const auto it = std::find_if(defaults.things.begin(), defaults.things.end(), [&](const ThingStyle& t) { return t.number == number; });
        if (it == defaults.things.end()) throw WorldSourceError("the default catalogue lacks a place thing");
        ThingStyle t = *it;
        t.smallest = from;
        return t;
    };
    if (m.capitals) things_.push_back(copy(place::Capital));
    things_.push_back(copy(place::City));
    ThingStyle name = copy(12);
    name.name = "都市名";
    things_.push_back(name);
    if (m.capitals) {
        ThingStyle capital = name;
        capital.number = place::CapitalName;
        capital.name = "首都名";
        capital.style = Bold;
        capital.size = 9;
        things_.push_back(capital);
    }
}

CatalogueStyle StandardCatalogue::style() const {
    return {comment_.c_str(), categories_, things_, world::Land};
}

std::vector<const City*> PlacesOf(const StandardMap& m, const std::vector<City>& cities) {
    const QString country = m.country == 392 ? QStringLiteral("JP") : QString();
    std::vector<const City*> out;
    for (const City& c : cities) {
        if (!country.isEmpty() && c.country != country) continue;
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

void AddPlaceFigures(clsMap& map, const std::vector<const City*>& places, const std::map<int64_t, QString>& japanese,
                     const std::map<QString, int16_t>& districtOf, bool capitals) {
    const auto add = [&](const MapFigurePtr& f) {
        if (!map.Add(f)) throw WorldSourceError("the map refused a place");
    };
    const auto districtFor = [&](const City& c) {
        const auto it = districtOf.find(c.country);
        return it == districtOf.end() ? int16_t(0) : it->second;
    };
    // Symbols first, names over them.
    for (const City* c : places) {
        auto s = std::make_shared<clsMapSymbol>();
        s->setPosition(PolyPoint{c->at.lon, c->at.lat});
        s->setThing(capitals && c->isCapital() ? place::Capital : place::City);
        s->setAdmin(districtFor(*c));
        add(s);
    }
    for (const City* c : places) {
        const PlaceNames n = NamesOf(*c, japanese);
        auto t = std::make_shared<clsMapText>();
        t->setPosition(PolyPoint{c->at.lon, c->at.lat});
        t->setTextFix(TextAnchorRight);
        t->setTextAnsi(1, n.european);
        t->setTextAnsi(2, n.japanese);
        t->setThing(capitals && c->isCapital() ? place::CapitalName : place::CityName);
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
    return out;
}

} // namespace worldsrc
