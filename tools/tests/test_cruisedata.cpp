// The readers of the place data and the cruise's grid and list, on small
// hand-made inputs.
#include "Cities.h"
#include "CountryGrid.h"
#include "CruiseMaps.h"
#include "WorldMaps.h"

#include "RingGeometry.h"

#include <cmath>
#include "TestSupport.h"

#include "TextFile.h"
#include "basLibrary.h"

#include <gtest/gtest.h>

using namespace worldsrc;

namespace {

// Protocol-buffer bytes written field by field.
struct Pbf {
    QByteArray b;
    Pbf& varint(uint64_t v) {
        do {
            b.append(char((v & 0x7F) | (v > 0x7F ? 0x80 : 0)));
            v >>= 7;
        } while (v);
        return *this;
    }
    Pbf& key(int field, int type) { return varint(uint64_t(field) << 3 | uint64_t(type)); }
    Pbf& sint(int field, int64_t v) { return key(field, 0).varint(uint64_t((v << 1) ^ (v >> 63))); }
    Pbf& uint(int field, uint64_t v) { return key(field, 0).varint(v); }
    Pbf& text(int field, const QString& s) {
        const QByteArray u = s.toUtf8();
        key(field, 2).varint(uint64_t(u.size()));
        b.append(u);
        return *this;
    }
    Pbf& record(const Pbf& r) {
        varint(uint64_t(r.b.size()));
        b.append(r.b);
        return *this;
    }
};

// A .mo catalogue of (id, text) pairs in either byte order.
QByteArray Mo(const std::vector<std::pair<QByteArray, QString>>& entries, bool bigEndian) {
    QByteArray head, strings;
    const auto word = [&](QByteArray& to, uint32_t v) {
        for (int i = 0; i < 4; ++i) to.append(char(bigEndian ? v >> (24 - 8 * i) : v >> (8 * i)));
    };
    const uint32_t n = uint32_t(entries.size());
    const uint32_t ids = 28, texts = ids + 8 * n, data = texts + 8 * n;
    word(head, 0x950412DE);
    word(head, 0);
    word(head, n);
    word(head, ids);
    word(head, texts);
    word(head, 0);
    word(head, data);
    QByteArray idTable, textTable;
    for (const auto& [id, text] : entries) {
        word(idTable, uint32_t(id.size()));
        word(idTable, data + uint32_t(strings.size()));
        strings += id + '\0';
    }
    for (const auto& [id, text] : entries) {
        const QByteArray u = text.toUtf8();
        word(textTable, uint32_t(u.size()));
        word(textTable, data + uint32_t(strings.size()));
        strings += u + '\0';
    }
    return head + idTable + textTable + strings;
}

// Degrees to arc-seconds without the range check: squares may run past 180°
// the way unwrapped outlines across the date line do.
SecPoint Sec(double lon, double lat) {
    return {int32_t(std::lround(lon * SecPerDegree)), int32_t(std::lround(lat * SecPerDegree))};
}

Country Square(int16_t code, double west, double south, double east, double north) {
    Country c;
    c.code = code;
    c.polygons.push_back(
        {{SecRing{Sec(west, south), Sec(east, south), Sec(east, north), Sec(west, north), Sec(west, south)}}});
    return c;
}

} // namespace

TEST(CruiseData, CitiesFromTheirRecords) {
    Pbf file;
    file.record(Pbf().sint(1, 1850147).text(2, "Tokyo").text(3, "JP").text(7, "PPLC").uint(9, 8336599)
                    .sint(10, 13969171).sint(11, 3568950));
    // Coordinates follow as differences; an unknown field of each wire type is skipped.
    file.record(Pbf().sint(1, 2643743).text(2, "London").text(3, "GB").uint(12, 7).key(13, 1).varint(0x0101010101010101)
                    .text(14, "x").key(15, 5).varint(0x7F7F7F).sint(10, -13969171 - 12575).sint(11, 5150853 - 3568950));
    const std::vector<City> cities = ReadCities(file.b);
    ASSERT_EQ(cities.size(), 2u);
    EXPECT_EQ(cities[0].id, 1850147);
    EXPECT_TRUE(cities[0].isCapital());
    EXPECT_EQ(cities[0].population, 8336599);
    EXPECT_EQ(cities[0].at, (SecPoint{502890, 128482}));  // 139.69171°, 35.6895° rounded half to even
    EXPECT_EQ(cities[1].name, "London");
    EXPECT_EQ(cities[1].at, (SecPoint{-453, 185431}));
    EXPECT_FALSE(cities[1].isCapital());  // no feature code given

    for (const int cut : {1, 5, int(file.b.size()) - 1}) EXPECT_THROW(ReadCities(file.b.left(cut)), WorldSourceError) << cut;
    EXPECT_THROW(ReadCities(Pbf().record(Pbf().sint(11, 9100000)).b), WorldSourceError);  // beyond 90°
    EXPECT_THROW(ReadCities(QByteArray(12, '\xff')), WorldSourceError);
}

