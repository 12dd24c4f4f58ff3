#include <gtest/gtest.h>

#include "FoundationTest.h"
#include "ErrorMng.h"
#include "QStringPrinter.h"
#include "basAngle.h"

#include <cmath>
#include <random>

namespace {

QString q(const char16_t* s) { return QString::fromUtf16(s); }

// The display settings are global: every test states the ones it needs.
void use(int16_t unit, int16_t symbol, int16_t dir = 2) {
    ASSERT_TRUE(SetAngleUnit(unit));
    ASSERT_TRUE(SetAngleSymbol(symbol));
    ASSERT_TRUE(SetAngleDirStyle(dir));
}

constexpr double kPi = 3.14159265358979;

} // namespace

// 487815 is 135 degrees 30 minutes 15 seconds: every unit in every style.
TEST(AngleText, EveryUnitAndSymbolStyle) {
    const char16_t* expected[5][6] = {
        {u"+135度30分15秒", u"+135°30′15″", u"+135d30m15s", u"+135ﾟ30'15\"", u"+135_30_15", u"+135 30 15"},
        {u"+135度30分", u"+135°30′", u"+135d30m", u"+135ﾟ30'", u"+135_30", u"+135 30"},
        {u"+0487815秒", u"+0487815″", u"+0487815s", u"+0487815\"", u"+0487815", u"+0487815"},
        {u"+135.5041667度", u"+135.5041667°", u"+135.5041667d", u"+135.5041667ﾟ", u"+135.5041667", u"+135.5041667"},
        {u"+2.364993859弧度", u"+2.364993859ｒａｄ", u"+2.364993859radian", u"+2.364993859rad", u"+2.364993859",
         u"+2.364993859"},
    };
    for (int16_t unit = 1; unit <= 5; ++unit) {
        for (int16_t style = 1; style <= 6; ++style) {
            use(unit, style);
            QString text = q(expected[unit - 1][style - 1]);
            EXPECT_EQ(SecToStr(487815), text) << "unit " << unit << " style " << style;
            text[0] = QLatin1Char('-');
            EXPECT_EQ(SecToStr(-487815), text) << "unit " << unit << " style " << style;
        }
    }
    EXPECT_FALSE(SetAngleUnit(6) || SetAngleSymbol(7) || SetAngleDirStyle(5));   // refused, the last ones kept
    EXPECT_EQ(GetAngleUnit(), 5);
}

TEST(AngleText, RoundingAndWrappedCounts) {
    const struct {
        int16_t unit;
        int32_t sec;
        const char16_t* text;
    } cases[] = {
        {2, -1, u"-000°00′"},   // the sign follows the input, not the rounded value
        {2, 1769, u"+000°29′"},
        {2, 1770, u"+000°30′"},
        {2, 3599 * 3600 + 3570, u"+600°00′"},
        {1, 3600000 + 487815, u"+135°30′15″"},   // degree counts keep three digits
        {1, INT32_MIN, u"-523°14′08″"},
        {3, 12345678, u"+2345678″"},
        {4, 5, u"+000.0013889°"},
        {4, INT32_MIN, u"-596523.2355556°"},
        {5, INT32_MIN, u"-10411.294525094ｒａｄ"},
    };
    for (const auto& c : cases) {
        use(c.unit, 2);
        EXPECT_EQ(SecToStr(c.sec), q(c.text)) << "unit " << c.unit << " sec " << c.sec;
    }
    use(1, 1);
    EXPECT_EQ(MinToStr(-8130), q(u"-135度30分"));
    EXPECT_THROW(MinToStr(40000000), plat::AppError);
}

// Direction styles over units; the longitude/latitude forms fold first.
TEST(AngleText, DirectionsAndFolding) {
    const struct {
        int16_t unit, symbol, dir;
        bool lat;
        int32_t sec;
        const char16_t* text;
    } cases[] = {
        {1, 2, 1, false, -443532, u"西経123°12′12″"}, {1, 2, 3, true, 127815, u"35°30′15″N"},
        {1, 2, 1, true, -127815, u"南緯35°30′15″"},   {1, 2, 4, true, 127815, u"+35°30′15″"},
        {1, 2, 2, false, 648001, u"W179°59′59″"},     {1, 2, 2, false, 648000, u"E180°00′00″"},
        {1, 2, 2, true, 324001, u"N89°59′59″"},       {1, 2, 2, true, -648000, u"N00°00′00″"},
        {2, 5, 3, false, 487815, u"135_30E"},         {3, 4, 4, true, -127815, u"-0127815\""},
        {4, 6, 3, false, -487815, u"135.5041667W"},   {5, 3, 1, false, -487815, u"西経2.364993859radian"},
    };
    for (const auto& c : cases) {
        use(c.unit, c.symbol, c.dir);
        EXPECT_EQ(c.lat ? LatToStr(c.sec) : LonToStr(c.sec), q(c.text)) << c.sec << " unit " << c.unit;
    }
    use(1, 2, 2);
    EXPECT_EQ(LonMinToStr(10860), q(u"W179°00′"));   // 181 degrees east
    EXPECT_EQ(LatMinToStr(5460), q(u"N89°00′"));     // 91 degrees, over the pole
    EXPECT_EQ(AngleToStr(-1296000 - 487815), q(u"-135°30′15″"));
    EXPECT_EQ(AddDirChr(q(u"+035°30′15″"), 3), q(u""));   // no kind, no direction
    EXPECT_EQ(AddDirChr(q(u"+1"), 1), q(u""));
}

