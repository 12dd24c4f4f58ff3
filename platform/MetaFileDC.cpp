#include "MetaFileDC.h"

#include "BinaryIO.h"
#include "Bitmap.h"
#include "TextFile.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

constexpr int kMaxPolyPoints = 32767;
constexpr int kMaxTextBytes = 8192;
constexpr int kFaceBytes = 32;
constexpr uint16_t DIB_RGB_COLORS = 0;

int16_t c16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

bool usesSource(uint32_t rop) {
    const int idx = Rop3Index(rop);
    return ((idx >> 2) & 0x33) != (idx & 0x33);
}

void writeDib(BinaryWriter& w, const DIB& dib) {
    WriteBitmapInfoHeader(w, dib.width, dib.height, dib.bitCount);
    if (dib.bitCount <= 8) {
        const size_t n = size_t(1) << dib.bitCount;
        for (size_t i = 0; i < n; ++i) w.u32(i < dib.palette.size() ? dib.palette[i] & 0xFFFFFF : 0);
    }
    const qsizetype size = qsizetype(dib.stride()) * std::abs(dib.height);
    w.bytes(dib.bits.constData(), static_cast<size_t>(size));
}

bool dibUsable(const DIB& dib) {
    const int bc = dib.bitCount;
    if (bc != 1 && bc != 4 && bc != 8 && bc != 24 && bc != 32) return false;
    if (dib.width < 1 || dib.width > Bitmap::kMaxEdge || dib.height == 0 || std::abs(dib.height) > Bitmap::kMaxEdge)
        return false;
    if (bc <= 8 && dib.palette.empty()) return false;
    return dib.bits.size() >= qsizetype(dib.stride()) * std::abs(dib.height);
}

// Part of a bitmap as a 24-bit DIB, mirrored where asked; a monochrome
// bitmap in zero (0 bits) and one (1 bits).
DIB dibOf(const Bitmap& bm, const QRect& part, bool flipX, bool flipY, COLORREF zero, COLORREF one) {
    QImage img = Bitmap(bm.image().copy(part)).toRgb32(zero, one);
    if (flipX || flipY) img = img.mirrored(flipX, flipY);
    DIB dib;
    dib.width = img.width();
    dib.height = img.height();
    dib.bitCount = 24;
    dib.bits = Bitmap(img).dibBits(24);
    return dib;
}

// A pattern as a DIB: one bit a pixel (0 black, 1 white) for a monochrome
// pattern, whose colours the player takes from its text and background
// colours; 24 bits otherwise.
DIB patternDib(const Bitmap& bm) {
    if (!bm.isMono()) return dibOf(bm, QRect(0, 0, bm.width(), bm.height()), false, false, 0, 0);
    DIB dib;
    dib.width = bm.width();
    dib.height = bm.height();
    dib.bitCount = 1;
    dib.palette = {0x000000, 0xFFFFFF};
    const int stride = dib.stride(), used = (dib.width + 7) / 8;
    dib.bits = QByteArray(qsizetype(stride) * dib.height, '\0');
    for (int y = 0; y < dib.height; ++y)
        memcpy(dib.bits.data() + qsizetype(dib.height - 1 - y) * stride, bm.image().constScanLine(y), size_t(used));
    return dib;
}

// A face name in code page 932, cut at a whole character so that it fits
// the 32 bytes of the record with its terminating zero, and zero-padded.
QByteArray faceBytes(const QString& face) {
    QByteArray out;
    for (const QChar ch : face) {
        const QByteArray b = EncodeCp932Lossy(QString(ch));
        if (out.size() + b.size() > kFaceBytes - 1) break;
        out += b;
    }
    out.append(QByteArray(kFaceBytes - out.size(), '\0'));
    return out;
}

// Consecutive repeats dropped from a ring that is too long for one record.
std::vector<POINT> withoutRepeats(const POINT* pts, int n) {
    std::vector<POINT> out;
    out.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        const POINT p{c16(pts[i].x), c16(pts[i].y)};
        if (out.empty() || !(out.back() == p)) out.push_back(p);
    }
    return out;
}

} // namespace

