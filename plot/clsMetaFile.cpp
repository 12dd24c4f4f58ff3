#include "clsMetaFile.h"

#include "AppInfo.h"
#include "BinaryIO.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "basLibrary.h"

namespace {
const QString kClass = QStringLiteral("clsMetaFile");
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
} // namespace

// A recording whose window, once framed, stays the whole Area. Every
// drawing started on it (the map below a band of accessories, then the
// accessories over the whole picture) sets its own window to the part it
// covers; a player stretches each window over the whole frame, so those
// parts would come out distorted. Their logical units are already the
// picture's pixels, which the frame alone maps right.
class clsMetaFile::FramedDC : public plat::MetaFileDC {
public:
    void frame(const clsRect& area) {
        framed_ = false;
        SetMapMode(plat::MM_ANISOTROPIC);
        SetWindowOrgEx(area.x1, area.y1);
        SetWindowExtEx(area.Width(), area.Height());
        framed_ = true;
    }
    bool SetWindowOrgEx(int x, int y, plat::POINT* old = nullptr) override {
        if (!framed_) return plat::MetaFileDC::SetWindowOrgEx(x, y, old);
        if (old) *old = GetWindowOrg();
        return isOpen();
    }
    bool SetWindowExtEx(int cx, int cy, plat::SIZE* old = nullptr) override {
        if (!framed_) return plat::MetaFileDC::SetWindowExtEx(cx, cy, old);
        if (old) *old = GetWindowExt();
        return isOpen();
    }

private:
    bool framed_ = false;
};

clsMetaFile::clsMetaFile()
    : fileName_(JoinPath(plat::AppPath(), QStringLiteral("USER.WMF"))), dpi_(ScreenDPI()) {}

clsMetaFile::~clsMetaFile() { MetaClose(); }

plat::DeviceContext* clsMetaFile::hdc() const { return dc_.get(); }

void clsMetaFile::setFileName(const QString& name) { fileName_ = ChangeExt(name, QStringLiteral("WMF")); }

void clsMetaFile::setDpi(int32_t dpi) {
    if (InRange(dpi, 1, 10000)) dpi_ = dpi;
}

void clsMetaFile::setArea(const clsRect& area) {
    if (area.IsEmpty()) return;
    area_ = area;
    area_.Formalize();
    framed_ = true;
    if (dc_) dc_->frame(area_);
}

plat::DeviceContext* clsMetaFile::MetaOpen() {
    if (!dc_) dc_ = std::make_unique<FramedDC>();
    if (closed_) {
        dc_->Play(*closed_);
        closed_.reset();
    }
    if (framed_) dc_->frame(area_);
    return dc_.get();
}

void clsMetaFile::MetaClose() {
    if (!dc_) return;
    closed_ = dc_->Close();
    dc_.reset();
}

QByteArray clsMetaFile::PlaceableHeader(const clsRect& area, int32_t dpi) {
    const auto low = [](int32_t v) { return static_cast<uint16_t>(v & 0xFFFF); };
    // The area's right and bottom are its last pixels; the header's bounds
    // end after them, so a reader sizes the picture 1200 x 800, not 1199 x 799.
    const uint16_t words[] = {low(area.x1), low(area.y1), low(area.x2 + 1), low(area.y2 + 1), low(dpi)};
    uint16_t sum = static_cast<uint16_t>((kPlaceableKey & 0xFFFF) ^ (kPlaceableKey >> 16));
    for (uint16_t w : words) sum ^= w;
    plat::BinaryWriter w;
    w.u32(kPlaceableKey);
    w.u16(0);
    for (uint16_t v : words) w.u16(v);
    w.u32(0);
    w.u16(sum);
    return w.buffer();
}

int32_t clsMetaFile::MetaSave() {
    MetaClose();
    if (!closed_) return 0;
    if (IsReadOnlyFile(fileName_, true)) return plat::ErrPermissionDenied;
    const QByteArray bits = closed_->bits();
    if (bits.isEmpty()) return 0;
    const QByteArray header = PlaceableHeader(area_, dpi_);
    AppError err;
    // Replaced as a whole, so a failed save keeps the previous file.
    const int answer = WithFileRetry([&] { plat::WriteFileAtomic(fileName_, header + bits); }, fileName_, &err);
    if (answer == 0) return 0;
    if (answer == 1) return err.number();
    RaiseError(err, ErrGeneral, kClass, QStringLiteral("MetaSave"));
}
