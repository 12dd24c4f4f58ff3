#include "JumpTestSupport.h"

#include "RuntimeMath.h"
#include "TextFile.h"
#include "basGazetteer.h"
#include "basGlobe.h"

using namespace jumptest;

namespace {

QStringList Row(const plat::FlexGridData& g, int32_t r) {
    QStringList out;
    for (int32_t c = 0; c < kPlaceColumns; ++c) out << g.TextMatrix(r, c);
    return out;
}

plat::FlexGridData& ListOf(plat::FlexGridData& g, std::initializer_list<MapUnitPtr> units, int32_t language) {
    ClearPlaces(g);
    for (const MapUnitPtr& u : units) AddUnitPlace(g, u.get(), language);
    return g;
}

} // namespace

TEST(GazetteerPlaces, TextFiguresOfAUnitBecomeRows) {
    std::vector<Place> places = kJapanPlaces;
    places.insert(places.begin() + 2, {{"Nameless", "", kJapan, kCity}, {"Lost", "迷子", 500, kCity},   // no such district
                                       {"Thingless", "無事象", kJapan, 77}});                            // no such thing
    places.push_back(kWorldPlaces[1]);
    const MapUnitPtr unit = MakeUnit(QStringLiteral("/maps/sub/JAPAN_A7.MLL"), 167392, places);
    plat::FlexGridData g;
    EXPECT_EQ(AddUnitPlace(ListOf(g, {}, 2), unit.get(), 2), 7);   // the figures after a bad one count
    EXPECT_EQ(Column(g, kPlaceName), QStringList({"日本", "東京", "京都", "西東京", "所沢", "大阪", "サンクトペテルブルク"}));
    EXPECT_EQ(Row(g, 2), QStringList({"東京", "JAPAN_A7.MLL", "日本", "都市", "502920", "128520", "20000000", "200000",
                                      "東京", "2"}));
    // Russia's district chooses page 3.
    EXPECT_EQ(Row(g, 7).mid(6, 3), QStringList({"200000000", "100000", "ｻﾝｸﾄﾍﾟﾃﾙﾌﾞﾙｸ"}));
    EXPECT_EQ(AddUnitPlace(g, unit.get(), 1), 8);   // in European the nameless text is a place
    EXPECT_EQ(Row(g, 15).mid(kPlaceKey), QStringList({"SANKTPETERBURG,LENINGRAD", "15"}));
}

TEST(GazetteerPlaces, SortCodesOrderTheListAndMarkTheirColumn) {
    plat::FlexGridData g;
    ListOf(g, {MakeUnit("/m/B.MLL", 190000, kJapanPlaces), MakeUnit("/m/a.MLL", 190000, kWorldPlaces)}, 1);
    struct Case {
        int16_t code;
        int32_t column;
        const char* title;
        QStringList first;   // the column's first texts after sorting
    } cases[] = {
        {1, 0, "地名　▲", {"Japan", "Kyoto", "Nishitokyo"}}, {2, 0, "地名　▼", {"Tokyo", "Tokyo", "Tokorozawa"}},
        {3, 1, "ファイル名　▲", {"a.MLL", "a.MLL", "a.MLL"}}, {4, 1, "ファイル名　▼", {"B.MLL", "B.MLL", "B.MLL"}},
        {6, 2, "行政区名　▼", {"Russia", "Russia", "Japan"}}, {7, 3, "事象名　▲", {"国名", "国名", "都市"}},
        {9, 3, "事象名", {"国名", "国名", "都市"}},   // no mark, order kept
    };
    for (const Case& c : cases) {
        SortPlaces(g, c.code);
        EXPECT_EQ(g.TextMatrix(0, c.column), QString::fromUtf8(c.title));
        for (int32_t col = 0; col < 4; ++col)
            EXPECT_EQ(g.format(0, col).back, col == c.column && c.code <= 8 ? 0x80000002u : 0x8000000Fu) << c.code;
        EXPECT_EQ(Column(g, c.column).mid(0, 3), c.first) << c.code;
        EXPECT_TRUE(g.Row() == 1 && g.RowSel() == 1 && g.Col() == 0 && g.ColSel() == kPlaceColumns - 1);
    }
}

