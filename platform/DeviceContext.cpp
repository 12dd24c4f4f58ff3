#include "DeviceContext.h"

#include "Bitmap.h"
#include "Fonts.h"
#include "LineDDA.h"
#include "ScanConvert.h"
#include "TextFile.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace plat {

namespace {

// a * b / c rounded half away from zero, as GDI's MulDiv maps window to
// viewport coordinates; c != 0.
int32_t mulDiv(int64_t a, int64_t b, int64_t c) {
    const int64_t n = a * b;
    const bool neg = (n < 0) != (c < 0);
    const int64_t an = n < 0 ? -n : n, ac = c < 0 ? -c : c;
    int64_t q = (an + ac / 2) / ac;
    if (neg) q = -q;
    return static_cast<int32_t>(std::clamp<int64_t>(q, INT32_MIN, INT32_MAX));
}

int kindOf(const QRegion& r) {
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect rectOf(int l, int t, int r, int b) {
    // Far beyond any surface, yet small enough that no width overflows.
    constexpr int lim = 1 << 28;
    l = std::clamp(l, -lim, lim);
    t = std::clamp(t, -lim, lim);
    r = std::clamp(r, -lim, lim);
    b = std::clamp(b, -lim, lim);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

} // namespace

// --- objects ----------------------------------------------------------------

Pen CreatePen(int style, int width, COLORREF color) {
    int s = style & PS_STYLE_MASK;
    if (s > PS_INSIDEFRAME) s = PS_SOLID;
    return Pen{s, std::max(0, width), color & 0xFFFFFF};
}

Pen ExtCreatePen(int style, int width, const Brush& brush) {
    Pen p;
    p.style = style;
    p.width = std::max(0, width);
    p.color = brush.color & 0xFFFFFF;
    if (brush.style == BS_NULL) p.style = (style & ~PS_STYLE_MASK) | PS_NULL;
    return p;
}

Brush CreateSolidBrush(COLORREF color) { return Brush{BS_SOLID, color & 0xFFFFFF, 0, nullptr}; }

Brush CreateHatchBrush(int hatch, COLORREF color) {
    return Brush{BS_HATCHED, color & 0xFFFFFF, std::clamp(hatch, 0, int(HS_DIAGCROSS)), nullptr};
}

Brush CreatePatternBrush(const HBITMAP& bitmap) {
    if (!bitmap) return Brush{BS_NULL, 0, 0, nullptr};
    return Brush{BS_PATTERN, 0, 0, bitmap->clone()};
}

Pen StockPen(int which) {
    switch (which) {
    case WHITE_PEN: return Pen{PS_SOLID, 0, 0xFFFFFF};
    case NULL_PEN: return Pen{PS_NULL, 0, 0};
    default: return Pen{PS_SOLID, 0, 0};
    }
}

Brush StockBrush(int which) {
    switch (which) {
    case LTGRAY_BRUSH: return CreateSolidBrush(0xC0C0C0);
    case GRAY_BRUSH: return CreateSolidBrush(0x808080);
    case DKGRAY_BRUSH: return CreateSolidBrush(0x404040);
    case BLACK_BRUSH: return CreateSolidBrush(0);
    case NULL_BRUSH: return Brush{BS_NULL, 0, 0, nullptr};
    default: return CreateSolidBrush(0xFFFFFF);
    }
}

HFONT CreateFontIndirect(const LOGFONT& lf) {
    if (lf.lfFaceName.size() >= LF_FACESIZE) return nullptr;
    if (lf.lfHeight < -16384 || lf.lfHeight > 16384) return nullptr;
    auto f = std::make_shared<FontObject>();
    f->lf = lf;
    f->family = ResolveFontFamily(lf.lfFaceName.isEmpty() ? QStringLiteral("System") : lf.lfFaceName);
    return f;
}

HFONT StockFont(int which) {
    auto make = [](bool gui) {
        LOGFONT lf;
        lf.lfHeight = gui ? -12 : 16;
        lf.lfFaceName = gui ? QStringLiteral("ＭＳ Ｐゴシック") : QStringLiteral("System");
        lf.lfCharSet = SHIFTJIS_CHARSET;
        return CreateFontIndirect(lf);
    };
    if (which == DEFAULT_GUI_FONT) {
        static const HFONT gui = make(true);
        return gui;
    }
    static const HFONT sys = make(false);
    return sys;
}

// --- regions ----------------------------------------------------------------

int Region::kind() const { return kindOf(r_); }

RECT Region::box() const {
    if (r_.isEmpty()) return RECT{};
    const QRect b = r_.boundingRect();
    return RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
}

Region CreateRectRgn(int left, int top, int right, int bottom) { return Region(QRegion(rectOf(left, top, right, bottom))); }

Region CreatePolygonRgn(const POINT* pts, int n, int fillMode) {
    return CreatePolyPolygonRgn(pts, &n, 1, fillMode);
}

Region CreatePolyPolygonRgn(const POINT* pts, const int* counts, int polys, int fillMode) {
    const QRect all(QPoint(-kCoordLimit, -kCoordLimit), QPoint(kCoordLimit, kCoordLimit));
    return Region(RegionOfRings(RingsOf(pts, counts, polys), fillMode, all));
}

int CombineRgn(Region& dest, const Region& a, const Region& b, int mode) {
    QRegion r;
    switch (mode) {
    case RGN_AND: r = a.qregion() & b.qregion(); break;
    case RGN_OR: r = a.qregion() | b.qregion(); break;
    case RGN_XOR: r = a.qregion() ^ b.qregion(); break;
    case RGN_DIFF: r = a.qregion() - b.qregion(); break;
    case RGN_COPY: r = a.qregion(); break;
    default: return RGN_ERROR;
    }
    dest = Region(r);
    return dest.kind();
}

// --- helpers ----------------------------------------------------------------

std::vector<int> CosmeticDashes(int style) {
    switch (style & PS_STYLE_MASK) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

WideStroke WideStrokeOf(const Pen& pen) {
    if (!pen.geometric()) return WideStroke{Qt::RoundCap, Qt::RoundJoin, Qt::SolidLine};
    const int cap = pen.style & PS_ENDCAP_MASK, join = pen.style & PS_JOIN_MASK;
    WideStroke w;
    w.cap = cap == PS_ENDCAP_FLAT ? Qt::FlatCap : cap == PS_ENDCAP_SQUARE ? Qt::SquareCap : Qt::RoundCap;
    w.join = join == PS_JOIN_BEVEL ? Qt::BevelJoin : join == PS_JOIN_MITER ? Qt::MiterJoin : Qt::RoundJoin;
    switch (pen.dash()) {
    case PS_DASH: w.dash = Qt::DashLine; break;
    case PS_DOT: w.dash = Qt::DotLine; break;
    case PS_DASHDOT: w.dash = Qt::DashDotLine; break;
    case PS_DASHDOTDOT: w.dash = Qt::DashDotDotLine; break;
    default: w.dash = Qt::SolidLine; break;
    }
    return w;
}

bool HatchBit(int hatch, int x, int y) {
    const int u = x & 7, v = y & 7;
    switch (hatch) {
    case HS_HORIZONTAL: return v == 4;
    case HS_VERTICAL: return u == 4;
    case HS_FDIAGONAL: return u == v;
    case HS_BDIAGONAL: return u + v == 7;
    case HS_CROSS: return u == 4 || v == 4;
    case HS_DIAGCROSS: return u == v || u + v == 7;
    default: return false;
    }
}

uint32_t ApplyRop2(int rop2, uint32_t d, uint32_t p) {
    const unsigned t = static_cast<unsigned>(rop2 - 1) & 15u;
    uint32_t r = 0;
    if (t & 8) r |= p & d;
    if (t & 4) r |= p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 1) r |= ~p & ~d;
    return r & 0xFFFFFF;
}

uint32_t ApplyRop3(uint32_t rop, uint32_t p, uint32_t s, uint32_t d) {
    const int idx = Rop3Index(rop);
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(idx & (1 << i))) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & 0xFFFFFF;
}

// --- the context --------------------------------------------------------------

DeviceContext::DeviceContext() { st_.font = StockFont(SYSTEM_FONT); }
DeviceContext::~DeviceContext() = default;

Pen DeviceContext::SelectPen(const Pen& pen) { return std::exchange(st_.pen, pen); }
Brush DeviceContext::SelectBrush(const Brush& brush) { return std::exchange(st_.brush, brush); }
HFONT DeviceContext::SelectFont(const HFONT& font) {
    if (!font) return st_.font;
    return std::exchange(st_.font, font);
}
HBITMAP DeviceContext::SelectBitmap(const HBITMAP&) { return nullptr; }

COLORREF DeviceContext::SetTextColor(COLORREF c) { return std::exchange(st_.textColor, c & 0xFFFFFF); }
COLORREF DeviceContext::SetBkColor(COLORREF c) { return std::exchange(st_.bkColor, c & 0xFFFFFF); }
int DeviceContext::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return std::exchange(st_.bkMode, mode);
}
int DeviceContext::SetROP2(int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    return std::exchange(st_.rop2, rop2);
}
int DeviceContext::SetPolyFillMode(int mode) {
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return std::exchange(st_.polyFillMode, mode);
}
int DeviceContext::SetStretchBltMode(int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return std::exchange(st_.stretchMode, mode);
}
unsigned DeviceContext::SetTextAlign(unsigned align) { return std::exchange(st_.textAlign, align); }
bool DeviceContext::SetBrushOrgEx(int x, int y, POINT* old) {
    if (old) *old = st_.brushOrg;
    st_.brushOrg = POINT{x, y};
    return true;
}

