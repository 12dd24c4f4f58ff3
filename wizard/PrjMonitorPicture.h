// The monitor picture of the run page: a bitmap of fixed size with a
// device context over it that the monitor plot engine draws on. The window
// shows the bitmap; Refresh tells it that the picture changed.
#pragma once

#include <QImage>

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

    // Fills the picture white.
    void Clear();
    // The picture changed: the window repaints it when it next can.
    void Refresh();
    std::function<void()> Changed;

private:
    int width_, height_;
    plat::HBITMAP surface_;
    std::unique_ptr<plat::DeviceContext> dc_;
};
