#include "clsMapPolygon.h"

std::shared_ptr<clsMapFigure> clsMapPolygon::Copy() const {
    auto c = std::make_shared<clsMapPolygon>();
    CopyTo(*c);
    return c;
}
