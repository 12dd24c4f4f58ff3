#include "ProjectorHooks.h"

namespace {

std::shared_ptr<ProjectorLayers>& installedLayers() {
    static std::shared_ptr<ProjectorLayers> layers;
    return layers;
}

} // namespace

void SetProjectorLayers(std::shared_ptr<ProjectorLayers> layers) { installedLayers() = std::move(layers); }

ProjectorLayers* InstalledProjectorLayers() { return installedLayers().get(); }
