#include <gtest/gtest.h>

#include "AppError.h"
#include "ErrorMng.h"
#include "QStringPrinter.h"
#include "basAngle.h"

#include <cstdint>
#include <random>

namespace {

QString q(const char16_t* s) { return QString::fromUtf16(s); }

} // namespace

TEST(AngleFormalStr, AcceptedTexts) {
    const struct {
        const char16_t* text;
        const char16_t* formal;
        int32_t sec;
    } cases[] = {
        {u"135.5", u" +135ﾟ30'00\"", 487800},
        {u"-135.5", u" -135ﾟ30'00\"", -487800},
        {u"  135  ", u" +135ﾟ00'00\"", 486000},
        {u"0", u" +000ﾟ00'00\"", 0},
        {u"-0", u" +000ﾟ00'00\"", 0},
        {u"東経135度30分15秒", u"X+135ﾟ30'15\"", 487815},
        {u"E135°30′15″", u"X+135ﾟ30'15\"", 487815},
        {u"135°30′15″E", u"X+135ﾟ30'15\"", 487815},
        {u"西経135度30分15秒", u"X-135ﾟ30'15\"", -487815},
        {u"135 30 15", u" +135ﾟ30'15\"", 487815},
        {u"135 30.5", u" +135ﾟ30'30\"", 487830},
        {u"N35.5", u"Y+035ﾟ30'00\"", 127800},
        {u"35.5N", u"Y+035ﾟ30'00\"", 127800},
        {u"S35", u"Y-035ﾟ00'00\"", -126000},
        {u"35S", u" +000ﾟ00'35\"", 35},         // S after digits: the second mark
        {u"35 S", u"Y-035ﾟ00'00\"", -126000},   // after a blank: south
        {u"-35S", u" -000ﾟ00'35\"", -35},
        {u"1.5rad", u" +085ﾟ56'37\"", 309397},
        {u"2.5弧度", u" +143ﾟ14'22\"", 515662},
        {u"135ﾟ30'", u" +135ﾟ30'00\"", 487800},
        {u"N35", u"Y+035ﾟ00'00\"", 126000},
        {u"LON=135", u"X+135ﾟ00'00\"", 486000},
        {u"LAT35.5", u"Y+035ﾟ30'00\"", 127800},
        {u"Longitude135", u"X+135ﾟ00'00\"", 486000},
        {u"λ135", u"X+135ﾟ00'00\"", 486000},
        {u"φ35", u"Y+035ﾟ00'00\"", 126000},
        {u"1000", u" +000ﾟ00'00\"", 0},          // three degree digits only
        {u"北緯35度", u"Y+035ﾟ00'00\"", 126000},
        {u"北緯三十五度三十分", u"Y+035ﾟ30'00\"", 127800},
        {u"135.30,15", u" +135ﾟ30'15\"", 487815},
        {u"１３５．５", u" +135ﾟ30'00\"", 487800},
        {u"ｗ１２３ｄ１２ｍ１２ｓ", u"X-123ﾟ12'12\"", -443532},
        {u"135d30m15s", u" +135ﾟ30'15\"", 487815},
        {u"135deg30min", u" +135ﾟ30'00\"", 487800},
        {u"N35 E", u"X+035ﾟ00'00\"", 126000},    // the last direction wins
        {u"135゜30’15゛", u" +135ﾟ30'15\"", 487815},
        {u"135ー30′", u" +135ﾟ30'00\"", 487800},
        {u"12.5″", u" +000ﾟ00'12\"", 12},        // halves to even
        {u"13.5″", u" +000ﾟ00'14\"", 14},
        {u"E0.000004848rad", u"X+000ﾟ00'01\"", 1},
        {u"X+135ﾟ30'15\"", u"X+135ﾟ30'15\"", 487815},
        {u"Y-089ﾟ59'59\"", u"Y-089ﾟ59'59\"", -323999},
        {u"596523.2", u" +523ﾟ12'00\"", 1883520},
    };
    for (const auto& c : cases) {
        const QString text = q(c.text);
        try {
            EXPECT_EQ(AngleFormalStr(text), q(c.formal)) << text.toStdString();
            EXPECT_EQ(AngleSecStrToVal(text), c.sec) << text.toStdString();
            EXPECT_EQ(AngleStrToSec(text), c.sec) << text.toStdString();
        } catch (const plat::AppError& e) {
            ADD_FAILURE() << text.toStdString() << ": " << e.what();
        }
    }
}

