// The drawing window "作図": the map picture with the marks at the left,
// the control frame beside it.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

#include "DialogBase.h"
#include "frmDrawLogic.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class clsMapUnits;
struct DrawWindowRequest;

class frmDraw : public plat::DialogBase {
    Q_OBJECT
public:
    // Loads at once; loaded() is false for an unknown mode.
    frmDraw(frmDrawLogic& logic, DrawMapView& view, QWidget* parent = nullptr);
    ~frmDraw() override;
    bool loaded() const { return loaded_; }

    QScrollArea* viewBox = nullptr;
    QWidget* picView = nullptr;
    QWidget* fraControll = nullptr;
    QCheckBox* chkGrid = nullptr;
    QLineEdit* txtGrid = nullptr;
    QCheckBox* chkSnap = nullptr;
    QPushButton *cmdDelete = nullptr, *cmdLoop = nullptr, *cmdUndo = nullptr, *cmdColor = nullptr;
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr, *cmdHelp = nullptr;
    QLabel *lblPointer = nullptr, *lblMessage = nullptr;

    // Runs an event of the view as the window does (tests and the view).
    void viewEvent(const char* handler, const std::function<void()>& body);

protected:
    void formKeyDown(int& keyCode, int shift) override;
    void showEvent(QShowEvent* e) override;

private:
    class View;
    void build();
    void refresh();

    frmDrawLogic& logic_;
    bool loaded_ = false;
};

// What the window needs of the main window, installed by it at start-up:
// its view's picture painted from the canvas, its replot, and the map
// units it shows (searched by the snap).
struct DrawWindowHost {
    std::function<QImage()> Picture;
    std::function<void()> PlotWindow;
    std::function<std::shared_ptr<clsMapUnits>()> MapUnits;
};
DrawWindowHost SetDrawWindowHost(DrawWindowHost host);

// The main window's view as the drawing window sees it: the current plot
// engine and canvas and the installed host.
std::unique_ptr<DrawMapView> MainDrawMapView();

// Opens the drawing window over the request on the main view; true with
// the point or the nodes written back when it closed with OK.
bool RunDrawWindow(DrawWindowRequest& request);
