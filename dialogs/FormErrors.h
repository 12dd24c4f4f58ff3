// Event handlers are the top of every call chain inside a window: nothing
// above them could handle an error, so one escaping a handler ends with the
// orderly fatal stop.
#pragma once

#include <QString>

#include <functional>

// Runs an event handler of the window `formName`; an error escaping it gets
// "formName.procName/" in front of its source and stops the program with
// the comment "by StopError".
void RunHandler(const QString& formName, const QString& procName, const std::function<void()>& handler);

