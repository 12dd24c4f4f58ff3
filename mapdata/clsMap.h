// One map: an ordered collection of figures (positions 1..Count) with the
// name, map mode, file version and write protection of its file, a change
// count, an undo list that reverts the current edit, the header remarks
// ("# key：value" lines among the first 50 figures) and the binary map file.
//
// Edits check the lock first: on a locked map they show
// "<file>\r\nは変更禁止. [<edit>]" and change nothing. While the map is being
// read or written (its Progress handler may let other events run) every
// edit, load and save is refused the same way.
//
// The map file: a version record, then one record per figure (see
// clsMapFigure). Files of 1.00 to 1.06 and the projection-condition form are
// read. A map is written in its own version where that version holds all it
// has; a map read from a file before 1.04, a 1.04 map with an own colour
// outside the palette or a jump mark, and a map whose long point sequences
// cannot be reduced for its version are written as 1.06. Saving writes a
// temporary file and puts it in place only when it is complete; the previous
// file is kept as ".M$$" until then.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "clsMapFigure.h"

namespace plat {
class BinaryReader;
class BinaryWriter;
} // namespace plat

// The cruise engine's border scale denominators between the standard-map
// levels (level 0..8; level k spans borders k - 1 down to k; 0 outside).
// The navigation subsystem installs its engine; until then the standard
// borders serve: MapScaleMax divided by 1, 10, 20, 50, 100, 200, 500, 2000
// and 10000.
using BorderScaleHook = std::function<double(int16_t level)>;
void SetBorderScaleHook(BorderScaleHook hook);
double BorderScale(int16_t level);

class clsMap {
public:
    using FigureList = std::vector<MapFigurePtr>;

    clsMap() = default;
    ~clsMap();
    clsMap(const clsMap&) = delete;
    clsMap& operator=(const clsMap&) = delete;

    // -- state
    // The change count, or when it is 0 the first modified figure.
    bool Modify() const;
    // False clears every figure's flag and the count; True makes it at least 1.
    void setModify(bool v);
    const QString& FileName() const { return fileName_; }
    // Ignored when empty or unchanged; else the extension of the map mode is
    // put on, the change count grows and the lock is lifted.
    void setFileName(const QString& name);
    int32_t MapMode() const { return mapMode_; }
    // 1 or 2, only while the map has no figures.
    void setMapMode(int32_t mode);
    bool LockMode() const { return lockMode_; }
    void setLockMode(bool v);
    bool EiUndo() const { return eiUndo_; }
    void setEiUndo(bool v) { eiUndo_ = v; }
    // The stored version, taken over from a version line saying 1.06 or 1.05.
    int16_t Version();
    // 99..106: rewrites every version line of the header (or inserts one at
    // position 1) and stores the version.
    void setVersion(int16_t v);
    // True while the map file is being read or written.
    bool Busy() const { return busy_; }

    // -- figures
    int32_t Count() const { return static_cast<int32_t>(figures_.size()); }
    // The collection itself: changes through it bypass the lock, the change
    // count and undo.
    FigureList& MapCollection() { return figures_; }
    FigureList::const_iterator begin() const { return figures_.begin(); }
    FigureList::const_iterator end() const { return figures_.end(); }
    bool IsRight() const;
    int32_t FigCode(int32_t i) const;
    MapFigurePtr Item(int32_t i) const;

    // -- edits (False, with a message, on a locked or busy map)
    void Clear();
    bool Add(const MapFigurePtr& fig);
    bool Ins(int32_t i, const MapFigurePtr& fig);
    bool Inss(int32_t i, const FigureList& figs);
    bool Remove(int32_t i);
    bool Removes(int32_t first, int32_t last);
    bool Renew(int32_t i, const MapFigurePtr& fig);
    // Places the figure at `from` just before the one that stood at `to`.
    bool Move(int32_t from, int32_t to);

    // -- searches
    int32_t SearchJumpMark(int16_t mark) const;
    int32_t SearchReserve(int32_t start, int32_t value) const;
    // The value of the first remark of the whole map with that key (case ignored).
    QString SearchRem(const QString& key) const;

