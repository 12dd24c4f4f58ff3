#include <gtest/gtest.h>

#include "AppError.h"
#include "BinaryIO.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "ErrorMng.h"
#include "PolyTestData.h"
#include "clsPoly.h"

#include <vector>

using namespace polytest;

// ------------------------------------------------------------ state, count

TEST(Poly, NewSequence) {
    clsPoly p;
    EXPECT_EQ(p.Count(), 0);
    EXPECT_FALSE(p.Modify());
    EXPECT_FALSE(p.IsLoop());
    EXPECT_EQ(p.Area(), 0.0);
    EXPECT_EQ(p.TotalLength(), 0.0);
    EXPECT_TRUE(p.RectBound().IsEmpty());
    EXPECT_GT(p.RectBound().x1, p.RectBound().x2);
    EXPECT_EQ(clsPoly::MaxCount(), 268435455);
}

TEST(Poly, CountIsClampedAndNewPointsAreZero) {
    clsPoly p;
    p.setCount(-5);
    EXPECT_EQ(p.Count(), 0);
    EXPECT_TRUE(p.Modify());
    p.setModify(false);
    p.setCount(3);
    EXPECT_EQ(p.Count(), 3);
    EXPECT_TRUE(p.Modify());
    EXPECT_EQ(PointsOf(p), (std::vector<PolyPoint>{{0, 0}, {0, 0}, {0, 0}}));
    p.SetXandY(2, 7, 8);
    p.setCount(2);
    EXPECT_EQ(PointsOf(p), (std::vector<PolyPoint>{{0, 0}, {7, 8}}));
}

TEST(Poly, PlainAccessorsRefuseABadIndex) {
    clsPoly p = Make({{1, 2}, {3, 4}});
    try {
        (void)p.x(0);
        FAIL() << "no error";
    } catch (const plat::AppError& e) {
        EXPECT_EQ(e.number(), plat::ErrSubscript);
    }
    EXPECT_THROW(p.setY(3, 0), plat::AppError);
    EXPECT_THROW((void)p.LineWidth(2), plat::AppError);
    EXPECT_THROW((void)clsPoly().LastX(), plat::AppError);
}

TEST(Poly, LoopDetectionAndClosing) {
    struct Case {
        std::vector<PolyPoint> pts;
        bool isLoop;
        int32_t countAfterMakeLoop;
    } cases[] = {
        {{{0, 0}, {10, 0}, {10, 10}, {0, 0}}, true, 4},   // closed triangle
        {{{0, 0}, {10, 0}, {0, 0}}, false, 4},             // 3 points are no ring
        {{{0, 0}, {10, 0}}, false, 2},                     // too short to close
        {{{0, 0}, {10, 0}, {10, 10}}, false, 4},
        {{{0, 0}, {0, 0}, {0, 0}, {0, 0}}, true, 4},
    };
    for (const Case& c : cases) {
        clsPoly p;
        for (const PolyPoint& q : c.pts) p.AddPoint(q);
        EXPECT_EQ(p.IsLoop(), c.isLoop) << c.pts.size();
        p.MakeLoop();
        EXPECT_EQ(p.Count(), c.countAfterMakeLoop);
        if (p.Count() > 3) {
            EXPECT_EQ(p.GetPoint(p.Count()), p.GetPoint(1));
        }
    }
}

// --------------------------------------------------------------- measuring

TEST(Poly, SetRectAreaAndLength) {
    clsPoly p;
    p.SetRect(0, 0, 10, 20);
    EXPECT_EQ(PointsOf(p), (std::vector<PolyPoint>{{0, 0}, {10, 0}, {10, 20}, {0, 20}, {0, 0}}));
    EXPECT_TRUE(p.IsLoop());
    EXPECT_DOUBLE_EQ(p.Area(), 200.0);
    EXPECT_DOUBLE_EQ(p.TotalLength(), 60.0);
    EXPECT_EQ(p.LineWidth(1), 10);
    EXPECT_EQ(p.LineHeight(2), 20);
}

