// What the print system answered to a document handed to it. Qt gives a
// printed document to the print system (CUPS) when the document ends and
// does not look at the answer; a refused job would pass for printed.
#pragma once

#include <QString>

class QPrinter;

namespace plat {

struct SpoolAnswer {
    bool accepted = true;
    QString message;   // the print system's own words when refused
};

// The print system's answer to its last request from this thread: after a
// document ended on a queue, the answer to that document.
SpoolAnswer LastSpoolAnswer();

// For a printer whose document has just ended: the answer of its queue; a
// printer writing a file of its own has nothing to answer (accepted).
SpoolAnswer SpoolAnswerOf(const QPrinter& printer);

} // namespace plat
