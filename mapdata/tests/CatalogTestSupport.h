// Helpers of the catalogue and map unit tests: text files in the program's
// encoding, a map folder and program folder of their own, and comparisons
// of everything a catalogue file keeps.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "AppInfo.h"
#include "AppState.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "clsAdmins.h"
#include "clsThings.h"

namespace cattest {

// Lines written as Shift-JIS with CR LF.
inline void WriteLines(const QString& path, const QStringList& lines) {
    QString text;
    for (const QString& l : lines) text += l + QStringLiteral("\r\n");
    testsupport::WriteBytes(path, plat::EncodeCp932(text));
}

inline QStringList ReadLines(const QString& path) { return plat::ReadTextLines(path); }

// A map folder and a program folder in temporary folders for one test; the
// display language is European unless the test changes it.
class Folders {
public:
    Folders() : oldMapFolder_(gvMapFolder), oldAppPath_(plat::AppPath()), oldLanguage_(gvLanguage) {
        gvMapFolder = maps_.path();
        plat::SetAppPath(program_.path());
        gvLanguage = 1;
    }
    ~Folders() {
        gvMapFolder = oldMapFolder_;
        plat::SetAppPath(oldAppPath_);
        gvLanguage = oldLanguage_;
    }
    QString map(const QString& name) const { return maps_.file(name); }
    QString program(const QString& name) const { return program_.file(name); }
    QString other(const QString& name) const { return other_.file(name); }

private:
    testsupport::TempDir maps_, program_, other_;
    QString oldMapFolder_, oldAppPath_;
    long oldLanguage_;
};

// Catalogue content from lines, as a file would give it.
inline clsThings ThingsFrom(const QStringList& lines) {
    clsThings t;
    plat::TextReader in(lines);
    t.ReadFrom(in);
    return t;
}

// The lines a catalogue writes.
template <class Catalogue>
QStringList LinesOf(const Catalogue& c) {
    plat::TextWriter out(QStringLiteral("unused"));
    c.WriteTo(out);
    QStringList lines = out.text().split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

} // namespace cattest
