// Thin helpers over the platform services: text buffers in the ANSI code
// page, bitmaps, the system folder, the platform family, opening a file or
// link with its application, the font list of a device and a font height.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

#include "Bitmap.h"
#include "DeviceContext.h"

// One entry of a font list: the text metrics of the face and its name.
struct FontRecord {
    plat::TEXTMETRIC tm;
    QString FaceName;
};

// The bytes before the first zero byte, from Shift-JIS; empty when the
// first byte is zero or there is no zero byte at all.
QString AnsiBufToStr(const QByteArray& buf);
plat::BITMAP GetBitmapInfo(const plat::HBITMAP& bitmap);
// Null when the file cannot be loaded.
plat::HBITMAP LoadBitmapFile(const QString& path);
// The system folder; empty when it cannot be told.
QString GetSystemDir();
bool IsWindowsNT();
// False (after telling the user) when nothing could open the path.
bool ShellOpen(const QString& path);
// Entry 0 empty, entries 1..n the fonts of the device in enumeration order.
std::vector<FontRecord> EnumFontList(plat::HDC hdc);
// A height measure of the selected font of the device; -1 without metrics.
int32_t FontMetricSize(plat::HDC hdc);
// The same measure from given metrics.
int32_t FontMetricSizeOf(const plat::TEXTMETRIC& tm);
