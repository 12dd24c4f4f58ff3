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
    std::set<int16_t> used;   // spread over the pages rather than piled on the first ones
    for (const auto& [code, page] : pages) {
        EXPECT_TRUE(page >= 1 && page <= 8) << code;
        used.insert(page);
    }
    for (const Border& b : w.borders) EXPECT_NE(pages.at(b.codeA), pages.at(b.codeB)) << b.codeA << "/" << b.codeB;
    EXPECT_GE(used.size(), 6u);
}

TEST(WorldMaps, CountryAreaOnTheGlobe) {
    const struct {
        Country country;
        double km2;
    } cases[] = {
        {MakeCountry(1, {{{Square(10, 0, 1.5)}}}, "x", "x"), 2.25 * 12300},
        {MakeCountry(2, {{{Square(10, 70, 3)}}}, "x", "x"), 9 * 12300 * 0.317},  // cos 71.5°
        {MakeCountry(3, {{{Square(10, 0, 1.5)}}, {{Square(20, 0, 1.5)}}}, "x", "x"), 4.5 * 12300},  // islands add up
    };
    for (const auto& c : cases) EXPECT_NEAR(CountryArea(c.country), c.km2, c.km2 * 0.03) << c.country.code;

    // A name waits until it is no more than eight times as wide as its country.
    EngineMeasure measure;
    const Country large = MakeCountry(4, {{{Square(60, 40, 30)}}}, "Largeland", "大国");
    const Country tiny = MakeCountry(5, {{{Square(12, 42, 0.01)}}}, "Tinyland", "小国");
    const LabelSpot spot = CountryNameSpot(large, 10, measure);
    EXPECT_EQ(spot.from, 10);
    EXPECT_GT(CountryNameSpot(tiny, 10, measure).from, 40);  // beyond 1:1 000 000
    EXPECT_EQ(CountryNameSpot(tiny, 10, measure).at, tiny.label);
    // Outlines without area (a ring along one parallel): no name at any level.
    Country flat = tiny;
    flat.polygons = {{{SecRing{{12 * D, 42 * D}, {13 * D, 42 * D}, {14 * D, 42 * D}, {12 * D, 42 * D}}}}};
    EXPECT_EQ(PlaceLabels({{10, {CountryNameSpot(flat, 10, measure)}}}, 53)[0].from, 0);
    EXPECT_EQ(CountryNameSpots(flat, CountryNameSpot(flat, 10, measure), 53).size(), 1u);

    // Other spots: inside, the label point first; those with room for the
    // name nearest first; those along the outline last.
    const std::vector<LabelSpot> spots = CountryNameSpots(large, spot, 53);
    ASSERT_GT(spots.size(), 50u);
    EXPECT_LE(spots.size(), 161u);
    EXPECT_EQ(spots[0].at, large.label);
    const auto offset = [&](SecPoint p) {  // degrees, in the plane the spots are ranked in
        return std::hypot((p.lon - large.label.lon) * std::cos(double(p.lat) / D * M_PI / 180), p.lat - large.label.lat) / D;
    };
    const auto edge = [](SecPoint p) {  // degrees to the square's outline, about
        const double lon = double(p.lon) / D, lat = double(p.lat) / D;
        return std::min({(lon - 60) * std::cos(lat * M_PI / 180), (90 - lon) * std::cos(lat * M_PI / 180), lat - 40, 70 - lat});
    };
    for (const LabelSpot& s : spots) EXPECT_TRUE(Contains(large.polygons[0], s.at));
    for (size_t k = 2; k < spots.size() / 4; ++k) EXPECT_GE(offset(spots[k].at), offset(spots[k - 1].at) - 0.01);
    EXPECT_LT(edge(spots.back().at), 1.5);
    EXPECT_GT(edge(spots[1].at), 3);

    // Beside a point: eight anchors round it, none over it.
    const std::vector<LabelSpot> beside = CountryNameBeside(large, spot, measure);
    ASSERT_EQ(beside.size(), 8u);
    std::set<int16_t> anchors;
    for (const LabelSpot& s : beside) {
        anchors.insert(s.fix);
        EXPECT_EQ(s.at, spot.at);
        const PixelBox& b = s.text[1];
        EXPECT_FALSE(b.left < 0 && b.right > 0 && b.top < 0 && b.bottom > 0) << s.fix;
    }
    EXPECT_EQ(anchors.size(), 8u);
}

