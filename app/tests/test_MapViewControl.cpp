// The map view's click dispatcher, drag, scrolling, zoom, view-area picker
// and save reminder, driven with a recording window and a fake clock.
#include "MapViewTestSupport.h"

#include "basGlobe.h"

using namespace apptest;

namespace {

class MapViewMouse : public MapViewTest {};

// The map point under a canvas pixel, as the centring road truncates it.
std::pair<int32_t, int32_t> CoarsePointAt(int32_t cx, int32_t cy) {
    int32_t mx = 0, my = 0;
    PosCanvasToMap(cx, cy, mx, my);
    return {CoarseToMap(MapToCoarse(mx)), CoarseToMap(MapToCoarse(my))};
}

TEST_F(MapViewMouse, ClicksAreToldApartByTheDoubleClickTime) {
    struct Case {
        const char* name;
        int gapMs;          // between the first release and the second press
        int plots;
        size_t pickups;
    };
    const Case cases[] = {
        {"double click", 100, 0, 1},
        {"second click too late", 600, 2, 0},
    };
    for (const Case& c : cases) {
        host_ = FakeHost();
        host_.control = control_.get();
        Click(100, 100);
        Wait(c.gapMs);
        Click(100, 100);
        Wait(500);
        Wait(500);
        EXPECT_EQ(host_.plots, c.plots) << c.name;
        EXPECT_EQ(host_.pickups.size(), c.pickups) << c.name;
        EXPECT_FALSE(control_->ClickTimerRunning()) << c.name;
        EXPECT_EQ(control_->ClickCount, 0) << c.name;
    }
}

TEST_F(MapViewMouse, ASingleClickCentresThePointClicked) {
    const auto expected = CoarsePointAt(100, 300);
    Click(100, 300);
    Wait(499);
    EXPECT_EQ(host_.plots, 0) << "still waiting for a second click";
    Wait(1);
    EXPECT_EQ(host_.plots, 1);
    EXPECT_EQ(host_.controlls, 1);
    EXPECT_EQ(ll_->CenterX(), expected.first);
    EXPECT_EQ(ll_->CenterY(), expected.second);
    EXPECT_LT(ll_->CenterX(), 0) << "left of the centre is west";
}

TEST_F(MapViewMouse, ADragMovesThePictureAtOnceAndTheMapFollowsThePointer) {
    // The content follows the pointer 30 pixels to the right: the new
    // centre is the point 30 pixels left of the old one.
    const auto expected = CoarsePointAt(kW / 2 - 30, kH / 2);
    control_->picView_MouseDown(MapViewControl::LeftButton, 200, 150);
    control_->picView_MouseMove(MapViewControl::LeftButton, 215, 150);
    EXPECT_EQ(host_.pan, QPoint(0, 0)) << "no drag before the double-click time";
    Wait(500);
    EXPECT_TRUE(control_->DragEi);
    EXPECT_EQ(host_.pan, QPoint(15, 0)) << "the picture jumps to the pointer when the drag starts";
    control_->picView_MouseMove(MapViewControl::LeftButton, 230, 150);
    EXPECT_EQ(host_.pan, QPoint(30, 0));
    EXPECT_EQ(host_.plots, 0) << "no replot while dragging";
    control_->picView_MouseUp(MapViewControl::LeftButton, 230, 150);
    EXPECT_EQ(host_.plots, 1);
    EXPECT_EQ(ll_->CenterX(), expected.first);
    EXPECT_EQ(ll_->CenterY(), expected.second);
    EXPECT_EQ(host_.pan, QPoint(0, 0));
    EXPECT_FALSE(control_->DragEi);
}

TEST_F(MapViewMouse, ClicksAndDragsDuringAPlotAreDropped) {
    host_.plotting = true;
    Click(100, 100);
    Wait(500);
    EXPECT_EQ(host_.plots, 0);
    EXPECT_EQ(control_->ClickCount, 0);
    EXPECT_EQ(ll_->CenterX(), 0);

    // A drag that began before the plot and ends during it.
    host_.plotting = false;
    control_->picView_MouseDown(MapViewControl::LeftButton, 300, 200);
    Wait(500);
    control_->picView_MouseMove(MapViewControl::LeftButton, 340, 220);
    EXPECT_EQ(host_.pan, QPoint(40, 20));
    host_.plotting = true;
    control_->picView_MouseUp(MapViewControl::LeftButton, 340, 220);
    EXPECT_EQ(host_.plots, 0);
    EXPECT_EQ(ll_->CenterX(), 0);
    EXPECT_EQ(host_.pan, QPoint(0, 0)) << "the view is not left offset";

    // A press held past the timer during a plot is no drag.
    control_->picView_MouseDown(MapViewControl::LeftButton, 300, 200);
    Wait(500);
    EXPECT_FALSE(control_->DragEi);
}

TEST_F(MapViewMouse, TheRightButtonActsByMode) {
    struct Case {
        const char* name;
        std::function<void()> enter;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"no mode: the popup menu at the pointer", [] {},
         [&] {
             ASSERT_EQ(host_.popups.size(), 1u);
             EXPECT_EQ(host_.popups[0], QPoint(120, 80));
         }},
        {"survey without a point: leaves survey", [&] { control_->mnuSurvey_Click(); },
         [&] {
             EXPECT_FALSE(survey().IsOn());
             EXPECT_EQ(host_.cursor, 1101);
         }},
        {"frame cut: leaves it", [&] { control_->mnuFrameCut_Click(); },
         [&] {
             EXPECT_FALSE(frameCut().IsOn());
             EXPECT_TRUE(host_.popups.empty());
         }},
        {"pickup: leaves it", [&] { control_->mnuPickup_Click(); },
         [&] {
             EXPECT_FALSE(control_->PickupEi);
             EXPECT_EQ(host_.status, QString());
         }},
    };
    for (const Case& c : cases) {
        host_ = FakeHost();
        host_.control = control_.get();
        c.enter();
        Click(120, 80, MapViewControl::RightButton);
        Wait(500);
        c.check();
        EXPECT_TRUE(host_.pickups.empty()) << c.name;
    }
}

