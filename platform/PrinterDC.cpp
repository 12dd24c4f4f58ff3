#include "PrinterDC.h"

#include "Bitmap.h"
#include "Fonts.h"
#include "LineDDA.h"

#include <QPainter>
#include <QPainterPath>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

QColor qcolor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

Qt::BrushStyle hatchStyle(int hatch) {
    switch (hatch) {
    case HS_HORIZONTAL: return Qt::HorPattern;
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::FDiagPattern;
    case HS_BDIAGONAL: return Qt::BDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    default: return Qt::DiagCrossPattern;
    }
}

} // namespace

struct PrinterDC::Impl {
    PrinterDC* dc = nullptr;
    QPrinter* printer = nullptr;
    QPainter painter;

    // The colour a pen or brush colour prints in under the mix mode; false
    // when nothing is to be drawn.
    bool mixColor(COLORREF c, QColor& out) const {
        switch (dc->state().rop2) {
        case R2_NOP: return false;
        case R2_BLACK: out = Qt::black; return true;
        case R2_WHITE: out = Qt::white; return true;
        case R2_NOTCOPYPEN: out = qcolor(~c & 0xFFFFFF); return true;
        default: out = qcolor(c); return true;
        }
    }

    // The QPen of the current pen; NoPen for the null pen.
    QPen pen(bool forBack = false) const {
        const DcState& s = dc->state();
        const Pen& p = s.pen;
        QColor c;
        if (p.dash() == PS_NULL || !mixColor(forBack ? s.bkColor : p.color, c)) return QPen(Qt::NoPen);
        const double w = p.width <= 1 ? 1.0 : p.width * dc->scaleX();
        QPen qp(c, w);
        const WideStroke ws = WideStrokeOf(p);
        if (p.width > 1) {
            qp.setCapStyle(ws.cap);
            qp.setJoinStyle(ws.join);
        } else {
            qp.setCapStyle(Qt::FlatCap);
        }
        if (forBack) return qp;
        if (p.width <= 1) {
            const std::vector<int> d = CosmeticDashes(p.style);
            if (!d.empty()) qp.setDashPattern(QList<qreal>(d.begin(), d.end()));
        } else if (ws.dash != Qt::SolidLine) {
            qp.setStyle(ws.dash);
        }
        return qp;
    }
    bool dashedOpaque() const {
        const DcState& s = dc->state();
        const bool dashed = s.pen.dash() >= PS_DASH && s.pen.dash() <= PS_DASHDOTDOT &&
                            (s.pen.width <= 1 || s.pen.geometric());
        return dashed && s.bkMode == OPAQUE;
    }

    // The brush as Qt brushes, the first painted before the second (the
    // background of an opaque hatch); NoBrush where nothing is painted.
    std::pair<QBrush, QBrush> brushes(const Brush& b, bool fill = true) const {
        const DcState& s = dc->state();
        QColor c;
        switch (b.style) {
        case BS_SOLID:
            if (fill && !mixColor(b.color, c)) return {};
            if (!fill) c = qcolor(b.color);
            return {QBrush(Qt::NoBrush), QBrush(c)};
        case BS_HATCHED: {
            if (fill && !mixColor(b.color, c)) return {};
            if (!fill) c = qcolor(b.color);
            QBrush back = s.bkMode == OPAQUE || !fill ? QBrush(qcolor(s.bkColor)) : QBrush(Qt::NoBrush);
            return {back, QBrush(c, hatchStyle(b.hatch))};
        }
        case BS_PATTERN:
            if (!b.pattern) return {};
            return {QBrush(Qt::NoBrush), QBrush(b.pattern->toRgb32(s.textColor, s.bkColor))};
        default: return {};
        }
    }

    QPolygonF devicePolygon(const POINT* pts, int n) const {
        QPolygonF poly;
        poly.reserve(n);
        for (int i = 0; i < n; ++i) {
            const POINT d = dc->LPtoDP(pts[i]);
            poly.append(QPointF(d.x, d.y));
        }
        return poly;
    }

    void strokePolyline(const QPolygonF& poly) {
        if (dashedOpaque()) {
            painter.setPen(pen(true));
            painter.drawPolyline(poly);
        }
        painter.setPen(pen());
        painter.drawPolyline(poly);
    }

    void fillPath(const QPainterPath& path, const Brush& b, bool outline) {
        const auto [first, second] = brushes(b);
        painter.setPen(Qt::NoPen);
        if (first.style() != Qt::NoBrush) painter.fillPath(path, first);
        if (second.style() != Qt::NoBrush) {
            painter.setBrushOrigin(dc->state().brushOrg.x, dc->state().brushOrg.y);
            painter.fillPath(path, second);
        }
        if (outline) {
            if (dashedOpaque()) painter.strokePath(path, pen(true));
            painter.strokePath(path, pen());
        }
    }

    void dot(int x, int y, int len, bool horizontal, COLORREF c) {
        const QRect r = horizontal ? QRect(x, y, len, 1) : QRect(x, y, 1, len);
        painter.fillRect(r, qcolor(c));
    }
};

