#include "basGlobePolyLib.h"

#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "basAngle.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "basPolyLib.h"
#include "clsSurvey.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

const QString kModule = QStringLiteral("basGlobePolyLib");

constexpr double kPi = 3.14159265358979;
constexpr int64_t kTurn = 1296000;
constexpr int64_t kHalfTurn = 648000;
constexpr int32_t kPoleLimit = 323970;

int32_t Long(int64_t v) { return plat::CLng(static_cast<double>(v)); }

clsPoly FromPoints(const std::vector<PolyPoint>& v) {
    clsPoly p;
    if (!v.empty()) p.FromArray(v, 0, 1, static_cast<int32_t>(v.size()));
    p.setModify(true);
    return p;
}

// Point 1 is read without a test by the callers' contract; an empty
// sequence is a subscript error, never a read past the end.
void NeedPoint(const clsPoly& poly) {
    if (poly.Count() < 1) plat::ThrowRuntimeError(plat::ErrSubscript);
}

// Moves every x by dx; the overflow error leaves the points as they were.
void MoveX(std::vector<PolyPoint>& v, int64_t dx) {
    for (const PolyPoint& p : v) Long(int64_t{p.x} + dx);
    for (PolyPoint& p : v) p.x = static_cast<int32_t>(p.x + dx);
}

} // namespace

int32_t DistanceGreatArcToPole(int32_t lon1, int32_t lat1, int32_t lon2, int32_t lat2) {
    try {
        clsSurvey survey;
        survey.SetAll(lon1, lat1, lon2, lat2);
        const double az = survey.DirectionRadian();
        const double arc = survey.ArcRadian();
        const double f1 = SecToRadian(lat1);
        // Distance along the circle from point 1 to its next vertex, the
        // point of the circle nearest a pole.
        double v = AnglePosToRadian(std::sin(f1), std::cos(az) * std::cos(f1));
        if (v < 0) v += kPi;
        if (arc < v) return Long(324000 - std::max(std::llabs(int64_t{lat1}), std::llabs(int64_t{lat2})));
        // The vertex's distance from its pole (Clairaut).
        return std::abs(RadianToSec(ArcSin(std::sin(az) * std::cos(f1))));
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("DistanceGreatArcToPole"));
    }
}

PolyCollection GlobePolyChopPole(clsPoly& poly, int32_t step, bool split) {
    try {
        step = Clamp(step, 30, 10800);
        NeedPoint(poly);
        const std::span<const PolyPoint> pts = poly.Points();
        std::vector<PolyPoint> dense;
        dense.reserve(pts.size());
        dense.push_back(pts.front());
        clsSurvey survey;
        for (size_t i = 1; i < pts.size(); ++i) {
            const PolyPoint p = pts[i - 1], q = pts[i];
            int64_t dlon = std::llabs(int64_t{q.x} - p.x);
            if (dlon > kHalfTurn) dlon = kTurn - dlon;
            const int64_t maxLat = std::max(std::llabs(int64_t{p.y}), std::llabs(int64_t{q.y}));
            if (maxLat >= 239607 || dlon >= 108000) {
                const int32_t d = DistanceGreatArcToPole(p.x, p.y, q.x, q.y);
                if (d < 84394) {
                    survey.SetAll(p.x, p.y, q.x, q.y);
                    const clsPoly route = survey.RoutePoly(d <= 900 ? 15 : step);
                    const std::span<const PolyPoint> r = route.Points();
                    if (r.size() > 2) dense.insert(dense.end(), r.begin() + 1, r.end() - 1);
                }
            }
            dense.push_back(q);
        }
        poly = FromPoints(dense);

        PolyCollection pieces;
        std::vector<PolyPoint> piece;
        auto flush = [&] {
            if (piece.size() >= 2) pieces.push_back(FromPoints(piece));
            piece.clear();
        };
        for (PolyPoint p : dense) {
            if (!split) p.y = std::clamp(p.y, -kPoleLimit, kPoleLimit);
            if (p.y > kPoleLimit || p.y < -kPoleLimit)
                flush();
            else
                piece.push_back(p);
        }
        flush();
        return pieces;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("GlobePolyChopPole"));
    }
}

