#include "RasterDC.h"

#include "Fonts.h"
#include "LineDDA.h"
#include "ScanConvert.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

// Colours travel inside as QImage pixels without alpha: 0x00RRGGBB.
inline uint32_t pixOf(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF colorOfPix(uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }
inline uint32_t monoOf(uint32_t p) {
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r * 299 + g * 587 + b * 114 >= 128000 ? 0xFFFFFFu : 0u;
}

int screenDpi() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QGuiApplication::primaryScreen()) {
        const double d = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        if (d > 0) return static_cast<int>(std::lround(d));
    }
    return 96;
}

inline int64_t posMod(int64_t a, int64_t m) {
    const int64_t r = a % m;
    return r < 0 ? r + m : r;
}

// What a span of a fill or a line paints.
struct Paint {
    enum Kind { None, Solid, Hatch, Pattern } kind = None;
    uint32_t fg = 0;              // pixel colour
    uint32_t bg = 0;
    bool bgTransparent = false;   // hatch gaps
    int hatch = 0;
    std::vector<uint32_t> pat;    // pattern pixels, pw x ph
    int pw = 0, ph = 0;
    int ox = 0, oy = 0;           // brush origin
    int rop2 = R2_COPYPEN;

    // The pattern pixel of a device pixel; false where nothing is painted.
    inline bool at(int x, int y, uint32_t& out) const {
        switch (kind) {
        case Solid: out = fg; return true;
        case Hatch:
            if (HatchBit(hatch, x - ox, y - oy)) {
                out = fg;
                return true;
            }
            out = bg;
            return !bgTransparent;
        case Pattern:
            out = pat[size_t(posMod(int64_t(y) - oy, ph) * pw + posMod(int64_t(x) - ox, pw))];
            return true;
        default: return false;
        }
    }
};

} // namespace

struct RasterDC::Impl {
    std::vector<POINT> pointScratch;
    RasterDC* dc;
    QImage* img = nullptr;
    bool mono = false;
    // Clip cache: the clip region within the surface, by rows.
    bool clipDirty = true;
    bool clipSimple = true;
    QRect clipRect;
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> rows;   // rects of each row of clipRect
    int64_t styleCount = 0;                  // position in a cosmetic dash pattern

    void bind(const HBITMAP& b) {
        img = &b->image();
        mono = b->isMono();
        clipDirty = true;
    }

    void ensureClip() {
        if (!clipDirty) return;
        clipDirty = false;
        const QRect surf(0, 0, img->width(), img->height());
        const auto& c = dc->state().clip;
        rects.clear();
        rows.clear();
        if (!c) {
            clipSimple = true;
            clipRect = surf;
            return;
        }
        const QRegion r = *c & QRegion(surf);
        clipRect = r.boundingRect();
        if (r.rectCount() <= 1) {
            clipSimple = true;
            return;
        }
        clipSimple = false;
        rects.assign(r.begin(), r.end());
        rows.assign(size_t(clipRect.height()), {0, 0});
        size_t i = 0;
        while (i < rects.size()) {
            size_t j = i;
            while (j < rects.size() && rects[j].top() == rects[i].top()) ++j;
            for (int y = rects[i].top(); y <= rects[i].bottom(); ++y) rows[size_t(y - clipRect.top())] = {int(i), int(j)};
            i = j;
        }
    }

    bool visible(int x, int y) {
        ensureClip();
        if (!clipRect.contains(x, y)) return false;
        if (clipSimple) return true;
        const auto [a, b] = rows[size_t(y - clipRect.top())];
        for (int k = a; k < b; ++k)
            if (x >= rects[size_t(k)].left() && x <= rects[size_t(k)].right()) return true;
        return false;
    }

    template <class F>
    void clipSpans(int y, int x0, int x1, F&& f) {
        ensureClip();
        if (y < clipRect.top() || y > clipRect.bottom()) return;
        if (clipSimple) {
            const int a = std::max(x0, clipRect.left()), b = std::min(x1, clipRect.right() + 1);
            if (a < b) f(a, b);
            return;
        }
        const auto [ra, rb] = rows[size_t(y - clipRect.top())];
        for (int k = ra; k < rb; ++k) {
            const QRect& r = rects[size_t(k)];
            const int a = std::max(x0, r.left()), b = std::min(x1, r.right() + 1);
            if (a < b) f(a, b);
        }
    }

