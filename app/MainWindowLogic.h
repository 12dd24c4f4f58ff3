// The main window without its widgets: the start-up and shutdown roads, the
// plot driver behind every redraw, the caption, the status panels, the
// scroll bars and scale slider that follow the plot engine, and the keys.
// The window (frmMain) shows what MainViewState holds and hands its events
// here; tests drive the logic through a view of their own.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>

#include "AppError.h"
#include "DeviceContext.h"

class clsMapUnit;

// A scroll bar as the window shows it. Vertical bars run from Min at the top
// (north, the larger coordinate) to Max at the bottom.
struct ScrollBarState {
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Value = 0;
    int32_t SmallChange = 1;
    int32_t LargeChange = 8;
    bool operator==(const ScrollBarState&) const = default;
};

struct MainViewState {
    QString Caption;
    std::array<QString, 4> Panels;   // status text, scale, centre, pointer
    ScrollBarState Horizontal;
    ScrollBarState Vertical;
    int32_t ScaleLevel = 1;          // the slider, 1..53
    bool Locked = false;             // a plot runs: slider, scroll bars and menus off
};

// What the logic needs of the window.
class MainView {
public:
    virtual ~MainView() = default;
    // Shows the state; the status bar is repainted at once.
    virtual void Refresh(const MainViewState& state) = 0;
    // Copies the canvas into the map view and repaints it.
    virtual void RepaintView() = 0;
    // The scale bar and the view-area box of the top bar.
    virtual void RedrawTopBar() = 0;
    // Window width, twips, and the measure the caption's room is divided by
    // (with ten of it to a character).
    virtual void CaptionMetrics(double& widthTwips, double& charTwips) const = 0;
    // Fits the window round the view (the canvas's view size).
    virtual void ResizeFormByView() = 0;
    // The status bar's font; given before the first fit, since the window's
    // size round the view depends on the bar's height.
    virtual void SetStatusFont(const QString& /*face*/) {}
    // Lets pending window events run.
    virtual void DoEvents() = 0;
    // Sets a scroll bar as the user would: its Change follows (none when
    // the bar shows the value already).
    virtual void SetScrollValue(bool vertical, int32_t value) = 0;
    // A plot has painted the view anew: the marks drawn over the old
    // picture go, the survey's route is drawn again.
    virtual void ViewPlotted() = 0;
    // Esc with no plot running: survey and frame cut are left.
    virtual void LeaveModes() = 0;
    // Runs task from the event loop once the current event is handled.
    virtual void Post(std::function<void()> task) = 0;
};

// Plots the current map units onto a device; MainPlotRoutines' PlotMap.
using MapPlotter = std::function<int16_t(plat::HDC hdc, int32_t dpiX, int32_t dpiY, int32_t width, int32_t height,
                                         const std::function<void(int16_t phase)>& progress)>;

// The caption: title - shortened path - [projection flags]. Flags ", 更新"
// for a modified unit, else ", 変更禁止" for a locked map.
QString MainCaption(const QString& title, const QString& path, const QString& projection, bool modified, bool locked,
                    double windowWidthTwips, double charTwips);
// The status text of a plot result.
QString PlotResultText(int16_t result);
// "地図描画中... " and one mark per phase: "*" done, "o" to come.
QString ProgressText(int16_t phase);
class MainWindowLogic {
public:
    explicit MainWindowLogic(MainView& view);

    // -- window flags
    bool InitializingEi = true;
    bool PlottingEi = false;

    const MainViewState& state() const { return state_; }

    // Opens a file by its extension (the command line, the start map);
    // mainform::LoadFile unless a test puts its own here.
    std::function<bool(const QString& path)> LoadFile;
    // The plot primitive; tests put a fake engine here.
    MapPlotter Plotter;
    // Told when a stage of the start-up is over: "initialise", "base plot",
    // "load units", "first plot" (the timing of the start-up).
    std::function<void(const char* stage)> StartupStage;

