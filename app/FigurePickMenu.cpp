#include "FigurePickMenu.h"

#include <cmath>

#include "MessageBox.h"
#include "ViewSurvey.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "clsSurvey.h"

namespace {

// Canvas pixels within which gathering pulls a vertex onto the pick, and
// within which joining looks for line ends.
constexpr double kNearPixels = 4.0;
constexpr int16_t kPolylinesOnly = 2;

} // namespace

MapFigurePtr SameFigure(const clsMapFigure& figure) {
    MapFigurePtr copy = figure.Copy();
    copy->setFigID(figure.FigID());
    return copy;
}

bool FigurePickMenu::picked(MapUnitPtr& unit, MapFigurePtr& figure) const {
    if (!PickInfo || !PickInfo->MapUnit || !PickInfo->MapUnits) return false;
    unit = PickInfo->MapUnit;
    figure = unit->Map().Item(PickInfo->FigureIndex);
    return figure && figure == PickInfo->Cell.CellFigure;
}

bool FigurePickMenu::editable() const { return PickInfo && PickInfo->MapUnit && !PickInfo->MapUnit->Map().LockMode(); }

void FigurePickMenu::prepareUndo() const { PickInfo->MapUnits->ResetUndo(); }

void FigurePickMenu::plotWindow() const {
    if (host_.PlotWindow) host_.PlotWindow();
}

FigurePickState FigurePickMenu::Prepare() const {
    FigurePickState s;
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure)) {
        s.List = s.Rem = s.Text = s.Center = false;
        return s;
    }
    const clsMap& map = unit->Map();
    const clsMapUnits& units = *PickInfo->MapUnits;
    const int32_t fi = PickInfo->FigureIndex, node = PickInfo->PointIndex;
    const int32_t points = figure->Poly()->Count();
    const bool edit = editable();

    s.Retouch = s.Delete = s.Move = s.Hide = s.Gap = edit;
    s.Copy = true;
    s.Connect = edit && figure->FigCode() == 2 && (node == 1 || node == points);
    s.Draw = true;
    s.DrawVisible = bool(InstalledFigPolyWindows().draw);
    if (units.Count() < 2) s.Move = s.Copy = false;
    if (edit) {
        s.Seek[0] = s.Seek[1] = fi >= 2;
        s.Seek[2] = s.Seek[3] = fi < map.Count();
    }
    int32_t i = 0;
    for (const MapUnitPtr& u : units) {
        ++i;
        s.Units.push_back({u->UnitName(), i != PickInfo->UnitIndex && !u->Map().LockMode()});
    }
    s.Length = points > 1;
    s.Area = points > 2 && figure->FigCode() == 3;
    // A mark is an edit like any other: only on a map that may change.
    s.MarkItem.fill(edit);
    for (const MapFigurePtr& f : map) {
        const int16_t mark = f->JumpMark();
        if (mark >= 1 && mark <= 9) s.MarkItem[size_t(mark) - 1] = false;
    }
    for (const bool on : s.MarkItem) s.Mark = s.Mark || on;
    return s;
}

void FigurePickMenu::Retouch() {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure) || !host_.EditFigure) return;
    const std::optional<FigureList> results = host_.EditFigure(unit, figure, int16_t(PickInfo->PointIndex));
    if (!results || results->empty()) return;
    prepareUndo();
    clsMap& map = unit->Map();
    const int32_t fi = PickInfo->FigureIndex;
    if (!map.Renew(fi, results->front())) return;
    // Each further figure lands in front of those inserted before it.
    for (size_t k = 1; k < results->size(); ++k) map.Ins(fi, (*results)[k]);
    plotWindow();
}

void FigurePickMenu::Draw() {
    MapUnitPtr unit;
    MapFigurePtr figure;
    const auto& draw = InstalledFigPolyWindows().draw;
    if (!picked(unit, figure) || !draw) return;
    const int32_t code = figure->FigCode();
    if (code < 2 || code > 5) return;
    MapFigurePtr copy = SameFigure(*figure);
    DrawWindowRequest req;
    // The view stays where it is.
    req.CenterView = false;
    if (host_.DialogPlace) host_.DialogPlace(req.firstPosition.left, req.firstPosition.top);
    req.polyMode = code == 2 || code == 3;
    if (req.polyMode) {
        req.Poly = copy->Poly()->Copy();
        req.ActIndex = PickInfo->PointIndex;
    } else {
        copy->Poly()->GetXandY(1, req.PointX, req.PointY);
    }
    if (!draw(req)) return;
    auto poly = std::make_shared<clsPoly>();
    if (req.polyMode) *poly = req.Poly;
    else poly->AddXandY(req.PointX, req.PointY);
    copy->setPoly(poly);
    prepareUndo();
    if (unit->Map().Renew(PickInfo->FigureIndex, copy)) plotWindow();
}

