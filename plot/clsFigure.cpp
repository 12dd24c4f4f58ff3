#include "clsFigure.h"

#include "AppState.h"
#include "basApiLib.h"
#include "clsMapGraph.h"
#include "clsPostScript.h"

int32_t DetailMarkColor(int32_t fore, bool inverse) {
    if (fore == -1) return 0;
    // A system colour is inverted as the colour it shows, not as an index.
    const int32_t c = PsResolveColor(fore);
    return inverse ? c ^ 0xFFFFFF : c;
}

void FigureAlongPoints::setPoly(const std::shared_ptr<clsPoly>& poly) {
    poly_ = poly ? poly : std::make_shared<clsPoly>();
}

void FigureAlongPoints::drawVertexMarks(int32_t color) const {
    gvMapGraph->SetPen(0, 1, color, -1);
    const int32_t n = poly_->Count();
    for (int32_t i = 1; i <= n; ++i) {
        const int32_t s = (i == 1 || i == n) ? 3 : 1;
        const int32_t x = poly_->x(i), y = poly_->y(i);
        gvMapGraph->DrawStrokeRect(clsRect(x - s, y - s, x + s, y + s));
    }
}

std::shared_ptr<clsPoly> FigureAtPoint::Poly() const {
    auto p = std::make_shared<clsPoly>();
    p->AddXandY(X, Y);
    return p;
}

void FigureAtPoint::setPoly(const std::shared_ptr<clsPoly>& poly) {
    if (!poly || poly->Count() < 1) return;
    X = poly->x(1);
    Y = poly->y(1);
}

bool clsFigPolyline::Plot(bool Detail) {
    if (!gvMapGraph) return false;
    gvMapGraph->SetPen(Style, Size, fore_, back_);
    const bool ok = gvMapGraph->DrawPolyline(*poly_);
    if (Detail) drawVertexMarks(DetailMarkColor(fore_, false));
    return ok;
}

bool clsFigPolygon::Plot(bool Detail) {
    if (!gvMapGraph) return false;
    gvMapGraph->SetBrush(Style, fore_, back_);
    const bool ok = gvMapGraph->DrawPolygon(*poly_);
    if (Detail) drawVertexMarks(DetailMarkColor(fore_, true));
    return ok;
}

bool clsFigSymbol::Plot(bool Detail) {
    if (!gvMapGraph) return false;
    gvMapGraph->SetSymbol(Style, fore_, back_);
    const bool ok = gvMapGraph->DrawPaint(X, Y);
    if (Detail) {
        const plat::BITMAP info = GetBitmapInfo(gvMapGraph->oSymbols().handle(Style));
        const int32_t w = info.bmWidth / 2 + 2, h = info.bmHeight / 2 + 2;
        gvMapGraph->SetPen(0, 1, DetailMarkColor(fore_, false), -1);
        gvMapGraph->DrawStrokeRect(clsRect(X - w, Y - h, X + w, Y + h));
    }
    return ok;
}

bool clsFigText::Plot(bool Detail) {
    if (!gvMapGraph) return false;
    if (!gvMapGraph->SetFont(FontName, Size, Angle, Style, fore_, back_))
        gvMapGraph->SetFont(gvDefaultFont, 10, 0, 0, fore_, -1);
    const bool ok = Latin1 ? gvMapGraph->DrawLatin1Text(X, Y, Align, Text) : gvMapGraph->DrawText(X, Y, Align, Text);
    if (Detail) {
        const int32_t d = Size / 2;
        clsPoly diamond;
        diamond.AddXandY(X, Y - d);
        diamond.AddXandY(X + d, Y);
        diamond.AddXandY(X, Y + d);
        diamond.AddXandY(X - d, Y);
        diamond.AddXandY(X, Y - d);
        gvMapGraph->SetPen(0, 1, DetailMarkColor(fore_, false), -1);
        gvMapGraph->DrawPolyline(diamond);
    }
    return ok;
}
