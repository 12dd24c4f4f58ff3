#include <gtest/gtest.h>

#include "FoundationTest.h"
#include "basPolyLib.h"

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

namespace {

using namespace ftest;
using Pieces = std::vector<Pts>;

Pieces All(const PolyCollection& c) {
    Pieces v;
    for (const clsPoly& p : c) v.push_back(PointsOf(p));
    return v;
}

Pts Transposed(const Pts& pts) {
    Pts t;
    for (const PolyPoint& p : pts) t.push_back({p.y, p.x});
    return t;
}

Pieces Transposed(const Pieces& v) {
    Pieces t;
    for (const Pts& p : v) t.push_back(Transposed(p));
    return t;
}

const Pts kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};

} // namespace

// Line cuts keep fragments; polygon cuts close rings. Pieces lie 1 unit off
// the line on their own side. The horizontal cuts are the vertical ones with
// x and y exchanged.
TEST(PolyCut, LineAndPolygonCutsBothWays) {
    const struct {
        Pts in;
        int32_t at;
        Pieces line, polygon;
    } cases[] = {
        {kSquare, 5, {{{0, 0}, {4, 0}}, {{6, 0}, {10, 0}, {10, 10}, {6, 10}}, {{4, 10}, {0, 10}, {0, 0}}},
         {{{0, 0}, {4, 0}, {4, 10}, {0, 10}, {0, 0}}, {{6, 0}, {10, 0}, {10, 10}, {6, 10}, {6, 0}}}},
        // At the low edge: the line cut keeps the first vertex, where it has
        // no side; the polygon cut restarts the ring off the line.
        {kSquare, 0, {{{0, 0}, {10, 0}, {10, 10}, {1, 10}, {1, 0}}}, {{{10, 0}, {10, 10}, {1, 10}, {1, 0}, {10, 0}}}},
        {kSquare, 11, {kSquare}, {kSquare}},   // beyond the extent: the sequence itself
        // A diamond starting on the line.
        {{{5, 0}, {10, 5}, {5, 10}, {0, 5}, {5, 0}}, 5, {{{5, 0}, {10, 5}, {6, 10}}, {{4, 10}, {0, 5}, {4, 0}}},
         {{{10, 5}, {6, 10}, {6, 0}, {10, 5}}, {{4, 10}, {0, 5}, {4, 0}, {4, 10}}}},
        // Starting just right of the line and leaving at once: the first
        // fragment is two equal points, too few for a ring; a triangle stays.
        {{{6, 4}, {0, 4}, {0, 0}, {10, 0}, {6, 4}}, 5, {{{6, 4}, {6, 4}}, {{4, 4}, {0, 4}, {0, 0}, {4, 0}}, {{6, 0}, {10, 0}, {6, 4}}},
         {{{4, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 4}}, {{6, 0}, {10, 0}, {6, 4}, {6, 0}}}},
        // Odd crossings: the polygon cut returns the open fragments.
        {{{0, 0}, {10, 0}, {10, 10}}, 5, {{{0, 0}, {4, 0}}, {{6, 0}, {10, 0}, {10, 10}}}, {{{0, 0}, {4, 0}}, {{6, 0}, {10, 0}, {10, 10}}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(All(PolyLibCutX(Make(c.in), c.at)), c.line) << c.in[0].x << " at " << c.at;
        EXPECT_EQ(All(PolyLibCutPolygonX(Make(c.in), c.at)), c.polygon) << c.in[0].x << " at " << c.at;
        EXPECT_EQ(All(PolyLibCutY(Make(Transposed(c.in)), c.at)), Transposed(c.line));
        EXPECT_EQ(All(PolyLibCutPolygonY(Make(Transposed(c.in)), c.at)), Transposed(c.polygon));
    }
    const PolyCollection none = PolyLibCutX(clsPoly(), 0);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].Count(), 0);
}

