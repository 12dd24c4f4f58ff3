#include "MapUnitIo.h"

#include "AppError.h"
#include "AppInfo.h"
#include "AppState.h"
#include "ErrorMng.h"
#include "basFileNames.h"
#include "basLibrary.h"
#include "clsMapUnit.h"

namespace {

MapUnitLoadDialog gLoadDialog;
MapUnitSaveDialog gSaveDialog;
WriteLogHook gWriteLog;

const QString kLoading = QStringLiteral("Loading...");
const QString kSaving = QStringLiteral("Saving...");
const QString kSuccess = QStringLiteral("Success.");

// The first existing file of: the name as given, its file name in the map
// folder, beside the program, then the fall-back; empty when none exists.
QString locate(const QString& given, const QString& fallback) {
    QStringList candidates{given};
    const QString name = FileNameOf(given);
    if (!gvMapFolder.isEmpty()) candidates.append(JoinPath(gvMapFolder, name));
    candidates.append(JoinPath(plat::AppPath(), name));
    if (!fallback.isEmpty()) candidates.append(fallback);
    for (const QString& c : candidates)
        if (FileExists(c)) return c;
    return QString();
}

// Runs one load or save; an error it raises is a failure. The loads and
// saves show their errors in the file-error box before they raise them.
bool attempt(const std::function<bool()>& work) {
    try {
        return work();
    } catch (...) {
        return false;
    }
}

// Hands the map's per cents to the reporter while it lives.
class ProgressRelay {
public:
    ProgressRelay(clsMap& map, MapUnitIoReporter& reporter) : map_(map), old_(std::move(map.Progress)) {
        map_.Progress = [&reporter](int16_t p) { reporter.Progress(p); };
    }
    ~ProgressRelay() { map_.Progress = std::move(old_); }
    ProgressRelay(const ProgressRelay&) = delete;
    ProgressRelay& operator=(const ProgressRelay&) = delete;

private:
    clsMap& map_;
    std::function<void(int16_t)> old_;
};

template <class Catalogue>
bool loadCatalogue(Catalogue& c, const QString& fallback, MapUnitIoReporter& r) {
    const QString given = c.FileName();
    const QString path = locate(given, fallback);
    if (!path.isEmpty()) c.setFileName(path);
    r.FileName(c.FileName());
    r.Status(kLoading);
    if (!attempt([&] { return c.Load() == 0; })) {
        c.setFileName(given);
        return false;
    }
    r.Status(kSuccess);
    return true;
}

} // namespace

bool LoadMapUnitFiles(clsMapUnit& unit, MapUnitIoReporter& r) {
    if (!loadCatalogue(unit.Admins(), GetDefaultADM(), r)) return false;
    if (!loadCatalogue(unit.Things(), GetDefaultTHG(), r)) return false;
    clsMap& map = unit.Map();
    const QString given = map.FileName();
    const QString path = locate(given, QString());
    if (path.isEmpty()) {
        map.setLockMode(false);
        map.Clear();
    } else {
        map.setFileName(path);
    }
    r.FileName(map.FileName());
    r.Status(kLoading);
    bool ok;
    {
        ProgressRelay relay(map, r);
        ok = attempt([&] { return map.Load() == 0; });
    }
    if (!ok) {
        map.setFileName(given);
        return false;
    }
    r.Status(kSuccess);
    unit.setEstablished(true);
    return true;
}

bool SaveMapUnitFiles(clsMapUnit& unit, const QString& logName, MapUnitIoReporter& r) {
    bool ok = true;
    auto saveOne = [&](bool needed, const QString& fileName, const std::function<bool()>& save) {
        if (!needed) return;
        r.FileName(fileName);
        r.Status(kSaving);
        if (attempt(save)) r.Status(kSuccess);
        else ok = false;
    };
    clsAdmins& admins = unit.Admins();
    saveOne(admins.Modify() && (admins.Count() >= 1 || unit.Established()) && !admins.LockMode(), admins.FileName(),
            [&] { return admins.Save() == 0; });
    clsThings& things = unit.Things();
    saveOne(things.Modify() && (things.Count() >= 1 || unit.Established()) && !things.LockMode(), things.FileName(),
            [&] { return things.Save() == 0; });
    clsMap& map = unit.Map();
    saveOne(map.Modify() && (map.Count() >= 1 || unit.Established()) && !map.LockMode(), map.FileName(), [&] {
        ProgressRelay relay(map, r);
        return map.Save() == 0;
    });
    if (!logName.isEmpty()) {
        const QString log = ChangeExt(logName, QStringLiteral(".PLG"));
        bool written;
        try {
            written = !gWriteLog || gWriteLog(log);
        } catch (...) {
            written = false;
        }
        if (!written) ok = false;
    }
    return ok;
}

void SetMapUnitDialogs(MapUnitLoadDialog load, MapUnitSaveDialog save) {
    gLoadDialog = std::move(load);
    gSaveDialog = std::move(save);
}

bool ShowMapUnitLoad(clsMapUnit& unit) {
    if (gLoadDialog) return gLoadDialog(unit);
    HeadlessMapUnitIoReporter r;
    return LoadMapUnitFiles(unit, r);
}

bool ShowMapUnitSave(clsMapUnit& unit, const QString& logName) {
    if (gSaveDialog) return gSaveDialog(unit, logName);
    HeadlessMapUnitIoReporter r;
    return SaveMapUnitFiles(unit, logName, r);
}

void SetWriteLogHook(WriteLogHook hook) { gWriteLog = std::move(hook); }
