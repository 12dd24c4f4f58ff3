// The prolog data file KALDERO.PS: what the program text calls is defined,
// its bitmap tables are the program's built-in bitmaps, and its switches
// work as the accessory block of the program uses them.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "EpsTestSupport.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "clsPostScript.h"
#include "clsResLine.h"
#include "clsResSymbol.h"
#include "clsResTile.h"

namespace {

QString prologPath() { return QStringLiteral(KAL_SOURCE_DIR "/data/KALDERO.PS"); }

QString prologText() {
    QFile f(prologPath());
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromLatin1(f.readAll());
}

// The table "/Name << ... >> def" of the prolog: entry number to its text.
std::map<int, QString> table(const QString& name, const QRegularExpression& entry) {
    const QString text = prologText();
    const qsizetype start = text.indexOf(QLatin1Char('/') + name + QStringLiteral(" <<"));
    const qsizetype end = text.indexOf(QStringLiteral(">> def"), start);
    std::map<int, QString> out;
    if (start < 0 || end < 0) return out;
    auto it = entry.globalMatch(text.mid(start, end - start));
    while (it.hasNext()) {
        const auto m = it.next();
        out[m.captured(1).toInt()] = m.captured(0).simplified();
    }
    return out;
}

// Rows of a monochrome bitmap as the prolog keeps them: whole bytes a row,
// the leftmost pixel in the top bit, 1 black.
QString hexRows(const plat::HBITMAP& b) {
    QByteArray bytes;
    for (int y = 0; y < b->height(); ++y)
        for (int x0 = 0; x0 < b->width(); x0 += 8) {
            unsigned char v = 0;
            for (int x = x0; x < x0 + 8; ++x) v = static_cast<unsigned char>((v << 1) | (x < b->width() && b->monoBit(x, y) == 0));
            bytes.append(char(v));
        }
    return QString::fromLatin1(bytes.toHex());
}

QString sizedEntry(int n, const plat::HBITMAP& b) {
    return QStringLiteral("%1 [%2 %3 <%4>]").arg(n).arg(b->width()).arg(b->height()).arg(hexRows(b));
}

// A one-page EPS of the program text, with the prolog's lines as given.
QByteArray epsOf(const clsPostScript& ps, const QString& prolog) { return ps.FileText(plat::SplitTextLines(prolog)); }

} // namespace

TEST(KalderoProlog, DefinesEverythingTheProgramCalls) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    const QByteArray check =
        plat::EncodeCp932(prologText()) +
        "\ndictKaldero begin\n"
        "[ /SelectPen /SelectBrush /SelectSymbol /SelectFont /StrokeLine /StrokeRect /FillRect /AddPathPoly\n"
        "  /StrokePoly /FillPoly /DrawSymbol /DrawText /DrawLatinText /SetupLatinFont /ReleaseLatinFont /UserInitialize\n"
        "  /UserTerminate /LineCapStyle /LineJoinStyle /AccessoryPlotEi /PolylinePlotEi /PolygonPlotEi\n"
        "  /SymbolPlotEi /TextPlotEi /TextBaseScale ]\n"
        "{ dup where { pop pop } { (missing ) print == } ifelse } forall\n"
        "count 0 ne { (stack not empty) print } if end\n";
    const epstest::GsRun r = epstest::RunGhostscript({QStringLiteral("-q"), QStringLiteral("-dSAFER"),
                                                      QStringLiteral("-dNODISPLAY"), QStringLiteral("-dBATCH"),
                                                      QStringLiteral("-dNOPAUSE"), QStringLiteral("-")},
                                                     check);
    EXPECT_TRUE(r.clean()) << r.output.constData();
    EXPECT_EQ(r.output, QByteArray());
}

TEST(KalderoProlog, BitmapTablesAreTheBuiltInBitmaps) {
    // On a change of the built-in bitmaps the failure lists the entries to
    // paste into the prolog.
    const clsResLine lines;
    const auto lineTable = table(QStringLiteral("LinePatterns"), QRegularExpression(QStringLiteral("(\\d+) <[0-9a-f]*>")));
    for (int n = 102; n <= 145; ++n) {
        const plat::HBITMAP b = lines.Bitmap(static_cast<int16_t>(n), 0);
        ASSERT_TRUE(b) << n;
        const QString expect = QStringLiteral("%1 <%2>").arg(n).arg(hexRows(b));
        EXPECT_EQ(lineTable.count(n) ? lineTable.at(n) : QString(), expect);
    }
    const QRegularExpression sized(QStringLiteral("(\\d+) \\[\\d+ \\d+ <[0-9a-f\\s]*>\\]"));
    clsResTile tiles;
    const auto tileTable = table(QStringLiteral("FillTiles"), sized);
    for (int n = 100; n <= 131; ++n) {
        const QString expect = sizedEntry(n, tiles.handle(static_cast<int16_t>(n)));
        EXPECT_EQ(tileTable.count(n) ? tileTable.at(n) : QString(), expect);
    }
    clsResSymbol symbols;
    const auto symbolTable = table(QStringLiteral("PointSymbols"), sized);
    for (int n = 0; n <= 47; ++n) {
        QString entry = symbolTable.count(n) ? symbolTable.at(n) : QString();
        const qsizetype open = entry.indexOf(QLatin1Char('<'));
        if (open >= 0) entry = entry.left(open) + entry.mid(open).remove(QLatin1Char(' '));   // rows over lines
        EXPECT_EQ(entry, sizedEntry(n, symbols.handle(static_cast<int16_t>(n))));
    }
}