TEST(WorldMaps, WorldFiguresWithEnclaveCoastBorderAndNames) {
    World w;
    // A country with an enclave: the hole is left out, the enclave drawn over it.
    w.countries.push_back(MakeCountry(710, {{{Square(20, -30, 10), Square(24, -26, 2)}}}, "South Africa", "南アフリカ"));
    w.countries.push_back(MakeCountry(426, {{{Square(24, -26, 2)}}}, "Lesotho", "レソト"));
    w.coasts.push_back({710, {{20 * D, -30 * D}, {30 * D, -30 * D}}});
    w.borders.push_back({426, 710, {{24 * D, -26 * D}, {26 * D, -26 * D}}});
    w.lakes.push_back({{Square(21, -29, 1)}});
    clsMap map;
    AddWorldFigures(map, w, {10, 0});  // Lesotho's name left out

    // Each figure's kind, district and thing, in the order they are drawn.
    const std::tuple<int32_t, int16_t, int16_t> expected[] = {
        {3, 710, world::Land}, {3, 426, world::Land},           // the larger first
        {3, 0, world::Lake},                                     // over them
        {2, 710, world::Coast}, {2, 0, world::Border},
        {5, 710, tier::CountryName + 10},
    };
    ASSERT_EQ(map.Count(), 6);
    for (int32_t i = 1; i <= 6; ++i) {
        const auto& [kind, admin, thing] = expected[i - 1];
        EXPECT_TRUE(map.Item(i)->FigCode() == kind && map.Item(i)->Admin() == admin && map.Item(i)->Thing() == thing) << i;
        EXPECT_TRUE(map.Item(i)->IsRight());
    }
    EXPECT_EQ(map.Item(1)->Poly()->Count(), 5);   // the outer ring only
    const auto& sa = static_cast<const clsMapText&>(*map.Item(6));
    EXPECT_TRUE(sa.TextUnicode(1) == QStringLiteral("South Africa") && sa.TextUnicode(2) == QStringLiteral("南アフリカ"));
    EXPECT_EQ(sa.TextFix(), 12);
    EXPECT_EQ(sa.Position(), (PolyPoint{w.countries[0].label.lon, w.countries[0].label.lat}));
    clsMap placed;  // at a point and anchor of its own
    AddWorldFigures(placed, w, {10, 0}, {{1, 2}, {3, 4}}, {22, 12});
    const auto& moved = static_cast<const clsMapText&>(*placed.Item(6));
    EXPECT_TRUE(moved.Position() == (PolyPoint{1, 2}) && moved.TextFix() == 22);

    World nameless;
    nameless.countries.push_back(MakeCountry(999, {{{Square(0, 0, 1)}}}, "Nowhere", ""));
    clsMap other;
    EXPECT_THROW(AddWorldFigures(other, nameless, {10}), WorldSourceError);
    EXPECT_THROW(AddWorldFigures(other, w, {10}), WorldSourceError);  // a level for each country
    EXPECT_THROW(AddWorldFigures(other, w, {10, 0}, {}, {22}), WorldSourceError);
}

TEST(WorldMaps, BaseLandWithInlandSea) {
    Land land;
    land.polygons.push_back({{Square(40, 30, 30), Square(47, 37, 6)}});  // Eurasia with its Caspian
    land.polygons.push_back({{Square(-10, 50, 2)}});
    // A lake with an island: water over the land, the island not drawn.
    const std::vector<SecPolygon> lakes{{{Square(30, 45, 4), Square(31, 46, 1)}}};
    clsMap map;
    AddBaseFigures(map, land, lakes);
    ASSERT_EQ(map.Count(), 4);
    EXPECT_TRUE(map.Item(1)->Thing() == base::Land && map.Item(2)->Thing() == base::Land && map.Item(3)->Thing() == base::Lake &&
                map.Item(4)->Thing() == base::Lake);
    EXPECT_EQ(map.Item(1)->Poly()->Count(), 5);  // the outer ring alone
    EXPECT_EQ(map.Item(3)->Poly()->RectBound().x1, 47 * D);  // the larger water first
    EXPECT_EQ(map.Item(4)->Poly()->RectBound().x1, 30 * D);
    for (const MapFigurePtr& f : map) EXPECT_TRUE(f->Admin() == 0 && f->IsRight());
}

