#include <gtest/gtest.h>

#include "AppError.h"
#include "PolyTestData.h"
#include "basNumberText.h"
#include "clsPoly.h"

#include <cmath>
#include <random>
#include <vector>

namespace {

using namespace polytest;

// --- simplification and densification one point at a time, to check that
// --- the linear versions give the same points

bool RefCanDrop(const clsPoly& p, int32_t i, double tol, double maxSpan) {
    if (i < 1 || i > p.Count() - 2) return false;
    auto d = [&](int32_t a, int32_t b) { return Hypot(double(p.x(a)) - p.x(b), double(p.y(a)) - p.y(b)); };
    const double span = d(i, i + 2);
    if (!(span < maxSpan)) return false;
    const double detour = (d(i + 2, i + 1) + d(i + 1, i)) - span;
    return detour <= 0 || detour < tol;
}

void RefCompressB(clsPoly& p, double tol, double maxSpan) {
    if (p.Count() < 4) return;
    if (p.IsHorizontal() || p.IsVertical()) {
        int32_t x0, y0, x1, y1;
        p.GetBound4(x0, y0, x1, y1);
        if (p.LastX() - p.x(1) > 0 || p.LastY() - p.y(1) > 0)
            p.SetLine(x0, y0, x1, y1);
        else
            p.SetLine(x1, y1, x0, y0);
        return;
    }
    int32_t start = 1, last = p.Count() - 2;
    while (start <= last) {
        int32_t lastDel = 0;
        bool first = true;
        for (int32_t i = start; i <= last; ++i) {
            if (RefCanDrop(p, i, tol, maxSpan)) {
                p.Del(i + 1);
                --last;
                if (first && i >= 2) start = i - 1;
                first = false;
                lastDel = i;
            }
        }
        last = lastDel;
    }
}

void RefChop(clsPoly& p, int32_t maxLen, int mode) {
    for (int32_t i = 2; i <= p.Count(); ++i) {
        const int64_t dx = int64_t{p.x(i)} - p.x(i - 1), dy = int64_t{p.y(i)} - p.y(i - 1);
        const int64_t d = mode == 1 ? std::llabs(dx) : mode == 2 ? std::llabs(dy) : std::max(std::llabs(dx), std::llabs(dy));
        if (d <= maxLen) continue;
        const int64_t k = (d + maxLen - 1) / maxLen;
        double fx = p.x(i - 1), fy = p.y(i - 1);
        for (int64_t j = 1; j < k; ++j, ++i) {
            fx += double(dx) / double(k);
            fy += double(dy) / double(k);
            p.InsXandY(i, static_cast<int32_t>(std::nearbyint(fx)), static_cast<int32_t>(std::nearbyint(fy)));
        }
    }
}

// A wandering line: runs of nearly straight steps with turns, the kind of
// outline the simplification works on.
Pts Wander(std::mt19937& rng, int n, int step) {
    Pts pts;
    std::uniform_int_distribution<int> turn(0, 9), jitter(-1, 1), len(1, step);
    int dx = 1, dy = 0, x = 0, y = 0;
    for (int i = 0; i < n; ++i) {
        pts.push_back({x, y});
        if (turn(rng) == 0) {
            const int t = dx;
            dx = -dy;
            dy = t;
        }
        const int l = len(rng);
        x += dx * l + jitter(rng);
        y += dy * l + jitter(rng);
        if (turn(rng) < 2) pts.push_back({x, y});   // repeated points now and then
    }
    return pts;
}

} // namespace

// ---------------------------------------------------------------- Clip