void FigurePickMenu::Delete() {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure)) return;
    prepareUndo();
    // Out of the map first: a refused removal leaves nothing in the trash.
    if (!unit->Map().Remove(PickInfo->FigureIndex)) return;
    unit->Garbage().Add(figure->Copy());
    plotWindow();
}

void FigurePickMenu::Gap() {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure) || !MapPlot || !editable()) return;
    const int32_t px = PickInfo->MapX, py = PickInfo->MapY;
    int32_t cx = 0, cy = 0;
    MapPlot->MapToCanvas(px, py, cx, cy);
    MapPlot->SearchX = cx;
    MapPlot->SearchY = cy;
    const std::vector<SearchInfoPtr> found = MapPlot->SearchNears(false, false, kNearPixels);
    prepareUndo();
    bool anyMoved = false;
    for (const SearchInfoPtr& info : found) {
        clsMap& map = info->MapUnit->Map();
        if (map.LockMode()) continue;
        MapFigurePtr copy = SameFigure(*info->Cell.CellFigure);
        const std::shared_ptr<clsPoly> poly = copy->Poly();
        bool moved = false;
        for (int32_t i = 1; i <= poly->Count(); ++i) {
            int32_t x = 0, y = 0;
            MapPlot->MapToCanvas(poly->x(i), poly->y(i), x, y);
            if (std::hypot(double(x) - cx, double(y) - cy) > kNearPixels) continue;
            if (poly->x(i) == px && poly->y(i) == py) continue;
            poly->SetXandY(i, px, py);
            moved = true;
        }
        if (!moved) continue;
        copy->setPoly(poly);
        anyMoved = map.Renew(info->FigureIndex, copy) || anyMoved;
    }
    if (anyMoved) plotWindow();
}

std::optional<clsPoly> FigurePickMenu::joined(const clsPoly& p, bool pickedFirst, const clsSearchInfo& winner) const {
    clsPoly q = winner.Cell.CellFigure->Poly()->Copy();
    const bool winnerFirst = winner.PointIndex == 1;
    clsPoly out;
    if (!winnerFirst && pickedFirst) {
        out = q;
        if (!out.Connect(p)) return std::nullopt;
    } else if (!winnerFirst && !pickedFirst) {
        out = p.Copy();
        q.Reverse();
        if (!out.Connect(q)) return std::nullopt;
    } else if (winnerFirst && pickedFirst) {
        out = q;
        out.Reverse();
        if (!out.Connect(p)) return std::nullopt;
    } else {
        out = p.Copy();
        if (!out.Connect(q)) return std::nullopt;
    }
    return out;
}

void FigurePickMenu::Connect() {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure) || !MapPlot || !editable() || figure->FigCode() != 2) return;
    const clsPoly p = figure->Poly()->Copy();
    const int32_t node = PickInfo->PointIndex;
    if (p.IsLoop() || (node != 1 && node != p.Count())) return;

    std::vector<SearchInfoPtr> candidates;
    {
        // The line itself hidden from the search, and only lines sought;
        // both put back whatever happens, the figure's flag included.
        const int32_t showMode = figure->OwnShowMode();
        const bool modified = figure->Modify();
        const int16_t pick = MapPlot->FigurePick;
        struct Restore {
            clsMapFigure& f;
            clsMapPlot& plot;
            int32_t showMode;
            bool modified;
            int16_t pick;
            ~Restore() {
                f.setOwnShowMode(showMode);
                f.setModify(modified);
                plot.FigurePick = pick;
            }
        } restore{*figure, *MapPlot, showMode, modified, pick};
        figure->setOwnShowMode(0);
        MapPlot->FigurePick = kPolylinesOnly;
        MapPlot->MapToCanvas(PickInfo->MapX, PickInfo->MapY, MapPlot->SearchX, MapPlot->SearchY);
        candidates = MapPlot->SearchNears(false, true, kNearPixels);
    }
    std::erase_if(candidates, [](const SearchInfoPtr& c) {
        const std::shared_ptr<clsPoly> poly = c->Cell.CellFigure->Poly();
        const bool atEnd = c->PointIndex == 1 || c->PointIndex == poly->Count();
        return !atEnd || poly->IsLoop() || c->MapUnit->Map().LockMode();
    });
    if (candidates.empty()) {
        if (host_.Refresh) host_.Refresh();
        MsgError(QStringLiteral("結合可能な連続線図形は存在しません."));
        return;
    }
    const SearchInfoPtr* best = nullptr;
    int bestScore = -1;
    for (const SearchInfoPtr& c : candidates) {
        const clsMapFigure& f = *c->Cell.CellFigure;
        const int score = (c->UnitIndex == PickInfo->UnitIndex ? 1 : 0) + (f.Admin() == figure->Admin() ? 1 : 0) +
                          (f.Thing() == figure->Thing() ? 2 : 0);
        if (score > bestScore) bestScore = score, best = &c;
    }
    const clsSearchInfo& winner = **best;
    const std::optional<clsPoly> line = joined(p, node == 1, winner);
    if (!line) return;
    prepareUndo();
    MapFigurePtr copy = SameFigure(*figure);
    copy->setPoly(std::make_shared<clsPoly>(*line));
    if (!unit->Map().Renew(PickInfo->FigureIndex, copy)) return;
    winner.MapUnit->Map().Remove(winner.FigureIndex);
    plotWindow();
}

