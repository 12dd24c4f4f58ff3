#include <gtest/gtest.h>

#include "AppError.h"
#include "QStringPrinter.h"
#include "basAngle.h"

#include <cmath>
#include <cstdint>

namespace {

QString q(const char16_t* s) { return QString::fromUtf16(s); }

// The display settings are global: every test states the ones it needs.
void use(int16_t unit, int16_t symbol, int16_t dir = 2) {
    ASSERT_TRUE(SetAngleUnit(unit));
    ASSERT_TRUE(SetAngleSymbol(symbol));
    ASSERT_TRUE(SetAngleDirStyle(dir));
}

constexpr double kPi = 3.14159265358979;
constexpr double kHalfPi = 1.5707963267949;

} // namespace

TEST(AngleSettings, OutOfRangeIsRefusedAndKept) {
    use(3, 2);
    EXPECT_FALSE(SetAngleUnit(0));
    EXPECT_FALSE(SetAngleUnit(6));
    EXPECT_EQ(GetAngleUnit(), 3);
    EXPECT_FALSE(SetAngleSymbol(7));
    EXPECT_FALSE(SetAngleDirStyle(5));
    EXPECT_EQ(SecToStr(35), q(u"+0000035″"));
}

// 487815 is 135 degrees 30 minutes 15 seconds: every unit in every style.
TEST(SecToStr, EveryUnitAndSymbolStyle) {
    const char16_t* expected[5][6] = {
        {u"+135度30分15秒", u"+135°30′15″", u"+135d30m15s", u"+135ﾟ30'15\"", u"+135_30_15", u"+135 30 15"},
        {u"+135度30分", u"+135°30′", u"+135d30m", u"+135ﾟ30'", u"+135_30", u"+135 30"},
        {u"+0487815秒", u"+0487815″", u"+0487815s", u"+0487815\"", u"+0487815", u"+0487815"},
        {u"+135.5041667度", u"+135.5041667°", u"+135.5041667d", u"+135.5041667ﾟ", u"+135.5041667",
         u"+135.5041667"},
        {u"+2.364993859弧度", u"+2.364993859ｒａｄ", u"+2.364993859radian", u"+2.364993859rad", u"+2.364993859",
         u"+2.364993859"},
    };
    for (int16_t unit = 1; unit <= 5; ++unit) {
        for (int16_t style = 1; style <= 6; ++style) {
            use(unit, style);
            EXPECT_EQ(SecToStr(487815), q(expected[unit - 1][style - 1])) << "unit " << unit << " style " << style;
            QString negative = q(expected[unit - 1][style - 1]);
            negative[0] = QLatin1Char('-');
            EXPECT_EQ(SecToStr(-487815), negative) << "unit " << unit << " style " << style;
        }
    }
}

TEST(SecToStr, ZeroRoundingAndWrappedCounts) {
    const struct {
        int16_t unit;
        int32_t sec;
        const char16_t* text;
    } cases[] = {
        {1, 0, u"+000°00′00″"},
        {1, -127815, u"-035°30′15″"},
        {2, -1, u"-000°00′"},          // the sign follows the input, not the rounded value
        {2, 1799, u"+000°30′"},
        {2, 1769, u"+000°29′"},
        {2, 1770, u"+000°30′"},
        {2, 3599 * 3600 + 3570, u"+600°00′"},
        {1, 3600000 + 487815, u"+135°30′15″"},   // degree counts keep three digits
        {1, INT32_MIN, u"-523°14′08″"},
        {1, INT32_MAX, u"+523°14′07″"},
        {3, 12345678, u"+2345678″"},
        {3, -1, u"-0000001″"},
        {4, 3600000, u"+1000.0000000°"},
        {4, 1, u"+000.0002778°"},
        {4, 5, u"+000.0013889°"},
        {4, -1799, u"-000.4997222°"},
        {4, INT32_MIN, u"-596523.2355556°"},
        {5, 0, u"+0.000000000ｒａｄ"},
        {5, 648000, u"+3.141592654ｒａｄ"},
        {5, INT32_MIN, u"-10411.294525094ｒａｄ"},
    };
    for (const auto& c : cases) {
        use(c.unit, 2);
        EXPECT_EQ(SecToStr(c.sec), q(c.text)) << "unit " << c.unit << " sec " << c.sec;
    }
}

