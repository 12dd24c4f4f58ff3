#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "AppInfo.h"
#include "Clock.h"
#include "EpsTestSupport.h"
#include "MessageBox.h"
#include "SysColors.h"
#include "TestSupport.h"
#include "clsMap.h"
#include "clsMapRem.h"
#include "clsMapUnit.h"
#include "clsPostScript.h"

namespace {

clsPoly polyOf(std::initializer_list<std::pair<int, int>> pts) {
    clsPoly p;
    for (const auto& [x, y] : pts) p.AddXandY(x, y);
    return p;
}

// The program lines written since psBegin's block.
QList<QByteArray> linesAfterBegin(const clsPostScript& ps) {
    QList<QByteArray> lines = ps.ProgramText().split('\n');
    for (QByteArray& l : lines) l.chop(l.endsWith('\r') ? 1 : 0);
    const qsizetype start = lines.indexOf("UserInitialize");
    lines = lines.mid(start + 2);
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

clsPostScript begun(int width = 800, int height = 600, int dpi = 96) {
    clsPostScript ps;
    ps.setDpi(dpi);
    ps.setLeft(0);
    ps.setTop(0);
    ps.setWidth(width);
    ps.setHeight(height);
    ps.psBegin();
    return ps;
}

QString prologPath() { return QStringLiteral(KAL_SOURCE_DIR "/data/KALDERO.PS"); }

} // namespace

TEST(PsText, ColorsAreRadixNumbersOfTheResolvedColour) {
    const struct {
        int32_t color;
        const char* text;
    } cases[] = {
        {-1, "-1"},
        {0, "16#000000"},
        {0x0000FF, "16#0000FF"},            // red, blue first
        {0x123456, "16#123456"},
        {int32_t(0x80000000u | plat::COLOR_WINDOW), "16#FFFFFF"},       // system colours have no digits of their own
        {int32_t(0x80000000u | plat::COLOR_WINDOWTEXT), "16#000000"},
        {0x02ABCDEF, "16#ABCDEF"},          // a palette-relative value keeps its colour
    };
    for (const auto& c : cases) EXPECT_EQ(PsColorText(c.color), QByteArray(c.text)) << c.color;
}

TEST(PsText, StringLiteralsEscapeWhatWouldEndThem) {
    const struct {
        QByteArray bytes;
        const char* literal;
    } cases[] = {
        {"abc", "(abc)"},
        {"a(b\\c)", "(a\\(b\\\\c\\))"},
        {")(", "(\\)\\()"},
        {"\xE9", "(\\351)"},
        {"\x80\xFF", "(\\200\\377)"},
        {"a\r\nb\t\x7F", "(a\\015\\012b\\011\\177)"},
        {"", "()"},
    };
    for (const auto& c : cases) EXPECT_EQ(PsStringLiteral(c.bytes), QByteArray(c.literal));
    EXPECT_EQ(PsHexString(QByteArray("\x93\xFA\x00", 3)), QByteArray("<93fa00>"));
}

TEST(PsText, EveryByteReadsBackThroughGhostscriptAsItself) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QByteArray texts[] = {"a(b\\c)", "((", "\\", ")", all};
    for (const QByteArray& text : texts) {
        const QByteArray program = PsStringLiteral(text) + " print flush\n";
        const epstest::GsRun r = epstest::RunGhostscript(
            {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dNODISPLAY"), QStringLiteral("-dBATCH"),
             QStringLiteral("-dNOPAUSE"), QStringLiteral("-")},
            program);
        ASSERT_TRUE(r.started);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.output, text) << program.constData();
    }
}

TEST(PsText, RealsTakeTheirShortestForm) {
    EXPECT_EQ(PsReal(1), "1");
    EXPECT_EQ(PsReal(0.75), "0.75");
    EXPECT_EQ(PsReal(2.5), "2.5");
    EXPECT_EQ(PsReal(72.0 / 300), "0.24");
    EXPECT_EQ(PsReal(72.0 / 7), "10.285714285714286");
}

