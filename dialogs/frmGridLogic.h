// The graticule dialog without its window: the four graticule switches of
// a plot engine and four values of its graticule settings in arc-seconds,
// each typed as an angle or set with a slider in arc-minutes:
//   0 meridian spacing   60 .. 162000      slider 0 .. 2700
//   1 parallel spacing   60 .. 162000      slider 0 .. 2700
//   2 north limit        18000 .. 324000   slider 300 .. 5400
//   3 south limit        -324000 .. -18000 slider -5400 .. -300
// A slider lands on whole half degrees; a spacing of 0 becomes 1 minute.
//
// Protocol of a caller: set the four switches from the engine and
// TargetGrid to its graticule, preset Position on the first opening (main
// window + 1500, 600 twips), show the window modally, clear TargetGrid;
// when DialogOK, copy the switches back into the engine and redraw.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "DialogBase.h"

class clsGrid;

class frmGridLogic {
public:
    static constexpr long kHelpContext = 250002;
    static constexpr int kValues = 4;
    struct Row {
        int32_t min, max;          // accepted, arc-seconds
        int32_t sliderMin, sliderMax;   // arc-minutes
        const char16_t* rangeText;
    };
    static const std::array<Row, kValues>& Rows();

    bool GridEnable = false;
    bool GridAuto = false;
    bool GridOcean = false;
    bool GridString = false;
    clsGrid* TargetGrid = nullptr;
    bool DialogOK = false;
    plat::DialogPosition Position;

    // The opening: DialogOK false, the values from TargetGrid.
    void Load();
    int32_t Value(int i) const { return values_[size_t(i)]; }
    // The value controls take input only with lines on and the spacing
    // chosen by hand.
    bool ValuesEnabled() const { return GridEnable && !GridAuto; }
    // The value in arc-minutes, truncated toward zero.
    int32_t SliderPosition(int i) const { return values_[size_t(i)] / 60; }
    // The spacings as angles, the limits as latitudes, in the current
    // angle format.
    QString Text(int i) const;

    // A typed value; outside the row's range the range warning is shown,
    // the value stays and the result is false.
    bool CheckText(int i, const QString& text);
    // A slider moved to p arc-minutes: the position rounded to the nearest
    // 30 (halves away from zero), which the slider takes back.
    int32_t Scroll(int i, int32_t p);

    // OK: under automatic spacing the limits open to the poles; the line
    // switches follow GridEnable; the settings object clamps what it takes.
    void Accept();
    void Cancel() { DialogOK = false; }

private:
    std::array<int32_t, kValues> values_{};
};

// The dialog of the run, made on first use.
frmGridLogic& GridDialog();
