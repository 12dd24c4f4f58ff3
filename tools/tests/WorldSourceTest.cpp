#include "Continents.h"
#include "WorldSource.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace worldsrc;

namespace {

constexpr int32_t D = SecPerDegree;

// Excerpts written in the format of i18n-iso-countries.
CountryNames SomeNames() {
    return CountryNames::FromJson(
        R"([["AF","AFG","004","ISO 3166-2:AF"],["FR","FRA","250","ISO 3166-2:FR"],
            ["JP","JPN","392","ISO 3166-2:JP"],["TW","TWN","158","ISO 3166-2:TW"]])",
        R"({"locale":"en","countries":{"AF":"Afghanistan","FR":"France","JP":"Japan",
            "TW":["Taiwan, Province of China","Taiwan"]}})",
        R"({"locale":"ja","countries":{"AF":"アフガニスタン","FR":"フランス","JP":"日本","TW":"台湾"}})");
}

const Country& Find(const World& w, int code) {
    const auto it = std::find_if(w.countries.begin(), w.countries.end(), [&](const Country& c) { return c.code == code; });
    if (it == w.countries.end()) throw std::runtime_error("no such country");
    return *it;
}

} // namespace

TEST(CountryNames, LookupByNumericCode) {
    const CountryNames names = SomeNames();
    ASSERT_NE(names.find(392), nullptr);
    EXPECT_EQ(names.find(392)->alpha2, QStringLiteral("JP"));
    EXPECT_EQ(names.find(392)->japanese, QStringLiteral("日本"));
    EXPECT_EQ(names.find(250)->english, QStringLiteral("France"));
    EXPECT_EQ(names.find(250)->japanese, QStringLiteral("フランス"));
    EXPECT_EQ(names.find(158)->english, QStringLiteral("Taiwan"));  // the natural order wins
    EXPECT_EQ(names.find(999), nullptr);

    EXPECT_THROW(CountryNames::FromJson("{}", "{}", "{}"), WorldSourceError);
    EXPECT_THROW(CountryNames::FromJson(R"([["JP","JPN","x"]])", R"({"countries":{}})", R"({"countries":{}})"),
                 WorldSourceError);
    EXPECT_THROW(CountryNames::FromJson("[]", "[", R"({"countries":{}})"), WorldSourceError);
}

TEST(CountryNames, InvertedNamesTurnedRound) {
    const CountryNames names = CountryNames::FromJson(
        R"([["MD","MDA","498"],["VG","VGB","092"],["BQ","BES","535"],["KR","KOR","410"]])",
        R"({"countries":{"MD":"Moldova, Republic of","VG":"Virgin Islands, British",
            "BQ":"Bonaire, Sint Eustatius and Saba","KR":["Korea, Republic of","Republic of Korea"]}})",
        R"({"countries":{"MD":"モルドバ共和国","VG":"イギリス領ヴァージン諸島","BQ":"ボネール","KR":"大韓民国"}})");
    EXPECT_EQ(names.find(498)->english, QStringLiteral("Republic of Moldova"));
    EXPECT_EQ(names.find(92)->english, QStringLiteral("British Virgin Islands"));
    EXPECT_EQ(names.find(535)->english, QStringLiteral("Bonaire, Sint Eustatius and Saba"));  // a list, not inverted
    EXPECT_EQ(names.find(410)->english, QStringLiteral("Republic of Korea"));
}

TEST(CountryNames, CodesOfFeatures) {
    EXPECT_EQ(CountryCodeOf(QStringLiteral("036"), QStringLiteral("Ashmore and Cartier Is.")), 36);
    EXPECT_EQ(CountryCodeOf(QStringLiteral("4"), QString()), 4);
    EXPECT_EQ(CountryCodeOf(QString(), QStringLiteral("Kosovo")), 983);
    EXPECT_EQ(CountryCodeOf(QStringLiteral("-99"), QStringLiteral("N. Cyprus")), 901);
    EXPECT_EQ(CountryCodeOf(QStringLiteral("1000"), QStringLiteral("Atlantis")), -1);

    // Our own codes are distinct, in the user-assigned range, and placed.
    std::vector<int> seen;
    for (const ExtraCode& e : ExtraCodes()) {
        EXPECT_GE(e.code, 900);
        EXPECT_LE(e.code, 999);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), e.code), 0) << e.code;
        EXPECT_GT(ContinentOf(e.code), AreaWorld) << e.code;
        seen.push_back(e.code);
    }
}

