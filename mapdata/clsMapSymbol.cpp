#include "clsMapSymbol.h"

#include "BinaryIO.h"

std::shared_ptr<clsPoly> MapPointFigure::Poly() const {
    auto p = std::make_shared<clsPoly>();
    p->AddXandY(mx_, my_);
    return p;
}

void MapPointFigure::setPoly(const std::shared_ptr<clsPoly>& poly) {
    if (!poly || poly->Count() < 1) return;
    setPosition(poly->GetPoint(1));
}

std::shared_ptr<clsMapFigure> clsMapSymbol::Copy() const {
    auto c = std::make_shared<clsMapSymbol>();
    c->setPosition(Position());
    CopyCommonTo(*c);
    return c;
}

void clsMapSymbol::ReadElm(plat::BinaryReader& in, int16_t version) {
    const size_t start = in.pos() - 2;
    if (version >= kMapVersion106) {
        ReadHead106(in, start);
        mx_ = in.i32();
        my_ = in.i32();
    } else {
        ResetUnstored();
        admin_ = in.i16();
        thing_ = in.i16();
        if (version == kMapVersion105) ReadAttr105(in);
        mx_ = in.i32();
        my_ = in.i32();
        if (version == kMapVersion104) ReadAttr104(in);
    }
    modify_ = false;
}

void clsMapSymbol::WriteElm(plat::BinaryWriter& out, int16_t version) {
    if (version >= kMapVersion106) {
        WriteHead106(out, 36);
    } else {
        out.i16(4);
        out.i16(admin_);
        out.i16(thing_);
        if (version == kMapVersion105) WriteAttr105(out);
    }
    out.i32(mx_);
    out.i32(my_);
    if (version == kMapVersion104) WriteAttr104(out);
    modify_ = false;
}
