#include "frmMapListTestSupport.h"

#include "MapTextFile.h"
#include "TextFile.h"
#include "basHMapCoord.h"

using namespace listtest;

namespace {

// The current map mode for coordinate texts, as the list sets it.
struct TextFile : ::testing::Test {
    DisplaySettings settings;
    std::vector<QString> asked;
    bool answer = true;

    explicit TextFile() { SetMapModeSource([] { return 1; }); }
    ~TextFile() override { SetMapModeSource({}); }
    static void mode(int32_t m) { SetMapModeSource([m] { return m; }); }

    // The file text of the unit's figures, as the writer makes it.
    static QString Written(const clsMapUnit& unit) {
        QString text = maptext::HeaderLine(unit.Map().MapMode()) + "\r\n";
        for (const MapFigurePtr& f : unit.Map()) text += maptext::FigureToStrAll(f.get(), &unit, true) + "\r\n";
        return text;
    }
    std::shared_ptr<clsMap> Read(const QString& text, clsMapUnit& unit) {
        auto map = std::make_shared<clsMap>();
        map->setMapMode(unit.Map().MapMode());
        map->setEiUndo(false);
        result = maptext::ReadFigureLines(plat::SplitTextLines(text), unit, *map, [this](const QString& m) {
            asked.push_back(m);
            return answer;
        });
        return map;
    }
    maptext::ReadResult result;
    static std::vector<std::pair<int32_t, int32_t>> Points(const clsMapFigure& f) {
        std::vector<std::pair<int32_t, int32_t>> out;
        const auto p = f.Poly();
        for (int32_t i = 1; i <= p->Count(); ++i) out.emplace_back(p->x(i), p->y(i));
        return out;
    }
    static void ExpectSame(const clsMapFigure& a, const clsMapFigure& b) {
        ASSERT_EQ(a.FigCode(), b.FigCode());
        EXPECT_EQ(a.Thing(), b.Thing());
        EXPECT_EQ(a.Admin(), b.Admin());
        EXPECT_EQ(Points(a), Points(b));
        if (a.FigCode() == 1) {
            EXPECT_EQ(" " + static_cast<const clsMapRem&>(a).Comment(), static_cast<const clsMapRem&>(b).Comment());
        }
        if (a.FigCode() == 5) {
            const auto& x = static_cast<const clsMapText&>(a);
            const auto& y = static_cast<const clsMapText&>(b);
            EXPECT_EQ(x.TextUnicode(1), y.TextUnicode(1));
            EXPECT_EQ(x.TextUnicode(2), y.TextUnicode(2));
            EXPECT_EQ(x.TextFix(), y.TextFix());
            EXPECT_EQ(x.Angle(), y.Angle());
        }
    }
};

MapUnitPtr EveryKind(int32_t mode) {
    auto text = Text("Kyoto", "京都", 488000, 126000);
    text->setTextFix(24);
    text->setAngle(-35);
    return Unit("/maps/KINDS", {Rem("# 地図名：テスト"), Lined<clsMapPolyline>({{1, 2}, {-3000, 4500}, {5, -6}}),
                                Lined<clsMapPolygon>({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, 1, 1), Symbol(-648000, -324000),
                                text},
                mode);
}

} // namespace

TEST_F(TextFile, FieldsSplitAsSpreadsheetsQuoteThem) {
    const struct {
        const char* record;
        QStringList fields;
        bool open;
    } cases[] = {
        {"a,b,,c", {"a", "b", "", "c"}, false},
        {"", {""}, false},
        {"\"a,b\",c", {"a,b", "c"}, false},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}, false},
        {"\"\",\"\"", {"", ""}, false},
        {"\"\"\"\"", {"\""}, false},
        // Other writers: an inner quote that neither doubles nor ends the field
        // is a character, as is a quote inside an unquoted field.
        {"\" 5\" disk\",x", {" 5\" disk", "x"}, false},
        {"a\"b,c", {"a\"b", "c"}, false},
        {"\"ab\"cd,e", {"ab\"cd,e"}, true},
        {"\"open,x", {"open,x"}, true},
    };
    for (const auto& c : cases) {
        QStringList fields;
        EXPECT_EQ(maptext::SplitRecord(QString::fromUtf8(c.record), fields), c.open) << c.record;
        EXPECT_EQ(fields, c.fields) << c.record;
    }
}