void WriteBitmapInfoHeader(BinaryWriter& w, int32_t width, int32_t height, int bitCount) {
    w.u32(40);
    w.i32(width);
    w.i32(height);
    w.u16(1);
    w.u16(static_cast<uint16_t>(bitCount));
    w.u32(0);   // no compression
    w.u32(0);   // image size
    w.i32(0);   // pixels per metre
    w.i32(0);
    w.u32(0);   // colours used: all
    w.u32(0);   // colours important: all
}

QByteArray MetaFile::bits() const {
    BinaryWriter w;
    const uint64_t words = 9 + uint64_t(records_.size()) / 2 + 3;
    w.u16(1);        // in memory
    w.u16(9);        // header words
    w.u16(0x0300);   // with device-independent bitmaps
    w.u32(static_cast<uint32_t>(std::min<uint64_t>(words, UINT32_MAX)));
    w.u16(static_cast<uint16_t>(objects_));
    w.u32(maxRecordWords_);
    w.u16(0);
    w.bytes(records_);
    w.u32(3);
    w.u16(META_EOF);
    return w.buffer();
}

MetaFileDC::MetaFileDC() : measure_(CreateCompatibleDC(nullptr)) {}

MetaFileDC::~MetaFileDC() = default;

HMETAFILE MetaFileDC::Close() {
    if (!open_) return nullptr;
    open_ = false;
    auto mf = std::make_shared<MetaFile>();
    mf->records_ = std::move(records_);
    mf->count_ = count_;
    mf->maxRecordWords_ = maxRecordWords_;
    mf->objects_ = tableSize_;
    for (size_t s = 0; s < used_.size(); ++s)
        if (used_[s]) mf->live_.push_back(static_cast<int>(s));
    mf->openSaves_ = static_cast<int>(saved_.size());
    records_.clear();
    return mf;
}

void MetaFileDC::record(uint16_t function, const std::function<void(BinaryWriter&)>& params) {
    BinaryWriter p;
    if (params) params(p);
    QByteArray body = p.buffer();
    if (body.size() & 1) body.append('\0');
    const uint32_t words = static_cast<uint32_t>(3 + body.size() / 2);
    BinaryWriter head;
    head.u32(words);
    head.u16(function);
    records_ += head.buffer();
    records_ += body;
    ++count_;
    maxRecordWords_ = std::max(maxRecordWords_, words);
}

int MetaFileDC::createObject(uint16_t function, const std::function<void(BinaryWriter&)>& params) {
    const auto free = std::find(used_.begin(), used_.end(), false);
    const int slot = static_cast<int>(free - used_.begin());
    if (free == used_.end()) used_.push_back(true);
    else *free = true;
    tableSize_ = std::max(tableSize_, slot + 1);
    record(function, params);
    return slot;
}

int MetaFileDC::createBrush(const Brush& b) {
    if (b.style == BS_PATTERN && b.pattern) {
        const Bitmap& bm = *b.pattern;
        const bool mono = bm.isMono();
        const DIB dib = patternDib(bm);
        return createObject(META_DIBCREATEPATTERNBRUSH, [&](BinaryWriter& w) {
            w.u16(static_cast<uint16_t>(mono ? int(BS_PATTERN) : int(BS_DIBPATTERNPT)));
            w.u16(DIB_RGB_COLORS);
            writeDib(w, dib);
        });
    }
    const int style = b.style == BS_PATTERN ? BS_NULL : b.style;
    return createObject(META_CREATEBRUSHINDIRECT, [&](BinaryWriter& w) {
        w.u16(static_cast<uint16_t>(style));
        w.u32(b.color & 0xFFFFFF);
        w.u16(static_cast<uint16_t>(b.hatch));
    });
}

void MetaFileDC::selectObject(int slot) {
    record(META_SELECTOBJECT, [&](BinaryWriter& w) { w.u16(static_cast<uint16_t>(slot)); });
}

