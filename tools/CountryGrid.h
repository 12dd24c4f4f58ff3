// The country grid of the cruise (CRUISE05.GRD): the ISO 3166-1 numeric
// code of the country covering each cell of 1° x 1°, 180 rows from the North
// Pole down, 360 columns from -180° east, 0 for the sea.
//
// Each cell is sampled at 4 x 4 points (the centres of its sixteenths).
// The cell takes the code most of its land samples fall on (ties to the
// smaller code); a cell whose samples all fall on the sea takes the country
// with the most outline points in it, so that small islands keep their
// country (the Izu islands, Fiji on both sides of 180°); a cell with neither
// is sea. Countries are filled largest first, so an enclave (Lesotho) wins
// over the country around it.
#pragma once

#include "WorldSource.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace worldsrc {

constexpr int GridRows = 180;
constexpr int GridColumns = 360;

class CountryGrid {
public:
    // Rasterises the outer rings of the countries, cut at the date line and
    // closed along the poles as the map figures are (WorldFigures.h).
    static CountryGrid FromWorld(const World& world);

    int16_t at(int row, int col) const { return cells_[size_t(row) * GridColumns + size_t(col)]; }
    // The cell of a point, as the program finds it.
    int16_t atPoint(SecPoint p) const;
    // 129600 bytes: the cells row by row, little-endian int16.
    QByteArray bytes() const;

private:
    std::vector<int16_t> cells_ = std::vector<int16_t>(size_t(GridRows) * GridColumns, 0);
};

} // namespace worldsrc
