// The Edit menu's attribute commands of the figure list: one value of many
// figures at once. Like the geometry commands they renew the rows with
// changed copies, so one undo brings the old values back.
#include "frmMapListLogic.h"

#include "MapListHost.h"
#include "basMouseWheel.h"

int32_t frmMapListLogic::pickThing(int32_t figCode, int32_t preset) {
    WheelUnhook(wheelWindow_);
    const int32_t thing = maplisthost::PickThing(*MapUnit, figCode, preset);
    WheelHook(wheelWindow_);
    grid_->Refresh();
    return thing;
}

int32_t frmMapListLogic::pickAdmin(int32_t preset) {
    WheelUnhook(wheelWindow_);
    const int32_t admin = maplisthost::PickAdmin(*MapUnit, preset);
    WheelHook(wheelWindow_);
    grid_->Refresh();
    return admin;
}

namespace {

void Make(frmMapListLogic& list, int k, int32_t row) {
    if (k < 1 || k > 5 || !list.MapUnit || !ConfirmAddFigure(*list.MapUnit)) return;
    if (row < 1) row = list.SelectTopRow() < 1 ? 1 : list.SelectTopRow();
    const auto figures = maplisthost::CreateFigure(list.MapUnit, k);
    if (figures && !figures->empty()) list.InsLines(row, *figures);
}

} // namespace

void frmMapListLogic::InsertItem(int k) {
    WheelUnhook(wheelWindow_);
    Make(*this, k, 0);
    WheelHook(wheelWindow_);
}

void frmMapListLogic::AddItem(int k) {
    WheelUnhook(wheelWindow_);
    Make(*this, k, MapUnit ? MapUnit->Map().Count() + 1 : 1);
    WheelHook(wheelWindow_);
}

void frmMapListLogic::Touch() {
    const int32_t r = SelectTopRow();
    if (!MapUnit || !IsValidRow(r)) return;
    WheelUnhook(wheelWindow_);
    auto figures = maplisthost::EditFigure(MapUnit, MapUnit->Map().Item(r), WindowLeft + 600, WindowTop + 600);
    WheelHook(wheelWindow_);
    if (!figures || figures->empty()) return;
    MapUnit->Map().ResetUndo();
    // The rest go in only once the row took the first one.
    if (RenewLine(r, figures->front()) && figures->size() > 1)
        InsLines(r + 1, std::vector<MapFigurePtr>(figures->begin() + 1, figures->end()));
    PrintCaption();
    JumpRow(r);
}

void frmMapListLogic::DoubleClick(int32_t mouseRow) {
    if (mouseRow >= 1 && MapUnit && !MapUnit->Map().LockMode()) Touch();
}

void frmMapListLogic::ShowItem(int k) {
    int32_t first = 0, last = 0;
    if (k < 1 || k > 3 || !MapUnit || !GetSelectRange(first, last)) return;
    const int32_t kind = MapUnit->Map().FigCode(first);
    const int32_t mode = k - 2;
    eachSelected(
        QStringLiteral("固有表示スイッチ変更中... ("),
        [&](const clsMapFigure& f) -> MapFigurePtr {
            if (f.FigCode() != kind || f.OwnShowMode() == mode) return nullptr;
            MapFigurePtr fresh = sameFigure(f);
            fresh->setOwnShowMode(mode);
            return fresh;
        },
        false);
}

void frmMapListLogic::ChangeColor() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return;
    const MapFigurePtr ref = MapUnit->Map().Item(first);
    WheelUnhook(wheelWindow_);
    const int32_t color = maplisthost::InputNativeColor(ref->OwnColor());
    WheelHook(wheelWindow_);
    if (color < -1) return;
    grid_->Refresh();
    const int32_t kind = ref->FigCode();
    eachSelected(
        QStringLiteral("固有色変更中... ("),
        [&](const clsMapFigure& f) -> MapFigurePtr {
            if (f.FigCode() != kind || f.OwnColor() == color) return nullptr;
            MapFigurePtr fresh = sameFigure(f);
            fresh->setOwnColor(color);
            return fresh;
        },
        false);
}

void frmMapListLogic::ChangeThing() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return;
    const MapFigurePtr ref = MapUnit->Map().Item(first);
    const int32_t kind = ref->FigCode();
    if (kind == 1) return;
    const int32_t from = ref->Thing();
    const int32_t to = pickThing(kind, from);
    if (to < 0 || to == from) return;
    eachSelected(
        QStringLiteral("事象変更中... ("),
        [&](const clsMapFigure& f) -> MapFigurePtr {
            if (f.FigCode() != kind || f.Thing() != from) return nullptr;
            MapFigurePtr fresh = sameFigure(f);
            fresh->setThing(to);
            return fresh;
        },
        false);
}

void frmMapListLogic::ChangeAdmin() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return;
    const int32_t from = MapUnit->Map().Item(first)->Admin();
    const int32_t to = pickAdmin(from);
    if (to < 0 || to == from) return;
    eachSelected(
        QStringLiteral("行政区変更中... ("),
        [&](const clsMapFigure& f) -> MapFigurePtr {
            if (f.FigCode() == 1 || f.Admin() != from) return nullptr;
            MapFigurePtr fresh = sameFigure(f);
            fresh->setAdmin(to);
            return fresh;
        },
        false);
}
