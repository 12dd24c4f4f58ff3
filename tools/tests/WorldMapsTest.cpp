#include "WorldMaps.h"
#include "WorldStyles.h"

#include "TestSupport.h"

#include "clsMap.h"
#include "clsMapText.h"

#include <gtest/gtest.h>

#include <set>

using namespace worldsrc;

namespace {

constexpr int32_t D = SecPerDegree;

SecRing Square(double west, double south, double size) {
    const auto s = [](double deg) { return int32_t(deg * D); };
    return {{s(west), s(south)},
            {s(west + size), s(south)},
            {s(west + size), s(south + size)},
            {s(west), s(south + size)},
            {s(west), s(south)}};
}

Country MakeCountry(int16_t code, std::vector<SecPolygon> polygons, const char* en, const char* ja) {
    Country c;
    c.code = code;
    c.englishName = QString::fromUtf8(en);
    c.japaneseName = QString::fromUtf8(ja);
    c.polygons = std::move(polygons);
    c.label = LabelPoint(c.polygons);
    return c;
}

std::vector<MapFigurePtr> OfKind(const clsMap& map, int32_t code) {
    std::vector<MapFigurePtr> out;
    for (const MapFigurePtr& f : map)
        if (f->FigCode() == code) out.push_back(f);
    return out;
}

} // namespace

TEST(WorldMaps, NeighboursGetDifferentPages) {
    // A country with six neighbours in a ring round it, and one island.
    World w;
    for (int16_t code = 1; code <= 8; ++code) w.countries.push_back(MakeCountry(code, {{{Square(code, 0, 1)}}}, "x", "x"));
    for (int16_t k = 2; k <= 7; ++k) {
        w.borders.push_back({1, k, {}});
        w.borders.push_back({k, int16_t(k == 7 ? 2 : k + 1), {}});
    }
    const std::map<int16_t, int16_t> pages = CountryPages(w);
    ASSERT_EQ(pages.size(), 8u);
    for (const auto& [code, page] : pages) {
        EXPECT_GE(page, 1);
        EXPECT_LE(page, 8);
    }
    for (const Border& b : w.borders) EXPECT_NE(pages.at(b.codeA), pages.at(b.codeB)) << b.codeA << "/" << b.codeB;
    // Spread over the pages rather than piled on the first ones.
    std::set<int16_t> used;
    for (const auto& [code, page] : pages) used.insert(page);
    EXPECT_GE(used.size(), 6u);
}

TEST(WorldMaps, SmallCountriesByAreaOnTheGlobe) {
    EXPECT_TRUE(IsSmallCountry(MakeCountry(1, {{{Square(10, 0, 1.5)}}}, "x", "x")));   // 2.25 square degrees
    EXPECT_FALSE(IsSmallCountry(MakeCountry(2, {{{Square(10, 0, 3)}}}, "x", "x")));    // 9
    EXPECT_TRUE(IsSmallCountry(MakeCountry(3, {{{Square(10, 70, 3)}}}, "x", "x")));    // 9 x cos 71.5°
    // Islands add up.
    EXPECT_FALSE(IsSmallCountry(MakeCountry(4, {{{Square(10, 0, 1.5)}}, {{Square(20, 0, 1.5)}}}, "x", "x")));
}

