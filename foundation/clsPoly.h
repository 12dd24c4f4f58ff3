// The point sequence: an ordered, 1-based sequence of integer points that
// holds every polyline and polygon outline, clipped or projected shape and
// generated layer. It keeps a cached bounding box and a modified flag.
//
// Rules every operation keeps:
// - At most MaxCount() points; growth beyond it is refused (setting Count
//   clamps, AddXandY, InsXandY and Connect return False, Chop stops).
// - Changing, adding, removing or reordering points marks the sequence
//   modified and the bounds stale; Chop keeps a valid bounds cache (its new
//   points lie on existing segments), Load clears both flags and Save clears
//   only the modified flag.
// - The bounds are recomputed lazily when something asks for them. For an
//   empty sequence the readers see whatever the cache last held; RectBound
//   alone answers the empty rectangle.
// - The plain accessors (x, y, GetXandY, SetXandY, LineWidth, LineHeight)
//   take 1..Count and raise the subscript error (9) outside it; requests
//   that take an index (Del, Divide, InsXandY, InBoundIndex) report failure.
//
// Clipping, simplification and densification keep the exact integer rules of
// the map data: crossings and inserted points are rounded half to even.
//
// A C++ copy (or move) of a clsPoly is the same sequence in every respect,
// flags and bounds cache included; Copy() is the copy marked modified.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "clsRect.h"

namespace plat {
class BinaryReader;
class BinaryWriter;
class DeviceContext;
} // namespace plat

// A point record: x then y, 8 bytes.
struct PolyPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PolyPoint&) const = default;
};

class clsPoly;
// An ordered collection of point sequences (fragments of a clip or a cut).
using PolyCollection = std::vector<clsPoly>;

class clsPoly {
public:
    static constexpr int32_t MaxCount() { return 268435455; }

    clsPoly() = default;

    // -- state
    bool Modify() const { return (flags_ & FlagModified) != 0; }
    // True or False, the bounds are stale afterwards.
    void setModify(bool on) { flags_ = on ? FlagModified : 0; }
    int32_t Count() const { return static_cast<int32_t>(pts_.size()); }
    // Keeps the leading points; new points are (0, 0); clamps to 0..MaxCount.
    void setCount(int32_t n);
    bool InBoundIndex(int32_t i) const { return i >= 1 && i <= Count(); }
    // A closed ring: more than 3 points and the first equals the last.
    bool IsLoop() const { return pts_.size() > 3 && pts_.front() == pts_.back(); }
    bool IsOverlapArea(const clsRect& rect) const;
    bool IsMatch(const clsPoly& poly) const { return pts_ == poly.pts_; }

    // -- points
    int32_t x(int32_t i) const { return at(i).x; }
    void setX(int32_t i, int32_t v) { at(i).x = v; flags_ = FlagModified; }
    int32_t y(int32_t i) const { return at(i).y; }
    void setY(int32_t i, int32_t v) { at(i).y = v; flags_ = FlagModified; }
    int32_t LastX() const { return at(Count()).x; }
    void setLastX(int32_t v) { at(Count()).x = v; flags_ = FlagModified; }
    int32_t LastY() const { return at(Count()).y; }
    void setLastY(int32_t v) { at(Count()).y = v; flags_ = FlagModified; }
    void GetXandY(int32_t i, int32_t& ox, int32_t& oy) const { const PolyPoint& p = at(i); ox = p.x; oy = p.y; }
    void SetXandY(int32_t i, int32_t nx, int32_t ny) { at(i) = PolyPoint{nx, ny}; flags_ = FlagModified; }
    void GetLastXandY(int32_t& ox, int32_t& oy) const { GetXandY(Count(), ox, oy); }
    void SetLastXandY(int32_t nx, int32_t ny) { SetXandY(Count(), nx, ny); }
    PolyPoint GetPoint(int32_t i) const { return at(i); }
    void SetPoint(int32_t i, const PolyPoint& p) { at(i) = p; flags_ = FlagModified; }
    // The points as one block (what a drawing call takes).
    std::span<const PolyPoint> Points() const { return pts_; }

    // -- measuring
    int32_t LineWidth(int32_t i) const;    // x(i+1) - x(i)
    int32_t LineHeight(int32_t i) const;   // y(i+1) - y(i)
    double TotalLength() const;
    // Planar area, always positive or 0 (either turning sense).
    double Area() const;
    clsRect RectBound() const;
    bool IsHorizontal() const;
    bool IsVertical() const;
    void GetBound4(int32_t& minX, int32_t& minY, int32_t& maxX, int32_t& maxY) const;
    void SetBound(int32_t minX, int32_t minY, int32_t maxX, int32_t maxY);

