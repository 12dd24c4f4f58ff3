// The "PUBLIC" settings and the settings snapshots of the application state.
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <vector>

#include "AppError.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MessageBox.h"
#include "PublicVal.h"
#include "PublicValInternal.h"
#include "SettingsStore.h"
#include "TextFile.h"
#include "basFileNames.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "clsAccessory.h"
#include "clsCanvas.h"
#include "clsMapPlot.h"
#include "clsProjector.h"
#include "clsRegistry.h"

using namespace publicval;

namespace {

const QString kPublic = QStringLiteral("PUBLIC");
constexpr int64_t kMaxUnitsPerSet = 256;
constexpr int64_t kLonLimit = 648000;
constexpr int64_t kLatLimit = 324000;
constexpr int32_t kDefaultHomeLat = 185318;

MainWindowCorner gCorner;
float gWindowLeft = 1000;
float gWindowTop = 1000;

int64_t clampLong(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

int32_t oneOrTwo(int64_t v) { return v == 2 ? 2 : 1; }

double scaleOr(double v, double def) { return std::isfinite(v) ? LimitMapScale(v) : LimitMapScale(def); }

// A window corner in twips: far beyond any screen, yet every whole number up
// to it is a float, so what is written reads back as itself.
constexpr double kCornerLimit = 1 << 24;

float cornerOr(double v, float def) {
    if (!std::isfinite(v)) return def;
    return static_cast<float>(std::clamp(v, -kCornerLimit, kCornerLimit));
}

// The owners of the snapshot sections after "PUBLIC", in file order: store
// puts the owner's settings into the settings store, restore reads them
// back. A plot engine writes and reads its graticule's section with its own,
// so the graticule sections have no step of their own.
struct OwnerSection {
    QString name;
    void (*store)();
    void (*restore)();
};

const std::vector<OwnerSection>& ownerSections() {
    static const std::vector<OwnerSection> sections{
        {QStringLiteral("ACCESSORY"),
         [] {
             if (gvAccessory) gvAccessory->WriteRegistry();
         },
         [] {
             if (gvAccessory) gvAccessory->ReadRegistry();
         }},
        {QStringLiteral("LLPLOT"),
         [] {
             if (gvMapPlotLL) gvMapPlotLL->WriteRegistry();
         },
         [] {
             if (gvMapPlotLL) gvMapPlotLL->ReadRegistry();
         }},
        {QStringLiteral("LLGRID"), nullptr, nullptr},
        {QStringLiteral("XYPLOT"),
         [] {
             if (gvMapPlotXY) gvMapPlotXY->WriteRegistry();
         },
         [] {
             if (gvMapPlotXY) PrepareXYPlot(*gvMapPlotXY);
         }},
        {QStringLiteral("XYGRID"), nullptr, nullptr},
        {clsCanvas::RegistrySection(),
         [] {
             if (gvCanvas) gvCanvas->WriteRegistry();
         },
         [] {
             if (gvCanvas) gvCanvas->ReadRegistry();
         }},
        {clsProjector::RegistrySection(),
         [] {
             if (gvProjector) gvProjector->WriteRegistry();
         },
         [] {
             if (gvProjector) gvProjector->ReadRegistry();
         }},
    };
    return sections;
}

struct UnitKeys {
    QString count, map, thing, admin, sw;
};

UnitKeys unitKeys(int32_t mode) {
    const QString s = mode == 1 ? QStringLiteral("LL") : QStringLiteral("XY");
    return {s + QStringLiteral("count"), QStringLiteral("Map") + s, QStringLiteral("Thing") + s,
            QStringLiteral("Administration") + s, QStringLiteral("Switch") + s};
}

QString unitKey(int64_t n, const QString& name) { return QString::number(n) + QLatin1Char(':') + name; }

// Every modified unit has been offered for saving before: a unit the list
// replaces (the base) is not asked about again.
void readUnits(const clsRegistry& reg, clsMapUnits* units, int32_t mode) {
    if (!units) return;
    const UnitKeys k = unitKeys(mode);
    units->ClearAll();
    const int64_t count = clampLong(reg.RegGetLong(k.count, 1), 0, kMaxUnitsPerSet);
    for (int64_t n = 1; n <= count; ++n) {
        auto unit = std::make_shared<clsMapUnit>();
        unit->setMapMode(mode);
        const QString map = reg.RegGet(unitKey(n, k.map), QString());
        if (map.isEmpty()) continue;
        unit->Map().setFileName(map);
        unit->Things().setFileName(reg.RegGet(unitKey(n, k.thing), GetDefaultTHG()));
        unit->Admins().setFileName(reg.RegGet(unitKey(n, k.admin), GetDefaultADM()));
        const int64_t sw = reg.RegGetLong(unitKey(n, k.sw), 3);
        unit->setDisplaySwitch((sw & 2) != 0);
        unit->setSearchSwitch((sw & 1) != 0);
        if (unit->Load()) units->Add(unit, false);
    }
}

void writeUnits(clsRegistry& reg, const clsMapUnits* units, int32_t mode) {
    const UnitKeys k = unitKeys(mode);
    reg.RegPut(k.count, units ? units->Count() : 0);
    if (!units) return;
    int64_t n = 0;
    for (const MapUnitPtr& u : *units) {
        ++n;
        reg.RegPut(unitKey(n, k.map), u->Map().FileName());
        reg.RegPut(unitKey(n, k.thing), u->Things().FileName());
        reg.RegPut(unitKey(n, k.admin), u->Admins().FileName());
        reg.RegPut(unitKey(n, k.sw), (u->DisplaySwitch() ? 2 : 0) + (u->SearchSwitch() ? 1 : 0));
    }
}

bool isFixedSnapshot(const QString& path) {
    const QString name = FileNameOf(path).toUpper();
    for (const QString& fixed : {GetLogLast(), GetLogClip(), GetLogPrint(), GetLogError()})
        if (FileNameOf(fixed).toUpper() == name) return true;
    return false;
}

// As on closing: each modified unit is offered for saving. False when the
// user cancels or a chosen save fails.
bool offerToSaveModifiedUnits() {
    for (clsMapUnits* units : {gvMapUnitsLL, gvMapUnitsXY}) {
        if (!units) continue;
        for (const MapUnitPtr& u : *units) {
            if (!u->Modify()) continue;
            const int answer = plat::MsgBox(QStringLiteral("地図ユニット / ") + u->Map().MapName(static_cast<int32_t>(gvLanguage)) +
                                                QStringLiteral("\rには修正されたデータがあります.\r保存しますか？"),
                                            plat::MbYesNoCancel + plat::MbQuestion);
            if (answer == plat::IdCancel) return false;
            if (answer != plat::IdYes) continue;
            u->setUnitName(u->UnitName());
            if (!u->Save(true)) return false;
        }
    }
    return true;
}

} // namespace

void SetMainWindowCorner(MainWindowCorner corner) { gCorner = std::move(corner); }

void gvReadRegistry(bool withUnits) {
    try {
        const clsRegistry reg(kPublic);
        gvMapMode = oneOrTwo(reg.RegGetLong(QStringLiteral("MapMode"), 1));
        gvExpert = reg.RegGetBool(QStringLiteral("Expert"), false);
        gvLastSavePath = reg.RegGet(QStringLiteral("LastSavePath"), QString());
        gvLastLog = reg.RegGet(QStringLiteral("LastLog"), QString());
        gvLanguage = oneOrTwo(reg.RegGetLong(QStringLiteral("Language"), 1));
        gWindowLeft = cornerOr(reg.RegGetDouble(QStringLiteral("WindowLeft"), 1000), 1000);
        gWindowTop = cornerOr(reg.RegGetDouble(QStringLiteral("WindowTop"), 1000), 1000);
        if (gCorner.move) gCorner.move(gWindowLeft, gWindowTop);
        const QString mapPath = reg.RegGet(QStringLiteral("MapPath"), gvMapFolder);
        // A folder that is gone (a removed drive, a mistyped setting) would make
        // every later start fail on the base map: keep the program's own then.
        if (!mapPath.isEmpty() && QFileInfo(mapPath).isDir()) gvMapFolder = mapPath;
        gvStartMapType = static_cast<int16_t>(clampLong(reg.RegGetLong(QStringLiteral("StartMapType"), 2), 0, 2));
        SetGvStartMapFile(reg.RegGet(QStringLiteral("StartMapFile"), gvStartMapFile));
        const int64_t dpi = reg.RegGetLong(QStringLiteral("ScreenDPI"), ScreenDPI());
        gvScreenDPI = static_cast<int16_t>(dpi < 4 ? ScreenDPI() : clampLong(dpi, 4, 32767));
        gvAngleValue = static_cast<int16_t>(clampLong(reg.RegGetLong(QStringLiteral("AngleValue"), 1), 1, 5));
        gvAngleUnit = static_cast<int16_t>(clampLong(reg.RegGetLong(QStringLiteral("AngleUnit"), 4), 1, 6));
        gvAngleDirection = static_cast<int16_t>(clampLong(reg.RegGetLong(QStringLiteral("AngleDirection"), 3), 1, 4));
        gvHomeLon = static_cast<int32_t>(clampLong(reg.RegGetLong(QStringLiteral("HomeLon"), 0), -kLonLimit, kLonLimit));
        gvHomeLat = static_cast<int32_t>(
            clampLong(reg.RegGetLong(QStringLiteral("HomeLat"), kDefaultHomeLat), -kLatLimit, kLatLimit));
        gvHomeScaleLL = scaleOr(reg.RegGetDouble(QStringLiteral("HomeScaleLL"), MapScaleMax / 50), MapScaleMax / 50);
        gvHomeX = static_cast<int32_t>(clampLong(reg.RegGetLong(QStringLiteral("HomeX"), 0), -MaxXY, MaxXY));
        gvHomeY = static_cast<int32_t>(clampLong(reg.RegGetLong(QStringLiteral("HomeY"), 0), -MaxXY, MaxXY));
        gvHomeScaleXY = scaleOr(reg.RegGetDouble(QStringLiteral("HomeScaleXY"), MapScaleMax / 50), MapScaleMax / 50);
        gvSaveInterval = static_cast<int16_t>(clampLong(reg.RegGetLong(QStringLiteral("SaveInterval"), 15), 0, 30));
        if (withUnits) {
            readUnits(reg, gvMapUnitsLL, 1);
            readUnits(reg, gvMapUnitsXY, 2);
        }
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("gvReadRegistry"));
    }
}

