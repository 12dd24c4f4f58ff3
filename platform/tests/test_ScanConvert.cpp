// The row scan must cover exactly the pixels of a plain span scan, and the
// raster device's fills and solid lines exactly the pixels its plain
// per-span and per-pixel drawing gives.
#include <gtest/gtest.h>

#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "Bitmap.h"
#include "LineDDA.h"
#include "RasterDC.h"
#include "ScanConvert.h"

using namespace plat;

namespace {

struct Polys {
    std::vector<POINT> pts;
    std::vector<int> counts;
};

// The pixels of bounds as a row-major mask.
struct Mask {
    explicit Mask(const QRect& b) : bounds(b), bits(size_t(b.width()) * size_t(b.height()), 0) {}
    void set(int y, int x0, int x1) {
        ASSERT_TRUE(bounds.contains(x0, y) && x0 < x1 && x1 <= bounds.right() + 1) << y << ": " << x0 << ".." << x1;
        for (int x = x0; x < x1; ++x) {
            uint8_t& b = bits[size_t(y - bounds.top()) * size_t(bounds.width()) + size_t(x - bounds.left())];
            ASSERT_EQ(b, 0) << "pixel painted twice at " << x << "," << y;
            b = 1;
        }
    }
    QRect bounds;
    std::vector<uint8_t> bits;
};

struct Edge {
    double x0, y0, x1, y1;   // y0 < y1
    int dir;                 // +1 downwards, -1 upwards
    int rowFirst, rowLast;   // rows it crosses, inclusive
};

struct Crossing {
    double x;
    int dir;
};

// The plain span scan regions and fills were first built on: every active
// edge's crossing worked out in doubles on every row, the crossings sorted.
void ReferenceSpans(const std::vector<Ring>& rings, int fillMode, const QRect& bounds,
                    const std::function<void(int, int, int)>& span) {
    if (bounds.isEmpty()) return;
    std::vector<Edge> edges;
    std::vector<const Edge*> active;
    std::vector<Crossing> xs;
    for (const Ring& r : rings) {
        const size_t n = r.size();
        if (n < 2) continue;
        for (size_t i = 0; i < n; ++i) {
            QPointF a = r[i], b = r[(i + 1) % n];
            if (a.y() == b.y()) continue;
            Edge e;
            e.dir = a.y() < b.y() ? 1 : -1;
            if (e.dir < 0) std::swap(a, b);
            e.x0 = a.x();
            e.y0 = a.y();
            e.x1 = b.x();
            e.y1 = b.y();
            // Rows y with y0 <= y < y1.
            const double first = std::ceil(e.y0), last = std::ceil(e.y1) - 1;
            if (last < bounds.top() || first > bounds.bottom() || last < first) continue;
            e.rowFirst = static_cast<int>(std::max<double>(first, bounds.top()));
            e.rowLast = static_cast<int>(std::min<double>(last, bounds.bottom()));
            edges.push_back(e);
        }
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.rowFirst < b.rowFirst; });
    int yMin = edges.front().rowFirst, yMax = yMin;
    for (const Edge& e : edges) yMax = std::max(yMax, e.rowLast);

    size_t next = 0;
    const double left = bounds.left(), right = double(bounds.right()) + 1;
    for (int y = yMin; y <= yMax; ++y) {
        while (next < edges.size() && edges[next].rowFirst <= y) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->rowLast < y; }),
                     active.end());
        if (active.empty()) {
            if (next < edges.size()) y = edges[next].rowFirst - 1;
            continue;
        }
        xs.clear();
        for (const Edge* e : active) {
            // Exact for integer vertices whenever the crossing is an integer.
            const double x = e->x0 + ((y - e->y0) * (e->x1 - e->x0)) / (e->y1 - e->y0);
            xs.push_back({x, e->dir});
        }
        std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        auto emitSpan = [&](double xa, double xb) {
            double a = std::max(std::ceil(xa), left), b = std::min(std::ceil(xb), right);
            if (a < b) span(y, static_cast<int>(a), static_cast<int>(b));
        };
        if (fillMode == WINDING) {
            int wind = 0;
            double start = 0;
            for (const Crossing& c : xs) {
                const int before = wind;
                wind += c.dir;
                if (before == 0 && wind != 0) start = c.x;
                else if (before != 0 && wind == 0) emitSpan(start, c.x);
            }
        } else {
            for (size_t i = 0; i + 1 < xs.size(); i += 2) emitSpan(xs[i].x, xs[i + 1].x);
        }
    }
}

