#include "JumpTestSupport.h"

#include "RuntimeMath.h"
#include "TextFile.h"
#include "basGazetteer.h"
#include "basGlobe.h"

using namespace jumptest;

namespace {

const char* kHeaderE = "# Gazetteer File for KALDERO/SOLVANTE. Europian Version.\r\n";
const char* kHeaderJ = "# Gazetteer File for KALDERO/SOLVANTE. Japanese Version.\r\n";

// A file of header lines and place lines (UTF-8 here; Shift-JIS or Latin-1
// by the caller).
QString File(const char* first, int number, int sort, std::initializer_list<const char*> places) {
    QString s = QString::fromUtf8(first) + QStringLiteral("# number = %1\r\n# sort = %2\r\n").arg(number).arg(sort) +
                QStringLiteral("# 地名 ファイル名 行政区名 事象名 経度 緯度 最小縮尺 最大縮尺 キー地名\r\n# ---\r\n");
    for (const char* p : places) s += QString::fromUtf8(p) + QStringLiteral("\r\n");
    return s;
}

GazetteerRead Parse(const QByteArray& bytes, int32_t language, plat::FlexGridData& g) {
    return ParseGazetteer(bytes, language, g);
}

QStringList Row(const plat::FlexGridData& g, int32_t r) {
    QStringList out;
    for (int32_t c = 0; c < kPlaceColumns; ++c) out << g.TextMatrix(r, c);
    return out;
}

} // namespace

TEST(GazetteerPlaces, TextFiguresOfAUnitBecomeRows) {
    std::vector<Place> places = JapanPlaces();
    places.insert(places.begin() + 2, {"Nameless", "", kJapan, kCity, 1, 1});   // no Japanese name
    places.insert(places.begin() + 3, {"Lost", "迷子", 500, kCity, 2, 2});        // no such district
    places.insert(places.begin() + 4, {"Thingless", "無事象", kJapan, 77, 3, 3}); // no such thing
    places.push_back({"Sankt-Peterburg (Leningrad)", "サンクトペテルブルク", kRussia, kCity, 109080, 215640});
    const MapUnitPtr unit = MakeUnit(QStringLiteral("/maps/sub/JAPAN_A7.MLL"), 167392, places);
    unit->Map().MapCollection().push_back(std::make_shared<clsMapSymbol>());

    plat::FlexGridData g;
    ClearPlaces(g);
    EXPECT_EQ(AddUnitPlace(g, unit.get(), 2), 7);
    EXPECT_EQ(Column(g, kPlaceName), QStringList({"日本", "東京", "京都", "西東京", "所沢", "大阪", "サンクトペテルブルク"}));
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(Row(g, 2), QStringList({"東京", "JAPAN_A7.MLL", "日本", "都市", "502920", "128520", "20000000", "200000",
                                      "東京", "2"}));
    // Russia's district chooses page 3 of the city thing.
    EXPECT_EQ(Row(g, 7).mid(2, 7), QStringList({"ロシア", "都市", "109080", "215640", "200000000", "100000",
                                                "ｻﾝｸﾄﾍﾟﾃﾙﾌﾞﾙｸ"}));
    // A second unit appends; in European the nameless text is a place.
    EXPECT_EQ(AddUnitPlace(g, unit.get(), 1), 8);
    EXPECT_EQ(PlaceCount(g), 15);
    EXPECT_EQ(Row(g, 15).mid(kPlaceName, 1) + Row(g, 15).mid(kPlaceAdmin, 1) + Row(g, 15).mid(kPlaceKey),
              QStringList({"Sankt-Peterburg (Leningrad)", "Russia", "SANKTPETERBURG,LENINGRAD", "15"}));
    EXPECT_EQ(AddUnitPlace(g, nullptr, 1), 0);
}

