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

clsMetaFile::clsMetaFile()
    : fileName_(JoinPath(plat::AppPath(), QStringLiteral("USER.WMF"))), dpi_(ScreenDPI()) {}

clsMetaFile::~clsMetaFile() { MetaClose(); }

void clsMetaFile::setFileName(const QString& name) { fileName_ = ChangeExt(name, QStringLiteral("WMF")); }

void clsMetaFile::setDpi(int32_t dpi) {
    if (InRange(dpi, 1, 10000)) dpi_ = dpi;
}

void clsMetaFile::setArea(const clsRect& area) {
    if (area.IsEmpty()) return;
    area_ = area;
    area_.Formalize();
}

plat::DeviceContext* clsMetaFile::MetaOpen() {
    if (!dc_) dc_ = std::make_unique<plat::MetaFileDC>();
    if (closed_) {
        dc_->Play(*closed_);
        closed_.reset();
    }
    return dc_.get();
}

void clsMetaFile::MetaClose() {
    if (!dc_) return;
    closed_ = dc_->Close();
    dc_.reset();
}

QByteArray clsMetaFile::PlaceableHeader(const clsRect& area, int32_t dpi) {
    const auto low = [](int32_t v) { return static_cast<uint16_t>(v & 0xFFFF); };
    const uint16_t words[] = {low(area.x1), low(area.y1), low(area.x2), low(area.y2), low(dpi)};
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
