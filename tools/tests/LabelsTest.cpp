// Where names stand and the scale ranges that keep them apart, on spots
// placed by hand, and the boxes the plot engine draws them in.
#include "Labels.h"

#include "basGlobe.h"
#include "clsMapGraph.h"

#include <gtest/gtest.h>

using namespace worldsrc;

namespace {

// A name `width` pixels wide and 12 high at an anchor: 10 right of its
// point, 14 left of it, 12 centred.
LabelSpot Spot(double lon, double lat, double width, int16_t fix = 12, int16_t from = 1) {
    LabelSpot s;
    s.at = {int32_t(lon * SecPerDegree), int32_t(lat * SecPerDegree)};
    s.fix = fix;
    const double left = fix == 10 ? 6 : fix == 14 ? -6 - width : -width / 2;
    s.text[0] = s.text[1] = {left, -6, left + width, 6};
    s.from = from;
    return s;
}

// Names due from their spots' first level.
std::vector<LabelName> Names(const std::vector<std::vector<LabelSpot>>& spots) {
    std::vector<LabelName> out;
    for (const auto& s : spots) out.push_back({s.front().from, s});
    return out;
}

std::vector<int16_t> Levels(const std::vector<std::vector<LabelSpot>>& spots) {
    std::vector<int16_t> out;
    for (const Placed& p : PlaceLabels(Names(spots), 53)) out.push_back(p.from);
    return out;
}

} // namespace

