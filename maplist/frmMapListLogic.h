// What the figure list window holds and does without its widgets: the units
// it lists and the one it shows, the grid built from that unit's map (rows
// made on demand, frmMapListRows), the caption and the five status panels,
// selection and row jumps, the grid position kept per unit, the jump marks,
// the unit switch, the row operations against the map (frmMapListEdit), the
// Edit menu with its clipboard, trash and undo, the File menu's map-file
// commands (frmMapListFile), the keys, the window geometry kept for the
// program run, and the rules of long list operations. The widget
// (frmMapList) shows the state and passes the user's actions here; what it
// needs of the main window goes through MapListHost.
//
// The caller's protocol: set MapUnits (the current unit set), StartUnit
// and StartRow (0 and 0 from the menu, the picked unit and figure from a
// pick), show the window modally, set MapUnits to nothing again; when
// MoveView (and so the window's DialogOK) is true, centre the view on
// MoveX, MoveY; then redraw.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "DialogBase.h"
#include "basMouseWheel.h"
#include "clsMapUnits.h"
#include "MapSort.h"
#include "frmMapListRows.h"
#include "frmMapSearchLogic.h"

namespace plat {
class FlexGridData;
} // namespace plat

// What the list needs of its grid beyond the cells: scrolling and sizes of
// the view (twips). The window gives its FlexGrid; tests a fixed-size fake.
class MapListGrid {
public:
    virtual ~MapListGrid() = default;
    virtual plat::FlexGridData& cells() = 0;
    virtual void setFormatString(const QString& format) = 0;
    virtual int32_t TopRow() = 0;
    virtual void setTopRow(int32_t row) = 0;
    virtual int32_t HeightTwips() = 0;
    virtual int32_t RowHeight(int32_t row) = 0;
    virtual int32_t ColWidth(int32_t col) = 0;
    virtual void setColWidth(int32_t col, int32_t twips) = 0;
    // The width a cell needs to show the text whole.
    virtual int32_t TextWidth(const QString& text) = 0;
    virtual void setRedraw(bool on) = 0;
    virtual void Refresh() = 0;
};

// Thrown when the user answers Cancel in a file-error box during a list
// command: the command ends there, the window stays open, nothing more is
// shown.
class ListCommandCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// A file step of a list command under the file-error box: true when it
// succeeded (after any retries), false when the user chose to skip it;
// Cancel throws ListCommandCancelled. An error that is no file error is
// passed on.
bool ListFileStep(const QString& path, const std::function<void()>& op);

// The global current map mode belongs to the application shell, which
// installs its accessors at start-up; until then the list keeps a mode of
// its own (1).
void SetMapListModeHooks(std::function<int32_t()> get, std::function<void(int32_t)> set);
int32_t MapListMapMode();

class frmMapListLogic {
public:
    static constexpr int32_t kCols = frmMapListRows::kCols;
    // The window springs back to these when made smaller.
    static constexpr int32_t kMinWidth = 8000;
    static constexpr int32_t kMinHeight = 1800;
    static constexpr int32_t kYieldPeriod = 32;

    frmMapListLogic();
    ~frmMapListLogic();
    frmMapListLogic(const frmMapListLogic&) = delete;
    frmMapListLogic& operator=(const frmMapListLogic&) = delete;

    // -- hand-over with the caller
    clsMapUnits* MapUnits = nullptr;
    int16_t StartUnit = 0;    // 1-based; 0 or less: the set's active unit
    int32_t StartRow = 0;     // figure row selected at first; 0 or less: none
    bool MoveView = false;    // closed to move the view onto a figure with points
    int32_t MoveX = 0, MoveY = 0;

    // -- working state
    MapUnitPtr MapUnit;       // the unit shown
    int16_t UnitIndex = 0;    // its position in MapUnits; 0: none yet
    std::shared_ptr<clsMap> ClipMap;
    bool EscAbort = false;

    // -- kept for the program run (twips; ListWidth 0: nothing kept yet)
    int32_t ListWidth = 0, ListHeight = 0;
    plat::DialogPosition ListPosition;
    std::array<int32_t, kCols> ListColWidths{};

    // -- what the widget shows; the logic calls these as the state changes
    std::function<void(const QString&)> onCaption;
    std::function<void(int panel, const QString&)> onPanel;     // panels 1..5
    std::function<void(bool busy)> onBusy;                      // a long operation starts / ends
    // Width, height, left, top to restore (first activation, when kept).
    std::function<void(int32_t, int32_t, int32_t, int32_t)> onGeometry;

