// The error wrappers of a window's private procedures; its event handlers
// run through RunHandler (ErrorMng.h), which ends with the fatal stop.
#pragma once

#include <QString>

#include <functional>

#include "ErrorMng.h"
#include "basLibrary.h"


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
