// Opening and saving files by their extension, and the common dialogs the
// whole program asks through the main window.
//
// LoadFile: ".MLL" / ".MXY" add a map unit to the set of that map mode (the
// map mode switches even when the load fails); ".THG" / ".ADM" replace the
// active unit's thing / district catalogue; ".PLG" restores a settings
// snapshot. SaveFile: the same kinds, and the images ".BMP", ".PNG",
// ".WMF", ".EPS"; a ".PLG" or a successful image also saves the project:
// the units of the current map mode and a snapshot in a folder named after
// the file. The extension is the last four characters of the name, case
// ignored.
//
// Nothing loaded is lost by a failure: a catalogue is read into a new one
// that takes the old one's place only when it loaded; a failed save or
// project save puts the units' file names, locks and modified flags back
// as they were. Every failure has shown its message when false comes back.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "MainPlotRoutines.h"
#include "StdFont.h"

namespace mainform {

// What the file dispatch needs of the main window; the window installs it
// at start-up. Any part left empty is skipped.
struct FileHost {
    // After every open of a handled kind, failed or not, before the redraw:
    // the first layout while initialising (the view sized to the canvas, the
    // scroll ranges), the end of initialising, the view controls set from
    // the plot engine.
    std::function<void()> AfterLoad;
    // The redraw of the map with its caption, scale bar and status texts.
    std::function<void()> PlotWindow;
    // The map mode (gvMapMode) changed to 1 or 2 by opening a map.
    std::function<void(int32_t mode)> MapModeChanged;
    // The text of the status bar's message panel.
    std::function<void(const QString&)> StatusText;
    // The plot of the map onto an export surface (PlotMap with the window's
    // locks); PlotMap itself when empty.
    DevicePlot Plot;
    // The EPS export; true when the file was written.
    std::function<bool(const QString& fileName)> SaveEps;
    // Repaints the window after a common dialog closed.
    std::function<void()> Repaint;
};
// Installs the host; returns the previous one.
FileHost SetFileHost(FileHost host);

bool LoadFile(const QString& fileName);
bool SaveFile(const QString& fileName);

// The colour chooser; -1 when cancelled.
int32_t InputColor(int32_t colour);
// The font chooser on name, size, bold and italic; false when cancelled
// (the font stays as it was).
bool InputFont(plat::StdFont& font);
// The open and save choosers; "" when cancelled. filter: pairs of a
// description and a pattern, every part ended by "|". The entry shown
// first is the one holding the extension of the proposed name's file-name
// part. A save chooser puts the chosen entry's extension on the answer
// unless that entry takes every file ("*.*").
QString InputLoadName(const QString& title, const QString& filter, const QString& fileName);
QString InputSaveName(const QString& title, const QString& filter, const QString& fileName);
// The palette popup at the mouse, over the program's palette; -2 when
// cancelled. InputNativeColor also offers -1, the thing's own colour.
int32_t InputRealColor(int32_t colour);
int32_t InputNativeColor(int32_t colour);
// Makes the style and figure dialogs ask for colours through the palette
// popup.
void InstallColorInputs();

// -- helpers of the above, for tests
// The last four characters, upper-cased.
QString DispatchExtension(const QString& fileName);
// The 1-based entry of the filter whose text holds the extension (from the
// last "." of the file-name part), case ignored; 1 when none does.
int FilterIndexOf(const QString& filter, const QString& fileName);
// The extension the pattern of entry `index` gives (".MLL" of "*.MLL"), or
// "" when the entry takes every file or names no single extension.
QString FilterExtension(const QString& filter, int index);
// The name a save writes for a typed path and entry `index`: the entry's
// extension replaces the path's, or is added when it has none.
QString SavedName(const QString& filter, const QString& path, int index);

} // namespace mainform
