// The application state of the whole program: the global objects (the map
// unit set of each map mode, the palette, the main projection ...), the
// values of the settings section "PUBLIC", the settings snapshots (".PLG")
// and the accessors through which the rest of the program reaches the
// current map units and the active map.
//
// Life: gvInitialize once at start-up (0, or a start-up code whose message
// StartupMessage gives), gvTerminate once at shutdown. gvTerminate copes
// with any state a failed start-up left behind. The accessors follow
// gvMapMode on every call and give nothing for a mode other than 1 or 2.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "AppError.h"
#include "AppState.h"
#include "clsMapUnits.h"

class BitmapCanvasPicture;
class BitmapViewPicture;
class clsAdmins;
class clsMap;
class clsThings;

// -- global objects (created by gvInitialize, released by gvTerminate)
extern clsMapUnits* gvMapUnitsLL;   // latitude/longitude map units
extern clsMapUnits* gvMapUnitsXY;   // X/Y map units
// The pictures behind gvCanvas: the plotted map and the main window's view
// (its back buffer; the window follows its changes).
extern BitmapCanvasPicture* gvCanvasPicture;
extern BitmapViewPicture* gvViewPicture;

// -- global values ("PUBLIC" unless noted)
extern int32_t gvMapMode;           // 1 latitude/longitude, 2 X/Y
extern bool gvExpert;               // only kept
extern QString gvLastLog;           // last snapshot the user named
extern QString gvLastSavePath;      // last path of the save-as chooser
extern QString gvStartMapFile;      // opened at start in start mode 2
extern int16_t gvStartMapType;      // 0 nothing, 1 cruise, 2 gvStartMapFile
extern int16_t gvScreenDPI;
extern int16_t gvAngleValue;        // 1..5, the angle formatter's unit
extern int16_t gvAngleUnit;         // 1..6, its symbol style
extern int16_t gvAngleDirection;    // 1..4, its direction style
extern int32_t gvHomeLon, gvHomeLat;   // arc-seconds
extern double gvHomeScaleLL;
extern int32_t gvHomeX, gvHomeY;       // metres
extern double gvHomeScaleXY;
extern int16_t gvSaveInterval;      // minutes 0..30 of the save reminder, 0 off

// Start-up codes of gvInitialize.
enum StartupCode : int16_t {
    StartupOK = 0,
    StartupNoObjects = 1,      // "Environment.txt" missing, or the global objects failed
    StartupNoBaseLL = 2,
    StartupNoBaseXY = 3,
    StartupNoSettings = 4,     // the "PUBLIC" settings could not be read
    StartupBadEnvironment = 5, // "MapFolder" missing or empty
};
// The message the main window shows for a start-up code.
QString StartupMessage(int16_t code);

int16_t gvInitialize();
// The error behind the last non-zero code of gvInitialize when one caused
// it (its number is 0 otherwise): what the stop of the start-up names.
const plat::AppError& StartupError();
// Writes "PUBLIC" (only when start-up had read it) and releases the global
// objects. A map unit set of 50000 figures or more stays: ending the process
// is quicker than freeing it.
void gvTerminate();
constexpr int32_t kKeepUnitsFigureCount = 50000;

// Stores the start map file: the path when it exists, else its bare name
// when that exists in the map folder, else the "StartMapFile" value of
// "Environment.txt" when that exists in the map folder, else "WORLD_T3.MLL".
void SetGvStartMapFile(const QString& path);

clsMapUnits* CurrentMapUnits();
MapUnitPtr ActiveMapUnit();
clsMap* ActiveMap();
clsThings* ActiveThings();
clsAdmins* ActiveAdmins();

// -- the "PUBLIC" settings
// Reads the section into the global values, with the defaults and clamps
// of each key; withUnits also rebuilds both map unit sets from their lists
// (a base unit with edits that the lists replace goes unasked: gvReadLog
// has offered every modified unit for saving first).
void gvReadRegistry(bool withUnits);
// Deletes the section and writes the global values; withUnits also the
// lists of map units.
void gvWriteRegistry(bool withUnits);

// The main window's corner (twips), kept in "WindowLeft" and "WindowTop".
// Until the main window installs these, the values read are kept and
// written back unchanged.
struct MainWindowCorner {
    std::function<void(float left, float top)> move;
    std::function<void(float& left, float& top)> get;
};
void SetMainWindowCorner(MainWindowCorner corner);

// -- settings snapshots (".PLG")
enum LogResult : int32_t {
    LogOK = 0,
    LogCancelled = 1,   // the user cancelled the question about unsaved units
    LogTooLarge = 7,    // over 8 MiB: no snapshot is near that size
    LogBadFormat = 13,  // the file holds no "PUBLIC" section
    LogMissing = 53,
    LogReadOnly = 70,
};
// Writes "PUBLIC" with the unit lists and the sections of the accessories,
// both plot engines and their graticules, the canvas and the main
// projection, in that order.
int32_t gvWriteLog(const QString& file);
// Restores a snapshot and reloads the map units it lists. Loaded units with
// unsaved changes are offered for saving first; Cancel (or a save that
// fails) leaves everything as it was, and so does a file that cannot be read
// (the file-error box has shown it; its error's number), is over 8 MiB (a
// message; LogTooLarge) or holds no "PUBLIC" section (a message;
// LogBadFormat).
int32_t gvReadLog(const QString& file);
