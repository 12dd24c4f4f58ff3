// The 8-bit BMP writer: its exact bytes, palette order and limits, its
// refusals, file errors, and the files as ImageMagick reads them; the
// full-colour file written instead.
#include <gtest/gtest.h>

#include <cerrno>

#include "BinaryIO.h"
#include "Bitmap.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MetaFileDC.h"
#include "MessageBox.h"
#include "PlotTestSupport.h"
#include "RasterDC.h"
#include "TestSupport.h"
#include "basSaveBMP.h"

using namespace plat;

namespace {

// A picture of w x h pixels coloured by f(x, y) (0x00RRGGBB).
struct Picture {
    HBITMAP bm;
    RasterDC dc;
    Picture(int w, int h, const std::function<QRgb(int, int)>& f) : bm(Bitmap::Create(w, h, 32)), dc(bm) {
        for (int y = 0; y < h; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(bm->image().scanLine(y));
            for (int x = 0; x < w; ++x) row[x] = 0xFF000000u | f(x, y);
        }
    }
};

// A raster context that reports no raster capabilities.
class NoBlitDC : public RasterDC {
public:
    using RasterDC::RasterDC;
    int GetDeviceCaps(int index) const override { return index == RASTERCAPS ? RC_BITBLT : RasterDC::GetDeviceCaps(index); }
};

class SaveBmp : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir_.file(name); }
    testsupport::TempDir dir_;
};

TEST_F(SaveBmp, OneColourFiveByThreeIsLaidOutByteForByte) {
    Picture pic(5, 3, [](int, int) { return 0x123456u; });
    const QString path = file(QStringLiteral("one.bmp"));
    ASSERT_EQ(SaveBMP256(&pic.dc, pic.bm, path), 0);
    const QByteArray b = testsupport::ReadBytes(path);
    ASSERT_EQ(b.size(), 1102);
    BinaryReader r(b);
    EXPECT_EQ(r.u16(), 0x4D42);
    EXPECT_EQ(r.u32(), 1102u);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_EQ(r.u32(), 1078u);
    const uint32_t info[] = {40, 5, 3};
    for (uint32_t v : info) EXPECT_EQ(r.u32(), v);
    EXPECT_EQ(r.u16(), 1);
    EXPECT_EQ(r.u16(), 8);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(r.u32(), 0u) << "compression, sizes and counts";
    EXPECT_EQ(r.u32(), 0x123456u) << "entry 0: blue, green, red, 0";
    for (int i = 1; i < 256; ++i) ASSERT_EQ(r.u32(), 0u) << "entry " << i;
    EXPECT_EQ(b.mid(1078), QByteArray(24, '\0')) << "three rows of five indices 0 and three pad bytes";
}

TEST_F(SaveBmp, PaletteInOrderOfFirstAppearanceFromTheTopRow) {
    // Row 0: c, a; row 1: b, a. The bottom row is stored first.
    const QRgb a = 0x0000FF, b = 0x00FF00, c = 0xFF0000;
    Picture pic(2, 2, [&](int x, int y) { return x == 1 ? a : (y == 0 ? c : b); });
    const QString path = file(QStringLiteral("order.bmp"));
    ASSERT_EQ(SaveBMP256(&pic.dc, pic.bm, path), 0);
    const QByteArray bytes = testsupport::ReadBytes(path);
    BinaryReader r(bytes);
    r.seek(54);
    EXPECT_EQ(r.u32(), c);
    EXPECT_EQ(r.u32(), a);
    EXPECT_EQ(r.u32(), b);
    EXPECT_EQ(bytes.mid(1078), QByteArray::fromHex("02010000" "00010000"));
}

TEST_F(SaveBmp, TwoHundredFiftySixColoursFitAndOneMoreDoesNot) {
    const QString path = file(QStringLiteral("limit.bmp"));
    Picture full(16, 16, [](int x, int y) { return QRgb(y * 16 + x) * 0x010101u; });
    ASSERT_EQ(SaveBMP256(&full.dc, full.bm, path), 0);
    const QByteArray before = testsupport::ReadBytes(path);
    EXPECT_EQ(before.size(), 1078 + 16 * 16);
    BinaryReader r(before);
    r.seek(54 + 255 * 4);
    EXPECT_EQ(r.u32(), 0xFFFFFFu) << "the last entry is the last colour seen";

    Picture over(17, 16, [](int x, int y) { return x == 16 ? 0x010203u : QRgb(y * 16 + x) * 0x010101u; });
    EXPECT_EQ(SaveBMP256(&over.dc, over.bm, path), 3);
    EXPECT_EQ(testsupport::ReadBytes(path), before) << "nothing written";
}

