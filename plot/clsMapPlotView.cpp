// View projections, the per-drawing set-up and the transforms between map,
// plane and canvas coordinates.
//
// Notation: lat0 = |CenterY|; f the longitude factor of the slot (1, cos
// lat0 for the secant cylinder, sin lat0 for the cone); R0 the radius of
// the view centre's parallel about the pole in the cone and the azimuthal
// slots, in arc-seconds of the meridian.
#include "clsMapPlot.h"
#include "clsMapPlotAhead.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "ErrorMng.h"
#include "Gdi.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsMapGraph.h"

namespace {

const QString kClass = QStringLiteral("clsMapPlot");

constexpr double kPi = 3.14159265358979;
constexpr double kRadPerSec = 4.848136811095355e-6;
constexpr int32_t kHalfTurn = 648000;
constexpr int32_t kTurn = 1296000;
constexpr int32_t kQuarterTurn = 324000;
constexpr int32_t kTwoDegrees = 7200;        // a cone flatter than this is drawn as a cylinder
constexpr int32_t kEightyEight = 316800;     // cylinders and cones steeper than this draw azimuthal
constexpr int32_t kEightyNine = 320400;      // probe of the pole in the set-up

int32_t saturate(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// SafeCLng for the per-point transforms: adding and taking away 1.5 x 2^52
// rounds half to even, as nearbyint does in the default rounding mode,
// without a call into the maths library (IEEE arithmetic: the compiler may
// not fold the two away).
inline int32_t roundSat(double x) {
    if (x >= 2147483646.0) return 2147483647;
    if (x < -2147483646.0) return -2147483647;
    if (std::isnan(x)) return 0;
    constexpr double kMagic = 6755399441055744.0;
    return static_cast<int32_t>((x + kMagic) - kMagic);
}

// Sine and cosine in one call where the C library has it; its results are
// those of the two calls.
inline void sinCos(double t, double& s, double& c) {
#if defined(__GLIBC__)
    ::sincos(t, &s, &c);
#else
    s = std::sin(t);
    c = std::cos(t);
#endif
}

} // namespace

// ---------------------------------------------------------------------------
// Set-up of one drawing

void clsMapPlot::SetCanvasOrigin() {
    originX_ = canvas_.x1 + CanvasWidth() / 2;
    originY_ = canvas_.y1 + CanvasHeight() / 2;
}

int16_t clsMapPlot::ChooseSlot() const {
    const int32_t lat0 = std::abs(centerY_);
    int16_t slot = lat0 >= highLat_ ? highPrj_ : (lat0 > lowLat_ ? middlePrj_ : lowPrj_);
    if (lat0 < highLat_ && mapScale_ >= MapScaleMax / smallRatio_) slot = smallPrj_;
    return slot;
}

void clsMapPlot::GetWork() {
    try {
        plainScreen_ = technology_ == plat::DT_RASDISPLAY && !(gvMapGraph && gvMapGraph->PostScriptEi());
        SetCanvasOrigin();
        shifted_ = false;
        const int32_t lat0 = std::abs(centerY_);
        const double lat0r = SecToRadian(lat0);
        lonFactor_ = 1.0;
        r0_ = 0;
        if (mapMode_ == 1) {
            if (ProjectionAuto) prjIndex_ = ChooseSlot();
            workIndex_ = prjIndex_;
            if (workIndex_ == 3 && lat0 < kTwoDegrees) workIndex_ = 1;
            if ((workIndex_ == 2 || workIndex_ == 3) && lat0 > kEightyEight) workIndex_ = 4;
            if (workIndex_ == 2) {
                lonFactor_ = std::cos(lat0r);
            } else if (workIndex_ == 3) {
                r0_ = kHalfTurn / kPi / std::tan(lat0r);
                lonFactor_ = std::sin(lat0r);
            } else if (workIndex_ == 4) {
                r0_ = kQuarterTurn - lat0;
            }
        } else {
            workIndex_ = prjIndex_;
        }

        ratioX_ = dpix_ * 1000 / 25.4 / mapScale_;
        ratioY_ = dpiy_ * 1000 / 25.4 / mapScale_;

        int64_t hx = SafeCLng(CanvasToMapLengthX(CanvasWidth() / 2));
        int64_t hy = SafeCLng(CanvasToMapLengthY(CanvasHeight() / 2));
        if (mapMode_ == 1 && workIndex_ == 2) {
            hx = SafeCLng(double(hx) / std::cos(lat0r));
        } else if (mapMode_ == 1 && (workIndex_ == 3 || workIndex_ == 4)) {
            // The corners of a cone or a polar view reach farther in longitude
            // at the top and in latitude at the bottom than the edges' middles.
            const int32_t keepX = centerX_, keepY = centerY_;
            centerX_ = 0;
            centerY_ = lat0;
            int32_t ax = 0, ay = 0, bx = 0, by = 0;
            CanvasToMap(canvas_.x1, canvas_.y1, ax, ay);
            CanvasToMap(canvas_.x1, canvas_.y2, bx, by);
            hx = std::abs(int64_t{ax});
            hy = int64_t{lat0} - by;
            int32_t px = 0, py = 0;
            if (MapToCanvas(0, kEightyNine, px, py) && py >= canvas_.y1) hx = kHalfTurn;   // the pole is in view
            centerX_ = keepX;
            centerY_ = keepY;
        }
        hx = std::max<int64_t>(hx, 0) + std::max<int64_t>(hx, 0) / 8;
        hy = std::max<int64_t>(hy, 0) + std::max<int64_t>(hy, 0) / 8;
        if (mapMode_ == 1) {
            hx = std::min<int64_t>(hx, kHalfTurn);
            hy = std::min<int64_t>(hy, kHalfTurn);
        }
        // Field by field: SetAll would reorder nothing here but wraps nothing either.
        field_.x1 = saturate(centerX_ - hx);
        field_.x2 = saturate(centerX_ + hx);
        field_.y1 = saturate(centerY_ - hy);
        field_.y2 = saturate(centerY_ + hy);
        if (mapMode_ == 1) {
            field_.y1 = Clamp(field_.y1, -kQuarterTurn, kQuarterTurn);
            field_.y2 = Clamp(field_.y2, -kQuarterTurn, kQuarterTurn);
        }

        const bool crossWest = field_.x1 < -kHalfTurn && -kHalfTurn <= field_.x2 && field_.x2 <= kHalfTurn;
        const bool crossEast = -kHalfTurn <= field_.x1 && field_.x1 <= kHalfTurn && kHalfTurn < field_.x2;
        wrapEnabled_ = mapMode_ == 1 && (crossWest || crossEast);
        wrapShift_ = centerX_ >= 0 ? -kTurn : kTurn;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("GetWork"));
    }
}

