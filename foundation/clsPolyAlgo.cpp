// The operations of clsPoly that reshape a whole sequence: clipping,
// simplification, densification, joining, splitting and point search.
//
// Each operation is defined by deleting or inserting one point at a time,
// which is quadratic on long sequences; every such loop is a single
// compaction (or a linked walk) that gives the same points in linear time.
#include "clsPoly.h"
#include "PolyDetour.h"

#include "ErrorMng.h"
#include "basNumberText.h"
#include "clsLine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace {

const QString kClass = QStringLiteral("clsPoly");

// Round half to even for |v| < 2^51, without the library call: adding
// 1.5 * 2^52 leaves no fraction bits, so the addition itself rounds, to
// nearest and ties to even as the default rounding mode does.
inline double RoundEven(double v) {
    constexpr double kShift = 6755399441055744.0;
    return (v + kShift) - kShift;
}

// The same for a value known to lie within the 32-bit range.
int32_t RoundIn(double v) { return static_cast<int32_t>(RoundEven(v)); }

// Hypot's own arithmetic, inline: the simplification takes three a triple.
inline double Dist(const PolyPoint& a, const PolyPoint& b) {
    const double dx = double(a.x) - b.x, dy = double(a.y) - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

// Nodes whose triples (node, next, next of next) a deletion changed, in
// order and each once.
void markDirty(std::vector<int32_t>& list, int32_t node) {
    if (node >= 0 && (list.empty() || list.back() != node)) list.push_back(node);
}

// CompressB's passes after the first, on a linked list (prev -2 marks a
// removed node): each tests, in order, the triples at the dirty nodes up to
// the last deletion of the pass before, until a pass deletes nothing.
// canDrop(a, b, c) tests a triple, drop(a, b, c) unlinks b.
template <class CanDrop, class Drop>
void DirtyPasses(std::vector<int32_t>& dirty, int32_t last, const std::vector<int32_t>& next,
                 const std::vector<int32_t>& prev, CanDrop canDrop, Drop drop) {
    std::vector<int32_t> nextDirty;
    while (!dirty.empty()) {
        nextDirty.clear();
        int32_t del = -1;
        for (const int32_t a : dirty) {
            if (a > last) break;
            if (prev[a] == -2) continue;
            const int32_t b = next[a];
            if (b < 0) continue;
            const int32_t c = next[b];
            if (c < 0 || !canDrop(a, b, c)) continue;
            if (b == last) last = a;
            drop(a, b, c);
            markDirty(nextDirty, prev[a]);
            markDirty(nextDirty, a);
            del = a;
        }
        last = del;
        dirty.swap(nextDirty);
    }
}

// One pass of the polygon clip against one side: inside is x >= c (bit 1),
// x <= c (2), y >= c (4) or y <= c (8). Where the walk changes sides the
// crossing is put in, offset from the segment's start rounded on its own.
// The closing segment is not walked: a ring is closed by its last point.
template <int Bit>
void ClipPass(const std::vector<PolyPoint>& in, std::vector<PolyPoint>& out, int32_t c) {
    constexpr bool alongX = Bit <= 2;
    auto inside = [c](const PolyPoint& p) {
        if constexpr (Bit == 1) return p.x >= c;
        else if constexpr (Bit == 2) return p.x <= c;
        else if constexpr (Bit == 4) return p.y >= c;
        else return p.y <= c;
    };
    out.clear();
    if (in.empty()) return;
    bool prevIn = inside(in[0]);
    if (prevIn) out.push_back(in[0]);
    for (size_t i = 1; i < in.size(); ++i) {
        const PolyPoint& p = in[i];
        const bool now = inside(p);
        if (now != prevIn) {
            const PolyPoint& q = in[i - 1];
            if constexpr (alongX) {
                const double f = (double(c) - q.x) / (double(p.x) - q.x);
                out.push_back(PolyPoint{c, RoundIn(q.y + RoundEven((double(p.y) - q.y) * f))});
            } else {
                const double f = (double(c) - q.y) / (double(p.y) - q.y);
                out.push_back(PolyPoint{RoundIn(q.x + RoundEven((double(p.x) - q.x) * f)), c});
            }
        }
        if (now) out.push_back(p);
        prevIn = now;
    }
}

} // namespace

// ---------------------------------------------------------------- clipping

