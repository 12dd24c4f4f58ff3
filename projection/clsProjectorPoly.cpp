// The polygon pipeline of the main projection: one line or ring of
// longitude/latitude points (arc-seconds) to its pieces in metres on the
// projection plane.
//
// Every cut leaves each piece wholly on one side of its line (basPolyLib):
// a piece that reaches the line stops 1 unit before it and the next starts 1
// unit beyond, so the side of a piece is the side of its first point. Rings
// are cut into closed rings, lines into open pieces; a piece of fewer than 2
// points is dropped at every step.
#include "clsProjector.h"

#include "ErrorMng.h"
#include "MapProjection.h"
#include "RuntimeMath.h"
#include "basGlobe.h"
#include "basGlobePolyLib.h"
#include "basLibrary.h"
#include "basPolyLib.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

const QString kClass = QStringLiteral("clsProjector");

constexpr int32_t kHalfTurn = 648000;
// Points this close to the axis poles are dropped: their longitude means
// nothing to the formulas.
constexpr int32_t kAxisPoleLat = 323992;

// Adds the time from its creation to one stage total, when timing is on.
class StageClock {
public:
    StageClock(PrjStageTimes* times, int64_t PrjStageTimes::*stage) : times_(times), stage_(stage) {
        if (times_) start_ = std::chrono::steady_clock::now();
    }
    ~StageClock() {
        if (times_)
            times_->*stage_ += std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::steady_clock::now() - start_)
                                   .count();
    }
    StageClock(const StageClock&) = delete;
    StageClock& operator=(const StageClock&) = delete;

private:
    PrjStageTimes* times_;
    int64_t PrjStageTimes::*stage_;
    std::chrono::steady_clock::time_point start_;
};

// Cuts every piece at X = c (vertical) or Y = c and keeps the fragments of
// more than 1 point. A piece the line misses is kept as it is, which is
// what the cut would give, without copying it.
void CutSet(PolyCollection& set, int32_t c, bool vertical, bool isPolygon) {
    PolyCollection out;
    out.reserve(set.size());
    for (clsPoly& piece : set) {
        int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
        piece.GetBound4(minX, minY, maxX, maxY);
        const int32_t lo = vertical ? minX : minY, hi = vertical ? maxX : maxY;
        if (c < lo || c > hi) {
            if (piece.Count() > 1) out.push_back(std::move(piece));
            continue;
        }
        PolyCollection parts = isPolygon ? (vertical ? PolyLibCutPolygonX(piece, c) : PolyLibCutPolygonY(piece, c))
                                         : (vertical ? PolyLibCutX(piece, c) : PolyLibCutY(piece, c));
        for (clsPoly& p : parts)
            if (p.Count() > 1) out.push_back(std::move(p));
    }
    set.swap(out);
}

// Longitude step between neighbours, the shorter way round.
int64_t LonStep(const PolyPoint& a, const PolyPoint& b) {
    const int64_t d = std::llabs(int64_t{b.x} - a.x);
    return d > kHalfTurn ? 2 * kHalfTurn - d : d;
}

// True when GlobePolyChopPole would give the piece back unchanged: no point
// at 239607" or beyond and no edge of 108000" or more in longitude, so no
// edge comes near a pole and nothing is split or held.
bool FarFromPoles(const clsPoly& p) {
    const std::span<const PolyPoint> v = p.Points();
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i].y >= 239607 || v[i].y <= -239607) return false;
        if (i > 0 && LonStep(v[i - 1], v[i]) >= 108000) return false;
    }
    return true;
}

// True when GlobePolyRollOver would leave the piece as it is: no step of
// half a turn or more (axis longitudes never lie a whole turn out).
bool NoSeamStep(const clsPoly& p) {
    const std::span<const PolyPoint> v = p.Points();
    for (size_t i = 1; i < v.size(); ++i)
        if (std::llabs(int64_t{v[i].x} - v[i - 1].x) >= kHalfTurn) return false;
    return true;
}

// Densifies only the edges that run along a meridian or a parallel, for a
// ring too long to densify whole: they are seams (where maps cut rings at
// the date line, and the cuts and pole closures here), and left straight on
// the plane, which bends them, they would cut a strip off the ring.
void ChopStraightEdges(clsPoly& p, int32_t step) {
    const std::span<const PolyPoint> v = p.Points();
    auto along = [step](const PolyPoint& a, const PolyPoint& b) {
        return (a.x == b.x && std::llabs(int64_t{b.y} - a.y) > step) ||
               (a.y == b.y && std::llabs(int64_t{b.x} - a.x) > step);
    };
    size_t i = 1;
    while (i < v.size() && !along(v[i - 1], v[i])) ++i;
    if (i >= v.size()) return;
    std::vector<PolyPoint> out(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(i));
    for (; i < v.size(); ++i) {
        if (along(v[i - 1], v[i])) {
            clsPoly edge;
            edge.AddPoint(v[i - 1]);
            edge.AddPoint(v[i]);
            edge.Chop(step, 3);
            const std::span<const PolyPoint> e = edge.Points();
            out.insert(out.end(), e.begin() + 1, e.end() - 1);
        }
        out.push_back(v[i]);
    }
    clsPoly chopped;
    chopped.FromArray(out, 0, 1, static_cast<int32_t>(out.size()));
    p = std::move(chopped);
}

// The field rule: west = east takes every longitude, west > east a field
// across 180 degrees.
bool InRect(const clsRect& r, int32_t x, int32_t y) {
    if (y < r.y1 || y > r.y2) return false;
    if (r.x1 < r.x2) return r.x1 <= x && x <= r.x2;
    if (r.x1 == r.x2) return true;
    return x <= r.x2 || x >= r.x1;
}

