#include "clsPoly.h"

#include "BinaryIO.h"
#include "DeviceContext.h"
#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "basNumberText.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

const QString kClass = QStringLiteral("clsPoly");

int32_t Long(int64_t v) { return plat::CLng(static_cast<double>(v)); }

} // namespace

PolyPoint& clsPoly::at(int32_t i) {
    if (i < 1 || i > Count()) plat::ThrowRuntimeError(plat::ErrSubscript);
    return pts_[static_cast<size_t>(i) - 1];
}

const PolyPoint& clsPoly::at(int32_t i) const {
    if (i < 1 || i > Count()) plat::ThrowRuntimeError(plat::ErrSubscript);
    return pts_[static_cast<size_t>(i) - 1];
}

void clsPoly::setCount(int32_t n) {
    pts_.resize(static_cast<size_t>(std::clamp(n, 0, MaxCount())));
    flags_ = FlagModified;
}

bool clsPoly::UpdateBound() const {
    if (pts_.empty()) return false;
    if (flags_ & FlagBound) return true;
    int32_t x0 = pts_[0].x, x1 = x0, y0 = pts_[0].y, y1 = y0;
    for (const PolyPoint& p : pts_) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    minX_ = x0;
    maxX_ = x1;
    minY_ = y0;
    maxY_ = y1;
    flags_ |= FlagBound;
    return true;
}

bool clsPoly::IsOverlapArea(const clsRect& rect) const {
    UpdateBound();
    return rect.x1 <= maxX_ && rect.x2 >= minX_ && rect.y1 <= maxY_ && rect.y2 >= minY_;
}

int32_t clsPoly::LineWidth(int32_t i) const { return Long(int64_t{at(i + 1).x} - at(i).x); }
int32_t clsPoly::LineHeight(int32_t i) const { return Long(int64_t{at(i + 1).y} - at(i).y); }

double clsPoly::TotalLength() const {
    double sum = 0;
    for (size_t i = 1; i < pts_.size(); ++i)
        sum += Hypot(double(pts_[i].x) - pts_[i - 1].x, double(pts_[i].y) - pts_[i - 1].y);
    return sum;
}

double clsPoly::Area() const {
    if (pts_.size() < 3) return 0;
    const double ox = pts_[0].x, oy = pts_[0].y;
    double sum = 0;
    for (size_t i = 2; i < pts_.size(); ++i) {
        const double ax = pts_[i - 1].x - ox, ay = pts_[i - 1].y - oy;
        const double bx = pts_[i].x - ox, by = pts_[i].y - oy;
        sum += ax * by - ay * bx;
    }
    return std::abs(sum) / 2;
}

clsRect clsPoly::RectBound() const {
    if (!UpdateBound()) return clsRect();
    return clsRect(minX_, minY_, maxX_, maxY_);
}

// Every point with the same coordinate c. A stale cache first tries the
// cheap test on the leading points, which settles most curved outlines.
bool clsPoly::IsFlat(int32_t PolyPoint::*c) const {
    if (pts_.size() < 2) return false;
    if (!(flags_ & FlagBound)) {
        const size_t n = std::min<size_t>(pts_.size(), 20);
        for (size_t i = 1; i < n; ++i)
            if (pts_[i].*c != pts_[0].*c) return false;
    }
    UpdateBound();
    return c == &PolyPoint::y ? minY_ == maxY_ : minX_ == maxX_;
}

bool clsPoly::IsHorizontal() const { return IsFlat(&PolyPoint::y); }
bool clsPoly::IsVertical() const { return IsFlat(&PolyPoint::x); }

void clsPoly::GetBound4(int32_t& minX, int32_t& minY, int32_t& maxX, int32_t& maxY) const {
    UpdateBound();
    minX = minX_;
    minY = minY_;
    maxX = maxX_;
    maxY = maxY_;
}

void clsPoly::SetBound(int32_t minX, int32_t minY, int32_t maxX, int32_t maxY) {
    minX_ = minX;
    minY_ = minY;
    maxX_ = maxX;
    maxY_ = maxY;
    flags_ |= FlagBound;
}

clsPoly clsPoly::Copy() const {
    try {
        clsPoly c;
        c.pts_ = pts_;
        c.flags_ = FlagModified;
        if (flags_ & FlagBound) c.SetBound(minX_, minY_, maxX_, maxY_);
        return c;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Copy"));
    }
}

bool clsPoly::Del(int32_t i) {
    try {
        if (!InBoundIndex(i)) return false;
        pts_.erase(pts_.begin() + (i - 1));
        flags_ = FlagModified;
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Del"));
    }
}

bool clsPoly::AddXandY(int32_t nx, int32_t ny) {
    if (Count() >= MaxCount()) return false;
    pts_.push_back(PolyPoint{nx, ny});
    flags_ = FlagModified;
    return true;
}

bool clsPoly::InsXandY(int32_t i, int32_t nx, int32_t ny) {
    if (!InBoundIndex(i) || Count() >= MaxCount()) return false;
    pts_.insert(pts_.begin() + (i - 1), PolyPoint{nx, ny});
    flags_ = FlagModified;
    return true;
}

