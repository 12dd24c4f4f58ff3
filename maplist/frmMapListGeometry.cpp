// The Edit menu's geometry commands of the figure list. Every command
// changes a copy of the row's figure and hands it to the map as a whole
// (RenewLine), never the figure the map holds: one undo then brings the old
// points back, and a locked map is not touched even in memory.
#include "frmMapListLogic.h"

#include <cmath>

#include "DoEvents.h"
#include "MessageBox.h"
#include "basAngle.h"
#include "basNumberText.h"
#include "MapListHost.h"
#include "basSplineLib.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"

namespace {

constexpr int32_t kStatusPeriod = 512;
constexpr int64_t kHalfTurn = 648000;
constexpr int64_t kQuarterTurn = 324000;

bool IsLine(const clsMapFigure& f) { return f.FigCode() == 2 || f.FigCode() == 3; }


struct CurveVariant {
    const char16_t* title;
    const char16_t* note;
    clsPoly (*smooth)(const clsPoly&, int32_t);
};

const CurveVariant& Curve(int k) {
    static const CurveVariant variants[3] = {
        {u"３次スプラインによる曲線化", u"現在のノードを代表点として通過します.", Spline3rd},
        {u"３次Ｂスプラインによる曲線化", u"現在のノードを制御点として接近します.", BSpline3rd},
        {u"２次Ｂスプラインによる曲線化", u"現在のノードを制御点として接近します.", BSpline2nd},
    };
    return variants[k - 1];
}

} // namespace

MapFigurePtr frmMapListLogic::sameFigure(const clsMapFigure& f) {
    MapFigurePtr copy = f.Copy();
    copy->setFigID(f.FigID());
    return copy;
}

bool frmMapListLogic::renewFigure(int32_t row, const MapFigurePtr& figure, bool toTrash) {
    // Validity and the lock are the map's to judge, before anything leaves
    // the row: a refused figure costs neither the old one nor the trash.
    if (!MapUnit || !IsValidRow(row) || !figure || !figure->IsRight()) return false;
    clsMap& map = MapUnit->Map();
    MapFigurePtr copy = map.Item(row)->Copy();
    if (!map.Renew(row, figure)) return false;
    if (toTrash) MapUnit->Garbage().Add(copy);
    rows_.InvalidateRow(row);
    takeMarks(row, 1);
    grid_->Refresh();
    return true;
}

bool frmMapListLogic::RenewLine(int32_t row, const MapFigurePtr& figure) {
    const bool ok = renewFigure(row, figure);
    if (IsValidRow(row)) grid_->cells().select(row, 0, row, kCols - 1);
    PrintUnder();
    PrintSelect();
    return ok;
}

clsMap& frmMapListLogic::startBulkEdit() {
    grid_->Refresh();
    plat::DoEvents();
    clsMap& map = MapUnit->Map();
    // One undo reverts the whole command.
    map.ResetUndo();
    grid_->setRedraw(false);
    return map;
}

bool frmMapListLogic::eachSelected(const QString& prefix, const std::function<MapFigurePtr(const clsMapFigure&)>& change,
                                   bool toTrash, bool stopOnRefusal) {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return false;
    const int32_t n = last - first + 1;
    bool any = false;
    {
        LongOperation busy(*this);
        clsMap& map = startBulkEdit();
        for (int32_t i = first; i <= last; ++i) {
            if (!YieldEvents()) break;
            if ((i - first) % kStatusPeriod == 0)
                SetStatusText(prefix + QStringLiteral("%1/%2)").arg(i - first + 1).arg(n));
            const MapFigurePtr fresh = change(*map.Item(i));
            if (!fresh) continue;
            if (renewFigure(i, fresh, toTrash)) any = true;
            // The lock refuses every row alike: once told is enough.
            else if (stopOnRefusal || map.LockMode()) break;
        }
        grid_->setRedraw(true);
    }
    PrintCaption();
    SetStatusText(QString());
    SetSelectRange(first, last);
    return any;
}

// ---------------------------------------------------------- coordinate shift

bool frmMapListLogic::ParseShift(int32_t mapMode, const QString& across, const QString& upDown, int32_t& dx,
                                 int32_t& dy) {
    if (across.isEmpty() || upDown.isEmpty()) return false;
    try {
        if (mapMode == 1) {
            dx = AngleSecStrToVal(across);
            dy = AngleSecStrToVal(upDown);
        } else {
            const double mx = std::nearbyint(StrToMeter(across, QStringLiteral("km")));
            const double my = std::nearbyint(StrToMeter(upDown, QStringLiteral("km")));
            if (!(std::fabs(mx) <= INT32_MAX && std::fabs(my) <= INT32_MAX)) return false;
            dx = static_cast<int32_t>(mx);
            dy = static_cast<int32_t>(my);
        }
    } catch (...) {
        return false;
    }
    return dx != 0 || dy != 0;
}

