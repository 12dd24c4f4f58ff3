#include "ThingsEditModel.h"

#include <cmath>

#include "ErrorMng.h"
#include "FormErrors.h"
#include "FlexGridData.h"
#include "MessageBox.h"
#include "basHMap.h"
#include "basHThing.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsMap.h"
#include "clsThings.h"

namespace {

const QString kForm = QStringLiteral("frmThingsEdit");
constexpr int32_t kCols = 4;
constexpr int32_t kPages = 8;
constexpr int32_t kNewBack = 0xFFFFFF;
constexpr int16_t kNewPolygonStyle = 8;
const QString kNewFont = QStringLiteral("SYSTEM");


// The number typed in the number box: a whole number (rounded half to even)
// or -1 for a text that is no number at all.
int32_t NumberOf(const QString& text) {
    double v = 0;
    try {
        v = JstrToDouble(text);
    } catch (...) {
        return -1;
    }
    if (!std::isfinite(v)) return -1;
    v = std::nearbyint(v);
    return v < 0 || v > ThingsEditModel::kMaxNumber ? -1 : static_cast<int32_t>(v);
}

} // namespace

QString ThingsEditModel::GridFormat() { return QStringLiteral(">番号 |<カテゴリー |<図形種 |<事象名 "); }

QString ThingsEditModel::WarningText() {
    return QStringLiteral("このダイアログは、事象リストに対し新たな項目を追加したり、\r\n"
                          "事象名を変更するなど、根本的な変更を加えるものです。\r\n"
                          "地図ファイルの構造を理解していない方は絶対に操作してはいけません。\r\n\r\n"
                          "地図図形を事象単位に隠蔽する操作は『地図記号』ダイアログでおこなってください。\r\n"
                          "また地図図形を削除する操作もここではおこなえません。\r\n\r\n"
                          "実行しますか？");
}

bool ThingsEditModel::Load() {
    DialogOK = false;
    Warned = false;
    EditList.clear();
    CategoryNames.clear();
    if (!TargetThings || TargetThings->Count() < 1) return false;
    return ReportingErrors(kForm, "Form_Load", [this] {
        for (const ThingPtr& t : *TargetThings) EditList.push_back(t->Copy());
        for (int32_t c = 1; c <= 20; ++c)
            if (!TargetThings->CategoryName(c).isEmpty()) CategoryNames << TargetThings->CategoryName(c);
        Locked = TargetThings->LockMode();
        MakeGrid();
        SelectThingRow(1);
        return true;
    });
}

bool ThingsEditModel::Activate() {
    if (Warned) return true;
    Warned = true;
    return plat::MsgBox(WarningText(), plat::MbYesNo | plat::MbExclamation) == plat::IdYes;
}

QString ThingsEditModel::Caption() const {
    return QStringLiteral("事象編集 - ") + (TargetThings ? FileNameOf(TargetThings->FileName()) : QString());
}

QString ThingsEditModel::TotalText() const { return QStringLiteral("事象数 = ") + QString::number(Count()); }

int32_t ThingsEditModel::Row() const { return grid_ ? grid_->Row() : 0; }

void ThingsEditModel::MakeGrid() {
    if (!grid_) return;
    ReportingErrors(kForm, "MakeGrid", [this] {
        grid_->setRows(1);
        for (const ThingPtr& t : EditList) {
            grid_->AddItem(QString::number(t->Index()) + QLatin1Char('\t') + TargetThings->CategoryName(t->Category()) +
                           QLatin1Char('\t') + FigCodeToName(t->Figure(), 2) + QLatin1Char('\t') + t->Name());
        }
        if (grid_->Rows() > 1) grid_->setFixedRows(1);
        SelectThingRow(1);
    });
}

void ThingsEditModel::SelectThingRow(int32_t row) {
    if (!grid_ || row < 1 || row > Count()) return;
    grid_->select(row, 0, row, kCols - 1);
    ShowThingRow();
}

void ThingsEditModel::ShowThingRow() {
    const int32_t r = Row();
    if (r < 1) return;
    NumberText = grid_->TextMatrix(r, 0);
    CategoryIndex = std::max<int32_t>(0, static_cast<int32_t>(CategoryNames.indexOf(grid_->TextMatrix(r, 1))));
    FigureIndex = 0;
    for (int32_t k = 1; k <= 5; ++k)
        if (FigCodeToName(k, 2) == grid_->TextMatrix(r, 2)) {
            FigureIndex = k - 1;
            break;
        }
    Name = grid_->TextMatrix(r, 3);
}

bool ThingsEditModel::IsUseThing(int32_t number) const {
    return ReportingErrors(kForm, "IsUseThing", [&] {
        if (!TargetMap) return false;
        for (const auto& f : *TargetMap)
            if (f->Thing() == number) return true;
        return false;
    });
}