TEST(WorldMaps, WorldFiguresWithEnclaveCoastBorderAndNames) {
    World w;
    // A country with an enclave: the hole is left out, the enclave drawn over it.
    w.countries.push_back(MakeCountry(710, {{{Square(20, -30, 10), Square(24, -26, 2)}}}, "South Africa", "南アフリカ"));
    w.countries.push_back(MakeCountry(426, {{{Square(24, -26, 2)}}}, "Lesotho", "レソト"));
    w.coasts.push_back({710, {{20 * D, -30 * D}, {30 * D, -30 * D}}});
    w.borders.push_back({426, 710, {{24 * D, -26 * D}, {26 * D, -26 * D}}});
    clsMap map;
    AddWorldFigures(map, w);

    const auto polygons = OfKind(map, 3);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(polygons[0]->Admin(), 710);  // the larger first
    EXPECT_EQ(polygons[1]->Admin(), 426);
    EXPECT_EQ(polygons[0]->Poly()->Count(), 5);  // its outer ring only
    for (const MapFigurePtr& p : polygons) EXPECT_EQ(p->Thing(), world::Land);

    const auto lines = OfKind(map, 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->Thing(), world::Coast);
    EXPECT_EQ(lines[0]->Admin(), 710);
    EXPECT_EQ(lines[1]->Thing(), world::Border);
    EXPECT_EQ(lines[1]->Admin(), 0);

    const auto texts = OfKind(map, 5);
    ASSERT_EQ(texts.size(), 2u);
    const auto& sa = static_cast<const clsMapText&>(*texts[0]);
    EXPECT_EQ(sa.Admin(), 710);
    EXPECT_EQ(sa.Thing(), world::Name);
    EXPECT_EQ(sa.TextUnicode(1), QStringLiteral("South Africa"));
    EXPECT_EQ(sa.TextUnicode(2), QStringLiteral("南アフリカ"));
    EXPECT_EQ(sa.TextFix(), 12);
    EXPECT_EQ(sa.Position(), (PolyPoint{w.countries[0].label.lon, w.countries[0].label.lat}));
    EXPECT_EQ(texts[1]->Thing(), world::SmallName);
    for (const MapFigurePtr& f : map) EXPECT_TRUE(f->IsRight());

    World nameless;
    nameless.countries.push_back(MakeCountry(999, {{{Square(0, 0, 1)}}}, "Nowhere", ""));
    clsMap other;
    EXPECT_THROW(AddWorldFigures(other, nameless), WorldSourceError);
}

TEST(WorldMaps, BaseLandWithInlandSea) {
    Land land;
    land.polygons.push_back({{Square(40, 30, 30), Square(47, 37, 6)}});  // Eurasia with its Caspian
    land.polygons.push_back({{Square(-10, 50, 2)}});
    clsMap map;
    AddBaseFigures(map, land);
    ASSERT_EQ(map.Count(), 3);
    EXPECT_EQ(map.Item(1)->Thing(), base::Land);
    EXPECT_EQ(map.Item(1)->Poly()->Count(), 5);  // the outer ring alone
    EXPECT_EQ(map.Item(2)->Thing(), base::Land);
    EXPECT_EQ(map.Item(3)->Thing(), base::Lake);
    EXPECT_EQ(map.Item(3)->Poly()->RectBound().x1, 47 * D);
    for (const MapFigurePtr& f : map) {
        EXPECT_EQ(f->Admin(), 0);
        EXPECT_TRUE(f->IsRight());
    }
}

TEST(WorldMaps, HeaderOfTheWorldMap) {
    testsupport::TempDir dir;
    clsMap map;
    map.setFileName(dir.file(QStringLiteral("WORLD_T3.MLL")));
    WriteHeader(map, {WorldMapCode, QStringLiteral("World Administrative Map"), QStringLiteral("世界行政図"),
                      QStringLiteral("国名"), QStringLiteral("Natural Earth")});
    EXPECT_EQ(map.MapCode(), 133000);
    EXPECT_EQ(map.Kind(), QStringLiteral("世界行政図"));
    EXPECT_EQ(map.Level(), 3);
    EXPECT_EQ(map.Country(), 0);
    EXPECT_EQ(map.MapName(1), QStringLiteral("World Administrative Map"));
    EXPECT_EQ(map.MapName(2), QStringLiteral("世界行政図"));
    EXPECT_EQ(map.SearchRem(QStringLiteral("収録項目")), QStringLiteral("国名"));
    EXPECT_EQ(map.SearchRem(QStringLiteral("参考資料")), QStringLiteral("Natural Earth"));
    EXPECT_EQ(map.SearchRem(QStringLiteral("事象ファイル名")), QStringLiteral("WORLD_T3.THG"));
}

