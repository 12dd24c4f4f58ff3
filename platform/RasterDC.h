// The raster back end of the device context: draws pixel-exact into a
// bitmap (32-bit colour or monochrome), with every mix mode. The canvas and
// pictures draw through one over their bitmap; memory contexts (from
// CreateCompatibleDC) draw into whatever bitmap is selected into them.
#pragma once

#include "Bitmap.h"
#include "DeviceContext.h"

#include <memory>

namespace plat {

class RasterDC : public DeviceContext {
public:
    // dpi 0: the screen's logical resolution. A memory context accepts
    // SelectBitmap; a context over a fixed surface does not.
    explicit RasterDC(HBITMAP surface, int dpi = 0, bool memory = false);
    ~RasterDC() override;

    int GetDeviceCaps(int index) const override;
    HBITMAP SelectBitmap(const HBITMAP& bitmap) override;
    HBITMAP surfaceBitmap() const override { return surface_; }
    // The picture drawn on.
    const QImage& image() const;

    bool LineTo(int x, int y) override;
    bool Polyline(const POINT* pts, int n) override;
    bool Polygon(const POINT* pts, int n) override;
    bool PolyPolygon(const POINT* pts, const int* counts, int polys) override;
    bool Rectangle(int left, int top, int right, int bottom) override;
    bool Ellipse(int left, int top, int right, int bottom) override;
    bool MoveToEx(int x, int y, POINT* old = nullptr) override;

    COLORREF SetPixel(int x, int y, COLORREF c) override;
    bool SetPixelV(int x, int y, COLORREF c) override;
    COLORREF GetPixel(int x, int y) const override;
    bool PatternLine(int x1, int y1, int x2, int y2, const uint8_t* on, int n, int64_t& phase, COLORREF fore,
                     COLORREF back) override;

    bool FillRect(const RECT& r, const Brush& brush) override;
    bool PatBlt(int x, int y, int w, int h, uint32_t rop) override;
    bool TextOutHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                     const POINT* offsets, int n) override;

protected:
    bool blitBitmap(const Blit& b, const Bitmap& src) override;
    bool paintText(const std::function<void(QPainter&)>& draw) override;
    void clipChanged() override;
    QRect surfaceRect() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    HBITMAP surface_;
    int dpi_;
    bool memory_;
};

} // namespace plat
