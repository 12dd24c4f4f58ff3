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

// Base colours from greys and hues, their attributes, and the ends.
TEST_F(NativeColor, BaseColours) {
    const clsNativeColor pal;
    const struct {
        int16_t index;
        int32_t color, attr;
    } cases[] = {
        {-2, -2, 0}, {-1, -1, 1}, {0, 0xFFFFFF, 2}, {1, rgb(255, 205, 205), 2}, {4, rgb(230, 255, 205), 2},
        {39, rgb(160, 160, 160), 2}, {41, rgb(255, 128, 0), 2}, {43, rgb(128, 255, 0), 2}, {91, rgb(32, 32, 32), 2},
        {104, 0, 2}, {116, rgb(84, 0, 42), 2}, {117, 0xFFFFFF, 3}, {129, 0xFFFFFF, 3}, {130, -2, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pal.Color(c.index), c.color) << c.index;
        EXPECT_EQ(pal.Attr(c.index), c.attr) << c.index;
    }
}

TEST_F(NativeColor, UserColoursLookupFreeSlotsAndStore) {
    {
        clsNativeColor pal;
        const int32_t base5 = pal.Color(5);
        pal.setColor(5, 0x123456);   // base colours are fixed
        EXPECT_EQ(pal.Color(5), base5);
        EXPECT_EQ(pal.RGBtoPal(0xFFFFFF), 0);   // the base white wins over white user slots
        EXPECT_EQ(pal.RGBtoPal(0x1000000), -2);
        EXPECT_EQ(pal.RGBtoPal(rgb(255, 0, 0)), 40);
        EXPECT_EQ(pal.PalSpace(), 117);
        pal.setColor(117, static_cast<int32_t>(0x7F123456));
        EXPECT_EQ(pal.Color(117), 0x123456);   // kept to 24 bits
        EXPECT_EQ(pal.RGBtoPal(0x123456), 117);
        for (int16_t i = 118; i <= 129; ++i) pal.setColor(i, i);
        EXPECT_EQ(pal.PalSpace(), -1);
        pal.setColor(125, 0xFFFFFF);
        EXPECT_EQ(pal.PalSpace(), 125);
    }
    clsRegistry reg(QStringLiteral("NATIVECOLOR"));   // the user colours outlive the palette
    EXPECT_EQ(reg.RegGet(QStringLiteral("USER0"), QString()), QStringLiteral("1193046"));
    // A hand-edited store: unreadable gives white, anything else is a colour.
    reg.RegPut(QStringLiteral("USER1"), QStringLiteral("abc"));
    reg.RegPut(QStringLiteral("USER2"), QStringLiteral("-5"));
    const clsNativeColor pal;
    EXPECT_EQ(pal.Color(117), 0x123456);
    EXPECT_EQ(pal.Color(118), 0xFFFFFF);
    EXPECT_EQ(pal.Color(119), 0xFFFFFB);
    EXPECT_EQ(pal.Color(129), 129);
}
