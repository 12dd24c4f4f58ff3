// Bitmaps: colour bitmaps of 32 bits per pixel and monochrome bitmaps of one
// bit per pixel (bit 0 black, bit 1 white), loaded from BMP files or from the
// program's built-in resources, with their record and their raw bits.
#pragma once

#include <QImage>
#include <QString>

#include "Gdi.h"

namespace plat {

class Bitmap {
public:
    // Largest edge and pixel count of a bitmap; anything larger is refused.
    static constexpr int kMaxEdge = 32767;
    static constexpr int64_t kMaxPixels = int64_t(1) << 27;
    // Pictures read from files are at most the canvas's size, and their
    // files at most this long.
    static constexpr int kMaxPictureEdge = 8000;
    static constexpr int64_t kMaxPictureFileBytes = int64_t(256) << 20;

    // A new white bitmap; null when a size is below 1 or too large. bpp 1
    // makes a monochrome bitmap, anything else one of 32 bits.
    static HBITMAP Create(int width, int height, int bpp);
    // A colour bitmap whose record reports bitCount (24 or 32) bits, as a
    // device-independent section of that depth does; its DIB bits are
    // available through dibBits().
    static HBITMAP CreateDIBSection(int width, int height, int bitCount);
    // From an image; mono turns it into one bit per pixel (dark pixels
    // black), as does an image that already has one bit per pixel.
    static HBITMAP FromImage(const QImage& image, bool mono = false);

    int width() const { return img_.width(); }
    int height() const { return img_.height(); }
    bool isMono() const { return img_.format() == QImage::Format_Mono; }
    int bitsPerPixel() const { return isMono() ? 1 : reportedBits_; }
    BITMAP info() const;

    // Format_Mono with colour table {black, white}, or Format_RGB32.
    QImage& image() { return img_; }
    const QImage& image() const { return img_; }

    // 0 (black) or 1 (white) of a monochrome bitmap; no bounds check.
    int monoBit(int x, int y) const {
        return (img_.constScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1;
    }
    // The bits as the device keeps them: rows of 2-byte multiples, the
    // leftmost pixel in the top bit for one bit per pixel, 4 bytes a pixel
    // (blue, green, red, 0) otherwise.
    QByteArray bits() const;
    // Bottom-up rows of bitCount 24 or 32, padded to 4 bytes.
    QByteArray dibBits(int bitCount = 24) const;
    // The same picture in 32 bits; a monochrome one in fore (black pixels)
    // and back (white pixels).
    QImage toRgb32(COLORREF fore = 0, COLORREF back = 0xFFFFFF) const;
    HBITMAP clone() const;

    explicit Bitmap(QImage img, int reportedBits = 32) : img_(std::move(img)), reportedBits_(reportedBits) {}

private:
    QImage img_;
    int reportedBits_ = 32;
};

BITMAP GetObject(const HBITMAP& bitmap);   // all zero for a null bitmap
// A BMP file (or any picture Qt reads): two-colour pictures stay monochrome.
// Null when the file is missing, unreadable, no regular file, larger than
// kMaxPictureEdge either way (judged from its header, before decoding), or
// shorter than its headers say.
HBITMAP LoadBitmapFromFile(const QString& path);
// A plain (text) PBM picture, bits with or without white space between
// them; 1 is black. Null when malformed.
QImage ParsePlainPbm(const QByteArray& data);
// A built-in bitmap of the program by resource id; null when there is none.
HBITMAP LoadBitmapResource(int id);
// The image of a device-independent bitmap in 32 bits (null when malformed).
QImage DibToImage(const DIB& dib);

} // namespace plat