    void attach(MapListGrid* grid, WheelWindow wheelWindow = nullptr);
    frmMapListRows& rows() { return rows_; }

    // -- window events
    // False when there is nothing to list: the window closes at once.
    bool Load();
    // The first activation after Load fills the grid (unit menu, unit
    // switch, kept geometry, start row); later activations (after a
    // sub-dialog) change nothing. True when it ran.
    bool Activate();
    // The window's geometry (twips) as it closes.
    void Unload(int32_t width, int32_t height, int32_t left, int32_t top);
    // The grid's new width (twips): columns 0..4 keep their kept widths,
    // the rest share what is left: 5 and 6 an eighth each, 7 three eighths,
    // 8 the whole width (it scrolls).
    void GridResized(int32_t gridWidth);
    static std::array<int32_t, kCols> ColumnWidths(int32_t gridWidth, const std::array<int32_t, kCols>& kept);

    // -- the grid and its rows
    void MakeGrid();
    // The map's figures were added, removed or changed: the row count
    // follows and every row is made again.
    void RowsChanged();
    int32_t RowCount();
    bool IsValidRow(int32_t row) const;
    bool GetSelectRange(int32_t& first, int32_t& last);
    int32_t SelectTopRow();
    bool SetSelectRange(int32_t a, int32_t b);
    void JumpRow(int32_t row);
    void SaveGridInfo();
    void LoadGridInfo();

    // -- caption and status panels
    QString Caption() const;
    void PrintCaption();
    void SetStatusText(const QString& text);
    void PrintRowCount();
    void PrintSelect();
    void PrintClipCount();
    void PrintUnder();
    QString PanelText(int panel) const { return panel >= 1 && panel <= 5 ? panels_[panel - 1] : QString(); }

    // -- jump marks: the row holding each mark 1..9 (entry 0 unused), each
    // mark left with its last holder in map order
    std::array<int32_t, 10> MarkTable();
    void SetMark(int32_t row, int16_t mark);

    // -- long operations
    // While one exists: the hourglass shows, the widget lets only Esc
    // through and disables its menus, EscAbort starts false.
    class LongOperation {
    public:
        explicit LongOperation(frmMapListLogic& list);
        ~LongOperation();
        LongOperation(const LongOperation&) = delete;
        LongOperation& operator=(const LongOperation&) = delete;

    private:
        frmMapListLogic& list_;
    };
    bool Busy() const { return busy_ > 0; }
    // Once per figure of a long loop: events run on every 32nd call. False
    // once Esc asked to stop.
    bool YieldEvents();

    // -- unit switch menu "地図ユニット(&U)": items 1..UnitMenuCount
    struct UnitMenuItem {
        QString caption;
        bool checked = false;
        bool visible = true;
    };
    void RebuildUnitMenu();
    const std::vector<UnitMenuItem>& UnitMenu() const { return unitMenu_; }
    int32_t UnitMenuCount() const { return static_cast<int32_t>(unitMenu_.size()); }
    // Item n (0 "取り消し(&0)" and numbers beyond the set do nothing).
    void ChooseUnit(int32_t n);

    // -- File menu "ファイル(&F)"
    enum FileItem { mnuCreate, mnuOpen, mnuOverWrite, mnuNamedWrite, mnuMllRead, mnuTextRead, mnuMllWrite,
                    mnuTextWrite, mnuCloseMove, mnuClose, FileItemCount };
    static QString FileItemCaption(FileItem item);
    std::array<bool, FileItemCount> FileMenuEnabled();
    // "地図ビューを移動して閉じる(&M)": MoveView and the centre of the
    // selected figure when it has points; the window then closes.
    void CloseMove();

    // The File menu's commands. Each ends quietly when a dialog is
    // cancelled; a file that fails to load changes nothing.
    // "新規作成(&N)...": a new user unit saved under a name asked with a save
    // chooser (which asks before replacing a file); a name already loaded
    // is refused.
    void CreateUnit();
    // "開く(&O)...": loads a map file as a new unit and shows it.
    void OpenUnit();
    // "上書き保存(&S)..." / "名前を付けて保存(&A)...": the shown unit with a
    // settings snapshot; the save reminder starts again when nothing in the
    // set is left unsaved.
    void OverwriteUnit();
    void SaveUnitAs();
    // "選択行直前に地図ファイルを挿入(&R)...": the figures of a map file go in
    // before the current row, as a paste.
    void InsertMapFile();
    // "選択範囲を地図ファイルに保存(&W)...": copies of the selected rows behind
    // an empty remark, as a map of version 1.06 with copies of the unit's
    // catalogues, saved without a snapshot; the set does not change.
    void SaveSelectionAsMap();