TEST(GazetteerFile, WrittenListsReadBackInBothCharacterSets) {
    std::vector<Place> places = kJapanPlaces;
    places.push_back({"São Tomé", "サントメ", kWorld, kCity, -1, 0});
    places.push_back({"# Hash\tname", "＃ハッシュ", kWorld, kCity, 5, 5});   // looks like a comment, sorts first
    const MapUnitPtr unit = MakeUnit(QStringLiteral("/m/WORLD.MLL"), 190000, places);
    for (int32_t language : {1, 2}) {
        plat::FlexGridData g, back;
        SortPlaces(ListOf(g, {unit}, language), 1);
        const QByteArray bytes = GazetteerBytes(g, language, 1);
        EXPECT_TRUE(bytes.startsWith(language == 1 ? "# Gazetteer File for KALDERO/SOLVANTE. Europian Version.\r\n"
                                                    : "# Gazetteer File for KALDERO/SOLVANTE. Japanese Version.\r\n"));
        EXPECT_TRUE(bytes.contains("\r\n# number = 8\r\n# sort = 1\r\n" +
                                   plat::EncodeCp932(QStringLiteral("# 地名 ファイル名 行政区名 事象名 経度 緯度 最小縮尺 最大縮尺 キー地名\r\n"))));
        if (language == 1) {   // Latin-1 name and key, Shift-JIS thing name; the TAB is a blank
            EXPECT_TRUE(bytes.contains("S\xE3o Tom\xE9\tWORLD.MLL\tWorld\t" + plat::EncodeCp932(QStringLiteral("都市")) +
                                       "\t-1\t0\t200000000\t100000\tS\xC3OTOM\xC9\r\n"));
            EXPECT_TRUE(bytes.contains("--------\r\n# Hash name\t"));
        }
        const GazetteerRead r = ParseGazetteer(bytes, language, back);
        EXPECT_TRUE(r.header && !r.oldScales && r.badLines == 0 && r.places == 8 && r.sortCode == 1);
        for (int32_t row = 1; row <= 8; ++row) {
            QStringList expected = Row(g, row);
            expected[kPlaceName].replace(QLatin1Char('\t'), QLatin1Char(' '));
            expected[kPlaceSerial] = QString::number(row);   // renumbered in list order
            EXPECT_EQ(Row(back, row), expected);
        }
        EXPECT_EQ(GazetteerBytes(back, language, 1), bytes);
    }
}

