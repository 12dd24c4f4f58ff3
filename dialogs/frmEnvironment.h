// The environment settings dialog "環境設定": map folder, start-up map,
// home position, screen width, save-reminder interval and angle format. A
// thin window over frmEnvironmentLogic; the controls are built at every
// opening from the application state. Enter checks the focused box and
// moves the focus to OK.
#pragma once

#include <array>
#include <functional>

#include "SettingsForm.h"
#include "frmEnvironmentLogic.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmEnvironment : public SettingsForm {
    Q_OBJECT
public:
    explicit frmEnvironment(QWidget* parent = nullptr, frmEnvironmentLogic& logic = EnvironmentDialog());

    // -- controls, named as the form names them (tests reach them here)
    QLineEdit* txtMapPath = nullptr;
    QPushButton* cmdMapPath = nullptr;
    std::array<QRadioButton*, 3> optStartMap{};
    QLineEdit* txtStartMapFile = nullptr;
    QPushButton* cmdStartMapFile = nullptr;
    QLabel* lblHomeLon = nullptr;
    QLabel* lblHomeLat = nullptr;
    QLineEdit* txtHomeLon = nullptr;
    QLineEdit* txtHomeLat = nullptr;
    QLineEdit* txtHomeScale = nullptr;
    QPushButton* cmdHomeRec = nullptr;
    QLineEdit* txtScreenWidth = nullptr;
    QComboBox* choSaveInterval = nullptr;
    QComboBox* choAngle = nullptr;

private:
    void build();
    // ToControl: the working state into the controls (not the two path
    // boxes); their change signals do nothing meanwhile.
    void refresh();

    frmEnvironmentLogic& logic_;
};
