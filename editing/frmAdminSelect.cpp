#include "frmAdminSelect.h"

#include "AppState.h"
#include "clsAdmins.h"

namespace {
constexpr int16_t kAreaGroups = 20;
}

bool AdminSelectLogic::Load() {
    OK = false;
    if (!Admins) return false;
    if (AdminCode != -1) {
        if (const AdminPtr& a = Admins->Item(AdminCode)) {
            const int16_t area = a->AreaCode();
            area_ = area >= 0 && area < kAreaGroups ? area : 0;
        }
    }
    MakeAreaList();
    MakeAdminList(AdminCode);
    return true;
}

void AdminSelectLogic::MakeAreaList() {
    upper_.clear();
    for (int16_t i = 0; i < kAreaGroups; ++i) {
        const QString name = Admins->AreaName(i, static_cast<int32_t>(gvLanguage));
        if (!name.isEmpty()) upper_.add(name, i);
    }
    upper_.selectNumber(area_);
}

void AdminSelectLogic::MakeAdminList(int16_t code) {
    lower_.clear();
    for (const AdminPtr& a : *Admins)
        if (area_ == 0 || a->AreaCode() == area_) lower_.add(a->AdminName(), a->AdminCode());
    lower_.selectNumber(code);
}

void AdminSelectLogic::UpperClick(int row) {
    if (!upper_.choose(row)) return;
    area_ = static_cast<int16_t>(upper_.selectedNumber());
    MakeAdminList(AdminCode);
}

void AdminSelectLogic::LowerClick(int row) {
    if (lower_.choose(row)) AdminCode = static_cast<int16_t>(lower_.selectedNumber());
}

AdminSelectLogic& AdminSelect() {
    static AdminSelectLogic instance;
    return instance;
}

PickerTexts AdminSelectTexts() {
    return {QStringLiteral("frmAdminSelect"), QStringLiteral("地域グループ(&G):"), QStringLiteral("地域グループ名のリスト"),
            QStringLiteral("　└─ 行政区(&A):"), QStringLiteral("行政区名のリスト"), AdminSelectLogic::kHelpContext};
}

bool ShowAdminSelect(QWidget* parent) { return RunPicker(AdminSelect(), AdminSelectTexts(), parent); }
