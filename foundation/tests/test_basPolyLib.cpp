#include <gtest/gtest.h>

#include "PolyTestData.h"
#include "basPolyLib.h"

#include <cmath>
#include <initializer_list>
#include <random>
#include <vector>

namespace {

using namespace polytest;

std::vector<Pts> All(const PolyCollection& c) {
    std::vector<Pts> v;
    for (const clsPoly& p : c) v.push_back(PointsOf(p));
    return v;
}

Pts Transposed(const Pts& pts) {
    Pts t;
    for (const PolyPoint& p : pts) t.push_back({p.y, p.x});
    return t;
}

std::vector<Pts> Transposed(const std::vector<Pts>& v) {
    std::vector<Pts> t;
    for (const Pts& p : v) t.push_back(Transposed(p));
    return t;
}

const Pts kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};

} // namespace

TEST(PolyCut, SquareAcrossTheMiddle) {
    const std::vector<Pts> fragments{{{0, 0}, {4, 0}}, {{6, 0}, {10, 0}, {10, 10}, {6, 10}}, {{4, 10}, {0, 10}, {0, 0}}};
    EXPECT_EQ(All(PolyLibCutX(Make(kSquare), 5)), fragments);
    const std::vector<Pts> rings{{{0, 0}, {4, 0}, {4, 10}, {0, 10}, {0, 0}},
                                 {{6, 0}, {10, 0}, {10, 10}, {6, 10}, {6, 0}}};
    EXPECT_EQ(All(PolyLibCutPolygonX(Make(kSquare), 5)), rings);

    // The horizontal cut is the vertical one with x and y exchanged.
    const clsPoly t = Make(Transposed(kSquare));
    EXPECT_EQ(All(PolyLibCutY(t, 5)), Transposed(fragments));
    EXPECT_EQ(All(PolyLibCutPolygonY(t, 5)), Transposed(rings));
}

TEST(PolyCut, LineOutsideTheExtentGivesTheSequenceItself) {
    clsPoly p = Make(kSquare);
    p.setModify(false);
    for (const PolyCollection& c : {PolyLibCutX(p, 11), PolyLibCutX(p, -1), PolyLibCutPolygonX(p, 20),
                                    PolyLibCutY(p, 11), PolyLibCutPolygonY(p, -5)}) {
        ASSERT_EQ(c.size(), 1u);
        EXPECT_TRUE(c[0].IsMatch(p));
        EXPECT_FALSE(c[0].Modify());
    }
    const PolyCollection none = PolyLibCutX(clsPoly(), 0);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].Count(), 0);
}

