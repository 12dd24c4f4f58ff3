// The engine's state and setters, and the phased drawing.
#include "clsMapPlot.h"
#include "clsMapPlotAhead.h"

#include <algorithm>
#include <optional>

#include "AppState.h"
#include "DoEvents.h"
#include "ErrorMng.h"
#include "PrjServices.h"
#include "Gdi.h"
#include "ResString.h"
#include "VectorState.h"
#include "basApiLib.h"
#include "basBaseMap.h"
#include "basGlobe.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapUnits.h"
#include "clsPostScript.h"

clsMapPlot* gvMapPlotLL = nullptr;
clsMapPlot* gvMapPlotXY = nullptr;

namespace {

const QString kClass = QStringLiteral("clsMapPlot");

constexpr int32_t kHalfTurn = 648000;
constexpr int32_t kTurn = 1296000;
constexpr int32_t kQuarterTurn = 324000;

// The bit of a figure kind in FigureDisp and FigurePick.
int16_t KindBit(int32_t code) { return code >= 1 && code <= 5 ? int16_t(1 << (code - 1)) : int16_t(0); }

double envVal(const char* key, double def, double lo, double hi) {
    return gvEnvironment ? gvEnvironment->GetVal(QString::fromLatin1(key), def, lo, hi) : def;
}

QString envString(const QString& key, const QString& def) {
    return gvEnvironment ? gvEnvironment->GetString(key, def) : def;
}

QString slotKey(int32_t slot) { return QStringLiteral("DirectPrjName0") + QString::number(slot); }

} // namespace

clsMapPlot::clsMapPlot() : mapScale_(MapScaleMax / 50) {
    try {
        grid_.setUnitMode(1);
        dpix_ = dpiy_ = Clamp(ScreenDPI(), 48, 1440);
        isNT_ = IsWindowsNT();
        setProjectionIndex(1);
        ReadRegistry();
        highLat_ = SafeCLng(envVal("PlotHighLat", 270000, 162000, 324000));
        lowLat_ = SafeCLng(envVal("PlotLowLat", 54000, 0, 162000));
        smallRatio_ = envVal("PlotSmallRatio", 5, 1, 10000);
        highPrj_ = DirectPrjNameToCode(envString(QStringLiteral("PlotHighPrjKald"), plat::LoadResString(5104)));
        middlePrj_ = DirectPrjNameToCode(envString(QStringLiteral("PlotMiddlePrjKald"), plat::LoadResString(5103)));
        lowPrj_ = DirectPrjNameToCode(envString(QStringLiteral("PlotLowPrjKald"), plat::LoadResString(5102)));
        smallPrj_ = DirectPrjNameToCode(envString(QStringLiteral("PlotSmallPrjKald"), plat::LoadResString(5101)));
        chopPitch_ = SafeCLng(envVal("PlotChopPitch", 16, 1, 100));
        flatPitch_ = SafeCLng(envVal("PlotFlatPitch", 0, 0, 50));
        gridPitch_ = SafeCLng(envVal("PlotGridPitch", 50, 1, 100));
        canvasPoly_ = std::make_shared<clsPoly>();
        figLine_ = std::make_shared<clsFigPolyline>();
        figArea_ = std::make_shared<clsFigPolygon>();
        figSymbol_ = std::make_shared<clsFigSymbol>();
        figText_ = std::make_shared<clsFigText>();
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Class_Initialize"));
    }
}

clsMapPlot::~clsMapPlot() {
    try {
        if (busy_) DrawEnd();
        WriteRegistry();
    } catch (...) {
        // A settings store that cannot be written must not end the program here.
    }
}

QString clsMapPlot::RegistrySection() const {
    if (mapMode_ == 1) return QStringLiteral("LLPLOT");
    if (mapMode_ == 2) return QStringLiteral("XYPLOT");
    return QString();
}

// ---------------------------------------------------------------------------
// Setters

