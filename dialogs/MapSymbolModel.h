// The map-symbol dialog "地図記号" without its widgets. At opening it takes
// a deep copy of every unit's thing and district catalogue; every edit lands
// in those working copies, a preview draws the main map with them, and only
// OK hands them to the units.
//
// Thing grid (8 columns; row 0 the header): a category row per named
// category that lists a thing ("+" closed, "-" open; column 6 the category
// number, column 7 "category"), under it a row per listed thing: name, kind,
// show mode, visible range, the drawn sample as cell picture of column 5,
// the thing's number in column 6 and in column 7 "on" / "off" for a sample
// drawn on the selection colour or the list colour. Thing rows of a closed
// category are 0 high.
//
// District grid (3 columns): the districts of the chosen area group, name,
// page and "表示" / "隠蔽", sorted by name.
//
// Protocol of a caller: set TargetUnits, preset Position on the first
// opening (its own corner + 1500, 600 twips), show the window modally, clear
// TargetUnits and redraw on DialogOK (ShowMapSymbolDialog in frmMapSymbol.h
// does all). The dialog object lives for the whole run (MapSymbol()), so its
// switches, tab, area group and page persist between openings.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "DialogBase.h"
#include "clsAdmins.h"
#include "clsThings.h"

class clsMapUnits;
class ExpStyleModel;
class RangeModel;

namespace plat {
class FlexGridData;
} // namespace plat

// What a text style editor edits of a text thing's page.
struct TextStyleFields {
    QString Title;
    int32_t Fore = 0;
    int32_t Back = -1;
    int16_t Style = 0;
    int16_t Size = 0;
    QString EuropianFont;
    QString JapaneseFont;
};

class MapSymbolModel {
public:
    enum ThingCol : int32_t { colTree = 0, colName, colKind, colShow, colRange, colSample, colNo, colSelect, kThingCols };
    static constexpr int32_t kAdminCols = 3;
    static constexpr int32_t kHeaderHeight = 240;      // twips
    static constexpr int32_t kCategoryHeight = 240;
    static constexpr int32_t kThingHeight = 400;
    static constexpr uint32_t kCategoryBack = 0x80000003;   // inactive title bar
    static constexpr uint32_t kCategoryFore = 0x80000013;   // inactive caption text
    static constexpr int32_t kSampleGrey = 0xA0A0A0;
    static constexpr long kHelpContext = 252000;

    static QString ThingFormat();
    static QString AdminFormat();

    // -- hand-over with the caller
    clsMapUnits* TargetUnits = nullptr;
    bool DialogOK = false;
    plat::DialogPosition Position;

    // -- kept between openings
    int16_t CurTab = 1;          // 0 districts, 1 things
    int32_t CurArea = 0;         // position in the area list
    int16_t CurPage = 1;         // 1..8
    bool EiUnitSync = true;
    bool EiPreview = true;
    bool EiAreaSync = false;
    bool EiPageSync = true;
    bool EiDispAll = false;
    bool EiLibShow = true;
    // The colour clipboard of the thing popup; -2 nothing copied, -1 none.
    int32_t CopiedFore = -2;
    int32_t CopiedBack = -2;
    QString SampleTextE, SampleTextJ;

    // -- the working state of one opening
    std::vector<std::shared_ptr<clsThings>> WorkThings;   // unit i at i - 1
    std::vector<std::shared_ptr<clsAdmins>> WorkAdmins;
    int32_t UnitCount = 0;
    int16_t ActiveIndex = 1;
    clsThings* CurThings = nullptr;
    clsAdmins* CurAdmins = nullptr;
    QStringList MapNames;     // the entries of the unit list
    QStringList AreaNames;    // the entries of the area list
    std::vector<int32_t> AreaCodes;   // the area code of each entry

    // -- what the window supplies
    void attach(plat::FlexGridData* things, plat::FlexGridData* admins) {
        things_ = things;
        admins_ = admins;
    }
    plat::FlexGridData* ThingGrid() const { return things_; }
    // Colours of the thing grid (0x00BBGGRR or system colours) and the
    // sample size in pixels (column 5's width, 400 twips).
    uint32_t GridBackColor = 0x80000005;
    uint32_t GridBackColorSel = 0x8000000D;
    int32_t SampleWidth = 96;
    int32_t SampleHeight = 26;
    // The editors the cells open, shown modally; true for OK. Empty: the
    // cell does nothing. The window installs the program's dialogs.
    std::function<bool(RangeModel&)> ShowRange;
    std::function<bool(ExpStyleModel&)> ShowStyle;       // polylines, polygons, symbols
    std::function<bool(TextStyleFields&)> ShowTextStyle;
    // Drawing of a grid off and on around a refill.
    std::function<void(plat::FlexGridData*, bool)> SetRedraw;
    // The window refused / accepted input around a preview.
    std::function<void(bool)> EnableForm;