int DeviceContext::SetMapMode(int mode) {
    if (mode != MM_TEXT && mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) return 0;
    const int old = st_.mapMode;
    st_.mapMode = mode;
    if (mode == MM_TEXT) {
        st_.windowExt = SIZE{1, 1};
        st_.viewportExt = SIZE{1, 1};
    }
    return old;
}

bool DeviceContext::SetWindowOrgEx(int x, int y, POINT* old) {
    if (old) *old = st_.windowOrg;
    st_.windowOrg = POINT{x, y};
    return true;
}

namespace {
void isotropic(DcState& s) {
    if (s.mapMode != MM_ISOTROPIC || !s.windowExt.cx || !s.windowExt.cy) return;
    const double sx = std::abs(double(s.viewportExt.cx) / s.windowExt.cx);
    const double sy = std::abs(double(s.viewportExt.cy) / s.windowExt.cy);
    if (sx > sy) {
        const int32_t v = static_cast<int32_t>(std::lround(std::abs(double(s.windowExt.cx)) * sy));
        s.viewportExt.cx = s.viewportExt.cx < 0 ? -v : v;
    } else if (sy > sx) {
        const int32_t v = static_cast<int32_t>(std::lround(std::abs(double(s.windowExt.cy)) * sx));
        s.viewportExt.cy = s.viewportExt.cy < 0 ? -v : v;
    }
}
} // namespace