int32_t clsMapPlot::ProjectionIndex() {
    if (!busy_) GetWork();
    return workIndex_;
}

void clsMapPlot::setProjectionIndex(int32_t slot) {
    if (busy_ || slot < 0 || slot > 4) return;
    prjIndex_ = slot;
    workIndex_ = slot;
    mapMode_ = slot == 0 ? 2 : 1;
    if (grid_.UnitMode() != mapMode_) {
        grid_.setUnitMode(mapMode_);
        if (mapMode_ == 2) grid_.Vertical = grid_.Horizontal = grid_.Zone = false;
    }
}

clsRect clsMapPlot::Field() {
    if (!busy_) GetWork();
    return field_.Copy();
}

bool clsMapPlot::ShiftOn() {
    if (!wrapEnabled_ || shifted_) return false;
    centerX_ += wrapShift_;
    field_.x1 += wrapShift_;
    field_.x2 += wrapShift_;
    shifted_ = true;
    return true;
}

bool clsMapPlot::ShiftOff() {
    if (!shifted_) return false;
    centerX_ -= wrapShift_;
    field_.x1 -= wrapShift_;
    field_.x2 -= wrapShift_;
    shifted_ = false;
    return true;
}

// ---------------------------------------------------------------------------
// Point transforms

inline void clsMapPlot::pointMapToXY(int32_t mx, int32_t my, int32_t centerX, double& x, double& y) const {
    y = double(my) - centerY_;
    x = (double(mx) - centerX) * lonFactor_;
    if (mapMode_ == 1 && (workIndex_ == 3 || workIndex_ == 4)) {
        double sinT = 0, cosT = 0;
        sinCos(x * kRadPerSec, sinT, cosT);
        if (centerY_ >= 0) {
            const double r = r0_ - y;
            x = sinT * r;
            y = r0_ - cosT * r;
        } else {
            const double r = y + r0_;
            x = sinT * r;
            y = cosT * r - r0_;
        }
    }
    if (mapMode_ == 1) {
        x *= MeterPerSec;
        y *= MeterPerSec;
    }
}

