#include <gtest/gtest.h>

#include "AppError.h"
#include "ErrorMng.h"
#include "QStringPrinter.h"
#include "TestSupport.h"
#include "basNumberText.h"

#include <cmath>
#include <functional>
#include <string>

namespace {

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

TEST(NumberText, KansujiToArabic) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"三万五千", u"35000"},   {u"百二十三円", u"123円"},   {u"１，２３４．５", u"1234.5"}, {u"廿三", u"23"},
        {u"3割5分", u"0.35"},      {u"2厘5毛", u"0.0025"},      {u"万", u"万"},               {u"第一章", u"第1章"},
        {u"1.2.3", u"1.2.3"},      {u"1.5.5分", u"1.5.0.05"},   {u"3.14.", u"3.14."},   // a second point ends the number
        {u"．５", u"0.5"},         {u"5，x", u"5，x"},          {u"弐阡拾壱", u"2011"},        {u"壱萬", u"10000"},
        {u"一億二千三百四十五万六千七百八十九", u"123456789"},  {u"一京", u"1E+16"},         {u"〇零", u"0"},
        {u"1,000,000円", u"1000000円"}, {u"2.5万", u"25000"},   {u"十5", u"15"},              {u"5十", u"50"},
        {u"－３＋４", u"-3+4"},    {u"1234567890123456", u"1.23456789012346E+15"},
        {u"0.00001", u"0.00001"},   // digits stay positional: no exponent letter
        {u"0.1割", u"0.01"},       {u"3.14159265358979323", u"3.14159265358979"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(KansujiToArabic(q(in)), q(out)) << q(in).toStdString();
    ExpectFailures(QStringLiteral("KansujiToArabic"), [](const QString& t) { KansujiToArabic(t); },
                   {
                       {q(u"．十"), plat::ErrTypeMismatch},                    // a point without digits
                       {"1" + QString(309, u'0') + "円", plat::ErrOverflow},   // beyond a Double
                       {QString(320, u'九'), plat::ErrOverflow},
                   });
    EXPECT_EQ(DecimalDigitsValue("0.30000000000000004"), 0.30000000000000004);
    EXPECT_EQ(DecimalDigitsValue(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(DecimalDigitsValue("0." + std::string(400, '0') + "1"), 0);
}

TEST(NumberText, TypedNumbers) {
    EXPECT_EQ(JstrToDouble(q(u" １２３．５ ")), 123.5);
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
    EXPECT_EQ(JstrToLong(q(u"2.5")), 2);   // half to even
    EXPECT_EQ(JstrToLong(q(u"－３．５")), -4);
    EXPECT_EQ(JstrToLong(q(u"abc")), 0);
    EXPECT_EQ(JstrToLong(q(u"3000000000")), 0);
}

TEST(NumberText, Lengths) {
    const struct {
        const char16_t* text;
        const char16_t* unit;
        double metres;
    } cases[] = {
        {u"1.5km-", u"m", -1500},  {u"", u"m", 0},                   {u"1,000m", u"m", 1000},
        {u"1km 200m", u"m", 1200}, {u"5尺3寸", u"m", 5 * 0.30303 + 3 * 0.030303},
        {u"3", u"km", 3000},       {u"3", u"nothing", 3},            {u"1nmi", u"m", 1852},   // not nm followed by i
        {u"1nm", u"m", 1e-09},     {u"2M", u"m", 3704},              {u"2m", u"M", 2},   // upper case: nautical miles
        {u"5'3\"", u"m", 5 * 0.3048 + 3 * 0.0254}, {u"1ｷﾛ", u"m", 1000}, {u"十万km", u"m", 1e8}, {u"　２ｋｍ　", u"m", 2000},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_DOUBLE_EQ(StrToMeter(q(c.text), q(c.unit)), c.metres) << q(c.text).toStdString();
            double metres = -1;
            EXPECT_TRUE(TryStrToMeter(q(c.text), q(c.unit), metres)) << q(c.text).toStdString();
            EXPECT_DOUBLE_EQ(metres, c.metres) << q(c.text).toStdString();
        } catch (const AppError& e) {
            ADD_FAILURE() << q(c.text).toStdString() << ": " << e.what();
        }
    }
    ExpectFailures(QStringLiteral("StrToMeter"), [](const QString& t) { StrToMeter(t, QStringLiteral("m")); },
                   {
                       {"km", plat::ErrTypeMismatch},
                       {"5km x", plat::ErrTypeMismatch},
                       {"1km km", plat::ErrTypeMismatch},
                       {"2 3", plat::ErrTypeMismatch},
                       {q(u"１．２．３ｍ"), plat::ErrTypeMismatch},   // two decimal points: no number
                       {"1E308AU", plat::ErrOverflow},
                       {"9e307AU-", plat::ErrOverflow},
                       {"1e308km 1e308km", plat::ErrOverflow},
                       {"1e308km-1e308km", plat::ErrOverflow},        // infinity minus infinity
                       {"1e400m", plat::ErrOverflow},
                   });
    for (const char* text : {"km", "5km x", "1km km", "2 3", "1E308AU", "1e400m", "x"}) {
        double metres = -1;
        EXPECT_FALSE(TryStrToMeter(QString::fromUtf8(text), QStringLiteral("m"), metres)) << text;
    }
}

TEST(NumberText, MyriadGroups) {
    const struct {
        double v;
        bool shortForm;
        const char16_t* text;
    } cases[] = {
        {0, false, u""},         {15000, false, u"1万5000"},     {-15000, true, u"-1.5万"},
        {15050, true, u"1万5050"}, {123400, true, u"12.34万"},    {123456789, true, u"1億2345万6789"},
        {150000001, true, u"1億5000万1"}, {109900000, true, u"1億990万"}, {-2147483647 - 1, false, u"-21億4748万3648"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LongToJpUnits(static_cast<int32_t>(c.v), c.shortForm), q(c.text)) << c.v;
        EXPECT_EQ(DoubleToJpUnits(c.v, c.shortForm), q(c.text)) << c.v;
    }
    EXPECT_EQ(DoubleToJpUnits(1.5e12, false), q(u"1兆5000億"));
    EXPECT_EQ(DoubleToJpUnits(1.2345e12, true), q(u"1兆2345億"));
    EXPECT_EQ(DoubleToJpUnits(1e12 + 1, true), q(u"1兆1"));
    EXPECT_EQ(DoubleToJpUnits(1234.5, true), q(u"1234.5"));
    {
        testsupport::CommaLocale comma;
        EXPECT_EQ(LongToJpUnits(120000000, true), q(u"1.2億"));
        EXPECT_EQ(DoubleToJpUnits(1.5e12, true), q(u"1.5兆"));
        EXPECT_EQ(DoubleToJpUnits(1234.5, true), q(u"1234.5"));
    }
    EXPECT_EQ(ArcSin(1.0000001), 1.5707963267949);   // beyond the domain: the end values
    EXPECT_EQ(ArcCos(-3), 3.14159265358979);
}