    // -- row operations: every one leaves row i showing figure i of the map.
    // The map's own edits check validity and the lock (a refusal shows the
    // map's message and changes nothing); the caller resets undo. An
    // inserted figure with a jump mark takes it from every other figure.
    // InsLine(s) append when the row is not valid.
    bool InsLine(int32_t row, const MapFigurePtr& figure);
    // All or nothing, one insertion into the map; the row after the last
    // inserted becomes current.
    bool InsLines(int32_t row, const std::vector<MapFigurePtr>& figures);
    // A deleted figure's copy goes to the unit's trash, only when the map
    // let it go. A deletion of rows is all or nothing: Esc while the copies
    // are made deletes nothing.
    bool DelLine(int32_t row);
    bool DelLines(int32_t first, int32_t last);
    // Replaces the figure of a row (the old one's copy in the trash); an
    // invalid figure is refused before anything is deleted.
    bool RenewLine(int32_t row, const MapFigurePtr& figure);
    // The map-file filter of the set's map mode ("" for another mode).
    QString MapFileFilter() const;
    // An existing map file chosen by the user; "" when cancelled, or after
    // the message "<name>\r\nが存在しません." for a name that does not exist.
    QString AskMapFileToOpen();
    QString AskMapFileToSave(const QString& defaultName);

    // -- Edit menu "編集(&E)", in menu order. Items with sub-items carry their
    // captions in EditSubItemCaptions.
    enum EditItem { mnuUndo, mnuCut, mnuCopy, mnuPaste, mnuDelete, mnuAllSelect, mnuGarbageOne, mnuGarbageAll,
                    mnuInsert, mnuAdd, mnuTouch, mnuShow, mnuColor, mnuThing, mnuAdmin, mnuPolygon, mnuMove,
                    mnuPolylinePolygon, mnuCompress, mnuCurve, mnuPrevNext, mnuPosPrev, mnuPosNext, mnuPosAdd,
                    mnuJunction, mnuReverse, mnuSortUp, mnuSortDown, EditItemCount };
    static QString EditItemCaption(EditItem item);
    static QStringList EditSubItemCaptions(EditItem item);
    // Which items are enabled as the menu opens (mnuPolylinePolygon and
    // mnuPrevNext are never changed: true).
    std::array<bool, EditItemCount> EditMenuEnabled();
    // The caption of sort key 6 in the current map mode; "" leaves it.
    QString SortKey6Caption() const;

    // The Edit commands. Copy fills ClipMap with copies of the selected
    // rows (Esc keeps those made so far); Paste inserts fresh copies of
    // ClipMap before the current row, so every paste is new figures; the
    // restorations take figures back from the trash, and leave in the trash
    // what the map refused.
    void Undo();
    void Copy();
    void Paste();
    void Cut();
    void Delete();
    void SelectAll();
    void RestoreOne();
    void RestoreAll();

    // -- figure text exchange file (frmMapListText)
    static QString TextFileFilter();
    // The header and the selected rows; false without a selection, after
    // Esc (the previous file stays) or when the write was skipped.
    bool WriteTextFile(const QString& path);
    // The file's figures go in before the selected row (at the end without
    // one) as one insertion; false when the file could not be read or is
    // over 256 MiB.
    bool ReadTextFile(const QString& path);
    // "選択範囲をテキストファイルに保存(&E)..." / "選択行直前にテキストファイルを挿入(&I)..."
    void SaveSelectionAsText();
    void InsertTextFile();

    // -- sort of the selected rows (frmMapListSort): direction 1 ascending,
    // 2 descending; key 1 thing name, 2 thing number, 3 district name, 4
    // district number, 5 place name, 6 latitude (Y), 7 remark sections.
    // All or nothing: Esc before the rows are replaced changes nothing, and
    // one undo gives the old order back. False without a range of 2 rows.
    bool SortMap(int direction, int key);
    bool SortMapComment(int direction);

