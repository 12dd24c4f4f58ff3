#include "basLibrary.h"

#include "AppInfo.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "Fonts.h"
#include "MessageBox.h"
#include "Screen.h"
#include "TextFile.h"
#include "Clock.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

const QString kObject = QStringLiteral("basLibrary");

std::vector<int16_t>& pointerStack() {
    static std::vector<int16_t> s;
    return s;
}

bool isSep(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

qsizetype lastSep(const QString& s) {
    for (qsizetype i = s.size() - 1; i >= 0; --i)
        if (isSep(s[i])) return i;
    return -1;
}

QChar sepStyleOf(const QString& s) {
    qsizetype i = lastSep(s);
    return i >= 0 ? s[i] : QLatin1Char('/');
}

QString padded(int v) { return v < 100 ? QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')) : QStringLiteral("%1").arg(v, 4, 10, QLatin1Char('0')); }

bool hasWildcard(const QString& s) { return s.contains(QLatin1Char('*')) || s.contains(QLatin1Char('?')); }

void findFilesIn(const QString& folder, const QString& mask, QStringList& out, int depth) {
    if (depth > 64) return;  // a loop of links must not run forever
    QDir d(folder);
    if (!d.exists()) return;
    const QStringList files = d.entryList(QStringList{mask}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QString& f : files) out.append(folder + QLatin1Char('/') + f);
    const QStringList dirs = d.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : dirs) findFilesIn(folder + QLatin1Char('/') + sub, mask, out, depth + 1);
}

} // namespace

int ScreenDPI() {
    int tpp = static_cast<int>(std::nearbyint(plat::TwipsPerPixelX()));
    return tpp > 0 ? 1440 / tpp : 96;
}

void ScreenMousePointer(int n) {
    try {
        auto& st = pointerStack();
        if (n >= 0) {
            st.push_back(static_cast<int16_t>(plat::ScreenPointer()));
            plat::SetScreenPointer(n);
        } else if (!st.empty()) {
            plat::SetScreenPointer(st.back());
            st.pop_back();
        }
    } catch (...) {
        RaiseError(ErrLibrary, kObject, QStringLiteral("ScreenMousePointer"));
    }
}

int MousePointerDepth() { return static_cast<int>(pointerStack().size()); }

QString DateTimeStamp(const QString& sep) {
    const QDateTime t = plat::Now();
    QString s = t.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    QString out;
    for (QChar c : s) {
        if (c.unicode() >= '0' && c.unicode() <= '9') out += c;
        else out += sep;
    }
    return out;
}

QString VersionText() {
    QString s = QString::number(plat::AppMajor()) + QLatin1Char('.') + padded(plat::AppMinor());
    if (plat::AppRevision() != 0) s += QLatin1Char('.') + padded(plat::AppRevision());
    return s;
}

plat::FontRef CloneFont(const plat::FontRef& font) {
    if (!font) return nullptr;
    return std::make_shared<plat::StdFont>(*font);
}

