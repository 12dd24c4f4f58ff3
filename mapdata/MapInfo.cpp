#include "MapInfo.h"

#include <algorithm>

#include "RuntimeMath.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsMapRem.h"

QString MapInfo::PathText(double labelWidthTwips, double fontPoints) const {
    if (!map_) return QString();
    const auto width = static_cast<int64_t>(plat::RoundHalfEven(labelWidthTwips));
    const auto points = static_cast<int64_t>(plat::RoundHalfEven(fontPoints));
    // A font that rounds to 0 points would divide by zero: no room then.
    const int64_t n = points > 0 ? (width / points) / 10 : 0;
    return ShortenPath(map_->FileName(), static_cast<int>(std::clamp<int64_t>(n, 0, 32767)));
}

QString MapInfo::VersionText() const {
    if (!map_) return QString();
    return QStringLiteral("map version : ") + QString::number(map_->Version() / 100.0, 'g', 10);
}

QString MapInfo::InfoText() const {
    QString text;
    if (!map_) return text;
    for (const auto& fig : *map_) {
        if (fig->FigCode() != 1) continue;
        const QString& comment = static_cast<const clsMapRem&>(*fig).Comment();
        if (comment.startsWith(QLatin1Char('#'))) text += comment.mid(2) + QStringLiteral("\r\n");
    }
    return text;
}
