// What the map unit list dialog "地図ユニットリスト" holds and does without
// its widgets: a working list of records, one per unit of the set (record 1
// always the base unit), shown as grid rows of 11 columns; the display and
// search switches toggled by a click on columns 2 and 3; map files added
// (read only on OK), units removed, all but the base removed, records
// moved up and down behind the base; and on OK the set rebuilt in the order
// and with the switches shown. Cancel leaves the set as it was.
//
// The caller's protocol: set UnitSet, place the dialog, show it, set UnitSet
// to nothing; on DialogOK redraw (frmMapUnitList::openFromMain does all).
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "clsMapUnits.h"

namespace plat {
class FlexGridData;
} // namespace plat

class frmMapUnitListLogic {
public:
    static constexpr int32_t kCols = 11;
    enum State : int16_t { Kept = 0, Removed = 1, Added = 2 };

    struct UnitInfo {
        MapUnitPtr Unit;          // for an added file: a new unit, not loaded yet
        int16_t State = Kept;
        bool ShowEnable = true;
        bool SearchEnable = true;
        QString MapName;          // empty for an added file
        QString MapFile;
        bool MapModify = false;
        int32_t FigureCount = 0;
        QString ThingFile;
        bool ThingModify = false;
        QString AdminFile;
        bool AdminModify = false;
        bool NewFile = false;     // added in this opening (never loaded)
    };

    // -- hand-over with the caller
    clsMapUnits* UnitSet = nullptr;
    bool DialogOK = false;

    // Entries 1..n stand for units; entry 0 carries none.
    std::vector<UnitInfo> UnitInfos;
    // The file last chosen with "追加(&A)", kept for the program run.
    QString LastAddFile;

    static QString FormatString();
    // The columns' widths after the widening at load: what the grid's width
    // leaves beyond the design widths (and 255 twips for the scroll bar) is
    // shared in tenths: 7 to the map name, 1 to each file name; the last
    // column takes the grid's width.
    static std::array<int32_t, kCols> WidenedColumns(int32_t gridWidth, const std::array<int32_t, kCols>& design);

    void attach(plat::FlexGridData* grid) { grid_ = grid; }

    // False when there is no set: the dialog closes at once.
    bool Load();
    void Unload();
    QString Caption() const;

    void UnitsToInfos();
    void InfosToGrid();
    void SetActRow(int32_t row);
    // The record of the grid's current row (its column 0), 1 without a data row.
    int32_t CurrentRecord() const;

    // A click on the grid (its current cell): column 2 toggles the display
    // switch, column 3 the search switch; the move buttons follow the row.
    void GridClick();
    static QString ToolTipAt(int32_t col);

    void Add();
    void Remove();
    void Clear();
    void Up();
    void Down();
    // Rebuilds the set; DialogOK.
    void OK();

    // Enabled states of the buttons.
    bool RemoveEnabled = false, ClearEnabled = false, UpEnabled = false, DownEnabled = false;

private:
    int32_t dataRows() const;
    void swapWith(int32_t step);

    plat::FlexGridData* grid_ = nullptr;
};
