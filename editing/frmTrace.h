// The trace dialog "トレース": a scanned map picture with its graticule
// crosses and the figure digitised on it, over frmTraceLogic.
#pragma once

#include <QWidget>

#include "DialogBase.h"
#include "frmTraceLogic.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

class frmTrace;

// The picture view: shows what the logic renders and passes the left
// button on in view pixels.
class TraceView : public QWidget {
public:
    explicit TraceView(frmTrace& form);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    frmTrace& form_;
};

class frmTrace : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmTrace(frmTraceLogic& logic, QWidget* parent = nullptr);
    ~frmTrace() override;

    frmTraceLogic& Logic() { return logic_; }
    // Copies the logic's texts and control states into the controls.
    void sync();
    // The view and scroll bars for the picture and zoom, within 90 % of the
    // screen; the window, grown or shrunk, stays wholly on the screens.
    void ResizeForm();
    // Runs a handler of the form; an error escaping it is fatal.
    void handle(const char* name, const std::function<void()>& body);

    TraceView* picView = nullptr;
    QScrollBar* hsbView = nullptr;
    QScrollBar* vsbView = nullptr;
    QWidget* fraControll = nullptr;
    QGroupBox *fraPointer = nullptr, *fraGrid = nullptr, *fraNode = nullptr;
    QLabel *lblPointerX = nullptr, *lblPointerY = nullptr, *lblIxFix = nullptr, *lblIxBody = nullptr;
    QLabel *lblIyFix = nullptr, *lblIyBody = nullptr, *lblLon = nullptr, *lblLat = nullptr;
    QLabel *lblNodeLon = nullptr, *lblNodeLat = nullptr, *lblMessage = nullptr;
    QLineEdit *txtLon = nullptr, *txtLat = nullptr;
    QPushButton *cmdImage = nullptr, *cmdPhase = nullptr, *cmdLoop = nullptr, *cmdColor = nullptr;
    QPushButton *cmdDelete = nullptr, *cmdUndo = nullptr, *cmdOK = nullptr, *cmdCancel = nullptr, *cmdHelp = nullptr;
    QCheckBox *chkDouble = nullptr, *chkMark = nullptr, *chkSnap = nullptr;

protected:
    void formKeyDown(int& keyCode, int shift) override;
    void showEvent(QShowEvent* e) override;

private:
    void build();
    void scrolled();
    frmTraceLogic& logic_;
};

// Opens the dialog over `parent` with the logic's variables set; true when
// it closed with OK (the logic then holds the result).
bool ShowTrace(QWidget* parent);
// Installs the host and the figure dialogs' trace window.
void InstallTraceWindow(TraceHost host);
