#include <gtest/gtest.h>

#include "Bitmap.h"
#include "EpsTestSupport.h"
#include "RasterDC.h"
#include "SysColors.h"
#include "TestSupport.h"
#include "clsMapGraph.h"
#include "clsPostScript.h"

using namespace plat;

namespace {

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kYellow = 0x00FFFF;

// A raster device that reports another technology; as a metafile it keeps
// its pixel mapping, so its pixels can be read like a canvas's.
class TechnologyDC : public RasterDC {
public:
    TechnologyDC(HBITMAP surface, int technology) : RasterDC(std::move(surface), 96), technology_(technology) {}
    int GetDeviceCaps(int index) const override {
        return index == TECHNOLOGY ? technology_ : RasterDC::GetDeviceCaps(index);
    }
    int SetMapMode(int mode) override { return technology_ == DT_METAFILE ? MM_TEXT : RasterDC::SetMapMode(mode); }

private:
    int technology_;
};

// A white canvas at 96 dots per inch with the drawing layer begun on it.
struct Canvas {
    explicit Canvas(int w = 120, int h = 80, int technology = DT_RASDISPLAY)
        : bm(Bitmap::Create(w, h, 32)), dc(bm, technology) {
        began = graph.GraphBegin(&dc, 0, 0, w, h);
    }
    int32_t at(int x, int y) const { return static_cast<int32_t>(dc.GetPixel(x, y)); }
    // Pixels x0..x1-1 of row y: '#' for colour c, '.' for white, '?' else.
    std::string row(int y, int x0, int x1, int32_t c) const {
        std::string s;
        for (int x = x0; x < x1; ++x) s += at(x, y) == c ? '#' : at(x, y) == kWhite ? '.' : '?';
        return s;
    }
    int count(int32_t c) const {
        int n = 0;
        for (int y = 0; y < bm->height(); ++y)
            for (int x = 0; x < bm->width(); ++x) n += at(x, y) == c;
        return n;
    }
    HBITMAP bm;
    TechnologyDC dc;
    clsMapGraph graph;
    bool began = false;
};

clsPoly polyOf(std::initializer_list<std::pair<int, int>> pts) {
    clsPoly p;
    for (const auto& [x, y] : pts) p.AddXandY(x, y);
    return p;
}

bool screenIs96() {
    const HDC probe = CreateCompatibleDC(nullptr);
    const bool is96 = probe->GetDeviceCaps(LOGPIXELSX) == 96 && probe->GetDeviceCaps(LOGPIXELSY) == 96;
    DeleteDC(probe);
    return is96;
}

// The program lines after the mirror's set-up.
QList<QByteArray> programLines(const clsMapGraph& g) {
    QList<QByteArray> lines = g.oPostScript()->ProgramText().split('\n');
    QList<QByteArray> out;
    bool started = false;
    for (QByteArray l : lines) {
        l.chop(l.endsWith('\r') ? 1 : 0);
        if (started && !l.isEmpty()) out.append(l);
        if (l == "UserInitialize") started = true;
    }
    return out;
}

// A monochrome bitmap of w x h with one black pixel in its middle.
HBITMAP dotBitmap(int w, int h) {
    HBITMAP b = Bitmap::Create(w, h, 1);
    b->image().setPixel(w / 2, h / 2, 0);
    return b;
}

} // namespace

