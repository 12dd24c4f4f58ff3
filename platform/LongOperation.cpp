#include "LongOperation.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <utility>

#include "DoEvents.h"
#include "Screen.h"

namespace plat {

EventYielder::EventYielder(int period, int minIntervalMs) : period_(std::max(period, 1)), minIntervalMs_(minIntervalMs) {
    sinceYield_.start();
}

bool EventYielder::tick() {
    if (++count_ < period_) return false;
    count_ = 0;
    if (minIntervalMs_ > 0 && sinceYield_.elapsed() < minIntervalMs_) return false;
    DoEvents();
    sinceYield_.restart();
    ++yields_;
    return true;
}

EscapeStop::EscapeStop() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

EscapeStop::~EscapeStop() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool EscapeStop::eventFilter(QObject* o, QEvent* e) {
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        // Accepting the override keeps Esc from any shortcut; the key press
        // that follows sets the flag.
        if (e->type() == QEvent::KeyPress) requested_ = true;
        else e->accept();
        return true;
    }
    return QObject::eventFilter(o, e);
}

BusyCursor::BusyCursor() : previous_(ScreenPointer()) { SetScreenPointer(PtrHourglass); }

BusyCursor::~BusyCursor() { SetScreenPointer(previous_); }

namespace {
StatusSink& statusLine() {
    static StatusSink sink;
    return sink;
}
} // namespace

StatusSink SetStatusLine(StatusSink sink) { return std::exchange(statusLine(), std::move(sink)); }

void ShowStatusText(const QString& text) {
    if (statusLine()) statusLine()(text);
}

LongOperation::LongOperation(StatusSink status, int yieldPeriod, int minYieldIntervalMs)
    : status_(status ? std::move(status) : StatusSink(ShowStatusText)), yielder_(yieldPeriod, minYieldIntervalMs) {}

LongOperation::~LongOperation() { status_(QString()); }

void LongOperation::setStatus(const QString& text) { status_(text); }

bool LongOperation::step() {
    yielder_.tick();
    return !esc_.requested();
}

} // namespace plat
