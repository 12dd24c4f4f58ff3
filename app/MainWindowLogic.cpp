#include "MainWindowLogic.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "AppInfo.h"
#include "ErrorMng.h"
#include "FileOpenSave.h"
#include "Help.h"
#include "MainPlotRoutines.h"
#include "MapViewControl.h"
#include "PublicVal.h"
#include "StartupChecks.h"
#include "basFileNames.h"
#include "basGlobe.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "basLibrary.h"
#include "clsCanvas.h"
#include "clsCruise05.h"
#include "clsMap.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"

namespace {

const QString kForm = QStringLiteral("frmMain");

// Halves go to the even neighbour, as the scroll bars' conversions want.
int32_t roundEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

bool allBits(int32_t mask, int32_t bits) { return (mask & bits) == bits; }

int32_t clampValue(const ScrollBarState& bar, int32_t v) {
    const int32_t lo = std::min(bar.Min, bar.Max), hi = std::max(bar.Min, bar.Max);
    return std::clamp(v, lo, hi);
}

// Counts a command as under way for its length.
class CommandDepth {
public:
    explicit CommandDepth(int& depth) : depth_(depth) { ++depth_; }
    ~CommandDepth() { --depth_; }
    CommandDepth(const CommandDepth&) = delete;
    CommandDepth& operator=(const CommandDepth&) = delete;

private:
    int& depth_;
};

} // namespace

QString MainCaption(const QString& title, const QString& path, const QString& projection, bool modified, bool locked,
                    double windowWidthTwips, double charTwips) {
    const QString flags = modified ? QStringLiteral(", 更新") : locked ? QStringLiteral(", 変更禁止") : QString();
    const double perChar = charTwips > 0 ? charTwips : 1;
    const int room = static_cast<int>((windowWidthTwips - 2000) / perChar / 10) - 8 -
                     static_cast<int>(title.size() + projection.size() + flags.size());
    return title + QStringLiteral(" - ") + ShortenPath(path, room) + QStringLiteral(" - [") + projection + flags +
           QStringLiteral("]");
}

QString PlotResultText(int16_t result) {
    switch (result) {
    case PlotDone: return QString();
    case PlotCancelled: return QStringLiteral("地図描画は中断されました.");
    case PlotNoSurface: return QStringLiteral("地図描画でエラー発生.");
    default: return QStringLiteral("地図描画で原因不明のエラー発生.");
    }
}

QString ProgressText(int16_t phase) {
    QString marks;
    for (int i = 1; i <= clsMapPlot::PhaseNum; ++i) marks += i <= phase ? QLatin1Char('*') : QLatin1Char('o');
    return QStringLiteral("地図描画中... ") + marks;
}

MainWindowLogic::MainWindowLogic(MainView& view)
    : LoadFile(mainform::LoadFile),
      Plotter([](plat::HDC hdc, int32_t dpiX, int32_t dpiY, int32_t width, int32_t height,
                 const std::function<void(int16_t)>& progress) {
          return ::PlotMap(hdc, dpiX, dpiY, width, height, progress);
      }),
      view_(view) {}

void MainWindowLogic::refresh() { view_.Refresh(state_); }

bool MainWindowLogic::stop(const QString& message, const AppError& cause) {
    AppError e(ErrFormUnload, kForm + QStringLiteral(".Form_Load"), message);
    // The cause's chain follows the message, so the report names what failed.
    if (cause.number() != 0) {
        e = cause;
        AppendErrorSource(e, ErrFormUnload, kForm, QStringLiteral("Form_Load"), message);
    }
    StopOnFatalError(e, QStringLiteral("by StopError"));
    return false;
}

// ---------------------------------------------------------------- start-up

