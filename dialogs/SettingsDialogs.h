// The environment, graticule and accessory dialogs as the main window opens
// them from its menus, and what those dialogs need of the main window and
// the application state, installed once at start-up (app's
// InstallSettingsDialogs). Tests install fakes.
//
// Each Show... function runs the caller's side of its dialog: it hands the
// objects and values in, places a never-shown dialog beside the main window,
// shows it modally, takes the results back, clears what it handed in and
// redraws the map when the dialog asks for it. Each returns DialogOK.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "DialogBase.h"
#include "StdFont.h"

class QWidget;

// The program-wide settings the environment dialog edits (the "PUBLIC"
// values of the application state).
struct EnvironmentState {
    QString MapFolder;
    int16_t StartMapType = 0;     // 0 base map only, 1 cruise, 2 StartMapFile
    QString StartMapFile;
    int16_t ScreenDPI = 96;
    int32_t MapMode = 1;          // 1 latitude/longitude, 2 X/Y; not written back
    int32_t HomeLon = 0, HomeLat = 0;   // arc-seconds
    double HomeScaleLL = 0;
    int32_t HomeX = 0, HomeY = 0;       // metres
    double HomeScaleXY = 0;
    int16_t SaveInterval = 0;     // minutes, 0 off
    int16_t AngleValue = 0, AngleUnit = 0, AngleDirection = 0;
    bool operator==(const EnvironmentState&) const = default;
};

struct SettingsDialogHost {
    // The full redraw of the main window (frmMain.PlotWindow).
    std::function<void()> plotWindow;
    // The application state: read when the environment dialog opens, written
    // by its OK (the writer resolves StartMapFile against the map folder).
    std::function<EnvironmentState()> readEnvironment;
    std::function<void(const EnvironmentState&)> writeEnvironment;
    // The main window's font chooser (name, size, bold, italic); false when
    // cancelled. Default: the platform's.
    std::function<bool(plat::StdFont& font)> inputFont;
    // The main window's open chooser; "" when cancelled. Default: the
    // platform's.
    std::function<QString(const QString& title, const QString& filter, const QString& file)> inputLoadName;
    // The folder chooser placed at `at`; false when cancelled, else the
    // folder is replaced. Default: the platform's.
    std::function<bool(QWidget* parent, QString& folder, plat::DialogPosition at)> chooseFolder;
};

// Installs the host; returns the previous one. Missing parts keep their
// defaults (no redraw; an application state of the dialog's own).
SettingsDialogHost SetSettingsDialogHost(SettingsDialogHost host);
const SettingsDialogHost& InstalledSettingsDialogHost();

// The parts of the host with their defaults filled in.
void RedrawMainWindow();
EnvironmentState ReadEnvironment();
void WriteEnvironment(const EnvironmentState& s);
bool InputSettingsFont(plat::StdFont& font);
QString InputSettingsLoadName(const QString& title, const QString& filter, const QString& file);
bool ChooseSettingsFolder(QWidget* parent, QString& folder, plat::DialogPosition at);

// "環境設定(&E)...": the environment dialog for the current plot engine.
bool ShowEnvironmentDialog(QWidget* mainWindow);
// "経緯線(&G)...": the graticule of the current plot engine; OK copies the
// four switches back into the engine and redraws.
bool ShowGridDialog(QWidget* mainWindow);
// "アクセサリ(&A)...": the program's accessory set and the current plot
// engine's accessory switch; OK sets the switch and redraws.
bool ShowAccessoryDialog(QWidget* mainWindow);