bool DeviceContext::SetWindowExtEx(int cx, int cy, SIZE* old) {
    if (old) *old = st_.windowExt;
    if (st_.mapMode == MM_TEXT) return true;
    if (cx == 0 || cy == 0) return false;
    st_.windowExt = SIZE{cx, cy};
    isotropic(st_);
    return true;
}

bool DeviceContext::SetViewportOrgEx(int x, int y, POINT* old) {
    if (old) *old = st_.viewportOrg;
    st_.viewportOrg = POINT{x, y};
    return true;
}

bool DeviceContext::SetViewportExtEx(int cx, int cy, SIZE* old) {
    if (old) *old = st_.viewportExt;
    if (st_.mapMode == MM_TEXT) return true;
    if (cx == 0 || cy == 0) return false;
    st_.viewportExt = SIZE{cx, cy};
    isotropic(st_);
    return true;
}

POINT DeviceContext::LPtoDP(POINT p) const {
    const DcState& s = st_;
    return POINT{mulDiv(int64_t(p.x) - s.windowOrg.x, s.viewportExt.cx, s.windowExt.cx) + s.viewportOrg.x,
                 mulDiv(int64_t(p.y) - s.windowOrg.y, s.viewportExt.cy, s.windowExt.cy) + s.viewportOrg.y};
}

POINT DeviceContext::DPtoLP(POINT p) const {
    const DcState& s = st_;
    return POINT{mulDiv(int64_t(p.x) - s.viewportOrg.x, s.windowExt.cx, s.viewportExt.cx) + s.windowOrg.x,
                 mulDiv(int64_t(p.y) - s.viewportOrg.y, s.windowExt.cy, s.viewportExt.cy) + s.windowOrg.y};
}