Mask Reference(const std::vector<Ring>& rings, int mode, const QRect& bounds) {
    Mask m(bounds);
    ReferenceSpans(rings, mode, bounds, [&](int y, int a, int b) { m.set(y, a, b); });
    return m;
}

// Rows come top to bottom, their spans left to right and apart.
struct RowCheck {
    explicit RowCheck(const QRect& b) : mask(b) {}
    void operator()(int y, const int* xs, int n) {
        EXPECT_GT(y, lastY);
        EXPECT_TRUE(n > 0 && n % 2 == 0);
        lastY = y;
        for (int i = 0; i < n; i += 2) {
            if (i > 0) {
                EXPECT_LT(xs[i - 1], xs[i]);
            }
            mask.set(y, xs[i], xs[i + 1]);
        }
    }
    Mask mask;
    int lastY = INT32_MIN;
};

Mask Rows(const Polys& p, int mode, const QRect& bounds) {
    RowCheck check(bounds);
    ScanPolygonRows(p.pts.data(), p.counts.data(), int(p.counts.size()), mode, bounds, check);
    return check.mask;
}

Mask Rows(const std::vector<Ring>& rings, int mode, const QRect& bounds) {
    RowCheck check(bounds);
    ScanRingRows(rings, mode, bounds, check);
    return check.mask;
}

// Random rings of a kind, all over or around a 64 x 48 picture.
Polys RandomPolys(std::mt19937& rng, int kind) {
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Polys p;
    const int rings = in(1, 4);
    for (int r = 0; r < rings; ++r) {
        const int n = in(2, kind == 5 ? 6 : 24);
        for (int i = 0; i < n; ++i) {
            POINT q;
            switch (kind) {
            case 0: q = {in(-4, 68), in(-4, 52)}; break;                 // on the picture
            case 1: q = {in(-5000, 5000), in(-3000, 3000)}; break;       // mostly far outside
            case 2:                                                      // beyond the exact range
                q = {in(0, 3) == 0 ? in(-kCoordLimit, kCoordLimit) : in(-10, 74),
                     in(0, 3) == 0 ? in(-kCoordLimit, kCoordLimit) : in(-10, 58)};
                break;
            case 3: {                                                    // at the exact range's border
                const int e = (1 << 22) + in(-3, 3);
                q = {in(0, 1) ? e * (in(0, 1) ? 1 : -1) : in(-8, 72), in(0, 2) ? in(-8, 56) : e * (in(0, 1) ? 1 : -1)};
                break;
            }
            case 4: q = {in(0, 2) == 0 ? INT32_MIN + in(0, 5) : in(-10, 74), in(0, 4) == 0 ? INT32_MAX - in(0, 5) : in(-10, 58)}; break;
            default:                                                     // a coarse grid: shared edges, repeats
                q = {in(0, 8) * 8, in(0, 6) * 8};
                break;
            }
            // Horizontal edges and repeated points.
            if (i > 0 && in(0, 5) == 0) q.y = p.pts.back().y;
            if (i > 0 && in(0, 9) == 0) q = p.pts.back();
            p.pts.push_back(q);
        }
        p.counts.push_back(n);
    }
    return p;
}

const QRect kBounds[] = {QRect(0, 0, 64, 48), QRect(-10, 5, 50, 30), QRect(13, 17, 1, 1), QRect(-70, -40, 30, 20)};

TEST(RowScan, IntegerRingsCoverTheSpanScansPixels) {
    std::mt19937 rng(4711);
    for (int kind = 0; kind <= 5; ++kind)
        for (int iter = 0; iter < 400; ++iter) {
            const Polys p = RandomPolys(rng, kind);
            const std::vector<Ring> rings = RingsOf(p.pts.data(), p.counts.data(), int(p.counts.size()));
            for (const QRect& b : kBounds)
                for (int mode : {ALTERNATE, WINDING}) {
                    const Mask want = Reference(rings, mode, b);
                    ASSERT_EQ(Rows(p, mode, b).bits, want.bits) << "kind " << kind << " iter " << iter << " mode " << mode;
                    ASSERT_EQ(Rows(rings, mode, b).bits, want.bits) << "kind " << kind << " iter " << iter;
                }
        }
}

