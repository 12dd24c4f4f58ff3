// The pickup list without its window: the figures nearest a clicked point,
// one row each, the choice, and the highlight of a row's figure on the map
// view (inverted colour, on every copy the view shows across 180°).
#pragma once

#include <QString>

#include <array>
#include <memory>
#include <vector>

#include "clsMapPlot.h"

class clsMapUnits;
namespace plat {
class DeviceContext;
}

class frmPickupLogic {
public:
    static constexpr int Columns = 6;
    // Header texts and alignments: "<" left, ">" right, "|" between columns.
    static const QString& HeaderFormat();
    // The six texts of a candidate joined by TAB.
    static QString RowText(const clsSearchInfo& info);
    // Columns 0, 4 and 5 share a third each of the room the six leave in a
    // grid gridWidth wide (all twips).
    static std::array<int32_t, Columns> ColumnWidths(int32_t gridWidth, const std::array<int32_t, Columns>& design);

    // -- what the caller sets before each opening
    int32_t SearchX = 0, SearchY = 0;    // canvas pixels
    std::shared_ptr<clsMapUnits> MapUnits;
    clsMapPlot* MapPlot = nullptr;
    bool IncludeAll = false;

    // -- the result
    bool OK = false;
    SearchInfoPtr Picked;

    // The elements at the smallest distance within 64 canvas pixels; false
    // after telling the user when there is none.
    bool Search();
    const std::vector<SearchInfoPtr>& Candidates() const { return candidates_; }
    QString CountText() const;

    // Draws candidate row (1-based) inverted onto dc, a view whose top left
    // lies at canvas (viewX, viewY) negated, i.e. canvas (0, 0) shows at
    // (dx, dy) of the view; false when the figure is not drawn.
    bool PlotFigure(int row, plat::DeviceContext* dc, int32_t dx, int32_t dy);
    // OK on the current row; false when the row holds no candidate.
    bool Choose(int row);
    void Release();

private:
    std::vector<SearchInfoPtr> candidates_;
};