TEST(WorldSource, CountriesFromTheFixture) {
    const World w = ReadCountries(Topology::ReadFile(QStringLiteral(KAL_TESTDATA_DIR "/tiny-topology.json")), SomeNames());
    ASSERT_EQ(w.countries.size(), 4u);  // the Point feature has no outline
    EXPECT_EQ(w.countries[0].code, 4);  // by code
    EXPECT_EQ(w.countries[3].code, 983);

    const Country& japan = Find(w, 392);
    EXPECT_EQ(japan.englishName, QStringLiteral("Japan"));
    EXPECT_EQ(japan.japaneseName, QStringLiteral("日本"));
    EXPECT_EQ(japan.area, AreaAsia);
    ASSERT_EQ(japan.polygons.size(), 1u);
    EXPECT_EQ(japan.polygons[0].rings[0],
              (SecRing{{2 * D, 2 * D}, {0, 2 * D}, {0, 0}, {2 * D, 0}, {2 * D, 2 * D}}));
    EXPECT_EQ(japan.label, (SecPoint{D, D}));

    EXPECT_EQ(Find(w, 250).area, AreaEurope);

    const Country& kosovo = Find(w, 983);  // no id: our table's code and names
    EXPECT_EQ(kosovo.englishName, QStringLiteral("Kosovo"));
    EXPECT_EQ(kosovo.japaneseName, QStringLiteral("コソボ"));
    EXPECT_EQ(kosovo.area, AreaEurope);

    const Country& c = Find(w, 4);
    EXPECT_EQ(c.polygons.size(), 2u);
    EXPECT_EQ(c.label, (SecPoint{20 * D + D / 2, 3 * D}));
    EXPECT_EQ(c.sourceNames, QStringList{QStringLiteral("C-shape")});

    ASSERT_EQ(w.borders.size(), 1u);
    EXPECT_EQ(w.borders[0].codeA, 392);
    EXPECT_EQ(w.borders[0].codeB, 250);
    EXPECT_EQ(w.borders[0].line, (SecRing{{2 * D, 0}, {2 * D, 2 * D}}));
}

TEST(WorldSource, FeaturesOfOneCodeMergeAndUnknownFeaturesAreRefused) {
    const Topology t = Topology::Parse(R"({"type":"Topology",
        "arcs":[[[0,0],[1,0],[1,1],[0,0]],[[10,0],[20,0],[20,10],[10,0]]],
        "objects":{"countries":{"type":"GeometryCollection","geometries":[
            {"type":"Polygon","id":"036","properties":{"name":"Ashmore and Cartier Is."},"arcs":[[0]]},
            {"type":"Polygon","id":"036","properties":{"name":"Australia"},"arcs":[[1]]}]},
          "bad":{"type":"Polygon","properties":{"name":"Atlantis"},"arcs":[[0]]}}})");
    const World w = ReadCountries(t, CountryNames());
    ASSERT_EQ(w.countries.size(), 1u);
    EXPECT_EQ(w.countries[0].polygons.size(), 2u);
    EXPECT_EQ(w.countries[0].englishName, QStringLiteral("Ashmore and Cartier Is."));  // no name list given
    EXPECT_EQ(w.countries[0].area, AreaOceania);
    EXPECT_TRUE(w.borders.empty());
    EXPECT_THROW(ReadCountries(t, CountryNames(), QStringLiteral("bad")), WorldSourceError);
}

TEST(Continents, AreasAreNumberedWithoutGaps) {
    const auto names = AreaNames();
    ASSERT_EQ(names.size(), 8u);
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i].area, int16_t(i));
    EXPECT_STREQ(names[AreaAntarctica].japanese, "南極");
}

