// What the place-name jump dialog holds and does, without its widgets: the
// place list (in the list grid's cells), its source (the loaded map units or
// the gazetteer), the sort code, the keyword search and its history, the
// gazetteer build, and the place chosen with OK. The widget (frmJump05)
// shows the state and passes the user's actions here.
//
// The object lives for the run: the keyword history, the sort code and the
// source persist between openings; Load and Unload frame each opening.
//
// The caller's part (the main window's jump command): set TargetUnits to the
// current map units, show the dialog, set TargetUnits to nothing; on
// DialogOK switch the map mode to JumpMapMode when it differs, centre the
// plot engine on (JumpX, JumpY), give it the scale JumpScale(current scale,
// JumpScaleS, JumpScaleL), call EndAutoCruise and redraw.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

#include "basPlaceKey.h"

class clsMapUnit;
class clsMapUnits;

namespace plat {
class FlexGridData;
} // namespace plat

class frmJump05Logic {
public:
    static constexpr long kHelpContext = 250001;

    // The list lives in these cells (the widget's grid, or a grid of its own
    // in tests); they outlive the logic.
    explicit frmJump05Logic(plat::FlexGridData& cells);

    // -- public fields
    clsMapUnits* TargetUnits = nullptr;   // set by the caller; nothing after Unload
    int32_t JumpMapMode = 1;              // 1 for a map file "*.MLL" (any case), else 2
    int32_t JumpX = 0, JumpY = 0;
    double JumpScaleS = 0;                // smallest scale: the larger denominator
    double JumpScaleL = 0;
    bool DialogOK = false;

    // -- what the window installs
    std::function<void(bool on)> SetRedraw;        // the list's painting during bulk fills
    std::function<void(int32_t row)> SetTopRow;
    std::function<void()> Changed;                 // show the state now (long operations)

    struct State {
        int32_t language = 1;          // place names: 1 European, 2 Japanese
        QString gazetteerPath;
        int16_t source = 0;            // 0 loaded map units, 1 gazetteer
        int16_t sortCode = 0;          // 1..8 once loaded
        bool building = false;
        QStringList history;           // keywords, oldest first
        QString keyword;               // the keyword box
        QString message;               // the message line
        int32_t count = 0;             // places shown by the count label
        bool gazetteerEnabled = false; // the gazetteer option
        bool buildEnabled = false;     // the build button
    };
    const State& state() const { return s_; }
    plat::FlexGridData& cells() { return grid_; }

    // -- opening and closing
    // False when there are no target units (the dialog closes at once).
    bool Load();
    // The list of the current source when it is empty and no build runs.
    void Activate();
    // Keeps the keyword in the history, empties the list, lets the units go.
    void Unload();

    // -- the user's actions
    void setKeyword(const QString& text) { s_.keyword = text; }
    // Fills the list from the source; a gazetteer that yields no place
    // switches to the map units.
    void SelectSource(int16_t source);
    // Selects the row the keyword finds (basPlaceKey.h) and scrolls it to the top.
    void SearchKey();
    void SortGrid(int16_t code);
    // A click on the title of column 0..3: sorts ascending, a second click descending.
    void HeaderClick(int32_t column);
    // Takes the current row (DialogOK), or nothing when there is no place.
    // The map's file is looked for in the map folder, then by its name in
    // its subfolders. A loaded unit of that map (or, failing that, of a map
    // of that file name) is shown. A gazetteer place of a map not loaded
    // loads it, when it is of the units' map mode; a map of a scale level
    // 1..8 then hides the loaded maps of other levels (nothing is saved:
    // their edits stay in them).
    void Ok();
    // True when the dialog closes; during a build it only stops the build.
    bool Cancel();
    // Builds the gazetteer from every map file under the map folder after
    // asking; written only when no file was stopped and it holds places,
    // replacing the old file in one step.
    void BuildGazetteer();

    // -- the parts, open for tests
    void MakeGrid();
    void AddUnitPlace(const clsMapUnit* unit);
    // False for a missing file (no message), a file without the header or
    // one skipped after a file error. Lines that cannot be read are skipped
    // and reported once. Cancel in the file-error box (here or in the
    // writing) ends the user's command under way, nothing else; the old
    // gazetteer file stays.
    bool ReadGazetteer(const QString& path);
    bool WriteGazetteer(const QString& path);
    // The map file of a place's file name: in the map folder, or else the
    // first (by path) file of that name under it; the map folder's path when
    // neither exists.
    static QString FindMapFile(const QString& fileName);

    // -- for the caller
    // The current scale raised to the largest-scale end and then lowered to
    // the smallest-scale end: the view keeps its scale when the place allows it.
    static double JumpScale(double current, double scaleS, double scaleL);
    // Automatic cruise off, telling the user, when it is on.
    static void EndAutoCruise();

private:
    void changed();
    void setMessage(const QString& text);
    void redraw(bool on);
    void listChanged() { keysValid_ = false; }
    void clearList();

    plat::FlexGridData& grid_;
    State s_;
    // Built at the first search after the list changed.
    PlaceKeyIndex keys_;
    bool keysValid_ = false;
};