void clsMapPlot::sethdc(plat::HDC dc) {
    if (busy_) return;
    hdc_ = dc;
    technology_ = dc ? dc->GetDeviceCaps(plat::TECHNOLOGY) : 0;
}

void clsMapPlot::setCanvasLeft(int32_t v) {
    if (busy_) return;
    const int32_t w = CanvasWidth();
    canvas_.x1 = std::min(v, INT32_MAX - w + 1);
    canvas_.x2 = canvas_.x1 + w - 1;
    SetCanvasOrigin();
}

void clsMapPlot::setCanvasTop(int32_t v) {
    if (busy_) return;
    const int32_t h = CanvasHeight();
    canvas_.y1 = std::min(v, INT32_MAX - h + 1);
    canvas_.y2 = canvas_.y1 + h - 1;
    SetCanvasOrigin();
}

void clsMapPlot::setCanvasWidth(int32_t v) {
    if (busy_) return;
    canvas_.x1 = std::min(canvas_.x1, INT32_MAX - 32766);
    canvas_.x2 = canvas_.x1 + Clamp(v, 32, 32767) - 1;
    SetCanvasOrigin();
}

void clsMapPlot::setCanvasHeight(int32_t v) {
    if (busy_) return;
    canvas_.y1 = std::min(canvas_.y1, INT32_MAX - 32766);
    canvas_.y2 = canvas_.y1 + Clamp(v, 32, 32767) - 1;
    SetCanvasOrigin();
}

void clsMapPlot::setdpix(int32_t v) {
    if (!busy_) dpix_ = Clamp(v, 48, 1440);
}

void clsMapPlot::setdpiy(int32_t v) {
    if (!busy_) dpiy_ = Clamp(v, 48, 1440);
}

void clsMapPlot::setCenterX(int32_t v) {
    if (busy_) return;
    if (mapMode_ == 1) {
        int64_t x = v;
        if (x > kHalfTurn) x -= ((x - kHalfTurn - 1) / kTurn + 1) * kTurn;
        if (x < -kHalfTurn) x += ((-kHalfTurn - x - 1) / kTurn + 1) * kTurn;
        centerX_ = static_cast<int32_t>(x);
    } else {
        centerX_ = Clamp(v, -MaxXY, MaxXY);
    }
}

void clsMapPlot::setCenterY(int32_t v) {
    if (busy_) return;
    centerY_ = mapMode_ == 1 ? Clamp(v, -kQuarterTurn, kQuarterTurn) : Clamp(v, -MaxXY, MaxXY);
}

void clsMapPlot::setMapScale(double v) {
    if (!busy_ && IsMapScale(v)) mapScale_ = v;
}

void clsMapPlot::setLight(double v) {
    if (!busy_ && IsLightRatio(v)) light_ = v;
}

void clsMapPlot::setPtnRatio(int32_t v) {
    if (v >= 10 && v <= 1000) ptnRatio_ = v;
}

QString clsMapPlot::ProjectionName() {
    if (!busy_) GetWork();
    return envString(slotKey(workIndex_), QStringLiteral("--- 未定義 ---"));
}

int16_t clsMapPlot::DirectPrjNameToCode(const QString& name) const {
    for (int32_t slot = 0; slot <= 4; ++slot)
        if (envString(slotKey(slot), QString()) == name) return int16_t(slot);
    return -1;
}

int16_t clsMapPlot::DirectToMain() {
    try {
        if (!busy_) GetWork();
        switch (workIndex_) {
        case 0: return PrjIndexOfName(QString());
        case 1:
        case 2: return PrjIndexOfName(plat::LoadResString(5012));
        case 3: return PrjIndexOfName(plat::LoadResString(5023));
        case 4: return PrjIndexOfName(plat::LoadResString(5006));
        default: return -1;
        }
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DirectToMain"));
    }
}

// ---------------------------------------------------------------------------
// Drawing

std::shared_ptr<clsMapUnit> clsMapPlot::BaseUnit() const { return MapUnits ? MapUnits->Base() : nullptr; }