TEST(Continents, EveryCountryOfTheSmallScaleMapHasAContinent) {
    // The ids of world-atlas countries-110m.json.
    const int ids[] = {
        4,   8,   10,  12,  24,  31,  32,  36,  40,  44,  50,  51,  56,  64,  68,  70,  72,  76,  84,  90,
        96,  100, 104, 108, 112, 116, 120, 124, 140, 144, 148, 152, 156, 158, 170, 178, 180, 188, 191, 192,
        196, 203, 204, 208, 214, 218, 222, 226, 231, 232, 233, 238, 242, 246, 250, 260, 262, 266, 268, 270,
        275, 276, 288, 300, 304, 320, 324, 328, 332, 340, 348, 352, 356, 360, 364, 368, 372, 376, 380, 384,
        388, 392, 398, 400, 404, 408, 410, 414, 417, 418, 422, 426, 428, 430, 434, 440, 442, 450, 454, 458,
        466, 478, 484, 496, 498, 499, 504, 508, 512, 516, 524, 528, 540, 548, 554, 558, 562, 566, 578, 586,
        591, 598, 600, 604, 608, 616, 620, 624, 626, 630, 634, 642, 643, 646, 682, 686, 688, 694, 703, 704,
        705, 706, 710, 716, 724, 728, 729, 732, 740, 748, 752, 756, 760, 762, 764, 768, 780, 784, 788, 792,
        795, 800, 804, 807, 818, 826, 834, 840, 854, 858, 860, 862, 887, 894};
    for (const int id : ids) {
        const int16_t a = ContinentOf(id);
        EXPECT_GT(a, AreaWorld) << id;
        EXPECT_LE(a, AreaOceania) << id;
    }
    // Where a continent is easily mistaken.
    const std::pair<int, int16_t> spots[] = {
        {643, AreaEurope},       {792, AreaAsia},         {196, AreaAsia},    {818, AreaAfrica},
        {304, AreaNorthAmerica}, {484, AreaNorthAmerica}, {192, AreaNorthAmerica},
        {238, AreaSouthAmerica}, {10, AreaAntarctica},    {242, AreaOceania}, {260, AreaAfrica}};
    for (const auto& [code, area] : spots) EXPECT_EQ(ContinentOf(code), area) << code;
    EXPECT_EQ(ContinentOf(999), -1);
}

// Runs on the real data when KAL_WORLD_DATA names the folder that
// tools/fetch-world-data.sh printed; skipped otherwise, as the tests need no
// network.
TEST(WorldSource, RealDataIsComplete) {
    const QString dir = qEnvironmentVariable("KAL_WORLD_DATA");
    if (dir.isEmpty()) GTEST_SKIP() << "KAL_WORLD_DATA is not set";
    const QString modules = dir + QStringLiteral("/node_modules/");
    const CountryNames names = CountryNames::Load(modules + QStringLiteral("i18n-iso-countries"));
    for (const char* file : {"countries-110m.json", "countries-50m.json"}) {
        const World w = ReadCountries(Topology::ReadFile(modules + QStringLiteral("world-atlas/") + QLatin1String(file)), names);
        EXPECT_GT(w.countries.size(), 170u) << file;
        EXPECT_GT(w.borders.size(), 300u) << file;
        for (const Country& c : w.countries) {
            EXPECT_FALSE(c.englishName.isEmpty()) << file << " " << c.code;
            EXPECT_FALSE(c.japaneseName.isEmpty()) << file << " " << c.code;
            EXPECT_GT(c.area, AreaWorld) << file << " " << c.code;
            bool inside = false;
            for (const SecPolygon& p : c.polygons) inside = inside || Contains(p, c.label);
            EXPECT_TRUE(inside) << file << " " << c.code;
        }
    }
    // Every code the name list knows has a continent.
    int covered = 0;
    for (int code = 0; code <= 999; ++code) {
        if (!names.find(code)) continue;
        EXPECT_GT(ContinentOf(code), AreaWorld) << code;
        ++covered;
    }
    EXPECT_GT(covered, 240);
}
