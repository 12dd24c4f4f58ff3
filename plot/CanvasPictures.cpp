#include "CanvasPictures.h"

#include "AppError.h"
#include "Bitmap.h"
#include "RasterDC.h"

namespace {

plat::HBITMAP makeWhite(int32_t width, int32_t height) {
    plat::HBITMAP b = plat::Bitmap::Create(width, height, 32);
    // A picture that cannot be had is a lack of memory, whatever its reason.
    if (!b) plat::ThrowRuntimeError(plat::ErrOutOfMemory);
    return b;
}

} // namespace

BitmapCanvasPicture::BitmapCanvasPicture(int32_t width, int32_t height, int dpi)
    : width_(width), height_(height), dpi_(dpi) {}

BitmapCanvasPicture::~BitmapCanvasPicture() = default;

void BitmapCanvasPicture::Resize(int32_t width, int32_t height) {
    Clear();
    width_ = width;
    height_ = height;
}

void BitmapCanvasPicture::Clear() {
    dc_.reset();
    bitmap_.reset();
}

plat::DeviceContext* BitmapCanvasPicture::hDC() {
    if (!dc_) {
        bitmap_ = makeWhite(width_, height_);
        dc_ = std::make_unique<plat::RasterDC>(bitmap_, dpi_);
    }
    return dc_.get();
}

BitmapViewPicture::BitmapViewPicture(int32_t width, int32_t height, QSize frame, QSize screen)
    : width_(width), height_(height), frame_(frame), screen_(screen) {}

BitmapViewPicture::~BitmapViewPicture() = default;

void BitmapViewPicture::setWidth(int32_t width) {
    if (width == width_) return;
    width_ = width;
    resized();
}

void BitmapViewPicture::setHeight(int32_t height) {
    if (height == height_) return;
    height_ = height;
    resized();
}

void BitmapViewPicture::resized() {
    dc_.reset();
    bitmap_.reset();
    if (OnResized) OnResized(width_, height_);
}

plat::DeviceContext* BitmapViewPicture::hDC() {
    if (!dc_) {
        bitmap_ = makeWhite(width_, height_);
        dc_ = std::make_unique<plat::RasterDC>(bitmap_);
    }
    return dc_.get();
}
