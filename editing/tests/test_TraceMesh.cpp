// The graticule mesh: frames from crosses, the cell geometry, the two
// transforms through the frames and the ".LLN" side file.
#include <gtest/gtest.h>

#include <QFile>

#include <cmath>
#include <functional>

#include "TestSupport.h"
#include "TraceMesh.h"

using tracegeo::XY;

namespace {

constexpr int32_t kDeg = 3600;

TraceCross cross(int32_t ix, int32_t iy, int32_t lonDeg, int32_t latDeg) {
    return {ix, iy, lonDeg * kDeg, latDeg * kDeg};
}

// Crosses at every whole degree of lon0..lon1 × lat0..lat1, placed on the
// picture by `place` (degrees in, picture out).
using Placement = std::function<XY(double lonDeg, double latDeg)>;
TraceMesh meshOf(int lon0, int lon1, int lat0, int lat1, const Placement& place) {
    TraceMesh m;
    for (int lat = lat0; lat <= lat1; ++lat)
        for (int lon = lon0; lon <= lon1; ++lon) {
            const XY p = place(lon, lat);
            m.AddCross(cross(int32_t(std::lround(p.x)), int32_t(std::lround(p.y)), lon, lat));
        }
    EXPECT_TRUE(m.CrossToFrame());
    EXPECT_TRUE(m.GetFrameArea());
    return m;
}

// 100 pixels a degree, north up.
XY rectangular(double lon, double lat) { return {100 * (lon - 10) + 50, 500 - 100 * (lat - 20)}; }
// Parallels straight and level, meridians converging to the north (AB ∥ DC).
XY converging(double lon, double lat) {
    const double w = 100 - 12 * (lat - 20);
    return {400 + w * (lon - 12), 500 - 100 * (lat - 20)};
}
// Neither pair of sides parallel: sheared, turned and converging.
XY skewed(double lon, double lat) {
    const double w = 100 - 6 * (lat - 20);
    return {400 + w * (lon - 12) + 9 * (lat - 20), 500 - 100 * (lat - 20) + 7 * (lon - 10) + 0.8 * (lon - 10) * (lat - 20)};
}

} // namespace

TEST(TraceMesh, FramesComeOnlyFromCellsWithFourDistinctCorners) {
    struct Case {
        const char* what;
        std::vector<TraceCross> crosses;
        int frames;
    };
    const std::vector<TraceCross> four{cross(0, 100, 10, 20), cross(100, 100, 11, 20), cross(0, 0, 10, 21),
                                       cross(100, 0, 11, 21)};
    auto with = [&four](std::initializer_list<TraceCross> more) {
        std::vector<TraceCross> v = four;
        v.insert(v.end(), more);
        return v;
    };
    const Case cases[] = {
        {"four crosses", four, 1},
        {"a fifth alone", with({cross(200, 100, 12, 20)}), 1},
        {"a sixth closes the next cell", with({cross(200, 100, 12, 20), cross(200, 0, 12, 21)}), 2},
        {"a cross given twice", with({cross(3, 97, 10, 20)}), 0},
        {"three crosses", {four[0], four[1], four[2]}, 0},
        {"no crosses", {}, 0},
    };
    for (const Case& c : cases) {
        TraceMesh m;
        for (const TraceCross& x : c.crosses) m.AddCross(x);
        EXPECT_EQ(m.CrossToFrame(), c.frames > 0) << c.what;
        EXPECT_EQ(m.FrameCount(), c.frames) << c.what;
    }
}

TEST(TraceMesh, FramesRunSouthToNorthThenWestToEastWhateverTheCrossOrder) {
    TraceMesh m;
    // 3 × 3 crosses given north first and east first.
    for (int lat = 22; lat >= 20; --lat)
        for (int lon = 12; lon >= 10; --lon) m.AddCross(cross(lon * 10, lat * 10, lon, lat));
    ASSERT_TRUE(m.CrossToFrame());
    ASSERT_EQ(m.FrameCount(), 4);
    const int32_t expected[4][2] = {{10, 20}, {11, 20}, {10, 21}, {11, 21}};
    for (int i = 1; i <= 4; ++i) {
        const TraceFrame& f = m.GetFrame(i);
        EXPECT_EQ(f.lonA, expected[i - 1][0] * kDeg) << i;
        EXPECT_EQ(f.latA, expected[i - 1][1] * kDeg) << i;
        EXPECT_EQ(f.lonB, f.lonA + kDeg);
        EXPECT_EQ(f.latB, f.latA + kDeg);
        // Corner 4 is the cross at (lonB, latB).
        EXPECT_EQ(f.x4, f.lonB / kDeg * 10);
        EXPECT_EQ(f.y4, f.latB / kDeg * 10);
    }
}

