// The 8-bit BMP writer: its exact bytes, palette order and limits, its
// refusals and file errors, and the files as ImageMagick reads them; the
// full-colour file written instead.
#include <gtest/gtest.h>

#include "BinaryIO.h"
#include "Bitmap.h"
#include "MetaFileDC.h"
#include "PlotTestSupport.h"
#include "RasterDC.h"
#include "basSaveBMP.h"

using namespace plat;

namespace {

// A picture of w x h pixels coloured by f(x, y) (0x00RRGGBB).
struct Picture {
    HBITMAP bm;
    RasterDC dc;
    Picture(int w, int h, const std::function<QRgb(int, int)>& f) : bm(Bitmap::Create(w, h, 32)), dc(bm) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) bm->image().setPixel(x, y, 0xFF000000u | f(x, y));
    }
};

class SaveBmp : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir_.file(name); }
    testsupport::TempDir dir_;
};

TEST_F(SaveBmp, OneColourFiveByThreeIsLaidOutByteForByte) {
    Picture pic(5, 3, [](int, int) { return 0x123456u; });
    ASSERT_EQ(SaveBMP256(&pic.dc, pic.bm, file("one.bmp")), 0);
    const QByteArray b = testsupport::ReadBytes(file("one.bmp"));
    BinaryWriter expected;
    for (uint16_t v : {0x4D42, 1102, 0, 0, 0, 1078, 0, 40, 0, 5, 0, 3, 0, 1, 8}) expected.u16(v);
    expected.bytes(QByteArray(24, '\0'));      // compression, sizes and counts
    expected.u32(0x123456);                    // entry 0: blue, green, red, 0
    expected.bytes(QByteArray(255 * 4, '\0'));
    expected.bytes(QByteArray(24, '\0'));      // three rows of five indices 0 and three pad bytes
    EXPECT_EQ(b, expected.buffer());
}

TEST_F(SaveBmp, PaletteInOrderOfFirstAppearanceUpToTwoHundredFiftySixColours) {
    // Row 0: c, a; row 1: b, a. The bottom row is stored first.
    const QRgb a = 0x0000FF, b = 0x00FF00, c = 0xFF0000;
    Picture small(2, 2, [&](int x, int y) { return x == 1 ? a : (y == 0 ? c : b); });
    ASSERT_EQ(SaveBMP256(&small.dc, small.bm, file("order.bmp")), 0);
    const QByteArray bytes = testsupport::ReadBytes(file("order.bmp"));
    EXPECT_EQ(bytes.mid(54, 12), QByteArray::fromHex("0000ff00" "ff000000" "00ff0000"));
    EXPECT_EQ(bytes.mid(1078), QByteArray::fromHex("02010000" "00010000"));

    Picture full(16, 16, [](int x, int y) { return QRgb(y * 16 + x) * 0x010101u; });
    ASSERT_EQ(SaveBMP256(&full.dc, full.bm, file("limit.bmp")), 0);
    const QByteArray before = testsupport::ReadBytes(file("limit.bmp"));
    EXPECT_EQ(before.mid(54 + 255 * 4, 4), QByteArray::fromHex("ffffff00")) << "the last colour seen";
    Picture over(17, 16, [](int x, int y) { return x == 16 ? 0x010203u : QRgb(y * 16 + x) * 0x010101u; });
    EXPECT_EQ(SaveBMP256(&over.dc, over.bm, file("limit.bmp")), 3);
    EXPECT_EQ(testsupport::ReadBytes(file("limit.bmp")), before) << "nothing written";
}

// A raster context that reports no large-bitmap support.
class NoLargeBitmaps : public RasterDC {
public:
    using RasterDC::RasterDC;
    int GetDeviceCaps(int index) const override { return index == RASTERCAPS ? RC_BITBLT : RasterDC::GetDeviceCaps(index); }
};

TEST_F(SaveBmp, RefusalsWriteNothing) {
    Picture pic(4, 4, [](int, int) { return 0u; });
    HBITMAP mono = Bitmap::Create(4, 4, 1);
    RasterDC monoDc(mono);
    NoLargeBitmaps noLarge(Bitmap::Create(4, 4, 32));
    MetaFileDC unreadable;
    const struct {
        const char* what;
        DeviceContext* dc;
        HBITMAP bm;
        int32_t result;
    } cases[] = {
        {"no bitmap", &pic.dc, nullptr, 1},
        {"one bit per pixel", &monoDc, mono, 2},
        {"no large bitmaps", &noLarge, pic.bm, 4},
        {"the picture cannot be read", &unreadable, pic.bm, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SaveBMP256(c.dc, c.bm, file(c.what)), c.result) << c.what;
        EXPECT_FALSE(PathExists(file(c.what))) << c.what;
    }
}

TEST_F(SaveBmp, ImageMagickReadsTheSamePixelsAcrossCopyBands) {
    // Taller than one band of the copy, so rows meet at a band border.
    Picture pic(2100, 2100, [](int x, int y) { return QRgb(((x / 100) * 7 + (y / 37) * 13) % 200) * 0x010203u; });
    ASSERT_EQ(SaveBMP256(&pic.dc, pic.bm, file("big.bmp")), 0);
    EXPECT_EQ(QImage(file("big.bmp")).convertToFormat(QImage::Format_RGB32), pic.bm->image());
    const QString seen = plottest::IdentifyAndCompare(file("big.bmp"), pic.bm->image());
    if (seen.isEmpty()) GTEST_SKIP() << "ImageMagick is not installed";
    EXPECT_EQ(seen, QStringLiteral("2100 2100 8 PseudoClass sRGB differing 0"));
}

TEST_F(SaveBmp, ManyColoursGoToAFullColourFile) {
    Picture pic(300, 200, [](int x, int y) { return QRgb(x << 16 | y << 8 | ((x + y) & 0xFF)); });
    ASSERT_EQ(SaveBMP256(&pic.dc, pic.bm, file("full.bmp")), 3);
    SaveBMPFullColor(pic.bm, file("full.bmp"));
    const QString seen = plottest::IdentifyAndCompare(file("full.bmp"), pic.bm->image());
    if (seen.isEmpty()) GTEST_SKIP() << "ImageMagick is not installed";
    EXPECT_EQ(seen, QStringLiteral("300 200 8 DirectClass sRGB differing 0"));
}

TEST_F(SaveBmp, FileErrorsRetrySkipOrCancelAndKeepTheOldFile) {
    Picture pic(3, 3, [](int x, int) { return QRgb(x * 40); });
    const QString path = file("err.bmp");
    plottest::CheckFileErrorAnswers([&] { return SaveBMP256(&pic.dc, pic.bm, path); }, path,
                                    QStringLiteral("basSaveBMP.SaveBMP256/"));
    EXPECT_EQ(testsupport::ReadBytes(path).size(), 1078 + 4 * 3);
}

} // namespace
