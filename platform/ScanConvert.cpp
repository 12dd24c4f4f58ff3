#include "ScanConvert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace plat {

namespace {

// An edge of the row scan. The crossing of a row is only ever used by its
// ceiling, so integer edges step that ceiling exactly from row to row.
// Where all four coordinates lie within kExactLimit the plain arithmetic
// x0 + (y - y0)(x1 - x0) / (y1 - y0) in doubles gets the same ceiling (the
// product is exact and the rounding error stays below the distance
// 1 / (y1 - y0) of any inexact crossing from an integer); beyond it an edge
// uses that arithmetic itself.
struct RowEdge {
    int rowFirst, rowLast;   // rows it crosses, inclusive, inside bounds
    int dir;
    int cx;                  // the crossing's ceiling at the current row, within bounds
    // Stepped: x the ceiling of the crossing, x * dy - numerator = rem, and
    // dx = stepQ * dy - stepR. Else dy is 0 and x the index of the edge's
    // coordinates.
    int32_t x, rem, dy, stepQ, stepR;
};

struct FarEdge {
    double x0, y0, x1, y1;
};

constexpr int64_t kExactLimit = int64_t(1) << 22;
// Doubles this small miss a crossing by far less than a pixel.
constexpr double kNearLimit = double(int64_t(1) << 28);

// Where every crossing of an edge lands on the bounds' left or right end,
// only its direction counts: left of the bounds it adds to the winding a row
// starts with, right of them it closes what is still open.
class RowScan {
public:
    void begin(const QRect& bounds) {
        edges_.clear();
        far_.clear();
        leftEvents_.clear();
        left_ = bounds.left();
        right_ = int64_t(bounds.right()) + 1;
        top_ = bounds.top();
        bottom_ = bounds.bottom();
    }

    // False when no point of the box lies within the bounds' columns and
    // rows: nothing of it shows.
    bool touches(double xMin, double yMin, double xMax, double yMax) const {
        return xMax > double(left_) && xMin < double(right_) && yMax > double(top_) && yMin <= double(bottom_);
    }

    void addInt(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
        if (ay == by) return;
        int dir = 1;
        if (ay > by) {
            std::swap(ax, bx);
            std::swap(ay, by);
            dir = -1;
        }
        const int64_t last = by - 1;
        if (last < top_ || ay > bottom_) return;
        const auto big = [](int64_t v) { return v > kExactLimit || v < -kExactLimit; };
        if (big(ax) || big(ay) || big(bx) || big(by)) {
            addDouble(double(ax), double(ay), double(bx), double(by), dir);
            return;
        }
        const int rowFirst = int(std::max<int64_t>(ay, top_)), rowLast = int(std::min<int64_t>(last, bottom_));
        // The exact crossing lies between ax and bx.
        if (std::min(ax, bx) >= right_) return;
        if (std::max(ax, bx) <= left_) {
            addLeft(rowFirst, rowLast, dir);
            return;
        }
        const int64_t dy = by - ay, dx = bx - ax;
        const int64_t stepQ = rowLast > rowFirst ? ceilDiv(dx, dy) : 0;
        const int64_t num = (rowFirst - ay) * dx;
        const int64_t q = num == 0 ? 0 : ceilDiv(num, dy);
        edges_.push_back({rowFirst, rowLast, dir, 0, int32_t(ax + q), int32_t(q * dy - num), int32_t(dy),
                          int32_t(stepQ), int32_t(stepQ * dy - dx)});
    }

    // Crossings in doubles, x0 + (y - y0)(x1 - x0) / (y1 - y0), edge by edge.
    void addDouble(double ax, double ay, double bx, double by, int dir) {
        const double first = std::ceil(ay), last = std::ceil(by) - 1;
        if (!(last >= double(top_) && first <= double(bottom_) && first <= last)) return;
        const int rowFirst = static_cast<int>(std::max<double>(first, double(top_)));
        const int rowLast = static_cast<int>(std::min<double>(last, double(bottom_)));
        const auto near = [](double v) { return v <= kNearLimit && v >= -kNearLimit; };
        if (near(ax) && near(ay) && near(bx) && near(by)) {
            if (std::min(ax, bx) - 1 >= double(right_)) return;
            if (std::max(ax, bx) + 1 <= double(left_)) {
                addLeft(rowFirst, rowLast, dir);
                return;
            }
        }
        edges_.push_back({rowFirst, rowLast, dir, 0, int32_t(far_.size()), 0, 0, 0, 0});
        far_.push_back({ax, ay, bx, by});
    }