TEST(RowScan, FarEdgesRoundAsTheSpanScanDoes) {
    // Edges whose crossing of a row on the picture lies so close above or
    // below an integer that doubles round it across.
    const struct {
        POINT a, b;
    } edges[] = {{{78748482, -78506022}, {-43182665, 43049720}},
                 {{95344143, -67676201}, {-106352178, 75489914}},
                 {{110705645, -78880792}, {-10546388, 7514627}},
                 {{122426064, -72624935}, {-60913613, 36134925}}};
    for (const auto& e : edges)
        for (int mode : {ALTERNATE, WINDING}) {
            const Polys p{{e.a, e.b, {-kCoordLimit, e.b.y}, {-kCoordLimit, e.a.y}}, {4}};
            const std::vector<Ring> rings = RingsOf(p.pts.data(), p.counts.data(), 1);
            const QRect b(0, 0, 64, 48);
            EXPECT_EQ(Rows(p, mode, b).bits, Reference(rings, mode, b).bits) << e.a.x;
        }
}

TEST(RowScan, FractionalRingsCoverTheSpanScansPixels) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> x(-20, 84), y(-20, 68);
    const QRect b(0, 0, 64, 48);
    for (int iter = 0; iter < 600; ++iter) {
        std::vector<Ring> rings;
        if (iter % 2) {
            // The outline of a wide line, as the raster device fills it.
            QPainterPath path;
            path.moveTo(x(rng), y(rng));
            for (int i = 0; i < 5; ++i) path.lineTo(x(rng), y(rng));
            QPainterPathStroker st;
            st.setWidth(1 + iter % 7 * 1.5);
            st.setJoinStyle(iter % 3 ? Qt::RoundJoin : Qt::MiterJoin);
            for (const QPolygonF& poly : st.createStroke(path).toSubpathPolygons())
                rings.emplace_back(poly.begin(), poly.end());
        } else {
            // Halves, repeats and far points among fractions.
            Ring r;
            for (int i = 0; i < 3 + iter % 9; ++i) {
                double px = x(rng), py = y(rng);
                if (i % 4 == 1) py = std::round(py * 2) / 2;
                if (i % 5 == 2) px = 1e9;
                r.emplace_back(px, py);
            }
            rings.push_back(r);
        }
        for (int mode : {ALTERNATE, WINDING})
            ASSERT_EQ(Rows(rings, mode, b).bits, Reference(rings, mode, b).bits) << "iter " << iter;
    }
}

COLORREF Px(const QImage& img, int x, int y) {
    if (img.depth() == 1) return img.pixelIndex(x, y) ? 0xFFFFFF : 0;
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x] & 0xFFFFFF;
}

// The device state one case draws with; both pictures start from the same
// colourful background.
struct Drawing {
    int bpp, rop, brush, clip;
    HBITMAP picture() const {
        HBITMAP bm = Bitmap::Create(64, 48, bpp);
        RasterDC dc(bm, 96);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) dc.SetPixelV(x, y, RGB(x * 4, y * 5, (x * y) & 0xFF));
        return bm;
    }
    void setUp(RasterDC& dc, int mode) const {
        dc.SetROP2(rop);
        dc.SetPolyFillMode(mode);
        dc.SetBrushOrgEx(3, 5);
        dc.SetBkColor(RGB(0, 0, 200));
        dc.SetTextColor(RGB(200, 100, 0));
        dc.SetBkMode(brush == 2 ? TRANSPARENT : OPAQUE);
        if (brush == 0) dc.SelectBrush(CreateSolidBrush(RGB(10, 200, 30)));
        else if (brush <= 2) dc.SelectBrush(CreateHatchBrush(HS_DIAGCROSS, RGB(250, 0, 0)));
        else {
            HBITMAP pat = Bitmap::Create(5, 3, brush == 3 ? 32 : 1);
            RasterDC pdc(pat, 96);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x) pdc.SetPixelV(x, y, (x + y) % 3 ? RGB(x * 50, 90, y * 80) : 0xFFFFFF);
            dc.SelectBrush(CreatePatternBrush(pat));
        }
        if (clip == 1) dc.IntersectClipRect(5, 3, 51, 40);
        if (clip == 2) {
            Region r = CreateRectRgn(2, 2, 30, 20);
            Region other = CreateRectRgn(20, 15, 60, 44);
            Region tri = CreatePolygonRgn(std::vector<POINT>{{0, 47}, {40, 25}, {63, 47}}.data(), 3, ALTERNATE);
            CombineRgn(r, r, other, RGN_XOR);
            CombineRgn(r, r, tri, RGN_OR);
            dc.SelectClipRgn(&r);
        }
    }
};

