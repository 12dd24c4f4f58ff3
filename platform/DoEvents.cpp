#include "DoEvents.h"

#include <QCoreApplication>

#include "Clock.h"
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
    const int64_t now = TickCount();
    if (!ran_ || now - last_ >= pitch_) {
        ran_ = true;
        last_ = now;
        DoEvents();
    } else {
        ClearUpperVectorState();
    }
}

} // namespace plat
