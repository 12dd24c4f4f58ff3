#include "basFileNames.h"

#include "AppInfo.h"
#include "AppState.h"
#include "clsEnvironment.h"
#include "basLibrary.h"

#include <cmath>

clsEnvironment* gvEnvironment = nullptr;
QString gvMapFolder;
long gvLanguage = 1;
QString gvDefaultFont = QStringLiteral("ＭＳ Ｐゴシック");

namespace {

QString envString(const QString& key, const QString& def) {
    return gvEnvironment ? gvEnvironment->GetString(key, def) : def;
}

double envVal(const QString& key, double def, double min, double max) {
    return gvEnvironment ? gvEnvironment->GetVal(key, def, min, max) : def;
}

QString inMapFolder(const QString& key, const QString& def) { return JoinPath(gvMapFolder, envString(key, def)); }

QString logFile(const QString& key, const QString& def) {
    return JoinPath(plat::AppPath(), ChangeExt(envString(key, def), QStringLiteral(".PLG")));
}

int32_t toLong(double v) {
    if (!(v >= -2147483648.0 && v <= 2147483647.0)) return 0;
    return static_cast<int32_t>(std::nearbyint(v));
}

} // namespace

QString GetDefaultADM() { return inMapFolder(QStringLiteral("DefaultADM"), QStringLiteral("DEFAULT.ADM")); }
QString GetDefaultTHG() { return inMapFolder(QStringLiteral("DefaultTHG"), QStringLiteral("DEFAULT.THG")); }
QString GetBaseMapMLL() { return inMapFolder(QStringLiteral("BaseMapMLL"), QStringLiteral("BASE.MLL")); }
QString GetBaseMapADM() { return inMapFolder(QStringLiteral("BaseMapADM"), QStringLiteral("BASE.ADM")); }
QString GetBaseMapTHG() { return inMapFolder(QStringLiteral("BaseMapTHG"), QStringLiteral("BASE.THG")); }

QString GetGazetFile() {
    if (gvLanguage == 1) return inMapFolder(QStringLiteral("GazetFileKaldE"), QStringLiteral("GAZET_KALD_E.TXT"));
    if (gvLanguage == 2) return inMapFolder(QStringLiteral("GazetFileKaldJ"), QStringLiteral("GAZET_KALD_J.TXT"));
    return JoinPath(gvMapFolder, QString());
}

QString GetLogLast() { return logFile(QStringLiteral("LogLast"), QStringLiteral("LAST")); }
QString GetLogClip() { return logFile(QStringLiteral("LogClip"), QStringLiteral("CLIP")); }
QString GetLogPrint() { return logFile(QStringLiteral("LogPrint"), QStringLiteral("PRINT")); }
QString GetLogError() { return logFile(QStringLiteral("LogError"), QStringLiteral("ERROR")); }

QString GetResourcePS() { return JoinPath(plat::AppPath(), envString(QStringLiteral("ResourcePS"), QStringLiteral("KALDERO.PS"))); }
QString GetCruiseGridFile() { return JoinPath(plat::AppPath(), envString(QStringLiteral("CruiseGridFile"), QStringLiteral("CRUISE05.GRD"))); }
QString GetCruiseListFile() { return JoinPath(plat::AppPath(), envString(QStringLiteral("CruiseListFile"), QStringLiteral("CRUISE05.LST"))); }

QString GetAuthorEmail() { return envString(QStringLiteral("AuthorEmail"), QString()); }
QString GetAuthorURLhome() { return envString(QStringLiteral("AuthorURLhome"), QString()); }
QString GetAuthorURLmap() { return envString(QStringLiteral("AuthorURLmap"), QString()); }
QString GetAuthorURLruntime() { return envString(QStringLiteral("AuthorURLruntime"), QString()); }
QString GetAuthorURLupgrade() { return envString(QStringLiteral("AuthorURLupgrade"), QString()); }
QString GetAuthorURLorder() { return envString(QStringLiteral("AuthorURLorder"), QString()); }

int32_t GetGridForeColor() {
    const double def = static_cast<double>(static_cast<int32_t>(0x80000008u));
    return toLong(envVal(QStringLiteral("GridForeColor"), def, -2147483648.0, 2147483647.0));
}

int32_t GetGridBackColor() {
    const double def = static_cast<double>(static_cast<int32_t>(0x80000005u));
    return toLong(envVal(QStringLiteral("GridBackColor"), def, -2147483648.0, 2147483647.0));
}

int32_t GetGridFontSize() {
    double def = 0;
    if (gvDefaultFont == QStringLiteral("メイリオ")) def = 8;
    else if (gvDefaultFont == QStringLiteral("ＭＳ Ｐゴシック")) def = 9;
    return toLong(envVal(QStringLiteral("GridFontSize"), def, 7, 99));
}

QString GetGridFontName() {
    const QString name = envString(QStringLiteral("GridFontName"), gvDefaultFont);
    return FontExists(name) ? name : gvDefaultFont;
}

int32_t GetMaxImageSize() { return toLong(envVal(QStringLiteral("MaxImageSize"), 4000, 2000, 8000)); }
