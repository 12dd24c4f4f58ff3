#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <vector>

#include "EditingTestSupport.h"
#include "TestSupport.h"

using edittest::CoordinateMode;

namespace {
constexpr int32_t kBad = kInvalidMapCoordinate;
constexpr int32_t Sec(int32_t d, int32_t m = 0, int32_t s = 0) { return d * 3600 + m * 60 + s; }
std::vector<PolyPoint> PointsOf(const clsPoly& p) { return {p.Points().begin(), p.Points().end()}; }
QString Repeat(const QString& token, int n) { return (token + QLatin1Char(' ')).repeated(n); }
} // namespace

TEST(TextToPoly, PasteGrammar) {
    struct Case {
        int mode;
        QString text;
        std::vector<PolyPoint> points;
    } cases[] = {
        {1, "", {}},
        {1, " \r\n\t　 \r\n", {}},
        {1, "139.5 35.2 140 36", {{Sec(139, 30), 126720}, {Sec(140), Sec(36)}}},  // plain numbers: X, Y, X, ...
        {1, "N35 E139 N36 E140", {{Sec(139), Sec(35)}, {Sec(140), Sec(36)}}},
        {1, "E139 N35", {{Sec(139), Sec(35)}}},
        {1, "35 41 22N 139 41 30E", {{Sec(139, 41, 30), Sec(35, 41, 22)}}},
        {1, "35 41 22N 139 41 30E\r\n36 0 0N 140 0 0E", {{Sec(139, 41, 30), Sec(35, 41, 22)}, {Sec(140), Sec(36)}}},
        {1, "35 41.5N 139 41.5E", {{Sec(139, 41, 30), Sec(35, 41, 30)}}},
        {1, "35 41 22n 139 41 30e", {{Sec(139, 41, 30), Sec(35, 41, 22)}}},
        // Letters standing alone are tokens of their own and do not read.
        {1, "35 41 22 N 139 41 30 E", {{Sec(35), Sec(41)}, {Sec(22), kBad}, {Sec(139), Sec(41)}, {Sec(30), kBad}}},
        {1, "35度41分22\"N,139度41分30\"E", {{Sec(139, 41, 30), Sec(35, 41, 22)}}},
        {1, "35度41分22＂N 139度41分30＂E", {{Sec(139, 41, 30), Sec(35, 41, 22)}}},
        {1, "１３９．５，３５．２", {{Sec(139, 30), 126720}}},
        {1, "Ｎ３５　ｅ１３９", {{Sec(139), Sec(35)}}},
        {1, "北緯35度 東経139度", {{Sec(139), Sec(35)}}},
        {1, "1 2 3", {{Sec(1), Sec(2)}}},
        {1, "139\t35\r\n140,36", {{Sec(139), Sec(35)}, {Sec(140), Sec(36)}}},
        {1, ",139,35", {}},
        {1, "139,,35,36", {{Sec(139), kBad}, {Sec(35), Sec(36)}}},
        // Units of length keep their case: "m" is metres, "M" nautical miles.
        {2, "12.5 -3\r\n1km 200m", {{12500, -3000}, {1000, 200}}},
    };
    for (const Case& c : cases) {
        CoordinateMode mode(c.mode);
        EXPECT_EQ(PointsOf(TextToPoly(c.text)), c.points) << c.text.toStdString();
    }
}

TEST(TextToPoly, AtMost32767PointsAndReadingStopsAtAFullAxis) {
    CoordinateMode ll(1);
    EXPECT_EQ(TextToPoly(Repeat("1", 2 * 40000)).Count(), kMaxPastedPoints);
    EXPECT_EQ(TextToPoly(Repeat("E1", kMaxPastedPoints + 1) + Repeat("N1", 10)).Count(), 0);
    EXPECT_EQ(TextToPoly(Repeat("E1", kMaxPastedPoints) + Repeat("N1", 10)).Count(), 10);
}

TEST(PastedPoly, RefusesCoordinatesThatDoNotReadOrLieOutside) {
    struct Case {
        int mode;  // 0: none installed
        QString text;
        QString message;  // empty: accepted
        int32_t count;    // points pasted
    } cases[] = {
        {1, "N35 E139", "", 1},
        {1, "35 41 22 N 139 41 30 E", "2 番目の点の座標「N」を読み取れません.", 0},
        {1, "E139 N35 abc N36", "2 番目の点の座標「abc」を読み取れません.", 0},
        {1, "200 10", "180°00′00″W～180°00′00″E", 0},
        {1, "-180 -90 180 90", "", 2},
        {1, "10 95", "90°00′00″S～90°00′00″N", 0},
        {2, "40000 -40000", "", 1},
        {2, "50000 0", "X/Y", 0},
        {0, "1 2", "1 番目の点の座標「1」を読み取れません.", 0},
    };
    for (const Case& c : cases) {
        std::optional<CoordinateMode> mode;
        if (c.mode) mode.emplace(c.mode);
        testsupport::ScriptedBoxes boxes;
        if (!c.message.isEmpty()) boxes.expect(c.message, plat::IdOk);
        EXPECT_EQ(PastedPoly(c.text).Count(), c.count) << c.text.toStdString();
    }
}

TEST(PastedPoly, FromTheClipboardOnlyText) {
    CoordinateMode ll(1);
    QGuiApplication::clipboard()->setText("N35 E139\r\nN36 E140");
    EXPECT_EQ(GetPolyFromClip().Count(), 2);
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(GetPolyFromClip().Count(), 0);
}
