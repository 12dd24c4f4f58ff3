#include "WorldFigures.h"

#include "SecRings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace worldsrc;

namespace {

constexpr int32_t D = SecPerDegree;

// What a flat drawing needs of every piece: inside ±180°, no step across the
// date line, and for a polygon at most half the globe wide.
void ExpectFlat(const clsPoly& p, bool polygon = true) {
    for (int32_t i = 1; i <= p.Count(); ++i) {
        EXPECT_LE(std::abs(p.x(i)), MaxLonSec);
        EXPECT_LE(std::abs(p.y(i)), MaxLatSec);
        if (i > 1) {
            EXPECT_LT(std::abs(p.x(i) - p.x(i - 1)), MaxLonSec) << "step at point " << i;
        }
    }
    if (polygon) {
        EXPECT_LE(LonSpan(p), MaxLonSec);
    }
}

} // namespace

TEST(WorldFigures, RingAcrossTheDateLineIsCutAndClosedThere) {
    const PolyCollection pieces = PolygonPieces(Sec({{179, -16}, {-179, -16}, {-179, -18}, {179, -18}, {179, -16}}));
    ASSERT_EQ(pieces.size(), 2u);
    double area = 0;
    for (const clsPoly& p : pieces) {
        ExpectFlat(p);
        EXPECT_TRUE(p.IsLoop());
        EXPECT_LE(LonSpan(p), D + 1);
        area += p.Area();
    }
    EXPECT_NEAR(area, 4.0 * D * D, 4.0 * D * 4);  // less the 1" strips beside the cut
    // One piece on each side.
    EXPECT_NE(pieces[0].RectBound().x1 > 0, pieces[1].RectBound().x1 > 0);
}

TEST(WorldFigures, RingRoundThePoleIsClosedAlongItAndHalved) {
    const SecRing coast = Sec({{-180, -70}, {-90, -72}, {0, -68}, {90, -71}, {180, -70}, {-180, -70}});
    const PolyCollection pieces = PolygonPieces(coast);
    ASSERT_GE(pieces.size(), 2u);
    int32_t south = 0;
    double area = 0;
    for (const clsPoly& p : pieces) {
        ExpectFlat(p);
        EXPECT_TRUE(p.IsLoop());
        south = std::min(south, p.RectBound().y1);
        area += p.Area();
    }
    EXPECT_EQ(south, -323970);  // closed along the pole, 30" from it
    // About the whole band from the coast down to the pole.
    EXPECT_NEAR(area / (double(D) * D), 360.0 * 20, 360.0 * 2);
}

TEST(WorldFigures, RingsWithoutAreaGiveNothing) {
    EXPECT_TRUE(PolygonPieces(Sec({{-180, -89.999}, {0, -89.999}, {178.6, -89.999}, {-180, -89.999}})).empty());
    EXPECT_TRUE(PolygonPieces(Sec({{10, 10}, {11, 11}, {10, 10}})).empty());
    EXPECT_TRUE(PolygonPieces({}).empty());
    // An ordinary ring stays one piece, as it was.
    const SecRing square = Sec({{10, 10}, {11, 10}, {11, 11}, {10, 11}, {10, 10}});
    const PolyCollection one = PolygonPieces(square);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(one[0].IsMatch(ToPoly(square)));
}

TEST(WorldFigures, LinesAreCutAtTheDateLine) {
    const PolyCollection pieces = LinePieces(Sec({{170, 60}, {179, 61}, {-179, 62}, {-170, 63}}));
    ASSERT_EQ(pieces.size(), 2u);
    for (const clsPoly& p : pieces) ExpectFlat(p, false);
    EXPECT_EQ(pieces[0].GetPoint(1), (PolyPoint{170 * D, 60 * D}));
    EXPECT_EQ(pieces[1].LastX(), -170 * D);

    const PolyCollection coast = LinePieces(Sec({{-180, -70}, {-90, -72}, {0, -68}, {90, -71}, {180, -70}}));
    ASSERT_FALSE(coast.empty());
    for (const clsPoly& p : coast) ExpectFlat(p, false);
    EXPECT_TRUE(LinePieces(Sec({{1, 1}})).empty());
}

TEST(WorldFigures, EuropeanNamesInLatin1) {
    struct Case {
        const char16_t* name;
        const char* bytes;
        bool changed;
    };
    const Case cases[] = {
        {u"Côte d'Ivoire", "C\xF4te d'Ivoire", false},
        {u"Åland Islands", "\xC5land Islands", false},
        {u"Łódź", "L\xF3" "dz", true},
        {u"Œuvre", "OEuvre", true},
        {u"Ōsaka", "Osaka", true},
        {u"Curaçao – Kralendijk’s", "Cura\xE7" "ao - Kralendijk's", true},
        {u"Ǻ", "\xC5", true},
    };
    for (const Case& c : cases) {
        bool changed = !c.changed;
        EXPECT_EQ(LatinName(QString::fromUtf16(c.name), &changed), QByteArray(c.bytes)) << QString::fromUtf16(c.name).toStdString();
        EXPECT_EQ(changed, c.changed) << QString::fromUtf16(c.name).toStdString();
    }
    EXPECT_THROW(LatinName(QStringLiteral("日本")), WorldSourceError);
}

TEST(WorldFigures, EuropeanNamesInAscii) {
    bool changed = false;
    EXPECT_EQ(AsciiName(QStringLiteral("Côte d'Ivoire"), &changed), QStringLiteral("Cote d'Ivoire"));
    EXPECT_TRUE(changed);
    EXPECT_EQ(AsciiName(QStringLiteral("Åland Islands")), QStringLiteral("Aland Islands"));
    EXPECT_EQ(AsciiName(QStringLiteral("Ǻ Færøerne Straße")), QStringLiteral("A Faeroerne Strasse"));
    EXPECT_EQ(AsciiName(QStringLiteral("Japan"), &changed), QStringLiteral("Japan"));
    EXPECT_FALSE(changed);
    EXPECT_THROW(AsciiName(QStringLiteral("×")), WorldSourceError);
}

TEST(WorldFigures, JapaneseNamesInShiftJis) {
    EXPECT_EQ(ShiftJisName(QStringLiteral("日本")), QByteArray("\x93\xFA\x96\x7B"));
    EXPECT_EQ(ShiftJisName(QStringLiteral("ココス（キーリング）諸島")).size(), 24);
    EXPECT_THROW(ShiftJisName(QStringLiteral("Bjørnøya")), WorldSourceError);
}
