// Colouring of an administrative map so that neighbouring districts take
// different pages.
//
// Neighbours: two districts whose polygons share a stretch of outline, that
// is, two vertices of their outlines lie within `tolerance` (map units) of
// the other district's outline and more than `tolerance` apart from each
// other; and a district whose polygon is drawn inside another district's
// polygon (an enclave, left as a polygon over its surroundings). A single
// point in common (districts meeting at a corner) makes no neighbours, so a
// map of districts in one piece each stays four-colourable. Outlines are
// closed (last vertex to first). The vertices are matched through a grid of
// the outline segments: linear in the number of vertices for outlines of
// even density (the world map of 1:50m, 99 000 vertices: about 0.1 s).
//
// Colouring: per connected group of districts, a search that always colours
// next the district with the most different pages around it (then the most
// neighbours still open), trying its preferred page first and the others in
// turn after it, and stepping back on a dead end. A group the search cannot
// finish within its step budget is coloured in the same order without
// stepping back and then repaired: districts sharing a page with a neighbour
// move, one at a time, to the page that leaves the fewest such pairs (a tabu
// search of at most `budget` moves). The pairs still left (too few pages for
// the group) are reported.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class clsMap;

struct DistrictGraph {
    std::vector<int16_t> codes;                    // district codes with polygons, ascending
    std::vector<std::vector<int32_t>> neighbours;  // positions in codes, ascending
    // The position of a district code; -1 when it has no polygon.
    int32_t IndexOf(int16_t code) const;
};

// The polygons of thing number `thing` (every polygon when -1) grouped by
// their district.
DistrictGraph DistrictNeighbours(const clsMap& map, int32_t thing, int32_t tolerance);

struct DistrictColours {
    std::vector<int32_t> page;                        // per position of the graph, 1..pages
    std::vector<std::pair<int32_t, int32_t>> clashes;  // neighbours left on one page, positions a < b
};

// preferred: the page each position of the graph takes when it may (1..pages).
// budget: search steps, and repair moves, per group.
DistrictColours ColourDistricts(const DistrictGraph& graph, int32_t pages, const std::vector<int32_t>& preferred,
                                int64_t budget = 20000);
