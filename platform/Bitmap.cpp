#include "Bitmap.h"

#include "AppError.h"
#include "FileOps.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>

namespace plat {

namespace {

bool sizeOk(int w, int h) {
    return w >= 1 && h >= 1 && w <= Bitmap::kMaxEdge && h <= Bitmap::kMaxEdge &&
           int64_t(w) * int64_t(h) <= Bitmap::kMaxPixels;
}

bool pictureSizeOk(int w, int h) {
    return w >= 1 && h >= 1 && w <= Bitmap::kMaxPictureEdge && h <= Bitmap::kMaxPictureEdge;
}

QImage newMono(int w, int h) {
    QImage img(w, h, QImage::Format_Mono);
    if (img.isNull()) return img;
    img.setColorTable({0xFF000000u, 0xFFFFFFFFu});
    img.fill(1);
    return img;
}

bool isDark(QRgb c) { return qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114 < 128000; }

// Any picture to one bit per pixel, dark pixels black (bit 0).
QImage toMono(const QImage& src) {
    QImage out = newMono(src.width(), src.height());
    if (out.isNull()) return out;
    const bool indexed = src.format() == QImage::Format_Mono || src.format() == QImage::Format_MonoLSB ||
                         src.format() == QImage::Format_Indexed8;
    QImage rgb = indexed ? src : src.convertToFormat(QImage::Format_ARGB32);
    std::vector<int> bitOfIndex;
    if (indexed) {
        for (QRgb c : src.colorTable()) bitOfIndex.push_back(qAlpha(c) >= 128 && isDark(c) ? 0 : 1);
    }
    for (int y = 0; y < src.height(); ++y) {
        uchar* line = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            int bit;
            if (indexed) {
                int idx = src.pixelIndex(x, y);
                bit = idx >= 0 && idx < static_cast<int>(bitOfIndex.size()) ? bitOfIndex[size_t(idx)] : 1;
            } else {
                QRgb c = reinterpret_cast<const QRgb*>(rgb.constScanLine(y))[x];
                bit = qAlpha(c) >= 128 && isDark(c) ? 0 : 1;
            }
            if (bit == 0) line[x >> 3] &= static_cast<uchar>(~(0x80 >> (x & 7)));
        }
    }
    return out;
}

uint32_t bgr(QRgb c) { return (c & 0xFFFFFFu); }

// False for a BMP file shorter than its headers say (the image reader would
// hand back a blank picture of the claimed size instead of failing) or one
// whose sizes lie beyond any bitmap's. Other files pass (the reader judges
// them).
bool bmpComplete(const QByteArray& h) {
    if (h.size() < 2 || h[0] != 'B' || h[1] != 'M') return true;
    if (h.size() < 26) return false;
    auto u16 = [&](int at) { return uint32_t(uchar(h[at])) | uint32_t(uchar(h[at + 1])) << 8; };
    auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
    const int64_t offBits = u32(10), infoSize = u32(14);
    int64_t width, height, bitCount, compression = 0, sizeImage = 0;
    if (infoSize == 12) {   // the oldest header: 16-bit sizes
        width = u16(18);
        height = u16(20);
        bitCount = u16(24);
    } else {
        if (h.size() < 38) return false;
        width = int32_t(u32(18));
        height = int32_t(u32(22));
        bitCount = u16(28);
        compression = u32(30);
        sizeImage = u32(34);
    }
    // Bounded first, so the row product below stays far inside 64 bits.
    width = std::abs(width);
    height = std::abs(height);
    if (width > Bitmap::kMaxEdge || height > Bitmap::kMaxEdge || bitCount > 64) return false;
    int64_t need = std::max<int64_t>(offBits, 14 + infoSize);
    const bool plainRows = compression == 0 || compression == 3 || compression == 6;   // RGB, bit fields
    if (plainRows) need += (width * bitCount + 31) / 32 * 4 * height;
    else need += sizeImage;
    return h.size() >= need;
}

} // namespace

