#include "DistrictColouring.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <span>
#include <tuple>
#include <unordered_map>

#include "clsMap.h"
#include "clsPoly.h"

int32_t DistrictGraph::IndexOf(int16_t code) const {
    const auto it = std::lower_bound(codes.begin(), codes.end(), code);
    return it != codes.end() && *it == code ? static_cast<int32_t>(it - codes.begin()) : -1;
}

namespace {

struct Segment {
    PolyPoint a, b;
    int32_t district;
};

double Dist2(const PolyPoint& p, const Segment& s) {
    const double dx = double(s.b.x) - s.a.x, dy = double(s.b.y) - s.a.y;
    const double px = double(p.x) - s.a.x, py = double(p.y) - s.a.y;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
    const double ex = px - t * dx, ey = py - t * dy;
    return ex * ex + ey * ey;
}

struct Box {
    int32_t x1, y1, x2, y2;
    bool Holds(const Box& b) const { return x1 <= b.x1 && y1 <= b.y1 && b.x2 <= x2 && b.y2 <= y2; }
};

Box BoundsOf(std::span<const PolyPoint> pts) {
    Box b{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (const PolyPoint& p : pts) {
        b.x1 = std::min(b.x1, p.x), b.y1 = std::min(b.y1, p.y);
        b.x2 = std::max(b.x2, p.x), b.y2 = std::max(b.y2, p.y);
    }
    return b;
}

struct Ring {
    std::shared_ptr<clsPoly> poly;
    int16_t district;
    Box box;
};

// Even-odd rule; a point on the outline may count either way.
bool InsideRing(const PolyPoint& p, std::span<const PolyPoint> pts) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        const PolyPoint &a = pts[i], &b = pts[j];
        if ((a.y > p.y) == (b.y > p.y)) continue;
        const double x = a.x + (double(p.y) - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
        if (p.x < x) in = !in;
    }
    return in;
}

// Two of three vertices spread over the inner outline lie inside the outer
// one: a single vertex on the outer outline does not decide.
bool Inside(const Ring& inner, const Ring& outer) {
    const auto in = inner.poly->Points(), out = outer.poly->Points();
    int inside = 0;
    for (const size_t i : {size_t(0), in.size() / 3, 2 * in.size() / 3}) inside += InsideRing(in[i], out) ? 1 : 0;
    return inside >= 2;
}

// The rings by the cells of a 64 x 64 grid over all of them that their
// boxes cover: a ring holding a box covers the cell of its corner.
class BoxGrid {
public:
    explicit BoxGrid(const std::vector<Ring>& rings) : rings_(rings) {
        if (rings.empty()) return;
        Box all = rings[0].box;
        for (const Ring& r : rings)
            all = {std::min(all.x1, r.box.x1), std::min(all.y1, r.box.y1), std::max(all.x2, r.box.x2),
                   std::max(all.y2, r.box.y2)};
        x0_ = all.x1, y0_ = all.y1;
        w_ = (double(all.x2) - all.x1) / kCells + 1, h_ = (double(all.y2) - all.y1) / kCells + 1;
        for (uint32_t i = 0; i < rings.size(); ++i) {
            const Box& b = rings[i].box;
            for (int cx = col(b.x1); cx <= col(b.x2); ++cx)
                for (int cy = row(b.y1); cy <= row(b.y2); ++cy) cells_[size_t(cx * kCells + cy)].push_back(i);
        }
    }
    template <class Visit> void around(const Box& b, Visit&& visit) const {
        for (const uint32_t i : cells_[size_t(col(b.x1) * kCells + row(b.y1))]) visit(rings_[i]);
    }

private:
    static constexpr int kCells = 64;
    int col(int32_t x) const { return std::clamp(int((double(x) - x0_) / w_), 0, kCells - 1); }
    int row(int32_t y) const { return std::clamp(int((double(y) - y0_) / h_), 0, kCells - 1); }

