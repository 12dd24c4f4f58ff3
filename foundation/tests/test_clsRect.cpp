#include <gtest/gtest.h>

#include "AppError.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "clsLine.h"
#include "clsRect.h"

#include <cmath>

namespace {

using Corners = std::array<int32_t, 4>;

Corners cornersOf(const clsRect& r) { return {r.x1, r.y1, r.x2, r.y2}; }

clsRect raw(const Corners& c) {   // corners as given, not put in order
    clsRect r;
    r.x1 = c[0], r.y1 = c[1], r.x2 = c[2], r.y2 = c[3];
    return r;
}

// A white 12 x 10 picture; rows as text, '#' where the pixel has colour c.
struct Picture {
    Picture() : bm(plat::Bitmap::Create(12, 10, 32)), dc(bm, 96) {}
    std::string row(int y, plat::COLORREF c) const {
        std::string s;
        for (int x = 0; x < 12; ++x) s += dc.GetPixel(x, y) == c ? '#' : '.';
        return s;
    }
    plat::HBITMAP bm;
    plat::RasterDC dc;
};

constexpr plat::COLORREF kRed = 0x0000FF;
constexpr plat::COLORREF kBlue = 0xFF0000;

} // namespace

TEST(Rect, SizesOutCodesAndOverflow) {
    clsRect r;
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_EQ(r.Width(), 0);
    r.SetAll(10, 20, 0, 5);
    EXPECT_EQ(cornersOf(r), (Corners{0, 5, 10, 20}));
    EXPECT_EQ(r.Width(), 11);
    EXPECT_EQ(r.Height(), 16);
    EXPECT_EQ(clsRect(-3, -5, 0, 0).CenterX(), -1);   // truncated toward zero
    const clsRect s(0, 0, 10, 10);
    const int32_t codes[3][3] = {{5, 4, 6}, {1, 0, 2}, {9, 8, 10}};
    const int32_t at[3] = {-1, 5, 11};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) EXPECT_EQ(s.OutCode(at[i], at[j]), codes[j][i]) << at[i] << "," << at[j];
    EXPECT_EQ(s.OutCode(10, 0), 0);   // the sides belong to the rectangle
    EXPECT_THROW((void)clsRect(INT32_MIN, 0, INT32_MAX, 0).Width(), plat::AppError);
    clsRect edge(0, 0, 2147483640, 10);
    EXPECT_THROW(edge.Move(10, 0), plat::AppError);
    EXPECT_EQ(cornersOf(edge), (Corners{0, 0, 2147483640, 10}));   // nothing moved
    edge.Extention(-2147483640 / 2 - 1);
    EXPECT_TRUE(edge.IsEmpty());
}

TEST(Rect, UnionAndIntersection) {
    const Corners cases[][4] = {
        // a, b, a or b, a and b
        {{0, 0, 10, 10}, {5, 5, 20, 20}, {0, 0, 20, 20}, {5, 5, 10, 10}},
        {{0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 30, 30}, {0, 0, -1, -1}},
        {{0, 0, 10, 10}, {10, 10, 30, 30}, {0, 0, 30, 30}, {10, 10, 10, 10}},   // touching corners share a point
        {{0, 0, 10, 10}, {0, 0, -1, -1}, {0, 0, 10, 10}, {0, 0, 10, 10}},       // empty: unchanged
        {{5, 5, 4, 4}, {0, 0, 10, 10}, {5, 5, 4, 4}, {5, 5, 4, 4}},
    };
    for (const auto& c : cases) {
        clsRect u = raw(c[0]), i = raw(c[0]);
        u.OpeOr(raw(c[1]));
        i.OpeAnd(raw(c[1]));
        EXPECT_EQ(cornersOf(u), c[2]);
        EXPECT_EQ(cornersOf(i), c[3]);
    }
}

TEST(Line, MeasuresAndCrossings) {
    EXPECT_DOUBLE_EQ(clsLine(0, 0, 3, -4).Length(), 5.0);
    EXPECT_NEAR(clsLine(0, 0, -5, -5).Angle(), -3 * M_PI / 4, 1e-12);
    // 1.5 -> 2 and 16.67 -> 17; 2.5 -> 2 (even); far beyond: saturated; vertical; horizontal.
    const std::pair<clsLine, Corners> cases[] = {{{0, 0, 10, 3}, {5, 2, 5, 17}}, {{0, 0, 10, 5}, {5, 2, 5, 10}},
                                                 {{0, 0, 1, -2000000000}, {2, -2147483647, 2, 0}},
                                                 {{5, 0, 5, 10}, {5, clsLine::NoCross, 5, 5}}, {{0, 3, 10, 3}, {3, 3, 3, clsLine::NoCross}}};
    for (const auto& [line, c] : cases) {   // x, CrossY(x), y, CrossX(y)
        EXPECT_EQ(line.CrossY(c[0]), c[1]) << line.x2 << "," << line.y2;
        EXPECT_EQ(line.CrossX(c[2]), c[3]) << line.x2 << "," << line.y2;
    }
}

