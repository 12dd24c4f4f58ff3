#include "clsCanvas.h"

#include <QClipboard>
#include <QRect>
#include <QGuiApplication>

#include <algorithm>
#include <functional>

#include "Bitmap.h"
#include "DeviceContext.h"
#include "ErrorMng.h"
#include "basFileNames.h"
#include "basLibrary.h"
#include "basSaveBMP.h"
#include "clsRegistry.h"

clsCanvas* gvCanvas = nullptr;

namespace {

const QString kClass = QStringLiteral("clsCanvas");

int32_t toLong(long long v) { return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); }

} // namespace

clsCanvas::clsCanvas(CanvasPicture& canvas, ViewPicture& view, int32_t defaultDpi)
    : canvas_(canvas), view_(view), defaultDpi_(defaultDpi) {
    ReadRegistry();
}

clsCanvas::~clsCanvas() {
    try {
        WriteRegistry();
    } catch (...) {
        // Ending the program goes on; the settings keep their last values.
    }
}

void clsCanvas::setBmpPath(const QString& path) { bmpPath_ = ChangeExt(path, QStringLiteral("BMP")); }

void clsCanvas::setPngPath(const QString& path) { pngPath_ = ChangeExt(path, QStringLiteral("PNG")); }

void clsCanvas::setSynchro(bool on) {
    synchro_ = on;
    SynchroCanvas();
}

void clsCanvas::setDpi(int32_t dpi) {
    if (InRange(dpi, 48, 1440)) dpi_ = dpi;
}

void clsCanvas::setViewArea(int32_t area) { viewArea_ = InRange(area, 1, 9) ? area : 5; }

bool clsCanvas::IsAreaMode() const { return CanvasHeight() > ViewHeight() || CanvasWidth() > ViewWidth(); }

void clsCanvas::setCanvasWidth(int32_t width) { ResizeCanvas(Clamp(width, 32, GetMaxImageSize()), CanvasHeight()); }

void clsCanvas::setCanvasHeight(int32_t height) { ResizeCanvas(CanvasWidth(), Clamp(height, 32, GetMaxImageSize())); }

int32_t clsCanvas::ViewMaxWidth() const {
    return std::max(32, view_.ScreenSize().width() - (view_.ContainerWidth() - view_.Width()));
}

int32_t clsCanvas::ViewMaxHeight() const {
    return std::max(32, view_.ScreenSize().height() - (view_.ContainerHeight() - view_.Height()));
}

void clsCanvas::setViewWidth(int32_t width) {
    view_.setWidth(Clamp(width, 32, ViewMaxWidth()));
    SynchroCanvas();
}

void clsCanvas::setViewHeight(int32_t height) {
    view_.setHeight(Clamp(height, 32, ViewMaxHeight()));
    SynchroCanvas();
}

void clsCanvas::ViewLikeCanvas() {
    if (synchro_) return;
    view_.setWidth(CanvasWidth());
    view_.setHeight(CanvasHeight());
}

void clsCanvas::PosViewToCanvas(int32_t xView, int32_t yView, int32_t& xCanvas, int32_t& yCanvas) const {
    int32_t ox = 0, oy = 0;
    ViewOffset(ox, oy);
    xCanvas = xView + ox;
    yCanvas = yView + oy;
}

void clsCanvas::PosCanvasToView(int32_t xCanvas, int32_t yCanvas, int32_t& xView, int32_t& yView) const {
    int32_t ox = 0, oy = 0;
    ViewOffset(ox, oy);
    xView = xCanvas - ox;
    yView = yCanvas - oy;
}

void clsCanvas::SynchroCanvas() {
    if (synchro_) ResizeCanvas(ViewWidth(), ViewHeight());
}

void clsCanvas::ResizeCanvas(int32_t width, int32_t height) {
    try {
        canvas_.Clear();
        canvas_.Resize(0, 0);
        canvas_.Resize(width, height);
        canvas_.hDC();
    } catch (...) {
        MsgError(QStringLiteral("キャンバスの生成に失敗しました."));
        canvas_.Clear();
        canvas_.Resize(ViewWidth(), ViewHeight());
    }
}

void clsCanvas::ViewOffset(int32_t& x, int32_t& y) const {
    const int32_t dx = CanvasWidth() - ViewWidth();
    const int32_t dy = CanvasHeight() - ViewHeight();
    const int32_t col = (viewArea_ - 1) % 3;
    const int32_t row = (viewArea_ - 1) / 3;
    x = col == 0 ? 0 : (col == 1 ? dx / 2 : dx);
    y = row == 0 ? 0 : (row == 1 ? dy / 2 : dy);
}

