#include <gtest/gtest.h>

#include "clsNativeColor.h"
#include "clsRegistry.h"

namespace {

int32_t rgb(int r, int g, int b) { return r | g << 8 | b << 16; }

class NativeColor : public ::testing::Test {
protected:
    void SetUp() override { clsRegistry(QStringLiteral("NATIVECOLOR")).RegDelete(QString()); }
    void TearDown() override { clsRegistry(QStringLiteral("NATIVECOLOR")).RegDelete(QString()); }
};

} // namespace

TEST_F(NativeColor, BaseColoursFromGreysAndHues) {
    const clsNativeColor pal;
    const struct {
        int16_t index;
        int32_t color;
    } cases[] = {
        {-1, -1},
        {0, 0xFFFFFF},
        {1, rgb(255, 205, 205)},
        {4, rgb(230, 255, 205)},    // hue 90 at 20 % saturation
        {13, rgb(224, 224, 224)},
        {39, rgb(160, 160, 160)},
        {40, rgb(255, 0, 0)},
        {41, rgb(255, 128, 0)},
        {43, rgb(128, 255, 0)},
        {44, rgb(0, 255, 0)},
        {48, rgb(0, 0, 255)},
        {78, rgb(64, 64, 64)},
        {91, rgb(32, 32, 32)},
        {104, 0},
        {105, rgb(84, 0, 0)},
        {116, rgb(84, 0, 42)},
        {117, 0xFFFFFF},
        {129, 0xFFFFFF},
        {130, -2},
        {-2, -2},
    };
    for (const auto& c : cases) EXPECT_EQ(pal.Color(c.index), c.color) << c.index;
    for (int16_t i = 0; i <= 116; ++i) EXPECT_EQ(pal.Color(i) & ~0xFFFFFF, 0) << i;
}

TEST_F(NativeColor, Attributes) {
    const clsNativeColor pal;
    EXPECT_EQ(pal.Attr(-2), 0);
    EXPECT_EQ(pal.Attr(-1), 1);
    EXPECT_EQ(pal.Attr(0), 2);
    EXPECT_EQ(pal.Attr(116), 2);
    EXPECT_EQ(pal.Attr(117), 3);
    EXPECT_EQ(pal.Attr(129), 3);
    EXPECT_EQ(pal.Attr(130), 0);
}

TEST_F(NativeColor, UserColoursLookupAndFreeSlots) {
    clsNativeColor pal;
    const int32_t base5 = pal.Color(5);
    pal.setColor(5, 0x123456);   // base colours are fixed
    EXPECT_EQ(pal.Color(5), base5);
    pal.setColor(-1, 0x123456);
    EXPECT_EQ(pal.Color(-1), -1);
    pal.setColor(130, 0x123456);
    EXPECT_EQ(pal.Color(130), -2);

    EXPECT_EQ(pal.RGBtoPal(0xFFFFFF), 0);   // the base white wins over white user slots
    EXPECT_EQ(pal.RGBtoPal(-1), -1);
    EXPECT_EQ(pal.RGBtoPal(0x1000000), -2);
    EXPECT_EQ(pal.RGBtoPal(0x123456), -2);
    EXPECT_EQ(pal.RGBtoPal(rgb(255, 0, 0)), 40);

    EXPECT_EQ(pal.PalSpace(), 117);
    pal.setColor(117, static_cast<int32_t>(0x7F123456));
    EXPECT_EQ(pal.Color(117), 0x123456);   // kept to 24 bits
    EXPECT_EQ(pal.RGBtoPal(0x123456), 117);
    EXPECT_EQ(pal.PalSpace(), 118);
    for (int16_t i = 117; i <= 129; ++i) pal.setColor(i, i);
    EXPECT_EQ(pal.PalSpace(), -1);
    pal.setColor(125, 0xFFFFFF);
    EXPECT_EQ(pal.PalSpace(), 125);
}

TEST_F(NativeColor, UserColoursOutliveThePalette) {
    {
        clsNativeColor pal;
        pal.setColor(117, 0x123456);
        pal.setColor(129, 0);
    }
    clsRegistry reg(QStringLiteral("NATIVECOLOR"));
    EXPECT_EQ(reg.RegGet(QStringLiteral("USER0"), QString()), QStringLiteral("1193046"));
    EXPECT_EQ(reg.RegGet(QStringLiteral("USER12"), QString()), QStringLiteral("0"));
    EXPECT_EQ(reg.RegGet(QStringLiteral("USER1"), QString()), QStringLiteral("16777215"));
    // A hand-edited store: unreadable gives white, anything else is a colour.
    reg.RegPut(QStringLiteral("USER1"), QStringLiteral("abc"));
    reg.RegPut(QStringLiteral("USER2"), QStringLiteral("-5"));
    reg.RegDelete(QStringLiteral("USER3"));
    const clsNativeColor pal;
    EXPECT_EQ(pal.Color(117), 0x123456);
    EXPECT_EQ(pal.Color(129), 0);
    EXPECT_EQ(pal.Color(118), 0xFFFFFF);
    EXPECT_EQ(pal.Color(119), 0xFFFFFB);
    EXPECT_EQ(pal.Color(120), 0xFFFFFF);
}
