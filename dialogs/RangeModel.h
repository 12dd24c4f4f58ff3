// The visible-scale-range dialog without its window: the range of a thing
// page (ScaleS, the small-scale end, the larger denominator; ScaleL, the
// large-scale end) on the 53-step ladder of scale levels, as the selected
// stretch of a slider.
//
// Slider position p stands for level 54 - p: position 1 is level 53 (the
// largest scale), position 53 level 1. The selection SelStart ..
// SelStart + SelLength is the range: SelStart its large-scale end.
//
// Protocol of a caller: set RangeTitle, RangeScaleS, RangeScaleL (either
// order), preset Position on the first opening, show the window modally,
// and read both denominators back when DialogOK is true; they always lie on
// the ladder.
#pragma once

#include <QString>

#include <cstdint>

#include "DialogBase.h"

class RangeModel {
public:
    static constexpr int32_t Min = 1;
    static constexpr int32_t Max = 53;
    // The levels named under the slider, left to right on the screen
    // reversed: index 0 is level 1 (the right end).
    static constexpr int16_t kLegendLevels[9] = {1, 8, 14, 21, 27, 34, 40, 47, 53};

    QString RangeTitle;
    double RangeScaleS = 0;
    double RangeScaleL = 0;
    bool DialogOK = false;
    plat::DialogPosition Position;

    // The opening of the window: both denominators clamped into the scale
    // bounds and taken to the levels at or above them; the thumb and the
    // selection's large-scale end at the higher level.
    void Load();
    QString Caption() const;

    int32_t Value() const { return value_; }
    int32_t SelStart() const { return selStart_; }
    int32_t SelLength() const { return selLength_; }
    // The levels of both ends of the range.
    int16_t LargeLevel() const { return static_cast<int16_t>(54 - selStart_); }
    int16_t SmallLevel() const { return static_cast<int16_t>(54 - selStart_ - selLength_); }

    // The mouse pressed on the slider, before the thumb moves (shift as
    // ShiftStateOf: exactly Shift starts a drag that widens the range from
    // where it is; anything else starts the range anew).
    void MouseDown(int shift);
    // The thumb moved to a position (clamped into Min..Max) by the user:
    // without a Shift drag the range runs from there down to level 1; with
    // one its large-scale end follows the thumb while it stays on the
    // large-scale side of the far end.
    void Scroll(int32_t value);
    // The four step buttons: 0 large-scale end up, 1 large-scale end down,
    // 2 small-scale end up, 3 small-scale end down. A disabled one does
    // nothing.
    bool StepEnabled(int index) const;
    void Step(int index);

    // "1/" and the short text of a level's denominator.
    static QString LevelText(int16_t level);
    QString LargeValText() const { return LevelText(LargeLevel()); }
    QString SmallValText() const { return LevelText(SmallLevel()); }
    QString LargeStepText() const;
    QString SmallStepText() const;
    // Shown beside the thumb while it moves.
    QString ThumbText() const { return LevelText(static_cast<int16_t>(54 - value_)); }

    // OK: both ends back as ladder denominators, DialogOK true.
    void Accept();
    void Cancel() { DialogOK = false; }

private:
    int32_t value_ = Min;
    int32_t selStart_ = Min;
    int32_t selLength_ = 0;
    bool shiftDrag_ = false;
};

// The dialog of the run, made on first use.
RangeModel& Range();