    inline uint32_t get(int x, int y) const {
        if (mono) return ((img->constScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1) ? 0xFFFFFFu : 0u;
        return reinterpret_cast<const uint32_t*>(img->constScanLine(y))[x] & 0xFFFFFFu;
    }
    inline void put(int x, int y, uint32_t p) {
        if (mono) {
            uchar& byte = img->scanLine(y)[x >> 3];
            const uchar bit = static_cast<uchar>(0x80 >> (x & 7));
            if (p & 0xFFFFFF) byte |= bit;
            else byte &= static_cast<uchar>(~bit);
            return;
        }
        reinterpret_cast<uint32_t*>(img->scanLine(y))[x] = 0xFF000000u | p;
    }
    inline uint32_t devColor(COLORREF c) const { return mono ? monoOf(pixOf(c)) : pixOf(c); }

    // Mixes one already clipped pixel.
    inline void mix(int x, int y, uint32_t p, int rop2) {
        if (rop2 == R2_COPYPEN) put(x, y, p);
        else if (rop2 != R2_NOP) put(x, y, ApplyRop2(rop2, get(x, y), p));
    }

    // row: the pixels of row y of a colour surface.
    void rawSpan(uint32_t* row, int y, int a, int b, const Paint& p) {
        if (p.kind == Paint::Solid && !mono) {
            if (p.rop2 == R2_COPYPEN) {
                std::fill(row + a, row + b, 0xFF000000u | p.fg);
            } else if (p.rop2 == R2_XORPEN) {
                for (int x = a; x < b; ++x) row[x] ^= p.fg;
            } else if (p.rop2 != R2_NOP) {
                for (int x = a; x < b; ++x) row[x] = 0xFF000000u | ApplyRop2(p.rop2, row[x] & 0xFFFFFF, p.fg);
            }
            return;
        }
        if (p.kind == Paint::Pattern && !mono && p.rop2 == R2_COPYPEN) {
            // Along the row: one pattern row, its column stepped with x.
            const uint32_t* prow = &p.pat[size_t(posMod(int64_t(y) - p.oy, p.ph)) * size_t(p.pw)];
            int px = static_cast<int>(posMod(int64_t(a) - p.ox, p.pw));
            for (int x = a; x < b; ++x) {
                row[x] = 0xFF000000u | prow[px];
                if (++px == p.pw) px = 0;
            }
            return;
        }
        uint32_t c;
        for (int x = a; x < b; ++x)
            if (p.at(x, y, c)) mix(x, y, c, p.rop2);
    }

    void span(int y, int x0, int x1, const Paint& p) {
        if (p.kind == Paint::None) return;
        uint32_t* row = nullptr;
        clipSpans(y, x0, x1, [&](int a, int b) {
            if (!row && !mono) row = reinterpret_cast<uint32_t*>(img->scanLine(y));
            rawSpan(row, y, a, b, p);
        });
    }

    void plot(int x, int y, uint32_t p, int rop2) {
        if (visible(x, y)) mix(x, y, p, rop2);
    }

    Paint brushPaint(const Brush& br, bool forBlit) const {
        const DcState& s = dc->state();
        Paint p;
        p.rop2 = s.rop2;
        p.ox = s.brushOrg.x;
        p.oy = s.brushOrg.y;
        switch (br.style) {
        case BS_SOLID:
            p.kind = Paint::Solid;
            p.fg = devColor(br.color);
            break;
        case BS_HATCHED:
            p.kind = Paint::Hatch;
            p.hatch = br.hatch;
            p.fg = devColor(br.color);
            p.bg = devColor(s.bkColor);
            p.bgTransparent = !forBlit && s.bkMode == TRANSPARENT;
            break;
        case BS_PATTERN:
            if (!br.pattern) break;
            p.kind = Paint::Pattern;
            p.pw = br.pattern->width();
            p.ph = br.pattern->height();
            p.pat.resize(size_t(p.pw) * size_t(p.ph));
            for (int y = 0; y < p.ph; ++y)
                for (int x = 0; x < p.pw; ++x) {
                    uint32_t c;
                    if (br.pattern->isMono())
                        c = devColor(br.pattern->monoBit(x, y) ? s.bkColor : s.textColor);
                    else {
                        c = reinterpret_cast<const uint32_t*>(br.pattern->image().constScanLine(y))[x] & 0xFFFFFF;
                        if (mono) c = monoOf(c);
                    }
                    p.pat[size_t(y) * size_t(p.pw) + size_t(x)] = c;
                }
            break;
        default: break;
        }
        return p;
    }

    // Fills the rows scan(bounds, sink) hands over: the rows' spans lie within
    // the clip's bounds already.
    template <class Scan>
    void fillRows(const Paint& p, Scan&& scan) {
        if (p.kind == Paint::None) return;
        ensureClip();
        if (clipRect.isEmpty()) return;
        uchar* bits = mono ? nullptr : img->bits();
        const qsizetype bpl = img->bytesPerLine();
        auto rowFn = [&](int y, const int* xs, int n) {
            uint32_t* row = bits ? reinterpret_cast<uint32_t*>(bits + y * bpl) : nullptr;
            if (clipSimple) {
                for (int i = 0; i < n; i += 2) rawSpan(row, y, xs[i], xs[i + 1], p);
                return;
            }
            // Both the spans and the clip's rectangles of the row run left to right.
            const auto [ra, rb] = rows[size_t(y - clipRect.top())];
            int i = 0, k = ra;
            while (i < n && k < rb) {
                const QRect& r = rects[size_t(k)];
                const int a = std::max(xs[i], r.left()), b = std::min(xs[i + 1], r.right() + 1);
                if (a < b) rawSpan(row, y, a, b, p);
                if (xs[i + 1] <= r.right() + 1) i += 2;
                else ++k;
            }
        };
        scan(clipRect, RowSink(rowFn));
    }
    void fillRings(const std::vector<Ring>& rings, int mode, const Paint& p) {
        fillRows(p, [&](const QRect& bounds, RowSink sink) { ScanRingRows(rings, mode, bounds, sink); });
    }
    void fillPolygons(const POINT* pts, const int* counts, int polys, int mode, const Paint& p) {
        fillRows(p, [&](const QRect& bounds, RowSink sink) { ScanPolygonRows(pts, counts, polys, mode, bounds, sink); });
    }

    // A solid one-pixel line straight into a colour surface under a simple
    // clip: the pixels of LineDDAEach, its steps limited to those inside the
    // clip. Before step i the minor axis has moved
    // floor((2 minorLen i + len) / (2 len)), the error term following it.
    void solidLine(POINT a, POINT b, uint32_t px, uchar* bits, qsizetype bpl) const {
        const QRect& cr = clipRect;
        if (cr.isEmpty()) return;
        const int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
        const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
        const bool xMajor = adx >= ady;
        const int64_t len = xMajor ? adx : ady, minor = xMajor ? ady : adx;
        if (len == 0) return;
        const int64_t m0 = xMajor ? a.x : a.y, n0 = xMajor ? a.y : a.x;
        const bool mUp = (xMajor ? dx : dy) >= 0, nUp = (xMajor ? dy : dx) >= 0;
        const int64_t mLo = xMajor ? cr.left() : cr.top(), mHi = xMajor ? cr.right() : cr.bottom();
        const int64_t nLo = xMajor ? cr.top() : cr.left(), nHi = xMajor ? cr.bottom() : cr.right();
        // Steps whose major coordinate is inside.
        int64_t i0 = std::max<int64_t>(mUp ? mLo - m0 : m0 - mHi, 0);
        int64_t i1 = std::min(mUp ? mHi - m0 : m0 - mLo, len - 1);
        // Minor moves k inside, and the steps that have them.
        const int64_t kLo = nUp ? nLo - n0 : n0 - nHi, kHi = nUp ? nHi - n0 : n0 - nLo;
        if (minor == 0) {
            if (kLo > 0 || kHi < 0) return;
        } else {
            // Coordinates stay within 2^29, so no product here overflows.
            i0 = std::max(i0, ceilDiv(2 * len * kLo - len, 2 * minor));
            i1 = std::min(i1, ceilDiv(2 * len * kHi + len, 2 * minor) - 1);
        }
        if (i0 > i1) return;
        const int64_t k = (2 * minor * i0 + len) / (2 * len);
        int64_t err = 2 * minor * (i0 + 1) - len - 2 * len * k;
        const int64_t m = m0 + (mUp ? i0 : -i0), n = n0 + (nUp ? k : -k);
        const int64_t x = xMajor ? m : n, y = xMajor ? n : m;
        const int64_t xStep = xMajor ? (mUp ? 1 : -1) : (nUp ? 1 : -1);
        const int64_t yStep = (xMajor ? (nUp ? 1 : -1) : (mUp ? 1 : -1)) * int64_t(bpl / 4);
        const int64_t mStride = xMajor ? xStep : yStep, nStride = xMajor ? yStep : xStep;
        uint32_t* base = reinterpret_cast<uint32_t*>(bits);
        int64_t off = y * int64_t(bpl / 4) + x;
        for (int64_t i = i0; i <= i1; ++i) {
            base[off] = px;
            if (err >= 0) {
                off += nStride;
                err -= 2 * len;
            }
            err += 2 * minor;
            off += mStride;
        }
    }
    static int64_t ceilDiv(int64_t a, int64_t b) {   // b > 0
        int64_t q = a / b;
        if (q * b < a) ++q;
        return q;
    }

    // A one-pixel line from a towards b (b excluded), with the pen's
    // cosmetic dashes; gaps take the background colour in opaque mode.
    void thinLine(POINT a, POINT b, uint32_t color, const std::vector<int>& dashes) {
        const DcState& s = dc->state();
        const int rop2 = s.rop2;
        if (dashes.empty()) {
            LineDDAEach(a.x, a.y, b.x, b.y, [&](int x, int y) { plot(x, y, color, rop2); });
            return;
        }
        int total = 0;
        for (int d : dashes) total += d;
        const bool opaque = s.bkMode == OPAQUE;
        const uint32_t bk = devColor(s.bkColor);
        LineDDAEach(a.x, a.y, b.x, b.y, [&](int x, int y) {
            int pos = static_cast<int>(styleCount % total);
            ++styleCount;
            bool on = true;
            for (int d : dashes) {
                if (pos < d) break;
                pos -= d;
                on = !on;
            }
            if (on) plot(x, y, color, rop2);
            else if (opaque) plot(x, y, bk, rop2);
        });
    }

    double penWidth() const {
        const Pen& pen = dc->state().pen;
        return pen.width <= 1 ? 1.0 : pen.width * dc->scaleX();
    }

    // Strokes device points with the current pen; closed adds the edge back.
    void stroke(const POINT* pts, size_t n, bool closed) {
        const Pen& pen = dc->state().pen;
        if (pen.dash() == PS_NULL || n == 0) return;
        const uint32_t color = devColor(pen.color);
        const double w = penWidth();
        if (w <= 1.0) {
            std::vector<int> dashes = CosmeticDashes(pen.style);
            const size_t segs = closed ? n : n - 1;
            ensureClip();
            if (dashes.empty() && clipSimple && !mono && dc->state().rop2 == R2_COPYPEN) {
                uchar* bits = img->bits();
                const qsizetype bpl = img->bytesPerLine();
                for (size_t i = 0; i < segs; ++i)
                    solidLine(pts[i], pts[i + 1 == n ? 0 : i + 1], 0xFF000000u | color, bits, bpl);
                return;
            }
            for (size_t i = 0; i < segs; ++i) thinLine(pts[i], pts[i + 1 == n ? 0 : i + 1], color, dashes);
            return;
        }
        QPainterPath path;
        path.moveTo(pts[0].x, pts[0].y);
        for (size_t i = 1; i < n; ++i) path.lineTo(pts[i].x, pts[i].y);
        if (closed) path.closeSubpath();
        QPainterPathStroker st;
        st.setWidth(w);
        const WideStroke ws = WideStrokeOf(pen);
        st.setCapStyle(ws.cap);
        st.setJoinStyle(ws.join);
        if (ws.dash != Qt::SolidLine) st.setDashPattern(ws.dash);
        const QPainterPath outline = st.createStroke(path);
        std::vector<Ring> rings;
        for (const QPolygonF& poly : outline.toSubpathPolygons()) rings.emplace_back(poly.begin(), poly.end());
        Paint p;
        p.kind = Paint::Solid;
        p.fg = color;
        p.rop2 = dc->state().rop2;
        fillRings(rings, WINDING, p);
    }

    // The device points of pts, appended to out.
    void devicePointsInto(std::vector<POINT>& out, const POINT* pts, int n) const {
        if (n <= 0) return;
        if (dc->unitScale()) {
            // LPtoDP's arithmetic without its divisions, which give back
            // their dividend here.
            const DcState& s = dc->state();
            const auto map = [](int32_t v, int32_t from, int32_t to) {
                return std::clamp(static_cast<int32_t>(std::clamp<int64_t>(int64_t(v) - from, INT32_MIN, INT32_MAX)) + to,
                                  -kCoordLimit, kCoordLimit);
            };
            const size_t at = out.size();
            out.resize(at + size_t(n));
            POINT* o = out.data() + at;
            for (int i = 0; i < n; ++i)
                o[i] = POINT{map(pts[i].x, s.windowOrg.x, s.viewportOrg.x), map(pts[i].y, s.windowOrg.y, s.viewportOrg.y)};
            return;
        }
        out.reserve(out.size() + size_t(n));
        for (int i = 0; i < n; ++i) {
            POINT d = dc->LPtoDP(pts[i]);
            d.x = std::clamp(d.x, -kCoordLimit, kCoordLimit);
            d.y = std::clamp(d.y, -kCoordLimit, kCoordLimit);
            out.push_back(d);
        }
    }

    // Text through QPainter; a monochrome surface gets it through a colour copy.
    template <class F>
    void paintText(F&& f) {
        ensureClip();
        if (mono) {
            QImage tmp = img->convertToFormat(QImage::Format_RGB32);
            {
                QPainter qp(&tmp);
                if (dc->state().clip) qp.setClipRegion(*dc->state().clip);
                f(qp);
            }
            for (int y = 0; y < tmp.height(); ++y)
                for (int x = 0; x < tmp.width(); ++x)
                    put(x, y, monoOf(reinterpret_cast<const uint32_t*>(tmp.constScanLine(y))[x] & 0xFFFFFF));
            return;
        }
        QPainter qp(img);
        if (dc->state().clip) qp.setClipRegion(*dc->state().clip);
        f(qp);
    }
};

RasterDC::RasterDC(HBITMAP surface, int dpi, bool memory)
    : d_(std::make_unique<Impl>()), surface_(surface ? std::move(surface) : Bitmap::Create(1, 1, 1)),
      dpi_(dpi > 0 ? dpi : screenDpi()), memory_(memory) {
    d_->dc = this;
    d_->bind(surface_);
    if (memory_) state().bitmap = surface_;
}

RasterDC::~RasterDC() = default;

const QImage& RasterDC::image() const { return *d_->img; }

QRect RasterDC::surfaceRect() const { return QRect(0, 0, d_->img->width(), d_->img->height()); }

void RasterDC::clipChanged() {
    if (memory_ && state().bitmap && state().bitmap != surface_) {
        surface_ = state().bitmap;
        d_->bind(surface_);
    }
    d_->clipDirty = true;
}

HBITMAP RasterDC::SelectBitmap(const HBITMAP& bitmap) {
    if (!memory_ || !bitmap) return nullptr;
    HBITMAP old = surface_;
    surface_ = bitmap;
    state().bitmap = bitmap;
    d_->bind(surface_);
    return old;
}

int RasterDC::GetDeviceCaps(int index) const {
    const int w = d_->img->width(), h = d_->img->height();
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return w;
    case VERTRES: return h;
    case HORZSIZE: return static_cast<int>(std::lround(w * 25.4 / dpi_));
    case VERTSIZE: return static_cast<int>(std::lround(h * 25.4 / dpi_));
    case LOGPIXELSX:
    case LOGPIXELSY: return dpi_;
    case BITSPIXEL: return d_->mono ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return d_->mono ? 2 : -1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case COLORRES: return 24;
    default: return 0;
    }
}

