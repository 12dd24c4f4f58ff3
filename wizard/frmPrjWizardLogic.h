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

    // -- pages 2 to 4: typed angles and their sliders
    // Each item is one working angle with a text box and a slider in whole
    // arc-minutes.
    enum class AngleItem {
        FieldNorth, FieldSouth, FieldWest, FieldEast,   // page 2
        CenterLon, CenterLat,                           // page 3
        GridWidth, GridHeight, GridNorth, GridSouth,    // page 4
    };
    static constexpr int kAngleItems = 10;
    struct SliderRange {
        int min = 0, max = 0, small = 0, large = 0;
    };
    static SliderRange AngleSliderRange(AngleItem item);
    int32_t AngleValue(AngleItem item) const;
    QString AngleText(AngleItem item) const;
    int AngleSlider(AngleItem item) const { return AngleValue(item) / 60; }
    // Edges are greyed for the whole globe, graticule values while the
    // graticule is off.
    bool AngleEnabled(AngleItem item) const;
    // A typed angle: false after the range warning when the text is no angle
    // or lies outside the item's range (the value stays).
    bool ValidateAngleText(AngleItem item, const QString& text);
    // The slider moved to `minutes`: snapped to 30 minutes (halves away from
    // zero), 0 giving one minute for the north and south edges and the
    // spacings. Returns the slider's tooltip, the item's new text.
    QString ScrollAngle(AngleItem item, int minutes);
    static int SnapToHalfDegree(int minutes);

    static QString FieldMessage();
    static QString CenterMessage();
    static QString GridMessage();
    // The whole globe: the projector widens the field at once.
    void SetFieldWorld(bool on);
    void SetFieldFrame(bool on) { Work.FieldFrame = on; }
    bool GridOn() const { return Work.Grid.Vertical || Work.Grid.Horizontal; }
    void SetGridOn(bool on);
    void SetZone(bool on) { Work.Grid.Zone = on; }
    void SetTextSlant(bool on) { Work.TextSlant = on; }
    void SetAzimuthLine(const QString& text) { Work.AzimuthLine = text; }

    // -- page 5: the choice of projection
    static constexpr int kConditionGroups = 3;
    static int ConditionCount(int group);      // 8 shapes, 7 properties, 5 areas
    static QString ConditionCaption(int group, int index);
    static int32_t ConditionBit(int group, int index);
    static QString PrjMessage();
    static QString NoMatchEntry();
    bool ConditionChecked(int group, int index) const { return (ConditionMask & ConditionBit(group, index)) != 0; }
    // A box ticked or cleared: the list is made again.
    void SetCondition(int group, int index, bool checked);
    void ResetConditions();
    const QStringList& PrjList() const { return prjList_; }
    int PrjListSelected() const { return prjSelected_; }
    QString PrjListLabel() const;
    // The list entry `row` chosen: its projection becomes the working one.
    void ClickPrj(int row);
    // The help topic of the chosen projection; 0 for none.
    long PrjHelpContext() const;

    // -- page 6: the projection surface
    enum ScreenItem { ScreenPoler, ScreenCone, ScreenSecant, ScreenLight };
    static constexpr int kScreenItems = 4;
    static constexpr int kDivisionMin = 6, kDivisionMax = 36;
    int32_t ScreenAttribute() const;
    bool ScreenVisible(int item) const;
    bool GoresVisible() const;
    bool RightAxisEnabled() const;
    QString ScreenMessage() const;
    SliderRange ScreenSliderRange(int item) const;
    int ScreenSlider(int item) const;
    QString ScreenText(int item) const;
    bool ValidateScreenText(int item, const QString& text);
    QString ScrollScreen(int item, int value);
    void SetShadowFrame(bool on) { Work.ShadowFrame = on; }
    static QStringList DivisionEntries();   // "6" .. "36"
    void SetDivision(int n);
    QString DivisionToolTip() const;
    // The normal aspect: the projector sets centre latitude, rotation and cone.
    void RightAxis();
    // The light heights above ground (metres, ascending) offered by the
    // slider, and the slider position of a height: the last entry at or
    // below it, never the first.
    const std::vector<double>& LightTable() const { return lightTable_; }
    int LightToSlider(double height) const;
    // The largest secant of the working projection and cone, arc-seconds.
    int32_t MaxSecant() const;

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
    // Cells of the units' rows: number, map name, map file name without its
    // folder (as the save names the files), figure count.
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
    void setAngle(AngleItem item, int32_t value);
    void makePrjList();
    void selectPrj(int row);
    // A secant beyond the maximum of the projection and cone becomes the
    // whole degrees of that maximum.
    void limitSecant();
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
    QStringList prjList_;
    int prjSelected_ = -1;
    int prjCount_ = 0;   // real entries, without the placeholder
    std::vector<double> lightTable_;
};