    const std::vector<Ring>& rings_;
    double x0_ = 0, y0_ = 0, w_ = 1, h_ = 1;
    std::array<std::vector<uint32_t>, size_t(kCells * kCells)> cells_;
};

// Cells of `size` map units. A segment is entered in every cell that comes
// within `reach` of it, so a point within `reach` of a segment finds it in
// its own cell alone; `size` is at least four times `reach`.
class SegmentGrid {
public:
    SegmentGrid(const std::vector<Segment>& segments, double size, double reach)
        : segments_(segments), size_(size) {
        std::vector<uint64_t> keys;
        for (uint32_t i = 0; i < segments.size(); ++i) {
            const Segment& s = segments[i];
            const double dx = double(s.b.x) - s.a.x, dy = double(s.b.y) - s.a.y;
            // Samples half a cell apart: every point of the segment lies
            // within a quarter cell of one.
            const auto steps = static_cast<int64_t>(std::ceil(std::hypot(dx, dy) / (size_ / 2)));
            const double r = reach + size_ / 4;
            keys.clear();
            for (int64_t k = 0; k <= steps; ++k) {
                const double t = steps ? double(k) / double(steps) : 0.0;
                const double x = s.a.x + t * dx, y = s.a.y + t * dy;
                for (int64_t cx = cell(x - r); cx <= cell(x + r); ++cx)
                    for (int64_t cy = cell(y - r); cy <= cell(y + r); ++cy) keys.push_back(pack(cx, cy));
            }
            std::sort(keys.begin(), keys.end());
            keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
            for (const uint64_t key : keys) entries_.push_back({key, i});
        }
        std::sort(entries_.begin(), entries_.end());
    }
    // Calls visit(segment) for the segments entered in p's cell.
    template <class Visit> void near(const PolyPoint& p, Visit&& visit) const {
        const uint64_t key = pack(cell(p.x), cell(p.y));
        auto it = std::lower_bound(entries_.begin(), entries_.end(), std::pair<uint64_t, uint32_t>{key, 0});
        for (; it != entries_.end() && it->first == key; ++it) visit(segments_[it->second]);
    }

private:
    int64_t cell(double v) const { return static_cast<int64_t>(std::floor(v / size_)); }
    // Map coordinates are 32-bit, so a cell index fits in 32 bits.
    static uint64_t pack(int64_t x, int64_t y) { return (uint64_t(uint32_t(x)) << 32) | uint32_t(y); }

    const std::vector<Segment>& segments_;
    double size_;
    std::vector<std::pair<uint64_t, uint32_t>> entries_;
};

} // namespace

DistrictGraph DistrictNeighbours(const clsMap& map, int32_t thing, int32_t tolerance) {
    DistrictGraph graph;
    std::vector<Segment> segments;
    std::vector<std::pair<PolyPoint, int16_t>> vertices;
    std::vector<Ring> rings;
    double length = 0;
    for (const MapFigurePtr& f : map) {
        if (!f || f->FigCode() != 3 || (thing != -1 && f->Thing() != thing)) continue;
        const auto poly = f->Poly();
        const auto pts = poly ? poly->Points() : std::span<const PolyPoint>();
        if (pts.empty()) continue;
        rings.push_back({poly, f->Admin(), BoundsOf(pts)});
        graph.codes.push_back(f->Admin());
        for (size_t i = 0; i < pts.size(); ++i) {
            const PolyPoint& b = pts[(i + 1) % pts.size()];
            if (i == 0 || pts[i] != pts[i - 1]) vertices.push_back({pts[i], f->Admin()});
            if (b == pts[i]) continue;
            segments.push_back({pts[i], b, f->Admin()});
            length += std::hypot(double(b.x) - pts[i].x, double(b.y) - pts[i].y);
        }
    }
    std::sort(graph.codes.begin(), graph.codes.end());
    graph.codes.erase(std::unique(graph.codes.begin(), graph.codes.end()), graph.codes.end());
    graph.neighbours.resize(graph.codes.size());
    if (segments.empty()) return graph;
    for (Segment& s : segments) s.district = graph.IndexOf(static_cast<int16_t>(s.district));

    const double tol = std::max(tolerance, 0);
    // About one segment a cell.
    const SegmentGrid grid(segments, std::max({length / double(segments.size()), 4 * tol, 4.0}), tol);
    struct Touch {
        PolyPoint first;
        bool shared = false;   // a second point, apart from the first
    };
    std::unordered_map<uint32_t, Touch> touches;
    const double tol2 = tol * tol;
    for (const auto& [p, code] : vertices) {
        const int32_t a = graph.IndexOf(code);
        grid.near(p, [&, &p = p](const Segment& s) {
            if (s.district == a || Dist2(p, s) > tol2) return;
            const auto lo = uint32_t(std::min(a, s.district)), hi = uint32_t(std::max(a, s.district));
            const auto [it, fresh] = touches.try_emplace(lo << 16 | hi, Touch{p});
            if (fresh || it->second.shared) return;
            const double dx = double(p.x) - it->second.first.x, dy = double(p.y) - it->second.first.y;
            if (dx * dx + dy * dy > tol2) it->second.shared = true;
        });
    }
    // A district drawn over another one (an enclave) shares its whole outline.
    const BoxGrid boxes(rings);
    for (const Ring& inner : rings)
        boxes.around(inner.box, [&](const Ring& outer) {
            if (inner.district == outer.district || !outer.box.Holds(inner.box) || !Inside(inner, outer)) return;
            const auto a = uint32_t(graph.IndexOf(inner.district)), b = uint32_t(graph.IndexOf(outer.district));
            touches[std::min(a, b) << 16 | std::max(a, b)].shared = true;
        });
    for (const auto& [key, touch] : touches) {
        if (!touch.shared) continue;
        const auto a = int32_t(key >> 16), b = int32_t(key & 0xFFFF);
        graph.neighbours[size_t(a)].push_back(b);
        graph.neighbours[size_t(b)].push_back(a);
    }
    for (auto& list : graph.neighbours) std::sort(list.begin(), list.end());
    return graph;
}

