// The order of a figure sort. Remarks divide the figures into sections (a
// map's header is a run of remarks); the non-text figures after a text
// figure, up to the next text or remark, belong to that text (a symbol
// placed with its name) and move with it.
//
// By a key (SortOrder): every remark stays where it is among the sections,
// the figures of each section between remarks are ordered by their key, a
// text's followers directly after it. By comment (CommentSortOrder): each
// remark moves with its whole section, ordered by the remark texts without
// regard to case; figures before the first remark stay in front. Both are
// stable: figures with equal keys keep their order in either direction.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

struct SortEntry {
    int32_t kind = 0;      // figure kind 1..5
    QString text;          // text key (the comment for CommentSortOrder)
    int64_t number = 0;    // number key
};

// Direction 1 ascending, 2 descending. Texts compare by character code.
// The result: for each output position, the entry's index.
std::vector<int32_t> SortOrder(const std::vector<SortEntry>& entries, int direction, bool textKey);
std::vector<int32_t> CommentSortOrder(const std::vector<SortEntry>& entries, int direction);
