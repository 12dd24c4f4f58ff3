// The colour palette of figures and things: 117 base colours built from a
// grey scale and a hue circle, 13 user colours kept in the settings section
// "NATIVECOLOR", and the follow-the-thing entry -1. Shown as 13 columns by
// 11 rows. Destroying the palette writes the user colours back.
#pragma once

#include <array>
#include <cstdint>

class clsNativeColor {
public:
    // Builds the base colours and reads the user colours.
    clsNativeColor();
    ~clsNativeColor();
    clsNativeColor(const clsNativeColor&) = delete;
    clsNativeColor& operator=(const clsNativeColor&) = delete;

    // The colour of index -1..129 (-1 for index -1); -2 for any other index.
    int32_t Color(int16_t index) const;
    // Only user colours can be set; other indices are ignored. The value is
    // kept to its low 24 bits.
    void setColor(int16_t index, int32_t color);
    // 1 follow-the-thing, 2 base colour, 3 user colour, 0 no entry.
    int16_t Attr(int16_t index) const;

    int16_t Cols() const { return 13; }
    int16_t Rows() const { return 11; }
    int16_t PalStart() const { return -1; }
    int16_t PalEnd() const { return 129; }
    int16_t PalBaseStart() const { return 0; }
    int16_t PalBaseEnd() const { return 116; }
    int16_t PalUserStart() const { return 117; }
    int16_t PalUserEnd() const { return 129; }
    int16_t Count() const { return 131; }

    // -1 for -1; the lowest index 0..129 holding a 24-bit colour; -2 when
    // none does or the value is no 24-bit colour.
    int16_t RGBtoPal(int32_t color) const;
    // The first user index still white (a free slot); -1 when none is.
    int16_t PalSpace() const;

    void ReadRegistry();
    void WriteRegistry() const;

private:
    std::array<int32_t, 131> colors_{};   // index + 1
};

// The program's one palette, created at start-up.
extern clsNativeColor* gvNativeColor;