    void addRing(const QPointF* r, size_t n) {
        if (n < 2) return;
        for (size_t i = 0; i < n; ++i) {
            const QPointF a = r[i], b = r[i + 1 == n ? 0 : i + 1];
            if (a.y() == b.y()) continue;
            if (a.y() < b.y()) addDouble(a.x(), a.y(), b.x(), b.y(), 1);
            else addDouble(b.x(), b.y(), a.x(), a.y(), -1);
        }
    }

    void addPolygon(const POINT* r, size_t n) {
        if (n < 2) return;
        for (size_t i = 0; i < n; ++i) {
            const POINT a = r[i], b = r[i + 1 == n ? 0 : i + 1];
            addInt(a.x, a.y, b.x, b.y);
        }
    }

    void run(int fillMode, RowSink row) {
        if (edges_.empty() && leftEvents_.empty()) return;
        int yMin = int(bottom_);
        for (const RowEdge& e : edges_) yMin = std::min(yMin, e.rowFirst);
        for (const Event& e : leftEvents_) yMin = std::min(yMin, e.row);
        sortEdges(yMin);
        std::sort(leftEvents_.begin(), leftEvents_.end(), [](const Event& a, const Event& b) { return a.row < b.row; });
        active_.clear();
        size_t next = 0, nextLeft = 0;
        int leftWind = 0;
        int y = yMin;
        for (;;) {
            while (nextLeft < leftEvents_.size() && leftEvents_[nextLeft].row <= y) leftWind += leftEvents_[nextLeft++].delta;
            while (next < order_.size() && edges_[order_[next]].rowFirst == y) {
                RowEdge* e = &edges_[order_[next++]];
                crossing(*e, y);
                active_.push_back(e);
            }
            // Sorted by insertion: from row to row the order rarely changes.
            for (size_t i = 1; i < active_.size(); ++i) {
                RowEdge* e = active_[i];
                size_t j = i;
                while (j > 0 && active_[j - 1]->cx > e->cx) {
                    active_[j] = active_[j - 1];
                    --j;
                }
                active_[j] = e;
            }
            emitRow(y, fillMode, leftWind, row);
            ++y;
            size_t k = 0;
            for (RowEdge* e : active_) {
                if (e->rowLast < y) continue;
                step(*e, y);
                active_[k++] = e;
            }
            active_.resize(k);
            if (active_.empty() && leftWind == 0) {
                // Nothing is open: on at the next row anything starts.
                int64_t to = INT64_MAX;
                if (next < order_.size()) to = edges_[order_[next]].rowFirst;
                if (nextLeft < leftEvents_.size()) to = std::min<int64_t>(to, leftEvents_[nextLeft].row);
                if (to == INT64_MAX || to > bottom_) break;
                y = std::max(y, int(to));
            } else if (y > bottom_) {
                break;
            }
        }
    }

private:
    struct Event {
        int row, delta;
    };

    void addLeft(int rowFirst, int rowLast, int dir) {
        leftEvents_.push_back({rowFirst, dir});
        leftEvents_.push_back({rowLast + 1, -dir});
    }

    // order_: the edges by first row, counted into place when the rows are few.
    void sortEdges(int yMin) {
        const size_t n = edges_.size();
        order_.resize(n);
        if (n == 0) return;
        int yMax = yMin;
        for (const RowEdge& e : edges_) yMax = std::max(yMax, e.rowFirst);
        const size_t span = size_t(yMax - yMin) + 1;
        if (span <= 4 * n + 16) {
            counts_.assign(span + 1, 0);
            for (const RowEdge& e : edges_) ++counts_[size_t(e.rowFirst - yMin) + 1];
            for (size_t i = 1; i <= span; ++i) counts_[i] += counts_[i - 1];
            for (size_t i = 0; i < n; ++i) order_[counts_[size_t(edges_[i].rowFirst - yMin)]++] = uint32_t(i);
            return;
        }
        keys_.resize(n);
        for (size_t i = 0; i < n; ++i) keys_[i] = (uint64_t(uint32_t(edges_[i].rowFirst - yMin)) << 32) | uint64_t(i);
        std::sort(keys_.begin(), keys_.end());
        for (size_t i = 0; i < n; ++i) order_[i] = uint32_t(keys_[i]);
    }

    static int64_t ceilDiv(int64_t a, int64_t b) {   // b > 0
        // Most edges are short: a 32-bit division is several times faster.
        if (a >= INT32_MIN && a <= INT32_MAX && b <= INT32_MAX) {
            int32_t q = int32_t(a) / int32_t(b);
            if (int64_t(q) * b < a) ++q;
            return q;
        }
        int64_t q = a / b;
        if (q * b < a) ++q;
        return q;
    }

