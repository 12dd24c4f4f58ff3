// The district picker "行政区選択": an area group, then a district of it.
// Group 0 lists every district. The group last used is kept for the next
// opening.
#pragma once

#include <QWidget>

#include <cstdint>

#include "PickerDialog.h"

class clsAdmins;

class AdminSelectLogic : public PickerLogic {
public:
    static constexpr long kHelpContext = 290010;

    // Public variables: the catalogue (nullptr after unload) and the
    // district shown on opening and chosen on OK (-1 none).
    const clsAdmins* Admins = nullptr;
    int16_t AdminCode = -1;

    // The group is that of AdminCode when the catalogue has it, else the
    // one used last (0 at first).
    bool Load() override;
    QString Caption() const override { return QStringLiteral("行政区選択"); }
    // A group: its districts, AdminCode's selected when it is one of them.
    void UpperClick(int row) override;
    // A district: it becomes AdminCode.
    void LowerClick(int row) override;
    void Unload() override { Admins = nullptr; }
    int16_t Area() const { return area_; }

private:
    // The named groups of the display language, the current one selected
    // (the first listed one when the current group has no name; the
    // districts listed stay those of the current group).
    void MakeAreaList();
    void MakeAdminList(int16_t code);

    int16_t area_ = 0;
};

// The picker's single instance.
AdminSelectLogic& AdminSelect();
// Shows the picker over its single instance; returns its OK.
bool ShowAdminSelect(QWidget* parent = nullptr);
// The window texts of the picker.
PickerTexts AdminSelectTexts();
