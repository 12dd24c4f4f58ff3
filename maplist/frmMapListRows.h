// The rows of the figure list: grid row i stands for figure i of the shown
// map unit's map, row 0 is the title row. The rows are made when the grid
// draws or reads them (the grid's row source), so a list opens in the same
// time for ten figures as for a million, and row i can never show anything
// but figure i: whoever changes the map only has to say so (Invalidate) and
// set the grid's row count.
//
// Columns: 0 row number, 1 jump mark, 2 own show mode (● shown, × hidden,
// ？ by the thing), 3 own colour (■ in that colour, ？ for none), 4 kind
// name, 5 thing name, 6 district name, 7 first and last point, 8 remark
// text, shape and node count of a line, or the place name of a text.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "FlexGridData.h"
#include "clsMapUnit.h"

class frmMapListRows : public plat::FlexRowSource {
public:
    static constexpr int32_t kCols = 9;
    // The titles and alignments of the nine columns.
    static QString FormatString();

    // The unit shown (none: no figure rows).
    void setUnit(MapUnitPtr unit);
    const MapUnitPtr& unit() const { return unit_; }
    // Figures of the shown map; 0 without a unit.
    int32_t FigureCount() const;

    // Columns 1..8 of a figure, TAB-separated. A missing or invalid figure,
    // or no unit, gives the placeholder " □ □ unknown ..." row. Names come
    // from the unit's catalogues ("(n)" for a number they lack), texts in
    // the display language (gvLanguage), coordinates in the map's mode.
    static QString FigureToStrGrid(const clsMapFigure* figure, const clsMapUnit* unit);
    // n with leading zeros to at least `digits` digits, never cut: row
    // 1234567 of a big map reads 1234567, not 234567.
    static QString RowNumberText(int64_t n, int digits = 6);
    // Digits that give every row number of a list of `count` rows one
    // width: 6, or more for a million rows or more.
    static int RowNumberDigits(int64_t count);
    // The text colour of a figure's colour mark: its own colour (black as
    // 0x010101, since 0 stands for the grid's colour), 0 for none.
    static uint32_t MarkColor(const clsMapFigure* figure);

    // FlexRowSource: rows 1..FigureCount.
    QString cellText(int32_t row, int32_t col) const override;
    uint32_t cellForeColor(int32_t row, int32_t col) const override;

    // Forgets the rows made so far (the map, a catalogue, the language or
    // the angle format changed).
    void Invalidate();
    void InvalidateRow(int32_t row);

private:
    struct MadeRow {
        int32_t row = -1;
        std::array<QString, kCols> cells;
        uint32_t color = 0;
    };
    // The rows a screen shows, kept while it is drawn cell by cell.
    static constexpr int32_t kCacheRows = 128;

    const MadeRow& made(int32_t row) const;

    MapUnitPtr unit_;
    mutable std::array<MadeRow, kCacheRows> cache_;
};
