// The scale ranges that keep names apart, on spots placed by hand.
#include "Labels.h"

#include "basGlobe.h"

#include <gtest/gtest.h>

using namespace worldsrc;

namespace {

LabelSpot Spot(double lon, double lat, double width, bool right = false, int16_t from = 1) {
    LabelSpot s;
    s.at = {int32_t(lon * SecPerDegree), int32_t(lat * SecPerDegree)};
    s.width = width;
    s.height = 12;
    s.right = right;
    s.from = from;
    return s;
}

} // namespace

TEST(Labels, EachNameWaitsForRoomBesideTheNamesBeforeIt) {
    // 100 px at 1:10 000 000 is about 26 km; a degree of latitude 111 km.
    const struct {
        const char* what;
        std::vector<LabelSpot> spots;
        std::vector<int16_t> from;
    } cases[] = {
        {"alone: from its first level", {Spot(10, 50, 60, false, 7)}, {7}},
        {"on the same point: never", {Spot(10, 50, 60), Spot(10, 50, 30)}, {1, 0}},
        // One degree apart north-south: clear once 12 px + room < 111 km,
        // from 1:2 000 000 at the latest.
        {"a degree apart", {Spot(10, 50, 60), Spot(10, 51, 60)}, {1, -1}},
        // Side by side on the date line, a tenth of a degree apart.
        {"across 180 degrees", {Spot(179.95, 0, 60), Spot(-179.95, 0, 60)}, {1, -1}},
        // A name left out leaves room for the next one.
        {"after one left out", {Spot(10, 50, 60), Spot(10, 50, 60), Spot(10, 50.5, 60)}, {1, 0, -1}},
        // Names to the right of their points: one west of the other is clear
        // sooner than the same two centred.
        {"to the right", {Spot(10, 50, 60, true), Spot(9.9, 50, 8, true)}, {1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<int16_t> got = ClearLevels(c.spots, 53);
        ASSERT_EQ(got.size(), c.from.size());
        for (size_t i = 0; i < got.size(); ++i) {
            if (c.from[i] >= 0) EXPECT_EQ(got[i], c.from[i]) << i;
            else EXPECT_TRUE(got[i] > 1 && got[i] <= 53) << i << ": " << got[i];
        }
    }
    // At the level a name starts it is clear, one level before it is not.
    const std::vector<LabelSpot> two = {Spot(10, 50, 60), Spot(10, 51, 60)};
    const int16_t start = ClearLevels(two, 53)[1];
    EXPECT_EQ(ClearLevels(two, int16_t(start - 1))[1], 0);
    EXPECT_LE(ScaleOfLevel(start), 111000.0 / (18 * 0.0254 / 96));
    EXPECT_LT(ClearLevels({Spot(10, 50, 60), Spot(10, 50, 60, true)}, 53)[1], 53);  // beside its point, not on it
}

TEST(Labels, LevelsOfScales) {
    EXPECT_EQ(LevelFrom(MapScaleMax), 1);
    EXPECT_EQ(LevelFrom(MapScaleMax * 2), 1);
    EXPECT_EQ(ScaleOfLevel(LevelFrom(200000000)), 200000000);
    EXPECT_EQ(ScaleOfLevel(LevelFrom(210000000)), 200000000);
    EXPECT_EQ(LevelFrom(1), 53);
}
