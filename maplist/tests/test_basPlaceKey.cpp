#include "TestSupport.h"

#include "FlexGridData.h"
#include "basPlaceKey.h"

#include <memory>
#include <random>

namespace {

std::unique_ptr<plat::FlexGridData> GridOfKeys(const QStringList& keys) {
    auto p = std::make_unique<plat::FlexGridData>();
    plat::FlexGridData& g = *p;
    g.setCols(kPlaceColumns);
    g.setRows(static_cast<int32_t>(keys.size()) + 1);
    for (qsizetype i = 0; i < keys.size(); ++i) g.setTextMatrix(static_cast<int32_t>(i + 1), kPlaceKey, keys[i]);
    return p;
}

// The search as the dialog describes it: every row once for each length of
// the key, longest first.
int32_t SlowSearch(const QStringList& keys, int32_t current, const QString& key) {
    const auto n = static_cast<int32_t>(keys.size());
    if (n == 0) return 0;
    const int32_t start = current >= 1 && current < n ? current + 1 : 1;
    for (qsizetype len = key.size(); len >= 1; --len) {
        const QString k = key.left(len);
        for (int32_t i = 0; i < n; ++i) {
            const int32_t row = (start - 1 + i) % n + 1;
            const QString& rk = keys[row - 1];
            if (len <= 2 ? rk.startsWith(k) : rk.contains(k)) return row;
        }
    }
    return 1;
}

} // namespace

TEST(PlaceKey, KeysOfNames) {
    struct Case {
        const char* name;
        int32_t language;
        const char* key;
    } cases[] = {
        {"Sankt-Peterburg (Leningrad)", 1, "SANKTPETERBURG,LENINGRAD"},
        {"Frankfurt (Oder) am Main", 1, "FRANKFURTAMMAIN,ODERAMMAIN"},   // the part after comes twice
        {"Bad) Name (x", 1, "BAD)NAME(X"},                              // ")" before "(": as it is
        {"Open (end", 1, "OPEN(END"},
        {"a(b)c(d)e", 1, "AC(D)E,BC(D)E"},                               // the first pair only
        {"New\tYork\r\n-City", 1, "NEWYORKCITY"},
        {"São Tomé", 1, "SÃOTOMÉ"},
        {"ÿµß", 1, "ÿµß"},                                              // their capitals lie outside Latin-1
        {"ｔｏｋｙｏ", 1, "ＴＯＫＹＯ"},                                   // European keys are not narrowed
        {"ガンダーラ・トウキョウ", 2, "ｶﾞﾝﾀﾞｰﾗﾄｳｷｮｳ"},
        {"パ－ル　ハ･バ", 2, "ﾊﾟﾙﾊﾊﾞ"},
        {"ＴＯＫＹＯ　ｔｏｗｅｒ", 2, "TOKYOTOWER"},
        {"東京（とうきょう）", 2, "東京(とうきょう)"},                    // full-width brackets are no parentheses
        {"ｶﾞ１２", 2, "ｶﾞ12"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceKey(QString::fromUtf8(c.name), c.language), QString::fromUtf8(c.key)) << c.name;
    EXPECT_EQ(KeywordKey(QStringLiteral("sankt (pe"), 1), "SANKT(PE");   // keywords keep parentheses
}

TEST(PlaceKey, OnePassSearchEqualsTheRepeatedSearch) {
    std::mt19937 rng(35);
    const QString alphabet = QStringLiteral("ABC");
    auto word = [&](int maxLen) {
        QString s;
        const int len = std::uniform_int_distribution<int>(0, maxLen)(rng);
        for (int i = 0; i < len; ++i) s += alphabet[std::uniform_int_distribution<int>(0, 2)(rng)];
        return s;
    };
    for (int trial = 0; trial < 3000; ++trial) {
        QStringList keys;
        const int n = std::uniform_int_distribution<int>(1, 12)(rng);
        for (int i = 0; i < n; ++i) keys << word(7);
        const QString key = word(6);
        const int32_t current = std::uniform_int_distribution<int32_t>(0, n + 1)(rng);
        ASSERT_EQ(SearchPlaceRow(*GridOfKeys(keys), current, key), SlowSearch(keys, current, key))
            << keys.join(QLatin1Char(',')).toStdString() << " / " << key.toStdString() << " from " << current;
    }
    EXPECT_EQ(SearchPlaceRow(*GridOfKeys({}), 1, u"TOK"), 0);
}

// A pasted keyword of any length is searched in one pass over each row's key:
// the longest beginning of it that some row holds wins, as for short ones.
TEST(PlaceKey, APastedLongKeywordFindsTheLongestBeginningAnyRowHolds) {
    const QString run = QString(300, QLatin1Char('A'));
    const QStringList keys = {run.left(100) + QLatin1Char('B'), QStringLiteral("X") + run + QLatin1Char('C'), run.left(5)};
    const QString longKey = run + QString(64 * 1024, QLatin1Char('A')) + QLatin1Char('B');   // 128 KB
    EXPECT_EQ(SearchPlaceRow(*GridOfKeys(keys), 0, longKey), 2);   // 300 A's, in row 2 only
    EXPECT_EQ(SearchPlaceRow(*GridOfKeys(keys), 0, run.left(100) + QStringLiteral("B")), 1);
    EXPECT_EQ(SearchPlaceRow(*GridOfKeys(keys), 0, QString(128 * 1024, QLatin1Char('Z'))), 1);   // none: row 1
}
