// The main window's menus without their widgets: what each item shows when
// its menu drops down (a pure function of the state handed in), and the
// commands that act on the map units and the plot engines. The window
// gathers the inputs, shows the states and runs the commands.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class clsMapPlot;
class clsMapUnit;
class clsMapUnits;

struct MenuItemState {
    QString Caption;   // empty: the item keeps its caption
    bool Enabled = true;
    bool Checked = false;
    bool operator==(const MenuItemState&) const = default;
};

// -- File

struct FileMenuInputs {
    int32_t MapMode = 1;
    bool Modified = false;         // the current map units report Modify
    bool PrinterExists = false;    // found at start-up
    int32_t ActiveFigures = 0;     // figures of the active map
    std::array<bool, 4> LogExists{};   // LAST, CLIP, PRINT and the last snapshot named
    QString LastLog;               // path of the last snapshot named
};

struct FileMenuState {
    MenuItemState Overwrite, CruiseSet, CruiseExe, Print, MapInfo;
    std::array<MenuItemState, 4> LogItems;
};

FileMenuState PrepareFileMenu(const FileMenuInputs& in);
// The snapshot an item reads, 1..4, with the extension its files have.
QString LogItemPath(int index);

// The filters of the file choosers: the five kinds of open, then the four
// pictures of save as.
QString OpenFilter();
QString SaveFilter();
// The name proposed for a new map unit: the map folder, "UserMap", the
// time stamp and the mode's extension; with the chooser's filter.
QString NewUnitProposal(int32_t mapMode, const QString& mapFolder, const QString& stamp);
QString NewUnitFilter(int32_t mapMode);
// Adds a new unit named path to the set, makes it the active one and saves
// it at once. False, with nothing saved, when the set refused it (a unit of
// that name is loaded already).
bool NewMapUnit(clsMapUnits& units, const QString& path);
// Saves every modified unit of both sets, each with its snapshot; true when
// no unit is modified afterwards.
bool SaveModifiedUnits();

// -- Edit

struct EditMenuInputs {
    bool CanUndo = false;
    int32_t TrashCount = 0;        // figures in the active unit's trash
    bool SurveyOn = false;
    bool PickupOn = false;
    bool DetailEnable = false;
    bool Locked = false;           // the active map is locked
    int32_t MapMode = 1;
    int32_t FigurePick = 0;
};

struct EditMenuState {
    MenuItemState Undo, GarbageOne, GarbageAll, Pickup, Detail, Add, AddAzimuthLine;
    std::array<MenuItemState, 4> FigPick;   // polyline, polygon, symbol, text
};

EditMenuState PrepareEditMenu(const EditMenuInputs& in);

// One item per unit of the set, in set order: map name and the letters
// "(&A)", "(&B)" ...; checked by the unit's display switch or search switch.
std::vector<MenuItemState> UnitMenuItems(const clsMapUnits* units, bool display, int32_t language);

// The kind bit 2^(index - 1) turned over (index 2..5).
int32_t ToggleKindBit(int32_t mask, int index);

// Takes the last figure of the unit's trash back into its map. A figure the
// map refuses (invalid, locked map) stays in the trash. True when restored.
bool RestoreOneFromTrash(clsMapUnit& unit);
// Takes every figure of the trash back in trash order; the figures the map
// refuses stay in the trash. A locked or busy map refuses the first and
// nothing more is tried. Returns the number restored.
int32_t RestoreAllFromTrash(clsMapUnit& unit);
// Every figure of every unit follows its thing again (own show mode or own
// colour -1). Returns the number changed.
int32_t ResetOwnShowModes(clsMapUnits& units);
int32_t ResetOwnColors(clsMapUnits& units);
// Azimuth lines of the angle text from the latitude/longitude view's centre
// into the unit's map after a remark that names them. Returns the number
// of lines; none (and no remark) for an empty or unreadable text.
int32_t AddAzimuthLines(clsMapUnit& unit, const QString& angles, const clsMapPlot& view, const clsMapUnit* base);

// -- View

struct ViewMenuInputs {
    int32_t ActiveFigures = 0;
    int32_t MapMode = 1;
    int32_t Language = 2;
    bool AreaMode = false;         // the canvas is larger than the view
    int32_t ViewArea = 5;
    int32_t FigureDisp = 0;
    QString AzimuthLine;
    int32_t PtnRatio = 100;
    bool EdgeEnable = false, TextSlant = false, AdmShow = false, ThgShow = false, FigShow = false,
         FigNative = false;
};

struct ViewMenuState {
    MenuItemState Jump, Grid, ViewArea, AzimuthLine;
    std::array<MenuItemState, 2> Language, Coordinate;
    std::array<MenuItemState, 9> ViewAreaItems;
    std::array<MenuItemState, 4> FigDisp;          // polyline, polygon, symbol, text
    std::array<MenuItemState, 6> AzimuthItems;     // none, 4, 8, 12, 16, user's
    std::array<MenuItemState, 7> PtnRatioItems;    // 40 % .. 160 %
    MenuItemState Edge, TextSlant, AdmShow, ThgShow, FigShow, FigNative;
};

ViewMenuState PrepareViewMenu(const ViewMenuInputs& in);
ViewMenuInputs ViewMenuInputsOf(const clsMapPlot& plot);

// The azimuth item a text checks: 0 none, 1..4 the 4, 8, 12 and 16 even
// directions, 5 any other text.
int AzimuthCheckIndex(const QString& text);
// The text an azimuth item gives; item 5 asks the user, the current text
// as default.
QString AzimuthTextOfItem(int index, const QString& current);
// The size-ratio item a ratio checks: the nearest lower step, ends clamped.
int PtnRatioCheckIndex(int32_t ratio);
int32_t PtnRatioOfItem(int index);
// The scale a jump leaves: the current one within the place's bounds.
double JumpScale(double scale, double lowerBound, double upperBound);

// -- Project, Tool

// The switches an X/Y map made by the wizard takes from the latitude/
// longitude view; the others stay the X/Y engine's.
void CopyWizardSwitches(const clsMapPlot& from, clsMapPlot& to);

struct ToolMenuState {
    MenuItemState Survey, FrameCut;
};
ToolMenuState PrepareToolMenu(bool surveyOn, bool frameCutOn, bool pickupOn);

// The web links of the Help menu: item index (1, 3..6) to its link.
QString HomepageLink(int index);
// Opens a link of the Help menu; an error on the way is told the user.
void OpenHomepageItem(int index);