bool MainWindowLogic::Load(const std::function<void()>& closeSplash) {
    InitializingEi = true;
    ScreenMousePointer(11);
    struct Pointer {
        ~Pointer() { ScreenMousePointer(-1); }
    } pointer;
    auto fail = [&](const QString& message, const AppError& cause = AppError()) {
        if (closeSplash) closeSplash();
        return stop(message, cause);
    };
    if (const QString help = MissingHelpMessage(); !help.isEmpty()) return fail(help);
    WriteRuntimeReport(plat::AppPath(), MissingRuntimeParts());
    if (!ShiftJisWorks()) return fail(QStringLiteral("Windowsの言語設定を [日本語] に変更してください."));
    int16_t code;
    try {
        code = gvInitialize();
    } catch (...) {
        return fail(StartupMessage(-1), plat::CurrentError());
    }
    if (code != StartupOK) return fail(StartupMessage(code), StartupError());
    started_ = true;
    if (StartupStage) StartupStage("initialise");
    gvMapGraph->setDefaultFont(gvDefaultFont);
    view_.SetStatusFont(gvDefaultFont);

    InitializingEi = true;
    if (!gvCanvas->Synchro()) gvCanvas->ViewLikeCanvas();
    view_.ResizeFormByView();
    SetScrollRange();
    SetViewControllByEngine();
    PlotWindow();
    if (StartupStage) StartupStage("base plot");
    if (closeSplash) closeSplash();
    return true;
}

void MainWindowLogic::OfferNewStdMaps() {
    clsCruise05& cruise = *gvCruise;
    const int32_t now = cruise.GetStdMapList();
    const int32_t last = cruise.LastStdMapList().toInt();
    if (!(now & clsCruise05::kMaskOcean)) cruise.EiOcean = false;
    if (!(now & 0x601F8)) cruise.EiTopo = false;
    if (!(now & clsCruise05::kMaskTraffic)) cruise.EiTraffic = false;
    if (now == last) return;
    auto offer = [](const QString& group, bool& flag) {
        if (AskYesNo(QStringLiteral("クルーズ機能で〔") + group + QStringLiteral("〕を使用しますか？"))) flag = true;
    };
    if (!(last & 0x1) && (now & 0x1)) offer(QStringLiteral("海底地形図"), cruise.EiOcean);
    if (!allBits(last, 0x78000) && allBits(now, 0x78000)) offer(QStringLiteral("交通図"), cruise.EiTraffic);
    bool offerAuto = false;
    if (!allBits(last, 0x780) && allBits(now, 0x780)) {
        offer(QStringLiteral("地形図"), cruise.EiTopo);
        offerAuto = true;
    }
    if (!allBits(last, 0x7E) && allBits(now, 0x7E)) offerAuto = true;
    if (offerAuto) offer(QStringLiteral("オートクルーズ"), cruise.EiAuto);
}

void MainWindowLogic::OpenFirstFile(const QStringList& arguments) {
    // The program's own tokenizer: blanks, full-width blanks, tabs and commas
    // separate, double quotes group.
    // The shell has split the arguments already; quoting each keeps a path
    // with blanks whole.
    QStringList quoted;
    for (const QString& a : arguments) quoted << QLatin1Char('"') + a + QLatin1Char('"');
    const QStringList tokens = StrToTokens(quoted.join(QLatin1Char(' ')), 0);
    const QString first = tokens.value(0);
    if (!first.isEmpty() && LoadFile) {
        LoadFile(first);
        if (gvMapUnitsLL->Count() > 1 || gvMapUnitsXY->Count() > 1) gvCruise->EiAuto = false;
    }
    RunStartMode();
}

void MainWindowLogic::RunStartMode() {
    if (gvMapUnitsLL->Count() > 1) return;
    switch (gvStartMapType) {
    case 1:
        if (gvMapMode == 1) {
            ScreenMousePointer(11);
            const clsRect field = gvMapPlotLL->Field();
            gvCruise->Cruise(gvMapPlotLL->MapScale(), &field, gvMapUnitsLL);
            ScreenMousePointer(-1);
            PlotWindow();
        }
        break;
    case 2:
        // The file dispatch loads, lays the window out (AfterLoad, where the
        // load's time ends) and plots.
        startMapLoading_ = true;
        if (LoadFile && LoadFile(gvStartMapFile) && StartupStage) StartupStage("first plot");
        startMapLoading_ = false;
        break;
    default: break;
    }
}

// ---------------------------------------------------------------- plot driver

