// The soft multicoloured checker that the style editors paint behind a
// style sample, so that its transparent parts, halos and colours can be
// judged against many backgrounds at once.
//
// The picture is split into a 32 x 32 grid; cell (row i, column j) gets a
// box twice the grid step in each direction, drawn row by row from the top
// and each row from the left, so a box shows in its own cell and is half
// covered by its right and lower neighbours. The three components are
//   A = (1217 - (31 - i)^2 - (j - 15)^2) \ 5 + 12   12..255, bottom centre
//   B = (1922 - j^2 - i^2) \ 8 + 15                  15..255, top left
//   C = (1922 - (31 - j)^2 - i^2) \ 8 + 15           15..255, top right
// and one of six orders, drawn once per call, makes them red, green, blue.
#pragma once

#include "Gdi.h"

namespace plat {
class DeviceContext;
} // namespace plat

// The colour of cell (i, j) in order 0..5: (red, green, blue) = 0 (A, C, B),
// 1 (A, B, C), 2 (C, A, B), 3 (C, B, A), 4 (B, A, C), 5 (B, C, A).
plat::COLORREF RainbowBoxColor(int order, int i, int j);

// Paints the checker over a picture of width x height units. The context is
// left in plain copy mode with the null pen selected. A picture narrower
// (lower) than 16 units gets boxes of width (height) 0, that is nothing.
void DrawRainbowBox(plat::DeviceContext& dc, int width, int height);
