#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "AppInfo.h"
#include "RasterDC.h"
#include "TestSupport.h"
#include "clsResLine.h"
#include "clsResSymbol.h"
#include "clsResTile.h"

using namespace plat;

namespace {

// The low and high edge of every fill tile, as the style dialogs show them.
struct TileSize {
    int n, low, high;
};
const TileSize kTiles[] = {
    {100, 8, 8},   {101, 8, 8},   {102, 8, 8},   {103, 8, 8},   {104, 8, 8},   {105, 8, 8},   {106, 8, 8},
    {107, 8, 8},   {108, 8, 8},   {109, 8, 8},   {110, 8, 8},   {111, 8, 8},   {112, 8, 8},   {113, 8, 16},
    {114, 8, 16},  {115, 8, 16},  {116, 16, 32}, {117, 16, 32}, {118, 16, 32}, {119, 8, 16},  {120, 16, 32},
    {121, 16, 32}, {122, 16, 32}, {123, 8, 16},  {124, 8, 16},  {125, 8, 16},  {126, 8, 16},  {127, 8, 16},
    {128, 8, 16},  {129, 8, 16},  {130, 8, 16},  {131, 8, 16},
};

// Line pattern heights, low and high.
const int kLineHeights[44][2] = {
    {1, 2}, {1, 2}, {1, 2}, {1, 2}, {3, 5}, {3, 5}, {2, 4}, {2, 4}, {2, 4}, {2, 4}, {5, 9},
    {5, 9}, {5, 9}, {6, 11}, {4, 8}, {3, 7}, {4, 7}, {4, 7}, {3, 6}, {3, 5}, {4, 6}, {4, 7},
    {4, 7}, {5, 8}, {5, 8}, {4, 7}, {5, 9}, {7, 11}, {1, 2}, {2, 4}, {3, 6}, {6, 12}, {1, 2},
    {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2},
};

// Runs a test with the program's folder pointed at a temporary one.
class UserFolder : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = AppPath();
        SetAppPath(dir_.path());
    }
    void TearDown() override { SetAppPath(saved_); }
    QString file(const QString& name) const { return dir_.file(name); }

    testsupport::TempDir dir_;
    QString saved_;
};

// A one-bit BMP file of the given rows ('#' black).
void writeMonoBmp(const QString& path, const QStringList& rows) {
    QImage img(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_Mono);
    img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, rows[y][x] == QLatin1Char('#') ? 0 : 1);
    ASSERT_TRUE(img.save(path, "BMP"));
}

} // namespace

TEST(PatternNames, EveryEntryHasItsNameAndNothingOutside) {
    clsResTile tiles;
    clsResSymbol symbols;
    clsResLine lines;
    EXPECT_EQ(tiles.Name(99), QString());
    EXPECT_EQ(tiles.Name(132), QString());
    EXPECT_EQ(symbols.Name(48), QString());
    EXPECT_EQ(symbols.Name(-1), QString());
    EXPECT_EQ(tiles.Name(100), QStringLiteral("明度０"));
    EXPECT_EQ(tiles.Name(115), QStringLiteral("レンガ"));
    EXPECT_EQ(tiles.Name(131), QStringLiteral("ユーザー08"));
    EXPECT_EQ(symbols.Name(7), QStringLiteral("空港・小"));
    EXPECT_EQ(symbols.Name(37), QStringLiteral("世界遺産・大"));
    EXPECT_EQ(symbols.Name(47), QStringLiteral("ユーザー10"));
    lines.setIndex(120);
    EXPECT_EQ(lines.Name(), QStringLiteral("鉄道小"));
    lines.setIndex(145);
    EXPECT_EQ(lines.Name(), QStringLiteral("ユーザー12"));
    for (int n = 0; n < 48; ++n) EXPECT_FALSE(symbols.Name(int16_t(n)).isEmpty()) << n;
    for (int n = 100; n <= 131; ++n) EXPECT_FALSE(tiles.Name(int16_t(n)).isEmpty()) << n;
    for (int n = 102; n <= 145; ++n) {
        lines.setIndex(int16_t(n));
        EXPECT_FALSE(lines.Name().isEmpty()) << n;
    }
}