void clsMapPlot::PointXYToMap(double x, double y, int32_t& mx, int32_t& my) const {
    if (mapMode_ == 1) {
        x /= MeterPerSec;
        y /= MeterPerSec;
        if (workIndex_ == 3 || workIndex_ == 4) {
            const double yy = centerY_ < 0 ? -y : y;
            const double r = Hypot(x, r0_ - yy);
            const double t = AnglePosToRadian(r0_ - yy, x) / kRadPerSec;
            y = centerY_ < 0 ? -(r0_ - r) : r0_ - r;
            x = t;
        }
    }
    mx = saturate(int64_t{SafeCLng(x / lonFactor_)} + centerX_);
    my = saturate(int64_t{SafeCLng(y)} + centerY_);
}

inline void clsMapPlot::XYToCanvas(double x, double y, int32_t& cx, int32_t& cy) const {
    cx = saturate(int64_t{roundSat(x * ratioX_)} + originX_);
    cy = saturate(int64_t{originY_} - roundSat(y * ratioY_));
}

void clsMapPlot::CanvasToXY(int32_t cx, int32_t cy, double& x, double& y) const {
    x = (double(cx) - originX_) / ratioX_;
    y = (double(originY_) - cy) / ratioY_;
}

double clsMapPlot::CanvasToMapLengthX(double pixels) const {
    const double m = pixels / ratioX_;
    return mapMode_ == 1 ? m / MeterPerSec : m;
}

double clsMapPlot::CanvasToMapLengthY(double pixels) const {
    const double m = pixels / ratioY_;
    return mapMode_ == 1 ? m / MeterPerSec : m;
}

bool clsMapPlot::MapToCanvas(int32_t MapX, int32_t MapY, int32_t& CanvasX, int32_t& CanvasY) const {
    double x = 0, y = 0;
    PointMapToXY(MapX, MapY, x, y);
    XYToCanvas(x, y, CanvasX, CanvasY);
    return isNT_ || clip_.IsInner(CanvasX, CanvasY);
}

bool clsMapPlot::PointMapToCanvas(int32_t MapX, int32_t MapY, int32_t& CanvasX, int32_t& CanvasY) const {
    if (!field_.IsInner(MapX, MapY)) return false;
    if (!MapToCanvas(MapX, MapY, CanvasX, CanvasY)) return false;
    return IsInCanvas(CanvasX, CanvasY);
}

bool clsMapPlot::CanvasToMap(int32_t CanvasX, int32_t CanvasY, int32_t& MapX, int32_t& MapY) const {
    double x = 0, y = 0;
    CanvasToXY(CanvasX, CanvasY, x, y);
    PointXYToMap(x, y, MapX, MapY);
    return IsInCanvas(CanvasX, CanvasY);
}

bool clsMapPlot::CanvasToMapBound(int32_t CanvasX, int32_t CanvasY, int32_t& MapX, int32_t& MapY) const {
    const bool in = CanvasToMap(CanvasX, CanvasY, MapX, MapY);
    if (mapMode_ == 1) {
        const bool ok = -kQuarterTurn <= MapY && MapY <= kQuarterTurn;
        NormalizeLonLat(MapX, MapY);
        return in && ok;
    }
    if (mapMode_ == 2) return in && std::abs(int64_t{MapX}) <= MaxXY && std::abs(int64_t{MapY}) <= MaxXY;
    return false;
}