int16_t MainWindowLogic::PlotWindow() {
    if (InitializingEi || PlottingEi) return 1;
    clsMapPlot* plot = CurrentMapPlot();
    if (gvMapMode == 1 && gvCruise && gvCruise->EiAuto && plot) {
        const clsRect field = plot->Field();
        gvCruise->Cruise(plot->MapScale(), &field, gvMapUnitsLL);
    }
    // A pointer position read in the other map mode means nothing now; the
    // next move over the view shows it again.
    if (pointerMode_ != gvMapMode) state_.Panels[3].clear();
    ShowScale();
    ShowCenter();
    SetStatusText(QStringLiteral("地図描画中..."));
    const int32_t dpi = gvCanvas->Dpi();
    const int16_t result = PlotMap(gvCanvasPicture->hDC(), dpi, dpi, gvCanvas->CanvasWidth(), gvCanvas->CanvasHeight());
    // A map left unfinished for a waiting command is drawn again after it.
    redrawOwed_ = result == PlotCancelled && !waiting_.empty();
    PlotCaption();
    view_.RedrawTopBar();
    view_.ViewPlotted();
    UpdateScrollSteps();
    QString text = PlotResultText(result);
    if (clsMapUnits* units = CurrentMapUnits(); units && units->Count() < 2)
        text = QStringLiteral("地図ファイルを開きましょう.");
    SetStatusText(text);
    return result;
}

int16_t MainWindowLogic::PlotMap(plat::HDC hdc, int32_t dpiX, int32_t dpiY, int32_t width, int32_t height) {
    if (InitializingEi || PlottingEi) return PlotNoSurface;
    PlottingEi = true;
    ScreenMousePointer(11);
    state_.Locked = true;
    refresh();
    int16_t result = PlotNoSurface;
    try {
        result = Plotter(hdc, dpiX, dpiY, width, height, [this](int16_t phase) {
            // The engine clears its cancel switch when it starts drawing.
            if (!waiting_.empty()) cancelPlot();
            SetStatusText(ProgressText(phase));
            if (phase > 2) view_.RepaintView();
        });
    } catch (...) {
        state_.Locked = false;
        PlottingEi = false;
        ScreenMousePointer(-1);
        refresh();
        postWaitingCommands();
        RaiseError(ErrFormUnload, kForm, QStringLiteral("PlotMap"));
    }
    view_.RepaintView();
    state_.Locked = false;
    refresh();
    ScreenMousePointer(-1);
    PlottingEi = false;
    postWaitingCommands();
    return result;
}

// ---------------------------------------------------------------- user commands

void MainWindowLogic::RunCommand(std::function<void()> command) {
    if (!command) return;
    if (PlottingEi || !waiting_.empty()) {
        waiting_.push_back(std::move(command));
        if (PlottingEi) cancelPlot();
        else runWaitingCommands();
        return;
    }
    {
        const CommandDepth under(commandDepth_);
        command();
    }
    runWaitingCommands();
}

void MainWindowLogic::cancelPlot() {
    bool any = false;
    for (clsMapPlot* plot : {gvMapPlotLL, gvMapPlotXY}) {
        if (plot && plot->Busy()) {
            plot->Cancel = true;
            any = true;
        }
    }
    if (!any)
        if (clsMapPlot* plot = CurrentMapPlot()) plot->Cancel = true;
}

void MainWindowLogic::postWaitingCommands() {
    if (waiting_.empty() || posted_) return;
    posted_ = true;
    view_.Post([this] {
        posted_ = false;
        runWaitingCommands();
    });
}

// Runs only at the top: not inside a plot, whose end posts this again, and
// not inside another command (a modal dialog's event loop), whose end calls
// this again.
void MainWindowLogic::runWaitingCommands() {
    if (PlottingEi || commandDepth_ > 0) return;
    while (!waiting_.empty()) {
        std::function<void()> command = std::move(waiting_.front());
        waiting_.pop_front();
        const CommandDepth under(commandDepth_);
        command();
    }
    if (redrawOwed_) PlotWindow();
}

void MainWindowLogic::PlotCaption() {
    clsMapPlot* plot = CurrentMapPlot();
    MapUnitPtr unit = ActiveMapUnit();
    if (!plot || !unit) return;
    double width = 0, charWidth = 0;
    view_.CaptionMetrics(width, charWidth);
    state_.Caption = MainCaption(plat::AppTitle(), unit->UnitName(), plot->ProjectionName(), unit->Modify(),
                                 unit->Map().LockMode(), width, charWidth);
    refresh();
}

