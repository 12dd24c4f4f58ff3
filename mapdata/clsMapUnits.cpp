#include "clsMapUnits.h"

#include "AppError.h"
#include "AppInfo.h"
#include "AppState.h"
#include "ErrorMng.h"
#include "MessageBox.h"
#include "basFileNames.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsMapRem.h"

#include <algorithm>

namespace {

const QString kObject = QStringLiteral("clsMapUnits");

// The first of: the file, the same name beside the program, the base file,
// its name beside the program; the last when none exists.
QString catalogueFile(const QString& def, const QString& base) {
    const QString candidates[] = {def, JoinPath(plat::AppPath(), FileNameOf(def)), base,
                                  JoinPath(plat::AppPath(), FileNameOf(base))};
    for (const QString& c : candidates)
        if (FileExists(c)) return c;
    return candidates[3];
}

} // namespace

void clsMapUnits::setIndex(int32_t i) {
    if (InRange(i, 1, Count())) index_ = static_cast<int16_t>(i);
}

MapUnitPtr clsMapUnits::Item(int32_t i) const {
    return InRange(i, 1, Count()) ? units_[static_cast<size_t>(i - 1)] : nullptr;
}

bool clsMapUnits::Modify() const {
    return std::any_of(units_.begin(), units_.end(), [](const MapUnitPtr& u) { return u->Modify(); });
}

int16_t clsMapUnits::Create(int32_t mode) {
    QString path = GetBaseMapMLL();
    try {
        int failure = 0;
        if (mode == 1) {
            mapMode_ = 1;
        } else if (mode == 2) {
            mapMode_ = 2;
            path = ChangeExt(path, QStringLiteral(".MXY"));
        } else {
            failure = 1;
        }
        if (failure == 0 && !units_.empty()) failure = 3;
        if (failure == 0) {
            auto unit = std::make_shared<clsMapUnit>();
            unit->setMapMode(mode);
            unit->setUnitName(path);
            if (!unit->Load()) {
                failure = 5;
            } else {
                unit->setSearchSwitch(false);
                units_.push_back(unit);
                index_ = 1;
            }
        }
        if (failure != 0) throw AppError(ErrGeneral, QString(), QStringLiteral("<%1> %2").arg(failure).arg(path));
        return 0;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("Create"));
    }
}

void clsMapUnits::ClearAll() {
    try {
        while (Count() >= 2) units_.erase(units_.begin() + 1);
        index_ = static_cast<int16_t>(Count());
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("ClearAll"));
    }
}

bool clsMapUnits::Add(const MapUnitPtr& unit, bool askForBase) {
    if (!unit || unit->Map().MapMode() != mapMode_) return false;
    if (units_.empty()) Create(mapMode_);
    const QString name = unit->UnitName();
    for (const MapUnitPtr& u : units_) {
        if (u->UnitName().compare(name, Qt::CaseInsensitive) == 0) {
            u->setDisplaySwitch(true);
            return false;
        }
    }
    if (FileNameOf(name).contains(QLatin1String("BASE"), Qt::CaseInsensitive)) {
        if (askForBase && !mayDropBase()) return false;
        units_.insert(units_.begin(), unit);
        units_.erase(units_.begin() + 1);
    } else {
        units_.push_back(unit);
    }
    index_ = static_cast<int16_t>(Count());
    return true;
}

bool clsMapUnits::mayDropBase() {
    const MapUnitPtr base = Base();
    if (!base || !base->Modify()) return true;
    // The question of unloading a unit, with Cancel to keep it.
    QString mapName = base->Map().MapName(gvLanguage);
    if (mapName.isEmpty()) mapName = FileNameOf(base->UnitName());
    const int answer = plat::MsgBox(QStringLiteral("地図ユニット / ") + mapName +
                                        QStringLiteral("\rには修正されたデータがあります.\r保存しますか？"),
                                    plat::MbYesNoCancel | plat::MbExclamation);
    if (answer == plat::IdNo) return true;
    if (answer != plat::IdYes) return false;
    base->setUnitName(base->UnitName());
    // A save that fails keeps the unit, edits and all.
    return base->Save(true);
}

bool clsMapUnits::Remove(int32_t i) {
    if (i < 2 || i > Count()) return false;
    units_.erase(units_.begin() + (i - 1));
    if (i < index_) --index_;
    index_ = static_cast<int16_t>(std::clamp<int32_t>(index_, 0, Count()));
    if (units_.empty()) index_ = 0;
    return true;
}

