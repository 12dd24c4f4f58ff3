// One input of the gazetteer reader fuzzer, shared by the libFuzzer entry
// point and the corpus replay test: the bytes are read as a gazetteer of
// each language. What is read must be a list the program can use (rows as
// counted, serials in order, every field as the reader promises), and a
// list read must be written and read again to the same rows and the same
// bytes. The search and the sort run over it too. Returns an empty text, or
// what went wrong.
#pragma once

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "FlexGridData.h"
#include "basGazetteer.h"
#include "basPlaceKey.h"

namespace fuzzgaz {

inline QString CheckRows(const plat::FlexGridData& g, const GazetteerRead& r) {
    if (r.places != PlaceCount(g)) return QStringLiteral("%1 places counted, %2 rows").arg(r.places).arg(PlaceCount(g));
    if (!r.header && r.places != 0) return QStringLiteral("places without a header");
    if (r.places > r.declared || r.declared > kMaxGazetteerPlaces) return QStringLiteral("more places than declared");
    if (r.sortCode < 0 || r.sortCode > 8) return QStringLiteral("sort code %1").arg(r.sortCode);
    if (g.FixedRows() != (r.places > 0 ? 1 : 0)) return QStringLiteral("fixed rows");
    for (int32_t row = 1; row <= r.places; ++row) {
        const QString at = QStringLiteral(" in row %1").arg(row);
        bool okX = false, okY = false, okS = false, okL = false;
        g.TextMatrix(row, kPlaceX).trimmed().toInt(&okX);
        g.TextMatrix(row, kPlaceY).trimmed().toInt(&okY);
        const double s = g.TextMatrix(row, kPlaceScaleS).trimmed().toDouble(&okS);
        const double l = g.TextMatrix(row, kPlaceScaleL).trimmed().toDouble(&okL);
        if (!okX || !okY) return QStringLiteral("coordinates") + at;
        // Any number: one that is no map scale keeps its place, and the plot ignores it.
        if (!okS || !okL || !std::isfinite(s) || !std::isfinite(l)) return QStringLiteral("scales") + at;
        const QString file = g.TextMatrix(row, kPlaceFile);
        if (g.TextMatrix(row, kPlaceName).isEmpty() || file.isEmpty() || file.contains(QLatin1Char('/')) ||
            file.contains(QLatin1Char('\\')) || file == QLatin1String("..") || file == QLatin1String("."))
            return QStringLiteral("name or file name") + at;
        if (g.TextMatrix(row, kPlaceSerial) != QString::number(row)) return QStringLiteral("serial") + at;
    }
    return QString();
}

inline QString FuzzGazetteerInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (int32_t language : {1, 2}) {
        const QString lang = QStringLiteral(" (language %1)").arg(language);
        plat::FlexGridData g;
        const GazetteerRead r = ParseGazetteer(bytes, language, g);
        QString failure = CheckRows(g, r);
        if (!failure.isEmpty()) return failure + lang;
        if (r.places == 0) continue;

        const int16_t sort = r.sortCode != 0 ? r.sortCode : 1;
        const QByteArray written = GazetteerBytes(g, language, sort);
        plat::FlexGridData again;
        const GazetteerRead r2 = ParseGazetteer(written, language, again);
        failure = CheckRows(again, r2);
        if (!failure.isEmpty()) return QStringLiteral("written file: ") + failure + lang;
        if (!r2.header || r2.oldScales || r2.badLines != 0 || r2.places != r.places || r2.sortCode != sort)
            return QStringLiteral("the written file reads as %1 places, %2 bad, old %3")
                       .arg(r2.places)
                       .arg(r2.badLines)
                       .arg(r2.oldScales) + lang;
        for (int32_t row = 1; row <= r.places; ++row)
            for (int32_t c = 0; c < kPlaceColumns; ++c)
                if (g.TextMatrix(row, c) != again.TextMatrix(row, c))
                    return QStringLiteral("row %1 column %2 came back as \"%3\"").arg(row).arg(c).arg(again.TextMatrix(row, c)) + lang;
        if (GazetteerBytes(again, language, sort) != written) return QStringLiteral("written differently again") + lang;

        const int32_t found = SearchPlaceRow(g, 1, KeywordKey(g.TextMatrix(r.places, kPlaceName), language));
        if (found < 1 || found > r.places) return QStringLiteral("search found row %1").arg(found) + lang;
        SortPlaces(g, static_cast<int16_t>(size % 10));
        if (PlaceCount(g) != r.places) return QStringLiteral("sorting changed the count") + lang;
    }
    return QString();
}

} // namespace fuzzgaz
