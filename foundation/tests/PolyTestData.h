// Point sequences written out in the tests.
#pragma once

#include <vector>

#include "clsPoly.h"

namespace polytest {

using Pts = std::vector<PolyPoint>;

inline clsPoly Make(const Pts& pts) {
    clsPoly p;
    for (const PolyPoint& q : pts) p.AddPoint(q);
    return p;
}

inline Pts PointsOf(const clsPoly& p) { return {p.Points().begin(), p.Points().end()}; }

} // namespace polytest
