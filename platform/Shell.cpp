#include "Shell.h"

#include "FileOps.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QUrl>

namespace plat {

namespace {
UrlOpener& opener() {
    static UrlOpener o;
    return o;
}
} // namespace

UrlOpener SetUrlOpener(UrlOpener o) { return std::exchange(opener(), std::move(o)); }

QString UrlForOpen(const QString& pathOrUrl) {
    static const QRegularExpression scheme(QStringLiteral("^(https?|mailto|ftp|file):"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString s = pathOrUrl.trimmed();
    if (s.isEmpty()) return {};
    if (scheme.match(s).hasMatch()) return s;
    if (s.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)) return QStringLiteral("http://") + s;
    const QString local = NativePath(s);
    if (!PathExists(local)) return {};
    return QUrl::fromLocalFile(ResolveFileName(local)).toString();
}

bool OpenWithApplication(const QString& pathOrUrl) {
    const QString url = UrlForOpen(pathOrUrl);
    if (url.isEmpty()) return false;
    if (opener()) return opener()(url);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    return QDesktopServices::openUrl(QUrl(url));
}

QString SystemFolder() { return QLibraryInfo::path(QLibraryInfo::LibrariesPath); }

bool IsModernPlatformFamily() { return true; }

} // namespace plat
