#include "Help.h"

#include <QApplication>
#include <QFileInfo>
#include <QUrl>

#include "AppInfo.h"
#include "FileOps.h"
#include "HelpWindow.h"
#include "MessageBox.h"

namespace plat {

namespace {

long gNextHandle = 0;

} // namespace

QString HelpFailedText() { return QStringLiteral("HTML HELP の表示に失敗しました. "); }

QString HelpPageOf(long contextId) {
    QString page = AppPath() + QStringLiteral("/help/%1.html").arg(contextId);
    if (PathExists(page)) return ResolveFileName(page);
    return AppHelpFile();
}

QString HelpContentsBeside(const QString& page) { return QFileInfo(page).absolutePath() + QStringLiteral("/index.html"); }
QString HelpIndexBeside(const QString& page) { return QFileInfo(page).absolutePath() + QStringLiteral("/keywords.html"); }

QString HelpLinkTarget(const QString& fromPage, const QUrl& link) {
    const QUrl target = QUrl::fromLocalFile(fromPage).resolved(link);
    return target.isLocalFile() ? target.toLocalFile() : QString();
}

long ShowHelpPage(const QString& page, const QString& failText) {
    bool shown = false;
    try {
        shown = qobject_cast<QApplication*>(QCoreApplication::instance()) && !page.isEmpty() && PathExists(page) &&
                HelpWindow::ShowPage(ResolveFileName(page));
    } catch (...) {
        shown = false;
    }
    if (!shown) {
        MsgBox(HelpFailedText() + failText, MbCritical | MbOkOnly);
        return 0;
    }
    return ++gNextHandle;
}

bool ShowHelpTopic(long contextId) { return ShowHelpPage(HelpPageOf(contextId), QString::number(contextId)) != 0; }
bool ShowHelpContents() { return ShowHelpPage(AppHelpFile(), QFileInfo(AppHelpFile()).fileName()) != 0; }
bool ShowHelpIndex() {
    const QString idx = HelpIndexBeside(AppHelpFile());
    return ShowHelpPage(PathExists(idx) ? idx : AppHelpFile(), QFileInfo(idx).fileName()) != 0;
}

void CloseAllHelp() { HelpWindow::CloseAll(); }

} // namespace plat
