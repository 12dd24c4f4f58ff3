// Range tests of districts; the 0..999 test also holds for thing numbers and
// for the district and thing fields of figures.
#pragma once

#include <cstdint>

inline bool IsValidCode(int32_t v) { return 0 <= v && v <= 999; }
inline bool IsValidAreaCode(int32_t v) { return 0 <= v && v <= 19; }
