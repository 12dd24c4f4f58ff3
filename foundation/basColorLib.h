// Colours packed as 0x00BBGGRR (red in the low byte). A value with any of
// the top eight bits set is no colour: -1 means none (follow the thing, no
// fill), and the platform reads a value with the top bit set as a system
// colour by its low byte. Conversions to RGB fractions and HSV.
#pragma once

#include <QString>

#include <cstdint>

// Components as fractions 0..1 (the byte divided by 256).
struct RGBRecord {
    double R = 0;
    double G = 0;
    double B = 0;
};

// Hue in degrees 0 <= H < 360, saturation and value 0..1.
struct HSVRecord {
    double H = 0;
    double S = 0;
    double V = 0;
};

// Six upper-case hex digits reading blue, green, red (red 0xFF gives
// "0000FF"); "------" for a value that is no colour.
QString ColorToHex(int32_t color);
int32_t RedOf(int32_t color);
int32_t GreenOf(int32_t color);
int32_t BlueOf(int32_t color);
RGBRecord ColorToRgb(int32_t color);
// Each fraction times 256, rounded half to even and limited to 0..255.
int32_t RgbToColor(const RGBRecord& rgb);
// Components outside 0..1 are limited first; grey gives H = 0, S = 0.
HSVRecord RGBtoHSV(const RGBRecord& rgb);
// Any hue is taken modulo 360; S and V are limited to 0..1.
RGBRecord HSVtoRGB(const HSVRecord& hsv);
