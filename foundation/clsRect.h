// The integer rectangle: view areas, figure bounds, clipping windows and
// frames. Inclusive on all four sides; empty when x1 > x2 or y1 > y2.
//
// Out-codes name the sides a point lies beyond: 1 left (x < x1), 2 right
// (x > x2), 4 above (y < y1), 8 below (y > y2); 0 is inside. A point is never
// both left and right, nor both above and below.
//
// Arithmetic that would leave the 32-bit range (Width of a huge rectangle,
// Move or Extention past the limits) raises the overflow error instead of
// wrapping.
#pragma once

#include <cstdint>

namespace plat {
class DeviceContext;
} // namespace plat

class clsRect {
public:
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = -1;
    int32_t y2 = -1;

    clsRect() = default;
    // Through SetAll: the corners are put in order.
    clsRect(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2) { SetAll(ax1, ay1, ax2, ay2); }

    int32_t CenterX() const;
    int32_t CenterY() const;
    int32_t Width() const;
    void setWidth(int32_t w);
    int32_t Height() const;
    void setHeight(int32_t h);

    bool IsEmpty() const { return x1 > x2 || y1 > y2; }
    bool IsInner(int32_t x, int32_t y) const { return x1 <= x && x <= x2 && y1 <= y && y <= y2; }
    int16_t OutCode(int32_t x, int32_t y) const {
        int16_t c = 0;
        if (x < x1) c = 1;
        else if (x > x2) c = 2;
        if (y < y1) c |= 4;
        else if (y > y2) c |= 8;
        return c;
    }

    void Clear() { x1 = 0; y1 = 0; x2 = -1; y2 = -1; }
    void SetAll(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2);
    clsRect Copy() const { return clsRect(x1, y1, x2, y2); }
    void Formalize();
    void Move(int32_t dx, int32_t dy);
    // Grows by d on every side; a negative d shrinks.
    void Extention(int32_t d);
    // Bounding box of both; nothing changes when either is empty.
    void OpeOr(const clsRect& rect);
    // Intersection, cleared when it is empty; nothing changes when either is empty.
    void OpeAnd(const clsRect& rect);
    // Frames and fills it with the context's pen and brush as
    // Rectangle(x1, y1, x2 + 2, y2 + 2): one pixel beyond the right and
    // bottom edges, which callers' frames count on. False for an empty
    // rectangle or no context; error 6 when x2 + 2 or y2 + 2 leaves 32 bits.
    bool Draw(plat::DeviceContext* hdc) const;

    bool operator==(const clsRect&) const = default;
};