TEST(RasterFills, PaintTheSpansOfTheSpanScan) {
    std::mt19937 rng(1234);
    int cases = 0;
    for (int bpp : {32, 1})
        for (int rop : {R2_COPYPEN, R2_XORPEN, R2_NOT, R2_MASKPEN, R2_NOTCOPYPEN, R2_NOP})
            for (int brush = 0; brush <= 4; ++brush)
                for (int clip = 0; clip <= 2; ++clip) {
                    const Drawing d{bpp, rop, brush, clip};
                    for (int iter = 0; iter < 6; ++iter) {
                        const Polys p = RandomPolys(rng, (cases++ % 3) * 2);
                        const int mode = iter % 2 ? WINDING : ALTERNATE;
                        HBITMAP got = d.picture(), want = d.picture();
                        RasterDC g(got, 96), w(want, 96);
                        d.setUp(g, mode);
                        d.setUp(w, mode);
                        g.SelectPen(CreatePen(PS_NULL, 1, 0));
                        w.SelectPen(CreatePen(PS_NULL, 1, 0));
                        g.PolyPolygon(p.pts.data(), p.counts.data(), int(p.counts.size()));
                        // Without a pen a rectangle fills [left, right - 1) x [top, bottom - 1).
                        ReferenceSpans(RingsOf(p.pts.data(), p.counts.data(), int(p.counts.size())), mode,
                                  QRect(0, 0, 64, 48), [&](int y, int a, int b) { w.Rectangle(a, y, b + 1, y + 2); });
                        for (int y = 0; y < 48; ++y)
                            for (int x = 0; x < 64; ++x)
                                ASSERT_EQ(Px(got->image(), x, y), Px(want->image(), x, y))
                                    << x << "," << y << " bpp " << bpp << " rop " << rop << " brush " << brush
                                    << " clip " << clip << " iter " << iter;
                    }
                }
}

TEST(RasterLines, SolidLinesSetThePixelsOfTheLineSteps) {
    std::mt19937 rng(77);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int clip = 0; clip <= 1; ++clip)
        for (int iter = 0; iter < 300; ++iter) {
            std::vector<POINT> pts;
            const int far = iter % 3 == 0 ? 30000 : iter % 3 == 1 ? 200 : 70;
            for (int i = 0; i < 2 + iter % 5; ++i) pts.push_back({in(-far, far), in(-far, far)});
            if (iter % 4 == 0) pts.push_back({in(-5, 70), in(-5, 52)});
            HBITMAP got = Bitmap::Create(64, 48, 32), want = Bitmap::Create(64, 48, 32);
            RasterDC g(got, 96), w(want, 96);
            if (clip) {
                g.IntersectClipRect(7, 4, 50, 33);
                w.IntersectClipRect(7, 4, 50, 33);
            }
            g.SelectPen(CreatePen(PS_SOLID, 1, RGB(9, 99, 199)));
            g.Polyline(pts.data(), int(pts.size()));
            for (size_t i = 0; i + 1 < pts.size(); ++i)
                LineDDAEach(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y,
                            [&](int x, int y) {
                                if (x >= 0 && x < 64 && y >= 0 && y < 48) w.SetPixelV(x, y, RGB(9, 99, 199));
                            });
            ASSERT_EQ(got->image(), want->image()) << "clip " << clip << " iter " << iter;
        }
}

} // namespace
