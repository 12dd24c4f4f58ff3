#include "MapViewControl.h"

#include <algorithm>
#include <cmath>

#include "Clock.h"
#include "MapViewHost.h"
#include "Screen.h"
#include "ViewOverlay.h"
#include "basGlobe.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "clsCanvas.h"
#include "clsMapPlot.h"

namespace {

constexpr int32_t kLonMinutes = 10800;
constexpr int32_t kLatMinutes = 5400;
constexpr double kScrollRangeXY = 32700000;   // metres that fill the scroll bars' 16-bit range

int32_t RoundHalfEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

void ViewToCanvas(int32_t vx, int32_t vy, int32_t& cx, int32_t& cy) {
    cx = vx;
    cy = vy;
    if (gvCanvas) gvCanvas->PosViewToCanvas(vx, vy, cx, cy);
}

// Canvas pixel of the view's centre.
void ViewCentreOnCanvas(int32_t& cx, int32_t& cy) {
    const int32_t vw = gvCanvas ? gvCanvas->ViewWidth() : 0, vh = gvCanvas ? gvCanvas->ViewHeight() : 0;
    ViewToCanvas(vw / 2, vh / 2, cx, cy);
}

} // namespace

MapViewControl::MapViewControl(MapViewHost& host, plat::ViewOverlay& overlay, plat::Clock* clock)
    : DoubleClickMs(plat::DoubleClickTimeMs()), host_(host), overlay_(overlay),
      clock_(clock ? *clock : plat::SystemClock()), survey_(host, overlay), frameCut_(host, overlay),
      reminder_(host) {
    saveDue_ = clock_.tickCountMs() + SaveReminder::kIntervalMs;
}

// ---------------------------------------------------------------------------
// Timers

void MapViewControl::StartClickTimer(int64_t ms) {
    clickOn_ = true;
    clickDue_ = clock_.tickCountMs() + ms;
    Wake();
}

void MapViewControl::Wake() {
    const int64_t now = clock_.tickCountMs();
    int64_t due = saveDue_;
    if (clickOn_) due = std::min(due, clickDue_);
    host_.WakeAfter(std::max<int64_t>(0, due - now));
}

void MapViewControl::Poll() {
    const int64_t now = clock_.tickCountMs();
    if (clickOn_ && clickDue_ <= now) tmrClick_Timer();
    if (saveDue_ <= now) {
        // Re-armed first: the question may run the event loop, which polls.
        saveDue_ = now + SaveReminder::kIntervalMs;
        reminder_.tmrSave_Timer();
    }
    Wake();
}

// ---------------------------------------------------------------------------
// Mouse

void MapViewControl::SetPan(int32_t dx, int32_t dy) {
    if (dx == panX_ && dy == panY_) return;
    panX_ = dx;
    panY_ = dy;
    host_.ShowPanOffset(dx, dy);
}

void MapViewControl::picView_MouseDown(int16_t button, int32_t x, int32_t y) {
    ViewToCanvas(x, y, DownX, DownY);
    ClickButton = button;
    DragEi = false;
    moved_ = false;
    SetPan(0, 0);
    if (!clickOn_) {
        ClickCount = 0;
        StartClickTimer(DoubleClickMs);
    }
}

void MapViewControl::picView_MouseMove(int16_t /*button*/, int32_t x, int32_t y) {
    MouseMapValid = PosViewToMap(x, y, MouseMapX, MouseMapY);
    host_.ShowCursorPos(MouseMapX, MouseMapY, MouseMapValid);
    ViewToCanvas(x, y, moveX_, moveY_);
    moved_ = true;
    if (DragEi && !survey_.IsOn() && !frameCut_.IsOn() && !PickupEi) SetPan(moveX_ - DownX, moveY_ - DownY);
    if (clickOn_ || !MouseMapValid) return;
    if (survey_.IsStarted()) survey_.MoveTo(MouseMapX, MouseMapY);
    if (frameCut_.HasFirstCorner()) frameCut_.MoveTo(MouseMapX, MouseMapY);
}

void MapViewControl::picView_MouseUp(int16_t /*button*/, int32_t x, int32_t y) {
    ViewToCanvas(x, y, UpX, UpY);
    if (DragEi) {
        const int32_t dx = UpX - DownX, dy = UpY - DownY;
        int32_t cx = 0, cy = 0;
        ViewCentreOnCanvas(cx, cy);
        UpX = cx - dx;
        UpY = cy - dy;
        ClickCount = 1;
        tmrClick_Timer();
        DragEi = false;
        // The replot has shown the moved map, or the click was dropped:
        // either way the picture belongs in place.
        SetPan(0, 0);
    }
    if (clickOn_) ++ClickCount;
    if (clickOn_ && (survey_.IsOn() || frameCut_.IsOn())) StartClickTimer(kModeClickMs);
}

