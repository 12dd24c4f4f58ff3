// The two services of the projection engine that the plot engine and the
// base-map generators call: the catalogue index of a main projection by its
// name (the view's counterpart, DirectToMain) and the limit frames of a
// projection (BaseMapShadowFrame). The projection engine lies above the
// plot engine, so the application installs both at start-up
// (InstallPlotProjectionServices in projection/PlotProjectionGlue.h).
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "clsPoly.h"

using PrjIndexOfFn = std::function<int16_t(const QString& name)>;
// (index, centre latitude, cone, light, gores) as the main projection holds
// them; frames in latitude/longitude arc-seconds, in drawing order.
using PrjShadowPolysFn =
    std::function<PolyCollection(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division)>;

// Either may be empty, which uninstalls it.
void SetPrjServices(PrjIndexOfFn indexOf, PrjShadowPolysFn shadowPolys);

// -1 while nothing is installed.
int16_t PrjIndexOfName(const QString& name);
// No frames while nothing is installed.
PolyCollection PrjShadowPolysOf(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division);
