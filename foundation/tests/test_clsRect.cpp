#include <gtest/gtest.h>

#include "AppError.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "clsLine.h"
#include "clsRect.h"

#include <cmath>
#include <limits>

namespace {

struct RectFields {
    int32_t x1, y1, x2, y2;
};

void ExpectRect(const clsRect& r, RectFields f) {
    EXPECT_EQ(r.x1, f.x1);
    EXPECT_EQ(r.y1, f.y1);
    EXPECT_EQ(r.x2, f.x2);
    EXPECT_EQ(r.y2, f.y2);
}

} // namespace

TEST(Rect, NewAndClearedRectangleIsEmpty) {
    clsRect r;
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_EQ(r.Width(), 0);
    EXPECT_EQ(r.Height(), 0);
    r.SetAll(10, 20, 0, 5);
    ExpectRect(r, {0, 5, 10, 20});
    EXPECT_FALSE(r.IsEmpty());
    EXPECT_EQ(r.Width(), 11);
    EXPECT_EQ(r.Height(), 16);
    r.Clear();
    ExpectRect(r, {0, 0, -1, -1});
}

TEST(Rect, CentreTruncatesTowardZero) {
    EXPECT_EQ(clsRect(-3, -5, 0, 0).CenterX(), -1);
    EXPECT_EQ(clsRect(-3, -5, 0, 0).CenterY(), -2);
    EXPECT_EQ(clsRect(2147483600, 0, 2147483647, 0).CenterX(), 2147483623);
}

TEST(Rect, OutCodesOfTheNineRegions) {
    const clsRect r(0, 0, 10, 10);
    struct Case {
        int32_t x, y;
        int16_t code;
    } cases[] = {
        {-1, -1, 5}, {5, -1, 4}, {11, -1, 6},  //
        {-1, 5, 1},  {5, 5, 0},  {11, 5, 2},   //
        {-1, 11, 9}, {5, 11, 8}, {11, 11, 10}, //
        {0, 0, 0},   {10, 10, 0}, {0, 10, 0},  // the sides belong to the rectangle
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.OutCode(c.x, c.y), c.code) << c.x << "," << c.y;
        EXPECT_EQ(r.IsInner(c.x, c.y), c.code == 0) << c.x << "," << c.y;
    }
}

TEST(Rect, UnionAndIntersection) {
    struct Case {
        RectFields a, b, orResult, andResult;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 20}, {0, 0, 20, 20}, {5, 5, 10, 10}},
        {{0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 30, 30}, {0, 0, -1, -1}},
        {{0, 0, 10, 10}, {10, 10, 30, 30}, {0, 0, 30, 30}, {10, 10, 10, 10}},   // touching corners share a point
        {{0, 0, 10, 10}, {0, 0, -1, -1}, {0, 0, 10, 10}, {0, 0, 10, 10}},       // empty: unchanged
        {{5, 5, 4, 4}, {0, 0, 10, 10}, {5, 5, 4, 4}, {5, 5, 4, 4}},             // empty this: unchanged
    };
    for (const Case& c : cases) {
        clsRect a, b;
        a.x1 = c.a.x1; a.y1 = c.a.y1; a.x2 = c.a.x2; a.y2 = c.a.y2;
        b.x1 = c.b.x1; b.y1 = c.b.y1; b.x2 = c.b.x2; b.y2 = c.b.y2;
        clsRect u = a, i = a;
        u.OpeOr(b);
        i.OpeAnd(b);
        ExpectRect(u, c.orResult);
        ExpectRect(i, c.andResult);
    }
}

TEST(Rect, ExtentionAndMove) {
    clsRect r(0, 0, 10, 10);
    r.Extention(-6);
    ExpectRect(r, {6, 6, 4, 4});
    EXPECT_TRUE(r.IsEmpty());
    r.Extention(6);
    r.Move(-3, 7);
    ExpectRect(r, {-3, 7, 7, 17});
}

TEST(Rect, ArithmeticBeyondThe32BitRangeIsAnOverflowError) {
    clsRect wide(std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max(), 0);
    try {
        (void)wide.Width();
        FAIL() << "no error";
    } catch (const plat::AppError& e) {
        EXPECT_EQ(e.number(), plat::ErrOverflow);
    }
    clsRect r(0, 0, 2147483640, 10);
    EXPECT_THROW(r.Move(10, 0), plat::AppError);
    ExpectRect(r, {0, 0, 2147483640, 10});   // nothing moved
    EXPECT_THROW(r.Extention(10), plat::AppError);
}

// ---------------------------------------------------------------- segments

TEST(Line, Measures) {
    clsLine l(0, 0, 3, -4);
    EXPECT_EQ(l.Height(), 5);
    EXPECT_DOUBLE_EQ(l.Length(), 5.0);
    EXPECT_FALSE(l.IsSlant());
    EXPECT_TRUE(clsLine(0, 0, 4, 4).IsSlant());
    EXPECT_DOUBLE_EQ(clsLine().Angle(), 0.0);
    EXPECT_NEAR(clsLine(0, 0, 0, 5).Angle(), M_PI / 2, 1e-12);
    EXPECT_NEAR(clsLine(0, 0, -5, -5).Angle(), -3 * M_PI / 4, 1e-12);
}

