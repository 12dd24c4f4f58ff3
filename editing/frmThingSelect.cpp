#include "frmThingSelect.h"

#include "basHMap.h"
#include "clsThings.h"

namespace {
constexpr int16_t kCategories = 20;
}

bool ThingSelectLogic::Load() {
    OK = false;
    if (!Things) return false;
    if (ThingIndex != -1) {
        if (const ThingPtr& t = Things->Item(ThingIndex)) {
            const int16_t c = t->Category();
            category_ = c >= 1 && c <= kCategories ? c : 1;
        }
    }
    MakeCategoryList();
    MakeThingList(ThingIndex);
    return true;
}

QString ThingSelectLogic::Caption() const {
    return QStringLiteral("事象選択 (") + FigCodeToName(FigCode, 2) + QLatin1Char(')');
}

void ThingSelectLogic::MakeCategoryList() {
    upper_.clear();
    for (int16_t i = 1; i <= kCategories; ++i) {
        const QString name = Things->CategoryName(i);
        if (!name.isEmpty()) upper_.add(name, i);
    }
    upper_.selectNumber(category_);
    if (!upper_.isEmpty()) UpperClick(upper_.selected);
}

void ThingSelectLogic::MakeThingList(int16_t index) {
    lower_.clear();
    for (const ThingPtr& t : *Things)
        if (t->Figure() == FigCode && t->Category() == category_) lower_.add(t->Name(), t->Index());
    lower_.selectNumber(index);
    if (!lower_.isEmpty()) LowerClick(lower_.selected);
}

void ThingSelectLogic::UpperClick(int row) {
    if (!upper_.choose(row)) return;
    category_ = static_cast<int16_t>(upper_.selectedNumber());
    MakeThingList(ThingIndex);
}

void ThingSelectLogic::LowerClick(int row) {
    if (lower_.choose(row)) ThingIndex = static_cast<int16_t>(lower_.selectedNumber());
}

ThingSelectLogic& ThingSelect() {
    static ThingSelectLogic instance;
    return instance;
}

PickerTexts ThingSelectTexts() {
    return {QStringLiteral("frmThingSelect"), QStringLiteral("カテゴリー(&C):"), QStringLiteral("カテゴリー名のリスト"),
            QStringLiteral("　└─ 事象(&T):"), QStringLiteral("事象名のリスト"), ThingSelectLogic::kHelpContext};
}

bool ShowThingSelect(QWidget* parent) { return RunPicker(ThingSelect(), ThingSelectTexts(), parent); }
