#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace plat {

namespace {

// Asked before Qt's translations: the standard OK button as the program's
// dialogs spell it.
class ButtonTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "QPlatformTheme") == 0 && qstrcmp(source, "OK") == 0) return QStringLiteral("ＯＫ");
        return QString();
    }
    bool isEmpty() const override { return false; }
};

} // namespace

bool InstallJapaneseTranslations() {
    static const bool loaded = [] {
        static QTranslator qt;
        const bool found = qt.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (found) QCoreApplication::installTranslator(&qt);
        static ButtonTexts own;
        QCoreApplication::installTranslator(&own);
        // Qt's own number fields (the paper's margins) then write numbers as
        // the program's texts do, not with the user's decimal comma.
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        return found;
    }();
    return loaded;
}

} // namespace plat
