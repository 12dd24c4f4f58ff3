// What the program needs at run time, checked before the start-up: the
// help pages, the Qt parts it loads (the platform plugin, the picture
// formats), the Shift-JIS converter and a Japanese font.
#pragma once

#include <QString>
#include <QStringList>

// The message that stops the program when the help index is missing; empty
// when it exists.
QString MissingHelpMessage();
// The run-time parts that are missing, one name each.
QStringList MissingRuntimeParts();
// Writes "Runtime.txt" into folder when parts are missing: a heading, where
// to get them, then one per line. Nothing is written for an empty list.
void WriteRuntimeReport(const QString& folder, const QStringList& missing);
// True when the Shift-JIS converter turns Japanese text into bytes and back.
bool ShiftJisWorks();
