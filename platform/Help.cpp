#include "Help.h"

#include "AppInfo.h"
#include "FileOps.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <memory>
#include <vector>

namespace plat {

namespace {

int gOpened = 0;
long gNextHandle = 0;
HelpBrowser gBrowser;
// Browsers started for help pages, closed by CloseAllHelp.
std::vector<std::unique_ptr<QProcess>>& children() {
    static std::vector<std::unique_ptr<QProcess>> c;
    return c;
}

bool launch(const QString& page) {
    if (gBrowser.open) return gBrowser.open(page);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return true;  // nothing to show it on
    const QString url = QUrl::fromLocalFile(page).toString();
    for (const char* prog : {"xdg-open", "sensible-browser"}) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(prog));
        if (exe.isEmpty()) continue;
        auto p = std::make_unique<QProcess>();
        p->setProgram(exe);
        p->setArguments({url});
        p->start();
        if (!p->waitForStarted(3000)) continue;
        children().push_back(std::move(p));
        return true;
    }
    return QDesktopServices::openUrl(QUrl(url));
}

} // namespace

HelpBrowser SetHelpBrowser(HelpBrowser browser) { return std::exchange(gBrowser, std::move(browser)); }

QString HelpPageOf(long contextId) {
    QString page = AppPath() + QStringLiteral("/help/%1.html").arg(contextId);
    if (PathExists(page)) return ResolveFileName(page);
    return AppHelpFile();
}

long OpenHelpPage(const QString& page) {
    if (page.isEmpty() || !PathExists(page)) return 0;
    if (!launch(ResolveFileName(page))) return 0;
    ++gOpened;
    return ++gNextHandle;
}

bool ShowHelpTopic(long contextId) { return OpenHelpPage(HelpPageOf(contextId)) != 0; }
bool ShowHelpContents() { return OpenHelpPage(AppHelpFile()) != 0; }
bool ShowHelpIndex() {
    QString idx = AppPath() + QStringLiteral("/help/keywords.html");
    return OpenHelpPage(PathExists(idx) ? idx : AppHelpFile()) != 0;
}

void CloseAllHelp() {
    if (gBrowser.closeAll) gBrowser.closeAll();
    for (auto& p : children()) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(1000)) p->kill();
            p->waitForFinished(1000);
        }
    }
    children().clear();
    gOpened = 0;
}

int OpenHelpPageCount() { return gOpened; }

} // namespace plat
