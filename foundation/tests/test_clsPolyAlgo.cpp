#include <gtest/gtest.h>

#include "FoundationTest.h"
#include "basNumberText.h"
#include "clsPoly.h"
#include "PolyDetour.h"

#include <cmath>
#include <random>
#include <vector>

namespace {

using namespace ftest;

// Simplification one point at a time, to check that the linear versions
// give the same points.

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

// ---------------------------------------------------------------- clipping

TEST(PolyClip, PolygonClip) {
    const struct {
        Pts in;
        clsRect rect;
        bool ok;
        Pts out;
    } cases[] = {
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, clsRect(5, -5, 20, 20), true, {{5, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 0}}},
        {{{0, 0}, {10, 0}, {10, 10}, {0, 0}}, clsRect(20, 0, 30, 10), false, {}},
        {{{0, 0}, {10, 0}, {10, 10}, {0, 0}}, clsRect(0, 0, 10, 10), true, {{0, 0}, {10, 0}, {10, 10}, {0, 0}}},   // sides inside
        // The bounds meet the rectangle, the triangle does not.
        {{{0, 0}, {10, 0}, {0, 10}, {0, 0}}, clsRect(6, 6, 20, 20), false, {}},
        // Crossing x = 1 from (0,0) to (2,1): 0 + round(0.5) = 0; from (2,3)
        // to (0,2): 3 + round(-0.5) = 3, rounded from the segment's start.
        {{{0, 0}, {2, 1}, {2, 3}, {0, 2}, {0, 0}}, clsRect(1, -10, 10, 10), true, {{1, 0}, {2, 1}, {2, 3}, {1, 3}, {1, 0}}},
        {{{0, 0}, {4, 0}, {4, 4}, {0, 4}}, clsRect(2, -1, 9, 9), true, {{2, 0}, {4, 0}, {4, 4}, {2, 4}}},   // open stays open
        {{}, clsRect(0, 0, 10, 10), false, {}},
    };
    for (const auto& c : cases) {
        clsPoly p = Make(c.in);
        p.setModify(false);
        EXPECT_EQ(p.Clip(c.rect), c.ok) << c.in.size();
        EXPECT_EQ(PointsOf(p), c.out);
        EXPECT_EQ(p.Modify(), c.out != c.in);
    }
}

TEST(PolyClip, PolylineFragments) {
    const clsRect r(0, 0, 10, 10);
    const std::pair<Pts, std::vector<Pts>> cases[] = {
        {{{2, 2}, {20, 2}, {20, 8}, {2, 8}}, {{{2, 2}, {10, 2}}, {{10, 8}, {2, 8}}}},   // leaves and comes back
        {{{5, 5}, {5, 50}, {50, 50}}, {{{5, 5}, {5, 10}}}},
        {{{-5, 5}, {15, 5}}, {{{0, 5}, {10, 5}}}},   // both ends outside
        {{{1, 1}, {9, 9}}, {{{1, 1}, {9, 9}}}},
        {{{11, 1}, {19, 9}}, {}}, {{{5, 5}}, {}},   // a single point is no line
    };
    for (const auto& [line, fragments] : cases) {
        std::vector<Pts> got;
        for (const clsPoly& f : Make(line).Clips(r)) got.push_back(PointsOf(f));
        EXPECT_EQ(got, fragments) << line.size();
    }
    // Random sequences: as rings they clip to closed rings inside, as lines
    // to fragments of two or more points inside.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-100, 100), count(1, 40);
    const clsRect rect(-30, -20, 40, 25);
    for (int round = 0; round < 1000; ++round) {
        Pts pts(static_cast<size_t>(count(rng)));
        for (PolyPoint& q : pts) q = {coord(rng), coord(rng)};
        for (const clsPoly& fragment : Make(pts).Clips(rect)) {
            ASSERT_GE(fragment.Count(), 2) << round;
            for (const PolyPoint& q : fragment.Points()) ASSERT_TRUE(rect.IsInner(q.x, q.y)) << round;
        }
        if (pts.size() < 3) continue;
        pts.push_back(pts.front());
        clsPoly p = Make(pts);
        const bool ok = p.Clip(rect);
        EXPECT_EQ(ok, p.Count() > 0);
        for (const PolyPoint& q : p.Points()) ASSERT_TRUE(rect.IsInner(q.x, q.y)) << round;
        if (p.Count() >= 3) { EXPECT_EQ(p.GetPoint(1), p.GetPoint(p.Count())) << round; }
    }
}

// ---------------------------------------------------------------- reduction

