// The place-name jump dialog "地名ジャンプ": a keyword box with its history,
// the place list (name, map file, district, thing; the other columns hidden),
// the source of the list (the loaded map units or the gazetteer), the
// gazetteer build, the message line and the place count. A thin window over
// frmJump05Logic.
//
// The caller keeps one object for the run. It sets logic().TargetUnits; on
// the first opening it places the dialog 1500 twips right of and 600 below
// its own corner (position().presetIfFirst); showJump() runs one opening;
// then it clears TargetUnits and, on OK, applies the place (frmJump05Logic.h).
#pragma once

#include "DialogBase.h"
#include "frmJump05Logic.h"

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace plat {
class FlexGrid;
} // namespace plat

class frmJump05 : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmJump05(QWidget* parent = nullptr);
    ~frmJump05() override;

    frmJump05Logic& logic() { return *logic_; }
    // One opening: load, the modal loop, unload. DialogOK of the logic.
    bool showJump();
    // The parts of an opening, for tests and pictures: load (false: nothing
    // to show) and the first filling of the list, which the opening runs once
    // the window is up; and unloading.
    bool loadControls();
    void activateList();
    void unloadControls();

    // -- controls, named as the form names them (tests reach them here)
    QLabel* lblKey = nullptr;
    QComboBox* choKeyword = nullptr;
    QLabel* lblList = nullptr;
    plat::FlexGrid* flgPlaces = nullptr;
    QGroupBox* fraSource = nullptr;
    QRadioButton* optSource[2] = {};
    QPushButton* cmdGazetteer = nullptr;
    QLabel* lblMessage = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

protected:
    void formKeyDown(int& keyCode, int shift) override;
    void reject() override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void build();
    // The logic's state into the controls; their change signals do nothing meanwhile.
    void refresh();
    void applyGridLook();
    void setColumnWidths();
    void ok();
    // An event handler's body: an error ends the program in order.
    template <class F>
    void handler(F&& f);

    std::unique_ptr<frmJump05Logic> logic_;
    bool refreshing_ = false;
    bool open_ = false;
};
