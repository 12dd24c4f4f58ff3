// The view's right-click menu prepared from the window and the engine: its
// captions by map mode and settings, what is offered at the ends of the
// slider and the scroll bars, one mode at a time; the engine items.
#include <gtest/gtest.h>

#include "AppState.h"
#include "MapPopupMenu.h"
#include "MapViewTestSupport.h"
#include "clsEnvironment.h"

namespace {

class MapPopup : public apptest::MapViewTest {
protected:
    MapPopup() : saved_(std::exchange(gvEnvironment, &env_)) {}
    ~MapPopup() override { gvEnvironment = saved_; }

    // The window as started: the middle of every control, no mode on.
    MapPopupInputs inputs(int32_t mode) {
        MapPopupInputs in;
        in.MapMode = mode;
        in.Language = 2;
        in.Slider = 20;
        in.Horizontal = {-100, 100, 0, 1, 8};
        in.Vertical = {100, -100, 0, 1, 8};
        in.Plot = mode == 1 ? ll_.get() : xy_.get();
        return in;
    }
    static std::vector<QString> captions(const std::array<PopupItemState, 4>& items) {
        std::vector<QString> out;
        for (const PopupItemState& i : items) out.push_back(i.Caption);
        return out;
    }

    clsEnvironment env_;
    clsEnvironment* saved_;
};

TEST_F(MapPopup, CaptionsFollowTheMapModeAndTheProjectionNames) {
    env_.LoadLines({QStringLiteral("DirectPrjName02=メルカトル図法")});
    SetView(*ll_, 2, 0, 0, 2e7);
    const MapPopupState ll = PrepareMapPopup(inputs(1));
    EXPECT_EQ(captions(ll.Scroll), (std::vector<QString>{"西へ(&L)", "東へ(&R)", "北へ(&U)", "南へ(&D)"}));
    EXPECT_EQ(ll.Direct[0], (PopupItemState{"図法自動選択(&T)", true, false}));
    EXPECT_EQ(ll.Direct[1], (PopupItemState{"図法(&1)", true, false})) << "a missing name reads 図法";
    EXPECT_EQ(ll.Direct[2], (PopupItemState{"メルカトル図法(&2)", true, true})) << "the engine's view projection";
    EXPECT_EQ(ll.Direct[3], (PopupItemState{"図法(&3)", true, false}));
    EXPECT_TRUE(ll.CruiseExe.Enabled);
    EXPECT_EQ(ll.Language[1], (PopupItemState{"日本語(&J)", true, true}));
    EXPECT_FALSE(ll.Language[0].Checked);

    ll_->ProjectionAuto = true;
    EXPECT_TRUE(PrepareMapPopup(inputs(1)).Direct[0].Checked);

    const MapPopupState xy = PrepareMapPopup(inputs(2));
    EXPECT_EQ(captions(xy.Scroll), (std::vector<QString>{"左へ(&L)", "右へ(&R)", "上へ(&U)", "下へ(&D)"}));
    for (int i = 1; i <= 4; ++i) EXPECT_FALSE(xy.Direct[i].Enabled || xy.Direct[i].Checked) << i;
    EXPECT_FALSE(xy.CruiseExe.Enabled);
}

TEST_F(MapPopup, ZoomAndScrollStepsAreOfferedUpToTheEnds) {
    // Expected enabled state of larger, smaller, west, east, north, south.
    struct Case {
        const char* what;
        int32_t mode, slider, h, v;
        std::array<bool, 6> on;
    } cases[] = {
        {"middle", 2, 20, 0, 0, {true, true, true, true, true, true}},
        {"largest scale", 2, 53, 0, 0, {false, true, true, true, true, true}},
        {"smallest scale", 2, 1, 0, 0, {true, false, true, true, true, true}},
        {"west end", 2, 20, -100, 0, {true, true, false, true, true, true}},
        {"east end", 2, 20, 100, 0, {true, true, true, false, true, true}},
        {"north end", 2, 20, 0, 100, {true, true, true, true, false, true}},
        {"south end", 2, 20, 0, -100, {true, true, true, true, true, false}},
        // Longitude wraps round; latitude does not.
        {"west end, lat/long", 1, 20, -100, 100, {true, true, true, true, false, true}},
        {"east end, lat/long", 1, 20, 100, -100, {true, true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapPopupInputs in = inputs(c.mode);
        in.Slider = c.slider;
        in.Horizontal.Value = c.h;
        in.Vertical.Value = c.v;
        const MapPopupState s = PrepareMapPopup(in);
        const std::array<bool, 6> got{s.Scale[0].Enabled,  s.Scale[1].Enabled,  s.Scroll[0].Enabled,
                                      s.Scroll[1].Enabled, s.Scroll[2].Enabled, s.Scroll[3].Enabled};
        EXPECT_EQ(got, c.on);
    }
}

TEST_F(MapPopup, SurveyAndPickupExcludeEachOtherAndSwitchesShowTheEngine) {
    MapPopupInputs in = inputs(1);
    in.SurveyOn = true;
    MapPopupState s = PrepareMapPopup(in);
    EXPECT_EQ(s.Survey, (PopupItemState{"測量(&V)", true, true}));
    EXPECT_EQ(s.Pickup, (PopupItemState{"ピックアップ(&P)", false, false}));
    in.SurveyOn = false;
    in.PickupOn = true;
    s = PrepareMapPopup(in);
    EXPECT_EQ(s.Survey, (PopupItemState{"測量(&V)", false, false}));
    EXPECT_EQ(s.Pickup, (PopupItemState{"ピックアップ(&P)", true, true}));

    // Each switch toggled alone shows alone.
    const std::pair<PopupSwitch, PopupItemState MapPopupState::*> switches[] = {
        {PopupSwitch::Grid, &MapPopupState::Grid},
        {PopupSwitch::Acs, &MapPopupState::Acs},
        {PopupSwitch::Edge, &MapPopupState::Edge},
        {PopupSwitch::TextSlant, &MapPopupState::TextSlant},
    };
    const MapPopupState before = PrepareMapPopup(inputs(1));
    for (const auto& [sw, member] : switches) {
        TogglePopupSwitch(*ll_, sw);
        const MapPopupState after = PrepareMapPopup(inputs(1));
        for (const auto& [other, m] : switches)
            EXPECT_EQ((after.*m).Checked, (before.*m).Checked != (m == member)) << (after.*m).Caption.toStdString();
        TogglePopupSwitch(*ll_, sw);
    }
}

TEST_F(MapPopup, ProjectionItemsFixTheViewProjectionOrTurnTheAutomaticChoice) {
    ll_->ProjectionAuto = true;
    PopupDirectItem(*ll_, 0);
    EXPECT_FALSE(ll_->ProjectionAuto);
    PopupDirectItem(*ll_, 0);
    EXPECT_TRUE(ll_->ProjectionAuto);
    PopupDirectItem(*ll_, 4);
    EXPECT_FALSE(ll_->ProjectionAuto);
    EXPECT_EQ(ll_->ProjectionIndex(), 4);
    EXPECT_TRUE(PrepareMapPopup(inputs(1)).Direct[4].Checked);
}

} // namespace
