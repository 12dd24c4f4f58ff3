#include <gtest/gtest.h>

#include "FlexGridData.h"
#include "TestSupport.h"

using namespace plat;

namespace {

// A grid of `rows` x `cols` whose cell (r, c) holds "r.c".
void fill(FlexGridData& g, int rows, int cols) {
    g.setCols(cols);
    g.setRows(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) g.setTextMatrix(r, c, QStringLiteral("%1.%2").arg(r).arg(c));
}

QString column(const FlexGridData& g, int col) {
    QStringList out;
    for (int r = 0; r < g.Rows(); ++r) out << g.TextMatrix(r, col);
    return out.join(QLatin1Char(','));
}

// Records what a view would be told.
struct Recorder : FlexGridListener {
    QStringList events;
    void shapeAboutToChange(FlexShapeChange k, int32_t first, int32_t count) override {
        static const char* names[] = {"insert", "remove", "reshape"};
        events << QStringLiteral("%1 %2 %3").arg(QLatin1String(names[static_cast<int>(k)])).arg(first).arg(count);
    }
    void shapeChanged() override { events << QStringLiteral("done"); }
    void cellsChanged(int32_t, int32_t, int32_t, int32_t) override {}
    void rowHeightChanged(int32_t) override {}
    void colChanged(int32_t) override {}
    void selectionChanged(bool current) override { events << (current ? QStringLiteral("rowcol") : QStringLiteral("sel")); }
};

} // namespace

TEST(FlexGridSelection, RangesInEitherDirection) {
    struct Case {
        int row, col, rowSel, colSel;
        int top, bottom, left, right;
        const char* clip;
    } cases[] = {
        {1, 0, 1, 0, 1, 1, 0, 0, "1.0"},
        {1, 0, 2, 2, 1, 2, 0, 2, "1.0\t1.1\t1.2\r2.0\t2.1\t2.2"},
        {3, 2, 2, 1, 2, 3, 1, 2, "2.1\t2.2\r3.1\t3.2"},   // reversed both ways
        {2, 2, 3, 0, 2, 3, 0, 2, "2.0\t2.1\t2.2\r3.0\t3.1\t3.2"},
        {9, 9, -5, -5, 0, 3, 0, 2, nullptr},               // clamped into the grid
    };
    for (const Case& c : cases) {
        FlexGridData g;
        fill(g, 4, 3);
        g.select(c.row, c.col, c.rowSel, c.colSel);
        SCOPED_TRACE(testing::Message() << c.row << "," << c.col << " - " << c.rowSel << "," << c.colSel);
        EXPECT_EQ(g.selTop(), c.top);
        EXPECT_EQ(g.selBottom(), c.bottom);
        EXPECT_EQ(g.selLeft(), c.left);
        EXPECT_EQ(g.selRight(), c.right);
        if (c.clip) {
            EXPECT_EQ(g.Clip(), QString::fromUtf8(c.clip));
        }
    }
}

TEST(FlexGridSelection, SettingTheCurrentCellCollapsesTheRange) {
    FlexGridData g;
    fill(g, 5, 4);
    g.select(1, 0, 3, 3);
    g.setRow(2);
    EXPECT_EQ(g.RowSel(), 2);
    EXPECT_EQ(g.ColSel(), 0);
    g.setRowSel(4);
    g.setColSel(2);
    g.setCol(1);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.RowSel(), 2);
    EXPECT_EQ(g.ColSel(), 1);
}

TEST(FlexGridSelection, EventsTellWhetherTheCurrentCellMoved) {
    FlexGridData g;
    fill(g, 5, 4);
    Recorder rec;
    g.setListener(&rec);
    g.setRow(2);          // moves the current cell
    g.setRowSel(4);       // only the range
    g.setRowSel(4);       // no change, no event
    g.select(2, 0, 4, 0); // same again
    EXPECT_EQ(rec.events, QStringList({"rowcol", "sel"}));
}

TEST(FlexGridClip, AssignFillsTheRangeFromItsCorner) {
    struct Case {
        int row, col, rowSel, colSel;
        const char* text;
        const char* col1;  // column 1 afterwards
        const char* col2;
    } cases[] = {
        // One row: fields beyond the range dropped, missing ones kept.
        {1, 1, 1, 2, "a\tb\tc", "0.1,a,2.1,3.1", "0.2,b,2.2,3.2"},
        {2, 1, 2, 2, "a", "0.1,1.1,a,3.1", "0.2,1.2,2.2,3.2"},
        // Several rows: CR, CR LF and LF all end a row.
        {1, 1, 3, 2, "a\tb\rc\td\r\ne\tf", "0.1,a,c,e", "0.2,b,d,f"},
        {3, 2, 1, 1, "a\nb", "0.1,a,b,3.1", "0.2,1.2,2.2,3.2"},
        // An empty field empties its cell; a tab in a one-column range is dropped.
        {1, 1, 1, 1, "\tx", "0.1,,2.1,3.1", "0.2,1.2,2.2,3.2"},
    };
    for (const Case& c : cases) {
        FlexGridData g;
        fill(g, 4, 3);
        g.select(c.row, c.col, c.rowSel, c.colSel);
        g.setClip(QString::fromUtf8(c.text));
        SCOPED_TRACE(c.text);
        EXPECT_EQ(column(g, 1), QString::fromUtf8(c.col1));
        EXPECT_EQ(column(g, 2), QString::fromUtf8(c.col2));
    }
}

