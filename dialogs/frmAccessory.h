// The map accessory dialog "アクセサリ": the accessory switch of the plot
// engine, the band position (top or bottom) and a row for each of the seven
// items with its switch, text box, font button and colour button; a row's
// controls are greyed while its item is off. A thin window over
// frmAccessoryLogic. Enter presses OK, except in a text box.
#pragma once

#include <array>
#include <functional>

#include "SettingsForm.h"
#include "frmAccessoryLogic.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmAccessory : public SettingsForm {
    Q_OBJECT
public:
    explicit frmAccessory(QWidget* parent = nullptr, frmAccessoryLogic& logic = AccessoryDialog());
    ~frmAccessory() override;

    // -- controls, indexed by item 1..7 (0 unused; null where an item has
    // no such control); tests reach them here
    std::array<QCheckBox*, 8> chkAcsItem{};
    std::array<QPushButton*, 8> cmdAcsColor{};
    std::array<QPushButton*, 8> cmdAcsFont{};
    std::array<QLineEdit*, 8> txtAcs{};
    QCheckBox* chkAcsEi = nullptr;
    std::array<QRadioButton*, 2> optAcsPosition{};

protected:
    void formKeyDown(int& keyCode, int shift) override;

private:
    void build();
    // ToControl; the controls' change signals do nothing meanwhile.
    void refresh();
    void onFocus(QWidget* old, QWidget* now);

    frmAccessoryLogic& logic_;
};