HBITMAP Bitmap::Create(int width, int height, int bpp) {
    if (!sizeOk(width, height)) return nullptr;
    QImage img = bpp == 1 ? newMono(width, height) : QImage(width, height, QImage::Format_RGB32);
    if (img.isNull()) return nullptr;
    if (bpp != 1) img.fill(0xFFFFFFFFu);
    return std::make_shared<Bitmap>(std::move(img));
}

HBITMAP Bitmap::CreateDIBSection(int width, int height, int bitCount) {
    HBITMAP b = Create(width, height, 32);
    if (b) b->reportedBits_ = bitCount == 24 ? 24 : 32;
    return b;
}

HBITMAP Bitmap::FromImage(const QImage& image, bool mono) {
    if (image.isNull() || !sizeOk(image.width(), image.height())) return nullptr;
    const bool oneBit = image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
    QImage img = (mono || oneBit) ? toMono(image) : image.convertToFormat(QImage::Format_RGB32);
    if (img.isNull()) return nullptr;
    return std::make_shared<Bitmap>(std::move(img));
}

BITMAP Bitmap::info() const {
    BITMAP b;
    b.bmWidth = width();
    b.bmHeight = height();
    b.bmPlanes = 1;
    b.bmBitsPixel = static_cast<uint16_t>(bitsPerPixel());
    if (isMono()) b.bmWidthBytes = ((width() + 15) / 16) * 2;
    else if (reportedBits_ == 24) b.bmWidthBytes = ((width() * 24 + 31) / 32) * 4;
    else b.bmWidthBytes = width() * 4;
    b.bmBits = img_.constBits();
    return b;
}

QByteArray Bitmap::bits() const {
    const int w = width(), h = height();
    if (isMono()) {
        const int rowBytes = ((w + 15) / 16) * 2;
        QByteArray out(qsizetype(rowBytes) * h, '\0');
        const int used = (w + 7) / 8;
        for (int y = 0; y < h; ++y) memcpy(out.data() + qsizetype(y) * rowBytes, img_.constScanLine(y), size_t(used));
        return out;
    }
    QByteArray out(qsizetype(w) * 4 * h, '\0');
    for (int y = 0; y < h; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(img_.constScanLine(y));
        uchar* dst = reinterpret_cast<uchar*>(out.data()) + qsizetype(y) * w * 4;
        for (int x = 0; x < w; ++x) {
            dst[4 * x] = uchar(qBlue(src[x]));
            dst[4 * x + 1] = uchar(qGreen(src[x]));
            dst[4 * x + 2] = uchar(qRed(src[x]));
        }
    }
    return out;
}

QByteArray Bitmap::dibBits(int bitCount) const {
    const int bpp = bitCount == 32 ? 4 : 3;
    const int w = width(), h = height();
    const int stride = ((w * bpp * 8 + 31) / 32) * 4;
    QByteArray out(qsizetype(stride) * h, '\0');
    QImage rgb = toRgb32();
    for (int y = 0; y < h; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* dst = reinterpret_cast<uchar*>(out.data()) + qsizetype(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            dst[bpp * x] = uchar(qBlue(src[x]));
            dst[bpp * x + 1] = uchar(qGreen(src[x]));
            dst[bpp * x + 2] = uchar(qRed(src[x]));
        }
    }
    return out;
}

QImage Bitmap::toRgb32(COLORREF fore, COLORREF back) const {
    if (!isMono()) return img_;
    QImage out(width(), height(), QImage::Format_RGB32);
    const QRgb f = qRgb(GetRValue(fore), GetGValue(fore), GetBValue(fore));
    const QRgb b = qRgb(GetRValue(back), GetGValue(back), GetBValue(back));
    for (int y = 0; y < height(); ++y) {
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width(); ++x) dst[x] = monoBit(x, y) ? b : f;
    }
    return out;
}

HBITMAP Bitmap::clone() const {
    auto b = std::make_shared<Bitmap>(img_.copy(), reportedBits_);
    return b;
}

BITMAP GetObject(const HBITMAP& bitmap) { return bitmap ? bitmap->info() : BITMAP(); }

