// The canvas: limits of its settings and sizes, the view offsets, its
// settings section, the copy into the view, and its exports read back by
// independent readers (Qt, ImageMagick, the clipboard).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "AppError.h"
#include "Bitmap.h"
#include "DeviceContext.h"
#include "FileOps.h"
#include "PlotTestSupport.h"
#include "SettingsStore.h"
#include "clsCanvas.h"
#include "clsRegistry.h"

using namespace plat;

namespace {

constexpr QSize kScreen(1920, 1080);
constexpr QSize kFrame(20, 100);   // the main window around its view

// A canvas picture that cannot be made above an edge.
class SmallMemoryPicture : public BitmapCanvasPicture {
public:
    explicit SmallMemoryPicture(int32_t maxEdge) : maxEdge_(maxEdge) {}
    DeviceContext* hDC() override {
        if (Width() > maxEdge_ || Height() > maxEdge_) ThrowRuntimeError(ErrOutOfMemory);
        return BitmapCanvasPicture::hDC();
    }

private:
    int32_t maxEdge_;
};

// The same size and the same colour in every pixel.
bool samePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

class Canvas : public ::testing::Test {
protected:
    Canvas() { clsRegistry(clsCanvas::RegistrySection()).RegDelete(QString()); }

    // A canvas over a view of w x h, Synchro as given (else as read).
    std::unique_ptr<clsCanvas> make(int32_t w, int32_t h, std::optional<bool> synchro = std::nullopt) {
        view_ = std::make_unique<BitmapViewPicture>(w, h, kFrame, kScreen);
        auto c = std::make_unique<clsCanvas>(picture_, *view_, 96);
        if (synchro) c->setSynchro(*synchro);
        return c;
    }
    // Paints every canvas pixel from f(x, y) (0x00RRGGBB).
    void fill(const std::function<QRgb(int, int)>& f) {
        picture_.hDC();
        QImage& img = picture_.Image()->image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, 0xFF000000u | f(x, y));
    }
    QString file(const QString& name) const { return dir_.file(name); }

    BitmapCanvasPicture picture_;
    std::unique_ptr<BitmapViewPicture> view_;
    testsupport::TempDir dir_;
};

TEST_F(Canvas, SettersKeepTheirRanges) {
    auto c = make(500, 400, false);
    EXPECT_EQ(c->ViewMaxWidth(), kScreen.width() - kFrame.width());
    EXPECT_EQ(c->ViewMaxHeight(), kScreen.height() - kFrame.height());
    const struct {
        const char* what;
        std::function<void()> set;
        std::function<int32_t()> get;
        int32_t expected;
    } cases[] = {
        {"area 0", [&] { c->setViewArea(0); }, [&] { return c->ViewArea(); }, 5},
        {"area 9", [&] { c->setViewArea(9); }, [&] { return c->ViewArea(); }, 9},
        {"area 10", [&] { c->setViewArea(10); }, [&] { return c->ViewArea(); }, 5},
        {"dpi 48", [&] { c->setDpi(48); }, [&] { return c->Dpi(); }, 48},
        {"dpi 47", [&] { c->setDpi(47); }, [&] { return c->Dpi(); }, 48},
        {"dpi 1440", [&] { c->setDpi(1440); }, [&] { return c->Dpi(); }, 1440},
        {"dpi 1441", [&] { c->setDpi(1441); }, [&] { return c->Dpi(); }, 1440},
        {"canvas 10", [&] { c->setCanvasWidth(10); }, [&] { return c->CanvasWidth(); }, 32},
        {"canvas 100000", [&] { c->setCanvasHeight(100000); }, [&] { return c->CanvasHeight(); }, 4000},
        {"view past its limit", [&] { c->setViewWidth(5000); }, [&] { return c->ViewWidth(); }, 1900},
        {"view 1", [&] { c->setViewHeight(1); }, [&] { return c->ViewHeight(); }, 32},
    };
    for (const auto& k : cases) {
        k.set();
        EXPECT_EQ(k.get(), k.expected) << k.what;
    }
    c->setBmpPath(QStringLiteral("/tmp/a.b/map"));
    c->setPngPath(QStringLiteral("shot.jpg"));
    EXPECT_EQ(c->BmpPath(), QStringLiteral("/tmp/a.b/map.BMP"));
    EXPECT_EQ(c->PngPath(), QStringLiteral("shot.PNG"));
}

