// Loading and saving the three files of a map unit, in the order and with
// the fall-backs the load and save dialogs follow. The dialogs of the main
// window only show what a MapUnitIoReporter is told; the work is done here.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class clsMapUnit;

// What the load and save dialogs show.
class MapUnitIoReporter {
public:
    virtual ~MapUnitIoReporter() = default;
    // The file being loaded or saved, as a full path (shown shortened).
    virtual void FileName(const QString& path) = 0;
    // "Loading...", "Saving..." or "Success.".
    virtual void Status(const QString& text) = 0;
    // Per cent 0..100 of the map file read or written. A dialog also lets
    // pending window events run here.
    virtual void Progress(int16_t percent) = 0;
};

// Keeps what a dialog would show, in order: the path, the status texts and
// the per cents as "n%".
class HeadlessMapUnitIoReporter : public MapUnitIoReporter {
public:
    void FileName(const QString& path) override { Events.append(path); }
    void Status(const QString& text) override { Events.append(text); }
    void Progress(int16_t percent) override { Events.append(QString::number(percent) + QLatin1Char('%')); }
    QStringList Events;
};

// Loads the district file, the thing file and the map file of the unit, in
// this order. Each is looked for as named, then under its own name in the
// map folder, then beside the program; a catalogue found nowhere falls back
// on the default catalogue ("DEFAULT.ADM", "DEFAULT.THG"). A map found
// nowhere leaves the map emptied and unlocked, and its load then fails with
// the missing-file message. At the first failure the name that file had is
// put back and nothing further is loaded. A unit loaded in full is
// established. An error raised while loading (the
// file-error box has shown it) is a failure.
bool LoadMapUnitFiles(clsMapUnit& unit, MapUnitIoReporter& reporter);

// Saves the district catalogue, the thing catalogue and the map, each when
// it is modified, not locked, and holds at least one entry or belongs to an
// established unit (a map whose figures were all deleted, an emptied
// catalogue, a new unit's files); then,
// when logName is not empty, the settings snapshot under logName with the
// extension ".PLG". True when every file that needed saving was saved and
// the snapshot was written; a failed file does not keep the others from
// being saved.
bool SaveMapUnitFiles(clsMapUnit& unit, const QString& logName, MapUnitIoReporter& reporter);

// The modal dialogs that clsMapUnit::Load and Save show. The application
// installs its dialogs, which run the functions above with themselves as
// reporter; until then both run with a headless reporter. An empty function
// restores that default.
using MapUnitLoadDialog = std::function<bool(clsMapUnit& unit)>;
using MapUnitSaveDialog = std::function<bool(clsMapUnit& unit, const QString& logName)>;
void SetMapUnitDialogs(MapUnitLoadDialog load, MapUnitSaveDialog save);
bool ShowMapUnitLoad(clsMapUnit& unit);
bool ShowMapUnitSave(clsMapUnit& unit, const QString& logName);

// The application's writer of settings snapshots; True when the file was
// written. Until one is installed nothing is written and the result is True.
using WriteLogHook = std::function<bool(const QString& path)>;
void SetWriteLogHook(WriteLogHook hook);
