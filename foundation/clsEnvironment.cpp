#include "clsEnvironment.h"

#include <cstdint>

#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "TextFile.h"
#include "basLibrary.h"

namespace {

// The installed file holds some kilobytes; far more is no environment file.
constexpr int64_t kMaxEnvironmentBytes = 1024 * 1024;

QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == QLatin1Char(' ') || s[b] == QLatin1Char('\t'))) ++b;
    while (e > b && (s[e - 1] == QLatin1Char(' ') || s[e - 1] == QLatin1Char('\t'))) --e;
    return s.mid(b, e - b);
}

} // namespace

QString clsEnvironment::ItemID(long i) const {
    return i >= 0 && i < Count() ? items_[static_cast<size_t>(i)].id : QString();
}

QString clsEnvironment::ItemData(long i) const {
    return i >= 0 && i < Count() ? items_[static_cast<size_t>(i)].data : QString();
}

const clsEnvironment::Item* clsEnvironment::find(const QString& id) const {
    for (const Item& it : items_)
        if (it.id.compare(id, Qt::CaseInsensitive) == 0) return &it;
    return nullptr;
}

QString clsEnvironment::GetString(const QString& id, const QString& def) const {
    const Item* it = find(id);
    return it ? it->data : def;
}

double clsEnvironment::GetVal(const QString& id, double def, double min, double max) const {
    try {
        const Item* it = find(id);
        if (!it) return def;
        const double v = plat::Val(it->data);
        if (v < min || v > max) return def;
        return v;
    } catch (...) {
        return def;
    }
}

void clsEnvironment::LoadLines(const QStringList& lines) {
    items_.clear();
    for (const QString& raw : lines) {
        const QString line = trimBlanks(raw);
        if (line.isEmpty() || line.startsWith(QLatin1Char('\'')) || line.startsWith(QLatin1String("//"))) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        QString id = line.left(eq);
        while (!id.isEmpty() && (id.back() == QLatin1Char(' ') || id.back() == QLatin1Char('\t'))) id.chop(1);
        QString data = line.mid(eq + 1);
        qsizetype b = 0;
        while (b < data.size() && (data[b] == QLatin1Char(' ') || data[b] == QLatin1Char('\t'))) ++b;
        data = UnquoteStr(data.mid(b));
        if (id.isEmpty() || data.isEmpty()) continue;
        items_.push_back({id, data});
    }
}

long clsEnvironment::Load() {
    if (!FileExists(fileName_)) {
        MsgError(QStringLiteral("環境ファイルが存在しません.\r\n") + fileName_);
        return 53;
    }
    QStringList lines;
    for (;;) {
        try {
            lines = plat::ReadTextLines(fileName_, kMaxEnvironmentBytes);
            break;
        } catch (...) {
            AppError e = plat::CurrentError();
            // Refused without the file-error box, which would speak of memory.
            if (e.number() == plat::ErrOutOfMemory)
                e.setDescription(QStringLiteral("環境ファイルが大きすぎるので読みません (上限 1 MiB)。 ") + fileName_);
            else if (ShowFileError(e, fileName_) == 0) continue;
            RaiseError(e, ErrGeneral, QStringLiteral("clsEnvironment"), QStringLiteral("Load"));
        }
    }
    LoadLines(lines);
    return 0;
}
