#include "MapSymbolModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "AppState.h"
#include "DistrictColouring.h"
#include "Bitmap.h"
#include "Clock.h"
#include "ErrorMng.h"
#include "ExpStyleModel.h"
#include "FlexGridData.h"
#include "KeyCodes.h"
#include "MapSymbolHost.h"
#include "RangeModel.h"
#include "RasterDC.h"
#include "SysColors.h"
#include "basColorLib.h"
#include "basGlobe.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsEnvironment.h"
#include "clsLine.h"
#include "clsMapGraph.h"
#include "clsMapUnits.h"
#include "clsPoly.h"
#include "clsRect.h"

using plat::FlexGridData;

namespace {

const QString kForm = QStringLiteral("frmMapSymbol");
const QString kCategory = QStringLiteral("category");
const QString kShown = QStringLiteral("表示");
constexpr int32_t kCategories = 20;
constexpr int32_t kPages = 8;

// The hourglass while a list is rebuilt, also when the rebuild fails.
struct Hourglass {
    Hourglass() { ScreenMousePointer(11); }
    ~Hourglass() { ScreenMousePointer(-1); }
};

// Sets a re-entry flag for a scope, and puts back what it was.
class Busy {
public:
    explicit Busy(bool& flag) : flag_(flag), was_(std::exchange(flag, true)) {}
    ~Busy() { flag_ = was_; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& flag_;
    bool was_;
};

// Passes an error on with this dialog's procedure in its source.
template <typename F>
void Reporting(const char* procedure, F&& f) {
    try {
        f();
    } catch (...) {
        RaiseError(ErrFormUnload, kForm, QString::fromLatin1(procedure));
    }
}

} // namespace

QString MapSymbolModel::ThingFormat() {
    return QStringLiteral("^+|<事象名|^図形種|^表示|^可視縮尺範囲|^図式(凡例)|^No|^select");
}

QString MapSymbolModel::AdminFormat() { return QStringLiteral("<行政区名|<事象ページ|<表示"); }

// --- lifecycle ----------------------------------------------------------------------

bool MapSymbolModel::Load() {
    DialogOK = false;
    const auto env = [](const char* key, const QString& def) {
        return gvEnvironment ? gvEnvironment->GetString(QString::fromLatin1(key), def) : def;
    };
    SampleTextE = env("ThingTabTextSampleE", QStringLiteral("Pacific Ocean"));
    SampleTextJ = env("ThingTabTextSampleJ", QStringLiteral("太平洋・ｲﾝﾄﾞ洋"));
    WorkThings.clear();
    WorkAdmins.clear();
    MapNames.clear();
    UnitCount = TargetUnits ? TargetUnits->Count() : 0;
    if (UnitCount < 1) return false;
    for (const MapUnitPtr& unit : *TargetUnits) {
        MapNames << unit->Map().MapName(static_cast<int32_t>(gvLanguage));
        unit->CheckUseThing(true);
        WorkThings.push_back(unit->Things().Copy());
        WorkThings.back()->setModify(false);
        WorkAdmins.push_back(unit->Admins().Copy());
        WorkAdmins.back()->setModify(false);
    }
    if (things_) things_->setRows(1);
    ChooseMap(Clamp(TargetUnits->Index(), 1, UnitCount));
    return true;
}

void MapSymbolModel::ChooseMap(int32_t index) {
    if (index < 1 || index > UnitCount) return;
    ActiveIndex = static_cast<int16_t>(index);
    CurThings = WorkThings[size_t(index - 1)].get();
    CurAdmins = WorkAdmins[size_t(index - 1)].get();
    MakeAreaList();
    MakeAdminList();
    if (things_) things_->setRows(1);
    SetGridData();
}

QString MapSymbolModel::Caption() const {
    QString file;
    if (CurTab == 0 && CurAdmins) file = CurAdmins->FileName();
    else if (CurTab != 0 && CurThings) file = CurThings->FileName();
    return QStringLiteral("地図記号 - ") + FileNameOf(file);
}

void MapSymbolModel::SetPreview(bool on) {
    EiPreview = on;
    if (on) ExePreview();
    else mapsymbolhost::PlotWindow();
}

void MapSymbolModel::SetDispAll(bool on) {
    EiDispAll = on;
    if (things_) things_->setRows(1);
    SetGridData();
}

void MapSymbolModel::ChoosePage(int16_t page) {
    CurPage = static_cast<int16_t>(Clamp(page, 1, kPages));
    if (CurPage >= 2) EiPageSync = false;
    SetGridData();
}

void MapSymbolModel::OK() {
    Hourglass wait;
    TargetUnits->setIndex(ActiveIndex);
    int32_t i = 0;
    for (const MapUnitPtr& unit : *TargetUnits) {
        if (i >= UnitCount) break;
        unit->setThings(WorkThings[size_t(i)]);
        unit->setAdmins(WorkAdmins[size_t(i)]);
        ++i;
    }
    DialogOK = true;
}

void MapSymbolModel::Unload() {
    Hourglass wait;
    if (EiPreview) mapsymbolhost::PlotWindow();
    if (things_) things_->setRows(1);
    if (admins_) admins_->setRows(1);
    CurThings = nullptr;
    CurAdmins = nullptr;
    WorkThings.clear();
    WorkAdmins.clear();
    TargetUnits = nullptr;
}

// --- thing grid --------------------------------------------------------------------

bool MapSymbolModel::IsDataRow(int32_t row) const { return things_ && row >= 1 && row <= things_->Rows() - 1; }

bool MapSymbolModel::IsThingRow(int32_t row) const {
    return IsDataRow(row) && things_->TextMatrix(row, colSelect) != kCategory;
}

int32_t MapSymbolModel::ThingIndexOfRow(int32_t row) const {
    return IsDataRow(row) ? things_->TextMatrix(row, colNo).toInt() : -1;
}

clsThing* MapSymbolModel::thingOfRow(int32_t row) const {
    if (!IsThingRow(row) || !CurThings) return nullptr;
    return CurThings->Item(ThingIndexOfRow(row)).get();
}

bool MapSymbolModel::SelRange(int32_t& top, int32_t& bottom) const {
    top = things_->selTop();
    bottom = things_->selBottom();
    const bool all = things_->Rows() > 1 && bottom == things_->Rows() - 1 && top < 2;
    if (all) top = 1;
    return all;
}

QString MapSymbolModel::ShowModeText(const clsThing& thing) {
    switch (thing.ShowMode()) {
    case -1: return QStringLiteral("依存");
    case 0: return QStringLiteral("隠蔽");
    case 1: return kShown;
    default: return QString();
    }
}

QString MapSymbolModel::ScaleRangeText(const clsThing& thing) {
    if (thing.Figure() == 1) return QString();
    return DoubleToJpUnits(thing.ScaleS(), true) + QStringLiteral("～") + DoubleToJpUnits(thing.ScaleL(), true);
}

void MapSymbolModel::formatCategoryRow(int32_t row) {
    things_->select(row, 0, row, things_->Cols() - 1);
    things_->setFillStyle(plat::flexFillRepeat);
    things_->setCellBackColor(kCategoryBack);
    things_->setCellForeColor(kCategoryFore);
    things_->setCellFontBold(true);
    things_->setCellAlignment(plat::flexAlignCenterCenter);
    things_->setFillStyle(plat::flexFillSingle);
    things_->setRowHeightTwips(row, kCategoryHeight);
}

void MapSymbolModel::SetGridData() {
    if (!things_ || !CurThings) return;
    Reporting("SetGridData", [this] {
        Hourglass wait;
        // Every sample is drawn plain and the selection ends in column 1: the
        // selection changes made meanwhile need no samples redrawn.
        const Busy busy(inSelChange_);
        int32_t top = 0, bottom = 0;
        const bool all = SelRange(top, bottom);
        const int32_t oldRow = things_->Row(), oldRowSel = things_->RowSel();
        std::array<bool, kCategories + 1> open{};
        for (int32_t r = 1; r < things_->Rows(); ++r) {
            const int32_t c = things_->TextMatrix(r, colNo).toInt();
            if (things_->TextMatrix(r, colTree) == QLatin1String("-") && c >= 1 && c <= kCategories) open[size_t(c)] = true;
        }
        redraw(things_, false);
        things_->setRows(1);
        things_->setRowHeightTwips(0, kHeaderHeight);
        for (int32_t c = 1; c <= kCategories; ++c) {
            const QString name = CurThings->CategoryName(c);
            if (name.isEmpty()) continue;
            const bool isOpen = open[size_t(c)];
            const int32_t catRow = things_->Rows();
            things_->AddItem((isOpen ? QStringLiteral("-") : QStringLiteral("+")) + QLatin1Char('\t') + name +
                             QStringLiteral("\t\t\t\t\t") + QString::number(c) + QLatin1Char('\t') + kCategory);
            formatCategoryRow(catRow);
            bool any = false;
            for (const ThingPtr& t : *CurThings) {
                if (t->Category() != c || !(EiDispAll || t->Figure() == 1 || t->Use())) continue;
                t->setPage(CurPage);
                const int32_t row = things_->Rows();
                things_->AddItem(QStringLiteral("\t") + t->Name() + QLatin1Char('\t') + FigCodeToName(t->Figure(), 2) +
                                 QLatin1Char('\t') + ShowModeText(*t) + QLatin1Char('\t') + ScaleRangeText(*t) +
                                 QStringLiteral("\t\t") + QString::number(t->Index()) + QStringLiteral("\toff"));
                RecSample(row, *t, false);
                things_->setRowHeightTwips(row, isOpen ? kThingHeight : 0);
                any = true;
            }
            if (!any) {
                if (things_->Rows() == 2) things_->setRows(1);
                else things_->RemoveItem(catRow);
            }
        }
        const int32_t last = things_->Rows() - 1;
        if (last >= 1) things_->setFixedRows(1);
        things_->setCol(colName);
        if (all) {
            things_->select(last >= 1 ? 1 : 0, colName, last, colName);
        } else if (last >= 1) {
            // The list may have become shorter than the rows remembered.
            things_->setRow(Clamp(oldRow, 1, last));
            things_->setRowSel(Clamp(oldRowSel, 1, last));
        } else {
            things_->setRow(0);
        }
        redraw(things_, true);
    });
}

void MapSymbolModel::GridTree(int32_t row) {
    if (!IsDataRow(row)) return;
    int32_t cat = row;
    while (cat >= 1 && IsThingRow(cat)) --cat;
    if (!IsDataRow(cat)) return;
    const QString mark = things_->TextMatrix(cat, colTree);
    int32_t height = 0;
    if (mark == QLatin1String("+")) {
        things_->setTextMatrix(cat, colTree, QStringLiteral("-"));
        height = kThingHeight;
    } else if (mark == QLatin1String("-")) {
        things_->setTextMatrix(cat, colTree, QStringLiteral("+"));
    } else {
        return;
    }
    for (int32_t r = cat + 1; IsThingRow(r); ++r) things_->setRowHeightTwips(r, height);
}

void MapSymbolModel::GridShowmode(int32_t row) {
    clsThing* t = thingOfRow(row);
    if (!t || t->Figure() == 1) return;
    Reporting("GridShowmode", [&] {
        t->setPage(CurPage);
        const int16_t mode = t->ShowMode() == -1 ? 0 : t->ShowMode() == 0 ? 1 : -1;
        if (EiPageSync) {
            for (int32_t p = 1; p <= kPages; ++p) {
                t->setPage(p);
                t->setShowMode(mode);
            }
            t->setPage(CurPage);
        } else {
            t->setShowMode(mode);
        }
        SyncMapThing(*t);
        things_->setTextMatrix(row, colShow, ShowModeText(*t));
    });
}

void MapSymbolModel::GridRange(int32_t row) {
    clsThing* t = thingOfRow(row);
    if (!t || t->Figure() == 1 || !ShowRange) return;
    Reporting("GridRange", [&] {
        t->setPage(CurPage);
        RangeModel& range = Range();
        range.RangeTitle = t->Name();
        range.RangeScaleS = t->ScaleS();
        range.RangeScaleL = t->ScaleL();
        if (!ShowRange(range) || !range.DialogOK) return;
        for (int32_t p = EiPageSync ? 1 : CurPage; p <= (EiPageSync ? kPages : CurPage); ++p) {
            t->setPage(p);
            t->setScaleS(range.RangeScaleS);
            t->setScaleL(range.RangeScaleL);
            t->setShowMode(-1);
        }
        t->setPage(CurPage);
        SyncMapThing(*t);
        things_->setTextMatrix(row, colShow, ShowModeText(*t));
        things_->setTextMatrix(row, colRange, ScaleRangeText(*t));
    });
}

void MapSymbolModel::GridAttribute(int32_t row) {
    clsThing* t = thingOfRow(row);
    if (!t || t->Figure() == 1) return;
    Reporting("GridAttribute", [&] {
        t->setPage(CurPage);
        bool ok = false;
        int32_t fore = 0, back = -1;
        int16_t style = 0;
        if (t->Figure() == 5) {
            TextStyleFields f{t->Name(), t->Fore(), t->Back(), t->Style(), t->Size(), t->Europian(), t->Japanese()};
            ok = ShowTextStyle && ShowTextStyle(f);
            if (ok) {
                t->setSize(f.Size);
                t->setEuropian(f.EuropianFont);
                t->setJapanese(f.JapaneseFont);
                fore = f.Fore, back = f.Back, style = f.Style;
            }
        } else {
            ExpStyleModel* m = t->Figure() == 2   ? static_cast<ExpStyleModel*>(&ExpPolyline())
                               : t->Figure() == 3 ? static_cast<ExpStyleModel*>(&ExpPolygon())
                               : t->Figure() == 4 ? static_cast<ExpStyleModel*>(&ExpSymbol())
                                                  : nullptr;
            if (!m || !ShowStyle) return;
            m->Title = t->Name();
            m->Fore = t->Fore();
            m->Back = t->Back();
            m->Style = t->Style();
            if (t->Figure() == 2) ExpPolyline().Size = t->Size();
            ok = ShowStyle(*m) && m->DialogOK;
            if (ok) {
                if (t->Figure() == 2) t->setSize(ExpPolyline().Size);
                fore = m->Fore, back = m->Back, style = m->Style;
            }
        }
        if (!ok) return;
        t->setFore(fore);
        t->setBack(back);
        t->setStyle(style);
        if (EiPageSync) {
            for (int32_t p = 1; p <= kPages; ++p) {
                if (p == CurPage) continue;
                const double s = t->PageRecord(p).ScaleS, l = t->PageRecord(p).ScaleL;
                t->CopyPage(CurPage, p);
                t->setPage(p);
                t->setScaleS(s);
                t->setScaleL(l);
            }
            t->setPage(CurPage);
        }
        SyncMapThing(*t);
        RecSample(row, *t, false);
    });
}

void MapSymbolModel::ThingClick(int32_t row, int32_t col) {
    if (row < 1) return;
    switch (col) {
    case colTree: GridTree(row); return;
    case colShow: GridShowmode(row); break;
    case colRange: GridRange(row); break;
    case colSample: GridAttribute(row); break;
    default: return;
    }
    if (IsThingRow(row)) ExePreview();
}

void MapSymbolModel::ThingDblClick(int32_t mouseRow) {
    if (!things_) return;
    const int32_t last = things_->Rows() - 1;
    if (mouseRow == 0) {
        if (last >= 1) things_->select(1, colName, last, colName);
        return;
    }
    if (!IsDataRow(mouseRow) || IsThingRow(mouseRow) || !IsThingRow(mouseRow + 1)) return;
    int32_t end = mouseRow + 1;
    while (IsThingRow(end + 1)) ++end;
    things_->select(mouseRow + 1, colName, end, colName);
}

bool MapSymbolModel::ThingSelChange() {
    if (!things_ || inSelChange_) return false;
    const Busy busy(inSelChange_);
    const int32_t top = things_->selTop(), bottom = things_->selBottom();
    const bool anyThing = ThingSelected();
    const bool samplesSelected = things_->selLeft() <= colSample && things_->selRight() >= colSample;
    redraw(things_, false);
    for (int32_t r = 1; r < things_->Rows(); ++r) {
        clsThing* t = thingOfRow(r);
        if (!t) continue;
        const bool on = samplesSelected && r >= top && r <= bottom;
        if ((things_->TextMatrix(r, colSelect) == QLatin1String("on")) != on) RecSample(r, *t, on);
    }
    redraw(things_, true);
    return anyThing;
}

bool MapSymbolModel::ThingSelected() const {
    if (!things_) return false;
    for (int32_t r = std::max(things_->selTop(), 1); r <= things_->selBottom(); ++r)
        if (IsThingRow(r)) return true;
    return false;
}

QString MapSymbolModel::ThingToolTip(int32_t row, int32_t col) const {
    if (col < 0 || col >= colNo || row < 0) return QString();
    if (row == 0) {
        static const std::array<const char16_t*, 6> kWhat = {u"カテゴリーを展開", u"事象の名称を示す", u"図形の種類を示す",
                                                             u"「事象別表示モード」を示す", u"「可視縮尺範囲」を示す",
                                                             u"図形の描画属性を示す"};
        return QStringLiteral("見出し行(ダブルクリックで全行選択) / この桁は") + QString::fromUtf16(kWhat[size_t(col)]);
    }
    if (!IsDataRow(row)) return QString();
    if (col == colTree) return QStringLiteral("カテゴリーを開閉");
    if (!IsThingRow(row)) return QStringLiteral("カテゴリー行(ダブルクリックでカテゴリー内全行選択)");
    switch (col) {
    case colName: {
        const QString pick = QStringLiteral("行(事象)の選択");
        const QString name = things_->TextMatrix(row, colName);
        return name.size() >= 11 ? pick + QStringLiteral(" 「") + name + QStringLiteral("」") : pick;
    }
    case colKind: return QStringLiteral("行(事象)の選択");
    case colShow: return QStringLiteral("「事象別表示モード」を変更");
    case colRange: return QStringLiteral("「可視縮尺範囲」を変更");
    default: return QStringLiteral("図形の描画属性を変更");
    }
}

// --- the thing popup ---------------------------------------------------------------

namespace {

// One ladder step of a range bound; a step off the ladder leaves it.
void StepBound(clsThing& t, int32_t step, bool small) {
    const double now = small ? t.ScaleS() : t.ScaleL();
    const double next = ScaleOfLevel(static_cast<int16_t>(LevelOfScale(now) + step));
    if (small)
        t.setScaleS(next);
    else
        t.setScaleL(next);
}

} // namespace

void MapSymbolModel::cmdThings(int32_t code) {
    if (!things_ || !CurThings || code < popRestore || code > popPaste) return;
    int32_t first = 0, last = 0;
    const bool whole = SelRange(first, last);
    if (last < 1) return;
    const int32_t col = things_->Col(), colSel = things_->ColSel();
    int32_t color = 0;
    if (code == popFore || code == popBack) {
        color = InputRealColor(0);
        if (color < 0) return;
    }
    Reporting("cmdThings", [&] {
        const Hourglass hourglass;
        redraw(things_, false);
        for (int32_t r = std::max(first, 1); r <= last; ++r) {
            clsThing* t = thingOfRow(r);
            if (!t) continue;
            const int32_t from = EiPageSync ? 1 : CurPage, to = EiPageSync ? kPages : CurPage;
            for (int32_t p = from; p <= to; ++p) {
                t->setPage(p);
                switch (code) {
                case popRestore: t->Recovery(p); break;
                case popShow: t->setShowMode(1); break;
                case popHide: t->setShowMode(0); break;
                case popDepend: t->setShowMode(-1); break;
                case popUp:
                case popDown: {
                    const int32_t step = code == popUp ? -1 : 1;
                    StepBound(*t, step, true);
                    StepBound(*t, step, false);
                    t->setShowMode(-1);
                    break;
                }
                case popFore: t->setFore(color); break;
                case popBack: t->setBack(color); break;
                case popCopy:
                    if (r == first && p == CurPage) {
                        CopiedFore = t->Fore();
                        CopiedBack = t->Back();
                    }
                    break;
                case popPaste:
                    if (CopiedFore >= 0) t->setFore(CopiedFore);
                    if (CopiedBack >= -1) t->setBack(CopiedBack);
                    break;
                default: break;
                }
            }
            t->setPage(CurPage);
            things_->setTextMatrix(r, colShow, ShowModeText(*t));
            things_->setTextMatrix(r, colRange, ScaleRangeText(*t));
            RecSample(r, *t, false);
            SyncMapThing(*t);
        }
        redraw(things_, true);
        things_->select(first, col, last, colSel);
        if (code == popRestore && whole) {
            CurThings->setModify(false);
            if (EiUnitSync)
                for (const auto& list : WorkThings) list->setModify(false);
        }
    });
    ExePreview();
}

// --- the coloured district map -------------------------------------------------------

bool MapSymbolModel::ColoredMapEnabled() const {
    if (!TargetUnits) return false;
    const MapUnitPtr unit = TargetUnits->Item(ActiveIndex);
    if (!unit) return false;
    const int16_t kind = MapCodeKind(unit->Map().MapCode());
    return kind == 3 || kind == 6;
}

namespace {

HSVRecord HsvOf(int32_t color) { return RGBtoHSV(ColorToRgb(color)); }
int32_t ColorOf(const HSVRecord& hsv) { return RgbToColor(HSVtoRGB(hsv)); }
// Whole degrees, halves to the even neighbour, turned by step.
double TurnHue(double h, int32_t step) { return double((step + int32_t(std::nearbyint(h))) % 360); }

} // namespace

void MapSymbolModel::ColoredMap() {
    if (!CurThings || !CurAdmins) return;
    const ThingPtr& land = CurThings->Item(CurThings->Search(QStringLiteral("陸地")));
    if (!land) {
        MsgError(QStringLiteral("事象 [陸地] が存在しません."));
        return;
    }
    Reporting("cmdColoredMap_Click", [&] {
        clsThing& t = *land;
        t.SameOne();
        t.setPage(1);
        HSVRecord f = HsvOf(t.Fore()), b = HsvOf(t.Back());
        const int mode = f.V < 0.25 ? 1 : f.S < 0.1 ? 2 : 3;
        if (mode == 1) {
            f.V = 0.75;
            f.S /= 4;
            t.setFore(ColorOf(f));
            b.V = 1.0;
            b.S /= 4;
            t.setBack(ColorOf(b));
            t.setStyle(1);
            t.SameOne();
        } else if (mode == 2) {
            b.S = f.S;
            t.setBack(ColorOf(b));
        }
        const auto n = static_cast<int32_t>(
            gvEnvironment ? gvEnvironment->GetVal(QStringLiteral("ColoredMapNum"), 4, 2, kPages) : 4);
        const int32_t step = 360 / n;
        for (int32_t p = 2; p <= n; ++p) {
            t.setPage(p);
            if (mode == 1) {
                t.setStyle(p % 6);
            } else if (mode == 2) {
                f.S += 0.64 / n;
                t.setFore(ColorOf(f));
                b.S += 0.64 / n;
                t.setBack(ColorOf(b));
            } else {
                f.H = TurnHue(f.H, step);
                t.setFore(ColorOf(f));
                if (t.Back() != -1) {
                    b.H = TurnHue(b.H, step);
                    t.setBack(ColorOf(b));
                }
            }
        }
        t.setPage(CurPage);
        for (int32_t r = 1; things_ && r < things_->Rows(); ++r) {
            if (IsThingRow(r) && ThingIndexOfRow(r) == t.Index()) {
                RecSample(r, t, false);
                break;
            }
        }
        SyncMapThing(t);
        std::function<int32_t(int32_t)> draw = Draw;
        if (!draw) draw = [](int32_t k) { return std::clamp(1 + int32_t(plat::Rnd() * k), 1, k); };
        // Each district draws the page it takes when no neighbour holds it.
        std::vector<std::pair<AdminPtr, int32_t>> drawn;
        for (const AdminPtr& a : *CurAdmins) drawn.emplace_back(a, draw(n));
        const MapUnitPtr unit = TargetUnits ? TargetUnits->Item(ActiveIndex) : nullptr;
        const DistrictGraph graph =
            unit ? DistrictNeighbours(unit->Map(), t.Index(), kBorderTolerance) : DistrictGraph();
        std::vector<int32_t> preferred(graph.codes.size(), 1);
        for (const auto& [a, page] : drawn)
            if (const int32_t i = graph.IndexOf(a->AdminCode()); i >= 0) preferred[size_t(i)] = page;
        const DistrictColours colours = ColourDistricts(graph, n, preferred);
        ColouredClashes = static_cast<int32_t>(colours.clashes.size());
        for (const auto& [a, page] : drawn) {
            const int32_t i = graph.IndexOf(a->AdminCode());
            a->setPage(i >= 0 ? colours.page[size_t(i)] : page);
        }
        MakeAdminList();
    });
    ExePreview();
}

// --- samples and preview -------------------------------------------------------------

QImage MapSymbolModel::DrawSample(clsThing& thing, bool highlighted) const {
    const int32_t w = std::max(SampleWidth, 2), h = std::max(SampleHeight, 2);
    const plat::HBITMAP surface = plat::Bitmap::Create(w, h, 32);
    if (!surface) return QImage();
    {
        plat::RasterDC dc(surface);
        clsMapGraph& g = StyleGraph();
        g.oSymbols().setResolution(0);
        const GraphScope scope{g};
        if (g.GraphBegin(&dc, 0, 0, w, h)) {
            const auto back = static_cast<int32_t>(plat::TranslateColor(highlighted ? GridBackColorSel : GridBackColor));
            g.SetBrush(8, back, 0);
            g.DrawClear();
            if (thing.Figure() != 1) {
                clsPoly half;
                half.AddXandY(w, 0);
                half.AddXandY(0, h);
                half.AddXandY(w, h);
                g.SetBrush(8, kSampleGrey, 0);
                g.DrawPolygon(half);
            }
            thing.setPage(CurPage);
            const int32_t fore = thing.Fore(), bk = thing.Back();
            switch (thing.Figure()) {
            case 2:
                g.SetPen(thing.Style(), thing.Size(), fore, bk);
                g.DrawLine(clsLine(4, h / 2, w - 4, h / 2));
                break;
            case 3:
                g.SetBrush(thing.Style(), fore, bk);
                g.DrawFillRect(clsRect(5, 3, w - 6, h - 5));
                break;
            case 4:
                g.SetSymbol(thing.Style(), fore, bk);
                g.DrawPaint(w / 2, h / 2);
                break;
            case 5:
                g.SetFont(thing.FontName(), thing.Size(), 0, static_cast<uint8_t>(thing.Style()), fore, bk);
                g.DrawText(0, h / 2, 11, gvLanguage == 1 ? SampleTextE : SampleTextJ);
                break;
            default: break;
            }
        }
    }
    return surface->image().copy();
}

void MapSymbolModel::RecSample(int32_t row, clsThing& thing, bool highlighted) {
    if (!IsDataRow(row)) return;
    const QImage picture = DrawSample(thing, highlighted);
    const Busy busy(inSelChange_);   // the selection is back as it was at the end
    const int32_t r = things_->Row(), c = things_->Col(), rs = things_->RowSel(), cs = things_->ColSel();
    things_->select(row, colSample, row, colSample);
    things_->setCellPicture(picture);
    things_->setTextMatrix(row, colSelect, highlighted ? QStringLiteral("on") : QStringLiteral("off"));
    things_->select(r, c, rs, cs);
}

void MapSymbolModel::ExePreview() {
    if (!EiPreview || !TargetUnits) return;
    Reporting("ExePreview", [this] {
        // The copies stand in the units' places only for this redraw; the
        // units get their own catalogues back however it ends.
        struct Exchange {
            MapSymbolModel& m;
            std::vector<MapUnitPtr> swapped;
            ~Exchange() {
                for (size_t i = 0; i < swapped.size(); ++i) {
                    std::swap(swapped[i]->Things(), *m.WorkThings[i]);
                    std::swap(swapped[i]->Admins(), *m.WorkAdmins[i]);
                }
                if (m.EnableForm) m.EnableForm(true);
            }
        } exchange{*this, {}};
        for (const MapUnitPtr& unit : *TargetUnits) {
            const size_t i = exchange.swapped.size();
            if (int32_t(i) >= UnitCount) break;
            std::swap(unit->Things(), *WorkThings[i]);
            std::swap(unit->Admins(), *WorkAdmins[i]);
            exchange.swapped.push_back(unit);
        }
        if (EnableForm) EnableForm(false);
        mapsymbolhost::PlotWindowWithoutCruise();
    });
}

// --- districts ---------------------------------------------------------------------

QString MapSymbolModel::AdminShowText(const clsAdmin& admin) {
    return admin.Show() ? kShown : QStringLiteral("隠蔽");
}

void MapSymbolModel::MakeAreaList() {
    AreaNames.clear();
    AreaCodes.clear();
    if (!CurAdmins) return;
    for (int32_t a = 0; a < kCategories; ++a) {
        const QString name = CurAdmins->AreaName(a, static_cast<int32_t>(gvLanguage));
        if (name.isEmpty()) continue;
        AreaNames << name;
        AreaCodes.push_back(a);
    }
    CurArea = Clamp(CurArea, 0, static_cast<int32_t>(AreaNames.size()) - 1);
}

int32_t MapSymbolModel::CurAreaCode() const {
    return CurArea >= 0 && size_t(CurArea) < AreaCodes.size() ? AreaCodes[size_t(CurArea)] : -1;
}

void MapSymbolModel::ChooseArea(int32_t index) {
    CurArea = index;
    MakeAdminList();
}

void MapSymbolModel::MakeAdminList() {
    if (!admins_ || !CurAdmins) return;
    redraw(admins_, false);
    admins_->setRows(1);
    const int32_t area = CurAreaCode();
    for (const AdminPtr& a : *CurAdmins) {
        if (a->AreaCode() != area) continue;
        admins_->AddItem(a->AdminName() + QLatin1Char('\t') + QString::number(a->Page()) + QLatin1Char('\t') +
                         AdminShowText(*a));
    }
    const int32_t last = admins_->Rows() - 1;
    if (last >= 1) {
        admins_->setFixedRows(1);
        admins_->select(1, 0, last, 0);
        admins_->Sort(plat::flexSortStringNoCaseAscending);
        admins_->setRow(1);
    }
    redraw(admins_, true);
}

int32_t MapSymbolModel::AdminRowPage() const {
    if (!admins_ || admins_->Row() < 1) return 1;
    return admins_->TextMatrix(admins_->Row(), 1).toInt();
}

void MapSymbolModel::SetAdminPage(int32_t page) {
    const int32_t p = WrapRange(page, 1, kPages);
    editDistricts([p](clsAdmin& a) { a.setPage(p); }, 1, [](const clsAdmin& a) { return QString::number(a.Page()); });
}

void MapSymbolModel::SetAdminShow(bool show) {
    editDistricts([show](clsAdmin& a) { a.setShow(show); }, 2, AdminShowText);
}

void MapSymbolModel::editDistricts(const std::function<void(clsAdmin&)>& edit, int32_t col,
                                   const std::function<QString(const clsAdmin&)>& text) {
    if (!admins_ || !CurAdmins) return;
    if (EiAreaSync) {
        const int32_t area = CurAreaCode();
        for (const AdminPtr& a : *CurAdmins) {
            if (a->AreaCode() != area) continue;
            edit(*a);
            SyncMapAdmin(*a);
        }
        MakeAdminList();
        ExePreview();
        return;
    }
    const int32_t row = admins_->Row();
    if (row < 1) return;
    if (const AdminPtr& a = CurAdmins->Item(CurAdmins->Search(admins_->TextMatrix(row, 0)))) {
        edit(*a);
        admins_->setTextMatrix(row, col, text(*a));
        SyncMapAdmin(*a);
    }
    ExePreview();
}

bool MapSymbolModel::AdminClick(int32_t row, int32_t col) {
    if (!admins_ || row < 1 || row >= admins_->Rows()) return false;
    switch (col) {
    case 0: SetAdminPage(admins_->TextMatrix(row, 1).toInt() + 1); return false;
    case 1: return true;
    case 2: SetAdminShow(admins_->TextMatrix(row, 2) != kShown); return false;
    default: return false;
    }
}

void MapSymbolModel::AdminKeyDown(int& keyCode) {
    if (!admins_) return;
    if (keyCode == plat::KeySpace) {
        SetAdminPage(AdminRowPage() + 1);
        keyCode = 0;
    } else if (keyCode >= plat::Key0 + 1 && keyCode <= plat::Key0 + kPages) {
        SetAdminPage(keyCode - plat::Key0);
        keyCode = 0;
    } else if (keyCode >= plat::KeyNumpad0 + 1 && keyCode <= plat::KeyNumpad0 + kPages) {
        SetAdminPage(keyCode - plat::KeyNumpad0);
        keyCode = 0;
    } else if (keyCode == plat::KeyInsert) {
        if (admins_->Row() >= 1) SetAdminShow(admins_->TextMatrix(admins_->Row(), 2) != kShown);
        keyCode = 0;
    }
}

void MapSymbolModel::AllAdminOne() {
    if (!CurAdmins) return;
    for (const AdminPtr& a : *CurAdmins) a->setPage(1);
    MakeAdminList();
    ChoosePage(1);
    ExePreview();
}

void MapSymbolModel::AllAdminShow(bool show) {
    if (!CurAdmins) return;
    for (const AdminPtr& a : *CurAdmins) a->setShow(show);
    MakeAdminList();
    ExePreview();
}

QString MapSymbolModel::AdminToolTip(int32_t col) {
    switch (col) {
    case 0: return QStringLiteral("クリックで次ページ");
    case 1: return QStringLiteral("プルダウンリストで選択");
    case 2: return QStringLiteral("表示スイッチ反転");
    default: return QString();
    }
}

// --- sync into the other units' copies -----------------------------------------------

void MapSymbolModel::SyncMapThing(const clsThing& thing) {
    if (!EiUnitSync) return;
    for (const auto& list : WorkThings) {
        if (list->LockMode()) continue;
        const int16_t n = list->Search(thing.Name());
        const ThingPtr& target = list->Item(n);
        if (!target || target.get() == &thing) continue;
        // In place, so the thing keeps its position in the list.
        const bool use = target->Use();
        *target = thing;
        target->setIndex(n);
        target->setUse(use);
        target->setModify(true);
    }
}

void MapSymbolModel::SyncMapAdmin(const clsAdmin& admin) {
    if (!EiUnitSync) return;
    for (const auto& list : WorkAdmins) {
        if (list->LockMode()) continue;
        const int16_t c = list->Search(admin.AdminName());
        const AdminPtr& target = list->Item(c);
        if (!target || target.get() == &admin) continue;
        *target = admin;
        target->setAdminCode(c);
        target->setModify(true);
    }
}

MapSymbolModel& MapSymbol() {
    static MapSymbolModel m;
    return m;
}
