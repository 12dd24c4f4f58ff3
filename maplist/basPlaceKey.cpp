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

// The search key with its prefix table: fail[i] is the length of the
// longest proper prefix of key[0..i] that also ends there.
class KeyMatcher {
public:
    explicit KeyMatcher(QStringView key) : key_(key), fail_(size_t(key.size()), 0) {
        for (qsizetype i = 1, q = 0; i < key.size(); ++i) {
            while (q > 0 && key[i] != key[q]) q = fail_[size_t(q - 1)];
            if (key[i] == key[q]) ++q;
            fail_[size_t(i)] = q;
        }
    }

    // The longest length L above `floor` for which the first L characters of
    // the key match the row's key (L <= 2: as its beginning, L >= 3:
    // anywhere in it); `floor` when there is none. One pass over the row's
    // key, whatever the length of the search key.
    int longestMatch(QStringView rowKey, int floor) const {
        // Every match holds the key's first character: most rows end here.
        if (!rowKey.contains(key_.front())) return floor;
        const qsizetype k = key_.size();
        qsizetype q = 0, longest = 0;
        for (const QChar c : rowKey) {
            while (q > 0 && (q == k || key_[q] != c)) q = fail_[size_t(q - 1)];
            if (key_[q] == c) ++q;
            longest = std::max(longest, q);
            if (longest == k) break;
        }
        const int contained = static_cast<int>(longest);
        if (contained > std::max(floor, 2)) return contained;
        for (int l = static_cast<int>(std::min<qsizetype>(2, k)); l > floor; --l)
            if (rowKey.startsWith(key_.left(l))) return l;
        return floor;
    }

private:
    QStringView key_;
    std::vector<qsizetype> fail_;
};

} // namespace

void PlaceKeyIndex::build(const plat::FlexGridData& grid) {
    const int32_t places = std::max(grid.Rows() - 1, 0);
    qsizetype total = 0;
    for (int32_t r = 1; r <= places; ++r) total += grid.TextMatrix(r, kPlaceKey).size();
    chars_.clear();
    chars_.reserve(total);
    starts_.assign(1, 0);
    starts_.reserve(size_t(places) + 1);
    for (int32_t r = 1; r <= places; ++r) {
        chars_ += grid.TextMatrix(r, kPlaceKey);
        starts_.push_back(chars_.size());
    }
}

void PlaceKeyIndex::clear() {
    chars_.clear();
    starts_.assign(1, 0);
}

int32_t SearchPlaceRow(const PlaceKeyIndex& index, int32_t current, QStringView key) {
    const int32_t places = index.places();
    if (places <= 0) return 0;
    const int k = static_cast<int>(key.size());
    if (k == 0) return 1;
    const int32_t start = current >= 1 && current < places ? current + 1 : 1;
    int best = 0;
    int32_t bestRow = 1;
    const KeyMatcher matcher(key);
    for (int32_t i = 0; i < places && best < k; ++i) {
        const int32_t row = (start - 1 + i) % places + 1;
        const int m = matcher.longestMatch(index.key(row), best);
        if (m > best) {
            best = m;
            bestRow = row;
        }
    }
    return bestRow;
}

int32_t SearchPlaceRow(const plat::FlexGridData& grid, int32_t current, QStringView key) {
    PlaceKeyIndex index;
    index.build(grid);
    return SearchPlaceRow(index, current, key);
}