bool GlobePolyRollOver(clsPoly& poly, int32_t refLon, bool closed) {
    try {
        poly.setModify(false);
        NeedPoint(poly);
        const std::span<const PolyPoint> raw = poly.Points();
        std::vector<PolyPoint> v(raw.begin(), raw.end());
        bool changed = false;

        // Unwrap, deciding on the given values.
        int64_t offset = 0;
        for (size_t k = 1; k < raw.size(); ++k) {
            const int64_t d = int64_t{raw[k].x} - raw[k - 1].x;
            if (d <= -kHalfTurn)
                offset += kTurn;
            else if (d >= kHalfTurn)
                offset -= kTurn;
            if (offset != 0) {
                v[k].x = Long(int64_t{raw[k].x} + offset);
                changed = true;
            }
        }

        if (closed && offset != 0) {
            // The ring goes round a pole. Restart it at its vertex nearest
            // that pole, so the edge over the pole cannot cross the ring.
            int32_t minY = v.front().y, maxY = minY;
            for (const PolyPoint& p : v) {
                minY = std::min(minY, p.y);
                maxY = std::max(maxY, p.y);
            }
            const bool south = (int64_t{minY} + maxY) / 2 < 0;
            const int32_t target = south ? minY : maxY;
            const int32_t pole = south ? -kPoleLimit : kPoleLimit;
            const size_t k = static_cast<size_t>(
                std::find_if(v.begin(), v.end(), [target](const PolyPoint& p) { return p.y == target; }) - v.begin());
            if (k >= 1 && k + 1 < v.size()) {
                std::vector<PolyPoint> tail(v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
                MoveX(tail, -offset);
                if (tail.back() == v.front()) tail.pop_back();
                tail.insert(tail.end(), v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k) + 1);
                v.swap(tail);
            }
            // A hair less than a turn, then the edge along the pole limit.
            const int32_t dx = offset >= 1 ? 2 : -2;
            v.front().x = Long(int64_t{v.front().x} + dx);
            v.back().x = Long(int64_t{v.back().x} - dx);
            const PolyPoint first = v.front(), last = v.back();
            v.push_back(PolyPoint{last.x, pole});
            v.push_back(PolyPoint{first.x, pole});
            v.push_back(first);
            changed = true;
        }

        // At most one turn towards refLon.
        const int64_t lo = int64_t{refLon} - kTurn, hi = int64_t{refLon} + kTurn;
        for (const PolyPoint& p : v) {
            if (p.x < lo) {
                MoveX(v, kTurn);
                changed = true;
                break;
            }
            if (p.x > hi) {
                MoveX(v, -kTurn);
                changed = true;
                break;
            }
        }

        if (changed) poly = FromPoints(v);
        return poly.Modify();
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("GlobePolyRollOver"));
    }
}

bool GlobePolyRollBound(clsPoly& poly, int32_t refLon) {
    try {
        const int64_t lo = int64_t{refLon} - kHalfTurn, hi = int64_t{refLon} + kHalfTurn;
        for (const PolyPoint& p : poly.Points()) {
            if (p.x < lo) {
                poly.Move(static_cast<int32_t>(kTurn), 0);
                return true;
            }
            if (p.x > hi) {
                poly.Move(-static_cast<int32_t>(kTurn), 0);
                return true;
            }
        }
        return false;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("GlobePolyRollBound"));
    }
}

PolyCollection GlobePolyRound(clsPoly& poly, int32_t refLon, bool chopPole, bool closed) {
    try {
        PolyCollection pieces;
        if (chopPole)
            pieces = GlobePolyChopPole(poly, 18000, true);
        else
            pieces.push_back(poly);
        for (clsPoly& piece : pieces) GlobePolyRollOver(piece, refLon, closed);
        for (const int64_t cut : {int64_t{refLon} - kHalfTurn, int64_t{refLon} + kHalfTurn}) {
            const int32_t at = Long(cut);
            PolyCollection next;
            for (const clsPoly& piece : pieces) {
                PolyCollection parts = closed ? PolyLibCutPolygonX(piece, at) : PolyLibCutX(piece, at);
                for (clsPoly& part : parts) next.push_back(std::move(part));
            }
            pieces.swap(next);
        }
        for (clsPoly& piece : pieces) GlobePolyRollBound(piece, refLon);
        return pieces;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("GlobePolyRound"));
    }
}

clsPoly GlobePolyGreatCircle(const clsPoly& poly, int32_t step) {
    try {
        NeedPoint(poly);
        clsPoly result;
        result.AddPoint(poly.GetPoint(1));
        clsSurvey survey;
        for (int32_t i = 2; i <= poly.Count(); ++i) {
            const PolyPoint p = poly.GetPoint(i - 1), q = poly.GetPoint(i);
            survey.SetAll(p.x, p.y, q.x, q.y);
            result.Connect(survey.RoutePoly(step));
        }
        return result;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("GlobePolyGreatCircle"));
    }
}
