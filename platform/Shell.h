// The desktop services of the program: opening a file or link with the
// application the desktop associates with it, the folder of the system's
// shared libraries and the platform family.
#pragma once

#include <QString>

#include <functional>

namespace plat {

// Opens a local file, a folder or a link (http:, https:, mailto:, file:).
// False when the file does not exist or nothing could open it.
bool OpenWithApplication(const QString& pathOrUrl);
// Tests replace the desktop; returns the previous opener (empty: desktop).
using UrlOpener = std::function<bool(const QString& url)>;
UrlOpener SetUrlOpener(UrlOpener opener);
// The URL a path or link is opened as; empty for a missing local file.
QString UrlForOpen(const QString& pathOrUrl);

// The folder that holds the system's shared libraries (where the platform
// components the program needs are installed).
QString SystemFolder();
// The platform family of the modern system (geometric pens, region clips):
// always true here.
bool IsModernPlatformFamily();

} // namespace plat
