// The polygon pipeline: clips, the cuts at the plane's edge and at
// interruptions, the pole rule, densifying and simplifying.
#include <gtest/gtest.h>

#include <cmath>

#include "ProjectorTestSupport.h"
#include "basGlobe.h"
#include "clsSurvey.h"

using namespace prjtest;

namespace {

using Pipeline = ProjectorTest;

clsPoly PolyOf(std::initializer_list<PolyPoint> pts) {
    clsPoly p;
    for (const PolyPoint& q : pts) p.AddPoint(q);
    return p;
}

clsPoly Box(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    clsPoly p;
    p.SetRect(x1, y1, x2, y2);
    return p;
}

double Metres(double sec) { return GlobeRadius * sec * 4.848136811095355e-6; }

// The whole world in the normal aspect of `index`.
void NormalAspect(clsProjector& p, int16_t index, double scale = 1e7) {
    p.setPrjIndex(index);
    p.setMapScale(scale);
    p.FieldWorld = true;
    p.RightAxis = true;
    p.SetAuto();
}

} // namespace

TEST_F(Pipeline, PiecesByFieldLimitsPlaneEdgeAndInterruptions) {
    struct Case {
        int16_t index;
        int32_t centerLon, centerLat;
        clsRect field;
        clsPoly poly;
        bool ring;
        size_t pieces;
    };
    const clsRect world(-648000, -324000, 648000, 324000), small(0, 0, 36000, 36000);
    const Case cases[] = {
        {12, 0, 0, small, PolyOf({{40000, 0}, {80000, 30000}}), false, 0},     // outside the field
        {12, 0, 0, small, PolyOf({{-10000, 10000}, {50000, 10000}}), false, 1},
        {13, 0, 0, world, PolyOf({{0, 310000}, {36000, 310000}}), false, 0},   // beyond Mercator's 85 degrees
        // Centred on 100 degrees east the plane ends at 80 degrees west;
        // round the pole it does not.
        {12, 360000, 0, world, PolyOf({{-252000, 0}, {-324000, 0}}), false, 2},
        {6, 360000, 324000, world, PolyOf({{-252000, 0}, {-324000, 0}}), false, 1},
        // Gores every 30 degrees; the north lobes of 29 part at -40 degrees.
        {28, 0, 0, world, Box(-144000, 0, -72000, 36000), true, 2},
        {28, 0, 0, world, Box(-100000, 0, -72000, 36000), true, 1},
        {29, 0, 0, world, Box(-180000, 36000, -108000, 72000), true, 2},
    };
    for (const Case& c : cases) {
        ForgetSettings();
        clsProjector p;
        p.setPrjIndex(c.index);
        p.setCenterLon(c.centerLon);
        p.setCenterLat(c.centerLat);
        p.setField(std::make_shared<clsRect>(c.field));
        const PolyCollection out = p.ProjectionPoly(c.poly, c.ring);
        ASSERT_EQ(out.size(), c.pieces) << c.index << " " << c.poly.x(1);
        for (const clsPoly& r : out) EXPECT_EQ(r.IsLoop(), c.ring);
        if (c.pieces == 2 && !c.ring) {   // the two sides of the edge
            EXPECT_NEAR(out[0].LastX(), -Metres(648000), Metres(2));
            EXPECT_NEAR(out[1].x(1), Metres(648000), Metres(2));
        }
    }
}

TEST_F(Pipeline, LongLinesSkipDensifyingAndSimplifyingAndLoseOnlyPolarPoints) {
    struct Case {
        int32_t along;     // points along the equator, 10" apart
        int32_t lastLat;   // latitude of one more point after them; 0: none
        int32_t want;
    };
    const Case cases[] = {
        {5000, 0, 2},         // simplified to its ends
        {5001, 0, 5001},      // beyond MainPrjPolySmartNodeMax: as it is
        {5000, 323992, 5001},
        {5000, 323993, 2},    // within 8" of the axis pole: dropped, and then short enough
    };
    for (const Case& c : cases) {
        clsPoly line;
        for (int32_t i = 0; i < c.along; ++i) line.AddXandY(i * 10, 0);
        if (c.lastLat != 0) line.AddXandY(c.along * 10, c.lastLat);
        clsProjector p;
        NormalAspect(p, 12);
        const PolyCollection out = p.ProjectionPoly(line, false);
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].Count(), c.want) << c.along << " " << c.lastLat;
    }
}

