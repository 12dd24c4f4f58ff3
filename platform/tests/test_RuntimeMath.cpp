#include <gtest/gtest.h>

#include "AppError.h"
#include "RuntimeMath.h"
#include "TestSupport.h"

#include <clocale>
#include <cmath>

using namespace plat;

TEST(RuntimeMath, ConversionsRoundHalfToEven) {
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(3.5), 4);
    EXPECT_EQ(CLng(-2.5), -2);
    EXPECT_EQ(CLng(-0.5), 0);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(4.5), 4);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CLng(-2147483648.0), INT32_MIN);
}

TEST(RuntimeMath, OverflowAndNaNAreErrorsNotUndefined) {
    auto num = [](auto f) {
        try { f(); } catch (const AppError& e) { return e.number(); }
        return 0;
    };
    EXPECT_EQ(num([] { CLng(2147483647.5); }), ErrOverflow);
    EXPECT_EQ(num([] { CLng(std::nan("")); }), ErrOverflow);
    EXPECT_EQ(num([] { CInt(32767.5); }), ErrOverflow);
    EXPECT_EQ(num([] { Div(1, 0); }), ErrDivByZero);
    EXPECT_EQ(num([] { Div(INT64_MIN, -1); }), ErrOverflow);   // the one quotient beyond 64 bits
    EXPECT_EQ(num([] { Mod(1, 0); }), ErrDivByZero);
}

TEST(RuntimeMath, IntegerDivisionTruncatesAndRemainderFollowsDividend) {
    EXPECT_EQ(Div(-7, 2), -3);
    EXPECT_EQ(Mod(-7, 2), -1);
    EXPECT_EQ(Mod(7, -2), 1);
    EXPECT_EQ(Int(-1.5), -2);
    EXPECT_EQ(Fix(-1.5), -1);
}

TEST(RuntimeMath, ShortestText) {
    EXPECT_EQ(FormatShortest(35000), "35000");
    EXPECT_EQ(FormatShortest(0.35), "0.35");
    EXPECT_EQ(FormatShortest(1.5), "1.5");
    EXPECT_EQ(FormatShortest(-0.0), "0");
    EXPECT_EQ(FormatShortest(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatShortest(1e15), "1E+15");
    EXPECT_EQ(FormatShortest(999999999999999.0), "999999999999999");
    EXPECT_EQ(FormatShortest(0.0001), "0.0001");
    EXPECT_EQ(FormatShortest(0.00001), "1E-05");
}

TEST(RuntimeMath, ValReadsTheLeadingNumber) {
    EXPECT_EQ(Val(" 12 34abc"), 1234);
    EXPECT_EQ(Val("9000\""), 9000);
    EXPECT_EQ(Val("-1.5e3x"), -1500);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("&H10"), 16);
    EXPECT_EQ(Val("&HFFFF"), -1);                      // 16-bit literal
    EXPECT_EQ(Val("&H80000008"), -2147483640.0);       // 32-bit literal
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("1e"), 1);
}

TEST(RuntimeMath, CDblIsStrict) {
    EXPECT_EQ(CDbl(" 1,234.5 "), 1234.5);
    EXPECT_EQ(CDbl("-.5"), -0.5);
    EXPECT_EQ(CDbl("1E3"), 1000);
    EXPECT_EQ(CDbl("&HFF"), 255);
    EXPECT_THROW(CDbl(""), AppError);
    EXPECT_THROW(CDbl("1.2.3"), AppError);
    EXPECT_THROW(CDbl("12km"), AppError);
    EXPECT_THROW(CDbl("e5"), AppError);
    EXPECT_THROW(CDbl("1e"), AppError);
}

TEST(RuntimeMath, DecimalMarkDoesNotFollowTheProcessLocale) {
    testsupport::CommaLocale comma;
    EXPECT_EQ(Val("1.5"), 1.5);
    EXPECT_EQ(CDbl("2.25"), 2.25);
    EXPECT_EQ(CDbl("1,234.5"), 1234.5);   // what users type: the comma groups digits
    EXPECT_EQ(FormatShortest(1.06), "1.06");
    EXPECT_EQ(FormatShortest(-22.5), "-22.5");
    EXPECT_EQ(FormatShortest(1.36e15), "1.36E+15");
    EXPECT_EQ(FormatShortest(0.00001), "1E-05");
    EXPECT_EQ(FormatShortest(0.1 + 0.2), "0.3");
}

TEST(RuntimeMath, NumbersTooLargeForADoubleAreOverflow) {
    const QString zeros309(309, QLatin1Char('0')), zeros400(400, QLatin1Char('0'));
    struct Case {
        QString text;
        double value;   // +-inf: CDbl raises error 6, Val gives the infinity
    } cases[] = {
        {"1e999", HUGE_VAL},
        {"1" + zeros309, HUGE_VAL},
        {"-1" + zeros400, -HUGE_VAL},
        {"1" + zeros400 + ".5", HUGE_VAL},
        {"0.00" + zeros400 + "1e400", 1e-3},
        {"1e-999", 0},
        {"0." + zeros400 + "1", 0},
        {zeros400 + "7", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.left(12).toStdString());
        EXPECT_EQ(Val(c.text), c.value);
        if (std::isinf(c.value)) {
            try {
                CDbl(c.text);
                ADD_FAILURE() << "no error";
            } catch (const AppError& e) {
                EXPECT_EQ(e.number(), ErrOverflow);
            }
        } else {
            EXPECT_EQ(CDbl(c.text), c.value);
        }
    }
    // Thousands separators are CDbl's: the same integer with one overflows too.
    EXPECT_THROW(CDbl("1," + zeros400), AppError);
}