TEST(CruiseData, JapaneseNamesFromACatalogue) {
    for (const bool big : {false, true}) {
        const QByteArray mo = Mo({{"", "Content-Type: text/plain"}, {"1850147", "東京都"}, {"2643743", "ロンドン"}, {"x1", "?"}}, big);
        const std::map<int64_t, QString> names = ReadPlaceNames(mo);
        EXPECT_EQ(names, (std::map<int64_t, QString>{{1850147, "東京都"}, {2643743, "ロンドン"}})) << big;
        EXPECT_THROW(ReadPlaceNames(mo.left(mo.size() - 10)), WorldSourceError);
    }
    EXPECT_THROW(ReadPlaceNames(QByteArray(40, 'x')), WorldSourceError);
}

// CLDR names the cities of its time zones and its divisions in Japanese;
// they fill the places GeoNames gives no name in Japanese script.
TEST(CruiseData, JapaneseNamesFromCldr) {
    const QByteArray zones = R"(<supplementalData><keyword><key name="tz">
        <type name="nlams" description="Amsterdam, Netherlands" alias="Europe/Amsterdam"/>
        <type name="atvie" description="Vienna, Austria" alias="Europe/Vienna"/>
        <type name="inccu" description="Kolkata, India" alias="Asia/Calcutta Asia/Kolkata"/>
        <type name="uspbg" description="Petersburg, Indiana" alias="America/Indiana/Petersburg US/Knox"/>
        <type name="mcmon" description="Monaco" alias="Europe/Monaco"/></key></keyword></supplementalData>)";
    const QByteArray ja = R"(<ldml><dates><timeZoneNames>
        <zone type="Europe/Amsterdam"><long/><exemplarCity>アムステルダム</exemplarCity></zone>
        <zone type="Europe/Vienna"><exemplarCity alt="secondary">x</exemplarCity><exemplarCity>ウィーン</exemplarCity></zone>
        <zone type="Asia/Calcutta"><exemplarCity>コルカタ</exemplarCity></zone>
        <zone type="America/Indiana/Petersburg"><exemplarCity>インディアナ州ピーターズバーグ</exemplarCity></zone>
        </timeZoneNames></dates></ldml>)";
    const std::vector<CldrCity> cldr = ReadZoneCities(zones, ja);
    ASSERT_EQ(cldr.size(), 4u);  // Monaco has no Japanese name
    EXPECT_EQ(cldr[2].english, (QStringList{"calcutta", "kolkata"}));
    EXPECT_EQ(cldr[3].english, (QStringList{"petersburg"}));  // not "knox" of US/Knox
    const std::vector<CldrCity> seats = ReadDivisionSeats(
        R"(<ldml><subdivisions><subdivision type="jp16">Toyama</subdivision><subdivision type="jp13">Tōkyō</subdivision>
           <subdivision type="xxab">Ab</subdivision></subdivisions></ldml>)",
        R"(<ldml><subdivisions><subdivision type="jp16" draft="contributed">富山県</subdivision>
           <subdivision type="jp13">東京都</subdivision><subdivision type="xxab">(アブ)</subdivision></subdivisions></ldml>)");
    ASSERT_EQ(seats.size(), 2u);
    EXPECT_TRUE(seats[1].japanese == "富山" && seats[1].seatOnly && seats[1].country == "JP");
    EXPECT_EQ(seats[0].japanese, "東京都");  // no word of a division to take off
    EXPECT_THROW(ReadZoneCities("<a><b></a>", ja), WorldSourceError);

    std::vector<City> cities(7);
    cities[0] = {1, "Amsterdam", "NL", "PPLC", 700000, {}};
    cities[1] = {2, "Vienna", "AT", "PPLC", 1700000, {}};
    cities[2] = {3, "Kolkata", "IN", "PPLA", 4600000, {}};
    cities[3] = {4, "Petersburg", "US", "PPLA2", 32000, {}};  // two of the name, no seat: none
    cities[4] = {5, "Petersburg", "US", "PPL", 2900, {}};
    cities[5] = {6, "Toyama", "JP", "PPLA", 320000, {}};
    cities[6] = {7, "Toyama", "JP", "PPL", 5000, {}};
    std::vector<CldrCity> all = cldr;
    all.insert(all.end(), seats.begin(), seats.end());
    int filled = 0;
    const auto names = JapaneseNames({{1, "Amusuterudamu"}, {2, "ヴィーン"}}, cities, all, &filled);
    EXPECT_EQ(names, (std::map<int64_t, QString>{{1, "アムステルダム"}, {2, "ヴィーン"}, {3, "コルカタ"}, {6, "富山"}}));
    EXPECT_EQ(filled, 3);
    EXPECT_TRUE(IsJapaneseScript("ｱ") && IsJapaneseScript("東") && !IsJapaneseScript("Kōchi-shi"));
}

