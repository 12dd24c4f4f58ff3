// Coordinate text of maps in both map modes: the texts of every form, round trips
// through text, the safe readers and the range checks with their messages;
// and the map information texts.
#include <gtest/gtest.h>

#include <random>

#include "AppError.h"
#include "MapInfo.h"
#include "TestSupport.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basHMap.h"
#include "basHMapCoord.h"
#include "clsMap.h"
#include "clsMapRem.h"
#include "clsMapSymbol.h"

namespace {

// Runs the test body in a map mode and leaves mode 0 behind.
class MapMode {
public:
    explicit MapMode(int32_t mode) { SetMapModeSource([mode] { return mode; }); }
    ~MapMode() { SetMapModeSource({}); }
};

TEST(MapCoordText, TextsOfEveryForm) {
    {
        MapMode xy(2);
        EXPECT_EQ(MapToCoarse(-1999), -1);
        EXPECT_EQ(MapXToStr(1234567), QStringLiteral("  1234.567km"));
        EXPECT_EQ(MapXToStr(-5), QStringLiteral("    -0.005km"));
        EXPECT_EQ(MapYToStr(-40030174), QStringLiteral("-40030.174km")) << "no blank left";
        EXPECT_EQ(MapXToCoarseStr(1234567), QStringLiteral("  1234km"));
        EXPECT_EQ(MapXYToCoarseStr(-1999, 0), QStringLiteral("    -1km,      0km"));
        EXPECT_EQ(MapStrToXSafe(QStringLiteral("abc")), kInvalidCoordinate);
        EXPECT_EQ(MapStrToX(QStringLiteral("12.5")), 12500);
        EXPECT_EQ(MapStrToY(QStringLiteral("300m")), 300);
        EXPECT_EQ(MapStrToYSafe(QStringLiteral("1e12")), kInvalidCoordinate) << "beyond 32 bits";
        try {
            MapStrToX(QStringLiteral("abc"));
            ADD_FAILURE() << "an unreadable text raises";
        } catch (const plat::AppError& e) {
            EXPECT_TRUE(e.source().startsWith(QStringLiteral("basHMap.MapStrToX/"))) << e.source().toStdString();
        }
    }
    {
        MapMode ll(1);
        EXPECT_EQ(MapToCoarse(-59), 0);
        EXPECT_EQ(CoarseToMap(-3), -180);
        EXPECT_EQ(MapXYToStr(1, -1), LonToStr(1) + QStringLiteral(", ") + LatToStr(-1));
        EXPECT_EQ(MapXToCoarseStr(-119), LonMinToStr(-1));
        EXPECT_EQ(MapStrToYSafe(QStringLiteral("北緯")), kInvalidCoordinate);
    }
    for (int32_t mode : {0, 3}) {
        MapMode other(mode);
        EXPECT_EQ(MapXToStr(5), QString()) << mode;
        EXPECT_EQ(MapXYToCoarseStr(5, 5), QString()) << mode;
        EXPECT_EQ(MapStrToX(QStringLiteral("12")), 0) << mode;
        EXPECT_EQ(MapToCoarse(6000), 0) << mode;
        EXPECT_FALSE(IsValidMapX(0, false)) << mode;
    }
}

TEST(MapCoordText, RoundTripsThroughText) {
    std::mt19937 rng(17);
    {
        MapMode ll(1);
        std::uniform_int_distribution<int32_t> lon(-648000, 648000), lat(-324000, 324000);
        for (int i = 0; i < 2000; ++i) {
            const int32_t x = lon(rng), y = lat(rng);
            EXPECT_EQ(MapStrToX(MapXToStr(x)), x) << MapXToStr(x).toStdString();
            EXPECT_EQ(MapStrToY(MapYToStr(y)), y) << MapYToStr(y).toStdString();
            // Coarse texts keep whole minutes.
            EXPECT_EQ(MapStrToXSafe(MapXToCoarseStr(x)), CoarseToMap(MapToCoarse(x))) << x;
        }
    }
    {
        MapMode xy(2);
        std::uniform_int_distribution<int32_t> any(-MaxXY, MaxXY);
        for (int i = 0; i < 2000; ++i) {
            const int32_t x = any(rng);
            EXPECT_EQ(MapStrToX(MapXToStr(x)), x) << MapXToStr(x).toStdString();
            EXPECT_EQ(MapStrToYSafe(MapYToCoarseStr(x)), CoarseToMap(MapToCoarse(x))) << x;
        }
    }
}

TEST(MapCoordText, RangesAndTheirMessages) {
    const struct {
        int32_t mode;
        bool y;
        int32_t value;
        bool valid;
        const char* range;
    } cases[] = {
        {1, false, 648001, false, "180°00′00″W～180°00′00″E"},
        {1, false, -648000, true, nullptr},
        {1, true, -324000, true, nullptr},
        {1, true, 324001, false, "90°00′00″S～90°00′00″N"},
        {2, false, MaxXY, true, nullptr},
        {2, true, -MaxXY - 1, false, "-40030km～+40030km"},
    };
    for (const auto& k : cases) {
        MapMode mode(k.mode);
        EXPECT_EQ(k.y ? IsValidMapY(k.value, false) : IsValidMapX(k.value, false), k.valid) << k.value;
        testsupport::ScriptedBoxes boxes;
        if (k.range) boxes.expect(QString::fromUtf8(k.range), plat::IdOk);
        EXPECT_EQ(k.y ? IsValidMapY(k.value, true) : IsValidMapX(k.value, true), k.valid) << k.value;
    }
}

TEST(MapInfoTexts, PathVersionAndRemarks) {
    clsMap map;
    map.setFileName(QStringLiteral("/home/user/maps/world/asia/JAPAN.MLL"));
    map.Add(NewMapRem(QStringLiteral("# 種別　　：世界行政図")));
    map.Add(NewMapRem(QStringLiteral("plain remark")));
    map.Add(std::make_shared<clsMapSymbol>());
    map.Add(NewMapRem(QStringLiteral("#x")));
    map.Add(NewMapRem(QStringLiteral("#  late header")));
    MapInfo info(&map);
    EXPECT_EQ(info.InfoText(), QStringLiteral("種別　　：世界行政図\r\n\r\n late header\r\n"));
    EXPECT_EQ(info.PathText(4000, 9), QStringLiteral("/home/user/maps/world/asia/JAPAN.MLL")) << "44 characters of room";
    EXPECT_EQ(info.PathText(2400, 9), QStringLiteral("/home/user/.../JAPAN.MLL")) << "26 characters";
    EXPECT_EQ(info.PathText(1800, 9), QStringLiteral("JAPAN.MLL")) << "20 characters";
    EXPECT_EQ(info.PathText(1800, 0.4), QString()) << "a font of no size leaves no room";
    const struct {
        int16_t version;
        const char* text;
    } versions[] = {{106, "map version : 1.06"}, {100, "map version : 1"}, {105, "map version : 1.05"}};
    for (const auto& v : versions) {
        map.setVersion(v.version);
        EXPECT_EQ(info.VersionText(), QString::fromLatin1(v.text));
    }
    clsMap empty;
    EXPECT_EQ(MapInfo(&empty).InfoText(), QString());
    EXPECT_EQ(MapInfo(nullptr).VersionText(), QString());
}

} // namespace