TEST(GazetteerFile, ReadingCountsPlacesAndSkipsWhatCannotBeRead) {
    const QString head = QStringLiteral("# Gazetteer File\r\n# number = 5\r\n# sort = 3\r\n# 地名\r\n");
    const QString tokyo = QStringLiteral("東京\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tTOKYO\r\n");
    struct Case {
        QString text;
        int32_t places, bad, sort;
        bool old;
        QString scaleS;   // of the first place
    } cases[] = {
        {head + tokyo + tokyo, 2, 0, 3, false, "1000000"},
        {head + "A\tA.MLL\tx\ty\t1\t2\t12\t41\tA\r\nB\tA.MLL\tx\ty\t1\t2\t42\t41\tB\r\n", 2, 0, 3, true,
         plat::FormatShortest(ScaleOfLevel10(12))},                           // old steps; 42 is none: scale 0
        {"# number = 1\r\n# sort = 1\r\n" + tokyo, 0, 0, 0, false, ""},       // no title line: refused
        {"# gazetteer FILE\r\n\r\n# NUMBER = 1\r\n# Sort = 9\r\n\r\n" + tokyo + tokyo, 1, 0, 0, false, "1000000"},
        {"# Gazetteer File\r\n# number = 2000000000\r\n# sort = 1\r\n" + tokyo, 1, 0, 1, false, "1000000"},
        {"# Gazetteer File\r\n# number = -5\r\n# sort = 1\r\n" + tokyo, 0, 0, 1, false, ""},
        {head + "X\tA.MLL\tx\ty\teast\t2\t1000000\t100000\tX\r\n" + tokyo, 1, 1, 3, false, "1000000"},
        {head + "X\tA.MLL\tx\ty\t1\t2.5\t1000000\t100000\tX\r\n", 0, 1, 3, false, ""},
        {head + "X\tA.MLL\tx\ty\t99999999999\t2\t1000000\t100000\tX\r\n", 0, 1, 3, false, ""},
        {head + "X\tA.MLL\tx\ty\t1\t2\t1000000\tinf\tX\r\n", 0, 1, 3, false, ""},
        {head + "X\tA.MLL\tx\ty\t1\t2\t1000000\t50\tX\r\n", 1, 0, 3, false, "1000000"},   // kept, 50 as 0
        {head + "X\tA.MLL\tx\ty\t1\t2\t1000000\t100000\r\n", 0, 1, 3, false, ""},  // 8 fields
        {head + "\tA.MLL\tx\ty\t1\t2\t1000000\t100000\tX\r\n", 0, 1, 3, false, ""}, // no name
        {head + "X\t../A.MLL\tx\ty\t1\t2\t1000000\t100000\tX\r\n", 0, 1, 3, false, ""},
    };
    for (const Case& c : cases) {
        plat::FlexGridData g;
        const GazetteerRead r = ParseGazetteer(plat::EncodeCp932(c.text), 2, g);
        EXPECT_TRUE(r.header == (c.sort != 0 || c.places > 0) && r.places == c.places && r.badLines == c.bad &&
                    r.sortCode == c.sort && r.oldScales == c.old)
            << c.text.toStdString() << r.places << " places, sort " << r.sortCode << ", bad " << r.badLines;
        EXPECT_EQ(g.Rows(), c.places + 1);
        EXPECT_EQ(g.TextMatrix(1, kPlaceScaleS), c.scaleS);
    }
    // By column in European: a Latin-1 name, a Shift-JIS thing, a district that is no Shift-JIS.
    const QByteArray e = "# Gazetteer File\r\n# number = 2\r\n# sort = 1\r\nCaf\xE9\x82\xA0\tA.MLL\tWorld\t" +
                         plat::EncodeCp932(QStringLiteral("都市")) + "\t1\t2\t1000000\t100000\tCAF\r\n" +
                         "X\tA.MLL\t\x82\tT\t1\t2\t1000000\t100000\tX\r\n";
    plat::FlexGridData g;
    const GazetteerRead r = ParseGazetteer(e, 1, g);
    EXPECT_TRUE(r.places == 1 && r.badLines == 1 && r.firstBadLine == 5);
    EXPECT_EQ(Row(g, 1).mid(0, 4), QStringList({QString::fromLatin1("Caf\xE9\x82\xA0"), "A.MLL", "World", "都市"}));
}

// One odd value never costs the places around it: a first scale that is no
// number decides nothing, out-of-range scales keep their place with the value
// the format gives, and a damaged count is reported.
TEST(GazetteerFile, OneOddValueNeverEmptiesTheGazetteer) {
    const QString head = QStringLiteral("# Gazetteer File\r\n# number = 9\r\n# sort = 1\r\n");
    const auto place = [](const char* name, const char* s, const char* l) {
        return QStringLiteral("%1\tA.MLL\tx\ty\t1\t2\t%2\t%3\t%1\r\n").arg(QLatin1String(name), QLatin1String(s), QLatin1String(l));
    };
    const QString step12 = plat::FormatShortest(ScaleOfLevel10(12)), step41 = plat::FormatShortest(ScaleOfLevel10(41));
    struct Case {
        const char* what;
        QString text;
        bool old;
        QStringList scales;   // smallest and largest scale of every place
        int32_t bad, badCountLine;
    } cases[] = {
        {"a first scale that is no number, then a new file", head + place("Big", "big", "100") + place("A", "1000000", "100000") +
             place("B", "5000000", "100"), false, {"1000000", "100000", "5000000", "100"}, 1, 0},
        {"a first scale that is no number, then an old file", head + place("Big", "big", "3") + place("A", "12", "41") +
             place("B", "12", "12"), true, {step12, step41, step12, step12}, 1, 0},
        {"old steps outside 1..41 give 0", head + place("A", "12", "41") + place("B", "42", "0") + place("C", "99", "12.5"),
         true, {step12, step41, "0", "0", "0", "0"}, 0, 0},
        {"new scales below 100 are no scales: 0", head + place("A", "1000000", "100000") + place("B", "12", "100"), false,
         {"1000000", "100000", "0", "100"}, 0, 0},
        {"a first scale of 0 decides nothing, then an old file", head + place("Z", "0", "0") + place("A", "12", "41"), true,
         {"0", "0", step12, step41}, 0, 0},
        {"a count that is no number", QStringLiteral("# Gazetteer File\r\n# number = many\r\n# sort = 1\r\n") +
             place("A", "1000000", "100000"), false, {}, 0, 2},
    };
    for (const Case& c : cases) {
        plat::FlexGridData g;
        const GazetteerRead r = ParseGazetteer(plat::EncodeCp932(c.text), 2, g);
        QStringList scales;
        for (int32_t row = 1; row <= PlaceCount(g); ++row)
            scales << g.TextMatrix(row, kPlaceScaleS) << g.TextMatrix(row, kPlaceScaleL);
        EXPECT_EQ(scales, c.scales) << c.what;
        EXPECT_EQ(r.oldScales, c.old) << c.what;
        EXPECT_EQ(r.badLines, c.bad) << c.what;
        EXPECT_EQ(r.badCountLine, c.badCountLine) << c.what;
    }
}

