// Graticule pitch and extent, the nearest-element search and the engine's
// settings section.
#include "clsMapPlot.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ErrorMng.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsMapUnits.h"
#include "SettingsStore.h"
#include "clsRegistry.h"

namespace {

const QString kClass = QStringLiteral("clsMapPlot");

constexpr double kNoDistance = 1.79769313486231E+308;
constexpr double kRadPerSec = 4.848136811095355e-6;

// Graticule spacings, ascending: arc-seconds from 1 minute to 60 degrees.
constexpr std::array<int64_t, 27> kPitchLL = {60,    90,    120,   150,   180,   240,    300,    450,   600,
                                              900,   1200,  1800,  2700,  3600,  5400,   7200,   9000,  10800,
                                              14400, 18000, 27000, 36000, 54000, 72000, 108000, 162000, 216000};

// Metres: 1, 1.5, 2, 2.5, 4, 5 and 7.5 times 10^2 .. 10^8, then 10^9.
const std::vector<int64_t>& PitchXY() {
    static const std::vector<int64_t> v = [] {
        std::vector<int64_t> r;
        int64_t p = 100;
        for (int k = 2; k <= 8; ++k, p *= 10)
            for (int64_t m : {10, 15, 20, 25, 40, 50, 75}) r.push_back(p * m / 10);
        r.push_back(1000000000);
        return r;
    }();
    return v;
}

int32_t toLong(long long v) { return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); }

} // namespace

// ---------------------------------------------------------------------------
// Graticule

void clsMapPlot::CalcGridPitch() {
    try {
        if (!GridAuto) return;
        // Map lengths of PlotGridPitch millimetres of output.
        double gx = CanvasToMapLengthX(dpix_ * gridPitch_ * 10 / 254);
        const double gy = CanvasToMapLengthY(dpiy_ * gridPitch_ * 10 / 254);
        // Meridians converge: widen the longitude step for the centre
        // latitude (0.999 keeps the cosine above 0 at a pole).
        if (workIndex_ >= 2) gx = gx / std::cos(centerY_ * kRadPerSec * 0.999);
        const std::vector<int64_t>& xy = PitchXY();
        const int64_t* first = mapMode_ == 1 ? kPitchLL.data() : xy.data();
        const size_t n = mapMode_ == 1 ? kPitchLL.size() : xy.size();
        int64_t pitchX = first[0], pitchY = first[0];
        for (size_t i = 0; i < n; ++i) {
            const int64_t v = first[i];
            if (v <= gy) pitchY = v;
            if (v <= gx && (v == pitchY || (7 * v) / 4 <= gx)) pitchX = v;
        }
        grid_.setWidth(toLong(pitchX));
        grid_.setHeight(toLong(pitchY));
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("CalcGridPitch"));
    }
}

void clsMapPlot::CalcGridRange() {
    try {
        if (GridAuto) {
            int32_t limit = 323970;
            if (mapMode_ == 2) {
                limit = MaxXY;
            } else if (workIndex_ == 3 || workIndex_ == 4) {
                // Lines stop about half an inch of output short of the pole.
                limit = 324000 - Clamp(SafeCLng(CanvasToMapLengthY(dpiy_ / 2)), 30, 36000);
            }
            grid_.setNorthLimit(limit);
            grid_.setSouthLimit(-limit);
        }
        const int64_t half = mapMode_ == 1 ? 648000 : MaxXY;
        grid_.setWest(toLong(std::max<int64_t>(centerX_ - half, field_.x1)));
        grid_.setEast(toLong(std::min<int64_t>(centerX_ + half, field_.x2)));
        grid_.setSouth(std::max(grid_.SouthLimit(), field_.y1));
        grid_.setNorth(std::min(grid_.NorthLimit(), field_.y2));
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("CalcGridRange"));
    }
}

// ---------------------------------------------------------------------------
// Nearest elements