TEST_F(Pipeline, CurvedImagesStaySmoothAtTheOutputScale) {
    // The parallel of 60 degrees north is a circle round the pole of the
    // azimuthal equidistant projection: at 1:10000000 its chords may leave
    // it by the simplification's 500 m at most.
    clsProjector p;
    NormalAspect(p, 6);
    const PolyCollection out = p.ProjectionPoly(PolyOf({{-647995, 216000}, {647995, 216000}}), false);
    ASSERT_EQ(out.size(), 1u);
    const clsPoly& c = out[0];
    const double r = Metres(108000);
    double maxSag = 0;
    for (int32_t i = 1; i <= c.Count(); ++i) {
        EXPECT_NEAR(std::hypot(c.x(i), c.y(i)), r, 2.0);
        if (i > 1) maxSag = std::max(maxSag, r - std::hypot(c.x(i) + c.x(i - 1), c.y(i) + c.y(i - 1)) / 2);
    }
    EXPECT_GT(c.Count(), 100);
    EXPECT_LT(maxSag, 501.0);

    // The gnomonic plane ends 60 degrees from its pole: a ring reaching
    // beyond gets an edge along that limit, densified like any ring edge
    // (a line is only cut there).
    NormalAspect(p, 1);
    const double limit = GlobeRadius * std::tan(M_PI / 2 - (p.PrjSouth() + 5) * 4.848136811095355e-6);
    auto onLimit = [limit](const PolyCollection& pieces) {
        int n = 0;
        for (const clsPoly& q : pieces)
            for (int32_t i = 1; i <= q.Count(); ++i) n += std::fabs(std::hypot(q.x(i), q.y(i)) - limit) < 200;
        return n;
    };
    const clsPoly outline = Box(0, 0, 180000, 200000);
    EXPECT_GT(onLimit(p.ProjectionPoly(outline, true)), 10);
    EXPECT_LE(onLimit(p.ProjectionPoly(outline, false)), 2);
}

TEST_F(Pipeline, RingsKeepTheirAreaAcrossCutsSeamsAndRoundPolesWhateverTheirSize) {
    // The cuts close a ring along the plane's edge or an interruption, and
    // maps hold rings closed along the date line or the prime meridian;
    // these projections bend all of them. Left straight on a ring of any
    // size, such an edge cuts a strip off the ring.
    constexpr int32_t D = 3600;
    // Teeth pointing east across 80 degrees east (the edge of the plane
    // centred on 100 degrees west), crossing it six times.
    const clsPoly comb = PolyOf({{70 * D, 10 * D}, {90 * D, 10 * D}, {90 * D, 20 * D}, {75 * D, 20 * D},
                                 {75 * D, 30 * D}, {90 * D, 30 * D}, {90 * D, 40 * D}, {75 * D, 40 * D},
                                 {75 * D, 50 * D}, {90 * D, 50 * D}, {90 * D, 60 * D}, {70 * D, 60 * D},
                                 {70 * D, 10 * D}});
    // The same across the north lobes' interruption at 40 degrees west.
    clsPoly westComb = comb.Copy();
    for (int32_t i = 1; i <= westComb.Count(); ++i) westComb.SetXandY(i, westComb.x(i) - 120 * D, westComb.y(i));
    // Round the south pole, closed along it as maps hold such rings.
    const clsPoly cap = PolyOf({{0, -323970}, {0, -60 * D}, {179 * D, -60 * D}, {179 * D, -323970}, {0, -323970}});
    // East of the prime meridian, closed along it by one edge.
    const clsPoly east = PolyOf({{0, 35 * D}, {0, 0}, {40 * D, 0}, {40 * D, 35 * D}, {0, 35 * D}});
    struct Case {
        int16_t index;
        int32_t centerLon, centerLat;
        const clsPoly* ring;
        bool seam;   // the first edge stays one edge
        const char* name;
    };
    const Case cases[] = {
        {16, -100 * D, 0, &comb, false, "comb, sinusoidal"},
        {29, 0, 0, &westComb, false, "comb, interrupted"},
        {16, -100 * D, 0, &cap, false, "cap, sinusoidal"},
        {29, 0, 0, &cap, false, "cap, interrupted"},
        {17, -150 * D, 0, &cap, false, "cap, elliptic"},
        {7, 135 * D, 35 * D, &east, true, "seam, oblique azimuthal"},
    };
    clsSurvey sphere;
    for (const Case& c : cases) {
        // Few points, and more than MainPrjPolySmartNodeMax.
        for (const int32_t spacing : {3600, 60}) {
            clsPoly ring;
            ring.AddPoint(c.ring->GetPoint(1));
            clsPoly rest = c.ring->Copy();
            if (c.seam) rest.Del(1);
            rest.Chop(spacing, 3);
            ring.Connect(rest);
            ForgetSettings();
            clsProjector p;
            p.setPrjIndex(c.index);
            p.setCenterLon(c.centerLon);
            p.setCenterLat(c.centerLat);
            p.setMapScale(5e7);
            double plane = 0;
            const PolyCollection out = p.ProjectionPoly(ring, true);
            for (const clsPoly& r : out) plane += r.Area();
            EXPECT_EQ(out.size() > 1, !c.seam) << c.name;
            EXPECT_NEAR(plane / sphere.PolyArea(ring), 1, 0.005) << c.name << ", " << ring.Count() << " points";
        }
    }
}
