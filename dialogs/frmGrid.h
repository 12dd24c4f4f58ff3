// The graticule dialog "経緯線": the line switch, automatic spacing, lines
// over the sea only, degree labels, and four values (meridian and parallel
// spacing, northern and southern limit of the meridians), each a text box
// with a slider. A thin window over frmGridLogic; Enter checks the focused
// box and presses OK.
#pragma once

#include <array>
#include <functional>

#include "SettingsForm.h"
#include "frmGridLogic.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSlider;

class frmGrid : public SettingsForm {
    Q_OBJECT
public:
    explicit frmGrid(QWidget* parent = nullptr, frmGridLogic& logic = GridDialog());

    // -- controls, named as the form names them (tests reach them here)
    std::array<QGroupBox*, frmGridLogic::kValues> fraGrid{};
    std::array<QLineEdit*, frmGridLogic::kValues> txtGrid{};
    std::array<QSlider*, frmGridLogic::kValues> sliGrid{};
    QCheckBox* chkGridEi = nullptr;
    QCheckBox* chkGridAuto = nullptr;
    QCheckBox* chkOcean = nullptr;
    QCheckBox* chkString = nullptr;

private:
    void build();
    // GridToControl; the controls' change signals do nothing meanwhile.
    void refresh();

    frmGridLogic& logic_;
};