void FigurePickMenu::Hide() {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure)) return;
    MapFigurePtr copy = SameFigure(*figure);
    copy->setOwnShowMode(0);
    prepareUndo();
    if (unit->Map().Renew(PickInfo->FigureIndex, copy)) plotWindow();
}

void FigurePickMenu::RemOrText(int32_t code) {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure)) return;
    clsMap& map = unit->Map();
    const int32_t fi = PickInfo->FigureIndex;
    const bool before = fi > 1 && map.FigCode(fi - 1) == code;
    std::optional<FigureList> results;
    if (before) {
        if (host_.EditFigure) results = host_.EditFigure(unit, SameFigure(*map.Item(fi - 1)), 0);
    } else if (host_.CreateFigure) {
        results = host_.CreateFigure(unit, code);
    }
    if (!results || results->empty()) return;
    prepareUndo();
    const bool done = before ? map.Renew(fi - 1, results->front()) : map.Ins(fi, results->front());
    if (done) plotWindow();
}

void FigurePickMenu::Center() {
    if (!PickInfo || !MapPlot) return;
    MapPlot->setCenterX(PickInfo->MapX);
    MapPlot->setCenterY(PickInfo->MapY);
    if (host_.SetViewControllByEngine) host_.SetViewControllByEngine();
    plotWindow();
}

void FigurePickMenu::Mark(int k) {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (k < 1 || k > 9 || !picked(unit, figure) || !editable()) return;
    MapFigurePtr copy = SameFigure(*figure);
    copy->setJumpMark(k);
    prepareUndo();
    unit->Map().Renew(PickInfo->FigureIndex, copy);
}

void FigurePickMenu::Seek(int index) {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure)) return;
    clsMap& map = unit->Map();
    const int32_t fi = PickInfo->FigureIndex;
    int32_t target = 0;
    switch (index) {
    case 0:
        target = 1;
        while (target <= map.Count() && map.FigCode(target) == 1) ++target;
        break;
    case 1: target = fi - 1; break;
    case 2: target = fi + 2; break;   // Move counts a target behind the figure without it
    case 3: target = map.Count() + 1; break;
    default: return;
    }
    prepareUndo();
    if (map.Move(fi, target)) plotWindow();
}

void FigurePickMenu::transfer(int index, bool move) {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (index < 1 || !picked(unit, figure)) return;
    const MapUnitPtr target = PickInfo->MapUnits->Item(index);
    if (!target || target == unit || target->Map().LockMode()) return;
    if (move && unit->Map().LockMode()) return;
    prepareUndo();
    if (move) {
        // The figure itself changes hands: one map holds it at a time.
        if (!unit->Map().Remove(PickInfo->FigureIndex)) return;
        target->Map().Add(figure);
    } else {
        target->Map().Add(figure->Copy());
    }
    plotWindow();
}

namespace {
// Lengths and areas of an X/Y map are of the plane, not of the ground.
QString MeasureText(double value, const QString& unit, int32_t mapMode) {
    QString text = FormatStandard(value) + unit;
    if (mapMode != 1) text += QStringLiteral("\r\n\r\nＸＹモードのため実際の値とは大きく異なることがあります.");
    return text;
}
} // namespace

QString FigurePickMenu::LengthText(double metres, int32_t mapMode) {
    return MeasureText(metres / 1000, QStringLiteral(" km"), mapMode);
}

QString FigurePickMenu::AreaText(double squareMetres, int32_t mapMode) {
    return MeasureText(squareMetres / 1000000, QStringLiteral(" km2"), mapMode);
}

void FigurePickMenu::Measure(bool area) {
    MapUnitPtr unit;
    MapFigurePtr figure;
    if (!picked(unit, figure)) return;
    if (host_.Refresh) host_.Refresh();
    const clsPoly& poly = *figure->Poly();
    const int32_t mode = PickInfo->MapUnits->MapMode();
    if (area) {
        const double value = mode == 1 ? clsSurvey().PolyArea(poly) : poly.Area();
        plat::MsgBox(AreaText(value, mode), plat::MbOkOnly, QStringLiteral("面積"));
    } else {
        const double value = mode == 1 ? clsSurvey().PolyLength(poly) : poly.TotalLength();
        plat::MsgBox(LengthText(value, mode), plat::MbOkOnly, QStringLiteral("輪郭線総延長"));
    }
}