TEST(PsText, PathsListThePointsBackwardsTenPairsALine) {
    // A closed square: the repeated point is dropped and the flag set.
    EXPECT_EQ(PsPathPoly(polyOf({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}})),
              QByteArray("newpath\r\n0 10 10 10 10 0 0 0 \r\n4 1 AddPathPoly"));
    clsPoly ten;
    for (int i = 1; i <= 10; ++i) ten.AddXandY(i, 2 * i);
    EXPECT_EQ(PsPathPoly(ten),
              QByteArray("newpath\r\n10 20 9 18 8 16 7 14 6 12 5 10 4 8 3 6 2 4 1 2\r\n10 0 AddPathPoly"));
    clsPoly eleven = ten;
    eleven.AddXandY(0, 0);
    EXPECT_EQ(PsPathPoly(eleven), QByteArray("newpath\r\n0 0 10 20 9 18 8 16 7 14 6 12 5 10 4 8 3 6 2 4\r\n"
                                            "1 2 \r\n11 0 AddPathPoly"));
    EXPECT_EQ(PsPathPoly(polyOf({{5, 5}})), QByteArray());
    EXPECT_EQ(PsPathPoly(polyOf({{INT32_MIN, INT32_MIN}, {INT32_MAX, -1}})),
              QByteArray("newpath\r\n2147483647 -1 -2147483648 -2147483648 \r\n2 0 AddPathPoly"));
    // Three points with the last equal to the first are no ring.
    EXPECT_EQ(PsPathPoly(polyOf({{0, 0}, {4, 0}, {0, 0}})), QByteArray("newpath\r\n0 0 4 0 0 0 \r\n3 0 AddPathPoly"));
}

TEST(clsPostScript, BeginSetsUpPixelsAsPoints) {
    const clsPostScript ps = begun(800, 600, 96);
    const QList<QByteArray> lines = ps.ProgramText().split('\n');
    ASSERT_GE(lines.size(), 24);
    EXPECT_EQ(lines[0], QByteArray("% ==== Begin Program ") + QByteArray(59, '=') + '\r');
    EXPECT_EQ(lines[4], "/KalderoLogicalScale 0.75 def\r");
    EXPECT_EQ(lines[6], "0 -600 translate\r");
    EXPECT_EQ(lines[9], "0 0 moveto\r");
    EXPECT_EQ(lines[11], "800 600 lineto\r");
    EXPECT_EQ(lines[22], "UserInitialize\r");
    EXPECT_EQ(lines[23], "\r");
    EXPECT_TRUE(ps.ProgramText().endsWith("UserInitialize\r\n\r\n"));
    EXPECT_EQ(ps.Width(), 801);   // the right edge is the width itself
}

TEST(clsPostScript, AreaSettings) {
    clsPostScript ps;
    ps.setWidth(31);        // below the smallest
    ps.setWidth(100000);    // beyond the largest image
    EXPECT_EQ(ps.Area(), clsRect(0, 0, 999, 999));
    ps.setWidth(400);
    ps.setLeft(10);         // keeps the width
    EXPECT_EQ(ps.Area(), clsRect(10, 0, 410, 999));
    ps.setDpi(0);
    ps.setDpi(10001);
    EXPECT_EQ(ps.LogicalScale(), 1.0);   // until a resolution is set
    ps.setDpi(300);
    EXPECT_DOUBLE_EQ(ps.LogicalScale(), 0.24);

    const struct {
        const char* given;
        const char* eps;
        const char* prolog;
    } names[] = {
        {"/maps/world.txt", "/maps/world.EPS", "/maps/world.PS"},
        {"/maps/world.eps", "/maps/world.eps", "/maps/world.PS"},
        {"/maps/kaldero.ps", "/maps/kaldero.EPS", "/maps/kaldero.ps"},
        {"/maps/noext", "/maps/noext.EPS", "/maps/noext.PS"},
    };
    for (const auto& n : names) {
        ps.setFileName(QString::fromUtf8(n.given));
        ps.setResourcePS(QString::fromUtf8(n.given));
        EXPECT_EQ(ps.FileName(), QString::fromUtf8(n.eps));
        EXPECT_EQ(ps.ResourcePS(), QString::fromUtf8(n.prolog));
    }
}