TEST(WorldMaps, StylesAreComplete) {
    // Every catalogue numbers its things once, and each thing's category exists.
    for (const CatalogueStyle& c : {BaseCatalogue(), WorldCatalogue(), DefaultCatalogue()}) {
        std::set<int16_t> numbers;
        std::set<QString> names;
        for (const ThingStyle& t : c.things) {
            EXPECT_TRUE(numbers.insert(t.number).second) << t.number;
            EXPECT_TRUE(names.insert(QString::fromUtf8(t.name)).second) << t.name;
            EXPECT_TRUE(std::any_of(c.categories.begin(), c.categories.end(),
                                    [&](const CategoryStyle& k) { return k.number == t.category; }))
                << t.name;
        }
    }
    // The names the base-map layers and the plot engine look up.
    const char* looked[] = {"背景", "海洋", "陸地", "経線", "緯線", "赤道線", "帯域線", "縦線", "横線",
                            "経度", "緯度", "方位線", "領域枠", "投影枠"};
    for (const char* name : looked) {
        const CatalogueStyle b = BaseCatalogue();
        EXPECT_TRUE(std::any_of(b.things.begin(), b.things.end(),
                                [&](const ThingStyle& t) { return QString::fromUtf8(t.name) == QString::fromUtf8(name); }))
            << name;
    }
    // Neighbouring pages of the land differ.
    const auto pages = LandPageColours();
    EXPECT_EQ(std::set<int32_t>(pages.begin(), pages.end()).size(), 8u);
}

TEST(WorldMaps, DistrictsOfTheCatalogues) {
    World w;
    w.countries.push_back(MakeCountry(156, {{{Square(100, 30, 10)}}}, "China", "中華人民共和国"));
    w.countries.push_back(MakeCountry(392, {{{Square(135, 35, 3)}}}, "Japan", "日本"));
    w.countries.push_back(MakeCountry(384, {{{Square(-5, 5, 3)}}}, "Côte d'Ivoire", "コートジボワール"));
    w.borders.push_back({156, 392, {}});  // not really, but then they must differ
    w.countries[0].area = 5;

    const std::vector<District> mapOnly = Districts(w, nullptr);
    ASSERT_EQ(mapOnly.size(), 4u);
    EXPECT_EQ(mapOnly[0].code, 0);
    EXPECT_EQ(mapOnly[0].area, 0);
    EXPECT_EQ(mapOnly[0].japanese, QStringLiteral("世界"));
    EXPECT_EQ(mapOnly[1].code, 156);
    EXPECT_EQ(mapOnly[2].code, 384);
    EXPECT_EQ(mapOnly[2].european, QStringLiteral("Cote d'Ivoire"));  // the catalogues are Shift-JIS
    EXPECT_EQ(mapOnly[2].area, 1);
    EXPECT_EQ(mapOnly[3].code, 392);
    EXPECT_NE(mapOnly[1].page, mapOnly[3].page);

    const CountryNames names = CountryNames::FromJson(R"([["FR","FRA","250"],["JP","JPN","392"]])",
                                                      R"({"countries":{"FR":"France","JP":"Japan"}})",
                                                      R"({"countries":{"FR":"フランス","JP":"日本"}})");
    const std::vector<District> all = Districts(w, &names);
    std::set<int16_t> codes;
    for (const District& d : all) {
        codes.insert(d.code);
        EXPECT_GE(d.page, 1);
        EXPECT_LE(d.page, 8);
    }
    EXPECT_EQ(codes.size(), all.size());
    EXPECT_EQ(codes.count(250), 1u);
    EXPECT_EQ(codes.count(983), 1u);  // our own codes too
    EXPECT_EQ(all.size(), 4u + 1 + ExtraCodes().size());

    World unknown;
    unknown.countries.push_back(MakeCountry(998, {{{Square(0, 0, 1)}}}, "Atlantis", "アトランティス"));
    EXPECT_THROW(Districts(unknown, nullptr), WorldSourceError);  // no continent
}
