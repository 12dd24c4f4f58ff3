// The node grid of the polyline and polygon dialog, its splitting and OK.
#include <algorithm>

#include "LongOperation.h"
#include "basAngle.h"
#include "basGlobePolyLib.h"
#include "basHMapEdit.h"
#include "clsMap.h"
#include "frmFigPoly.h"

namespace {

const QString kMarkNone = QStringLiteral(" ");
const QString kMarkCurrent = QStringLiteral("*");
const QString kMarkCut = QStringLiteral("<");
const QString kMarkCutCurrent = QStringLiteral("< *");

bool IsCutMark(const QString& mark) { return mark == kMarkCut || mark == kMarkCutCurrent; }

QString TitleOf(const FigureDialogVars& vars) {
    return vars.Figure ? vars.Figure->FigName(2) + QStringLiteral("図形プロパティ") : QString();
}

} // namespace

QString NodeXText(int32_t mapMode, int32_t x) {
    return mapMode == 1 ? LonToStr(x) : QStringLiteral("%1").arg(x / 1000.0, 12, 'f', 3);
}

QString NodeYText(int32_t mapMode, int32_t y) {
    return mapMode == 1 ? LatToStr(y) : QStringLiteral("%1").arg(y / 1000.0, 12, 'f', 3);
}

FigPolyLogic::FigPolyLogic(FigureDialogVars& vars, plat::FlexGridData& grid)
    : FigureDialogLogic(vars, TitleOf(vars)), grid_(grid) {}

bool FigPolyLogic::Load() {
    if (!LoadCommon()) return false;
    const int32_t code = Work().FigCode();
    if (code != 2 && code != 3) return false;
    mapMode_ = Vars().MapUnit->Map().MapMode() == 2 ? 2 : 1;
    const std::shared_ptr<clsPoly> nodes = Work().Poly();
    Vars().ActiveNode = std::clamp(Vars().ActiveNode, 0, nodes->Count());
    grid_.setCols(ColCount);
    grid_.setRows(1);
    grid_.setTextMatrix(0, ColX, XTitle());
    grid_.setTextMatrix(0, ColY, YTitle());
    PolyToGrid(*nodes);
    SetCurrentRow(Vars().ActiveNode);
    return true;
}

long FigPolyLogic::HelpContext() const { return Work().FigCode() == 3 ? kHelpPolygon : kHelpPolyline; }
QString FigPolyLogic::XTitle() const { return mapMode_ == 1 ? QStringLiteral("経度") : QStringLiteral("Ｘ"); }
QString FigPolyLogic::YTitle() const { return mapMode_ == 1 ? QStringLiteral("緯度") : QStringLiteral("Ｙ"); }
QString FigPolyLogic::XToolTip() const {
    return mapMode_ == 1 ? QStringLiteral("ノードの経度を編集") : QStringLiteral("ノードのＸ座標を編集");
}
QString FigPolyLogic::YToolTip() const {
    return mapMode_ == 1 ? QStringLiteral("ノードの緯度を編集") : QStringLiteral("ノードのＹ座標を編集");
}

int32_t FigPolyLogic::minPoints() const { return Work().FigCode() == 3 ? 4 : 2; }

// -- rows

PolyPoint FigPolyLogic::valueAt(int32_t row) const {
    return {grid_.TextMatrix(row, ColValueX).toInt(), grid_.TextMatrix(row, ColValueY).toInt()};
}

void FigPolyLogic::setValue(int32_t row, const PolyPoint& p) {
    grid_.setTextMatrix(row, ColX, NodeXText(mapMode_, p.x));
    grid_.setTextMatrix(row, ColY, NodeYText(mapMode_, p.y));
    grid_.setTextMatrix(row, ColValueX, QString::number(p.x));
    grid_.setTextMatrix(row, ColValueY, QString::number(p.y));
}

void FigPolyLogic::setRow(int32_t row, const PolyPoint& p, const QString& mark) {
    setValue(row, p);
    grid_.setTextMatrix(row, ColMark, mark);
}