TEST_F(Canvas, ViewOffsetsByArea) {
    const struct {
        int32_t cw, ch, vw, vh, area, x, y;
    } cases[] = {
        {1001, 800, 500, 400, 5, 250, 200},  {1001, 800, 500, 400, 9, 501, 400}, {1001, 800, 500, 400, 1, 0, 0},
        {1001, 800, 500, 400, 3, 501, 0},    {1001, 800, 500, 400, 7, 0, 400},   {1001, 801, 500, 400, 6, 501, 200},
        {300, 300, 500, 400, 9, -200, -100}, {300, 300, 500, 400, 5, -100, -50}, {301, 301, 500, 400, 5, -99, -49},
    };
    for (const auto& k : cases) {
        auto c = make(k.vw, k.vh, false);
        c->setCanvasWidth(k.cw);
        c->setCanvasHeight(k.ch);
        c->setViewArea(k.area);
        int32_t x = 0, y = 0;
        c->PosViewToCanvas(0, 0, x, y);
        EXPECT_EQ(x, k.x) << k.cw << "x" << k.ch << " area " << k.area;
        EXPECT_EQ(y, k.y) << k.cw << "x" << k.ch << " area " << k.area;
        int32_t vx = 0, vy = 0;
        c->PosViewToCanvas(17, -3, x, y);
        c->PosCanvasToView(x, y, vx, vy);
        EXPECT_EQ(vx, 17);
        EXPECT_EQ(vy, -3);
    }
}

TEST_F(Canvas, AreaModeAndSynchro) {
    auto c = make(500, 400, true);
    EXPECT_FALSE(c->IsAreaMode()) << "a synchronised canvas is the view";
    c->setSynchro(false);
    c->setCanvasHeight(401);
    EXPECT_TRUE(c->IsAreaMode()) << "one axis larger is enough";
    c->setViewWidth(600);
    EXPECT_EQ(c->CanvasWidth(), 500) << "without Synchro the canvas keeps its size";
    EXPECT_TRUE(c->IsAreaMode());
    c->ViewLikeCanvas();
    EXPECT_EQ(c->ViewWidth(), 500);
    EXPECT_EQ(c->ViewHeight(), 401);
    EXPECT_FALSE(c->IsAreaMode());

    c->setCanvasWidth(3000);
    c->setSynchro(true);
    EXPECT_EQ(c->CanvasWidth(), 500) << "Synchro on resizes the canvas to the view";
    c->setCanvasWidth(3000);
    c->ViewLikeCanvas();
    EXPECT_EQ(c->ViewWidth(), 500) << "ViewLikeCanvas does nothing under Synchro";
    c->setViewHeight(300);
    EXPECT_EQ(c->CanvasWidth(), 500) << "the next change of the view brings the canvas back";
    EXPECT_EQ(c->CanvasHeight(), 300);
}

TEST_F(Canvas, SettingsSectionDefaultsAndRoundTrip) {
    {
        auto c = make(640, 480, true);
        EXPECT_EQ(c->BmpPath(), QStringLiteral("USER.BMP"));
        EXPECT_EQ(c->PngPath(), QStringLiteral("USER.PNG"));
        EXPECT_EQ(c->ViewArea(), 5);
        EXPECT_TRUE(c->Synchro());
        EXPECT_EQ(c->Dpi(), 96);
        EXPECT_EQ(QSize(c->CanvasWidth(), c->CanvasHeight()), QSize(640, 480));
        c->setSynchro(false);
        c->setCanvasWidth(1200);
        c->setCanvasHeight(900);
        c->setDpi(300);
        c->setViewArea(3);
        c->setBmpPath(QStringLiteral("out/map"));
    }
    const clsRegistry reg(clsCanvas::RegistrySection());
    EXPECT_EQ(reg.RegGet(QStringLiteral("CanvasWidth"), {}), QStringLiteral("1200"));
    EXPECT_EQ(reg.RegGet(QStringLiteral("Synchro"), {}), QStringLiteral("False"));

    auto c = make(640, 480);
    EXPECT_FALSE(c->Synchro());
    EXPECT_EQ(QSize(c->CanvasWidth(), c->CanvasHeight()), QSize(1200, 900)) << "without Synchro the canvas stays";
    EXPECT_EQ(c->Dpi(), 300);
    EXPECT_EQ(c->ViewArea(), 3);
    EXPECT_EQ(c->BmpPath(), QStringLiteral("out/map.BMP"));

    // A stored Synchro of true: the view sizes come last and pull the canvas along.
    c.reset();
    clsRegistry(clsCanvas::RegistrySection()).RegPut(QStringLiteral("Synchro"), true);
    clsRegistry(clsCanvas::RegistrySection()).RegPut(QStringLiteral("DPI"), 20);
    c = make(700, 500);
    EXPECT_EQ(QSize(c->CanvasWidth(), c->CanvasHeight()), QSize(640, 480)) << "the stored view size";
    EXPECT_EQ(c->Dpi(), 96) << "a stored resolution out of range leaves the default";
}

