// A quick equirectangular picture of latitude/longitude maps as their files
// hold them, to look at before generated data is committed (the plot engine
// draws them properly).
#pragma once

#include <QColor>
#include <QImage>

#include <functional>
#include <vector>

class clsMap;
class clsMapFigure;

namespace worldsrc {

// The colour of a figure: fill of a polygon, line of a polyline, text and
// dot of a text; an invalid colour leaves the figure out.
using FigureColour = std::function<QColor(const clsMap& map, const clsMapFigure& figure)>;

// Draws the maps in order over the sea onto width x width/2 pixels, each map's polygons,
// then its polylines, then its texts (their European text, centred on a dot).
QImage DrawMapPreview(const std::vector<const clsMap*>& maps, const FigureColour& colour, const QColor& sea,
                      int width = 2048);

// The same for a window of arc-seconds (west, south, east, north) drawn as a
// plain longitude/latitude grid onto width x height pixels, with point
// symbols as dots and texts in the language (1 European, 2 Japanese) to the
// right of their point.
QImage DrawMapWindow(const std::vector<const clsMap*>& maps, const FigureColour& colour, const QColor& sea,
                     double west, double south, double east, double north, int width, int height, int language);

} // namespace worldsrc