bool clsMapPlot::BaseShown() const {
    const std::shared_ptr<clsMapUnit> base = BaseUnit();
    return base && base->DisplaySwitch();
}

void clsMapPlot::PsComment(const QString& text) const {
    if (gvMapGraph && gvMapGraph->PostScriptEi()) gvMapGraph->oPostScript()->psComment(text);
}

void clsMapPlot::RaiseProgress() {
    const int16_t n = phase_++;
    if (Progress) Progress(n);
    // Between phases too: clearing a large canvas and its ocean take tens of
    // milliseconds each. (The pump also clears the vector state that the
    // handler may have left, drawing through Qt.)
    pumpEvents_();
}

bool clsMapPlot::DrawStart() {
    try {
        if (busy_ || !gvMapGraph) return false;
        if (!gvMapGraph->GraphBegin(hdc_, CanvasLeft(), CanvasTop(), CanvasWidth(), CanvasHeight())) return false;
        gvMapGraph->setResolutionX(dpix_);
        gvMapGraph->setResolutionY(dpiy_);
        gvMapGraph->setTextRatio(ptnRatio_);
        gvMapGraph->setSymbolRatio(ptnRatio_);
        gvMapGraph->Pause = [this] { pumpEvents_(); };
        busy_ = true;
        Cancel = false;
        pumpEvents_.Restart();
        phaseIndex_.clear();
        try {
            GetWork();
        } catch (...) {
            DrawEnd();
            throw;
        }
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DrawStart"));
    }
}

void clsMapPlot::DrawEnd() {
    try {
        // Waits for the helpers still at work: they read the engine.
        prefetched_.clear();
        prefetch_.reset();
        ShiftOff();
        phaseIndex_.clear();
        if (gvMapGraph) {
            gvMapGraph->Pause = nullptr;
            gvMapGraph->GraphEnd();
            gvMapGraph->oSymbols().setResolution(0);
        }
        busy_ = false;
    } catch (...) {
        busy_ = false;
        RaiseError(ErrGeneral, kClass, QStringLiteral("DrawEnd"));
    }
}

int16_t clsMapPlot::Replot() {
    try {
        plat::ClearUpperVectorState();
        if (!DrawStart()) return 2;
        // However the drawing ends, the engine is idle afterwards.
        struct EndOnExit {
            clsMapPlot& p;
            ~EndOnExit() {
                if (!p.busy_) return;
                try {
                    p.DrawEnd();
                } catch (...) {
                }
            }
        } endOnExit{*this};
        auto stopped = [this] {
            DrawEnd();
            detailNow_ = DetailEnable;
            return int16_t(1);
        };

        prefetchPhases();
        phase_ = 0;
        RaiseProgress();
        detailNow_ = false;
        if (!DrawClear()) return stopped();
        RaiseProgress();
        if (!DrawOcean()) return stopped();
        RaiseProgress();
        detailNow_ = DetailEnable;
        auto gridLayers = [this] {
            detailNow_ = false;
            if (!DrawGrid()) return false;
            RaiseProgress();
            if (!DrawGridString()) return false;
            RaiseProgress();
            detailNow_ = DetailEnable;
            return true;
        };
        if (GridOcean) {
            if (!gridLayers() || !PlotPhase(3)) return stopped();
        } else {
            if (!PlotPhase(3) || !gridLayers()) return stopped();
        }
        if (!PlotPhase(2) || !PlotPhase(4) || !PlotPhase(5)) return stopped();
        detailNow_ = false;
        if (!DrawAzimuthLine()) return stopped();
        detailNow_ = DetailEnable;
        RaiseProgress();
        DrawEnd();
        return 0;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Replot"));
    }
}