TEST_F(TextFile, EveryKindReadsBackInBothModes) {
    for (int32_t m : {1, 2}) {
        mode(m);
        const MapUnitPtr unit = EveryKind(m);
        const QString text = Written(*unit);
        EXPECT_TRUE(text.startsWith(m == 1 ? "(図形種名),(事象名),(行政区名),(欧州語地名/コメント),(日本語地名),(点数/固定位置),(角度),(経度),(緯度)\r\n"
                                           : "(図形種名),(事象名),(行政区名),(欧州語地名/コメント),(日本語地名),(点数/固定位置),(角度),(Ｘ),(Ｙ)\r\n"));
        const auto back = Read(text, *unit);
        EXPECT_TRUE(asked.empty());
        ASSERT_EQ(back->Count(), unit->Map().Count()) << m;
        for (int32_t i = 1; i <= back->Count(); ++i) ExpectSame(*unit->Map().Item(i), *back->Item(i));
    }
}

TEST_F(TextFile, LinesOfEachKindAsWritten) {
    const MapUnitPtr unit = EveryKind(1);
    const QString japan = unit->Admins().Item(1)->AdminName();
    const auto line = [&](int32_t i) { return maptext::FigureToStrAll(unit->Map().Item(i).get(), unit.get(), true); };
    EXPECT_EQ(line(1), "注釈,,,\" # 地図名：テスト\",,,,");
    const QStringList polyline = line(2).split("\r\n");
    ASSERT_EQ(polyline.size(), 3);
    EXPECT_EQ(polyline[0], "連続線,海岸線," + japan + ",,,3,," + LonToStr(1) + "," + LatToStr(2));
    EXPECT_EQ(polyline[1], ",,,,,,," + LonToStr(-3000) + "," + LatToStr(4500));
    EXPECT_EQ(line(4), "点記号,都市," + japan + ",,,1,," + LonToStr(-648000) + "," + LatToStr(-324000));
    EXPECT_EQ(line(5), "文字列,地名," + japan + ",\"Kyoto\",\"京都\",24,-35," + LonToStr(488000) + "," + LatToStr(126000));
    // Names missing from the catalogues, and no figure at all.
    auto lost = Symbol(0, 0);
    lost->setThing(77);
    lost->setAdmin(66);
    EXPECT_TRUE(maptext::FigureToStrAll(lost.get(), unit.get(), false).startsWith("点記号, , ,,,,,"));
    EXPECT_EQ(maptext::FigureToStrAll(nullptr, unit.get(), true), " , , , , , , ");
    mode(2);
    const MapUnitPtr xy = Unit("/maps/XY", {Symbol(1234567, -500)}, 2);
    EXPECT_EQ(maptext::FigureToStrAll(xy->Map().Item(1).get(), xy.get(), true), "点記号,都市," + japan + ",,,1,,  1234.567km,    -0.500km");
}

TEST_F(TextFile, TextsWithQuotesCommasAndLineBreaksRoundTrip) {
    const QString texts[] = {"a,b", "say \"hi\"", "\"", ",", "\"\"", "end\"", "\"start", "two\r\nlines", "x\",\"y"};
    auto unit = Unit("/maps/Q");
    auto admin = std::make_shared<clsAdmin>();
    admin->setAdminCode(2);
    admin->setEuropianName("Comma, \"Quoted\"");
    admin->setJapaneseName("カンマ,区");
    unit->Admins().Add(admin);
    for (const QString& t : texts) {
        unit->Map().Add(Rem(t));
        auto f = Text(t, t + "地名");
        f->setAdmin(2);
        unit->Map().Add(f);
    }
    const auto back = Read(Written(*unit), *unit);
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(back->Count(), unit->Map().Count());
    for (int32_t i = 1; i <= back->Count(); ++i) ExpectSame(*unit->Map().Item(i), *back->Item(i));
}