bool RasterDC::MoveToEx(int x, int y, POINT* old) {
    d_->styleCount = 0;
    return DeviceContext::MoveToEx(x, y, old);
}

bool RasterDC::LineTo(int x, int y) {
    const POINT from = state().currentPos;
    const POINT pts[2] = {from, POINT{x, y}};
    std::vector<POINT>& dev = d_->pointScratch;
    dev.clear();
    d_->devicePointsInto(dev, pts, 2);
    d_->stroke(dev.data(), dev.size(), false);
    state().currentPos = POINT{x, y};
    return true;
}

bool RasterDC::Polyline(const POINT* pts, int n) {
    if (!pts || n < 2) return false;
    d_->styleCount = 0;
    std::vector<POINT>& dev = d_->pointScratch;
    dev.clear();
    d_->devicePointsInto(dev, pts, n);
    d_->stroke(dev.data(), dev.size(), false);
    return true;
}

bool RasterDC::Polygon(const POINT* pts, int n) {
    if (!pts || n < 2) return false;
    return PolyPolygon(pts, &n, 1);
}

bool RasterDC::PolyPolygon(const POINT* pts, const int* counts, int polys) {
    if (!pts || !counts || polys < 1) return false;
    for (int i = 0; i < polys; ++i)
        if (counts[i] < 2) return false;
    // The points' memory kept from call to call: a map fills thousands.
    std::vector<POINT>& dev = d_->pointScratch;
    dev.clear();
    size_t k = 0;
    for (int i = 0; i < polys; ++i) {
        d_->devicePointsInto(dev, pts + k, counts[i]);
        k += size_t(counts[i]);
    }
    d_->fillPolygons(dev.data(), counts, polys, state().polyFillMode, d_->brushPaint(state().brush, false));
    k = 0;
    for (int i = 0; i < polys; ++i) {
        d_->styleCount = 0;
        d_->stroke(dev.data() + k, size_t(counts[i]), true);
        k += size_t(counts[i]);
    }
    return true;
}