bool frmMapListLogic::ShiftSelection(int32_t dx, int32_t dy) {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return false;
    const bool globe = MapUnit->Map().MapMode() == 1;
    if (globe) {
        // A latitude has no way round a pole: the whole shift is refused
        // rather than some figures moved and others not.
        for (int32_t i = first; i <= last; ++i) {
            const auto poly = MapUnit->Map().Item(i)->Poly();
            for (int32_t k = 1; poly && k <= poly->Count(); ++k) {
                const int64_t y = int64_t{poly->y(k)} + dy;
                if (y > kQuarterTurn || y < -kQuarterTurn) {
                    plat::MsgBox(QStringLiteral("移動後の緯度が南北９０度を越える図形があるため、座標移動できません."),
                                 plat::MbExclamation, QStringLiteral("座標移動"));
                    return false;
                }
            }
        }
    }
    return eachSelected(QStringLiteral("座標移動中... ("), [&](const clsMapFigure& f) -> MapFigurePtr {
        MapFigurePtr fresh = sameFigure(f);
        const auto poly = std::make_shared<clsPoly>(f.Poly()->Copy());
        for (int32_t k = 1; k <= poly->Count(); ++k) {
            int64_t x = int64_t{poly->x(k)} + dx;
            const int64_t y = int64_t{poly->y(k)} + dy;
            if (globe) {
                x = NormalizeLon(static_cast<int32_t>(x % (4 * kHalfTurn)));
            } else if (x > INT32_MAX || x < INT32_MIN || y > INT32_MAX || y < INT32_MIN) {
                return nullptr;
            }
            poly->SetPoint(k, {static_cast<int32_t>(x), static_cast<int32_t>(y)});
        }
        fresh->setPoly(poly);
        return fresh;
    });
}

void frmMapListLogic::MoveCoordinates() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return;
    const int32_t mode = MapListMapMode();
    const QString title = QStringLiteral("座標移動");
    const QString preset = mode == 1 ? AngleToStr(0) : QStringLiteral("0");
    const QString across = plat::InputBox(mode == 1 ? QStringLiteral("東西方向移動量 (西='-', 東='+')")
                                                    : QStringLiteral("左右方向移動量 (左='-', 右='+')"),
                                          title, preset);
    if (across.isEmpty()) return;
    const QString upDown = plat::InputBox(mode == 1 ? QStringLiteral("南北方向移動量 (南='-', 北='+')")
                                                    : QStringLiteral("上下方向移動量 (下='-', 上='+')"),
                                          title, preset);
    int32_t dx = 0, dy = 0;
    if (!ParseShift(mode, across, upDown, dx, dy)) return;
    ShiftSelection(dx, dy);
}

// ------------------------------------------------- polygons and conversion

void frmMapListLogic::MakePolygons() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return;
    const int32_t thing = pickThing(3, MapUnit->Things().Search(QStringLiteral("海洋")));
    if (thing < 0) return;
    {
        LongOperation busy(*this);
        grid_->Refresh();
        plat::DoEvents();
        clsMap& map = MapUnit->Map();
        map.ResetUndo();
        clsPoly chain;
        int32_t start = 0;
        int32_t admin = 0;
        for (int32_t i = first; i <= last; ++i) {
            if (!YieldEvents()) break;
            if ((i - first) % kStatusPeriod == 0)
                SetStatusText(QStringLiteral("多辺形生成中... (%1/%2)").arg(i - first + 1).arg(last - first + 1));
            const MapFigurePtr f = map.Item(i);
            if (f->FigCode() == 2) {
                clsPoly piece = f->Poly()->Copy();
                const bool joins = chain.Count() > 0 && chain.LastX() == piece.x(1) && chain.LastY() == piece.y(1);
                const bool joinsReversed = chain.Count() > 0 && !joins && chain.LastX() == piece.LastX() &&
                                           chain.LastY() == piece.LastY();
                if (joinsReversed) piece.Reverse();
                if (joins || joinsReversed) {
                    chain.Connect(piece);
                } else {
                    chain = std::move(piece);
                    start = i;
                    admin = f->Admin();
                }
            }
            if (!chain.IsLoop()) continue;
            auto polygon = std::make_shared<clsMapPolygon>();
            polygon->setAdmin(admin);
            polygon->setThing(thing);
            polygon->setPoly(std::make_shared<clsPoly>(std::move(chain)));
            if (!InsLine(start, polygon)) break;
            // The rows from the chain's first polyline on moved down by one.
            ++i;
            ++last;
            chain = clsPoly();
        }
    }
    SetSelectRange(first, last);
    printAfterChange();
}

