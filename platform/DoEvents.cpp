#include "DoEvents.h"

#include <QCoreApplication>

#include "VectorState.h"

namespace plat {

namespace {
int depth = 0;
}

int DoEventsDepth() { return depth; }

void DoEvents() {
    if (QCoreApplication::instance()) {
        ++depth;
        struct Leave {
            ~Leave() { --depth; }
        } leave;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    // Handlers may have drawn; the caller's loop goes on in its own code.
    ClearUpperVectorState();
}

void EventPump::operator()() {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ >= pitch_) {
        last_ = now;
        DoEvents();
    } else {
        ClearUpperVectorState();
    }
}

} // namespace plat
