// Helpers of long operations on the one user-interface thread: let pending
// events run now and then, stop on Esc, show the hourglass, tell the
// activity in a status line.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

namespace plat {

// Lets pending events run (DoEvents) on every `period`-th call of tick(),
// and then only when at least minIntervalMs have passed since the last
// time, so a fast loop spends its time on work and the window still answers.
class EventYielder {
public:
    explicit EventYielder(int period = 1, int minIntervalMs = 10);
    // True when it let events run.
    bool tick();
    int yields() const { return yields_; }

private:
    int period_;
    int minIntervalMs_;
    int count_ = 0;
    int yields_ = 0;
    QElapsedTimer sinceYield_;
};

// While it exists, Esc pressed in any window of the program sets the stop
// flag instead of reaching the window (so it does not close a dialog).
class EscapeStop : public QObject {
public:
    EscapeStop();
    ~EscapeStop() override;
    bool requested() const { return requested_; }
    void request() { requested_ = true; }
    void reset() { requested_ = false; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    bool requested_ = false;
};

// The hourglass pointer for the life of the scope; the pointer before it
// comes back afterwards, so scopes nest.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    int previous_;
};

// A status line: where a window shows the activity of a long operation.
using StatusSink = std::function<void(const QString&)>;
// The main window installs its status line here; returns the previous one.
StatusSink SetStatusLine(StatusSink sink);
void ShowStatusText(const QString& text);

// A long operation: busy pointer, Esc to stop, bounded-rate yielding and
// status text together. The status line is emptied at the end.
class LongOperation {
public:
    // status: where the text goes (the program's status line when empty).
    explicit LongOperation(StatusSink status = {}, int yieldPeriod = 1, int minYieldIntervalMs = 10);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    void setStatus(const QString& text);
    // Counts one item and yields when due; false once the user asked to stop.
    bool step();
    bool stopped() const { return esc_.requested(); }
    void stop() { esc_.request(); }

private:
    StatusSink status_;
    BusyCursor busy_;
    EscapeStop esc_;
    EventYielder yielder_;
};

} // namespace plat