bool clsMapPlot::DrawClear() {
    try {
        PsComment(QStringLiteral("---- clear canvas ----"));
        ThingPtr thing;
        const std::shared_ptr<clsMapUnit> base = BaseUnit();
        if (base) {
            const int16_t n = base->Things().Search(QStringLiteral("背景"));
            if (n >= 0) thing = base->Things().Item(n);
        }
        if (!thing) {
            thing = std::make_shared<clsThing>();
            thing->setFigure(3);
            thing->setPage(1);
            thing->setStyle(8);
            thing->setFore(0xFFFFFF);
            thing->setBack(-1);
        }
        if (base) {
            if (const AdminPtr world = base->Admins().Item(0)) thing->setPage(world->Page());
        }
        gvMapGraph->SetBrush(thing->Style(), thing->Fore(), thing->Back());
        gvMapGraph->DrawClear();
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DrawClear"));
    }
}

bool clsMapPlot::DrawOcean() {
    try {
        if (mapMode_ != 1 || !(FigureDisp & KindBit(3)) || !BaseShown()) return true;
        const std::shared_ptr<clsMapUnit> base = BaseUnit();
        const MapFigurePtr ocean = BaseMapOceanArea(field_, base.get());
        // A base catalogue without the ocean thing has no ocean layer; the
        // rest of the map is drawn all the same.
        if (!ocean) return true;
        PsComment(QStringLiteral("---- ocean ----"));
        // The ocean is one rectangle about longitude 0: drawn with the view
        // moved there, so that it needs no copy across the date line.
        struct Recentre {
            clsMapPlot& p;
            int32_t centerX;
            bool wrap;
            Recentre(clsMapPlot& plot) : p(plot), centerX(plot.centerX_), wrap(plot.wrapEnabled_) {
                p.field_.x1 -= centerX;
                p.field_.x2 -= centerX;
                p.centerX_ = 0;
                p.wrapEnabled_ = false;
            }
            ~Recentre() {
                p.centerX_ = centerX;
                p.field_.x1 += centerX;
                p.field_.x2 += centerX;
                p.wrapEnabled_ = wrap;
            }
        } recentre(*this);
        PlotCell(base->ToCell(ocean));
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DrawOcean"));
    }
}

bool clsMapPlot::DrawGrid() {
    try {
        if (!GridEnable || !(FigureDisp & KindBit(2)) || !BaseShown()) return true;
        PsComment(QStringLiteral("---- grid line ----"));
        CalcGridPitch();
        CalcGridRange();
        const std::shared_ptr<clsMapUnit> base = BaseUnit();
        if (!PlotCollection(BaseMapGridV(grid_, base.get()))) return false;
        return PlotCollection(BaseMapGridH(grid_, base.get()));
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DrawGrid"));
    }
}

bool clsMapPlot::DrawGridString() {
    try {
        if (!GridEnable || !GridString || mapMode_ != 1 || !(FigureDisp & KindBit(5)) || !BaseShown()) return true;
        PsComment(QStringLiteral("---- grid text ----"));
        CalcGridPitch();
        return PlotCollection(BaseMapGridTexts(*this));
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DrawGridString"));
    }
}

bool clsMapPlot::DrawAzimuthLine() {
    try {
        if (!(FigureDisp & KindBit(2)) || mapMode_ != 1 || !BaseShown()) return true;
        const std::vector<MapFigurePtr> lines =
            BaseMapAzimuthLine(AzimuthLine, centerX_, centerY_, mapScale_, BaseUnit().get());
        if (lines.empty()) return true;
        PsComment(QStringLiteral("---- azimuth line ----"));
        return PlotCollection(lines);
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DrawAzimuthLine"));
    }
}

bool clsMapPlot::DrawCell(const clsMapCell& cell) {
    try {
        return PlotCell(cell);
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DrawCell"));
    }
}

bool clsMapPlot::PlotCell(const clsMapCell& cell) {
    if (!cell.CellFigure) return false;
    // The previous figure was drawn through Qt; this one is projected first.
    plat::ClearUpperVectorState();
    if (AdmShowModeEnable && cell.CellAdmin && !cell.CellAdmin->Show()) return false;
    bool drawn = false;
    if (const FigurePtr fig = BuildFigure(cell, true)) drawn = fig->Plot(detailNow_);
    if (wrapEnabled_ && ShiftOn()) {
        struct Unshift {
            clsMapPlot& p;
            ~Unshift() { p.ShiftOff(); }
        } unshift{*this};
        if (const FigurePtr fig = BuildFigure(cell, true); fig && fig->Plot(detailNow_)) drawn = true;
    }
    return drawn;
}

