// Cruise: picks, loads and shows the standard maps that suit the scale and
// area of the latitude/longitude view.
//
// The view's scale denominator selects one of 8 levels through seven border
// scales (level 1 the smallest scale; a denominator equal to a border
// belongs to the smaller-scale level). For the level the engine nominates
// the standard maps of the chosen kinds: one world map at levels 1..6, one
// map per country under the view at levels 7 and 8 (the countries from the
// country grid). When a nominated file is missing it may fall back, level by
// level, to maps of smaller scales. Then it hides the standard maps shown so
// far and shows the nominated ones, loading only those not loaded yet.
//
// Standard map codes (mode 1, kind, level L, country ccc):
//   ocean floor        120000 at every level (the one map of bit 0 below)
//   administrative     13L000 at levels 1..6, 16L000 + ccc at 7..8
//   topographic        14L000,                17L000 + ccc
//   traffic            15L000,                18L000 + ccc
//
// The availability mask (GetStdMapList) has bit i set when the file of code
// i of this table exists:
//   0 120000; 1..6 131000..136000; 7..12 141000..146000; 13..18
//   151000..156000; 19, 20 167392, 168392; 21, 22 177392, 178392; 23, 24
//   187392, 188392.
//
// The standard-map list "CRUISE05.LST" (Shift-JIS, CR LF): one map a line,
// four comma-separated fields (the program's comma tokenizer, double quotes
// group): the code as 6 digits, the map file path, the European and the
// Japanese name. Other lines are skipped silently; the first of equal codes
// counts. It is read once per list path and kept. A missing list is
// reported once per path; other file errors show the file-error box once per
// operation: skip goes on without the list, cancel ends the operation (a
// cruise then returns false without further messages).
//
// Settings: section "CRUISE05" of the settings store.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "FileOps.h"
#include "clsGridMap.h"

class clsMapUnits;
class clsRect;

struct CruiseListRecord {
    int32_t Code = 0;
    QString Path;          // as written in the list
    QString EuropeanName;
    QString JapaneseName;
};

class clsCruise05 {
public:
    static constexpr int32_t kStdMapCodes[25] = {
        120000, 131000, 132000, 133000, 134000, 135000, 136000, 141000, 142000,
        143000, 144000, 145000, 146000, 151000, 152000, 153000, 154000, 155000,
        156000, 167392, 168392, 177392, 178392, 187392, 188392};
    // Groups of the availability mask.
    static constexpr int32_t kMaskAdministrative = 0x18007E;
    static constexpr int32_t kMaskTopographic = 0x601F80;
    static constexpr int32_t kMaskOcean = 0x1;
    static constexpr int32_t kMaskTraffic = 0x187E000;

    // Borders 0 and 8 from the globe's scale bounds, then ReadRegistry.
    clsCruise05();

    bool EiAuto = false;     // run before each redraw of the latitude/longitude view
    bool EiReplace = true;   // substitute maps of smaller-scale levels
    bool EiTopo = false;     // topographic instead of administrative maps
    bool EiOcean = false;    // add the ocean-floor map
    bool EiTraffic = false;  // add the traffic map

    const QString& ListFile() const { return listFile_; }
    // Also forgets the list read so far.
    void setListFile(const QString& path);
    const QString& GridFile() const { return grid_.FileName(); }
    void setGridFile(const QString& path) { grid_.setFileName(path); }
    clsGridMap& Grid() { return grid_; }

    // Border 0..8 (0 the largest denominator, 8 the smallest); 0 for any
    // other index.
    double BorderScale(int16_t index) const;
    // Only borders 1..7, and only a value that, rounded half to even, lies
    // within the rounded scale bounds; anything else changes nothing.
    void setBorderScale(int16_t index, double value);
    // The mask recorded at the last save of the settings, as decimal text.
    QString LastStdMapList() const { return QString::number(lastStdMapList_); }

    // G / 1, G / ("BorderRatio1".."BorderRatio7" of Environment.txt, 1..10000;
    // 10, 20, 50, 100, 200, 500, 2000 by default), G / 10000, G being the
    // largest scale denominator; 0 for another index.
    static double StdBorderScale(int16_t index);

    // The usable path of the code's list record; empty when the list has none.
    // It does not test that the file exists.
    QString MapCodeToPath(int32_t code);
    // The European (language 1) or Japanese (2) name of the first record
    // whose code ends in the same three digits, of whatever kind and level.
    QString CountryName(int32_t code, int16_t language);

    // Level 1..8 of a scale denominator; -1 when it lies outside the borders.
    int16_t ScaleToLevel(double scale) const;

    int32_t GetStdMapList();
    // Set bits of GetStdMapList.
    int16_t GetStdMapCount();

    // Chooses the level, hides the standard maps (kinds 2..8) of units and
    // shows or loads the nominated ones; tells the user about missing files.
    // False at once, silently, for no units, units of X/Y maps, no area or a
    // scale outside the borders, or while a cruise runs (a load lets events
    // run); false after a failure message, a failed load or a cancelled file
    // error.
    bool Cruise(double scale, const clsRect* area, clsMapUnits* units);

    void ReadRegistry();
    // Also records the availability mask as it is now.
    void WriteRegistry();

    // -- the parts of a cruise, open for tests
    // Entry texts of the maps of a level over an area, in nomination order:
    // "+,<code>,<list path>" for a record with a path, else
    // "-,<code>,<European or Japanese name or (unknown)>". The path or name
    // starts at index 9, the part the messages list at index 2.
    QStringList NominateMaps(int16_t level, const clsRect& area);
    QString CruiseEntryText(int32_t code);
    // A path with a drive or from the root as it is; a bare file name joined
    // to the map folder; a relative path with folders as it is.
    static QString FullMapPath(const QString& path);
    // The first record of the code (the list read first when it is not);
    // an empty record when none.
    CruiseListRecord FindCruiseRecord(int32_t code);
    // True when the list was read (possibly holding no record).
    bool ReadCruiseList();
    int32_t RecordCount() const { return static_cast<int32_t>(records_.size()); }

private:
    // Public entries open an operation; a list that failed to be read is
    // not tried again before the outermost one ends.
    class Operation;
    const CruiseListRecord* findRecord(int32_t code);
    bool ensureList();
    bool cruise(double scale, const clsRect* area, clsMapUnits* units);

    QString listFile_;
    clsGridMap grid_;
    std::array<double, 9> borders_{};
    int32_t lastStdMapList_ = 0;
    std::vector<CruiseListRecord> records_;
    QString reportedMissingList_;
    // The list file as it was when it held no valid record: not read again
    // until it changes.
    std::optional<plat::FileStamp> emptyList_;
    QString emptyListPath_;
    int operationDepth_ = 0;
    bool listFailedInOperation_ = false;
    bool running_ = false;
};

// The one engine of the program (nullptr until CreateGlobalCruise). The
// application creates it at start-up and destroys it at shutdown.
extern clsCruise05* gvCruise;
// Creates gvCruise (reading its settings) and lets map headers read its
// borders (SetBorderScaleHook).
void CreateGlobalCruise();
// Saves the settings of gvCruise, returns map headers to the standard
// borders and deletes it. Errors of the saving are passed on after the
// engine is gone.
void DestroyGlobalCruise();