TEST(CruiseData, PlacesAndTheirNames) {
    std::vector<City> cities(8);
    cities[0] = {1, "Ōsaka", "JP", "PPLA", 2500000, {}};
    cities[1] = {2, "Tōkyō", "JP", "PPLC", 8000000, {}};
    cities[2] = {3, "H̱irbet", "XX", "PPL", 40000, {}};
    cities[3] = {4, "Paris", "FR", "PPLC", 2000000, {}};
    cities[4] = {5, "Tiny", "JP", "PPL", 9000, {}};
    cities[5] = {6, "Tanashichō", "JP", "PPLX", 80000, {}};  // a section of Nishitokyo
    cities[6] = {7, "Katsuta", "JP", "PPL", 150000, {}};     // merged long ago, no Japanese name
    cities[7] = {8, "Edo", "JP", "PPLH", 3000000, {}};
    const StandardMap& japan8 = StandardMaps()[7];
    const StandardMap& world3 = StandardMaps()[2];
    const std::map<int64_t, QString> known{{1, "大阪市"}, {2, "東京"}, {5, "小町"}, {6, "田無町"}, {8, "江戸"}};
    std::vector<int64_t> ids;
    for (const City* c : PlacesOf(japan8, cities, known)) ids.push_back(c->id);
    EXPECT_EQ(ids, (std::vector<int64_t>{2, 1}));
    ids.clear();
    for (const City* c : PlacesOf(world3, cities, known)) ids.push_back(c->id);
    EXPECT_EQ(ids, (std::vector<int64_t>{2, 4, 1}));  // capitals first; a world map asks for no Japanese name

    const std::map<int64_t, QString> japanese{{2, "東京"}};
    EXPECT_EQ(NamesOf(cities[1], japanese).japanese, plat::EncodeCp932("東京"));
    EXPECT_EQ(NamesOf(cities[0], japanese).european, QByteArray("Osaka"));  // Ō has no Latin-1 form but O
    EXPECT_TRUE(NamesOf(cities[0], japanese).japanese.isEmpty());  // no Japanese name: none
    EXPECT_FALSE(NamesOf(cities[0], japanese).japaneseFound);
    EXPECT_EQ(NamesOf(cities[2], japanese).european, QByteArray("Hirbet"));  // a lone combining mark
}

TEST(CruiseData, NamesStepAsideByImportance) {
    // On a map of a continent: a large country with its capital on its
    // label point and a city of more people next to the capital; a small
    // country with its capital on its label point.
    World world;
    world.countries.push_back(Square(250, 0, 30, 20, 50));
    world.countries.push_back(Square(251, 30, 40, 30.6, 40.6));
    const char* names[][2] = {{"Largeland", "大国"}, {"Smalland", "小国"}};
    for (size_t i = 0; i < 2; ++i) {
        Country& c = world.countries[i];
        c.englishName = QString::fromUtf8(names[i][0]);
        c.japaneseName = QString::fromUtf8(names[i][1]);
        c.label = LabelPoint(c.polygons);
    }
    std::vector<City> cities(3);
    cities[0] = {1, "Capitol", "LL", "PPLC", 2000000, world.countries[0].label};
    cities[1] = {2, "Bigcity", "LL", "PPL", 9000000, Sec(10.4, 40)};
    cities[2] = {3, "Smallcap", "SL", "PPLC", 100000, world.countries[1].label};
    const std::map<QString, int16_t> countryOf{{"LL", 250}, {"SL", 251}};
    const int16_t first = LevelFrom(50000000);
    const std::vector<const City*> places{&cities[0], &cities[1], &cities[2]};
    const NameLevels levels = PlanNames(world, places, {}, countryOf, true, first);
    // The large country's name shows from the first level, off its
    // capital's symbol and inside; the capital too.
    EXPECT_EQ(levels.countries[0], first);
    EXPECT_NE(levels.countryAt[0], world.countries[0].label);
    EXPECT_TRUE(Contains(world.countries[0].polygons[0], levels.countryAt[0]));
    EXPECT_EQ(levels.places[0], first);
    // The city, more people but no capital, yields: not to the left, over
    // the capital, and later than it.
    EXPECT_NE(levels.placeFix[1], 14);
    EXPECT_GT(levels.places[1], first);
    // The small country's capital comes before its name.
    EXPECT_EQ(levels.places[2], first);
    EXPECT_GT(levels.countries[1], first);
    // A map without capitals leaves the names at their label points, and a
    // place under one out.
    const NameLevels plain = PlanNames(world, places, {}, countryOf, false, first);
    EXPECT_TRUE(plain.countryAt[0] == world.countries[0].label && plain.countries[0] == first);
    EXPECT_TRUE(plain.places[0] == 0 && plain.places[1] > 0);
}