TEST(PolyClip, SquareAgainstAWiderRectangle) {
    clsPoly p = Make({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
    EXPECT_TRUE(p.Clip(clsRect(5, -5, 20, 20)));
    EXPECT_EQ(PointsOf(p), (Pts{{5, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 0}}));
    EXPECT_TRUE(p.Modify());
}

TEST(PolyClip, WhollyOutsideOrInside) {
    clsPoly left = Make({{0, 0}, {10, 0}, {10, 10}, {0, 0}});
    EXPECT_FALSE(left.Clip(clsRect(20, 0, 30, 10)));
    EXPECT_EQ(left.Count(), 0);

    clsPoly in = Make({{0, 0}, {10, 0}, {10, 10}, {0, 0}});
    in.setModify(false);
    EXPECT_TRUE(in.Clip(clsRect(0, 0, 10, 10)));   // the sides are inside
    EXPECT_EQ(in.Count(), 4);
    EXPECT_FALSE(in.Modify());

    clsPoly none;
    EXPECT_FALSE(none.Clip(clsRect(0, 0, 10, 10)));
}

TEST(PolyClip, PassLeavingTooFewPointsEmptiesTheSequence) {
    // The bounds meet the rectangle, the triangle does not: the second pass
    // finds nothing inside.
    clsPoly p = Make({{0, 0}, {10, 0}, {0, 10}, {0, 0}});
    EXPECT_FALSE(p.Clip(clsRect(6, 6, 20, 20)));
    EXPECT_EQ(p.Count(), 0);
}

TEST(PolyClip, CrossingsRoundHalfToEven) {
    // Crossing x = 1 from (0,0) to (2,1): 0 + round(0.5) = 0; from (2,3) to
    // (0,2): 3 + round(-0.5) = 3, the offset rounded from the segment's start.
    clsPoly p = Make({{0, 0}, {2, 1}, {2, 3}, {0, 2}, {0, 0}});
    EXPECT_TRUE(p.Clip(clsRect(1, -10, 10, 10)));
    EXPECT_EQ(PointsOf(p), (Pts{{1, 0}, {2, 1}, {2, 3}, {1, 3}, {1, 0}}));
    // An open sequence is not closed by the clip.
    clsPoly open = Make({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    EXPECT_TRUE(open.Clip(clsRect(2, -1, 9, 9)));
    EXPECT_EQ(PointsOf(open), (Pts{{2, 0}, {4, 0}, {4, 4}, {2, 4}}));
}

TEST(PolyClip, RandomRingsStayInsideAndClosed) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-100, 100), count(3, 40);
    const clsRect rect(-30, -20, 40, 25);
    for (int round = 0; round < 500; ++round) {
        Pts pts;
        const int n = count(rng);
        for (int i = 0; i < n; ++i) pts.push_back({coord(rng), coord(rng)});
        pts.push_back(pts.front());
        clsPoly p = Make(pts);
        const bool ok = p.Clip(rect);
        EXPECT_EQ(ok, p.Count() > 0);
        for (const PolyPoint& q : p.Points()) ASSERT_TRUE(rect.IsInner(q.x, q.y)) << round;
        if (p.Count() >= 3) {
            EXPECT_EQ(p.GetPoint(1), p.GetPoint(p.Count())) << round;
        }
    }
}

// ---------------------------------------------------------------- Clips

TEST(PolyClips, FragmentsAlongAPolyline) {
    const clsRect r(0, 0, 10, 10);
    // Leaves at x = 10 and comes back.
    clsPoly p = Make({{2, 2}, {20, 2}, {20, 8}, {2, 8}});
    PolyCollection fragments = p.Clips(r);
    ASSERT_EQ(fragments.size(), 2u);
    EXPECT_EQ(PointsOf(fragments[0]), (Pts{{2, 2}, {10, 2}}));
    EXPECT_EQ(PointsOf(fragments[1]), (Pts{{10, 8}, {2, 8}}));
    EXPECT_EQ(p.Count(), 4);   // unchanged

    // Only the first point inside: one 2-point fragment to the exit.
    fragments = Make({{5, 5}, {5, 50}, {50, 50}}).Clips(r);
    ASSERT_EQ(fragments.size(), 1u);
    EXPECT_EQ(PointsOf(fragments[0]), (Pts{{5, 5}, {5, 10}}));

    // Through the rectangle with both ends outside.
    fragments = Make({{-5, 5}, {15, 5}}).Clips(r);
    ASSERT_EQ(fragments.size(), 1u);
    EXPECT_EQ(PointsOf(fragments[0]), (Pts{{0, 5}, {10, 5}}));

    // Wholly inside: one copy; wholly outside: nothing.
    fragments = Make({{1, 1}, {9, 9}}).Clips(r);
    ASSERT_EQ(fragments.size(), 1u);
    EXPECT_TRUE(fragments[0].Modify());
    EXPECT_TRUE(Make({{11, 1}, {19, 9}}).Clips(r).empty());
    // A single point is no line.
    EXPECT_TRUE(Make({{5, 5}}).Clips(r).empty());
    EXPECT_TRUE(clsPoly().Clips(r).empty());
}

TEST(PolyClips, RandomLinesGiveFragmentsOfTwoOrMorePointsInside) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-60, 60), count(1, 30);
    const clsRect rect(-20, -25, 30, 15);
    for (int round = 0; round < 1000; ++round) {
        Pts pts;
        const int n = count(rng);
        for (int i = 0; i < n; ++i) pts.push_back({coord(rng), coord(rng)});
        const PolyCollection fragments = Make(pts).Clips(rect);
        for (const clsPoly& fragment : fragments) {
            ASSERT_GE(fragment.Count(), 2) << round;
            for (const PolyPoint& q : fragment.Points()) ASSERT_TRUE(rect.IsInner(q.x, q.y)) << round;
        }
    }
}

