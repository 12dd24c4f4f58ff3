#include "basHtmlHelp.h"

#include "AppInfo.h"
#include "FileOps.h"
#include "Help.h"
#include "basLibrary.h"

namespace {

// The page of a help file: the file itself, or the contents of the folder
// "help" beside the program when the name is empty.
QString contentsPage(const QString& helpFile) {
    return helpFile.isEmpty() ? plat::AppHelpFile() : plat::NativePath(helpFile);
}

} // namespace

long HelpShowContents(QObject*, const QString& helpFile) { return plat::ShowHelpPage(contentsPage(helpFile), helpFile); }

long HelpShowIndex(QObject*, const QString& helpFile) {
    const QString base = contentsPage(helpFile);
    const QString idx = plat::HelpIndexBeside(base);
    return plat::ShowHelpPage(FileExists(idx) ? idx : base, helpFile);
}

long HelpShowContext(long contextId) {
    return plat::ShowHelpPage(plat::HelpPageOf(contextId), QString::number(contextId));
}

long HelpCloseAll() {
    try {
        plat::CloseAllHelp();
    } catch (...) {
        // Errors of closing are ignored.
    }
    return 0;
}
