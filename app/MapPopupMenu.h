// The map view's right-click menu: what each item shows as the menu opens,
// and the items that act on the plot engine itself. The window builds the
// QMenu from MapPopupState and forwards the other items to its own menus.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "MainWindowLogic.h"

class clsMapPlot;

struct PopupItemState {
    QString Caption;
    bool Enabled = true;
    bool Checked = false;
    bool operator==(const PopupItemState&) const = default;
};

// What the menu is prepared from.
struct MapPopupInputs {
    int32_t MapMode = 1;     // 1 latitude/longitude, 2 X/Y
    int32_t Language = 1;    // 1 European, 2 Japanese
    int32_t Slider = 1, SliderMin = 1, SliderMax = 53;
    ScrollBarState Horizontal, Vertical;
    bool SurveyOn = false, PickupOn = false;
    clsMapPlot* Plot = nullptr;   // the current engine (reading its slot settles it)
};

struct MapPopupState {
    PopupItemState Home, CruiseExe, MapCopy, Survey, Pickup;
    std::array<PopupItemState, 5> Direct;   // 0 automatic choice, 1..4 the view projections
    PopupItemState Grid, Acs, Edge, TextSlant;
    std::array<PopupItemState, 2> Language; // European, Japanese
    std::array<PopupItemState, 2> Scale;    // larger, smaller
    std::array<PopupItemState, 4> Scroll;   // west/left, east/right, north/up, south/down
};

MapPopupState PrepareMapPopup(const MapPopupInputs& in);

// A projection item chosen: 0 turns the automatic choice over, 1..4 fix that
// view projection.
void PopupDirectItem(clsMapPlot& plot, int index);

enum class PopupSwitch { Grid, Acs, Edge, TextSlant };
void TogglePopupSwitch(clsMapPlot& plot, PopupSwitch which);
