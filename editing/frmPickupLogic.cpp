#include "frmPickupLogic.h"

#include "AppState.h"
#include "basLibrary.h"
#include "clsAdmin.h"
#include "clsMap.h"
#include "clsMapFigure.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "clsThing.h"

const QString& frmPickupLogic::HeaderFormat() {
    static const QString format = QStringLiteral("<地図名|>要素番号 |図形種 |>　ノード数|<事象名　|<行政区名");
    return format;
}

QString frmPickupLogic::RowText(const clsSearchInfo& info) {
    const clsMapCell& cell = info.Cell;
    const MapFigurePtr& fig = cell.CellFigure;
    const QString mapName = info.MapUnit ? info.MapUnit->Map().MapName(int32_t(gvLanguage)) : QString();
    const auto poly = fig ? fig->Poly() : nullptr;
    // Symbols and texts stand at one point.
    const int32_t code = fig ? fig->FigCode() : 0;
    const int32_t nodes = code == 4 || code == 5 ? 1 : (poly ? poly->Count() : 0);
    const QStringList texts{mapName,
                            QString::number(info.FigureIndex),
                            fig ? fig->FigName(2) : QString(),
                            QString::number(nodes),
                            cell.CellThing ? cell.CellThing->Name() : QString(),
                            cell.CellAdmin ? cell.CellAdmin->AdminName() : QString()};
    return texts.join(QLatin1Char('\t'));
}

std::array<int32_t, frmPickupLogic::Columns> frmPickupLogic::ColumnWidths(int32_t gridWidth,
                                                                           const std::array<int32_t, Columns>& design) {
    int32_t spare = gridWidth - 255;
    for (const int32_t w : design) spare -= w;
    const int32_t share = spare / 3;
    std::array<int32_t, Columns> out = design;
    for (const int c : {0, 4, 5}) out[c] += share;
    return out;
}

bool frmPickupLogic::Search() {
    OK = false;
    Picked.reset();
    candidates_.clear();
    if (MapPlot) {
        ScreenMousePointer(11);
        MapPlot->MapUnits = MapUnits;
        MapPlot->SearchX = SearchX;
        MapPlot->SearchY = SearchY;
        candidates_ = MapPlot->SearchNears(IncludeAll, true, 64);
        ScreenMousePointer(-1);
    }
    if (candidates_.empty()) {
        MsgError(QStringLiteral("近くに図形が存在しないか、編集が許可されていない地図です.\r\n"
                                "編集が許可されていない場合は地図ファイルの[読取専用]を解除すれば編集できます."));
        return false;
    }
    return true;
}

QString frmPickupLogic::CountText() const {
    return QStringLiteral("候補図形数 = ") + QString::number(candidates_.size());
}

bool frmPickupLogic::PlotFigure(int row, plat::DeviceContext* dc, int32_t dx, int32_t dy) {
    if (!MapPlot || row < 1 || row > int(candidates_.size())) return false;
    const clsMapCell& cell = candidates_[size_t(row) - 1]->Cell;
    const plat::HDC saved = MapPlot->hdc();
    MapPlot->sethdc(dc);
    bool drawn = false;
    if (MapPlot->DrawStart()) {
        // The figure in view pixels and inverted colour, once per copy shown.
        auto draw = [&] {
            const FigurePtr f = MapPlot->CellToFigure(cell);
            if (!f) return;
            if (auto poly = f->Poly()) {
                for (int32_t i = 1; i <= poly->Count(); ++i) {
                    poly->setX(i, poly->x(i) + dx);
                    poly->setY(i, poly->y(i) + dy);
                }
                f->setPoly(poly);
            }
            f->setFore(f->Fore() ^ 0xFFFFFF);
            f->Plot(false);
            drawn = true;
        };
        draw();
        if (MapPlot->ShiftOn()) {
            draw();
            MapPlot->ShiftOff();
        }
        MapPlot->DrawEnd();
    }
    MapPlot->sethdc(saved);
    return drawn;
}

bool frmPickupLogic::Choose(int row) {
    if (row < 1 || row > int(candidates_.size())) return false;
    Picked = candidates_[size_t(row) - 1];
    OK = true;
    return true;
}

void frmPickupLogic::Release() {
    candidates_.clear();
    MapUnits.reset();
    MapPlot = nullptr;
}