ThingPtr ThingsEditModel::NewThing(int32_t number, const QString& name, int32_t figure, int32_t category) {
    auto t = std::make_shared<clsThing>();
    t->setIndex(number);
    t->setCategory(category);
    t->setFigure(figure);
    t->setName(name);
    // Written into the saved pages, so that the pages read as just loaded.
    for (int32_t p = 1; p <= kPages; ++p) {
        t->setPage(-p);
        t->setShowMode(-1);
        t->setBack(kNewBack);
        switch (figure) {
        case 2: t->setSize(LINE_WIDTH_MIN); break;
        case 3: t->setStyle(kNewPolygonStyle); break;
        case 5:
            t->setSize(FONT_HEIGHT_MIN);
            t->setEuropian(kNewFont);
            t->setJapanese(kNewFont);
            break;
        default: break;
        }
    }
    t->setPage(1);
    t->RecoveryAll();
    return t;
}

ThingPtr ThingsEditModel::CreateThing() const {
    return ReportingErrors(kForm, "CreateThing", [this]() -> ThingPtr {
        const int32_t number = NumberOf(NumberText);
        if (number < 0) {
            // Also for a text that is no number: it must not become thing 0.
            MsgError(QStringLiteral("事象番号は 0～") + QString::number(kMaxNumber));
            return nullptr;
        }
        if (Name.isEmpty()) {
            MsgError(QStringLiteral("事象名を設定してください."));
            return nullptr;
        }
        int32_t category = -1;
        const QString chosen = CategoryIndex >= 0 && CategoryIndex < CategoryNames.size() ? CategoryNames[CategoryIndex] : QString();
        for (int32_t c = 1; c <= 20 && !chosen.isEmpty(); ++c)
            if (TargetThings->CategoryName(c).compare(chosen, Qt::CaseInsensitive) == 0) {
                category = c;
                break;
            }
        return NewThing(number, Name, FigureIndex + 1, category);
    });
}

bool ThingsEditModel::InsertThingAt(int32_t position, const ThingPtr& thing) {
    for (const ThingPtr& t : EditList)
        if (t->Index() == thing->Index()) {
            MsgError(QStringLiteral("すでに使われている事象番号です."));
            return false;
        }
    if (position > Count() || position < 1) EditList.push_back(thing);
    else EditList.insert(EditList.begin() + (position - 1), thing);
    MakeGrid();
    return true;
}

void ThingsEditModel::removeAt(int32_t row) { EditList.erase(EditList.begin() + (row - 1)); }

void ThingsEditModel::Insert() {
    if (Locked) return;
    ReportingErrors(kForm, "cmdInsert_Click", [this] {
        const int32_t position = Row() >= 1 ? Row() : Count() + 1;
        if (const ThingPtr t = CreateThing()) InsertThingAt(position, t);
        SelectThingRow(position);
    });
}

void ThingsEditModel::Replace() {
    const int32_t r = Row();
    if (Locked || r < 1 || r > Count()) return;
    ReportingErrors(kForm, "cmdReplace_Click", [&] {
        const ThingPtr t = CreateThing();
        if (!t) return;
        const ThingPtr old = EditList[size_t(r - 1)];
        if (t->Index() != old->Index() && IsUseThing(old->Index()) &&
            !AskYesNo(QStringLiteral("地図中で参照されている事象番号のため、変更すると正常に動作しなくなることがあります。本当に置換しますか？")))
            return;
        removeAt(r);
        if (!InsertThingAt(r, t)) InsertThingAt(r, old);
        SelectThingRow(r);
    });
}

void ThingsEditModel::Delete() {
    const int32_t r = Row();
    if (Locked || r < 1 || r > Count()) return;
    ReportingErrors(kForm, "cmdDelete_Click", [&] {
        if (IsUseThing(EditList[size_t(r - 1)]->Index()) &&
            !AskYesNo(QStringLiteral("地図中で参照されている事象のため、削除すると正常に動作しなくなることがあります。本当に削除しますか？")))
            return;
        removeAt(r);
        MakeGrid();
        SelectThingRow(r);
    });
}

void ThingsEditModel::Up() {
    const int32_t r = Row();
    if (!UpEnabled() || r > Count()) return;
    ReportingErrors(kForm, "cmdUp_Click", [&] {
        const ThingPtr t = EditList[size_t(r - 1)];
        removeAt(r);
        InsertThingAt(r - 1, t);
        SelectThingRow(r - 1);
    });
}

void ThingsEditModel::Down() {
    const int32_t r = Row();
    if (!DownEnabled()) return;
    ReportingErrors(kForm, "cmdDown_Click", [&] {
        const ThingPtr t = EditList[size_t(r - 1)];
        removeAt(r);
        InsertThingAt(r + 1, t);
        SelectThingRow(r + 1);
    });
}

void ThingsEditModel::OK() {
    ReportingErrors(kForm, "cmdOK_Click", [this] {
        std::vector<int16_t> numbers;
        for (const ThingPtr& t : *TargetThings) numbers.push_back(t->Index());
        bool refused = false;
        for (int16_t n : numbers)
            if (!TargetThings->Remove(n)) {
                refused = true;
                break;
            }
        for (const ThingPtr& t : EditList) {
            if (refused || !TargetThings->Add(t)) break;
        }
        DialogOK = true;
    });
}

void ThingsEditModel::Unload() {
    EditList.clear();
    if (grid_) grid_->setRows(1);
    TargetThings = nullptr;
    TargetMap = nullptr;
}

ThingsEditModel& ThingsEdit() {
    static ThingsEditModel m;
    return m;
}
