// The buttons of the polyline and polygon dialog that change the node list.
#include <algorithm>
#include <cmath>
#include <limits>

#include "LongOperation.h"
#include "MessageBox.h"
#include "basGlobePolyLib.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "basSplineLib.h"
#include "clsMap.h"
#include "frmFigPoly.h"

namespace {

const QString kNoMark = QStringLiteral(" ");

// A coordinate computed wider than the map's; one beyond 32 bits stays
// beyond every map's range, so the range check still refuses it.
int32_t Narrow(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// A percentage asked for in an input box; 0 for Cancel or anything unreadable.
double AskRatio(const QString& axis) {
    const QString answer = plat::InputBox(axis + QStringLiteral("方向拡大率(%)\r\n-1000.0～-10.0, +10.0～+1000.0"),
                                          QStringLiteral("拡大率"), QStringLiteral("100"));
    try {
        return JstrToDouble(answer);
    } catch (...) {
        return 0;
    }
}

bool IsZoomRatio(double r) { return std::abs(r) >= 10 && std::abs(r) <= 1000; }

} // namespace

bool FigPolyLogic::runChild(const std::function<bool()>& window) {
    struct Hook {
        const std::function<void(bool)>& child;
        explicit Hook(const std::function<void(bool)>& c) : child(c) {
            if (child) child(true);
        }
        ~Hook() {
            if (child) child(false);
        }
    } hook(onChildWindow);
    return window();
}

void FigPolyLogic::PasteClick() {
    clsPoly points;
    {
        plat::BusyCursor busy;
        points = GetPolyFromClip();
    }
    if (points.Count() == 0) {
        plat::MsgBox(QStringLiteral("クリップボードに有効なデータがありません."), plat::MbExclamation);
        return;
    }
    PasteNodes(points);
}

void FigPolyLogic::PasteNodes(const clsPoly& points) {
    plat::BusyCursor busy;
    NodeRows rows = takeRows();
    NodeRows pasted;
    pasted.reserve(static_cast<size_t>(points.Count()));
    for (int32_t i = 1; i <= points.Count(); ++i) pasted.push_back(newRow(points.GetPoint(i), kNoMark));
    int32_t r = 0;
    if (rows.empty()) {
        rows = std::move(pasted);
        r = points.Count();
    } else {
        r = std::clamp(grid_.Row(), 1, NodeCount());
        rows.insert(rows.begin() + (r - 1), pasted.begin(), pasted.end());
        r += points.Count();
    }
    putRows(rows);
    SetCurrentRow(r - 1);
}

void FigPolyLogic::InsertClick() {
    int32_t r = 1;
    if (NodeCount() > 0) {
        r = grid_.Row() >= 1 ? grid_.Row() : 1;
        NodeRow copy{};
        for (int32_t c = ColX; c < ColCount; ++c) copy[static_cast<size_t>(c)] = grid_.TextMatrix(r, c);
        copy[ColMark] = kNoMark;
        grid_.AddItem(QStringList(copy.begin(), copy.end()).join(QLatin1Char('\t')), r);
    } else {
        const NodeRow origin = newRow({0, 0}, kNoMark);
        grid_.AddItem(QStringList(origin.begin(), origin.end()).join(QLatin1Char('\t')));
        grid_.setFixedRows(1);
    }
    renumber();
    SetCurrentRow(r);
}

void FigPolyLogic::DeleteClick() {
    int32_t r = grid_.Row();
    const int32_t n = NodeCount();
    if (n < 2 || r < 1 || r > n) return;
    if (IsLoopGrid() && (r == 1 || r == n)) {
        // The ring loses its first node and closes on the next one.
        grid_.RemoveItem(1);
        for (int32_t c = ColX; c < ColCount; ++c) grid_.setTextMatrix(n - 1, c, grid_.TextMatrix(1, c));
    } else {
        grid_.RemoveItem(r);
    }
    r = std::min(r, NodeCount());
    renumber();
    SetCurrentRow(r);
}

void FigPolyLogic::RotationClick() {
    const int32_t r = grid_.Row();
    const int32_t n = NodeCount();
    // Only a ring can start anywhere: an open list would lose its first node.
    if (r <= 1 || r >= n || !IsLoopGrid()) return;
    plat::BusyCursor busy;
    NodeRows rows = takeRows();
    // [1, 2, ..., n] with n = 1 becomes [r, ..., n, 2, ..., r].
    NodeRows turned(rows.begin() + (r - 1), rows.end());
    turned.insert(turned.end(), rows.begin() + 1, rows.begin() + r);
    putRows(turned);
    SetCurrentRow(1);
}

void FigPolyLogic::ReverseClick() {
    plat::BusyCursor busy;
    NodeRows rows = takeRows();
    std::reverse(rows.begin(), rows.end());
    putRows(rows);
    SetCurrentRow(Vars().ActiveNode);
}

bool FigPolyLogic::ShiftNodes(int64_t dx, int64_t dy) {
    plat::BusyCursor busy;
    clsPoly moved = GridToPoly();
    for (int32_t i = 1; i <= moved.Count(); ++i)
        moved.SetXandY(i, Narrow(moved.x(i) + dx), Narrow(moved.y(i) + dy));
    if (!inRange(moved)) return false;
    for (int32_t i = 1; i <= moved.Count(); ++i) setValue(i, moved.GetPoint(i));
    SetCurrentRow(Vars().ActiveNode);
    return true;
}

bool FigPolyLogic::ScaleNodes(double rx, double ry) {
    const std::optional<PolyPoint> c = GetCurrentXY();
    if (!c) return false;
    plat::BusyCursor busy;
    clsPoly scaled = GridToPoly();
    auto scale = [](int32_t v, int32_t centre, double ratio) {
        const double d = std::nearbyint(static_cast<double>(int64_t{v} - centre) * ratio / 100);
        return Narrow(static_cast<int64_t>(std::clamp(d, -4e18, 4e18)) + centre);
    };
    for (int32_t i = 1; i <= scaled.Count(); ++i)
        scaled.SetXandY(i, scale(scaled.x(i), c->x, rx), scale(scaled.y(i), c->y, ry));
    if (!inRange(scaled)) return false;
    for (int32_t i = 1; i <= scaled.Count(); ++i) setValue(i, scaled.GetPoint(i));
    SetCurrentRow(Vars().ActiveNode);
    return true;
}

void FigPolyLogic::MoveClick() {
    const std::optional<PolyPoint> from = GetCurrentXY();
    const FigPolyWindows& w = InstalledFigPolyWindows();
    if (!from || !WindowBuilt(bool(w.draw), QStringLiteral("地図上の編集画面"))) return;
    DrawWindowRequest req;
    req.PointX = from->x;
    req.PointY = from->y;
    req.MapLevel = Vars().MapUnit->Map().Level();
    req.firstPosition = childCorner(600, 600);
    if (!runChild([&] { return w.draw(req); })) return;
    ShiftNodes(int64_t{req.PointX} - from->x, int64_t{req.PointY} - from->y);
}

void FigPolyLogic::ZoomClick() {
    const double rx = AskRatio(QStringLiteral("横"));
    if (!IsZoomRatio(rx)) return;
    const double ry = AskRatio(QStringLiteral("縦"));
    if (!IsZoomRatio(ry)) return;
    ScaleNodes(rx, ry);
}

void FigPolyLogic::RegularPolygonClick() {
    const FigPolyWindows& w = InstalledFigPolyWindows();
    if (!WindowBuilt(bool(w.regularPolygon), QStringLiteral("正多角形の生成画面"))) return;
    RegularPolygonRequest req;
    req.MapMode = mapMode_;
    const std::optional<PolyPoint> current = GetCurrentXY();
    const PolyPoint centre = current ? *current : w.viewCentre ? w.viewCentre(mapMode_) : PolyPoint{};
    req.CenterX = centre.x;
    req.CenterY = centre.y;
    req.firstPosition = childCorner(400, 800);
    if (!runChild([&] { return w.regularPolygon(req); })) return;
    ReplaceNodes(req.Result, 1);
}

void FigPolyLogic::GreatCircleClick() {
    if (mapMode_ != 1 || NodeCount() == 0) return;
    plat::BusyCursor busy;
    clsPoly route = GlobePolyGreatCircle(GridToPoly(), 3600);
    PolyCollection parts = GlobePolyChopPole(route, 18000, true);
    // Beyond a pole the line breaks; what follows the first break is dropped.
    if (!parts.empty()) ReplaceNodes(parts.front(), 1);
}

void FigPolyLogic::CurveClick() {
    const QString answer = plat::InputBox(QStringLiteral("辺数の倍率を指定してください. [2～10]\r\n"
                                                         "・大きいほど滑らかだがノードが多くなる\r\n"
                                                         "・先頭に [B] を付けると『３次Ｂスプライン』"),
                                          QStringLiteral("３次スプラインによる曲線化"), QStringLiteral("4"));
    const bool bSpline = answer.left(1).toUpper() == QStringLiteral("B");
    const int32_t k = JstrToLong(bSpline ? answer.mid(1) : answer);
    if (k < 2 || k > 10) return;
    plat::BusyCursor busy;
    const clsPoly nodes = GridToPoly();
    ReplaceNodes(bSpline ? BSpline3rd(nodes, k) : Spline3rd(nodes, k), 1);
}

void FigPolyLogic::PressClick() {
    plat::BusyCursor busy;
    clsPoly nodes = GridToPoly();
    nodes.CompressHalf();
    ReplaceNodes(nodes, 1);
}

void FigPolyLogic::OnMapClick() {
    const FigPolyWindows& w = InstalledFigPolyWindows();
    if (!WindowBuilt(bool(w.draw), QStringLiteral("地図上の編集画面"))) return;
    DrawWindowRequest req;
    req.polyMode = true;
    req.Poly = GridToPoly();
    req.ActIndex = grid_.Row();
    req.MapLevel = Vars().MapUnit->Map().Level();
    req.firstPosition = childCorner(600, 600);
    if (!runChild([&] { return w.draw(req); })) return;
    ReplaceNodes(req.Poly, req.ActIndex);
}

void FigPolyLogic::TraceClick() {
    const FigPolyWindows& w = InstalledFigPolyWindows();
    if (mapMode_ != 1 || !WindowBuilt(bool(w.trace), QStringLiteral("トレース画面"))) return;
    TraceWindowRequest req;
    req.polyMode = true;
    req.Poly = GridToPoly();
    req.ActiveNode = grid_.Row();
    req.firstPosition = childCorner(600, 600);
    if (!runChild([&] { return w.trace(req); })) return;
    ReplaceNodes(req.Poly, req.ActiveNode);
}
