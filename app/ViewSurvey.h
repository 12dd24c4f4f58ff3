// Survey mode of the map view: the user clicks a route; each leg shows its
// length and azimuth in the status bar while the pointer moves and is drawn
// as a rubber band (along the great circle in latitude/longitude maps, a
// straight line in X/Y maps); a right click reports the node count, the
// total length and, from three nodes on, the area with the closing leg
// dotted until the report is closed.
//
// Bands are drawn with the view's XOR pen on the overlay, so drawing one
// again erases it. Bit 4 of SurveyMode says whether the current band is on
// the view; a repaint of the view wipes every band (OverlayCleared).
//
// Distances: great circles on the sphere of GlobeRadius (10,007.54 km from
// 0 to 90E on the equator with the default radius); X/Y maps measure on the
// plane and say so in the report.
#pragma once

#include <QString>

#include <cstdint>

#include "clsPoly.h"

class MapViewHost;
namespace plat {
class DeviceContext;
class ViewOverlay;
} // namespace plat

// Standard number text: thousands separators and two decimals, halves away
// from zero (12,345.68).
QString FormatStandard(double value);

// The rubber-band pen of survey and frame cut: XOR, solid, green, 2 wide.
void SetBandPen(plat::DeviceContext* dc);

class ViewSurvey {
public:
    // Values of SurveyMode.
    enum : int16_t { Off = 0, On = 1, Started = 3, Drawn = 4 };

    ViewSurvey(MapViewHost& host, plat::ViewOverlay& overlay) : host_(host), overlay_(overlay) {}

    int16_t SurveyMode = Off;
    clsPoly SurveyRoute;                 // fixed route points, map coordinates
    int32_t SurveyLastX = 0, SurveyLastY = 0;
    int32_t SurveyX = 0, SurveyY = 0;
    PolyCollection SurveyRubber;         // the current leg's band, view pixels
    double SurveyLength = 0;             // metres over the fixed legs

    bool IsOn() const { return SurveyMode != Off; }
    bool IsStarted() const { return (SurveyMode & Started) == Started; }

    // Switches the mode on (XOR pen, cursor, prompt, empty route) or off
    // (bands removed, view repainted, route dropped, cursor, status cleared).
    void mnuSurvey_Click();
    // The current leg as view-pixel pieces: only runs of visible points,
    // cut where the great circle crosses the meridian opposite the view's
    // centre.
    PolyCollection SurveyMakeRubber() const;
    // Draws (again: erases) SurveyRubber and toggles bit 4; nothing while a
    // plot runs.
    void SurveyDrawRubber();
    // Measures the current leg, shows the readout, redraws its band (not
    // while a plot runs); the leg's length in metres (0 when re-entered).
    double SurveyPrint();
    // Draws the fixed legs again after the view was repainted.
    void SurveyReplot();
    // The report box of a right click on a started route.
    void SurveyReport();

    // A route point from a click or the pickup list.
    void FixPoint(int32_t mapX, int32_t mapY);
    // The pointer at a map point: the current leg follows it.
    void MoveTo(int32_t mapX, int32_t mapY);
    // The view was painted anew: no band is on it any more.
    void OverlayCleared() { SurveyMode &= ~Drawn; }

private:
    MapViewHost& host_;
    plat::ViewOverlay& overlay_;
    bool printing_ = false;
};