TEST(Poly, AreaIsPositiveInBothTurningSenses) {
    clsPoly cw = Make({{0, 0}, {0, 20}, {10, 20}, {10, 0}, {0, 0}});
    clsPoly ccw = Make({{0, 0}, {10, 0}, {10, 20}, {0, 20}, {0, 0}});
    EXPECT_DOUBLE_EQ(cw.Area(), 200.0);
    EXPECT_DOUBLE_EQ(ccw.Area(), 200.0);
    // Open: the closing edge is implied.
    EXPECT_DOUBLE_EQ(Make({{0, 0}, {10, 0}, {10, 20}}).Area(), 100.0);
    EXPECT_DOUBLE_EQ(Make({{0, 0}, {10, 0}}).Area(), 0.0);
    // Far from the origin, with differences that overflow 32 bits.
    clsPoly big;
    big.SetRect(-2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_DOUBLE_EQ(big.Area(), 1.6e19);
}

TEST(Poly, BoundsAndOverlap) {
    clsPoly p = Make({{5, -3}, {-2, 8}, {9, 4}});
    const clsRect b = p.RectBound();
    EXPECT_EQ(b, clsRect(-2, -3, 9, 8));
    int32_t a, c, d, e;
    p.GetBound4(a, c, d, e);
    EXPECT_EQ(a, -2);
    EXPECT_EQ(c, -3);
    EXPECT_EQ(d, 9);
    EXPECT_EQ(e, 8);
    EXPECT_TRUE(p.IsOverlapArea(clsRect(9, 8, 20, 20)));    // touching corner
    EXPECT_FALSE(p.IsOverlapArea(clsRect(10, 0, 20, 20)));
    // Any change makes the bounds stale.
    p.SetXandY(1, 100, 0);
    EXPECT_EQ(p.RectBound(), clsRect(-2, 0, 100, 8));
}

TEST(Poly, HorizontalAndVertical) {
    clsPoly p;
    for (int i = 0; i < 30; ++i) p.AddXandY(i, i < 20 ? 5 : 6);
    EXPECT_FALSE(p.IsHorizontal());   // decided by the bounds beyond point 20
    p.SetXandY(30, 29, 5);
    for (int i = 21; i <= 30; ++i) p.setY(i, 5);
    EXPECT_TRUE(p.IsHorizontal());
    EXPECT_FALSE(p.IsVertical());
    EXPECT_FALSE(Make({{3, 3}}).IsHorizontal());
    EXPECT_TRUE(Make({{3, 3}, {3, -9}, {3, 4}}).IsVertical());
}

// ----------------------------------------------------------------- editing

TEST(Poly, CopyIsModifiedAndInheritsAValidBoundsCache) {
    clsPoly p = Make({{0, 0}, {4, 4}});
    p.SetBound(-1, -1, 99, 99);   // a deliberately different cache shows it is handed on
    clsPoly c = p.Copy();
    EXPECT_TRUE(c.IsMatch(p));
    EXPECT_TRUE(c.Modify());
    EXPECT_EQ(c.RectBound(), clsRect(-1, -1, 99, 99));
    p.setModify(false);   // bounds stale now
    EXPECT_EQ(p.Copy().RectBound(), clsRect(0, 0, 4, 4));
}

TEST(Poly, DeleteAndInsertTestTheirIndex) {
    clsPoly p = Make({{1, 1}, {2, 2}, {3, 3}});
    p.setModify(false);
    EXPECT_FALSE(p.Del(0));
    EXPECT_FALSE(p.Del(4));
    EXPECT_FALSE(p.InsXandY(4, 9, 9));
    EXPECT_FALSE(p.Modify());
    EXPECT_TRUE(p.Del(2));
    EXPECT_TRUE(p.InsXandY(1, 0, 0));
    EXPECT_EQ(PointsOf(p), (std::vector<PolyPoint>{{0, 0}, {1, 1}, {3, 3}}));
    EXPECT_TRUE(p.Modify());
    EXPECT_TRUE(p.InBoundIndex(3));
    EXPECT_FALSE(p.InBoundIndex(4));
}

TEST(Poly, MoveOverflowLeavesThePointsAsTheyWere) {
    clsPoly edge = Make({{0, 0}, {2147483600, 0}});
    EXPECT_THROW(edge.Move(100, 0), plat::AppError);
    EXPECT_EQ(edge.x(2), 2147483600);
}

TEST(Poly, ArrayTransfer) {
    const std::vector<PolyPoint> src{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    clsPoly p = Make({{9, 9}});
    EXPECT_TRUE(p.FromArray(src, 1, 2, 10));   // cut to what the source holds
    EXPECT_EQ(PointsOf(p), (std::vector<PolyPoint>{{9, 9}, {2, 2}, {3, 3}, {4, 4}}));
    EXPECT_FALSE(p.FromArray(src, 4, 1, 1));   // nothing left

    std::vector<PolyPoint> dst(3);
    EXPECT_TRUE(p.ToArray(dst, 2, 1, 10));     // cut to the destination
    EXPECT_EQ(dst, (std::vector<PolyPoint>{{0, 0}, {2, 2}, {3, 3}}));
    EXPECT_FALSE(p.ToArray(dst, 5, 0, 1));
    EXPECT_FALSE(p.ToArray(dst, 1, 3, 1));
}

// ------------------------------------------------------ binary point block

namespace {

QByteArray SaveBytes(clsPoly& p, bool longCount) {
    plat::BinaryWriter w;
    p.Save(w, longCount);
    return w.buffer();
}

} // namespace

TEST(PolyBlock, LongCountLayout) {
    clsPoly p = Make({{1, -1}, {0x12345678, 2}});
    const QByteArray b = SaveBytes(p, true);
    EXPECT_EQ(b, QByteArray("\x02\x00\x00\x00"
                            "\x01\x00\x00\x00\xFF\xFF\xFF\xFF"
                            "\x78\x56\x34\x12\x02\x00\x00\x00",
                            20));
    plat::BinaryReader r(b);
    clsPoly q;
    q.Load(r, true);
    EXPECT_TRUE(q.IsMatch(p));
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(q.Modify());

    clsPoly empty;
    EXPECT_EQ(SaveBytes(empty, true), QByteArray("\0\0\0\0", 4));
    EXPECT_EQ(SaveBytes(empty, false), QByteArray("\0\0", 2));
}

TEST(PolyBlock, ShortCountIsUnsignedAndCutsLongSequences) {
    clsPoly p;
    p.setCount(40000);
    const QByteArray b = SaveBytes(p, false);
    EXPECT_EQ(b.left(2), QByteArray("\x40\x9C", 2));
    EXPECT_EQ(b.size(), 2 + 40000 * 8);
    plat::BinaryReader r(b);
    clsPoly q;
    q.Load(r, false);
    EXPECT_EQ(q.Count(), 40000);

    clsPoly big;
    big.setCount(70000);
    big.SetXandY(65535, 5, 6);
    const QByteArray c = SaveBytes(big, false);
    EXPECT_EQ(big.Count(), 65535);   // cut in memory too
    EXPECT_EQ(c.left(2), QByteArray("\xFF\xFF", 2));
    plat::BinaryReader rc(c);
    clsPoly back;
    back.Load(rc, false);
    EXPECT_EQ(back.Count(), 65535);
    EXPECT_EQ(back.GetPoint(65535), (PolyPoint{5, 6}));
}

TEST(PolyBlock, SaveKeepsTheBoundsLoadClearsThem) {
    clsPoly p = Make({{0, 0}, {3, 4}});
    p.SetBound(-7, -7, 7, 7);
    SaveBytes(p, true);
    EXPECT_FALSE(p.Modify());
    EXPECT_EQ(p.RectBound(), clsRect(-7, -7, 7, 7));   // cache still valid

    plat::BinaryWriter w;
    Make({{10, 20}, {30, 5}}).Save(w, true);
    plat::BinaryReader r(w.buffer());
    p.Load(r, true);
    EXPECT_FALSE(p.Modify());
    EXPECT_EQ(p.RectBound(), clsRect(10, 5, 30, 20));  // recomputed
}

TEST(PolyBlock, NegativeLongCountReadsNoPoints) {
    const QByteArray b("\xFF\xFF\xFF\xFF", 4);
    plat::BinaryReader r(b);
    clsPoly p = Make({{1, 1}});
    p.Load(r, true);
    EXPECT_EQ(p.Count(), 0);
    EXPECT_TRUE(r.atEnd());
}

TEST(PolyBlock, TruncatedOrDamagedBlockIsAClearErrorWithoutAllocation) {
    struct Case {
        QByteArray bytes;
        bool longCount;
    } cases[] = {
        {QByteArray("\x03\x00\x00\x00" "\x01\x00\x00\x00\x02\x00\x00\x00", 12), true},   // 3 points, 1 there
        {QByteArray("\xFF\xFF\xFF\x7F" "\x01\x00\x00\x00\x02\x00\x00\x00", 12), true},   // absurd count
        {QByteArray("\xFF\xFF\xFF\x0F", 4), true},                                        // MaxCount, no points
        {QByteArray("\x02\x00" "\x01\x00\x00\x00\x02\x00\x00\x00\x03", 11), false},
        {QByteArray("\x01", 1), false},                                                   // no whole count
    };
    for (const Case& c : cases) {
        clsPoly p = Make({{8, 9}});
        p.setModify(false);
        plat::BinaryReader r(c.bytes);
        try {
            p.Load(r, c.longCount);
            FAIL() << "no error for " << c.bytes.toHex().constData();
        } catch (const plat::AppError& e) {
            EXPECT_EQ(e.number(), plat::ErrInputPastEnd);
            EXPECT_TRUE(e.source().startsWith(QStringLiteral("clsPoly.Load/"))) << e.source().toStdString();
        }
        EXPECT_EQ(PointsOf(p), (std::vector<PolyPoint>{{8, 9}}));   // unchanged
        EXPECT_FALSE(p.Modify());
    }
}

// ------------------------------------------------------------ drawing

TEST(PolyDraw, PolylineAndPolygonOnAPicture) {
    auto row = [](const plat::RasterDC& dc, int y, plat::COLORREF c) {
        std::string s;
        for (int x = 0; x < 10; ++x) s += dc.GetPixel(x, y) == c ? '#' : '.';
        return s;
    };
    const plat::HBITMAP bm = plat::Bitmap::Create(10, 8, 32);
    plat::RasterDC dc(bm, 96);
    const clsPoly line = Make({{1, 1}, {6, 1}, {6, 4}});
    EXPECT_TRUE(line.DrawPolyline(&dc));
    EXPECT_EQ(row(dc, 1, 0), ".######...");
    EXPECT_EQ(row(dc, 3, 0), "......#...");
    EXPECT_EQ(row(dc, 4, 0), "..........");   // the last point is not set

    const plat::HBITMAP bm2 = plat::Bitmap::Create(10, 8, 32);
    plat::RasterDC dc2(bm2, 96);
    dc2.SelectPen(plat::StockPen(plat::NULL_PEN));
    dc2.SelectBrush(plat::CreateSolidBrush(0xFF0000));
    clsPoly ring;
    ring.SetRect(2, 2, 6, 5);
    EXPECT_TRUE(ring.DrawPolygon(&dc2));
    EXPECT_EQ(row(dc2, 1, 0xFF0000), "..........");
    EXPECT_EQ(row(dc2, 2, 0xFF0000), "..####....");
    EXPECT_EQ(row(dc2, 4, 0xFF0000), "..####....");
    EXPECT_EQ(row(dc2, 5, 0xFF0000), "..........");

    // One point is nothing the context draws; no context draws nothing.
    EXPECT_FALSE(Make({{3, 3}}).DrawPolyline(&dc));
    EXPECT_FALSE(Make({{3, 3}}).DrawPolygon(&dc));
    EXPECT_FALSE(line.DrawPolyline(nullptr));
    EXPECT_FALSE(ring.DrawPolygon(nullptr));
}