TEST(clsMapGraph, RatiosFollowTheResolutions) {
    if (!screenIs96()) GTEST_SKIP() << "the table assumes a screen of 96 dots per inch";
    const struct {
        int resX, resY, symbolRatio;
        int pattern, line, tile, tileRes, symX, symY, haloX, haloY, symbolRatioGet;
    } cases[] = {
        {96, 96, 100, 100, 100, 100, 0, 100, 100, 1, 1, 100},
        {144, 144, 100, 150, 137, 75, 1, 100, 100, 1, 1, 100},   // symbols halved, then rounded up again
        {300, 300, 100, 312, 259, 156, 1, 150, 150, 2, 2, 100},
        {96, 192, 100, 100, 100, 100, 0, 100, 200, 1, 1, 100},   // the smaller ratio rules
        {48, 48, 100, 50, 62, 50, 0, 50, 50, 1, 1, 100},
        {96, 96, 130, 100, 100, 100, 0, 150, 150, 1, 1, 130},    // symbols scale by halves
        {96, 96, 10, 100, 100, 100, 0, 25, 25, 1, 1, 10},        // a quarter at the smallest
        {40, 2000, 100, 100, 100, 100, 0, 100, 100, 1, 1, 100},  // out of range: ignored
    };
    for (const auto& c : cases) {
        Canvas cv;
        ASSERT_TRUE(cv.began);
        clsMapGraph& g = cv.graph;
        g.setResolutionX(c.resX);
        g.setResolutionY(c.resY);
        g.setSymbolRatio(c.symbolRatio);
        SCOPED_TRACE(testing::Message() << c.resX << " x " << c.resY << " at " << c.symbolRatio);
        EXPECT_EQ(g.PatternRatio(), c.pattern);
        EXPECT_EQ(g.LineRatio(), c.line);
        EXPECT_EQ(g.TileRatio(), c.tile);
        EXPECT_EQ(g.oTiles().Resolution(), c.tileRes);
        EXPECT_EQ(g.oSymbols().Resolution(), c.tileRes);
        EXPECT_EQ(g.SymbolScaleX(), c.symX);
        EXPECT_EQ(g.SymbolScaleY(), c.symY);
        EXPECT_EQ(g.HaloOffsets()[0], (POINT{-c.haloX, 0}));
        EXPECT_EQ(g.HaloOffsets()[7], (POINT{c.haloX, c.haloY}));
        EXPECT_EQ(g.SymbolRatio(), c.symbolRatioGet);
    }
}

TEST(clsMapGraph, PensByStyleWidthAndColours) {
    if (!screenIs96()) GTEST_SKIP() << "widths assume a line ratio of 100";
    const int32_t highlight = static_cast<int32_t>(GetSysColor(COLOR_HIGHLIGHT));
    using K = clsMapGraph::PenKind;
    constexpr int kGeo = PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_BEVEL;
    const struct {
        int style, width, fore, back;
        bool geometric;
        K kind;
        int outWidth, penStyle, penWidth, penColor;
        bool backPen;
    } cases[] = {
        {0, 1, kRed, -1, true, K::Device, 1, PS_SOLID, 1, kRed, false},
        {0, 4, kRed, kBlue, true, K::Device, 4, PS_SOLID, 4, kRed, false},   // solid: an ordinary pen
        {1, 1, kRed, kBlue, true, K::Device, 1, PS_DASH, 1, kRed, false},    // thin: back fills the gaps
        {2, 4, kRed, kBlue, true, K::Device, 4, kGeo | PS_DOT, 4, kRed, true},
        {2, 4, kRed, -1, true, K::Device, 4, kGeo | PS_DOT, 4, kRed, false},
        {2, 4, kRed, kBlue, false, K::Emulated, 4, PS_DOT, 1, kRed, false},
        {5, 3, kRed, -1, true, K::Device, 3, PS_NULL, 3, kRed, false},
        {5, 3, kRed, kBlue, true, K::Device, 3, PS_SOLID, 3, kBlue, false},  // none with a back: the back colour
        {7, 3, kRed, -1, true, K::Device, 3, PS_SOLID, 3, kRed, false},
        {-3, 1, kRed, -1, true, K::Device, 1, PS_SOLID, 1, kRed, false},
        {101, 1, kRed, -1, true, K::Device, 1, PS_SOLID, 1, kRed, false},
        {146, 1, kRed, -1, true, K::Device, 1, PS_SOLID, 1, kRed, false},
        {0, 0, kRed, -1, true, K::Device, 1, PS_SOLID, 1, kRed, false},
        {0, 99, kRed, -1, true, K::Device, 15, PS_SOLID, 15, kRed, false},
        {0, 3, -1, kBlue, true, K::Device, 3, PS_NULL, 3, 0xFFFFFF, false},  // no fore colour: nothing
        {0, 1, int32_t(0x80000000u | COLOR_HIGHLIGHT), -1, true, K::Device, 1, PS_SOLID, 1, highlight, false},
    };
    for (const auto& c : cases) {
        Canvas cv;
        cv.graph.setGeometricPens(c.geometric);
        ASSERT_TRUE(cv.graph.GraphBegin(&cv.dc, 0, 0, 120, 80));
        SCOPED_TRACE(testing::Message() << "style " << c.style << " width " << c.width);
        ASSERT_TRUE(cv.graph.SetPen(static_cast<int16_t>(c.style), c.width, c.fore, c.back));
        const clsMapGraph::PenInfo& p = cv.graph.CurrentPen();
        EXPECT_EQ(p.kind, c.kind);
        EXPECT_EQ(p.width, c.outWidth);
        EXPECT_EQ(p.pen.style, c.penStyle);
        EXPECT_EQ(p.pen.width, c.penWidth);
        if (c.penStyle != PS_NULL) {
            EXPECT_EQ(static_cast<int32_t>(p.pen.color), c.penColor);
        }
        EXPECT_EQ(p.backPen.has_value(), c.backPen);
        EXPECT_EQ(cv.dc.CurrentPen(), p.pen);
    }
    Canvas cv;
    ASSERT_TRUE(cv.graph.SetPen(120, 9, kRed, -1));
    EXPECT_EQ(cv.graph.CurrentPen().kind, K::Pattern);
    EXPECT_EQ(cv.graph.CurrentPen().width, 3);   // the pattern's own rows
}

