// Whether a map figure is drawn, and the styled figure that draws it.
#include "clsMapPlot.h"

#include <cmath>

#include "AppState.h"
#include "ErrorMng.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "clsMapText.h"

namespace {

const QString kClass = QStringLiteral("clsMapPlot");

constexpr int32_t kLatLimit = 323970;

} // namespace

bool clsMapPlot::IsCellShown(const clsMapCell& cell) const {
    if (!FigShowModeEnable) return true;
    switch (cell.CellFigure->OwnShowMode()) {
    case 0: return false;
    case -1: return !ThgShowModeEnable || cell.CellThing->IsPrint(mapScale_);
    default: return true;
    }
}

FigurePtr clsMapPlot::BuildFigure(const clsMapCell& cell, bool reuse) {
    if (!cell.CellFigure || !cell.IsValid()) return nullptr;
    const clsMapFigure& figure = *cell.CellFigure;
    clsThing& thing = *cell.CellThing;
    thing.setPage(cell.CellAdmin->Page());
    if (!IsCellShown(cell)) return nullptr;
    const int32_t fore = FigNativeEnable ? cell.RealColor() : thing.Fore();

    const int32_t code = figure.FigCode();
    if (code == 2 || code == 3) {
        std::shared_ptr<clsPoly> points = reuse ? canvasPoly_ : std::make_shared<clsPoly>();
        if (!ProjectPoly(*figure.Poly(), *points)) return nullptr;
        if (code == 2) {
            std::shared_ptr<clsFigPolyline> f = reuse ? figLine_ : std::make_shared<clsFigPolyline>();
            f->setPoly(points);
            f->Style = thing.Style();
            f->Size = thing.Size();
            f->setFore(fore);
            f->setBack(thing.Back());
            return f;
        }
        std::shared_ptr<clsFigPolygon> f = reuse ? figArea_ : std::make_shared<clsFigPolygon>();
        f->setPoly(points);
        f->Style = thing.Style();
        f->setFore(fore);
        f->setBack(thing.Back());
        return f;
    }
    if (code != 4 && code != 5) return nullptr;

    const auto& point = static_cast<const MapPointFigure&>(figure);
    int32_t x = 0, y = 0;
    if (!PointMapToCanvas(point.mx(), point.my(), x, y)) return nullptr;
    const int32_t back = EdgeEnable ? thing.Back() : -1;
    if (code == 4) {
        std::shared_ptr<clsFigSymbol> f = reuse ? figSymbol_ : std::make_shared<clsFigSymbol>();
        f->X = x;
        f->Y = y;
        f->Style = thing.Style();
        f->setFore(fore);
        f->setBack(back);
        return f;
    }
    const auto& text = static_cast<const clsMapText&>(figure);
    std::shared_ptr<clsFigText> f = reuse ? figText_ : std::make_shared<clsFigText>();
    f->X = x;
    f->Y = y;
    f->FontName = thing.FontName();
    f->Size = thing.Size();
    f->Angle = text.Angle();
    f->Style = static_cast<uint8_t>(thing.Style());
    f->setFore(fore);
    f->setBack(back);
    f->Align = text.TextFix();
    f->Text = text.TextAnsi(static_cast<int32_t>(gvLanguage));
    f->Latin1 = gvLanguage == 1;
    if (TextSlant) {
        int32_t slant = 0;
        SlantMeridian(point.mx(), point.my(), slant);
        f->Angle -= slant / 3600;
    }
    return f;
}

FigurePtr clsMapPlot::CellToFigure(const clsMapCell& cell) {
    try {
        return BuildFigure(cell, false);
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("CellToFigure"));
    }
}

void clsMapPlot::SlantMeridian(int32_t MapX, int32_t MapY, int32_t& Slant) {
    try {
        Slant = 0;
        if (!TextSlant || mapMode_ != 1 || (workIndex_ != 3 && workIndex_ != 4)) return;
        // Probes 5 mm of output apart along the meridian.
        const int32_t d = Clamp(SafeCLng(mapScale_ * 5 / MeterPerSec / 1000), 10, 324000);
        int32_t sx = 0, sy = 0, nx = 0, ny = 0;
        MapToCanvas(MapX, Clamp(MapY - d, -kLatLimit, kLatLimit), sx, sy);
        MapToCanvas(MapX, Clamp(MapY + d, -kLatLimit, kLatLimit), nx, ny);
        const int32_t a = RadianToSec(AnglePosToRadian(double(nx) - sx, double(sy) - ny));
        Slant = 324000 - a;
        if (Slant > 648000) Slant = -972000 - a;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("SlantMeridian"));
    }
}