TEST(PolyCut, VerticesOnTheCutLine) {
    struct Case {
        Pts line;
        std::vector<Pts> fragments;
    } cases[] = {
        // From the right onto the line, then on to the left: the vertex is
        // kept at x + 1 and the next fragment starts at x - 1.
        {{{10, 0}, {5, 5}, {0, 10}}, {{{10, 0}, {6, 5}}, {{4, 5}, {0, 10}}}},
        // From the left through the line to the right.
        {{{0, 0}, {5, 5}, {10, 10}}, {{{0, 0}, {4, 5}}, {{6, 5}, {10, 10}}}},
        // Touching the line and returning: one fragment, the vertex moved back.
        {{{10, 0}, {5, 5}, {10, 10}}, {{{10, 0}, {6, 5}, {10, 10}}}},
        {{{0, 0}, {5, 5}, {5, 8}, {0, 10}}, {{{0, 0}, {4, 5}, {4, 8}, {0, 10}}}},
        // Along the line and then across.
        {{{10, 0}, {5, 2}, {5, 8}, {0, 10}}, {{{10, 0}, {6, 2}, {6, 8}}, {{4, 8}, {0, 10}}}},
        // A first point on the line has no side and stays.
        {{{5, 0}, {10, 0}, {10, 10}}, {{{5, 0}, {10, 0}, {10, 10}}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(All(PolyLibCutX(Make(c.line), 5)), c.fragments) << c.line.size();
    }
}

TEST(PolyCut, CrossingHeightIsRounded) {
    // 1.5 rounds to the even 2 on both sides of the line.
    EXPECT_EQ(All(PolyLibCutX(Make({{0, 0}, {10, 3}}), 5)),
              (std::vector<Pts>{{{0, 0}, {4, 2}}, {{6, 2}, {10, 3}}}));
}

TEST(PolyCut, RingCutAtItsLeftEdge) {
    // The line cut keeps the first vertex on the line, where it has no side.
    EXPECT_EQ(All(PolyLibCutX(Make(kSquare), 0)),
              (std::vector<Pts>{{{0, 0}, {10, 0}, {10, 10}, {1, 10}, {1, 0}}}));
    // The polygon cut restarts the ring off the line and keeps it closed.
    EXPECT_EQ(All(PolyLibCutPolygonX(Make(kSquare), 0)),
              (std::vector<Pts>{{{10, 0}, {10, 10}, {1, 10}, {1, 0}, {10, 0}}}));
}

TEST(PolyCut, RingStartingOnTheLineIsCutIntoRings) {
    const clsPoly diamond = Make({{5, 0}, {10, 5}, {5, 10}, {0, 5}, {5, 0}});
    const std::vector<Pts> rings{{{10, 5}, {6, 10}, {6, 0}, {10, 5}}, {{4, 10}, {0, 5}, {4, 0}, {4, 10}}};
    EXPECT_EQ(All(PolyLibCutPolygonX(diamond, 5)), rings);
    EXPECT_EQ(All(PolyLibCutPolygonY(Make(Transposed(PointsOf(diamond))), 5)), Transposed(rings));
    // The same ring started off the line gives the same rings from another start.
    const PolyCollection other = PolyLibCutPolygonX(Make({{10, 5}, {5, 10}, {0, 5}, {5, 0}, {10, 5}}), 5);
    EXPECT_EQ(All(other), rings);
}

TEST(PolyCut, RingsOnOrTouchingTheLine) {
    struct Case {
        const char* what;
        Pts ring;
        std::vector<Pts> result;
    } cases[] = {
        // Nothing lies off the line: the ring comes back as it is.
        {"wholly on the line", {{5, 0}, {5, 10}, {5, 4}, {5, 0}}, {{{5, 0}, {5, 10}, {5, 4}, {5, 0}}}},
        // Touching at one vertex: one closed ring, the vertex moved back 1 unit.
        {"touching at a later vertex", {{10, 0}, {5, 5}, {10, 10}, {15, 5}, {10, 0}},
         {{{10, 0}, {6, 5}, {10, 10}, {15, 5}, {10, 0}}}},
        {"touching at the first vertex", {{5, 5}, {10, 10}, {15, 5}, {10, 0}, {5, 5}},
         {{{10, 10}, {15, 5}, {10, 0}, {6, 5}, {10, 10}}}},
        {"touching from the left at the first vertex", {{5, 5}, {0, 0}, {-5, 5}, {0, 10}, {5, 5}},
         {{{0, 0}, {-5, 5}, {0, 10}, {4, 5}, {0, 0}}}},
        // An open outline starting on the line is left to the walk as it is.
        {"open outline", {{5, 0}, {10, 5}, {5, 10}, {0, 5}}, {{{5, 0}, {10, 5}, {6, 10}}, {{4, 10}, {0, 5}}}},
    };
    for (const Case& c : cases) EXPECT_EQ(All(PolyLibCutPolygonX(Make(c.ring), 5)), c.result) << c.what;
}

TEST(PolyCut, DateLineRingStartingAtTheLine) {
    // A 2-degree square across 180 degrees, unwrapped, starting on the meridian
    // itself as such rings often do.
    constexpr int32_t L = 648000;
    const clsPoly ring = Make({{L, -57600}, {L + 3600, -57600}, {L + 3600, -64800}, {L - 3600, -64800},
                               {L - 3600, -57600}, {L, -57600}});
    const PolyCollection rings = PolyLibCutPolygonX(ring, L);
    ASSERT_EQ(rings.size(), 2u);
    double area = 0;
    for (const clsPoly& r : rings) {
        EXPECT_TRUE(r.IsLoop());
        const clsRect b = r.RectBound();
        EXPECT_TRUE(b.x2 == L - 1 || b.x1 == L + 1) << b.x1 << " " << b.x2;
        area += r.Area();
    }
    EXPECT_DOUBLE_EQ(area, ring.Area() - 2 * 7200);
}

TEST(PolyCut, OddCrossingsReturnTheOpenFragments) {
    const clsPoly open = Make({{0, 0}, {10, 0}, {10, 10}});
    const PolyCollection fragments = PolyLibCutPolygonX(open, 5);
    EXPECT_EQ(All(fragments), (std::vector<Pts>{{{0, 0}, {4, 0}}, {{6, 0}, {10, 0}, {10, 10}}}));
}

TEST(PolyCut, RingsOfThreePointsOrFewerAreDropped) {
    // The ring starts just right of the line and leaves at once: its first
    // fragment is two equal points that close on themselves.
    const clsPoly p = Make({{6, 4}, {0, 4}, {0, 0}, {10, 0}, {6, 4}});
    EXPECT_EQ(All(PolyLibCutX(p, 5)),
              (std::vector<Pts>{{{6, 4}, {6, 4}}, {{4, 4}, {0, 4}, {0, 0}, {4, 0}}, {{6, 0}, {10, 0}, {6, 4}}}));
    EXPECT_EQ(All(PolyLibCutPolygonX(p, 5)),
              (std::vector<Pts>{{{4, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 4}}, {{6, 0}, {10, 0}, {6, 4}, {6, 0}}}));
}

TEST(PolyCut, ConcaveRingGivesARingPerInsideStretch) {
    // A U shape open at the top, cut across both arms.
    const clsPoly u = Make({{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}, {0, 0}});
    const PolyCollection rings = PolyLibCutPolygonY(u, 20);
    ASSERT_EQ(rings.size(), 3u);
    double area = 0;
    for (const clsPoly& r : rings) {
        EXPECT_TRUE(r.IsLoop());
        area += r.Area();
    }
    // Each side loses a strip of 1 unit along the 20 units of the cut.
    EXPECT_DOUBLE_EQ(area, u.Area() - 2 * 20);
}

TEST(PolyCut, SearchPoly) {
    const PolyCollection c{Make({{1, 1}, {2, 2}}), clsPoly(), Make({{2, 2}, {3, 3}}), Make({{3, 3}, {2, 2}})};
    EXPECT_EQ(SearchPoly(c, {2, 2}, 0), 3);
    EXPECT_EQ(SearchPoly(c, {2, 2}, 1), 1);
    EXPECT_EQ(SearchPoly(c, {3, 3}, 1), 3);
    EXPECT_EQ(SearchPoly(c, {9, 9}, 0), 0);
    EXPECT_EQ(SearchPoly(c, {2, 2}, 2), 0);
}

TEST(PolyCut, RandomStarPolygonsKeepTheirAreaAndSides) {
    std::mt19937 rng(21);
    std::uniform_real_distribution<double> radius(20000, 100000), jitter(0, 1);
    std::uniform_int_distribution<int> count(3, 60);
    for (int round = 0; round < 300; ++round) {
        const int n = count(rng);
        Pts pts;
        for (int i = 0; i < n; ++i) {
            const double a = (i + 0.8 * jitter(rng)) * 2 * M_PI / n;
            const double r = radius(rng);
            pts.push_back({static_cast<int32_t>(std::lround(r * std::cos(a))),
                           static_cast<int32_t>(std::lround(r * std::sin(a)))});
        }
        pts.push_back(pts.front());
        const clsPoly poly = Make(pts);
        const clsRect b = poly.RectBound();
        // Now and then exactly through a vertex, the first one included.
        const int32_t cut = round % 4 == 0 ? pts[static_cast<size_t>(round / 4) % (pts.size() - 1)].x
                                           : b.x1 + static_cast<int32_t>(jitter(rng) * (b.x2 - b.x1));
        const PolyCollection rings = PolyLibCutPolygonX(poly, cut);
        double area = 0;
        for (const clsPoly& r : rings) {
            ASSERT_GE(r.Count(), 4) << round;
            EXPECT_EQ(r.GetPoint(1), r.GetPoint(r.Count())) << round;
            const clsRect rb = r.RectBound();
            if (rings.size() > 1) {
                EXPECT_TRUE(rb.x2 < cut || rb.x1 > cut) << round;
            }
            area += r.Area();
        }
        // The strips of 1 unit beside the cut and the rounded crossings are
        // all that may be lost.
        const double slack = 2.0 * (b.y2 - b.y1) * static_cast<double>(rings.size()) + 100;
        EXPECT_NEAR(area, poly.Area(), slack) << round << " cut " << cut;
    }
}
