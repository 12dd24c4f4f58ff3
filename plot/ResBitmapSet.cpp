#include "ResBitmapSet.h"

#include "AppInfo.h"
#include "ResString.h"
#include "basApiLib.h"
#include "basLibrary.h"

QString UserDefinedName() { return QStringLiteral("ユーザー定義"); }

ResBitmapSet::ResBitmapSet(int first, int last, int nameBase, int lowBase, int highBase,
                           const std::function<QString(int)>& userFile)
    : first_(first), last_(last) {
    entries_.resize(size_t(last - first + 1));
    for (int n = first; n <= last; ++n) {
        Entry& e = entries_[size_t(n - first)];
        e.name = plat::LoadResString(nameBase + n);
        const QString base = JoinPath(plat::AppPath(), userFile(n));
        auto load = [&](const QString& suffix, int resId) -> plat::HBITMAP {
            const QString file = base + suffix;
            if (FileExists(file)) {
                // A user file that cannot be read leaves the entry empty.
                e.name = UserDefinedName();
                return LoadBitmapFile(file);
            }
            return plat::LoadBitmapResource(resId + n);
        };
        e.low = load(QStringLiteral("L.BMP"), lowBase);
        e.high = load(QStringLiteral("H.BMP"), highBase);
    }
}

plat::HBITMAP ResBitmapSet::handle(int16_t Index) const {
    const Entry* e = entry(Index);
    if (!e) return nullptr;
    return resolution_ == 1 ? e->high : e->low;
}

QString ResBitmapSet::Name(int16_t Index) const {
    const Entry* e = entry(Index);
    return e ? e->name : QString();
}
