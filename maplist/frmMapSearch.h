// The search dialog "地図図形の検索と置換": target, direction and the keys
// (keyword and replacement with their histories, a node of the current
// figure, an own colour). A thin window over a frmMapSearchLogic that the
// figure list keeps for the program run; the controls are made at every
// opening.
#pragma once

#include <array>

#include "DialogBase.h"
#include "frmMapSearchLogic.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmMapSearch : public plat::DialogBase {
    Q_OBJECT
public:
    static constexpr long kHelpContext = 290013;

    frmMapSearch(frmMapSearchLogic& logic, QWidget* parent = nullptr);

    // Shows the dialog modally; the answers are in the logic afterwards.
    void showSearch();
    // The logic's state into the controls (the form's load).
    void loadControls();

    // -- controls, named as the form names them (tests reach them here)
    QGroupBox* fraTarget = nullptr;
    std::array<QRadioButton*, 5> optTarget{};     // 1..4
    QGroupBox* fraDirection = nullptr;
    std::array<QRadioButton*, 3> optDirection{};  // 1..2
    QGroupBox* fraKey = nullptr;
    QLabel* lblKeyword = nullptr;
    QComboBox* choKeyword = nullptr;
    QLabel* lblReplace = nullptr;
    QComboBox* choReplace = nullptr;
    QLabel* lblNode = nullptr;
    QComboBox* choNode = nullptr;
    QLabel* lblPalette = nullptr;
    QPushButton* cmdPalette = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdReplace = nullptr;
    QPushButton* cmdReplaceAll = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void build();
    void enableKeys();
    void showPaletteColor();
    void command(int32_t c);

    frmMapSearchLogic& logic_;
    int32_t command_ = 0;
};
