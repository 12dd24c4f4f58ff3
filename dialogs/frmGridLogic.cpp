#include "frmGridLogic.h"

#include "basAngle.h"
#include "basLibrary.h"
#include "clsGrid.h"

namespace {

constexpr int32_t kPole = 324000;
constexpr int32_t kHalfDegreeMinutes = 30;

const std::array<frmGridLogic::Row, frmGridLogic::kValues> kRows = {{
    {60, 162000, 0, 2700, u"0ﾟ01'～45ﾟ00'"},
    {60, 162000, 0, 2700, u"0ﾟ01'～45ﾟ00'"},
    {18000, 324000, 300, 5400, u"5ﾟ00'N～90ﾟ00'N"},
    {-324000, -18000, -5400, -300, u"5ﾟ00'S～90ﾟ00'S"},
}};

} // namespace

const std::array<frmGridLogic::Row, frmGridLogic::kValues>& frmGridLogic::Rows() { return kRows; }

void frmGridLogic::Load() {
    DialogOK = false;
    if (!TargetGrid) return;
    values_ = {TargetGrid->Width(), TargetGrid->Height(), TargetGrid->NorthLimit(), TargetGrid->SouthLimit()};
}

QString frmGridLogic::Text(int i) const {
    return i < 2 ? AngleToStr(values_[size_t(i)]) : LatToStr(values_[size_t(i)]);
}

bool frmGridLogic::CheckText(int i, const QString& text) {
    const Row& r = kRows[size_t(i)];
    const int32_t v = AngleStrToSec(text);
    if (v < r.min || v > r.max) {
        MsgOutOfRange(QString::fromUtf16(r.rangeText));
        return false;
    }
    values_[size_t(i)] = v;
    return true;
}

int32_t frmGridLogic::Scroll(int i, int32_t p) {
    const int32_t h = kHalfDegreeMinutes;
    const int32_t rounded = (p >= 0 ? (p + h / 2) / h : (p - h / 2) / h) * h;
    int32_t v = rounded * 60;
    if (i < 2 && v == 0) v = 60;
    values_[size_t(i)] = v;
    return rounded;
}

void frmGridLogic::Accept() {
    if (GridAuto) {
        values_[2] = kPole;
        values_[3] = -kPole;
    }
    if (TargetGrid) {
        TargetGrid->Vertical = TargetGrid->Horizontal = TargetGrid->Zone = GridEnable;
        TargetGrid->setWidth(values_[0]);
        TargetGrid->setHeight(values_[1]);
        TargetGrid->setNorthLimit(values_[2]);
        TargetGrid->setSouthLimit(values_[3]);
    }
    DialogOK = true;
}

frmGridLogic& GridDialog() {
    static frmGridLogic dialog;
    return dialog;
}