TEST(PolyCompressB, StraightRunsAndEqualityCases) {
    clsPoly down;
    for (int i = 0; i < 10; ++i) down.AddXandY(4, 100 - i * 10);
    down.CompressB(0, 0);   // a straight run needs no tolerance
    EXPECT_EQ(PointsOf(down), (Pts{{4, 100}, {4, 10}}));
    const struct {
        Pts in;
        double tol, span;
        int32_t left;
    } cases[] = {
        {{{0, 0}, {1, 1}, {2, 2}}, 100, 1e9, 3},
        {{{0, 0}, {3, 3}, {6, 6}, {7, 9}, {8, 12}, {9, 14}}, 0, 1e9, 4},   // tol 0: only points on the line go
        {{{0, 0}, {3, 4}, {6, 0}, {6, 10}}, 4, 1e9, 4},                   // a detour of 5 + 5 - 6 = tol stays
        {{{0, 0}, {3, 4}, {6, 0}, {6, 10}}, 4.0000001, 1e9, 3},
        {{{0, 0}, {3, 4}, {6, 8}, {6, 20}}, 1, 10, 4},                    // a span equal to maxSpan stays
        {{{0, 0}, {3, 4}, {6, 8}, {6, 20}}, 1, 10.000001, 3},
    };
    for (const auto& c : cases) {
        clsPoly p = Make(c.in);
        p.CompressB(c.tol, c.span);
        EXPECT_EQ(p.Count(), c.left) << c.tol << " " << c.span;
    }
}

// The linear reductions against the one-point-at-a-time references, on
// wandering lines, fine arcs and nearly straight diagonals.
TEST(PolyCompressB, SameResultAsDeletingOneAtATime) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> tol(0, 6), span(2, 80);
    for (int round = 0; round < 300; ++round) {
        Pts pts = Wander(rng, 5 + round % 200, 1 + round % 9);
        if (round % 10 == 1) {
            pts.clear();
            for (int i = 0; i < 300; ++i) pts.push_back({static_cast<int32_t>(std::lround(500 * std::cos(3.0 * i / 300))),
                                                         static_cast<int32_t>(std::lround(500 * std::sin(3.0 * i / 300)))});
        } else if (round % 10 == 2) {
            pts.clear();
            for (int i = 0; i < 300; ++i) pts.push_back({i * 3, i * 4 + (i % 7 == 0 ? 1 : 0)});
        }
        const double t = tol(rng), s = round % 5 == 0 ? 1e12 : span(rng);
        clsPoly fast = Make(pts), slow = Make(pts);
        fast.CompressB(t, s);
        RefCompressB(slow, t, s);
        ASSERT_EQ(PointsOf(fast), PointsOf(slow)) << "round " << round << " tol " << t << " span " << s;
    }
}

// The view's own case: pixel outlines, a hair's tolerance, spans below 80,
// where nearly every triple is told apart by the quick bound alone.
TEST(PolyCompressB, PixelOutlinesAtTheViewsTolerance) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        Pts pts = Wander(rng, 50 + round * 5, 1 + round % 4);
        // Runs of collinear points, which are the ones that go.
        for (int i = 0; i < 40; ++i) pts.push_back({pts.back().x + 2, pts.back().y + 1});
        const double t = round % 3 == 0 ? 0.0005 : round % 3 == 1 ? 1e-7 : 0.01;
        clsPoly fast = Make(pts), slow = Make(pts);
        fast.CompressB(t, 80.0);
        RefCompressB(slow, t, 80.0);
        ASSERT_EQ(PointsOf(fast), PointsOf(slow)) << "round " << round << " tol " << t;
    }
    // The bound never rejects a triple whose detour is below the tolerance.
    std::uniform_int_distribution<int32_t> c(-60, 60);
    for (int i = 0; i < 200000; ++i) {
        const PolyPoint a{c(rng), c(rng)}, b{c(rng) / 8, c(rng) / 8}, d{c(rng), c(rng) / 16};
        const long double ab = std::hypot((long double)a.x - b.x, (long double)a.y - b.y);
        const long double bd = std::hypot((long double)b.x - d.x, (long double)b.y - d.y);
        const long double ad = std::hypot((long double)a.x - d.x, (long double)a.y - d.y);
        for (double t : {0.0005, 0.05, 2.0}) {
            if (ab + bd - ad < t && ad < 80) {
                ASSERT_FALSE(DetourClearlyAbove(a, b, d, t, 80.0)) << i;
            }
        }
    }
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
        } else {
            for (int i = 0; i < n; ++i) pts.push_back(round % 3 == 1 ? PolyPoint{spread(rng), spread(rng)} : PolyPoint{i * 3, i == n / 2});
        }
        const int32_t target = 3 + round % std::max(1, n / 2);
        const double span = round % 4 == 0 ? 1e12 : 20 + round % 100;
        clsPoly fast = Make(pts), slow = Make(pts);
        const bool fastOk = fast.CompressBToCount(0.1, 0.01, span, target);
        ASSERT_EQ(fastOk, RefCompressBToCount(slow, 0.1, 0.01, span, target)) << "round " << round;
        ASSERT_EQ(PointsOf(fast), fastOk ? PointsOf(slow) : pts) << "round " << round;
    }
}

