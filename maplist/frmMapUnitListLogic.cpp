#include "frmMapUnitListLogic.h"

#include "AppState.h"
#include "ErrorMng.h"
#include "FlexGridData.h"
#include "MapListHost.h"
#include "basLibrary.h"

namespace {

const QString kObject = QStringLiteral("frmMapUnitList");

QString YesNo(bool v) { return v ? QStringLiteral("Yes") : QStringLiteral("No"); }

// Passes an unexpected error on with the procedure's name.
template <class F>
void Reported(const char* name, F&& f) {
    try {
        f();
    } catch (...) {
        RaiseError(ErrFormUnload, kObject, QString::fromLatin1(name));
    }
}

} // namespace

QString frmMapUnitListLogic::FormatString() {
    return QStringLiteral(">No.|>地図名|<表示|<検索|>地図図形ファイル名|<修正|>図形数|>事象ファイル名|<修正|>行政区ファイル名|<修正");
}

std::array<int32_t, frmMapUnitListLogic::kCols> frmMapUnitListLogic::WidenedColumns(
    int32_t gridWidth, const std::array<int32_t, kCols>& design) {
    std::array<int32_t, kCols> w = design;
    int64_t rest = gridWidth - 255;
    for (int32_t c : design) rest -= c;
    const auto u = static_cast<int32_t>(rest / 10);
    // A grid narrower than its design widths shrinks no column below a sliver.
    const auto grow = [&](size_t c, int32_t by) { w[c] = std::max(w[c] + by, 120); };
    grow(1, 7 * u);
    grow(4, u);
    grow(7, u);
    grow(9, u);
    w[10] = gridWidth;
    return w;
}

bool frmMapUnitListLogic::Load() {
    DialogOK = false;
    if (!UnitSet) return false;
    grid_->setFormatString(FormatString());
    UnitInfos.clear();
    UnitsToInfos();
    InfosToGrid();
    SetActRow(UnitSet->Index());
    return true;
}

void frmMapUnitListLogic::Unload() {
    UnitInfos.clear();
    grid_->setRows(1);
    UnitSet = nullptr;
}

QString frmMapUnitListLogic::Caption() const {
    const bool ll = UnitSet && UnitSet->MapMode() == 1;
    return QStringLiteral("地図ユニットリスト - ") + (ll ? QStringLiteral("経緯度地図") : QStringLiteral("ＸＹ地図"));
}

void frmMapUnitListLogic::UnitsToInfos() {
    Reported("UnitsToInfos", [this] {
        UnitInfos.assign(static_cast<size_t>(UnitSet->Count() + 1), UnitInfo{});
        for (int32_t i = 1; i <= UnitSet->Count(); ++i) {
            const MapUnitPtr u = UnitSet->Item(i);
            UnitInfo& r = UnitInfos[static_cast<size_t>(i)];
            r.Unit = u;
            r.ShowEnable = u->DisplaySwitch();
            r.SearchEnable = u->SearchSwitch();
            r.MapName = u->Map().MapName(gvLanguage);
            r.MapFile = u->Map().FileName();
            r.MapModify = u->Map().Modify();
            r.FigureCount = u->Map().Count();
            r.ThingFile = u->Things().FileName();
            r.ThingModify = u->Things().Modify();
            r.AdminFile = u->Admins().FileName();
            r.AdminModify = u->Admins().Modify();
        }
    });
}

int32_t frmMapUnitListLogic::dataRows() const { return grid_->Rows() - 1; }

void frmMapUnitListLogic::InfosToGrid() {
    Reported("InfosToGrid", [this] {
        const int32_t remembered = grid_->Row();
        grid_->setRows(1);
        for (size_t i = 1; i < UnitInfos.size(); ++i) {
            const UnitInfo& r = UnitInfos[i];
            if (r.State == Removed) continue;
            const QStringList fields = {QString::number(i), r.MapName, YesNo(r.ShowEnable), YesNo(r.SearchEnable),
                                        r.MapFile, YesNo(r.MapModify), QString::number(r.FigureCount), r.ThingFile,
                                        YesNo(r.ThingModify), r.AdminFile, YesNo(r.AdminModify)};
            grid_->AddItem(fields.join(QLatin1Char('\t')));
        }
        if (dataRows() >= 1) grid_->setFixedRows(1);
        SetActRow(remembered);
        RemoveEnabled = ClearEnabled = dataRows() >= 1;
    });
}

void frmMapUnitListLogic::SetActRow(int32_t row) {
    Reported("SetActRow", [&] {
        if (dataRows() < 1) return;
        row = std::clamp(row, 1, dataRows());
        grid_->select(row, 0, row, kCols - 1);
        GridClick();
    });
}

int32_t frmMapUnitListLogic::CurrentRecord() const {
    if (dataRows() < 1 || grid_->Row() < 1) return 1;
    const int32_t k = grid_->TextMatrix(grid_->Row(), 0).toInt();
    return k >= 1 && k < static_cast<int32_t>(UnitInfos.size()) ? k : 1;
}