TEST(TraceMesh, FrameAreaWidensTheUnionByThreeQuartersOfItsSize) {
    TraceMesh m;
    EXPECT_FALSE(m.GetFrameArea());
    EXPECT_TRUE(m.FrameArea().IsEmpty());
    m = meshOf(10, 12, 20, 21, rectangular);
    // Union 36000..43200 × 72000..75600: widths 7201 and 3601.
    EXPECT_EQ(m.FrameArea().x1, 36000 - 5400);
    EXPECT_EQ(m.FrameArea().x2, 43200 + 5400);
    EXPECT_EQ(m.FrameArea().y1, 72000 - 2700);
    EXPECT_EQ(m.FrameArea().y2, 75600 + 2700);
}

TEST(TraceMesh, ListAccessAndNormalisation) {
    TraceMesh m;
    EXPECT_EQ(m.NormalizeCross(1), -1);
    m.ResizeCrosses(3);
    EXPECT_EQ(m.CrossCount(), 3);
    const std::pair<int32_t, int32_t> cases[] = {{0, 3}, {1, 1}, {3, 3}, {4, 1}, {-1, -1}};
    for (auto [in, out] : cases) EXPECT_EQ(m.NormalizeCross(in), out) << in;
    m.SetCross(2, cross(5, 6, 7, 8));
    m.DeleteCross(1);
    EXPECT_EQ(m.GetCross(1), cross(5, 6, 7, 8));
    m.ResizeCrosses(-1);
    EXPECT_EQ(m.CrossCount(), 0);
}

TEST(TraceGeometry, LinesCrossOrAreParallel) {
    XY out{7, 7};
    EXPECT_FALSE(tracegeo::LineIntersect({0, 0}, {1, 1}, {0, 1}, {2, 3}, out));
    EXPECT_EQ(out.x, 7) << "a parallel pair leaves the output alone";
    ASSERT_TRUE(tracegeo::LineIntersect({0, 0}, {4, 4}, {0, 4}, {4, 0}, out));
    EXPECT_DOUBLE_EQ(out.x, 2);
    EXPECT_DOUBLE_EQ(out.y, 2);
    double a, b, c;
    tracegeo::LineFromPoints({1, 2}, {3, 5}, a, b, c);
    EXPECT_DOUBLE_EQ(a * 1 + b * 2 + c, 0);
    EXPECT_DOUBLE_EQ(a * 3 + b * 5 + c, 0);
}

TEST(TraceGeometry, CellParametersRoundTripWhereTwoSidesAreParallel) {
    struct Quad {
        const char* what;
        XY a, b, c, d;
        double tol;
    };
    const Quad quads[] = {
        {"rectangle", {0, 100}, {200, 100}, {200, 0}, {0, 0}, 1e-12},
        {"parallelogram", {0, 100}, {200, 130}, {260, 20}, {60, -10}, 1e-9},
        {"trapezoid", {0, 100}, {200, 100}, {170, 0}, {30, 0}, 1e-9},
        {"turned trapezoid", {0, 0}, {100, 50}, {80, 120}, {10, 85}, 1e-9},
    };
    for (const Quad& q : quads) {
        for (double u : {0.0, 0.25, 0.5, 1.0, -0.5, 1.7})
            for (double v : {0.0, 0.4, 1.0, -0.3, 2.0}) {
                XY p;
                tracegeo::CellPoint(q.a, q.b, q.c, q.d, u, v, p);
                double u2, v2;
                tracegeo::CellToUV(q.a, q.b, q.c, q.d, p, u2, v2);
                EXPECT_NEAR(u2, u, q.tol) << q.what << " u " << u << " v " << v;
                EXPECT_NEAR(v2, v, q.tol) << q.what << " u " << u << " v " << v;
            }
        XY corner;
        tracegeo::CellPoint(q.a, q.b, q.c, q.d, 1, 1, corner);
        EXPECT_NEAR(corner.x, q.c.x, 1e-9) << q.what;
        EXPECT_NEAR(corner.y, q.c.y, 1e-9) << q.what;
    }
}

TEST(TraceTransforms, MapToImageAndBackOnRectanglesAndSkewedQuadrilaterals) {
    struct Case {
        const char* what;
        Placement place;
        int32_t tol;   // arc-seconds back from a position rounded to the pixel
    };
    const Case cases[] = {
        {"rectangles", rectangular, 18 + 1},
        {"converging meridians", converging, 25},
        {"skewed", skewed, 40},
    };
    for (const Case& c : cases) {
        TraceMesh m = meshOf(10, 13, 20, 22, c.place);
        ASSERT_EQ(m.FrameCount(), 6) << c.what;
        for (int32_t lon = 36000; lon <= 46800; lon += 977)
            for (int32_t lat = 72000; lat <= 79200; lat += 1231) {
                int32_t ix = 0, iy = 0, lon2 = 0, lat2 = 0;
                ASSERT_TRUE(m.MapToImage(lon, lat, ix, iy)) << c.what;
                ASSERT_TRUE(m.ImageToMap(ix, iy, lon2, lat2)) << c.what;
                EXPECT_NEAR(lon2, lon, c.tol) << c.what << " at " << lon << ", " << lat;
                EXPECT_NEAR(lat2, lat, c.tol) << c.what << " at " << lon << ", " << lat;
            }
        // Crosses land on their own pixels.
        for (const TraceCross& x : m.Crosses()) {
            int32_t ix = 0, iy = 0;
            ASSERT_TRUE(m.MapToImage(x.lon, x.lat, ix, iy));
            EXPECT_EQ(ix, x.ix) << c.what;
            EXPECT_EQ(iy, x.iy) << c.what;
        }
    }
}

