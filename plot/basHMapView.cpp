#include "basHMapView.h"

#include <cstdlib>

#include "basHMapCoord.h"
#include "clsCanvas.h"
#include "clsMapPlot.h"
#include "clsRect.h"

clsMapPlot* CurrentMapPlot() {
    switch (CurrentMapMode()) {
    case 1: return gvMapPlotLL;
    case 2: return gvMapPlotXY;
    default: return nullptr;
    }
}

bool PosCanvasToMap(int32_t cx, int32_t cy, int32_t& mx, int32_t& my) {
    clsMapPlot* plot = CurrentMapPlot();
    return plot && plot->CanvasToMapBound(cx, cy, mx, my);
}

bool PosViewToMap(int32_t vx, int32_t vy, int32_t& mx, int32_t& my) {
    if (!gvCanvas) return false;
    int32_t cx = 0, cy = 0;
    gvCanvas->PosViewToCanvas(vx, vy, cx, cy);
    return PosCanvasToMap(cx, cy, mx, my);
}

bool PosMapToView(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot || !gvCanvas) return false;
    int32_t cx = 0, cy = 0;
    bool ok = plot->PointMapToCanvas(mx, my, cx, cy);
    if (!ok && plot->ShiftOn()) {
        ok = plot->PointMapToCanvas(mx, my, cx, cy);
        plot->ShiftOff();
    }
    if (ok) gvCanvas->PosCanvasToView(cx, cy, vx, vy);
    return ok;
}

bool PosMapToViewNear(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot || !gvCanvas) return false;
    // Field is taken once, unshifted: asking it again would recompute the
    // view and drop the shift. The shifted copy's Field is the same moved
    // by the wrap.
    const clsRect field = plot->Field();
    int32_t ax = 0, ay = 0;
    plot->MapToCanvas(mx, my, ax, ay);
    const bool insideA = field.IsInner(mx, my);
    int32_t bx = 0, by = 0;
    bool insideB = false;
    if (plot->ShiftOn()) {
        plot->MapToCanvas(mx, my, bx, by);
        const int64_t shift = plot->WrapShift();
        insideB = int64_t{field.x1} + shift <= mx && mx <= int64_t{field.x2} + shift && field.y1 <= my && my <= field.y2;
        plot->ShiftOff();
    }
    bool useB = insideB && !insideA;
    if (insideA && insideB) {
        const int32_t ox = gvCanvas->CanvasWidth() / 2, oy = gvCanvas->CanvasHeight() / 2;
        const int64_t da = std::llabs(int64_t{ax} - ox) + std::llabs(int64_t{ay} - oy);
        const int64_t db = std::llabs(int64_t{bx} - ox) + std::llabs(int64_t{by} - oy);
        useB = db < da;
    }
    gvCanvas->PosCanvasToView(useB ? bx : ax, useB ? by : ay, vx, vy);
    return useB ? insideB : insideA;
}
