// The map unit list dialog "地図ユニットリスト": the units of the current
// map mode in a grid of 11 columns, with add, remove, remove all, up, down,
// OK, Cancel and Help. A thin window over frmMapUnitListLogic; one object
// lives for the program run, so its position and the last added file are
// kept between openings.
#pragma once

#include <memory>

#include "DialogBase.h"
#include "frmMapUnitListLogic.h"

class QLabel;
class QPushButton;

namespace plat {
class FlexGrid;
} // namespace plat

class frmMapUnitList : public plat::DialogBase {
    Q_OBJECT
public:
    static constexpr long kHelpContext = 230005;

    explicit frmMapUnitList(QWidget* parent = nullptr);
    ~frmMapUnitList() override;

    frmMapUnitListLogic& logic() { return logic_; }

    // The main window's command "地図ユニットリスト(&L)...": the dialog on
    // `set`, placed first 600 twips right of and below the main window's
    // corner; the main window is redrawn (MapListHost) after OK. DialogOK.
    bool openFromMain(QWidget* mainWindow, clsMapUnits* set);

    // The parts of an opening, for tests and pictures: load (false: no set)
    // and unload.
    bool loadControls();
    void unloadControls();

    // -- controls, named as the form names them
    QLabel* lblListBox = nullptr;
    plat::FlexGrid* flgInfos = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

private:
    void build();
    void refresh();
    // An event handler's body under its name: an error ends the program in order.
    void handler(const char* name, const std::function<void()>& f);

    frmMapUnitListLogic logic_;
};