void MetaFileDC::deleteObject(int slot) {
    record(META_DELETEOBJECT, [&](BinaryWriter& w) { w.u16(static_cast<uint16_t>(slot)); });
    used_[size_t(slot)] = false;
}

void MetaFileDC::collect() {
    auto inUse = [&](int s) {
        if (s == cur_.pen || s == cur_.brush || s == cur_.font) return true;
        return std::any_of(saved_.begin(), saved_.end(),
                           [s](const Slots& v) { return s == v.pen || s == v.brush || s == v.font; });
    };
    for (size_t s = 0; s < used_.size(); ++s)
        if (used_[s] && !inUse(static_cast<int>(s))) deleteObject(static_cast<int>(s));
}

bool MetaFileDC::Play(const MetaFile& mf) {
    if (!open_ || std::find(used_.begin(), used_.end(), true) != used_.end()) return false;
    record(META_SAVEDC, {});
    records_ += mf.records_;
    count_ += mf.count_;
    maxRecordWords_ = std::max(maxRecordWords_, mf.maxRecordWords_);
    tableSize_ = std::max(tableSize_, mf.objects_);
    record(META_RESTOREDC, [&](BinaryWriter& w) { w.i16(c16(-(1 + mf.openSaves_))); });
    for (int s : mf.live_) record(META_DELETEOBJECT, [&](BinaryWriter& w) { w.u16(static_cast<uint16_t>(s)); });
    return true;
}

int MetaFileDC::GetDeviceCaps(int index) const {
    switch (index) {
    case TECHNOLOGY: return DT_METAFILE;
    case HORZRES:
    case VERTRES:
    case HORZSIZE:
    case VERTSIZE: return 0;
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    default: return measure_->GetDeviceCaps(index);
    }
}

// --- objects ----------------------------------------------------------------

namespace {

// The on and off lengths of a dashed pen as the canvas draws it; nothing for
// a pen that is not dashed.
std::vector<double> dashPattern(const Pen& pen) {
    const int dash = pen.dash();
    if (dash < PS_DASH || dash > PS_DASHDOTDOT) return {};
    if (pen.width <= 1) {
        const std::vector<int> d = CosmeticDashes(pen.style);
        return std::vector<double>(d.begin(), d.end());
    }
    const double w = pen.width;
    switch (dash) {
    case PS_DASH: return {4 * w, 2 * w};
    case PS_DOT: return {w, 2 * w};
    case PS_DASHDOT: return {4 * w, 2 * w, w, 2 * w};
    default: return {4 * w, 2 * w, w, 2 * w, w, 2 * w};
    }
}

} // namespace

std::vector<std::vector<POINT>> DashPieces(const POINT* pts, int n, const std::vector<double>& pattern) {
    std::vector<std::vector<POINT>> out;
    if (!pts || n < 2 || pattern.empty()) return out;
    size_t k = 0;                  // the pattern's current entry; even entries draw
    double left = pattern[0];      // of that entry
    std::vector<POINT> piece{pts[0]};
    const auto round = [](double v) { return static_cast<int>(std::lround(v)); };
    for (int i = 1; i < n; ++i) {
        const double x0 = pts[i - 1].x, y0 = pts[i - 1].y;
        const double dx = pts[i].x - x0, dy = pts[i].y - y0;
        const double length = std::hypot(dx, dy);
        double at = 0;
        while (length - at > left) {
            at += left;
            const POINT p{round(x0 + dx * at / length), round(y0 + dy * at / length)};
            if (k % 2 == 0) {
                piece.push_back(p);
                out.push_back(std::move(piece));
                piece.clear();
            } else {
                piece = {p};
            }
            k = (k + 1) % pattern.size();
            left = pattern[k];
        }
        left -= length - at;
        if (k % 2 == 0) piece.push_back(pts[i]);
    }
    if (k % 2 == 0 && piece.size() >= 2) out.push_back(std::move(piece));
    return out;
}

