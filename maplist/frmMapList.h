// The figure list window "地図図形リスト": one grid row per figure of one
// map unit, a status bar of five panels, the File and Edit menus and the
// unit switch menu. A thin window over frmMapListLogic; one object lives for the whole
// program run, so its size, position and column widths are kept between
// openings.
//
// The main window sets MapUnits, StartUnit and StartRow of logic(), calls
// showList(), clears MapUnits, and when the result (DialogOK, the same as
// logic().MoveView) is true centres its view on logic().MoveX, MoveY.
// PrintCaption() refreshes the caption while the list is open (the save
// reminder saves from it).
#pragma once

#include <array>

#include "DialogBase.h"
#include "FlexGrid.h"
#include "frmMapListLogic.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;

class frmMapList : public plat::DialogBase {
    Q_OBJECT
public:
    // The design size (twips) of the first opening.
    static constexpr int32_t kDesignWidth = 12000;
    static constexpr int32_t kDesignHeight = 6600;
    static constexpr long kHelpContext = 241001;

    explicit frmMapList(QWidget* parent = nullptr);
    ~frmMapList() override;

    frmMapListLogic& logic() { return logic_; }
    // Loads and shows the window modally; DialogOK. A set without units
    // shows nothing.
    bool showList();
    void PrintCaption() { logic_.PrintCaption(); }

    // -- controls, named as the form names them (tests reach them here)
    plat::FlexGrid* flgList = nullptr;
    QStatusBar* stbForm = nullptr;
    std::array<QLabel*, 5> panels{};
    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    std::array<QAction*, frmMapListLogic::FileItemCount> fileItems{};
    QMenu* mnuEdit = nullptr;
    std::array<QAction*, frmMapListLogic::EditItemCount> editItems{};
    // Sub-items of the items that have them (insert, append, show, curve, sorts).
    std::array<std::vector<QAction*>, frmMapListLogic::EditItemCount> editSubItems;
    QMenu* mnuSearch = nullptr;
    std::array<QAction*, frmMapListLogic::SearchItemCount> searchItems{};
    QMenu* mnuJump = nullptr;
    QAction *mnuTop = nullptr, *mnuBottom = nullptr, *mnuLine = nullptr, *mnuMarkClear = nullptr,
            *mnuMarkClearAll = nullptr;
    QMenu *mnuMarkRec = nullptr, *mnuMarkJump = nullptr;
    std::array<QAction*, 10> mnuMarkRecItem{}, mnuMarkJumpItem{};   // items 1..9
    QMenu* mnuPopup = nullptr;
    QAction *mnuPopupUndo = nullptr, *mnuPopupCut = nullptr, *mnuPopupCopy = nullptr, *mnuPopupPaste = nullptr,
            *mnuPopupDelete = nullptr, *mnuPopupTouch = nullptr, *mnuPopupMarkRegist = nullptr,
            *mnuPopupMarkClear = nullptr, *mnuPopupBefore = nullptr, *mnuPopupNext = nullptr;
    // Sets the popup's items as it opens (the grid's right button shows it).
    void popupOpens();
    QMenu* mnuUnit = nullptr;
    QAction* mnuUnitCancel = nullptr;                 // "取り消し(&0)"
    std::vector<QAction*> mnuUnitItem;                // items 1..UnitMenuCount
    QAction* mnuHelp = nullptr;                       // "ヘルプ(&H)", a command of the menu bar

    // The steps a modal show runs, for tests that drive the window without
    // its own event loop: Load (false: nothing to show), then show() and
    // activation.
    bool loadList();
    void done(int r) override;

protected:
    void formKeyDown(int& keyCode, int shift) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    class Grid;
    void build();
    void applyGridLook();
    void activate();
    void syncUnitMenu();
    void buildEditMenu();
    void buildSearchMenu();
    void buildJumpMenu();
    void buildPopupMenu();
    void jumpMenuOpens();
    void editMenuOpens();
    // Connects a menu item to a list command run under its handler name.
    void wire(QAction* item, const char* name, void (frmMapListLogic::*command)());
    // The window's place (twips) for the dialogs a command positions.
    void notePosition();
    void setBusy(bool busy);
    bool inputBlocked(QObject* o, QEvent* e) const;

    frmMapListLogic logic_;
    std::unique_ptr<Grid> grid_;
    bool blocking_ = false;
    // Edit items whose commands exist; the others stay disabled.
    std::array<bool, frmMapListLogic::EditItemCount> editWired_{};
};