void frmMapUnitListLogic::GridClick() {
    const int32_t col = grid_->Col();
    if ((col == 2 || col == 3) && dataRows() >= 1) {
        UnitInfo& r = UnitInfos[static_cast<size_t>(CurrentRecord())];
        if (col == 2) r.ShowEnable = !r.ShowEnable;
        else r.SearchEnable = !r.SearchEnable;
        InfosToGrid();   // selects columns 0..last: the click is not repeated
        return;
    }
    const int32_t row = grid_->Row();
    // Row 1 is the base unit: it does not move, and nothing moves above it.
    UpEnabled = row >= 3;
    DownEnabled = row >= 2 && row <= grid_->Rows() - 2;
    grid_->select(row, 0, row, kCols - 1);
}

QString frmMapUnitListLogic::ToolTipAt(int32_t col) {
    switch (col) {
    case 2: return QStringLiteral("地図別表示許可切り替え");
    case 3: return QStringLiteral("地図別検索許可切り替え");
    default: return QStringLiteral("地図ユニット選択");
    }
}

void frmMapUnitListLogic::Add() {
    const int32_t mode = UnitSet->MapMode();
    const QString filter = mode == 1 ? QStringLiteral("経緯度地図ファイル(*.MLL)|*.MLL|")
                           : mode == 2 ? QStringLiteral("ＸＹ地図ファイル(*.MXY)|*.MXY|")
                                       : QString();
    QString proposed = LastAddFile;
    if (proposed.isEmpty())
        proposed = UnitSet->Index() == 1 ? maplisthost::StartMapFile() : UnitSet->Active() ? UnitSet->Active()->UnitName() : QString();
    LastAddFile = maplisthost::InputLoadName(QString(), filter, proposed);
    const QString file = LastAddFile;
    if (file.isEmpty()) return;
    for (size_t i = 1; i < UnitInfos.size(); ++i)
        if (UnitInfos[i].State != Removed && UnitInfos[i].MapFile.compare(file, Qt::CaseInsensitive) == 0) return;
    UnitInfo r;
    r.Unit = std::make_shared<clsMapUnit>();
    r.Unit->setMapMode(mode);
    r.Unit->setUnitName(file);
    r.State = Added;
    r.NewFile = true;
    r.MapFile = file;
    r.ThingFile = ChangeExt(file, QStringLiteral(".THG"));
    r.AdminFile = ChangeExt(file, QStringLiteral(".ADM"));
    UnitInfos.push_back(r);
    InfosToGrid();
    SetActRow(dataRows());
}

void frmMapUnitListLogic::Remove() {
    const int32_t k = CurrentRecord();
    if (k <= 1) return;
    UnitInfos[static_cast<size_t>(k)].State = Removed;
    InfosToGrid();
}

void frmMapUnitListLogic::Clear() {
    for (size_t i = 2; i < UnitInfos.size(); ++i) UnitInfos[i].State = Removed;
    InfosToGrid();
}

void frmMapUnitListLogic::swapWith(int32_t step) {
    const int32_t k = CurrentRecord();
    const auto n = static_cast<int32_t>(UnitInfos.size()) - 1;
    int32_t j = k + step;
    while (j >= 2 && j <= n && UnitInfos[static_cast<size_t>(j)].State == Removed) j += step;
    if (k < 2 || j < 2 || j > n) return;
    std::swap(UnitInfos[static_cast<size_t>(k)], UnitInfos[static_cast<size_t>(j)]);
    const int32_t row = grid_->Row();
    InfosToGrid();
    SetActRow(row + step);
}

void frmMapUnitListLogic::Up() { swapWith(-1); }

void frmMapUnitListLogic::Down() { swapWith(1); }

void frmMapUnitListLogic::OK() {
    const QString activeFile = dataRows() >= 1 ? grid_->TextMatrix(grid_->Row(), 4) : QString();
    UnitSet->ClearAll();
    const UnitInfo& base = UnitInfos[1];
    base.Unit->setDisplaySwitch(base.ShowEnable);
    base.Unit->setSearchSwitch(base.SearchEnable);
    for (size_t i = 2; i < UnitInfos.size(); ++i) {
        UnitInfo& r = UnitInfos[i];
        r.Unit->setDisplaySwitch(r.ShowEnable);
        r.Unit->setSearchSwitch(r.SearchEnable);
        if (r.State == Removed) {
            // A file added and removed again was never read: nothing to ask.
            if (!r.NewFile) maplisthost::UnloadMapUnit(r.Unit);
            continue;
        }
        if (r.State == Added && !r.Unit->Load()) continue;
        // An empty map leaves the set through the question that saves edits.
        if (r.Unit->Map().Count() < 1 || !UnitSet->Add(r.Unit)) maplisthost::UnloadMapUnit(r.Unit);
    }
    UnitSet->setIndex(1);
    for (int32_t i = 1; i <= UnitSet->Count(); ++i) {
        if (UnitSet->Item(i)->UnitName().compare(activeFile, Qt::CaseInsensitive) == 0) {
            UnitSet->setIndex(i);
            break;
        }
    }
    DialogOK = true;
}
