#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "FlexGrid.h"
#include "FlexGridData.h"
#include "TestSupport.h"

using namespace plat;

namespace {

// Cell (r, c) reads "r:c"; every row of even number is red in column 1.
struct CountingSource : FlexRowSource {
    mutable int asked = 0;
    QString cellText(int32_t row, int32_t col) const override {
        ++asked;
        return QStringLiteral("%1:%2").arg(row).arg(col);
    }
    uint32_t cellForeColor(int32_t row, int32_t col) const override { return col == 1 && row % 2 == 0 ? 0x0000FF : 0; }
};

} // namespace

TEST(FlexGridSource, RowsBelowTheTitleComeFromTheSource) {
    FlexGridData g;
    CountingSource src;
    g.setFormatString(QStringLiteral("A|B|C"));
    g.setRows(3);
    g.setTextMatrix(1, 0, QStringLiteral("kept"));
    g.setRowSource(&src);
    EXPECT_EQ(g.TextMatrix(0, 1), "B");                // the titles stay
    EXPECT_EQ(g.TextMatrix(1, 0), "1:0");
    g.setRows(1000001);                                // a million rows cost no text
    EXPECT_EQ(g.TextMatrix(1000000, 2), "1000000:2");
    EXPECT_EQ(g.TextMatrix(1000001, 0), "");           // outside: the source is not asked
    EXPECT_EQ(g.TextArray(3 * 7 + 1), "7:1");
    // Writes below the title are the source's business; the title row takes them.
    g.setTextMatrix(5, 0, QStringLiteral("x"));
    g.setTextMatrix(0, 0, QStringLiteral("T"));
    g.select(5, 0, 6, 1);
    g.setClip(QStringLiteral("a\tb\rc\td"));
    EXPECT_EQ(g.Clip(), "5:0\t5:1\r6:0\t6:1");
    EXPECT_EQ(g.TextMatrix(0, 0), "T");
    g.Sort(flexSortStringDescending);                  // nothing to sort in stored texts
    EXPECT_EQ(g.TextMatrix(5, 0), "5:0");
    // Rows added or removed shift formats, heights and the selection as ever.
    g.setRows(10);
    g.select(4, 0, 4, 0);
    g.setCellBackColor(0x123456);
    g.AddItem(QStringLiteral("ignored"), 2);
    EXPECT_EQ(g.Rows(), 11);
    EXPECT_EQ(g.format(5, 0).back, 0x123456u);
    g.RemoveItem(1);
    EXPECT_EQ(g.format(4, 0).back, 0x123456u);
    EXPECT_EQ(g.TextMatrix(0, 0), "T");
    // Back to stored texts: the title stays, the rest start empty.
    g.setRowSource(nullptr);
    EXPECT_EQ(g.TextMatrix(0, 0), "T");
    EXPECT_EQ(g.TextMatrix(3, 1), "");
    g.setTextMatrix(3, 1, QStringLiteral("own"));
    EXPECT_EQ(g.TextMatrix(3, 1), "own");
}

TEST(FlexGridSource, ColoursOfTheSourceGiveWayToCellFormats) {
    FlexGridData g;
    CountingSource src;
    g.setCols(3);
    g.setRows(5);
    g.setRowSource(&src);
    EXPECT_EQ(g.cellForeColor(2, 1), 0x0000FFu);
    EXPECT_EQ(g.cellForeColor(3, 1), 0u);
    EXPECT_EQ(g.cellForeColor(0, 1), 0u);  // the title row is the grid's
    g.select(2, 1, 2, 1);
    g.setCellForeColor(0x00FF00);
    EXPECT_EQ(g.cellForeColor(2, 1), 0x00FF00u);
}

TEST(FlexGridSource, TheViewDrawsOnlyTheRowsItShows) {
    FlexGrid grid;
    CountingSource src;
    grid.resize(400, 300);
    grid.setFormatString(QStringLiteral("行|色|名"));
    grid.setRowSource(&src);
    grid.setRows(100001);
    grid.setFixedRows(1);
    grid.show();
    QApplication::processEvents();
    grid.setTopRow(50000);
    src.asked = 0;
    QImage shot(grid.size(), QImage::Format_RGB32);
    grid.render(&shot);
    EXPECT_GT(src.asked, 0);
    EXPECT_LT(src.asked, 3 * 60);  // one screenful, not the list
    EXPECT_EQ(grid.TopRow(), 50000);
    // Row 50000's colour mark is drawn red (the first cell of column 1, below the header).
    const QPoint cell = grid.viewport()->mapTo(&grid, QPoint(grid.columnViewportPosition(1), grid.rowViewportPosition(50000 - 1)));
    bool red = false;
    for (int dx = 0; dx < grid.columnWidth(1) && !red; ++dx)
        for (int dy = 0; dy < grid.rowHeight(50000 - 1) && !red; ++dy) {
            const QColor c = shot.pixelColor(cell.x() + dx, cell.y() + dy);
            red = c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_TRUE(red);
}
