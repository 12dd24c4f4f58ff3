// How the user works the map in the main window's view: presses, moves and
// releases become single clicks, double clicks and drags (the click timer
// tmrClick) and are dispatched by the current mode (none, survey, frame
// cut, pickup); the scroll bars, the scale slider with its buttons and the
// keypad +/-, the view-area picker, the wheel and dropped files move the
// view; the minute timer drives the save reminder.
//
// The window forwards its events and calls Poll when WakeAfter asks; time
// comes from the injectable clock, so tests run the timers by moving it.
//
// Click timer: a press starts it (unless it runs) with the double-click
// time; each release counts while it runs; in survey and frame-cut modes a
// release cuts the wait to 10 ms, so those modes see single clicks. When it
// fires: count 0 with the left button held starts a drag, 1 is a click, 2 a
// double click; the right button acts by mode. While a plot runs every
// click, drag and reminder is dropped.
//
// Drag: while the left button is held after the timer fired, the picture
// follows the pointer at once (ShowPanOffset; no mode on, since only there
// the drag pans). The release is a click at the point the drag brings to
// the view centre, which replots; the picture is back in place afterwards,
// also when the click was dropped because a plot ran.
//
// Modes: survey and frame cut exclude each other; leaving either removes
// its marks from the overlay.
#pragma once

#include <QStringList>

#include <cstdint>
#include <limits>

#include "SaveReminder.h"
#include "ViewFrameCut.h"
#include "ViewSurvey.h"

class MapViewHost;
namespace plat {
class Clock;
class ViewOverlay;
} // namespace plat

class MapViewControl {
public:
    // Mouse buttons as the window reports them.
    enum : int16_t { LeftButton = 1, RightButton = 2 };
    static constexpr int64_t kModeClickMs = 10;
    static constexpr int16_t kLevelMin = 1, kLevelMax = 53;
    static constexpr int kKeyPadPlus = 107, kKeyPadMinus = 109;

    // clock null: the program's clock. The save timer starts now.
    MapViewControl(MapViewHost& host, plat::ViewOverlay& overlay, plat::Clock* clock = nullptr);

    ViewSurvey& Survey() { return survey_; }
    ViewFrameCut& FrameCut() { return frameCut_; }
    SaveReminder& Reminder() { return reminder_; }

    // -- click dispatcher state
    int16_t ClickButton = 0;
    int16_t ClickCount = 0;
    int32_t DownX = 0, DownY = 0;   // canvas pixel of the last press
    int32_t UpX = 0, UpY = 0;       // canvas pixel of the last release (or of a drag's click)
    bool DragEi = false;
    int32_t MouseMapX = 0, MouseMapY = 0;
    bool MouseMapValid = false;
    bool PickupEi = false;
    // The wait for a second click (the system's double-click time).
    int64_t DoubleClickMs;

    // -- the view's mouse (view pixels)
    void picView_MouseDown(int16_t button, int32_t x, int32_t y);
    void picView_MouseMove(int16_t button, int32_t x, int32_t y);
    void picView_MouseUp(int16_t button, int32_t x, int32_t y);
    void tmrClick_Timer();
    bool ClickTimerRunning() const { return clickOn_; }
    // The picture's offset while a drag pans.
    int32_t PanX() const { return panX_; }
    int32_t PanY() const { return panY_; }

    // -- timers: runs what is due and asks the host for the next wake-up
    void Poll();

    // -- scroll bars: the centre in coarse units (whole minutes, or whole
    // kilometres) times ScrollFactor
    static double ScrollFactor();
    void hsbView_Scroll(int32_t value);
    void hsbView_Change(int32_t value);
    void vsbView_Scroll(int32_t value);
    void vsbView_Change(int32_t value);
    struct ScrollSteps {
        int32_t small = 1;
        int32_t large = 8;
    };
    // The extent of the view in coarse units clamped to 10..bound, a tenth
    // of it (at least 1) and eight times that.
    static ScrollSteps StepsOf(int64_t extentCoarse, int32_t bound);
    // The positive end of a scroll bar: 10800 / 5400 minutes, or the X/Y
    // range in scroll units.
    static int32_t ScrollBound(bool vertical);
    // The steps for the current engine's Field.
    static ScrollSteps ScrollStepsOf(bool vertical);
    // One notch of the wheel over the view: one small step of the vertical
    // scroll bar, up (north) for a positive delta, whatever its size.
    void MouseWheel(int delta);

    // -- zoom
    void sliScale_Scroll(int16_t level);
    void sliScale_Change(int16_t level);
    void picScaleSmall_Click();
    void picScaleLarge_Click();
    // Keypad + and - while no plot runs; true when the key was one of them.
    bool KeyDown(int keyCode);
    // The ninth of a larger canvas the view shows, from a release in the
    // picker box (x, y and the box's size in twips).
    void picViewArea_MouseUp(double x, double y, double boxWidth, double boxHeight);

    void picView_OLEDragDrop(const QStringList& files);

    // -- modes
    void mnuSurvey_Click();
    void mnuFrameCut_Click();
    void mnuPickup_Click();
    // Esc with no plot running: leaves survey and frame cut.
    void LeaveModes();
    // The window painted the view anew from the canvas (after a plot, or
    // an exposure it could not serve from its picture): the overlay is
    // emptied and the survey's fixed legs drawn again.
    void ViewRepainted();

private:
    void StartClickTimer(int64_t ms);
    void Wake();
    void SetPan(int32_t dx, int32_t dy);
    void CentreOn();
    void DoubleClick();
    bool ClickMapPoint(int32_t& mx, int32_t& my) const;
    void RepaintFromCanvas();

    MapViewHost& host_;
    plat::ViewOverlay& overlay_;
    plat::Clock& clock_;
    ViewSurvey survey_;
    ViewFrameCut frameCut_;
    SaveReminder reminder_;

    bool clickOn_ = false;
    int64_t clickDue_ = 0;
    int64_t saveDue_ = 0;
    int32_t panX_ = 0, panY_ = 0;
    int32_t moveX_ = 0, moveY_ = 0;   // canvas pixel of the last move
    bool moved_ = false;
};