TEST(clsMapGraph, NoneStyleDrawsOnlyInTheBackColour) {
    Canvas a;
    a.graph.SetPen(5, 3, kRed, -1);
    EXPECT_TRUE(a.graph.DrawLine(clsLine(10, 10, 100, 10)));
    EXPECT_EQ(a.count(kWhite), 120 * 80);
    Canvas b;
    b.graph.SetPen(5, 1, kRed, kBlue);
    b.graph.DrawLine(clsLine(10, 10, 100, 10));
    EXPECT_EQ(b.row(10, 8, 102, kBlue), ".." + std::string(90, '#') + "..");
}

TEST(clsMapGraph, WideDashesWithoutGeometricPensAreParallelLines) {
    Canvas cv;
    cv.graph.setGeometricPens(false);
    ASSERT_TRUE(cv.graph.GraphBegin(&cv.dc, 0, 0, 120, 80));
    cv.graph.SetPen(2, 4, kRed, -1);
    cv.graph.DrawLine(clsLine(10, 40, 40, 40));
    // Four one-pixel dotted lines, two above the line and two from it down.
    for (int y : {38, 39, 40, 41}) EXPECT_EQ(cv.row(y, 10, 40, kRed), "###...###...###...###...###...") << y;
    EXPECT_EQ(cv.row(37, 10, 40, kRed), std::string(30, '.'));
    EXPECT_EQ(cv.row(42, 10, 40, kRed), std::string(30, '.'));
    // A diagonal takes a third more lines, stepping alternately across and
    // down: five lines starting at (61, 9), (61, 10), (60, 10), (60, 11), (59, 11).
    cv.graph.DrawLine(clsLine(60, 10, 90, 40));
    EXPECT_EQ(cv.row(9, 59, 63, kRed), "..#.");
    EXPECT_EQ(cv.row(10, 59, 63, kRed), ".###");   // (62, 10) continues the line from (61, 9)
    EXPECT_EQ(cv.row(11, 58, 62, kRed), ".###");
    EXPECT_EQ(cv.at(62, 8), kWhite);

    Canvas geo;
    geo.graph.SetPen(2, 4, kRed, kBlue);
    geo.graph.DrawLine(clsLine(10, 40, 100, 40));
    // One geometric pen over a solid back pen: a band without white.
    const std::string band = geo.row(40, 10, 100, kRed);
    EXPECT_EQ(band.find('.'), std::string::npos) << band;
    EXPECT_NE(band.find('#'), std::string::npos);
    EXPECT_NE(band.find('?'), std::string::npos);
}

