#include "SettingsStore.h"

#include "AppError.h"
#include "FileOps.h"

#include <QDir>

#include <algorithm>
#include <QStandardPaths>

namespace plat {

namespace {

QString& folderOverride() {
    static QString f;
    return f;
}

QString escape(const QString& s, bool isKey) {
    QString o;
    o.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        QChar c = s[i];
        if (c == QLatin1Char('\\')) o += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n')) o += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r')) o += QStringLiteral("\\r");
        else if (isKey && c == QLatin1Char('=')) o += QStringLiteral("\\=");
        else if (isKey && i == 0 && (c == QLatin1Char('[') || c == QLatin1Char(';'))) { o += QLatin1Char('\\'); o += c; }
        else o += c;
    }
    return o;
}

QString unescape(const QString& s) {
    QString o;
    o.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        QChar c = s[i];
        if (c == QLatin1Char('\\') && i + 1 < s.size()) {
            QChar n = s[++i];
            if (n == QLatin1Char('n')) o += QLatin1Char('\n');
            else if (n == QLatin1Char('r')) o += QLatin1Char('\r');
            else o += n;
        } else {
            o += c;
        }
    }
    return o;
}

// Index of the first unescaped "=".
qsizetype splitAt(const QString& line) {
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('\\')) { ++i; continue; }
        if (line[i] == QLatin1Char('=')) return i;
    }
    return -1;
}

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

SettingsStore& SettingsStore::instance() {
    static SettingsStore s;
    return s;
}

void SettingsStore::SetFolder(const QString& folder) {
    folderOverride() = folder;
    instance().apps_.clear();
}

QString SettingsStore::Folder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/KALDERO");
}

QString SettingsStore::fileOf(const QString& appName) const {
    QString safe = appName;
    for (QChar& c : safe) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32) c = QLatin1Char('_');
    }
    return Folder() + QLatin1Char('/') + safe + QStringLiteral(".ini");
}

void SettingsStore::reload() { apps_.clear(); }

SettingsStore::App& SettingsStore::app(const QString& name) {
    for (App& a : apps_) {
        if (same(a.name, name)) {
            if (!a.loaded) load(a);
            return a;
        }
    }
    apps_.push_back(App{name, false, false, {}});
    load(apps_.back());
    return apps_.back();
}

void SettingsStore::load(App& a) {
    a.sections.clear();
    QString path = fileOf(a.name);
    if (!PathExists(path)) {
        a.loaded = true;
        return;
    }
    // A file that does not read stays unread: every later access meets its
    // error again, and no write replaces it with what the program holds.
    QByteArray bytes;
    try {
        bytes = ReadAllBytes(path, kMaxFileBytes);
    } catch (const AppError& e) {
        if (e.number() == ErrOutOfMemory)
            throw AppError(ErrOutOfMemory, e.source(),
                           QStringLiteral("設定ファイルが大きすぎるので読みません (上限 16 MiB)。 ") + path);
        AppError named = e;
        if (!named.description().contains(path)) named.setDescription(named.description() + QLatin1Char(' ') + path);
        named.setDescription(QStringLiteral("設定ファイルを読めません/") + named.description());
        throw named;
    }
    a.loaded = true;
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    Section* cur = nullptr;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            a.sections.push_back(Section{unescape(line.mid(1, line.size() - 2)), {}});
            cur = &a.sections.back();
            continue;
        }
        qsizetype eq = splitAt(line);
        if (!cur || eq < 0) continue;
        cur->pairs.emplace_back(unescape(line.left(eq)), unescape(line.mid(eq + 1)));
    }
}

void SettingsStore::save(App& a) {
    QString text;
    text += QStringLiteral("; settings of %1\n").arg(a.name);
    for (const Section& s : a.sections) {
        text += QLatin1Char('[') + escape(s.name, false) + QStringLiteral("]\n");
        for (const auto& [k, v] : s.pairs) text += escape(k, true) + QLatin1Char('=') + escape(v, false) + QLatin1Char('\n');
        text += QLatin1Char('\n');
    }
    QDir().mkpath(Folder());
    WriteFileAtomic(fileOf(a.name), text.toUtf8());
    a.dirty = false;
}

void SettingsStore::saveDirty() {
    for (App& a : apps_) {
        if (a.dirty) save(a);
    }
}

QString SettingsStore::get(const QString& appName, const QString& section, const QString& key, bool* found) {
    App& a = app(appName);
    for (const Section& s : a.sections) {
        if (!same(s.name, section)) continue;
        for (const auto& [k, v] : s.pairs) {
            if (same(k, key)) {
                if (found) *found = true;
                return v;
            }
        }
    }
    if (found) *found = false;
    return QString();
}

void SettingsStore::put(const QString& appName, const QString& section, const QString& key, const QString& value) {
    if (section.isEmpty() || key.isEmpty()) ThrowRuntimeError(ErrInvalidCall);
    App& a = app(appName);
    Section* sec = nullptr;
    for (Section& s : a.sections) {
        if (same(s.name, section)) { sec = &s; break; }
    }
    if (!sec) {
        a.sections.push_back(Section{section, {}});
        sec = &a.sections.back();
    }
    bool changed = true;
    bool done = false;
    for (auto& [k, v] : sec->pairs) {
        if (same(k, key)) {
            changed = v != value;
            v = value;
            done = true;
            break;
        }
    }
    if (!done) sec->pairs.emplace_back(key, value);
    if (!changed) return;
    a.dirty = true;
    if (batchDepth_ == 0) save(a);
}

SettingsStore::Pairs SettingsStore::section(const QString& appName, const QString& section, bool* exists) {
    App& a = app(appName);
    for (const Section& s : a.sections) {
        if (same(s.name, section)) {
            if (exists) *exists = true;
            return s.pairs;
        }
    }
    if (exists) *exists = false;
    return {};
}

void SettingsStore::remove(const QString& appName, const QString& section, const QString& key) {
    App& a = app(appName);
    for (size_t i = 0; i < a.sections.size(); ++i) {
        Section& s = a.sections[i];
        if (!same(s.name, section)) continue;
        if (key.isEmpty()) {
            a.sections.erase(a.sections.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            auto it = std::find_if(s.pairs.begin(), s.pairs.end(), [&](const auto& p) { return same(p.first, key); });
            if (it == s.pairs.end()) return;
            s.pairs.erase(it);
        }
        a.dirty = true;
        if (batchDepth_ == 0) save(a);
        return;
    }
}

SettingsStore::Batch::Batch() { ++instance().batchDepth_; }

SettingsStore::Batch::~Batch() {
    SettingsStore& s = instance();
    if (--s.batchDepth_ == 0) {
        try {
            s.saveDirty();
        } catch (...) {
            // A destructor must not throw; the next write tries again.
        }
    }
}

} // namespace plat
