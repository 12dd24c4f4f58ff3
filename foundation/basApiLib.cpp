#include "basApiLib.h"

#include "Fonts.h"
#include "MessageBox.h"
#include "Shell.h"
#include "TextFile.h"

#include <algorithm>

QString AnsiBufToStr(const QByteArray& buf) {
    const qsizetype zero = buf.indexOf('\0');
    if (zero <= 0) return QString();
    const QByteArray bytes = buf.left(zero);
    try {
        return plat::DecodeCp932(bytes);
    } catch (...) {
        return QString::fromLatin1(bytes);
    }
}

plat::BITMAP GetBitmapInfo(const plat::HBITMAP& bitmap) { return plat::GetObject(bitmap); }

plat::HBITMAP LoadBitmapFile(const QString& path) { return plat::LoadBitmapFromFile(path); }

QString GetSystemDir() {
    const QString dir = plat::SystemFolder();
    return dir.size() >= 3 && dir.size() <= 259 ? dir : QString();
}

bool IsWindowsNT() { return plat::IsModernPlatformFamily(); }

bool ShellOpen(const QString& path) {
    if (plat::OpenWithApplication(path)) return true;
    plat::MsgBox(QStringLiteral("関連付けられたアプリケーションを実行できません.\r\n") + path, plat::MbOkOnly);
    return false;
}

std::vector<FontRecord> EnumFontList(plat::HDC hdc) {
    std::vector<FontRecord> list(1);
    if (!hdc) return list;
    for (const plat::FontFace& f : plat::EnumerateFontFaces()) {
        try {
            FontRecord r;
            r.tm = f.tm;
            r.FaceName = f.lf.lfFaceName;
            list.push_back(r);
        } catch (...) {
            // A face that cannot be listed is left out.
        }
    }
    return list;
}

int32_t FontMetricSizeOf(const plat::TEXTMETRIC& tm) {
    const int32_t H = tm.tmHeight, A = tm.tmAscent, D = tm.tmDescent, L = tm.tmInternalLeading;
    const int32_t body = H - L;
    int32_t k = L;
    if (k < 1) k = 4 * D / 5;
    if (3 * k < D) k = (k + D) / 2;
    if (10 * k > 3 * A) k = 3 * A / 10;
    if (10 * k > 3 * body) k = 3 * body / 10;
    if (8 * k < A) k = A / 8;
    if (8 * k < body) k = body / 8;
    int32_t r = A - k;
    if (2 * r < body) r = body / 2;
    if (10 * r < 4 * H) r = 4 * H / 10;
    return std::max(r, int32_t(2));
}

int32_t FontMetricSize(plat::HDC hdc) {
    plat::TEXTMETRIC tm;
    if (!hdc || !hdc->GetTextMetrics(&tm)) return -1;
    return FontMetricSizeOf(tm);
}