Pen MetaFileDC::SelectPen(const Pen& pen) {
    const Pen old = DeviceContext::SelectPen(pen);
    if (!open_ || (cur_.pen >= 0 && old == pen)) return old;
    // A dashed pen is recorded solid: its lines are cut into dashes here.
    const int style = dashPattern(pen).empty() ? pen.style : (pen.style & ~PS_STYLE_MASK) | PS_SOLID;
    cur_.pen = createObject(META_CREATEPENINDIRECT, [&](BinaryWriter& w) {
        w.u16(static_cast<uint16_t>(style & 0xFFFF));
        w.i16(c16(pen.width));
        w.i16(0);
        w.u32(pen.color & 0xFFFFFF);
    });
    selectObject(cur_.pen);
    collect();
    return old;
}

Brush MetaFileDC::SelectBrush(const Brush& brush) {
    const Brush old = DeviceContext::SelectBrush(brush);
    const bool same = old.style == brush.style && old.color == brush.color && old.hatch == brush.hatch &&
                      old.pattern == brush.pattern;
    if (!open_ || (cur_.brush >= 0 && same)) return old;
    cur_.brush = createBrush(brush);
    selectObject(cur_.brush);
    collect();
    return old;
}

HFONT MetaFileDC::SelectFont(const HFONT& font) {
    const HFONT old = DeviceContext::SelectFont(font);
    if (!font || !open_ || (cur_.font >= 0 && old == font)) return old;
    const LOGFONT& lf = font->lf;
    const QByteArray face = faceBytes(lf.lfFaceName);
    cur_.font = createObject(META_CREATEFONTINDIRECT, [&](BinaryWriter& w) {
        w.i16(c16(lf.lfHeight));
        w.i16(c16(lf.lfWidth));
        w.i16(c16(lf.lfEscapement));
        w.i16(c16(lf.lfOrientation));
        w.i16(c16(lf.lfWeight));
        for (uint8_t b : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                          lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily})
            w.u8(b);
        w.bytes(face);
    });
    selectObject(cur_.font);
    collect();
    return old;
}

// --- attributes and mapping ---------------------------------------------------

namespace {
// The record of a mode with its reserved word.
auto modeParams(int mode) {
    return [mode](BinaryWriter& w) {
        w.u16(static_cast<uint16_t>(mode));
        w.u16(0);
    };
}
auto pointParams(int x, int y) {
    return [x, y](BinaryWriter& w) {
        w.i16(c16(y));
        w.i16(c16(x));
    };
}
auto rectParams(int left, int top, int right, int bottom) {
    return [=](BinaryWriter& w) {
        w.i16(c16(bottom));
        w.i16(c16(right));
        w.i16(c16(top));
        w.i16(c16(left));
    };
}
} // namespace

COLORREF MetaFileDC::SetTextColor(COLORREF c) {
    const COLORREF old = DeviceContext::SetTextColor(c);
    if (open_) record(META_SETTEXTCOLOR, [&](BinaryWriter& w) { w.u32(c & 0xFFFFFF); });
    return old;
}

COLORREF MetaFileDC::SetBkColor(COLORREF c) {
    const COLORREF old = DeviceContext::SetBkColor(c);
    if (open_) record(META_SETBKCOLOR, [&](BinaryWriter& w) { w.u32(c & 0xFFFFFF); });
    return old;
}

int MetaFileDC::SetBkMode(int mode) {
    const int old = DeviceContext::SetBkMode(mode);
    if (old && open_) record(META_SETBKMODE, modeParams(mode));
    return old;
}

int MetaFileDC::SetROP2(int rop2) {
    const int old = DeviceContext::SetROP2(rop2);
    if (old && open_) record(META_SETROP2, modeParams(rop2));
    return old;
}

int MetaFileDC::SetPolyFillMode(int mode) {
    const int old = DeviceContext::SetPolyFillMode(mode);
    if (old && open_) record(META_SETPOLYFILLMODE, modeParams(mode));
    return old;
}

int MetaFileDC::SetStretchBltMode(int mode) {
    const int old = DeviceContext::SetStretchBltMode(mode);
    if (old && open_) record(META_SETSTRETCHBLTMODE, modeParams(mode));
    return old;
}