TEST_F(TextFile, KeywordsAreExactAndFurtherPointsNeedAnOpenLine) {
    auto unit = Unit("/maps/K");
    const QString p = LonToStr(10) + "," + LatToStr(20);
    const QString q = ",,,,,,," + LonToStr(30) + "," + LatToStr(40);
    const auto back = Read(q + "\r\n"                                   // before any line: ignored
                               "POLYLINE,海岸線,日本,,,2,," + p + "\r\n" + q + "\r\n"
                               "polyline,海岸線,日本,,,2,," + p + "\r\n" // no kind: a further point
                               "連続線,海岸線,JAPAN,,,2,," + p + "\r\n" + q + "\r\n"
                               "REM,,,\" note\",,,,\r\n" + q + "\r\n"    // remarks take no points
                               "(図形種名),(事象名)\r\n" + q + "\r\n",   // nor does a header
                           *unit);
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(back->Count(), 3);
    EXPECT_EQ(Points(*back->Item(1)), (std::vector<std::pair<int32_t, int32_t>>{{10, 20}, {30, 40}, {10, 20}}));
    EXPECT_EQ(Points(*back->Item(2)), (std::vector<std::pair<int32_t, int32_t>>{{10, 20}, {30, 40}}));
    EXPECT_EQ(back->Item(2)->Admin(), 1);
    EXPECT_EQ(static_cast<const clsMapRem&>(*back->Item(3)).Comment(), " note");
}

TEST_F(TextFile, CoordinateOrderFollowsTheFirstLatitudeAndDefaultsToNormal) {
    auto unit = Unit("/maps/O");
    // Latitude first on the first line that tells: every line swaps.
    const auto swapped = Read("点記号,都市,,,,1,," + LatToStr(20) + "," + LonToStr(10) + "\r\n"
                              "点記号,都市,,,,1,,35,135\r\n",
                              *unit);
    ASSERT_EQ(swapped->Count(), 2);
    EXPECT_EQ(Points(*swapped->Item(1)).front(), std::make_pair(10, 20));
    EXPECT_EQ(Points(*swapped->Item(2)).front(), std::make_pair(135 * 3600, 35 * 3600));
    // An X/Y file without its header never tells: read in the writer's order.
    mode(2);
    auto xy = Unit("/maps/XY", {}, 2);
    const auto normal = Read("点記号,都市,,,,1,,12.5km,-3km\r\n", *xy);
    ASSERT_EQ(normal->Count(), 1);
    EXPECT_EQ(Points(*normal->Item(1)).front(), std::make_pair(12500, -3000));
}

TEST_F(TextFile, BadLinesAreToldAndLeftOut) {
    auto unit = Unit("/maps/B");
    const QString p = LonToStr(10) + "," + LatToStr(20);
    const auto back = Read("点記号,都市,,,,1,,xyz,abc\r\n"          // no coordinate
                           "多辺形,海岸線,,,,4,," + p + "\r\n"
                           ",,,,,,,,\r\n"                           // a blank line: nothing
                           ",,,,,,," + LonToStr(12) + ",\r\n"        // half a point
                           ",,,,,,," + LonToStr(11) + "," + LatToStr(20) + "\r\n"
                           "点記号,,,,,1,," + p + "\r\n"              // no thing
                           "文字列,地名,,\"A\",\"B\",abc,0," + p + "\r\n"  // no anchor
                           "文字列,地名,,\"A\",\"B\",25,0," + p + "\r\n"   // anchor out of range
                           "点記号,都市,,,,1,,E10,N135\r\n"                 // beyond the pole
                           "点記号,都市,,,,1,," + p + "\r\n",
                           *unit);
    ASSERT_EQ(asked.size(), 7u);
    EXPECT_TRUE(asked[0].startsWith("地図図形の追加に失敗しました.\r\n点記号,都市,,,,1,,xyz,abc\r\n座標に変換できません. [xyz, abc]"));
    EXPECT_TRUE(asked[0].endsWith("\r\n継続しますか？"));
    EXPECT_TRUE(asked[1].contains("座標に変換できません. [" + LonToStr(12) + ", ]"));
    // The polygon of two points is no polygon: told with its first line.
    EXPECT_TRUE(asked[2].contains("多辺形,海岸線,,,,4,,"));
    EXPECT_TRUE(asked[3].contains("事象番号に変換できません. []\r\n事象ファイルにこの事象を定義してください."));
    EXPECT_TRUE(asked[4].contains("固定位置または角度に変換できません. [abc, 0]"));
    EXPECT_TRUE(asked[5].contains("固定位置または角度に変換できません. [25, 0]"));
    EXPECT_TRUE(asked[6].contains("座標に変換できません. [E10, N135]"));
    ASSERT_EQ(back->Count(), 1);
    EXPECT_EQ(Points(*back->Item(1)).front(), std::make_pair(10, 20));
    for (const MapFigurePtr& f : *back)
        for (const auto& [x, y] : Points(*f)) EXPECT_NE(x, kInvalidCoordinate);

    // No stops the reading; the figures before stay.
    asked.clear();
    answer = false;
    const auto stopped = Read("点記号,都市,,,,1,," + p + "\r\n点記号,都市,,,,1,,x,y\r\n点記号,都市,,,,1,," + p + "\r\n", *unit);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(stopped->Count(), 1);
}