bool RasterDC::Rectangle(int left, int top, int right, int bottom) {
    const QRect r = deviceRect(left, top, right, bottom);
    if (r.width() < 1 || r.height() < 1) return true;
    const bool pen = state().pen.dash() != PS_NULL;
    const Paint p = d_->brushPaint(state().brush, false);
    // With a pen the frame is on the edges and the brush fills inside it;
    // without one the fill is one pixel short on the right and bottom.
    const int inset = pen ? 1 : 0;
    if (p.kind != Paint::None)
        for (int y = std::max(r.top() + inset, 0); y < std::min(r.bottom(), d_->img->height()); ++y)
            d_->span(y, r.left() + inset, r.right(), p);
    if (pen) {
        const POINT pts[] = {{r.left(), r.top()}, {r.right(), r.top()}, {r.right(), r.bottom()}, {r.left(), r.bottom()}};
        d_->styleCount = 0;
        d_->stroke(pts, 4, true);
    }
    return true;
}

bool RasterDC::Ellipse(int left, int top, int right, int bottom) {
    const QRect r = deviceRect(left, top, right, bottom);
    if (r.width() < 1 || r.height() < 1) return true;
    QPainterPath path;
    path.addEllipse(QRectF(r.left(), r.top(), r.width() - 1, r.height() - 1));
    const QPolygonF poly = path.toFillPolygon();
    Ring ring(poly.begin(), poly.end());
    if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
    d_->fillRings({ring}, ALTERNATE, d_->brushPaint(state().brush, false));
    std::vector<POINT> outline;
    for (const QPointF& p : ring) outline.push_back(POINT{int(std::round(p.x())), int(std::round(p.y()))});
    d_->styleCount = 0;
    d_->stroke(outline.data(), outline.size(), true);
    return true;
}

