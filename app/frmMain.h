// The main window: menus, the top bar (scale bar, view-area box, scale
// slider), the map view with its scroll bars and the status bar. It shows
// what MainWindowLogic holds and hands its events there.
#pragma once

#include <QMainWindow>

#include <memory>

#include "MainWindowLogic.h"

class QLabel;
class QMenu;
class QScrollBar;
class QSlider;
class QToolButton;

// Where the map view's mouse goes. The click, drag and wheel handling of the
// view is attached here; until then the pointer position is shown and
// nothing else happens.
class MapViewInput {
public:
    virtual ~MapViewInput() = default;
    // button 1 left, 2 right, 4 middle; shift as the window reports it;
    // x, y view pixels.
    virtual void MouseDown(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void MouseMove(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void MouseUp(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    // delta in eighths of a degree, as the wheel reports it.
    virtual void Wheel(int /*delta*/, int /*shift*/, int /*x*/, int /*y*/) {}
};

class MapViewWidget;

class frmMain : public QMainWindow, private MainView {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    MainWindowLogic& logic() { return logic_; }
    // The start-up: splash, checks, global state, first plot; then the
    // window shows and the command-line file or the start mode follows.
    // False when the program was stopped.
    bool Start(const QStringList& arguments);
    // Replaces the view's mouse handling (none: the pointer readout only).
    void setMapViewInput(std::shared_ptr<MapViewInput> input);
    MapViewInput& mapViewInput() { return *input_; }

    // -- controls, named as the window names them (tests reach them here)
    MapViewWidget* picView = nullptr;
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

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // MainView
    void Refresh(const MainViewState& state) override;
    void RepaintView() override;
    void RedrawTopBar() override;
    void CaptionMetrics(double& widthTwips, double& charTwips) const override;
    void ResizeFormByView() override;
    void DoEvents() override;

    void buildMenus();
    void buildControls();
    // An event handler: an error in it stops the program in order.
    void guarded(const char* handler, const std::function<void()>& fn);
    // The view follows its container; the canvas follows the view when it is
    // synchronised. Waits while a plot runs.
    void layoutView();
    void scheduleLayout();
    void viewAreaClicked(int x, int y);
    void paintMeasure(QPainter& p);
    void paintViewArea(QPainter& p);

    void mnuCruiseSet();
    void mnuJump();
    void mnuMapList();
    void mnuAddItem(int kind);

    MainWindowLogic logic_;
    std::shared_ptr<MapViewInput> input_;
    QWidget* viewBox_ = nullptr;
    bool layoutPending_ = false;
    bool closing_ = false;
};
