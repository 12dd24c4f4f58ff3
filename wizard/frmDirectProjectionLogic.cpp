#include "frmDirectProjectionLogic.h"

#include "ErrorMng.h"
#include "AppState.h"
#include "ErrorMng.h"
#include "basGlobe.h"
#include "basHMapCoord.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsEnvironment.h"
#include "clsMapPlot.h"

namespace {

const QString kForm = QStringLiteral("frmDirectProjection");

[[noreturn]] void Report(const char* proc) { RaiseError(ErrFormUnload, kForm, QString::fromLatin1(proc)); }

} // namespace

void frmDirectProjectionLogic::changed() {
    if (Changed) Changed();
}

void frmDirectProjectionLogic::Load() {
    try {
        DialogOK = false;
        if (!TargetPlot) return;
        WorkAuto = TargetPlot->ProjectionAuto;
        WorkIndex = TargetPlot->ProjectionIndex();
        WorkCenterX = TargetPlot->CenterX();
        WorkCenterY = TargetPlot->CenterY();
        WorkScale = TargetPlot->MapScale();
        if (!HasProjectionTab()) ActiveTab = 0;
    } catch (...) {
        Report("Form_Load");
    }
}

void frmDirectProjectionLogic::SelectTab(int tab) {
    ActiveTab = HasProjectionTab() && tab == 1 ? 1 : 0;
    changed();
}

QString frmDirectProjectionLogic::SlotCaption(int slot) {
    const QString name = gvEnvironment ? gvEnvironment->GetString(QStringLiteral("DirectPrjName0%1").arg(slot), QStringLiteral("図法"))
                                       : QStringLiteral("図法");
    return name + QStringLiteral("(&%1)").arg(slot);
}

QString frmDirectProjectionLogic::SlotToolTip(int slot) {
    static const char* const kTips[kSlots] = {"赤道が等長となる円筒図法", "投影中心緯線が等長となる円筒図法",
                                              "投影中心緯線が等長となる円錐図法", "経線が等長となる方位図法"};
    return slot >= 1 && slot <= kSlots ? QString::fromUtf8(kTips[slot - 1]) : QString();
}

QString frmDirectProjectionLogic::LabelX() const { return WorkIndex != 0 ? QStringLiteral("経度(&X):") : QStringLiteral("Ｘ(&X):"); }
QString frmDirectProjectionLogic::LabelY() const { return WorkIndex != 0 ? QStringLiteral("緯度(&Y):") : QStringLiteral("Ｙ(&Y):"); }
QString frmDirectProjectionLogic::TextX() const { return MapXToStr(WorkCenterX); }
QString frmDirectProjectionLogic::TextY() const { return MapYToStr(WorkCenterY); }
QString frmDirectProjectionLogic::TextScale() const { return FormatStandardInt(WorkScale); }

void frmDirectProjectionLogic::SetAuto(bool on) {
    WorkAuto = on;
    changed();
}

void frmDirectProjectionLogic::SetSlot(int slot) {
    if (slot >= 1 && slot <= kSlots) WorkIndex = slot;
    changed();
}

bool frmDirectProjectionLogic::validateCoordinate(const QString& text, int32_t (*read)(const QString&),
                                                  bool (*valid)(int32_t, bool), int32_t& work) {
    const int32_t v = read(text);   // an unreadable text gives a marker no range holds
    const bool ok = valid(v, true);
    if (ok) work = v;
    changed();
    return ok;
}

bool frmDirectProjectionLogic::ValidateX(const QString& text) { return validateCoordinate(text, MapStrToXSafe, IsValidMapX, WorkCenterX); }
bool frmDirectProjectionLogic::ValidateY(const QString& text) { return validateCoordinate(text, MapStrToYSafe, IsValidMapY, WorkCenterY); }

bool frmDirectProjectionLogic::ValidateScale(const QString& text) {
    double v = 0;
    try {
        v = JstrToDouble(text);
    } catch (const AppError&) {
        v = 0;   // no scale
    }
    const bool ok = IsMapScale(v);
    if (ok) WorkScale = v;
    else MsgOutOfRange(FormatStandardInt(MapScaleMin) + QStringLiteral("～") + FormatStandardInt(MapScaleMax));
    changed();
    return ok;
}

void frmDirectProjectionLogic::OK() {
    try {
        if (TargetPlot) {
            TargetPlot->ProjectionAuto = WorkAuto;
            TargetPlot->setProjectionIndex(WorkIndex);
            TargetPlot->setCenterX(WorkCenterX);
            TargetPlot->setCenterY(WorkCenterY);
            TargetPlot->setMapScale(WorkScale);
        }
        DialogOK = true;
    } catch (...) {
        Report("cmdOK_Click");
    }
}
