#include "basSaveBMP.h"

#include "BinaryIO.h"
#include "Bitmap.h"
#include "DeviceContext.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MetaFileDC.h"

#include <QImageWriter>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

const QString kModule = QStringLiteral("basSaveBMP");
constexpr int kHeaderBytes = 14 + 40 + 256 * 4;
// Rows copied from the picture at a time: a band of about 16 MB.
constexpr int64_t kBandPixels = int64_t(1) << 22;

// Palette of at most 256 colours in first-appearance order, found by an
// open-addressing table four times the largest palette.
class Palette {
public:
    Palette() { slots_.fill(kEmpty); }
    // The index of c (0x00RRGGBB), added when new; -1 for a 257th colour.
    int indexOf(uint32_t c) {
        uint32_t h = (c * 0x9E3779B1u) >> (32 - kBits);
        for (;;) {
            const uint32_t s = slots_[h];
            if (s == kEmpty) break;
            if ((s & 0xFFFFFF) == c) return static_cast<int>(s >> 24);
            h = (h + 1) & (kSize - 1);
        }
        if (colors_.size() == 256) return -1;
        const auto idx = static_cast<uint32_t>(colors_.size());
        colors_.push_back(c);
        slots_[h] = idx << 24 | c;
        return static_cast<int>(idx);
    }
    const std::vector<uint32_t>& colors() const { return colors_; }

private:
    static constexpr int kBits = 10;
    static constexpr uint32_t kSize = 1u << kBits;
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;   // never a colour: the top byte is an index below 255
    std::array<uint32_t, kSize> slots_;
    std::vector<uint32_t> colors_;
};

struct Indexed {
    int width = 0;
    int height = 0;
    int stride = 0;
    QByteArray indices;   // file order: the bottom row first
    std::vector<uint32_t> palette;
};

struct DcDeleter {
    void operator()(plat::DeviceContext* dc) const { plat::DeleteDC(dc); }
};

// Copies the picture band by band through a memory context and indexes
// it. 0, 3 (too many colours) or 4 (no transfer).
int indexPicture(plat::DeviceContext* hdc, int w, int h, Indexed& out) {
    std::unique_ptr<plat::DeviceContext, DcDeleter> mem(plat::CreateCompatibleDC(hdc));
    if (!mem) return 4;
    const int band = static_cast<int>(std::clamp<int64_t>(kBandPixels / w, 1, h));
    const plat::HBITMAP section = plat::Bitmap::CreateDIBSection(w, band, 24);
    if (!section) return 4;
    mem->SelectBitmap(section);
    out.width = w;
    out.height = h;
    out.stride = (w + 3) & ~3;
    out.indices = QByteArray(qsizetype(out.stride) * h, '\0');
    Palette pal;
    uint32_t last = 0;
    int lastIndex = -1;
    for (int y0 = 0; y0 < h; y0 += band) {
        const int rows = std::min(band, h - y0);
        if (!mem->BitBlt(0, 0, w, rows, hdc, 0, y0, plat::SRCCOPY)) return 4;
        const QImage& img = section->image();
        for (int r = 0; r < rows; ++r) {
            const int y = y0 + r;
            const QRgb* px = reinterpret_cast<const QRgb*>(img.constScanLine(r));
            auto* dst = reinterpret_cast<uint8_t*>(out.indices.data()) + qsizetype(h - 1 - y) * out.stride;
            for (int x = 0; x < w; ++x) {
                const uint32_t c = px[x] & 0xFFFFFFu;
                if (c != last || lastIndex < 0) {
                    lastIndex = pal.indexOf(c);
                    if (lastIndex < 0) return 3;
                    last = c;
                }
                dst[x] = static_cast<uint8_t>(lastIndex);
            }
        }
    }
    out.palette = pal.colors();
    return 0;
}

void writeBmp256(const QString& path, const Indexed& pic) {
    plat::AtomicFileWriter file(path);
    plat::BinaryWriter w(&file);
    w.u8('B');
    w.u8('M');
    w.u32(static_cast<uint32_t>(kHeaderBytes + int64_t(pic.stride) * pic.height));
    w.u16(0);
    w.u16(0);
    w.u32(kHeaderBytes);
    plat::WriteBitmapInfoHeader(w, pic.width, pic.height, 8);
    for (int i = 0; i < 256; ++i) w.u32(size_t(i) < pic.palette.size() ? pic.palette[size_t(i)] : 0);
    w.bytes(pic.indices);
    w.flush();
    file.commit();
}

// Qt's image writer straight into the atomic file, keeping the file error.
class AtomicDevice : public QIODevice {
public:
    explicit AtomicDevice(plat::AtomicFileWriter& file) : file_(file) { open(QIODevice::WriteOnly); }
    bool failed() const { return failed_; }
    const plat::AppError& error() const { return error_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override {
        try {
            file_.write(data, static_cast<size_t>(n));
            return n;
        } catch (...) {
            failed_ = true;
            error_ = plat::CurrentError();
            return -1;
        }
    }

private:
    plat::AtomicFileWriter& file_;
    bool failed_ = false;
    plat::AppError error_;
};

} // namespace

int32_t SaveBMP256(plat::DeviceContext* hdc, const plat::HBITMAP& hBitmap, const QString& path) {
    const QString proc = QStringLiteral("SaveBMP256");
    Indexed pic;
    try {
        if (!hdc) return 4;
        const int caps = hdc->GetDeviceCaps(plat::RASTERCAPS);
        if (!(caps & plat::RC_BITBLT) || !(caps & plat::RC_BITMAP64)) return 4;
        const plat::BITMAP info = plat::GetObject(hBitmap);
        if (info.bmWidth <= 0 || info.bmHeight <= 0 || info.bmBitsPixel == 0) return 1;
        if (info.bmBitsPixel < 9) return 2;
        const int r = indexPicture(hdc, info.bmWidth, info.bmHeight, pic);
        if (r != 0) return r;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, proc);
    }
    AppError err;
    const int answer = WithFileRetry([&] { writeBmp256(path, pic); }, path, &err);
    if (answer == 0) return 0;
    if (answer == 1) return err.number();
    RaiseError(err, ErrLibrary, kModule, proc);
}

void SaveBMPFullColor(const plat::HBITMAP& hBitmap, const QString& path) {
    if (!hBitmap) plat::ThrowRuntimeError(plat::ErrInvalidCall);
    SaveImageFile(hBitmap->image(), path, "bmp");
}

void SaveImageFile(const QImage& image, const QString& path, const char* format) {
    if (image.isNull()) plat::ThrowRuntimeError(plat::ErrInvalidCall);
    plat::AtomicFileWriter file(path);
    AtomicDevice dev(file);
    QImageWriter writer(&dev, format);
    if (!writer.write(image)) {
        if (dev.failed()) throw dev.error();
        plat::ThrowRuntimeError(plat::ErrDeviceIO, path);
    }
    file.commit();
}