// Whatever scales a list holds, its file reads back in the new format: a
// scale below 100 (no scale) is written as 0, and 0 never marks an old file.
TEST(GazetteerFile, ListsWithScalesBelow100ReadBackTheSame) {
    plat::FlexGridData g;
    ClearPlaces(g);
    g.setRows(3);
    const QStringList rows[] = {{"A", "A.MLL", "x", "y", "1", "2", "5", "0", "A", "1"},
                                {"B", "A.MLL", "x", "y", "1", "2", "1000000", "100000", "B", "2"}};
    for (int32_t r = 1; r <= 2; ++r)
        for (int32_t c = 0; c < kPlaceColumns; ++c) g.setTextMatrix(r, c, rows[r - 1][c]);
    g.setFixedRows(1);
    plat::FlexGridData back;
    const QByteArray bytes = GazetteerBytes(g, 2, 1);
    const GazetteerRead r = ParseGazetteer(bytes, 2, back);
    EXPECT_TRUE(r.places == 2 && !r.oldScales && r.badLines == 0);
    EXPECT_EQ(Row(back, 1).mid(kPlaceScaleS, 2), QStringList({"0", "0"}));
    EXPECT_EQ(Row(back, 2), rows[1]);
    EXPECT_EQ(GazetteerBytes(back, 2, 1), bytes);
}

// The file is read a line at a time, as the bytes are parsed.
TEST(GazetteerFile, AFileReadsAsItsBytes) {
    testsupport::TempDir dir;
    const QString path = dir.file(QStringLiteral("GAZET_KALD_E.TXT"));
    QByteArray bytes = "# Gazetteer File\r\n# number = 3\r\n# sort = 2\r\n";
    bytes += QByteArray(200000, '\n');   // blank lines take no memory of their own
    bytes += "Caf\xE9\tA.MLL\tWorld\tT\t1\t2\t1000000\t100000\tCAF\r\nB\tA.MLL\tWorld\tT\t1\t2\tbig\t1\tB";
    testsupport::WriteBytes(path, bytes);
    plat::FlexGridData fromFile, fromBytes;
    const GazetteerRead a = ReadGazetteerFile(path, 1, fromFile);
    const GazetteerRead b = ParseGazetteer(bytes, 1, fromBytes);
    EXPECT_TRUE(a.places == 1 && a.badLines == 1 && a.firstBadLine == 200005 && a.sortCode == 2);
    EXPECT_TRUE(b.places == a.places && b.badLines == a.badLines && b.firstBadLine == a.firstBadLine);
    EXPECT_EQ(Row(fromFile, 1), Row(fromBytes, 1));
    EXPECT_EQ(Row(fromFile, 1)[0], QString::fromLatin1("Caf\xE9"));
}
