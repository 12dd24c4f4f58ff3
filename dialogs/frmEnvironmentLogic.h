// The environment settings dialog without its window: working copies of
// the map folder, the start-up map, the home position (in the units of the
// current map mode), the screen width in millimetres, the save-reminder
// interval and the angle format; OK writes them into the application state
// and switches the canvas resolution and the angle format of the program.
//
// Screen width and resolution (integer divisions, px the screen width in
// pixels): width mm = (px * 254 \ dpi) \ 10, dpi = (px * 254 \ mm) \ 10;
// 1280 px at 96 dpi shows 338 mm, and 338 mm gives 96 dpi again. A width
// derived from an extreme stored resolution is held in 10..9999 mm, the
// range the box accepts, so OK never divides by 0.
//
// Protocol of a caller: set PlotEngine (read by TakeCurrentView), preset
// Position on the first opening (main window + 3000, 600 twips), show the
// window modally, clear PlotEngine.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "DialogBase.h"
#include "SettingsDialogs.h"

class clsMapPlot;

class frmEnvironmentLogic {
public:
    static constexpr long kHelpContext = 270001;
    static constexpr int32_t kWidthMin = 10;
    static constexpr int32_t kWidthMax = 9999;
    static constexpr int kAngleFormats = 33;
    struct AngleFormat {
        const char16_t* name;
        const char* code;   // unit, symbol style, direction style
    };
    static const std::array<AngleFormat, kAngleFormats>& AngleFormats();

    clsMapPlot* PlotEngine = nullptr;
    bool DialogOK = false;
    plat::DialogPosition Position;
    // The screen width in pixels; the window sets it from its screen.
    int32_t ScreenWidthPixels = 1280;

    // -- working state
    int16_t StartMapType = 0;
    int32_t ScreenWidthMM = 0;
    int32_t HomeX = 0, HomeY = 0;
    double HomeScale = 0;
    int16_t AngleValue = 0, AngleUnit = 0, AngleDirection = 0;
    int16_t SaveInterval = 0;
    // The two boxes are taken as typed; the refresh never rewrites them.
    QString MapPath;
    QString StartMapFile;

    static int32_t WidthMMOf(int32_t pixels, int32_t dpi);
    static int32_t DpiOf(int32_t pixels, int32_t widthMM);

    // The opening: DialogOK false, the working state from the application
    // state (ReadEnvironment).
    void Load();
    int32_t MapMode() const { return state_.MapMode; }

    // -- what the controls show
    QString HomeXText() const;
    QString HomeYText() const;
    QString HomeScaleText() const;
    QString ScreenWidthText() const { return QString::number(ScreenWidthMM); }
    int SaveIntervalIndex() const;
    // 0 "00) 未指定" when the format is not in the list.
    int AngleIndex() const;

    // -- the user's actions. A check that refuses has shown the range
    // warning and returns false; the working value stays.
    bool CheckHomeX(const QString& text);
    bool CheckHomeY(const QString& text);
    bool CheckHomeScale(const QString& text);
    bool CheckScreenWidth(const QString& text);
    void ChooseSaveInterval(int entry);
    void ChooseAngle(int entry);
    // The plot engine's centre and scale become the home position.
    void TakeCurrentView();
    // The folder chooser placed at `at`, the file chooser; true when the
    // box's text changed.
    bool BrowseMapPath(QWidget* parent, plat::DialogPosition at);
    bool BrowseStartMapFile();

    // OK: the application state, the canvas resolution and the angle format.
    void Accept();
    void Cancel() { DialogOK = false; }

private:
    EnvironmentState state_;
};

// The dialog of the run, made on first use.
frmEnvironmentLogic& EnvironmentDialog();
