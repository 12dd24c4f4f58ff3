#include <gtest/gtest.h>

#include "AppError.h"
#include "FoundationTest.h"
#include "basSplineLib.h"

using ftest::PointsOf;
using ftest::Pts;

namespace {

clsPoly Make(const Pts& pts) {
    clsPoly p = ftest::Make(pts);
    p.setModify(false);
    return p;
}

} // namespace

TEST(Spline, StepsWeightsAndExactCurves) {
    for (auto [n, step] : {std::pair{-3, 0.5}, {2, 0.5}, {4, 0.25}, {50, 0.02}, {101, 0.01}}) EXPECT_DOUBLE_EQ(SplineStep(n), step) << n;
    int32_t x, y;
    SplineWeightedPoint(Make({{0, 0}, {10, 20}, {20, 40}, {30, 60}}), 1, 0, 0.25, 0, 0, x, y);   // 2.5 and 5: halves to even
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 5);
    EXPECT_EQ(PointsOf(BSpline2nd(Make({{0, 0}, {10, 0}, {10, 10}}), 2)), (Pts{{0, 0}, {5, 0}, {9, 1}, {10, 5}, {10, 10}}));
    // Clamped: starts on the first point, ends with the last point twice.
    EXPECT_EQ(PointsOf(BSpline3rd(Make({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}}), 2)),
              (Pts{{0, 0}, {12, 0}, {21, 0}, {28, 0}, {40, 0}, {40, 0}}));
    EXPECT_EQ(PointsOf(Spline3rd(Make({{0, 0}, {10, 0}, {20, 0}, {30, 0}}), 2)),
              (Pts{{0, 0}, {5, 0}, {10, 0}, {15, 0}, {20, 0}, {25, 0}, {30, 0}, {30, 0}}));
}

TEST(Spline, TooFewOrRepeatedPoints) {
    const clsPoly two = Make({{1, 2}, {3, 4}});
    for (const clsPoly& r : {BSpline2nd(two, 5), Spline3rd(two, 5), BSpline3rd(two, 5)}) EXPECT_TRUE(r.IsMatch(two));
    const clsPoly four = Make({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_TRUE(BSpline3rd(four, 3).IsMatch(BSpline2nd(four, 3)));
    const clsPoly few = Make({{0, 0}, {0, 0}, {5, 5}, {5, 5}, {9, 0}});   // too few for the interpolating spline
    EXPECT_TRUE(Spline3rd(few, 3).IsMatch(few));
    const clsPoly plain = Make({{0, 0}, {10, 0}, {20, 5}, {30, 0}, {40, 10}});
    const clsPoly repeated = Make({{0, 0}, {10, 0}, {10, 0}, {20, 5}, {20, 5}, {20, 5}, {30, 0}, {40, 10}});
    EXPECT_TRUE(Spline3rd(repeated, 5).IsMatch(Spline3rd(plain, 5)));
}

// Open curves keep their ends (the cubic ones the last point twice), the
// interpolating one passes every point, rings stay closed, and the given
// sequence is never changed.
TEST(Spline, EndsRingsAndTheGivenSequence) {
    const Pts open{{0, 0}, {30, 50}, {70, 40}, {90, -20}, {140, 10}, {160, 80}, {200, 60}};
    const Pts rings[] = {{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, {{0, 0}, {90, 10}, {100, 100}, {-10, 80}, {0, 0}},
                         {{0, 0}, {100, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}};
    for (int32_t n : {1, 3, 10}) {
        const clsPoly p = Make(open);
        const clsPoly curves[] = {BSpline2nd(p, n), BSpline3rd(p, n), Spline3rd(p, n)};
        for (const clsPoly& r : curves) {
            ASSERT_GE(r.Count(), 3);
            EXPECT_EQ(r.GetPoint(1), (PolyPoint{0, 0}));
            EXPECT_EQ(r.GetPoint(r.Count()), (PolyPoint{200, 60}));
        }
        EXPECT_EQ(curves[1].GetPoint(curves[1].Count() - 1), (PolyPoint{200, 60}));
        for (const PolyPoint& q : open) EXPECT_GT(curves[2].FindPoint(1, q), 0) << q.x;
        EXPECT_EQ(PointsOf(p), open);
        EXPECT_FALSE(p.Modify());
        for (const Pts& pts : rings) {
            for (const clsPoly& r : {BSpline2nd(Make(pts), n), BSpline3rd(Make(pts), n), Spline3rd(Make(pts), n)}) {
                EXPECT_TRUE(r.IsLoop()) << pts.size() << " " << n;
                EXPECT_GT(r.Count(), static_cast<int32_t>(pts.size()));
            }
        }
    }
    try {
        (void)Spline3rd(Make({{0, 0}, {1, 2147483000}, {2, 0}, {3, 2147483000}, {4, 0}}), 10);
        FAIL() << "a sample beyond 32 bits";
    } catch (const plat::AppError& e) {
        EXPECT_EQ(e.number(), plat::ErrOverflow);
        EXPECT_TRUE(e.source().startsWith(QStringLiteral("basSplineLib.Spline3rd/"))) << e.source().toStdString();
    }
}