COLORREF RasterDC::SetPixel(int x, int y, COLORREF c) {
    if (!SetPixelV(x, y, c)) return CLR_INVALID;
    const POINT d = LPtoDP(POINT{x, y});
    return colorOfPix(d_->get(d.x, d.y));
}

bool RasterDC::SetPixelV(int x, int y, COLORREF c) {
    const POINT d = LPtoDP(POINT{x, y});
    if (!d_->visible(d.x, d.y)) return false;
    d_->put(d.x, d.y, d_->devColor(c));
    return true;
}

COLORREF RasterDC::GetPixel(int x, int y) const {
    const POINT d = LPtoDP(POINT{x, y});
    if (!d_->visible(d.x, d.y)) return CLR_INVALID;
    return colorOfPix(d_->get(d.x, d.y));
}

bool RasterDC::PatternLine(int x1, int y1, int x2, int y2, const uint8_t* on, int n, int64_t& phase, COLORREF fore,
                           COLORREF back) {
    if (!on || n <= 0 || phase < 0) return false;
    if (!unitScale() || d_->mono) return DeviceContext::PatternLine(x1, y1, x2, y2, on, n, phase, fore, back);
    // Straight into the rows: one offset for the mapping, one test against
    // the clip rectangle per pixel.
    const int dx = state().viewportOrg.x - state().windowOrg.x, dy = state().viewportOrg.y - state().windowOrg.y;
    d_->ensureClip();
    const QRect cr = d_->clipRect;
    const bool simple = d_->clipSimple;
    const uint32_t cf = 0xFF000000u | pixOf(fore), cb = 0xFF000000u | pixOf(back);
    const bool drawF = fore != CLR_INVALID, drawB = back != CLR_INVALID;
    uchar* bits = d_->img->bits();
    const qsizetype bpl = d_->img->bytesPerLine();
    int k = static_cast<int>(phase % n);
    const std::vector<QRect>& rects = d_->rects;
    const std::vector<std::pair<int, int>>& rows = d_->rows;
    const int top = cr.top();
    const int64_t steps = LineDDAEach(x1, y1, x2, y2, [&](int x, int y) {
        const bool isOn = on[k] != 0;
        if (++k == n) k = 0;
        if (!(isOn ? drawF : drawB)) return;
        const int px = x + dx, py = y + dy;
        if (!cr.contains(px, py)) return;
        if (!simple) {
            const auto [a, b] = rows[size_t(py - top)];
            int i = a;
            while (i < b && (px < rects[size_t(i)].left() || px > rects[size_t(i)].right())) ++i;
            if (i == b) return;
        }
        reinterpret_cast<uint32_t*>(bits + py * bpl)[px] = isOn ? cf : cb;
    });
    phase += steps;
    return true;
}