TEST(KalderoProlog, TheAccessoryBlockFollowsItsSwitch) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    testsupport::TempDir dir;
    // A map fill left of the middle, an accessory fill right of it.
    clsPostScript ps;
    ps.setDpi(72);
    ps.setLeft(0);
    ps.setTop(0);
    ps.setWidth(100);
    ps.setHeight(50);
    ps.psBegin();
    ps.psSetBrush(8, 0x0000FF, -1);
    ps.psFillRect(clsRect(0, 0, 40, 50));
    for (const char* l : {" ", "% ==== accessory ====", "AccessoryPlotEi {",
                          "PolylinePlotEi PolygonPlotEi SymbolPlotEi TextPlotEi", "TextBaseScale",
                          "/PolylinePlotEi AccessoryPlotEi def", "/PolygonPlotEi AccessoryPlotEi def",
                          "/SymbolPlotEi AccessoryPlotEi def", "/TextPlotEi AccessoryPlotEi def",
                          "/TextBaseScale 1.0 def", " "})
        ps.psProgram(QString::fromLatin1(l));
    ps.psSetBrush(8, 0xFF0000, -1);
    ps.psFillRect(clsRect(60, 0, 100, 50));
    for (const char* l : {" ", "/TextBaseScale exch def", "/TextPlotEi exch def", "/SymbolPlotEi exch def",
                          "/PolygonPlotEi exch def", "/PolylinePlotEi exch def", "} if", " "})
        ps.psProgram(QString::fromLatin1(l));
    // Back to the map's switches: hidden again when the map's fills are.
    ps.psSetBrush(8, 0x00FF00, -1);
    ps.psFillRect(clsRect(45, 0, 55, 50));

    const QString base = prologText();
    const struct {
        const char* name;
        QString prolog;
        bool map, accessory;
    } cases[] = {
        {"as shipped", base, true, true},
        {"no accessories", QString(base).replace(QStringLiteral("/AccessoryPlotEi true def"),
                                                 QStringLiteral("/AccessoryPlotEi false def")),
         true, false},
        {"accessories only", QString(base).replace(QStringLiteral("/PolygonPlotEi true def"),
                                                   QStringLiteral("/PolygonPlotEi false def")),
         false, true},
    };
    for (const auto& c : cases) {
        const QString eps = dir.file(QStringLiteral("switch.eps"));
        testsupport::WriteBytes(eps, epsOf(ps, c.prolog));
        epstest::GsRun run;
        const QImage page = epstest::RenderEps(eps, 72, &run);
        ASSERT_FALSE(page.isNull()) << c.name << run.output.constData();
        EXPECT_EQ(page.pixel(20, 25) == qRgb(255, 0, 0), c.map) << c.name;
        EXPECT_EQ(page.pixel(80, 25) == qRgb(0, 0, 255), c.accessory) << c.name;
        EXPECT_EQ(page.pixel(50, 25) == qRgb(0, 255, 0), c.map) << c.name;
    }
}

