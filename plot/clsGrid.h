// The settings of one graticule and the positions of its lines. A graticule
// works in one of two unit modes:
//   1  latitude/longitude in arc-seconds: meridians, parallels and, when
//      asked, the polar circles and tropics ("zone lines");
//   2  plane X/Y coordinates in metres: vertical and horizontal lines.
// Every value that comes in is limited, never refused:
//   interval (Width, Height)         mode 1: 60..324000
//                                    mode 2: MaxXY / 40000 .. MaxXY / 4
//   latitude-like (limits, S, N)     mode 1: -323970..323970
//                                    mode 2: -MaxXY..MaxXY
//   longitude-like (W, E, x lines)   mode 1: folded into -648000..648000 by
//                                    whole turns (NormalizeLon)
//                                    mode 2: -MaxXY..MaxXY
// The covered Area is not a setting: the plot engine sets West, East, South
// and North before each drawing. West may exceed East when the area wraps
// over the 180-degree meridian. Settings live in section "LLGRID" (mode 1),
// "XYGRID" (mode 2) or the explicit Name.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "clsRect.h"

class clsGrid {
public:
    bool Vertical = false;     // meridians / vertical lines
    bool Horizontal = false;   // parallels / horizontal lines
    bool Zone = false;         // polar circles and tropics (mode 1 only)

    // Mode 1 with its defaults; the axial tilt of the zone lines comes from
    // "AxialTilt" of the environment file (84360, within +-324000).
    clsGrid();

    QString RegistrySection() const;

    // 1 and 2 reset the intervals, limits and Area to the mode's defaults
    // (the three switches stay); any other value changes nothing.
    int32_t UnitMode() const { return unitMode_; }
    void setUnitMode(int32_t mode);

    // An explicit settings section; with one, ReadRegistry also reads the
    // unit mode.
    const QString& Name() const { return name_; }
    void setName(const QString& name) { name_ = name; }

    int32_t Width() const { return width_; }
    void setWidth(int32_t v) { width_ = limitInterval(v); }
    int32_t Height() const { return height_; }
    void setHeight(int32_t v) { height_ = limitInterval(v); }
    int32_t SouthLimit() const { return southLimit_; }
    void setSouthLimit(int32_t v) { southLimit_ = limitLat(v); }
    int32_t NorthLimit() const { return northLimit_; }
    void setNorthLimit(int32_t v) { northLimit_ = limitLat(v); }

    int32_t West() const { return area_.x1; }
    void setWest(int32_t v) { area_.x1 = limitLon(v); }
    int32_t East() const { return area_.x2; }
    void setEast(int32_t v) { area_.x2 = limitLon(v); }
    int32_t South() const { return area_.y1; }
    void setSouth(int32_t v) { area_.y1 = limitLat(v); }
    int32_t North() const { return area_.y2; }
    void setNorth(int32_t v) { area_.y2 = limitLat(v); }

    // A copy; set: x1, x2, y1, y2 through West, East, South, North.
    clsRect Area() const { return area_.Copy(); }
    void setArea(const clsRect& r);

    // A new graticule with this one's settings; it reads its own axial tilt.
    clsGrid Copy() const;

    // North and South clamped into SouthLimit..NorthLimit (the span of the
    // meridians), by the library's Clamp.
    int32_t VLineNorth() const;
    int32_t VLineSouth() const;

    // Positions of the lines; empty while the line kind is switched off.
    // x: multiples of Width from West to East (wrapping over the date line
    // in mode 1); y: multiples of Height from VLineSouth to VLineNorth;
    // zone: the polar circles and tropics that lie within VLineSouth..North.
    std::vector<int32_t> ColVlineX() const;
    std::vector<int32_t> ColHlineY() const;
    std::vector<int32_t> ColZoneLineY() const;

    void ReadRegistry();
    void WriteRegistry() const;

private:
    int32_t limitInterval(int32_t v) const;
    int32_t limitLat(int32_t v) const;
    int32_t limitLon(int32_t v) const;

    int32_t unitMode_ = 1;
    QString name_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t northLimit_ = 0;
    int32_t southLimit_ = 0;
    clsRect area_;
    int32_t axialTilt_ = 84360;
};
