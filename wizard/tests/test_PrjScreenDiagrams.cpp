// The moving parts of the projection-surface diagrams against end points
// worked out by hand from the picture's fixed parts.
#include <gtest/gtest.h>

#include "PrjScreenDiagrams.h"

namespace {

TEST(ScreenDiagrams, Poler) {
    // Globe 50 wide at (10, 20): centre (34, 44); the north mark 35.385 and
    // the lines 27.69 from it.
    const QRect globe(10, 20, 50, 50);
    const PolerDiagram up = DrawPoler(globe, 0);
    EXPECT_EQ(up.north, QPoint(34, 9));
    EXPECT_EQ(up.meridian, QLine(34, 16, 34, 72));
    EXPECT_EQ(up.equator, QLine(6, 44, 62, 44));
    const PolerDiagram east = DrawPoler(globe, 324000);   // turned a quarter clockwise
    EXPECT_EQ(east.north, QPoint(69, 44));
    EXPECT_EQ(east.meridian, QLine(62, 44, 6, 44));
    EXPECT_EQ(east.equator, QLine(34, 16, 34, 72));
}

TEST(ScreenDiagrams, Cone) {
    // Sides 70.8 long from (60, 6); 60 degrees: s = 35, c = 61.
    const ConeDiagram d = DrawCone(QPoint(60, 6), 120, 216000);
    EXPECT_EQ(d.side[0], QLine(60, 6, 25, 67));
    EXPECT_EQ(d.side[1], QLine(60, 6, 95, 67));
    EXPECT_EQ(d.base, QRect(25, 59, 71, 18));
    EXPECT_EQ(d.earth, QRect(37, 62, 47, 47));
    // 30 degrees: s = 18, c = 68.
    const ConeDiagram narrow = DrawCone(QPoint(60, 6), 120, 108000);
    EXPECT_EQ(narrow.side[0].p2(), QPoint(42, 74));
    EXPECT_EQ(narrow.side[1].p2(), QPoint(78, 74));
}

TEST(ScreenDiagrams, Secant) {
    // Radius 63.72 about (22, 48).
    const SecantDiagram tangent = DrawSecant(QPoint(22, 48), 120, 96, 0);
    EXPECT_EQ(tangent.plane, QLine(86, 0, 86, 95));
    EXPECT_EQ(tangent.radius[0], QLine(22, 48, 86, 48));
    EXPECT_EQ(tangent.radius[1], QLine(22, 48, 86, 48));
    const SecantDiagram cut = DrawSecant(QPoint(22, 48), 120, 96, 216000);   // 30 degrees each side
    EXPECT_EQ(cut.plane, QLine(77, 0, 77, 95));
    EXPECT_EQ(cut.radius[0].p2(), QPoint(77, 16));
    EXPECT_EQ(cut.radius[1].p2(), QPoint(77, 80));
}

TEST(ScreenDiagrams, Light) {
    // Slider 80 of 160 on a 100 wide picture: a beam of 35.1; 10000 km at
    // that length makes the globe 22.36 in radius.
    const LightDiagram d = DrawLight(QPoint(30, 48), 100, 80, 160, 1e7);
    EXPECT_EQ(d.beam, QLine(30, 48, 65, 48));
    EXPECT_EQ(d.light, QPoint(65, 48));
    EXPECT_EQ(d.earth, QRect(-14, 26, 45, 45));
    EXPECT_EQ(d.vertical, QLine(8, 26, 8, 70));
    EXPECT_EQ(d.horizontal, QLine(-14, 48, 30, 48));
    // Far away the globe keeps a radius of 4.
    const LightDiagram far = DrawLight(QPoint(30, 48), 100, 160, 160, 1e9);
    EXPECT_EQ(far.beam.p2(), QPoint(100, 48));
    EXPECT_EQ(far.earth, QRect(22, 44, 9, 9));
}

} // namespace