TEST(clsPostScript, DrawingLinesAndTheirConditions) {
    clsPostScript ps = begun(800, 600, 96);
    ps.setPolylineRatio(150);
    ps.setPolygonRatio(5);      // out of range: stays 1
    ps.setSymbolRatio(200);
    ps.psSetPen(102, 3, 0x0000FF, -1);
    ps.psSetBrush(8, 0xFF0000, -1);
    ps.psSetBrush(3, 0xFF0000, 0x00FF00);
    ps.psSetSymbol(7, 0, 0, int32_t(0x80000000u | plat::COLOR_WINDOW));
    ps.psStrokeLine(clsLine(-100, 10, 100, 10));      // clipped
    ps.psStrokeLine(clsLine(-100, -10, -5, -10));     // nothing left
    ps.psStrokeRect(clsRect(-5, -5, 5, 5));           // never clipped
    ps.psFillRect(clsRect(900, 700, 700, 500));       // normalised and cut
    ps.psFillRect(clsRect(900, 700, 1000, 800));      // outside
    ps.psDrawSymbol(800, 600);                        // the edges are inside
    ps.psDrawSymbol(801, 600);
    ps.psComment(QStringLiteral("# 日本"));
    ps.psProgram(QStringLiteral("  raw  "));
    const QList<QByteArray> expect = {
        "102 1.5 3 16#0000FF -1 SelectPen",
        "6 1 16#FF0000 -1 SelectBrush",
        "3 1 16#FF0000 16#00FF00 SelectBrush",
        "7 2 0 16#000000 16#FFFFFF SelectSymbol",
        "0 10 100 10 StrokeLine",
        "-5 -5 5 5 StrokeRect",
        "700 500 800 600 FillRect",
        "800 600 DrawSymbol",
        "% # \x93\xfa\x96{",
        "  raw  ",
    };
    EXPECT_EQ(linesAfterBegin(ps), expect);
}

TEST(clsPostScript, PolylinesArePiecesInsideTheArea) {
    clsPostScript ps = begun(800, 600, 96);
    // In and out of the area three times.
    ps.psStrokePoly(polyOf({{10, 10}, {10, -50}, {20, -50}, {20, 10}, {20, 700}, {30, 700}, {30, 10}, {-50, 10},
                            {-50, 20}}));
    int strokes = 0;
    for (const QByteArray& l : linesAfterBegin(ps)) strokes += l.endsWith(" StrokePoly");
    EXPECT_EQ(strokes, 3);

    clsPostScript one = begun();
    one.psStrokePoly(polyOf({{5, 5}}));
    one.psStrokePoly(polyOf({{5, 5}, {5, 5}, {5, 5}}));   // repeated points leave one point
    one.psFillPoly(polyOf({{-10, -10}, {-5, -10}, {-5, -5}, {-10, -10}}));
    EXPECT_TRUE(linesAfterBegin(one).isEmpty());

    clsPostScript fill = begun();
    fill.psFillPoly(polyOf({{-10, 10}, {50, 10}, {50, 50}, {-10, 10}}));
    const QList<QByteArray> lines = linesAfterBegin(fill);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().endsWith(" 1 AddPathPoly FillPoly"));
}

