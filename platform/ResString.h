// The program's string table (resources/strings.txt): text by numeric id.
#pragma once

#include <QString>

namespace plat {

// The text of a string resource; an empty text for an unknown id.
QString LoadResString(int id);

} // namespace plat
