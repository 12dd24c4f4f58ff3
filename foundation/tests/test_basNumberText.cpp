#include <gtest/gtest.h>

#include "AppError.h"
#include "ErrorMng.h"
#include "QStringPrinter.h"
#include "basNumberText.h"

#include <cmath>
#include <functional>
#include <string>

namespace {

struct TextCase {
    const char16_t* in;
    const char16_t* out;
};

QString q(const char16_t* s) { return QString::fromUtf16(s); }

// Each text must fail in the procedure with its error number.
void ExpectFailures(const QString& procedure, const std::function<void(const QString&)>& convert,
                    std::initializer_list<std::pair<QString, int32_t>> cases) {
    for (const auto& [text, error] : cases) {
        try {
            convert(text);
            ADD_FAILURE() << "no error for " << text.left(12).toStdString();
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), error) << text.left(12).toStdString();
            EXPECT_TRUE(e.source().startsWith("basLibrary." + procedure + "/")) << e.source().toStdString();
        }
    }
}

} // namespace

TEST(KansujiToArabic, NumeralsBecomeDigits) {
    const TextCase cases[] = {
        {u"三万五千", u"35000"},
        {u"二千万", u"20000000"},
        {u"百二十三円", u"123円"},
        {u"１，２３４．５", u"1234.5"},
        {u"廿三", u"23"},
        {u"卅", u"30"},
        {u"3割5分", u"0.35"},
        {u"2厘5毛", u"0.0025"},
        {u"万", u"万"},
        {u"分", u"分"},
        {u"第一章", u"第1章"},
        {u"1.2.3", u"1.2.3"},             // a second point ends the number
        {u"1.5.5分", u"1.5.0.05"},
        {u"3.14.", u"3.14."},
        {u"．５", u"0.5"},
        {u"5，x", u"5，x"},
        {u"5.", u"5."},
        {u"弐阡拾壱", u"2011"},
        {u"壱萬", u"10000"},
        {u"一億二千三百四十五万六千七百八十九", u"123456789"},
        {u"二兆", u"2000000000000"},
        {u"一京", u"1E+16"},
        {u"〇零", u"0"},
        {u"007", u"7"},
        {u"1,000,000円", u"1000000円"},
        {u"2.5万", u"25000"},
        {u"十5", u"15"},
        {u"5十", u"50"},
        {u"1万2千", u"12000"},
        {u"－３＋４", u"-3+4"},
        {u"1234567890123456", u"1.23456789012346E+15"},
        {u"0.00001", u"0.00001"},         // digits stay positional: no exponent letter
        {u"0.000004848", u"0.000004848"},
        {u"0.1割", u"0.01"},
        {u"0.0001", u"0.0001"},
        {u"3.14159265358979323", u"3.14159265358979"},
        {u"abc", u"abc"},
        {u"", u""},
    };
    for (const TextCase& c : cases) EXPECT_EQ(KansujiToArabic(q(c.in)), q(c.out)) << q(c.in).toStdString();
}

TEST(KansujiToArabic, NoNumberOrNoDoubleIsAnError) {
    ExpectFailures(QStringLiteral("KansujiToArabic"), [](const QString& t) { KansujiToArabic(t); },
                   {
                       {q(u"．十"), plat::ErrTypeMismatch},                    // a point without digits
                       {"1" + QString(309, u'0') + "円", plat::ErrOverflow},   // beyond a Double
                       {QString(320, u'九'), plat::ErrOverflow},
                   });
}