bool DeviceContext::LPtoDP(POINT* pts, int n) const {
    if (!pts && n > 0) return false;
    for (int i = 0; i < n; ++i) pts[i] = LPtoDP(pts[i]);
    return true;
}

bool DeviceContext::DPtoLP(POINT* pts, int n) const {
    if (!pts && n > 0) return false;
    for (int i = 0; i < n; ++i) pts[i] = DPtoLP(pts[i]);
    return true;
}

bool DeviceContext::unitScale() const {
    return st_.windowExt.cx == st_.viewportExt.cx && st_.windowExt.cy == st_.viewportExt.cy;
}

double DeviceContext::scaleX() const { return std::abs(double(st_.viewportExt.cx) / st_.windowExt.cx); }
double DeviceContext::scaleY() const { return std::abs(double(st_.viewportExt.cy) / st_.windowExt.cy); }

QRect DeviceContext::deviceRect(int left, int top, int right, int bottom) const {
    const POINT a = LPtoDP(POINT{left, top}), b = LPtoDP(POINT{right, bottom});
    return rectOf(a.x, a.y, b.x, b.y);
}

int DeviceContext::SaveDC() {
    saved_.push_back(st_);
    return static_cast<int>(saved_.size());
}

bool DeviceContext::RestoreDC(int saved) {
    const int depth = static_cast<int>(saved_.size());
    int target = saved < 0 ? depth + saved + 1 : saved;
    if (target < 1 || target > depth) return false;
    st_ = saved_[size_t(target - 1)];
    saved_.resize(size_t(target - 1));
    clipChanged();
    return true;
}

int DeviceContext::SelectClipRgn(const Region* rgn) { return ExtSelectClipRgn(rgn, RGN_COPY); }

int DeviceContext::ExtSelectClipRgn(const Region* rgn, int mode) {
    if (!rgn) {
        if (mode != RGN_COPY) return RGN_ERROR;
        st_.clip.reset();
        clipChanged();
        return SIMPLEREGION;
    }
    const QRegion cur = st_.clip ? *st_.clip : QRegion(surfaceRect());
    QRegion r;
    switch (mode) {
    case RGN_AND: r = cur & rgn->qregion(); break;
    case RGN_OR: r = cur | rgn->qregion(); break;
    case RGN_XOR: r = cur ^ rgn->qregion(); break;
    case RGN_DIFF: r = cur - rgn->qregion(); break;
    case RGN_COPY: r = rgn->qregion(); break;
    default: return RGN_ERROR;
    }
    st_.clip = r;
    clipChanged();
    return kindOf(r);
}

int DeviceContext::IntersectClipRect(int left, int top, int right, int bottom) {
    const QRegion cur = st_.clip ? *st_.clip : QRegion(surfaceRect());
    st_.clip = cur & QRegion(deviceRect(left, top, right, bottom));
    clipChanged();
    return kindOf(*st_.clip);
}

int DeviceContext::ExcludeClipRect(int left, int top, int right, int bottom) {
    const QRegion cur = st_.clip ? *st_.clip : QRegion(surfaceRect());
    st_.clip = cur - QRegion(deviceRect(left, top, right, bottom));
    clipChanged();
    return kindOf(*st_.clip);
}