// ---------------------------------------------------------------- CompressB

TEST(PolyCompressB, StraightRunsBecomeTwoPoints) {
    clsPoly down;
    for (int i = 0; i < 10; ++i) down.AddXandY(4, 100 - i * 10);
    down.CompressB(0, 1e9);
    EXPECT_EQ(PointsOf(down), (Pts{{4, 100}, {4, 10}}));

    clsPoly right;
    for (int i = 0; i < 10; ++i) right.AddXandY(i * i, -3);
    right.CompressB(0, 0);   // a straight run needs no tolerance
    EXPECT_EQ(PointsOf(right), (Pts{{0, -3}, {81, -3}}));

    clsPoly three = Make({{0, 0}, {1, 1}, {2, 2}});
    three.CompressB(100, 1e9);
    EXPECT_EQ(three.Count(), 3);
}

TEST(PolyCompressB, EqualityCases) {
    // tol 0 removes only middle points exactly on the line of their neighbours.
    clsPoly p = Make({{0, 0}, {3, 3}, {6, 6}, {7, 9}, {8, 12}, {9, 14}});
    p.CompressB(0, 1e9);
    EXPECT_EQ(PointsOf(p), (Pts{{0, 0}, {6, 6}, {8, 12}, {9, 14}}));

    // A detour equal to tol keeps the point; just above it drops it.
    const Pts bend{{0, 0}, {3, 4}, {6, 0}, {6, 10}};   // detour of (3,4) = 5 + 5 - 6 = 4
    clsPoly keep = Make(bend);
    keep.CompressB(4, 1e9);
    EXPECT_EQ(keep.Count(), 4);
    clsPoly drop = Make(bend);
    drop.CompressB(4.0000001, 1e9);
    EXPECT_EQ(PointsOf(drop), (Pts{{0, 0}, {6, 0}, {6, 10}}));

    // A span equal to maxSpan keeps the point.
    const Pts line{{0, 0}, {3, 4}, {6, 8}, {6, 20}};   // span of the first triple = 10
    clsPoly atSpan = Make(line);
    atSpan.CompressB(1, 10);
    EXPECT_EQ(atSpan.Count(), 4);
    clsPoly belowSpan = Make(line);
    belowSpan.CompressB(1, 10.000001);
    EXPECT_EQ(belowSpan.Count(), 3);
}

