#include "CruiseTestSupport.h"

#include "CruiseFiles.h"
#include "clsGridMap.h"

#include <cerrno>

using namespace cruisetest;

TEST(GridMap, CellsAtTheEdges) {
    struct Case {
        int32_t lon, lat, col, row;
        bool valid;
    } cases[] = {
        {0, 0, 180, 90, true},         {-648000, 324000, 0, 0, true}, {648000, 0, 0, 90, true},  // +180° is column 0
        {647999, 0, 359, 90, true},    {-648001, 0, 0, 90, true},    // truncated toward zero
        {-651600, 0, 359, 90, true},   {0, -323999, 180, 179, true}, {0, -324000, 180, 180, false},  // exactly -90°
        {0, 324001, 180, 0, true},     {1296000, 0, 180, 90, true},  // a whole turn east
    };
    for (const Case& c : cases) {
        const clsGridMap::Cell cell = clsGridMap::LonLatToCell(c.lon, c.lat);
        EXPECT_TRUE(cell.col == c.col && cell.row == c.row && cell.valid == c.valid) << c.lon << "," << c.lat;
    }
}

TEST(GridMap, CodesOfCellsAndAreas) {
    Installation inst;
    GridBytes g = TestGrid();
    g.set(169, -17, 999);  // 170°E..170°W leaves it out but takes 171°W and 170°W
    g.set(-171, -17, 998);
    g.set(-170, -17, 997);
    testsupport::WriteBytes(inst.gridPath(), g.bytes);
    clsGridMap grid;
    testsupport::ScriptedBoxes boxes;
    EXPECT_EQ(grid.GetCountryCode(139.69 * 3600, 35.69 * 3600), kJapan);
    EXPECT_EQ(grid.GetCountryCode(0.5 * 3600, 0.5 * 3600), 1000);  // as stored
    EXPECT_EQ(grid.GetCountryCode(0, -324000), -1);
    struct Case {
        clsRect area;
        std::vector<int16_t> codes;
    } cases[] = {
        {Degrees(120, 30, 150, 50), {kJapan, kKorea}},  // north to south
        {Degrees(126, 34, 150, 38), {kKorea, kJapan}},  // west to east within a row
        {Degrees(170, -20, -170, -10), {kFiji, 998, 997}},  // across 180°: columns 0..10 first
        {Degrees(-170, -20, 170, -10), {997, 999}},
        {Degrees(-10, -5, 10, 5), {}},                       // 1000 and -5 are no countries
        {Degrees(-180, -90, 180, 90), {kJapan, kKorea, kFiji, 998, 997, 999}},  // every column, south clamped
        {Degrees(140, 46, 141, 46), {kJapan}},               // a cell holds its north edge
        {Degrees(140, 46.5, 141, 47), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(grid.GetCountryCodeArea(&c.area), c.codes) << c.area.x1 << "," << c.area.y1;
    EXPECT_TRUE(grid.GetCountryCodeArea(nullptr).empty());
}

TEST(GridMap, MissingShortAndUnreadableFiles) {
    Installation inst;
    clsGridMap grid;
    testsupport::ScriptedBoxes boxes;
    const clsRect japan = Degrees(130, 31, 140, 40);
    // A missing file is told once per path, and again once it was there.
    grid.setFileName(inst.dir.file("NONE.GRD"));
    boxes.expect("グリッドファイルが存在しません.\r\n" + grid.FileName(), plat::IdOk);
    EXPECT_TRUE(grid.GetCountryCodeArea(&japan).empty());
    EXPECT_EQ(grid.GetCountryCode(0, 0), -1);
    grid.setFileName(inst.gridPath());
    EXPECT_EQ(grid.GetCountryCodeArea(&japan), std::vector<int16_t>{kJapan});
    grid.setFileName(inst.dir.file("NONE.GRD"));
    boxes.expect("NONE.GRD", plat::IdOk);
    EXPECT_EQ(grid.GetCountryCode(0, 0), -1);
    grid.setFileName(inst.gridPath());
    // Rows past the end of a short file are an error; skipping gives nothing.
    testsupport::WriteBytes(inst.gridPath(), TestGrid().bytes.left(100 * clsGridMap::kRowBytes));
    boxes.expect("*File=" + inst.gridPath(), plat::IdOk);
    const clsRect south = Degrees(0, -50, 10, -40);
    EXPECT_TRUE(grid.GetCountryCodeArea(&south).empty());
    EXPECT_EQ(grid.GetCountryCodeArea(&japan), std::vector<int16_t>{kJapan});
    // Retry reads again, skip gives -1, cancel ends the operation.
    cruise::FailNextReadsWith(EACCES, 2);
    boxes.expect("再試行しますか", plat::IdYes).expect("再試行しますか", plat::IdNo);
    EXPECT_EQ(grid.GetCountryCode(0, 0), -1);
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect("再試行しますか", plat::IdYes);
    EXPECT_EQ(grid.GetCountryCodeArea(&japan), std::vector<int16_t>{kJapan});
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect("再試行しますか", plat::IdCancel);
    EXPECT_THROW(grid.GetCountryCodeArea(&japan), cruise::Cancelled);
}