TEST(Line, ClipFromEveryRegion) {
    const clsRect r(0, 0, 10, 10);
    const struct {
        clsLine in;
        bool ok;
        clsLine out;
    } cases[] = {
        {{2, 3, 8, 9}, true, {2, 3, 8, 9}},              // inside: unchanged
        {{-5, 15, 5, 5}, true, {0, 10, 5, 5}},           // from below left
        {{15, -5, 5, 5}, true, {10, 0, 5, 5}},           // from above right
        {{0, 0, 20, 5}, true, {0, 0, 10, 2}},            // 2.5 rounds to 2
        {{-5, 5, 5, -5}, true, {0, 0, 0, 0}},            // touches a corner only
        {{-10, 5, -5, 5}, false, {}},                    // wholly left, its line through the rectangle
        {{-5, 3, 3, -5}, false, {}},                     // passes the corner outside
        {{0, 11, 10, 20}, false, {}},                    // wholly below
    };
    for (const auto& c : cases) {
        clsLine l = c.in;
        EXPECT_EQ(l.Clip(r), c.ok) << c.in.x1 << "," << c.in.y1 << " " << c.in.x2 << "," << c.in.y2;
        if (c.ok) { EXPECT_EQ(l, c.out) << l.x1 << "," << l.y1 << " " << l.x2 << "," << l.y2; }
    }
    clsLine huge(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN);
    const clsRect wide(-1000, -1000, 1000, 1000);
    ASSERT_TRUE(huge.Clip(wide));
    EXPECT_TRUE(wide.IsInner(huge.x1, huge.y1) && wide.IsInner(huge.x2, huge.y2));
}

// Rectangle(x1, y1, x2 + 2, y2 + 2), as the device context draws it: the
// frame one pixel beyond the right and bottom edges, the brush inside.
TEST(Rect, DrawReachesOnePixelBeyondTheRightAndBottomEdges) {
    Picture p;
    p.dc.SelectPen(plat::CreatePen(plat::PS_SOLID, 1, kRed));
    p.dc.SelectBrush(plat::CreateSolidBrush(kBlue));
    EXPECT_TRUE(clsRect(2, 2, 5, 4).Draw(&p.dc));
    EXPECT_EQ(p.row(1, kRed), "............");
    EXPECT_EQ(p.row(3, kRed), "..#...#.....");
    EXPECT_EQ(p.row(3, kBlue), "...###......");
    EXPECT_EQ(p.row(5, kRed), "..#####.....");
    EXPECT_FALSE(clsRect().Draw(&p.dc) || clsRect(0, 0, 3, 3).Draw(nullptr));
    EXPECT_THROW(clsRect(0, 0, INT32_MAX - 1, 3).Draw(&p.dc), plat::AppError);

    // A backward hatch (x + y = 7 in every 8 x 8 cell of the logical
    // plane) at a mapping of 2 pixels for 3 units, rounded half away from
    // zero: the rectangle from 1 unit starts at pixel 1.
    Picture h;
    h.dc.SelectPen(plat::StockPen(plat::NULL_PEN));
    h.dc.SelectBrush(plat::CreateHatchBrush(plat::HS_BDIAGONAL, kRed));
    h.dc.SetMapMode(plat::MM_ANISOTROPIC);
    h.dc.SetWindowExtEx(3, 3);
    h.dc.SetViewportExtEx(2, 2);
    EXPECT_TRUE(clsRect(1, 1, 13, 13).Draw(&h.dc));
    EXPECT_EQ(h.row(0, kRed), "............");
    EXPECT_EQ(h.row(1, kRed), ".........#..");
    EXPECT_EQ(h.row(3, kRed), ".......##...");
    EXPECT_EQ(h.row(9, kRed), ".##.........");
}

TEST(Line, DrawLeavesTheLastPixel) {
    Picture p;
    EXPECT_TRUE(clsLine(1, 1, 6, 1).Draw(&p.dc));
    EXPECT_TRUE(clsLine(8, 2, 8, 6).Draw(&p.dc));
    EXPECT_EQ(p.row(1, 0), ".#####......");
    EXPECT_EQ(p.row(6, 0), "............");
    EXPECT_EQ(p.dc.GetCurrentPositionEx(), (plat::POINT{8, 6}));
    EXPECT_FALSE(clsLine(0, 0, 5, 5).Draw(nullptr));
}
