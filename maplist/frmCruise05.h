// The cruise settings dialog "クルーズ設定": map kind, optional maps,
// automatic cruise, substitution and the seven border scales between the 8
// cruise levels, each as a denominator text and a zoom-level slider; it can
// also run the cruise for the current view. A thin window over
// frmCruise05Logic.
//
// The caller sets CruiseEngine (gvCruise), TargetUnits and TargetPlot of
// logic(); on the first opening it places the dialog 600 twips right of and
// below its own corner (position().presetIfFirst); it shows it modally,
// clears the three, and redraws when ExitCode is 2 or automatic cruise is on.
#pragma once

#include "DialogBase.h"
#include "frmCruise05Logic.h"

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

class frmCruise05 : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmCruise05(QWidget* parent = nullptr, plat::DialogPosition* remembered = nullptr);

    frmCruise05Logic& logic() { return logic_; }
    // Shows the dialog modally; the exit code.
    int32_t showCruise();
    // The engine's settings into the controls (the logic's Load).
    void loadControls();

    // -- controls, named as the form names them (tests reach them here)
    QRadioButton* optType[2] = {};
    QCheckBox* chkOcean = nullptr;
    QCheckBox* chkTraffic = nullptr;
    QCheckBox* chkAuto = nullptr;
    QCheckBox* chkReplace = nullptr;
    std::array<QLabel*, 9> lblScale{};      // 1..8
    std::array<QLabel*, 9> lblNumerator{};  // 0..8
    std::array<QLineEdit*, 8> txtScale{};   // 1..7
    std::array<QSlider*, 8> sliScale{};     // 1..7
    QPushButton* cmdDefScale = nullptr;
    QPushButton* cmdExe = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

protected:
    void reject() override;

private:
    void build();
    // The logic's state into the controls; their change signals do nothing meanwhile.
    void refresh();

    frmCruise05Logic logic_;
    bool refreshing_ = false;
};
