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
//
// Where marks may be is kept per tile of kTile pixels, so that however long
// a band follows the pointer between repaints of the map, the marked region
// stays a few rectangles per tile row: tiles a mark touched are flagged, and
// flagged tiles whose mask went blank again (a band erased) are let go once
// their number has doubled.
#pragma once

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <vector>

#include "RasterDC.h"

class QPainter;

namespace plat {

class ViewOverlay {
public:
    // Longest stretch of a line marked as one rectangle, pixels.
    static constexpr int kChunk = 48;
    // Side of the tiles in which marks are kept, pixels.
    static constexpr int kTile = 32;

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
    // count as drawn until blank tiles are let go, in TakeDirty).
    bool IsEmpty() const { return flagged_ == 0; }

    // The view pixels changed since the last call, for the widget's update.
    QRegion TakeDirty();
    // Where marks may be: whole tiles, clipped to the view.
    const QRegion& Inked() const;

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
    void resetTiles();
    QRect tileRect(int col, int row) const;
    // Lets go of the flagged tiles whose mask is blank.
    void prune();
    void composeRect(const QImage& view, const QRect& r, QImage& out, QPoint at) const;

    std::shared_ptr<Bitmap> mask_;
    std::unique_ptr<MarkingDC> dc_;
    // Row by row, 1 where a mark may be.
    std::vector<uint8_t> tiles_;
    int tileCols_ = 0;
    int tileRows_ = 0;
    int flagged_ = 0;
    int flaggedAfterPrune_ = 0;
    // The region of the flagged tiles, built when asked for.
    mutable QRegion inked_;
    mutable bool inkedStale_ = false;
    QRegion dirty_;
    mutable QImage scratch_;
};

} // namespace plat
