// The pickup list's search, rows and choice over a small unit: two lines at
// the same distance and a symbol farther away, a polygon elsewhere; the
// highlight drawn inverted on the view.
#include <gtest/gtest.h>

#include "MapPlotTestSupport.h"
#include "Gdi.h"
#include "TestSupport.h"
#include "clsMap.h"
#include "clsMapSymbol.h"
#include "clsMapUnit.h"
#include "frmPickupLogic.h"

using namespace plottest;

namespace {

class Pickup : public MapPlotTest {
protected:
    Pickup() {
        gvLanguage = 2;
        const auto base = BaseOnly(1);
        const int16_t line = ThingOf(*base, "緯線");
        east = Poly<clsMapPolyline>(line, {{dx, 0}, {dx, 20000}});
        west = Poly<clsMapPolyline>(line, {{-dx, -20000}, {-dx, 0}, {-dx, 20000}});
        far = Poly<clsMapPolygon>(line, {{0, 9 * dx}, {dx, 9 * dx}, {dx, 10 * dx}, {0, 9 * dx}});
        units = WithFigures({east, west, far});
        symbol = At<clsMapSymbol>(line, 3 * dx, 0);
        units->Item(2)->Map().Add(symbol);
        p.MapUnits = units;
        SetView(p, &dc, 1, 0, 0, 1e7);
        list.MapUnits = units;
        list.MapPlot = &p;
    }
    ~Pickup() override { gvLanguage = language; }
    void searchAt(int32_t mx, int32_t my, int32_t offsetPx = 0) {
        p.MapToCanvas(mx, my, list.SearchX, list.SearchY);
        list.SearchX += offsetPx;
    }

    long language = gvLanguage;
    const int32_t dx = SafeCLng(10 / (96 * 1000 / 25.4 / 1e7) / MeterPerSec);   // ten pixels
    plat::RasterDC dc{plat::Bitmap::Create(400, 300, 32), 96};
    clsMapPlot p;
    std::shared_ptr<clsMapUnits> units;
    MapFigurePtr east, west, far, symbol;
    frmPickupLogic list;
};

TEST_F(Pickup, EquallyNearFiguresGiveOneRowEachAndOkTakesTheCurrentRow) {
    searchAt(0, 0);
    ASSERT_TRUE(list.Search());
    ASSERT_EQ(list.Candidates().size(), 2u) << "the symbol 30 pixels away is not listed";
    EXPECT_EQ(list.CountText(), QStringLiteral("候補図形数 = 2"));
    const QString thing = east->Thing() >= 0 ? units->Item(2)->Things().Item(east->Thing())->Name() : QString();
    const QString name = units->Item(2)->Map().MapName(2);
    EXPECT_EQ(frmPickupLogic::RowText(*list.Candidates()[0]), name + "\t1\t連続線\t2\t" + thing + "\t" +
                                                                 list.Candidates()[0]->Cell.CellAdmin->AdminName());
    EXPECT_TRUE(frmPickupLogic::RowText(*list.Candidates()[1]).startsWith(name + "\t2\t連続線\t3\t"));

    EXPECT_FALSE(list.Choose(0));
    EXPECT_FALSE(list.Choose(3));
    EXPECT_FALSE(list.OK);
    EXPECT_TRUE(list.Choose(2));
    EXPECT_TRUE(list.OK);
    EXPECT_EQ(list.Picked->Cell.CellFigure, west);
}

TEST_F(Pickup, NodeCountsByKind) {
    const struct {
        int32_t x, y;
        const char* kind;
        const char* nodes;
    } cases[] = {
        {3 * dx, 0, "点記号", "1"},
        {dx / 2, 9 * dx, "多辺形", "4"},   // the closing point counts
    };
    for (const auto& c : cases) {
        searchAt(c.x, c.y);
        ASSERT_TRUE(list.Search()) << c.kind;
        ASSERT_EQ(list.Candidates().size(), 1u) << c.kind;
        const QStringList texts = frmPickupLogic::RowText(*list.Candidates()[0]).split('\t');
        ASSERT_EQ(texts.size(), 6);
        EXPECT_EQ(texts[2], QString::fromUtf8(c.kind));
        EXPECT_EQ(texts[3], QString::fromUtf8(c.nodes));
    }
}

TEST_F(Pickup, NothingWithin64PixelsOrNoSearchableUnitGivesTheTwoLineMessage) {
    const std::function<void()> cases[] = {
        [&] { searchAt(0, -40 * dx); },
        [&] { searchAt(0, 0), units->Item(2)->setSearchSwitch(false); },
    };
    for (const auto& set : cases) {
        set();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("近くに図形が存在しないか、編集が許可されていない地図です.\r\n"
                                    "編集が許可されていない場合は地図ファイルの[読取専用]を解除すれば編集できます."),
                     plat::IdOk);
        EXPECT_FALSE(list.Search());
        EXPECT_TRUE(list.Candidates().empty());
        EXPECT_FALSE(list.OK);
    }
    // A survey pick searches units whose search switch is off.
    list.IncludeAll = true;
    EXPECT_TRUE(list.Search());
}

TEST_F(Pickup, HeaderAndColumnWidths) {
    EXPECT_EQ(frmPickupLogic::HeaderFormat(), QStringLiteral("<地図名|>要素番号 |図形種 |>　ノード数|<事象名　|<行政区名"));
    using W = std::array<int32_t, 6>;
    // 255 twips for the scroll bar; a third of the rest to the name columns,
    // truncated toward zero (also when the grid is too narrow).
    EXPECT_EQ(frmPickupLogic::ColumnWidths(6255 + 1000, {1000, 1000, 1000, 1000, 1000, 1000}),
              (W{1333, 1000, 1000, 1000, 1333, 1333}));
    EXPECT_EQ(frmPickupLogic::ColumnWidths(6255 - 4, {1000, 1000, 1000, 1000, 1000, 1000}),
              (W{999, 1000, 1000, 1000, 999, 999}));
}

TEST_F(Pickup, HighlightIsTheFigureInvertedInViewPixels) {
    searchAt(0, 0);
    ASSERT_TRUE(list.Search());
    plat::RasterDC view{plat::Bitmap::Create(p.CanvasWidth() + 10, p.CanvasHeight(), 32), 96};
    view.PatBlt(0, 0, p.CanvasWidth() + 10, p.CanvasHeight(), plat::WHITENESS);
    const QImage blank = view.image().copy();
    EXPECT_FALSE(list.PlotFigure(3, &view, 0, 0));
    ASSERT_TRUE(list.PlotFigure(1, &view, 5, 0));
    const QImage drawn = view.image();
    EXPECT_NE(drawn, blank);
    int32_t x = 0, y = 0;
    p.MapToCanvas(dx, 10000, x, y);
    EXPECT_NE(drawn.pixel(x + 5, y), blank.pixel(x + 5, y)) << "moved into view pixels";
    EXPECT_EQ(drawn.pixel(x, y), blank.pixel(x, y));
    EXPECT_EQ(p.hdc(), &dc) << "the engine's own surface is given back";
}

} // namespace