TEST_F(MapViewMouse, ModeClicksAreSingleClicks) {
    control_->mnuSurvey_Click();
    Click(100, 100);
    Wait(10);
    Click(150, 120);
    Wait(10);
    EXPECT_EQ(survey().SurveyRoute.Count(), 2) << "two quick clicks are two route points";
    EXPECT_TRUE(host_.pickups.empty());

    // In pickup mode one click opens the list.
    control_->mnuSurvey_Click();
    control_->mnuPickup_Click();
    EXPECT_EQ(host_.cursor, 1105);
    Click(100, 100);
    Wait(500);
    ASSERT_EQ(host_.pickups.size(), 1u);
    EXPECT_FALSE(host_.pickups[0].includeAll);
    EXPECT_EQ(host_.pickMenus.size(), 0u) << "cancelled list: no pick menu";
}

TEST_F(MapViewMouse, ADoubleClickPicksAndAPickOfASurveyIsARoutePoint) {
    host_.pickOk = true;
    Click(100, 100);
    Click(100, 100);
    Wait(500);
    ASSERT_EQ(host_.pickMenus.size(), 1u);
    EXPECT_EQ(host_.pickMenus[0], QPoint(100, 100));

    // Survey: the pickup list considers all elements and its point joins the route.
    control_->mnuSurvey_Click();
    host_.pickX = 5 * kDeg;
    host_.pickY = 3 * kDeg;
    control_->DoubleClickMs = 500;
    control_->picView_MouseDown(MapViewControl::LeftButton, 100, 100);
    control_->picView_MouseUp(MapViewControl::LeftButton, 100, 100);
    control_->picView_MouseDown(MapViewControl::LeftButton, 100, 100);
    control_->picView_MouseUp(MapViewControl::LeftButton, 100, 100);
    control_->tmrClick_Timer();   // both releases counted before the 10 ms ran out
    ASSERT_EQ(host_.pickups.size(), 2u);
    EXPECT_TRUE(host_.pickups[1].includeAll);
    ASSERT_EQ(survey().SurveyRoute.Count(), 1);
    EXPECT_EQ(survey().SurveyRoute.x(1), 5 * kDeg);
    EXPECT_EQ(survey().SurveyRoute.y(1), 3 * kDeg);
}

