// The per-point line stepping of patterned lines: every pixel of the segment
// from (x1, y1) towards (x2, y2) in drawing order, the end point excluded, as
// the line drawing of the device layer sets them.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>

namespace plat {

// Integer stepping along the major axis; the minor axis moves when the error
// passes half a pixel (ties move it, so a line and its reverse differ only in
// the excluded end point). Returns the number of pixels.
template <class F>
int64_t LineDDAEach(int x1, int y1, int x2, int y2, F&& f) {
    const int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    int64_t x = x1, y = y1;
    if (adx >= ady) {
        int64_t err = 2 * ady - adx;
        for (int64_t i = 0; i < adx; ++i) {
            f(static_cast<int>(x), static_cast<int>(y));
            if (err >= 0) {
                y += sy;
                err -= 2 * adx;
            }
            err += 2 * ady;
            x += sx;
        }
        return adx;
    }
    int64_t err = 2 * adx - ady;
    for (int64_t i = 0; i < ady; ++i) {
        f(static_cast<int>(x), static_cast<int>(y));
        if (err >= 0) {
            x += sx;
            err -= 2 * ady;
        }
        err += 2 * adx;
        y += sy;
    }
    return ady;
}

// The callback form: proc(x, y) for each pixel. True, as GDI's LineDDA
// returns (a segment of length zero calls nothing and succeeds).
inline bool LineDDA(int x1, int y1, int x2, int y2, const std::function<void(int, int)>& proc) {
    if (!proc) return false;
    LineDDAEach(x1, y1, x2, y2, proc);
    return true;
}

} // namespace plat
