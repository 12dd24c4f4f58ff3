#include <gtest/gtest.h>

#include "MapSort.h"
#include "QStringPrinter.h"

#include <random>

namespace {

// The selection sort the list has always done, pass by pass, written out
// as the reference: followers marked after texts, remarks as barriers, the
// first of equal keys taken first; by comment, each remark with its section.
std::vector<int32_t> SelectionSort(const std::vector<SortEntry>& entries, int direction, bool textKey) {
    std::vector<int32_t> work(entries.size());
    for (size_t i = 0; i < work.size(); ++i) work[i] = static_cast<int32_t>(i);
    std::vector<bool> follower(entries.size());
    bool flag = false;
    for (int32_t i : work) {
        const int32_t k = entries[size_t(i)].kind;
        if (k == 5) flag = true;
        if (k == 1) flag = false;
        if (k >= 2 && k <= 4 && flag) follower[size_t(i)] = true;
    }
    const auto below = [&](int32_t a, int32_t b) {   // key a strictly before key b in the direction
        const SortEntry& x = entries[size_t(a)];
        const SortEntry& y = entries[size_t(b)];
        const int c = textKey ? QString::compare(x.text, y.text) : (x.number < y.number ? -1 : x.number > y.number ? 1 : 0);
        return direction == 1 ? c < 0 : c > 0;
    };
    std::vector<int32_t> out;
    while (!work.empty()) {
        size_t best = 0;
        if (entries[size_t(work[0])].kind != 1) {
            for (size_t j = 1; j < work.size(); ++j) {
                if (follower[size_t(work[j])]) continue;
                if (entries[size_t(work[j])].kind == 1) break;
                if (below(work[j], work[best])) best = j;
            }
        }
        out.push_back(work[best]);
        work.erase(work.begin() + static_cast<std::ptrdiff_t>(best));
        while (best < work.size() && follower[size_t(work[best])]) {
            out.push_back(work[best]);
            work.erase(work.begin() + static_cast<std::ptrdiff_t>(best));
        }
    }
    return out;
}

std::vector<int32_t> SelectionSortByComment(const std::vector<SortEntry>& entries, int direction) {
    std::vector<int32_t> work(entries.size());
    for (size_t i = 0; i < work.size(); ++i) work[i] = static_cast<int32_t>(i);
    std::vector<int32_t> out;
    while (!work.empty()) {
        // Figures before the first remark stay in front in both directions.
        size_t best = 0;
        if (entries[size_t(work[0])].kind == 1) {
            for (size_t j = 1; j < work.size(); ++j) {
                if (entries[size_t(work[j])].kind != 1) continue;
                const int c = QString::compare(entries[size_t(work[j])].text, entries[size_t(work[best])].text, Qt::CaseInsensitive);
                if (direction == 1 ? c < 0 : c > 0) best = j;
            }
        }
        do {
            out.push_back(work[best]);
            work.erase(work.begin() + static_cast<std::ptrdiff_t>(best));
        } while (best < work.size() && entries[size_t(work[best])].kind != 1);
    }
    return out;
}

std::vector<SortEntry> Entries(std::initializer_list<std::pair<int32_t, const char*>> items) {
    std::vector<SortEntry> out;
    for (const auto& [kind, text] : items) out.push_back({kind, QString::fromUtf8(text), 0});
    return out;
}

std::vector<QString> Texts(const std::vector<SortEntry>& e, const std::vector<int32_t>& order) {
    std::vector<QString> out;
    for (int32_t i : order) out.push_back(e[size_t(i)].text);
    return out;
}

} // namespace

TEST(MapSort, RemarksAreBarriersAndTextsKeepTheirFollowers) {
    // Thing names: remark A, b, a, remark B, c, a.
    const auto byThing = Entries({{1, "A"}, {3, "b"}, {3, "a"}, {1, "B"}, {3, "c"}, {3, "a2"}});
    EXPECT_EQ(Texts(byThing, SortOrder(byThing, 1, true)), (std::vector<QString>{"A", "a", "b", "B", "a2", "c"}));
    // Place names: Zeta with its symbol, Alpha with its symbol.
    const auto byPlace = Entries({{5, "Zeta"}, {4, ""}, {5, "Alpha"}, {4, ""}});
    EXPECT_EQ(SortOrder(byPlace, 1, true), (std::vector<int32_t>{2, 3, 0, 1}));
    EXPECT_EQ(SortOrder(byPlace, 2, true), (std::vector<int32_t>{0, 1, 2, 3}));
    // Texts compare by character code: upper case first.
    const auto cased = Entries({{3, "b"}, {3, "B"}, {3, "a"}});
    EXPECT_EQ(Texts(cased, SortOrder(cased, 1, true)), (std::vector<QString>{"B", "a", "b"}));
}

TEST(MapSort, EqualKeysKeepTheirOrderInBothDirections) {
    std::vector<SortEntry> e = {{3, "", 5}, {3, "", 1}, {3, "", 5}, {3, "", 1}};
    EXPECT_EQ(SortOrder(e, 1, false), (std::vector<int32_t>{1, 3, 0, 2}));
    EXPECT_EQ(SortOrder(e, 2, false), (std::vector<int32_t>{0, 2, 1, 3}));
}

TEST(MapSort, SectionsMoveWithTheirRemarks) {
    const auto e = Entries({{1, "B"}, {3, "b1"}, {1, "c"}, {3, "c1"}, {4, "c2"}, {1, "A"}, {3, "a1"}});
    EXPECT_EQ(Texts(e, CommentSortOrder(e, 2)), (std::vector<QString>{"c", "c1", "c2", "B", "b1", "A", "a1"}));
    EXPECT_EQ(Texts(e, CommentSortOrder(e, 1)), (std::vector<QString>{"A", "a1", "B", "b1", "c", "c1", "c2"}));
    // Figures before the first remark stay in front.
    const auto lead = Entries({{3, "x"}, {1, "b"}, {1, "a"}});
    EXPECT_EQ(Texts(lead, CommentSortOrder(lead, 1)), (std::vector<QString>{"x", "a", "b"}));
    EXPECT_EQ(Texts(lead, CommentSortOrder(lead, 2)), (std::vector<QString>{"x", "b", "a"}));
}

TEST(MapSort, SameOrderAsTheSelectionSortOnRandomMaps) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> kind(1, 5), key(0, 4), size(0, 60), letter(0, 3);
    const QString letters[] = {"a", "A", "b", "B"};
    for (int round = 0; round < 3000; ++round) {
        std::vector<SortEntry> e(static_cast<size_t>(size(rng)));
        for (SortEntry& s : e) {
            // Remarks are rarer than figures, as in maps.
            s.kind = kind(rng) == 1 && key(rng) == 0 ? 1 : std::max(kind(rng), 2);
            s.number = key(rng);
            s.text = letters[letter(rng)] + letters[letter(rng)];
        }
        for (int direction : {1, 2}) {
            for (bool textKey : {false, true})
                ASSERT_EQ(SortOrder(e, direction, textKey), SelectionSort(e, direction, textKey)) << round;
            ASSERT_EQ(CommentSortOrder(e, direction), SelectionSortByComment(e, direction)) << round;
        }
    }
}