TEST(Line, CrossingsRoundHalfToEvenAndSaturate) {
    struct Case {
        clsLine line;
        int32_t at;
        int32_t crossY, crossX;
    } cases[] = {
        {clsLine(0, 0, 10, 3), 5, 2, 17},                  // 1.5 -> 2; 16.67 -> 17
        {clsLine(0, 0, 10, 5), 5, 2, 10},                  // 2.5 -> 2 (even)
        {clsLine(0, 0, 10, 7), 5, 4, 7},                   // 3.5 -> 4; 7.14 -> 7
        {clsLine(0, 0, 1, 2000000000), 2, 2147483647, 0},  // far beyond: saturated
        {clsLine(0, 0, 1, -2000000000), 2, -2147483647, 0},
        {clsLine(5, 0, 5, 10), 5, clsLine::NoCross, 5},     // vertical
        {clsLine(0, 3, 10, 3), 3, 3, clsLine::NoCross},     // horizontal
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.line.CrossY(c.at), c.crossY) << c.line.x2 << "," << c.line.y2;
        EXPECT_EQ(c.line.CrossX(c.at), c.crossX) << c.line.x2 << "," << c.line.y2;
    }
    EXPECT_EQ(clsLine::NoCross, static_cast<int32_t>(0x80000000u));
}

TEST(Line, ClipFromEveryRegion) {
    const clsRect r(0, 0, 10, 10);
    struct Case {
        clsLine in;
        bool ok;
        clsLine out;
    } cases[] = {
        {{2, 3, 8, 9}, true, {2, 3, 8, 9}},              // inside: unchanged
        {{-10, 5, 20, 5}, true, {0, 5, 10, 5}},          // left to right through
        {{5, -10, 5, 20}, true, {5, 0, 5, 10}},          // top to bottom through
        {{-5, -5, 15, 15}, true, {0, 0, 10, 10}},        // corner to corner
        {{-5, 15, 5, 5}, true, {0, 10, 5, 5}},           // from below left
        {{15, -5, 5, 5}, true, {10, 0, 5, 5}},           // from above right
        {{5, 5, 15, 15}, true, {5, 5, 10, 10}},          // out below right
        {{5, 5, 5, 20}, true, {5, 5, 5, 10}},            // out below
        {{5, 5, -20, 5}, true, {5, 5, 0, 5}},            // out left
        {{0, 0, 10, 3}, true, {0, 0, 10, 3}},
        {{0, 0, 20, 6}, true, {0, 0, 10, 3}},            // crossing at x = 10
        {{0, 0, 20, 5}, true, {0, 0, 10, 2}},            // 2.5 rounds to 2
        {{-5, 5, 5, -5}, true, {0, 0, 0, 0}},            // touches a corner only
        {{-10, -10, -5, 20}, false, {}},                 // wholly left
        {{-5, 3, 3, -5}, false, {}},                     // passes the corner outside
        {{11, 0, 20, 10}, false, {}},                    // wholly right
        {{0, 11, 10, 20}, false, {}},                    // wholly below
    };
    for (const Case& c : cases) {
        clsLine l = c.in;
        EXPECT_EQ(l.Clip(r), c.ok) << c.in.x1 << "," << c.in.y1 << " " << c.in.x2 << "," << c.in.y2;
        if (c.ok) {
            EXPECT_EQ(l, c.out) << l.x1 << "," << l.y1 << " " << l.x2 << "," << l.y2;
        }
    }
}

TEST(Line, ClipOfHugeSegmentsStaysInside) {
    const clsRect r(-1000, -1000, 1000, 1000);
    const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    clsLine l(lo, lo, hi, hi);
    ASSERT_TRUE(l.Clip(r));
    EXPECT_TRUE(r.IsInner(l.x1, l.y1));
    EXPECT_TRUE(r.IsInner(l.x2, l.y2));
    clsLine m(lo, hi, hi, lo);
    ASSERT_TRUE(m.Clip(r));
    EXPECT_TRUE(r.IsInner(m.x1, m.y1));
    EXPECT_TRUE(r.IsInner(m.x2, m.y2));
}

namespace {

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

TEST(Rect, DrawReachesOnePixelBeyondTheRightAndBottomEdges) {
    Picture p;
    p.dc.SelectPen(plat::CreatePen(plat::PS_SOLID, 1, kRed));
    p.dc.SelectBrush(plat::CreateSolidBrush(kBlue));
    EXPECT_TRUE(clsRect(2, 2, 5, 4).Draw(&p.dc));
    // Rectangle(2, 2, 7, 6): the frame covers x 2..6 and y 2..5.
    EXPECT_EQ(p.row(1, kRed), "............");
    EXPECT_EQ(p.row(2, kRed), "..#####.....");
    EXPECT_EQ(p.row(3, kRed), "..#...#.....");
    EXPECT_EQ(p.row(3, kBlue), "...###......");
    EXPECT_EQ(p.row(5, kRed), "..#####.....");
    EXPECT_EQ(p.row(6, kRed), "............");

    Picture q;
    EXPECT_FALSE(clsRect().Draw(&q.dc));
    EXPECT_FALSE(clsRect(0, 0, 3, 3).Draw(nullptr));
    for (int y = 0; y < 10; ++y) EXPECT_EQ(q.row(y, 0xFFFFFF), "############");
    EXPECT_THROW(clsRect(0, 0, INT32_MAX - 1, 3).Draw(&q.dc), plat::AppError);
}

TEST(Line, DrawLeavesTheLastPixel) {
    Picture p;
    EXPECT_TRUE(clsLine(1, 1, 6, 1).Draw(&p.dc));
    EXPECT_TRUE(clsLine(8, 2, 8, 6).Draw(&p.dc));
    EXPECT_EQ(p.row(1, 0), ".#####......");
    EXPECT_EQ(p.row(5, 0), "........#...");
    EXPECT_EQ(p.row(6, 0), "............");
    EXPECT_EQ(p.dc.GetCurrentPositionEx(), (plat::POINT{8, 6}));
    EXPECT_FALSE(clsLine(0, 0, 5, 5).Draw(nullptr));
}
