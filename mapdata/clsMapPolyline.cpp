#include "clsMapPolyline.h"

#include "AppError.h"
#include "BinaryIO.h"

#include <algorithm>

bool ReduceForOldVersion(clsPoly& poly) { return poly.CompressBToCount(0.1, 0.01, 100, kMaxOldPoints); }

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
