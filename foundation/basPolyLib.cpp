#include "basPolyLib.h"

#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "clsLine.h"

#include <algorithm>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

const QString kModule = QStringLiteral("basPolyLib");

int32_t Long(int64_t v) { return plat::CLng(static_cast<double>(v)); }

uint64_t Key(const PolyPoint& p) { return (uint64_t{static_cast<uint32_t>(p.x)} << 32) | static_cast<uint32_t>(p.y); }

// The cut at X = c (Vertical) or Y = c written once: `a` is the coordinate
// across the line, `b` the one along it.
template <bool Vertical>
struct Axis {
    static int32_t a(const PolyPoint& p) { return Vertical ? p.x : p.y; }
    static int32_t b(const PolyPoint& p) { return Vertical ? p.y : p.x; }
    static PolyPoint make(int32_t av, int32_t bv) { return Vertical ? PolyPoint{av, bv} : PolyPoint{bv, av}; }
    static int32_t cross(const PolyPoint& p, const PolyPoint& q, int32_t c) {
        const clsLine line(p.x, p.y, q.x, q.y);
        return Vertical ? line.CrossY(c) : line.CrossX(c);
    }
};

template <bool Vertical>
PolyCollection CutAt(const clsPoly& poly, int32_t c) {
    using A = Axis<Vertical>;
    PolyCollection result;
    const clsRect bound = poly.RectBound();
    const int32_t lo = Vertical ? bound.x1 : bound.y1;
    const int32_t hi = Vertical ? bound.x2 : bound.y2;
    if (c < lo || c > hi) {
        result.push_back(poly);
        return result;
    }

    clsPoly fragment;
    auto flush = [&] {
        result.push_back(std::move(fragment));
        fragment = clsPoly();
    };
    int state = 0;    // 1: arrived on the line from the right, 2: from the left
    int offset = 0;   // +1 or -1
    int prevSide = -1;
    PolyPoint prev;
    for (const PolyPoint& cur : poly.Points()) {
        const int side = A::a(cur) > c ? 1 : A::a(cur) < c ? 2 : 0;
        if (prevSide == 1 && side == 0) {
            state = 1;
            offset = 1;
        } else if (prevSide == 2 && side == 0) {
            state = 2;
            offset = -1;
        } else if ((prevSide == 1 && side == 2) || (prevSide == 2 && side == 1)) {
            offset = prevSide == 1 ? 1 : -1;
            const int32_t at = A::cross(prev, cur, c);
            fragment.AddPoint(A::make(Long(int64_t{c} + offset), at));
            flush();
            fragment.AddPoint(A::make(Long(int64_t{c} - offset), at));
        } else if (prevSide == 0 && side != 0) {
            if ((state == 1 && side == 2) || (state == 2 && side == 1)) {
                flush();
                fragment.AddPoint(A::make(Long(int64_t{A::a(prev)} - offset), A::b(prev)));
            }
            state = 0;
        }
        if (state != 0)
            fragment.AddPoint(A::make(Long(int64_t{A::a(cur)} + offset), A::b(cur)));
        else
            fragment.AddPoint(cur);
        prev = cur;
        prevSide = side;
    }
    if (fragment.Count() > 1) flush();
    return result;
}

// A closed ring whose first vertex lies on the line, restarted at its first
// vertex off the line; an empty sequence when there is nothing to restart.
// The walk gives its first point no side, so it would miss a crossing there.
template <bool Vertical>
clsPoly RestartOffTheLine(const clsPoly& poly, int32_t c) {
    using A = Axis<Vertical>;
    clsPoly ring;
    if (!poly.IsLoop()) return ring;
    const std::span<const PolyPoint> pts = poly.Points();
    if (A::a(pts.front()) != c) return ring;
    const auto off = std::find_if(pts.begin() + 1, pts.end() - 1, [c](const PolyPoint& p) { return A::a(p) != c; });
    if (off == pts.end() - 1) return ring;
    // k..n then 2..k: the closing point stands in for point 1.
    std::vector<PolyPoint> v(off, pts.end());
    v.insert(v.end(), pts.begin() + 1, off + 1);
    ring.FromArray(v, 0, 1, static_cast<int32_t>(v.size()));
    return ring;
}

