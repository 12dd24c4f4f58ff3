// Positions between the map and the map view for the current map mode: the
// current plot engine's transforms (map <-> canvas pixels) joined to the
// canvas's view offset (canvas <-> view pixels). Every operation fails
// (false) without a plot engine or canvas for the mode.
#pragma once

#include <cstdint>

class clsMapPlot;

// The plot engine of the current map mode (gvMapPlotLL for mode 1,
// gvMapPlotXY for 2); none for another mode.
clsMapPlot* CurrentMapPlot();

// The map point of a canvas pixel (CanvasToMapBound: false outside the
// canvas or the map's range).
bool PosCanvasToMap(int32_t cx, int32_t cy, int32_t& mx, int32_t& my);
// The same from a view pixel.
bool PosViewToMap(int32_t vx, int32_t vy, int32_t& mx, int32_t& my);
// The view pixel of a map point that lies on the canvas; a point off the
// canvas is tried once more on the second copy of a view wrapped across the
// 180th meridian.
bool PosMapToView(int32_t mx, int32_t my, int32_t& vx, int32_t& vy);
// The view pixel of a map point in whichever copy of a wrapped view shows
// it nearer the canvas centre (by |dx| + |dy|; the plain copy on a tie, or
// when only it holds the point in its Field). The pixel is given even for a
// point in neither Field; the result says whether it was in one.
bool PosMapToViewNear(int32_t mx, int32_t my, int32_t& vx, int32_t& vy);