bool clsPoly::Clip(const clsRect& rect) {
    try {
        if (pts_.empty()) return false;
        UpdateBound();
        const int16_t c1 = rect.OutCode(minX_, minY_);
        const int16_t c2 = rect.OutCode(maxX_, maxY_);
        if (c1 & c2) {
            pts_.clear();
            flags_ = FlagModified;
            return false;
        }
        const int16_t codes = c1 | c2;
        if (codes == 0) return true;

        std::vector<PolyPoint> out;
        out.reserve(pts_.size() + 1000);
        for (int16_t bit = 1; bit <= 8; bit <<= 1) {
            if (!(codes & bit)) continue;
            const bool wasLoop = IsLoop();
            switch (bit) {
            case 1: ClipPass<1>(pts_, out, rect.x1); break;
            case 2: ClipPass<2>(pts_, out, rect.x2); break;
            case 4: ClipPass<4>(pts_, out, rect.y1); break;
            default: ClipPass<8>(pts_, out, rect.y2); break;
            }
            if (out.size() < 2) {
                pts_.clear();
                flags_ = FlagModified;
                return false;
            }
            pts_.swap(out);
            if (wasLoop) MakeLoop();
        }
        flags_ = FlagModified;
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Clip"));
    }
}

PolyCollection clsPoly::Clips(const clsRect& rect) const {
    try {
        PolyCollection result;
        // A single point is no line: no fragment.
        if (pts_.size() < 2) return result;
        UpdateBound();
        const int16_t c1 = rect.OutCode(minX_, minY_);
        const int16_t c2 = rect.OutCode(maxX_, maxY_);
        if (c1 & c2) return result;
        if ((c1 | c2) == 0) {
            result.push_back(Copy());
            return result;
        }
        std::vector<PolyPoint> fragment;
        auto flush = [&] {
            clsPoly p;
            p.pts_ = fragment;
            p.flags_ = FlagModified;
            result.push_back(std::move(p));
            fragment.clear();
        };
        PolyPoint prev = pts_[0];
        bool prevIn = rect.IsInner(prev.x, prev.y);
        if (prevIn) fragment.push_back(prev);
        for (size_t i = 1; i < pts_.size(); ++i) {
            const PolyPoint cur = pts_[i];
            const bool curIn = rect.IsInner(cur.x, cur.y);
            if (!(prevIn && curIn)) {
                clsLine line(prev.x, prev.y, cur.x, cur.y);
                if (line.Clip(rect)) {
                    if (!prevIn) fragment.push_back(PolyPoint{line.x1, line.y1});
                    if (!curIn) {
                        fragment.push_back(PolyPoint{line.x2, line.y2});
                        flush();
                    }
                }
            }
            if (curIn) fragment.push_back(cur);
            prev = cur;
            prevIn = curIn;
        }
        if (fragment.size() > 1) flush();
        return result;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Clips"));
    }
}

// ------------------------------------------------------------ simplification

bool clsPoly::CanDropMiddle(const PolyPoint& p1, const PolyPoint& p2, const PolyPoint& p3, double tol,
                            double maxSpan) const {
    if (DetourClearlyAbove(p1, p2, p3, tol, maxSpan)) return false;
    const double span = Dist(p1, p3);
    if (!(span < maxSpan)) return false;
    const double detour = (Dist(p3, p2) + Dist(p2, p1)) - span;
    return detour <= 0 || detour < tol;
}