namespace {

constexpr int32_t kMaxPages = 8;

// A small repeatable generator for the repair's choices (xorshift64*).
class Shuffle {
public:
    explicit Shuffle(uint64_t seed) : s_(seed | 1) {}
    uint32_t below(uint32_t n) {
        s_ ^= s_ >> 12;
        s_ ^= s_ << 25;
        s_ ^= s_ >> 27;
        return static_cast<uint32_t>(((s_ * 0x2545F4914F6CDD1Dull) >> 32) % n);
    }

private:
    uint64_t s_;
};

// The colouring state of one graph: per district its page (0 open), how many
// neighbours hold each page, how many pages are held around it and how many
// neighbours are still open.
class Colouring {
public:
    Colouring(const DistrictGraph& g, int32_t pages, const std::vector<int32_t>& preferred)
        : g_(g), pages_(pages), preferred_(preferred), page_(g.codes.size(), 0), held_(g.codes.size()),
          around_(g.codes.size(), 0), open_(g.codes.size()) {
        for (size_t v = 0; v < g.codes.size(); ++v) open_[v] = static_cast<int32_t>(g.neighbours[v].size());
    }

    // Colours the group completely, stepping back on dead ends; false (and
    // the group open again) when the steps run out.
    bool search(const std::vector<int32_t>& group, int64_t budget) {
        steps_ = budget;
        return step(group, group.size());
    }

    // Colours the group in the search's order without stepping back: a
    // district with every page taken around it gets the page the fewest of
    // its neighbours hold.
    void greedy(const std::vector<int32_t>& group) {
        for (size_t left = group.size(); left > 0; --left) {
            const int32_t v = next(group);
            int32_t best = 0;
            for (int32_t k = 0; k < pages_; ++k) {
                const int32_t c = pageInTurn(v, k);
                if (best == 0 || held(v, c) < held(v, best)) best = c;
            }
            assign(v, best);
        }
    }

    // Moves districts that share their page with a neighbour to the page
    // that leaves the fewest such pairs, not back to a page they just left
    // (a tabu search): a dead end of the search is mostly a few districts
    // away from a good colouring. Stops when no pair is left.
    void repair(const std::vector<int32_t>& group, int32_t moves, uint64_t seed) {
        Shuffle random(seed);
        std::vector<std::array<int32_t, kMaxPages + 1>> tabuUntil(g_.codes.size());
        int32_t clashes = 0;
        for (const int32_t v : group) clashes += held(v, page_[size_t(v)]);
        clashes /= 2;
        int32_t best = clashes;
        for (int32_t move = 0; move < moves && clashes > 0; ++move) {
            int32_t bv = -1, bc = 0, bd = 0;
            uint32_t ties = 0;
            for (const int32_t v : group) {
                const int32_t own = held(v, page_[size_t(v)]);
                if (own == 0) continue;
                for (int32_t c = 1; c <= pages_; ++c) {
                    if (c == page_[size_t(v)]) continue;
                    const int32_t d = held(v, c) - own;
                    // A tabu page only when it leads below the best so far.
                    if (tabuUntil[size_t(v)][size_t(c)] > move && clashes + d >= best) continue;
                    if (bv < 0 || d < bd) {
                        bv = v, bc = c, bd = d, ties = 1;
                    } else if (d == bd && random.below(++ties) == 0) {
                        bv = v, bc = c;
                    }
                }
            }
            if (bv < 0) continue;
            tabuUntil[size_t(bv)][size_t(page_[size_t(bv)])] = move + 7 + int32_t(random.below(10));
            release(bv);
            assign(bv, bc);
            clashes += bd;
            best = std::min(best, clashes);
        }
    }

