#include "Help.h"

#include "AppInfo.h"
#include "FileOps.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace plat {

namespace {
int gOpened = 0;

bool openPage(const QString& page) {
    if (!PathExists(page)) return false;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        ++gOpened;  // nothing to show it on; count it as opened
        return true;
    }
    bool ok = QDesktopServices::openUrl(QUrl::fromLocalFile(ResolveFileName(page)));
    if (ok) ++gOpened;
    return ok;
}
} // namespace

QString HelpPageOf(long contextId) {
    QString page = AppPath() + QStringLiteral("/help/%1.html").arg(contextId);
    if (PathExists(page)) return ResolveFileName(page);
    return AppHelpFile();
}

bool ShowHelpTopic(long contextId) { return openPage(HelpPageOf(contextId)); }
bool ShowHelpContents() { return openPage(AppHelpFile()); }
bool ShowHelpIndex() {
    QString idx = AppPath() + QStringLiteral("/help/keywords.html");
    return openPage(PathExists(idx) ? idx : AppHelpFile());
}
void CloseAllHelp() { gOpened = 0; }
int OpenHelpPageCount() { return gOpened; }

} // namespace plat