TEST(PolyCompress, HalvesAndChops) {
    clsPoly open = Make({{0, 0}, {3, 3}, {6, 0}, {9, 3}, {12, 0}, {15, 3}, {18, 0}});
    open.CompressHalf();
    EXPECT_EQ(PointsOf(open), (Pts{{0, 0}, {6, 2}, {12, 2}, {18, 0}}));
    clsPoly neg = Make({{0, 0}, {-1, -1}, {-1, -1}, {0, 0}, {5, 5}});   // centroids truncate toward zero
    neg.CompressHalf();
    EXPECT_EQ(PointsOf(neg), (Pts{{0, 0}, {0, 0}, {5, 5}}));
    // A ring of 6 points: centroids of 1-2-3 and 3-4-5, the midpoint of 5-6, closed.
    clsPoly ring = Make({{0, 0}, {9, 0}, {9, 9}, {0, 9}, {-3, 4}, {0, 0}});
    ring.CompressHalf();
    EXPECT_EQ(PointsOf(ring), (Pts{{6, 3}, {2, 7}, {-1, 2}, {6, 3}}));

    clsPoly p = Make({{0, 0}, {25, 0}});
    EXPECT_FALSE(p.Chop(1, 1));
    EXPECT_FALSE(p.Chop(10, 4));
    EXPECT_TRUE(p.Chop(10, 2));   // measured in y: nothing to insert
    EXPECT_EQ(p.Count(), 2);
    EXPECT_TRUE(p.Chop(10, 1));
    EXPECT_EQ(PointsOf(p), (Pts{{0, 0}, {8, 0}, {17, 0}, {25, 0}}));
    clsPoly r = Make({{0, 0}, {5, 20}});   // mode 3: the larger difference; halves to even
    r.SetBound(-1, -1, 1000, 1000);
    EXPECT_TRUE(r.Chop(10, 3));
    EXPECT_EQ(PointsOf(r), (Pts{{0, 0}, {2, 10}, {5, 20}}));
    EXPECT_EQ(r.RectBound(), clsRect(-1, -1, 1000, 1000));   // a valid cache is kept
}

TEST(PolyEdit, OverlapsJoinsAndSearch) {
    clsPoly p = Make({{1, 1}, {1, 1}, {1, 1}, {2, 2}, {2, 2}, {3, 3}});
    EXPECT_TRUE(p.DelOverlap());
    EXPECT_EQ(PointsOf(p), (Pts{{1, 1}, {2, 2}, {3, 3}}));
    p.setModify(false);
    EXPECT_FALSE(p.DelOverlap());
    EXPECT_FALSE(p.Modify());
    clsPoly a = Make({{0, 0}, {5, 5}});
    EXPECT_TRUE(a.Connect(Make({{5, 5}, {9, 9}})));   // the shared point once
    EXPECT_EQ(PointsOf(a), (Pts{{0, 0}, {5, 5}, {9, 9}}));
    EXPECT_FALSE(a.Connect(clsPoly()));
    clsPoly loop = Make({{0, 0}, {1, 0}, {0, 0}});
    EXPECT_TRUE(loop.Connect(loop));
    EXPECT_EQ(PointsOf(loop), (Pts{{0, 0}, {1, 0}, {0, 0}, {1, 0}, {0, 0}}));
    clsPoly d = Make({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
    EXPECT_EQ(PointsOf(d.Divide(3)), (Pts{{3, 3}, {4, 4}, {5, 5}}));
    EXPECT_EQ(PointsOf(d), (Pts{{1, 1}, {2, 2}, {3, 3}}));
    d.setModify(false);
    EXPECT_EQ(d.Divide(4).Count(), 0);
    EXPECT_FALSE(d.Modify());
    EXPECT_EQ(d.Divide(3).Count(), 1);   // at the end: unchanged but marked
    EXPECT_TRUE(d.Modify());
    EXPECT_EQ(Make({{0, 0}, {5, 5}, {9, 9}, {5, 5}}).FindPoint(3, {5, 5}), 4);
    // (3,0) and (0,3) are both 3 away from the origin: the later one wins;
    // rounded distances: 2.83 counts as 3.
    clsPoly q = Make({{10, 10}, {3, 0}, {0, 3}, {7, 7}, {2, 2}});
    EXPECT_EQ(q.FindNearPoint(1, {0, 0}, 5), 5);
    EXPECT_EQ(q.FindNearPoint(1, {0, 0}, 2), 0);
    EXPECT_EQ(q.FindNearPoint(6, {0, 0}, 100), 0);
}