    // -- geometry commands (frmMapListGeometry). Each changes copies and
    // replaces the rows through RenewLine, resetting undo first, so that one
    // undo brings the old points back and a locked map is never changed.
    // The shift "座標移動(&M)..." asks for: arc-seconds in latitude/longitude
    // mode, whole metres in X/Y mode (a bare number is kilometres). False for
    // an empty or unreadable answer and for no shift at all.
    static bool ParseShift(int32_t mapMode, const QString& across, const QString& upDown, int32_t& dx, int32_t& dy);
    // Moves every selected figure. Longitudes wrap round; a latitude pushed
    // beyond a pole refuses the whole shift with a message.
    bool ShiftSelection(int32_t dx, int32_t dy);
    void MoveCoordinates();
    // Thins the selected polylines and polygons of 3 points or more.
    void CompressSelection();
    // The smoothing factor of an answer, 0 unless within 2..10.
    static int32_t ParseCurveFactor(const QString& answer);
    // Smoothing k (1 cubic spline, 2 cubic B-spline, 3 quadratic B-spline).
    bool CurveSelection(int k, int32_t factor);
    void CurveItem(int k);
    // -- Jump menu "ジャンプ(&J)", the popup's mark items and the reversal
    // (frmMapListJump). Index k of the arrays is mark k (0 unused).
    struct JumpMenu {
        bool top = false, bottom = false, line = false, record = false;
        bool clear = false, clearAll = false, jump = false;
        std::array<QString, 10> caption;    // "マーク &3  [000120]"
        std::array<bool, 10> jumpItem{};
    };
    // As the menu opens (a mark held twice stays with its last holder).
    JumpMenu JumpMenuState();
    void JumpToLine();
    void RecordMark(int k);
    void ClearMark();
    // Marks are no edit of the map: no undo record.
    void ClearAllMarks();
    void RecallMark(int k);
    // The first free mark for the current row; mark 1 when all are held.
    void AutoMark();
    // The nearest marked row above / below the current row.
    void PrevMark();
    void NextMark();
    struct PopupMenu {
        bool undo = false, cut = false, copy = false, paste = false, del = false, touch = false;
        bool markRegist = false, markClear = false, before = false, next = false;
    };
    PopupMenu PopupMenuState();
    // "逆順(&R)": swaps the selected rows pairwise from both ends.
    void Reverse();
    // "前後図形(&B)": the current row takes the points of the row above or
    // below, appends those of the row below, or is joined with it.
    // "多辺形生成(&G)...": every chain of touching polylines that closes
    // gets a polygon of the chosen thing inserted above its first piece.
    void MakePolygons();
    // "連続線・多辺形変換(&V)...": the rows of the first row's kind become
    // the other kind, with the chosen thing and the same points.
    void ConvertPolylinePolygon();
    // -- creation (frmMapListAttribute): the property dialog of a new figure
    // of kind k 1..5; its figures go in before the current row (row 1
    // without one) or after the last row. No undo reset: the insertion
    // joins the edit before it. Nothing on a base or standard map whose
    // owner declines adding figures.
    void InsertItem(int k);
    void AddItem(int k);
    // "図形プロパティ(&E)...": the current figure's dialog; its first figure
    // replaces the row, further ones (a split line) follow it. The window's
    // place (twips) positions a dialog not placed yet.
    void Touch();
    // A double click on grid row mouseRow: properties, on a figure row of a
    // map that may change.
    void DoubleClick(int32_t mouseRow);
    int32_t WindowLeft = 0, WindowTop = 0;
    // -- attribute commands (frmMapListAttribute): the rows sharing the
    // first row's kind (and thing or district) take the new value. The
    // figure keeps its identifier and nothing goes to the trash.
    // Item k 1..3: own show mode -1 (follows the thing), 0 hidden, 1 shown.
    void ShowItem(int k);
    void ChangeColor();
    void ChangeThing();
    void ChangeAdmin();
    void PosPrev();
    void PosNext();
    void PosAdd();
    void Junction();

