// The figure list's File menu commands that create, open, save and insert
// map files.
#include "frmMapListLogic.h"

#include "AppState.h"
#include "DoEvents.h"
#include "MapListHost.h"
#include "MessageBox.h"
#include "basHMap.h"
#include "basLibrary.h"

namespace {

QString MapExtension(int32_t mode) { return mode == 2 ? QStringLiteral(".MXY") : QStringLiteral(".MLL"); }

} // namespace

void frmMapListLogic::withClipMap(std::shared_ptr<clsMap> map, const std::function<void()>& command) {
    std::swap(ClipMap, map);
    struct PutBack {
        frmMapListLogic& list;
        std::shared_ptr<clsMap>& kept;
        ~PutBack() {
            std::swap(list.ClipMap, kept);
            list.PrintClipCount();
        }
    } putBack{*this, map};
    command();
}

void frmMapListLogic::CreateUnit() {
    if (!MapUnits) return;
    const int32_t mode = MapUnits->MapMode();
    const QString proposed = JoinPath(gvMapFolder, QStringLiteral("UserMap") + DateTimeStamp(QString()) + MapExtension(mode));
    QString name = maplisthost::InputSaveName(QStringLiteral("新しい地図ファイル"), MapFileFilter(), proposed);
    if (name.isEmpty()) return;
    name = ChangeExt(name, MapExtension(mode));
    // A second unit on the same files would overwrite the first one's work.
    for (const MapUnitPtr& u : *MapUnits) {
        if (u->UnitName().compare(name, Qt::CaseInsensitive) == 0) {
            plat::MsgBox(name + QStringLiteral("\r\nは既に読み込まれています."), plat::MbCritical);
            return;
        }
    }
    {
        LongOperation busy(*this);
        plat::DoEvents();
        if (!MapUnits->AddNew(name)) return;
        MapUnits->setIndex(MapUnits->Count());
        MapUnits->Active()->Save(true);
    }
    RebuildUnitMenu();
    ChooseUnit(MapUnits->Index());
}

void frmMapListLogic::OpenUnit() {
    if (!MapUnits) return;
    const QString name = AskMapFileToOpen();
    if (name.isEmpty()) return;
    auto unit = std::make_shared<clsMapUnit>();
    unit->setMapMode(MapUnits->MapMode());
    unit->setUnitName(name);
    if (!unit->Load()) return;
    if (MapUnits->Add(unit)) {
        MapUnits->setIndex(MapUnits->Count());
    } else {
        // Already in the set: that unit is shown.
        for (int32_t i = 1; i <= MapUnits->Count(); ++i)
            if (MapUnits->Item(i)->UnitName().compare(unit->UnitName(), Qt::CaseInsensitive) == 0) MapUnits->setIndex(i);
    }
    RebuildUnitMenu();
    ChooseUnit(MapUnits->Index());
}

void frmMapListLogic::OverwriteUnit() {
    if (!MapUnit) return;
    MapUnit->Save(true);
    if (!MapUnits->Modify()) maplisthost::ResetSaveReminder();
    PrintCaption();
}

void frmMapListLogic::SaveUnitAs() {
    if (!MapUnit) return;
    const QString name = AskMapFileToSave(MapUnit->UnitName());
    if (name.isEmpty()) return;
    MapUnit->setUnitName(name);
    OverwriteUnit();
}

void frmMapListLogic::InsertMapFile() {
    if (!MapUnit || !ConfirmAddFigure(*MapUnit)) return;
    const QString name = AskMapFileToOpen();
    if (name.isEmpty()) return;
    auto map = std::make_shared<clsMap>();
    map->setMapMode(MapUnit->Map().MapMode());
    map->setEiUndo(false);
    map->setFileName(name);
    int32_t result = 0;
    {
        LongOperation busy(*this);
        plat::DoEvents();
        try {
            result = map->Load();
        } catch (const AppError&) {
            // The load has shown why: a file that is no map, or cancel in
            // the file-error box, inserts nothing and ends the command.
            return;
        }
    }
    if (result != 0) return;
    withClipMap(map, [this] { Paste(); });
}

void frmMapListLogic::SaveSelectionAsMap() {
    if (!MapUnit) return;
    const int32_t mode = MapUnits->MapMode();
    auto copy = std::make_shared<clsMap>();
    copy->setMapMode(mode);
    copy->setEiUndo(false);
    withClipMap(copy, [this] { Copy(); });
    // A copy stopped by Esc is not the selection: nothing is written.
    if (EscAbort || copy->Count() < 1) return;
    copy->Ins(1, NewMapRem(QString()));
    copy->setVersion(kMapVersion106);
    const QString proposed = JoinPath(FolderOf(MapUnit->Map().FileName()), QStringLiteral("BlockMap") + MapExtension(mode));
    const QString name = AskMapFileToSave(proposed);
    if (name.isEmpty()) return;
    auto unit = std::make_shared<clsMapUnit>();
    unit->setMapMode(mode);
    unit->setMap(copy);
    // The copies are new files: a read-only source does not lock them.
    auto admins = MapUnit->Admins().Copy();
    admins->setLockMode(false);
    admins->setModify(true);
    unit->setAdmins(admins);
    auto things = MapUnit->Things().Copy();
    things->setLockMode(false);
    things->setModify(true);
    unit->setThings(things);
    unit->setUnitName(name);
    unit->setEstablished(true);
    unit->Save(false);
}
