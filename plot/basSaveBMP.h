// BMP files of the canvas: the 8-bit palettised file written byte by byte,
// and the full-colour file the canvas writes when the 8-bit one cannot be
// made. Both replace their target atomically: a failed save leaves the
// previous file as it was.
//
// The 8-bit file: 1078 + S x H bytes (S = the width rounded up to a
// multiple of 4): the 14-byte file header, the 40-byte information header
// (no compression, image size, resolution and colour counts 0), 256 palette
// entries (blue, green, red, 0; unused ones zero) and one index a pixel,
// the bottom row first, each row padded with zeros. The palette lists the
// colours in the order they first appear reading from the top row down,
// each row left to right, so the top-left pixel is always entry 0.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

#include "Gdi.h"

namespace plat {
class DeviceContext;
} // namespace plat

// Writes the picture held by hdc (of the size of hBitmap, a deeper than
// 8-bit picture) as an 8-bit BMP file. Results:
//   0  written
//   1  the bitmap has zero width, height or bits per pixel
//   2  the bitmap has 8 or fewer bits per pixel
//   3  the picture has more than 256 colours; nothing written
//   4  the device cannot transfer blocks or large bitmaps, or a transfer
//      failed; nothing written
//   other: the number of a file error the user chose to skip.
// A file error the user cancels, and any other failure, is raised with
// "basSaveBMP.SaveBMP256/" in its source.
int32_t SaveBMP256(plat::DeviceContext* hdc, const plat::HBITMAP& hBitmap, const QString& path);

// Writes the bitmap as an uncompressed BMP at full colour (24 bits a pixel;
// a monochrome bitmap keeps one bit). Throws the file error.
void SaveBMPFullColor(const plat::HBITMAP& hBitmap, const QString& path);

// Writes an image through Qt's image writer in the given format ("bmp",
// "png"), replacing the target atomically. Throws the file error, or
// error 57 when the writer refuses the image.
void SaveImageFile(const QImage& image, const QString& path, const char* format);
