#include "AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef KAL_VERSION_MAJOR
#define KAL_VERSION_MAJOR 1
#define KAL_VERSION_MINOR 0
#define KAL_VERSION_PATCH 0
#endif

namespace plat {

namespace {
QString& overridePath() {
    static QString p;
    return p;
}
} // namespace

QString AppTitle() { return QStringLiteral("KALDERO"); }

QString AppPath() {
    if (!overridePath().isEmpty()) return overridePath();
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

void SetAppPath(const QString& folder) {
    QString f = folder;
    while (f.size() > 1 && f.endsWith(QLatin1Char('/'))) f.chop(1);
    overridePath() = f;
}

int AppMajor() { return KAL_VERSION_MAJOR; }
int AppMinor() { return KAL_VERSION_MINOR; }
int AppRevision() { return KAL_VERSION_PATCH; }

QString AppHelpFile() { return AppPath() + QStringLiteral("/help/index.html"); }

} // namespace plat
