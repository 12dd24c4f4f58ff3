// Frame-cut mode of the map view: two clicks give the corners of a map
// area; while the second corner follows the pointer the area's outline is
// drawn as it falls in the current projection (curved where the projection
// curves it); the second click resizes the view and the canvas to the
// area's shape and sets the scale so that its width fills the view less an
// 8-pixel margin.
//
// Longitudes of both corners are brought into the turn centred on the view
// (WrapLongitude), so an area may straddle the 180th meridian when the view
// does: corners at 175E and 175W under a view centred on 180 span 10
// degrees, not 350.
//
// Sizes: the view grows at most half-way towards three quarters of the
// screen in the area's dominant direction per cut, never shrinks in it, and
// keeps the area's aspect; a degenerate area counts as 24 x 24 pixels. The
// scale stays within MapScaleMin..MapScaleMax.
#pragma once

#include <cstdint>
#include <optional>

#include "clsPoly.h"

class MapViewHost;
namespace plat {
class ViewOverlay;
}

// A longitude brought into the turn centred on the view's centre longitude
// c (c - 648000 .. c + 647999) in latitude/longitude maps; unchanged in X/Y
// maps, 0 without a map mode.
int32_t WrapLongitude(int32_t x);

class ViewFrameCut {
public:
    // Values of FrameCutMode.
    enum : int16_t { Off = 0, On = 1, FirstSet = 3, Drawn = 4 };

    ViewFrameCut(MapViewHost& host, plat::ViewOverlay& overlay) : host_(host), overlay_(overlay) {}

    int16_t FrameCutMode = Off;
    int32_t FrameCutX1 = 0, FrameCutY1 = 0;
    int32_t FrameCutX2 = 0, FrameCutY2 = 0;
    std::optional<clsPoly> FrameCutRubber;   // the band as last drawn, view pixels

    bool IsOn() const { return FrameCutMode != Off; }
    bool HasFirstCorner() const { return (FrameCutMode & FirstSet) == FirstSet; }

    // On: pen, cursor, prompt. Off: band removed, view repainted, cursor,
    // status cleared.
    void mnuFrameCut_Click();
    // The area's outline in view pixels, no edge longer than a 24th of its
    // width in either axis.
    clsPoly FrameCutMakePoly() const;
    // Redraws the band for the current second corner (not while a plot runs).
    void FrameCutOn();
    // Erases the drawn band.
    void FrameCutDrawRubber();
    // Carries out the cut for the two corners.
    void FrameCutExe();

    // A click at a map point: the first corner, or the second and the cut.
    void Click(int32_t mapX, int32_t mapY);
    // The pointer at a map point while the first corner is set.
    void MoveTo(int32_t mapX, int32_t mapY);
    void OverlayCleared() { FrameCutMode &= ~Drawn; }

private:
    MapViewHost& host_;
    plat::ViewOverlay& overlay_;
};