TEST(CruiseData, GridCellsOfCountries) {
    World world;
    world.countries.push_back(Square(100, 10, 10, 20, 20));
    world.countries.push_back(Square(101, 12.6, 12.6, 14.4, 14.4));   // an enclave, drawn over
    world.countries.push_back(Square(102, 30.4, 40.4, 30.45, 40.45));  // between the samples of its cell
    world.countries.push_back(Square(103, 179.2, -17.8, 180.6, -16.2)); // across 180°
    world.countries.push_back(Square(104, 50.1, 50.1, 50.3, 50.3));     // 1 of 16 samples: still the cell's
    const CountryGrid grid = CountryGrid::FromWorld(world);
    struct Case {
        double lon, lat;
        int16_t code;
    } cases[] = {
        {15.5, 15.5, 100}, {10.5, 19.5, 100}, {9.5, 15.5, 0}, {20.5, 15.5, 0},
        {12.5, 12.5, 100},  // 4 of 16 samples in the enclave
        {13.5, 13.5, 101}, {30.5, 40.5, 102}, {179.5, -16.5, 103}, {-179.5, -16.5, 103}, {50.5, 50.5, 104},
        {-160, 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.atPoint({int32_t(c.lon * 3600), int32_t(c.lat * 3600)}), c.code) << c.lon << "," << c.lat;
    const QByteArray b = grid.bytes();
    ASSERT_EQ(b.size(), 129600);
    const int cell = (89 - 15) * 360 + (15 + 180);
    EXPECT_EQ(uint8_t(b[cell * 2]), 100);
    EXPECT_EQ(uint8_t(b[cell * 2 + 1]), 0);
}

TEST(CruiseData, ListLinesTheProgramReads) {
    int maps = 0;
    for (const QString& line : plat::SplitTextLines(CruiseListText())) {
        const QStringList f = StrToTokens(line, 2);
        if (line.startsWith(QLatin1Char('\''))) {
            EXPECT_NE(f.size(), 4) << line.toStdString();
            continue;
        }
        ASSERT_EQ(f.size(), 4) << line.toStdString();
        EXPECT_EQ(f[0].size(), 6);
        EXPECT_TRUE(f[1].endsWith(".MLL") && !f[2].isEmpty() && !f[3].isEmpty());
        ++maps;
    }
    EXPECT_EQ(maps, 8);
    EXPECT_TRUE(plat::IsCp932Encodable(CruiseListText()));
}

TEST(CruiseData, ThinnedArcsKeepTheirEndsAndTheirShape) {
    const Topology topo = Topology::Parse(R"({"type":"Topology","arcs":[
        [[0,0],[1,0.001],[2,0],[3,0.5],[4,0]],
        [[10,10],[10.001,10.0005],[10.002,10],[10.001,9.9995],[10,10]]],
        "objects":{"x":{"type":"GeometryCollection","geometries":[
        {"type":"LineString","arcs":[0]},{"type":"Polygon","arcs":[[1]]}]}}})");
    const Topology thin = topo.Thinned(0.01);
    EXPECT_EQ(thin.arcs()[0], (DegRing{{0, 0}, {2, 0}, {3, 0.5}, {4, 0}}));  // the bump of 0.001° goes
    // An island smaller than the tolerance keeps four corners, so it keeps an area.
    EXPECT_EQ(thin.arcs()[1].size(), 5u);
    EXPECT_FALSE(IsDegenerate(ToSeconds(thin.arcs()[1])));
    EXPECT_EQ(topo.Thinned(0).arcs()[0].size(), 5u);
}