TEST(Labels, EachNameWaitsForRoomBesideTheNamesBeforeIt) {
    // 100 px at 1:10 000 000 is about 26 km; a degree of latitude 111 km.
    const struct {
        const char* what;
        std::vector<std::vector<LabelSpot>> names;
        std::vector<int16_t> from;  // -1: some level between 2 and 53
    } cases[] = {
        {"alone: from its first level", {{Spot(10, 50, 60, 12, 7)}}, {7}},
        {"on the same point: never", {{Spot(10, 50, 60)}, {Spot(10, 50, 30)}}, {1, 0}},
        {"a degree apart", {{Spot(10, 50, 60)}, {Spot(10, 51, 60)}}, {1, -1}},
        {"across 180 degrees", {{Spot(179.95, 0, 60)}, {Spot(-179.95, 0, 60)}}, {1, -1}},
        {"after one left out", {{Spot(10, 50, 60)}, {Spot(10, 50, 60)}, {Spot(10, 50.5, 60)}}, {1, 0, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<int16_t> got = Levels(c.names);
        ASSERT_EQ(got.size(), c.from.size());
        for (size_t i = 0; i < got.size(); ++i) {
            if (c.from[i] >= 0) EXPECT_EQ(got[i], c.from[i]) << i;
            else EXPECT_TRUE(got[i] > 1 && got[i] <= 53) << i << ": " << got[i];
        }
    }
    // Clear at the level it starts and from there on; not one level before.
    const LabelSpot a = Spot(10, 50, 60), b = Spot(10, 51, 60);
    const int16_t start = Levels({{a}, {b}})[1];
    EXPECT_FALSE(Overlaps(a, b, ScaleOfLevel(start)) || Overlaps(a, b, ScaleOfLevel(53)));
    EXPECT_TRUE(Overlaps(a, b, ScaleOfLevel(int16_t(start - 1))));
    EXPECT_TRUE(ScaleOfLevel(start) < 50e6 && ScaleOfLevel(start) > 10e6) << start;
}

TEST(Labels, ANameStepsAsideBeforeItWaits) {
    // Two places 0.1° apart east-west, names due at 1:35 000 000: the
    // eastern one's name right of its point is clear of the western one's,
    // which stands right of its own point too; left it would cover it.
    const LabelSpot west = Spot(10, 50, 60, 10, 20);
    std::vector<LabelSpot> east{Spot(10.1, 50, 60, 14, 20), Spot(10.1, 50, 60, 10, 20)};
    std::vector<Placed> got = PlaceLabels(Names({{west}, east}), 53);
    EXPECT_EQ(got[1].spot, 1u);
    EXPECT_LT(got[1].from, PlaceLabels(Names({{west}, {east[0]}}), 53)[1].from);
    // Of spots equally clear, the first.
    east = {Spot(100, 0, 60, 14, 20), Spot(100, 0, 60, 10, 20)};
    got = PlaceLabels(Names({{west}, east}), 53);
    EXPECT_TRUE(got[1].spot == 0 && got[1].from == 20);
    // A place's symbol is in the way as much as its name: a name centred on
    // the symbol of a place before it waits for ever; beside its name only,
    // it does not wait.
    LabelSpot place = Spot(10, 50, 60, 10, 20);
    place.mark = {-7, -7, 7, 7};
    EXPECT_EQ(Levels({{place}, {Spot(10, 50, 8, 12, 20)}}), (std::vector<int16_t>{20, 0}));
    place.mark = {};
    EXPECT_EQ(Levels({{place}, {Spot(10, 50, 2, 12, 20)}}), (std::vector<int16_t>{20, 20}));
}

TEST(Labels, ANameOfASmallerRankPushesOneInItsWayAside) {
    // A country's name, first in importance, on a capital's only spot; its
    // other spot is clear of the capital but shows only later.
    const auto country = [](int16_t rank) {
        LabelName n{20, {Spot(10, 50, 80, 12, 20), Spot(10, 49, 80, 12, 22)}, true, false, rank};
        return n;
    };
    LabelName capital{20, {Spot(10.05, 50, 60, 10, 20)}, false, false, 0};
    capital.spots[0].mark = {-7, -7, 7, 7};
    // A small country's name steps aside, however late.
    std::vector<Placed> got = PlaceLabels({country(2), capital}, 53);
    EXPECT_TRUE(got[0].spot == 1 && got[0].from == 22);
    EXPECT_EQ(got[1].from, 20);
    // A large one's only where it shows as soon: the capital waits.
    got = PlaceLabels({country(1), capital}, 53);
    EXPECT_TRUE(got[0].spot == 0 && got[0].from == 20);
    EXPECT_GT(got[1].from, 20);
}

TEST(Labels, BoxesAsTheEngineDrawsThem) {
    EngineMeasure m;
    const QByteArray latin = "Bratislava", japanese = "\x83\x75\x83\x89\x83\x65\x83\x42\x83\x58\x83\x89\x83\x6F";  // ブラティスラバ
    const auto box = [&](int16_t fix, int16_t style = 0) { return m.Text(latin, japanese, 9, style, fix); };
    for (size_t l = 0; l < 2; ++l) {
        SCOPED_TRACE(l);
        // Right of the point, left of it, above, below, centred on it.
        EXPECT_GT(box(10)[l].left, 2);
        EXPECT_LT(box(14)[l].right, -2);
        EXPECT_LE(box(22)[l].bottom, 0);
        EXPECT_GT(box(2)[l].top, 2);
        EXPECT_TRUE(box(20)[l].left > 2 && box(20)[l].bottom <= 0);
        EXPECT_NEAR(box(12)[l].left + box(12)[l].right, 0, 1);
        EXPECT_NEAR(box(12)[l].top + box(12)[l].bottom, 0, 4);
        EXPECT_GE(box(10, clsMapGraph::FS_BOLD)[l].right, box(10)[l].right);
        EXPECT_GE(box(12)[l].bottom - box(12)[l].top, 12);
    }
    EXPECT_NE(box(10)[0].right, box(10)[1].right);  // each language its own width
    EXPECT_TRUE(m.Text({}, {}, 9, 0, 10)[0].empty() && m.Text({}, {}, 9, 0, 10)[1].empty());
    const PixelBox dot = m.Symbol(0);
    EXPECT_TRUE(!dot.empty() && dot.left < 0 && dot.right > 0 && dot.right - dot.left < 20);
}

TEST(Labels, LevelsOfScales) {
    EXPECT_EQ(LevelFrom(MapScaleMax), 1);
    EXPECT_EQ(LevelFrom(MapScaleMax * 2), 1);
    EXPECT_EQ(ScaleOfLevel(LevelFrom(200000000)), 200000000);
    EXPECT_EQ(ScaleOfLevel(LevelFrom(210000000)), 200000000);
    EXPECT_EQ(LevelFrom(1), 53);
}