TEST_F(MapViewMouse, TimersAskToBeWokenWhenDue) {
    EXPECT_EQ(control_->ClickTimerRunning(), false);
    control_->Poll();
    EXPECT_EQ(host_.wake, 60000) << "the save timer";
    control_->picView_MouseDown(MapViewControl::LeftButton, 10, 10);
    EXPECT_EQ(host_.wake, 500);
    control_->mnuFrameCut_Click();
    control_->picView_MouseUp(MapViewControl::LeftButton, 10, 10);
    EXPECT_EQ(host_.wake, 10) << "a mode cuts the wait";
}

// ---------------------------------------------------------------------------

class MapViewScroll : public MapViewTest {};

TEST_F(MapViewScroll, StepsFollowTheExtentOfTheView) {
    struct Case {
        int64_t extent;
        int32_t bound, small, large;
    };
    for (const Case& c : {Case{300, 10800, 30, 240}, Case{50, 10800, 5, 40}, Case{5, 10800, 1, 8},
                          Case{90000, 5400, 540, 4320}}) {
        const auto s = MapViewControl::StepsOf(c.extent, c.bound);
        EXPECT_EQ(s.small, c.small) << c.extent;
        EXPECT_EQ(s.large, c.large) << c.extent;
    }
    EXPECT_EQ(MapViewControl::ScrollBound(false), 10800);
    EXPECT_EQ(MapViewControl::ScrollBound(true), 5400);
    gvMapMode = 2;
    EXPECT_NEAR(MapViewControl::ScrollBound(true), 32700, 1) << "the X/Y range fills 16 bits";
}

TEST_F(MapViewScroll, ScrollBarsMoveTheCentreAndTheirChangeReplots) {
    control_->hsbView_Scroll(600);
    EXPECT_EQ(ll_->CenterX(), 600 * 60);
    EXPECT_EQ(host_.plots, 0);
    EXPECT_EQ(host_.centres, 1);
    control_->vsbView_Change(-300);
    EXPECT_EQ(ll_->CenterY(), -300 * 60);
    EXPECT_EQ(host_.plots, 1);

    // X/Y: a release where the bar stands keeps a centre off the coarse grid.
    gvMapMode = 2;
    xy_->setCenterX(1234567);
    const int32_t here = static_cast<int32_t>(std::nearbyint(MapToCoarse(1234567) * MapViewControl::ScrollFactor()));
    control_->hsbView_Change(here);
    EXPECT_EQ(xy_->CenterX(), 1234567);
    control_->hsbView_Change(here + 1);
    EXPECT_NE(xy_->CenterX(), 1234567);
}

TEST_F(MapViewScroll, TheWheelScrollsOneLineNorthOrSouth) {
    host_.vsb = 100;
    const int32_t step = MapViewControl::ScrollStepsOf(true).small;
    control_->MouseWheel(120);
    EXPECT_EQ(host_.vsb, 100 + step);
    EXPECT_EQ(ll_->CenterY(), (100 + step) * 60);
    control_->MouseWheel(-360);
    EXPECT_EQ(host_.vsb, 100) << "one line whatever the delta";
    host_.vsb = 5400;
    const int plots = host_.plots;
    control_->MouseWheel(120);
    EXPECT_EQ(host_.plots, plots) << "at the top nothing moves";
}

TEST_F(MapViewScroll, ZoomBySliderButtonsAndKeypad) {
    host_.slider = 20;
    control_->picScaleLarge_Click();
    EXPECT_EQ(host_.slider, 21);
    EXPECT_EQ(ll_->MapScale(), ScaleOfLevel(21));
    EXPECT_EQ(host_.tip, QStringLiteral("1/") + ScaleLevelText(21));
    EXPECT_EQ(host_.plots, 1);
    EXPECT_TRUE(control_->KeyDown(MapViewControl::kKeyPadMinus));
    EXPECT_EQ(host_.slider, 20);
    EXPECT_TRUE(control_->KeyDown(MapViewControl::kKeyPadPlus));
    EXPECT_EQ(host_.slider, 21);
    EXPECT_FALSE(control_->KeyDown(65));

    struct End {
        int16_t at;
        bool larger;
    };
    for (const End e : {End{53, true}, End{1, false}}) {
        host_.slider = e.at;
        const int plots = host_.plots;
        e.larger ? control_->picScaleLarge_Click() : control_->picScaleSmall_Click();
        EXPECT_EQ(host_.slider, e.at);
        EXPECT_EQ(host_.plots, plots);
    }
    host_.plotting = true;
    host_.slider = 20;
    control_->KeyDown(MapViewControl::kKeyPadPlus);
    EXPECT_EQ(host_.slider, 20) << "no zoom during a plot";
}

