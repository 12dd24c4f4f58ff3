// What the map-symbol dialog needs of the main window: its full redraw and
// the automatic-cruise switch, which a preview turns off so that the redraw
// loads no maps. The main window installs these at start-up
// (SetMapSymbolHost); until then the redraw does nothing and cruise counts
// as off. Tests install fakes.
#pragma once

#include <functional>

struct MapSymbolHost {
    // Full redraw of the main window with the units' catalogues as they are.
    std::function<void()> PlotWindow;
    // The automatic-cruise switch of the program's cruise engine.
    std::function<bool()> CruiseAuto;
    std::function<void(bool)> SetCruiseAuto;
};

// Installs the host; returns the previous one.
MapSymbolHost SetMapSymbolHost(MapSymbolHost host);

namespace mapsymbolhost {
void PlotWindow();
// The redraw with automatic cruise off, the switch put back afterwards (also
// when the redraw fails).
void PlotWindowWithoutCruise();
} // namespace mapsymbolhost