TEST(clsMapGraph, PatternPhaseRunsOnAcrossSegmentsAndLines) {
    // 鉄道小 has a tick every eight pixels on its outer rows: segments not
    // of a multiple of eight show whether the phase carried on.
    auto draw = [](const std::function<void(clsMapGraph&)>& f) {
        auto cv = std::make_unique<Canvas>(200, 40);
        cv->graph.SetPen(120, 1, kRed, -1);
        f(cv->graph);
        return cv;
    };
    const auto straight = draw([](clsMapGraph& g) { g.DrawLine(clsLine(5, 20, 190, 20)); });
    const auto poly = draw([](clsMapGraph& g) { g.DrawPolyline(polyOf({{5, 20}, {27, 20}, {100, 20}, {190, 20}})); });
    const auto lines = draw([](clsMapGraph& g) {
        g.DrawLine(clsLine(5, 20, 27, 20));
        g.SetPen(120, 1, kRed, -1);   // the same pen: the phase stays
        g.DrawLine(clsLine(27, 20, 190, 20));
    });
    const auto restarted = draw([](clsMapGraph& g) {
        g.DrawPolyline(polyOf({{5, 20}, {27, 20}}));
        g.DrawPolyline(polyOf({{27, 20}, {190, 20}}));   // a new polyline starts the pattern again
    });
    for (int y = 18; y <= 22; ++y) {
        const std::string s = straight->row(y, 0, 200, kRed);
        EXPECT_EQ(poly->row(y, 0, 200, kRed), s) << y;
        EXPECT_EQ(lines->row(y, 0, 200, kRed), s) << y;
    }
    EXPECT_NE(restarted->row(19, 0, 200, kRed), straight->row(19, 0, 200, kRed));
    EXPECT_EQ(straight->row(20, 5, 190, kRed), std::string(185, '#'));   // the solid middle row
    EXPECT_EQ(straight->graph.PatternPhase(), 185);
}

TEST(clsMapGraph, PatternOffPixelsTakeTheBackColour) {
    Canvas cv(100, 30);
    cv.graph.SetPen(120, 1, kRed, kYellow);
    cv.graph.DrawLine(clsLine(10, 15, 90, 15));
    EXPECT_EQ(cv.row(14, 10, 26, kRed), "#???????#???????");
    EXPECT_EQ(cv.at(11, 14), kYellow);
    EXPECT_EQ(cv.row(15, 10, 90, kRed), std::string(80, '#'));
}