TEST(AngleMath, Normalize) {
    const int32_t lon[][2] = {{648000, 648000}, {-648000, -648000}, {648001, -647999}, {-648001, 647999}, {1944000, 648000},
                              {-1944000, -648000}, {1944001, -647999}, {INT32_MIN, INT32_MIN + 1657 * 1296000}};
    for (const auto& c : lon) EXPECT_EQ(NormalizeLon(c[0]), c[1]) << c[0];
    const int32_t lat[][2] = {{324001, 323999}, {-324001, -323999}, {648000, 0}, {1296010, 10}, {972000, -324000}};
    for (const auto& c : lat) EXPECT_EQ(NormalizeLat(c[0]), c[1]) << c[0];
    int32_t lo = 700000, la = 400000;
    NormalizeLonLat(lo, la);
    EXPECT_EQ(lo, -596000);   // the latitude folding over the pole leaves the longitude alone
    EXPECT_EQ(la, 248000);
}

TEST(AngleMath, RadiansAndVectors) {
    for (int64_t s = INT32_MIN; s <= INT32_MAX; s += 6553) ASSERT_EQ(RadianToSec(SecToRadian(static_cast<int32_t>(s))), s);
    EXPECT_EQ(RadianToSec(SecToRadian(INT32_MAX)), INT32_MAX);
    EXPECT_EQ(RadianToSec(2.5 * 4.848136811095355e-6), 2);   // half to even
    for (double bad : {1e6, std::nan("")}) EXPECT_THROW(RadianToSec(bad), plat::AppError);

    EXPECT_EQ(AnglePosToRadian(-1, 0), -kPi);
    EXPECT_EQ(AnglePosToRadian(0, -1), -1.5707963267949);
    EXPECT_DOUBLE_EQ(AnglePosToRadian(-1, -1), std::atan(1.0) - kPi);
    // Both latitude branches, the poles' neighbourhood and the date line.
    for (const auto& p : {std::pair{0.3, 0.2}, {-2.5, -0.6}, {3.0, 0.8}, {-1.0, -1.5707}, {1.0, 1.2}}) {
        double vx, vy, vz, lon, lat;
        LonLatToVector(p.first, p.second, vx, vy, vz);
        VectorToLonLat(vx, vy, vz, lon, lat);
        EXPECT_NEAR(lon, p.first, 1e-9);
        EXPECT_NEAR(lat, p.second, 1e-12);
    }
}

// The formal text (its first letter the kind), the seconds and the kind.
TEST(AngleParse, AcceptedTexts) {
    const struct {
        const char16_t* text;
        const char16_t* formal;
        int32_t sec;
    } cases[] = {
        {u"-135.5", u" -135ﾟ30'00\"", -487800},     {u"-0", u" +000ﾟ00'00\"", 0},
        {u"東経135度30分15秒", u"X+135ﾟ30'15\"", 487815}, {u"135°30′15″E", u"X+135ﾟ30'15\"", 487815},
        {u"西経135度30分15秒", u"X-135ﾟ30'15\"", -487815}, {u"135 30.5", u" +135ﾟ30'30\"", 487830},
        {u"35.5N", u"Y+035ﾟ30'00\"", 127800},      {u"35S", u" +000ﾟ00'35\"", 35},   // S after digits: seconds
        {u"35 S", u"Y-035ﾟ00'00\"", -126000},      {u"-35S", u" -000ﾟ00'35\"", -35},
        {u"1.5rad", u" +085ﾟ56'37\"", 309397},     {u"2.5弧度", u" +143ﾟ14'22\"", 515662},
        {u"LON=135", u"X+135ﾟ00'00\"", 486000},    {u"λ135", u"X+135ﾟ00'00\"", 486000},
        {u"φ35", u"Y+035ﾟ00'00\"", 126000},        {u"1000", u" +000ﾟ00'00\"", 0},   // three degree digits only
        {u"北緯三十五度三十分", u"Y+035ﾟ30'00\"", 127800}, {u"135.30,15", u" +135ﾟ30'15\"", 487815},
        {u"ｗ１２３ｄ１２ｍ１２ｓ", u"X-123ﾟ12'12\"", -443532}, {u"135deg30min", u" +135ﾟ30'00\"", 487800},
        {u"N35 E", u"X+035ﾟ00'00\"", 126000},      {u"135゜30’15゛", u" +135ﾟ30'15\"", 487815},
        {u"12.5″", u" +000ﾟ00'12\"", 12},          {u"13.5″", u" +000ﾟ00'14\"", 14},   // halves to even
        {u"E0.000004848rad", u"X+000ﾟ00'01\"", 1}, {u"Y-089ﾟ59'59\"", u"Y-089ﾟ59'59\"", -323999},
        {u"596523.2", u" +523ﾟ12'00\"", 1883520},
    };
    for (const auto& c : cases) {
        const QString text = q(c.text), formal = AngleFormalStr(text);
        EXPECT_EQ(formal, q(c.formal)) << text.toStdString();
        EXPECT_EQ(AngleSecStrToVal(text), c.sec) << text.toStdString();
        int32_t sec = 0;
        EXPECT_TRUE(TryAngleSecStrToVal(text, sec) && sec == c.sec) << text.toStdString();
        EXPECT_EQ(AngleKindOf(text), formal[0] == u'X' ? 1 : formal[0] == u'Y' ? 2 : 0) << text.toStdString();
    }
}