void MainWindowLogic::UpdateScrollSteps() {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot) return;
    for (const bool vertical : {false, true}) {
        const MapViewControl::ScrollSteps steps = MapViewControl::ScrollStepsOf(vertical);
        ScrollBarState& bar = vertical ? state_.Vertical : state_.Horizontal;
        bar.SmallChange = steps.small;
        bar.LargeChange = steps.large;
    }
    refresh();
}

void MainWindowLogic::SetScrollRange() {
    InitializingEi = true;
    clsMapPlot* plot = CurrentMapPlot();
    if (plot) {
        const int32_t cx = plot->CenterX(), cy = plot->CenterY();
        const int32_t h = MapViewControl::ScrollBound(false), v = MapViewControl::ScrollBound(true);
        state_.Horizontal.Min = -h, state_.Horizontal.Max = h;
        state_.Vertical.Min = v, state_.Vertical.Max = -v;
        refresh();
        plot->setCenterX(cx);
        plot->setCenterY(cy);
    }
    InitializingEi = false;
}

void MainWindowLogic::SetViewControllByEngine() {
    InitializingEi = true;
    if (clsMapPlot* plot = CurrentMapPlot()) {
        const double factor = MapViewControl::ScrollFactor();
        state_.Horizontal.Value = clampValue(state_.Horizontal, roundEven(MapToCoarse(plot->CenterX()) * factor));
        refresh();
        view_.DoEvents();
        state_.Vertical.Value = clampValue(state_.Vertical, roundEven(MapToCoarse(plot->CenterY()) * factor));
        refresh();
        view_.DoEvents();
        state_.ScaleLevel = LevelOfScale(plot->MapScale());
        refresh();
        view_.DoEvents();
    }
    InitializingEi = false;
}

void MainWindowLogic::AfterLoad() {
    if (startMapLoading_ && StartupStage) StartupStage("load units");
    InitializingEi = true;
    view_.ResizeFormByView();
    SetScrollRange();
    InitializingEi = false;
    SetViewControllByEngine();
}

// ---------------------------------------------------------------- status bar

void MainWindowLogic::SetStatusText(const QString& text) {
    state_.Panels[0] = text;
    refresh();
}

void MainWindowLogic::ShowScale() {
    if (clsMapPlot* plot = CurrentMapPlot()) state_.Panels[1] = QStringLiteral("1/") + FormatStandardInt(plot->MapScale());
    refresh();
}

void MainWindowLogic::ShowCenter() {
    if (clsMapPlot* plot = CurrentMapPlot())
        state_.Panels[2] = QStringLiteral("C:") + MapXYToCoarseStr(plot->CenterX(), plot->CenterY());
    refresh();
}

void MainWindowLogic::ShowCursorPos(bool valid, int32_t mapX, int32_t mapY) {
    clsMapPlot* plot = CurrentMapPlot();
    QString text = QStringLiteral("********, ********");
    if (valid && plot)
        text = plot->MapScale() <= MapScaleMax / 200 ? MapXYToStr(mapX, mapY) : MapXYToCoarseStr(mapX, mapY);
    state_.Panels[3] = QStringLiteral("P:") + text;
    pointerMode_ = gvMapMode;
    refresh();
}

// ---------------------------------------------------------------- controls

void MainWindowLogic::KeepScrollValue(bool vertical, int32_t value) {
    (vertical ? state_.Vertical : state_.Horizontal).Value = value;
}

void MainWindowLogic::KeepScaleLevel(int32_t level) { state_.ScaleLevel = level; }

void MainWindowLogic::ScrollStep(int16_t direction) {
    if (direction <= 1) {
        const ScrollBarState& h = state_.Horizontal;
        int32_t v = h.Value + (direction == 0 ? -h.LargeChange : h.LargeChange);
        v = gvMapMode == 1 ? WrapRange(v, -10800, 10799) : clampValue(h, v);
        if (v != h.Value) view_.SetScrollValue(false, v);
    } else {
        const ScrollBarState& s = state_.Vertical;
        const int32_t v = clampValue(s, s.Value + (direction == 2 ? s.LargeChange : -s.LargeChange));
        if (v != s.Value) view_.SetScrollValue(true, v);
    }
}