TEST(clsMapGraph, BrushesByStyle) {
    using K = clsMapGraph::BrushKind;
    const struct {
        int resolution, style, back;
        K kind;
        int brushStyle, tileW, tileH;
    } cases[] = {
        {96, 8, -1, K::Device, BS_SOLID, 0, 0},
        {96, 6, -1, K::Device, BS_SOLID, 0, 0},
        {96, 99, -1, K::Device, BS_SOLID, 0, 0},
        {96, -1, -1, K::Device, BS_SOLID, 0, 0},
        {96, 3, kBlue, K::Device, BS_HATCHED, 0, 0},
        {96, 100, kBlue, K::Device, BS_PATTERN, 0, 0},   // 8 x 8 at 100 with a back: a pattern brush
        {96, 100, -1, K::Tiles, 0, 8, 8},                // without a back: laid transparently
        {96, 116, kBlue, K::Tiles, 0, 16, 16},
        {144, 116, kBlue, K::Tiles, 0, 24, 24},          // high-resolution tile of 32 at 75 per cent
        {144, 100, kBlue, K::Tiles, 0, 6, 6},
    };
    if (!screenIs96()) GTEST_SKIP() << "tile sizes assume a screen of 96 dots per inch";
    for (const auto& c : cases) {
        Canvas cv;
        cv.graph.setResolutionX(c.resolution);
        cv.graph.setResolutionY(c.resolution);
        SCOPED_TRACE(testing::Message() << "style " << c.style << " at " << c.resolution);
        ASSERT_TRUE(cv.graph.SetBrush(static_cast<int16_t>(c.style), kRed, c.back));
        const clsMapGraph::BrushInfo& b = cv.graph.CurrentBrush();
        EXPECT_EQ(b.kind, c.kind);
        if (c.kind == K::Device) {
            EXPECT_EQ(b.brush.style, c.brushStyle);
        }
        EXPECT_EQ(b.tileWidth, c.tileW);
        EXPECT_EQ(b.tileHeight, c.tileH);
    }
}

TEST(clsMapGraph, FillsAndTheirGaps) {
    // A hatch leaves its gaps without a back colour and fills them with one.
    Canvas clear;
    clear.graph.SetBrush(0, kRed, -1);
    clear.graph.DrawFillRect(clsRect(0, 0, 119, 79));
    EXPECT_EQ(clear.row(4, 0, 8, kRed), "########");
    EXPECT_EQ(clear.row(5, 0, 8, kRed), "........");
    Canvas opaque;
    opaque.graph.SetBrush(0, kRed, kBlue);
    opaque.graph.DrawFillRect(clsRect(0, 0, 119, 79));
    EXPECT_EQ(opaque.at(3, 5), kBlue);
    // A fill rectangle covers both its edges.
    Canvas solid;
    solid.graph.SetBrush(8, kRed, -1);
    solid.graph.DrawFillRect(clsRect(30, 20, 10, 10));   // corners in any order
    EXPECT_EQ(solid.count(kRed), 21 * 11);
    EXPECT_EQ(solid.row(10, 9, 32, kRed), "." + std::string(21, '#') + ".");
    // A fore colour of none fills nothing.
    Canvas none;
    none.graph.SetBrush(8, -1, kBlue);
    none.graph.DrawFillRect(clsRect(10, 10, 30, 30));
    EXPECT_EQ(none.count(kWhite), 120 * 80);
}

TEST(clsMapGraph, TilesStayInsideThePolygonAndKeepWhatTheyDoNotCover) {
    Canvas cv;
    cv.graph.SetBrush(8, kGreen, -1);
    cv.graph.DrawClear();
    cv.graph.SetBrush(108, kRed, -1);   // stripes, laid transparently
    const clsPoly triangle = polyOf({{10, 10}, {100, 10}, {10, 70}, {10, 10}});
    ASSERT_TRUE(cv.graph.DrawPolygon(triangle));
    int red = 0, green = 0, strayRed = 0;
    const plat::Region inside = CreatePolygonRgn(
        std::vector<POINT>{{10, 10}, {100, 10}, {10, 70}, {10, 10}}.data(), 4, WINDING);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            const int32_t c = cv.at(x, y);
            if (c == kRed && !inside.contains(x, y)) ++strayRed;
            red += c == kRed;
            green += c == kGreen;
        }
    EXPECT_EQ(strayRed, 0);
    EXPECT_GT(red, 300);
    EXPECT_GT(green, 120 * 80 - red - 10);   // everything else still green, no white
    EXPECT_EQ(cv.count(kWhite), 0);
}