// Unreadable texts fail with the library error, overflowing ones with the
// overflow error; AngleStrToSec gives 0 for both.
TEST(AngleParse, RejectedAndOverflowingTexts) {
    const QString zeros(400, QLatin1Char('0'));
    const std::pair<QString, int32_t> cases[] = {
        {q(u"135ﾟ 30'"), ErrLibrary}, {q(u"N 35"), ErrLibrary}, {q(u"1 2 3 4"), ErrLibrary}, {q(u"."), ErrLibrary},
        {q(u""), ErrLibrary},         {q(u"R"), ErrLibrary},    {q(u"0.5 弧度"), ErrLibrary}, {q(u"1.2E.3R"), ErrLibrary},
        // two points: no number
        {q(u"1.2.3"), ErrLibrary}, {q(u"1.2.3R"), ErrLibrary}, {q(u"1.5.5分"), ErrLibrary}, {q(u"135ﾟ30.5.5'"), ErrLibrary},
        {q(u"600000"), plat::ErrOverflow}, {q(u"1e300"), plat::ErrOverflow}, {q(u"99999999rad"), plat::ErrOverflow},
        // digit runs joined across a direction letter make one number
        {q(u"123456789012345E123456789012345ﾟ"), plat::ErrOverflow},
        {"1" + zeros.left(309), plat::ErrOverflow}, {"-1" + zeros, plat::ErrOverflow}, {"1," + zeros, plat::ErrOverflow},
    };
    for (const auto& [text, number] : cases) {
        const plat::AppError e = ftest::ErrorOf([&t = text] { AngleSecStrToVal(t); });
        EXPECT_EQ(e.number(), number) << text.left(20).toStdString();
        EXPECT_TRUE(e.source().startsWith(QStringLiteral("basAngle.AngleSecStrToVal/basAngle.AngleFormalStr/")));
        EXPECT_EQ(AngleStrToSec(text), 0) << text.left(20).toStdString();
        EXPECT_EQ(AngleKindOf(text), 0) << text.left(20).toStdString();
        int32_t sec = 7;
        EXPECT_FALSE(TryAngleSecStrToVal(text, sec)) << text.left(20).toStdString();
        EXPECT_EQ(sec, 7);
    }
}

// Whatever the display settings, a text the program writes reads back as the
// angle it shows: exactly, or to the minute in unit 2. Left out: units 3 and
// 5 in symbol styles 5 and 6 write no mark at all, so their bare number reads
// as degrees; and southern latitudes in those styles with the direction
// letter behind, where the S right after the last number is read as the
// second mark.
TEST(AngleParse, FormatThenParseGivesTheAngleBack) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int32_t> lonDist(-648000, 648000), latDist(-324000, 324000);
    std::vector<int32_t> lons = {0, -1, 648000, -648000, 29, 30, -30}, lats = {1, -1, 324000, -324000, 59, 3599};
    for (int i = 0; i < 20; ++i) lons.push_back(lonDist(rng)), lats.push_back(latDist(rng));
    auto atPrecision = [](int16_t unit, int32_t sec) {   // unit 2 shows whole minutes
        const int32_t r = (std::abs(sec) + 30) / 60 * 60;
        return unit != 2 ? sec : sec < 0 ? -r : r;
    };
    for (int16_t unit = 1; unit <= 5; ++unit) {
        for (int16_t symbol = 1; symbol <= 6; ++symbol) {
            if ((unit == 3 || unit == 5) && symbol >= 5) continue;
            for (int16_t dir = 1; dir <= 4; ++dir) {
                use(unit, symbol, dir);
                for (int32_t s : lons) {
                    ASSERT_EQ(AngleStrToSec(SecToStr(s)), atPrecision(unit, s)) << SecToStr(s).toStdString();
                    ASSERT_EQ(AngleStrToSec(LonToStr(s)), atPrecision(unit, s)) << LonToStr(s).toStdString();
                    ASSERT_EQ(AngleKindOf(LonToStr(s)), dir == 4 ? 0 : 1) << LonToStr(s).toStdString();
                }
                for (int32_t s : lats) {
                    if (symbol >= 5 && dir == 3 && s < 0) continue;
                    ASSERT_EQ(AngleStrToSec(LatToStr(s)), atPrecision(unit, s)) << LatToStr(s).toStdString();
                    ASSERT_EQ(AngleKindOf(LatToStr(s)), dir == 4 ? 0 : 2) << LatToStr(s).toStdString();
                }
            }
        }
    }
}