bool clsMapPlot::PlotPhase(int16_t phase) {
    try {
        if (gvMapGraph && gvMapGraph->PostScriptEi())
            PsComment(QStringLiteral("---- phase / ") + FigCodeToName(phase, 1) + QStringLiteral(" ----"));
        bool ok = PlotPhaseSub(phase);
        if (ok && wrapEnabled_ && ShiftOn()) {
            struct Unshift {
                clsMapPlot& p;
                ~Unshift() { p.ShiftOff(); }
            } unshift{*this};
            ok = PlotPhaseSub(phase);
        }
        if (ok) RaiseProgress();
        return ok;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("PlotPhase"));
    }
}

std::vector<std::shared_ptr<clsPoly>> clsMapPlot::aheadSources(
    const std::vector<std::pair<size_t, const clsMapFigure*>>& list) const {
    std::vector<std::shared_ptr<clsPoly>> sources;
    sources.reserve(list.size());
    for (const auto& entry : list) {
        sources.push_back(entry.second->Poly());
        // Bounds are worked out here, so that the helpers only read.
        sources.back()->IsOverlapArea(field_);
    }
    return sources;
}

// Below this many points, waking the helpers costs more than they save.
static constexpr int64_t kAheadPoints = 20000;

void clsMapPlot::prefetchPhases() {
    if (!MapUnits || ProjectionHelpers == 0 || !(FigureDisp & (KindBit(2) | KindBit(3)))) return;
    // The passes in drawing order: areas, then lines; each first as it is,
    // then shifted for the copy across the date line.
    struct Pass {
        MapUnitPtr unit;
        std::shared_ptr<const PhaseIndex> index;
        bool shifted;
    };
    std::vector<Pass> passes;
    for (const bool shifted : {false, true}) {
        if (shifted && !(wrapEnabled_ && ShiftOn())) break;
        for (const MapUnitPtr& unit : *MapUnits)
            if (unit->DisplaySwitch())
                passes.push_back(Pass{unit, phaseIndexOf(unit, unit->Map().MapCollection()), shifted});
        if (shifted) ShiftOff();
    }
    std::vector<Ahead::Section> sections;
    std::vector<Prefetched> prefetched;
    int64_t points = 0;
    for (const int16_t phase : {int16_t(3), int16_t(2)}) {
        if (!(FigureDisp & KindBit(phase))) continue;
        for (const Pass& pass : passes) {
            const auto& list = pass.index->lists[size_t(phase - 2)];
            if (list.empty()) continue;
            if (pass.shifted) ShiftOn();
            sections.push_back(Ahead::Section{aheadSources(list), field_, centerX_});
            if (pass.shifted) ShiftOff();
            for (const auto& source : sections.back().sources) points += source->Count();
            prefetched.push_back(Prefetched{pass.unit.get(), pass.index.get(), phase, sections.size() - 1});
        }
    }
    if (points < kAheadPoints) return;
    prefetch_ = std::make_shared<Ahead>(*this, std::move(sections));
    prefetched_ = std::move(prefetched);
}

