// Drawing on the map view outside its paint: rubber bands, handles and
// live marks over the last painted map, without replotting it.
//
// The overlay is a mask of the view's size, black (0) where nothing is
// drawn. Its device context draws into the mask with the mix mode selected,
// and Paint shows every view pixel XORed with its mask pixel. For the
// inverting mixes (R2_XORPEN, R2_NOT, R2_NOTXORPEN) that is exactly what the
// same drawing on the view itself would show, so drawing a shape a second
// time erases it; other mixes show their colour XORed with the map.
//
// Change tracking: every drawing call marks the device pixels it may touch
// (lines in chunks of at most kChunk pixels, widened by the pen), so a
// pointer move repaints the strips round the old and new band, not the
// whole view. TakeDirty hands the widget what to repaint.
#pragma once

#include <QImage>
#include <QRegion>

#include <memory>

#include "RasterDC.h"

class QPainter;

namespace plat {

class ViewOverlay {
public:
    // Longest stretch of a line marked as one rectangle, pixels.
    static constexpr int kChunk = 48;

    ViewOverlay(int width, int height);
    ~ViewOverlay();
    ViewOverlay(const ViewOverlay&) = delete;
    ViewOverlay& operator=(const ViewOverlay&) = delete;

    int width() const { return mask_->width(); }
    int height() const { return mask_->height(); }
    // A new size empties the overlay (the view was laid out anew); the
    // selected pen and mix survive. Sizes below 1 count as 1.
    void Resize(int width, int height);

    // The context the marks are drawn on, in view pixels.
    DeviceContext* dc();
    // Removes every mark (the view was painted anew from the canvas).
    void Clear();
    // Nothing drawn since the last Clear (marks drawn and erased again
    // still count as drawn).
    bool IsEmpty() const { return inked_.isEmpty(); }

    // The view pixels changed since the last call, for the widget's update.
    QRegion TakeDirty();
    // Where marks may be.
    const QRegion& Inked() const { return inked_; }

    // Paints the view picture with the marks over it, for the exposed part
    // of the widget; the picture's top-left pixel lands at origin.
    void Paint(QPainter& painter, const QImage& view, const QRegion& exposed, QPoint origin = {}) const;
    // The view picture with the marks over it, as one image (for pictures
    // of the view outside a widget).
    QImage Composed(const QImage& view) const;
    // The mask pixel (0x00RRGGBB, what is XORed onto the view).
    uint32_t MaskPixel(int x, int y) const;

private:
    class MarkingDC;
    void mark(const QRect& r);
    void composeRect(const QImage& view, const QRect& r, QImage& out, QPoint at) const;

    std::shared_ptr<Bitmap> mask_;
    std::unique_ptr<MarkingDC> dc_;
    QRegion inked_;
    QRegion dirty_;
    mutable QImage scratch_;
};

} // namespace plat
