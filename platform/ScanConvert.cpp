#include "ScanConvert.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

struct Edge {
    double x0, y0, x1, y1;   // y0 < y1
    int dir;                 // +1 downwards, -1 upwards
    int rowFirst, rowLast;   // rows it crosses, inclusive
};

struct Crossing {
    double x;
    int dir;
};

} // namespace

void ScanRings(const std::vector<Ring>& rings, int fillMode, const QRect& bounds, const SpanFn& span) {
    if (bounds.isEmpty()) return;
    // Scratch kept from call to call: a map fills thousands of small rings.
    // The span function never fills rings itself.
    thread_local std::vector<Edge> edges;
    thread_local std::vector<const Edge*> active;
    thread_local std::vector<Crossing> xs;
    edges.clear();
    active.clear();
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

std::vector<Ring> RingsOf(const POINT* pts, const int* counts, int polys) {
    std::vector<Ring> rings;
    if (!pts || !counts) return rings;
    size_t k = 0;
    for (int p = 0; p < polys; ++p) {
        Ring r;
        const int n = std::max(0, counts[p]);
        r.reserve(size_t(n));
        for (int i = 0; i < n; ++i, ++k) r.emplace_back(double(pts[k].x), double(pts[k].y));
        rings.push_back(std::move(r));
    }
    return rings;
}

QRegion RegionOfRings(const std::vector<Ring>& rings, int fillMode, const QRect& bounds) {
    std::vector<QRect> rects;
    ScanRings(rings, fillMode, bounds, [&](int y, int x0, int x1) { rects.emplace_back(x0, y, x1 - x0, 1); });
    QRegion r;
    if (!rects.empty()) r.setRects(rects.data(), static_cast<int>(rects.size()));
    return r;
}

} // namespace plat