// A large canvas is cleared in bands with a pause between them, to the
// pixels of one fill, hatches included.
TEST(clsMapGraph, ALargeCanvasIsClearedInBandsToTheSamePixels) {
    constexpr int kSide = 2100;   // a little over four bands
    for (const int16_t style : {2, 5, 8}) {
        Canvas whole(kSide, kSide), banded(kSide, kSide);
        int pauses = 0;
        banded.graph.Pause = [&] { ++pauses; };
        for (Canvas* c : {&whole, &banded}) {
            c->graph.SetBrush(style, kBlue, kYellow);
            EXPECT_TRUE(c->graph.DrawClear());
        }
        EXPECT_GE(pauses, 3) << style;
        EXPECT_TRUE(banded.bm->image() == whole.bm->image()) << style;
    }
}

TEST(clsMapGraph, SymbolHalosTakeFourOrEightCopies) {
    // One black pixel: its halo shows the offsets used.
    for (const auto& [edge, diagonal] : {std::pair{23, false}, std::pair{24, true}}) {
        Canvas cv;
        ASSERT_TRUE(cv.graph.SetBitmap(dotBitmap(edge, edge), kRed, kBlue));
        ASSERT_TRUE(cv.graph.DrawPaint(50, 40));
        const int cx = 50 - edge / 2 + edge / 2, cy = 40 - edge / 2 + edge / 2;
        EXPECT_EQ(cv.at(cx, cy), kRed);
        for (const POINT d : {POINT{-1, 0}, POINT{1, 0}, POINT{0, -1}, POINT{0, 1}}) EXPECT_EQ(cv.at(cx + d.x, cy + d.y), kBlue);
        EXPECT_EQ(cv.at(cx + 1, cy + 1), diagonal ? kBlue : kWhite) << edge;
        EXPECT_EQ(cv.count(kBlue), diagonal ? 8 : 4);
    }
    // Without a back colour there is no halo; outside the view nothing at all.
    Canvas plain;
    plain.graph.SetSymbol(0, kRed, -1);
    EXPECT_TRUE(plain.graph.DrawPaint(50, 40));
    EXPECT_GT(plain.count(kRed), 10);
    EXPECT_EQ(plain.count(kRed) + plain.count(kWhite), 120 * 80);
    EXPECT_TRUE(plain.graph.DrawPaint(500, 40));
    // An empty bitmap is no symbol.
    EXPECT_FALSE(plain.graph.SetBitmap(nullptr, kRed, -1));
}

TEST(clsMapGraph, ASymbolLeavesTheBrushOfTheFills) {
    Canvas cv;
    cv.graph.SetBrush(8, kGreen, -1);
    cv.graph.DrawFillRect(clsRect(0, 0, 10, 10));
    cv.graph.SetSymbol(0, kRed, kBlue);
    cv.graph.DrawPaint(60, 40);
    cv.graph.SetBrush(8, kGreen, -1);   // the same brush: nothing to set
    cv.graph.DrawPolygon(polyOf({{90, 60}, {110, 60}, {110, 75}, {90, 75}}));
    EXPECT_EQ(cv.at(100, 65), kGreen);
}

TEST(clsMapGraph, EqualSettingsAreSkipped) {
    Canvas cv;
    cv.graph.setPostScriptEi(true);
    cv.graph.oPostScript()->psBegin();
    ASSERT_TRUE(cv.graph.SetPen(0, 2, kRed, -1));
    cv.dc.SelectPen(CreatePen(PS_SOLID, 1, kBlue));
    ASSERT_TRUE(cv.graph.SetPen(0, 2, kRed, -1));
    EXPECT_EQ(cv.dc.CurrentPen().color, static_cast<COLORREF>(kBlue)) << "an equal pen touches nothing";
    cv.graph.SetPen(0, 3, kRed, -1);
    cv.graph.SetBrush(3, kRed, -1);
    cv.graph.SetBrush(3, kRed, -1);
    cv.graph.SetSymbol(4, kRed, -1);
    cv.graph.SetSymbol(4, kRed, -1);
    cv.graph.SetBitmap(cv.graph.oSymbols().handle(5), kRed, -1);
    cv.graph.SetSymbol(4, kRed, -1);   // another bitmap came between: set again
    const QList<QByteArray> expect = {
        "0 1 2 16#0000FF -1 SelectPen", "0 1 3 16#0000FF -1 SelectPen", "3 1 16#0000FF -1 SelectBrush",
        "4 1 0 16#0000FF -1 SelectSymbol", "4 1 0 16#0000FF -1 SelectSymbol",
    };
    EXPECT_EQ(programLines(cv.graph), expect);
    EXPECT_EQ(cv.graph.oSymbols().handle(4), cv.graph.CurrentSymbol().bitmap);
    // A new drawing makes its settings anew.
    cv.graph.GraphBegin(&cv.dc, 0, 0, 120, 80);
    cv.graph.SetPen(0, 3, kRed, -1);
    EXPECT_EQ(programLines(cv.graph).size(), expect.size() + 1);
}