bool clsMapPlot::DistanceElementSub(const clsMapFigure& figure, double& Distance, int32_t& PointIndex,
                                    int32_t& MapX, int32_t& MapY) const {
    try {
        Distance = 1.7E+308;
        PointIndex = 0;
        bool found = false;
        if (!figure.IsInner(field_)) return false;
        const std::shared_ptr<clsPoly> poly = figure.Poly();
        for (int32_t i = 1; i <= poly->Count(); ++i) {
            const PolyPoint p = poly->GetPoint(i);
            int32_t cx = 0, cy = 0;
            if (!PointMapToCanvas(p.x, p.y, cx, cy)) continue;
            const double d = Hypot(double(cx) - SearchX, double(cy) - SearchY);
            if (d < Distance) {
                Distance = d;
                PointIndex = i;
                MapX = p.x;
                MapY = p.y;
                found = true;
            }
        }
        return found;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DistanceElementSub"));
    }
}

bool clsMapPlot::DistanceElement(const clsMapCell& cell, double& Distance, int32_t& PointIndex, int32_t& MapX,
                                 int32_t& MapY) {
    try {
        Distance = kNoDistance;
        if (!cell.CellFigure || !cell.IsValid()) return false;
        const int32_t code = cell.CellFigure->FigCode();
        const int32_t bit = code >= 1 && code <= 5 ? 1 << (code - 1) : 0;
        if (!(FigureDisp & bit) || !(FigurePick & bit)) return false;
        cell.CellThing->setPage(cell.CellAdmin->Page());
        if (!IsCellShown(cell)) return false;
        bool found = DistanceElementSub(*cell.CellFigure, Distance, PointIndex, MapX, MapY);
        if (!found) Distance = kNoDistance;
        if (wrapEnabled_ && ShiftOn()) {
            struct Unshift {
                clsMapPlot& p;
                ~Unshift() { p.ShiftOff(); }
            } unshift{*this};
            double d = 0;
            int32_t i = 0, x = 0, y = 0;
            if (DistanceElementSub(*cell.CellFigure, d, i, x, y) && d < Distance) {
                Distance = d;
                PointIndex = i;
                MapX = x;
                MapY = y;
                found = true;
            }
        }
        return found;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("DistanceElement"));
    }
}

std::vector<SearchInfoPtr> clsMapPlot::SearchNears(bool IncludeAll, bool NearestOnly, double Radius) {
    try {
        std::vector<SearchInfoPtr> result;
        if (!MapUnits) return result;
        int32_t unitIndex = 0;
        for (const MapUnitPtr& unit : *MapUnits) {
            ++unitIndex;
            if (!unit->DisplaySwitch() || !(unit->SearchSwitch() || IncludeAll)) continue;
            int32_t figureIndex = 0;
            for (const MapFigurePtr& figure : unit->Map()) {
                ++figureIndex;
                if (!wrapEnabled_ && !figure->IsInner(field_)) continue;
                const clsMapCell cell = unit->ToCell(figure);
                double d = 0;
                int32_t pointIndex = 0, mx = 0, my = 0;
                if (!DistanceElement(cell, d, pointIndex, mx, my)) continue;
                if (NearestOnly && d < Radius) {
                    Radius = d;
                    result.clear();
                }
                if (d > Radius) continue;
                auto info = std::make_shared<clsSearchInfo>();
                info->Distance = d;
                info->SearchX = SearchX;
                info->SearchY = SearchY;
                info->MapX = mx;
                info->MapY = my;
                info->UnitIndex = unitIndex;
                info->FigureIndex = figureIndex;
                info->PointIndex = pointIndex;
                info->MapUnits = MapUnits;
                info->MapUnit = unit;
                info->Cell = cell;
                result.push_back(std::move(info));
            }
        }
        return result;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("SearchNears"));
    }
}

// ---------------------------------------------------------------------------
// Settings

