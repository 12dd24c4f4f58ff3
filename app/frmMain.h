// The main window: menus, the top bar (scale bar, view-area box, scale
// slider), the map view with its scroll bars and the status bar. It shows
// what MainWindowLogic holds and hands its events there; the view's mouse,
// scroll bars, slider, timers and dropped files go to MapViewControl, whose
// rubber bands the view paints from its overlay.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QMargins>

#include <climits>

#include <functional>
#include <memory>

#include "FileOpenSave.h"
#include "MainWindowLogic.h"
#include "MapViewHost.h"

class FigurePickMenu;
class FigurePickMenuUi;
class MapViewControl;
class PrinterPort;
class clsSearchInfo;
class frmMapList;
class frmMapUnitList;
class frmPrjWizardLogic;
class QLabel;
class QMenu;
class QScrollBar;
class QSlider;
class QTimer;
class QToolButton;
namespace plat {
class ViewOverlay;
}

class MapViewWidget;

class frmMain : public QMainWindow, private MainView, private MapViewHost {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    MainWindowLogic& logic() { return logic_; }
    // The start-up: splash, checks, global state, first plot; then the
    // window shows and the command-line file or the start mode follows.
    // False when the program was stopped.
    bool Start(const QStringList& arguments);
    MapViewControl& viewControl() { return *control_; }
    plat::ViewOverlay& overlay() { return *overlay_; }

    // File menu: open, save as, the overwrite (also the save reminder's)
    // and the image size.
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuOverwrite_Click();
    void mnuMapSize_Click();
    // Whether a printer was found at start-up (the print item's state), and
    // what makes the printer the print item uses (empty: the system's,
    // through the print dialog). It is made at the first print and kept,
    // with the user's choices, for the window's life.
    bool PrinterFound = false;
    std::function<std::unique_ptr<PrinterPort>()> MakePrinter;
    // The projection wizard's state, kept for the program run (tests put
    // their run engine here).
    frmPrjWizardLogic& prjWizard();

    // -- controls, named as the window names them (tests reach them here)
    QWidget* picView = nullptr;
    QWidget* picMeasure = nullptr;
    QWidget* picViewArea = nullptr;
    QSlider* sliScale = nullptr;
    QToolButton* picScaleSmall = nullptr;
    QToolButton* picScaleLarge = nullptr;
    QScrollBar* hsbView = nullptr;
    QScrollBar* vsbView = nullptr;
    std::array<QLabel*, 4> stbPanels{};
    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuView = nullptr;
    QMenu* mnuProject = nullptr;
    QMenu* mnuTool = nullptr;
    QMenu* mnuHelp = nullptr;
    QMenu* mnuPopup = nullptr;   // the view's right-click menu, not in the bar
    // The figure element chosen in the pickup list for the pick menu.
    std::shared_ptr<clsSearchInfo> PickInfo;
    // Runs with the pickup list open (tests answer it here).
    std::function<void(class frmPickup&)> PickupShown;
    // The pick menu on PickInfo (not in the bar), made at the first pick;
    // PickMenuShown runs while it is up.
    FigurePickMenuUi* mnuPick = nullptr;
    std::function<void(FigurePickMenuUi&)> PickMenuShown;

    // Prepares mnuPopup's items from the window and the plot engine.
    void mnuPopup_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    friend class MapViewWidget;

    // MainView
    void Refresh(const MainViewState& state) override;
    void RepaintView() override;
    void RedrawTopBar() override;
    void CaptionMetrics(double& widthTwips, double& charTwips) const override;
    void ResizeFormByView() override;
    void SetStatusFont(const QString& face) override;
    void DoEvents() override;
    void SetScrollValue(bool vertical, int32_t value) override;
    void ViewPlotted() override;
    void LeaveModes() override;
    void Post(std::function<void()> task) override;

    // MapViewHost
    bool Plotting() const override { return logic_.PlottingEi; }
    void setInitializing(bool on) override { logic_.InitializingEi = on; }
    int16_t PlotWindow() override { return logic_.PlotWindow(); }
    void SetViewControllByEngine() override { logic_.SetViewControllByEngine(); }
    void PaintViewFromCanvas() override;
    void ShowPanOffset(int32_t dx, int32_t dy) override;
    void WakeAfter(int64_t ms) override;
    void SetStatusText(const QString& text) override { logic_.SetStatusText(text); }
    void ShowScale() override { logic_.ShowScale(); }
    void ShowCenter() override { logic_.ShowCenter(); }
    void ShowCursorPos(int32_t mapX, int32_t mapY, bool valid) override { logic_.ShowCursorPos(valid, mapX, mapY); }
    void SetViewCursor(int resource) override;
    int32_t ScrollValue(bool vertical) const override;
    int16_t SliderValue() const override;
    void SetSliderValue(int16_t level) override;
    void SetSliderTip(const QString& text) override;
    QSize ScreenSizePixels() const override;
    void SetScrollRange() override { logic_.SetScrollRange(); }
    void LoadFile(const QString& path) override;
    void ShowPopupMenu(int32_t viewX, int32_t viewY) override;
    bool PickupList(int32_t canvasX, int32_t canvasY, bool includeAll, int32_t& mapX, int32_t& mapY) override;
    void PickMenu(int32_t viewX, int32_t viewY) override;
    QString ActiveWindowName() const override;
    bool MainMinimized() const override { return isMinimized(); }
    bool AnyMapModified() const override;
    void Overwrite() override { mnuOverwrite_Click(); }
    void RefreshMapListCaption() override;

