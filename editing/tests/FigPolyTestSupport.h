// The polyline and polygon dialog's logic over grid cells of its own, on a
// figure of a map unit of either map mode.
#pragma once

#include <optional>
#include <vector>

#include "EditingTestSupport.h"
#include "TestSupport.h"
#include "frmFigPoly.h"

namespace edittest {

using Nodes = std::vector<PolyPoint>;
constexpr int32_t Deg(double d) { return static_cast<int32_t>(d * 3600); }
inline Nodes PointsOf(const clsPoly& p) { return {p.Points().begin(), p.Points().end()}; }
inline clsPoly PolyOf(const Nodes& points) {
    clsPoly p;
    for (const PolyPoint& q : points) p.AddPoint(q);
    return p;
}

const PolyPoint A{Deg(10), Deg(20)}, B{Deg(11), Deg(21)}, C{Deg(12), Deg(20)}, D{Deg(11), Deg(19)}, E{Deg(13), Deg(22)};
const QString kRangeMessage = QStringLiteral("既定の範囲を超えています.");

struct PolyDialog {
    CleanEditing clean;
    std::optional<CoordinateMode> coordinates;
    plat::FlexGridData cells;
    FigureDialogVars vars;
    MapFigurePtr figure;
    std::optional<FigPolyLogic> logic;

    // A figure of a kind (2 or 3) with district and thing 0 (none with
    // `placed` false), unmodified, in a unit of the map mode; the dialog
    // loaded on it at `activeNode`.
    PolyDialog(int mode, int code, const Nodes& nodes, int32_t activeNode = 0, bool placed = true) {
        coordinates.emplace(mode);
        SetAngleUnit(1);
        figure = NewMapFigure(code);
        if (placed) {
            figure->setAdmin(0);
            figure->setThing(0);
        }
        figure->setPoly(std::make_shared<clsPoly>(PolyOf(nodes)));
        figure->setModify(false);
        vars.Figure = figure;
        vars.MapUnit = std::make_shared<clsMapUnit>();
        vars.MapUnit->setUnitName(mode == 1 ? QStringLiteral("/maps/TEST.MLL") : QStringLiteral("/maps/TEST.MXY"));
        vars.ActiveNode = activeNode;
        reload();
    }
    void reload() {
        logic.emplace(vars, cells);
        EXPECT_TRUE(logic->Load());
    }
    FigPolyLogic* operator->() { return &*logic; }
    Nodes nodes() const { return PointsOf(logic->GridToPoly()); }
    QStringList marks() const {
        QStringList m;
        for (int32_t r = 1; r <= logic->NodeCount(); ++r) m << logic->MarkOf(r);
        return m;
    }
    int32_t row() const { return cells.Row(); }
};

} // namespace edittest
