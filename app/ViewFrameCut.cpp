#include "ViewFrameCut.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "MapViewHost.h"
#include "ViewOverlay.h"
#include "ViewSurvey.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "basLibrary.h"
#include "clsCanvas.h"
#include "clsMapPlot.h"

namespace {

constexpr int32_t kHalfTurn = 648000;
constexpr int32_t kMinExtent = 24;   // pixels of a degenerate area
constexpr int32_t kMargin = 8;       // pixels the area's width leaves free in the view

int32_t Truncated(int32_t v) { return CoarseToMap(MapToCoarse(v)); }

} // namespace

int32_t WrapLongitude(int32_t x) {
    switch (CurrentMapMode()) {
    case 1: {
        clsMapPlot* plot = CurrentMapPlot();
        const int32_t c = plot ? plot->CenterX() : 0;
        return WrapRange(x - c, -kHalfTurn, kHalfTurn - 1) + c;
    }
    case 2: return x;
    default: return 0;
    }
}

void ViewFrameCut::mnuFrameCut_Click() {
    if (FrameCutMode == Off) {
        SetBandPen(overlay_.dc());
        FrameCutMode = On;
        host_.SetViewCursor(1106);
        host_.SetStatusText(QStringLiteral("フレームカット：領域の頂点をクリック"));
        return;
    }
    FrameCutMode = Off;
    host_.SetStatusText(QString());
    overlay_.Clear();
    host_.PaintViewFromCanvas();
    host_.SetViewCursor(1101);
    FrameCutRubber.reset();
}

clsPoly ViewFrameCut::FrameCutMakePoly() const {
    const int32_t x1 = WrapLongitude(FrameCutX1), x2 = WrapLongitude(FrameCutX2);
    const int32_t step = std::max<int64_t>(1, (std::llabs(int64_t{x2} - x1) + 24) / 24);
    clsPoly poly;
    poly.SetRect(x1, FrameCutY1, x2, FrameCutY2);
    poly.Chop(step, 3);
    for (int32_t i = 1; i <= poly.Count(); ++i) {
        int32_t vx = 0, vy = 0;
        PosMapToViewNear(poly.x(i), poly.y(i), vx, vy);
        poly.SetXandY(i, vx, vy);
    }
    return poly;
}

void ViewFrameCut::FrameCutDrawRubber() {
    if (!(FrameCutMode & Drawn)) return;
    if (FrameCutRubber) FrameCutRubber->DrawPolyline(overlay_.dc());
    FrameCutMode &= ~Drawn;
}

void ViewFrameCut::FrameCutOn() {
    if (host_.Plotting() || !HasFirstCorner()) return;
    clsPoly outline = FrameCutMakePoly();
    FrameCutDrawRubber();
    FrameCutRubber = std::move(outline);
    FrameCutRubber->DrawPolyline(overlay_.dc());
    FrameCutMode ^= Drawn;
}

void ViewFrameCut::Click(int32_t mapX, int32_t mapY) {
    if (HasFirstCorner()) {
        mnuFrameCut_Click();
        FrameCutX2 = mapX;
        FrameCutY2 = mapY;
        FrameCutExe();
        return;
    }
    FrameCutX1 = FrameCutX2 = mapX;
    FrameCutY1 = FrameCutY2 = mapY;
    FrameCutMode = FirstSet;
    host_.SetStatusText(QStringLiteral("フレームカット：領域の対角点をクリック"));
}

void ViewFrameCut::MoveTo(int32_t mapX, int32_t mapY) {
    FrameCutX2 = mapX;
    FrameCutY2 = mapY;
    FrameCutOn();
}

void ViewFrameCut::FrameCutExe() {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot || !gvCanvas) return;
    const bool ll = CurrentMapMode() == 1;
    const QSize screen = host_.ScreenSizePixels();
    const int64_t sw = std::max(32, screen.width()), sh = std::max(32, screen.height());

    const int32_t x1 = WrapLongitude(FrameCutX1), x2 = WrapLongitude(FrameCutX2);
    const int32_t y1 = FrameCutY1, y2 = FrameCutY2;
    int32_t cx = static_cast<int32_t>((int64_t{x1} + x2) / 2), cy = static_cast<int32_t>((int64_t{y1} + y2) / 2);
    if (ll) NormalizeLonLat(cx, cy);

    // The engine on a screen-sized canvas about the area's centre, set up
    // as for a drawing but drawing nothing.
    plot->setCenterX(Truncated(cx));
    plot->setCenterY(Truncated(cy));
    plat::DeviceContext* dc = overlay_.dc();
    const int saved = dc->SaveDC();
    plot->sethdc(dc);
    plot->setdpix(gvCanvas->Dpi());
    plot->setdpiy(gvCanvas->Dpi());
    plot->setCanvasLeft(0);
    plot->setCanvasTop(0);
    plot->setCanvasWidth(static_cast<int32_t>(sw));
    plot->setCanvasHeight(static_cast<int32_t>(sh));
    if (plot->DrawStart()) plot->DrawEnd();
    dc->RestoreDC(saved);

    // The outline's visible points give the area's extent in pixels.
    clsPoly outline;
    outline.SetRect(x1, y1, x2, y2);
    outline.Chop(static_cast<int32_t>((std::llabs(int64_t{x2} - x1) + 10) / 10), 1);
    outline.Chop(static_cast<int32_t>((std::llabs(int64_t{y2} - y1) + 10) / 10), 2);
    clsPoly visible;
    for (PolyPoint p : outline.Points()) {
        if (ll) NormalizeLonLat(p.x, p.y);
        int32_t vx = 0, vy = 0;
        if (PosMapToViewNear(p.x, p.y, vx, vy)) visible.AddXandY(vx, vy);
    }
    int64_t w = kMinExtent, h = kMinExtent;
    if (visible.Count() > 0) {
        const clsRect box = visible.RectBound();
        int32_t ccx = 0, ccy = 0;
        PosMapToViewNear(cx, cy, ccx, ccy);
        w = std::max<int64_t>(box.Width(), kMinExtent);
        h = std::max<int64_t>(2 * std::max(int64_t{box.y2} - ccy, int64_t{ccy} - box.y1), kMinExtent);
    }

    host_.setInitializing(true);
    int64_t vw = 0, vh = 0;
    if (sh * w < h * sw) {
        const int64_t limit = sh * 3 / 4;
        vh = gvCanvas->ViewHeight();
        if (vh < limit) vh += (limit - vh) / 2;
        vw = vh * w / h;
    } else {
        const int64_t limit = sw * 3 / 4;
        vw = gvCanvas->ViewWidth();
        if (vw < limit) vw += (limit - vw) / 2;
        vh = h * vw / w;
    }
    const bool synchro = gvCanvas->Synchro();
    gvCanvas->setSynchro(false);
    gvCanvas->setViewWidth(static_cast<int32_t>(vw));
    gvCanvas->setViewHeight(static_cast<int32_t>(vh));
    gvCanvas->setCanvasWidth(static_cast<int32_t>(vw));
    gvCanvas->setCanvasHeight(static_cast<int32_t>(vh));
    host_.ResizeFormByView();
    host_.SetScrollRange();
    const int32_t viewWidth = gvCanvas->ViewWidth();
    gvCanvas->setSynchro(synchro);
    host_.setInitializing(false);

    const double scale = std::nearbyint(double(w) * std::nearbyint(plot->MapScale()) / (viewWidth - kMargin));
    plot->setMapScale(std::clamp(scale, MapScaleMin, MapScaleMax));
    host_.SetViewControllByEngine();
    host_.PlotWindow();
}