bool clsMapUnits::Optimize(uint8_t flags) {
    try {
        if (flags & 1) {
            for (int32_t i = 2; i <= Count();) {
                const MapUnitPtr u = units_[static_cast<size_t>(i - 1)];
                // A unit with edits not yet saved stays, however small.
                if (u->Map().Count() < 2 && !u->Modify()) Remove(i);
                else ++i;
            }
        }
        if ((flags & 2) && mapMode_ == 1 && Count() >= 2) {
            const MapUnitPtr active = Active();
            const QString activeName = active ? active->UnitName() : QString();
            const std::vector<MapUnitPtr> all = units_;
            ClearAll();
            // Kind 1 last: a base map that is not the base unit is kept too.
            for (int16_t k : {2, 4, 7, 3, 6, 5, 8, 0, 9, 1})
                for (const MapUnitPtr& u : all) {
                    const int32_t code = u->Map().MapCode();
                    if (code >= 0 && MapCodeKind(code) == k) Add(u);
                }
            for (const MapUnitPtr& u : all)
                if (u->Map().MapCode() < 0) Add(u);
            index_ = static_cast<int16_t>(Count());
            for (int32_t i = 1; i <= Count(); ++i) {
                if (units_[static_cast<size_t>(i - 1)]->UnitName().compare(activeName, Qt::CaseInsensitive) == 0) {
                    index_ = static_cast<int16_t>(i);
                    break;
                }
            }
        }
        if ((flags & 4) && mapMode_ == 1 && Count() > 2) {
            int16_t adminLevel = 0, topoLevel = 0;
            for (int32_t i = Count(); i >= 2; --i) {
                const MapUnitPtr& u = units_[static_cast<size_t>(i - 1)];
                const int32_t code = u->Map().MapCode();
                if (code < 0) continue;
                const int16_t kind = MapCodeKind(code);
                int16_t* remembered = kind == 3 || kind == 6 ? &adminLevel : kind == 4 || kind == 7 ? &topoLevel : nullptr;
                if (!remembered) continue;
                const int16_t level = MapCodeLevel(code);
                if (*remembered == 0) {
                    u->setDisplaySwitch(true);
                    *remembered = level;
                } else if (level != *remembered) {
                    u->setDisplaySwitch(false);
                }
            }
        }
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("Optimize"));
    }
}

void clsMapUnits::Undo() {
    try {
        for (const MapUnitPtr& u : units_) u->Map().Undo();
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("Undo"));
    }
}

void clsMapUnits::ResetUndo() {
    try {
        for (const MapUnitPtr& u : units_) u->Map().ResetUndo();
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("ResetUndo"));
    }
}

bool clsMapUnits::CanUndo() const {
    return std::any_of(units_.begin(), units_.end(), [](const MapUnitPtr& u) { return u->Map().CanUndo(); });
}

bool clsMapUnits::AddNew(QString name) {
    try {
        if (name.isEmpty()) name = JoinPath(gvMapFolder, QStringLiteral("Map") + DateTimeStamp(QString()));
        auto unit = std::make_shared<clsMapUnit>();
        unit->setMapMode(mapMode_);

        clsAdmins& admins = unit->Admins();
        admins.setFileName(catalogueFile(GetDefaultADM(), GetBaseMapADM()));
        if (admins.Load() != 0) return false;
        admins.setModify(true);

        clsThings& things = unit->Things();
        things.setFileName(catalogueFile(GetDefaultTHG(), GetBaseMapTHG()));
        if (things.Load() != 0) return false;
        things.setModify(true);

        unit->setUnitName(name);
        clsMap& map = unit->Map();
        const int32_t code = mapMode_ == 2 ? 290000 : 190000;
        map.MakeHeader(code, QString(), QString());
        // The header's code line is made through MakeMapCode, which takes no
        // user-map kind: a new user map is given its fixed code here.
        for (const MapFigurePtr& f : map) {
            if (f->FigCode() != 1) continue;
            auto rem = std::static_pointer_cast<clsMapRem>(f);
            if (rem->Key() == QStringLiteral("地図コード")) {
                rem->setComment(QStringLiteral("# 地図コード　　　：") + QString::number(code));
                break;
            }
        }
        map.Add(NewMapRem(QStringLiteral("ここに地図図形を追加してください.")));
        map.Add(NewMapRem(QString()));
        unit->setEstablished(true);
        return Add(unit);
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("AddNew"));
    }
}
