#include "DialogPlayer.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <vector>

#include "DoEvents.h"

namespace testsupport {
namespace {

// Far beyond what a sanitizer build on a loaded machine needs to open or
// close any dialog; only a dialog that will never come or go reaches it.
constexpr qint64 kBoundMs = 60000;
constexpr int kPollMs = 5;

std::string Readable(const char* mangled) {
    int status = 0;
    char* s = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && s ? s : mangled;
    std::free(s);
    return name;
}

std::string NameOf(const QWidget* w) { return w ? Readable(typeid(*w).name()) : std::string("nothing"); }

int FailedParts() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return 0;
    const ::testing::TestResult* r = info->result();
    int n = 0;
    for (int i = 0; i < r->total_part_count(); ++i)
        if (r->GetTestPartResult(i).failed()) ++n;
    return n;
}

// Notes that a widget was hidden: a dialog closed and opened again before
// the player looks counts as closed.
class HideWatch : public QObject {
public:
    bool hidden = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) hidden = true;
        return false;
    }
};

class Player {
public:
    Player(std::string name, bool active, bool inPumps, std::function<QWidget*(bool&)> find,
           std::function<void(QWidget*)> act)
        : name_(Readable(name.c_str())), active_(active), inPumps_(inPumps), find_(std::move(find)),
          act_(std::move(act)), depth_(plat::DoEventsDepth()) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(kPollMs);
        clock_.start();
    }

    // At the end of its test.
    void end() {
        if (state_ == State::Waiting)
            ADD_FAILURE() << name_ << (seen_ ? " opened but never became ready" : " never opened");
        finish();
    }

private:
    enum class State { Waiting, Acting, Done };

    void tick() {
        // The action may run event loops of its own (a nested dialog): the
        // timer fires inside them, and must leave the action alone.
        if (running_) return;
        if (state_ == State::Waiting) waitForDialog();
        else if (state_ == State::Acting) waitForClose();
    }

    void waitForDialog() {
        // Inside the program's own pump the dialog may be half made (filling
        // itself, say): an action there would run nested in that work.
        if (!inPumps_ && plat::DoEventsDepth() > depth_) return;
        bool ofType = false;
        QWidget* d = find_(ofType);
        seen_ = seen_ || ofType;
        if (d && d->isVisible()) {
            if (!active_ || d->isActiveWindow()) {
                act(d);
                return;
            }
            d->activateWindow();   // asked again on each look: a request can be lost
        }
        if (clock_.elapsed() < kBoundMs) return;
        QWidget* top = QApplication::activeModalWidget();
        if (ofType) ADD_FAILURE() << name_ << " never became ready; closed";
        else if (top) ADD_FAILURE() << name_ << " expected, but " << NameOf(top) << " is up; closed";
        else ADD_FAILURE() << name_ << " never opened";
        finish();
        CloseModal(top);
    }

    void act(QWidget* d) {
        state_ = State::Acting;
        dialog_ = d;
        d->installEventFilter(&hideWatch_);
        const int failed = FailedParts();
        bool threw = false;
        running_ = true;
        try {
            act_(d);
        } catch (const std::exception& e) {
            threw = true;
            ADD_FAILURE() << name_ << ": exception from the action: " << e.what();
        } catch (...) {
            threw = true;
            ADD_FAILURE() << name_ << ": exception from the action";
        }
        running_ = false;
        if (threw || FailedParts() > failed) {
            finish();
            CloseModal(dialog_);
        }
        clock_.restart();
    }

    // A dialog acted on from its own loop is closed by the time the program
    // is back there (what the action posted has run by then); one acted on
    // inside the work's pumps closes when the work ends.
    void waitForClose() {
        if (!dialog_ || !dialog_->isVisible() || hideWatch_.hidden) {
            finish();
            return;
        }
        const bool late = inPumps_ ? clock_.elapsed() >= kBoundMs : plat::DoEventsDepth() <= depth_;
        if (!late) return;
        ADD_FAILURE() << name_ << " still open after its action; closed";
        finish();
        CloseModal(dialog_);
    }

    void finish() {
        state_ = State::Done;
        timer_.stop();
        if (dialog_) dialog_->removeEventFilter(&hideWatch_);
    }

    std::string name_;
    bool active_;
    bool inPumps_;
    std::function<QWidget*(bool&)> find_;
    std::function<void(QWidget*)> act_;
    int depth_;
    State state_ = State::Waiting;
    bool running_ = false;
    bool seen_ = false;
    QPointer<QWidget> dialog_;
    HideWatch hideWatch_;
    QTimer timer_;
    QElapsedTimer clock_;
};

// Players are deleted only between tests: one may be running its tick while
// another starts or ends.
std::vector<std::unique_ptr<Player>>& Players() {
    static std::vector<std::unique_ptr<Player>> players;
    return players;
}

} // namespace

namespace detail {
void StartPlayer(std::string name, bool active, bool inPumps, std::function<QWidget*(bool&)> find,
                 std::function<void(QWidget*)> act) {
    Players().push_back(
        std::make_unique<Player>(std::move(name), active, inPumps, std::move(find), std::move(act)));
}
} // namespace detail

void CloseModal(QWidget* dialog) {
    QPointer<QWidget> d(dialog);
    if (!d) return;
    if (auto* q = qobject_cast<QDialog*>(d)) q->reject();
    else d->close();
    // Hiding a dialog ends its exec even when it refused to close.
    if (d && d->isVisible()) d->hide();
}

void EndPlayers() {
    std::vector<std::unique_ptr<Player>> players;
    players.swap(Players());
    for (auto& p : players) p->end();
}

} // namespace testsupport