TEST(DecimalDigitsValue, ExactAndLocaleFree) {
    EXPECT_EQ(DecimalDigitsValue(".5"), 0.5);
    EXPECT_EQ(DecimalDigitsValue("3."), 3);
    EXPECT_EQ(DecimalDigitsValue("0012.50"), 12.5);
    EXPECT_EQ(DecimalDigitsValue("0.1"), 0.1);
    EXPECT_EQ(DecimalDigitsValue("123456789012345678"), 123456789012345678.0);
    EXPECT_EQ(DecimalDigitsValue("0.30000000000000004"), 0.30000000000000004);
    EXPECT_EQ(DecimalDigitsValue(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(DecimalDigitsValue("0." + std::string(400, '0') + "1"), 0);
}

TEST(JstrToDouble, ReadsTypedNumbers) {
    EXPECT_EQ(JstrToDouble(q(u" １２３．５ ")), 123.5);
    EXPECT_EQ(JstrToDouble(q(u"三万五千")), 35000);
    EXPECT_EQ(JstrToDouble(q(u"－１，０００")), -1000);
    EXPECT_EQ(JstrToDouble(q(u"&h10")), 16);
    EXPECT_EQ(JstrToDouble(q(u"1.5e3")), 1500);
    ExpectFailures(QStringLiteral("JstrToDouble"), [](const QString& t) { JstrToDouble(t); },
                   {
                       {QStringLiteral("abc"), plat::ErrTypeMismatch},
                       {QStringLiteral("1.5.5分"), plat::ErrTypeMismatch},
                       {QStringLiteral("１．２．３"), plat::ErrTypeMismatch},
                       {QStringLiteral("1") + QString(309, u'０'), plat::ErrOverflow},
                   });
}

TEST(JstrToLong, RoundsHalfToEvenAndNeverFails) {
    EXPECT_EQ(JstrToLong(q(u"2.5")), 2);
    EXPECT_EQ(JstrToLong(q(u"3.5")), 4);
    EXPECT_EQ(JstrToLong(q(u"－２．５")), -2);
    EXPECT_EQ(JstrToLong(q(u"十二")), 12);
    EXPECT_EQ(JstrToLong(q(u"abc")), 0);
    EXPECT_EQ(JstrToLong(q(u"3000000000")), 0);
    EXPECT_EQ(JstrToLong(q(u"")), 0);
}

TEST(StrToMeter, TermsUnitsAndSigns) {
    const struct {
        const char16_t* text;
        const char16_t* unit;
        double metres;
    } cases[] = {
        {u"-1.5km", u"m", -1500},
        {u"1.5km-", u"m", -1500},
        {u"+2m", u"m", 2},
        {u"", u"m", 0},
        {u"5 ft", u"m", 5 * 0.3048},
        {u"1,000m", u"m", 1000},
        {u"２ｋｍ", u"m", 2000},
        {u"三里", u"m", 3 * 3927.2},
        {u"1km 200m", u"m", 1200},
        {u"5尺3寸", u"m", 5 * 0.30303 + 3 * 0.030303},
        {u"3", u"km", 3000},
        {u"3", u"nothing", 3},
        {u"1nmi", u"m", 1852},       // not nm followed by i
        {u"1nm", u"m", 1e-09},
        {u"2M", u"m", 3704},         // upper case: nautical miles
        {u"2m", u"M", 2},
        {u"4mm", u"m", 0.004},
        {u"1mi", u"m", 1609.344},
        {u"5'3\"", u"m", 5 * 0.3048 + 3 * 0.0254},
        {u"1キロメートル", u"m", 1000},
        {u"1ｷﾛ", u"m", 1000},
        {u"1チェーン", u"m", 20.1168},
        {u"3海里", u"m", 3 * 1852},
        {u"2nautical mile", u"m", 3704},
        {u"1.5μm", u"m", 1.5e-06},
        {u"1AU", u"m", 149600000000},
        {u"1 Twip", u"m", 1.763889e-05},
        {u"十万km", u"m", 1e8},
        {u"　7m　", u"m", 7},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_DOUBLE_EQ(StrToMeter(q(c.text), q(c.unit)), c.metres) << q(c.text).toStdString();
        } catch (const AppError& e) {
            ADD_FAILURE() << q(c.text).toStdString() << ": " << e.what();
        }
    }
}

TEST(StrToMeter, UnreadableOrEndlessTextRaises) {
    ExpectFailures(QStringLiteral("StrToMeter"), [](const QString& t) { StrToMeter(t, QStringLiteral("m")); },
                   {
                       {"km", plat::ErrTypeMismatch},
                       {"5km x", plat::ErrTypeMismatch},
                       {"abc", plat::ErrTypeMismatch},
                       {"1km km", plat::ErrTypeMismatch},
                       {"2 3", plat::ErrTypeMismatch},
                       {q(u"１．２．３ｍ"), plat::ErrTypeMismatch},   // two decimal points: no number
                       {q(u"1.5.5分"), plat::ErrTypeMismatch},
                       {"1E308AU", plat::ErrOverflow},
                       {"9e307AU-", plat::ErrOverflow},
                       {"1e308km 1e308km", plat::ErrOverflow},
                       {"1e308km-1e308km", plat::ErrOverflow},        // infinity minus infinity
                       {"1e400m", plat::ErrOverflow},
                   });
}

TEST(JpUnits, LongGroups) {
    const struct {
        int32_t v;
        bool shortForm;
        const char16_t* text;
    } cases[] = {
        {0, false, u""},
        {5, false, u"5"},
        {10000, true, u"1万"},
        {15000, false, u"1万5000"},
        {15000, true, u"1.5万"},
        {-15000, true, u"-1.5万"},
        {15050, true, u"1万5050"},
        {123400, true, u"12.34万"},
        {100000000, true, u"1億"},
        {123456789, true, u"1億2345万6789"},
        {150000000, false, u"1億5000万"},
        {150000000, true, u"1.5億"},
        {150000001, true, u"1億5000万1"},
        {110000000, true, u"1.1億"},
        {109900000, true, u"1億990万"},
        {2147483647, false, u"21億4748万3647"},
        {-2147483647 - 1, false, u"-21億4748万3648"},
    };
    for (const auto& c : cases) EXPECT_EQ(LongToJpUnits(c.v, c.shortForm), q(c.text)) << c.v;
}

TEST(JpUnits, DoubleGroups) {
    const struct {
        double v;
        bool shortForm;
        const char16_t* text;
    } cases[] = {
        {0, true, u""},
        {1e9, true, u"10億"},
        {1.5e8, true, u"1.5億"},
        {1.7e7, true, u"1700万"},
        {1.5e12, true, u"1.5兆"},
        {1.5e12, false, u"1兆5000億"},
        {1.2345e12, true, u"1兆2345億"},
        {1e12 + 1, true, u"1兆1"},
        {15000, true, u"1.5万"},
        {1234.5, true, u"1234.5"},
        {-1e4, false, u"-1万"},
        {123456789, false, u"1億2345万6789"},
    };
    for (const auto& c : cases) EXPECT_EQ(DoubleToJpUnits(c.v, c.shortForm), q(c.text)) << c.v;
}

TEST(InverseTrig, NeverFailsOutsideTheDomain) {
    EXPECT_EQ(ArcSin(1.0000001), 1.5707963267949);
    EXPECT_EQ(ArcSin(-3), -1.5707963267949);
    EXPECT_EQ(ArcCos(1.5), 0);
    EXPECT_EQ(ArcCos(-1), 3.14159265358979);
    EXPECT_NEAR(ArcSin(0.5), 0.5235987755982988, 1e-15);
    EXPECT_NEAR(ArcCos(0.5), 1.0471975511965976, 1e-13);
    EXPECT_EQ(Hypot(3, 4), 5);
}