TEST(AngleFormalStr, RejectedTexts) {
    const char16_t* rejected[] = {
        u"135ﾟ 30'", u"N 35", u"LON: 135", u"1 2 3 4", u"E", u".", u"", u" ", u"abc", u"R",
        u"135°, 30′", u"ﾟ'\"", u"0.5 弧度", u"135 deg 30 min", u"1.2E.3R",
        u"1.2.3", u"1.2.3R", u"35.30.15", u"1.5.5分", u"N35.5.", u"135ﾟ30.5.5'",   // two points: no number
    };
    for (const char16_t* t : rejected) {
        const QString text = q(t);
        try {
            AngleFormalStr(text);
            ADD_FAILURE() << "accepted: " << text.toStdString();
        } catch (const plat::AppError& e) {
            EXPECT_EQ(e.number(), ErrLibrary) << text.toStdString();
            EXPECT_TRUE(e.source().startsWith(QStringLiteral("basAngle.AngleFormalStr/")));
        }
        EXPECT_EQ(AngleStrToSec(text), 0) << text.toStdString();
        EXPECT_EQ(AngleKindOf(text), 0) << text.toStdString();
        try {
            AngleSecStrToVal(text);
            ADD_FAILURE() << "accepted: " << text.toStdString();
        } catch (const plat::AppError& e) {
            EXPECT_EQ(e.number(), ErrLibrary);
            EXPECT_TRUE(e.source().startsWith(QStringLiteral("basAngle.AngleSecStrToVal/basAngle.AngleFormalStr/")))
                << e.source().toStdString();
        }
    }
}

TEST(AngleFormalStr, OverflowKeepsTheOverflowNumber) {
    // Digit runs joined across a direction letter make one number.
    const QString joined = q(u"123456789012345E123456789012345ﾟ");
    const QString zeros(400, QLatin1Char('0'));
    for (const QString& t : {q(u"600000"), q(u"9999999999ﾟ"), q(u"1e300"), q(u"99999999rad"), joined,
                             "1" + zeros.left(309), "-1" + zeros, "1," + zeros}) {
        for (auto parse : {&AngleFormalStr, +[](const QString& s) { return QString::number(AngleSecStrToVal(s)); }}) {
            try {
                parse(t);
                ADD_FAILURE() << "accepted: " << t.left(20).toStdString();
            } catch (const plat::AppError& e) {
                EXPECT_EQ(e.number(), plat::ErrOverflow) << t.left(20).toStdString();
            }
        }
        EXPECT_EQ(AngleStrToSec(t), 0);
    }
}

TEST(AngleKindOf, LongitudeLatitudeOrNone) {
    EXPECT_EQ(AngleKindOf(QStringLiteral("135")), 0);
    EXPECT_EQ(AngleKindOf(QStringLiteral("E135")), 1);
    EXPECT_EQ(AngleKindOf(q(u"北緯35度")), 2);
    EXPECT_EQ(AngleKindOf(QStringLiteral("35S")), 0);
    EXPECT_EQ(AngleKindOf(QStringLiteral("35 S")), 2);
}

// Whatever the display settings, a text the program writes reads back as the
// angle it shows: exactly, or to the minute in unit 2. Left out: units 3 and
// 5 in symbol styles 5 and 6 write no mark at all, so their bare number reads
// as degrees; and southern latitudes in those styles with the direction
// letter behind, where the S right after the last number is read as the
// second mark.
TEST(AngleText, FormatThenParseGivesTheAngleBack) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int32_t> lonDist(-648000, 648000), latDist(-324000, 324000);
    std::vector<int32_t> lons = {0, 1, -1, 648000, -648000, 487815, -443532, 29, 30, -30};
    std::vector<int32_t> lats = {0, 1, -1, 324000, -324000, 127815, -127815, 59, 3599};
    for (int i = 0; i < 40; ++i) {
        lons.push_back(lonDist(rng));
        lats.push_back(latDist(rng));
    }
    auto atPrecision = [](int16_t unit, int32_t sec) {
        if (unit != 2) return sec;
        const int32_t a = sec < 0 ? -sec : sec;
        const int32_t r = (a + 30) / 60 * 60;
        return sec < 0 ? -r : r;
    };
    for (int16_t unit = 1; unit <= 5; ++unit) {
        for (int16_t symbol = 1; symbol <= 6; ++symbol) {
            if ((unit == 3 || unit == 5) && symbol >= 5) continue;
            for (int16_t dir = 1; dir <= 4; ++dir) {
                SetAngleUnit(unit);
                SetAngleSymbol(symbol);
                SetAngleDirStyle(dir);
                const std::string where = "unit " + std::to_string(unit) + " symbol " + std::to_string(symbol) +
                                          " dir " + std::to_string(dir) + ": ";
                for (int32_t s : lons) {
                    const QString plain = SecToStr(s), lon = LonToStr(s);
                    ASSERT_EQ(AngleStrToSec(plain), atPrecision(unit, s)) << where << plain.toStdString();
                    ASSERT_EQ(AngleStrToSec(lon), atPrecision(unit, s)) << where << lon.toStdString();
                    ASSERT_EQ(AngleKindOf(lon), dir == 4 ? 0 : 1) << where << lon.toStdString();
                }
                for (int32_t s : lats) {
                    if (symbol >= 5 && dir == 3 && s < 0) continue;
                    const QString lat = LatToStr(s);
                    ASSERT_EQ(AngleStrToSec(lat), atPrecision(unit, s)) << where << lat.toStdString();
                    ASSERT_EQ(AngleKindOf(lat), dir == 4 ? 0 : 2) << where << lat.toStdString();
                }
            }
        }
    }
}