TEST(FlexGridClip, HiddenRowsAndColumnsStayInTheSelection) {
    FlexGridData g;
    fill(g, 4, 3);
    g.setColWidthTwips(1, 0);
    g.setRowHeightTwips(2, 0);
    g.select(1, 0, 3, 2);
    EXPECT_EQ(g.Clip(), QStringLiteral("1.0\t1.1\t1.2\r2.0\t2.1\t2.2\r3.0\t3.1\t3.2"));
    g.setClip(QStringLiteral("a\tb\tc\rd\te\tf"));
    EXPECT_EQ(g.TextMatrix(2, 1), QStringLiteral("e"));
}

TEST(FlexGridRows, AddAndRemoveKeepTheFixedRowConsistent) {
    FlexGridData g;
    g.setFormatString(QStringLiteral("<a|<b"));
    g.setRows(1);
    EXPECT_EQ(g.FixedRows(), 0);  // a title row alone cannot be fixed
    g.setFixedRows(1);
    EXPECT_EQ(g.FixedRows(), 0);
    g.AddItem(QStringLiteral("x\ty\tdropped"));
    g.AddItem(QStringLiteral("first"), 1);
    g.AddItem(QStringLiteral("last"), 99);
    g.setFixedRows(5);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(column(g, 0), QStringLiteral("a,first,x,last"));
    EXPECT_EQ(column(g, 1), QStringLiteral("b,,y,"));
    g.RemoveItem(2);
    g.RemoveItem(7);  // not a row: nothing
    EXPECT_EQ(column(g, 0), QStringLiteral("a,first,last"));
    g.setRow(2);
    g.RemoveItem(2);
    EXPECT_EQ(g.Row(), 1);  // pulled back onto a row
    g.RemoveItem(1);
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.FixedRows(), 0);
}

TEST(FlexGridRows, ViewsLearnEachChangeOfShapeBeforeAndAfter) {
    FlexGridData g;
    fill(g, 3, 2);
    Recorder rec;
    g.setListener(&rec);
    g.AddItem(QStringLiteral("x"));        // below the title row: a plain insert
    g.AddItem(QStringLiteral("t"), 0);     // above it: the title changes
    g.RemoveItem(3);
    g.setRows(2);
    EXPECT_EQ(rec.events, QStringList({"insert 3 1", "done", "reshape 0 1", "done", "remove 3 1", "done", "reshape 0 0", "done"}));
}

TEST(FlexGridRows, TextArrayIsTheFlatCellArray) {
    FlexGridData g;
    fill(g, 4, 3);
    EXPECT_EQ(g.TextArray(2 * 3 + 1), QStringLiteral("2.1"));
    // The block move of the list's insertion: cells shift down by one row.
    g.setRows(5);
    for (int i = 3 * 5 - 1; i >= 3 * (1 + 1); --i) g.setTextArray(i, g.TextArray(i - 3));
    EXPECT_EQ(column(g, 0), QStringLiteral("0.0,1.0,1.0,2.0,3.0"));
    EXPECT_EQ(g.TextArray(15), QString());
    g.setTextArray(-1, QStringLiteral("ignored"));
}

TEST(FlexGridRows, ColsKeepsTheTextsThatFit) {
    FlexGridData g;
    fill(g, 3, 3);
    g.setRow(1);
    g.setCol(2);
    g.setCellFontBold(true);
    g.setCols(2);
    EXPECT_EQ(column(g, 1), QStringLiteral("0.1,1.1,2.1"));
    EXPECT_EQ(g.Col(), 1);
    g.setCols(4);
    EXPECT_EQ(column(g, 3), QStringLiteral(",,"));
    EXPECT_FALSE(g.format(1, 2).bold);
}

