// The exports of one plot of the bundled world with its accessories: the
// canvas's BMP and PNG read back pixel for pixel (Qt and ImageMagick), and
// the placeable metafile of the same plot played by libwmf's wmf2gd and
// compared with the canvas.
#include <gtest/gtest.h>

#include "EpsTestSupport.h"
#include "MapPlotTestSupport.h"
#include "PlotTestSupport.h"
#include "clsAccessory.h"
#include "clsCanvas.h"
#include "clsMetaFile.h"

using namespace plottest;

namespace {

constexpr int kW = 720, kH = 480;

class Exports : public MapPlotTest {
protected:
    Exports() {
        for (const char* s : {"CANVAS", "ACCESSORY"}) clsRegistry(QString::fromLatin1(s)).RegDelete(QString());
    }
    // Europe with a title band at the bottom, onto dc of kW x kH.
    int16_t plot(plat::HDC dc) {
        clsAccessory acc;
        acc.setIndex(clsAccessory::Title);
        acc.setUse(true);
        acc.setText(QStringLiteral("ヨーロッパ / Europe"));
        acc.sethandle(dc);
        acc.setWidth(kW);
        acc.setHeight(kH);
        acc.setDpi(96);
        acc.setMapScale(2e7);
        acc.setMapUnits(World().get());
        const int32_t band = acc.BackHeight();
        clsMapPlot p;
        p.MapUnits = World();
        SetView(p, dc, 2, 15 * 3600, 48 * 3600, 2e7, kW, kH - band);
        const int16_t r = p.Replot();
        acc.Draw();
        return r;
    }
};

TEST_F(Exports, BmpAndPngHoldThePlottedCanvas) {
    BitmapCanvasPicture picture;
    BitmapViewPicture view(kW, kH, QSize(0, 0), QSize(1920, 1080));
    clsCanvas canvas(picture, view, 96);
    ASSERT_EQ(QSize(canvas.CanvasWidth(), canvas.CanvasHeight()), QSize(kW, kH));
    ASSERT_EQ(plot(picture.hDC()), 0);
    testsupport::TempDir dir;
    canvas.setBmpPath(dir.file(QStringLiteral("europe")));
    canvas.setPngPath(dir.file(QStringLiteral("europe")));
    ASSERT_TRUE(canvas.SaveBMP());
    ASSERT_TRUE(canvas.SavePNG());
    const QImage& img = picture.Image()->image();
    bool magick = true;
    for (const QString& file : {canvas.BmpPath(), canvas.PngPath()}) {
        EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), img.convertToFormat(QImage::Format_RGB32))
            << file.toStdString();
        const QString seen = IdentifyAndCompare(file, img);
        magick = magick && !seen.isEmpty();
        if (!magick) continue;
        EXPECT_TRUE(seen.startsWith(QStringLiteral("720 480 8 "))) << seen.toStdString();
        EXPECT_TRUE(seen.endsWith(QStringLiteral(" differing 0"))) << seen.toStdString();
    }
    if (!magick) GTEST_SKIP() << "ImageMagick is not installed: the files were not read back by it";
}

TEST_F(Exports, MetafileOfThePlotPlaysLikeTheCanvas) {
    plat::RasterDC raster(plat::Bitmap::Create(kW, kH, 32), 96);
    ASSERT_EQ(plot(&raster), 0);
    // In the export's order: open, name, resolution and area, then the plot.
    clsMetaFile meta;
    plat::HDC dc = meta.MetaOpen();
    testsupport::TempDir dir;
    meta.setFileName(dir.file(QStringLiteral("europe")));
    meta.setDpi(96);
    meta.setArea(clsRect(0, 0, kW - 1, kH - 1));
    ASSERT_EQ(plot(dc), 0);
    ASSERT_EQ(meta.MetaSave(), 0);

    const QString png = dir.file(QStringLiteral("europe-wmf.png"));
    const ToolRun run = RunTool(QStringLiteral("wmf2gd"), {"-t", "png", QStringLiteral("--maxwidth=%1").arg(kW),
                                                           QStringLiteral("--maxheight=%1").arg(kH), "--maxsize", "-o",
                                                           png, meta.FileName()});
    if (!run.found) GTEST_SKIP() << "wmf2gd (libwmf-bin) is not installed";
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QImage played = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(played.size(), QSize(kW, kH));
    played.save(testsupport::OutputFolder() + QStringLiteral("/Exports-europe-wmf.png"));
    raster.image().save(testsupport::OutputFolder() + QStringLiteral("/Exports-europe-canvas.png"));
    // The player steps its own edges and draws text in its own font (and
    // without Japanese faces): a pixel counts as differing when no pixel
    // within 2 of it lies within 48 levels in every channel; 0.9 per cent
    // do, at most 2 per cent may.
    EXPECT_LT(epstest::DifferingShare(played, raster.image(), 48, 2), 0.02);
}

} // namespace