    // -- undo
    // Reverts the current edit here and in the companion.
    void Undo();
    void ResetUndo() { eraseUndo(); }
    bool CanUndo() const;
    // The map whose undo follows this one's: a unit's trash, which takes the
    // figures this map lets go and gives them back. Whatever erases, reverts
    // or asks this map's undo does the same with the companion's, so one
    // undo reverts an edit that moved figures between the two, and an edit
    // that left the companion alone reverts nothing there. Not this map
    // itself; the companion is not kept alive by the link.
    void setUndoCompanion(const std::shared_ptr<clsMap>& companion);

    // -- header (a value that cannot be read counts as unknown: -1, the
    // empty text or the zero date)
    QString Kind() const;
    int16_t Country() const;
    int16_t Level() const;
    int32_t MapCode() const;
    QString MapName(int32_t lang) const;
    QString ProjectionName();
    QDateTime LastDate() const;
    void setLastDate(const QDateTime& d);
    bool MakeHeader(int32_t mapCode, const QString& europeanName, const QString& japaneseName);

    // -- the map file
    // 0, 53 when the file is missing (the map stays as it was), or the
    // number of an error the user chose to skip; other errors are passed on.
    // A map holding texts too long to be saved again loads with a warning.
    int32_t Load();
    // 0 (also when there is nothing to save), 70 for a read-only file (the
    // map stays modified), 6 after a message naming a text too long for the
    // file (nothing written), or the number of an error the user chose to
    // skip.
    int32_t Save();
    // Per cent 0..100 of the file read or written, in steps of 4 and a last
    // 100. The map is busy during every event, the last one included, so a
    // handler cannot edit it between reading or writing and the end.
    std::function<void(int16_t percent)> Progress;

    // The file's bytes into figures: version detection and every record,
    // raising Progress. Errors 0x800403EE (version) and 0x800403EF (record,
    // "...(Line:n, Figure:c)"); the map then holds the figures read so far.
    // No lock, undo or message: Load wraps it.
    void ReadFrom(const QByteArray& bytes);
    // The version a save writes (see the file notes above); reduces long
    // point sequences in their figures when that version needs it.
    int16_t PrepareSaveVersion();
    // The same without reducing anything (a sequence that cannot be reduced
    // is found only by trying).
    int16_t SaveVersion();
    // The position of the first figure that version cannot hold (only a
    // text too long to count, for a version a save chooses); 0 when none.
    // count, when given, gets the number of such figures. A save refuses
    // such a map with a message naming the figure; a load warns of it.
    int32_t FirstUnsavable(int16_t version, int32_t* count = nullptr) const;
    // The version record and every figure in that version, raising Progress.
    // A version below 1.04 (which Save never chooses) gets a version record
    // of its own layout, so that the bytes read back; 99 is written as 1.00.
    void WriteTo(plat::BinaryWriter& out, int16_t version);

private:
    struct UndoRecord {
        int16_t kind;         // 1 added at position, 2 removed from position
        int32_t position;
        MapFigurePtr figure;  // none for the records of Inss
    };

    bool Refused(const QString& edit) const;
    void eraseUndo();
    bool InBound(int32_t i) const { return i >= 1 && i <= Count(); }
    void AddUndo(int16_t kind, int32_t position, const MapFigurePtr& fig);
    void InsertAt(int32_t i, const MapFigurePtr& fig);   // 1-based; past the end appends
    // Takes out the figure at `from` and puts `fig` at `to` (past the end:
    // appended), recording both steps.
    void Relocate(int32_t from, int32_t to, MapFigurePtr fig);   // by value: fig may be the one taken out
    void RaiseProgress(int64_t done, int64_t total);
    int32_t SearchHeaderLine(const QString& key) const;
    QString SearchHeader(const QString& key) const;
    void ReadRecords(plat::BinaryReader& in, int64_t total);
    int32_t DoLoad();
    int32_t DoSave();

    FigureList figures_;
    QString fileName_ = QStringLiteral("BLANK.MLL");
    int32_t mapMode_ = 1;
    int16_t version_ = kMapVersion106;
    mutable int32_t changes_ = 0;
    bool lockMode_ = false;
    bool eiUndo_ = true;
    bool busy_ = false;
    std::vector<UndoRecord> undo_;
    std::weak_ptr<clsMap> companion_;
    QString projectionName_;
    int16_t lastPercent_ = -1;
};