TEST(clsPostScript, TextsAndFontNames) {
    const QByteArray accented("caf\xE9");
    clsPostScript ps = begun();
    ps.psSetFont(QStringLiteral("Arial"), 12, -30, 3, 0, -1);
    ps.psDrawText(10, 20, 27, accented);   // the bytes say nothing of their language: Shift-JIS
    ps.psDrawText(10, 20, -1, QByteArray("a(b\\c)"));
    ps.psDrawText(10, 20, 0, QByteArray());     // empty: nothing
    ps.psDrawText(-1, 20, 0, QByteArray("x"));  // outside: nothing
    ps.psDrawText(10, 20, 1, QStringLiteral("Åland"));
    ps.psDrawText(10, 20, 1, QStringLiteral("37°30"));   // Shift-JIS has the degree sign
    ps.psSetFont(QStringLiteral("ＭＳ Ｐゴシック"), 10.5, 0, 0, 0x0000FF, 0xFFFFFF);
    ps.psDrawText(10, 20, 12, accented);
    ps.psDrawText(10, 20, 12, QByteArray("\xC5land"));   // reads as Shift-JIS (ﾅland): only a caller knows better
    ps.psDrawLatin1Text(10, 20, 12, QByteArray("\xC5land"));
    ps.psSetFont(QStringLiteral("Odd (name\\"), 9, 0, 0, 0, -1);
    const QList<QByteArray> expect = {
        "(Arial) 1 12 3 16#000000 -1 SelectFont",
        "10 20 2 -30 (caf\\351) DrawText",
        "10 20 24 -30 (a\\(b\\\\c\\)) DrawText",
        "10 20 1 -30 (\\305land) DrawLatinText",
        "10 20 1 -30 (37\\201\\21330) DrawText",
        "<826c827220826f835383568362834e> 1 10.5 0 16#0000FF 16#FFFFFF SelectFont",
        "10 20 12 0 <636166e9> DrawText",
        "10 20 12 0 <c56c616e64> DrawText",
        "10 20 12 0 <c56c616e64> DrawLatinText",
        "(Odd \\(name\\\\) 1 9 0 16#000000 -1 SelectFont",
    };
    EXPECT_EQ(linesAfterBegin(ps), expect);
}

// Which texts leave the Japanese face for the Latin one.
TEST(clsPostScript, Latin1Texts) {
    const struct {
        const char* utf8;
        bool latin1;
    } texts[] = {
        {"Türkiye Åland Ñandú", true}, {"Estonia", false}, {"", false},
        {"37°30 ×", false},             // all in Shift-JIS
        {"ミュンヘン München", false},   // in neither: Shift-JIS with a substitute
        {"Łódź", false},                 // beyond Latin-1
    };
    for (const auto& t : texts) EXPECT_EQ(IsLatin1Text(QString::fromUtf8(t.utf8)), t.latin1) << t.utf8;
}

namespace {

// A map unit with remarks, as the header of the file lists them.
class MapUnitsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        clock_ = std::make_unique<plat::FixedClock>(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
        oldClock_ = plat::SetClock(clock_.get());
    }
    void TearDown() override {
        plat::SetClock(oldClock_);
        SetCurrentMapUnitsHook(nullptr);
    }
    testsupport::TempDir dir_;
    std::unique_ptr<plat::FixedClock> clock_;
    plat::Clock* oldClock_ = nullptr;
};

} // namespace

using EpsFile = MapUnitsFixture;

