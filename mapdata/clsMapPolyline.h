// Polylines (code 2) and, through the shared base, polygons (code 3): a
// figure around a point sequence that it shares with whoever asks for it.
#pragma once

#include "clsMapFigure.h"

// Point blocks of files before 1.06 count their points in 16 bits.
constexpr int32_t kMaxOldPoints = 65535;

// Reduces a sequence to fewer than 65536 points the way older files need:
// CompressB with the span limit 100 and a tolerance from 0.1 upward in steps
// of 0.01 (CompressBToCount, in O(n log n)); the search ends when no point
// can go at any tolerance. False, with the sequence unchanged, when it
// cannot be brought below 65536 points.
bool ReduceForOldVersion(clsPoly& poly);

class MapPolyFigure : public clsMapFigure {
public:
    bool Modify() const override;
    void setModify(bool v) override;
    std::shared_ptr<clsPoly> Poly() const override { return poly_; }
    // Keeps the given object itself; an empty pointer is ignored.
    void setPoly(const std::shared_ptr<clsPoly>& poly) override;
    bool IsRight() const override { return CommonRight(true) && poly_->Count() >= MinPoints(); }
    bool IsInner(const clsRect& rect) const override { return poly_->IsOverlapArea(rect); }
    void ReadElm(plat::BinaryReader& in, int16_t version) override;
    // Before a version below 1.06 a sequence of 65536 points or more is
    // reduced in the figure itself; one that cannot be reduced raises an
    // error instead of losing points.
    void WriteElm(plat::BinaryWriter& out, int16_t version) override;

protected:
    MapPolyFigure() : poly_(std::make_shared<clsPoly>()) {}
    explicit MapPolyFigure(WithID id) : clsMapFigure(id), poly_(std::make_shared<clsPoly>()) {}
    virtual int32_t MinPoints() const = 0;
    void CopyTo(MapPolyFigure& to) const;

    std::shared_ptr<clsPoly> poly_;
};

class clsMapPolyline : public MapPolyFigure {
public:
    clsMapPolyline() = default;
    explicit clsMapPolyline(WithID id) : MapPolyFigure(id) {}
    int32_t FigCode() const override { return 2; }
    std::shared_ptr<clsMapFigure> Copy() const override;

protected:
    int32_t MinPoints() const override { return 2; }
};
