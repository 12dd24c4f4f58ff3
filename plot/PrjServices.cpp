#include "PrjServices.h"

namespace {
PrjIndexOfFn& indexOfHook() {
    static PrjIndexOfFn f;
    return f;
}
PrjShadowPolysFn& shadowHook() {
    static PrjShadowPolysFn f;
    return f;
}
} // namespace

void SetPrjServices(PrjIndexOfFn indexOf, PrjShadowPolysFn shadowPolys) {
    indexOfHook() = std::move(indexOf);
    shadowHook() = std::move(shadowPolys);
}

int16_t PrjIndexOfName(const QString& name) { return indexOfHook() ? indexOfHook()(name) : int16_t(-1); }

PolyCollection PrjShadowPolysOf(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division) {
    return shadowHook() ? shadowHook()(index, centerLat, cone, light, division) : PolyCollection{};
}
