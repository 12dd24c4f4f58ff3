#include "ProjectorHooks.h"

#include "basAngle.h"
#include "basLibrary.h"

namespace {

constexpr int32_t kLatLimit = 323970;

std::shared_ptr<ProjectorLayers>& installedLayers() {
    static std::shared_ptr<ProjectorLayers> layers;
    return layers;
}

int32_t limitLat(int32_t v) { return Clamp(v, -kLatLimit, kLatLimit); }

} // namespace

void ProjectorGrid::setWidth(int32_t v) { width_ = Clamp(v, 60, 324000); }
void ProjectorGrid::setHeight(int32_t v) { height_ = Clamp(v, 60, 324000); }
void ProjectorGrid::setNorthLimit(int32_t v) { north_ = limitLat(v); }
void ProjectorGrid::setSouthLimit(int32_t v) { south_ = limitLat(v); }

void ProjectorGrid::setArea(const clsRect& r) {
    // Written field by field: SetAll would put west and east in order.
    area_.x1 = NormalizeLon(r.x1);
    area_.x2 = NormalizeLon(r.x2);
    area_.y1 = limitLat(r.y1);
    area_.y2 = limitLat(r.y2);
}

void SetProjectorLayers(std::shared_ptr<ProjectorLayers> layers) { installedLayers() = std::move(layers); }

ProjectorLayers* InstalledProjectorLayers() { return installedLayers().get(); }
