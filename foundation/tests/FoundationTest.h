// Helpers of the foundation tests: point sequences written out, and the
// error a call raises.
#pragma once

#include <functional>
#include <vector>

#include "AppError.h"
#include "TestSupport.h"
#include "clsPoly.h"

namespace ftest {

using Pts = std::vector<PolyPoint>;

inline clsPoly Make(const Pts& pts) {
    clsPoly p;
    for (const PolyPoint& q : pts) p.AddPoint(q);
    return p;
}

inline Pts PointsOf(const clsPoly& p) { return {p.Points().begin(), p.Points().end()}; }

using testsupport::ErrorOf;

} // namespace ftest
