#include "DialogBase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <utility>

#include "Help.h"
#include "KeyCodes.h"
#include "Screen.h"
#include "WindowPlacement.h"

namespace plat {

namespace {

DialogBase::HelpOpener& helpOpener() {
    static DialogBase::HelpOpener opener = [](long id) { ShowHelpTopic(id); };
    return opener;
}

int32_t twipsX(int px) { return static_cast<int32_t>(std::lround(px * TwipsPerPixelX())); }
int32_t twipsY(int px) { return static_cast<int32_t>(std::lround(px * TwipsPerPixelY())); }

// The widget a click at `target` gives the focus to, as Qt chooses it: the
// first enabled one up the parents that takes focus by click.
QWidget* focusTakerOf(QWidget* target) {
    for (QWidget* w = target; w; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) return w;
        if (w->isWindow()) break;
    }
    return nullptr;
}

// What the window manager's frame adds round a window; none before the
// window is framed (and without a window manager).
QMargins decorationsOf(const QWidget* w) {
    if (!w || !w->isVisible()) return {};
    const QRect f = w->frameGeometry(), g = w->geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
}

QWidget* ownerOf(const QWidget* dialog) {
    if (QWidget* p = dialog->parentWidget()) return p->window();
    QWidget* active = QApplication::activeWindow();
    return active != dialog ? active : nullptr;
}

} // namespace

int32_t WindowLeftTwips(const QWidget* w) { return twipsX(w->window()->frameGeometry().left()); }
int32_t WindowTopTwips(const QWidget* w) { return twipsY(w->window()->frameGeometry().top()); }

DialogBase::DialogBase(QWidget* parent, DialogPosition* remembered)
    : QDialog(parent), position_(remembered ? remembered : &own_) {
    connect(qApp, &QApplication::focusChanged, this, &DialogBase::onFocusChanged);
}

void CutOffChildren(QObject* window) {
    for (QObject* child : window->findChildren<QObject*>()) QObject::disconnect(child, nullptr, window, nullptr);
}

DialogBase::~DialogBase() {
    // QDialog hides the window when it goes, which moves the focus, and
    // deletes the children: this part of the dialog must hear nothing of it.
    disconnect(qApp, nullptr, this, nullptr);
    CutOffChildren(this);
    if (filtering_) qApp->removeEventFilter(this);
}

bool DialogBase::showModal() {
    ok_ = false;
    exec();
    return ok_;
}

void DialogBase::closeOK() {
    ok_ = true;
    accept();
}

void DialogBase::closeCancel() {
    ok_ = false;
    reject();
}

DialogBase::HelpOpener DialogBase::SetHelpOpener(HelpOpener opener) {
    return std::exchange(helpOpener(), std::move(opener));
}

void DialogBase::setHelpButton(QAbstractButton* b) {
    connect(b, &QAbstractButton::clicked, this, &DialogBase::showHelp);
    exemptFromChecks(b);
}

void DialogBase::showHelp() {
    if (helpOpener()) helpOpener()(helpContext_);
}

void DialogBase::addFieldCheck(QWidget* field, std::function<bool()> check) {
    std::erase_if(checks_, [](const FieldCheck& c) { return c.field.isNull(); });  // controls rebuilt since
    checks_.push_back({field, std::move(check)});
}

void DialogBase::exemptFromChecks(QWidget* w) {
    std::erase_if(exempt_, [](const QPointer<QWidget>& e) { return e.isNull(); });
    exempt_.push_back(w);
}

QWidget* DialogBase::fieldOf(QWidget* w) const {
    for (; w && w != this; w = w->parentWidget())
        for (const FieldCheck& c : checks_)
            if (c.field == w) return w;
    return nullptr;
}

bool DialogBase::isExempt(QWidget* w) const {
    for (; w && w != this; w = w->parentWidget())
        for (const QPointer<QWidget>& e : exempt_)
            if (e == w) return true;
    return false;
}

bool DialogBase::checkField(QWidget* field) {
    for (const FieldCheck& c : checks_) {
        if (c.field != field) continue;
        if (checking_) return true;  // a check's own message box moved the focus
        checking_ = true;
        const bool ok = c.check();
        checking_ = false;
        return ok;
    }
    return true;
}

bool DialogBase::mayLeaveFor(QWidget* taker) {
    QWidget* field = fieldOf(QApplication::focusWidget());
    if (!field || !taker || !isAncestorOf(taker) || fieldOf(taker) == field || isExempt(taker)) return true;
    if (!checkField(field)) {
        field->setFocus(Qt::OtherFocusReason);
        return false;
    }
    checked_ = field;  // the focus move that follows needs no second check
    return true;
}

void DialogBase::onFocusChanged(QWidget* old, QWidget* now) {
    QWidget* field = fieldOf(old);
    if (!field || !isVisible() || checking_) return;
    const bool checkedAlready = checked_ == field;
    checked_ = nullptr;
    if (checkedAlready || !now || !isAncestorOf(now) || fieldOf(now) == field || isExempt(now)) return;
    if (checkField(field)) return;
    checking_ = true;  // moving back checks nothing
    field->setFocus(Qt::OtherFocusReason);
    checking_ = false;
}

