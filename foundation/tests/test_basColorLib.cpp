#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "basColorLib.h"

#include <initializer_list>

namespace {

void expectHsv(const RGBRecord& rgb, double h, double s, double v) {
    const HSVRecord hsv = RGBtoHSV(rgb);
    EXPECT_DOUBLE_EQ(hsv.H, h) << rgb.R << "," << rgb.G << "," << rgb.B;
    EXPECT_DOUBLE_EQ(hsv.S, s) << rgb.R << "," << rgb.G << "," << rgb.B;
    EXPECT_DOUBLE_EQ(hsv.V, v) << rgb.R << "," << rgb.G << "," << rgb.B;
}

} // namespace

TEST(ColorLib, HexTextAndBytes) {
    EXPECT_EQ(ColorToHex(-1), QStringLiteral("------"));
    EXPECT_EQ(ColorToHex(static_cast<int32_t>(0x80000005)), QStringLiteral("------"));
    EXPECT_EQ(ColorToHex(0x01000000), QStringLiteral("------"));
    EXPECT_EQ(ColorToHex(0), QStringLiteral("000000"));
    EXPECT_EQ(ColorToHex(0xFF), QStringLiteral("0000FF"));
    EXPECT_EQ(ColorToHex(0xABCDEF), QStringLiteral("ABCDEF"));
    EXPECT_EQ(RedOf(0x123456), 0x56);
    EXPECT_EQ(GreenOf(0x123456), 0x34);
    EXPECT_EQ(BlueOf(0x123456), 0x12);
}

TEST(ColorLib, RgbFractions) {
    EXPECT_EQ(RgbToColor({1, 1, 1}), 0xFFFFFF);   // 256 limited to 255
    EXPECT_EQ(RgbToColor({-0.5, 2, 0.5}), 0x80FF00);
    EXPECT_EQ(RgbToColor({0.5 / 256, 1.5 / 256, 2.5 / 256}), 0x020200);   // halves to even
    const RGBRecord r = ColorToRgb(0x0080FF);
    EXPECT_DOUBLE_EQ(r.R, 255.0 / 256);
    EXPECT_DOUBLE_EQ(r.G, 0.5);
    EXPECT_DOUBLE_EQ(r.B, 0);
    for (int32_t c = 0; c <= 0xFFFFFF; c += 0x010307) EXPECT_EQ(RgbToColor(ColorToRgb(c)), c);
}

TEST(ColorLib, HsvCorners) {
    expectHsv({1, 0, 0}, 0, 1, 1);
    expectHsv({1, 1, 0}, 60, 1, 1);
    expectHsv({0, 1, 0}, 120, 1, 1);
    expectHsv({0, 1, 1}, 180, 1, 1);
    expectHsv({0, 0, 1}, 240, 1, 1);
    expectHsv({1, 0, 1}, 300, 1, 1);
    expectHsv({0.5, 0.5, 0.5}, 0, 0, 0.5);
    expectHsv({0, 0, 0}, 0, 0, 0);
    expectHsv({2, -1, 0}, 0, 1, 1);   // limited to 0..1 first
    EXPECT_LT(RGBtoHSV({1, 0, 1e-9}).H, 360);

    const struct {
        double h;
        RGBRecord rgb;
    } sextants[] = {
        {0, {1, 0, 0}},   {60, {1, 1, 0}},  {120, {0, 1, 0}}, {180, {0, 1, 1}},
        {240, {0, 0, 1}}, {300, {1, 0, 1}}, {-60, {1, 0, 1}}, {420, {1, 1, 0}},
        {750, {1, 0.5, 0}},   // several turns away still lands on its hue
    };
    for (const auto& c : sextants) {
        const RGBRecord rgb = HSVtoRGB({c.h, 1, 1});
        EXPECT_DOUBLE_EQ(rgb.R, c.rgb.R) << c.h;
        EXPECT_DOUBLE_EQ(rgb.G, c.rgb.G) << c.h;
        EXPECT_DOUBLE_EQ(rgb.B, c.rgb.B) << c.h;
    }
    const RGBRecord grey = HSVtoRGB({123, 0, 0.25});
    EXPECT_EQ(grey.R, 0.25);
    EXPECT_EQ(grey.G, 0.25);
    EXPECT_EQ(grey.B, 0.25);
    const RGBRecord limited = HSVtoRGB({0, 3, 2});
    EXPECT_EQ(limited.R, 1);
    EXPECT_EQ(limited.G, 0);
}

TEST(ColorLib, HsvRoundTrip) {
    for (double r : {0.0, 0.1, 0.5, 0.9, 1.0})
        for (double g : {0.0, 0.3, 0.7, 1.0})
            for (double b : {0.0, 0.2, 0.6, 1.0}) {
                const RGBRecord back = HSVtoRGB(RGBtoHSV({r, g, b}));
                EXPECT_NEAR(back.R, r, 1e-12);
                EXPECT_NEAR(back.G, g, 1e-12);
                EXPECT_NEAR(back.B, b, 1e-12);
            }
}