TEST_F(MapViewScroll, TheViewAreaPickerGivesCodesOneToNine) {
    // A box of 885 x 585 twips: cells of 300 x 200.
    int code = 0;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            control_->picViewArea_MouseUp(column * 300 + 150, row * 200 + 100, 885, 585);
            EXPECT_EQ(gvCanvas->ViewArea(), ++code);
        }
    control_->picViewArea_MouseUp(299.6, 0, 885, 585);
    EXPECT_EQ(gvCanvas->ViewArea(), 2) << "the position is rounded";
    control_->picViewArea_MouseUp(-40, 900, 885, 585);
    EXPECT_EQ(gvCanvas->ViewArea(), 7) << "a release outside picks the edge cell";
    EXPECT_EQ(host_.plots, 11);
}

// ---------------------------------------------------------------------------

class SaveReminderTest : public MapViewTest {};

TEST_F(SaveReminderTest, MinutesCountOnlyWhileTheMapWindowsAreInFront) {
    struct Minute {
        const char* active;
        bool minimized;
        bool plotting;
    };
    const Minute counted{"frmMain", false, false};
    struct Case {
        const char* name;
        int16_t interval;
        std::vector<Minute> minutes;
        bool modified;
        int answer;          // 0: no question expected
        int overwrites;
        int captions;
    };
    const Case cases[] = {
        {"off", 0, std::vector<Minute>(20, counted), true, 0, 0, 0},
        {"fifteen counted minutes ask", 15, std::vector<Minute>(15, counted), true, plat::IdYes, 1, 0},
        {"fourteen do not", 15, std::vector<Minute>(14, counted), true, 0, 0, 0},
        {"nothing modified: no question", 2, std::vector<Minute>(2, counted), false, 0, 0, 0},
        {"No saves nothing", 2, std::vector<Minute>(2, counted), true, plat::IdNo, 0, 0},
        {"the map list counts and gets its caption", 2, {counted, {"frmMapList", false, false}}, true, plat::IdYes,
         1, 1},
        {"other windows, minimised and plotting do not count", 2,
         {counted, {"frmFigPoly", false, false}, {"", false, false}, {"frmMain", true, false}, {"frmMain", false, true}},
         true, 0, 0, 0},
    };
    for (const Case& c : cases) {
        host_ = FakeHost();
        host_.control = control_.get();
        control_->Reminder().SaveMinuteCount = 0;
        gvSaveInterval = c.interval;
        host_.modified = c.modified;
        testsupport::ScriptedBoxes boxes;
        if (c.answer) boxes.expect(QStringLiteral("修正されている地図があります. 上書き保存しますか？"), c.answer);
        for (const Minute& m : c.minutes) {
            host_.active = QString::fromLatin1(m.active);
            host_.minimized = m.minimized;
            host_.plotting = m.plotting;
            Wait(60000);
        }
        EXPECT_EQ(host_.overwrites, c.overwrites) << c.name;
        EXPECT_EQ(host_.captions, c.captions) << c.name;
        if (c.answer) {
            ASSERT_EQ(boxes.shown().size(), 1u) << c.name;
            EXPECT_TRUE(boxes.shown()[0].text.startsWith(QStringLiteral("《タイマーからのメッセージ》\r\n"))) << c.name;
        }
    }
}

TEST_F(SaveReminderTest, AShorterIntervalSetMeanwhileStillAsks) {
    gvSaveInterval = 30;
    host_.modified = true;
    for (int i = 0; i < 10; ++i) Wait(60000);
    gvSaveInterval = 5;
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("上書き保存しますか"), plat::IdYes);
    Wait(60000);
    EXPECT_EQ(host_.overwrites, 1);
    EXPECT_EQ(control_->Reminder().SaveMinuteCount, 0);
}

} // namespace
