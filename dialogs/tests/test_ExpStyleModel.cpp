// The style editors' models: hit tests, the second colour, the width list,
// and what the grids and samples draw, checked pixel by pixel.
#include <gtest/gtest.h>

#include <QImage>

#include <utility>

#include "Bitmap.h"
#include "ExpStyleModel.h"
#include "RasterDC.h"
#include "SysColors.h"
#include "TestSupport.h"

using namespace plat;

namespace {

constexpr QRgb kRed = 0xFFFF0000;

// A grid or sample painted at 96 dpi.
QImage Paint(const ExpStyleModel& m, bool grid, int w, int h) {
    const HBITMAP b = Bitmap::Create(w, h, 32);
    RasterDC dc(b, 96);
    if (grid) m.PaintGrid(&dc, w, h);
    else m.PaintSample(&dc, w, h);
    return b->image().copy();
}

QRgb SysRgb(int index) {
    const COLORREF c = GetSysColor(index);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

int CountColor(const QImage& img, QRect r, QRgb c) {
    int n = 0;
    r = r.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += img.pixel(x, y) == c;
    return n;
}

} // namespace

TEST(StyleHitTests, CellsEmptyCellsAndOutside) {
    using Hit = int16_t (*)(int32_t, int32_t, int32_t, int32_t);
    const struct {
        Hit hit;
        int32_t x, y, w, h;
        int16_t expected;
    } cases[] = {
        // pattern grid 320 x 140: cells 40 x 28
        {PatternHit, 0, 0, 320, 140, -1},        // cell 0 stays empty
        {PatternHit, 40, 0, 320, 140, 0},
        {PatternHit, 0, 28, 320, 140, 100},
        {PatternHit, 319, 139, 320, 140, 131},
        {PatternHit, 322, 5, 325, 140, -1},      // the strip right of the last column
        {PatternHit, 5, 140, 320, 140, -1},
        {PatternHit, -1, 5, 320, 140, -1},
        {PatternHit, 3, 3, 7, 140, -1},          // too narrow for cells
        // line grid 352 x 208: cells 88 x 16
        {StyleHit, 0, 0, 352, 208, 0},
        {StyleHit, 88, 16, 352, 208, 5},
        {StyleHit, 176, 16, 352, 208, -1},       // cells 6 and 7 stay empty
        {StyleHit, 0, 32, 352, 208, 102},
        {StyleHit, 351, 207, 352, 208, 145},
        {StyleHit, 353, 0, 355, 208, -1},        // would be pen 4 of the next row
        // symbol grid 288 x 192: cells 36 x 32
        {SymbolHit, 0, 0, 288, 192, 0},
        {SymbolHit, 287, 191, 288, 192, 47},
        {SymbolHit, 289, 0, 290, 192, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(c.hit(c.x, c.y, c.w, c.h), c.expected) << c.x << "," << c.y << " in " << c.w;
}

TEST(StyleEditorModel, SecondColourBoxDecidesTheBackHandedBack) {
    // Back on entry, the box set before OK (-1 left alone), Back handed back.
    const int32_t cases[][3] = {{-1, -1, -1}, {-1, 1, 0xFFFFFF}, {0x123456, -1, 0x123456}, {0x123456, 0, -1}};
    for (const auto& c : cases) {
        ExpSymbolModel m;
        m.Back = c[0];
        m.Open();
        EXPECT_EQ(m.SecondColorOn(), c[0] != -1);
        EXPECT_EQ(m.Back, c[0] == -1 ? 0xFFFFFF : c[0]);   // white while open
        if (c[1] >= 0) m.SetSecondColorOn(c[1] == 1);
        m.Accept();
        EXPECT_TRUE(m.DialogOK);
        EXPECT_EQ(m.Back, c[2]) << c[0] << " " << c[1];
    }
}

TEST(StyleEditorModel, OnlyPlainPensTakeAWidth) {
    ExpPolylineModel m;
    for (const auto& [style, enabled] : {std::pair{0, true}, {5, true}, {6, false}, {102, false}, {145, false}}) {
        m.Style = static_cast<int16_t>(style);
        EXPECT_EQ(m.WidthEnabled(), enabled) << style;
    }
    for (const auto& [size, entry] : {std::pair{1, 0}, {15, 14}, {0, -1}, {16, -1}}) {
        m.Size = size;
        EXPECT_EQ(m.WidthIndex(), entry) << size;
    }
}

TEST(StyleEditorModel, TooltipsNameTheStyleUnderThePointer) {
    const ExpPolygonModel polygon;
    const ExpPolylineModel line;
    const ExpSymbolModel symbol;
    const struct {
        const ExpStyleModel& m;
        int32_t x, y, w, h;
        const char16_t* name;
    } cases[] = {{polygon, 40, 0, 320, 140, u"標準横縞"}, {polygon, 280, 0, 320, 140, u"標準単色"},
                 {polygon, 0, 28, 320, 140, u"明度０"},   {polygon, 0, 0, 320, 140, u""},
                 {line, 88, 16, 352, 208, u"標準透明"},   {line, 0, 32, 352, 208, u"破線小細"},
                 {symbol, 0, 0, 288, 192, u"都市１・小"}, {symbol, 289, 0, 290, 192, u""}};
    for (const auto& c : cases) EXPECT_EQ(c.m.TooltipAt(c.x, c.y, c.w, c.h), QString::fromUtf16(c.name)) << c.x << "," << c.y;
}

TEST(StyleEditorGrids, RedFrameMarksTheCurrentStyleOnly) {
    // Per grid: the model, its size and the top-left corner of each cell's outline.
    ExpPolygonModel polygon;
    ExpPolylineModel line;
    ExpSymbolModel symbol;
    struct Case {
        ExpStyleModel* m;
        int16_t style;
        int w, h, cols, rows, dx, dy;
    } cases[] = {
        {&polygon, 100, 320, 140, 8, 5, 4, 3}, {&polygon, 6, 320, 140, 8, 5, 4, 3},
        {&polygon, 8, 320, 140, 8, 5, 4, 3},   // marks no cell
        {&line, 102, 352, 208, 4, 13, 1, 2},   {&line, 3, 352, 208, 4, 13, 1, 2},
        {&symbol, 10, 288, 192, 8, 6, 3, 2},
    };
    for (const Case& c : cases) {
        c.m->Style = c.style;
        const QImage img = Paint(*c.m, true, c.w, c.h);
        const int cw = c.w / c.cols, ch = c.h / c.rows;
        for (int row = 0; row < c.rows; ++row) {
            for (int col = 0; col < c.cols; ++col) {
                const int x = col * cw + c.dx, y = row * ch + c.dy;
                const bool current = c.m->Hit(x, y, c.w, c.h) == c.style;
                EXPECT_EQ(img.pixel(x, y) == kRed, current) << c.style << " cell " << col << "," << row;
            }
        }
        EXPECT_EQ(CountColor(img, img.rect(), kRed) == 0, c.style == 8) << c.style;
    }
    // The pink band lies under the plain styles only.
    polygon.Style = 8;
    const QImage img = Paint(polygon, true, 320, 140);
    EXPECT_EQ(img.pixel(20, 14), 0xFFFFD8E8);
    EXPECT_EQ(img.pixel(2, 40), SysRgb(COLOR_BTNFACE));
}

TEST(StyleEditorGrids, EverySymbolIsCopiedIntoItsCell) {
    ExpSymbolModel m;
    m.Style = -1;
    const QImage img = Paint(m, true, 288, 192);
    for (int i = 0; i < 19; ++i)   // the built-in ones; user slots may be blank
        EXPECT_GT(CountColor(img, QRect((i % 8) * 36 + 5, (i / 8) * 32 + 4, 30, 26), SysRgb(COLOR_BTNTEXT)), 10) << i;
}

TEST(StyleEditorSamples, DrawnWithTheStyleAndSecondColour) {
    const int w = 160, h = 120;
    const QRgb fore = 0xFF0A141E;   // RGB(10, 20, 30)
    ExpPolygonModel polygon;
    polygon.Fore = static_cast<int32_t>(RGB(10, 20, 30));
    polygon.Style = 8;   // solid
    polygon.Back = -1;
    polygon.Open();
    QImage img = Paint(polygon, false, w, h);
    EXPECT_EQ(CountColor(img, QRect(w * 7 / 20 + 1, h / 20 + 1, w * 6 / 20 - 2, h * 18 / 20 - 2), fore),
              (w * 6 / 20 - 2) * (h * 18 / 20 - 2));
    EXPECT_NE(img.pixel(2, 2), fore);   // outside the cross: the checker
    // A hatch without a back colour leaves the checker in its gaps; with
    // white the gaps are white.
    polygon.Style = 4;
    const QRect middle(w / 2 - 10, h / 2 - 10, 20, 20);
    img = Paint(polygon, false, w, h);
    EXPECT_EQ(CountColor(img, middle, 0xFFFFFFFF), 0);
    polygon.SetSecondColorOn(true);
    img = Paint(polygon, false, w, h);
    EXPECT_EQ(CountColor(img, middle, 0xFFFFFFFF) + CountColor(img, middle, fore), 400);

    ExpPolylineModel line;
    line.Fore = polygon.Fore;
    line.Size = 3;
    img = Paint(line, false, w, h);
    EXPECT_EQ(img.pixel(w * 6 / 10, h * 4 / 25), fore);   // on the last, level stretch

    ExpSymbolModel symbol;   // default edge: white
    symbol.Fore = polygon.Fore;
    symbol.Open();
    const QRect around(w / 2 - 16, h / 2 - 16, 32, 32);
    img = Paint(symbol, false, w, h);
    EXPECT_GT(CountColor(img, around, fore), 10);
    EXPECT_GT(CountColor(img, around, 0xFFFFFFFF), 10);
    symbol.SetSecondColorOn(false);
    img = Paint(symbol, false, w, h);
    EXPECT_EQ(CountColor(img, around, 0xFFFFFFFF), 0);
}
