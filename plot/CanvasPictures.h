// The two pictures of the map window that the canvas works on: the
// off-screen canvas picture, which keeps the plotted map, and the visible
// view, into which the canvas copies the part the user sees. Sizes are in
// pixels. The main window provides both; the bitmap-backed ones here serve
// it as they are (the view's bitmap is the window's back buffer) and let
// the canvas run without any window.
#pragma once

#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>

#include "Gdi.h"

namespace plat {
class DeviceContext;
class RasterDC;
} // namespace plat

// The canvas picture.
class CanvasPicture {
public:
    virtual ~CanvasPicture() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // Empties the picture and takes the new size; the surface itself is
    // made by the next hDC().
    virtual void Resize(int32_t width, int32_t height) = 0;
    // Empties the picture (it keeps its size).
    virtual void Clear() = 0;
    // The device context over the picture, made at the current size when
    // missing (white). Throws when the surface cannot be made.
    virtual plat::DeviceContext* hDC() = 0;
    // The picture as a bitmap; null while it is empty.
    virtual plat::HBITMAP Image() const = 0;
};

// The view picture inside its container (the main window).
class ViewPicture {
public:
    virtual ~ViewPicture() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual void setWidth(int32_t width) = 0;
    virtual void setHeight(int32_t height) = 0;
    virtual plat::DeviceContext* hDC() = 0;
    // Called after something was drawn into hDC().
    virtual void Changed() {}
    // The container's outer size, view included.
    virtual int32_t ContainerWidth() const = 0;
    virtual int32_t ContainerHeight() const = 0;
    // The screen the container lives on.
    virtual QSize ScreenSize() const = 0;
};

// A canvas picture held in a 32-bit bitmap.
class BitmapCanvasPicture : public CanvasPicture {
public:
    // dpi 0: the screen's logical resolution for the context.
    explicit BitmapCanvasPicture(int32_t width = 32, int32_t height = 32, int dpi = 0);
    ~BitmapCanvasPicture() override;

    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void Resize(int32_t width, int32_t height) override;
    void Clear() override;
    plat::DeviceContext* hDC() override;
    plat::HBITMAP Image() const override { return bitmap_; }

private:
    int32_t width_;
    int32_t height_;
    int dpi_;
    plat::HBITMAP bitmap_;
    std::unique_ptr<plat::RasterDC> dc_;
};

// A view held in a 32-bit bitmap (the window's back buffer), with the
// frame the container adds around it and the screen size given.
class BitmapViewPicture : public ViewPicture {
public:
    BitmapViewPicture(int32_t width, int32_t height, QSize frame, QSize screen);
    ~BitmapViewPicture() override;

    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void setWidth(int32_t width) override;
    void setHeight(int32_t height) override;
    plat::DeviceContext* hDC() override;
    void Changed() override {
        if (OnChanged) OnChanged();
    }
    int32_t ContainerWidth() const override { return width_ + frame_.width(); }
    int32_t ContainerHeight() const override { return height_ + frame_.height(); }
    QSize ScreenSize() const override { return screen_; }

    void setFrame(QSize frame) { frame_ = frame; }
    void setScreenSize(QSize screen) { screen_ = screen; }
    // The view's picture; null until the first hDC().
    plat::HBITMAP Image() const { return bitmap_; }
    // Run after a drawing into the view and after a change of its size
    // (the window repaints or resizes itself).
    std::function<void()> OnChanged;
    std::function<void(int32_t width, int32_t height)> OnResized;

private:
    void resized();

    int32_t width_;
    int32_t height_;
    QSize frame_;
    QSize screen_;
    plat::HBITMAP bitmap_;
    std::unique_ptr<plat::RasterDC> dc_;
};
