// Neighbours from shared outlines and their colouring: small maps whose
// answers are known, and the shipped world map coloured with four pages.
#include "MapSymbolTestSupport.h"

#include "Clock.h"
#include "DistrictColouring.h"
#include "clsEnvironment.h"
#include "clsMapPolygon.h"

#include <algorithm>
#include <set>

using namespace symboltest;

namespace {

MapFigurePtr Polygon(int16_t district, std::initializer_list<PolyPoint> pts, int16_t thing = 2) {
    auto f = std::make_shared<clsMapPolygon>();
    f->setThing(thing);
    f->setAdmin(district);
    auto poly = std::make_shared<clsPoly>();
    for (const PolyPoint& p : pts) poly->AddPoint(p);
    f->setPoly(poly);
    return f;
}

// A square of side 10 with its lower left corner at (x, y).
MapFigurePtr Square(int16_t district, int32_t x, int32_t y, int16_t thing = 2) {
    return Polygon(district, {{x, y}, {x + 10, y}, {x + 10, y + 10}, {x, y + 10}}, thing);
}

using Pairs = std::set<std::pair<int16_t, int16_t>>;

Pairs NeighbourCodes(const DistrictGraph& g) {
    Pairs out;
    for (size_t a = 0; a < g.codes.size(); ++a)
        for (const int32_t b : g.neighbours[a])
            if (size_t(b) > a) out.insert({g.codes[a], g.codes[size_t(b)]});
    return out;
}

// Neighbours on one page.
std::vector<std::pair<int32_t, int32_t>> SamePage(const DistrictGraph& g, const std::vector<int32_t>& page) {
    std::vector<std::pair<int32_t, int32_t>> out;
    for (size_t a = 0; a < g.codes.size(); ++a)
        for (const int32_t b : g.neighbours[a])
            if (size_t(b) > a && page[a] == page[size_t(b)]) out.emplace_back(int32_t(a), b);
    return out;
}

} // namespace

TEST(DistrictNeighbours, SharedStretchesOfOutlineMakeNeighbours) {
    const struct {
        const char* what;
        std::vector<MapFigurePtr> figures;
        Pairs expected;
    } cases[] = {
        {"a common side", {Square(1, 0, 0), Square(2, 10, 0)}, {{1, 2}}},
        {"a common corner alone", {Square(1, 0, 0), Square(2, 10, 10)}, {}},
        {"a side along part of a longer one",
         {Polygon(1, {{0, 0}, {30, 0}, {30, 10}, {0, 10}}), Square(2, 10, 10)}, {{1, 2}}},
        {"a gap of the tolerance", {Square(1, 0, 0), Square(2, 11, 0)}, {{1, 2}}},
        {"a gap wider than it", {Square(1, 0, 0), Square(2, 12, 0)}, {}},
        {"two pieces of one district", {Square(1, 0, 0), Square(1, 10, 0)}, {}},
        {"another thing's polygon", {Square(1, 0, 0), Square(2, 10, 0, 3)}, {}},
        {"a district inside another", {Polygon(1, {{0, 0}, {40, 0}, {40, 40}, {0, 40}}), Square(2, 0, 10)}, {{1, 2}}},
    };
    for (const auto& c : cases) {
        clsMap map;
        for (const MapFigurePtr& f : c.figures) map.Add(f);
        const DistrictGraph g = DistrictNeighbours(map, 2, 1);
        EXPECT_EQ(NeighbourCodes(g), c.expected) << c.what;
    }
}

TEST(ColourDistricts, NeighboursDifferWhereThePagesAllowIt) {
    // A wheel: a hub and a ring of five, which needs four pages.
    DistrictGraph wheel;
    wheel.codes = {0, 1, 2, 3, 4, 5};
    wheel.neighbours = {{1, 2, 3, 4, 5}, {0, 2, 5}, {0, 1, 3}, {0, 2, 4}, {0, 3, 5}, {0, 1, 4}};
    const std::vector<int32_t> allOne(6, 1);
    const struct {
        int32_t pages;
        size_t fewestClashes;
    } cases[] = {{4, 0}, {8, 0}, {3, 1}, {2, 3}};
    for (const auto& c : cases) {
        const DistrictColours got = ColourDistricts(wheel, c.pages, allOne);
        ASSERT_EQ(got.page.size(), 6u);
        for (const int32_t p : got.page) EXPECT_TRUE(p >= 1 && p <= c.pages) << c.pages;
        EXPECT_GE(got.clashes.size(), c.fewestClashes) << c.pages;
        if (c.fewestClashes == 0) {
            EXPECT_TRUE(got.clashes.empty()) << c.pages;
        }
        EXPECT_EQ(SamePage(wheel, got.page), got.clashes) << c.pages;
    }
    // Without neighbours every district keeps the page it drew.
    DistrictGraph islands;
    islands.codes = {1, 2, 3};
    islands.neighbours.resize(3);
    EXPECT_EQ(ColourDistricts(islands, 4, {3, 3, 2}).page, (std::vector<int32_t>{3, 3, 2}));
    // A search out of steps falls back to colouring without stepping back.
    EXPECT_EQ(ColourDistricts(wheel, 4, allOne, 0).page.size(), 6u);
}