// ---------------------------------------------------------------------------
// Point sequences

bool clsMapPlot::ProjectPoly(const clsPoly& poly, clsPoly& out) {
    if (&poly == pre_.source && pre_.state != 0) {
        pre_.source = nullptr;
        out = std::move(*pre_.out);
        return pre_.state == 1;
    }
    return projectPolyOnce(poly, out, field_, centerX_);
}

int clsMapPlot::ProjectionHelpers = -1;

clsMapPlot::Ahead::Ahead(const clsMapPlot& plot, std::vector<Section> sections) : s_(std::make_shared<Shared>()) {
    Shared& s = *s_;
    s.plot = &plot;
    std::vector<int64_t> weight;
    std::vector<size_t>& sectionOf = s.sectionOf;
    for (Section& section : sections) {
        s.frames.push_back(Shared::Frame{section.field, section.centerX});
        s.sectionStart.push_back(s.sources.size());
        bool fresh = true;
        for (std::shared_ptr<clsPoly>& source : section.sources) {
            const size_t k = s.sources.size();
            const int64_t n = source->Count();
            s.sources.push_back(std::move(source));
            if (fresh || k - s.first.back() >= kChunkFigures || weight.back() + n > kChunkPoints) {
                s.first.push_back(k);
                weight.push_back(0);
                sectionOf.push_back(s.sectionStart.size() - 1);
                fresh = false;
            }
            weight.back() += n;
            s.chunkOf.push_back(s.first.size() - 1);
        }
    }
    s.out.resize(s.sources.size());
    s.state.assign(s.sources.size(), 0);
    s.chunks = s.first.size();
    s.first.push_back(s.sources.size());
    s.byWeight.resize(s.chunks);
    for (size_t c = 0; c < s.chunks; ++c) s.byWeight[c] = c;
    // Section by section: long outlines first, the longest first; then the
    // rest in drawing order.
    const auto heavy = [&](size_t c) { return weight[c] >= kChunkPoints / 2 ? weight[c] : 0; };
    std::stable_sort(s.byWeight.begin(), s.byWeight.end(), [&](size_t a, size_t b) {
        return sectionOf[a] != sectionOf[b] ? sectionOf[a] < sectionOf[b] : heavy(a) > heavy(b);
    });
    s.chunk = std::make_unique<std::atomic<uint8_t>[]>(s.chunks);
    for (size_t c = 0; c < s.chunks; ++c) s.chunk[c].store(kFree, std::memory_order_relaxed);
    int helpers = ProjectionHelpers;
    if (helpers < 0) helpers = std::min(QThread::idealThreadCount() - 1, 7);
    helpers = static_cast<int>(std::min<size_t>(size_t(std::max(helpers, 0)), s.chunks));
    // A helper that starts late finds no chunk left and touches nothing
    // but the shared state it holds.
    for (int i = 0; i < helpers; ++i)
        QThreadPool::globalInstance()->start([shared = s_] {
            for (size_t i; (i = shared->next.fetch_add(1)) < shared->chunks;)
                if (const size_t c = shared->byWeight[i]; shared->claim(c)) shared->project(c);
        });
}

clsMapPlot::Ahead::~Ahead() {
    // The helpers use the engine: none may still be at work when the
    // drawing goes on without them, whatever way it leaves.
    Shared& s = *s_;
    for (size_t c = 0; c < s.chunks; ++c) {
        if (s.claim(c)) continue;
        for (uint8_t v; (v = s.chunk[c].load(std::memory_order_acquire)) != kDone;) s.chunk[c].wait(v);
    }
}

bool clsMapPlot::Ahead::Shared::claim(size_t c) {
    uint8_t expected = kFree;
    return chunk[c].compare_exchange_strong(expected, kTaken, std::memory_order_acq_rel);
}