void gvWriteRegistry(bool withUnits) {
    try {
        plat::SettingsStore::Batch batch;
        clsRegistry reg(kPublic);
        reg.RegDelete(QString());
        if (gCorner.get) gCorner.get(gWindowLeft, gWindowTop);
        reg.RegPut(QStringLiteral("WindowLeft"), static_cast<double>(gWindowLeft));
        reg.RegPut(QStringLiteral("WindowTop"), static_cast<double>(gWindowTop));
        reg.RegPut(QStringLiteral("Language"), static_cast<int>(gvLanguage));
        reg.RegPut(QStringLiteral("MapMode"), gvMapMode);
        reg.RegPut(QStringLiteral("Expert"), gvExpert);
        reg.RegPut(QStringLiteral("LastSavePath"), gvLastSavePath);
        reg.RegPut(QStringLiteral("LastLog"), gvLastLog);
        reg.RegPut(QStringLiteral("MapPath"), gvMapFolder);
        reg.RegPut(QStringLiteral("StartMapType"), gvStartMapType);
        reg.RegPut(QStringLiteral("StartMapFile"), gvStartMapFile);
        reg.RegPut(QStringLiteral("ScreenDPI"), gvScreenDPI);
        reg.RegPut(QStringLiteral("AngleValue"), gvAngleValue);
        reg.RegPut(QStringLiteral("AngleUnit"), gvAngleUnit);
        reg.RegPut(QStringLiteral("AngleDirection"), gvAngleDirection);
        reg.RegPut(QStringLiteral("HomeLon"), gvHomeLon);
        reg.RegPut(QStringLiteral("HomeLat"), gvHomeLat);
        reg.RegPut(QStringLiteral("HomeScaleLL"), gvHomeScaleLL);
        reg.RegPut(QStringLiteral("HomeX"), gvHomeX);
        reg.RegPut(QStringLiteral("HomeY"), gvHomeY);
        reg.RegPut(QStringLiteral("HomeScaleXY"), gvHomeScaleXY);
        reg.RegPut(QStringLiteral("SaveInterval"), gvSaveInterval);
        if (withUnits) {
            writeUnits(reg, gvMapUnitsLL, 1);
            writeUnits(reg, gvMapUnitsXY, 2);
        }
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("gvWriteRegistry"));
    }
}

