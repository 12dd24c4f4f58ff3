#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "basHMap.h"

#include <cmath>
#include <tuple>

using namespace maptest;

namespace {

int64_t secondsOf(const QDateTime& t) {
    return QDate(1899, 12, 30).daysTo(t.date()) * 86400 + t.time().msecsSinceStartOfDay() / 1000;
}

} // namespace

// The time in seconds times 100000 plus a random part of five digits that
// never carries into the seconds.
TEST(HMap, IdentifiersAndTheirDates) {
    FixedTime time;
    ListRandom random{0.123456789, 1.0};
    plat::RandomSource* old = plat::SetRandom(&random);
    const int64_t s = secondsOf(time.clock().now());
    const double a = NewFigID(), b = NewFigID();
    plat::SetRandom(old);
    EXPECT_EQ(a, static_cast<double>(s) * 100000 + 12345);
    EXPECT_EQ(b, static_cast<double>(s) * 100000 + 99999);
    EXPECT_EQ(FigIDToDate(b), time.clock().now());
    const double first = static_cast<double>(secondsOf(QDateTime(QDate(100, 1, 1), QTime(0, 0))));
    EXPECT_EQ(FigIDToDate(first * 100000), QDateTime(QDate(100, 1, 1), QTime(0, 0)));
    EXPECT_EQ(FigIDToDate(-1), QDateTime(QDate(1899, 12, 29), QTime(23, 59, 59)));
    for (double bad : {(first - 1) * 100000, std::nan(""), 1e300, -1e300}) EXPECT_FALSE(FigIDToDate(bad).isValid()) << bad;
}

TEST(HMap, NamesCodesAndAttributeWords) {
    EXPECT_EQ(FigCodeToName(3, 2), "多辺形");
    EXPECT_EQ(FigCodeToName(3, 3), "");
    EXPECT_EQ(MapKindName(9), "ユーザー地図");
    EXPECT_EQ(MapKindName(10), "その他地図");
    EXPECT_EQ(MapCodeText(90000), "090000");
    EXPECT_EQ(MapCodeKind(123456) * 1000 + MapCodeLevel(123456), 2003);
    EXPECT_EQ(MapCodeCountry(123456), 456);
    const int32_t codes[][5] = {   // mode, kind, level, country, code
        {1, 4, 2, 392, 142392}, {1, 9, 2, 392, 0}, {2, 4, 9, 1, 0},     {3, 4, 2, 1, 42001},
        {2, 0, 0, 0, 200000},   {1, 8, 8, 999, 188999}, {1, 1, 1, 1000, 0}, {1, -1, 1, 1, 0},
    };
    for (const auto& c : codes) EXPECT_EQ(MakeMapCode(c[0], c[1], c[2], c[3]), c[4]) << c[4];
    int16_t jump = -5, mode = -5;
    int32_t colour = 0;
    EXPECT_EQ(MakeAttr105(9, 1, 0xFF8040), 0x4EFF8040);
    EXPECT_EQ(MakeAttr105(0, -1, -1), 0);
    SplitAttr105(0x4EFF8040, jump, mode, colour);
    EXPECT_EQ(std::tuple(jump, mode, colour), std::tuple(int16_t{9}, int16_t{1}, 0xFF8040));
    SplitAttr105(0x00123456, jump, mode, colour);   // bit 26 clear: no colour
    EXPECT_EQ(std::tuple(jump, mode, colour), std::tuple(int16_t{0}, int16_t{-1}, -1));
    SplitAttr104(6, mode, colour);   // without a palette there is no colour
    EXPECT_EQ(colour, -1);
    Palette palette;
    SplitAttr104(6, mode, colour);
    EXPECT_EQ(std::tuple(mode, colour), std::tuple(int16_t{1}, palette.get().Color(0)));
    EXPECT_EQ(MakeAttr104(1, palette.get().Color(5)), 2 + 6 * 4);
    // A colour the palette lacks: index -2, the word -2, read back as index 62.
    EXPECT_EQ(MakeAttr104(1, 0x010203), -2);
    SplitAttr104(-2, mode, colour);
    EXPECT_EQ(colour, palette.get().Color(62));
}

TEST(HMap, GeneralDatesBothWays) {
    const std::pair<QDateTime, const char*> cases[] = {
        {QDateTime(QDate(2024, 5, 6), QTime(9, 5, 7)), "2024/05/06 9:05:07"},
        {QDateTime(QDate(2024, 12, 31), QTime(0, 0)), "2024/12/31"},
        {QDateTime(QDate(1899, 12, 30), QTime(13, 0, 1)), "13:00:01"},
        {QDateTime(QDate(100, 1, 1), QTime(0, 0)), "0100/01/01"},
    };
    for (const auto& [d, text] : cases) {
        if (d.date().year() > 100) { EXPECT_EQ(FormatGeneralDate(d), QString::fromUtf8(text)); }
        EXPECT_EQ(ParseDateText(QString::fromUtf8(text)), d) << text;
    }
    EXPECT_EQ(ParseDateText(QStringLiteral("2001-2-3 4:05")), QDateTime(QDate(2001, 2, 3), QTime(4, 5)));
    for (const char* bad : {"", "abc", "2024/13/01", "2024/02/30", "2024/05/06 25:00", "12", "2024/05-06", "0099/12/31"})
        EXPECT_FALSE(ParseDateText(QString::fromUtf8(bad)).isValid()) << bad;
}
