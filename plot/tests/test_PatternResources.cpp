#include <gtest/gtest.h>

#include <QImage>

#include "AppInfo.h"
#include "TestSupport.h"
#include "clsResLine.h"
#include "clsResSymbol.h"
#include "clsResTile.h"

using namespace plat;

namespace {

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

// Every entry has a one-bit bitmap in both resolutions: tiles square, 8 to
// 32 pixels, the high one no smaller; symbols 23 and 47 pixels, the user
// entries a 2-pixel stand-in; line patterns 32 pixels long, the high set no
// thinner.
TEST(PatternSizes, EveryEntryHasItsBitmapsInBothResolutions) {
    clsResTile tiles;
    clsResSymbol symbols;
    clsResLine lines;
    auto both = [](auto& set, int16_t n) {
        set.setResolution(0);
        const BITMAP low = GetObject(set.handle(n));
        set.setResolution(1);
        return std::pair{low, GetObject(set.handle(n))};
    };
    for (int16_t n = 100; n <= 131; ++n) {
        const auto [low, high] = both(tiles, n);
        EXPECT_TRUE(low.bmWidth == low.bmHeight && high.bmWidth == high.bmHeight) << n;
        EXPECT_TRUE(low.bmWidth >= 8 && low.bmWidth <= high.bmWidth && high.bmWidth <= 32) << n;
        EXPECT_TRUE(low.bmBitsPixel == 1 && high.bmBitsPixel == 1) << n;
    }
    EXPECT_EQ(tiles.handle(99), nullptr);
    for (int16_t n = 0; n < 48; ++n) {
        const auto [low, high] = both(symbols, n);
        const bool user = (n % 24) >= 19;
        EXPECT_TRUE(low.bmWidth == (user ? 2 : 23) && high.bmWidth == (user ? 2 : 47) && low.bmHeight == low.bmWidth) << n;
    }
    for (int16_t n = 102; n <= 145; ++n) {
        const BITMAP low = GetObject(lines.Bitmap(n, 0)), high = GetObject(lines.Bitmap(n, 1));
        EXPECT_TRUE(low.bmWidth == 32 && high.bmWidth == 32) << n;
        EXPECT_TRUE(low.bmHeight >= 1 && low.bmHeight <= high.bmHeight && high.bmHeight <= 12) << n;
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