    void clashesIn(const std::vector<int32_t>& group, std::vector<std::pair<int32_t, int32_t>>& out) const {
        for (const int32_t v : group)
            for (const int32_t u : g_.neighbours[size_t(v)])
                if (u > v && page_[size_t(u)] == page_[size_t(v)]) out.emplace_back(v, u);
    }

    std::vector<int32_t>& pages() { return page_; }

private:
    int32_t held(int32_t v, int32_t c) const { return held_[size_t(v)][size_t(c)]; }

    int32_t pageInTurn(int32_t v, int32_t k) const {
        const int32_t first = std::clamp(preferred_[size_t(v)], 1, pages_);
        return (first - 1 + k) % pages_ + 1;
    }

    bool step(const std::vector<int32_t>& group, size_t left) {
        if (left == 0) return true;
        if (--steps_ < 0) return false;
        const int32_t v = next(group);
        for (int32_t k = 0; k < pages_; ++k) {
            const int32_t c = pageInTurn(v, k);
            if (held(v, c) != 0) continue;
            assign(v, c);
            if (step(group, left - 1)) return true;
            release(v);
            if (steps_ < 0) return false;
        }
        return false;
    }

    // The open district with the most pages around it, then the most open
    // neighbours, then the first.
    int32_t next(const std::vector<int32_t>& group) const {
        int32_t best = -1;
        for (const int32_t v : group) {
            if (page_[size_t(v)] != 0) continue;
            if (best < 0 || around_[size_t(v)] > around_[size_t(best)] ||
                (around_[size_t(v)] == around_[size_t(best)] && open_[size_t(v)] > open_[size_t(best)]))
                best = v;
        }
        return best;
    }

    void assign(int32_t v, int32_t c) {
        page_[size_t(v)] = c;
        for (const int32_t u : g_.neighbours[size_t(v)]) {
            if (held_[size_t(u)][size_t(c)]++ == 0) ++around_[size_t(u)];
            --open_[size_t(u)];
        }
    }

    void release(int32_t v) {
        const int32_t c = page_[size_t(v)];
        page_[size_t(v)] = 0;
        for (const int32_t u : g_.neighbours[size_t(v)]) {
            if (--held_[size_t(u)][size_t(c)] == 0) --around_[size_t(u)];
            ++open_[size_t(u)];
        }
    }

    const DistrictGraph& g_;
    int32_t pages_;
    const std::vector<int32_t>& preferred_;
    std::vector<int32_t> page_;
    std::vector<std::array<int32_t, kMaxPages + 1>> held_;
    std::vector<int32_t> around_, open_;
    int64_t steps_ = 0;
};

// The districts connected to each other, each group in ascending order.
std::vector<std::vector<int32_t>> Groups(const DistrictGraph& g) {
    std::vector<std::vector<int32_t>> groups;
    std::vector<bool> seen(g.codes.size(), false);
    for (size_t start = 0; start < g.codes.size(); ++start) {
        if (seen[start]) continue;
        std::vector<int32_t> group{int32_t(start)};
        seen[start] = true;
        for (size_t i = 0; i < group.size(); ++i)
            for (const int32_t u : g.neighbours[size_t(group[i])])
                if (!seen[size_t(u)]) {
                    seen[size_t(u)] = true;
                    group.push_back(u);
                }
        std::sort(group.begin(), group.end());
        groups.push_back(std::move(group));
    }
    return groups;
}

} // namespace

DistrictColours ColourDistricts(const DistrictGraph& graph, int32_t pages, const std::vector<int32_t>& preferred,
                                int64_t budget) {
    pages = std::clamp(pages, 1, kMaxPages);
    std::vector<int32_t> wanted(preferred);
    wanted.resize(graph.codes.size(), 1);
    Colouring c(graph, pages, wanted);
    DistrictColours result;
    // The repair's choices follow the drawn pages, so one draw gives one map.
    uint64_t seed = 0x9E3779B97F4A7C15ull;
    for (const int32_t p : wanted) seed = seed * 31 + uint64_t(p);
    for (const auto& group : Groups(graph)) {
        if (c.search(group, budget)) continue;
        c.greedy(group);
        c.repair(group, static_cast<int32_t>(std::min<int64_t>(budget, 1 << 30)), seed);
        c.clashesIn(group, result.clashes);
    }
    std::sort(result.clashes.begin(), result.clashes.end());
    result.page = std::move(c.pages());
    return result;
}
