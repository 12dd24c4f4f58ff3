// The view projection dialog "直接投影変換" over frmDirectProjectionLogic:
// two tabs (centre and scale; the projection, absent on the X/Y engine),
// OK, Cancel and Help. Enter anywhere takes the focused box and presses OK.
#pragma once

#include <array>

#include "DialogBase.h"
#include "frmDirectProjectionLogic.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class frmDirectProjection : public plat::DialogBase {
    Q_OBJECT
public:
    // The logic outlives the window: its tab and position persist.
    explicit frmDirectProjection(frmDirectProjectionLogic& logic, QWidget* parent = nullptr);
    ~frmDirectProjection() override;

    frmDirectProjectionLogic& logic() { return logic_; }
    QTabWidget* tabs() const { return tabs_; }
    QLineEdit* txtX() const { return txtX_; }
    QLineEdit* txtY() const { return txtY_; }
    QLineEdit* txtScale() const { return txtScale_; }
    QCheckBox* chkAuto() const { return chkAuto_; }
    QRadioButton* option(int slot) const { return opt_[size_t(slot - 1)]; }
    QWidget* picture(int slot) const { return img_[size_t(slot - 1)]; }
    QLabel* labelX() const { return lblX_; }
    QPushButton* okButton() const { return cmdOK_; }

public slots:
    void done(int result) override;

private:
    void build();
    void refresh();
    template <class F>
    void handler(const char* proc, F&& f);

    frmDirectProjectionLogic& logic_;
    bool refreshing_ = false;
    bool unloaded_ = false;
    QTabWidget* tabs_ = nullptr;
    QWidget* tab1_ = nullptr;
    QLineEdit* txtX_ = nullptr;
    QLineEdit* txtY_ = nullptr;
    QLineEdit* txtScale_ = nullptr;
    QLabel* lblX_ = nullptr;
    QLabel* lblY_ = nullptr;
    QCheckBox* chkAuto_ = nullptr;
    QGroupBox* fraManual_ = nullptr;
    std::array<QRadioButton*, frmDirectProjectionLogic::kSlots> opt_{};
    std::array<QWidget*, frmDirectProjectionLogic::kSlots> img_{};
    QPushButton* cmdOK_ = nullptr;
};
