// What the figure list and the map unit list need of the main window. The
// main window installs its services at start-up (SetMapListHost); until
// then, and for any part left empty, the lists ask through the platform's
// file chooser, release units without a question and skip the rest. Tests
// install fakes.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "clsMapUnit.h"

struct MapListHost {
    // The main window's open and save choosers (title, filter, proposed
    // name); "" when cancelled. A save chooser asks before replacing a file.
    std::function<QString(const QString& title, const QString& filter, const QString& fileName)> InputLoadName;
    std::function<QString(const QString& title, const QString& filter, const QString& fileName)> InputSaveName;
    // Asks whether to save a modified unit, saves it on Yes and releases it.
    std::function<void(const MapUnitPtr& unit)> UnloadMapUnit;
    // Nothing is left unsaved: the save reminder starts counting again.
    std::function<void()> ResetSaveReminder;
    // The start map file (proposed by the unit list for the base unit).
    std::function<QString()> StartMapFile;
    // Full redraw of the main window.
    std::function<void()> PlotWindow;
    // The main window's palette chooser that also offers "no own colour":
    // a colour, -1 for none, or -2 when cancelled.
    std::function<int32_t(int32_t current)> InputNativeColor;
    // The figure editor's pickers, modal: a thing for figures of kind
    // figCode from the unit's catalogue, or a district, the preset shown
    // first (-1 none); -1 when cancelled.
    std::function<int32_t(const clsMapUnit& unit, int32_t figCode, int32_t preset)> PickThing;
    std::function<int32_t(const clsMapUnit& unit, int32_t preset)> PickAdmin;
    // The figure editor's property dialogs, modal, placed at (left, top)
    // twips when not placed yet: a new figure of kind 1..5, or the given
    // figure opened on node 1. The resulting figures; none when cancelled.
    std::function<std::optional<std::vector<MapFigurePtr>>(const MapUnitPtr& unit, int32_t kind)> CreateFigure;
    std::function<std::optional<std::vector<MapFigurePtr>>(const MapUnitPtr& unit, const MapFigurePtr& figure,
                                                           int32_t left, int32_t top)>
        EditFigure;
};

// Installs the host; returns the previous one.
MapListHost SetMapListHost(MapListHost host);

// The services, each falling back as described above.
namespace maplisthost {
QString InputLoadName(const QString& title, const QString& filter, const QString& fileName);
QString InputSaveName(const QString& title, const QString& filter, const QString& fileName);
void UnloadMapUnit(const MapUnitPtr& unit);
void ResetSaveReminder();
QString StartMapFile();
void PlotWindow();
// Without the main window's palette: the platform's colour chooser (which
// cannot give -1).
int32_t InputNativeColor(int32_t current);
// Cancelled (-1) while no picker is installed.
int32_t PickThing(const clsMapUnit& unit, int32_t figCode, int32_t preset);
int32_t PickAdmin(const clsMapUnit& unit, int32_t preset);
// None while no dialog is installed.
std::optional<std::vector<MapFigurePtr>> CreateFigure(const MapUnitPtr& unit, int32_t kind);
std::optional<std::vector<MapFigurePtr>> EditFigure(const MapUnitPtr& unit, const MapFigurePtr& figure, int32_t left,
                                                    int32_t top);
} // namespace maplisthost