HBITMAP LoadBitmapFromFile(const QString& path) {
    if (path.isEmpty() || !PathExists(path)) return nullptr;
    QByteArray bytes;
    try {
        bytes = ReadAllBytes(path, Bitmap::kMaxPictureFileBytes);
    } catch (const AppError&) {
        return nullptr;
    }
    if (!bmpComplete(bytes)) return nullptr;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // The size a header claims is judged before any pixel is decoded: a tiny
    // file may claim a huge picture.
    const QSize sz = reader.size();   // a top-down BMP gives its height negative
    if (!pictureSizeOk(std::abs(sz.width()), std::abs(sz.height()))) return nullptr;
    QImage img;
    if (!reader.read(&img) || !pictureSizeOk(img.width(), img.height())) return nullptr;
    return Bitmap::FromImage(img);
}

QImage ParsePlainPbm(const QByteArray& data) {
    qsizetype i = 0;
    const qsizetype n = data.size();
    auto skipSpaceAndComments = [&] {
        while (i < n) {
            const char c = data[i];
            if (c == '#') {
                while (i < n && data[i] != '\n') ++i;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++i;
            } else {
                break;
            }
        }
    };
    auto readInt = [&](int& v) {
        skipSpaceAndComments();
        v = 0;
        int digits = 0;
        while (i < n && data[i] >= '0' && data[i] <= '9' && digits < 6) {
            v = v * 10 + (data[i] - '0');
            ++i;
            ++digits;
        }
        return digits > 0;
    };
    if (n < 2 || data[0] != 'P' || data[1] != '1') return {};
    i = 2;
    int w = 0, h = 0;
    if (!readInt(w) || !readInt(h) || !sizeOk(w, h)) return {};
    QImage img = newMono(w, h);
    if (img.isNull()) return img;
    for (int y = 0; y < h; ++y) {
        uchar* line = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            skipSpaceAndComments();
            if (i >= n || (data[i] != '0' && data[i] != '1')) return {};
            if (data[i] == '1') line[x >> 3] &= static_cast<uchar>(~(0x80 >> (x & 7)));
            ++i;
        }
    }
    return img;
}

HBITMAP LoadBitmapResource(int id) {
    QFile f(QStringLiteral(":/kaldero/bitmaps/%1.pbm").arg(id));
    if (!f.open(QIODevice::ReadOnly)) return nullptr;
    const QImage img = ParsePlainPbm(f.readAll());
    if (img.isNull()) return nullptr;
    return std::make_shared<Bitmap>(img);
}

QImage DibToImage(const DIB& dib) {
    // Checked before the height is negated: -INT32_MIN does not exist.
    if (dib.height < -Bitmap::kMaxEdge || dib.height > Bitmap::kMaxEdge) return {};
    const int w = dib.width, h = dib.height < 0 ? -dib.height : dib.height;
    const int bc = dib.bitCount;
    if (!sizeOk(w, h) || (bc != 1 && bc != 4 && bc != 8 && bc != 24 && bc != 32)) return {};
    const qsizetype stride = dib.stride();
    if (dib.bits.size() < stride * h) return {};
    if (bc <= 8 && dib.palette.empty()) return {};
    QImage out(w, h, QImage::Format_RGB32);
    if (out.isNull()) return out;
    const uchar* base = reinterpret_cast<const uchar*>(dib.bits.constData());
    const size_t palN = dib.palette.size();
    for (int y = 0; y < h; ++y) {
        const int srcRow = dib.height < 0 ? y : h - 1 - y;
        const uchar* row = base + srcRow * stride;
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            uint32_t c;
            if (bc == 24 || bc == 32) {
                const uchar* p = row + x * (bc / 8);
                c = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            } else {
                int idx;
                if (bc == 8) idx = row[x];
                else if (bc == 4) idx = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
                else idx = (row[x >> 3] >> (7 - (x & 7))) & 1;
                c = size_t(idx) < palN ? bgr(dib.palette[size_t(idx)]) : 0;
            }
            dst[x] = 0xFF000000u | c;
        }
    }
    return out;
}

} // namespace plat