TEST_F(Canvas, ACanvasThatCannotBeMadeFallsBackToTheView) {
    SmallMemoryPicture small(1000);
    BitmapViewPicture view(400, 300, kFrame, kScreen);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("キャンバスの生成に失敗しました."), IdOk);
    clsCanvas c(small, view, 96);
    c.setSynchro(false);
    c.setCanvasWidth(3000);
    EXPECT_EQ(QSize(c.CanvasWidth(), c.CanvasHeight()), QSize(400, 300));
    EXPECT_NE(small.hDC(), nullptr);
}

TEST_F(Canvas, PaintCopiesTheChosenPartIntoTheView) {
    auto c = make(48, 36, false);
    c->setCanvasWidth(100);
    c->setCanvasHeight(80);
    fill([](int x, int y) { return QRgb(x << 16 | y << 8 | 7); });
    int changes = 0;
    view_->OnChanged = [&] { ++changes; };
    for (int area : {1, 5, 9}) {
        c->setViewArea(area);
        c->Paint();
        int32_t ox = 0, oy = 0;
        c->PosViewToCanvas(0, 0, ox, oy);
        const QImage shown = view_->Image()->image();
        EXPECT_TRUE(samePixels(shown, picture_.Image()->image().copy(ox, oy, 48, 36))) << area;
    }
    EXPECT_EQ(changes, 3);
    // A canvas smaller than the view: the view shows it where the offset
    // puts it (negative), the rest stays.
    c->setCanvasWidth(32);
    c->setViewArea(9);
    fill([](int, int) { return QRgb(0x00FF00); });
    c->Paint();
    EXPECT_EQ(view_->Image()->image().pixel(47, 35) & 0xFFFFFF, 0x00FF00u);
    EXPECT_NE(view_->Image()->image().pixel(15, 35) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(Canvas, BmpOfTwoHundredFiftySixColoursIsPalettisedAndOneMoreIsFullColour) {
    auto c = make(32, 32, true);
    c->setBmpPath(file(QStringLiteral("canvas")));
    const struct {
        int colours;
        int bits;
        const char* magick;
    } cases[] = {{256, 8, "32 32 8 PseudoClass sRGB differing 0"}, {257, 24, "32 32 8 DirectClass sRGB differing 0"}};
    bool magick = true;
    for (const auto& k : cases) {
        fill([&](int x, int y) {
            const int i = y * 32 + x;
            return QRgb(i < k.colours ? i * 0x010301u : 0);
        });
        ASSERT_TRUE(c->SaveBMP()) << k.colours;
        const QByteArray bytes = testsupport::ReadBytes(c->BmpPath());
        ASSERT_GT(bytes.size(), 30);
        EXPECT_EQ(uint8_t(bytes[28]), k.bits) << k.colours;
        EXPECT_TRUE(samePixels(QImage(c->BmpPath()), picture_.Image()->image()));
        const QString seen = plottest::IdentifyAndCompare(c->BmpPath(), picture_.Image()->image());
        magick = magick && !seen.isEmpty();
        if (!magick) continue;
        EXPECT_EQ(seen, QString::fromLatin1(k.magick));
    }
    if (!magick) GTEST_SKIP() << "ImageMagick is not installed: the files were not read back by it";
}

TEST_F(Canvas, PngAndClipboardHoldTheCanvas) {
    auto c = make(120, 90, true);
    fill([](int x, int y) { return QRgb((x * 2) << 16 | (y * 2) << 8 | ((x + y) & 0xFF)); });
    c->setPngPath(file(QStringLiteral("canvas")));
    ASSERT_TRUE(c->SavePNG());
    EXPECT_EQ(c->PngPath(), file(QStringLiteral("canvas.PNG")));
    EXPECT_TRUE(samePixels(QImage(c->PngPath()), picture_.Image()->image()));

    ASSERT_TRUE(c->WriteClip());
    EXPECT_TRUE(samePixels(QGuiApplication::clipboard()->image(), picture_.Image()->image()));

    const QString seen = plottest::IdentifyAndCompare(c->PngPath(), picture_.Image()->image());
    if (seen.isEmpty()) GTEST_SKIP() << "ImageMagick is not installed: the PNG was not read back by it";
    EXPECT_EQ(seen, QStringLiteral("120 90 8 DirectClass sRGB differing 0"));
}

TEST_F(Canvas, AFailedExportKeepsThePreviousFile) {
    auto c = make(64, 48, true);
    fill([](int x, int) { return QRgb(x); });
    c->setBmpPath(file(QStringLiteral("keep")));
    c->setPngPath(file(QStringLiteral("keep")));
    const struct {
        const char* what;
        QString path;
        std::function<bool()> save;
        QString message;
    } cases[] = {
        {"bmp", c->BmpPath(), [&] { return c->SaveBMP(); }, QStringLiteral("BMPファイルへの保存に失敗しました.")},
        {"png", c->PngPath(), [&] { return c->SavePNG(); }, QStringLiteral("PNGファイルへの保存に失敗しました.")},
    };
    for (const auto& k : cases) {
        testsupport::WriteBytes(k.path, "old");
        {
            // The disk fills up; the user cancels the file-error box.
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QStringLiteral("*File=") + k.path, IdCancel);
            boxes.expect(k.message, IdOk);
            AtomicFileWriter::FailNextWriteWith(ENOSPC);
            EXPECT_FALSE(k.save()) << k.what;
        }
        EXPECT_EQ(testsupport::ReadBytes(k.path), "old") << k.what;

        // A read-only target: the library's message, nothing written.
        ASSERT_EQ(::chmod(k.path.toLocal8Bit().constData(), 0444), 0);
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QStringLiteral("は読み取り専用ファイルです."), IdOk);
            EXPECT_FALSE(k.save()) << k.what;
        }
        EXPECT_EQ(testsupport::ReadBytes(k.path), "old") << k.what;
        ::chmod(k.path.toLocal8Bit().constData(), 0644);
    }
}