bool MapViewControl::ClickMapPoint(int32_t& mx, int32_t& my) const { return PosCanvasToMap(UpX, UpY, mx, my); }

void MapViewControl::tmrClick_Timer() {
    clickOn_ = false;
    if (host_.Plotting()) {
        ClickCount = 0;
        return;
    }
    int32_t mx = 0, my = 0;
    if (ClickButton == LeftButton) {
        switch (ClickCount) {
        case 0:
            DragEi = true;
            if (moved_ && !survey_.IsOn() && !frameCut_.IsOn() && !PickupEi) SetPan(moveX_ - DownX, moveY_ - DownY);
            break;
        case 1:
            if (survey_.IsOn()) {
                if (ClickMapPoint(mx, my)) survey_.FixPoint(mx, my);
            } else if (frameCut_.IsOn()) {
                if (ClickMapPoint(mx, my)) frameCut_.Click(mx, my);
            } else if (PickupEi) {
                ClickCount = 2;
                tmrClick_Timer();
            } else {
                CentreOn();
            }
            break;
        case 2:
            if (frameCut_.IsOn()) frameCut_.mnuFrameCut_Click();
            DoubleClick();
            break;
        default: break;
        }
    } else if (ClickButton == RightButton) {
        if (survey_.IsOn()) {
            if (survey_.IsStarted()) {
                survey_.SurveyReport();
                mnuSurvey_Click();
                mnuSurvey_Click();
            } else {
                mnuSurvey_Click();
            }
        } else if (PickupEi) {
            mnuPickup_Click();
        } else if (frameCut_.IsOn()) {
            frameCut_.mnuFrameCut_Click();
        } else {
            int32_t vx = UpX, vy = UpY;
            if (gvCanvas) gvCanvas->PosCanvasToView(UpX, UpY, vx, vy);
            host_.ShowPopupMenu(vx, vy);
        }
    }
    ClickCount = 0;
}

void MapViewControl::CentreOn() {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot) return;
    int32_t ox = 0, oy = 0;
    ViewCentreOnCanvas(ox, oy);
    if (gvCanvas) {
        ox -= gvCanvas->CanvasWidth() / 2;
        oy -= gvCanvas->CanvasHeight() / 2;
    }
    int32_t mx = 0, my = 0;
    PosCanvasToMap(UpX - ox, UpY - oy, mx, my);
    if (plot->MapScale() > MapScaleMax / 500) {
        mx = CoarseToMap(MapToCoarse(mx));
        my = CoarseToMap(MapToCoarse(my));
    }
    plot->setCenterX(mx);
    plot->setCenterY(my);
    host_.SetViewControllByEngine();
    host_.PlotWindow();
}

void MapViewControl::RepaintFromCanvas() {
    overlay_.Clear();
    survey_.OverlayCleared();
    frameCut_.OverlayCleared();
    host_.PaintViewFromCanvas();
}

void MapViewControl::ViewRepainted() {
    overlay_.Clear();
    survey_.OverlayCleared();
    frameCut_.OverlayCleared();
    survey_.SurveyReplot();
}

void MapViewControl::DoubleClick() {
    const bool surveyPick = survey_.IsOn();
    int32_t mx = 0, my = 0;
    if (!host_.PickupList(UpX, UpY, surveyPick, mx, my)) {
        RepaintFromCanvas();
        survey_.SurveyReplot();
        return;
    }
    if (surveyPick) {
        survey_.FixPoint(mx, my);
        // The fixed legs are drawn again over the repainted view, then the
        // current band from the new point.
        RepaintFromCanvas();
        survey_.SurveyReplot();
        survey_.SurveyRubber.clear();
        survey_.SurveyPrint();
        return;
    }
    RepaintFromCanvas();
    int32_t vx = UpX, vy = UpY;
    if (gvCanvas) gvCanvas->PosCanvasToView(UpX, UpY, vx, vy);
    host_.PickMenu(vx, vy);
    RepaintFromCanvas();
}

// ---------------------------------------------------------------------------
// Scroll bars

double MapViewControl::ScrollFactor() { return CurrentMapMode() == 2 ? kScrollRangeXY / MaxXY : 1.0; }

int32_t MapViewControl::ScrollBound(bool vertical) {
    if (CurrentMapMode() == 2) return RoundHalfEven(MapToCoarse(MaxXY) * ScrollFactor());
    return vertical ? kLatMinutes : kLonMinutes;
}

MapViewControl::ScrollSteps MapViewControl::StepsOf(int64_t extentCoarse, int32_t bound) {
    const int64_t e = std::clamp<int64_t>(extentCoarse, 10, std::max(10, bound));
    ScrollSteps s;
    s.small = static_cast<int32_t>(std::max<int64_t>(1, e / 10));
    s.large = 8 * s.small;
    return s;
}

