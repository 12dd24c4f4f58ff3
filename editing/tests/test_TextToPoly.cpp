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

QString Repeat(const QString& token, int n) {
    QString s;
    s.reserve(n * (token.size() + 1));
    for (int i = 0; i < n; ++i) s += token + QLatin1Char(' ');
    return s;
}

} // namespace

TEST(TextToPoly, PasteGrammarOfLatitudeLongitudeMaps) {
    CoordinateMode ll(1);
    struct Case {
        const char* what;
        QString text;
        std::vector<PolyPoint> points;
    } cases[] = {
        {"empty", "", {}},
        {"blanks and line breaks", " \r\n\t　 \r\n", {}},
        {"plain numbers alternate X, Y", "139.5 35.2 140 36", {{Sec(139, 30), 126720}, {Sec(140), Sec(36)}}},
        {"hemisphere letters in front", "N35 E139 N36 E140", {{Sec(139), Sec(35)}, {Sec(140), Sec(36)}}},
        {"latitude before longitude pairs alike", "E139 N35", {{Sec(139), Sec(35)}}},
        {"degrees minutes seconds with blanks", "35 41 22N 139 41 30E", {{Sec(139, 41, 30), Sec(35, 41, 22)}}},
        {"two such points on two lines",
         "35 41 22N 139 41 30E\r\n36 0 0N 140 0 0E",
         {{Sec(139, 41, 30), Sec(35, 41, 22)}, {Sec(140), Sec(36)}}},
        {"degrees and decimal minutes", "35 41.5N 139 41.5E", {{Sec(139, 41, 30), Sec(35, 41, 30)}}},
        {"letters in lower case", "35 41 22n 139 41 30e", {{Sec(139, 41, 30), Sec(35, 41, 22)}}},
        {"letters standing alone are tokens of their own",
         "35 41 22 N 139 41 30 E",
         {{Sec(35), Sec(41)}, {Sec(22), kBad}, {Sec(139), Sec(41)}, {Sec(30), kBad}}},
        {"double quote as seconds mark", "35度41分22\"N,139度41分30\"E", {{Sec(139, 41, 30), Sec(35, 41, 22)}}},
        {"full-width quote as seconds mark",
         "35度41分22＂N 139度41分30＂E",
         {{Sec(139, 41, 30), Sec(35, 41, 22)}}},
        {"full-width digits, points and commas", "１３９．５，３５．２", {{Sec(139, 30), 126720}}},
        {"full-width letters and blanks", "Ｎ３５　ｅ１３９", {{Sec(139), Sec(35)}}},
        {"Japanese words", "北緯35度 東経139度", {{Sec(139), Sec(35)}}},
        {"surplus X dropped", "1 2 3", {{Sec(1), Sec(2)}}},
        {"tabs and commas from a spreadsheet", "139\t35\r\n140,36", {{Sec(139), Sec(35)}, {Sec(140), Sec(36)}}},
        {"a first token that is empty", ",139,35", {}},
        {"an empty token between commas does not read", "139,,35,36", {{Sec(139), kBad}, {Sec(35), Sec(36)}}},
    };
    for (const Case& c : cases) EXPECT_EQ(PointsOf(TextToPoly(c.text)), c.points) << c.what;
}

TEST(TextToPoly, LengthsInXYMaps) {
    CoordinateMode xy(2);
    EXPECT_EQ(PointsOf(TextToPoly("12.5 -3\r\n1km 200m")), (std::vector<PolyPoint>{{12500, -3000}, {1000, 200}}));
}

TEST(TextToPoly, AtMost32767PointsAndReadingStopsAtAFullAxis) {
    CoordinateMode ll(1);
    EXPECT_EQ(TextToPoly(Repeat("1", 2 * 40000)).Count(), kMaxPastedPoints);
    // The Y tokens after the X axis is full are never read.
    EXPECT_EQ(TextToPoly(Repeat("E1", kMaxPastedPoints + 1) + Repeat("N1", 10)).Count(), 0);
    EXPECT_EQ(TextToPoly(Repeat("E1", kMaxPastedPoints) + Repeat("N1", 10)).Count(), 10);
}

TEST(PastedPoly, RefusesCoordinatesThatDoNotReadOrLieOutside) {
    struct Case {
        int mode;
        QString text;
        QString message;  // empty: accepted
    } cases[] = {
        {1, "N35 E139", ""},
        {1, "35 41 22 N 139 41 30 E", "2 番目の点の座標「N」を読み取れません."},
        {1, "E139 N35 abc N36", "2 番目の点の座標「abc」を読み取れません."},
        {1, "200 10", "180°00′00″W～180°00′00″E"},
        {1, "-180 -90", ""},
        {1, "10 95", "90°00′00″S～90°00′00″N"},
        {2, "40000 -40000", ""},
        {2, "50000 0", "X/Y"},
    };
    for (const Case& c : cases) {
        CoordinateMode mode(c.mode);
        testsupport::ScriptedBoxes boxes;
        if (!c.message.isEmpty()) boxes.expect(c.message, plat::IdOk);
        const clsPoly p = PastedPoly(c.text);
        EXPECT_EQ(p.Count(), c.message.isEmpty() ? TextToPoly(c.text).Count() : 0) << c.text.toStdString();
    }
}

TEST(PastedPoly, NothingReadsBeforeTheMapModeIsInstalled) {
    testsupport::ScriptedBoxes boxes;
    boxes.expect("1 番目の点の座標「1」を読み取れません.", plat::IdOk);
    EXPECT_EQ(PastedPoly("1 2").Count(), 0);
}

TEST(GetPolyFromClip, TakesOnlyTextAndChecksIt) {
    CoordinateMode ll(1);
    QClipboard* clip = QGuiApplication::clipboard();
    clip->setText("N35 E139\r\nN36 E140");
    EXPECT_EQ(GetPolyFromClip().Count(), 2);

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clip->setImage(picture);
    EXPECT_EQ(GetPolyFromClip().Count(), 0);

    clip->setText("N95 E139");
    testsupport::ScriptedBoxes boxes;
    boxes.expect("90°00′00″S～90°00′00″N", plat::IdOk);
    EXPECT_EQ(GetPolyFromClip().Count(), 0);
}