TEST(PolyCut, VerticesOnTheCutLine) {
    const std::pair<Pts, Pieces> lines[] = {
        // From the right onto the line, then on to the left: the vertex is
        // kept at x + 1 and the next fragment starts at x - 1.
        {{{10, 0}, {5, 5}, {0, 10}}, {{{10, 0}, {6, 5}}, {{4, 5}, {0, 10}}}},
        // Touching the line and returning: one fragment, the vertex moved back.
        {{{0, 0}, {5, 5}, {5, 8}, {0, 10}}, {{{0, 0}, {4, 5}, {4, 8}, {0, 10}}}},
        // Along the line and then across.
        {{{10, 0}, {5, 2}, {5, 8}, {0, 10}}, {{{10, 0}, {6, 2}, {6, 8}}, {{4, 8}, {0, 10}}}},
        {{{0, 0}, {10, 3}}, {{{0, 0}, {4, 2}}, {{6, 2}, {10, 3}}}},   // the crossing 1.5 rounds to even
    };
    for (const auto& [line, fragments] : lines) EXPECT_EQ(All(PolyLibCutX(Make(line), 5)), fragments) << line.size();
    const std::pair<Pts, Pieces> rings[] = {
        {{{5, 0}, {5, 10}, {5, 4}, {5, 0}}, {{{5, 0}, {5, 10}, {5, 4}, {5, 0}}}},   // wholly on the line: as it is
        // Touching at one vertex: one closed ring, the vertex moved back 1 unit.
        {{{5, 5}, {10, 10}, {15, 5}, {10, 0}, {5, 5}}, {{{10, 10}, {15, 5}, {10, 0}, {6, 5}, {10, 10}}}},
        {{{5, 5}, {0, 0}, {-5, 5}, {0, 10}, {5, 5}}, {{{0, 0}, {-5, 5}, {0, 10}, {4, 5}, {0, 0}}}},
    };
    for (const auto& [ring, result] : rings) EXPECT_EQ(All(PolyLibCutPolygonX(Make(ring), 5)), result) << ring[1].x;
    const PolyCollection c{Make({{1, 1}, {2, 2}}), clsPoly(), Make({{2, 2}, {3, 3}}), Make({{3, 3}, {2, 2}})};
    EXPECT_EQ(SearchPoly(c, {2, 2}, 0), 3);   // a first point
    EXPECT_EQ(SearchPoly(c, {2, 2}, 1), 1);   // a last point
    EXPECT_EQ(SearchPoly(c, {9, 9}, 0), 0);
}

// A 2-degree square across 180 degrees starting on the meridian, and a U
// cut across both arms: each side loses a strip of 1 unit along the cut.
TEST(PolyCut, CutRingsKeepTheirArea) {
    constexpr int32_t L = 648000;
    const clsPoly fiji = Make({{L, -57600}, {L + 3600, -57600}, {L + 3600, -64800}, {L - 3600, -64800}, {L - 3600, -57600}, {L, -57600}});
    const clsPoly u = Make({{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}, {0, 0}});
    for (const auto& [rings, whole, lost, count] : {std::tuple{PolyLibCutPolygonX(fiji, L), fiji.Area(), 2 * 7200.0, 2u},
                                                    std::tuple{PolyLibCutPolygonY(u, 20), u.Area(), 2 * 20.0, 3u}}) {
        ASSERT_EQ(rings.size(), count);
        double area = 0;
        for (const clsPoly& r : rings) {
            EXPECT_TRUE(r.IsLoop());
            area += r.Area();
        }
        EXPECT_DOUBLE_EQ(area, whole - lost);
    }
}

TEST(PolyCut, RandomStarPolygonsKeepTheirAreaAndSides) {
    std::mt19937 rng(21);
    std::uniform_real_distribution<double> radius(20000, 100000), jitter(0, 1);
    std::uniform_int_distribution<int> count(3, 60);
    for (int round = 0; round < 300; ++round) {
        const int n = count(rng);
        Pts pts;
        for (int i = 0; i < n; ++i) {
            const double a = (i + 0.8 * jitter(rng)) * 2 * M_PI / n, r = radius(rng);
            pts.push_back({static_cast<int32_t>(std::lround(r * std::cos(a))), static_cast<int32_t>(std::lround(r * std::sin(a)))});
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
            EXPECT_TRUE(r.IsLoop()) << round;
            if (rings.size() > 1) { EXPECT_TRUE(r.RectBound().x2 < cut || r.RectBound().x1 > cut) << round; }
            area += r.Area();
        }
        // The strips of 1 unit beside the cut and the rounded crossings are
        // all that may be lost.
        EXPECT_NEAR(area, poly.Area(), 2.0 * (b.y2 - b.y1) * static_cast<double>(rings.size()) + 100) << round << " cut " << cut;
    }
}
