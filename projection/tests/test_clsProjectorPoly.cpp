// The polygon pipeline: clipping, densifying, the cuts at 180 degrees and
// at interruptions, the pole and limit rules and the simplification.
#include <gtest/gtest.h>

#include <cmath>

#include "ProjectorTestSupport.h"
#include "basGlobe.h"

using namespace prjtest;

namespace {

using Pipeline = ProjectorTest;

clsPoly PolyOf(std::initializer_list<PolyPoint> pts) {
    clsPoly p;
    for (const PolyPoint& q : pts) p.AddPoint(q);
    return p;
}

double Metres(int32_t sec) { return GlobeRadius * sec * 4.848136811095355e-6; }

// A projector on the whole world, put into the normal aspect of `index`.
void NormalAspect(clsProjector& p, int16_t index, double scale = 1e7) {
    p.setCenterLat(0);
    p.setPrjIndex(index);
    p.setMapScale(scale);
    p.FieldWorld = true;
    p.RightAxis = true;
    p.SetAuto();
}

} // namespace

TEST_F(Pipeline, TheAntimeridianSplitsOnlyWhereThePlaneDoes) {
    // Centred on 100 degrees east, the plane's edge is 80 degrees west.
    const clsPoly across = PolyOf({{-252000, 0}, {-324000, 0}});
    clsProjector p;
    p.setCenterLon(360000);
    NormalAspect(p, 12);
    const PolyCollection flat = p.ProjectionPoly(across, false);
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_NEAR(flat[0].LastX(), -Metres(648000), Metres(2));
    EXPECT_NEAR(flat[1].x(1), Metres(648000), Metres(2));
    NormalAspect(p, 6);   // round the north pole: one line
    EXPECT_EQ(p.ProjectionPoly(across, false).size(), 1u);
}

TEST_F(Pipeline, InterruptionsCutRingsIntoClosedRings) {
    struct Case {
        int16_t index;
        clsPoly ring;
        size_t pieces;
    };
    const Case cases[] = {
        // Gores every 30 degrees: -30 degrees is an edge.
        {28, PolyOf({{-144000, 0}, {-72000, 0}, {-72000, 36000}, {-144000, 36000}, {-144000, 0}}), 2},
        {28, PolyOf({{-100000, 0}, {-72000, 0}, {-72000, 36000}, {-100000, 36000}, {-100000, 0}}), 1},
        // The north lobes of 29 part at -40 degrees.
        {29, PolyOf({{-180000, 36000}, {-108000, 36000}, {-108000, 72000}, {-180000, 72000}, {-180000, 36000}}), 2},
    };
    for (const Case& c : cases) {
        ForgetSettings();
        clsProjector p;
        NormalAspect(p, c.index);
        const PolyCollection out = p.ProjectionPoly(c.ring, true);
        ASSERT_EQ(out.size(), c.pieces) << c.index;
        for (const clsPoly& r : out) EXPECT_TRUE(r.IsLoop());
    }
}

TEST_F(Pipeline, LongLinesSkipDensifyingAndSimplifyingAndLoseOnlyPolarPoints) {
    struct Case {
        int32_t along;       // points along the equator, 10" apart
        int32_t lastLat;     // latitude of one more point after them; 0: none
        int32_t want;
    };
    const Case cases[] = {
        {5000, 0, 2},          // simplified to its ends
        {5001, 0, 5001},       // beyond MainPrjPolySmartNodeMax: as it is
        {5000, 323992, 5001},
        {5000, 323993, 2},     // within 8" of the axis pole: dropped, and then short enough
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

TEST_F(Pipeline, NothingOutsideTheFieldOrTheLimits) {
    struct Case {
        int16_t index;
        clsRect field;
        clsPoly line;
        size_t pieces;
    };
    const Case cases[] = {
        {12, clsRect(0, 0, 36000, 36000), PolyOf({{40000, 0}, {80000, 30000}}), 0},
        {12, clsRect(0, 0, 36000, 36000), PolyOf({{-10000, 10000}, {50000, 10000}}), 1},
        {13, clsRect(-648000, -324000, 648000, 324000), PolyOf({{0, 310000}, {36000, 310000}}), 0},
        {13, clsRect(-648000, -324000, 648000, 324000), PolyOf({{0, 300000}, {0, 310000}}), 1},
    };
    for (const Case& c : cases) {
        ForgetSettings();
        clsProjector p;
        p.setPrjIndex(c.index);
        p.setField(std::make_shared<clsRect>(c.field));
        const PolyCollection out = p.ProjectionPoly(c.line, false);
        ASSERT_EQ(out.size(), c.pieces);
        if (out.empty()) continue;
        // What is left lies in the field and within 85 degrees.
        const clsRect b = out[0].RectBound();
        EXPECT_GE(b.x1, std::lround(Metres(c.field.x1)) - 1);
        EXPECT_LE(b.x2, std::lround(Metres(c.field.x2)) + 1);
        EXPECT_LE(b.y2, std::lround(GlobeRadius * std::log(std::tan(M_PI / 4 + 305995 * 4.848136811095355e-6 / 2))) + 1);
    }
}

TEST_F(Pipeline, CurvedImagesStaySmoothAtTheOutputScale) {
    // The parallel of 60 degrees north is a circle round the pole of the
    // azimuthal equidistant projection: its chords must hug the circle
    // within the simplification's tolerance (1:10000000: 500 m at most).
    clsProjector p;
    NormalAspect(p, 6, 1e7);
    const PolyCollection out = p.ProjectionPoly(PolyOf({{-647995, 216000}, {647995, 216000}}), false);
    ASSERT_EQ(out.size(), 1u);
    const clsPoly& c = out[0];
    const double r = Metres(108000);
    double maxSag = 0;
    for (int32_t i = 1; i <= c.Count(); ++i) {
        EXPECT_NEAR(std::hypot(c.x(i), c.y(i)), r, 2.0);
        if (i == 1) continue;
        const double mx = (c.x(i) + c.x(i - 1)) / 2.0, my = (c.y(i) + c.y(i - 1)) / 2.0;
        maxSag = std::max(maxSag, r - std::hypot(mx, my));
    }
    EXPECT_GT(c.Count(), 100);
    EXPECT_LT(maxSag, 501.0);
}

TEST_F(Pipeline, RingsFollowTheLimitAfterTheClipLinesDoNot) {
    // The gnomonic plane ends 60 degrees from its pole; a ring reaching
    // beyond gets an edge along that limit, densified like any ring edge.
    const clsPoly outline =
        PolyOf({{0, 0}, {180000, 0}, {180000, 200000}, {0, 200000}, {0, 0}});
    clsProjector p;
    NormalAspect(p, 1, 1e7);
    const double r = GlobeRadius * std::tan(M_PI / 2 - (p.PrjSouth() + 5) * 4.848136811095355e-6);
    auto onLimit = [r](const PolyCollection& pieces) {
        int n = 0;
        for (const clsPoly& q : pieces)
            for (int32_t i = 1; i <= q.Count(); ++i) n += std::fabs(std::hypot(q.x(i), q.y(i)) - r) < 200;
        return n;
    };
    EXPECT_GT(onLimit(p.ProjectionPoly(outline, true)), 10);
    EXPECT_LE(onLimit(p.ProjectionPoly(outline, false)), 2);
}