unsigned MetaFileDC::SetTextAlign(unsigned align) {
    const unsigned old = DeviceContext::SetTextAlign(align);
    if (open_) record(META_SETTEXTALIGN, modeParams(static_cast<int>(align & 0xFFFF)));
    return old;
}

int MetaFileDC::SetMapMode(int mode) {
    const int old = DeviceContext::SetMapMode(mode);
    if (old && open_) record(META_SETMAPMODE, [&](BinaryWriter& w) { w.u16(static_cast<uint16_t>(mode)); });
    return old;
}

bool MetaFileDC::SetWindowOrgEx(int x, int y, POINT* old) {
    if (!DeviceContext::SetWindowOrgEx(x, y, old) || !open_) return false;
    record(META_SETWINDOWORG, pointParams(x, y));
    return true;
}

bool MetaFileDC::SetWindowExtEx(int cx, int cy, SIZE* old) {
    if (!DeviceContext::SetWindowExtEx(cx, cy, old) || !open_) return false;
    record(META_SETWINDOWEXT, pointParams(cx, cy));
    return true;
}

bool MetaFileDC::SetViewportOrgEx(int x, int y, POINT* old) {
    if (!DeviceContext::SetViewportOrgEx(x, y, old) || !open_) return false;
    record(META_SETVIEWPORTORG, pointParams(x, y));
    return true;
}

bool MetaFileDC::SetViewportExtEx(int cx, int cy, SIZE* old) {
    if (!DeviceContext::SetViewportExtEx(cx, cy, old) || !open_) return false;
    record(META_SETVIEWPORTEXT, pointParams(cx, cy));
    return true;
}

int MetaFileDC::SaveDC() {
    if (!open_) return 0;
    const int depth = DeviceContext::SaveDC();
    record(META_SAVEDC, {});
    saved_.push_back(cur_);
    return depth;
}

bool MetaFileDC::RestoreDC(int saved) {
    const int depth = static_cast<int>(saved_.size());
    const int target = saved < 0 ? depth + saved + 1 : saved;
    if (!open_ || target < 1 || target > depth || !DeviceContext::RestoreDC(saved)) return false;
    // Relative, so that a player's own saved states do not count.
    record(META_RESTOREDC, [&](BinaryWriter& w) { w.i16(c16(-(depth - target + 1))); });
    cur_ = saved_[size_t(target - 1)];
    saved_.resize(size_t(target - 1));
    collect();
    return true;
}

// --- clipping -------------------------------------------------------------------

bool MetaFileDC::recordRegion(const QRegion& r) {
    // Scans: runs of rectangles sharing their top and bottom, as QRegion
    // keeps them (sorted by top, then left).
    struct Scan {
        int top, bottom;
        std::vector<std::pair<int, int>> xs;
    };
    std::vector<Scan> scans;
    for (const QRect& q : r) {
        if (scans.empty() || scans.back().top != q.top() || scans.back().bottom != q.bottom() + 1)
            scans.push_back(Scan{q.top(), q.bottom() + 1, {}});
        scans.back().xs.emplace_back(q.left(), q.right() + 1);
    }
    int64_t size = 22;
    size_t maxPairs = 0;
    for (const Scan& s : scans) {
        size += 8 + 4 * int64_t(s.xs.size());
        maxPairs = std::max(maxPairs, s.xs.size());
    }
    if (size > INT16_MAX || scans.size() > size_t(INT16_MAX)) return false;
    const QRect box = r.boundingRect();
    const int slot = createObject(META_CREATEREGION, [&](BinaryWriter& w) {
        w.u16(0);
        w.u16(6);   // region
        w.u32(0);
        w.i16(static_cast<int16_t>(size));
        w.i16(static_cast<int16_t>(scans.size()));
        w.i16(static_cast<int16_t>(maxPairs));
        w.i16(c16(box.isEmpty() ? 0 : box.left()));
        w.i16(c16(box.isEmpty() ? 0 : box.top()));
        w.i16(c16(box.isEmpty() ? 0 : int64_t(box.right()) + 1));
        w.i16(c16(box.isEmpty() ? 0 : int64_t(box.bottom()) + 1));
        for (const Scan& s : scans) {
            const int16_t count = static_cast<int16_t>(2 * s.xs.size());
            w.i16(count);
            w.i16(c16(s.top));
            w.i16(c16(s.bottom));
            for (const auto& [l, rgt] : s.xs) {
                w.i16(c16(l));
                w.i16(c16(rgt));
            }
            w.i16(count);
        }
    });
    record(META_SELECTCLIPREGION, [&](BinaryWriter& w) { w.u16(static_cast<uint16_t>(slot)); });
    deleteObject(slot);
    return true;
}