    // -- search and replace (frmMapListSearch)
    struct SearchSettings {
        int32_t Mode = 0;        // 1 search, 2 replace with confirmation, 3 replace all
        int32_t Direction = 2;   // 1 upward, 2 downward
        int32_t Target = 2;      // 1 all information, 2 text, 3 coordinate, 4 own colour
        QString Keyword;
        QString ReplaceWord;
        int32_t PosX = 0, PosY = 0;
        int32_t Color = -1;      // -1: no own colour
    };
    SearchSettings SearchRecord;
    // The search dialog, kept for the program run (its histories and position).
    frmMapSearchLogic& SearchDialog() { return searchDialog_; }
    // Shows the search dialog modally; the window installs it, tests a fake.
    std::function<void(frmMapSearchLogic&)> onSearchDialog;
    void exeSearch();
    bool MatchRow(const clsMapFigure* figure) const;
    // Replaces on a copy of the row's figure (same identifier) and renews
    // the row with it, so a locked map keeps both.
    bool ReplaceInRow(int32_t row);
    // Search menu "検索(&S)"
    enum SearchItem { mnuSearchAll, mnuSearchText, mnuSearchPos, mnuSearchColor, mnuSearchBack, mnuSearchForward,
                      SearchItemCount };
    static QString SearchItemCaption(SearchItem item);
    std::array<bool, SearchItemCount> SearchMenuEnabled();
    // Items 1..4: the dialog on the current row with that target.
    void OpenSearch(int32_t target);
    void SearchBack();
    void SearchForward();

    // -- keys of the window, before the grid (Shift bit 1, Ctrl bit 2)
    enum class KeyAction { None, Copy, Paste, Delete, Cut, Properties, Abort };
    // Abort sets EscAbort; every action but None takes the key.
    KeyAction KeyDown(int keyCode, int shift);

    // -- event handlers: runs `handler`; a Cancel in a file-error box ends it
    // quietly (false); any other error is fatal (the "by StopError" stop,
    // the wheel hook released first).
    bool RunHandler(const char* name, const std::function<void()>& handler);

private:
    struct GridInfo {
        std::weak_ptr<clsMapUnit> unit;
        int32_t topRow = 0, row = 0, rowSel = 0;
    };
    GridInfo& gridInfoOf(const MapUnitPtr& unit);
    void setPanel(int panel, const QString& text);
    void scrollIntoView(int32_t target);
    void selectWholeRows(int32_t a, int32_t b);
    void fitRowNumbers();
    // Rows first..first+count-1 were inserted: for each jump mark they
    // carry, the last of them keeps it and every other figure loses it.
    void takeMarks(int32_t first, int32_t count);
    // Status panels 2, 5, 3 and the caption after a change of rows.
    void printAfterChange();
    // Runs a list command with `map` in place of ClipMap.
    void withClipMap(std::shared_ptr<clsMap> map, const std::function<void()>& command);
    int32_t figureCount() const { return MapUnit ? MapUnit->Map().Count() : 0; }

    // Rows first..last replaced by copies of their figures in the sorter's
    // order, all or nothing.
    // A copy to be changed that stands for the same figure (its identifier).
    static MapFigurePtr sameFigure(const clsMapFigure& f);
    // RenewLine without telling the panels.
    bool renewFigure(int32_t row, const MapFigurePtr& figure, bool toTrash = true);
    // The command frame of the bulk commands: change gives the new figure of
    // a selected row, or nothing to leave it. True when any row changed.
    bool eachSelected(const QString& prefix, const std::function<MapFigurePtr(const clsMapFigure&)>& change,
                      bool toTrash = true, bool stopOnRefusal = false);
    // Inside a LongOperation: events once, undo reset, grid drawing off.
    clsMap& startBulkEdit();
    // The pickers, with the grid's wheel hook off while they are open.
    int32_t pickThing(int32_t figCode, int32_t preset);
    int32_t pickAdmin(int32_t preset);
    bool takePoints(int32_t from, bool append);
    bool sortRange(int32_t first, int32_t last, const std::function<std::vector<int32_t>(const std::vector<SortEntry>&)>& sorter,
                   const std::function<SortEntry(const clsMapFigure&)>& entryOf);

    MapListGrid* grid_ = nullptr;
    frmMapSearchLogic searchDialog_;
    WheelWindow wheelWindow_ = nullptr;
    frmMapListRows rows_;
    std::array<QString, 5> panels_;
    std::vector<UnitMenuItem> unitMenu_;
    std::vector<GridInfo> gridInfo_;
    int32_t savedMapMode_ = 0;
    bool firstActivation_ = false;
    int yieldCount_ = 0;
    int busy_ = 0;
};