TEST(clsMapGraph, CompoundCallsWriteOneLine) {
    const struct {
        const char* name;
        std::function<void(clsMapGraph&)> draw;
        QList<QByteArray> lines;
    } cases[] = {
        {"clear", [](clsMapGraph& g) { g.DrawClear(); }, {"0 0 120 80 FillRect"}},
        {"stroke rect", [](clsMapGraph& g) { g.DrawStrokeRect(clsRect(5, 5, 20, 20)); }, {"5 5 20 20 StrokeRect"}},
        {"fill rect", [](clsMapGraph& g) { g.DrawFillRect(clsRect(20, 20, 5, 5)); }, {"5 5 20 20 FillRect"}},
        {"patterned polyline",
         [](clsMapGraph& g) {
             g.SetPen(120, 1, kRed, -1);
             g.DrawPolyline(polyOf({{5, 5}, {50, 5}, {50, 50}}));
         },
         {"120 1 1 16#0000FF -1 SelectPen", "newpath", "50 50 50 5 5 5 ", "3 0 AddPathPoly StrokePoly"}},
        {"tiled rectangle",
         [](clsMapGraph& g) {
             g.SetBrush(116, kRed, -1);
             g.DrawFillRect(clsRect(5, 5, 20, 20));
         },
         {"116 1 16#0000FF -1 SelectBrush", "5 5 20 20 FillRect"}},
        {"clipped line", [](clsMapGraph& g) { g.DrawLine(clsLine(-50, 10, 50, 10)); }, {"0 10 50 10 StrokeLine"}},
        {"line outside", [](clsMapGraph& g) { g.DrawLine(clsLine(-50, 10, -5, 10)); }, {}},
        {"symbol", [](clsMapGraph& g) { g.SetSymbol(3, int32_t(0x80000000u | COLOR_WINDOW), -1); g.DrawPaint(7, 8); },
         {"3 1 0 16#FFFFFF -1 SelectSymbol", "7 8 DrawSymbol"}},
    };
    for (const auto& c : cases) {
        Canvas cv;
        cv.graph.setPostScriptEi(true);
        clsPostScript& ps = *cv.graph.oPostScript();
        ps.setDpi(96);
        ps.setLeft(0);
        ps.setTop(0);
        ps.setWidth(120);
        ps.setHeight(80);
        ps.psBegin();
        c.draw(cv.graph);
        EXPECT_EQ(programLines(cv.graph), c.lines) << c.name;
    }
}