void frmMapListLogic::ConvertPolylinePolygon() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return;
    const int32_t kind = MapUnit->Map().FigCode(first);
    if (kind != 2 && kind != 3) return;
    const QString label = kind == 2 ? QStringLiteral("連続線→多辺形") : QStringLiteral("多辺形→連続線");
    SetStatusText(label);
    const int32_t thing = pickThing(kind == 2 ? 3 : 2, -1);
    if (thing < 0) {
        SetStatusText(QString());
        return;
    }
    eachSelected(
        label + QStringLiteral(" 変換中... ("),
        [&](const clsMapFigure& f) -> MapFigurePtr {
            if (f.FigCode() != kind) return nullptr;
            MapFigurePtr fresh = kind == 2 ? MapFigurePtr(std::make_shared<clsMapPolygon>())
                                           : MapFigurePtr(std::make_shared<clsMapPolyline>());
            fresh->setAdmin(f.Admin());
            fresh->setOwnColor(f.OwnColor());
            fresh->setOwnShowMode(f.OwnShowMode());
            fresh->setJumpMark(f.JumpMark());
            fresh->setReserve(f.Reserve());
            fresh->setThing(thing);
            // A copy: the old figure stays whole for undo and the trash.
            fresh->setPoly(std::make_shared<clsPoly>(f.Poly()->Copy()));
            return fresh;
        },
        true, true);
}

// ------------------------------------------------------ thinning, smoothing

void frmMapListLogic::CompressSelection() {
    eachSelected(QStringLiteral("圧縮中... ("), [](const clsMapFigure& f) -> MapFigurePtr {
        if (!IsLine(f) || f.Poly()->Count() < 3) return nullptr;
        MapFigurePtr fresh = sameFigure(f);
        auto poly = std::make_shared<clsPoly>(f.Poly()->Copy());
        poly->CompressHalf();
        fresh->setPoly(poly);
        return fresh;
    });
}

int32_t frmMapListLogic::ParseCurveFactor(const QString& answer) {
    const int32_t factor = JstrToLong(answer);
    return factor >= 2 && factor <= 10 ? factor : 0;
}

bool frmMapListLogic::CurveSelection(int k, int32_t factor) {
    if (k < 1 || k > 3 || factor < 2 || factor > 10) return false;
    const CurveVariant& v = Curve(k);
    return eachSelected(QString::fromUtf16(v.title) + QStringLiteral("中... ("),
                        [&](const clsMapFigure& f) -> MapFigurePtr {
                            if (!IsLine(f) || f.Poly()->Count() < 3) return nullptr;
                            auto poly = std::make_shared<clsPoly>(v.smooth(*f.Poly(), factor));
                            if (poly->Count() <= 2) return nullptr;
                            MapFigurePtr fresh = sameFigure(f);
                            fresh->setPoly(poly);
                            return fresh;
                        });
}

void frmMapListLogic::CurveItem(int k) {
    int32_t first = 0, last = 0;
    if (k < 1 || k > 3 || !MapUnit || !GetSelectRange(first, last)) return;
    const CurveVariant& v = Curve(k);
    const QString prompt = QString::fromUtf16(v.note) + QStringLiteral("\r\n\r\n倍率を指定してください. [2～10]") +
                           QStringLiteral("\r\n(大きいほど滑らかだがノードが多くなる)");
    const int32_t factor = ParseCurveFactor(plat::InputBox(prompt, QString::fromUtf16(v.title), QStringLiteral("4")));
    if (factor != 0) CurveSelection(k, factor);
}

// ------------------------------------------------- the row above and below

bool frmMapListLogic::takePoints(int32_t from, bool append) {
    const int32_t r = SelectTopRow();
    if (!MapUnit || !IsValidRow(r) || !IsValidRow(from)) return false;
    clsMap& map = MapUnit->Map();
    const MapFigurePtr own = map.Item(r);
    if (own->FigCode() == 1 || (append && !IsLine(*own))) return false;
    map.ResetUndo();
    MapFigurePtr fresh = own->Copy();
    auto pts = std::make_shared<clsPoly>(map.Item(from)->Poly()->Copy());
    if (append) {
        auto p = std::make_shared<clsPoly>(own->Poly()->Copy());
        if (pts->Count() > 0 && p->Count() > 0 && pts->LastX() == p->LastX() && pts->LastY() == p->LastY()) pts->Reverse();
        p->Connect(*pts);
        pts = p;
    } else if (from < r && pts->Count() > 0 && !IsLine(*own)) {
        // A symbol or text takes the end of the figure above.
        pts->SetPoint(1, {pts->LastX(), pts->LastY()});
    }
    fresh->setPoly(pts);
    const bool ok = RenewLine(r, fresh);
    PrintCaption();
    return ok;
}

void frmMapListLogic::PosPrev() { takePoints(SelectTopRow() - 1, false); }

void frmMapListLogic::PosNext() { takePoints(SelectTopRow() + 1, false); }

void frmMapListLogic::PosAdd() { takePoints(SelectTopRow() + 1, true); }

void frmMapListLogic::Junction() {
    const int32_t r = SelectTopRow();
    // Only a join the map took may cost the row below.
    if (takePoints(r + 1, true) && DelLine(r + 1)) PrintRowCount();
    PrintSelect();
    PrintUnder();
    PrintCaption();
}