void clsPoly::SetLine(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2) {
    pts_.assign({PolyPoint{ax1, ay1}, PolyPoint{ax2, ay2}});
    flags_ = FlagModified;
}

void clsPoly::SetRect(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2) {
    pts_.assign({PolyPoint{ax1, ay1}, PolyPoint{ax2, ay1}, PolyPoint{ax2, ay2}, PolyPoint{ax1, ay2},
                 PolyPoint{ax1, ay1}});
    flags_ = FlagModified;
}

void clsPoly::MakeLoop() {
    if (!IsLoop() && Count() >= 3) AddPoint(pts_.front());
}

void clsPoly::Move(int32_t dx, int32_t dy) {
    // Checked on the bounds first, so an overflow leaves every point as it was.
    if (UpdateBound()) {
        Long(int64_t{minX_} + dx);
        Long(int64_t{maxX_} + dx);
        Long(int64_t{minY_} + dy);
        Long(int64_t{maxY_} + dy);
    }
    for (PolyPoint& p : pts_) {
        p.x += dx;
        p.y += dy;
    }
    flags_ = FlagModified;
}

void clsPoly::Reverse() {
    std::reverse(pts_.begin(), pts_.end());
    flags_ = FlagModified;
}

bool clsPoly::FromArray(std::span<const PolyPoint> source, int32_t sourceStart, int32_t destStart, int32_t n) {
    try {
        if (sourceStart < 0 || destStart < 1) return false;
        const int64_t avail = static_cast<int64_t>(source.size()) - sourceStart;
        const int64_t m = std::min<int64_t>({int64_t{n}, avail, int64_t{MaxCount()} - destStart + 1});
        if (m <= 0) return false;
        const int64_t end = destStart + m - 1;
        if (end > Count()) pts_.resize(static_cast<size_t>(end));
        std::copy_n(source.begin() + sourceStart, m, pts_.begin() + (destStart - 1));
        flags_ = FlagModified;
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("FromArray"));
    }
}

bool clsPoly::ToArray(std::span<PolyPoint> dest, int32_t start, int32_t destStart, int32_t n) const {
    try {
        if (destStart < 0 || start < 1) return false;
        const int64_t m = std::min<int64_t>(
            {int64_t{n}, int64_t{Count()} - start + 1, static_cast<int64_t>(dest.size()) - destStart});
        if (m <= 0) return false;
        std::copy_n(pts_.begin() + (start - 1), m, dest.begin() + destStart);
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ToArray"));
    }
}

void clsPoly::Load(plat::BinaryReader& in, bool longCount) {
    try {
        int64_t n = longCount ? int64_t{in.i32()} : int64_t{in.u16()};
        if (n < 0) n = 0;
        const size_t bytes = static_cast<size_t>(n) * sizeof(PolyPoint);
        // A damaged count must not allocate more than the file can hold.
        if (n > MaxCount() || !in.has(bytes))
            plat::ThrowRuntimeError(plat::ErrInputPastEnd,
                                    QStringLiteral("点列の点数 %1 に対してデータが足りません (残り %2 バイト).")
                                        .arg(n)
                                        .arg(in.remaining()));
        std::vector<PolyPoint> pts(static_cast<size_t>(n));
        const char* src = in.current();
        if constexpr (std::endian::native == std::endian::little) {
            if (bytes) std::memcpy(pts.data(), src, bytes);
        } else {
            for (size_t i = 0; i < pts.size(); ++i) {
                plat::BinaryReader r(src + i * 8, 8);
                pts[i].x = r.i32();
                pts[i].y = r.i32();
            }
        }
        in.skip(bytes);
        pts_ = std::move(pts);
        flags_ = 0;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Load"));
    }
}

void clsPoly::Save(plat::BinaryWriter& out, bool longCount) {
    try {
        if (longCount) {
            out.i32(Count());
        } else {
            if (Count() > 65535) setCount(65535);
            out.u16(static_cast<uint16_t>(Count()));
        }
        if constexpr (std::endian::native == std::endian::little) {
            if (!pts_.empty()) out.bytes(reinterpret_cast<const char*>(pts_.data()), pts_.size() * sizeof(PolyPoint));
        } else {
            for (const PolyPoint& p : pts_) {
                out.i32(p.x);
                out.i32(p.y);
            }
        }
        flags_ &= ~FlagModified;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Save"));
    }
}

namespace {

std::vector<plat::POINT> ToPoints(std::span<const PolyPoint> pts) {
    std::vector<plat::POINT> v(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) v[i] = plat::POINT{pts[i].x, pts[i].y};
    return v;
}

} // namespace

bool clsPoly::DrawPolyline(plat::DeviceContext* hdc) const {
    if (!hdc) return false;
    const std::vector<plat::POINT> pts = ToPoints(pts_);
    return hdc->Polyline(pts.data(), Count());
}

bool clsPoly::DrawPolygon(plat::DeviceContext* hdc) const {
    if (!hdc) return false;
    const std::vector<plat::POINT> pts = ToPoints(pts_);
    return hdc->Polygon(pts.data(), Count());
}