    void buildMenus();
    void buildPopupMenu();
    void buildControls();
    void keepStatusHeight();
    // An event handler: an error in it stops the program in order.
    void guarded(const char* handler, const std::function<void()>& fn);
    // The view follows its container; the canvas follows the view when it is
    // synchronised. Waits while a plot runs; redraws when a size changed.
    void layoutView();
    void scheduleLayout();
    // The view and the canvas fitted to the view's container as the layout
    // has it now; true when a size changed (the canvas must be drawn anew).
    bool fitViewToBox();
    // The window's size round the view: the client area less the view's
    // container, with the layout brought up to date first.
    QSize viewFrame();
    // Makes the scale-bar box as high as the bar and its numbers in the
    // bar's font, once the drawing layer can measure them.
    void fitMeasureBox();
    // Puts the frame's corner and the client size through the placement
    // rule on the screens now present.
    void placeWindow(QPoint corner, QSize client);
    // The window manager's decorations, or those expected while the window
    // is not framed yet.
    QMargins decorations() const;
    // The frame's top-left, where the client's corner puts it.
    QPoint frameCorner() const;
    // Once the window manager has framed the window, corrects the placement
    // made with the decorations expected.
    void checkDecorations();
    // Runs a handler of the view control, then shows what it drew.
    void viewEvent(const char* handler, const std::function<void()>& fn);
    void paintMeasure(QPainter& p);
    void paintViewArea(QPainter& p);

    void mnuNew();
    void mnuCruiseSet();
    void mnuCruiseExe();
    void mnuPrint();
    void mnuGarbage(bool all);
    void mnuAddAzimuthLine();
    void mnuResetOwn(bool colours);
    void mnuMapDispItem(int index);
    // The drop-downs: every state from the window and the engines.
    void mnuFile_Click();
    void mnuEdit_Click();
    void mnuView_Click();
    void mnuTool_Click();
    void mnuJump();
    void mnuMapList();
    // The figure list, opened on a unit's figure row when given (0: the
    // active unit, no row); true when the view was moved to its centre.
    bool openMapList(int16_t startUnit, int32_t startRow);
    void mnuAddItem(int kind);
    void mnuMapUnitList();
    void mnuPrjWizard();
    void mnuEnvironment();
    // The coordinate mode: a running survey ends first; the view follows.
    void mnuCoordinateItem(int32_t mode);
    // The dialogs' joints to this window, in place from construction.
    void installDialogHosts();
    void removeDialogHosts();

    MainWindowLogic logic_;
    std::unique_ptr<plat::ViewOverlay> overlay_;
    std::unique_ptr<MapViewControl> control_;
    mainform::FileHost previousFileHost_;
    std::unique_ptr<frmPrjWizardLogic> prjWizard_;
    std::unique_ptr<PrinterPort> printer_;
    frmMapUnitList* unitList_ = nullptr;   // one for the run: keeps its place and last file
    frmMapList* mapList_ = nullptr;        // one for the run: keeps its geometry and searches
    QTimer* wake_ = nullptr;
    QString openProposal_;   // the open dialog's last answer
    MapViewWidget* mapView_ = nullptr;   // picView
    QWidget* viewBox_ = nullptr;
    bool layoutPending_ = false;
    QMargins decorations_;   // the decorations the last placement assumed
    QPoint askedCorner_;     // the frame's corner the last placement was asked for,
    QPoint placedCorner_;    // where it put the frame
    QPoint placedClientAt_;  // and the client
    // The corner the settings gave (twips) and where the frame went for it:
    // while the frame stays there, the settings get their own value back.
    QPointF storedCorner_;
    QPoint storedCornerAt_{INT_MIN, INT_MIN};
    QImage measure_;   // the scale bar as last drawn, shown while a plot runs
    bool measureFitted_ = false;
    int32_t panelsMode_ = 0;   // the map mode the status readouts' widths were kept for
    bool closing_ = false;
    struct PopupActions;
    std::unique_ptr<PopupActions> popupActions_;
    std::unique_ptr<FigurePickMenu> pick_;
    struct MenuActions;
    std::unique_ptr<MenuActions> menuActions_;
    bool cruiseAsked_ = false;   // the download question comes once a run
};