TEST(TraceTransforms, OutsideTheFramesTheNearestFrameExtrapolates) {
    // Two frames of different scale side by side: 10..11 at 100 px/°, 11..12 at 200 px/°.
    TraceMesh m;
    for (int lat : {20, 21}) {
        const int32_t y = 500 - 100 * (lat - 20);
        m.AddCross(cross(0, y, 10, lat));
        m.AddCross(cross(100, y, 11, lat));
        m.AddCross(cross(300, y, 12, lat));
    }
    ASSERT_TRUE(m.CrossToFrame());
    ASSERT_TRUE(m.GetFrameArea());
    struct Case {
        int32_t lon, lat;
        bool ok;
        int32_t ix, iy;
    };
    const Case cases[] = {
        {10 * kDeg - 1800, 20 * kDeg + 1800, true, -50, 450},    // west: the 100 px frame
        {12 * kDeg + 1800, 20 * kDeg + 1800, true, 400, 450},    // east: the 200 px frame
        {11 * kDeg + 900, 21 * kDeg + 1800, true, 150, 350},     // north of the eastern frame
        {10 * kDeg - 5400 - 1, 20 * kDeg, false, 0, 0},          // beyond the frame area
        {11 * kDeg, 21 * kDeg + 2700 + 1, false, 0, 0},
    };
    for (const Case& c : cases) {
        int32_t ix = 0, iy = 0;
        EXPECT_EQ(m.MapToImage(c.lon, c.lat, ix, iy), c.ok) << c.lon << ", " << c.lat;
        if (!c.ok) continue;
        EXPECT_EQ(ix, c.ix) << c.lon << ", " << c.lat;
        EXPECT_EQ(iy, c.iy) << c.lon << ", " << c.lat;
    }
    // A picture point outside both frames is read through the frame whose u, v lie nearest the middle.
    const struct {
        int32_t ix, iy, lon, lat;
    } back[] = {{-50, 450, 10 * kDeg - 1800, 20 * kDeg + 1800}, {400, 450, 12 * kDeg + 1800, 20 * kDeg + 1800},
                {150, 1500, 11 * kDeg + 900, 10 * kDeg}};
    for (const auto& b : back) {
        int32_t lon = 0, lat = 0;
        ASSERT_TRUE(m.ImageToMap(b.ix, b.iy, lon, lat));
        EXPECT_EQ(lon, b.lon) << b.ix;
        EXPECT_EQ(lat, b.lat) << b.ix;
    }
}

TEST(TraceTransforms, NoFramesNoConversionAndDegenerateFramesFail) {
    TraceMesh m;
    int32_t a = 5, b = 6;
    EXPECT_FALSE(m.MapToImage(0, 0, a, b));
    EXPECT_FALSE(m.ImageToMap(0, 0, a, b));
    EXPECT_EQ(a, 5);
    // All four corners on one pixel: no position comes out of the frame.
    m.SetLists({}, {TraceFrame{7, 7, 7, 7, 7, 7, 7, 7, 0, 0, 3600, 3600}});
    ASSERT_TRUE(m.GetFrameArea());
    EXPECT_FALSE(m.MapToImage(1800, 1800, a, b));
    EXPECT_EQ(a, 5);
}

TEST(TraceSnap, NearestMemberBelowSixtyFourPixels) {
    const std::vector<TraceMember> members{{1, 1, 100, 163, 8}, {2, 2, 163, 100, 9}, {3, 3, 100, 164, 10}};
    struct Case {
        int32_t ix, iy, found;
    };
    const Case cases[] = {
        {100, 100, 0},    // 63 pixels from both: the first of equals
        {100, 101, 0},
        {101, 100, 1},
        {100, 36, -1},    // 127, 90 and 128 away
        {100, 228, -1},   // 65, 146 and exactly 64 away
        {100, 227, 2},    // 64, 145 and 63 away
    };
    for (const Case& c : cases) EXPECT_EQ(NearestMember(members, c.ix, c.iy), c.found) << c.ix << ", " << c.iy;
    EXPECT_EQ(NearestMember({}, 0, 0), -1);
}
