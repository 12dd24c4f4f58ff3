// The user interface is Japanese whatever the user's locale: Qt's own
// dialogs (file, colour, font, print) and standard buttons speak Japanese
// through Qt's translations, their OK reads "ＯＫ" as in the program's own
// dialogs, and their numbers are written the Japanese way.
#pragma once

namespace plat {

// Installs the translations into the application (once); false when Qt's
// Japanese translations are not installed.
bool InstallJapaneseTranslations();

} // namespace plat