    void crossing(RowEdge& e, int y) const {
        if (e.dy != 0) {
            e.cx = int(std::clamp<int64_t>(e.x, left_, right_));
            return;
        }
        const FarEdge& f = far_[size_t(e.x)];
        const double x = std::ceil(f.x0 + ((y - f.y0) * (f.x1 - f.x0)) / (f.y1 - f.y0));
        // Compared so that a NaN lands on the left.
        e.cx = x < double(right_) ? (x > double(left_) ? int(x) : int(left_)) : int(right_);
    }

    void step(RowEdge& e, int y) const {
        if (e.dy != 0) {
            e.x += e.stepQ;
            e.rem += e.stepR;
            if (e.rem >= e.dy) {
                e.rem -= e.dy;
                --e.x;
            }
        }
        crossing(e, y);
    }

    void push(int a, int b) {
        if (a >= b) return;
        if (!xs_.empty() && xs_.back() == a) xs_.back() = b;
        else {
            xs_.push_back(a);
            xs_.push_back(b);
        }
    }

    void emitRow(int y, int fillMode, int leftWind, RowSink row) {
        xs_.clear();
        const int left = int(left_), right = int(right_);
        if (fillMode == WINDING) {
            int wind = leftWind, start = left;
            for (const RowEdge* e : active_) {
                const int before = wind;
                wind += e->dir;
                if (before == 0 && wind != 0) start = e->cx;
                else if (before != 0 && wind == 0) push(start, e->cx);
            }
            if (wind != 0) push(start, right);
        } else {
            // Crossings left of the bounds pair up among themselves but the
            // last of an odd number.
            size_t i = 0;
            int start = left;
            bool open = (leftWind & 1) != 0;
            for (; i < active_.size(); ++i) {
                if (open) push(start, active_[i]->cx);
                else start = active_[i]->cx;
                open = !open;
            }
            if (open) push(start, right);
        }
        if (!xs_.empty()) row(y, xs_.data(), int(xs_.size()));
    }

    std::vector<RowEdge> edges_;
    std::vector<FarEdge> far_;
    std::vector<Event> leftEvents_;
    std::vector<uint32_t> order_;
    std::vector<uint32_t> counts_;
    std::vector<uint64_t> keys_;
    std::vector<RowEdge*> active_;
    std::vector<int> xs_;
    int64_t left_ = 0, right_ = 0, top_ = 0, bottom_ = 0;
};

// Scratch kept from call to call: a map fills thousands of small rings.
// The row function never fills rings itself.
RowScan& Scratch() {
    thread_local RowScan scan;
    return scan;
}

} // namespace

void ScanRingRows(const std::vector<Ring>& rings, int fillMode, const QRect& bounds, RowSink row) {
    if (bounds.isEmpty()) return;
    RowScan& scan = Scratch();
    scan.begin(bounds);
    for (const Ring& r : rings) scan.addRing(r.data(), r.size());
    scan.run(fillMode, row);
}

void ScanPolygonRows(const POINT* pts, const int* counts, int polys, int fillMode, const QRect& bounds,
                     RowSink row) {
    if (bounds.isEmpty() || !pts || !counts) return;
    RowScan& scan = Scratch();
    scan.begin(bounds);
    size_t total = 0;
    for (int p = 0; p < polys; ++p) total += size_t(std::max(0, counts[p]));
    if (total == 0) return;
    int xMin = pts[0].x, xMax = xMin, yMin = pts[0].y, yMax = yMin;
    for (size_t i = 1; i < total; ++i) {
        xMin = std::min(xMin, pts[i].x);
        xMax = std::max(xMax, pts[i].x);
        yMin = std::min(yMin, pts[i].y);
        yMax = std::max(yMax, pts[i].y);
    }
    if (!scan.touches(xMin, yMin, xMax, yMax)) return;
    size_t k = 0;
    for (int p = 0; p < polys; ++p) {
        const size_t n = size_t(std::max(0, counts[p]));
        scan.addPolygon(pts + k, n);
        k += n;
    }
    scan.run(fillMode, row);
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
    auto row = [&](int y, const int* xs, int n) {
        for (int i = 0; i < n; i += 2) rects.emplace_back(xs[i], y, xs[i + 1] - xs[i], 1);
    };
    ScanRingRows(rings, fillMode, bounds, row);
    QRegion r;
    if (!rects.empty()) r.setRects(rects.data(), static_cast<int>(rects.size()));
    return r;
}

} // namespace plat