void clsCanvas::Paint() {
    try {
        int32_t ox = 0, oy = 0;
        ViewOffset(ox, oy);
        // Only the part of the view the canvas covers (all of it unless the
        // canvas is the smaller one); the rest of the view stays.
        const QRect part = QRect(ox, oy, ViewWidth(), ViewHeight()) & QRect(0, 0, CanvasWidth(), CanvasHeight());
        plat::DeviceContext* target = view_.hDC();
        if (!part.isEmpty() && !target->BitBlt(part.x() - ox, part.y() - oy, part.width(), part.height(), canvas_.hDC(),
                                               part.x(), part.y(), plat::SRCCOPY))
            plat::ThrowRuntimeError(plat::ErrInternal);
        view_.Changed();
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Paint"));
    }
}

namespace {

// A picture file written with the file-error box: retry writes again, skip
// ends the save (false); cancel and errors of other kinds are thrown.
bool saveWithRetry(const QString& path, const std::function<void()>& write) {
    AppError err;
    const int answer = WithFileRetry(write, path, &err);
    if (answer == 0) return true;
    if (answer == 1) return false;
    throw err;
}

} // namespace

bool clsCanvas::SaveBMP() {
    try {
        if (IsReadOnlyFile(bmpPath_, true)) return false;
        // The target is replaced only by a complete new file, never deleted first.
        plat::DeviceContext* dc = canvas_.hDC();
        const plat::HBITMAP image = canvas_.Image();
        const int32_t indexed = SaveBMP256(dc, image, bmpPath_);
        if (indexed == 0) return true;
        // A file error the user skipped in its box ends the save; only a
        // picture the 8-bit file cannot hold goes on at full colour.
        if (indexed > 4) return false;
        return saveWithRetry(bmpPath_, [&] { SaveBMPFullColor(image, bmpPath_); });
    } catch (...) {
        MsgError(QStringLiteral("BMPファイルへの保存に失敗しました."));
        return false;
    }
}

bool clsCanvas::SavePNG() {
    try {
        if (IsReadOnlyFile(pngPath_, true)) return false;
        canvas_.hDC();
        const plat::HBITMAP image = canvas_.Image();
        if (!image) plat::ThrowRuntimeError(plat::ErrInvalidCall);
        return saveWithRetry(pngPath_, [&] { SaveImageFile(image->image(), pngPath_, "png"); });
    } catch (...) {
        MsgError(QStringLiteral("PNGファイルへの保存に失敗しました."));
        return false;
    }
}

bool clsCanvas::WriteClip() {
    try {
        canvas_.hDC();
        const plat::HBITMAP image = canvas_.Image();
        QClipboard* clip = QGuiApplication::clipboard();
        if (!image || !clip) plat::ThrowRuntimeError(plat::ErrInvalidCall);
        clip->clear();
        clip->setImage(image->image());
        return true;
    } catch (...) {
        MsgError(QStringLiteral("クリップボードへの出力に失敗しました."));
        return false;
    }
}

void clsCanvas::WriteRegistry() const {
    try {
        clsRegistry reg(RegistrySection());
        reg.RegPut(QStringLiteral("BMPpath"), bmpPath_);
        reg.RegPut(QStringLiteral("PNGpath"), pngPath_);
        reg.RegPut(QStringLiteral("DPI"), dpi_);
        reg.RegPut(QStringLiteral("Area"), viewArea_);
        reg.RegPut(QStringLiteral("Synchro"), synchro_);
        reg.RegPut(QStringLiteral("CanvasWidth"), CanvasWidth());
        reg.RegPut(QStringLiteral("CanvasHeight"), CanvasHeight());
        reg.RegPut(QStringLiteral("ViewWidth"), ViewWidth());
        reg.RegPut(QStringLiteral("ViewHeight"), ViewHeight());
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("WriteRegistry"));
    }
}

void clsCanvas::ReadRegistry() {
    try {
        const clsRegistry reg(RegistrySection());
        bmpPath_ = reg.RegGet(QStringLiteral("BMPpath"), QStringLiteral("USER.BMP"));
        pngPath_ = reg.RegGet(QStringLiteral("PNGpath"), QStringLiteral("USER.PNG"));
        setDpi(toLong(reg.RegGetLong(QStringLiteral("DPI"), defaultDpi_)));
        if (dpi_ == 0) dpi_ = ScreenDPI();
        setViewArea(toLong(reg.RegGetLong(QStringLiteral("Area"), 5)));
        synchro_ = reg.RegGetBool(QStringLiteral("Synchro"), true);
        setCanvasWidth(toLong(reg.RegGetLong(QStringLiteral("CanvasWidth"), ViewWidth())));
        setCanvasHeight(toLong(reg.RegGetLong(QStringLiteral("CanvasHeight"), ViewHeight())));
        setViewWidth(toLong(reg.RegGetLong(QStringLiteral("ViewWidth"), ViewWidth())));
        setViewHeight(toLong(reg.RegGetLong(QStringLiteral("ViewHeight"), ViewHeight())));
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ReadRegistry"));
    }
}
