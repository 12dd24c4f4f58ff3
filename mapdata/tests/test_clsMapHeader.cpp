// Header remarks: lookups, version and last-update lines, MakeHeader.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "TestSupport.h"
#include "basGlobe.h"
#include "basHMap.h"
#include "clsMap.h"

using namespace maptest;

namespace {

QString comment(const clsMap& map, int32_t i) { return std::static_pointer_cast<clsMapRem>(map.Item(i))->Comment(); }

void addLines(clsMap& map, std::initializer_list<const char*> lines) {
    for (const char* l : lines) ASSERT_TRUE(map.Add(Rem(QString::fromUtf8(l))));
}

} // namespace

// Kind, level and country come from a six-digit map code, else from their
// own lines; malformed values read as unknown.
TEST(MapHeader, MapCodeAndItsParts) {
    const struct {
        std::initializer_list<const char*> lines;
        const char* kind;
        int16_t level, country;
        int32_t code;
    } cases[] = {
        {{"# 地図コード　　　：142392", "# 種別　　　　　　：ignored"}, "世界地形図", 2, 392, 142392},
        {{"# 地図コード：12345", "# 種別：国別行政図", "# 縮尺レベル：4"}, "国別行政図", 4, -1, 12345},
        {{}, "", -1, -1, -1},
        {{"# 地図コード：14a392"}, "世界地形図", -1, 392, -1},
        {{"# 地図コード：1x2", "# 国番号：xx", "# 縮尺レベル：99999"}, "", -1, -1, -1},
        {{"# 地図コード：1e400"}, "", -1, -1, -1},
    };
    for (const auto& c : cases) {
        clsMap map;
        addLines(map, c.lines);
        EXPECT_EQ(map.Kind(), QString::fromUtf8(c.kind)) << c.code;
        EXPECT_EQ(map.Level(), c.level) << c.code;
        EXPECT_EQ(map.Country(), c.country) << c.code;
        EXPECT_EQ(map.MapCode(), c.code);
    }
}

TEST(MapHeader, NamesProjectionAndTheFirstFiftyFigures) {
    clsMap map;
    map.setFileName(QStringLiteral("/data/maps/WORLD_T3.MLL"));
    EXPECT_EQ(map.MapName(1), "WORLD_T3.MLL");
    addLines(map, {"# 国名：Common", "# 和文国名：日本"});
    EXPECT_EQ(map.MapName(1), "Common");
    EXPECT_EQ(map.MapName(2), "日本");
    addLines(map, {"# 欧文大陸名：Asia", "# 欧州語地図名　　：World"});
    EXPECT_EQ(map.MapName(1), "World");
    for (int i = 0; i < 50; ++i) map.Add(Rem(QStringLiteral("line")));
    addLines(map, {"# 地図コード　　　：142392", "# 図法名：メルカトル図法", "# 地図バージョン　：1.05"});
    EXPECT_EQ(map.Kind(), "");   // beyond the header
    EXPECT_EQ(map.Version(), 106);
    EXPECT_EQ(map.SearchRem(QStringLiteral("地図コード")), "142392");
    EXPECT_EQ(map.ProjectionName(), "");   // of X/Y maps only
    clsMap xy;
    xy.setMapMode(2);
    addLines(xy, {"# 投影法名：メルカトル図法"});
    EXPECT_EQ(xy.ProjectionName(), "メルカトル図法");
    addLines(xy, {"# 図法名：別"});
    EXPECT_EQ(xy.ProjectionName(), "メルカトル図法");   // cached
}

TEST(MapHeader, VersionAndLastDateLines) {
    clsMap map;
    map.Add(Sym(1, 1));
    map.setModify(false);
    map.setVersion(107);
    map.setVersion(98);
    EXPECT_EQ(map.Count(), 1);
    EXPECT_FALSE(map.Modify());
    map.setVersion(100);
    EXPECT_EQ(comment(map, 1), "# 地図バージョン　：1");
    clsMap two;
    addLines(two, {"# 地図バージョン：1.05", "# Map Version：x", "# File VERSION no：y"});
    EXPECT_EQ(two.Version(), 105);
    two.setVersion(104);   // every version line is rewritten
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(comment(two, i), "# 地図バージョン　：1.04");
    clsMap one;
    one.Add(Sym(1, 1));
    const QDateTime d(QDate(2023, 1, 2), QTime(3, 4, 5));
    one.setLastDate(d);
    EXPECT_EQ(comment(one, 2), "# 最終更新日時　　：2023/01/02 3:04:05");
    EXPECT_EQ(one.LastDate(), d);
    one.setLastDate(QDateTime(QDate(2023, 1, 3), QTime(0, 0)));
    EXPECT_EQ(one.Count(), 2);
    EXPECT_EQ(comment(one, 2), "# 最終更新日時　　：2023/01/03");
    clsMap none;
    addLines(none, {"# 最終更新日時　　：いつか"});
    EXPECT_EQ(none.LastDate(), ZeroDate());
}

TEST(MapHeader, MakeHeader) {
    FixedTime time;
    EXPECT_EQ(BorderScale(0), MapScaleMax);
    EXPECT_EQ(BorderScale(8), MapScaleMax / 10000);
    EXPECT_EQ(BorderScale(9), 0);
    clsMap map;
    map.setFileName(QStringLiteral("/u/MY MAP.txt"));
    map.Add(Sym(1, 1));
    ASSERT_TRUE(map.MakeHeader(190000, QString(), QString()));
    ASSERT_EQ(map.Count(), 20);   // the figure, then 19 header lines
    const std::pair<int, const char*> want[] = {
        {2, ""}, {3, "# プロジェクト　　：KALDERO"}, {5, "# 種別　　　　　　：ユーザー地図"}, {11, "# 地図ファイル名　：MY MAP.MLL"},
        {14, "# 推奨縮尺　　　　：オールラウンド"}, {17, "# 最終更新日時　　：2024/05/06 12:34:56"}, {20, ""}};
    for (const auto& [i, text] : want) EXPECT_EQ(comment(map, i), QString::fromUtf8(text)) << i;
    EXPECT_EQ(map.MapCode(), 0);   // the code line "0" is no six-digit code
    SetBorderScaleHook([](int16_t level) { return level == 2 ? 5000000.4 : level == 3 ? 1500000.5 : 0.0; });
    clsMap xy;
    xy.setMapMode(2);
    xy.MakeHeader(143000, QStringLiteral("Japan"), QStringLiteral("日本"));
    SetBorderScaleHook(nullptr);
    EXPECT_EQ(comment(xy, 7), "# 地図コード　　　：243000");   // the mode of the map decides the first digit
    EXPECT_EQ(xy.Kind(), "世界地形図");
    EXPECT_EQ(xy.MapName(2), "日本");
    EXPECT_EQ(xy.Level(), 3);
    EXPECT_EQ(comment(xy, 13), "# 推奨縮尺　　　　：1/500万～1/150万");
    clsMap locked;
    locked.setLockMode(true);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("は変更禁止. [Add]"), plat::IdOk);
    EXPECT_FALSE(locked.MakeHeader(190000, QString(), QString()));
}
