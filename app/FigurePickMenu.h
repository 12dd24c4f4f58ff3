// The pick menu "選択編集(&S)": the commands on the one figure element chosen
// in the pickup list (PickInfo). Reshaping opens the drawing window the
// figure dialogs use (InstalledFigPolyWindows). Prepare says which items the menu offers;
// each command changes the maps through clsMap, so that undo and write
// protection hold, and redraws through the host.
//
// Every change starts a new undo step of the unit set. A figure that takes
// the place of another keeps its identifier (and so its creation date);
// gathering renews only the figures whose points moved. A copy to another
// unit is a new figure with an identifier of its own, a move hands the
// figure itself over. Figures of write-protected units are never changed:
// their items are off, and gathering and joining leave them alone.
#pragma once

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "FigureDialog.h"
#include "FigureWindows.h"
#include "clsMapPlot.h"

// What the commands need of the main window.
struct FigurePickHost {
    // The figure dialogs (the figure dialog protocol), none when cancelled.
    std::function<std::optional<FigureList>(const MapUnitPtr&, const MapFigurePtr&, int16_t activeNode)> EditFigure;
    std::function<std::optional<FigureList>(const MapUnitPtr&, int32_t kind)> CreateFigure;
    std::function<void()> PlotWindow;
    std::function<void()> SetViewControllByEngine;
    // The window drawn anew before a message covers it.
    std::function<void()> Refresh;
    // The main window's place plus 600 twips: where the dialogs open.
    std::function<void(int32_t& left, int32_t& top)> DialogPlace;
};

struct PickUnitItem {
    QString Caption;   // the unit's map file path
    bool Enabled = false;
};

// The items of the menu as they are offered (true: enabled).
struct FigurePickState {
    bool Retouch = false, Draw = false, List = true, Delete = false, Gap = false, Connect = false, Hide = false;
    bool DrawVisible = false;   // off while no drawing window is installed
    bool Rem = true, Text = true, Center = true;
    bool Mark = false;
    std::array<bool, 9> MarkItem{};   // marks 1..9
    std::array<bool, 4> Seek{};       // front, one forward, one back, end
    bool Move = false, Copy = false;
    std::vector<PickUnitItem> Units;  // items 1..n of both submenus
    bool Length = false, Area = false;
};

class FigurePickMenu {
public:
    explicit FigurePickMenu(FigurePickHost host) : host_(std::move(host)) {}

    SearchInfoPtr PickInfo;          // the pick the menu opened on
    clsMapPlot* MapPlot = nullptr;   // the current plot engine
    // Set by List: the figure list opens on the pick once the menu closed.
    bool PickListEi = false;

    // mnuPick_Click: the items for PickInfo. All off when the pick no longer
    // names its figure.
    FigurePickState Prepare() const;

    void Retouch();
    void Draw();
    void List() { PickListEi = true; }
    void Delete();
    void Gap();
    void Connect();
    void Hide();
    // code 1: the remark just before the figure; 5: the text.
    void RemOrText(int32_t code);
    void Center();
    void Mark(int k);
    // 0 front (after the leading remarks), 1 one forward, 2 one back, 3 end.
    void Seek(int index);
    // index: the target's position in the unit set; 0 does nothing.
    void MoveTo(int index) { transfer(index, true); }
    void CopyTo(int index) { transfer(index, false); }
    void Length() { Measure(false); }
    void Area() { Measure(true); }

    // The texts of the length and area reports (map mode 1 or 2).
    static QString LengthText(double metres, int32_t mapMode);
    static QString AreaText(double squareMetres, int32_t mapMode);

private:
    // The picked unit and figure while the pick still names them.
    bool picked(MapUnitPtr& unit, MapFigurePtr& figure) const;
    bool editable() const;
    void prepareUndo() const;
    void plotWindow() const;
    void transfer(int index, bool move);
    void Measure(bool area);
    // The joined point list of the picked line p (node pickedFirst) and the
    // winning candidate, or none.
    std::optional<clsPoly> joined(const clsPoly& p, bool pickedFirst, const clsSearchInfo& winner) const;

    FigurePickHost host_;
};

// A copy that stands in for the figure: same content and identifier.
MapFigurePtr SameFigure(const clsMapFigure& figure);