TEST(KalderoProlog, EveryStyleAndEveryTextRendersWithoutError) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    testsupport::TempDir dir;
    clsPostScript ps;
    ps.setDpi(96);
    ps.setLeft(0);
    ps.setTop(0);
    ps.setWidth(400);
    ps.setHeight(300);
    ps.setPolylineRatio(250);   // wide enough for the high-resolution branches
    ps.psBegin();
    clsPoly zigzag;
    for (int i = 0; i < 8; ++i) zigzag.AddXandY(10 + 40 * i, i % 2 ? 40 : 10);
    clsPoly square;
    for (const auto& [x, y] : {std::pair{5, 5}, {60, 5}, {60, 60}, {5, 60}, {5, 5}}) square.AddXandY(x, y);
    const int pens[] = {-1, 0, 1, 2, 3, 4, 5, 6, 101, 146};
    for (int style : pens) {
        for (int width : {1, 4}) {
            ps.psSetPen(static_cast<int16_t>(style), width, 0x0000FF, width == 4 ? 0x00FF00 : -1);
            ps.psStrokePoly(zigzag);
        }
    }
    for (int style = 102; style <= 145; ++style) {
        ps.psSetPen(static_cast<int16_t>(style), 1, 0x0000FF, style % 2 ? 0x00FF00 : -1);
        ps.psStrokePoly(zigzag);
        ps.psStrokeLine(clsLine(300, 100, 380, 290));
        ps.psStrokeRect(clsRect(100, 100, 200, 150));
    }
    for (int style = -2; style <= 132; ++style) {
        ps.psSetBrush(static_cast<int16_t>(style), 0xFF0000, style % 3 ? 0xFFFF00 : -1);
        ps.psFillPoly(square);
        ps.psFillRect(clsRect(70, 5, 90, 25));
    }
    for (int index = -1; index <= 48; ++index) {
        ps.psSetSymbol(static_cast<int16_t>(index), 0, 0x000080, index % 2 ? 0xFFFFFF : -1);
        ps.psDrawSymbol(200, 200);
    }
    QByteArray every;
    for (int b = 0; b < 256; ++b) every.append(char(b));
    const QString faces[] = {QStringLiteral("Arial"), QStringLiteral("Times New Roman"), QStringLiteral("Courier New"),
                             QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("(odd) \\ face"), QString()};
    int angle = 0;
    for (const QString& face : faces) {
        for (uint8_t style : {0, 1, 2, 4, 8, 16, 31}) {
            ps.psSetFont(face, 9.5, angle, style, 0x000000, style & 16 ? 0xFFFFFF : 0x00FFFF);
            angle += 37;
            for (int16_t align = 0; align < 25; ++align) ps.psDrawText(50 + 10 * align, 250, align, every.mid(align * 10, 12));
            ps.psDrawText(30, 280, 12, every);
            ps.psDrawText(30, 280, 12, QStringLiteral("地図 a(b\\c)"));
        }
    }
    ps.setFileName(dir.file(QStringLiteral("every.eps")));
    ps.setResourcePS(prologPath());
    ASSERT_EQ(ps.psSave(), 0);
    epstest::GsRun run;
    const QImage page = epstest::RenderEps(ps.FileName(), 96, &run);
    EXPECT_FALSE(page.isNull()) << run.output.constData();
    EXPECT_TRUE(run.clean()) << run.output.constData();
    epstest::KeepPicture(page, QStringLiteral("every-style.png"));
}

// Accented letters outside Shift-JIS come out of Ghostscript's text
// extraction as themselves under a Japanese face and a Latin one, typed or
// as the Latin-1 bytes of a map's European text; both faces draw them alike
// (the extraction alone would pass half-width katakana for Latin-1).
TEST(KalderoProlog, LatinTextsKeepEveryLetter) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    testsupport::TempDir dir;
    const QString text = QStringLiteral("Türkiye Åland Ñandú");
    std::vector<QImage> pages;
    for (const QString& face : {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Arial")}) {
        SCOPED_TRACE(face.toStdString());
        clsPostScript ps;
        ps.setDpi(96);
        ps.setLeft(0);
        ps.setTop(0);
        ps.setWidth(400);
        ps.setHeight(120);
        ps.psBegin();
        ps.psSetFont(face, 12, 0, 0, 0x000000, -1);
        ps.psDrawText(10, 30, 11, text);
        ps.psDrawLatin1Text(10, 60, 11, text.toLatin1());   // a European map text
        ps.psDrawLatin1Text(10, 90, 11, QByteArray("\xC5land \xB0"));   // would read as katakana
        ps.setFileName(dir.file(QStringLiteral("latin.eps")));
        ps.setResourcePS(prologPath());
        ASSERT_EQ(ps.psSave(), 0);
        const epstest::GsRun run = epstest::RunGhostscript(
            {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
             QStringLiteral("-sDEVICE=txtwrite"), QStringLiteral("-sOutputFile=-"), ps.FileName()});
        EXPECT_TRUE(run.clean()) << run.output.constData();
        QStringList shown;
        for (const QString& l : QString::fromUtf8(run.output).split(QLatin1Char('\n')))
            if (!l.trimmed().isEmpty()) shown << l.trimmed();
        EXPECT_EQ(shown, (QStringList{text, text, QStringLiteral("Åland °")}));
        pages.push_back(epstest::RenderEps(ps.FileName(), 96));
        epstest::KeepPicture(pages.back(), QStringLiteral("latin-%1.png").arg(pages.size()));
    }
    ASSERT_FALSE(pages[0].isNull());
    EXPECT_TRUE(pages[0] == pages[1]);
}