TEST(WorldMaps, HeaderOfTheWorldMap) {
    testsupport::TempDir dir;
    clsMap map;
    map.setFileName(dir.file(QStringLiteral("WORLD_T3.MLL")));
    WriteHeader(map, {WorldMapCode, QStringLiteral("World Administrative Map"), QStringLiteral("世界行政図"),
                      QStringLiteral("国名"), QStringLiteral("Natural Earth")});
    EXPECT_TRUE(map.MapCode() == 133000 && map.Level() == 3 && map.Country() == 0);
    EXPECT_EQ(map.Kind(), QStringLiteral("世界行政図"));
    EXPECT_EQ(map.MapName(1), QStringLiteral("World Administrative Map"));
    EXPECT_TRUE(map.SearchRem(QStringLiteral("収録項目")) == QStringLiteral("国名") &&
                map.SearchRem(QStringLiteral("参考資料")) == QStringLiteral("Natural Earth"));
    EXPECT_EQ(map.SearchRem(QStringLiteral("事象ファイル名")), QStringLiteral("WORLD_T3.THG"));
}

TEST(WorldMaps, DistrictsOfTheCatalogues) {
    World w;
    w.countries.push_back(MakeCountry(156, {{{Square(100, 30, 10)}}}, "China", "中華人民共和国"));
    w.countries.push_back(MakeCountry(392, {{{Square(135, 35, 3)}}}, "Japan", "日本"));
    w.countries.push_back(MakeCountry(384, {{{Square(-5, 5, 3)}}}, "Côte d'Ivoire", "コートジボワール"));
    w.borders.push_back({156, 392, {}});  // not really, but then they must differ
    w.countries[0].area = 5;

    // The world first, then by code.
    const std::vector<District> mapOnly = Districts(w, nullptr);
    ASSERT_EQ(mapOnly.size(), 4u);
    EXPECT_TRUE(mapOnly[0].code == 0 && mapOnly[0].area == 0 && mapOnly[0].japanese == QStringLiteral("世界"));
    EXPECT_TRUE(mapOnly[1].code == 156 && mapOnly[2].code == 384 && mapOnly[3].code == 392);
    EXPECT_EQ(mapOnly[2].european, QStringLiteral("Cote d'Ivoire"));  // the catalogues are Shift-JIS
    EXPECT_EQ(mapOnly[2].area, 1);
    EXPECT_NE(mapOnly[1].page, mapOnly[3].page);

    const CountryNames names = CountryNames::FromJson(R"([["FR","FRA","250"],["JP","JPN","392"]])",
                                                      R"({"countries":{"FR":"France","JP":"Japan"}})",
                                                      R"({"countries":{"FR":"フランス","JP":"日本"}})");
    const std::vector<District> all = Districts(w, &names);
    std::set<int16_t> codes;
    for (const District& d : all) {
        codes.insert(d.code);
        EXPECT_TRUE(d.page >= 1 && d.page <= 8) << d.code;
    }
    EXPECT_EQ(codes.size(), all.size());
    EXPECT_TRUE(codes.count(250) == 1 && codes.count(983) == 1);  // our own codes too
    EXPECT_EQ(all.size(), 4u + 1 + ExtraCodes().size());

    World unknown;
    unknown.countries.push_back(MakeCountry(998, {{{Square(0, 0, 1)}}}, "Atlantis", "アトランティス"));
    EXPECT_THROW(Districts(unknown, nullptr), WorldSourceError);  // no continent
}