TEST_F(SaveBmp, RefusalsBeforeAnythingIsWritten) {
    Picture pic(4, 4, [](int, int) { return 0u; });
    HBITMAP mono = Bitmap::Create(4, 4, 1);
    RasterDC monoDc(mono);
    NoBlitDC noBlit(Bitmap::Create(4, 4, 32));
    MetaFileDC unreadable;
    const struct {
        const char* what;
        DeviceContext* dc;
        HBITMAP bm;
        int32_t result;
    } cases[] = {
        {"no bitmap", &pic.dc, nullptr, 1},
        {"one bit per pixel", &monoDc, mono, 2},
        {"no large bitmaps", &noBlit, pic.bm, 4},
        {"no context", nullptr, pic.bm, 4},
        {"the picture cannot be read", &unreadable, pic.bm, 4},
    };
    for (const auto& c : cases) {
        const QString path = file(QString::fromLatin1(c.what) + QStringLiteral(".bmp"));
        EXPECT_EQ(SaveBMP256(c.dc, c.bm, path), c.result) << c.what;
        EXPECT_FALSE(PathExists(path)) << c.what;
    }
}

TEST_F(SaveBmp, ImageMagickReadsTheSamePixelsAcrossCopyBands) {
    // Taller than one band of the copy, so the rows meet at a band border.
    const int w = 2100, h = 2100;
    Picture pic(w, h, [](int x, int y) { return QRgb(((x / 100) * 7 + (y / 37) * 13) % 200) * 0x010203u; });
    const QString bmp = file(QStringLiteral("big.bmp")), png = file(QStringLiteral("big.png"));
    ASSERT_EQ(SaveBMP256(&pic.dc, pic.bm, bmp), 0);
    const QImage back(bmp);
    ASSERT_EQ(back.format(), QImage::Format_Indexed8);
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), pic.bm->image());

    ASSERT_TRUE(pic.bm->image().save(png));
    const plottest::ToolRun id = plottest::RunTool(QStringLiteral("identify"), {"-format", "%w %h %z %r", bmp});
    if (!id.found) GTEST_SKIP() << "ImageMagick is not installed";
    EXPECT_EQ(id.output.trimmed(), QStringLiteral("2100 2100 8 PseudoClass sRGB"));
    const plottest::ToolRun cmp =
        plottest::RunTool(QStringLiteral("compare"), {"-metric", "AE", bmp, png, QStringLiteral("null:")});
    EXPECT_EQ(cmp.output.trimmed(), QStringLiteral("0")) << "pixels differing";
}

TEST_F(SaveBmp, ManyColoursGoToAFullColourFile) {
    Picture pic(300, 200, [](int x, int y) { return QRgb(x << 16 | y << 8 | ((x + y) & 0xFF)); });
    const QString bmp = file(QStringLiteral("full.bmp")), png = file(QStringLiteral("full.png"));
    ASSERT_EQ(SaveBMP256(&pic.dc, pic.bm, bmp), 3);
    SaveBMPFullColor(pic.bm, bmp);
    EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB32), pic.bm->image());
    ASSERT_TRUE(pic.bm->image().save(png));
    const plottest::ToolRun id = plottest::RunTool(QStringLiteral("identify"), {"-format", "%w %h %z %r", bmp});
    if (!id.found) GTEST_SKIP() << "ImageMagick is not installed";
    EXPECT_EQ(id.output.trimmed(), QStringLiteral("300 200 8 DirectClass sRGB"));
    const plottest::ToolRun cmp =
        plottest::RunTool(QStringLiteral("compare"), {"-metric", "AE", bmp, png, QStringLiteral("null:")});
    EXPECT_EQ(cmp.output.trimmed(), QStringLiteral("0"));
}

TEST_F(SaveBmp, FileErrorsRetrySkipOrCancelAndKeepTheOldFile) {
    Picture pic(3, 3, [](int x, int) { return QRgb(x * 40); });
    const QString path = file(QStringLiteral("err.bmp"));
    testsupport::WriteBytes(path, "old");
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("err.bmp"), IdNo);   // skip
        AtomicFileWriter::FailNextWriteWith(ENOSPC);
        EXPECT_EQ(SaveBMP256(&pic.dc, pic.bm, path), ErrDiskFull);
        EXPECT_EQ(testsupport::ReadBytes(path), "old");
    }
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("err.bmp"), IdCancel);
        AtomicFileWriter::FailNextWriteWith(ENOSPC);
        try {
            SaveBMP256(&pic.dc, pic.bm, path);
            ADD_FAILURE() << "a cancelled file error goes on to the caller";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), ErrDiskFull);
            EXPECT_TRUE(e.source().startsWith(QStringLiteral("basSaveBMP.SaveBMP256/"))) << e.source().toStdString();
        }
        EXPECT_EQ(testsupport::ReadBytes(path), "old");
    }
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("err.bmp"), IdYes);   // retry
        AtomicFileWriter::FailNextWriteWith(ENOSPC);
        EXPECT_EQ(SaveBMP256(&pic.dc, pic.bm, path), 0);
        EXPECT_EQ(testsupport::ReadBytes(path).size(), 1078 + 4 * 3);
    }
}

} // namespace