int MetaFileDC::ExtSelectClipRgn(const Region* rgn, int mode) {
    if (!open_) return RGN_ERROR;
    const std::optional<QRegion> before = state().clip;
    const int kind = DeviceContext::ExtSelectClipRgn(rgn, mode);
    if (kind == RGN_ERROR) return kind;
    const QRegion plane(surfaceRect());
    // Without a clip the whole plane of the format is the clip.
    if (!recordRegion(state().clip ? (*state().clip & plane) : plane)) {
        state().clip = before;
        return RGN_ERROR;
    }
    return kind;
}

int MetaFileDC::IntersectClipRect(int left, int top, int right, int bottom) {
    if (!open_) return RGN_ERROR;
    record(META_INTERSECTCLIPRECT, rectParams(left, top, right, bottom));
    return DeviceContext::IntersectClipRect(left, top, right, bottom);
}

int MetaFileDC::ExcludeClipRect(int left, int top, int right, int bottom) {
    if (!open_) return RGN_ERROR;
    record(META_EXCLUDECLIPRECT, rectParams(left, top, right, bottom));
    return DeviceContext::ExcludeClipRect(left, top, right, bottom);
}

// --- lines and shapes -------------------------------------------------------------

bool MetaFileDC::MoveToEx(int x, int y, POINT* old) {
    if (!open_) return false;
    DeviceContext::MoveToEx(x, y, old);
    record(META_MOVETO, pointParams(x, y));
    return true;
}

bool MetaFileDC::LineTo(int x, int y) {
    if (!open_) return false;
    if (dashPattern(state().pen).empty()) {
        record(META_LINETO, pointParams(x, y));
    } else {
        const POINT line[2] = {state().currentPos, POINT{x, y}};
        strokeRecord(line, 2);
        record(META_MOVETO, pointParams(x, y));
    }
    state().currentPos = POINT{x, y};
    return true;
}

void MetaFileDC::strokeRecord(const POINT* pts, int n) {
    const std::vector<double> pattern = dashPattern(state().pen);
    if (pattern.empty()) {
        // Pieces share their end points, so the line stays unbroken.
        for (int start = 0; start < n - 1; start += kMaxPolyPoints - 1)
            polyRecord(META_POLYLINE, pts + start, std::min(kMaxPolyPoints, n - start));
        return;
    }
    for (const std::vector<POINT>& dash : DashPieces(pts, n, pattern))
        polyRecord(META_POLYLINE, dash.data(), static_cast<int>(dash.size()));
}

bool MetaFileDC::polyRecord(uint16_t function, const POINT* pts, int n) {
    record(function, [&](BinaryWriter& w) {
        w.i16(static_cast<int16_t>(n));
        for (int i = 0; i < n; ++i) {
            w.i16(c16(pts[i].x));
            w.i16(c16(pts[i].y));
        }
    });
    return true;
}

bool MetaFileDC::Polyline(const POINT* pts, int n) {
    if (!open_ || !pts || n < 2) return false;
    strokeRecord(pts, n);
    return true;
}