bool RasterDC::paintText(const std::function<void(QPainter&)>& draw) {
    d_->paintText(draw);
    return true;
}

bool RasterDC::TextOutHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                           const POINT* offsets, int n) {
    // A monochrome surface rounds every copy to black or white before the
    // next one lands: only copy by copy keeps that.
    if (d_->mono) return DeviceContext::TextOutHalo(x, y, text, halo, fore, offsets, n);
    return paintTextHalo(x, y, text, halo, fore, offsets, n);
}

bool RasterDC::FillRect(const RECT& r, const Brush& brush) {
    const QRect d = deviceRect(r.left, r.top, r.right, r.bottom) & surfaceRect();
    if (d.isEmpty()) return true;
    Paint p = d_->brushPaint(brush, false);
    p.rop2 = R2_COPYPEN;
    for (int y = d.top(); y <= d.bottom(); ++y) d_->span(y, d.left(), d.right() + 1, p);
    return true;
}

namespace {
bool ropUsesPattern(int idx) { return ((idx >> 4) & 0x0F) != (idx & 0x0F); }
bool ropUsesDest(int idx) { return ((idx >> 1) & 0x55) != (idx & 0x55); }
} // namespace

bool RasterDC::PatBlt(int x, int y, int w, int h, uint32_t rop) {
    const QRect d = deviceRect(x, y, int(std::clamp<int64_t>(int64_t(x) + w, INT32_MIN, INT32_MAX)),
                               int(std::clamp<int64_t>(int64_t(y) + h, INT32_MIN, INT32_MAX))) & surfaceRect();
    if (d.isEmpty()) return true;
    const int idx = Rop3Index(rop);
    Paint p = d_->brushPaint(state().brush, true);
    if (ropUsesPattern(idx) && p.kind == Paint::None) return false;
    if (idx == 0xF0 && p.kind == Paint::Solid) {
        p.rop2 = R2_COPYPEN;
        for (int yy = d.top(); yy <= d.bottom(); ++yy) d_->span(yy, d.left(), d.right() + 1, p);
        return true;
    }
    for (int yy = d.top(); yy <= d.bottom(); ++yy) {
        d_->clipSpans(yy, d.left(), d.right() + 1, [&](int a, int b) {
            for (int xx = a; xx < b; ++xx) {
                uint32_t pat = 0;
                p.at(xx, yy, pat);
                d_->put(xx, yy, ApplyRop3(rop, pat, 0, ropUsesDest(idx) ? d_->get(xx, yy) : 0));
            }
        });
    }
    return true;
}

