#include "FigureDialog.h"

#include <array>

#include "ErrorMng.h"
#include "MessageBox.h"
#include "SysColors.h"
#include "basColorLib.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "frmFigPoly.h"
#include "frmFigRem.h"
#include "frmFigSymbol.h"
#include "frmFigText.h"

namespace {

// The dialog each kind has when nobody installed another.
FigureDialogRunner BuiltInDialog(FigureDialogKind kind) {
    switch (kind) {
    case FigureDialogKind::Remark: return RunFigRem;
    case FigureDialogKind::Poly: return RunFigPoly;
    case FigureDialogKind::Symbol: return RunFigSymbol;
    case FigureDialogKind::Text: return RunFigText;
    default: return {};
    }
}

struct Instances {
    std::array<FigureDialogVars, kFigureDialogKinds> vars;
    std::array<FigureDialogRunner, kFigureDialogKinds> runners;
    Instances() {
        for (int k = 0; k < kFigureDialogKinds; ++k) runners[static_cast<size_t>(k)] = BuiltInDialog(FigureDialogKind(k));
    }
};

Instances& instances() {
    static Instances all;
    return all;
}

NativeColorInput& nativeColorInput() {
    static NativeColorInput input;
    return input;
}

} // namespace

std::optional<FigureDialogKind> FigureDialogOf(int32_t figCode) {
    switch (figCode) {
    case 1: return FigureDialogKind::Remark;
    case 2:
    case 3: return FigureDialogKind::Poly;
    case 4: return FigureDialogKind::Symbol;
    case 5: return FigureDialogKind::Text;
    default: return std::nullopt;
    }
}

FigureDialogVars& FigureDialogVarsOf(FigureDialogKind kind) { return instances().vars[static_cast<size_t>(kind)]; }

const FigureDialogRunner& FigureDialogRunnerOf(FigureDialogKind kind) {
    return instances().runners[static_cast<size_t>(kind)];
}

FigureDialogRunner SetFigureDialog(FigureDialogKind kind, FigureDialogRunner runner) {
    return std::exchange(instances().runners[static_cast<size_t>(kind)], std::move(runner));
}

void ResetFigureDialogs() {
    instances() = Instances();
    ResetTextPair();
}

QStringList ShowModeEntries() {
    return {QStringLiteral("事象依存"), QStringLiteral("常時隠蔽"), QStringLiteral("常時表示")};
}

ColorButtonLook ColorLookOf(int32_t ownColor) {
    if (ownColor == -1)
        return {QStringLiteral("事象依存"), 0x80000000u | plat::COLOR_BTNFACE, QStringLiteral("この図形の色は / 事象依存")};
    const QString hex = ColorToHex(ownColor);
    return {hex, static_cast<uint32_t>(ownColor), QStringLiteral("この図形の色は / BBGGRR=") + hex};
}

NativeColorInput SetNativeColorInput(NativeColorInput input) {
    return std::exchange(nativeColorInput(), std::move(input));
}

int32_t InputNativeColor(int32_t current) {
    if (nativeColorInput()) return nativeColorInput()(current);
    plat::COLORREF c = current < 0 ? 0xFFFFFFu : static_cast<plat::COLORREF>(current);
    return plat::ChooseColor(c) ? static_cast<int32_t>(c & 0xFFFFFFu) : -2;
}

FigureDialogLogic::FigureDialogLogic(FigureDialogVars& vars, QString title) : vars_(vars), title_(std::move(title)) {}

bool FigureDialogLogic::LoadCommon() {
    vars_.OK = false;
    vars_.Results.reset();
    if (!vars_.Figure || !vars_.MapUnit) return false;
    work_ = vars_.Figure->Copy();
    return true;
}

QString FigureDialogLogic::Caption() const {
    return title_ + QStringLiteral(" - ") + FileNameOf(vars_.MapUnit->UnitName());
}

QString FigureDialogLogic::DateText() const { return FormatGeneralDate(vars_.Figure->FigDate()); }

void FigureDialogLogic::ColorClick() {
    const int32_t c = InputNativeColor(work_->OwnColor());
    if (c >= -1) work_->setOwnColor(c);
}

OkOutcome FigureDialogLogic::Finish(FigureList results) {
    if (!work_->IsRight() || results.empty()) return AskCorrectSettings() ? OkOutcome::Stay : OkOutcome::Cancelled;
    const double given = vars_.Figure->FigID();
    vars_.Figure->setFigID(results.front()->FigID());
    results.front()->setFigID(given);
    vars_.Results = std::move(results);
    vars_.OK = true;
    return OkOutcome::Closed;
}

void FigureDialogLogic::Unload() {
    vars_.Figure.reset();
    vars_.MapUnit.reset();
    work_.reset();
}

bool AskCorrectSettings() {
    return plat::MsgBox(QStringLiteral("設定に誤りがあります.\r修正しますか？"), plat::MbOkCancel + plat::MbCritical) ==
           plat::IdOk;
}