bool DialogBase::handleEnter() {
    QWidget* focus = QApplication::focusWidget();
    // A push button presses itself; option buttons and check boxes do
    // nothing with Enter, so it is the dialog's.
    const bool pushButton =
        qobject_cast<QAbstractButton*>(focus) && !qobject_cast<QCheckBox*>(focus) && !qobject_cast<QRadioButton*>(focus);
    if (pushButton || qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) return false;
    QWidget* field = fieldOf(focus);
    if (enterPolicy_ == EnterPolicy::Default) {
        if (!field) return false;
        checkField(field);
        return true;
    }
    if (!okButton_) return false;
    if (field) {
        checkField(field);  // its answer does not stop Enter
        checked_ = field;
    }
    if (enterPolicy_ == EnterPolicy::MoveToOK) okButton_->setFocus(Qt::OtherFocusReason);
    else okButton_->click();
    checked_ = nullptr;
    return true;
}

void DialogBase::formKeyDown(int&, int) {}

bool DialogBase::eventFilter(QObject* o, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress: {
        // Once per key: when it reaches the focused control, before it.
        QWidget* focus = QApplication::focusWidget();
        if (!(o == focus && (focus == this || isAncestorOf(focus)))) break;
        checked_ = nullptr;
        auto* ke = static_cast<QKeyEvent*>(e);
        int key = KeyCodeOf(ke);
        // A key without a code of its own ("/", ".", "-" ...) is the
        // control's: 0 back from formKeyDown means the dialog took it.
        if (key == 0) break;
        formKeyDown(key, ShiftStateOf(ke->modifiers()));
        if (key == 0) return true;
        if (key == KeyReturn && handleEnter()) return true;
        break;
    }
    case QEvent::MouseButtonPress:
        // Seen at the window before Qt moves the focus to the clicked control.
        if (o != windowHandle()) break;
        swallowRelease_ = false;
        checked_ = nullptr;
        if (!mayLeaveFor(focusTakerOf(childAt(static_cast<QMouseEvent*>(e)->position().toPoint())))) {
            swallowRelease_ = true;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (o != windowHandle() || !swallowRelease_) break;
        if (e->type() == QEvent::MouseButtonRelease) swallowRelease_ = false;
        return true;
    case QEvent::Shortcut: {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && isAncestorOf(w) && !mayLeaveFor(w)) return true;
        break;
    }
    default: break;
    }
    return QDialog::eventFilter(o, e);
}

void DialogBase::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!filtering_) {
        qApp->installEventFilter(this);
        filtering_ = true;
    }
    if (position_->isSet()) placeAt(position_->left, position_->top);
    else place(std::nullopt);
}

void DialogBase::placeAt(int32_t left, int32_t top) {
    place(QPoint(static_cast<int>(std::lround(left / TwipsPerPixelX())),
                 static_cast<int>(std::lround(top / TwipsPerPixelY()))));
}

void DialogBase::place(std::optional<QPoint> corner) {
    const QWidget* owner = ownerOf(this);
    decorations_ = decorationsOf(this);
    if (decorations_.isNull()) decorations_ = decorationsOf(owner);
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) screens << s->availableGeometry();
    const QScreen* screenOf = owner ? owner->screen() : screen();
    const QRect over = owner && !centredOnScreen_ ? owner->frameGeometry()
                       : screenOf                 ? screenOf->availableGeometry()
                                                  : QRect();
    const QPoint at = PlaceDialog(screens, decorations_, corner, over, size());
    // Qt cannot place the frame of a window not framed yet: the client goes
    // where the expected frame puts it.
    placedAt_ = at;
    placedClientAt_ = at + QPoint(decorations_.left(), decorations_.top());
    if (geometry().topLeft() != placedClientAt_) setGeometry(QRect(placedClientAt_, size()));
}

void DialogBase::checkDecorations() {
    const QMargins now = decorationsOf(this);
    if (!placedAt_ || now.isNull() || now == decorations_) return;
    const bool untouched = geometry().topLeft() == placedClientAt_;
    decorations_ = now;
    if (!untouched) return;  // the user has moved it meanwhile
    QTimer::singleShot(0, this, [this, at = *placedAt_] {
        if (isVisible()) place(at);
    });
}

void DialogBase::moveEvent(QMoveEvent* e) {
    QDialog::moveEvent(e);
    checkDecorations();
}

void DialogBase::hideEvent(QHideEvent* e) {
    storePosition();
    placedAt_.reset();
    if (filtering_) {
        qApp->removeEventFilter(this);
        filtering_ = false;
    }
    QDialog::hideEvent(e);
}

void DialogBase::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isVisible()) {
        if (isActiveWindow()) checkDecorations();
        else storePosition();
    }
    QDialog::changeEvent(e);
}

QPoint DialogBase::frameCorner() const {
    // Where it was put, even while a wrongly expected frame awaits its correction.
    if (placedAt_ && geometry().topLeft() == placedClientAt_) return *placedAt_;
    const QMargins own = decorationsOf(this);
    const QMargins m = own.isNull() ? decorations_ : own;
    return geometry().topLeft() - QPoint(m.left(), m.top());
}

void DialogBase::storePosition() {
    const QPoint corner = frameCorner();
    position_->left = twipsX(corner.x());
    position_->top = twipsY(corner.y());
}

void DialogBase::keepOnScreens() {
    if (isVisible()) place(frameCorner());
}

} // namespace plat