bool clsMapPlot::PlotPhaseSub(int16_t phase) {
    if (!(FigureDisp & KindBit(phase))) return true;
    // The whole pass is shifted by PlotPhase, not each cell by PlotCell.
    struct WrapOff {
        clsMapPlot& p;
        bool was;
        explicit WrapOff(clsMapPlot& plot) : p(plot), was(plot.wrapEnabled_) { p.wrapEnabled_ = false; }
        ~WrapOff() { p.wrapEnabled_ = was; }
    } wrapOff(*this);
    if (!MapUnits) return true;
    // Handlers run by the event loop may change the set or a map: the units
    // are held here, and figures are read by position.
    const std::vector<MapUnitPtr> units(MapUnits->begin(), MapUnits->end());
    for (const MapUnitPtr& unit : units) {
        pumpEvents_();
        if (Cancel) return false;
        if (!unit->DisplaySwitch()) continue;
        PsComment(QStringLiteral("  ---- map file / ") + unit->UnitName());
        const clsMap::FigureList& figures = unit->Map().MapCollection();
        if (phase < 2 || phase > 5) continue;
        // Held: a handler could end the drawing, which drops the index.
        const std::shared_ptr<const PhaseIndex> index = phaseIndexOf(unit, figures);
        const auto& list = index->lists[size_t(phase - 2)];
        // Lines and areas are projected ahead on helper threads; each result
        // is handed to ProjectPoly as its figure is drawn.
        std::shared_ptr<Ahead> ahead;
        size_t section = 0;
        if (phase == 2 || phase == 3) {
            const auto it = std::find_if(prefetched_.begin(), prefetched_.end(), [&](const Prefetched& p) {
                return p.unit == unit.get() && p.index == index.get() && p.phase == phase;
            });
            // Its results are handed over once.
            if (it != prefetched_.end()) {
                if (prefetch_->For(it->section, field_, centerX_)) {
                    ahead = prefetch_;
                    section = it->section;
                }
                prefetched_.erase(it);
            }
            if (!ahead && list.size() >= 32 && ProjectionHelpers != 0) {
                Ahead::Sources sources = aheadSources(list);
                int64_t points = 0;
                for (const auto& source : sources) points += source->Count();
                if (points >= kAheadPoints)
                    ahead = std::make_shared<Ahead>(
                        *this, std::vector<Ahead::Section>{Ahead::Section{std::move(sources), field_, centerX_}});
            }
        }
        for (size_t k = 0; k < list.size(); ++k) {
            const auto& [i, figure] = list[k];
            // A handler may have replaced the figure meanwhile: the one in
            // its place now is drawn if it belongs here. (Adding or removing
            // figures changes the count, which sorts the map anew.)
            if (i < figures.size()) {
                const clsMapFigure& f = *figures[i];
                if (&f == figure && ahead) pre_ = ahead->Take(section, k);
                if (&f == figure || (f.FigCode() == phase && f.IsInner(field_))) PlotCell(unit->ToCell(figures[i]));
                pre_ = PreProjected{};
            }
            // By time, not by count: one detailed outline can cost a
            // millisecond.
            pumpEvents_();
        }
    }
    return true;
}

// One pass over a map's figures sorts those inside the field by phase, so
// that the four phases of a drawing do not each visit every figure.
std::shared_ptr<const clsMapPlot::PhaseIndex> clsMapPlot::phaseIndexOf(const std::shared_ptr<clsMapUnit>& unit,
                                                                        const std::vector<MapFigurePtr>& figures) {
    for (const auto& p : phaseIndex_)
        if (p->unit == unit && p->field == field_ && p->figures == &figures && p->count == figures.size()) return p;
    auto p = std::make_shared<PhaseIndex>(PhaseIndex{unit, field_, &figures, figures.size(), {}});
    for (size_t i = 0; i < figures.size(); ++i) {
        const clsMapFigure& f = *figures[i];
        const int16_t code = f.FigCode();
        if (code >= 2 && code <= 5 && f.IsInner(field_)) p->lists[size_t(code - 2)].emplace_back(i, &f);
    }
    phaseIndex_.push_back(p);
    return p;
}

bool clsMapPlot::PlotCollection(const std::vector<MapFigurePtr>& figures) {
    const std::shared_ptr<clsMapUnit> base = BaseUnit();
    for (const MapFigurePtr& f : figures) {
        if (Cancel) return false;
        if (base && (FigureDisp & KindBit(f->FigCode()))) PlotCell(base->ToCell(f));
    }
    plat::DoEvents();
    return true;
}