TEST(MinToStr, MinutePrecision) {
    use(1, 2);
    EXPECT_EQ(MinToStr(8130), q(u"+135°30′"));
    use(1, 1);
    EXPECT_EQ(MinToStr(-8130), q(u"-135度30分"));
    use(1, 6);
    EXPECT_EQ(MinToStr(8130), q(u"+135 30"));
    use(1, 5);
    EXPECT_EQ(MinToStr(8130), q(u"+135_30"));
    use(3, 3);
    EXPECT_EQ(MinToStr(8130), q(u"+0487800s"));
    EXPECT_THROW(MinToStr(40000000), plat::AppError);
}

TEST(AddDirChr, DirectionStylesAndKinds) {
    const struct {
        int16_t dir;
        int16_t kind;
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {1, 1, u"-123°12′12″", u"西経123°12′12″"},
        {2, 1, u"-123°12′12″", u"W123°12′12″"},
        {3, 1, u"-123°12′12″", u"123°12′12″W"},
        {4, 1, u"-123°12′12″", u"-123°12′12″"},
        {1, 1, u"+123°12′12″", u"東経123°12′12″"},
        {1, 2, u"+035°30′15″", u"北緯35°30′15″"},
        {1, 2, u"-035°30′15″", u"南緯35°30′15″"},
        {2, 2, u"+035°30′15″", u"N35°30′15″"},
        {3, 2, u"+035°30′15″", u"35°30′15″N"},
        {3, 2, u"-035°30′15″", u"35°30′15″S"},
        {4, 2, u"+035°30′15″", u"+35°30′15″"},
        {2, 3, u"+035°30′15″", u""},
        {4, 3, u"+035°30′15″", u"+035°30′15″"},
        {2, 1, u"+1", u""},
        {4, 2, u"", u""},
    };
    use(1, 2);
    for (const auto& c : cases) {
        ASSERT_TRUE(SetAngleDirStyle(c.dir));
        EXPECT_EQ(AddDirChr(q(c.in), c.kind), q(c.out)) << q(c.in).toStdString() << " dir " << c.dir;
    }
}

// Latitudes show two degree digits in the units with a three-digit degree
// count, and the longitude/latitude forms fold their input first.
TEST(LonLatToStr, DirectionsOverUnitsAndFolding) {
    const struct {
        int16_t unit, symbol, dir;
        bool lat;
        int32_t sec;
        const char16_t* text;
    } cases[] = {
        {1, 2, 2, false, -443532, u"W123°12′12″"},
        {1, 2, 3, true, 127815, u"35°30′15″N"},
        {1, 2, 2, false, 648001, u"W179°59′59″"},
        {1, 2, 2, false, -648000, u"W180°00′00″"},
        {1, 2, 2, false, 648000, u"E180°00′00″"},
        {1, 2, 2, true, 324001, u"N89°59′59″"},
        {1, 2, 2, true, -648000, u"N00°00′00″"},
        {1, 2, 2, true, 0, u"N00°00′00″"},
        {2, 1, 1, true, -127815, u"南緯35度30分"},
        {2, 5, 3, false, 487815, u"135_30E"},
        {3, 2, 2, true, 127815, u"N0127815″"},
        {3, 4, 4, true, -127815, u"-0127815\""},
        {4, 2, 2, true, 127815, u"N35.5041667°"},
        {4, 6, 3, false, -487815, u"135.5041667W"},
        {5, 4, 2, true, 127815, u"N0.619664607rad"},
        {5, 3, 1, false, -487815, u"西経2.364993859radian"},
    };
    for (const auto& c : cases) {
        use(c.unit, c.symbol, c.dir);
        EXPECT_EQ(c.lat ? LatToStr(c.sec) : LonToStr(c.sec), q(c.text)) << c.sec << " unit " << c.unit;
    }
    use(1, 2, 2);
    EXPECT_EQ(LonMinToStr(8130), q(u"E135°30′"));
    EXPECT_EQ(LonMinToStr(10860), q(u"W179°00′"));    // 181 degrees east
    EXPECT_EQ(LatMinToStr(-2130), q(u"S35°30′"));
    EXPECT_EQ(LatMinToStr(5460), q(u"N89°00′"));      // 91 degrees, over the pole
    EXPECT_EQ(AngleToStr(1296000 + 487815), q(u"+135°30′15″"));
    EXPECT_EQ(AngleToStr(-1296000 - 487815), q(u"-135°30′15″"));
    EXPECT_EQ(AngleToStr(1296000), q(u"+000°00′00″"));
}

