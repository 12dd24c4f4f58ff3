// Range tests of things, and the style limits a thing's pages are held to.
#pragma once

#include <cstdint>

// Style pages 1..8 (their saved copies are -1..-8).
inline bool IsValidPage(int32_t v) { return 1 <= v && v <= 8; }
// Categories 1..20 of a thing catalogue.
inline bool IsValidCategory(int32_t v) { return 1 <= v && v <= 20; }

// Line widths of polylines and text heights in points; the drawing layer
// draws within the same limits.
constexpr int16_t LINE_WIDTH_MIN = 1;
constexpr int16_t LINE_WIDTH_MAX = 15;
constexpr int16_t FONT_HEIGHT_MIN = 5;
constexpr int16_t FONT_HEIGHT_MAX = 100;