// Cuts at the rectangle's edges and keeps the pieces inside; false when
// none is left.
bool ClipAreaPoly(PolyCollection& set, const clsRect& r, bool isPolygon) {
    if (r.x1 != r.x2) {
        CutSet(set, r.x1, true, isPolygon);
        CutSet(set, r.x2, true, isPolygon);
    }
    CutSet(set, r.y1, false, isPolygon);
    CutSet(set, r.y2, false, isPolygon);
    std::erase_if(set, [&r](const clsPoly& p) { return !InRect(r, p.x(1), p.y(1)); });
    return !set.empty();
}

} // namespace

PolyCollection clsProjector::ProjectionPoly(const clsPoly& poly, bool isPolygon) {
    try {
        PolyCollection set;
        if (poly.Count() < 2) return set;
        if (!prjReady_) SetupPrjPoint();
        set.push_back(poly.Copy());
        const int32_t n = smartNodeMax_;
        auto small = [n](const clsPoly& p) { return p.Count() <= n; };

        {
            StageClock t(stageTimes_, &PrjStageTimes::clipNs);
            if (!ClipAreaPoly(set, *field_, isPolygon)) return {};
        }

        // About a millimetre of the output map, and at most 43200 steps
        // across the field.
        int32_t step = Clamp(plat::CLng(scale_ / (MeterPerSec * 1000)), 15, 900);
        int64_t w = int64_t{field_->x2} - field_->x1 + 1;
        const int64_t h = int64_t{field_->y2} - field_->y1 + 1;
        const int64_t e = std::max(w, h);
        if (e / step > 43200) step = static_cast<int32_t>(e / 43200);

        {
            StageClock t(stageTimes_, &PrjStageTimes::densifyNs);
            // A long ring still gets its seams bent like those of the
            // smaller piece on their other side.
            for (clsPoly& p : set) {
                if (small(p))
                    p.Chop(step, 3);
                else if (isPolygon)
                    ChopStraightEdges(p, step);
            }
        }
        {
            StageClock t(stageTimes_, &PrjStageTimes::rotateNs);
            for (clsPoly& p : set) {
                int32_t k = 0;
                for (int32_t i = 1; i <= p.Count(); ++i) {
                    int32_t x = 0, y = 0;
                    prjPoint_.AxisSec(p.x(i), p.y(i), x, y);
                    if (-kAxisPoleLat <= y && y <= kAxisPoleLat) p.SetXandY(++k, x, y);
                }
                p.setCount(k);
            }
            // Nothing can be done with a piece the poles swallowed.
            std::erase_if(set, [](const clsPoly& p) { return p.Count() < 2; });
        }
        {
            StageClock t(stageTimes_, &PrjStageTimes::cutNs);
            // Lines break at the poles, rings are held 30" short of them.
            PolyCollection chopped;
            chopped.reserve(set.size());
            for (clsPoly& p : set) {
                if (!small(p) || FarFromPoles(p)) {
                    chopped.push_back(std::move(p));
                    continue;
                }
                for (clsPoly& q : GlobePolyChopPole(p, step, !isPolygon))
                    if (q.Count() > 1) chopped.push_back(std::move(q));
            }
            set.swap(chopped);
            for (clsPoly& p : set)
                if (!NoSeamStep(p)) GlobePolyRollOver(p, 0, isPolygon);
            if (!(PrjAttribute(index_) & PrjShapeCircle)) {
                CutSet(set, -kHalfTurn, true, isPolygon);
                CutSet(set, kHalfTurn, true, isPolygon);
                for (clsPoly& p : set) GlobePolyRollBound(p, 0);
            }
            for (int32_t lon : PrjSplitLons(index_, division_)) CutSet(set, lon, true, isPolygon);
        }
        {
            StageClock t(stageTimes_, &PrjStageTimes::clipNs);
            clsRect limits;
            limits.x1 = limits.x2 = 0;
            limits.y1 = south_ + 5;
            limits.y2 = north_ - 5;
            if (!ClipAreaPoly(set, limits, isPolygon)) return {};
        }
        if (isPolygon) {
            // The edges the cuts added run along the interruptions and the
            // limits, which the plane bends.
            StageClock t(stageTimes_, &PrjStageTimes::densifyNs);
            const int32_t ringStep = Clamp(2 * step, 60, 3600);
            for (clsPoly& p : set) {
                if (small(p))
                    p.Chop(ringStep, 3);
                else
                    ChopStraightEdges(p, ringStep);
            }
        }
        {
            StageClock t(stageTimes_, &PrjStageTimes::projectNs);
            for (clsPoly& p : set) {
                for (int32_t i = 1; i <= p.Count(); ++i) {
                    int32_t x = 0, y = 0;
                    bool ok = false;
                    prjPoint_.LLtoXYsec(p.x(i), p.y(i), x, y, ok);
                    if (!ok) return {};
                    p.SetXandY(i, x, y);
                }
            }
        }
        {
            StageClock t(stageTimes_, &PrjStageTimes::compressNs);
            // s: metres on the ground per millimetre of the map.
            const double s = scale_ / 1000;
            const double passes[4][2] = {{0.05, 0.5}, {0.01, 2}, {0.008, 5}, {0.004, 15}};
            for (const auto& pass : passes)
                for (clsPoly& p : set)
                    if (small(p)) p.CompressB(pass[0] * s, pass[1] * s);
        }
        return set;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ProjectionPoly"));
    }
}

bool clsProjector::InField(int32_t lon, int32_t lat) const { return InRect(*field_, lon, lat); }