namespace {

// The shipped world map as the active unit of the dialog.
struct WorldColouring : ::testing::Test {
    static inline MapUnitPtr world;
    static void SetUpTestSuite() {
        gvMapFolder = QStringLiteral(KAL_SOURCE_DIR "/data/maps");
        world = std::make_shared<clsMapUnit>();
        world->setUnitName(gvMapFolder + "/WORLD_T3.MLL");
        ASSERT_TRUE(world->Load());
    }
    static void TearDownTestSuite() {
        world.reset();
        gvMapFolder.clear();
    }
    int32_t landThing() const { return world->Things().Item(world->Things().Search(QStringLiteral("陸地")))->Index(); }
};

} // namespace

TEST_F(WorldColouring, CountriesThatShareABorderAreNeighbours) {
    const DistrictGraph g = DistrictNeighbours(world->Map(), landThing(), MapSymbolModel::kBorderTolerance);
    const Pairs pairs = NeighbourCodes(g);
    // France-Spain, Germany-Poland, Canada-United States, Argentina-Chile,
    // Lesotho inside South Africa.
    for (const auto& known : Pairs{{250, 724}, {276, 616}, {124, 840}, {32, 152}, {426, 710}})
        EXPECT_TRUE(pairs.count(known)) << known.first << "-" << known.second;
    // Islands and countries across the sea.
    for (const int16_t alone : {392, 36, 352}) {
        const int32_t i = g.IndexOf(alone);
        ASSERT_GE(i, 0) << alone;
        EXPECT_TRUE(g.neighbours[size_t(i)].empty()) << alone;
    }
    EXPECT_FALSE(pairs.count({250, 826}));   // France and the United Kingdom
}

TEST_F(WorldColouring, FourPagesKeepEveryPairOfNeighboursApart) {
    clsEnvironment env;
    clsEnvironment* was = gvEnvironment;
    gvEnvironment = &env;
    FakeMain main;
    clsMapUnits units;
    SetMapUnitDialogs(LoadNothing, {});
    units.Add(Unit(QStringLiteral("/maps/BASE.MLL")));
    SetMapUnitDialogs({}, {});
    units.Add(world);
    MapSymbolModel m;
    m.TargetUnits = &units;
    ASSERT_TRUE(m.Load());
    ASSERT_TRUE(m.ColoredMapEnabled());
    const DistrictGraph g = DistrictNeighbours(world->Map(), landThing(), MapSymbolModel::kBorderTolerance);
    std::set<std::vector<int32_t>> seen;
    for (const uint64_t seed : {1u, 2u, 3u, 20261207u}) {
        plat::SeededRandom random(seed);
        plat::RandomSource* before = plat::SetRandom(&random);
        m.ColoredMap();
        plat::SetRandom(before);
        EXPECT_EQ(m.ColouredClashes, 0) << seed;
        std::vector<int32_t> page(g.codes.size(), 0);
        for (const AdminPtr& a : *m.CurAdmins) {
            EXPECT_TRUE(a->Page() >= 1 && a->Page() <= 4) << a->AdminCode();
            if (const int32_t i = g.IndexOf(a->AdminCode()); i >= 0) page[size_t(i)] = a->Page();
        }
        EXPECT_TRUE(std::count(page.begin(), page.end(), 0) == 0) << "a country without a district";
        EXPECT_TRUE(SamePage(g, page).empty()) << seed;
        seen.insert(page);
    }
    EXPECT_EQ(seen.size(), 4u);   // each seed its own map
    m.Unload();
    gvEnvironment = was;
}


TEST(ShippedWorldMaps, FourPagesSufficeOnEveryScale) {
    const QString folder = QStringLiteral(KAL_SOURCE_DIR "/data/maps");
    const QString saved = gvMapFolder;
    gvMapFolder = folder;
    // The coarsest and the finest outlines; the finest adds Ceuta and
    // Melilla, which make Spain and Morocco neighbours.
    for (const char* name : {"WORLD_A1.MLL", "WORLD_A6.MLL"}) {
        auto unit = std::make_shared<clsMapUnit>();
        unit->setUnitName(folder + "/" + name);
        ASSERT_TRUE(unit->Load()) << name;
        const clsThings& things = unit->Things();
        const DistrictGraph g =
            DistrictNeighbours(unit->Map(), things.Item(things.Search(QStringLiteral("陸地")))->Index(),
                               MapSymbolModel::kBorderTolerance);
        const int32_t spain = g.IndexOf(724), morocco = g.IndexOf(504);
        ASSERT_TRUE(spain >= 0 && morocco >= 0) << name;
        EXPECT_EQ(std::count(g.neighbours[size_t(spain)].begin(), g.neighbours[size_t(spain)].end(), morocco),
                  QByteArray(name) == "WORLD_A6.MLL" ? 1 : 0)
            << name;
        for (const uint64_t seed : {7u, 8u, 9u}) {
            plat::SeededRandom random(seed);
            std::vector<int32_t> preferred(g.codes.size());
            for (int32_t& p : preferred) p = 1 + int32_t(random.next() * 4);
            const DistrictColours got = ColourDistricts(g, 4, preferred);
            EXPECT_TRUE(got.clashes.empty()) << name << " " << seed;
            EXPECT_TRUE(SamePage(g, got.page).empty()) << name << " " << seed;
        }
    }
    gvMapFolder = saved;
}
