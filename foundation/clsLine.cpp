#include "clsLine.h"

#include "DeviceContext.h"
#include "RuntimeMath.h"
#include "basAngle.h"
#include "basLibrary.h"

#include <cmath>
#include <cstdlib>

namespace {

int32_t Long(int64_t v) { return plat::CLng(static_cast<double>(v)); }

} // namespace

int32_t clsLine::DeltaX() const { return Long(int64_t{x2} - x1); }
int32_t clsLine::DeltaY() const { return Long(int64_t{y2} - y1); }
int32_t clsLine::Width() const { return Long(std::llabs(int64_t{x2} - x1) + 1); }
int32_t clsLine::Height() const { return Long(std::llabs(int64_t{y2} - y1) + 1); }

double clsLine::Length() const {
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    return std::sqrt(dx * dx + dy * dy);
}

double clsLine::Angle() const { return AnglePosToRadian(double(x2) - x1, double(y2) - y1); }

int32_t clsLine::CrossY(int32_t x) const {
    const double dx = double(x2) - x1;
    if (dx == 0) return NoCross;
    return SafeCLng(y1 + (double(y2) - y1) * (double(x) - x1) / dx);
}

int32_t clsLine::CrossX(int32_t y) const {
    const double dy = double(y2) - y1;
    if (dy == 0) return NoCross;
    return SafeCLng(x1 + (double(x2) - x1) * (double(y) - y1) / dy);
}

bool clsLine::Clip(const clsRect& rect) {
    // Every step puts one end on a side it lay beyond, and no crossing leaves
    // the segment, so each end moves at most twice; the bound is a guard.
    for (int pass = 0; pass < 8; ++pass) {
        const int16_t c1 = rect.OutCode(x1, y1);
        const int16_t c2 = rect.OutCode(x2, y2);
        if ((c1 | c2) == 0) return true;
        if ((c1 & c2) != 0) return false;
        const int16_t code = c1 != 0 ? c1 : c2;
        int32_t x, y;
        if (code & 3) {
            x = (code & 1) ? rect.x1 : rect.x2;
            y = CrossY(x);
        } else {
            y = (code & 4) ? rect.y1 : rect.y2;
            x = CrossX(y);
        }
        if (code == c1) {
            x1 = x;
            y1 = y;
        } else {
            x2 = x;
            y2 = y;
        }
    }
    return false;
}

bool clsLine::Draw(plat::DeviceContext* hdc) const {
    if (!hdc) return false;
    hdc->MoveToEx(x1, y1);
    return hdc->LineTo(x2, y2);
}
