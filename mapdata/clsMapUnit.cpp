#include "clsMapUnit.h"

#include "DoEvents.h"
#include "MapUnitIo.h"
#include "basHMap.h"
#include "basLibrary.h"

clsMapUnit::clsMapUnit()
    : map_(std::make_shared<clsMap>()),
      things_(std::make_shared<clsThings>()),
      admins_(std::make_shared<clsAdmins>()),
      garbage_(std::make_shared<clsMap>()) {
    garbage_->setFileName(QStringLiteral("GARBAGE"));
    map_->setUndoCompanion(garbage_);
}

void clsMapUnit::setMap(std::shared_ptr<clsMap> m) {
    if (!m) return;
    map_ = std::move(m);
    map_->setUndoCompanion(garbage_);
}

void clsMapUnit::setGarbage(std::shared_ptr<clsMap> g) {
    if (!g) return;
    garbage_ = std::move(g);
    map_->setUndoCompanion(garbage_);
}

void clsMapUnit::setMapMode(int32_t mode) {
    map_->setMapMode(mode);
    garbage_->setMapMode(mode);
}

void clsMapUnit::setUnitName(const QString& path) {
    if (path.endsWith(QLatin1String(".MLL"))) setMapMode(1);
    else if (path.endsWith(QLatin1String(".MXY"))) setMapMode(2);
    map_->setFileName(path);
    admins_->setFileName(path);
    things_->setFileName(path);
}

bool clsMapUnit::Modify() const {
    return (map_->Modify() && (map_->Count() >= 1 || established_)) ||
           (things_->Modify() && (things_->Count() >= 1 || established_)) || admins_->Modify();
}

clsMapCell clsMapUnit::Cell(int32_t index) const { return ToCell(map_->Item(index)); }

clsMapCell clsMapUnit::ToCell(const MapFigurePtr& figure) const {
    clsMapCell cell;
    if (!figure) return cell;
    cell.CellFigure = figure;
    cell.CellAdmin = admins_->Item(figure->Admin());
    cell.CellThing = things_->Item(figure->Thing());
    if (cell.IsValid()) cell.CellThing->setPage(cell.CellAdmin->Page());
    return cell;
}

void clsMapUnit::CheckUseThing(bool withFrame) {
    things_->ResetUse();
    int32_t previous = -1;
    for (const MapFigurePtr& f : *map_) {
        const int32_t n = f->Thing();
        if (n == previous) continue;
        previous = n;
        if (n < 0) continue;
        if (const ThingPtr& t = things_->Item(n)) t->setUse(true);
    }
    if (!withFrame) return;
    for (int32_t c = 1; c <= 20; ++c) {
        if (things_->CategoryName(c) != QStringLiteral("枠組")) continue;
        for (const ThingPtr& t : *things_)
            if (t->Category() == c) t->setUse(true);
        break;
    }
}

bool clsMapUnit::Load() {
    const bool ok = ShowMapUnitLoad(*this);
    garbage_->Clear();
    plat::DoEvents();
    return ok;
}

bool clsMapUnit::Save(bool withLog) {
    setUnitName(UnitName());
    const bool ok = ShowMapUnitSave(*this, withLog ? UnitName() : QString());
    plat::DoEvents();
    return ok;
}

bool ConfirmAddFigure(clsMapUnit& unit) {
    const int16_t kind = MapCodeKind(unit.Map().MapCode());
    if (kind < 1 || kind > 8) return true;
    if (unit.AddFigureAnswer() != 0) return unit.AddFigureAnswer() == 2;
    const QString text = QStringLiteral("アクティブ地図は") +
                         (kind == 1 ? QStringLiteral("ベース地図") : QStringLiteral("標準地図")) +
                         QStringLiteral("です.\r\n図形を追加してもよろしいですか？\r\n\r\n"
                                        "* ユーザー独自の図形は、なるべくユーザー地図に追加してください.\r\n"
                                        "  ユーザー地図がないときは新規生成してください.");
    const bool yes = AskYesNo(text);
    unit.setAddFigureAnswer(yes ? 2 : 1);
    return yes;
}
