// Cutting point sequences at a vertical line X = x or a horizontal line
// Y = y, so that no fragment crosses the line (the date line, the edges of an
// interrupted projection).
//
// Every fragment lies wholly on one side. A fragment that ends at a
// crossing stops 1 unit before the line, and the next fragment starts 1 unit
// beyond it at the same height, so a later step tells the sides apart by the
// coordinate alone. A vertex lying on the line is kept 1 unit beside it, on the side
// the walk came from; a first point on the line has no such side and stays.
//
// The polygon forms rejoin the fragments of each side into closed rings that
// run along the cut; with an odd number of crossings (an outline that is not
// closed) they return the open fragments instead. Rings of 3 points or fewer
// are dropped. A closed ring whose first vertex lies on the line is first
// restarted at its next vertex off the line (a first point has no side, so
// the crossing there would be missed; date-line rings often start at 180
// degrees); a ring lying wholly on the line comes back unchanged as the only
// fragment, and one that only touches the line stays one closed ring with
// the touching vertex 1 unit back on its side.
//
// A line outside the sequence's extent gives a copy of the sequence as the
// only fragment.
#pragma once

#include <cstdint>

#include "clsPoly.h"

// 1-based position of the first fragment whose first point (which 0) or last
// point (which 1) equals pt; 0 when none, or for another which.
int32_t SearchPoly(const PolyCollection& fragments, const PolyPoint& pt, int16_t which);

PolyCollection PolyLibCutX(const clsPoly& poly, int32_t x);
PolyCollection PolyLibCutY(const clsPoly& poly, int32_t y);
PolyCollection PolyLibCutPolygonX(const clsPoly& poly, int32_t x);
PolyCollection PolyLibCutPolygonY(const clsPoly& poly, int32_t y);
