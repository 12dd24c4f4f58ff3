// The help of the program: contents, index and the topic of a context id,
// shown in the program's help window from the pages beside the program. Each
// returns the handle of the shown page, 0 after telling the user that it
// failed.
#pragma once

#include <QString>

class QObject;

long HelpShowContents(QObject* owner, const QString& helpFile);
long HelpShowIndex(QObject* owner, const QString& helpFile);
long HelpShowContext(long contextId);
// Closes the help window.
long HelpCloseAll();
