// Visible scale ranges that keep the names of a map legible. The plot draws
// every name whose point is in view, so the data decides which names show
// where: each name, in order of importance, starts at the smallest scale
// from which on, at every zoom level of the view, its box overlaps no box of
// a name before it that shows there. Boxes are measured in the program's
// default font on a 96 dpi view; distances on the ground in the plane of
// longitude times the cosine of the latitude, which no view projection
// shrinks by much near the names.
#pragma once

#include "RingGeometry.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace worldsrc {

// A name as the plot places it, in pixels of a 96 dpi view.
struct LabelSpot {
    SecPoint at;
    double width = 0;
    double height = 0;
    bool right = false;   // begins a gap to the right of its point; else centred on it
    int16_t from = 1;     // the smallest-scale zoom level (1..53) it may show from
};

// The box of a name drawn at `points` in the program's default font: the
// wider and the taller of its two languages.
LabelSpot NameBox(const QString& european, const QString& japanese, int points, bool right);

// The zoom level (1 the smallest scale, see ScaleOfLevel) from which each
// spot, taken in order of importance, shows: the smallest level at or after
// its `from` from which on, down to level `last`, it overlaps no earlier spot
// shown at that level; 0 when it would overlap even at `last`.
std::vector<int16_t> ClearLevels(const std::vector<LabelSpot>& spots, int16_t last);

// Whether the boxes of two spots overlap in a view at `scale`.
bool Overlaps(const LabelSpot& a, const LabelSpot& b, double scale);

// The smallest-scale zoom level whose denominator is at most `scale`; 53 for
// anything below the largest scale.
int16_t LevelFrom(double scale);

} // namespace worldsrc
