#include "Continents.h"
#include "WorldSource.h"

#include <gtest/gtest.h>


#include <algorithm>

using namespace worldsrc;

namespace {

constexpr int32_t D = SecPerDegree;

// Excerpts written in the format of i18n-iso-countries.
CountryNames SomeNames() {
    return CountryNames::FromJson(
        R"([["AF","AFG","004","ISO 3166-2:AF"],["FR","FRA","250","ISO 3166-2:FR"],
            ["JP","JPN","392","ISO 3166-2:JP"],["TW","TWN","158","ISO 3166-2:TW"],
            ["IR","IRN","364","ISO 3166-2:IR"],["CD","COD","180","ISO 3166-2:CD"]])",
        R"({"locale":"en","countries":{"AF":"Afghanistan","FR":"France","JP":"Japan",
            "TW":["Taiwan, Province of China","Taiwan"],"IR":["Islamic Republic of Iran","Iran"],
            "CD":["Democratic Republic of the Congo","Congo"]}})",
        R"({"locale":"ja","countries":{"AF":"アフガニスタン","FR":"フランス","JP":"日本","TW":"台湾",
            "IR":"イラン・イスラム共和国","CD":"コンゴ民主共和国"}})");
}

const Country& Find(const World& w, int code) {
    const auto it = std::find_if(w.countries.begin(), w.countries.end(), [&](const Country& c) { return c.code == code; });
    if (it == w.countries.end()) throw std::runtime_error("no such country");
    return *it;
}

} // namespace

TEST(CountryNames, LookupByNumericCodeAndNaturalOrder) {
    const CountryNames names = SomeNames();
    ASSERT_NE(names.find(392), nullptr);
    EXPECT_TRUE(names.find(392)->alpha2 == QStringLiteral("JP") && names.find(392)->japanese == QStringLiteral("日本"));
    EXPECT_EQ(names.find(250)->english, QStringLiteral("France"));
    EXPECT_EQ(names.find(158)->english, QStringLiteral("Taiwan"));  // the natural order wins
    // The short name a reader knows, in either language; where only one is
    // shortened, the other stays as listed.
    EXPECT_TRUE(names.find(364)->english == QStringLiteral("Iran") && names.find(364)->japanese == QStringLiteral("イラン"));
    EXPECT_TRUE(names.find(180)->english == QStringLiteral("DR Congo") &&
                names.find(180)->japanese == QStringLiteral("コンゴ民主共和国"));
    EXPECT_EQ(names.find(999), nullptr);

    EXPECT_THROW(CountryNames::FromJson("{}", "{}", "{}"), WorldSourceError);
    EXPECT_THROW(CountryNames::FromJson(R"([["JP","JPN","x"]])", R"({"countries":{}})", R"({"countries":{}})"),
                 WorldSourceError);
    EXPECT_THROW(CountryNames::FromJson("[]", "[", R"({"countries":{}})"), WorldSourceError);

    // A name only written inverted is turned round (letter codes of our
    // own: Moldova and Korea have short names of their own).
    const CountryNames inverted = CountryNames::FromJson(
        R"([["XM","MDA","498"],["VG","VGB","092"],["BQ","BES","535"],["XK","KOR","410"]])",
        R"({"countries":{"XM":"Moldova, Republic of","VG":"Virgin Islands, British",
            "BQ":"Bonaire, Sint Eustatius and Saba","XK":["Korea, Republic of","Republic of Korea"]}})",
        R"({"countries":{"XM":"モルドバ共和国","VG":"イギリス領ヴァージン諸島","BQ":"ボネール","XK":"大韓民国"}})");
    EXPECT_EQ(inverted.find(498)->english, QStringLiteral("Republic of Moldova"));
    EXPECT_EQ(inverted.find(92)->english, QStringLiteral("British Virgin Islands"));
    EXPECT_EQ(inverted.find(535)->english, QStringLiteral("Bonaire, Sint Eustatius and Saba"));  // a list, not inverted
    EXPECT_EQ(inverted.find(410)->english, QStringLiteral("Republic of Korea"));
}

TEST(CountryNames, CodesOfFeatures) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"036", "Ashmore and Cartier Is.", 36}, {"4", "", 4}, {"", "Kosovo", 983}, {"-99", "N. Cyprus", 901}, {"1000", "Atlantis", -1}};
    for (auto [id, name, code] : cases) EXPECT_EQ(CountryCodeOf(QString::fromLatin1(id), QString::fromLatin1(name)), code) << name;

    // Our own codes are distinct, in the user-assigned range, and placed.
    std::vector<int> seen;
    for (const ExtraCode& e : ExtraCodes()) {
        EXPECT_TRUE(e.code >= 900 && e.code <= 999 && std::count(seen.begin(), seen.end(), e.code) == 0) << e.code;
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
    EXPECT_TRUE(japan.englishName == QStringLiteral("Japan") && japan.japaneseName == QStringLiteral("日本"));
    EXPECT_EQ(japan.area, AreaAsia);
    EXPECT_EQ(japan.polygons.size(), 1u);

    EXPECT_EQ(Find(w, 250).area, AreaEurope);

    const Country& kosovo = Find(w, 983);  // no id: our table's code and names
    EXPECT_TRUE(kosovo.englishName == QStringLiteral("Kosovo") && kosovo.japaneseName == QStringLiteral("コソボ"));
    EXPECT_EQ(kosovo.area, AreaEurope);

    const Country& c = Find(w, 4);
    EXPECT_EQ(c.polygons.size(), 2u);
    EXPECT_EQ(c.sourceNames, QStringList{QStringLiteral("C-shape")});

    ASSERT_EQ(w.borders.size(), 1u);
    EXPECT_TRUE(w.borders[0].codeA == 392 && w.borders[0].codeB == 250);
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

TEST(Continents, AreasAndTheEasilyMistaken) {
    const auto names = AreaNames();
    ASSERT_EQ(names.size(), 8u);
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i].area, int16_t(i));
    const std::pair<int, int16_t> spots[] = {
        {643, AreaEurope},       {792, AreaAsia},         {196, AreaAsia},    {818, AreaAfrica},
        {304, AreaNorthAmerica}, {484, AreaNorthAmerica}, {192, AreaNorthAmerica},
        {238, AreaSouthAmerica}, {10, AreaAntarctica},    {242, AreaOceania}, {260, AreaAfrica}};
    for (const auto& [code, area] : spots) EXPECT_EQ(ContinentOf(code), area) << code;
    EXPECT_EQ(ContinentOf(999), -1);
}
