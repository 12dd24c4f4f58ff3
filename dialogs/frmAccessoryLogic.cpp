#include "frmAccessoryLogic.h"

#include "ExpStyleModel.h"
#include "SettingsDialogs.h"
#include "basLibrary.h"
#include "clsAccessory.h"

void frmAccessoryLogic::Load() {
    DialogOK = false;
    EnterToOK = true;
    items_ = {};
    if (!TargetAccessory) return;
    clsAccessory& a = *TargetAccessory;
    WorkPosition = a.Position();
    const int32_t selected = a.Index();
    for (int i = 1; i <= kItems; ++i) {
        a.setIndex(i);
        item(i) = {a.Status(), a.Use(), a.Color(), a.Text(), CloneFont(a.Font())};
    }
    a.setIndex(selected);
}

bool frmAccessoryLogic::ChooseColor(int i) {
    if (!Has(i, CanColor)) return false;
    const int32_t c = InputRealColor(item(i).Color);
    if (c < 0) return false;
    item(i).Color = c;
    return true;
}

bool frmAccessoryLogic::ChooseFont(int i) {
    Record& r = item(i);
    if (!Has(i, CanFont) || !r.Font) return false;
    return InputSettingsFont(*r.Font);
}

void frmAccessoryLogic::Accept() {
    if (TargetAccessory) {
        clsAccessory& a = *TargetAccessory;
        a.setPosition(WorkPosition);
        for (int i = 1; i <= kItems; ++i) {
            const Record& r = item(i);
            a.setIndex(i);
            a.setUse(r.Use);
            a.setColor(r.Color);
            a.setFont(r.Font);
            a.setText(r.Text);
        }
    }
    DialogOK = true;
}

void frmAccessoryLogic::Unload() {
    items_ = {};
    TargetAccessory = nullptr;
}

frmAccessoryLogic& AccessoryDialog() {
    static frmAccessoryLogic dialog;
    return dialog;
}