    // -- start-up
    // The checks, the global start-up, the first layout and plot; false
    // when the program was stopped (the fatal road has run).
    bool Load(const std::function<void()>& closeSplash = {});
    // The offer of standard-map groups installed since the last start.
    void OfferNewStdMaps();
    // The file named first on the command line, then the start mode.
    void OpenFirstFile(const QStringList& arguments);
    void RunStartMode();

    // -- plot driver
    int16_t PlotWindow();
    int16_t PlotMap(plat::HDC hdc, int32_t dpiX, int32_t dpiY, int32_t width, int32_t height);
    void PlotCaption();
    void UpdateScrollSteps();
    void SetScrollRange();
    void SetViewControllByEngine();
    // After a file was opened: the window fitted round the view and the
    // scroll ranges set while initialising, then the controls from the engine.
    void AfterLoad();

    // -- status bar
    void SetStatusText(const QString& text);
    void ShowScale();
    void ShowCenter();
    void ShowCursorPos(bool valid, int32_t mapX, int32_t mapY);

    // -- controls (their events are MapViewControl's)
    // A value the user gave a scroll bar or the slider, kept so that the
    // next refresh shows it.
    void KeepScrollValue(bool vertical, int32_t value);
    void KeepScaleLevel(int32_t level);
    // One large step of a scroll bar: 0 west, 1 east, 2 north, 3 south.
    void ScrollStep(int16_t direction);
    // Key codes as the window reports them (27 Esc, 37..40 arrows). True
    // when taken.
    bool KeyDown(int keyCode);

    // -- user commands
    // Runs a command the user gave (a menu item, files dropped on the view).
    // During a plot the command would run inside the plot's event pump,
    // where the engine refuses every change and a redraw is dropped: the
    // plot is cancelled instead, and the command runs once the plot has
    // ended and no other command is under way, then the map the plot left
    // unfinished is drawn again unless the command drew it. Commands keep
    // the order they were given in.
    void RunCommand(std::function<void()> command);
    bool CommandsWaiting() const { return !waiting_.empty(); }

    // -- commands shared by the menus and the view's popup
    // The current engine at the home position of its mode, then a redraw.
    void mnuHome_Click();
    // Place names in language 1 (European) or 2 (Japanese), then a redraw.
    void mnuLanguageItem_Click(int32_t index);
    // The canvas to the clipboard with the CLIP snapshot beside it.
    void mnuMapCopy_Click();

    // -- shutdown
    // The close question; false keeps the window open.
    bool QueryUnload();
    // Releases everything; true when a unit set stayed (the process must
    // end at once).
    bool Unload();
    // After a fatal error: save questions and "ERROR" snapshot (not after a
    // file error), then the release.
    void WindupError();
    // Offers to save a modified unit until it is saved or the user gives no name.
    void UnloadMapUnit(clsMapUnit& unit);
    // Asks for a file name to save a unit under (the common save dialog).
    std::function<QString(const QString& filter, const QString& proposal)> InputSaveName;

private:
    void refresh();
    // The fatal stop of the start-up with message, followed in the report
    // by the chain of the error that caused it, if any.
    bool stop(const QString& message, const plat::AppError& cause = plat::AppError());
    // Sets the cancel switch of the engine that draws.
    void cancelPlot();
    void runWaitingCommands();
    void postWaitingCommands();

    MainView& view_;
    MainViewState state_;
    bool started_ = false;   // the application state came up whole
    bool startMapLoading_ = false;   // the start map is being opened
    int32_t pointerMode_ = 0;        // the map mode of the pointer panel's text
    std::deque<std::function<void()>> waiting_;   // commands given during a plot
    int commandDepth_ = 0;                        // commands under way, nested ones counted
    bool posted_ = false;                         // runWaitingCommands is posted
    bool redrawOwed_ = false;                     // a window plot was cancelled for a waiting command
};