template <bool Vertical>
PolyCollection CutPolygonAt(const clsPoly& poly, int32_t c) {
    using A = Axis<Vertical>;
    {
        const clsPoly restarted = RestartOffTheLine<Vertical>(poly, c);
        if (restarted.Count() > 0) return CutPolygonAt<Vertical>(restarted, c);
    }
    PolyCollection fragments = CutAt<Vertical>(poly, c);
    if (fragments.size() < 2) return fragments;

    // Heights of the crossings: a fragment starting beside the line whose
    // mirror point across it ends another fragment.
    std::unordered_set<uint64_t> lastPoints;
    for (const clsPoly& p : fragments)
        if (p.Count() > 0) lastPoints.insert(Key(p.GetPoint(p.Count())));
    std::vector<int32_t> heights;
    for (const clsPoly& p : fragments) {
        if (p.Count() == 0) continue;
        const PolyPoint f = p.GetPoint(1);
        const int64_t d = int64_t{A::a(f)} - c;
        if (d <= -2 || d >= 2) continue;
        const PolyPoint mirror = A::make(Long(int64_t{c} - d), A::b(f));
        if (lastPoints.count(Key(mirror))) heights.push_back(A::b(f));
    }
    if (heights.empty() || heights.size() % 2 != 0) return fragments;
    std::sort(heights.begin(), heights.end());

    // Fragments by their first point, in collection order, so that "the first
    // remaining fragment starting at e" is found without a scan.
    std::unordered_map<uint64_t, std::vector<size_t>> byFirst;
    for (size_t k = 0; k < fragments.size(); ++k)
        if (fragments[k].Count() > 0) byFirst[Key(fragments[k].GetPoint(1))].push_back(k);
    std::unordered_map<uint64_t, size_t> byFirstNext;
    std::vector<char> used(fragments.size(), 0);
    size_t remaining = fragments.size();
    for (size_t k = 0; k < fragments.size(); ++k)
        if (fragments[k].Count() == 0) {
            used[k] = 1;
            --remaining;
        }
    auto takeStartingAt = [&](const PolyPoint& e) -> long {
        const auto it = byFirst.find(Key(e));
        if (it == byFirst.end()) return -1;
        size_t& pos = byFirstNext[it->first];
        while (pos < it->second.size() && used[it->second[pos]]) ++pos;
        return pos < it->second.size() ? static_cast<long>(it->second[pos]) : -1;
    };

    PolyCollection rings;
    size_t firstLeft = 0;
    while (remaining > 0) {
        while (used[firstLeft]) ++firstLeft;
        const PolyPoint start = fragments[firstLeft].GetPoint(1);
        clsPoly ring;
        PolyPoint e = start;
        bool jumped = false;
        do {
            const long k = takeStartingAt(e);
            if (k >= 0) {
                ring.Connect(fragments[static_cast<size_t>(k)]);
                used[static_cast<size_t>(k)] = 1;
                --remaining;
                jumped = false;
            } else {
                const auto h = std::lower_bound(heights.begin(), heights.end(), A::b(e));
                bool added;
                if (!jumped && h != heights.end() && *h == A::b(e)) {
                    const size_t pos = static_cast<size_t>(h - heights.begin());
                    added = ring.AddPoint(A::make(A::a(e), heights[pos ^ 1]));
                    jumped = true;
                } else {
                    added = ring.AddPoint(start);
                }
                if (!added) break;   // the ring is full
            }
            ring.GetLastXandY(e.x, e.y);
        } while (!(e == start));
        if (ring.Count() > 3) rings.push_back(std::move(ring));
    }
    return rings;
}

} // namespace

int32_t SearchPoly(const PolyCollection& fragments, const PolyPoint& pt, int16_t which) {
    if (which != 0 && which != 1) return 0;
    for (size_t k = 0; k < fragments.size(); ++k) {
        const clsPoly& p = fragments[k];
        if (p.Count() == 0) continue;
        if (p.GetPoint(which == 0 ? 1 : p.Count()) == pt) return static_cast<int32_t>(k + 1);
    }
    return 0;
}

PolyCollection PolyLibCutX(const clsPoly& poly, int32_t x) {
    try {
        return CutAt<true>(poly, x);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("PolyLibCutX"));
    }
}

PolyCollection PolyLibCutY(const clsPoly& poly, int32_t y) {
    try {
        return CutAt<false>(poly, y);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("PolyLibCutY"));
    }
}

PolyCollection PolyLibCutPolygonX(const clsPoly& poly, int32_t x) {
    try {
        return CutPolygonAt<true>(poly, x);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("PolyLibCutPolygonX"));
    }
}

PolyCollection PolyLibCutPolygonY(const clsPoly& poly, int32_t y) {
    try {
        return CutPolygonAt<false>(poly, y);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("PolyLibCutPolygonY"));
    }
}
