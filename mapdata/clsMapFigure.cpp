#include "clsMapFigure.h"

#include "AppError.h"
#include "BinaryIO.h"
#include "basHAdmin.h"
#include "basHMap.h"
#include "clsMapPolygon.h"
#include "clsMapRem.h"
#include "clsMapText.h"

#include <limits>


clsMapFigure::clsMapFigure() : figId_(NewFigID()) {}

QString clsMapFigure::FigName(int32_t lang) const { return FigCodeToName(FigCode(), lang); }

QDateTime clsMapFigure::FigDate() const { return FigIDToDate(figId_); }

void clsMapFigure::setOwnColor(int32_t v) {
    if (!IsValidColor(v)) return;
    ownColor_ = v;
    modify_ = true;
}

void clsMapFigure::setOwnShowMode(int32_t v) {
    if (!IsValidShowMode(v)) return;
    ownShowMode_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsMapFigure::setAdmin(int32_t v) {
    if (!IsValidCode(v)) return;
    admin_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsMapFigure::setThing(int32_t v) {
    if (!IsValidCode(v)) return;
    thing_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsMapFigure::setJumpMark(int32_t v) {
    if (!IsValidJumpMark(v)) return;
    jumpMark_ = static_cast<int16_t>(v);
    modify_ = true;
}

bool clsMapFigure::IsRight() const { return CommonRight(true); }

bool clsMapFigure::CommonRight(bool checkThing) const {
    return IsValidCode(admin_) && (!checkThing || IsValidCode(thing_)) && IsValidColor(ownColor_) &&
           IsValidShowMode(ownShowMode_) && IsValidJumpMark(jumpMark_);
}

bool clsMapFigure::FitsVersion(int16_t version) const {
    if (version >= kMapVersion106 || version == kMapVersion105) return true;
    if (version == kMapVersion104) return jumpMark_ == 0 && PaletteIndexOf(ownColor_) >= -1;
    return false;
}

void clsMapFigure::CopyCommonTo(clsMapFigure& to) const {
    to.setAdmin(admin_);
    to.setThing(Thing());
    to.setOwnColor(ownColor_);
    to.setOwnShowMode(ownShowMode_);
    to.setJumpMark(jumpMark_);
    to.setReserve(reserve_);
}

void clsMapFigure::ResetUnstored() {
    ownColor_ = -1;
    ownShowMode_ = -1;
    jumpMark_ = 0;
    reserve_ = 0;
}

// ------------------------------------------------------------- record parts

void clsMapFigure::ReadHead106(plat::BinaryReader& in) {
    // The length field is skipped: files exist whose lengths were formed in
    // 16 bits (wrapped, even negative, over 32767 bytes), and the layout alone
    // says where the record ends. Reads stay bounded by the reader itself.
    in.i32();
    figId_ = in.f64();
    admin_ = in.i16();
    thing_ = in.i16();
    ownColor_ = in.i32();
    ownShowMode_ = static_cast<int16_t>(int16_t{in.u8()} - 1);
    jumpMark_ = in.u8();
    reserve_ = in.i32();
}

void clsMapFigure::WriteHead106(plat::BinaryWriter& out, int64_t length) const {
    out.i16(static_cast<int16_t>(FigCode()));
    out.i32(static_cast<int32_t>(std::min<int64_t>(length, std::numeric_limits<int32_t>::max())));
    out.f64(figId_);
    out.i16(admin_);
    out.i16(Thing());
    out.i32(ownColor_);
    out.u8(static_cast<uint8_t>(ownShowMode_ + 1));
    out.u8(static_cast<uint8_t>(jumpMark_));
    out.i32(reserve_);
}

void clsMapFigure::ReadFront(plat::BinaryReader& in, int16_t version) {
    if (version >= kMapVersion106) {
        ReadHead106(in);
        return;
    }
    ResetUnstored();
    admin_ = in.i16();
    thing_ = in.i16();
    if (version == kMapVersion105) ReadAttr105(in);
}

void clsMapFigure::WriteFront(plat::BinaryWriter& out, int16_t version, int64_t length) const {
    if (version >= kMapVersion106) {
        WriteHead106(out, length);
        return;
    }
    out.i16(static_cast<int16_t>(FigCode()));
    out.i16(admin_);
    out.i16(thing_);
    if (version == kMapVersion105) WriteAttr105(out);
}

void clsMapFigure::ReadAttr104(plat::BinaryReader& in) {
    int16_t mode = -1;
    int32_t colour = -1;
    SplitAttr104(in.i32(), mode, colour);
    ownShowMode_ = mode;
    ownColor_ = colour;
}

void clsMapFigure::WriteAttr104(plat::BinaryWriter& out) const { out.i32(MakeAttr104(ownShowMode_, ownColor_)); }

void clsMapFigure::ReadAttr105(plat::BinaryReader& in) {
    int16_t jump = 0, mode = -1;
    int32_t colour = -1;
    SplitAttr105(in.i32(), jump, mode, colour);
    jumpMark_ = jump;
    ownShowMode_ = mode;
    ownColor_ = colour;
}

void clsMapFigure::WriteAttr105(plat::BinaryWriter& out) const {
    out.i32(MakeAttr105(jumpMark_, ownShowMode_, ownColor_));
}

// ------------------------------------------------------------------ factory

MapFigurePtr NewMapFigure(int32_t code) {
    switch (code) {
    case 1: return std::make_shared<clsMapRem>();
    case 2: return std::make_shared<clsMapPolyline>();
    case 3: return std::make_shared<clsMapPolygon>();
    case 4: return std::make_shared<clsMapSymbol>();
    case 5: return std::make_shared<clsMapText>();
    default: return nullptr;
    }
}

MapFigurePtr NewMapFigure(int32_t code, clsMapFigure::WithID id) {
    switch (code) {
    case 1: return std::make_shared<clsMapRem>(id);
    case 2: return std::make_shared<clsMapPolyline>(id);
    case 3: return std::make_shared<clsMapPolygon>(id);
    case 4: return std::make_shared<clsMapSymbol>(id);
    case 5: return std::make_shared<clsMapText>(id);
    default: return nullptr;
    }
}

// -------------------------------------------------------------------- texts

namespace maprec {

namespace {
inline bool isLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
} // namespace

std::string ReadChars(plat::BinaryReader& in, int32_t n) {
    if (n <= 0) return std::string();
    size_t i = 0;
    for (int32_t k = 0; k < n; ++k) {
        if (!in.has(i + 1)) plat::ThrowRuntimeError(plat::ErrInputPastEnd);
        i += isLead(static_cast<unsigned char>(in.current()[i])) ? 2 : 1;
    }
    in.need(i);
    std::string s(in.current(), i);
    in.skip(i);
    return s;
}

std::string ReadBytes(plat::BinaryReader& in, int32_t n) {
    if (n <= 0) return std::string();
    in.need(static_cast<size_t>(n));
    std::string s(in.current(), static_cast<size_t>(n));
    in.skip(static_cast<size_t>(n));
    return s;
}

int32_t CountChars(const char* p, size_t n) {
    int32_t count = 0;
    size_t i = 0;
    while (i < n) {
        i += isLead(static_cast<unsigned char>(p[i])) ? 2 : 1;
        ++count;
    }
    return i == n ? count : -1;
}

int16_t TextCount(int64_t n) {
    if (n < 0 || n > kMaxRecordText)
        plat::ThrowRuntimeError(plat::ErrOverflow, QStringLiteral("文字列が長すぎて記録できません (%1 まで).").arg(kMaxRecordText));
    return static_cast<int16_t>(n);
}

} // namespace maprec