void clsPoly::CompressB(double tol, double maxSpan) {
    try {
        const int32_t count = Count();
        if (count < 4) return;
        if (IsHorizontal() || IsVertical()) {
            UpdateBound();
            const PolyPoint first = pts_.front(), last = pts_.back();
            if (last.x - int64_t{first.x} > 0 || last.y - int64_t{first.y} > 0)
                SetLine(minX_, minY_, maxX_, maxY_);
            else
                SetLine(maxX_, maxY_, minX_, minY_);
            return;
        }

        // Passes over a shrinking window, each testing the triples from its
        // start to its end and deleting the middle point of every triple that
        // may go; after a deletion the new triple at the same place waits for
        // the next pass. Only the triples next to a deletion can change their
        // answer, so after the first pass, which sees every triple, each pass
        // visits just those ("dirty") triples in order. Nodes are named by
        // their place after the first pass, which keeps the order.
        std::vector<int32_t> dirty;

        // The first pass compacts in place: out[0..w) are the points kept so
        // far, pts_[r..] the points not yet reached; the triple under test is
        // (out[w-1], pts_[r], pts_[r+1]), and its first point left pts_ at r-1.
        const size_t n = pts_.size();
        int64_t lastNode = static_cast<int64_t>(n) - 3;   // the window's end
        int64_t lastDel = -1;
        size_t w = 1, r = 1;
        while (static_cast<int64_t>(r) - 1 <= lastNode && r + 1 < n) {
            if (CanDropMiddle(pts_[w - 1], pts_[r], pts_[r + 1], tol, maxSpan)) {
                if (static_cast<int64_t>(r) == lastNode) lastNode = static_cast<int64_t>(r) - 1;
                markDirty(dirty, static_cast<int32_t>(w) - 2);
                markDirty(dirty, static_cast<int32_t>(w) - 1);
                lastDel = static_cast<int64_t>(w) - 1;
                ++r;   // the middle point goes
            }
            pts_[w++] = pts_[r++];
        }
        if (w == r) return;   // nothing went: nothing changes, flags included
        while (r < n) pts_[w++] = pts_[r++];
        pts_.resize(w);
        flags_ = FlagModified;

        // Later passes on a linked list; prev -2 marks a removed node.
        const int32_t m = static_cast<int32_t>(w);
        std::vector<int32_t> next, prev;
        if (!dirty.empty()) {
            next.resize(w);
            prev.resize(w);
            for (int32_t k = 0; k < m; ++k) {
                next[k] = k + 1 < m ? k + 1 : -1;
                prev[k] = k - 1;
            }
        }
        DirtyPasses(
            dirty, static_cast<int32_t>(lastDel), next, prev,
            [&](int32_t a, int32_t b, int32_t c) { return CanDropMiddle(pts_[a], pts_[b], pts_[c], tol, maxSpan); },
            [&](int32_t a, int32_t b, int32_t c) {
                prev[b] = -2;
                next[a] = c;
                prev[c] = a;
            });
        if (!prev.empty()) {
            size_t k2 = 0;
            for (int32_t k = 0; k < m; ++k)
                if (prev[k] != -2) pts_[k2++] = pts_[k];
            pts_.resize(k2);
        }
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("CompressB"));
    }
}

