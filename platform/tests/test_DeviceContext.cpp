#include <gtest/gtest.h>

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <numeric>

#include "Bitmap.h"
#include "Fonts.h"
#include "LineDDA.h"
#include "PrinterDC.h"
#include "RasterDC.h"
#include "SysColors.h"
#include "TestSupport.h"

using namespace plat;

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct Surface {
    explicit Surface(int w = 40, int h = 30, int bpp = 32) : bm(Bitmap::Create(w, h, bpp)), dc(bm, 96) {}
    COLORREF at(int x, int y) const { return dc.GetPixel(x, y); }
    // Row y as characters: '#' for c, '.' for anything else.
    std::string row(int y, int x0, int x1, COLORREF c = 0) const {
        std::string s;
        for (int x = x0; x < x1; ++x) s += at(x, y) == c ? '#' : '.';
        return s;
    }
    int count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < bm->height(); ++y)
            for (int x = 0; x < bm->width(); ++x) n += at(x, y) == c;
        return n;
    }
    HBITMAP bm;
    RasterDC dc;
};

std::string dashString(const std::vector<int>& runs, int n) {
    std::string s;
    bool on = true;
    size_t i = 0;
    while (int(s.size()) < n) {
        s += std::string(size_t(runs[i]), on ? '#' : '.');
        on = !on;
        i = (i + 1) % runs.size();
    }
    return s.substr(0, size_t(n));
}

} // namespace

TEST(LineDDA, StepsEveryPixelButTheEnd) {
    std::vector<std::pair<int, int>> pts;
    auto collect = [&](int x, int y) { pts.emplace_back(x, y); };
    EXPECT_TRUE(LineDDA(0, 0, 5, 2, collect));
    const std::vector<std::pair<int, int>> expect = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}};
    EXPECT_EQ(pts, expect);

    pts.clear();
    LineDDA(2, 5, 0, 0, collect);  // steep and backwards
    const std::vector<std::pair<int, int>> steep = {{2, 5}, {2, 4}, {1, 3}, {1, 2}, {0, 1}};
    EXPECT_EQ(pts, steep);

    pts.clear();
    LineDDA(3, 3, 3, 3, collect);
    EXPECT_TRUE(pts.empty());

    pts.clear();
    LineDDA(0, 0, -4, 4, collect);  // exact diagonal
    const std::vector<std::pair<int, int>> diag = {{0, 0}, {-1, 1}, {-2, 2}, {-3, 3}};
    EXPECT_EQ(pts, diag);
    EXPECT_EQ(LineDDAEach(0, 0, 100000, 7, [](int, int) {}), 100000);
}

TEST(Pens, CosmeticDashStylesTransparentAndOpaque) {
    for (int style = PS_SOLID; style <= PS_DASHDOTDOT; ++style) {
        Surface s(80, 10);
        s.dc.SelectPen(CreatePen(style, 1, 0));
        s.dc.SetBkMode(TRANSPARENT);
        s.dc.MoveToEx(0, 2);
        s.dc.LineTo(60, 2);
        const std::string want = style == PS_SOLID ? std::string(60, '#') : dashString(CosmeticDashes(style), 60);
        EXPECT_EQ(s.row(2, 0, 60), want) << "style " << style;
        EXPECT_EQ(s.at(60, 2), kWhite) << "the end point is not drawn";
        EXPECT_EQ(s.count(kWhite), 80 * 10 - int(std::count(want.begin(), want.end(), '#')));

        // Opaque mode paints the gaps in the background colour.
        s.dc.SetBkMode(OPAQUE);
        s.dc.SetBkColor(kRed);
        s.dc.MoveToEx(0, 5);
        s.dc.LineTo(60, 5);
        for (int x = 0; x < 60; ++x) EXPECT_EQ(s.at(x, 5), want[size_t(x)] == '#' ? 0u : kRed) << style << " x " << x;
    }
}

TEST(Pens, NullPenAndWidePens) {
    Surface s;
    s.dc.SelectPen(StockPen(NULL_PEN));
    s.dc.MoveToEx(0, 0);
    s.dc.LineTo(39, 29);
    const POINT pl[3] = {{1, 1}, {30, 5}, {2, 20}};
    s.dc.Polyline(pl, 3);
    EXPECT_EQ(s.count(kWhite), 40 * 30);

    // A wide geometric pen with flat ends covers its width and nothing past the ends.
    s.dc.SelectPen(ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_BEVEL, 5, CreateSolidBrush(kBlue)));
    s.dc.MoveToEx(10, 10);
    s.dc.LineTo(30, 10);
    for (int y = 0; y < 30; ++y) EXPECT_EQ(s.at(20, y) == kBlue, y >= 8 && y <= 12) << y;
    EXPECT_EQ(s.at(9, 10), kWhite);
    EXPECT_EQ(s.at(10, 10), kBlue);
    EXPECT_EQ(s.at(30, 10), kWhite);

    // A wide dashed geometric pen leaves gaps; an ordinary wide pen is solid.
    Surface d(100, 20);
    d.dc.SelectPen(ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_DASH, 3, CreateSolidBrush(0)));
    d.dc.SetBkMode(TRANSPARENT);
    d.dc.MoveToEx(0, 5);
    d.dc.LineTo(99, 5);
    EXPECT_NE(d.row(5, 0, 99).find('.'), std::string::npos);
    d.dc.SelectPen(CreatePen(PS_DASH, 3, 0));
    d.dc.MoveToEx(0, 15);
    d.dc.LineTo(99, 15);
    EXPECT_EQ(d.row(15, 2, 97), std::string(95, '#'));
}

