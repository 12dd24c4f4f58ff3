// The projection wizard without its window: nine pages that set up the main
// projection on a working copy of its settings, run it into new X/Y map
// units with a monitor picture, remaining time and stop, and save those
// units into a new folder with a settings snapshot.
//
// Caller's protocol: set MapUnitsLL, MapPlotLL and Projector; preset
// Position on the first opening (main window corner + 2400, 600 twips);
// show the window; read ResultFlags (1 settings committed, 2 a run
// completed and ResultUnits holds its units, 4 those units were saved);
// clear the three inputs. A completed run is handed over however the
// window was closed.
//
// During a run every button but the run button is disabled, and closing
// the window (frame, Esc, Cancel) only asks the run to stop: the window
// goes once the run has returned (CloseNow). An error raised during a run
// is reported and the run ends as stopped; the wizard stays usable.
#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "DialogBase.h"
#include "PrjMonitorPicture.h"
#include "PrjRunEngine.h"
#include "PrjWizardSettings.h"

class clsMapPlot;
class clsMapUnits;
class clsProjector;

class frmPrjWizardLogic {
public:
    static constexpr int kPages = 9;
    static constexpr long kHelpBase = 261000;   // + page number
    static constexpr int kMonitorWidth = 360;   // pixels
    static constexpr int kMonitorHeight = 240;
    static constexpr int kTimerMs = 500;
    enum ResultBits : int16_t { ResultCommitted = 1, ResultRun = 2, ResultSaved = 4 };
    enum Button { BtnBackward, BtnForward, BtnOK, BtnCancel };

    frmPrjWizardLogic();
    ~frmPrjWizardLogic();
    frmPrjWizardLogic(const frmPrjWizardLogic&) = delete;
    frmPrjWizardLogic& operator=(const frmPrjWizardLogic&) = delete;

    // -- hand-over with the caller
    clsMapUnits* MapUnitsLL = nullptr;
    clsMapPlot* MapPlotLL = nullptr;
    clsProjector* Projector = nullptr;
    int16_t ResultFlags = 0;
    std::shared_ptr<clsMapUnits> ResultUnits;
    int32_t ResultCenterX = 0;
    int32_t ResultCenterY = 0;
    plat::DialogPosition Position;

    // -- working state
    PrjWizardSettings Work;
    int16_t InitOption = 2;      // page 1: 0 continue, 1 initialise, 2 the view, 3 a log file
    QString LogPath;
    int32_t ConditionMask = 0;   // page 5's conditions

    // The run's projection over the working projector; tests put their own.
    std::function<std::unique_ptr<PrjRunEngine>(clsProjector& working)> RunEngineFactory;
    // The window refreshes its controls from this object.
    std::function<void()> Changed;
    // The window closes (asked for while a run ran).
    std::function<void()> CloseNow;

    // -- window events
    // Load: clears the results, takes the working copy from Projector and
    // shows page 1.
    void Load();
    // Releases the inputs and the working projector.
    void Unload();
    // The window wants to close (frame, Esc, Cancel): true when it may now;
    // during a run the run is asked to stop instead.
    bool RequestClose();

    // -- page flow
    int Page() const { return page_; }
    static QString PageCaption(int page);
    long HelpContext() const { return page_ >= 1 ? kHelpBase + page_ : kHelpBase; }
    // Leaves the current page (running the page-1 option when leaving page
    // 1) and shows `page`; false when the page-1 option was cancelled and
    // page 1 stays.
    bool SetPage(int page);
    void Backward();
    void Forward();
    bool Enabled(Button b) const;
    // OK: the working settings into Projector; the window unloads.
    void OK();
    // Cancel: during a run a stop request (false), else true (unload).
    bool Cancel() { return RequestClose(); }

    // -- page 1
    static QString InitMessage();
    // Applies the page-1 option; false when a file error box was cancelled.
    bool ExecInit();
    // The log-file chooser; a chosen file becomes the log path, option 3.
    void BrowseLog();
    // The typed log name with the extension "PLG": taken (option 3) when
    // that file exists; otherwise the previous path stays. The text box
    // shows LogPath afterwards either way.
    void ValidateLogText(const QString& text);

    // -- page 7
    static QString ScaleMessage();
    QString ScaleText() const;
    int16_t ScaleLevel() const;
    // False (after the range warning) when the text is no allowed scale.
    bool ValidateScaleText(const QString& text);
    // The slider moved to a level; returns its tooltip text.
    QString ScrollScale(int16_t level);

    // -- page 8
    const QString& ExecMessage() const { return execMessage_; }
    QString ExecuteCaption() const;
    int32_t ProgressValue() const { return progress_; }
    const QString& RemainText() const { return remainText_; }
    bool Running() const { return running_; }
    PrjMonitorPicture& Monitor() { return *monitor_; }
    // The run button: starts a run, or asks the running one to stop.
    void Execute();
    // The 500 ms timer: progress and remaining time.
    void Tick();
    bool TimerActive() const { return timer_.isActive(); }

    // -- page 9
    const QString& SaveMessage() const { return saveMessage_; }
    bool SaveEnabled() const { return (ResultFlags & ResultRun) != 0; }
    // Cells of the units' rows: number, map name, map file, figure count.
    std::vector<QStringList> SaveRows() const;
    // The save command: every unit into a new folder, then the snapshot;
    // after a full save the settings are committed as by OK and the wizard
    // closes.
    void Save();

    // -- helpers with their own arithmetic
    // The monitor's scale denominator for a rectangle (metres) on a picture
    // (millimetres): the larger of both axes plus 5 %, at most MapScaleMax.
    static double MonitorScale(double rectWidth, double rectHeight, double widthMm, double heightMm);
    // "h時間m分s秒" (no hours part under an hour), "--分--秒" below 1 s.
    static QString RemainTimeText(int32_t seconds);
    // "MXY" and the time stamp's digits.
    static QString FolderProposal();

private:
    void changed();
    void refreshPage();
    void runProjection();
    void addElement(clsMapCell& cell);
    void finishRun(bool completed);
    // The settings snapshot for `log` (".PLG" added); 0 when written.
    int32_t WriteSnapshot(const QString& log);

    std::unique_ptr<clsProjector> work_;
    std::unique_ptr<PrjRunEngine> engine_;
    std::unique_ptr<clsMapPlot> monitorPlot_;
    std::unique_ptr<PrjMonitorPicture> monitor_;
    QTimer timer_;
    int page_ = 0;
    bool enabled_[4] = {false, false, true, true};
    bool running_ = false;
    bool stopRequested_ = false;
    bool closePending_ = false;
    QString execMessage_;
    QString prefix_;
    QString remainText_;
    int32_t progress_ = 0;
    QString saveMessage_;
};
