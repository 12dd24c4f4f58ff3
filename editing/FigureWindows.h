// The windows the figure dialogs open on the map and on a traced picture,
// built by later layers and installed at start-up. Each returns true when
// its window closed with OK. Until one is installed its button tells the
// user that the window is not built in.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "DialogBase.h"
#include "clsPoly.h"

// The drawing window on the map: point mode (a point to move to) or
// polyline mode (the nodes reshaped; ActIndex the node to start on and to
// come back current).
struct DrawWindowRequest {
    bool polyMode = false;
    QString Title;   // added to the caption when not empty
    int32_t PointX = 0, PointY = 0;
    clsPoly Poly;
    int32_t ActIndex = 0;
    bool CenterView = true;
    int16_t MapLevel = -1;
    plat::DialogPosition firstPosition;  // where it opens when never placed
};
// The tracing window (latitude/longitude maps): point mode (PointX the
// longitude, PointY the latitude) or polyline capture mode.
struct TraceWindowRequest {
    bool polyMode = false;
    int32_t PointX = 0, PointY = 0;
    clsPoly Poly;
    int32_t ActiveNode = 0;
    plat::DialogPosition firstPosition;
};
// The regular-polygon generator round a centre; Result on OK.
struct RegularPolygonRequest {
    int32_t MapMode = 1;
    int32_t CenterX = 0, CenterY = 0;
    plat::DialogPosition firstPosition;
    clsPoly Result;
};
struct FigPolyWindows {
    std::function<bool(DrawWindowRequest&)> draw;
    std::function<bool(TraceWindowRequest&)> trace;
    std::function<bool(RegularPolygonRequest&)> regularPolygon;
    // The view centre of the plot engine of a map mode.
    std::function<PolyPoint(int32_t mapMode)> viewCentre;
};
// Installs the windows; returns the previous set.
FigPolyWindows SetFigPolyWindows(FigPolyWindows windows);
const FigPolyWindows& InstalledFigPolyWindows();

// True when a window is installed; otherwise the user is told that
// `window` is not built in.
bool WindowBuilt(bool installed, const QString& window);