// CompressB called at rising tolerances, one call at a time: the reference
// of CompressBToCount. Tolerances at which nothing would go are skipped.
bool RefCompressBToCount(clsPoly& p, double tol, double step, double maxSpan, int32_t maxCount) {
    if (p.Count() <= maxCount) return true;
    clsPoly work = p;
    int64_t k = 0;
    for (int pass = 0; pass < 2 * p.Count() + 16; ++pass) {
        const int32_t before = work.Count();
        work.CompressB(tol + step * static_cast<double>(k), maxSpan);
        if (work.Count() <= maxCount) {
            p = work;
            return true;
        }
        if (work.Count() < before) {
            ++k;
            continue;
        }
        double best = -1;
        for (int32_t i = 1; i + 2 <= work.Count(); ++i) {
            auto d = [&](int32_t a, int32_t b) { return Hypot(double(work.x(a)) - work.x(b), double(work.y(a)) - work.y(b)); };
            const double span = d(i, i + 2);
            if (!(span < maxSpan)) continue;
            const double detour = (d(i + 2, i + 1) + d(i + 1, i)) - span;
            if (best < 0 || detour < best) best = detour;
        }
        if (best < 0 || best > 1e12) return false;
        int64_t next = static_cast<int64_t>((best - tol) / step);
        while (tol + step * static_cast<double>(next) <= best) ++next;
        k = std::max(k + 1, next);
    }
    return false;
}

TEST(PolyCompressB, ToACountAsCallsAtRisingTolerances) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int32_t> spread(0, 400);
    for (int round = 0; round < 300; ++round) {
        // Wandering lines, scattered points and straight runs with a kink.
        Pts pts;
        const int n = 6 + round % 250;
        if (round % 3 == 0) {
            pts = Wander(rng, n, 1 + round % 9);
        } else if (round % 3 == 1) {
            for (int i = 0; i < n; ++i) pts.push_back({spread(rng), spread(rng)});
        } else {
            for (int i = 0; i < n; ++i) pts.push_back({i * 3, i == n / 2 ? 1 : 0});
        }
        const int32_t target = 3 + round % std::max(1, n / 2);
        const double span = round % 4 == 0 ? 1e12 : 20 + round % 100;
        clsPoly fast = Make(pts), slow = Make(pts);
        const bool fastOk = fast.CompressBToCount(0.1, 0.01, span, target);
        const bool slowOk = RefCompressBToCount(slow, 0.1, 0.01, span, target);
        ASSERT_EQ(fastOk, slowOk) << "round " << round;
        ASSERT_EQ(PointsOf(fast), PointsOf(slow)) << "round " << round;
        if (!fastOk) {
            ASSERT_EQ(PointsOf(fast), pts) << "round " << round;
        }
    }
}

TEST(PolyCompressB, SameResultAsDeletingOneAtATime) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> tol(0, 6), span(2, 80);
    for (int round = 0; round < 400; ++round) {
        const Pts pts = Wander(rng, 5 + round % 200, 1 + round % 9);
        const double t = tol(rng), s = round % 5 == 0 ? 1e12 : span(rng);
        clsPoly fast = Make(pts), slow = Make(pts);
        fast.CompressB(t, s);
        RefCompressB(slow, t, s);
        ASSERT_EQ(PointsOf(fast), PointsOf(slow)) << "round " << round << " tol " << t << " span " << s;
    }
}

TEST(PolyCompressB, SameResultOnFineArcsAndStraightDiagonals) {
    // Fine arcs drop points over many passes; diagonals drop all but the ends.
    for (int n : {10, 57, 300, 1000}) {
        for (double tol : {0.0, 0.01, 0.5, 3.0}) {
            Pts arc;
            for (int i = 0; i < n; ++i) {
                const double a = 3.0 * i / n;
                arc.push_back({static_cast<int32_t>(std::lround(500 * std::cos(a))),
                               static_cast<int32_t>(std::lround(500 * std::sin(a)))});
            }
            Pts diagonal;
            for (int i = 0; i < n; ++i) diagonal.push_back({i * 3, i * 4 + (i % 7 == 0 ? 1 : 0)});
            for (const Pts& pts : {arc, diagonal}) {
                for (double span : {50.0, 1e9}) {
                    clsPoly fast = Make(pts), slow = Make(pts);
                    fast.CompressB(tol, span);
                    RefCompressB(slow, tol, span);
                    ASSERT_EQ(PointsOf(fast), PointsOf(slow)) << n << " " << tol << " " << span;
                }
            }
        }
    }
}

