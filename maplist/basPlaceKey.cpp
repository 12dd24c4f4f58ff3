#include "basPlaceKey.h"

#include "FlexGridData.h"
#include "basNarrow.h"

#include <algorithm>

QString RewritePlaceName(const QString& text) {
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (open < 0) return text;
    const qsizetype close = text.indexOf(QLatin1Char(')'), open + 1);
    if (close < 0) return text;
    const QString after = text.mid(close + 1);
    return text.left(open) + after + QLatin1Char(',') + text.mid(open + 1, close - open - 1) + after;
}

QString MakePlaceKey(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u' ': case u'-': case u'\r': case u'\n': case u'\t':
        case u'･': case u'－': case u'　': case u'・':
            continue;
        default:
            out.append(c);
        }
    }
    return out;
}

QString PlaceKeyCase(QStringView key, int32_t language) {
    QString out = language == 2 ? NarrowText(key) : key.toString();
    for (QChar& c : out) {
        const QChar upper = c.toUpper();
        // A European key stays inside Latin-1, the file's character set.
        if (language != 2 && c.unicode() <= 0xFF && upper.unicode() > 0xFF) continue;
        c = upper;
    }
    return out;
}

QString PlaceKey(const QString& name, int32_t language) {
    return PlaceKeyCase(MakePlaceKey(RewritePlaceName(name)), language);
}

QString KeywordKey(const QString& keyword, int32_t language) { return PlaceKeyCase(MakePlaceKey(keyword), language); }

namespace {

// The longest length L above `floor` for which the first L characters of the
// key match the row's key (L <= 2: as its beginning, L >= 3: anywhere in
// it); `floor` when there is none. Containment only grows shorter keys'
// chances, so lengths from 3 up are tried in rising order.
int longestMatch(QStringView rowKey, QStringView key, int floor) {
    const int k = static_cast<int>(key.size());
    int len = std::max(floor, 2);
    while (len < k && rowKey.contains(key.left(len + 1))) ++len;
    if (len > std::max(floor, 2)) return len;
    for (int l = std::min(2, k); l > floor; --l)
        if (rowKey.startsWith(key.left(l))) return l;
    return floor;
}

} // namespace

int32_t SearchPlaceRow(const plat::FlexGridData& grid, int32_t current, QStringView key) {
    const int32_t places = grid.Rows() - 1;
    if (places <= 0) return 0;
    const int k = static_cast<int>(key.size());
    if (k == 0) return 1;
    const int32_t start = current >= 1 && current < places ? current + 1 : 1;
    int best = 0;
    int32_t bestRow = 1;
    for (int32_t i = 0; i < places && best < k; ++i) {
        const int32_t row = (start - 1 + i) % places + 1;
        const QString rowKey = grid.TextMatrix(row, kPlaceKey);
        const int m = longestMatch(rowKey, key, best);
        if (m > best) {
            best = m;
            bestRow = row;
        }
    }
    return bestRow;
}
