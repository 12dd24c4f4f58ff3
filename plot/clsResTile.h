// The fill tiles of the map styles, numbers 100..131, in low and high
// resolution, with their names (Resolution, handle and Name of the set).
#pragma once

#include "ResBitmapSet.h"

class clsResTile : public ResBitmapSet {
public:
    clsResTile();
};
