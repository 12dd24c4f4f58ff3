// What every modal dialog of the program shares: the remembered position in
// twips, the OK result, the help button, what Enter does, and the check run
// when the focus leaves a field.
//
// Position: on showing, the dialog's frame (title bar and borders included)
// goes to the remembered corner, or, when there is none, centred over its
// owner (its parent's window, else the active window) or, when it has no
// owner or is to be centred on the screen, over the owner's screen;
// either way wholly onto the screens' available areas (PlaceDialog).
// Hiding and deactivation remember the frame's corner. Until the window
// manager has framed the dialog, its frame is expected to be as large as the
// owner's; a frame that turns out otherwise is put where it was meant to be.
//
// Field checks: a check runs when the focus leaves its field for another
// control of the same dialog (by mouse, Tab, a mnemonic or code). A check
// that refuses keeps the focus in the field, and the mouse click or mnemonic
// that would have taken the focus away does not reach its control (the
// button is not pressed). A check usually shows the range warning and puts
// the last valid value back itself. Controls marked exempt (Cancel, Help)
// take the focus without a check. Leaving the dialog's window (another
// window, a message box) runs no check.
//
// Enter (the dialog sees keys before its controls, through formKeyDown):
// on a push button it presses that button; in a multi-line text box it stays
// there; elsewhere (option buttons and check boxes included), by the policy:
// - Default: Enter in a field runs its check; otherwise Qt's default button.
// - MoveToOK: the focused field is checked (a refusal does not stop it) and
//   the focus moves to OK.
// - PressOK: the focused field is checked (likewise) and OK is pressed.
// The key is taken from the control in every case but Default.
#pragma once

#include <QDialog>
#include <QMargins>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;

namespace plat {

// A dialog's remembered top-left corner in twips; left below 1 means the
// dialog has not been shown yet.
struct DialogPosition {
    int32_t left = 0;
    int32_t top = 0;
    bool isSet() const { return left >= 1; }
    // The caller's first-opening rule: its own corner plus an offset.
    void presetIfFirst(int32_t callerLeft, int32_t callerTop, int32_t dx, int32_t dy) {
        if (isSet()) return;
        left = callerLeft + dx;
        top = callerTop + dy;
    }
};

// A window's corner in twips, as callers offset their dialogs from it.
int32_t WindowLeftTwips(const QWidget* w);
int32_t WindowTopTwips(const QWidget* w);

enum class EnterPolicy { Default, MoveToOK, PressOK };

// Removes every connection from the window's children (at any depth) to
// the window itself. A window calls it as it starts to go: its children are
// deleted after its own members, and a child that signals on the way out
// (a grid letting go of its model resets its scroll bars) must not reach
// handlers that use those members.
void CutOffChildren(QObject* window);

class DialogBase : public QDialog {
    Q_OBJECT
public:
    // The position is kept in `remembered` when given (it outlives the
    // dialog), else in the dialog itself.
    explicit DialogBase(QWidget* parent = nullptr, DialogPosition* remembered = nullptr);
    ~DialogBase() override;

    DialogPosition& position() { return *position_; }
    // Puts the frame's corner at (left, top) twips, kept on the screens as
    // on showing: for a dialog that sets its own place and size once shown.
    void placeAt(int32_t left, int32_t top);
    // Brings the whole frame onto the screens again from where it is now:
    // for a shown dialog that has just given itself another size.
    void keepOnScreens();
    // A dialog never placed opens centred on the screen instead of over its owner.
    void setCentredOnScreen(bool on) { centredOnScreen_ = on; }

    bool DialogOK() const { return ok_; }
    void setDialogOK(bool ok) { ok_ = ok; }
    // Shows the dialog modally with DialogOK first false; returns DialogOK.
    bool showModal();
    // Close with DialogOK true / false.
    void closeOK();
    void closeCancel();

    long helpContext() const { return helpContext_; }
    void setHelpContext(long id) { helpContext_ = id; }
    // Clicking the button opens the page of the help context.
    void setHelpButton(QAbstractButton* b);
    void showHelp();
    // Opens a context id's page (help/<id>.html by default); the program
    // installs its own (which tells the user when a page is missing).
    using HelpOpener = std::function<void(long contextId)>;
    static HelpOpener SetHelpOpener(HelpOpener opener);

    void setOkButton(QAbstractButton* ok) { okButton_ = ok; }
    QAbstractButton* okButton() const { return okButton_; }
    EnterPolicy enterPolicy() const { return enterPolicy_; }
    void setEnterPolicy(EnterPolicy p) { enterPolicy_ = p; }

    // The check of a field (a control, or a box holding controls); it
    // returns false to refuse the field's value.
    void addFieldCheck(QWidget* field, std::function<bool()> check);
    void exemptFromChecks(QWidget* w);
    // Runs the check of a field: true when it has none or it passes.
    bool checkField(QWidget* field);

protected:
    // A key pressed in any control of the dialog, before the control; set
    // keyCode (KeyCodes.h) to 0 to take the key.
    virtual void formKeyDown(int& keyCode, int shift);

    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Controls are rebuilt at every opening: gone ones read as null.
    struct FieldCheck {
        QPointer<QWidget> field;
        std::function<bool()> check;
    };
    QWidget* fieldOf(QWidget* w) const;
    bool isExempt(QWidget* w) const;
    // True when the focus may move from the focused field to `taker`.
    bool mayLeaveFor(QWidget* taker);
    bool handleEnter();
    void onFocusChanged(QWidget* old, QWidget* now);
    void storePosition();
    // The frame's corner now, also while the frame expected is not there yet.
    QPoint frameCorner() const;
    void place(std::optional<QPoint> corner);
    void checkDecorations();

    DialogPosition own_;
    DialogPosition* position_;
    bool ok_ = false;
    long helpContext_ = 0;
    QAbstractButton* okButton_ = nullptr;
    EnterPolicy enterPolicy_ = EnterPolicy::Default;
    std::vector<FieldCheck> checks_;
    std::vector<QPointer<QWidget>> exempt_;
    QWidget* checked_ = nullptr;   // field checked already for the focus move under way
    bool checking_ = false;
    bool swallowRelease_ = false;
    bool filtering_ = false;
    bool centredOnScreen_ = false;
    QMargins decorations_;            // what the frame adds, as the last placement took it
    std::optional<QPoint> placedAt_;  // the frame corner of the last placement, in pixels
    QPoint placedClientAt_;
};

} // namespace plat
