#include "DoEvents.h"

#include <QCoreApplication>

namespace plat {

void DoEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace plat
