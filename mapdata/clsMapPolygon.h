// A polygon (code 3): a closed ring of at least three corners, its first
// point repeated at the end.
#pragma once

#include "clsMapPolyline.h"

class clsMapPolygon : public MapPolyFigure {
public:
    clsMapPolygon() = default;
    explicit clsMapPolygon(WithID id) : MapPolyFigure(id) {}
    int32_t FigCode() const override { return 3; }
    std::shared_ptr<clsMapFigure> Copy() const override;

protected:
    int32_t MinPoints() const override { return 4; }
};
