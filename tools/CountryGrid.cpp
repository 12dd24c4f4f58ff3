#include "CountryGrid.h"

#include "WorldFigures.h"

#include <algorithm>
#include <map>

namespace worldsrc {

namespace {

constexpr int Sub = 4;                          // samples per degree each way
constexpr int Lines = GridRows * Sub;           // sample parallels
constexpr int Columns = GridColumns * Sub;      // samples per parallel
constexpr int32_t Step = SecPerDegree / Sub;    // 900"

// Sample parallel k lies at 90° - (k + 0.5) / 4°; sample column j at
// -180° + (j + 0.5) / 4°.
int32_t LineLat(int k) { return MaxLatSec - k * Step - Step / 2; }
int32_t ColumnLon(int j) { return -MaxLonSec + j * Step + Step / 2; }

struct Piece {
    double area;
    int16_t code;
    clsPoly poly;
};

// Fills the samples inside the closed piece with its code: the crossings of
// each sample parallel, paired, enclose the samples inside (even-odd).
void Fill(const Piece& piece, std::vector<int16_t>& samples) {
    const int32_t n = piece.poly.Count();
    std::map<int, std::vector<double>> crossings;
    for (int32_t i = 1; i < n; ++i) {
        int32_t x1, y1, x2, y2;
        piece.poly.GetXandY(i, x1, y1);
        piece.poly.GetXandY(i + 1 > n ? 1 : i + 1, x2, y2);
        if (y1 == y2) continue;
        const int32_t lo = std::min(y1, y2), hi = std::max(y1, y2);
        // Parallels with lo <= lat < hi: k from the one below hi to the one at or above lo.
        const int kFirst = std::max(0, int((MaxLatSec - hi - Step / 2 + Step - 1) / Step));
        for (int k = kFirst; k < Lines; ++k) {
            const int32_t lat = LineLat(k);
            if (lat >= hi) continue;
            if (lat < lo) break;
            crossings[k].push_back(x1 + double(lat - y1) * double(x2 - x1) / double(y2 - y1));
        }
    }
    for (auto& [k, xs] : crossings) {
        std::sort(xs.begin(), xs.end());
        for (size_t p = 0; p + 1 < xs.size(); p += 2) {
            const int jFirst = std::max(0, int(std::ceil((xs[p] + MaxLonSec - Step / 2.0) / Step)));
            for (int j = jFirst; j < Columns && ColumnLon(j) < xs[p + 1]; ++j)
                samples[size_t(k) * Columns + size_t(j)] = piece.code;
        }
    }
}

int CellOf(int32_t v, int32_t origin, int limit) { return std::clamp(int((origin - v) / SecPerDegree), 0, limit - 1); }

} // namespace

CountryGrid CountryGrid::FromWorld(const World& world) {
    std::vector<Piece> pieces;
    for (const Country& c : world.countries)
        for (const SecPolygon& polygon : c.polygons)
            for (const SecRing& ring : polygon.rings) {
                if (IsDegenerate(ring)) continue;
                for (clsPoly& p : PolygonPieces(ring)) pieces.push_back({std::fabs(p.Area()), c.code, std::move(p)});
                break;  // the outer ring; holes are enclaves filled by their own country
            }
    std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.area > b.area; });

    std::vector<int16_t> samples(size_t(Lines) * Columns, 0);
    for (const Piece& p : pieces) Fill(p, samples);

    // Outline points per cell and country, for the cells that sampled no land.
    std::map<std::pair<int, int16_t>, int> points;
    for (const Piece& p : pieces) {
        for (int32_t i = 1; i <= p.poly.Count(); ++i) {
            int32_t x, y;
            p.poly.GetXandY(i, x, y);
            const int cell = CellOf(y, MaxLatSec, GridRows) * GridColumns + std::clamp(int((x + MaxLonSec) / SecPerDegree), 0, GridColumns - 1);
            ++points[{cell, p.code}];
        }
    }

    CountryGrid grid;
    for (int r = 0; r < GridRows; ++r) {
        for (int c = 0; c < GridColumns; ++c) {
            std::map<int16_t, int> votes;
            for (int k = r * Sub; k < (r + 1) * Sub; ++k)
                for (int j = c * Sub; j < (c + 1) * Sub; ++j)
                    if (const int16_t v = samples[size_t(k) * Columns + size_t(j)]) ++votes[v];
            if (votes.empty()) {
                const int cell = r * GridColumns + c;
                for (auto it = points.lower_bound({cell, INT16_MIN}); it != points.end() && it->first.first == cell; ++it)
                    votes[it->first.second] = it->second;
            }
            int16_t best = 0;
            int most = 0;
            for (const auto& [code, n] : votes)
                if (n > most) best = code, most = n;
            grid.cells_[size_t(r) * GridColumns + size_t(c)] = best;
        }
    }
    return grid;
}

int16_t CountryGrid::atPoint(SecPoint p) const {
    const int col = ((p.lon + MaxLonSec) / SecPerDegree % GridColumns + GridColumns) % GridColumns;
    const int row = (MaxLatSec - p.lat) / SecPerDegree;
    return row >= 0 && row < GridRows ? at(row, col) : int16_t(-1);
}

QByteArray CountryGrid::bytes() const {
    QByteArray out;
    out.reserve(qsizetype(cells_.size() * 2));
    for (const int16_t v : cells_) {
        out.append(char(uint16_t(v) & 0xFF));
        out.append(char(uint16_t(v) >> 8));
    }
    return out;
}

} // namespace worldsrc
