// Generators of the layers no map file holds: the ocean, the graticule
// (meridians, parallels, equator, polar and tropical zone lines, or the
// vertical and horizontal lines of an X/Y grid), the graticule labels, the
// azimuth lines from the view centre, the frame of a field and the limit
// frame of a projection.
//
// Every generator answers ordinary map figures of district 0 styled by a
// thing that it finds by name in the catalogue of `unit`, so that they are
// drawn, shown and hidden exactly like the figures of a map file:
//
//   ocean "海洋"  meridians "経線"  parallels "緯線"  equator "赤道線" (else the
//   parallels' thing)  zone lines "帯域線"  X/Y lines "縦線", "横線"
//   labels "経度", "緯度"  azimuth lines "方位線"  frames "領域枠", "投影枠"
//
// A catalogue without the thing gives no such figures (a null unit stands
// for thing 0: the projector measures its plane that way). Coordinates are
// arc-seconds, or metres for an X/Y graticule (UnitMode 2). Generated
// latitudes stay within +-323970 and ocean longitudes within +-647995, so
// that no figure touches a pole or the 180-degree meridian exactly.
// Errors name "basBaseMap".
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "clsGrid.h"
#include "clsMapFigure.h"
#include "clsPoly.h"
#include "clsRect.h"

class clsMapPlot;
class clsMapUnit;

using MapFigures = std::vector<MapFigurePtr>;

// -323970..323970.
int32_t LimitLat(int32_t lat);
// The thing's number in the unit's catalogue, -1 when absent; 0 for no unit.
int16_t ThingCodeOf(const clsMapUnit* unit, const QString& name);
// A graticule label in the current angle unit, without sign: in degree
// units the degrees alone when whole, with minutes when whole minutes, the
// last mark cut off and at most two leading zeros dropped (135, 15°30,
// 0°45); seconds as a number in unit 3.
QString GridAngleText(int32_t sec);
// A text (both languages the same) and a two-point line, district 0.
MapFigurePtr CreateText(int16_t thing, int16_t fix, int32_t x, int32_t y, const QString& text);
MapFigurePtr CreateLine(int16_t thing, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// The great circle from (lon, lat) in azimuth az (clockwise from north),
// stopping endGap arc-seconds (held within 60..3600) short of the antipode,
// sampled every 648000 / endGap steps of the half circle (60..64800, the
// spacing doubling every 64 points once it is below half a degree), cut for
// drawing (GlobePolyRound about longitude 0, poles chopped, open). None
// when fewer than two points lie within +-323970.
PolyCollection AzimuthPoly(int32_t az, int32_t lon, int32_t lat, int32_t endGap);

// One ocean polygon about longitude 0, as wide as rect (at most +-647995)
// and spanning its latitudes; nullptr without the thing.
MapFigurePtr BaseMapOceanArea(const clsRect& rect, const clsMapUnit* unit);
// 32 tiles of 45 x 45 degrees overlapping by 1 degree, south row first.
MapFigures BaseMapOceanSplit(const clsMapUnit* unit);
// Meridians (vertical lines) at the grid's x positions, between its
// meridian limits.
MapFigures BaseMapGridV(const clsGrid& grid, const clsMapUnit* unit);
// Parallels (the one at 0 with the equator thing) and, latitude/longitude
// only, the lines at +-323970; then the zone lines. An area across the
// date line gets lines round the globe.
MapFigures BaseMapGridH(const clsGrid& grid, const clsMapUnit* unit);
// Labels of the meridians and parallels the view shows: along the left and
// bottom (top, south of the equator) edges, or about the pole when the
// pole is in view. Things of the base unit of plot.MapUnits.
MapFigures BaseMapGridTexts(clsMapPlot& plot);
// One polyline per piece of each angle of the list (blanks, commas or tabs
// between; a '"' reads as seconds), from the centre to 3 mm of the map
// short of the antipode. None from within 1 degree of a pole.
MapFigures BaseMapAzimuthLine(const QString& angles, int32_t lon, int32_t lat, double scale,
                              const clsMapUnit* unit);
// The field's outline 5" inside it: one ring, or two open pieces when it
// lies across the date line; none for the whole globe.
MapFigures BaseMapFieldFrame(const clsRect& rect, const clsMapUnit* unit);
// The limit frames of a projection (the projection engine's), as lines.
MapFigures BaseMapShadowFrame(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division,
                              const clsMapUnit* unit);
// Count 0 asks the user (the default as preset; "" on cancel); 1..72 gives
// count angles evenly spaced from 0 ("0,90,180,270" for 4); others "".
QString BaseMapAzimuthText(int16_t count, const QString& def);
