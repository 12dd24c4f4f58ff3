// Polygon scan conversion shared by fills and regions. A pixel (x, y) belongs
// to a polygon when the integer point (x, y) lies inside it by the fill
// mode; points on a left or top edge are inside, on a right or bottom edge
// outside, so a rectangle polygon (0,0)-(10,10) covers x and y 0..9.
#pragma once

#include <QPointF>
#include <QRect>
#include <QRegion>

#include <vector>

#include "Gdi.h"

namespace plat {

using Ring = std::vector<QPointF>;

// The pixels row by row, rows top to bottom: row(y, xs, n) with the n / 2
// spans [xs[2i], xs[2i + 1]) of row y, left to right, apart and inside bounds.
class RowSink {
public:
    template <class F>
    RowSink(F& f)   // implicit; f must outlive the scan only
        : obj_(&f), call_([](void* o, int y, const int* xs, int n) { (*static_cast<F*>(o))(y, xs, n); }) {}
    void operator()(int y, const int* xs, int n) const { call_(obj_, y, xs, n); }

private:
    void* obj_;
    void (*call_)(void*, int, const int*, int);
};
void ScanRingRows(const std::vector<Ring>& rings, int fillMode, const QRect& bounds, RowSink row);
// Rings of integer points, counts[i] points each, without a copy.
void ScanPolygonRows(const POINT* pts, const int* counts, int polys, int fillMode, const QRect& bounds,
                     RowSink row);
std::vector<Ring> RingsOf(const POINT* pts, const int* counts, int polys);
// The pixels as a region, within bounds.
QRegion RegionOfRings(const std::vector<Ring>& rings, int fillMode, const QRect& bounds);
// Coordinates kept so far inside that no sum overflows.
constexpr int kCoordLimit = 1 << 27;

} // namespace plat
