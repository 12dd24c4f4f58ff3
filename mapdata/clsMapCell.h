// A drawing cell: a figure with its district and thing, made by a map unit
// for the one figure being drawn. The cell owns none of the three.
#pragma once

#include <cstdint>

#include "clsAdmin.h"
#include "clsMapFigure.h"
#include "clsThing.h"

class clsMapCell {
public:
    MapFigurePtr CellFigure;
    AdminPtr CellAdmin;
    ThingPtr CellThing;

    // All three are there and the figure is right.
    bool IsValid() const;
    // The figure's own colour, else the fore colour of the page the district
    // chooses (the thing is turned to that page); -1 for none. Valid cells only.
    int32_t RealColor() const;
};
