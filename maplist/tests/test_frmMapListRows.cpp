#include "frmMapListTestSupport.h"

#include "frmMapListRows.h"

using namespace listtest;

namespace {

QString Coords(int32_t x1, int32_t y1) { return LonToStr(x1) + ", " + LatToStr(y1); }

} // namespace

TEST(MapListRows, RowTextPerKind) {
    DisplaySettings settings;
    gvLanguage = 2;
    const auto unknownThing = Lined<clsMapPolyline>({{0, 0}, {3600, 0}}, 7, 55);
    auto shown = Lined<clsMapPolygon>({{0, 0}, {3600, 0}, {3600, 3600}, {0, 0}});
    shown->setOwnShowMode(1);
    shown->setOwnColor(0x0000FF);
    shown->setJumpMark(4);
    auto hidden = Symbol(-7200, 1800);
    hidden->setOwnShowMode(0);
    const auto triangle = Lined<clsMapPolygon>({{0, 0}, {1, 1}, {0, 0}});   // too few points: not right
    const auto unit = Unit("/maps/T.MLL", {});
    struct Case {
        const char* what;
        MapFigurePtr figure;
        QString expected;
    } cases[] = {
        {"polygon, closed", shown,
         "4\t●\t■\t多辺形\t海岸線\t日本\t" + Coords(0, 0) + " - " + Coords(0, 0) + "\t(形状：閉鎖線 , ノード数：4)"},
        // Two equal end points make no loop: a loop needs more than 3 points.
        {"polyline of two equal points", Lined<clsMapPolyline>({{5, 6}, {5, 6}}),
         "\t？\t？\t連続線\t海岸線\t日本\t" + Coords(5, 6) + " - " + Coords(5, 6) + "\t(形状：解放線 , ノード数：2)"},
        {"catalogues without the numbers", unknownThing,
         "\t？\t？\t連続線\t(7)\t(55)\t" + Coords(0, 0) + " - " + Coords(3600, 0) + "\t(形状：解放線 , ノード数：2)"},
        {"symbol, one point, no text", hidden, "\t×\t？\t点記号\t都市\t日本\t" + Coords(-7200, 1800) + "\t"},
        {"remark: no thing, district or point", Rem("注釈の文"), "\t？\t？\t注釈\t \t \t \t注釈の文"},
        {"text in the display language", Text("Tokyo", "東京", 10, 20), "\t？\t？\t文字列\t地名\t日本\t" + Coords(10, 20) + "\t東京"},
        {"figure that is not right", triangle, " \t□\t□\tunknown\tunknown\tunknown\tunknown\tunknown"},
        {"no figure", nullptr, " \t□\t□\tunknown\tunknown\tunknown\tunknown\tunknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(frmMapListRows::FigureToStrGrid(c.figure.get(), unit.get()), c.expected);
    }
    EXPECT_EQ(frmMapListRows::FigureToStrGrid(shown.get(), nullptr), cases[7].expected);
    // The other language: the text's European name and the district's.
    gvLanguage = 1;
    EXPECT_TRUE(frmMapListRows::FigureToStrGrid(Text("Tokyo", "東京").get(), unit.get()).endsWith("\tJapan\t" + Coords(0, 0) + "\tTokyo"));
}

TEST(MapListRows, CoordinatesOfPlaneMapsInKilometres) {
    const auto unit = Unit("/maps/P.MXY", {}, 2);
    const auto line = Lined<clsMapPolyline>({{1234567, -5}, {0, 1}, {-2000000000, 999}});
    EXPECT_EQ(frmMapListRows::FigureToStrGrid(line.get(), unit.get()).section('\t', 6, 6),
              "  1234.567km,     -0.005km - -2000000.000km,      0.999km");
}

TEST(MapListRows, RowNumbersWidenForAMillionRows) {
    struct Case {
        int64_t count, row;
        const char* text;
    } cases[] = {
        {5, 1, "000001"},
        {999999, 999999, "999999"},
        {1000000, 1, "0000001"},
        {1234567, 1234567, "1234567"},   // not cut to 234567
        {12345678901, 7, "00000000007"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frmMapListRows::RowNumberText(c.row, frmMapListRows::RowNumberDigits(c.count)), c.text) << c.row;
}

TEST(MapListRows, GridCellsFollowTheMapWhenTold) {
    DisplaySettings settings;
    auto black = Symbol(0, 0);
    black->setOwnColor(0);
    auto blue = Symbol(0, 0);
    blue->setOwnColor(0xFF0000);
    const auto unit = Unit("/maps/T.MLL", {black, blue, Symbol(0, 0), Rem("a")});
    frmMapListRows rows;
    plat::FlexGridData grid;
    grid.setFormatString(frmMapListRows::FormatString());
    grid.setRowSource(&rows);
    rows.setUnit(unit);
    grid.setRows(unit->Map().Count() + 1);
    EXPECT_EQ(grid.TextMatrix(0, 5), "事象名　");
    EXPECT_EQ(grid.TextMatrix(2, 0), "000002");
    EXPECT_EQ(grid.TextMatrix(4, 4), "注釈");
    // The colour mark in the figure's colour; black must not read as "the
    // grid's colour" (0).
    EXPECT_EQ(grid.cellForeColor(1, 3), 0x010101u);
    EXPECT_EQ(grid.cellForeColor(2, 3), 0xFF0000u);
    EXPECT_EQ(grid.cellForeColor(3, 3), 0u);
    EXPECT_EQ(grid.cellForeColor(2, 4), 0u);
    // A made row is kept until the list says the figure changed.
    unit->Map().Item(3)->setThing(1);
    EXPECT_EQ(grid.TextMatrix(3, 5), "都市");
    rows.InvalidateRow(3);
    EXPECT_EQ(grid.TextMatrix(3, 5), "海岸線");
    unit->Map().Remove(1);
    rows.Invalidate();
    EXPECT_EQ(grid.TextMatrix(1, 3), "■");
    EXPECT_EQ(grid.TextMatrix(4, 4), "unknown");   // a row past the map reads as a placeholder
    rows.setUnit(nullptr);
    EXPECT_EQ(grid.TextMatrix(1, 0), "000001");
    EXPECT_EQ(grid.TextMatrix(1, 2), "□");
}