TEST(PatternSizes, EveryBitmapHasItsSizeInBothResolutions) {
    clsResTile tiles;
    for (const TileSize& t : kTiles) {
        for (int res = 0; res < 2; ++res) {
            tiles.setResolution(int16_t(res));
            const BITMAP b = GetObject(tiles.handle(int16_t(t.n)));
            const int edge = res ? t.high : t.low;
            EXPECT_EQ(b.bmWidth, edge) << t.n << " res " << res;
            EXPECT_EQ(b.bmHeight, edge) << t.n << " res " << res;
            EXPECT_EQ(b.bmBitsPixel, 1);
        }
    }
    EXPECT_EQ(tiles.handle(99), nullptr);

    clsResSymbol symbols;
    for (int n = 0; n < 48; ++n) {
        const bool user = (n % 24) >= 19;
        for (int res = 0; res < 2; ++res) {
            symbols.setResolution(int16_t(res));
            const BITMAP b = GetObject(symbols.handle(int16_t(n)));
            const int edge = user ? 2 : (res ? 47 : 23);
            EXPECT_EQ(b.bmWidth, edge) << n;
            EXPECT_EQ(b.bmHeight, edge) << n;
        }
    }

    clsResLine lines;
    for (int n = 102; n <= 145; ++n) {
        for (int res = 0; res < 2; ++res) {
            const BITMAP b = GetObject(lines.Bitmap(int16_t(n), res));
            EXPECT_EQ(b.bmWidth, 32) << n;
            EXPECT_EQ(b.bmHeight, kLineHeights[n - 102][res]) << n << " res " << res;
        }
    }
    // The plain styles' bitmaps exist too, though the class does not load them.
    EXPECT_EQ(GetObject(LoadBitmapResource(4200)).bmWidth, 32);
    EXPECT_EQ(GetObject(LoadBitmapResource(4201)).bmHeight, 1);
}

TEST(PatternSizes, ResolutionTakesOnlyZeroAndOne) {
    clsResTile tiles;
    tiles.setResolution(1);
    tiles.setResolution(2);
    EXPECT_EQ(tiles.Resolution(), 1);
    tiles.setResolution(-1);
    EXPECT_EQ(tiles.Resolution(), 1);
    EXPECT_EQ(GetObject(tiles.handle(116)).bmWidth, 32);
}

TEST(LinePattern, RatiosChooseTheSetAndTheLengths) {
    clsResLine lines;
    lines.setIndex(120);  // 鉄道小: 3 rows low, 6 high
    lines.setIndex(146);
    EXPECT_EQ(lines.Index(), 120);
    lines.setRatioX(40);
    EXPECT_EQ(lines.RatioX(), 100);

    struct Case {
        int rx, ry, length, thick, srcThick;
    };
    const Case cases[] = {
        {100, 100, 32, 3, 3},  // low set at twice the ratio
        {150, 150, 48, 5, 3},  // still low
        {200, 200, 32, 6, 6},  // high set
        {200, 150, 64, 5, 3},  // both must reach 200
        {300, 400, 48, 12, 6},
        {50, 50, 16, 2, 3},
    };
    for (const Case& c : cases) {
        lines.setRatioX(c.rx);
        lines.setRatioY(c.ry);
        EXPECT_EQ(lines.DstLength(), c.length) << c.rx << "/" << c.ry;
        EXPECT_EQ(lines.DstThick(), c.thick) << c.rx << "/" << c.ry;
        EXPECT_EQ(lines.SrcThick(), c.srcThick) << c.rx << "/" << c.ry;
        EXPECT_EQ(lines.SrcLength(), 32);
    }
}

