// The parts of the application state that the foundation reads. The
// application creates and fills them at start-up.
#pragma once

#include <QString>

class clsEnvironment;

extern clsEnvironment* gvEnvironment;   // "Environment.txt" beside the program
extern QString gvMapFolder;             // folder of the map data files
extern long gvLanguage;                 // place names: 1 European, 2 Japanese
extern QString gvDefaultFont;           // "メイリオ" when installed, else "ＭＳ Ｐゴシック"