TEST(Brushes, HatchOpaqueAndTransparent) {
    for (int hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch) {
        for (int mode : {OPAQUE, TRANSPARENT}) {
            Surface s(16, 16);
            s.dc.SelectBrush(CreateSolidBrush(kBlue));
            s.dc.PatBlt(0, 0, 16, 16, PATCOPY);
            s.dc.SelectBrush(CreateHatchBrush(hatch, kRed));
            s.dc.SetBkColor(kGreen);
            s.dc.SetBkMode(mode);
            s.dc.SelectPen(StockPen(NULL_PEN));
            s.dc.Rectangle(0, 0, 17, 17);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const COLORREF want = HatchBit(hatch, x, y) ? kRed : (mode == OPAQUE ? kGreen : kBlue);
                    ASSERT_EQ(s.at(x, y), want) << "hatch " << hatch << " mode " << mode << " at " << x << "," << y;
                }
        }
    }
}

TEST(Brushes, MonochromePatternTakesTextAndBackgroundColours) {
    HBITMAP pat = Bitmap::Create(2, 2, 1);
    pat->image().setPixel(0, 0, 0);   // black
    pat->image().setPixel(1, 1, 0);
    Surface s(6, 4);
    s.dc.SetTextColor(kRed);
    s.dc.SetBkColor(kGreen);
    s.dc.SetBkMode(TRANSPARENT);      // does not matter for patterns
    EXPECT_TRUE(s.dc.FillRect(RECT{0, 0, 6, 4}, CreatePatternBrush(pat)));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(s.at(x, y), (x + y) % 2 == 0 ? kRed : kGreen) << x << "," << y;
    // The brush keeps its own copy of the bitmap.
    Brush b = CreatePatternBrush(pat);
    pat->image().fill(0);
    EXPECT_EQ(b.pattern->monoBit(1, 0), 1);
}

TEST(Rops, TernaryTruthTablesOfEveryOperation) {
    for (uint32_t idx = 0; idx < 256; ++idx)
        ASSERT_EQ(ApplyRop3(idx << 16, 0xF0F0F0, 0xCCCCCC, 0xAAAAAA), idx * 0x010101u) << idx;
    for (int r = R2_BLACK; r <= R2_WHITE; ++r) {
        // Truth table over (pen, dest) bits: 1100 and 1010.
        const uint32_t t = ApplyRop2(r, 0x0A0A0A, 0x0C0C0C) & 0x0F;
        EXPECT_EQ(t, uint32_t(r - 1)) << r;
    }
}