TEST(LinePattern, CycleArrayFollowsTheBitmapRows) {
    clsResLine lines;
    lines.setIndex(121);  // 鉄道中: solid edges, the middle row 8 on, 8 off
    lines.setRatioX(100);
    lines.setRatioY(100);
    ASSERT_EQ(lines.SrcThick(), 3);
    EXPECT_EQ(static_cast<uint32_t>(lines.Pattern(0)), 0u);           // all black: all on
    EXPECT_EQ(static_cast<uint32_t>(lines.Pattern(1)), 0x00FF00FFu);  // black first: bits 0
    EXPECT_EQ(lines.Pattern(4), lines.Pattern(1));
    EXPECT_EQ(lines.Pattern(-2), lines.Pattern(1));
    std::vector<bool> mid = lines.CycleArray(0, 1);
    ASSERT_EQ(mid.size(), 32u);
    for (int k = 0; k < 32; ++k) EXPECT_EQ(mid[size_t(k)], (k % 16) < 8) << k;
    // At 150 per cent the same cycle covers 48 pixels, each source pixel 1.5.
    lines.setRatioX(150);
    mid = lines.CycleArray(7, 1);
    ASSERT_EQ(mid.size(), 48u);
    for (int k = 0; k < 48; ++k) EXPECT_EQ(mid[size_t(k)], ((k * 200 / 300) % 16) < 8) << k;
}

