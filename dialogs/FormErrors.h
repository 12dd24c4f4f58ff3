// Event handlers are the top of every call chain inside a window: nothing
// above them could handle an error, so one escaping a handler ends with the
// orderly fatal stop.
#pragma once

#include <QString>

#include <functional>

#include "ErrorMng.h"
#include "basLibrary.h"

// Runs an event handler of the window `formName`; an error escaping it gets
// "formName.procName/" in front of its source and stops the program with
// the comment "by StopError".
void RunHandler(const QString& formName, const QString& procName, const std::function<void()>& handler);


// A private procedure of the window `formName`: an error escaping it gets
// "formName.procName/" in front of its source and the number 0x800403EB,
// and passes on to the caller.
template <typename F>
auto ReportingErrors(const QString& formName, const char* procName, F&& f) {
    try {
        return f();
    } catch (...) {
        RaiseError(ErrFormUnload, formName, QString::fromLatin1(procName));
    }
}

// The hourglass pointer for a scope, also when the scope fails.
struct WaitPointer {
    WaitPointer() { ScreenMousePointer(11); }
    ~WaitPointer() { ScreenMousePointer(-1); }
    WaitPointer(const WaitPointer&) = delete;
    WaitPointer& operator=(const WaitPointer&) = delete;
};