bool MetaFileDC::Polygon(const POINT* pts, int n) {
    if (!open_ || !pts || n < 2) return false;
    if (n <= kMaxPolyPoints) return polyRecord(META_POLYGON, pts, n);
    const std::vector<POINT> ring = withoutRepeats(pts, n);
    if (ring.size() > size_t(kMaxPolyPoints)) return false;
    return polyRecord(META_POLYGON, ring.data(), static_cast<int>(ring.size()));
}

bool MetaFileDC::PolyPolygon(const POINT* pts, const int* counts, int polys) {
    if (!open_ || !pts || !counts || polys < 1 || polys > kMaxPolyPoints) return false;
    std::vector<std::vector<POINT>> rings;
    size_t k = 0;
    for (int i = 0; i < polys; ++i) {
        if (counts[i] < 2) return false;
        rings.emplace_back(pts + k, pts + k + counts[i]);
        if (counts[i] > kMaxPolyPoints) rings.back() = withoutRepeats(pts + k, counts[i]);
        if (rings.back().size() > size_t(kMaxPolyPoints)) return false;
        k += size_t(counts[i]);
    }
    record(META_POLYPOLYGON, [&](BinaryWriter& w) {
        w.i16(static_cast<int16_t>(polys));
        for (const auto& r : rings) w.i16(static_cast<int16_t>(r.size()));
        for (const auto& r : rings) {
            for (const POINT& p : r) {
                w.i16(c16(p.x));
                w.i16(c16(p.y));
            }
        }
    });
    return true;
}

bool MetaFileDC::Rectangle(int left, int top, int right, int bottom) {
    if (!open_) return false;
    record(META_RECTANGLE, rectParams(left, top, right, bottom));
    return true;
}

bool MetaFileDC::Ellipse(int left, int top, int right, int bottom) {
    if (!open_) return false;
    record(META_ELLIPSE, rectParams(left, top, right, bottom));
    return true;
}

COLORREF MetaFileDC::SetPixel(int x, int y, COLORREF c) {
    return SetPixelV(x, y, c) ? (c & 0xFFFFFF) : CLR_INVALID;
}

bool MetaFileDC::SetPixelV(int x, int y, COLORREF c) {
    if (!open_) return false;
    record(META_SETPIXEL, [&](BinaryWriter& w) {
        w.u32(c & 0xFFFFFF);
        w.i16(c16(y));
        w.i16(c16(x));
    });
    return true;
}

COLORREF MetaFileDC::GetPixel(int, int) const { return CLR_INVALID; }

// --- text -------------------------------------------------------------------

QByteArray MetaFileDC::textBytes(const QString& text) const {
    const HFONT& font = CurrentFont();
    if (!font || font->lf.lfCharSet != ANSI_CHARSET) return EncodeCp932Lossy(text);
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        out[i] = u <= 0xFF ? static_cast<char>(u) : '?';
    }
    return out;
}

bool MetaFileDC::TextOut(int x, int y, const QString& text) {
    const QByteArray bytes = textBytes(text);
    if (!open_ || bytes.size() > kMaxTextBytes) return false;
    record(META_TEXTOUT, [&](BinaryWriter& w) {
        w.i16(static_cast<int16_t>(bytes.size()));
        w.bytes(bytes);
        if (bytes.size() & 1) w.u8(0);
        w.i16(c16(y));
        w.i16(c16(x));
    });
    return true;
}

bool MetaFileDC::ExtTextOut(int x, int y, unsigned options, const RECT* rect, const QString& text) {
    const QByteArray bytes = textBytes(text);
    if (!open_ || bytes.size() > kMaxTextBytes) return false;
    if (!rect) options &= ~(ETO_OPAQUE | ETO_CLIPPED);
    record(META_EXTTEXTOUT, [&](BinaryWriter& w) {
        w.i16(c16(y));
        w.i16(c16(x));
        w.i16(static_cast<int16_t>(bytes.size()));
        w.u16(static_cast<uint16_t>(options));
        if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
            w.i16(c16(rect->left));
            w.i16(c16(rect->top));
            w.i16(c16(rect->right));
            w.i16(c16(rect->bottom));
        }
        w.bytes(bytes);
    });
    return true;
}