bool FontExists(const QString& name) {
    const QStringList names = plat::ScreenFontNames();
    for (qsizetype i = names.size() - 1; i >= 0; --i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

void MsgOutOfRange(const QString& detail) {
    QString t = QStringLiteral("既定の範囲を超えています.");
    if (!detail.isEmpty()) t += QStringLiteral("\r\n") + detail;
    plat::MsgBox(t, plat::MbExclamation | plat::MbOkOnly);
}

bool AskYesNo(const QString& question) {
    return plat::MsgBox(question, plat::MbExclamation | plat::MbYesNo) == plat::IdYes;
}

void MsgError(const QString& text) { plat::MsgBox(text, plat::MbCritical | plat::MbOkOnly); }

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    try {
        const QString p = plat::NativePath(path);
        if (!hasWildcard(FileNameOf(p))) return plat::PathExists(p);
        QString folder = lastSep(p) >= 0 ? p.left(lastSep(p)) : QStringLiteral(".");
        if (folder.isEmpty()) folder = QStringLiteral("/");
        QDir d(plat::ResolveFileName(folder));
        return !d.entryList(QStringList{FileNameOf(p)}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty();
    } catch (...) {
        return false;
    }
}

QString ChangeExt(const QString& path, const QString& ext) {
    QString e = ext.startsWith(QLatin1Char('.')) ? ext.mid(1) : ext;
    qsizetype sep = lastSep(path);
    qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    QString base = dot > sep ? path.left(dot) : path;
    return base + QLatin1Char('.') + e;
}

QString FileNameOf(const QString& path) {
    qsizetype sep = lastSep(path);
    if (sep >= 0) return path.mid(sep + 1);
    qsizetype colon = path.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) return path.mid(colon + 1);
    return path;
}

QString FolderOf(const QString& path) {
    qsizetype sep = lastSep(path);
    if (sep > 0) return path.left(sep);
    return path;
}

QString JoinPath(const QString& folder, const QString& name) {
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/'))) return name;
    if (!folder.isEmpty() && isSep(folder.back())) return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString ShortenPath(const QString& path, int maxLen) {
    if (maxLen <= 0) return QString();
    const QString file = FileNameOf(path);
    if (file.size() > maxLen) return path.left(maxLen);
    const QChar sep = sepStyleOf(path);
    QString result = path;
    QString folder = FolderOf(path);
    while (result.size() > maxLen) {
        folder = FolderOf(folder);
        bool more = false;
        for (qsizetype i = 1; i < folder.size(); ++i)
            if (isSep(folder[i])) { more = true; break; }
        if (folder.size() > 2 && more) {
            result = folder + sep + QStringLiteral("...") + sep + file;
        } else {
            result = file;
        }
    }
    return result;
}

bool IsReadOnlyFile(const QString& path, bool showMessage) {
    if (!FileExists(path)) return false;
    if (plat::IsWritableFile(path)) return false;
    if (showMessage) MsgError(path + QStringLiteral("\r\nは読み取り専用ファイルです."));
    return true;
}

QStringList FindFiles(const QString& pattern) {
    QStringList out;
    try {
        const QString p = plat::NativePath(pattern);
        QString folder = lastSep(p) >= 0 ? p.left(lastSep(p)) : QStringLiteral(".");
        if (folder.isEmpty()) folder = QStringLiteral("/");
        findFilesIn(plat::ResolveFileName(folder), FileNameOf(p), out, 0);
    } catch (...) {
        // What was collected stays.
    }
    return out;
}

QStringList StrToTokens(const QString& line, int mode) {
    try {
        auto isSeparator = [mode](QChar c) {
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) return true;
            const bool blank = c == QLatin1Char(' ') || c == QChar(0x3000) || c == QLatin1Char('\t');
            switch (mode) {
            case 1: return blank;
            case 2: return c == QLatin1Char(',');
            case 3: return c == QLatin1Char('\t');
            default: return blank || c == QLatin1Char(',');
            }
        };
        QStringList tokens;
        tokens.reserve(201);
        QString cur;
        bool inQuotes = false, hasContent = false;
        const QString s = line + QLatin1Char('\r');
        for (QChar c : s) {
            if (c == QLatin1Char('"')) {
                inQuotes = !inQuotes;
            } else if (isSeparator(c) && !inQuotes) {
                if (c == QLatin1Char(',')) hasContent = true;
                if (hasContent) {
                    tokens.append(cur);
                    cur.clear();
                    hasContent = false;
                }
            } else {
                cur += c;
                hasContent = true;
            }
        }
        if (tokens.isEmpty()) tokens.append(QString());
        return tokens;
    } catch (...) {
        RaiseError(ErrLibrary, kObject, QStringLiteral("StrToTokens"));
    }
}

QString QuoteStr(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

namespace {
QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' ')) ++b;
    while (e > b && s[e - 1] == QLatin1Char(' ')) --e;
    return s.mid(b, e - b);
}
} // namespace