PrinterDC::PrinterDC(QPrinter* printer) : d_(std::make_unique<Impl>()) {
    d_->dc = this;
    d_->printer = printer;
    if (printer && d_->painter.begin(printer)) clipChanged();
}

PrinterDC::~PrinterDC() { EndDoc(); }

bool PrinterDC::isValid() const { return d_->painter.isActive(); }

bool PrinterDC::NewPage() { return isValid() && d_->printer->newPage(); }

bool PrinterDC::EndDoc() {
    if (!d_->painter.isActive()) return false;
    return d_->painter.end();
}

QRect PrinterDC::surfaceRect() const {
    if (!d_->printer) return QRect();
    return QRect(0, 0, d_->printer->width(), d_->printer->height());
}

void PrinterDC::clipChanged() {
    if (!isValid()) return;
    // Never beyond the printable area, as on paper: a PDF page would show
    // what a printer leaves out in its margins.
    const QRegion printable(surfaceRect());
    d_->painter.setClipRegion(state().clip ? *state().clip & printable : printable);
}

int PrinterDC::GetDeviceCaps(int index) const {
    QPrinter* p = d_->printer;
    if (!p) return 0;
    const int res = p->resolution();
    const QRect paper = p->paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = p->pageRect(QPrinter::DevicePixel).toRect();
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZRES: return p->width();
    case VERTRES: return p->height();
    case HORZSIZE: return static_cast<int>(std::lround(p->width() * 25.4 / res));
    case VERTSIZE: return static_cast<int>(std::lround(p->height() * 25.4 / res));
    case LOGPIXELSX: return p->logicalDpiX();
    case LOGPIXELSY: return p->logicalDpiY();
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BANDING | RC_SCALING | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
               RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return res;
    case ASPECTXY: return static_cast<int>(std::lround(res * std::sqrt(2.0)));
    case COLORRES: return 24;
    case PHYSICALWIDTH: return paper.width();
    case PHYSICALHEIGHT: return paper.height();
    case PHYSICALOFFSETX: return page.left() - paper.left();
    case PHYSICALOFFSETY: return page.top() - paper.top();
    default: return 0;
    }
}

bool PrinterDC::LineTo(int x, int y) {
    if (!isValid()) return false;
    const POINT pts[2] = {state().currentPos, POINT{x, y}};
    d_->strokePolyline(d_->devicePolygon(pts, 2));
    state().currentPos = POINT{x, y};
    return true;
}

bool PrinterDC::Polyline(const POINT* pts, int n) {
    if (!isValid() || !pts || n < 2) return false;
    d_->strokePolyline(d_->devicePolygon(pts, n));
    return true;
}

bool PrinterDC::Polygon(const POINT* pts, int n) {
    if (!pts || n < 2) return false;
    return PolyPolygon(pts, &n, 1);
}

bool PrinterDC::PolyPolygon(const POINT* pts, const int* counts, int polys) {
    if (!isValid() || !pts || !counts || polys < 1) return false;
    QPainterPath path;
    path.setFillRule(state().polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    size_t k = 0;
    for (int i = 0; i < polys; ++i) {
        if (counts[i] < 2) return false;
        path.addPolygon(d_->devicePolygon(pts + k, counts[i]));
        path.closeSubpath();
        k += size_t(counts[i]);
    }
    d_->fillPath(path, state().brush, true);
    return true;
}

bool PrinterDC::Rectangle(int left, int top, int right, int bottom) {
    if (!isValid()) return false;
    const QRect r = deviceRect(left, top, right, bottom);
    if (r.isEmpty()) return true;
    QPainterPath path;
    path.addRect(QRectF(r.left(), r.top(), r.width() - 1, r.height() - 1));
    d_->fillPath(path, state().brush, true);
    return true;
}

bool PrinterDC::Ellipse(int left, int top, int right, int bottom) {
    if (!isValid()) return false;
    const QRect r = deviceRect(left, top, right, bottom);
    if (r.isEmpty()) return true;
    QPainterPath path;
    path.addEllipse(QRectF(r.left(), r.top(), r.width() - 1, r.height() - 1));
    d_->fillPath(path, state().brush, true);
    return true;
}

COLORREF PrinterDC::SetPixel(int x, int y, COLORREF c) { return SetPixelV(x, y, c) ? (c & 0xFFFFFF) : CLR_INVALID; }

bool PrinterDC::SetPixelV(int x, int y, COLORREF c) {
    if (!isValid()) return false;
    const POINT d = LPtoDP(POINT{x, y});
    d_->painter.fillRect(QRect(d.x, d.y, 1, 1), qcolor(c));
    return true;
}

COLORREF PrinterDC::GetPixel(int, int) const { return CLR_INVALID; }

bool PrinterDC::PatternLine(int x1, int y1, int x2, int y2, const uint8_t* on, int n, int64_t& phase, COLORREF fore,
                            COLORREF back) {
    if (!isValid() || !on || n <= 0 || phase < 0) return false;
    if (!unitScale()) return DeviceContext::PatternLine(x1, y1, x2, y2, on, n, phase, fore, back);
    // Neighbouring pixels of one colour along the main axis print as one
    // rectangle, which keeps the page small.
    const int dx = state().viewportOrg.x - state().windowOrg.x, dy = state().viewportOrg.y - state().windowOrg.y;
    const bool horizontal = std::abs(int64_t(x2) - x1) >= std::abs(int64_t(y2) - y1);
    int rx = 0, ry = 0, len = 0;
    COLORREF rc = CLR_INVALID;
    auto flush = [&] {
        if (len > 0 && rc != CLR_INVALID) {
            const bool negative = horizontal ? x2 < x1 : y2 < y1;
            const int sx = horizontal && negative ? rx - len + 1 : rx;
            const int sy = !horizontal && negative ? ry - len + 1 : ry;
            d_->dot(sx + dx, sy + dy, len, horizontal, rc);
        }
        len = 0;
    };
    int k = static_cast<int>(phase % n);
    const int64_t steps = LineDDAEach(x1, y1, x2, y2, [&](int x, int y) {
        const COLORREF c = on[k] ? fore : back;
        if (++k == n) k = 0;
        const bool extends = len > 0 && c == rc && (horizontal ? y == ry && std::abs(x - rx) == len
                                                               : x == rx && std::abs(y - ry) == len);
        if (extends) {
            ++len;
            return;
        }
        flush();
        rx = x;
        ry = y;
        rc = c;
        len = 1;
    });
    flush();
    phase += steps;
    return true;
}

bool PrinterDC::paintText(const std::function<void(QPainter&)>& draw) {
    if (!isValid()) return false;
    d_->painter.save();
    draw(d_->painter);
    d_->painter.restore();
    return true;
}

bool PrinterDC::TextOutHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                            const POINT* offsets, int n) {
    return paintTextHalo(x, y, text, halo, fore, offsets, n);
}

