#include <gtest/gtest.h>

#include "BinaryIO.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "FoundationTest.h"
#include "clsPoly.h"

using namespace ftest;

TEST(Poly, CountIndexAndLoops) {
    clsPoly p;
    EXPECT_TRUE(p.RectBound().IsEmpty());
    p.setCount(-5);
    EXPECT_EQ(p.Count(), 0);
    p.setCount(3);
    p.SetXandY(2, 7, 8);
    p.setCount(2);
    EXPECT_EQ(PointsOf(p), (Pts{{0, 0}, {7, 8}}));
    EXPECT_EQ(ErrorOf([&] { (void)p.x(3); }).number(), plat::ErrSubscript);   // one past the last
    EXPECT_EQ(ErrorOf([&] { (void)p.LineWidth(2); }).number(), plat::ErrSubscript);
    const std::pair<Pts, int32_t> loops[] = {   // points, count after MakeLoop; a ring has 4 or more
        {{{0, 0}, {10, 0}, {10, 10}, {0, 0}}, 4}, {{{0, 0}, {10, 0}, {0, 0}}, 4}, {{{0, 0}, {10, 0}}, 2},
    };
    for (const auto& [pts, after] : loops) {
        clsPoly l = Make(pts);
        EXPECT_EQ(l.IsLoop(), pts.size() > 3);
        l.MakeLoop();
        EXPECT_EQ(l.Count(), after);
        EXPECT_EQ(l.IsLoop(), after > 3);
    }
}