TEST_F(EpsFile, AWholeFileGhostscriptReads) {
    clsPostScript ps = begun(800, 600, 96);
    ps.setFileName(dir_.file(QStringLiteral("map.eps")));
    ps.setResourcePS(prologPath());
    ps.psSetPen(0, 1, 0x0000FF, -1);
    ps.psStrokeLine(clsLine(10, 10, 700, 500));
    ASSERT_EQ(ps.psSave(), 0);
    const QByteArray file = testsupport::ReadBytes(dir_.file(QStringLiteral("map.eps")));
    EXPECT_TRUE(file.startsWith("%!PS-Adobe-3.0 EPSF-3.0\r\n%%Title: map.eps\r\n%%Creator: KALDERO ver "));
    EXPECT_TRUE(file.contains("%%CreationDate: 2024/05/06 07:08:09\r\n"));
    EXPECT_TRUE(file.contains("%%Resolution: 96DPI\r\n%%BoundingBox: 0 0 600 450\r\n%%Pages: 1\r\n"));
    EXPECT_TRUE(file.contains("%%Page: 1 1\r\n\r\n\r\n% ==== Map Information ====="));
    EXPECT_TRUE(file.endsWith("% ==== End Program " + QByteArray(61, '=') + "\r\n\r\n\r\n%%Trailer\r\n%%EOF\r\n\r\n"));
    EXPECT_FALSE(file.contains("\n\n")) << "every line ends in CR LF";
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    epstest::GsRun run;
    const QImage page = epstest::RenderEps(dir_.file(QStringLiteral("map.eps")), 96, &run);
    ASSERT_FALSE(page.isNull()) << run.output.constData();
    EXPECT_EQ(page.size(), QSize(800, 600));
}

TEST_F(EpsFile, MapInformationListsTheUnitsAndTheirHashRemarks) {
    auto unit = std::make_shared<clsMapUnit>();
    unit->setUnitName(QStringLiteral("/maps/WORLD.MLL"));
    for (const char* text : {"# source: survey", "#", "#x", "plain remark", "#  second"}) {
        auto rem = std::make_shared<clsMapRem>();
        rem->setComment(QString::fromUtf8(text));
        unit->Map().MapCollection().push_back(rem);
    }
    SetCurrentMapUnitsHook([&] { return std::vector<MapUnitPtr>{unit, nullptr}; });
    clsPostScript ps = begun();
    const QByteArray text = ps.FileText({QStringLiteral("% prolog")});
    const qsizetype at = text.indexOf("% ==== Map Information");
    ASSERT_GE(at, 0);
    const QByteArray info = text.mid(at, text.indexOf("% prolog") - at);
    EXPECT_TRUE(info.contains("%   ---- map file / /maps/WORLD.MLL\r\n% # source: survey\r\n% #  second\r\n"));
    EXPECT_FALSE(info.contains("% #x"));
    EXPECT_FALSE(info.contains("plain remark"));
}

TEST_F(EpsFile, AMissingPrologLeavesTheOldFileAndARetryWritesOneEnd) {
    const QString eps = dir_.file(QStringLiteral("old.EPS"));
    testsupport::WriteBytes(eps, "old picture");
    clsPostScript ps = begun();
    ps.setFileName(eps);
    ps.setResourcePS(dir_.file(QStringLiteral("missing.PS")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("ポストスクリプト・リソースファイルが存在しません."), plat::IdOk);
        EXPECT_EQ(ps.psSave(), 53);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].icon(), plat::MbCritical);
        EXPECT_TRUE(boxes.shown()[0].text.endsWith(QStringLiteral("missing.PS")));
    }
    EXPECT_EQ(testsupport::ReadBytes(eps), QByteArray("old picture"));
    ps.setResourcePS(prologPath());
    ASSERT_EQ(ps.psSave(), 0);
    ASSERT_EQ(ps.psSave(), 0);
    const QByteArray file = testsupport::ReadBytes(eps);
    EXPECT_EQ(file.count("\r\nUserTerminate\r\n"), 1);
    EXPECT_EQ(file.count("\r\nshowpage\r\n"), 1);
}

TEST_F(EpsFile, ASaveThatCannotWriteIsReportedAndSkipped) {
    // A folder where the file should go cannot be replaced.
    const QString eps = dir_.file(QStringLiteral("map.EPS"));
    ASSERT_TRUE(QDir().mkpath(eps));
    clsPostScript ps = begun();
    ps.setFileName(eps);
    ps.setResourcePS(prologPath());
    int32_t result = 0;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("map.EPS"), plat::IdNo);   // no retry: skip
        result = ps.psSave();
    }
    EXPECT_NE(result, 0);
    EXPECT_TRUE(QFileInfo(eps).isDir());
}
