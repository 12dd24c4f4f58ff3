#include "CruiseTestSupport.h"

#include "CruiseFiles.h"
#include "clsGridMap.h"

#include <cerrno>

using namespace cruisetest;

namespace {

struct GridFixture : ::testing::Test {
    Installation inst;
    clsGridMap grid;
    GridFixture() { grid.setFileName(inst.gridPath()); }
};

} // namespace

TEST(GridCells, EdgesOfTheGrid) {
    struct Case {
        int32_t lon, lat;
        int32_t col, row;
        bool valid;
    } cases[] = {
        {0, 0, 180, 90, true},
        {-648000, 324000, 0, 0, true},          // -180°, the North Pole
        {648000, 0, 0, 90, true},               // +180° is column 0 again
        {647999, 0, 359, 90, true},
        {-648001, 0, 0, 90, true},              // truncated toward zero: still column 0
        {-651600, 0, 359, 90, true},            // -181°
        {0, -323999, 180, 179, true},
        {0, -324000, 180, 180, false},          // exactly -90°
        {0, 324001, 180, 0, true},              // truncated toward zero: still row 0
        {0, 327600, 180, -1, false},
        {1296000, 0, 180, 90, true},            // a whole turn east
    };
    for (const Case& c : cases) {
        const clsGridMap::Cell cell = clsGridMap::LonLatToCell(c.lon, c.lat);
        EXPECT_EQ(cell.col, c.col) << c.lon << "," << c.lat;
        EXPECT_EQ(cell.row, c.row) << c.lon << "," << c.lat;
        EXPECT_EQ(cell.valid, c.valid) << c.lon << "," << c.lat;
    }
}

TEST_F(GridFixture, CodesOfSingleCells) {
    struct Case {
        double lon, lat;
        int16_t code;
    } cases[] = {
        {139.69, 35.69, kJapan},    // Tokyo
        {-160, 10, 0},              // mid-Pacific
        {179.5, -16.5, kFiji},      // west of 180°
        {-179.5, -16.5, kFiji},     // east of it
        {180, -16.5, kFiji},        // +180° reads column 0
        {0.5, 0.5, 1000},           // stored as it is
        {1.5, 0.5, -5},
        {0, -90, -1},               // outside the grid
        {0, 90, 0},
    };
    testsupport::ScriptedBoxes boxes;
    for (const Case& c : cases)
        EXPECT_EQ(grid.GetCountryCode(int32_t(c.lon * kSec), int32_t(c.lat * kSec)), c.code) << c.lon << "," << c.lat;
}

TEST_F(GridFixture, CodesOfAreas) {
    struct Case {
        clsRect area;
        std::vector<int16_t> codes;
    } cases[] = {
        {Degrees(120, 30, 150, 50), {kJapan, kKorea}},         // north to south: Japan's rows start higher
        {Degrees(126, 34, 150, 38), {kKorea, kJapan}},         // west to east within a row
        {Degrees(170, -20, -170, -10), {kFiji}},               // across the 180th meridian
        {Degrees(-170, -20, 170, -10), {}},                    // the other way round: 190° without Fiji's cells
        {Degrees(-10, -5, 10, 5), {}},                         // 1000 and -5 are no countries
        {Degrees(-180, -90, 180, 90), {kJapan, kKorea, kFiji}},  // the whole globe, south edge clamped
        {Degrees(140, 46, 141, 46), {kJapan}},                 // a cell holds its north edge
        {Degrees(140, 46.5, 141, 47), {}},
    };
    testsupport::ScriptedBoxes boxes;
    for (const Case& c : cases) {
        const std::vector<int16_t> got = grid.GetCountryCodeArea(&c.area);
        EXPECT_EQ(got, c.codes) << c.area.x1 << "," << c.area.y1 << " " << c.area.x2 << "," << c.area.y2;
    }
    EXPECT_TRUE(grid.GetCountryCodeArea(nullptr).empty());
    // The columns of 170°E..170°W only (column 10 reaches to 169°W): a
    // country at 169°E is not taken.
    GridBytes g = TestGrid();
    g.set(169, -17, 999);
    g.set(-171, -17, 998);
    g.set(-170, -17, 997);
    testsupport::WriteBytes(inst.gridPath(), g.bytes());
    const clsRect pacific = Degrees(170, -20, -170, -10);
    EXPECT_EQ(grid.GetCountryCodeArea(&pacific), (std::vector<int16_t>{kFiji, 998, 997}));
}

TEST_F(GridFixture, MissingFileIsReportedOncePerPath) {
    const clsRect japan = Degrees(130, 31, 140, 40);
    grid.setFileName(inst.dir.file(QStringLiteral("NONE.GRD")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("グリッドファイルが存在しません.\r\n") + grid.FileName(), plat::IdOk);
        EXPECT_TRUE(grid.GetCountryCodeArea(&japan).empty());
        EXPECT_EQ(grid.GetCountryCode(0, 0), -1);
        EXPECT_TRUE(grid.GetCountryCodeArea(&japan).empty());
    }
    {
        testsupport::ScriptedBoxes boxes;
        grid.setFileName(inst.dir.file(QStringLiteral("OTHER.GRD")));
        boxes.expect(QStringLiteral("OTHER.GRD"), plat::IdOk);
        EXPECT_EQ(grid.GetCountryCode(0, 0), -1);
    }
    // Once the file was there, its loss is told again.
    testsupport::ScriptedBoxes boxes;
    grid.setFileName(inst.gridPath());
    EXPECT_EQ(grid.GetCountryCodeArea(&japan), (std::vector<int16_t>{kJapan}));
    QFile::remove(inst.gridPath());
    boxes.expect(QStringLiteral("グリッドファイルが存在しません."), plat::IdOk);
    EXPECT_EQ(grid.GetCountryCode(0, 0), -1);
}

TEST_F(GridFixture, HostileFilesAndFileErrors) {
    testsupport::ScriptedBoxes boxes;
    // A short file: the rows past its end are an error; skipping gives nothing.
    testsupport::WriteBytes(inst.gridPath(), TestGrid().bytes().left(100 * clsGridMap::kRowBytes));
    boxes.expect(QStringLiteral("*File=") + inst.gridPath(), plat::IdOk);
    const clsRect south = Degrees(0, -50, 10, -40);
    EXPECT_TRUE(grid.GetCountryCodeArea(&south).empty());
    const clsRect japan = Degrees(130, 31, 140, 40);
    EXPECT_EQ(grid.GetCountryCodeArea(&japan), (std::vector<int16_t>{kJapan}));
    // A longer file is read where the cells are.
    testsupport::WriteBytes(inst.gridPath(), TestGrid().bytes() + QByteArray(1000, '\x7f'));
    EXPECT_EQ(grid.GetCountryCode(int32_t(139.5 * kSec), 35 * kSec + 1), kJapan);
    // Retry reads again; skip gives -1; cancel ends the operation.
    cruise::FailNextReadsWith(EACCES, 2);
    boxes.expect(QStringLiteral("再試行しますか"), plat::IdYes).expect(QStringLiteral("再試行しますか"), plat::IdNo);
    EXPECT_EQ(grid.GetCountryCode(0, 0), -1);
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect(QStringLiteral("再試行しますか"), plat::IdYes);
    EXPECT_EQ(grid.GetCountryCodeArea(&japan), (std::vector<int16_t>{kJapan}));
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect(QStringLiteral("再試行しますか"), plat::IdCancel);
    EXPECT_THROW(grid.GetCountryCodeArea(&japan), cruise::Cancelled);
}
