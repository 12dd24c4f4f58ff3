// Facts about the running program: its title, folder, version and help.
#pragma once

#include <QString>

namespace plat {

QString AppTitle();          // "KALDERO"
QString AppPath();           // folder of the running executable, no trailing separator
void SetAppPath(const QString& folder);  // tests and tools point it elsewhere
int AppMajor();
int AppMinor();
int AppRevision();
QString AppHelpFile();       // the help index beside the program

} // namespace plat
