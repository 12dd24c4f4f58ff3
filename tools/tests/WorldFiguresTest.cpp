#include "WorldFigures.h"

#include "RingGeometry.h"

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
        EXPECT_TRUE(std::abs(p.x(i)) <= MaxLonSec && std::abs(p.y(i)) <= MaxLatSec) << "point " << i;
        EXPECT_TRUE(i == 1 || std::abs(p.x(i) - p.x(i - 1)) < MaxLonSec) << "step at point " << i;
    }
    EXPECT_TRUE(!polygon || (p.IsLoop() && LonSpan(p) <= MaxLonSec));
}

} // namespace

TEST(WorldFigures, RingAcrossTheDateLineIsCutAndClosedThere) {
    const PolyCollection pieces = PolygonPieces(ToSeconds({{179, -16}, {-179, -16}, {-179, -18}, {179, -18}, {179, -16}}));
    ASSERT_EQ(pieces.size(), 2u);
    double area = 0;
    for (const clsPoly& p : pieces) {
        ExpectFlat(p);
        EXPECT_LE(LonSpan(p), D + 1);
        area += p.Area();
    }
    EXPECT_NEAR(area, 4.0 * D * D, 4.0 * D * 4);  // less the 1" strips beside the cut
    // One piece on each side.
    EXPECT_NE(pieces[0].RectBound().x1 > 0, pieces[1].RectBound().x1 > 0);
}

TEST(WorldFigures, RingRoundThePoleIsClosedAlongItAndHalved) {
    const SecRing coast = ToSeconds({{-180, -70}, {-90, -72}, {0, -68}, {90, -71}, {180, -70}, {-180, -70}});
    const PolyCollection pieces = PolygonPieces(coast);
    ASSERT_GE(pieces.size(), 2u);
    int32_t south = 0;
    double area = 0;
    for (const clsPoly& p : pieces) {
        ExpectFlat(p);
        south = std::min(south, p.RectBound().y1);
        area += p.Area();
    }
    EXPECT_EQ(south, -323970);  // closed along the pole, 30" from it
    // About the whole band from the coast down to the pole.
    EXPECT_NEAR(area / (double(D) * D), 360.0 * 20, 360.0 * 2);
}

TEST(WorldFigures, RingsWithoutAreaGiveNothing) {
    EXPECT_TRUE(PolygonPieces(ToSeconds({{-180, -89.999}, {0, -89.999}, {178.6, -89.999}, {-180, -89.999}})).empty());
    EXPECT_TRUE(PolygonPieces({}).empty());
    // An ordinary ring stays one piece, as it was.
    const SecRing square = ToSeconds({{10, 10}, {11, 10}, {11, 11}, {10, 11}, {10, 10}});
    const PolyCollection one = PolygonPieces(square);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(one[0].IsMatch(ToPoly(square)));
}

TEST(WorldFigures, LinesAreCutAtTheDateLine) {
    const PolyCollection pieces = LinePieces(ToSeconds({{170, 60}, {179, 61}, {-179, 62}, {-170, 63}}));
    ASSERT_EQ(pieces.size(), 2u);
    for (const clsPoly& p : pieces) ExpectFlat(p, false);
    EXPECT_EQ(pieces[0].GetPoint(1), (PolyPoint{170 * D, 60 * D}));
    EXPECT_EQ(pieces[1].LastX(), -170 * D);

    const PolyCollection coast = LinePieces(ToSeconds({{-180, -70}, {-90, -72}, {0, -68}, {90, -71}, {180, -70}}));
    ASSERT_FALSE(coast.empty());
    for (const clsPoly& p : coast) ExpectFlat(p, false);
    EXPECT_TRUE(LinePieces(ToSeconds({{1, 1}})).empty());
}

// Latin-1 where it holds the letter, else the nearest letters; ASCII with
// the marks taken off. `changed` tells whether the text lost anything.
TEST(WorldFigures, EuropeanNames) {
    const std::tuple<const char16_t*, const char*, bool, const char*> cases[] = {
        {u"Côte d'Ivoire", "C\xF4te d'Ivoire", false, "Cote d'Ivoire"},
        {u"Łódź", "L\xF3" "dz", true, "Lodz"},
        {u"Œuvre", "OEuvre", true, "OEuvre"},
        {u"Curaçao – Kralendijk’s", "Cura\xE7" "ao - Kralendijk's", true, "Curacao - Kralendijk's"},
        {u"Ǻ Færøerne Straße", "\xC5 F\xE6r\xF8" "erne Stra\xDF" "e", true, "A Faeroerne Strasse"},
        {u"Japan", "Japan", false, "Japan"},
    };
    for (const auto& [name, latin, latinChanged, ascii] : cases) {
        const QString text = QString::fromUtf16(name);
        bool changed = !latinChanged;
        EXPECT_EQ(LatinName(text, &changed), QByteArray(latin)) << text.toStdString();
        EXPECT_EQ(changed, latinChanged) << text.toStdString();
        changed = false;
        EXPECT_EQ(AsciiName(text, &changed), QString::fromLatin1(ascii)) << text.toStdString();
        EXPECT_EQ(changed, text != QString::fromLatin1(ascii)) << text.toStdString();
    }
    EXPECT_THROW(LatinName(QStringLiteral("日本")), WorldSourceError);
    EXPECT_THROW(AsciiName(QStringLiteral("×")), WorldSourceError);
}

TEST(WorldFigures, JapaneseNamesInShiftJis) {
    EXPECT_EQ(ShiftJisName(QStringLiteral("日本")), QByteArray("\x93\xFA\x96\x7B"));
    EXPECT_EQ(ShiftJisName(QStringLiteral("ココス（キーリング）諸島")).size(), 24);
    EXPECT_THROW(ShiftJisName(QStringLiteral("Bjørnøya")), WorldSourceError);
}
