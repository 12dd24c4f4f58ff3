#include "basHtmlHelp.h"

#include "AppInfo.h"
#include "FileOps.h"
#include "Help.h"
#include "basLibrary.h"

namespace {

const QString kFailed = QStringLiteral("HTML HELP の表示に失敗しました. ");

// The page of a help file: the file itself, or the contents of the folder
// "help" beside the program when the name is empty.
QString contentsPage(const QString& helpFile) {
    return helpFile.isEmpty() ? plat::AppHelpFile() : plat::NativePath(helpFile);
}

long show(const QString& page, const QString& failText) {
    long h = 0;
    try {
        h = plat::OpenHelpPage(page);
    } catch (...) {
        h = 0;
    }
    if (h == 0) MsgError(kFailed + failText);
    return h;
}

} // namespace

long HelpShowContents(QObject*, const QString& helpFile) { return show(contentsPage(helpFile), helpFile); }

long HelpShowIndex(QObject*, const QString& helpFile) {
    const QString base = contentsPage(helpFile);
    const QString idx = FolderOf(base) + QStringLiteral("/keywords.html");
    return show(FileExists(idx) ? idx : base, helpFile);
}

long HelpShowContext(long contextId) {
    return show(plat::HelpPageOf(contextId), QString::number(contextId));
}

long HelpCloseAll() {
    try {
        plat::CloseAllHelp();
    } catch (...) {
        // Errors of closing are ignored.
    }
    return 0;
}