// ---------------------------------------------------------------- CompressHalf

TEST(PolyCompressHalf, OpenAndClosed) {
    clsPoly open = Make({{0, 0}, {3, 3}, {6, 0}, {9, 3}, {12, 0}, {15, 3}, {18, 0}});
    open.CompressHalf();
    EXPECT_EQ(PointsOf(open), (Pts{{0, 0}, {6, 2}, {12, 2}, {18, 0}}));

    // Centroids truncate toward zero, also below zero.
    clsPoly neg = Make({{0, 0}, {-1, -1}, {-1, -1}, {0, 0}, {5, 5}});
    neg.CompressHalf();
    EXPECT_EQ(PointsOf(neg), (Pts{{0, 0}, {0, 0}, {5, 5}}));

    // A ring of 6 points: centroids of 1-2-3 and 3-4-5, the midpoint of 5-6, closed.
    clsPoly ring = Make({{0, 0}, {9, 0}, {9, 9}, {0, 9}, {-3, 4}, {0, 0}});
    ring.CompressHalf();
    EXPECT_EQ(PointsOf(ring), (Pts{{6, 3}, {2, 7}, {-1, 2}, {6, 3}}));

    clsPoly one = Make({{1, 1}});
    one.CompressHalf();
    EXPECT_EQ(one.Count(), 1);
}

// ---------------------------------------------------------------- Chop

TEST(PolyChop, RoundingAndModes) {
    clsPoly p = Make({{0, 0}, {25, 0}});
    EXPECT_TRUE(p.Chop(10, 1));
    EXPECT_EQ(PointsOf(p), (Pts{{0, 0}, {8, 0}, {17, 0}, {25, 0}}));

    clsPoly q = Make({{0, 0}, {25, 0}});
    EXPECT_FALSE(q.Chop(1, 1));
    EXPECT_FALSE(q.Chop(10, 4));
    EXPECT_FALSE(q.Chop(10, 0));
    EXPECT_TRUE(q.Chop(10, 2));   // measured in y: nothing to insert
    EXPECT_EQ(q.Count(), 2);
    EXPECT_TRUE(q.Modify());

    // Mode 3 measures the larger difference; halves go to the even neighbour.
    clsPoly r = Make({{0, 0}, {5, 20}});
    EXPECT_TRUE(r.Chop(10, 3));
    EXPECT_EQ(PointsOf(r), (Pts{{0, 0}, {2, 10}, {5, 20}}));
}

TEST(PolyChop, KeepsAValidBoundsCache) {
    clsPoly p = Make({{0, 0}, {100, 0}});
    p.SetBound(-1, -1, 1000, 1000);
    p.setX(1, 0);   // stale
    EXPECT_TRUE(p.Chop(10, 3));
    EXPECT_EQ(p.RectBound(), clsRect(0, 0, 100, 0));
    p.SetBound(-1, -1, 1000, 1000);
    EXPECT_TRUE(p.Chop(5, 3));
    EXPECT_EQ(p.RectBound(), clsRect(-1, -1, 1000, 1000));   // still the cached one
    EXPECT_TRUE(p.Modify());
}

TEST(PolyChop, SameResultAsInsertingOneAtATime) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> coord(-1000, 1000), len(2, 300), mode(1, 3);
    for (int round = 0; round < 300; ++round) {
        Pts pts;
        for (int i = 0; i < 1 + round % 25; ++i) pts.push_back({coord(rng), coord(rng)});
        const int l = len(rng), m = mode(rng);
        clsPoly fast = Make(pts), slow = Make(pts);
        ASSERT_TRUE(fast.Chop(l, static_cast<int16_t>(m)));
        RefChop(slow, l, m);
        ASSERT_EQ(PointsOf(fast), PointsOf(slow)) << round;
    }
}

// ---------------------------------------------------------------- DelOverlap

