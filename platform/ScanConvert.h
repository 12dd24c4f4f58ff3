// Polygon scan conversion shared by fills and regions. A pixel (x, y) belongs
// to a polygon when the integer point (x, y) lies inside it by the fill
// mode; points on a left or top edge are inside, on a right or bottom edge
// outside, so a rectangle polygon (0,0)-(10,10) covers x and y 0..9.
#pragma once

#include <QPointF>
#include <QRect>
#include <QRegion>

#include <functional>
#include <vector>

#include "Gdi.h"

namespace plat {

using Ring = std::vector<QPointF>;
// span(y, x0, x1) for x0 <= x < x1, rows top to bottom, spans left to right,
// only inside bounds.
using SpanFn = std::function<void(int y, int x0, int x1)>;

void ScanRings(const std::vector<Ring>& rings, int fillMode, const QRect& bounds, const SpanFn& span);
std::vector<Ring> RingsOf(const POINT* pts, const int* counts, int polys);
// The pixels as a region, within bounds.
QRegion RegionOfRings(const std::vector<Ring>& rings, int fillMode, const QRect& bounds);
// Coordinates kept so far inside that no sum overflows.
constexpr int kCoordLimit = 1 << 27;

} // namespace plat