TEST(Rops, SymbolOperationPaintsBrushWhereTheSourceIsBlack) {
    // Source: a 2 x 1 monochrome bitmap, black then white.
    HBITMAP src = Bitmap::Create(2, 1, 1);
    src->image().setPixel(0, 0, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    mem->SelectBitmap(src);
    Surface s(4, 2);
    s.dc.SelectBrush(CreateSolidBrush(kRed));
    s.dc.SetPixelV(0, 0, kBlue);
    s.dc.SetPixelV(1, 0, kBlue);
    s.dc.SetPixelV(0, 1, kGreen);
    s.dc.SetPixelV(1, 1, kGreen);
    s.dc.SetTextColor(0);
    s.dc.SetBkColor(kWhite);
    EXPECT_TRUE(s.dc.BitBlt(0, 0, 2, 1, mem, 0, 0, ROP_PSDPxax));
    EXPECT_TRUE(s.dc.BitBlt(0, 1, 2, 1, mem, 0, 0, ROP_PSDPxax));
    EXPECT_EQ(s.at(0, 0), kRed);   // black source: brush
    EXPECT_EQ(s.at(1, 0), kBlue);  // white source: destination stays
    EXPECT_EQ(s.at(0, 1), kRed);
    EXPECT_EQ(s.at(1, 1), kGreen);

    // A plain copy of a monochrome source takes text and background colours.
    s.dc.SetTextColor(kGreen);
    s.dc.SetBkColor(kBlue);
    s.dc.BitBlt(2, 0, 2, 1, mem, 0, 0, SRCCOPY);
    EXPECT_EQ(s.at(2, 0), kGreen);
    EXPECT_EQ(s.at(3, 0), kBlue);

    // A colour source copied into a monochrome bitmap: the source's
    // background colour becomes white, everything else black.
    HBITMAP mono = Bitmap::Create(4, 1, 1);
    HDC mdc = CreateCompatibleDC(nullptr);
    mdc->SelectBitmap(mono);
    s.dc.SetBkColor(kBlue);
    EXPECT_TRUE(mdc->BitBlt(0, 0, 4, 1, &s.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(mono->monoBit(0, 0), 0);  // red
    EXPECT_EQ(mono->monoBit(1, 0), 1);  // blue
    EXPECT_EQ(mono->monoBit(3, 0), 1);
    DeleteDC(mdc);
    DeleteDC(mem);
}

TEST(Blits, StretchSizesModesAndMirrors) {
    // Source 3 x 2 colour: a red and a blue column pattern.
    HBITMAP src = Bitmap::Create(3, 2, 32);
    HDC mem = CreateCompatibleDC(nullptr);
    mem->SelectBitmap(src);
    mem->SetPixelV(0, 0, kRed);
    mem->SetPixelV(2, 1, kBlue);
    Surface s(20, 10);
    EXPECT_TRUE(s.dc.StretchBlt(1, 1, 9, 4, mem, 0, 0, 3, 2, SRCCOPY));
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 10; ++x) {
            const int sx = (x - 1) / 3, sy = (y - 1) / 2;
            const COLORREF want = sx == 0 && sy == 0 ? kRed : sx == 2 && sy == 1 ? kBlue : kWhite;
            EXPECT_EQ(s.at(x, y), want) << x << "," << y;
        }
    EXPECT_EQ(s.count(kRed), 6);
    EXPECT_EQ(s.count(kBlue), 6);
    // Mirrored in x: the red block lands on the right.
    EXPECT_TRUE(s.dc.StretchBlt(19, 6, -9, 4, mem, 0, 0, 3, 2, SRCCOPY));
    EXPECT_EQ(s.at(18, 6), kRed);
    EXPECT_EQ(s.at(10, 9), kBlue);

    // Shrinking a black dot: kept in BLACKONWHITE, lost in WHITEONBLACK.
    HBITMAP dot = Bitmap::Create(4, 4, 32);
    mem->SelectBitmap(dot);
    mem->SetPixelV(1, 2, 0);
    Surface a(2, 2), b(2, 2);
    a.dc.SetStretchBltMode(BLACKONWHITE);
    b.dc.SetStretchBltMode(WHITEONBLACK);
    a.dc.StretchBlt(0, 0, 2, 2, mem, 0, 0, 4, 4, SRCCOPY);
    b.dc.StretchBlt(0, 0, 2, 2, mem, 0, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(a.at(0, 1), 0u);
    EXPECT_EQ(a.count(0), 1);
    EXPECT_EQ(b.count(0), 0);
    // A source rectangle outside the source fails.
    EXPECT_FALSE(s.dc.StretchBlt(0, 0, 4, 4, mem, 2, 2, 4, 4, SRCCOPY));
    DeleteDC(mem);
}

TEST(Blits, HugeCoordinatesStayWithinTheSurface) {
    Surface s(20, 10);
    HDC mem = CreateCompatibleDC(nullptr);
    mem->SelectBitmap(Bitmap::Create(2, 2, 32));
    EXPECT_TRUE(s.dc.StretchBlt(-1000000000, -5, 2000000000, 100, mem, 0, 0, 2, 2, SRCCOPY));
    EXPECT_TRUE(s.dc.PatBlt(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, BLACKNESS));
    EXPECT_TRUE(s.dc.FillRect(RECT{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, CreateSolidBrush(kRed)));
    EXPECT_EQ(s.count(kRed), 200);
    s.dc.SelectPen(StockPen(NULL_PEN));
    EXPECT_TRUE(s.dc.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    const POINT far[3] = {{INT32_MIN, 0}, {INT32_MAX, 5}, {0, INT32_MAX}};
    EXPECT_TRUE(s.dc.Polygon(far, 3));
    DeleteDC(mem);
}

TEST(Rops, XorDrawnTwiceRestoresThePicture) {
    Surface s(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) s.dc.SetPixelV(x, y, RGB(x * 4, y * 5, (x * y) & 0xFF));
    const QImage before = s.bm->image().copy();
    s.dc.SetROP2(R2_XORPEN);
    auto scene = [&] {
        s.dc.SelectPen(CreatePen(PS_DOT, 1, RGB(255, 255, 0)));
        s.dc.SelectBrush(StockBrush(NULL_BRUSH));
        s.dc.Rectangle(3, 3, 60, 40);
        s.dc.SelectPen(CreatePen(PS_SOLID, 1, kWhite));
        const POINT pl[4] = {{0, 0}, {63, 47}, {63, 0}, {10, 30}};
        s.dc.Polyline(pl, 4);
        s.dc.SelectPen(CreatePen(PS_SOLID, 4, kGreen));
        s.dc.SelectBrush(CreateHatchBrush(HS_DIAGCROSS, kRed));
        const POINT tri[3] = {{5, 40}, {30, 2}, {55, 44}};
        s.dc.Polygon(tri, 3);
        s.dc.Ellipse(10, 10, 50, 30);
    };
    scene();
    EXPECT_NE(s.bm->image(), before);
    scene();
    EXPECT_EQ(s.bm->image(), before);
}

TEST(Fills, RectangleEdgesAndPolygonFillModes) {
    Surface s(20, 20);
    s.dc.SelectPen(CreatePen(PS_SOLID, 1, kRed));
    s.dc.SelectBrush(CreateSolidBrush(kBlue));
    s.dc.Rectangle(2, 2, 8, 6);  // frame 2..7 x 2..5, inside 3..6 x 3..4
    EXPECT_EQ(s.row(2, 0, 10, kRed), "..######..");
    EXPECT_EQ(s.row(3, 0, 10, kRed), "..#....#..");
    EXPECT_EQ(s.row(3, 0, 10, kBlue), "...####...");
    EXPECT_EQ(s.row(5, 0, 10, kRed), "..######..");
    EXPECT_EQ(s.at(2, 6), kWhite);
    s.dc.SelectPen(StockPen(NULL_PEN));
    s.dc.Rectangle(10, 10, 16, 14);  // without a pen: 10..14 x 10..12
    EXPECT_EQ(s.row(10, 8, 18, kBlue), "..#####...");
    EXPECT_EQ(s.row(12, 8, 18, kBlue), "..#####...");
    EXPECT_EQ(s.at(12, 13), kWhite);

    // Two nested squares drawn the same way round: alternate leaves a hole.
    const POINT pts[8] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {3, 3}, {7, 3}, {7, 7}, {3, 7}};
    const int counts[2] = {4, 4};
    Surface alt(12, 12), wind(12, 12);
    for (Surface* t : {&alt, &wind}) {
        t->dc.SelectPen(StockPen(NULL_PEN));
        t->dc.SelectBrush(CreateSolidBrush(0));
        t->dc.SetPolyFillMode(t == &alt ? ALTERNATE : WINDING);
        t->dc.PolyPolygon(pts, counts, 2);
    }
    EXPECT_EQ(alt.at(5, 5), kWhite);
    EXPECT_EQ(wind.at(5, 5), 0u);
    EXPECT_EQ(alt.count(0), 100 - 16);
    EXPECT_EQ(wind.count(0), 100);
}

TEST(Clipping, PolygonRegionClipsExactlyWhereThePolygonFills) {
    const POINT tri[4] = {{2, 1}, {37, 8}, {20, 28}, {4, 20}};
    Surface filled, clipped;
    filled.dc.SelectPen(StockPen(NULL_PEN));
    filled.dc.SelectBrush(CreateSolidBrush(kRed));
    filled.dc.Polygon(tri, 4);

    Region rgn = CreatePolygonRgn(tri, 4, ALTERNATE);
    EXPECT_EQ(rgn.kind(), COMPLEXREGION);
    EXPECT_EQ(clipped.dc.SelectClipRgn(&rgn), COMPLEXREGION);
    clipped.dc.FillRect(RECT{0, 0, 40, 30}, CreateSolidBrush(kRed));
    EXPECT_EQ(clipped.bm->image(), filled.bm->image());
    EXPECT_GT(filled.count(kRed), 300);

    // Pixels, lines and blits all stay inside; removing the clip frees them.
    EXPECT_FALSE(clipped.dc.SetPixelV(39, 29, kBlue));
    clipped.dc.SelectClipRgn(nullptr);
    EXPECT_TRUE(clipped.dc.SetPixelV(39, 29, kBlue));
    // IntersectClipRect works in logical coordinates.
    clipped.dc.SetWindowOrgEx(-10, 0);
    clipped.dc.IntersectClipRect(0, 0, 5, 5);
    RECT box;
    EXPECT_EQ(clipped.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 5, 5}));
    EXPECT_FALSE(clipped.dc.PtVisible(6, 1));
    EXPECT_TRUE(clipped.dc.PtVisible(4, 4));
    clipped.dc.FillRect(RECT{-10, 0, 30, 30}, CreateSolidBrush(kGreen));
    EXPECT_EQ(clipped.count(kGreen), 25);
    EXPECT_EQ(clipped.at(0, 0), kGreen);
    EXPECT_EQ(clipped.bm->image().pixel(10, 0), qRgb(0, 255, 0));
}

TEST(State, SavedStatesComeBackInOrder) {
    Surface s;
    DeviceContext& dc = s.dc;
    dc.SetTextColor(kRed);
    const int first = dc.SaveDC();
    EXPECT_EQ(first, 1);
    dc.SetTextColor(kGreen);
    dc.SetROP2(R2_XORPEN);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExtEx(100, 100);
    dc.SetViewportExtEx(50, 25);
    dc.IntersectClipRect(0, 0, 10, 10);
    dc.SelectPen(CreatePen(PS_DASH, 1, kBlue));
    EXPECT_EQ(dc.LPtoDP(POINT{40, 40}), (POINT{20, 10}));
    EXPECT_EQ(dc.DPtoLP(POINT{20, 10}), (POINT{40, 40}));
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SetTextColor(kWhite);
    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetTextColor(), kGreen);
    EXPECT_TRUE(dc.RestoreDC(first));
    EXPECT_EQ(dc.GetTextColor(), kRed);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(dc.CurrentPen().dash(), PS_SOLID);
    EXPECT_EQ(dc.GetClipRgn(), std::nullopt);
    EXPECT_EQ(dc.LPtoDP(POINT{40, 40}), (POINT{40, 40}));
    EXPECT_FALSE(dc.RestoreDC(1));
    // Scaled drawing lands at the mapped pixels.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowOrgEx(100, 0);
    dc.SetWindowExtEx(2, 2);
    dc.SetViewportExtEx(1, 1);
    EXPECT_TRUE(dc.SetPixelV(110, 20, kBlue));
    EXPECT_EQ(s.bm->image().pixel(5, 10), qRgb(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(110, 20), kBlue);
}

TEST(PatternLines, DirectPathMatchesPixelByPixel) {
    const uint8_t on[7] = {1, 1, 1, 0, 0, 1, 0};
    Surface direct(60, 40), generic(60, 40);
    // A clip of two rectangles makes the direct path test each pixel.
    Region r1 = CreateRectRgn(0, 0, 30, 40), r2 = CreateRectRgn(35, 5, 60, 30), both;
    CombineRgn(both, r1, r2, RGN_OR);
    direct.dc.SelectClipRgn(&both);
    generic.dc.SelectClipRgn(&both);
    int64_t p1 = 3, p2 = 3;
    const POINT pts[4] = {{1, 1}, {58, 37}, {5, 33}, {57, 2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(direct.dc.PatternLine(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, on, 7, p1, kRed, kBlue));
        generic.dc.DeviceContext::PatternLine(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, on, 7, p2, kRed, kBlue);
    }
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(direct.bm->image(), generic.bm->image());
    EXPECT_GT(direct.count(kRed), 50);
    // CLR_INVALID leaves the off pixels alone.
    Surface t(10, 2);
    int64_t ph = 0;
    t.dc.PatternLine(0, 0, 10, 0, on, 7, ph, kRed, CLR_INVALID);
    EXPECT_EQ(t.row(0, 0, 10, kRed), "###..#.###");
    EXPECT_EQ(ph, 10);
}

TEST(Text, AlignmentEscapementAndExtent) {
    Surface s(200, 200);
    LOGFONT lf;
    lf.lfHeight = -20;
    lf.lfFaceName = QStringLiteral("ＭＳ Ｐゴシック");
    HFONT f = CreateFontIndirect(lf);
    ASSERT_NE(f, nullptr);
    s.dc.SelectFont(f);
    SIZE sz;
    ASSERT_TRUE(s.dc.GetTextExtentPoint32(QStringLiteral("地図MAP"), &sz));
    EXPECT_GT(sz.cx, 40);
    TEXTMETRIC tm;
    ASSERT_TRUE(s.dc.GetTextMetrics(&tm));
    EXPECT_EQ(sz.cy, tm.tmHeight);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);

    auto bounds = [&] {
        QRect r;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                if (s.at(x, y) != kWhite) r |= QRect(x, y, 1, 1);
        return r;
    };
    s.dc.SetBkMode(TRANSPARENT);
    s.dc.SetTextAlign(TA_CENTER | TA_BASELINE);
    s.dc.TextOut(100, 100, QStringLiteral("地図MAP"));
    QRect r = bounds();
    EXPECT_NEAR(r.center().x(), 100, 4);
    EXPECT_LE(r.bottom(), 100 + tm.tmDescent);
    EXPECT_GE(r.top(), 100 - tm.tmAscent);

    // Turned by 90 degrees the text runs upwards from its point.
    s.dc.PatBlt(0, 0, 200, 200, WHITENESS);
    lf.lfEscapement = 900;
    s.dc.SelectFont(CreateFontIndirect(lf));
    s.dc.SetTextAlign(TA_LEFT | TA_BASELINE);
    s.dc.TextOut(100, 150, QStringLiteral("地図MAP"));
    r = bounds();
    EXPECT_GT(r.height(), r.width());
    EXPECT_LE(r.bottom(), 151);
    EXPECT_GE(r.right(), 99);

    // Opaque mode fills the cell; ExtTextOut fills and clips its rectangle.
    s.dc.PatBlt(0, 0, 200, 200, WHITENESS);
    s.dc.SelectFont(f);
    s.dc.SetBkMode(OPAQUE);
    s.dc.SetBkColor(kGreen);
    s.dc.SetTextAlign(TA_TOP | TA_LEFT);
    s.dc.TextOut(10, 10, QStringLiteral("MAP"));
    EXPECT_EQ(s.at(10, 10), kGreen);
    const RECT clip{0, 100, 30, 120};
    s.dc.ExtTextOut(0, 100, ETO_OPAQUE | ETO_CLIPPED, &clip, QStringLiteral("WWWWWWWWWW"));
    EXPECT_EQ(s.at(29, 100), kGreen);
    EXPECT_EQ(s.at(0, 119), kGreen);
    for (int y = 100; y < 130; ++y) EXPECT_EQ(s.at(35, y), kWhite);
    // Too long a face name cannot make a font.
    lf.lfFaceName = QString(40, QLatin1Char('x'));
    EXPECT_EQ(CreateFontIndirect(lf), nullptr);
}

TEST(Bitmaps, FilesResourcesBitsAndDibs) {
    testsupport::TempDir dir;
    QImage mono(10, 2, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});  // palette the other way round
    mono.fill(0);
    mono.setPixel(0, 0, 1);
    mono.setPixel(9, 1, 1);
    ASSERT_TRUE(mono.save(dir.file(QStringLiteral("m.bmp")), "BMP"));
    HBITMAP m = LoadBitmapFromFile(dir.file(QStringLiteral("M.BMP")));
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isMono());
    const BITMAP info = GetObject(m);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);
    const QByteArray bits = m->bits();
    ASSERT_EQ(bits.size(), 4);
    EXPECT_EQ(uchar(bits[0]), 0x7F);  // black pixel first: bit 0
    EXPECT_EQ(uchar(bits[3]) & 0xC0, 0x80);  // white, then black
    EXPECT_EQ(uchar(bits[2]), 0xFF);

    QImage colour(3, 3, QImage::Format_RGB32);
    colour.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(colour.save(dir.file(QStringLiteral("c.bmp")), "BMP"));
    EXPECT_EQ(GetObject(LoadBitmapFromFile(dir.file(QStringLiteral("c.bmp")))).bmBitsPixel, 32);
    EXPECT_EQ(LoadBitmapFromFile(dir.file(QStringLiteral("missing.bmp"))), nullptr);
    testsupport::WriteBytes(dir.file(QStringLiteral("bad.bmp")), QByteArray("BM\x10\x00", 4));
    EXPECT_EQ(LoadBitmapFromFile(dir.file(QStringLiteral("bad.bmp"))), nullptr);
    EXPECT_EQ(LoadBitmapResource(999999), nullptr);
    EXPECT_EQ(Bitmap::Create(0, 5, 32), nullptr);
    EXPECT_EQ(Bitmap::Create(40000, 5, 1), nullptr);

    EXPECT_EQ(ParsePlainPbm("P1\n# note\n3 2\n101\n0 1 0\n").pixelIndex(1, 1), 0);
    EXPECT_TRUE(ParsePlainPbm("P1 3 2 101 01").isNull());  // too few bits
    EXPECT_TRUE(ParsePlainPbm("P1 99999999 2").isNull());

    // A bottom-up 24-bit DIB of 2 x 2 and an 8-bit one with a palette.
    DIB dib;
    dib.width = 2;
    dib.height = 2;
    dib.bitCount = 24;
    dib.bits = QByteArray(16, '\0');
    dib.bits[0] = char(255);        // bottom-left blue
    dib.bits[8 + 5] = char(255);    // top-right red
    Surface s(4, 4);
    EXPECT_EQ(s.dc.SetDIBitsToDevice(0, 0, 2, 2, 0, 0, dib), 2);
    EXPECT_EQ(s.at(0, 1), kBlue);
    EXPECT_EQ(s.at(1, 0), kRed);
    EXPECT_EQ(s.at(0, 0), 0u);
    DIB pal;
    pal.width = 1;
    pal.height = -1;   // top-down
    pal.bitCount = 8;
    pal.palette = {0x00000000, 0x0000FF00};
    pal.bits = QByteArray("\x01\0\0\0", 4);
    EXPECT_EQ(s.dc.StretchDIBits(2, 2, 2, 2, 0, 0, 1, 1, pal, SRCCOPY), 1);
    EXPECT_EQ(s.at(3, 3), kGreen);
    pal.bits.chop(2);
    EXPECT_EQ(s.dc.StretchDIBits(2, 2, 2, 2, 0, 0, 1, 1, pal, SRCCOPY), 0);
    // DIB bits of a section come out bottom-up, 4-byte rows.
    HBITMAP sec = Bitmap::CreateDIBSection(3, 2, 24);
    EXPECT_EQ(GetObject(sec).bmBitsPixel, 24);
    sec->image().setPixel(0, 0, qRgb(10, 20, 30));
    const QByteArray db = sec->dibBits(24);
    ASSERT_EQ(db.size(), 24);
    EXPECT_EQ(uchar(db[12]), 30);
    EXPECT_EQ(uchar(db[14]), 10);
}

