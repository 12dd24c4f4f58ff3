#include <gtest/gtest.h>

#include "AppError.h"
#include "PolyTestData.h"
#include "basSplineLib.h"

#include <vector>

namespace {

using polytest::PointsOf;
using polytest::Pts;

clsPoly Make(const Pts& pts) {
    clsPoly p = polytest::Make(pts);
    p.setModify(false);
    return p;
}

const Pts kSquareRing{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};

} // namespace

TEST(Spline, Step) {
    struct Case {
        int32_t n;
        double step;
    } cases[] = {{-3, 0.5}, {0, 0.5}, {1, 0.5}, {2, 0.5}, {4, 0.25}, {50, 0.02}, {100, 0.01}, {101, 0.01}, {500, 0.01}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(SplineStep(c.n), c.step) << c.n;
}

TEST(Spline, WeightedPoint) {
    const clsPoly p = Make({{0, 0}, {10, 20}, {20, 40}, {30, 60}, {40, 80}});
    int32_t x, y;
    SplineWeightedPoint(p, 2, 0.25, 0.25, 0.25, 0.25, x, y);
    EXPECT_EQ(x, 25);
    EXPECT_EQ(y, 50);
    SplineWeightedPoint(p, 1, 0, 0.25, 0, 0, x, y);   // 2.5 and 5: halves to even
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 5);
}

TEST(Spline, QuadraticOfThreePoints) {
    const clsPoly p = Make({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_EQ(PointsOf(BSpline2nd(p, 2)), (Pts{{0, 0}, {5, 0}, {9, 1}, {10, 5}, {10, 10}}));
}

TEST(Spline, CubicBSplineOfFivePoints) {
    // Clamped: starts on the first point, ends with the last point twice.
    const clsPoly p = Make({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}});
    EXPECT_EQ(PointsOf(BSpline3rd(p, 2)), (Pts{{0, 0}, {12, 0}, {21, 0}, {28, 0}, {40, 0}, {40, 0}}));
}

TEST(Spline, InterpolatingSplineOfAStraightLine) {
    const clsPoly p = Make({{0, 0}, {10, 0}, {20, 0}, {30, 0}});
    EXPECT_EQ(PointsOf(Spline3rd(p, 2)),
              (Pts{{0, 0}, {5, 0}, {10, 0}, {15, 0}, {20, 0}, {25, 0}, {30, 0}, {30, 0}}));
}

TEST(Spline, TooFewPointsGiveACopy) {
    const clsPoly two = Make({{1, 2}, {3, 4}});
    EXPECT_TRUE(BSpline2nd(two, 5).IsMatch(two));
    EXPECT_TRUE(Spline3rd(two, 5).IsMatch(two));
    EXPECT_TRUE(BSpline3rd(two, 5).IsMatch(two));
    const clsPoly four = Make({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_TRUE(BSpline3rd(four, 3).IsMatch(BSpline2nd(four, 3)));
    // Repeated points leave too few for the interpolating spline.
    const clsPoly few = Make({{0, 0}, {0, 0}, {5, 5}, {5, 5}, {9, 0}});
    EXPECT_TRUE(Spline3rd(few, 3).IsMatch(few));
}

TEST(Spline, OpenResultsKeepTheirEnds) {
    const clsPoly p = Make({{0, 0}, {30, 50}, {70, 40}, {90, -20}, {140, 10}, {160, 80}, {200, 60}});
    for (int32_t n : {1, 3, 10}) {
        for (const clsPoly& r : {BSpline2nd(p, n), BSpline3rd(p, n), Spline3rd(p, n)}) {
            ASSERT_GE(r.Count(), 3);
            EXPECT_EQ(r.GetPoint(1), (PolyPoint{0, 0}));
            EXPECT_EQ(r.GetPoint(r.Count()), (PolyPoint{200, 60}));
        }
        for (const clsPoly& r : {BSpline3rd(p, n), Spline3rd(p, n)}) {
            EXPECT_EQ(r.GetPoint(r.Count() - 1), (PolyPoint{200, 60}));
        }
    }
    // The interpolating spline passes through every given point.
    const clsPoly s = Spline3rd(p, 4);
    for (const PolyPoint& q : p.Points()) EXPECT_GT(s.FindPoint(1, q), 0) << q.x;
}

TEST(Spline, ClosedRingsStayClosed) {
    const Pts five{{0, 0}, {90, 10}, {100, 100}, {-10, 80}, {0, 0}};
    const Pts longer{{0, 0}, {50, -10}, {100, 0}, {110, 50}, {100, 100}, {50, 120}, {0, 100}, {-20, 50}, {0, 0}};
    for (const Pts& pts : {kSquareRing, five, longer}) {
        const clsPoly ring = Make(pts);
        for (int32_t n : {1, 2, 7}) {
            for (const clsPoly& r : {BSpline2nd(ring, n), BSpline3rd(ring, n), Spline3rd(ring, n)}) {
                EXPECT_TRUE(r.IsLoop()) << pts.size() << " " << n;
                EXPECT_GT(r.Count(), static_cast<int32_t>(pts.size()));
            }
        }
    }
}

TEST(Spline, RepeatedPointsCountOnce) {
    const clsPoly plain = Make({{0, 0}, {10, 0}, {20, 5}, {30, 0}, {40, 10}});
    const clsPoly repeated = Make({{0, 0}, {10, 0}, {10, 0}, {20, 5}, {20, 5}, {20, 5}, {30, 0}, {40, 10}});
    EXPECT_TRUE(Spline3rd(repeated, 5).IsMatch(Spline3rd(plain, 5)));
    const clsPoly ring = Make({{0, 0}, {100, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
    EXPECT_TRUE(Spline3rd(ring, 5).IsLoop());
}

TEST(Spline, GivenSequenceIsNeverChanged) {
    for (const Pts& pts : {kSquareRing, Pts{{0, 0}, {10, 0}}, Pts{{0, 0}, {3, 9}, {9, 3}, {12, 12}, {20, 0}, {25, 5}}}) {
        const clsPoly p = Make(pts);
        (void)BSpline2nd(p, 4);
        (void)BSpline3rd(p, 4);
        (void)Spline3rd(p, 4);
        EXPECT_EQ(PointsOf(p), pts);
        EXPECT_FALSE(p.Modify());
    }
}

TEST(Spline, SampleBeyondThe32BitRangeIsAnOverflowError) {
    const clsPoly p = Make({{0, 0}, {1, 2147483000}, {2, 0}, {3, 2147483000}, {4, 0}});
    try {
        (void)Spline3rd(p, 10);
        FAIL() << "no error";
    } catch (const plat::AppError& e) {
        EXPECT_EQ(e.number(), plat::ErrOverflow);
        EXPECT_TRUE(e.source().startsWith(QStringLiteral("basSplineLib.Spline3rd/"))) << e.source().toStdString();
    }
}