TEST(GazetteerPlaces, SortCodesOrderTheListAndMarkTheirColumn) {
    const MapUnitPtr a = MakeUnit(QStringLiteral("/m/B.MLL"), 190000, JapanPlaces());
    const MapUnitPtr b = MakeUnit(QStringLiteral("/m/a.MLL"), 190000, WorldPlaces());
    plat::FlexGridData g;
    ClearPlaces(g);
    AddUnitPlace(g, a.get(), 1);
    AddUnitPlace(g, b.get(), 1);
    struct Case {
        int16_t code;
        int32_t column;
        QStringList titles;
        QStringList first;   // the column's first texts after sorting
    } cases[] = {
        {1, 0, {"地名　▲", "ファイル名", "行政区名", "事象名"}, {"Japan", "Kyoto", "Nishitokyo"}},
        {2, 0, {"地名　▼", "ファイル名", "行政区名", "事象名"}, {"Tokyo", "Tokyo", "Tokorozawa"}},
        {3, 1, {"地名", "ファイル名　▲", "行政区名", "事象名"}, {"a.MLL", "a.MLL", "a.MLL"}},   // case ignored
        {4, 1, {"地名", "ファイル名　▼", "行政区名", "事象名"}, {"B.MLL", "B.MLL", "B.MLL"}},
        {6, 2, {"地名", "ファイル名", "行政区名　▼", "事象名"}, {"Russia", "Russia", "Japan"}},
        {7, 3, {"地名", "ファイル名", "行政区名", "事象名　▲"}, {"国名", "国名", "都市"}},
        {9, 3, {"地名", "ファイル名", "行政区名", "事象名"}, {"国名", "国名", "都市"}},   // no mark, order kept
    };
    for (const Case& c : cases) {
        SortPlaces(g, c.code);
        QStringList titles;
        for (int32_t col = 0; col < 4; ++col) {
            titles << g.TextMatrix(0, col);
            EXPECT_EQ(g.format(0, col).back, col == c.column && c.code <= 8 ? 0x80000002u : 0x8000000Fu) << c.code;
        }
        EXPECT_EQ(titles, c.titles) << c.code;
        EXPECT_EQ(Column(g, c.column).mid(0, 3), c.first) << c.code;
        EXPECT_TRUE(g.Row() == 1 && g.RowSel() == 1 && g.Col() == 0 && g.ColSel() == kPlaceColumns - 1);
    }
    // Equal names keep their order: the serials of the two "Tokyo" rows rise.
    SortPlaces(g, 1);
    const QStringList names = Column(g, kPlaceName);
    const qsizetype t = names.indexOf(QStringLiteral("Tokyo"));
    EXPECT_LT(g.TextMatrix(int32_t(t) + 1, kPlaceSerial).toInt(), g.TextMatrix(int32_t(t) + 2, kPlaceSerial).toInt());
}

