#include "clsRegistry.h"

#include "AppInfo.h"
#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "SettingsStore.h"
#include "basLibrary.h"

namespace {
const QString kObject = QStringLiteral("clsRegistry");
}

void clsRegistry::RegPut(const QString& key, const QString& value) {
    try {
        plat::SettingsStore::instance().put(plat::AppTitle(), section_, key, value);
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("RegPut"), QStringLiteral("key=") + key);
    }
}

void clsRegistry::RegPut(const QString& key, double value) { RegPut(key, plat::FormatShortest(value)); }

void clsRegistry::RegPut(const QString& key, bool value) { RegPut(key, value ? QStringLiteral("True") : QStringLiteral("False")); }

QString clsRegistry::RegGet(const QString& key, const QString& def) const {
    try {
        bool found = false;
        QString v = plat::SettingsStore::instance().get(plat::AppTitle(), section_, key, &found);
        return found ? v : def;
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("RegGet"), QStringLiteral("key=") + key);
    }
}

long long clsRegistry::RegGetLong(const QString& key, long long def) const {
    const QString v = RegGet(key, QString());
    if (v.isEmpty()) return def;
    try {
        double d = plat::CDbl(v);
        if (!(d >= -9.2e18 && d <= 9.2e18)) return def;
        return static_cast<long long>(std::nearbyint(d));
    } catch (const AppError&) {
        return def;
    }
}

double clsRegistry::RegGetDouble(const QString& key, double def) const {
    const QString v = RegGet(key, QString());
    if (v.isEmpty()) return def;
    try {
        return plat::CDbl(v);
    } catch (const AppError&) {
        return def;
    }
}

bool clsRegistry::RegGetBool(const QString& key, bool def) const {
    const QString v = RegGet(key, QString()).trimmed();
    if (v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    if (v.isEmpty()) return def;
    try {
        return plat::CDbl(v) != 0;
    } catch (const AppError&) {
        return def;
    }
}

std::optional<clsRegistry::Table> clsRegistry::RegGetSec() const {
    try {
        bool exists = false;
        auto pairs = plat::SettingsStore::instance().section(plat::AppTitle(), section_, &exists);
        if (!exists) return std::nullopt;
        return pairs;
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("RegGetSec"), QStringLiteral("section=") + section_);
    }
}

void clsRegistry::RegDelete(const QString& key) {
    try {
        plat::SettingsStore::instance().remove(plat::AppTitle(), section_, key);
    } catch (...) {
    }
}

bool clsRegistry::IsSnapshotKey(const QString& key) {
    return !key.isEmpty() && !key.startsWith(QLatin1Char('[')) && !key.contains(QLatin1Char('=')) &&
           !key.contains(QLatin1Char('\r')) && !key.contains(QLatin1Char('\n')) && plat::IsCp932Encodable(key);
}

QString clsRegistry::SnapshotValue(const QString& value) {
    QString v = value;
    v.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    // What the file can hold, as the reader will decode it.
    return plat::DecodeCp932Lossy(plat::EncodeCp932Lossy(v));
}

void clsRegistry::WriteFile(plat::TextWriter& out) const {
    try {
        auto table = RegGetSec();
        out.print(QLatin1Char('[') + section_ + QLatin1Char(']'));
        if (!table) return;
        for (const auto& [k, v] : *table) {
            // Keys are the program's own names; one the reader would not give
            // back is a fault of the program, and is left out of the file.
            Q_ASSERT_X(IsSnapshotKey(k), "clsRegistry::WriteFile", qPrintable(k));
            if (!IsSnapshotKey(k)) continue;
            out.print(k + QLatin1Char('=') + QuoteStr(SnapshotValue(v)));
        }
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("WriteFile"), QStringLiteral("section=") + section_);
    }
}

void clsRegistry::ReadFile(plat::TextReader& in) {
    try {
        plat::SettingsStore::Batch batch;
        in.seekStart();
        const QString header = QLatin1Char('[') + section_ + QLatin1Char(']');
        bool inside = false;
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (line == header) {
                inside = true;
            } else if (line.startsWith(QLatin1Char('['))) {
                inside = false;
            } else if (inside) {
                qsizetype eq = line.indexOf(QLatin1Char('='));
                if (eq >= 1) RegPut(line.left(eq), UnquoteStr(line.mid(eq + 1)));
            }
        }
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("ReadFile"), QStringLiteral("section=") + section_);
    }
}