void clsMapPlot::Ahead::Shared::project(size_t c) {
    for (size_t k = first[c]; k < first[c + 1]; ++k) {
        try {
            const Frame& f = frames[sectionOf[c]];
            state[k] = plot->projectPolyOnce(*sources[k], out[k], f.field, f.centerX) ? 1 : 2;
        } catch (...) {
            state[k] = 0;   // worked out again, and reported, on the drawing thread
        }
    }
    chunk[c].store(kDone, std::memory_order_release);
    chunk[c].notify_all();
}

clsMapPlot::PreProjected clsMapPlot::Ahead::Take(size_t section, size_t k) {
    Shared& s = *s_;
    k += s.sectionStart[section];
    const size_t c = s.chunkOf[k];
    if (s.claim(c)) s.project(c);
    for (uint8_t v; (v = s.chunk[c].load(std::memory_order_acquire)) != kDone;) s.chunk[c].wait(v);
    return PreProjected{s.sources[k].get(), &s.out[k], s.state[k]};
}

bool clsMapPlot::projectPolyOnce(const clsPoly& poly, clsPoly& out, const clsRect& field, int32_t centerX) const {
    if (!poly.IsOverlapArea(field)) return false;
    out = poly;
    if (!out.Clip(field) || out.Count() < 2) return false;

    const bool curved = mapMode_ == 1 && (workIndex_ == 3 || workIndex_ == 4);
    if (curved) {
        // Points every PlotChopPitch mm of output, closer for views of a
        // larger part of the globe, where meridians curve more per pixel.
        double n = chopPitch_ * dpix_ * 10 / 254;
        for (double q = MapScaleMax / mapScale_; q <= 100; q *= 2) n *= 0.75;
        const int32_t m = std::max(SafeCLng(CanvasToMapLengthY(SafeCLng(n + 0.5))), 300);
        out.Chop(m, 1);
    }

    double x = 0, y = 0;
    int32_t cx = 0, cy = 0;
    if ((curved && flatPitch_ != 0) || !plainScreen_) {
        // Simplified in ground metres, so that printers, files and the
        // PostScript mirror get the same outline whatever their resolution.
        for (int32_t i = 1; i <= out.Count(); ++i) {
            const PolyPoint p = out.GetPoint(i);
            pointMapToXY(p.x, p.y, centerX, x, y);
            out.SetPoint(i, PolyPoint{SafeCLng(x), SafeCLng(y)});
        }
        const double d = dpix_ * (flatPitch_ < 1 ? 8 : flatPitch_) / 25.4 / ratioX_;
        out.CompressB(d / 1000, d);
        for (int32_t i = 1; i <= out.Count(); ++i) {
            const PolyPoint p = out.GetPoint(i);
            XYToCanvas(p.x, p.y, cx, cy);
            out.SetPoint(i, PolyPoint{cx, cy});
        }
    } else {
        // Straight to pixels. Points landing on the pixel before them go at
        // once: the simplification would drop them anyway, and at small
        // scales they are most of the points.
        thread_local std::vector<PolyPoint> pixels;
        pixels.clear();
        for (const PolyPoint& p : out.Points()) {
            pointMapToXY(p.x, p.y, centerX, x, y);
            XYToCanvas(x, y, cx, cy);
            const PolyPoint q{cx, cy};
            if (pixels.empty() || !(q == pixels.back())) pixels.push_back(q);
        }
        // A figure within one pixel still shows as a dot.
        if (pixels.size() == 1) pixels.push_back(pixels.back());
        out.setCount(static_cast<int32_t>(pixels.size()));
        out.FromArray(pixels, 0, 1, static_cast<int32_t>(pixels.size()));
        out.CompressB(0.0005, 80.0);
    }
    if (!isNT_ && (!out.Clip(clip_) || out.Count() == 0)) return false;
    return true;
}

std::shared_ptr<clsPoly> clsMapPlot::PolyMapToCanvas(const clsPoly& poly) {
    try {
        auto out = std::make_shared<clsPoly>();
        return ProjectPoly(poly, *out) ? out : nullptr;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("PolyMapToCanvas"));
    }
}