TEST(GazetteerFile, WrittenListsReadBackInBothCharacterSets) {
    std::vector<Place> places = JapanPlaces();
    places.push_back({"São Tomé", "サントメ", kWorld, kCity, -1, 0});
    places.push_back({"# Hash\tname", "＃ハッシュ", kWorld, kCity, 5, 5});   // a name that looks like a comment
    const MapUnitPtr unit = MakeUnit(QStringLiteral("/m/WORLD.MLL"), 190000, places);
    for (int32_t language : {1, 2}) {
        SCOPED_TRACE(language);
        plat::FlexGridData g;
        ClearPlaces(g);
        AddUnitPlace(g, unit.get(), language);
        SortPlaces(g, 1);   // "# Hash" first
        const QByteArray bytes = GazetteerBytes(g, language, 1);
        const QList<QByteArray> lines = bytes.split('\n');
        EXPECT_EQ(lines[0], QByteArray(language == 1 ? kHeaderE : kHeaderJ).chopped(1));
        EXPECT_EQ(lines[1], "# number = 8\r");
        EXPECT_EQ(lines[2], "# sort = 1\r");
        EXPECT_EQ(plat::DecodeCp932(lines[3]), QStringLiteral("# 地名 ファイル名 行政区名 事象名 経度 緯度 最小縮尺 最大縮尺 キー地名\r"));
        if (language == 1) {
            // Latin-1 name and key, Shift-JIS thing name.
            EXPECT_TRUE(bytes.contains("S\xE3o Tom\xE9\tWORLD.MLL\tWorld\t" + plat::EncodeCp932(QStringLiteral("都市")) +
                                       "\t-1\t0\t200000000\t100000\tS\xC3OTOM\xC9\r\n"));
            EXPECT_TRUE(bytes.contains("--------\r\n# Hash name\t"));   // the TAB became a blank
        }
        plat::FlexGridData back;
        const GazetteerRead r = Parse(bytes, language, back);
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

TEST(GazetteerFile, HeadersOldScalesAndDeclaredCounts) {
    const QString oldStep12 = plat::FormatShortest(ScaleOfLevel10(12));
    struct Case {
        const char* name;
        QString text;
        bool header;
        int32_t places;
        int16_t sort;
        bool old;
        QString firstScaleS;
    } cases[] = {
        {"new", File(kHeaderJ, 2, 3, {"東京\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tTOKYO",
                                      "大阪\tA.MLL\t日本\t都市\t3\t4\t20000000\t100000\tOSAKA"}), true, 2, 3, false, "1000000"},
        {"old steps", File(kHeaderJ, 2, 1, {"東京\tA.MLL\t日本\t都市\t1\t2\t12\t41\tTOKYO",
                                            "大阪\tA.MLL\t日本\t都市\t3\t4\t1\t30\tOSAKA"}), true, 2, 1, true, oldStep12},
        {"no title line", QStringLiteral("# number = 1\r\n# sort = 1\r\nA\tA.MLL\tx\ty\t1\t2\t1000000\t100000\tA\r\n"),
         false, 0, 0, false, ""},
        {"sort 9", File(kHeaderJ, 1, 9, {"東京\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tTOKYO"}), true, 1, 0, false, "1000000"},
        {"fewer than declared", File(kHeaderJ, 5, 1, {"東京\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tTOKYO"}), true, 1, 1, false, "1000000"},
        {"beyond the declared", File(kHeaderJ, 1, 1, {"東京\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tTOKYO",
                                                      "大阪\tA.MLL\t日本\t都市\t3\t4\t20000000\t100000\tOSAKA"}), true, 1, 1, false, "1000000"},
        {"huge declared", File(kHeaderJ, 2000000000, 1, {"東京\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tTOKYO"}), true, 1, 1, false, "1000000"},
        {"negative declared", File(kHeaderJ, -5, 1, {"東京\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tTOKYO"}), true, 0, 1, false, ""},
        {"lower-case header, blank lines", QStringLiteral("# GAZETTEER FILE x\r\n\r\n# NUMBER = 1\r\n# Sort = 4\r\n\r\n"
                                                           "A\tA.MLL\tx\ty\t1\t2\t1000000\t100000\tA\r\n"), true, 1, 4, false, "1000000"},
    };
    for (const Case& c : cases) {
        plat::FlexGridData g;
        const GazetteerRead r = Parse(plat::EncodeCp932(c.text), 2, g);
        EXPECT_TRUE(r.header == c.header && r.places == c.places && r.sortCode == c.sort && r.oldScales == c.old &&
                    r.badLines == 0)
            << c.name << ": " << r.places << " places, sort " << r.sortCode << ", bad " << r.badLines;
        EXPECT_EQ(g.Rows(), c.places + 1) << c.name;
        EXPECT_EQ(g.TextMatrix(1, kPlaceScaleS), c.firstScaleS) << c.name;
    }
    EXPECT_LE(kMaxGazetteerPlaces, 1000000);
}

TEST(GazetteerFile, LinesThatCannotBeReadAreSkippedAndCounted) {
    const char* good = "東京\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tTOKYO";
    const char* bad[] = {
        "X\tA.MLL\t日本\t都市\teast\t2\t1000000\t100000\tX",        // X no number
        "X\tA.MLL\t日本\t都市\t1\t2.5\t1000000\t100000\tX",         // Y no integer
        "X\tA.MLL\t日本\t都市\t1\t2\tbig\t100000\tX",               // scale no number
        "X\tA.MLL\t日本\t都市\t1\t2\t1000000\t50\tX",               // below any denominator
        "X\tA.MLL\t日本\t都市\t1\t2\tinf\t100000\tX",
        "X\tA.MLL\t日本\t都市\t99999999999\t2\t1000000\t100000\tX", // beyond 32 bits
        "X\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000",              // 8 fields
        "\tA.MLL\t日本\t都市\t1\t2\t1000000\t100000\tX",            // no name
        "X\t../A.MLL\t日本\t都市\t1\t2\t1000000\t100000\tX",        // a folder in the file name
        "X\t\t日本\t都市\t1\t2\t1000000\t100000\tX",
    };
    QString text = File(kHeaderJ, 100, 1, {good});
    for (const char* b : bad) text += QString::fromUtf8(b) + QStringLiteral("\r\n");
    text += QString::fromUtf8(good) + QStringLiteral("\r\n");
    QByteArray bytes = plat::EncodeCp932(text);
    bytes += "\x82\xA0\x81\tA.MLL\tx\ty\t1\t2\t1000000\t100000\tK\r\n";   // not Shift-JIS
    plat::FlexGridData g;
    const GazetteerRead r = Parse(bytes, 2, g);
    EXPECT_EQ(r.places, 2);
    EXPECT_EQ(r.badLines, int32_t(std::size(bad)) + 1);
    EXPECT_EQ(r.firstBadLine, 7);
    EXPECT_EQ(Column(g, kPlaceSerial), QStringList({"1", "2"}));
    // An old file with a step outside 1..41.
    plat::FlexGridData old;
    const GazetteerRead o = Parse(plat::EncodeCp932(File(kHeaderJ, 2, 1, {"A\tA.MLL\tx\ty\t1\t2\t12\t41\tA",
                                                                          "B\tA.MLL\tx\ty\t1\t2\t42\t41\tB"})), 2, old);
    EXPECT_TRUE(o.oldScales && o.places == 1 && o.badLines == 1);
}

TEST(GazetteerFile, EuropeanFieldsAreDecodedByColumn) {
    // A Latin-1 name (0x82 0xA0 is also Shift-JIS "あ") and a Shift-JIS thing name.
    const QByteArray line = "Caf\xE9\x82\xA0\tA.MLL\tWorld\t" + plat::EncodeCp932(QStringLiteral("都市")) +
                            "\t1\t2\t1000000\t100000\tCAF\xC9\x82\xA0\r\n";
    const QByteArray bytes = plat::EncodeCp932(File(kHeaderE, 2, 1, {})) + line + "X\tA.MLL\t\x82\tT\t1\t2\t1000000\t100000\tX\r\n";
    plat::FlexGridData g;
    const GazetteerRead r = Parse(bytes, 1, g);
    EXPECT_TRUE(r.places == 1 && r.badLines == 1);   // the second line's district is no Shift-JIS
    EXPECT_EQ(g.TextMatrix(1, kPlaceName), QString::fromLatin1("Caf\xE9\x82\xA0"));
    EXPECT_EQ(g.TextMatrix(1, kPlaceThing), "都市");
    EXPECT_EQ(g.TextMatrix(1, kPlaceKey), QString::fromLatin1("CAF\xC9\x82\xA0"));
}