TEST(DeviceCaps, EachBackEndTellsWhatItIs) {
    Surface s(120, 80);
    EXPECT_EQ(s.dc.GetDeviceCaps(TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_EQ(s.dc.GetDeviceCaps(HORZRES), 120);
    EXPECT_EQ(s.dc.GetDeviceCaps(VERTRES), 80);
    EXPECT_EQ(s.dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(s.dc.GetDeviceCaps(BITSPIXEL), 32);
    const int rc = s.dc.GetDeviceCaps(RASTERCAPS);
    EXPECT_TRUE(rc & RC_BITBLT);
    EXPECT_TRUE(rc & RC_STRETCHBLT);
    EXPECT_TRUE(rc & RC_BITMAP64);

    HDC mem = CreateCompatibleDC(&s.dc);
    EXPECT_EQ(mem->GetDeviceCaps(BITSPIXEL), 1);
    EXPECT_EQ(mem->GetDeviceCaps(HORZRES), 1);
    EXPECT_EQ(mem->GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(GetObject(CreateCompatibleBitmap(mem, 5, 5)).bmBitsPixel, 1);
    EXPECT_EQ(GetObject(CreateCompatibleBitmap(&s.dc, 5, 5)).bmBitsPixel, 32);
    EXPECT_EQ(s.dc.SelectBitmap(Bitmap::Create(2, 2, 32)), nullptr);  // not a memory context
    DeleteDC(mem);

    testsupport::TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file(QStringLiteral("caps.pdf")));
    printer.setResolution(300);
    PrinterDC pdc(&printer);
    ASSERT_TRUE(pdc.isValid());
    EXPECT_EQ(pdc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(pdc.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_GT(pdc.GetDeviceCaps(HORZRES), 1500);
    EXPECT_GE(pdc.GetDeviceCaps(PHYSICALWIDTH), pdc.GetDeviceCaps(HORZRES));
    EXPECT_EQ(pdc.GetDeviceCaps(BITSPIXEL), 24);
    EXPECT_TRUE(pdc.GetDeviceCaps(RASTERCAPS) & RC_STRETCHBLT);
    EXPECT_EQ(pdc.GetPixel(1, 1), CLR_INVALID);
    // A transfer that must read the page cannot be printed.
    EXPECT_FALSE(pdc.BitBlt(0, 0, 10, 10, &s.dc, 0, 0, SRCINVERT));
}

TEST(Printer, PdfOfEveryKindOfDrawingRenders) {
    testsupport::TempDir dir;
    const QString pdf = dir.file(QStringLiteral("page.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(300);
        PrinterDC dc(&printer);
        ASSERT_TRUE(dc.isValid());
        dc.SelectPen(CreatePen(PS_SOLID, 3, kRed));
        dc.MoveToEx(100, 100);
        dc.LineTo(1500, 100);
        dc.SelectPen(CreatePen(PS_DASH, 1, 0));
        const POINT pl[3] = {{100, 200}, {800, 600}, {1500, 200}};
        dc.Polyline(pl, 3);
        dc.SelectBrush(CreateHatchBrush(HS_CROSS, kBlue));
        dc.SetBkColor(kGreen);
        const POINT poly[4] = {{200, 700}, {1200, 700}, {1000, 1400}, {300, 1200}};
        dc.Polygon(poly, 4);
        dc.SelectBrush(CreateSolidBrush(RGB(128, 0, 128)));
        dc.Ellipse(1300, 700, 1800, 1200);
        LOGFONT lf;
        lf.lfHeight = -60;
        lf.lfFaceName = QStringLiteral("ＭＳ Ｐゴシック");
        dc.SelectFont(CreateFontIndirect(lf));
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(200, 1600, QStringLiteral("印刷の試験 Print test"));
        // A symbol laid transparently and a patterned line.
        HBITMAP sym = Bitmap::Create(8, 8, 1);
        for (int i = 0; i < 8; ++i) sym->image().setPixel(i, i, 0);
        HDC mem = CreateCompatibleDC(&dc);
        mem->SelectBitmap(sym);
        dc.SelectBrush(CreateSolidBrush(0));
        EXPECT_TRUE(dc.StretchBlt(200, 1800, 160, 160, mem, 0, 0, 8, 8, ROP_PSDPxax));
        DeleteDC(mem);
        const uint8_t on[4] = {1, 1, 0, 0};
        int64_t phase = 0;
        EXPECT_TRUE(dc.PatternLine(100, 2100, 1600, 2200, on, 4, phase, kRed, CLR_INVALID));
        EXPECT_TRUE(dc.EndDoc());
    }
    ASSERT_GT(QFileInfo(pdf).size(), 1000);
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm is not installed";
    QProcess p;
    p.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                       dir.file(QStringLiteral("page"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QImage page(dir.file(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    int red = 0, dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            red += qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
            dark += qGray(c) < 60;
        }
    EXPECT_GT(red, 30);
    EXPECT_GT(dark, 30);
}

TEST(SysColors, IndexedValuesAndPlainColours) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), kWhite);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 0u);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    EXPECT_EQ(GetSysColor(99), 0u);
    EXPECT_EQ(TranslateColor(0x80000005u), kWhite);
    EXPECT_EQ(TranslateColor(0x8000000Fu), RGB(240, 240, 240));
    EXPECT_EQ(TranslateColor(0x00123456u), 0x123456u);
    EXPECT_EQ(TranslateColor(0x02123456u), 0x123456u);
    EXPECT_TRUE(IsSysColor(0x80000012u));
}

// The Latin faces of the settings and catalogues resolve to a family with
// their widths, so texts fold and measure as they were laid out: the
// advance of a word matches the widths of the face (per 1000 em) within 1 %.
TEST(Fonts, LatinFacesResolveToMetricCompatibleFamilies) {
    const QString word = QStringLiteral("Hamburgefonstiv");
    const struct {
        const char* face;
        const char* preferred;   // installed by scripts/install-deps.sh
        int widths[15];          // H a m b u r g e f o n s t i v
    } cases[] = {
        {"Arial", "Liberation Sans", {722, 556, 833, 556, 556, 333, 556, 556, 278, 556, 556, 500, 278, 222, 500}},
        {"Times New Roman", "Liberation Serif", {722, 444, 778, 500, 500, 333, 500, 444, 333, 500, 500, 389, 278, 278, 500}},
        {"Courier New", "Liberation Mono", {600, 600, 600, 600, 600, 600, 600, 600, 600, 600, 600, 600, 600, 600, 600}},
    };
    const QStringList installed = ScreenFontNames();
    for (const auto& c : cases) {
        const QString face = QString::fromUtf8(c.face);
        const QString family = ResolveFontFamily(face);
        if (installed.contains(QString::fromUtf8(c.preferred))) {
            EXPECT_EQ(family, QString::fromUtf8(c.preferred)) << c.face;
        }
        if (family == face) {   // nothing stands for it on this machine
            ADD_FAILURE() << c.face << ": no metric-compatible family installed";
            continue;
        }
        QFont font(family);
        font.setPixelSize(1000);
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferNoHinting);
        const double expected = std::accumulate(std::begin(c.widths), std::end(c.widths), 0.0);
        EXPECT_NEAR(QFontMetricsF(font).horizontalAdvance(word), expected, expected / 100)
            << c.face << " -> " << family.toStdString();
    }
}

TEST(Fonts, OriginalFaceNamesResolveToInstalledFamilies) {
    InstallFontSubstitutions();
    const QStringList names = ScreenFontNames();
    if (names.contains(QStringLiteral("Noto Sans CJK JP"))) {
        EXPECT_EQ(ResolveFontFamily(QStringLiteral("ＭＳ Ｐゴシック")), QStringLiteral("Noto Sans CJK JP"));
        EXPECT_EQ(ResolveFontFamily(QStringLiteral("メイリオ")), QStringLiteral("Noto Sans CJK JP"));
        EXPECT_TRUE(names.contains(QStringLiteral("ＭＳ Ｐゴシック")));
        EXPECT_TRUE(names.contains(QStringLiteral("System")));
    }
    for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
        const QString fam = ResolveFontFamily(QString::fromUtf8(face));
        if (fam != QString::fromUtf8(face)) {
            EXPECT_TRUE(names.contains(fam)) << face;
        }
    }
    EXPECT_EQ(ResolveFontFamily(QStringLiteral("No Such Face")), QStringLiteral("No Such Face"));
    const std::vector<FontFace> faces = EnumerateFontFaces();
    EXPECT_EQ(faces.size(), size_t(names.size()));
    for (const FontFace& f : faces) EXPECT_GT(f.tm.tmHeight, 0) << f.lf.lfFaceName.toStdString();
}

// Qt names a family of several foundries once per foundry ("Nimbus Sans
// [urw]", "Nimbus Sans [UKWN]"); the program lists it once, by its name.
TEST(Fonts, EachFamilyIsListedOnceUnderItsName) {
    EXPECT_EQ(FontFamilyName(QStringLiteral("Nimbus Sans [URW ]")), QStringLiteral("Nimbus Sans"));
    EXPECT_EQ(FontFamilyName(QStringLiteral("D050000L")), QStringLiteral("D050000L"));
    const QStringList names = ScreenFontNames();
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
    for (const QString& listed : QFontDatabase::families()) {
        EXPECT_TRUE(names.contains(FontFamilyName(listed))) << listed.toStdString();
        EXPECT_FALSE(names.contains(listed) && listed != FontFamilyName(listed)) << listed.toStdString();
    }
}

TEST(DeviceContextText, HaloInOneGoDrawsWhatCopyByCopyDraws) {
    const POINT offsets[8] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {0, -2}, {0, 2}, {-2, 0}, {2, 0}};
    const struct {
        const char* face;
        int height, escapement, weight;
        bool underline, strikeOut;
        unsigned align;
        int copies, bkMode, depth;
        const char16_t* text;
    } cases[] = {
        {"ＭＳ Ｐゴシック", -13, 0, FW_NORMAL, false, false, TA_LEFT | TA_BASELINE, 4, TRANSPARENT, 32, u"東京 Tokyo"},
        {"Arial", -17, 0, FW_BOLD, false, false, TA_CENTER | TA_BASELINE, 4, TRANSPARENT, 32, u"Osaka Bay"},
        {"Arial", -40, 300, FW_NORMAL, false, false, TA_RIGHT | TA_BASELINE, 8, TRANSPARENT, 32, u"Mt. Fuji"},
        {"ＭＳ Ｐゴシック", -30, 900, FW_NORMAL, true, true, TA_CENTER | TA_TOP, 8, TRANSPARENT, 32, u"北海道 Hokkaido"},
        {"Arial", -11, 0, FW_NORMAL, false, false, TA_LEFT | TA_BOTTOM, 4, OPAQUE, 32, u"cell filled"},
        {"Arial", -12, 0, FW_NORMAL, false, false, TA_LEFT | TA_BASELINE, 4, TRANSPARENT, 1, u"mono"},
        {"Arial", -12, 0, FW_NORMAL, false, false, TA_LEFT | TA_BASELINE, 0, TRANSPARENT, 32, u"no copies"},
        {"Arial", -12, 0, FW_NORMAL, false, false, TA_LEFT | TA_BASELINE, 4, TRANSPARENT, 32, u"tab\there\rand"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        auto draw = [&](bool inOneGo) {
            HBITMAP bm = Bitmap::Create(300, 200, c.depth);
            RasterDC dc(bm, 96);
            dc.PatBlt(0, 0, 300, 200, WHITENESS);
            LOGFONT lf;
            lf.lfHeight = c.height;
            lf.lfEscapement = lf.lfOrientation = c.escapement;
            lf.lfWeight = c.weight;
            lf.lfUnderline = c.underline;
            lf.lfStrikeOut = c.strikeOut;
            lf.lfFaceName = QString::fromUtf8(c.face);
            dc.SelectFont(CreateFontIndirect(lf));
            dc.SetTextAlign(c.align);
            dc.SetBkMode(c.bkMode);
            dc.SetBkColor(0x00FFFF);
            const COLORREF halo = c.depth == 1 ? 0xFFFFFF : 0xFFC080, fore = 0x2040A0;
            if (inOneGo) {
                EXPECT_TRUE(dc.TextOutHalo(150, 100, text, halo, fore, offsets, c.copies));
            } else {
                dc.SetTextColor(halo);
                for (int i = 0; i < c.copies; ++i) dc.TextOut(150 + offsets[i].x, 100 + offsets[i].y, text);
                dc.SetTextColor(fore);
                dc.TextOut(150, 100, text);
            }
            EXPECT_EQ(dc.GetTextColor(), fore);
            return bm->image().convertToFormat(QImage::Format_RGB32);
        };
        const QImage one = draw(true), each = draw(false);
        EXPECT_EQ(one, each);
        int ink = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) ink += (one.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(ink, 20);
    }
}