void clsMapPlot::ReadRegistry() {
    try {
        const clsRegistry r(RegistrySection());
        auto flag = [&r](const char* key, bool def) { return r.RegGetBool(QString::fromLatin1(key), def); };
        auto num = [&r](const char* key, long long def) { return toLong(r.RegGetLong(QString::fromLatin1(key), def)); };
        auto kinds = [&r](const char* key, int16_t current) {
            const long long v = r.RegGetLong(QString::fromLatin1(key), current);
            return v >= INT16_MIN && v <= INT16_MAX ? int16_t(v) : current;
        };
        // A slot of the other map mode would turn the engine into the other
        // mode's engine (and its graticule into the other mode's): ignored.
        const int32_t slot = num("ProjectionIndex", prjIndex_);
        if ((slot == 0) == (mapMode_ == 2)) setProjectionIndex(slot);
        ProjectionAuto = flag("ProjectionAuto", true);
        setCenterX(num("CenterX", 0));
        setCenterY(num("CenterY", mapMode_ == 1 ? 185318 : 0));   // 51°28'38" N
        setMapScale(r.RegGetDouble(QStringLiteral("Scale"), MapScaleMax / 50));
        setLight(r.RegGetDouble(QStringLiteral("Light"), 2.0));
        setdpix(num("DpiX", ScreenDPI()));
        setdpiy(num("DpiY", ScreenDPI()));
        GridEnable = flag("GridEnable", true);
        GridAuto = flag("GridAuto", true);
        GridOcean = flag("GridOcean", false);
        GridString = flag("GridString", true);
        AccessoryEnable = flag("AccessoryEnable", false);
        EdgeEnable = flag("EdgeEnable", true);
        setPtnRatio(num("PatternRatio", 100));
        TextSlant = flag("TextSlant", false);
        FigureDisp = kinds("FigureDisp", 31);
        AzimuthLine = r.RegGet(QStringLiteral("AzimuthLine"), QString());
        FigurePick = kinds("FigurePick", 31);
        DetailEnable = flag("DetailEnable", false);
        FigNativeEnable = flag("FigNativeEnable", true);
        FigShowModeEnable = flag("FigShowModeEnable", true);
        ThgShowModeEnable = flag("ThgShowModeEnable", true);
        AdmShowModeEnable = flag("AdmShowModeEnable", true);
        grid_.ReadRegistry();
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ReadRegistry"));
    }
}

void clsMapPlot::WriteRegistry() const {
    try {
        const plat::SettingsStore::Batch batch;   // one write of the file, not one per key
        clsRegistry r(RegistrySection());
        r.RegPut(QStringLiteral("ProjectionIndex"), prjIndex_);
        r.RegPut(QStringLiteral("ProjectionAuto"), ProjectionAuto);
        r.RegPut(QStringLiteral("CenterX"), centerX_);
        r.RegPut(QStringLiteral("CenterY"), centerY_);
        r.RegPut(QStringLiteral("Scale"), mapScale_);
        r.RegPut(QStringLiteral("Light"), light_);
        r.RegPut(QStringLiteral("DpiX"), dpix_);
        r.RegPut(QStringLiteral("DpiY"), dpiy_);
        r.RegPut(QStringLiteral("GridEnable"), GridEnable);
        r.RegPut(QStringLiteral("GridAuto"), GridAuto);
        r.RegPut(QStringLiteral("GridOcean"), GridOcean);
        r.RegPut(QStringLiteral("GridString"), GridString);
        r.RegPut(QStringLiteral("AccessoryEnable"), AccessoryEnable);
        r.RegPut(QStringLiteral("EdgeEnable"), EdgeEnable);
        r.RegPut(QStringLiteral("PatternRatio"), ptnRatio_);
        r.RegPut(QStringLiteral("TextSlant"), TextSlant);
        r.RegPut(QStringLiteral("FigureDisp"), int(FigureDisp));
        r.RegPut(QStringLiteral("AzimuthLine"), AzimuthLine);
        r.RegPut(QStringLiteral("FigurePick"), int(FigurePick));
        r.RegPut(QStringLiteral("DetailEnable"), DetailEnable);
        r.RegPut(QStringLiteral("FigNativeEnable"), FigNativeEnable);
        r.RegPut(QStringLiteral("FigShowModeEnable"), FigShowModeEnable);
        r.RegPut(QStringLiteral("ThgShowModeEnable"), ThgShowModeEnable);
        r.RegPut(QStringLiteral("AdmShowModeEnable"), AdmShowModeEnable);
        grid_.WriteRegistry();
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("WriteRegistry"));
    }
}