TEST(Normalize, LongitudesAndLatitudes) {
    const int32_t lon[][2] = {
        {648000, 648000},   {-648000, -648000},  {648001, -647999},  {-648001, 647999},
        {-1944000, -648000}, {1944001, -647999}, {1296000, 0},        {0, 0},
        {INT32_MAX, INT32_MAX - 1657 * 1296000}, {INT32_MIN, INT32_MIN + 1657 * 1296000},
    };
    for (const auto& c : lon) EXPECT_EQ(NormalizeLon(c[0]), c[1]) << c[0];
    const int32_t lat[][2] = {
        {324001, 323999}, {-324001, -323999}, {648000, 0}, {1296010, 10},
        {324000, 324000}, {-324000, -324000}, {-648000, 0}, {972000, -324000},
    };
    for (const auto& c : lat) EXPECT_EQ(NormalizeLat(c[0]), c[1]) << c[0];
    for (int32_t v = -3000000; v <= 3000000; v += 997) {
        EXPECT_TRUE(NormalizeLon(v) >= -648000 && NormalizeLon(v) <= 648000);
        EXPECT_EQ((static_cast<int64_t>(NormalizeLon(v)) - v) % 1296000, 0);
        EXPECT_TRUE(NormalizeLat(v) >= -324000 && NormalizeLat(v) <= 324000);
    }
    int32_t lo = 700000, la = 400000;
    NormalizeLonLat(lo, la);
    EXPECT_EQ(lo, -596000);   // the latitude folding over the pole leaves the longitude alone
    EXPECT_EQ(la, 248000);
}

TEST(Radians, RoundTripOverTheWholeRange) {
    for (int32_t s = -1296000; s <= 1296000; ++s) {
        if (RadianToSec(SecToRadian(s)) != s) {
            ADD_FAILURE() << s;
            break;
        }
    }
    for (int64_t s = INT32_MIN; s <= INT32_MAX; s += 65521) {
        ASSERT_EQ(RadianToSec(SecToRadian(static_cast<int32_t>(s))), s);
    }
    EXPECT_EQ(RadianToSec(SecToRadian(INT32_MAX)), INT32_MAX);
    EXPECT_EQ(RadianToSec(SecToRadian(INT32_MIN)), INT32_MIN);
    EXPECT_EQ(RadianToSec(2.5 * 4.848136811095355e-6), 2);   // half to even
    EXPECT_EQ(RadianToSec(3.5 * 4.848136811095355e-6), 4);
    for (double bad : {1e6, -1e6, std::nan("")}) {
        try {
            RadianToSec(bad);
            ADD_FAILURE() << bad;
        } catch (const plat::AppError& e) {
            EXPECT_EQ(e.number(), plat::ErrOverflow);
        }
    }
}

TEST(Vectors, DirectionRotationAndSphere) {
    EXPECT_EQ(AnglePosToRadian(-1, 0), -kPi);
    EXPECT_EQ(AnglePosToRadian(0, 0), 0);
    EXPECT_EQ(AnglePosToRadian(0, 1), kHalfPi);
    EXPECT_EQ(AnglePosToRadian(0, -1), -kHalfPi);
    EXPECT_DOUBLE_EQ(AnglePosToRadian(1, 1), std::atan(1.0));
    EXPECT_DOUBLE_EQ(AnglePosToRadian(-1, 1), kPi - std::atan(1.0));
    EXPECT_DOUBLE_EQ(AnglePosToRadian(1, -2), std::atan(0.5) - kHalfPi);
    EXPECT_DOUBLE_EQ(AnglePosToRadian(-1, -1), std::atan(1.0) - kPi);

    double x = 1, y = 0;
    RotateXY(kHalfPi, x, y);
    EXPECT_NEAR(x, 0, 1e-14);
    EXPECT_NEAR(y, 1, 1e-14);
    x = 2, y = 1;
    RotateXY(-kPi, x, y);
    EXPECT_NEAR(x, -2, 1e-13);
    EXPECT_NEAR(y, -1, 1e-13);

    double vx, vy, vz;
    LonLatToVector(0, 0, vx, vy, vz);
    EXPECT_NEAR(vx, 0, 1e-15);
    EXPECT_NEAR(vy, 0, 1e-15);
    EXPECT_NEAR(vz, -1, 1e-15);
    // Both latitude branches, the poles' neighbourhood and the date line.
    const double points[][2] = {{0.3, 0.2}, {-2.5, -0.6}, {3.0, 0.8}, {-1.0, -1.5707}, {1.0, 1.2}};
    for (const auto& p : points) {
        LonLatToVector(p[0], p[1], vx, vy, vz);
        EXPECT_NEAR(vx * vx + vy * vy + vz * vz, 1, 1e-15);
        double lon, lat;
        VectorToLonLat(vx, vy, vz, lon, lat);
        EXPECT_NEAR(lon, p[0], 1e-9);
        EXPECT_NEAR(lat, p[1], 1e-12);
    }
}
