#include "RangeModel.h"

#include <algorithm>

#include "KeyCodes.h"
#include "basGlobe.h"

namespace {
// The level of a denominator clamped into the scale bounds; `fallback` for
// one that no level covers (not a number).
int16_t LadderLevel(double scale, int16_t fallback) {
    const int16_t level = LevelOfScale(LimitMapScale(scale));
    return level >= 1 ? level : fallback;
}
} // namespace

void RangeModel::Load() {
    DialogOK = false;
    shiftDrag_ = false;
    const int16_t high = LadderLevel(std::min(RangeScaleS, RangeScaleL), Max);
    const int16_t low = std::min(LadderLevel(std::max(RangeScaleS, RangeScaleL), Min), high);
    value_ = 54 - high;
    selStart_ = value_;
    selLength_ = high - low;
}

QString RangeModel::Caption() const { return QStringLiteral("可視縮尺範囲 - ") + RangeTitle; }

void RangeModel::MouseDown(int shift) {
    shiftDrag_ = shift == plat::ShiftMask;
    selStart_ = value_;
    selLength_ = shiftDrag_ ? 0 : Max - value_;
}

void RangeModel::Scroll(int32_t value) {
    value_ = std::clamp(value, Min, Max);
    if (!shiftDrag_) {
        selStart_ = value_;
        selLength_ = Max - value_;
        return;
    }
    const int32_t end = selStart_ + selLength_;
    if (value_ <= end) {
        selLength_ = end - value_;
        selStart_ = value_;
    }
}

bool RangeModel::StepEnabled(int index) const {
    switch (index) {
    case 0: return selStart_ > Min;
    case 1:
    case 2: return selLength_ >= 1;
    case 3: return selStart_ + selLength_ < Max;
    default: return false;
    }
}

void RangeModel::Step(int index) {
    if (!StepEnabled(index)) return;
    switch (index) {
    case 0: --selStart_, ++selLength_; break;
    case 1: ++selStart_, --selLength_; break;
    case 2: --selLength_; break;
    case 3: ++selLength_; break;
    default: break;
    }
}

QString RangeModel::LevelText(int16_t level) { return QStringLiteral("1/") + ScaleLevelText(level); }

QString RangeModel::LargeStepText() const { return QStringLiteral("ステップ：") + QString::number(LargeLevel()); }

QString RangeModel::SmallStepText() const { return QStringLiteral("ステップ：") + QString::number(SmallLevel()); }

void RangeModel::Accept() {
    RangeScaleL = ScaleOfLevel(LargeLevel());
    RangeScaleS = ScaleOfLevel(SmallLevel());
    DialogOK = true;
}

RangeModel& Range() {
    static RangeModel m;
    return m;
}