TEST(PolyDelOverlap, RunsOfEqualPoints) {
    clsPoly p = Make({{1, 1}, {1, 1}, {1, 1}, {2, 2}});
    EXPECT_TRUE(p.DelOverlap());
    EXPECT_EQ(PointsOf(p), (Pts{{1, 1}, {2, 2}}));
    p.setModify(false);
    EXPECT_FALSE(p.DelOverlap());
    EXPECT_FALSE(p.Modify());
    clsPoly q = Make({{1, 1}, {2, 2}, {2, 2}, {3, 3}, {3, 3}});
    EXPECT_TRUE(q.DelOverlap());
    EXPECT_EQ(PointsOf(q), (Pts{{1, 1}, {2, 2}, {3, 3}}));
}

// ---------------------------------------------------------------- Connect, Divide

TEST(PolyJoin, ConnectKeepsTheSharedPointOnce) {
    clsPoly a = Make({{0, 0}, {5, 5}});
    EXPECT_TRUE(a.Connect(Make({{5, 5}, {9, 9}})));
    EXPECT_EQ(PointsOf(a), (Pts{{0, 0}, {5, 5}, {9, 9}}));
    EXPECT_TRUE(a.Connect(Make({{1, 1}})));
    EXPECT_EQ(a.Count(), 4);
    EXPECT_FALSE(a.Connect(clsPoly()));

    clsPoly empty;
    EXPECT_TRUE(empty.Connect(Make({{3, 3}, {4, 4}})));
    EXPECT_EQ(empty.Count(), 2);

    clsPoly ring = Make({{0, 0}, {1, 0}, {0, 0}});
    EXPECT_TRUE(ring.Connect(ring));
    EXPECT_EQ(PointsOf(ring), (Pts{{0, 0}, {1, 0}, {0, 0}, {1, 0}, {0, 0}}));
}

TEST(PolyJoin, Divide) {
    clsPoly p = Make({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
    clsPoly tail = p.Divide(3);
    EXPECT_EQ(PointsOf(p), (Pts{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(PointsOf(tail), (Pts{{3, 3}, {4, 4}, {5, 5}}));

    p.setModify(false);
    EXPECT_EQ(p.Divide(0).Count(), 0);
    EXPECT_EQ(p.Divide(4).Count(), 0);
    EXPECT_FALSE(p.Modify());
    EXPECT_EQ(p.Divide(3).Count(), 1);   // at the end: this one unchanged but marked
    EXPECT_TRUE(p.Modify());
    EXPECT_EQ(Make({{1, 1}, {2, 2}}).Divide(1).Count(), 0);
}

// ---------------------------------------------------------------- search

TEST(PolySearch, FindPointAndNearPoint) {
    clsPoly p = Make({{0, 0}, {5, 5}, {9, 9}, {5, 5}});
    EXPECT_EQ(p.FindPoint(1, {5, 5}), 2);
    EXPECT_EQ(p.FindPoint(3, {5, 5}), 4);
    EXPECT_EQ(p.FindPoint(5, {5, 5}), 0);
    EXPECT_EQ(p.FindPoint(1, {6, 6}), 0);

    // (3,0) and (0,3) are both 3 away from the origin: the later one wins.
    clsPoly q = Make({{10, 10}, {3, 0}, {0, 3}, {7, 7}});
    EXPECT_EQ(q.FindNearPoint(1, {0, 0}, 5), 3);
    EXPECT_EQ(q.FindNearPoint(1, {0, 0}, 2), 0);
    EXPECT_EQ(q.FindNearPoint(4, {0, 0}, 100), 4);
    EXPECT_EQ(q.FindNearPoint(5, {0, 0}, 100), 0);
    // Rounded distances: 2.83 and 3 both count as 3.
    clsPoly r = Make({{2, 2}, {3, 0}});
    EXPECT_EQ(r.FindNearPoint(1, {0, 0}, 3), 2);
    EXPECT_EQ(r.FindNearPoint(1, {0, 0}, 2), 0);
}
