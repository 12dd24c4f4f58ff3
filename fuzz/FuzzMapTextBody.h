// One input of the figure text file fuzzer, shared by the libFuzzer entry
// point and the corpus replay test: the bytes are read as a text file of the
// figure list into a unit of each map mode, every question answered with
// Yes. The count of skipped lines must be within the file, every figure
// read must have real coordinates, and the figures read must be written and
// read again to the same figures without a question or a skipped line.
// Returns an empty text, or what went wrong.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "AppError.h"
#include "MapTextFile.h"
#include "TextFile.h"
#include "basAngle.h"
#include "basHMapCoord.h"
#include "clsAdmin.h"
#include "clsMapRem.h"
#include "clsMapText.h"
#include "clsThing.h"

namespace fuzzmaptext {

inline MapUnitPtr unitOf(int32_t mode) {
    auto unit = std::make_shared<clsMapUnit>();
    unit->setMapMode(mode);
    unit->setUnitName(QStringLiteral("/fuzz/TEXT"));
    int16_t n = 0;
    for (const char16_t* name : {u"海岸線", u"都市", u"地名"}) {
        auto t = std::make_shared<clsThing>();
        t->setIndex(++n);
        t->setName(QString::fromUtf16(name));
        unit->Things().Add(t);
    }
    auto a = std::make_shared<clsAdmin>();
    a->setAdminCode(1);
    a->setEuropianName(QStringLiteral("Japan"));
    a->setJapaneseName(QStringLiteral("日本"));
    unit->Admins().Add(a);
    return unit;
}

struct Reading {
    std::shared_ptr<clsMap> map;
    maptext::ReadResult result;
    int asked = 0;
    qsizetype lines = 0;
};

// False when the bytes are no text of either encoding.
inline bool read(const QByteArray& bytes, clsMapUnit& unit, Reading& r) {
    QStringList lines;
    try {
        lines = plat::SplitTextLines(maptext::DecodeFileText(bytes));
    } catch (const plat::AppError&) {
        return false;
    }
    r.lines = lines.size();
    r.map = std::make_shared<clsMap>();
    r.map->setMapMode(unit.Map().MapMode());
    r.map->setEiUndo(false);
    r.result = maptext::ReadFigureLines(lines, unit, *r.map, [&r](const QString&) {
        ++r.asked;
        return true;
    });
    return true;
}

inline QString sameFigure(const clsMapFigure& a, const clsMapFigure& b) {
    if (a.FigCode() != b.FigCode() || a.Thing() != b.Thing() || a.Admin() != b.Admin()) return QStringLiteral("kind or names");
    if (!a.Poly()->IsMatch(*b.Poly())) return QStringLiteral("points");
    if (a.FigCode() == 1 && QStringLiteral(" ") + static_cast<const clsMapRem&>(a).Comment() !=
                                static_cast<const clsMapRem&>(b).Comment())
        return QStringLiteral("comment");
    if (a.FigCode() == 5) {
        const auto& x = static_cast<const clsMapText&>(a);
        const auto& y = static_cast<const clsMapText&>(b);
        if (x.TextUnicode(1) != y.TextUnicode(1) || x.TextUnicode(2) != y.TextUnicode(2) || x.TextFix() != y.TextFix() ||
            x.Angle() != y.Angle())
            return QStringLiteral("texts");
    }
    return QString();
}

inline QString FuzzMapTextInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The settings the list writes its files with: seconds, full-width
    // marks, direction letters.
    SetAngleUnit(1);
    SetAngleSymbol(2);
    SetAngleDirStyle(3);
    struct ModeSource {
        ~ModeSource() { SetMapModeSource({}); }
    } restore;
    for (int32_t mode : {1, 2}) {
        SetMapModeSource([mode] { return mode; });
        const QString in = QStringLiteral(" (mode %1)").arg(mode);
        const MapUnitPtr unit = unitOf(mode);
        Reading first;
        if (!read(bytes, *unit, first)) return QString();
        const maptext::ReadResult& r = first.result;
        if (r.cancelled || r.stopped) return QStringLiteral("stopped though every answer was Yes") + in;
        if (r.badLines < 0 || r.badLines > first.lines || (r.badLines > 0) != (r.firstBadLine > 0) ||
            r.firstBadLine > first.lines)
            return QStringLiteral("%1 bad lines, the first %2, of %3").arg(r.badLines).arg(r.firstBadLine).arg(first.lines) + in;
        for (const MapFigurePtr& f : *first.map) {
            const auto poly = f->Poly();
            for (int32_t i = 1; i <= poly->Count(); ++i)
                if (poly->x(i) == kInvalidCoordinate || poly->y(i) == kInvalidCoordinate)
                    return QStringLiteral("a point that did not read") + in;
        }

        QString text = maptext::HeaderLine(mode) + QStringLiteral("\r\n");
        for (const MapFigurePtr& f : *first.map) text += maptext::FigureToStrAll(f.get(), unit.get(), true) + QStringLiteral("\r\n");
        Reading again;
        if (!read(maptext::EncodeFileText(text), *unit, again)) return QStringLiteral("the written file does not decode") + in;
        if (again.asked != 0 || again.result.badLines != 0)
            return QStringLiteral("the written file gives %1 questions, %2 bad lines (first %3)")
                       .arg(again.asked)
                       .arg(again.result.badLines)
                       .arg(again.result.firstBadLine) + in;
        if (again.map->Count() != first.map->Count())
            return QStringLiteral("%1 figures came back as %2").arg(first.map->Count()).arg(again.map->Count()) + in;
        for (int32_t i = 1; i <= first.map->Count(); ++i) {
            const QString failure = sameFigure(*first.map->Item(i), *again.map->Item(i));
            if (!failure.isEmpty()) return failure + QStringLiteral(" of figure %1 came back otherwise").arg(i) + in;
        }
    }
    return QString();
}

} // namespace fuzzmaptext