void FigPolyLogic::renumber() {
    for (int32_t r = 1; r <= NodeCount(); ++r) grid_.setTextMatrix(r, ColNumber, QString::number(r));
}

FigPolyLogic::NodeRows FigPolyLogic::takeRows() const {
    NodeRows rows(static_cast<size_t>(NodeCount()));
    for (int32_t r = 1; r <= NodeCount(); ++r)
        for (int32_t c = 0; c < ColCount; ++c) rows[static_cast<size_t>(r - 1)][static_cast<size_t>(c)] = grid_.TextMatrix(r, c);
    return rows;
}

void FigPolyLogic::putRows(const NodeRows& rows) {
    grid_.setRows(1);
    grid_.setRows(static_cast<int32_t>(rows.size()) + 1);
    for (int32_t r = 1; r <= NodeCount(); ++r) {
        const NodeRow& row = rows[static_cast<size_t>(r - 1)];
        grid_.setTextMatrix(r, ColNumber, QString::number(r));
        for (int32_t c = ColX; c < ColCount; ++c) grid_.setTextMatrix(r, c, row[static_cast<size_t>(c)]);
    }
    grid_.setFixedRows(1);
}

FigPolyLogic::NodeRow FigPolyLogic::newRow(const PolyPoint& p, const QString& mark) const {
    return {QString(), NodeXText(mapMode_, p.x), NodeYText(mapMode_, p.y), mark, QString::number(p.x),
            QString::number(p.y)};
}

void FigPolyLogic::PolyToGrid(const clsPoly& nodes) {
    NodeRows rows;
    rows.reserve(static_cast<size_t>(nodes.Count()));
    const int32_t star = Vars().ActiveNode;
    for (int32_t i = 1; i <= nodes.Count(); ++i)
        rows.push_back(newRow(nodes.GetPoint(i), i == star ? kMarkCurrent : kMarkNone));
    putRows(rows);
}

clsPoly FigPolyLogic::GridToPoly() const {
    clsPoly p;
    p.setCount(NodeCount());
    for (int32_t r = 1; r <= NodeCount(); ++r) p.SetPoint(r, valueAt(r));
    return p;
}

PolyCollection FigPolyLogic::GridToPolies() const {
    const int32_t m = minPoints();
    const int32_t n = NodeCount();
    PolyCollection pieces;
    clsPoly piece;
    for (int32_t i = 1; i <= n; ++i) {
        const PolyPoint p = valueAt(i);
        piece.AddPoint(p);
        if (i >= 2 && i <= n - 1 && IsCutMark(MarkOf(i))) {
            if (piece.Count() >= m) pieces.push_back(std::move(piece));
            piece = clsPoly();
            piece.AddPoint(p);
        }
    }
    if (piece.Count() >= m) pieces.push_back(std::move(piece));
    if (mapMode_ != 1) return pieces;
    PolyCollection parts;
    const bool closed = Work().FigCode() == 3;
    for (clsPoly& p : pieces)
        for (clsPoly& part : GlobePolyRound(p, 0, false, closed))
            if (part.Count() >= m) parts.push_back(std::move(part));
    return parts;
}

std::optional<PolyPoint> FigPolyLogic::GetCurrentXY() const {
    const int32_t r = grid_.Row();
    if (r < 1 || r > NodeCount()) return std::nullopt;
    return valueAt(r);
}

void FigPolyLogic::SetCurrentRow(int32_t r) {
    r = std::clamp(r, 0, std::max(grid_.Rows() - 1, 0));
    if (NodeCount() >= 1 && r == 0) r = 1;
    grid_.setRow(r);
    RowChanged();
}

void FigPolyLogic::RowChanged() {
    const int32_t r = grid_.Row();
    if (r >= 1 && r <= NodeCount()) Vars().ActiveNode = r;
}

bool FigPolyLogic::IsLoopGrid() const {
    const int32_t n = NodeCount();
    return n >= 4 && valueAt(1) == valueAt(n);
}

