#include "clsMapPolyline.h"

#include "AppError.h"
#include "BinaryIO.h"
#include "basNumberText.h"

#include <algorithm>

namespace {

double dist(const PolyPoint& a, const PolyPoint& b) { return Hypot(double(a.x) - b.x, double(a.y) - b.y); }

// The smallest detour of a triple of neighbours whose ends lie closer than
// maxSpan: CompressB can drop nothing at a tolerance up to it. -1 when no
// triple is that short.
double smallestDetour(const clsPoly& poly, double maxSpan) {
    const auto pts = poly.Points();
    double best = -1;
    for (size_t i = 2; i < pts.size(); ++i) {
        const double span = dist(pts[i - 2], pts[i]);
        if (!(span < maxSpan)) continue;
        const double detour = (dist(pts[i], pts[i - 1]) + dist(pts[i - 1], pts[i - 2])) - span;
        if (best < 0 || detour < best) best = detour;
    }
    return best;
}

} // namespace

bool ReduceForOldVersion(clsPoly& poly) {
    constexpr double kSpan = 100;
    if (poly.Count() <= kMaxOldPoints) return true;
    clsPoly work = poly;
    // Tolerance 0.1 + 0.01 k. Every pass either drops a point or moves k past
    // the smallest detour, so the number of passes is bounded by the points.
    int64_t k = 0;
    const int64_t maxPasses = int64_t{work.Count()} * 2 + 16;
    for (int64_t pass = 0; pass < maxPasses; ++pass) {
        const int32_t before = work.Count();
        work.CompressB(0.1 + 0.01 * static_cast<double>(k), kSpan);
        if (work.Count() <= kMaxOldPoints) {
            poly = std::move(work);
            return true;
        }
        if (work.Count() < before) {
            ++k;
            continue;
        }
        const double d = smallestDetour(work, kSpan);
        if (d < 0 || d > 1e12) return false;
        int64_t next = static_cast<int64_t>((d - 0.1) / 0.01);
        while (0.1 + 0.01 * static_cast<double>(next) <= d) ++next;
        k = std::max(k + 1, next);
    }
    return false;
}

bool MapPolyFigure::Modify() const {
    if (!modify_) modify_ = poly_->Modify();
    return modify_;
}

void MapPolyFigure::setModify(bool v) {
    modify_ = v;
    if (!v) poly_->setModify(false);
}

void MapPolyFigure::setPoly(const std::shared_ptr<clsPoly>& poly) {
    if (!poly) return;
    poly_ = poly;
    modify_ = true;
}

void MapPolyFigure::CopyTo(MapPolyFigure& to) const {
    to.setPoly(std::make_shared<clsPoly>(poly_->Copy()));
    CopyCommonTo(to);
}

void MapPolyFigure::ReadElm(plat::BinaryReader& in, int16_t version) {
    ReadFront(in, version);
    poly_->Load(in, version >= kMapVersion106);
    if (version == kMapVersion104) ReadAttr104(in);
    modify_ = false;
}

void MapPolyFigure::WriteElm(plat::BinaryWriter& out, int16_t version) {
    if (version < kMapVersion106 && !ReduceForOldVersion(*poly_))
        plat::ThrowRuntimeError(plat::ErrOverflow, QStringLiteral("点数 %1 の図形は版 %2 の形式に収まりません.")
                                                       .arg(poly_->Count())
                                                       .arg(version / 100.0));
    WriteFront(out, version, 32 + int64_t{poly_->Count()} * 8);
    poly_->Save(out, version >= kMapVersion106);
    if (version == kMapVersion104) WriteAttr104(out);
    modify_ = false;
}

std::shared_ptr<clsMapFigure> clsMapPolyline::Copy() const {
    auto c = std::make_shared<clsMapPolyline>();
    CopyTo(*c);
    return c;
}
