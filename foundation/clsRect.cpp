#include "clsRect.h"

#include "DeviceContext.h"
#include "RuntimeMath.h"

#include <algorithm>
#include <utility>

namespace {

// Sums of two 32-bit values are exact in a double; CLng raises overflow
// where 32-bit Long arithmetic would leave its range.
int32_t Long(int64_t v) { return plat::CLng(static_cast<double>(v)); }

} // namespace

int32_t clsRect::CenterX() const { return static_cast<int32_t>((int64_t{x1} + x2) / 2); }
int32_t clsRect::CenterY() const { return static_cast<int32_t>((int64_t{y1} + y2) / 2); }

int32_t clsRect::Width() const { return Long(int64_t{x2} - x1 + 1); }
void clsRect::setWidth(int32_t w) { x2 = Long(int64_t{x1} + w - 1); }
int32_t clsRect::Height() const { return Long(int64_t{y2} - y1 + 1); }
void clsRect::setHeight(int32_t h) { y2 = Long(int64_t{y1} + h - 1); }

void clsRect::SetAll(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2) {
    x1 = ax1;
    y1 = ay1;
    x2 = ax2;
    y2 = ay2;
    Formalize();
}

void clsRect::Formalize() {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
}

void clsRect::Move(int32_t dx, int32_t dy) {
    const int32_t nx1 = Long(int64_t{x1} + dx), nx2 = Long(int64_t{x2} + dx);
    const int32_t ny1 = Long(int64_t{y1} + dy), ny2 = Long(int64_t{y2} + dy);
    x1 = nx1; x2 = nx2; y1 = ny1; y2 = ny2;
}

void clsRect::Extention(int32_t d) {
    const int32_t nx1 = Long(int64_t{x1} - d), nx2 = Long(int64_t{x2} + d);
    const int32_t ny1 = Long(int64_t{y1} - d), ny2 = Long(int64_t{y2} + d);
    x1 = nx1; x2 = nx2; y1 = ny1; y2 = ny2;
}

void clsRect::OpeOr(const clsRect& rect) {
    if (IsEmpty() || rect.IsEmpty()) return;
    x1 = std::min(x1, rect.x1);
    y1 = std::min(y1, rect.y1);
    x2 = std::max(x2, rect.x2);
    y2 = std::max(y2, rect.y2);
}

void clsRect::OpeAnd(const clsRect& rect) {
    if (IsEmpty() || rect.IsEmpty()) return;
    x1 = std::max(x1, rect.x1);
    y1 = std::max(y1, rect.y1);
    x2 = std::min(x2, rect.x2);
    y2 = std::min(y2, rect.y2);
    if (IsEmpty()) Clear();
}

bool clsRect::Draw(plat::DeviceContext* hdc) const {
    if (IsEmpty() || !hdc) return false;
    return hdc->Rectangle(x1, y1, Long(int64_t{x2} + 2), Long(int64_t{y2} + 2));
}