QString FigPolyLogic::PolyInfo() const {
    return QStringLiteral("形状:") + (IsLoopGrid() ? QStringLiteral("閉鎖線") : QStringLiteral("開放線")) +
           QStringLiteral(" , ノード数:") + QString::number(NodeCount());
}

NodeButtons FigPolyLogic::Buttons() const {
    const int32_t n = NodeCount();
    const int32_t row = grid_.Row();
    const bool closed = IsLoopGrid();
    NodeButtons b;
    b.reduction = closed ? n > 4 : n > 2;
    b.reverse = n >= 2;
    b.rotation = closed && row >= 2 && row <= n;
    b.move = n >= 1;
    b.great = mapMode_ == 1;
    b.trace = mapMode_ == 1;
    return b;
}

QString FigPolyLogic::GridToolTip(int32_t col) const {
    switch (col) {
    case ColNumber: return QStringLiteral("ノードを選択");
    case ColX: return XToolTip();
    case ColY: return YToolTip();
    case ColMark: return QStringLiteral("切断候補(<)を設置/除去");
    default: return QString();
    }
}

// -- editing in place

bool FigPolyLogic::CommitCell(int32_t col, const QString& text) {
    const int32_t r = grid_.Row();
    if (r < 1 || r > NodeCount() || (col != ColX && col != ColY)) return true;
    if (text == grid_.TextMatrix(r, col)) return true;
    const MapCoordinateText& reader = InstalledMapCoordinateText();
    const auto& read = col == ColX ? reader.strToXSafe : reader.strToYSafe;
    const auto& valid = col == ColX ? reader.isValidX : reader.isValidY;
    const int32_t v = read ? read(text) : kInvalidMapCoordinate;
    if (!valid || !valid(v, true)) return false;
    PolyPoint p = valueAt(r);
    (col == ColX ? p.x : p.y) = v;
    setValue(r, p);
    return true;
}

void FigPolyLogic::ToggleCut(int32_t row) {
    if (row < 2 || row > NodeCount() - 1) return;
    const QString mark = MarkOf(row);
    const bool current = mark.contains(kMarkCurrent);
    const bool cut = IsCutMark(mark);
    grid_.setTextMatrix(row, ColMark, cut ? (current ? kMarkCurrent : kMarkNone) : (current ? kMarkCutCurrent : kMarkCut));
}

// -- OK

OkOutcome FigPolyLogic::OkClick() {
    PolyCollection pieces;
    {
        plat::BusyCursor busy;
        pieces = GridToPolies();
    }
    FigureList results;
    if (!pieces.empty()) Work().setPoly(std::make_shared<clsPoly>(pieces.front()));
    for (clsPoly& piece : pieces) {
        MapFigurePtr f = Work().Copy();
        f->setPoly(std::make_shared<clsPoly>(std::move(piece)));
        if (!f->IsRight()) return AskCorrectSettings() ? OkOutcome::Stay : OkOutcome::Cancelled;
        results.push_back(std::move(f));
    }
    const int32_t row = grid_.Row();
    const OkOutcome outcome = Finish(std::move(results));
    if (outcome == OkOutcome::Closed) Vars().ActiveNode = row;
    return outcome;
}

// -- child windows

plat::DialogPosition FigPolyLogic::childCorner(int32_t dx, int32_t dy) const {
    plat::DialogPosition p = windowCorner ? windowCorner() : plat::DialogPosition{};
    return {p.left + dx, p.top + dy};
}

bool FigPolyLogic::inRange(const clsPoly& nodes) const {
    const MapCoordinateText& reader = InstalledMapCoordinateText();
    if (!reader.isValidX || !reader.isValidY) return false;
    for (int32_t i = 1; i <= nodes.Count(); ++i)
        if (!reader.isValidX(nodes.x(i), true) || !reader.isValidY(nodes.y(i), true)) return false;
    return true;
}

bool FigPolyLogic::ReplaceNodes(const clsPoly& nodes, int32_t currentRow) {
    if (!inRange(nodes)) return false;
    PolyToGrid(nodes);
    SetCurrentRow(currentRow);
    return true;
}