bool clsPoly::CompressBToCount(double tol, double step, double maxSpan, int32_t maxCount) {
    // The state after CompressB(tol + step * k) for k = 0, 1, 2 ... is kept
    // on a linked list, and the triples that may ever go (span below maxSpan)
    // in a heap by their detour. A call at tolerance t tests every triple in
    // its first pass, yet only those whose detour is below t can go: they come
    // off the heap, are tested in order with the same rule (the triple after
    // a deletion waits), and the later passes over the triples next to a
    // deletion are CompressB's own. So each tolerance costs what it deletes,
    // not the whole sequence. Tolerances at which nothing would go are
    // skipped, as the smallest detour tells.
    try {
        const int32_t n = Count();
        if (n <= maxCount) return true;
        struct Triple {
            double detour;
            int32_t a, b, c;
            bool operator>(const Triple& o) const { return detour > o.detour; }
        };
        std::vector<Triple> heap;
        std::vector<int32_t> next(static_cast<size_t>(n)), prev(static_cast<size_t>(n));
        for (int32_t k = 0; k < n; ++k) {
            next[k] = k + 1 < n ? k + 1 : -1;
            prev[k] = k - 1;
        }
        auto consider = [&](int32_t a) {
            if (a < 0) return;
            const int32_t b = next[a];
            const int32_t c = b < 0 ? -1 : next[b];
            if (c < 0) return;
            const PolyPoint &p1 = pts_[a], &p2 = pts_[b], &p3 = pts_[c];
            // Far ends can never span less than maxSpan: no square root for them.
            const double dx = std::fabs(double(p1.x) - p3.x), dy = std::fabs(double(p1.y) - p3.y);
            if (dx >= 2 * maxSpan || dy >= 2 * maxSpan) return;
            const double span = Dist(p1, p3);
            if (!(span < maxSpan)) return;
            heap.push_back({(Dist(p3, p2) + Dist(p2, p1)) - span, a, b, c});
            std::push_heap(heap.begin(), heap.end(), std::greater<>());
        };
        auto current = [&](const Triple& t) { return prev[t.a] != -2 && next[t.a] == t.b && next[t.b] == t.c; };
        for (int32_t a = 0; a + 2 < n; ++a) consider(a);
        // Live points off the first point's row and column: none means flat.
        int32_t live = n, offRow = 0, offColumn = 0;
        for (const PolyPoint& q : pts_) {
            offRow += q.y != pts_[0].y;
            offColumn += q.x != pts_[0].x;
        }
        auto drop = [&](int32_t a, int32_t b, int32_t c) {
            prev[b] = -2;
            next[a] = c;
            prev[c] = a;
            --live;
            offRow -= pts_[b].y != pts_[0].y;
            offColumn -= pts_[b].x != pts_[0].x;
            consider(prev[a]);
            consider(a);
        };
        auto livePoints = [&] {
            std::vector<PolyPoint> out;
            out.reserve(static_cast<size_t>(live));
            for (int32_t k = 0; k >= 0; k = next[k]) out.push_back(pts_[k]);
            return out;
        };
        std::vector<Triple> due;
        std::vector<int32_t> dirty;
        int64_t k = 0;
        for (int64_t round = 0; round <= 2 * int64_t{n} + 16; ++round) {
            const double t = tol + step * static_cast<double>(k);
            if (live < 4) return false;   // CompressB leaves such a sequence alone
            if (offRow == 0 || offColumn == 0) {
                // CompressB makes a straight run two points.
                clsPoly flat;
                flat.pts_ = livePoints();
                flat.CompressB(t, maxSpan);
                if (flat.Count() > maxCount) return false;
                *this = std::move(flat);
                return true;
            }
            due.clear();
            while (!heap.empty() && (heap.front().detour <= 0 || heap.front().detour < t)) {
                std::pop_heap(heap.begin(), heap.end(), std::greater<>());
                if (current(heap.back())) due.push_back(heap.back());
                heap.pop_back();
            }
            if (due.empty()) {
                while (!heap.empty() && !current(heap.front())) {
                    std::pop_heap(heap.begin(), heap.end(), std::greater<>());
                    heap.pop_back();
                }
                if (heap.empty() || heap.front().detour > 1e12) return false;
                const double d = heap.front().detour;
                int64_t nextK = static_cast<int64_t>((d - tol) / step);
                while (tol + step * static_cast<double>(nextK) <= d) ++nextK;
                k = std::max(k + 1, nextK);
                continue;
            }
            // The first pass, over the triples that can go, in order.
            std::sort(due.begin(), due.end(), [](const Triple& x, const Triple& y) { return x.b < y.b; });
            due.erase(std::unique(due.begin(), due.end(), [](const Triple& x, const Triple& y) { return x.b == y.b; }),
                      due.end());
            dirty.clear();
            int32_t waits = -1, last = -1;
            for (const Triple& tr : due) {
                if (tr.b == waits) continue;
                markDirty(dirty, prev[tr.a]);
                markDirty(dirty, tr.a);
                last = tr.a;
                waits = tr.c;
                drop(tr.a, tr.b, tr.c);
            }
            // The later passes are CompressB's own.
            DirtyPasses(
                dirty, last, next, prev,
                [&](int32_t a, int32_t b, int32_t c) { return CanDropMiddle(pts_[a], pts_[b], pts_[c], t, maxSpan); },
                drop);
            if (live <= maxCount) {
                pts_ = livePoints();
                flags_ = FlagModified;
                return true;
            }
            ++k;
        }
        return false;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("CompressBToCount"));
    }
}

void clsPoly::CompressHalf() {
    const size_t count = pts_.size();
    if (count < 2) return;
    auto centroid = [&](size_t i) {
        const PolyPoint& a = pts_[i];
        const PolyPoint& b = pts_[i + 1];
        const PolyPoint& c = pts_[i + 2];
        return PolyPoint{static_cast<int32_t>((int64_t{a.x} + b.x + c.x) / 3),
                         static_cast<int32_t>((int64_t{a.y} + b.y + c.y) / 3)};
    };
    clsPoly half;
    half.pts_.reserve(count / 2 + 2);
    if (IsLoop()) {
        for (size_t i = 0; i + 2 < count; i += 2) half.pts_.push_back(centroid(i));
        if (count % 2 == 0) {
            const PolyPoint& a = pts_[count - 2];
            const PolyPoint& b = pts_[count - 1];
            half.pts_.push_back(PolyPoint{static_cast<int32_t>((int64_t{a.x} + b.x) / 2),
                                          static_cast<int32_t>((int64_t{a.y} + b.y) / 2)});
        }
        half.MakeLoop();
    } else {
        half.pts_.push_back(pts_.front());
        for (size_t i = 1; i + 3 < count; i += 2) half.pts_.push_back(centroid(i));
        half.pts_.push_back(pts_.back());
    }
    pts_ = std::move(half.pts_);
    flags_ = FlagModified;
}

