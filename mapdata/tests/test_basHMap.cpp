#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "basHMap.h"

#include <cmath>

using namespace maptest;

namespace {

int64_t secondsOf(const QDateTime& t) {
    return QDate(1899, 12, 30).daysTo(t.date()) * 86400 + t.time().msecsSinceStartOfDay() / 1000;
}

} // namespace

TEST(HMapIdentifier, TimeTimesHundredThousandPlusRandomPart) {
    FixedTime time;
    ListRandom random{0.123456789, 0.999999999};
    plat::RandomSource* old = plat::SetRandom(&random);
    const int64_t s = secondsOf(time.clock().now());
    const double a = NewFigID();
    const double b = NewFigID();
    plat::SetRandom(old);
    EXPECT_EQ(a, static_cast<double>(s) * 100000 + 12345);
    EXPECT_EQ(b, static_cast<double>(s) * 100000 + 99999);
    // Same second: only the last five digits differ, and the dates agree.
    EXPECT_EQ(std::floor(a / 100000), std::floor(b / 100000));
    EXPECT_EQ(FigIDToDate(a), time.clock().now());
    EXPECT_EQ(FigIDToDate(b), QDateTime(QDate(2024, 5, 6), QTime(12, 34, 56)));
}

TEST(HMapIdentifier, DatesOfOddIdentifiers) {
    EXPECT_EQ(FigIDToDate(0), ZeroDate());
    EXPECT_EQ(FigIDToDate(86400.0 * 100000 + 5), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));
    EXPECT_EQ(FigIDToDate(-1), QDateTime(QDate(1899, 12, 29), QTime(23, 59, 59)));
    EXPECT_FALSE(FigIDToDate(std::nan("")).isValid());
    EXPECT_FALSE(FigIDToDate(1e300).isValid());
    EXPECT_FALSE(FigIDToDate(-1e300).isValid());
}

TEST(HMapNames, FigureKindsAndMapKinds) {
    EXPECT_EQ(FigCodeToName(3, 1), "POLYGON");
    EXPECT_EQ(FigCodeToName(3, 2), "多辺形");
    EXPECT_EQ(FigCodeToName(1, 2), "注釈");
    EXPECT_EQ(FigCodeToName(5, 1), "TEXT");
    EXPECT_EQ(FigCodeToName(6, 1), "");
    EXPECT_EQ(FigCodeToName(3, 3), "");
    EXPECT_EQ(MapKindName(0), "その他地図");
    EXPECT_EQ(MapKindName(4), "世界地形図");
    EXPECT_EQ(MapKindName(9), "ユーザー地図");
    EXPECT_EQ(MapKindName(10), "その他地図");
}

TEST(HMapCodes, PartsAndAssembly) {
    EXPECT_EQ(MapCodeText(90000), "090000");
    EXPECT_EQ(MapCodeText(142392), "142392");
    EXPECT_EQ(MapCodeKind(123456), 2);
    EXPECT_EQ(MapCodeLevel(123456), 3);
    EXPECT_EQ(MapCodeCountry(123456), 456);
    struct Case {
        int32_t mode, kind, level, country, code;
    } cases[] = {
        {1, 4, 2, 392, 142392}, {1, 9, 2, 392, 0}, {2, 4, 9, 1, 0}, {3, 4, 2, 1, 42001},
        {2, 0, 0, 0, 200000},   {1, 8, 8, 999, 188999}, {1, 1, 1, 1000, 0}, {1, -1, 1, 1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(MakeMapCode(c.mode, c.kind, c.level, c.country), c.code) << c.code;
    EXPECT_FALSE(IsValidMapLevel(0));
    EXPECT_TRUE(IsValidMapLevel(8));
    EXPECT_FALSE(IsValidMapLevel(9));
}

TEST(HMapAttr, Words105) {
    EXPECT_EQ(MakeAttr105(9, 1, 0xFF8040), 0x4EFF8040);
    EXPECT_EQ(MakeAttr105(0, -1, -1), 0);
    EXPECT_EQ(MakeAttr105(0, 0, 0), 0x5000000);
    int16_t jump = -5, mode = -5;
    int32_t colour = 0;
    SplitAttr105(0, jump, mode, colour);
    EXPECT_EQ(jump, 0);
    EXPECT_EQ(mode, -1);
    EXPECT_EQ(colour, -1);
    SplitAttr105(0x4EFF8040, jump, mode, colour);
    EXPECT_EQ(jump, 9);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(colour, 0xFF8040);
    // Bit 26 clear: no colour whatever the low bits hold.
    SplitAttr105(0x00123456, jump, mode, colour);
    EXPECT_EQ(colour, -1);
}

TEST(HMapAttr, Words104ThroughThePalette) {
    Palette palette;
    int16_t mode = 0;
    int32_t colour = 0;
    SplitAttr104(6, mode, colour);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(colour, palette.get().Color(0));
    SplitAttr104(1, mode, colour);
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(colour, -1);
    EXPECT_EQ(MakeAttr104(-1, -1), 0);
    EXPECT_EQ(MakeAttr104(1, palette.get().Color(5)), 2 + 6 * 4);
    // A colour the palette lacks: index -2, the word -2, read back as index 62.
    const int32_t odd = 0x010203;
    ASSERT_EQ(palette.get().RGBtoPal(odd), -2);
    EXPECT_EQ(PaletteIndexOf(odd), -2);
    EXPECT_EQ(MakeAttr104(1, odd), -2);
    SplitAttr104(-2, mode, colour);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(colour, palette.get().Color(62));
}

TEST(HMapAttr, Words104WithoutPalette) {
    ASSERT_EQ(gvNativeColor, nullptr);
    int16_t mode = 0;
    int32_t colour = 0;
    SplitAttr104(6, mode, colour);
    EXPECT_EQ(colour, -1);
    EXPECT_EQ(PaletteIndexOf(0x112233), -2);
    EXPECT_EQ(PaletteIndexOf(-1), -1);
}

TEST(HMapDates, GeneralDateBothWays) {
    struct Case {
        QDateTime d;
        const char* text;
    } cases[] = {
        {QDateTime(QDate(2024, 5, 6), QTime(9, 5, 7)), "2024/05/06 9:05:07"},
        {QDateTime(QDate(2024, 12, 31), QTime(0, 0)), "2024/12/31"},
        {QDateTime(QDate(1899, 12, 30), QTime(13, 0, 1)), "13:00:01"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGeneralDate(c.d), QString::fromUtf8(c.text));
        EXPECT_EQ(ParseDateText(QString::fromUtf8(c.text)), c.d) << c.text;
    }
    EXPECT_EQ(ParseDateText(QStringLiteral("2001-2-3 4:05")), QDateTime(QDate(2001, 2, 3), QTime(4, 5)));
    for (const char* bad : {"", "abc", "2024/13/01", "2024/02/30", "2024/05/06 25:00", "12", "2024/05-06"})
        EXPECT_FALSE(ParseDateText(QString::fromUtf8(bad)).isValid()) << bad;
}
