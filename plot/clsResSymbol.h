// The point symbols of the map styles, numbers 0..47, in low and high
// resolution, with their names (Resolution, handle and Name of the set).
#pragma once

#include "ResBitmapSet.h"

class clsResSymbol : public ResBitmapSet {
public:
    clsResSymbol();
};
