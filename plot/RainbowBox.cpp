#include "RainbowBox.h"

#include "Clock.h"
#include "DeviceContext.h"

#include <algorithm>

namespace {
constexpr int kCells = 32;
} // namespace

plat::COLORREF RainbowBoxColor(int order, int i, int j) {
    const int a = (1217 - (31 - i) * (31 - i) - (j - 15) * (j - 15)) / 5 + 12;
    const int b = (1922 - j * j - i * i) / 8 + 15;
    const int c = (1922 - (31 - j) * (31 - j) - i * i) / 8 + 15;
    switch (order) {
    case 0: return plat::RGB(a, c, b);
    case 1: return plat::RGB(a, b, c);
    case 2: return plat::RGB(c, a, b);
    case 3: return plat::RGB(c, b, a);
    case 4: return plat::RGB(b, a, c);
    default: return plat::RGB(b, c, a);
    }
}

void DrawRainbowBox(plat::DeviceContext& dc, int width, int height) {
    const int bw = width / 16, bh = height / 16;
    dc.SetROP2(plat::R2_COPYPEN);
    dc.SelectPen(plat::CreatePen(plat::PS_NULL, 1, 0));
    const int order = std::clamp(static_cast<int>(plat::Rnd() * 6), 0, 5);
    if (bw <= 0 || bh <= 0) return;
    for (int i = 0; i < kCells; ++i) {
        for (int j = 0; j < kCells; ++j) {
            const int x = static_cast<int>(int64_t(j) * width / kCells);
            const int y = static_cast<int>(int64_t(i) * height / kCells);
            dc.FillRect(plat::RECT{x, y, x + bw, y + bh}, plat::CreateSolidBrush(RainbowBoxColor(order, i, j)));
        }
    }
}