bool MetaFileDC::GetTextExtentPoint32(const QString& text, SIZE* size) const {
    measure_->SelectFont(CurrentFont());
    return measure_->GetTextExtentPoint32(text, size);
}

bool MetaFileDC::GetTextMetrics(TEXTMETRIC* tm) const {
    measure_->SelectFont(CurrentFont());
    return measure_->GetTextMetrics(tm);
}

// --- fills and transfers ------------------------------------------------------------

bool MetaFileDC::FillRect(const RECT& r, const Brush& brush) {
    if (!open_) return false;
    if (r.right <= r.left || r.bottom <= r.top) return true;
    const int temp = createBrush(brush);
    selectObject(temp);
    PatBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
    if (cur_.brush < 0) cur_.brush = createBrush(state().brush);
    selectObject(cur_.brush);
    deleteObject(temp);
    return true;
}

bool MetaFileDC::PatBlt(int x, int y, int w, int h, uint32_t rop) {
    if (!open_ || usesSource(rop)) return false;
    record(META_PATBLT, [&](BinaryWriter& b) {
        b.u32(rop);
        b.i16(c16(h));
        b.i16(c16(w));
        b.i16(c16(y));
        b.i16(c16(x));
    });
    return true;
}

bool MetaFileDC::StretchBlt(int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, int sw, int sh,
                            uint32_t rop) {
    if (!open_) return false;
    if (!usesSource(rop)) return PatBlt(x, y, w, h, rop);
    const HBITMAP sb = src ? src->surfaceBitmap() : nullptr;
    if (!sb) return false;
    const POINT s0 = src->LPtoDP(POINT{sx, sy});
    const POINT s1 = src->LPtoDP(POINT{int(int64_t(sx) + sw), int(int64_t(sy) + sh)});
    const QRect part(QPoint(std::min(s0.x, s1.x), std::min(s0.y, s1.y)),
                     QPoint(std::max(s0.x, s1.x) - 1, std::max(s0.y, s1.y) - 1));
    if (part.isEmpty() || !QRect(0, 0, sb->width(), sb->height()).contains(part)) return false;
    const DIB dib = dibOf(*sb, part, s1.x < s0.x, s1.y < s0.y, GetTextColor(), GetBkColor());
    record(META_DIBSTRETCHBLT, [&](BinaryWriter& b) {
        b.u32(rop);
        b.i16(c16(part.height()));
        b.i16(c16(part.width()));
        b.i16(0);
        b.i16(0);
        b.i16(c16(h));
        b.i16(c16(w));
        b.i16(c16(y));
        b.i16(c16(x));
        writeDib(b, dib);
    });
    return true;
}

int MetaFileDC::StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const DIB& dib,
                              uint32_t rop) {
    if (!open_ || !dibUsable(dib) || sw == 0 || sh == 0) return 0;
    const int64_t right = int64_t(sx) + sw, bottom = int64_t(sy) + sh;
    if (std::min<int64_t>(sx, right) < 0 || std::max<int64_t>(sx, right) > dib.width) return 0;
    if (std::min<int64_t>(sy, bottom) < 0 || std::max<int64_t>(sy, bottom) > std::abs(dib.height)) return 0;
    record(META_STRETCHDIB, [&](BinaryWriter& b) {
        b.u32(rop);
        b.u16(DIB_RGB_COLORS);
        b.i16(c16(sh));
        b.i16(c16(sw));
        b.i16(c16(sy));
        b.i16(c16(sx));
        b.i16(c16(h));
        b.i16(c16(w));
        b.i16(c16(y));
        b.i16(c16(x));
        writeDib(b, dib);
    });
    return std::abs(sh);
}

bool MetaFileDC::blitBitmap(const Blit&, const Bitmap&) { return false; }

bool MetaFileDC::paintText(const std::function<void(QPainter&)>&) { return false; }

// Exclusive right and bottom edges still fit 16 bits.
QRect MetaFileDC::surfaceRect() const { return QRect(INT16_MIN, INT16_MIN, 65535, 65535); }

} // namespace plat
