// The range dialog's model: snapping to the ladder, the slider's selection
// under clicks, Shift drags and the step buttons, and what OK hands back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KeyCodes.h"
#include "RangeModel.h"
#include "basGlobe.h"

namespace {

RangeModel Loaded(double s, double l) {
    RangeModel m;
    m.RangeScaleS = s;
    m.RangeScaleL = l;
    m.Load();
    return m;
}

} // namespace

TEST(RangeModel, LoadSnapsToTheLadderAndOkHandsBackLadderValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double s, l;
        int16_t large, small;
        bool steps[4];
    } cases[] = {
        {ScaleOfLevel(10), ScaleOfLevel(20), 20, 10, {true, true, true, true}},
        {ScaleOfLevel(20), ScaleOfLevel(10), 20, 10, {true, true, true, true}},              // reversed
        {ScaleOfLevel(10) * 0.99, ScaleOfLevel(20) * 1.01, 19, 10, {true, true, true, true}}, // between steps
        {ScaleOfLevel(30), ScaleOfLevel(30), 30, 30, {true, false, false, true}},           // a single level
        {1e12, 1, 53, 1, {false, true, true, false}},                                       // clamped to the bounds
        {nan, nan, 53, 1, {false, true, true, false}},
    };
    for (const Case& c : cases) {
        RangeModel m = Loaded(c.s, c.l);
        EXPECT_FALSE(m.DialogOK);
        EXPECT_EQ(m.LargeLevel(), c.large) << c.s << " " << c.l;
        EXPECT_EQ(m.SmallLevel(), c.small) << c.s << " " << c.l;
        EXPECT_EQ(m.Value(), 54 - c.large);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(m.StepEnabled(i), c.steps[i]) << "button " << i;
        m.Accept();
        EXPECT_TRUE(m.DialogOK);
        EXPECT_EQ(m.RangeScaleL, ScaleOfLevel(c.large));
        EXPECT_EQ(m.RangeScaleS, ScaleOfLevel(c.small));
    }
}

TEST(RangeModel, PlainClickRunsTheRangeDownToLevelOne) {
    for (const int shift : {0, int(plat::CtrlMask), plat::ShiftMask | plat::CtrlMask}) {
        RangeModel m = Loaded(ScaleOfLevel(10), ScaleOfLevel(20));
        m.MouseDown(shift);
        m.Scroll(40);
        EXPECT_EQ(m.LargeLevel(), 14) << shift;
        EXPECT_EQ(m.SmallLevel(), 1) << shift;
    }
}

TEST(RangeModel, ShiftDragMovesTheLargeScaleEndOnly) {
    RangeModel m = Loaded(ScaleOfLevel(10), ScaleOfLevel(20));   // thumb at 34
    m.MouseDown(plat::ShiftMask);
    EXPECT_EQ(m.SelLength(), 0);
    const struct {
        int32_t to, selStart, selLength;
    } steps[] = {{30, 30, 4}, {32, 32, 2}, {40, 32, 2} /* beyond the far end: nothing */, {0, 1, 33} /* clamped */};
    for (const auto& s : steps) {
        m.Scroll(s.to);
        EXPECT_EQ(m.SelStart(), s.selStart) << s.to;
        EXPECT_EQ(m.SelLength(), s.selLength) << s.to;
    }
    EXPECT_EQ(m.ThumbText(), RangeModel::LevelText(53));
}

TEST(RangeModel, StepButtonsMoveOneEndOneLevel) {
    RangeModel m = Loaded(ScaleOfLevel(10), ScaleOfLevel(20));
    const struct {
        int button;
        int16_t large, small;
    } steps[] = {{0, 21, 10}, {1, 20, 10}, {2, 20, 11}, {3, 20, 10}, {2, 20, 11}};
    for (const auto& s : steps) {
        m.Step(s.button);
        EXPECT_EQ(m.LargeLevel(), s.large) << s.button;
        EXPECT_EQ(m.SmallLevel(), s.small) << s.button;
    }
    EXPECT_EQ(m.LargeStepText(), QStringLiteral("ステップ：20"));
    EXPECT_EQ(m.SmallValText(), QStringLiteral("1/") + ScaleLevelText(11));
    RangeModel single = Loaded(ScaleOfLevel(30), ScaleOfLevel(30));
    single.Step(1);   // disabled: nothing
    single.Step(2);
    EXPECT_EQ(single.LargeLevel(), 30);
    EXPECT_EQ(single.SmallLevel(), 30);
}
