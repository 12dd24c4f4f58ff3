#include "Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace plat {

namespace {

struct Substitute {
    const char* face;
    const char* candidates[4];
};

// Japanese faces go to Noto Sans CJK JP; Latin faces to metric-compatible
// families where installed.
const Substitute kSubstitutes[] = {
    {"ＭＳ Ｐゴシック", {"Noto Sans CJK JP", "IPAPGothic", "Noto Sans", nullptr}},
    {"ＭＳ ゴシック", {"Noto Sans Mono CJK JP", "Noto Sans CJK JP", "IPAGothic", nullptr}},
    {"ＭＳ Ｐ明朝", {"Noto Serif CJK JP", "Noto Sans CJK JP", "IPAPMincho", nullptr}},
    {"ＭＳ 明朝", {"Noto Serif CJK JP", "Noto Sans Mono CJK JP", "IPAMincho", nullptr}},
    {"メイリオ", {"Noto Sans CJK JP", "IPAPGothic", "Noto Sans", nullptr}},
    {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans", nullptr}},
    {"Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif", nullptr}},
    {"Courier New", {"Liberation Mono", "Cousine", "DejaVu Sans Mono", nullptr}},
    {"System", {"Noto Sans CJK JP", "DejaVu Sans", nullptr, nullptr}},
};

bool haveGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

} // namespace

QString ResolveFontFamily(const QString& face) {
    if (!haveGui()) return face;
    const QStringList fams = QFontDatabase::families();
    if (fams.contains(face, Qt::CaseInsensitive)) return face;
    for (const Substitute& s : kSubstitutes) {
        if (face.compare(QString::fromUtf8(s.face), Qt::CaseInsensitive) != 0) continue;
        for (const char* c : s.candidates) {
            if (c && fams.contains(QString::fromUtf8(c), Qt::CaseInsensitive)) return QString::fromUtf8(c);
        }
    }
    return face;
}

QStringList ScreenFontNames() {
    if (!haveGui()) return {};
    QStringList names = QFontDatabase::families();
    for (const Substitute& s : kSubstitutes) {
        QString face = QString::fromUtf8(s.face);
        if (!names.contains(face, Qt::CaseInsensitive) && ResolveFontFamily(face) != face) names.append(face);
    }
    return names;
}

} // namespace plat
