// The sample background: its colour formulas, its six orders and the cells
// a painted picture shows.
#include <gtest/gtest.h>

#include "Bitmap.h"
#include "PlotTestSupport.h"
#include "RainbowBox.h"
#include "RasterDC.h"

#include <algorithm>
#include <array>
#include <set>

using namespace plat;

namespace {

std::array<int, 3> rgbOf(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

TEST(RainbowBox, ComponentsStayInRangeInEveryOrder) {
    // Order 1 is (A, B, C): A 12..255, B and C 15..255, each reaching both ends.
    std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
    for (int i = 0; i < 32; ++i) {
        for (int j = 0; j < 32; ++j) {
            const auto c = rgbOf(RainbowBoxColor(1, i, j));
            for (size_t k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], c[k]);
                hi[k] = std::max(hi[k], c[k]);
            }
        }
    }
    EXPECT_EQ(lo, (std::array<int, 3>{12, 15, 15}));
    EXPECT_EQ(hi, (std::array<int, 3>{255, 255, 255}));
    // Cell (0, 0): A 18, B 255, C 135 in the six orders.
    const COLORREF cell00[] = {RGB(18, 135, 255), RGB(18, 255, 135), RGB(135, 18, 255),
                               RGB(135, 255, 18), RGB(255, 18, 135), RGB(255, 135, 18)};
    for (int order = 0; order < 6; ++order) EXPECT_EQ(RainbowBoxColor(order, 0, 0), cell00[order]) << order;
}

TEST(RainbowBox, EachCellShowsItsOwnBoxInTheDrawnOrder) {
    const struct {
        double rnd;
        int order;
        int w, h;
    } cases[] = {{0.0, 0, 64, 48}, {0.2, 1, 64, 48}, {0.99, 5, 100, 70}, {0.5, 3, 33, 160}};
    for (const auto& c : cases) {
        plottest::FixedRandom fixed(c.rnd);
        RasterDC dc(Bitmap::Create(c.w, c.h, 32));
        DrawRainbowBox(dc, c.w, c.h);
        EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
        EXPECT_EQ(dc.CurrentPen().dash(), PS_NULL);
        std::set<COLORREF> seen;
        for (int i = 0; i < 32; ++i) {
            for (int j = 0; j < 32; ++j) {
                const int x = j * c.w / 32, y = i * c.h / 32;
                ASSERT_EQ(dc.GetPixel(x, y), RainbowBoxColor(c.order, i, j)) << "cell " << i << "," << j;
                seen.insert(dc.GetPixel(x, y));
            }
        }
        EXPECT_GT(seen.size(), 500u);
        // Boxes twice the step cover the picture: nothing of the white ground shows.
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) ASSERT_NE(dc.GetPixel(x, y), 0xFFFFFFu) << x << "," << y;
        if (c.order == 1) plottest::KeepPicture(dc.image(), QStringLiteral("rainbowbox.png"));
    }
}

TEST(RainbowBox, APictureBelowSixteenUnitsGetsNoBoxes) {
    plottest::FixedRandom fixed(0.3);
    for (const auto& [w, h] : {std::pair{15, 200}, std::pair{200, 15}}) {
        RasterDC dc(Bitmap::Create(w, h, 32));
        DrawRainbowBox(dc, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(dc.GetPixel(x, y), 0xFFFFFFu);
    }
}

} // namespace