// Every picture file goes through the file-error box with its cause and path:
// retry writes again, skip ends the save (no full-colour attempt after the
// 8-bit file, no second box).
TEST_F(Canvas, PictureFilesRetryOrSkipInTheFileErrorBox) {
    auto c = make(64, 48, true);
    c->setBmpPath(file(QStringLiteral("pic")));
    c->setPngPath(file(QStringLiteral("pic")));
    const QString retry = QStringLiteral("ディスクの空き容量が不足しています。 ");
    for (const bool manyColours : {false, true}) {
        // 64 colours make the 8-bit file, 3072 the full-colour one.
        fill([&](int x, int y) { return QRgb(manyColours ? x + 64 * y : x); });
        for (const bool bmp : {true, false}) {
            const QString path = bmp ? c->BmpPath() : c->PngPath();
            const auto save = [&] { return bmp ? c->SaveBMP() : c->SavePNG(); };
            testsupport::WriteBytes(path, "old");
            {
                testsupport::ScriptedBoxes boxes;
                boxes.expect(retry + path, IdNo);
                AtomicFileWriter::FailNextWriteWith(ENOSPC);
                EXPECT_FALSE(save()) << bmp << manyColours;
            }
            EXPECT_EQ(testsupport::ReadBytes(path), "old");
            {
                testsupport::ScriptedBoxes boxes;
                boxes.expect(retry + path, IdYes);
                AtomicFileWriter::FailNextWriteWith(ENOSPC);
                EXPECT_TRUE(save()) << bmp << manyColours;
            }
            const QImage written(path);
            EXPECT_EQ(written.size(), QSize(64, 48)) << bmp << manyColours;
            if (bmp) {
                EXPECT_EQ(written.depth() <= 8, !manyColours);
            }
        }
    }
}

} // namespace