bool clsPoly::DelOverlap() {
    const size_t count = pts_.size();
    // Of every run of equal points only the last stays.
    size_t w = 0;
    for (size_t i = 0; i < count; ++i)
        if (i + 1 == count || !(pts_[i] == pts_[i + 1])) pts_[w++] = pts_[i];
    if (w == count) return false;
    pts_.resize(w);
    flags_ = FlagModified;
    return true;
}

// ------------------------------------------------------------- densification

bool clsPoly::Chop(int32_t maxLen, int16_t mode) {
    try {
        if (mode < 1 || mode > 3 || maxLen < 2) return false;
        const int16_t keep = flags_;
        const size_t count = pts_.size();
        // Steps of segment i (from point i - 1): the inserted points are steps - 1.
        auto steps = [&](size_t i) -> int64_t {
            const int64_t dx = int64_t{pts_[i].x} - pts_[i - 1].x, dy = int64_t{pts_[i].y} - pts_[i - 1].y;
            const int64_t d = mode == 1 ? std::llabs(dx) : mode == 2 ? std::llabs(dy)
                                                                     : std::max(std::llabs(dx), std::llabs(dy));
            return d > maxLen ? (d + maxLen - 1) / maxLen : 1;
        };
        // First the final count, so that the points are placed once: the
        // insertions stop for good at the segment that would reach MaxCount.
        int64_t total = static_cast<int64_t>(count);
        size_t stop = count;
        for (size_t i = 1; i < count; ++i) {
            const int64_t k = steps(i);
            if (k == 1) continue;
            if (total + (k - 1) >= MaxCount()) {
                stop = i;
                break;
            }
            total += k - 1;
        }
        if (total != static_cast<int64_t>(count)) {
            std::vector<PolyPoint> out(static_cast<size_t>(total));
            size_t w = 0;
            out[w++] = pts_[0];
            for (size_t i = 1; i < count; ++i) {
                const int64_t k = i < stop ? steps(i) : 1;
                if (k > 1) {
                    const PolyPoint p0 = pts_[i - 1];
                    const double sx = (double(pts_[i].x) - p0.x) / double(k);
                    const double sy = (double(pts_[i].y) - p0.y) / double(k);
                    double fx = p0.x, fy = p0.y;
                    for (int64_t j = 1; j < k; ++j) {
                        fx += sx;
                        fy += sy;
                        out[w++] = PolyPoint{RoundIn(fx), RoundIn(fy)};
                    }
                }
                out[w++] = pts_[i];
            }
            pts_ = std::move(out);
        }
        flags_ = static_cast<int16_t>(keep | FlagModified);
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Chop"));
    }
}

// -------------------------------------------------------- joining, splitting

bool clsPoly::Connect(const clsPoly& poly) {
    try {
        if (poly.pts_.empty()) return false;
        if (int64_t{Count()} + poly.Count() >= int64_t{MaxCount()} + 1) return false;
        if (&poly == this) {
            const clsPoly self = *this;
            return Connect(self);
        }
        if (!pts_.empty() && pts_.back() == poly.pts_.front()) pts_.pop_back();
        pts_.insert(pts_.end(), poly.pts_.begin(), poly.pts_.end());
        flags_ = FlagModified;
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Connect"));
    }
}

clsPoly clsPoly::Divide(int32_t i) {
    try {
        clsPoly tail;
        if (Count() >= 3 && InBoundIndex(i)) {
            tail.pts_.assign(pts_.begin() + (i - 1), pts_.end());
            tail.flags_ = FlagModified;
            pts_.resize(static_cast<size_t>(i));
            flags_ = FlagModified;
        }
        return tail;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Divide"));
    }
}

// ---------------------------------------------------------------- searching

int32_t clsPoly::FindPoint(int32_t start, const PolyPoint& pt) const {
    for (int32_t i = std::max(start, 1); i <= Count(); ++i)
        if (pts_[static_cast<size_t>(i) - 1] == pt) return i;
    return 0;
}

int32_t clsPoly::FindNearPoint(int32_t start, const PolyPoint& pt, int32_t tol) const {
    int64_t limit = tol;
    int32_t best = 0;
    for (int32_t i = std::max(start, 1); i <= Count(); ++i) {
        const PolyPoint& p = pts_[static_cast<size_t>(i) - 1];
        const int64_t dx = std::llabs(int64_t{pt.x} - p.x), dy = std::llabs(int64_t{pt.y} - p.y);
        if (dx <= limit && dy <= limit) {
            const double d = std::nearbyint(Hypot(double(dx), double(dy)));
            if (d <= double(limit)) {
                limit = static_cast<int64_t>(d);
                best = i;
            }
        }
    }
    return best;
}
