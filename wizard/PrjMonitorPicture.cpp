#include "PrjMonitorPicture.h"

#include "Bitmap.h"
#include "RasterDC.h"
#include "basLibrary.h"

PrjMonitorPicture::PrjMonitorPicture(int width, int height)
    : width_(width), height_(height), surface_(plat::Bitmap::Create(width, height, 32)),
      dc_(std::make_unique<plat::RasterDC>(surface_)) {
    throttle_.setSingleShot(true);
    throttle_.setInterval(kRefreshMs);
    QObject::connect(&throttle_, &QTimer::timeout, [this] {
        if (pending_) RefreshNow();
    });
}

PrjMonitorPicture::~PrjMonitorPicture() = default;

int PrjMonitorPicture::Dpi() const { return ScreenDPI(); }

plat::HDC PrjMonitorPicture::hdc() const { return dc_.get(); }

const QImage& PrjMonitorPicture::image() const { return surface_->image(); }

void PrjMonitorPicture::Clear() {
    surface_->image().fill(Qt::white);
    RefreshNow();
}

void PrjMonitorPicture::Refresh() {
    if (throttle_.isActive()) pending_ = true;
    else RefreshNow();
}

void PrjMonitorPicture::RefreshNow() {
    pending_ = false;
    throttle_.start();
    if (Changed) Changed();
}
