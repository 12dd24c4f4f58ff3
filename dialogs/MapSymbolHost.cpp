#include "MapSymbolHost.h"

#include <utility>

namespace {

MapSymbolHost& host() {
    static MapSymbolHost h;
    return h;
}

} // namespace

MapSymbolHost SetMapSymbolHost(MapSymbolHost h) {
    std::swap(host(), h);
    return h;
}

namespace mapsymbolhost {

void PlotWindow() {
    if (host().PlotWindow) host().PlotWindow();
}

void PlotWindowWithoutCruise() {
    const MapSymbolHost& h = host();
    const bool wasAuto = h.CruiseAuto ? h.CruiseAuto() : false;
    struct Restore {
        const MapSymbolHost& h;
        bool on;
        ~Restore() {
            if (on && h.SetCruiseAuto) h.SetCruiseAuto(true);
        }
    } restore{h, wasAuto};
    if (wasAuto && h.SetCruiseAuto) h.SetCruiseAuto(false);
    PlotWindow();
}

} // namespace mapsymbolhost
