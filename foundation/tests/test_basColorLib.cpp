#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "basColorLib.h"

TEST(ColorLib, HexTextAndFractions) {
    EXPECT_EQ(ColorToHex(-1), QStringLiteral("------"));
    EXPECT_EQ(ColorToHex(0x01000000), QStringLiteral("------"));
    EXPECT_EQ(ColorToHex(0xABCDEF), QStringLiteral("ABCDEF"));
    EXPECT_EQ(BlueOf(0x123456), 0x12);
    EXPECT_EQ(RgbToColor({1, 1, 1}), 0xFFFFFF);   // 256 limited to 255
    EXPECT_EQ(RgbToColor({-0.5, 2, 0.5}), 0x80FF00);
    EXPECT_EQ(RgbToColor({0.5 / 256, 1.5 / 256, 2.5 / 256}), 0x020200);   // halves to even
    EXPECT_DOUBLE_EQ(ColorToRgb(0x0000FF).R, 255.0 / 256);
    for (int32_t c = 0; c <= 0xFFFFFF; c += 0x010307) EXPECT_EQ(RgbToColor(ColorToRgb(c)), c);
}

TEST(ColorLib, HsvSextantsAndLimits) {
    const struct {
        double h;
        RGBRecord rgb;
    } sextants[] = {
        {0, {1, 0, 0}},   {60, {1, 1, 0}},  {120, {0, 1, 0}}, {180, {0, 1, 1}}, {240, {0, 0, 1}},
        {300, {1, 0, 1}}, {-60, {1, 0, 1}}, {420, {1, 1, 0}}, {750, {1, 0.5, 0}},   // turns away: the same hue
    };
    for (const auto& c : sextants) {
        const RGBRecord rgb = HSVtoRGB({c.h, 1, 1});
        EXPECT_DOUBLE_EQ(rgb.R, c.rgb.R) << c.h;
        EXPECT_DOUBLE_EQ(rgb.G, c.rgb.G) << c.h;
        EXPECT_DOUBLE_EQ(rgb.B, c.rgb.B) << c.h;
        if (c.h >= 0 && c.h < 360) { EXPECT_DOUBLE_EQ(RGBtoHSV(c.rgb).H, c.h) << c.h; }
    }
    EXPECT_EQ(RGBtoHSV({2, -1, 0}).S, 1);   // limited to 0..1 first
    EXPECT_EQ(RGBtoHSV({0.5, 0.5, 0.5}).V, 0.5);
    EXPECT_EQ(HSVtoRGB({123, 0, 0.25}).G, 0.25);
    EXPECT_EQ(HSVtoRGB({0, 3, 2}).R, 1);
    for (double r : {0.0, 0.1, 0.9, 1.0})
        for (double g : {0.0, 0.3, 1.0})
            for (double b : {0.0, 0.6, 1.0}) {
                const RGBRecord back = HSVtoRGB(RGBtoHSV({r, g, b}));
                EXPECT_NEAR(back.R + back.G * 2 + back.B * 4, r + g * 2 + b * 4, 1e-12);
            }
}
