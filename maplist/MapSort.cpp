#include "MapSort.h"

#include <algorithm>

namespace {

struct Group {
    int32_t first = 0;   // entry index of its head
    int32_t end = 0;     // one past its last entry
};

template <class Less>
void StableSortGroups(std::vector<Group>::iterator from, std::vector<Group>::iterator to, int direction, Less less) {
    if (direction == 2)
        std::stable_sort(from, to, [&](const Group& a, const Group& b) { return less(b, a); });
    else
        std::stable_sort(from, to, less);
}

void Emit(const std::vector<Group>& groups, std::vector<int32_t>& out) {
    for (const Group& g : groups)
        for (int32_t i = g.first; i < g.end; ++i) out.push_back(i);
}

} // namespace

std::vector<int32_t> SortOrder(const std::vector<SortEntry>& entries, int direction, bool textKey) {
    const auto n = static_cast<int32_t>(entries.size());
    // Groups: a head and the followers of a text.
    std::vector<Group> groups;
    bool afterText = false;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t kind = entries[static_cast<size_t>(i)].kind;
        const bool follower = afterText && kind >= 2 && kind <= 4;
        if (kind == 5) afterText = true;
        if (kind == 1) afterText = false;
        if (follower && !groups.empty()) groups.back().end = i + 1;
        else groups.push_back({i, i + 1});
    }
    const auto less = [&](const Group& a, const Group& b) {
        const SortEntry& x = entries[static_cast<size_t>(a.first)];
        const SortEntry& y = entries[static_cast<size_t>(b.first)];
        return textKey ? QString::compare(x.text, y.text, Qt::CaseSensitive) < 0 : x.number < y.number;
    };
    const auto isRemark = [&](const Group& g) { return entries[static_cast<size_t>(g.first)].kind == 1; };
    for (auto it = groups.begin(); it != groups.end();) {
        if (isRemark(*it)) {
            ++it;
            continue;
        }
        const auto sectionEnd = std::find_if(it, groups.end(), isRemark);
        StableSortGroups(it, sectionEnd, direction, less);
        it = sectionEnd;
    }
    std::vector<int32_t> out;
    out.reserve(entries.size());
    Emit(groups, out);
    return out;
}

std::vector<int32_t> CommentSortOrder(const std::vector<SortEntry>& entries, int direction) {
    const auto n = static_cast<int32_t>(entries.size());
    std::vector<Group> sections;
    for (int32_t i = 0; i < n; ++i) {
        if (entries[static_cast<size_t>(i)].kind == 1 || sections.empty()) sections.push_back({i, i + 1});
        else sections.back().end = i + 1;
    }
    auto from = sections.begin();
    // Figures before the first remark are no section of their own.
    if (from != sections.end() && entries[static_cast<size_t>(from->first)].kind != 1) ++from;
    StableSortGroups(from, sections.end(), direction, [&](const Group& a, const Group& b) {
        return QString::compare(entries[static_cast<size_t>(a.first)].text, entries[static_cast<size_t>(b.first)].text,
                                Qt::CaseInsensitive) < 0;
    });
    std::vector<int32_t> out;
    out.reserve(entries.size());
    Emit(sections, out);
    return out;
}