bool RasterDC::blitBitmap(const Blit& b, const Bitmap& srcBm) {
    const QImage& srcImg = srcBm.image();
    if (!QRect(0, 0, srcImg.width(), srcImg.height()).contains(b.src)) return false;
    // A transfer within one picture reads a copy.
    Bitmap copy(QImage{});
    const Bitmap* src = &srcBm;
    if (&srcImg == d_->img) {
        copy = Bitmap(srcImg.copy(), srcBm.bitsPerPixel());
        src = &copy;
    }
    const bool srcMono = src->isMono();
    const int idx = Rop3Index(b.rop);
    const DcState& s = state();
    const Paint pat = ropUsesPattern(idx) ? d_->brushPaint(s.brush, true) : Paint{};
    if (ropUsesPattern(idx) && pat.kind == Paint::None) return false;
    const bool needDest = ropUsesDest(idx);
    const int dw = b.dst.width(), dh = b.dst.height(), sw = b.src.width(), sh = b.src.height();
    const int mode = s.stretchMode;

    // Source ranges of every destination column and row.
    // Source range of destination cells first .. first + count - 1 of dn.
    auto ranges = [](int first, int count, int dn, int sn, bool flip) {
        std::vector<std::pair<int, int>> r(static_cast<size_t>(count));
        for (int j = 0; j < count; ++j) {
            const int i = first + j;
            int a = static_cast<int>(int64_t(i) * sn / dn);
            int e = static_cast<int>(int64_t(i + 1) * sn / dn);
            if (e <= a) e = a + 1;
            if (flip) {
                const int a2 = sn - e;
                e = sn - a;
                a = a2;
            }
            r[size_t(j)] = {a, e};
        }
        return r;
    };
    // Only the part on the surface is worked out.
    const QRect vis = b.dst & surfaceRect();
    if (vis.isEmpty()) return true;
    const auto cols = ranges(vis.left() - b.dst.left(), vis.width(), dw, sw, b.flipX);
    const auto rowsR = ranges(vis.top() - b.dst.top(), vis.height(), dh, sh, b.flipY);
    const uint32_t srcBkPix = pixOf(b.srcBk);
    const uint32_t text = pixOf(s.textColor), bk = pixOf(s.bkColor);

    auto srcPix = [&](int x, int y) -> uint32_t {
        if (srcMono) return src->monoBit(x, y) ? 0xFFFFFFu : 0u;
        return reinterpret_cast<const uint32_t*>(src->image().constScanLine(y))[x] & 0xFFFFFFu;
    };
    // Converts a native source value to the destination's terms.
    auto convert = [&](uint32_t v) -> uint32_t {
        if (srcMono && !d_->mono) return v ? bk : text;
        if (!srcMono && d_->mono) return v == srcBkPix ? 0xFFFFFFu : 0u;
        return v;
    };
    const bool oneToOne = dw == sw && dh == sh;
    // Shrinking under the AND and OR modes combines several source pixels.
    const bool combine = (mode == BLACKONWHITE || mode == WHITEONBLACK) && (dw < sw || dh < sh);
    for (int dy = 0; dy < vis.height(); ++dy) {
        const int y = vis.top() + dy;
        const int ry0 = rowsR[size_t(dy)].first, ry1 = rowsR[size_t(dy)].second;
        d_->clipSpans(y, vis.left(), vis.left() + vis.width(), [&](int a, int e) {
            if (idx == 0xCC && !srcMono && !d_->mono && oneToOne && !b.flipX) {
                const uint32_t* sr = reinterpret_cast<const uint32_t*>(src->image().constScanLine(b.src.top() + ry0));
                uint32_t* dr = reinterpret_cast<uint32_t*>(d_->img->scanLine(y));
                std::copy(sr + b.src.left() + (a - b.dst.left()), sr + b.src.left() + (e - b.dst.left()), dr + a);
                return;
            }
            if (!d_->mono && !combine && (idx == 0xCC || (idx == 0xB8 && pat.kind == Paint::Solid))) {
                // Copies and transparent monochrome laying, one source pixel
                // per destination pixel: straight through the rows.
                const uchar* sl = src->image().constScanLine(b.src.top() + ry0);
                uint32_t* dr = reinterpret_cast<uint32_t*>(d_->img->scanLine(y));
                const int sx0 = b.src.left(), dl = vis.left();
                for (int x = a; x < e; ++x) {
                    const int sx = sx0 + cols[size_t(x - dl)].first;
                    if (srcMono) {
                        const int bit = (sl[sx >> 3] >> (7 - (sx & 7))) & 1;
                        if (idx == 0xCC) dr[x] = 0xFF000000u | (bit ? bk : text);
                        else if (!bit) dr[x] = 0xFF000000u | pat.fg;
                    } else {
                        const uint32_t v = reinterpret_cast<const uint32_t*>(sl)[sx] & 0xFFFFFFu;
                        if (idx == 0xCC) dr[x] = 0xFF000000u | v;
                        else dr[x] = 0xFF000000u | ((((dr[x] & 0xFFFFFFu) ^ pat.fg) & v) ^ pat.fg);
                    }
                }
                return;
            }
            for (int x = a; x < e; ++x) {
                const auto [rx0, rx1] = cols[size_t(x - vis.left())];
                uint32_t v = srcPix(b.src.left() + rx0, b.src.top() + ry0);
                if (mode == BLACKONWHITE || mode == WHITEONBLACK) {
                    for (int yy = ry0; yy < ry1; ++yy)
                        for (int xx = rx0; xx < rx1; ++xx) {
                            const uint32_t u = srcPix(b.src.left() + xx, b.src.top() + yy);
                            v = mode == BLACKONWHITE ? (v & u) : (v | u);
                        }
                }
                const uint32_t S = convert(v);
                uint32_t P = 0;
                if (pat.kind != Paint::None) pat.at(x, y, P);
                const uint32_t D = needDest ? d_->get(x, y) : 0;
                uint32_t out;
                switch (idx) {
                case 0xCC: out = S; break;
                case 0xB8: out = ((D ^ P) & S) ^ P; break;
                case 0x88: out = S & D; break;
                case 0xEE: out = S | D; break;
                case 0x66: out = S ^ D; break;
                default: out = ApplyRop3(b.rop, P, S, D); break;
                }
                d_->put(x, y, d_->mono ? (out ? 0xFFFFFFu : 0u) : out & 0xFFFFFFu);
            }
        });
    }
    return true;
}

HDC CreateCompatibleDC(const DeviceContext* like) {
    const int dpi = like ? like->GetDeviceCaps(LOGPIXELSX) : 0;
    return new RasterDC(nullptr, dpi, true);
}

void DeleteDC(HDC dc) { delete dc; }

HBITMAP CreateCompatibleBitmap(const DeviceContext* dc, int width, int height) {
    const bool mono = dc && dc->GetDeviceCaps(BITSPIXEL) == 1;
    return Bitmap::Create(width, height, mono ? 1 : 32);
}

} // namespace plat
