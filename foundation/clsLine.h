// The integer segment: measuring, clipping to a rectangle and crossings
// with vertical and horizontal lines.
//
// Crossings are computed in doubles and brought back to 32 bits by SafeCLng:
// rounded half to even, saturating at +-2147483647; a segment parallel to the
// asked line gives 0x80000000. Clip is Cohen-Sutherland on the inclusive
// rectangle, the left and right sides handled before the top and bottom.
#pragma once

#include <cstdint>

#include "clsRect.h"

class clsLine {
public:
    static constexpr int32_t NoCross = INT32_MIN;   // 0x80000000

    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;

    clsLine() = default;
    clsLine(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2) : x1(ax1), y1(ay1), x2(ax2), y2(ay2) {}

    int32_t Width() const;    // |DeltaX| + 1
    int32_t Height() const;   // |DeltaY| + 1
    int32_t DeltaX() const;
    int32_t DeltaY() const;
    double Length() const;
    // Direction of the segment in radians; 0 for a zero-length segment.
    double Angle() const;
    // y of the segment's line at x; NoCross for a vertical segment.
    int32_t CrossY(int32_t x) const;
    // x of the segment's line at y; NoCross for a horizontal segment.
    int32_t CrossX(int32_t y) const;
    bool IsSlant() const { return Width() >= Height(); }

    void SetAll(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2) { x1 = ax1; y1 = ay1; x2 = ax2; y2 = ay2; }
    void GetAll(int32_t& ax1, int32_t& ay1, int32_t& ax2, int32_t& ay2) const { ax1 = x1; ay1 = y1; ax2 = x2; ay2 = y2; }
    // Clips in place. False when nothing is inside; the ends may then already
    // have been moved towards the rectangle.
    bool Clip(const clsRect& rect);
    // MoveToEx to the first end, then LineTo the second with the context's
    // pen (the last pixel is not set); False when LineTo fails or no context.
    bool Draw(plat::DeviceContext* hdc) const;

    bool operator==(const clsLine&) const = default;
};