bool MainWindowLogic::KeyDown(int keyCode) {
    if (keyCode == 27 || keyCode == 2) {
        if (PlottingEi) {
            if (clsMapPlot* plot = CurrentMapPlot()) plot->Cancel = true;
        } else {
            view_.LeaveModes();
        }
        return true;
    }
    if (PlottingEi) return false;
    switch (keyCode) {
    case 37: ScrollStep(0); return true;
    case 39: ScrollStep(1); return true;
    case 38: ScrollStep(2); return true;
    case 40: ScrollStep(3); return true;
    default: return false;
    }
}

void MainWindowLogic::mnuHome_Click() {
    if (gvMapMode == 1) {
        if (gvMapPlotLL) {
            gvMapPlotLL->setCenterX(gvHomeLon);
            gvMapPlotLL->setCenterY(gvHomeLat);
            gvMapPlotLL->setMapScale(gvHomeScaleLL);
        }
    } else if (gvMapPlotXY) {
        gvMapPlotXY->setCenterX(gvHomeX);
        gvMapPlotXY->setCenterY(gvHomeY);
        gvMapPlotXY->setMapScale(gvHomeScaleXY);
    }
    SetViewControllByEngine();
    PlotWindow();
}

void MainWindowLogic::mnuLanguageItem_Click(int32_t index) {
    gvLanguage = index;
    PlotWindow();
}

void MainWindowLogic::mnuMapCopy_Click() {
    SetStatusText(QStringLiteral("クリップボードへ出力しています..."));
    if (gvCanvas && gvCanvas->WriteClip()) {
        gvWriteLog(GetLogClip());
        PlotWindow();
        SetStatusText(QStringLiteral("クリップボードへ出力しました."));
    } else {
        SetStatusText(QStringLiteral("クリップボード出力に失敗しました."));
    }
}

// ---------------------------------------------------------------- shutdown

bool MainWindowLogic::QueryUnload() {
    if (!AskYesNo(plat::AppTitle() + QStringLiteral(" アプリケーションを終了しますか ?"))) return false;
    view_.DoEvents();
    for (clsMapUnits* units : {gvMapUnitsLL, gvMapUnitsXY})
        if (units)
            for (const MapUnitPtr& u : std::vector<MapUnitPtr>(units->begin(), units->end())) UnloadMapUnit(*u);
    gvWriteLog(GetLogLast());
    return true;
}

bool MainWindowLogic::Unload() {
    started_ = false;
    waiting_.clear();
    plat::CloseAllHelp();
    gvTerminate();
    return gvMapUnitsLL || gvMapUnitsXY;
}

void MainWindowLogic::WindupError() {
    waiting_.clear();
    // A file error means the files themselves failed: no saves, no snapshot.
    // Sets a failed start-up never made are left alone.
    if (!IsFileError(FatalStopError()) && started_ && gvMapUnitsLL && gvMapUnitsXY) {
        try {
            for (clsMapUnits* units : {gvMapUnitsLL, gvMapUnitsXY})
                for (const MapUnitPtr& u : std::vector<MapUnitPtr>(units->begin(), units->end())) UnloadMapUnit(*u);
            gvWriteLog(GetLogError());
        } catch (...) {
        }
    }
    started_ = false;
    plat::CloseAllHelp();
    try {
        gvTerminate();
    } catch (...) {
    }
}

void MainWindowLogic::UnloadMapUnit(clsMapUnit& unit) {
    if (!unit.Modify()) return;
    if (!AskYesNo(QStringLiteral("地図ユニット / ") + unit.Map().MapName(gvLanguage) + QStringLiteral("\r") +
                  QStringLiteral("には修正されたデータがあります.") + QStringLiteral("\r") + QStringLiteral("保存しますか？")))
        return;
    view_.DoEvents();
    unit.setUnitName(unit.UnitName());
    const QString filter = unit.Map().MapMode() == 2 ? QStringLiteral("ＸＹ地図ユニット(*.MXY)|*.MXY|")
                                                     : QStringLiteral("経緯度地図ユニット(*.MLL)|*.MLL|");
    while (!unit.Save(true)) {
        const QString name = InputSaveName ? InputSaveName(filter, unit.UnitName()) : QString();
        if (name.isEmpty()) return;
        unit.setUnitName(name);
    }
}
