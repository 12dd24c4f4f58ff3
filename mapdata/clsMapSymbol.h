// A point symbol (code 4) and, through the shared base, the anchor of a
// text: one position (mx, my) in map coordinates.
#pragma once

#include "clsMapFigure.h"

class MapPointFigure : public clsMapFigure {
public:
    int32_t mx() const { return mx_; }
    void setMx(int32_t v) { mx_ = v; modify_ = true; }
    int32_t my() const { return my_; }
    void setMy(int32_t v) { my_ = v; modify_ = true; }
    // Both coordinates as one point; setting marks the figure modified.
    PolyPoint Position() const { return PolyPoint{mx_, my_}; }
    void setPosition(const PolyPoint& p) { mx_ = p.x; my_ = p.y; modify_ = true; }

    std::shared_ptr<clsPoly> Poly() const override;
    // The first point of a sequence that has one; anything else is ignored.
    void setPoly(const std::shared_ptr<clsPoly>& poly) override;
    bool IsInner(const clsRect& rect) const override { return rect.IsInner(mx_, my_); }

protected:
    MapPointFigure() = default;
    explicit MapPointFigure(WithID id) : clsMapFigure(id) {}

    int32_t mx_ = 0;
    int32_t my_ = 0;
};

class clsMapSymbol : public MapPointFigure {
public:
    clsMapSymbol() = default;
    explicit clsMapSymbol(WithID id) : MapPointFigure(id) {}
    int32_t FigCode() const override { return 4; }
    std::shared_ptr<clsMapFigure> Copy() const override;
    bool IsRight() const override { return CommonRight(true); }
    void ReadElm(plat::BinaryReader& in, int16_t version) override;
    void WriteElm(plat::BinaryWriter& out, int16_t version) override;
};