    // -- lifecycle
    // The opening: working copies and lists. False without units (the window
    // then closes at once).
    bool Load();
    // Chooses unit i (1-based) for both tabs.
    void ChooseMap(int32_t index);
    void ChooseTab(int16_t tab) { CurTab = tab; }
    QString Caption() const;
    // The preview switch; on replots with the copies, off with the units'
    // own catalogues.
    void SetPreview(bool on);
    void SetDispAll(bool on);
    // A page chosen in the page list; pages 2..8 switch all-page sync off.
    void ChoosePage(int16_t page);
    void OK();
    // The closing after OK or Cancel: with preview on the view is drawn again
    // from the units' catalogues; the copies are dropped.
    void Unload();

    // -- the thing grid
    void SetGridData();
    void GridTree(int32_t row);
    void GridShowmode(int32_t row);
    void GridRange(int32_t row);
    void GridAttribute(int32_t row);
    // A click (or Space) on a cell: the operation of its column, then the
    // preview for an edit of a thing row.
    void ThingClick(int32_t row, int32_t col);
    void ThingDblClick(int32_t mouseRow);
    // The selection changed: samples of rows entering or leaving it are drawn
    // again; true when a thing row is selected (the popup button's state).
    bool ThingSelChange();
    // A thing row lies in the selection (the popup button's state).
    bool ThingSelected() const;
    QString ThingToolTip(int32_t row, int32_t col) const;
    bool IsDataRow(int32_t row) const;
    bool IsThingRow(int32_t row) const;
    int32_t ThingIndexOfRow(int32_t row) const;
    // The selected rows in order; true when the whole list is selected.
    bool SelRange(int32_t& top, int32_t& bottom) const;
    static QString ShowModeText(const clsThing& thing);
    static QString ScaleRangeText(const clsThing& thing);

    // -- the thing popup
    enum PopupCode : int32_t {
        popRestore = 0, popShow, popHide, popDepend, popUp, popDown, popFore, popBack, popCopy, popPaste
    };
    // One popup command on every selected thing row (closed categories
    // included), on the current page or all pages under page sync.
    void cmdThings(int32_t code);
    bool PasteEnabled() const { return CopiedFore != -2; }

    // -- the coloured district map
    // Only administrative maps (kinds 3 and 6) of the active unit.
    bool ColoredMapEnabled() const;
    // The land thing "陸地" gets up to 8 distinct pages derived from its
    // first ("ColoredMapNum" of them, 2..8, default 4) and every district of
    // the active unit a page of 1..N. Draw(n) gives a number 1..n; empty:
    // the program's random source.
    // Neighbouring districts (whose land polygons share a stretch of
    // outline) are kept on different pages as far as N pages allow; the
    // drawn page is taken where no neighbour holds it.
    void ColoredMap();
    std::function<int32_t(int32_t n)> Draw;
    // Outlines this close (map units, 1") count as one border.
    static constexpr int32_t kBorderTolerance = 1;
    // Neighbours left on one page by the last coloured map.
    int32_t ColouredClashes = 0;

    // -- samples and preview
    // The sample of a thing's current page in the list's colours.
    QImage DrawSample(clsThing& thing, bool highlighted) const;
    void RecSample(int32_t row, clsThing& thing, bool highlighted);
    void ExePreview();

    // -- the district grid
    void MakeAreaList();
    // The area code of the chosen entry; unnamed groups leave gaps between
    // codes, so the position is not the code. -1 without an entry.
    int32_t CurAreaCode() const;
    void ChooseArea(int32_t index);
    void MakeAdminList();
    void SetAdminPage(int32_t page);
    void SetAdminShow(bool show);
    // A click on a cell of a data row: column 0 next page, column 2 the show
    // switch; true for column 1, where the window drops its page list.
    bool AdminClick(int32_t row, int32_t col);
    // Space next page, 1..8 (either keyboard) that page, Insert the show
    // switch; a key used is set to 0.
    void AdminKeyDown(int& keyCode);
    void AllAdminOne();
    void AllAdminShow(bool show);
    static QString AdminToolTip(int32_t col);
    static QString AdminShowText(const clsAdmin& admin);
    // The page in column 1 of the current row (1 without one).
    int32_t AdminRowPage() const;

    void SyncMapThing(const clsThing& thing);
    void SyncMapAdmin(const clsAdmin& admin);

private:
    clsThing* thingOfRow(int32_t row) const;
    void formatCategoryRow(int32_t row);
    // One edit of the current row's district, or of every district of the
    // area group under area sync; col and text renew the row's cell.
    void editDistricts(const std::function<void(clsAdmin&)>& edit, int32_t col,
                       const std::function<QString(const clsAdmin&)>& text);
    void redraw(plat::FlexGridData* grid, bool on) {
        if (SetRedraw) SetRedraw(grid, on);
    }

    plat::FlexGridData* things_ = nullptr;
    plat::FlexGridData* admins_ = nullptr;
    bool inSelChange_ = false;   // selection changes the model makes itself redraw no samples
};

// The dialog of the run, made on first use.
MapSymbolModel& MapSymbol();