const QPaintDevice* PrinterDC::textDevice() const { return d_->printer; }

bool PrinterDC::FillRect(const RECT& r, const Brush& brush) {
    if (!isValid()) return false;
    const QRect d = deviceRect(r.left, r.top, r.right, r.bottom);
    if (d.isEmpty()) return true;
    const auto [first, second] = d_->brushes(brush, false);
    if (first.style() != Qt::NoBrush) d_->painter.fillRect(d, first);
    if (second.style() != Qt::NoBrush) d_->painter.fillRect(d, second);
    return true;
}

bool PrinterDC::PatBlt(int x, int y, int w, int h, uint32_t rop) {
    if (!isValid()) return false;
    const QRect d = deviceRect(x, y, int(int64_t(x) + w), int(int64_t(y) + h));
    if (d.isEmpty()) return true;
    switch (Rop3Index(rop)) {
    case 0xF0: {
        const auto [first, second] = d_->brushes(state().brush, false);
        if (second.style() == Qt::NoBrush) return false;
        if (first.style() != Qt::NoBrush) d_->painter.fillRect(d, first);
        d_->painter.fillRect(d, second);
        return true;
    }
    case 0x00: d_->painter.fillRect(d, Qt::black); return true;
    case 0xFF: d_->painter.fillRect(d, Qt::white); return true;
    case 0xAA: return true;
    default: return false;
    }
}

bool PrinterDC::blitBitmap(const Blit& b, const Bitmap& src) {
    if (!isValid()) return false;
    const int idx = Rop3Index(b.rop);
    const DcState& s = state();
    QImage img;
    const QImage part = src.image().copy(b.src);
    const Bitmap piece(part, src.bitsPerPixel());
    switch (idx) {
    case 0xCC: img = piece.toRgb32(s.textColor, s.bkColor); break;
    case 0x33: img = piece.toRgb32(s.textColor, s.bkColor); img.invertPixels(); break;
    case 0xB8:
    case 0x88:
    case 0xEE: {
        // Pixels that leave the page as it is become transparent.
        const QImage rgb = piece.toRgb32(s.textColor, s.bkColor);
        img = QImage(rgb.size(), QImage::Format_ARGB32);
        const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
        const QRgb brush = s.brush.style == BS_SOLID ? qcolor(s.brush.color).rgb() : black;
        for (int y = 0; y < rgb.height(); ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                const QRgb c = in[x] | 0xFF000000u;
                if (idx == 0xB8) {
                    const bool keep = src.isMono() ? piece.monoBit(x, y) != 0 : c == white;
                    out[x] = keep ? 0u : brush;
                } else if (idx == 0x88) {
                    out[x] = c == white ? 0u : c;
                } else {
                    out[x] = c == black ? 0u : c;
                }
            }
        }
        break;
    }
    default: return false;
    }
    QPainter& qp = d_->painter;
    qp.save();
    qp.setRenderHint(QPainter::SmoothPixmapTransform, false);
    qp.translate(b.dst.left() + (b.flipX ? b.dst.width() : 0), b.dst.top() + (b.flipY ? b.dst.height() : 0));
    qp.scale(b.flipX ? -1 : 1, b.flipY ? -1 : 1);
    qp.drawImage(QRectF(0, 0, b.dst.width(), b.dst.height()), img);
    qp.restore();
    return true;
}

} // namespace plat
