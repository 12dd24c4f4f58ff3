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
    ReadFront(in, version);
    mx_ = in.i32();
    my_ = in.i32();
    if (version == kMapVersion104) ReadAttr104(in);
    modify_ = false;
}

void clsMapSymbol::WriteElm(plat::BinaryWriter& out, int16_t version) {
    WriteFront(out, version, 36);
    out.i32(mx_);
    out.i32(my_);
    if (version == kMapVersion104) WriteAttr104(out);
    modify_ = false;
}
