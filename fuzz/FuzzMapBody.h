// One input of the map reader fuzzer, shared by the libFuzzer entry point
// and the corpus replay test: the bytes are read as a map file; when they
// load, every header lookup runs, the map is written in the version a save
// would choose and read again, and the second reading must give the same
// figures. Returns an empty text, or what went wrong.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "AppError.h"
#include "BinaryIO.h"
#include "ErrorMng.h"
#include "clsMap.h"
#include "clsMapRem.h"
#include "clsMapText.h"

namespace fuzzmap {

inline bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline QString compareFigures(clsMap& a, clsMap& b, int16_t version) {
    if (a.Count() != b.Count()) return QStringLiteral("figure count %1 became %2").arg(a.Count()).arg(b.Count());
    for (int32_t i = 1; i <= a.Count(); ++i) {
        const MapFigurePtr x = a.Item(i), y = b.Item(i);
        const QString at = QStringLiteral(" of figure %1").arg(i);
        if (x->FigCode() != y->FigCode()) return QStringLiteral("code") + at;
        if (x->Admin() != y->Admin() || x->Thing() != y->Thing()) return QStringLiteral("district or thing") + at;
        if (x->OwnShowMode() != y->OwnShowMode() || x->OwnColor() != y->OwnColor()) return QStringLiteral("own style") + at;
        if (version >= 105 && x->JumpMark() != y->JumpMark()) return QStringLiteral("jump mark") + at;
        if (version >= 106 && (!sameBits(x->FigID(), y->FigID()) || x->Reserve() != y->Reserve()))
            return QStringLiteral("identifier or reserve") + at;
        if (!x->Poly()->IsMatch(*y->Poly())) return QStringLiteral("points") + at;
        if (x->FigCode() == 1 &&
            std::static_pointer_cast<clsMapRem>(x)->Comment() != std::static_pointer_cast<clsMapRem>(y)->Comment())
            return QStringLiteral("comment") + at;
        if (x->FigCode() == 5) {
            auto s = std::static_pointer_cast<clsMapText>(x), t = std::static_pointer_cast<clsMapText>(y);
            if (s->TextAnsi(1) != t->TextAnsi(1) || s->TextAnsi(2) != t->TextAnsi(2) || s->TextFix() != t->TextFix() ||
                s->Angle() != t->Angle())
                return QStringLiteral("text") + at;
        }
    }
    return QString();
}

inline QString FuzzMapInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    clsMap map;
    map.setMapMode(2);
    try {
        map.ReadFrom(bytes);
    } catch (const plat::AppError& e) {
        if (e.number() == ErrMapVersion || e.number() == ErrMapRecord) return QString();
        return QStringLiteral("reading raised %1: %2").arg(e.number()).arg(e.description());
    }
    if (!map.IsRight()) return QStringLiteral("a figure that is not right was read");
    (void)map.Kind();
    (void)map.Country();
    (void)map.Level();
    (void)map.MapCode();
    (void)map.MapName(1);
    (void)map.MapName(2);
    (void)map.ProjectionName();
    (void)map.LastDate();
    (void)map.SearchRem(QStringLiteral("地図名"));

    const int16_t version = map.PrepareSaveVersion();
    plat::BinaryWriter out;
    try {
        map.WriteTo(out, version);
    } catch (const plat::AppError& e) {
        // Only a text read by characters can be too long to count in bytes.
        if (e.number() == plat::ErrOverflow) return QString();
        return QStringLiteral("writing raised %1: %2").arg(e.number()).arg(e.description());
    }
    clsMap again;
    try {
        again.ReadFrom(out.buffer());
    } catch (const plat::AppError& e) {
        return QStringLiteral("the written map does not read: %1").arg(e.description());
    }
    if (again.Version() != version) return QStringLiteral("written as %1, read as %2").arg(version).arg(again.Version());
    return compareFigures(map, again, version);
}

} // namespace fuzzmap