    // -- editing
    // The same points, marked modified; a valid bounds cache is handed on.
    clsPoly Copy() const;
    bool Del(int32_t i);
    bool AddXandY(int32_t nx, int32_t ny);
    bool AddPoint(const PolyPoint& p) { return AddXandY(p.x, p.y); }
    bool InsXandY(int32_t i, int32_t nx, int32_t ny);
    void SetLine(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2);
    void SetRect(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2);
    void MakeLoop();
    void Move(int32_t dx, int32_t dy);
    void Reverse();
    // Copies up to n records from source[sourceStart..] into points
    // destStart.. (1-based), growing Count when needed.
    bool FromArray(std::span<const PolyPoint> source, int32_t sourceStart, int32_t destStart, int32_t n);
    // Copies up to n points from point start (1-based) into dest[destStart..];
    // the destination is not grown.
    bool ToArray(std::span<PolyPoint> dest, int32_t start, int32_t destStart, int32_t n) const;

    // -- reshaping
    // Appends poly's points, keeping a shared point (this last = poly first) once.
    bool Connect(const clsPoly& poly);
    // Splits at point i: this keeps 1..i, the result gets i..Count.
    clsPoly Divide(int32_t i);
    // Inserts points so that no segment measures more than maxLen in |dx|
    // (mode 1), |dy| (mode 2) or the larger of both (mode 3).
    bool Chop(int32_t maxLen, int16_t mode);
    // Removes points equal to their successor; True when any was removed.
    bool DelOverlap();
    // Clips as a polygon (one pass per side). False, with no points left,
    // when nothing is inside. A sequence wholly inside costs nothing.
    bool Clip(const clsRect& rect);
    // The fragments of the sequence, taken as a polyline, inside the rectangle;
    // never a fragment of one point. This sequence is not changed.
    PolyCollection Clips(const clsRect& rect) const;
    // Drops middle points whose detour is below tol while the span stays
    // below maxSpan; a straight horizontal or vertical run becomes 2 points.
    void CompressB(double tol, double maxSpan);
    // CompressB at the tolerances tol, tol + step, tol + 2 step ... until at
    // most maxCount points are left: True then, with the points of the last
    // call. False, and the sequence unchanged, when no tolerance gets there
    // (no triple left whose span is below maxSpan). The same points as the
    // calls one by one, in O(n log n): a tolerance costs what it deletes.
    bool CompressBToCount(double tol, double step, double maxSpan, int32_t maxCount);
    // About half as many points: integer centroids of triples stepping by 2.
    void CompressHalf();
    // First index from start whose point equals pt; 0 when none.
    int32_t FindPoint(int32_t start, const PolyPoint& pt) const;
    // The nearest point within tol from start on (the last of equal rounded
    // distances); 0 when none.
    int32_t FindNearPoint(int32_t start, const PolyPoint& pt, int32_t tol) const;

    // -- binary point block: a count (4-byte signed, or 2-byte unsigned when
    // longCount is false) and then x, y as 32-bit little-endian values.
    // Load raises error 62 without changing anything when the count does not
    // fit the bytes left; it leaves the sequence unmodified, bounds stale.
    void Load(plat::BinaryReader& in, bool longCount);
    // With the 2-byte count, a sequence over 65535 points is first cut to
    // 65535. Clears the modified flag and keeps the bounds.
    void Save(plat::BinaryWriter& out, bool longCount);

    // -- drawing with the context's pen (and brush for the polygon), in its
    // logical coordinates. False for no context or what the context refuses
    // (fewer than 2 points).
    bool DrawPolyline(plat::DeviceContext* hdc) const;
    bool DrawPolygon(plat::DeviceContext* hdc) const;

private:
    enum : int16_t { FlagModified = 1, FlagBound = 2 };

    PolyPoint& at(int32_t i);
    const PolyPoint& at(int32_t i) const;
    bool UpdateBound() const;
    bool IsFlat(int32_t PolyPoint::*c) const;
    bool CanDropMiddle(const PolyPoint& p1, const PolyPoint& p2, const PolyPoint& p3, double tol,
                       double maxSpan) const;

    std::vector<PolyPoint> pts_;
    mutable int16_t flags_ = 0;
    mutable int32_t minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
};