TEST(FlexGridFormatString, MarksTitlesAndColumns) {
    struct Case {
        const char* format;
        int cols;
        const char* titles;
        std::vector<int> aligns;
    } cases[] = {
        {"> 行番号|マーク|<図形種 ", 3, " 行番号|マーク|図形種 ", {flexAlignRightCenter, flexAlignGeneral, flexAlignLeftCenter}},
        {"^+|<事象名|^図形種", 3, "+|事象名|図形種", {flexAlignCenterCenter, flexAlignLeftCenter, flexAlignCenterCenter}},
        {">番号|>地図名;row|titles", 2, "番号|地図名", {flexAlignRightCenter, flexAlignRightCenter}},
        {"<", 1, "", {flexAlignLeftCenter}},
        {"a||b", 3, "a||b", {flexAlignGeneral, flexAlignGeneral, flexAlignGeneral}},
    };
    for (const Case& c : cases) {
        FlexGridData g;
        g.setRows(0);
        const QStringList titles = g.setFormatString(QString::fromUtf8(c.format));
        SCOPED_TRACE(c.format);
        EXPECT_EQ(g.Cols(), c.cols);
        EXPECT_EQ(g.Rows(), 1);
        EXPECT_EQ(titles.join(QLatin1Char('|')), QString::fromUtf8(c.titles));
        std::vector<int> aligns;
        for (int col = 0; col < g.Cols(); ++col) {
            aligns.push_back(g.ColAlignment(col));
            EXPECT_EQ(g.TextMatrix(0, col), titles[col]);
        }
        EXPECT_EQ(aligns, c.aligns);
    }
}

TEST(FlexGridFormat, CellPropertiesActOnTheCellOrTheRange) {
    FlexGridData g;
    fill(g, 4, 3);
    g.select(1, 0, 2, 2);
    g.setCellBackColor(0x80000003);
    EXPECT_EQ(g.format(1, 0).back, 0x80000003u);
    EXPECT_EQ(g.format(1, 1).back, 0u);
    g.setFillStyle(flexFillRepeat);
    g.setCellFontBold(true);
    g.setCellAlignment(flexAlignCenterCenter);
    g.setCellAlignment(12);  // not an alignment: ignored
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(g.format(r, c).bold, r == 1 || r == 2) << r << "," << c;
    EXPECT_EQ(g.CellAlignment(), flexAlignCenterCenter);
    g.setRow(3);
    EXPECT_EQ(g.CellAlignment(), flexAlignGeneral);  // the column's
    EXPECT_TRUE(g.format(3, 0).isPlain());
}

TEST(FlexGridSort, OrdersAndStability) {
    // Column 0 is the key; column 1 numbers the rows so stability shows.
    const QStringList keys = {"b", "B", "10", "a", "9", "A", "", "b"};
    struct Case {
        int order;
        const char* expected;  // the rows' numbers after the sort
    } cases[] = {
        {flexSortStringNoCaseAscending, "7,3,5,4,6,1,2,8"},   // "", "10", "9", a A, b B b
        {flexSortStringNoCaseDescending, "1,2,8,4,6,5,3,7"},  // equal keys keep their order
        {flexSortStringAscending, "7,3,5,6,2,4,1,8"},         // by code: digits, upper, lower
        {flexSortStringDescending, "1,8,4,2,6,5,3,7"},
        {flexSortNumericAscending, "1,2,4,6,7,8,5,3"},        // texts count as 0
        {flexSortNumericDescending, "3,5,1,2,4,6,7,8"},
        {flexSortGenericAscending, "5,3,7,4,6,1,2,8"},        // numbers first, then texts without case
        {flexSortGenericDescending, "1,2,8,4,6,7,3,5"},
        {flexSortNone, "1,2,3,4,5,6,7,8"},
        {9, "1,2,3,4,5,6,7,8"},
    };
    for (const Case& c : cases) {
        FlexGridData g;
        g.setFormatString(QStringLiteral("key|n"));
        g.setRows(1);
        for (int i = 0; i < keys.size(); ++i) g.AddItem(keys[i] + QLatin1Char('\t') + QString::number(i + 1));
        g.setFixedRows(1);
        g.select(1, 0, g.Rows() - 1, 0);
        g.Sort(c.order);
        QStringList order;
        for (int r = 1; r < g.Rows(); ++r) order << g.TextMatrix(r, 1);
        EXPECT_EQ(order.join(QLatin1Char(',')), QString::fromUtf8(c.expected)) << "order " << c.order;
        EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("key"));
    }
}

TEST(FlexGridSort, RangeKeysAndRowsMovingWhole) {
    FlexGridData g;
    g.setCols(3);
    g.setRows(1);
    for (const char* row : {"x\t2\ta", "y\t1\tb", "x\t1\tc", "y\t2\td", "x\t0\te"}) g.AddItem(QString::fromUtf8(row));
    g.setFixedRows(1);
    g.setRow(2);
    g.setRowHeightTwips(2, 400);
    g.setCellBackColor(255);
    // Two key columns, the left one first; only rows 2..5 take part.
    g.select(2, 0, 5, 1);
    g.Sort(flexSortStringNoCaseAscending);
    EXPECT_EQ(column(g, 2), QStringLiteral(",a,e,c,b,d"));
    // Row "b" took its height and colour along.
    EXPECT_EQ(g.rowHeightTwips(4), 400);
    EXPECT_EQ(g.format(4, 0).back, 255u);
    EXPECT_EQ(g.rowHeightTwips(2), -1);
    // The fixed row never moves, even when the range includes it.
    g.select(0, 2, 5, 2);
    g.Sort(flexSortStringDescending);
    EXPECT_EQ(column(g, 2), QStringLiteral(",e,d,c,b,a"));
}