TEST(clsMapGraph, BeginOnDevicesAndViews) {
    const struct {
        int technology;
        bool accepted;
    } devices[] = {{DT_RASDISPLAY, true}, {DT_RASPRINTER, true}, {DT_METAFILE, true},
                   {DT_PLOTTER, false}, {DT_CHARSTREAM, false}, {DT_RASCAMERA, false}};
    for (const auto& d : devices) {
        Canvas cv(120, 80, d.technology);
        EXPECT_EQ(cv.began, d.accepted) << d.technology;
        EXPECT_EQ(cv.graph.handle() != nullptr, d.accepted);
        EXPECT_EQ(cv.graph.SetPen(0, 1, kRed, -1), d.accepted);
    }
    Canvas cv;
    ASSERT_TRUE(cv.graph.GraphBegin(&cv.dc, -40000, 5, 0, 1));
    EXPECT_EQ(cv.graph.ViewLeft(), -32768);
    EXPECT_EQ(cv.graph.ViewTop(), 5);
    EXPECT_EQ(cv.graph.ViewWidth(), 2);
    EXPECT_EQ(cv.graph.ViewHeight(), 2);
    // The end gives the context back as it was.
    cv.graph.GraphEnd();
    cv.dc.SelectPen(CreatePen(PS_DASH, 1, kBlue));
    ASSERT_TRUE(cv.graph.GraphBegin(&cv.dc, 10, 10, 50, 50));
    cv.graph.SetPen(0, 3, kRed, -1);
    cv.graph.GraphEnd();
    EXPECT_EQ(cv.dc.CurrentPen(), CreatePen(PS_DASH, 1, kBlue));
    EXPECT_EQ(cv.dc.GetViewportOrg(), (POINT{0, 0}));
    EXPECT_EQ(cv.graph.handle(), nullptr);
    EXPECT_FALSE(cv.graph.DrawLine(clsLine(0, 0, 10, 10)));
}

TEST(clsMapGraph, MetafilesGetClippedShapesAndPatternBrushes) {
    Canvas meta(120, 80, DT_METAFILE);
    ASSERT_TRUE(meta.graph.GraphBegin(&meta.dc, 0, 0, 60, 40));   // a view smaller than the surface
    meta.graph.SetPen(0, 1, kRed, -1);
    meta.graph.DrawPolyline(polyOf({{10, 10}, {110, 10}, {110, 70}}));
    EXPECT_EQ(meta.at(30, 10), kRed);
    EXPECT_EQ(meta.at(80, 10), kWhite);
    EXPECT_EQ(meta.at(110, 50), kWhite);
    meta.graph.SetBrush(116, kRed, -1);
    EXPECT_EQ(meta.graph.CurrentBrush().kind, clsMapGraph::BrushKind::Device);
    meta.graph.SetBrush(8, kGreen, -1);
    meta.graph.DrawFillRect(clsRect(50, 30, 100, 70));
    EXPECT_EQ(meta.at(55, 35), kGreen);
    EXPECT_EQ(meta.at(70, 50), kWhite);

    Canvas display;
    ASSERT_TRUE(display.graph.GraphBegin(&display.dc, 0, 0, 60, 40));
    display.graph.SetPen(0, 1, kRed, -1);
    display.graph.DrawPolyline(polyOf({{10, 10}, {110, 10}, {110, 70}}));
    EXPECT_EQ(display.at(80, 10), kRed);
}

TEST(LineGeometry, DirectionsOnTheScreen) {
    const struct {
        int dx, dy, d;
    } cases[] = {
        {0, 0, 0},   {10, 0, 2},  {10, 4, 2},  {10, 5, 3},  {10, 10, 3}, {4, 10, 4},  {0, 10, 4},
        {-10, 10, 5}, {-10, 0, 6}, {-10, -10, 7}, {0, -10, 0}, {10, -10, 1}, {10, -4, 2}, {-4, -10, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LineDirection(clsLine(100, 100, 100 + c.dx, 100 + c.dy)), c.d) << c.dx << "," << c.dy;
    // Diagonals alternate a horizontal and a vertical step.
    clsLine l(0, 0, 10, 10);
    StepAside(l, 3, 1);
    EXPECT_EQ(l, clsLine(0, 1, 10, 11));
    StepAside(l, 3, 2);
    EXPECT_EQ(l, clsLine(-1, 1, 9, 11));
    EXPECT_EQ(RectToPoly(clsRect(1, 2, 3, 4)).Points().size(), 5u);
}