MapViewControl::ScrollSteps MapViewControl::ScrollStepsOf(bool vertical) {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot) return ScrollSteps{};
    const clsRect field = plot->Field();
    return StepsOf(MapToCoarse(vertical ? field.Height() : field.Width()), ScrollBound(vertical));
}

namespace {

// A scroll bar's value as the engine's centre on that axis, unless the
// value is the one the centre gives already (a release without a move).
void ScrollCentre(bool vertical, int32_t value) {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot) return;
    const double f = MapViewControl::ScrollFactor();
    const int32_t centre = vertical ? plot->CenterY() : plot->CenterX();
    if (value == RoundHalfEven(MapToCoarse(centre) * f)) return;
    const int32_t moved = CoarseToMap(RoundHalfEven(value / f));
    if (vertical) plot->setCenterY(moved);
    else plot->setCenterX(moved);
}

} // namespace

void MapViewControl::hsbView_Scroll(int32_t value) {
    ScrollCentre(false, value);
    host_.ShowCenter();
}

void MapViewControl::vsbView_Scroll(int32_t value) {
    ScrollCentre(true, value);
    host_.ShowCenter();
}

void MapViewControl::hsbView_Change(int32_t value) {
    hsbView_Scroll(value);
    host_.PlotWindow();
}

void MapViewControl::vsbView_Change(int32_t value) {
    vsbView_Scroll(value);
    host_.PlotWindow();
}

void MapViewControl::MouseWheel(int delta) {
    if (host_.Plotting()) return;
    const int32_t v = host_.ScrollValue(true), bound = ScrollBound(true);
    const int32_t step = ScrollStepsOf(true).small;
    const int32_t next = delta > 0 ? std::min(bound, v + step) : std::max(-bound, v - step);
    if (next != v) host_.SetScrollValue(true, next);
}

// ---------------------------------------------------------------------------
// Zoom

void MapViewControl::sliScale_Scroll(int16_t level) {
    if (clsMapPlot* plot = CurrentMapPlot())
        if (level != LevelOfScale(plot->MapScale())) plot->setMapScale(ScaleOfLevel(level));
    host_.ShowScale();
    host_.SetSliderTip(QStringLiteral("1/") + ScaleLevelText(level));
}

void MapViewControl::sliScale_Change(int16_t level) {
    sliScale_Scroll(level);
    host_.PlotWindow();
}

void MapViewControl::picScaleSmall_Click() {
    const int16_t v = host_.SliderValue();
    if (v > kLevelMin) host_.SetSliderValue(int16_t(v - 1));
}

void MapViewControl::picScaleLarge_Click() {
    const int16_t v = host_.SliderValue();
    if (v < kLevelMax) host_.SetSliderValue(int16_t(v + 1));
}

bool MapViewControl::KeyDown(int keyCode) {
    if (keyCode != kKeyPadPlus && keyCode != kKeyPadMinus) return false;
    if (host_.Plotting()) return true;
    if (keyCode == kKeyPadPlus) picScaleLarge_Click();
    else picScaleSmall_Click();
    return true;
}

void MapViewControl::picViewArea_MouseUp(double x, double y, double boxWidth, double boxHeight) {
    if (!gvCanvas) return;
    const int32_t cellW = std::max(1, RoundHalfEven(boxWidth + 15) / 3);
    const int32_t cellH = std::max(1, RoundHalfEven(boxHeight + 15) / 3);
    // A release dragged outside the box still picks a cell at its edge.
    const int32_t column = std::clamp(RoundHalfEven(x) / cellW, 0, 2);
    const int32_t row = std::clamp(RoundHalfEven(y) / cellH, 0, 2);
    gvCanvas->setViewArea(column + 3 * row + 1);
    host_.PlotWindow();
}

void MapViewControl::picView_OLEDragDrop(const QStringList& files) {
    for (const QString& f : files) host_.LoadFile(f);
}

// ---------------------------------------------------------------------------
// Modes

void MapViewControl::mnuSurvey_Click() {
    if (!survey_.IsOn() && frameCut_.IsOn()) frameCut_.mnuFrameCut_Click();
    survey_.mnuSurvey_Click();
}

void MapViewControl::mnuFrameCut_Click() {
    if (!frameCut_.IsOn() && survey_.IsOn()) survey_.mnuSurvey_Click();
    frameCut_.mnuFrameCut_Click();
}

void MapViewControl::mnuPickup_Click() {
    PickupEi = !PickupEi;
    host_.SetViewCursor(PickupEi ? 1105 : 1101);
    host_.SetStatusText(PickupEi ? QStringLiteral("ピックアップ：操作したい図形を選択") : QString());
}

void MapViewControl::LeaveModes() {
    if (survey_.IsOn()) survey_.mnuSurvey_Click();
    if (frameCut_.IsOn()) frameCut_.mnuFrameCut_Click();
}