int32_t gvWriteLog(const QString& file) {
    try {
        const QString path = ChangeExt(file, QStringLiteral(".PLG"));
        if (IsReadOnlyFile(path, true)) return LogReadOnly;
        if (!isFixedSnapshot(path)) gvLastLog = path;
        gvWriteRegistry(true);
        for (const OwnerSection& s : ownerSections())
            if (s.store) s.store();
        // The section writer cleans each value so that it reads back: a path
        // may hold line breaks or characters without a Shift-JIS form, and
        // one of them must not cost the whole snapshot.
        plat::TextWriter out(path);
        clsRegistry(kPublic).WriteFile(out);
        for (const OwnerSection& s : ownerSections()) clsRegistry(s.name).WriteFile(out);
        out.commit();
        return LogOK;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("gvWriteLog"));
    }
}

int32_t gvReadLog(const QString& file) {
    try {
        const QString path = ChangeExt(file, QStringLiteral(".PLG"));
        if (!FileExists(path)) {
            MsgError(QStringLiteral("ログファイルが存在しません.\r\n") + path);
            return LogMissing;
        }
        // Read through and recognised before anything is touched: a file that
        // is no snapshot would otherwise empty the unit sets.
        std::optional<plat::TextReader> read;
        bool snapshot = false;
        for (;;) {
            try {
                snapshot = false;
                read.emplace(path, kMaxSnapshotBytes);
                const QString header = QLatin1Char('[') + kPublic + QLatin1Char(']');
                while (!read->atEnd())
                    if (read->readLine() == header) snapshot = true;
                read->seekStart();
                break;
            } catch (...) {
                const AppError e = plat::CurrentError();
                if (e.number() == plat::ErrOutOfMemory) {
                    MsgError(QStringLiteral("ログファイルが大きすぎます. (上限 8 MiB)\r\n") + path);
                    return LogTooLarge;
                }
                if (!IsFileError(e)) break;   // not Shift-JIS text: no snapshot
                if (ShowFileError(e, path) != 0) return e.number();
            }
        }
        if (!snapshot) {
            MsgError(QStringLiteral("ログファイルの形式が正しくありません.\r\n") + path);
            return LogBadFormat;
        }
        plat::TextReader& in = *read;
        if (!offerToSaveModifiedUnits()) return LogCancelled;
        {
            plat::SettingsStore::Batch batch;
            clsRegistry(QStringLiteral("FILE")).ReadFile(in);
            clsRegistry(kPublic).ReadFile(in);
            for (const OwnerSection& s : ownerSections()) clsRegistry(s.name).ReadFile(in);
        }
        gvReadRegistry(true);
        for (const OwnerSection& s : ownerSections())
            if (s.restore) s.restore();
        return LogOK;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("gvReadLog"));
    }
}