QString UnquoteStr(const QString& text) {
    QString s = trimBlanks(text);
    if (s.isEmpty() || s == QLatin1String("\"")) return QString();
    if (s.startsWith(QLatin1Char('"'))) s.remove(0, 1);
    if (s.endsWith(QLatin1Char('"'))) s.chop(1);
    return s;
}

QString TrimCtrlRight(const QString& text) {
    qsizetype e = text.size();
    while (e > 0 && text[e - 1] == QLatin1Char(' ')) --e;
    while (e > 0 && text[e - 1].unicode() < 32) --e;
    return text.left(e);
}

QString RemoveCtrlChars(const QString& text) {
    QString o;
    o.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 32) o += c;
    return o;
}

bool HasWideChar(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 255) return true;
    return false;
}

QString FormatStandardInt(double value) {
    // The "Standard" format rounds halves away from zero.
    double r = std::round(value * 100.0) / 100.0;
    QString s = QLocale(QLocale::English, QLocale::UnitedStates).toString(r, 'f', 2);
    if (s.size() > 3) s.chop(3);
    return s;
}

QString BytesToStr(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) return value.toString();
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray b = value.toByteArray();
        if (b.isEmpty() || b[0] == '\0') return QString();
        return QString::fromLatin1(b);
    }
    return QString();
}

QByteArray StrToBytes(const QVariant& value) {
    if (value.typeId() == QMetaType::QString && !value.toString().isEmpty()) {
        const QString s = value.toString();
        QByteArray out;
        for (qsizetype i = 0; i < s.size(); ++i) {
            qsizetype n = (s[i].isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
            try {
                out += plat::EncodeCp932(s.mid(i, n));
            } catch (const AppError&) {
                out += '?';  // as the ANSI conversion does for characters it lacks
            }
            i += n - 1;
        }
        return out;
    }
    if (value.typeId() == QMetaType::QByteArray) return value.toByteArray();
    return QByteArray(1, '\0');
}

int32_t WrapRange(int32_t v, int32_t lo, int32_t hi) {
    const int64_t period = static_cast<int64_t>(hi) - lo + 1;
    if (period <= 0) return v;
    int64_t x = v;
    if (x < lo) x += ((lo - x + period - 1) / period) * period;
    if (x > hi) x -= ((x - hi + period - 1) / period) * period;
    return static_cast<int32_t>(x);
}

int32_t RoundSignificant(int32_t v, int32_t digits) {
    digits = Clamp(digits, 1, 9);
    int64_t limit = 1;
    for (int i = 0; i < digits; ++i) limit *= 10;
    int64_t mag = v < 0 ? -static_cast<int64_t>(v) : v;
    int64_t scale = 1;
    while (mag >= limit) {
        mag /= 10;
        scale *= 10;
    }
    int64_t r = mag * scale;
    if (v < 0) r = -r;
    return static_cast<int32_t>(std::clamp<int64_t>(r, INT32_MIN, INT32_MAX));
}

int32_t SafeCLng(double x) {
    if (x >= 2147483646.0) return 2147483647;
    if (x < -2147483646.0) return -2147483647;
    if (std::isnan(x)) return 0;
    return static_cast<int32_t>(std::nearbyint(x));
}

void SortArray(QVariantList& a) {
    try {
        std::sort(a.begin(), a.end(), [](const QVariant& x, const QVariant& y) {
            const bool nx = x.canConvert<double>() && x.typeId() != QMetaType::QString;
            const bool ny = y.canConvert<double>() && y.typeId() != QMetaType::QString;
            if (nx && ny) return x.toDouble() < y.toDouble();
            return x.toString() < y.toString();
        });
    } catch (...) {
        RaiseError(ErrLibrary, kObject, QStringLiteral("SortArray"));
    }
}
