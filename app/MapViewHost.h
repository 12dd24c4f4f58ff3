// What the map view's mouse, scrolling, zoom, timers, survey and frame cut
// need of the main window. The window implements it; tests put a recording
// fake in its place. The plot engine itself is reached the way the rest of
// the program reaches it: CurrentMapPlot(), the canvas gvCanvas and the
// positions of basHMapView.h.
#pragma once

#include <QSize>
#include <QString>

#include <cstdint>

class MapViewHost {
public:
    virtual ~MapViewHost() = default;

    // -- the window's flags and redraw
    virtual bool Plotting() const = 0;                  // a plot runs (PlottingEi)
    virtual void setInitializing(bool on) = 0;          // InitializingEi
    virtual int16_t PlotWindow() = 0;
    virtual void SetViewControllByEngine() = 0;
    // The canvas copied into the view (clsCanvas::Paint) and shown; the
    // overlay's marks are the caller's.
    virtual void PaintViewFromCanvas() = 0;
    // The picture shown moved by (dx, dy) view pixels while a drag pans;
    // (0, 0) shows it in place again.
    virtual void ShowPanOffset(int32_t dx, int32_t dy) = 0;
    // Poll is due in ms milliseconds (a single-shot timer of the window).
    virtual void WakeAfter(int64_t ms) = 0;

    // -- status bar and pointer
    virtual void SetStatusText(const QString& text) = 0;
    virtual void ShowScale() = 0;
    virtual void ShowCenter() = 0;
    virtual void ShowCursorPos(int32_t mapX, int32_t mapY, bool valid) = 0;
    // Cursor resources 1101 normal, 1104 survey, 1105 pickup, 1106 frame cut.
    virtual void SetViewCursor(int resource) = 0;

    // -- controls; setting a value raises the control's Change, which the
    // window forwards (a value equal to the current one raises nothing)
    virtual int32_t ScrollValue(bool vertical) const = 0;
    virtual void SetScrollValue(bool vertical, int32_t value) = 0;
    virtual int16_t SliderValue() const = 0;
    virtual void SetSliderValue(int16_t level) = 0;
    virtual void SetSliderTip(const QString& text) = 0;

    // -- the window's layout, for the frame cut
    virtual QSize ScreenSizePixels() const = 0;
    virtual void ResizeFormByView() = 0;
    virtual void SetScrollRange() = 0;

    // -- the windows and menus of other parts
    virtual void LoadFile(const QString& path) = 0;
    // mnuPopup_Click and the popup menu at a view pixel.
    virtual void ShowPopupMenu(int32_t viewX, int32_t viewY) = 0;
    // The pickup list beside a canvas pixel, modal (the window raises
    // InitializingEi round it and keeps the pick as PickInfo). True with the
    // picked element's map point when the user chose one.
    virtual bool PickupList(int32_t canvasX, int32_t canvasY, bool includeAll, int32_t& mapX, int32_t& mapY) = 0;
    // The pick menu on PickInfo at a view pixel, and the map figure list
    // when one of its commands asks for it.
    virtual void PickMenu(int32_t viewX, int32_t viewY) = 0;

    // -- the save reminder
    // Form name of the application's active window; empty when none.
    virtual QString ActiveWindowName() const = 0;
    virtual bool MainMinimized() const = 0;
    // A map unit of either map mode is modified.
    virtual bool AnyMapModified() const = 0;
    // The File menu's overwrite command.
    virtual void Overwrite() = 0;
    virtual void RefreshMapListCaption() = 0;
};