TEST(LinePattern, OnlyBitmapsThirtyTwoPixelsWideArePatterns) {
    const HBITMAP narrow = Bitmap::Create(31, 3, 1);
    EXPECT_EQ(clsResLine::AnalyseLinePattern(narrow).thick, 0);
    EXPECT_EQ(clsResLine::AnalyseLinePattern(nullptr).thick, 0);
    // A colour bitmap is read as one bit per pixel, dark pixels on.
    QImage img(32, 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(0, 0, qRgb(20, 20, 120));
    img.setPixel(31, 1, qRgb(0, 0, 0));
    const clsResLine::PatternRecord rec = clsResLine::AnalyseLinePattern(Bitmap::FromImage(img));
    ASSERT_EQ(rec.thick, 2);
    EXPECT_EQ(rec.rows[0], 0x7FFFFFFFu);
    EXPECT_EQ(rec.rows[1], 0xFFFFFFFEu);
}

TEST_F(UserFolder, UserFilesReplaceBuiltInBitmapsWithoutRegardToCase) {
    writeMonoBmp(file(QStringLiteral("line120l.bmp")),
                 {QStringLiteral("################................"),
                  QStringLiteral("................################")});
    writeMonoBmp(file(QStringLiteral("SYM007H.BMP")), {QStringLiteral("###"), QStringLiteral("#.#")});
    testsupport::WriteBytes(file(QStringLiteral("TILE100L.BMP")), QByteArray("BM not really a bitmap"));

    clsResLine lines;
    lines.setIndex(120);
    EXPECT_EQ(lines.Name(), QStringLiteral("ユーザー定義"));
    ASSERT_EQ(lines.SrcThick(), 2);
    EXPECT_EQ(static_cast<uint32_t>(lines.Pattern(0)), 0x0000FFFFu);
    EXPECT_EQ(static_cast<uint32_t>(lines.Pattern(1)), 0xFFFF0000u);
    lines.setRatioX(200);
    lines.setRatioY(200);
    EXPECT_EQ(lines.SrcThick(), 6);  // the high set is still the built-in one
    EXPECT_EQ(lines.Name(), QStringLiteral("ユーザー定義"));

    clsResSymbol symbols;
    EXPECT_EQ(symbols.Name(7), QStringLiteral("ユーザー定義"));
    EXPECT_EQ(GetObject(symbols.handle(7)).bmWidth, 23);
    symbols.setResolution(1);
    EXPECT_EQ(GetObject(symbols.handle(7)).bmWidth, 3);
    EXPECT_EQ(symbols.Name(8), QStringLiteral("港湾・小"));

    // A user file that cannot be read leaves the entry without a bitmap.
    clsResTile tiles;
    EXPECT_EQ(tiles.Name(100), QStringLiteral("ユーザー定義"));
    EXPECT_EQ(tiles.handle(100), nullptr);
    tiles.setResolution(1);
    EXPECT_NE(tiles.handle(100), nullptr);
}

// Writes every built-in bitmap with its number and name into one picture,
// so a person can check the artwork at a glance: pattern_contact_sheet.png
// in the working folder of the test.
TEST(PatternArtwork, ContactSheetShowsAllBitmaps) {
    clsResTile tiles;
    clsResSymbol symbols;
    clsResLine lines;
    struct Item {
        QString label;
        HBITMAP low, high;
        int kind;  // 0 symbol, 1 tile, 2 line
    };
    std::vector<Item> items;
    for (int n = 0; n < 48; ++n) {
        symbols.setResolution(0);
        HBITMAP lo = symbols.handle(int16_t(n));
        symbols.setResolution(1);
        items.push_back({QStringLiteral("%1 %2").arg(n).arg(symbols.Name(int16_t(n))), lo, symbols.handle(int16_t(n)), 0});
    }
    for (int n = 100; n <= 131; ++n) {
        tiles.setResolution(0);
        HBITMAP lo = tiles.handle(int16_t(n));
        tiles.setResolution(1);
        items.push_back({QStringLiteral("%1 %2").arg(n).arg(tiles.Name(int16_t(n))), lo, tiles.handle(int16_t(n)), 1});
    }
    for (int n = 102; n <= 145; ++n) {
        lines.setIndex(int16_t(n));
        items.push_back({QStringLiteral("%1 %2").arg(n).arg(lines.Name()), lines.Bitmap(int16_t(n), 0),
                         lines.Bitmap(int16_t(n), 1), 2});
    }
    ASSERT_EQ(items.size() * 2, 248u);

    const int cw = 250, ch = 130, cols = 6;
    const int rows = static_cast<int>((items.size() + cols - 1) / cols);
    HBITMAP sheet = Bitmap::Create(cw * cols, ch * rows, 32);
    ASSERT_NE(sheet, nullptr);
    RasterDC dc(sheet, 96);
    dc.SelectBrush(CreateSolidBrush(0));
    dc.SetStretchBltMode(COLORONCOLOR);
    HDC mem = CreateCompatibleDC(&dc);
    int drawn = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int x0 = int(i % cols) * cw, y0 = int(i / cols) * ch;
        dc.SelectPen(CreatePen(PS_SOLID, 1, RGB(200, 200, 200)));
        dc.SelectBrush(StockBrush(NULL_BRUSH));
        dc.Rectangle(x0, y0, x0 + cw, y0 + ch);
        dc.SelectBrush(CreateSolidBrush(0));
        int x = x0 + 6, y = y0 + 24;
        for (const HBITMAP& b : {items[i].low, items[i].high}) {
            ASSERT_NE(b, nullptr) << items[i].label.toStdString();
            mem->SelectBitmap(b);
            const int kind = items[i].kind, w = b->width(), h = b->height();
            // Symbols twice their size, tiles three by three, lines three cycles.
            const int zoom = kind == 1 && w > 16 ? 1 : 2;
            const int repsX = kind == 0 ? 1 : 3, repsY = kind == 1 ? 3 : 1;
            for (int ry = 0; ry < repsY; ++ry)
                for (int rx = 0; rx < repsX; ++rx)
                    EXPECT_TRUE(dc.StretchBlt(x + rx * w * zoom, y + ry * h * zoom, w * zoom, h * zoom, mem, 0, 0, w, h,
                                              ROP_PSDPxax));
            if (kind == 2) y += h * zoom + 10;
            else x += repsX * w * zoom + 10;
            ++drawn;
        }
        dc.SetBkMode(TRANSPARENT);
        dc.SelectFont(CreateFontIndirect([] {
            LOGFONT lf;
            lf.lfHeight = -13;
            lf.lfFaceName = QStringLiteral("ＭＳ Ｐゴシック");
            return lf;
        }()));
        dc.TextOut(x0 + 4, y0 + 4, items[i].label);
    }
    DeleteDC(mem);
    EXPECT_EQ(drawn, 248);
    EXPECT_TRUE(sheet->image().save(QStringLiteral("pattern_contact_sheet.png")));
}
