// The monitor picture of the run page: a bitmap of fixed size with a
// device context over it that the monitor plot engine draws on. The window
// shows the bitmap; Refresh tells it that the picture changed.
#pragma once

#include <QImage>
#include <QTimer>

#include <functional>
#include <memory>

#include "DeviceContext.h"
#include "Gdi.h"

class PrjMonitorPicture {
public:
    PrjMonitorPicture(int width, int height);
    ~PrjMonitorPicture();
    PrjMonitorPicture(const PrjMonitorPicture&) = delete;
    PrjMonitorPicture& operator=(const PrjMonitorPicture&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Pixels per inch of the screen the picture is shown on.
    int Dpi() const;
    plat::HDC hdc() const;
    const QImage& image() const;

    // Fills the picture white and shows it at once.
    void Clear();
    // The picture changed. A run changes it once per cell and lets the
    // window paint after each: telling the window every time would repaint
    // the page thousands of times a second, far more often than the eye
    // sees. So Changed is called at once, then at most once per
    // kRefreshMs, and always once after the last change.
    void Refresh();
    // Calls Changed now (the end of a run).
    void RefreshNow();
    std::function<void()> Changed;

    static constexpr int kRefreshMs = 40;

private:
    int width_, height_;
    QTimer throttle_;
    bool pending_ = false;
    plat::HBITMAP surface_;
    std::unique_ptr<plat::DeviceContext> dc_;
};