TEST(Poly, AreaLengthAndBounds) {
    clsPoly p;
    p.SetRect(0, 0, 10, 20);
    EXPECT_EQ(PointsOf(p), (Pts{{0, 0}, {10, 0}, {10, 20}, {0, 20}, {0, 0}}));
    EXPECT_DOUBLE_EQ(p.TotalLength(), 60.0);
    EXPECT_DOUBLE_EQ(Make({{0, 0}, {0, 20}, {10, 20}, {10, 0}, {0, 0}}).Area(), 200.0);   // either sense
    EXPECT_DOUBLE_EQ(Make({{0, 0}, {10, 0}, {10, 20}}).Area(), 100.0);   // open: the closing edge implied
    clsPoly big;   // differences that overflow 32 bits
    big.SetRect(-2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_DOUBLE_EQ(big.Area(), 1.6e19);
    clsPoly b = Make({{5, -3}, {-2, 8}, {9, 4}});
    EXPECT_EQ(b.RectBound(), clsRect(-2, -3, 9, 8));
    EXPECT_TRUE(b.IsOverlapArea(clsRect(9, 8, 20, 20)));    // touching corner
    EXPECT_FALSE(b.IsOverlapArea(clsRect(10, 0, 20, 20)));
    b.SetXandY(1, 100, 0);   // any change makes the bounds stale
    EXPECT_EQ(b.RectBound(), clsRect(-2, 0, 100, 8));
    b.SetBound(-1, -1, 99, 99);   // a different cache shows it is handed on
    EXPECT_EQ(b.Copy().RectBound(), clsRect(-1, -1, 99, 99));
    EXPECT_TRUE(b.Copy().Modify());
    EXPECT_TRUE(Make({{3, 3}, {3, -9}, {3, 4}}).IsVertical());
}

TEST(Poly, EditsTestTheirIndex) {
    clsPoly p = Make({{1, 1}, {2, 2}, {3, 3}});
    p.setModify(false);
    EXPECT_FALSE(p.Del(0));
    EXPECT_FALSE(p.Del(4));
    EXPECT_FALSE(p.InsXandY(4, 9, 9));
    EXPECT_FALSE(p.Modify());
    EXPECT_TRUE(p.Del(2));
    EXPECT_TRUE(p.InsXandY(1, 0, 0) && p.Modify());
    EXPECT_EQ(PointsOf(p), (Pts{{0, 0}, {1, 1}, {3, 3}}));
    clsPoly edge = Make({{0, 0}, {2147483600, 0}});
    EXPECT_THROW(edge.Move(100, 0), plat::AppError);
    EXPECT_EQ(edge.x(2), 2147483600);   // left as it was
    const Pts src{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    clsPoly a = Make({{9, 9}});
    EXPECT_TRUE(a.FromArray(src, 1, 2, 10));   // cut to what the source holds
    EXPECT_EQ(PointsOf(a), (Pts{{9, 9}, {2, 2}, {3, 3}, {4, 4}}));
    Pts dst(3);
    EXPECT_TRUE(a.ToArray(dst, 2, 1, 10));     // cut to the destination
    EXPECT_EQ(dst, (Pts{{0, 0}, {2, 2}, {3, 3}}));
}

// ------------------------------------------------------ binary point block

namespace {

QByteArray SaveBytes(clsPoly& p, bool longCount) {
    plat::BinaryWriter w;
    p.Save(w, longCount);
    return w.buffer();
}

} // namespace

TEST(PolyBlock, LayoutAndShortCounts) {
    clsPoly p = Make({{1, -1}, {0x12345678, 2}});
    p.SetBound(-7, -7, 7, 7);
    const QByteArray b = SaveBytes(p, true);
    EXPECT_EQ(b, QByteArray("\x02\x00\x00\x00\x01\x00\x00\x00\xFF\xFF\xFF\xFF\x78\x56\x34\x12\x02\x00\x00\x00", 20));
    EXPECT_EQ(p.RectBound(), clsRect(-7, -7, 7, 7));   // saving keeps the cache, loading renews it
    plat::BinaryReader r(b);
    p.Load(r, true);
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(p.Modify());
    EXPECT_EQ(p.RectBound(), clsRect(1, -1, 0x12345678, 2));
    clsPoly big;   // a 2-byte count is unsigned and cuts longer sequences, in memory too
    big.setCount(70000);
    big.SetXandY(65535, 5, 6);
    const QByteArray c = SaveBytes(big, false);
    EXPECT_EQ(big.Count(), 65535);
    EXPECT_EQ(c.left(2), QByteArray("\xFF\xFF", 2));
    plat::BinaryReader rc(c);
    clsPoly back;
    back.Load(rc, false);
    EXPECT_EQ(back.GetPoint(65535), (PolyPoint{5, 6}));
    const QByteArray minusOne("\xFF\xFF\xFF\xFF", 4);
    plat::BinaryReader neg(minusOne);
    back.Load(neg, true);   // a negative long count reads no points
    EXPECT_EQ(back.Count(), 0);
}

TEST(PolyBlock, TruncatedOrDamagedBlockIsAClearErrorWithoutAllocation) {
    const std::pair<QByteArray, bool> cases[] = {
        {QByteArray("\x03\x00\x00\x00\x01\x00\x00\x00\x02\x00\x00\x00", 12), true},   // 3 points, 1 there
        {QByteArray("\xFF\xFF\xFF\x7F\x01\x00\x00\x00\x02\x00\x00\x00", 12), true},   // absurd count
        {QByteArray("\xFF\xFF\xFF\x0F", 4), true},                                    // MaxCount, no points
        {QByteArray("\x02\x00\x01\x00\x00\x00\x02\x00\x00\x00\x03", 11), false},
        {QByteArray("\x01", 1), false},                                               // no whole count
    };
    for (const auto& [bytes, longCount] : cases) {
        clsPoly p = Make({{8, 9}});
        p.setModify(false);
        plat::BinaryReader r(bytes);
        const plat::AppError e = ErrorOf([&, n = longCount] { p.Load(r, n); });
        EXPECT_EQ(e.number(), plat::ErrInputPastEnd) << bytes.toHex().constData();
        EXPECT_TRUE(e.source().startsWith(QStringLiteral("clsPoly.Load/"))) << e.source().toStdString();
        EXPECT_EQ(PointsOf(p), (Pts{{8, 9}}));   // unchanged
        EXPECT_FALSE(p.Modify());
    }
}

// Lines leave their last pixel; a polygon's spans start at the first pixel
// at or right of the crossing of its edge.
TEST(PolyDraw, PolylineAndPolygonOnAPicture) {
    auto row = [](const plat::RasterDC& dc, int y, plat::COLORREF c) {
        std::string s;
        for (int x = 0; x < 10; ++x) s += dc.GetPixel(x, y) == c ? '#' : '.';
        return s;
    };
    plat::RasterDC dc(plat::Bitmap::Create(10, 8, 32), 96);
    const clsPoly line = Make({{1, 1}, {6, 1}, {6, 4}});
    EXPECT_TRUE(line.DrawPolyline(&dc));
    EXPECT_EQ(row(dc, 1, 0), ".######...");
    EXPECT_EQ(row(dc, 4, 0), "..........");
    plat::RasterDC fill(plat::Bitmap::Create(10, 8, 32), 96);
    fill.SelectPen(plat::StockPen(plat::NULL_PEN));
    fill.SelectBrush(plat::CreateSolidBrush(0xFF0000));
    const clsPoly ring = Make({{9, 0}, {0, 4}, {9, 8}, {9, 0}});
    EXPECT_TRUE(ring.DrawPolygon(&fill));
    EXPECT_EQ(row(fill, 0, 0xFF0000), "..........");
    EXPECT_EQ(row(fill, 1, 0xFF0000), ".......##.");   // the edge crosses row 1 at x = 6.75
    EXPECT_EQ(row(fill, 2, 0xFF0000), ".....####.");
    EXPECT_EQ(row(fill, 4, 0xFF0000), "#########.");
    EXPECT_FALSE(Make({{3, 3}}).DrawPolygon(&fill));   // one point is nothing the context draws
    EXPECT_FALSE(line.DrawPolyline(nullptr));
}