// Lines that give neither a figure nor a point are counted for one report,
// not asked about; the points of a refused polyline went with its question.
TEST_F(TextFile, LinesThatGiveNoFigureAreCountedNotAsked) {
    auto unit = Unit("/maps/N");
    const QString p = LonToStr(10) + "," + LatToStr(20);
    const QString q = ",,,,,,," + LonToStr(30) + "," + LatToStr(40);
    Read(maptext::HeaderLine(1) + "\r\n"
         "\r\n"
         "junk\r\n" +                                              // line 3: the first bad line
         q + "\r\n"                                                // a point before any figure
         "連続線,,,,,2,," + p + "\r\n" + q + "\r\n" + q + "\r\n"      // no thing: asked, its points go with it
         "注釈,,,\" x\",,,,\r\n" + q + "\r\n"                          // remarks take no points
         "a,b,c,d,e,f,g,h,i\r\n",
         *unit);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_FALSE(result.stopped || result.cancelled);
    EXPECT_EQ(result.badLines, 4);
    EXPECT_EQ(result.firstBadLine, 3);
}

TEST_F(TextFile, UnknownThingsJoinTheUserCategory) {
    const QString p = LonToStr(10) + "," + LatToStr(20);
    const QString file = "多辺形,湖沼,,,,4,," + p + "\r\n,,,,,,," + LonToStr(11) + "," + LatToStr(20) + "\r\n,,,,,,," +
                         LonToStr(11) + "," + LatToStr(21) + "\r\n,,,,,,," + p + "\r\n点記号,湖沼,,,,1,," + p + "\r\n";
    for (int32_t named : {0, 7}) {
        auto unit = Unit("/maps/U");
        if (named) unit->Things().setCategoryName(named, "ユーザー図形");
        const auto back = Read(file, *unit);
        EXPECT_TRUE(asked.empty());
        const int16_t n = unit->Things().Search("湖沼");
        ASSERT_EQ(n, 4);   // the highest number in use + 1
        const auto& thing = unit->Things().Item(n);
        EXPECT_EQ(thing->Category(), named ? named : 20);
        EXPECT_EQ(thing->Figure(), 3);
        ASSERT_EQ(back->Count(), 2);
        EXPECT_EQ(back->Item(1)->Thing(), n);
        EXPECT_EQ(back->Item(2)->Thing(), n);   // found, not added twice
    }
}

TEST_F(TextFile, FilesShiftJisUnlessATextNeedsMore) {
    const QString japanese = "文字列,地名,,\"Kyoto\",\"京都\",10,0,x,y\r\n";
    EXPECT_EQ(maptext::EncodeFileText(japanese), plat::EncodeCp932(japanese));
    const QString accented = "文字列,地名,,\"Zürich\",\"チューリッヒ\",10,0,x,y\r\n";
    const QByteArray utf8 = maptext::EncodeFileText(accented);
    EXPECT_TRUE(utf8.startsWith("\xEF\xBB\xBF"));
    for (const QString& t : {japanese, accented}) EXPECT_EQ(maptext::DecodeFileText(maptext::EncodeFileText(t)), t);
    EXPECT_THROW(maptext::DecodeFileText(QByteArray("\xEF\xBB\xBF\xFF\xFE", 5)), plat::AppError);
}