int DeviceContext::GetClipBox(RECT* r) const {
    const QRegion reg = st_.clip ? (*st_.clip & QRegion(surfaceRect())) : QRegion(surfaceRect());
    if (r) {
        if (reg.isEmpty()) *r = RECT{};
        else {
            const QRect b = reg.boundingRect();
            const POINT a = DPtoLP(POINT{b.left(), b.top()}), c = DPtoLP(POINT{b.right() + 1, b.bottom() + 1});
            *r = RECT{std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
        }
    }
    return kindOf(reg);
}

std::optional<Region> DeviceContext::GetClipRgn() const {
    if (!st_.clip) return std::nullopt;
    return Region(*st_.clip);
}

bool DeviceContext::PtVisible(int x, int y) const {
    const POINT d = LPtoDP(POINT{x, y});
    const QPoint q(d.x, d.y);
    if (!surfaceRect().contains(q)) return false;
    return !st_.clip || st_.clip->contains(q);
}

bool DeviceContext::MoveToEx(int x, int y, POINT* old) {
    if (old) *old = st_.currentPos;
    st_.currentPos = POINT{x, y};
    return true;
}

bool DeviceContext::PatternLine(int x1, int y1, int x2, int y2, const uint8_t* on, int n, int64_t& phase,
                                COLORREF fore, COLORREF back) {
    if (!on || n <= 0 || phase < 0) return false;
    bool ok = true;
    LineDDAEach(x1, y1, x2, y2, [&](int x, int y) {
        const COLORREF c = on[phase % n] ? fore : back;
        if (c != CLR_INVALID) ok = SetPixelV(x, y, c) && ok;
        ++phase;
    });
    return true;
}

bool DeviceContext::TextOutA(int x, int y, const QByteArray& ansi) {
    QString text;
    try {
        text = DecodeCp932(ansi);
    } catch (...) {
        text = QString::fromLatin1(ansi);
    }
    return TextOut(x, y, text);
}

namespace {
QColor qcolorOf(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
} // namespace

bool DeviceContext::TextOut(int x, int y, const QString& text) { return ExtTextOut(x, y, 0, nullptr, text); }

namespace {
// A text laid out on its reference point: the offset of its baseline start
// from the point, its width and cell, by the alignment and escapement.
struct TextBox {
    QFont font;
    double width, ascent, descent, ox, oy, angle;
};

// The width (a second shaping of the text, unless the caller has shaped it)
// only where it is used: a text not on its left end, on an opaque
// background, or moving the current position; otherwise it is 0.
TextBox textBox(const FontObject& font, QFont qfont, const QPaintDevice* device, unsigned textAlign, int bkMode,
                const QString& text, std::optional<double> shapedWidth = std::nullopt) {
    TextBox b;
    b.font = std::move(qfont);
    const QFontMetricsF fm = device ? QFontMetricsF(b.font, device) : QFontMetricsF(b.font);
    const bool widthUsed = (textAlign & 6) != TA_LEFT || bkMode == OPAQUE || (textAlign & TA_UPDATECP);
    b.width = !widthUsed ? 0 : shapedWidth ? *shapedWidth : fm.horizontalAdvance(text);
    b.ascent = std::ceil(fm.ascent() - 1e-6);
    b.descent = std::ceil(fm.descent() - 1e-6);
    // The reference point is on the left, centre or right of the text and on
    // its top, baseline or bottom, turned with the escapement.
    const unsigned h = textAlign & 6, v = textAlign & 24;
    b.ox = h == TA_CENTER ? -b.width / 2 : h == TA_RIGHT ? -b.width : 0;
    b.oy = v == TA_BASELINE ? 0 : v == TA_BOTTOM ? -b.descent : b.ascent;
    b.angle = font.lf.lfEscapement / 10.0;
    return b;
}

// The text shaped once, as QPainter::drawText would shape it on the painter,
// for copies that differ only in place and colour. None for what drawText
// treats apart from plain glyphs (lines on the font, controls, breaks), and
// off raster surfaces, where a glyph run would lose the characters behind
// the glyphs (a PDF's searchable text).
std::optional<QList<QGlyphRun>> glyphRunsOf(const QString& text, QPainter& qp, qreal& ascent, qreal& advance) {
    const QFont& font = qp.font();
    if (!qp.paintEngine() || qp.paintEngine()->type() != QPaintEngine::Raster) return std::nullopt;
    if (text.isEmpty() || font.underline() || font.strikeOut() || font.overline()) return std::nullopt;
    for (const QChar c : text) {
        const QChar::Category cat = c.category();
        if (cat == QChar::Other_Control || cat == QChar::Separator_Line || cat == QChar::Separator_Paragraph)
            return std::nullopt;
    }
    QTextLayout layout(text, font, qp.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(qp.layoutDirection());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    ascent = line.ascent();
    // The sum of the same advances that the font's metrics add up.
    advance = line.horizontalAdvance();
    return layout.glyphRuns();
}
} // namespace

bool DeviceContext::ExtTextOut(int x, int y, unsigned options, const RECT* rect, const QString& text) {
    const DcState& s = st_;
    const HFONT font = s.font ? s.font : StockFont(SYSTEM_FONT);
    const TextBox b = textBox(*font, QFontOf(*font, scaleY()), textDevice(), s.textAlign, s.bkMode, text);
    const bool updateCp = (s.textAlign & TA_UPDATECP) != 0;
    const POINT ref = LPtoDP(updateCp ? s.currentPos : POINT{x, y});
    const QRect optRect = rect ? deviceRect(rect->left, rect->top, rect->right, rect->bottom) : QRect();
    const bool ok = paintText([&](QPainter& qp) {
        if ((options & ETO_OPAQUE) && rect) qp.fillRect(optRect, qcolorOf(s.bkColor));
        if ((options & ETO_CLIPPED) && rect) qp.setClipRect(optRect, qp.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        qp.translate(ref.x, ref.y);
        qp.rotate(-b.angle);
        if (s.bkMode == OPAQUE && !text.isEmpty())
            qp.fillRect(QRectF(b.ox, b.oy - b.ascent, b.width, b.ascent + b.descent), qcolorOf(s.bkColor));
        qp.setFont(b.font);
        qp.setPen(qcolorOf(s.textColor));
        qp.drawText(QPointF(b.ox, b.oy), text);
    });
    if (ok && updateCp) {
        const double rad = b.angle * std::numbers::pi / 180.0;
        st_.currentPos = DPtoLP(POINT{ref.x + static_cast<int>(std::lround(b.width * std::cos(rad))),
                                      ref.y - static_cast<int>(std::lround(b.width * std::sin(rad)))});
    }
    return ok;
}

bool DeviceContext::TextOutHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                                const POINT* offsets, int n) {
    SetTextColor(halo);
    for (int i = 0; i < n && offsets; ++i) TextOut(x + offsets[i].x, y + offsets[i].y, text);
    SetTextColor(fore);
    return TextOut(x, y, text);
}

bool DeviceContext::paintTextHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                                  const POINT* offsets, int n) {
    const DcState& s = st_;
    // The current position moves with every copy: only copy by copy.
    if ((s.textAlign & TA_UPDATECP) || (n > 0 && !offsets))
        return DeviceContext::TextOutHalo(x, y, text, halo, fore, offsets, n);
    const HFONT font = s.font ? s.font : StockFont(SYSTEM_FONT);
    const bool ok = paintText([&](QPainter& qp) {
        const QTransform base = qp.transform();
        const QFont qfont = QFontOf(*font, scaleY());
        qp.setFont(qfont);
        qreal ascent = 0, advance = 0;
        const std::optional<QList<QGlyphRun>> runs = glyphRunsOf(text, qp, ascent, advance);
        const TextBox b = textBox(*font, qfont, textDevice(), s.textAlign, s.bkMode, text,
                                  runs ? std::optional<double>(advance) : std::nullopt);
        for (int i = 0; i <= n; ++i) {
            const bool last = i == n;
            const POINT ref = LPtoDP(last ? POINT{x, y} : POINT{x + offsets[i].x, y + offsets[i].y});
            qp.setTransform(base);
            qp.translate(ref.x, ref.y);
            qp.rotate(-b.angle);
            if (s.bkMode == OPAQUE && !text.isEmpty())
                qp.fillRect(QRectF(b.ox, b.oy - b.ascent, b.width, b.ascent + b.descent), qcolorOf(s.bkColor));
            qp.setPen(qcolorOf((last ? fore : halo) & 0xFFFFFF));
            if (!runs) qp.drawText(QPointF(b.ox, b.oy), text);
            else
                for (const QGlyphRun& run : *runs) qp.drawGlyphRun(QPointF(b.ox, b.oy - ascent), run);
        }
    });
    SetTextColor(fore);
    return ok;
}

bool DeviceContext::GetTextExtentPoint32(const QString& text, SIZE* size) const {
    if (!size) return false;
    const HFONT font = st_.font ? st_.font : StockFont(SYSTEM_FONT);
    const QFont qf = QFontOf(*font, scaleY());
    const QFontMetricsF fm = textDevice() ? QFontMetricsF(qf, textDevice()) : QFontMetricsF(qf);
    const TEXTMETRIC tm = TextMetricsOf(qf, font->lf, textDevice());
    size->cx = static_cast<int32_t>(std::lround(fm.horizontalAdvance(text) / scaleX()));
    size->cy = static_cast<int32_t>(std::lround(tm.tmHeight / scaleY()));
    return true;
}

bool DeviceContext::GetTextMetrics(TEXTMETRIC* tm) const {
    if (!tm) return false;
    const HFONT font = st_.font ? st_.font : StockFont(SYSTEM_FONT);
    *tm = TextMetricsOf(QFontOf(*font, 1.0), font->lf, textDevice());
    return true;
}

QString DeviceContext::GetTextFace() const { return st_.font ? st_.font->lf.lfFaceName : QString(); }

bool DeviceContext::InvertRect(const RECT& r) {
    return PatBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, DSTINVERT);
}

bool DeviceContext::FrameRect(const RECT& r, const Brush& brush) {
    if (r.right <= r.left || r.bottom <= r.top) return false;
    bool ok = FillRect(RECT{r.left, r.top, r.right, r.top + 1}, brush);
    ok = FillRect(RECT{r.left, r.bottom - 1, r.right, r.bottom}, brush) && ok;
    ok = FillRect(RECT{r.left, r.top, r.left + 1, r.bottom}, brush) && ok;
    ok = FillRect(RECT{r.right - 1, r.top, r.right, r.bottom}, brush) && ok;
    return ok;
}

bool DeviceContext::BitBlt(int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, uint32_t rop) {
    return StretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

namespace {
// Normalised rectangle of corner a and size (w, h) with its mirror flag.
QRect spanRect(int x0, int y0, int x1, int y1, bool& fx, bool& fy) {
    constexpr int lim = 1 << 28;
    x0 = std::clamp(x0, -lim, lim);
    y0 = std::clamp(y0, -lim, lim);
    x1 = std::clamp(x1, -lim, lim);
    y1 = std::clamp(y1, -lim, lim);
    fx = x1 < x0;
    fy = y1 < y0;
    if (fx) std::swap(x0, x1);
    if (fy) std::swap(y0, y1);
    return QRect(x0, y0, x1 - x0, y1 - y0);
}
} // namespace

bool DeviceContext::StretchBlt(int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, int sw, int sh,
                               uint32_t rop) {
    const int idx = Rop3Index(rop);
    const bool usesSource = ((idx >> 2) & 0x33) != (idx & 0x33);
    Blit b;
    b.rop = rop;
    bool dfx, dfy;
    const POINT d0 = LPtoDP(POINT{x, y}), d1 = LPtoDP(POINT{int(int64_t(x) + w), int(int64_t(y) + h)});
    b.dst = spanRect(d0.x, d0.y, d1.x, d1.y, dfx, dfy);
    if (b.dst.isEmpty()) return true;
    if (!usesSource) return PatBlt(x, y, w, h, rop);
    if (!src) return false;
    const HBITMAP sb = src->surfaceBitmap();
    if (!sb) return false;
    bool sfx, sfy;
    const POINT s0 = src->LPtoDP(POINT{sx, sy}), s1 = src->LPtoDP(POINT{int(int64_t(sx) + sw), int(int64_t(sy) + sh)});
    b.src = spanRect(s0.x, s0.y, s1.x, s1.y, sfx, sfy);
    if (b.src.isEmpty()) return false;
    b.flipX = dfx != sfx;
    b.flipY = dfy != sfy;
    b.srcBk = src->GetBkColor();
    return blitBitmap(b, *sb);
}

int DeviceContext::StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const DIB& dib,
                                 uint32_t rop) {
    const QImage img = DibToImage(dib);
    if (img.isNull()) return 0;
    const Bitmap bm(img);
    Blit b;
    b.rop = rop;
    bool dfx, dfy, sfx, sfy;
    const POINT d0 = LPtoDP(POINT{x, y}), d1 = LPtoDP(POINT{int(int64_t(x) + w), int(int64_t(y) + h)});
    b.dst = spanRect(d0.x, d0.y, d1.x, d1.y, dfx, dfy);
    // Rows of a bottom-up picture count from its last row.
    const int top = dib.height > 0 ? img.height() - (sy + sh) : sy;
    b.src = spanRect(sx, top, int(int64_t(sx) + sw), int(int64_t(top) + sh), sfx, sfy);
    if (b.src.isEmpty() || !QRect(0, 0, img.width(), img.height()).contains(b.src)) return 0;
    if (b.dst.isEmpty()) return 0;
    b.flipX = dfx != sfx;
    b.flipY = dfy != sfy;
    return blitBitmap(b, bm) ? std::abs(sh) : 0;
}

int DeviceContext::SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, const DIB& dib) {
    return StretchDIBits(x, y, w, h, sx, sy, w, h, dib, SRCCOPY);
}

} // namespace plat
