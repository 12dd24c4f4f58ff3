// The plot routines of the main window that live outside its widget: the
// plot of the current map onto any device (behind the redraw, the exports
// and printing), the scale bar of the status area, the metafile export and
// the map information command. The window wraps PlotMap with its own locks
// (a second plot while one runs, the controls it disables) and repaint.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "DeviceContext.h"
#include "StdFont.h"

class QWidget;

// Joins the map-view routines to the application state, once at start-up:
// the current map mode (gvMapMode) for the coordinate texts and the current
// plot engine, and the projection name a Comment accessory of "?" shows.
void InstallMapViewHooks();

// Results of PlotMap.
enum PlotMapResult : int16_t { PlotDone = 0, PlotCancelled = 1, PlotNoSurface = 2 };

// One plot of the current map units through the current plot engine onto
// hdc of width x height pixels at dpiX x dpiY. With the engine's accessory
// switch on, the accessories (gvAccessory) get the surface, the resolution
// dpiX, the engine's scale and the units; the map takes the surface less
// the accessories' band (below it for Position 0, above it otherwise) and
// the accessories are drawn over it afterwards. progress, when given,
// receives the engine's phases. PlotNoSurface without an engine for the
// map mode; otherwise the engine's Replot result.
int16_t PlotMap(plat::HDC hdc, int32_t dpiX, int32_t dpiY, int32_t width, int32_t height,
                const std::function<void(int16_t phase)>& progress = {});

// The scale bar of the status area on hdc (width x height pixels, cleared
// by the caller): a short-lived accessory set "MEASURE" with only the bar
// on, at 96 dpi and the current engine's ground scale (MapScale x 96 /
// dpix), in "MeasureColor" of Environment.txt (else defaultColor) and the
// given font, without a label.
void PlotMeasure(plat::HDC hdc, int32_t width, int32_t height, const plat::FontRef& font, int32_t defaultColor);
// The height PlotMeasure's bar and its line of numbers take in that font
// (0 before the drawing layer exists).
int32_t MeasureBarHeight(const plat::FontRef& font);

// The metafile export: a read-only file gives the library's message and
// false; otherwise the map is plotted (through plot, PlotMap when none is
// given) into a placeable metafile of the canvas's size and resolution,
// which is saved when the plot succeeded. status receives the status text.
// True when both the plot and the save succeeded.
using DevicePlot = std::function<int16_t(plat::HDC hdc, int32_t dpiX, int32_t dpiY, int32_t width, int32_t height)>;
bool SaveMetaFile(const QString& fileName, const DevicePlot& plot = {},
                  const std::function<void(const QString&)>& status = {});

// The EPS export: a read-only file gives the library's message and false;
// otherwise the drawing layer's PostScript mirror records one plot (through
// plot, PlotMap when none is given) onto a surface of the canvas's size and
// resolution, and the EPS file is written when the plot succeeded. status
// receives the status text. True when both the plot and the file succeeded.
bool SaveEpsFile(const QString& fileName, const DevicePlot& plot = {},
                 const std::function<void(const QString&)>& status = {});

// The map information dialog on the active map, modal; placed 600 twips
// right of and below the main window's corner the first time.
void mnuMapInfo(QWidget* mainWindow);
