// The main window's plot routines over the application state: the map's
// room beside the accessories' band, the engine's progress, the scale bar of
// the status area, the metafile export and the hooks that join the map
// view to the map mode.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>

#include "AppTestSupport.h"
#include "BinaryIO.h"
#include "EpsTestSupport.h"
#include "Bitmap.h"
#include "clsEnvironment.h"
#include "MainPlotRoutines.h"
#include "RasterDC.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "clsAccessory.h"
#include "clsCanvas.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "clsRegistry.h"

namespace {

constexpr int kW = 400, kH = 300;

class PlotRoutines : public ::testing::Test, protected apptest::RunningProgram {
protected:
    PlotRoutines() : RunningProgram(kW, kH) {}
};

TEST_F(PlotRoutines, TheMapTakesTheRoomTheBandLeaves) {
    plat::RasterDC dc(plat::Bitmap::Create(kW, kH, 32), 96);
    accessory_.setIndex(clsAccessory::Title);
    accessory_.setUse(true);
    accessory_.setText(QStringLiteral("地図"));
    for (bool on : {false, true}) {
        ll_->AccessoryEnable = on;
        for (int32_t position : {0, 1}) {
            accessory_.setPosition(position);
            std::vector<int16_t> phases;
            ll_->Progress = [](int16_t) { ADD_FAILURE() << "the window's handler is bound for the plot"; };
            EXPECT_EQ(PlotMap(&dc, 96, 96, kW, kH, [&](int16_t n) { phases.push_back(n); }), PlotDone);
            EXPECT_EQ(phases.size(), size_t(clsMapPlot::PhaseNum + 1));
            EXPECT_TRUE(ll_->Progress) << "the engine's own handler is back";
            const int32_t band = on ? accessory_.BackHeight() : 0;
            EXPECT_EQ(ll_->CanvasTop(), position == 0 ? band : 0) << on << position;
            EXPECT_EQ(ll_->CanvasHeight(), kH - band) << on << position;
            EXPECT_EQ(ll_->dpix(), 96);
            EXPECT_EQ(accessory_.MapUnits() == CurrentMapUnits(), on);
        }
    }
    gvMapMode = 2;
    EXPECT_EQ(PlotMap(&dc, 96, 96, kW, kH), PlotNoSurface) << "no X/Y engine";
}

TEST_F(PlotRoutines, ScaleBarOfTheStatusArea) {
    plat::RasterDC dc(plat::Bitmap::Create(300, 24, 32), 96);
    ll_->setdpix(192);
    ll_->setMapScale(5e6);   // a ground scale of 1:2,500,000 at the box's 96 dpi
    gvEnvironment->LoadLines({QStringLiteral("MapFolder=maps"), QStringLiteral("MeasureColor=&H0000C000")});
    PlotMeasure(&dc, 300, 24, plat::MakeFont(), 0xFF0000);
    EXPECT_EQ(clsRegistry(QStringLiteral("MEASURE")).RegGet(QStringLiteral("MeasureColor"), {}), QStringLiteral("49152"));
    EXPECT_EQ(clsRegistry(QStringLiteral("MEASURE")).RegGet(QStringLiteral("MeasureSW"), {}), QStringLiteral("True"));
    EXPECT_EQ(clsRegistry(QStringLiteral("MEASURE")).RegGet(QStringLiteral("FrameSW"), {}), QStringLiteral("False"));
    int green = 0;
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 24; ++y) green += (dc.image().pixel(x, y) & 0xFFFFFF) == 0x00C000u;
    EXPECT_GT(green, 100) << "the bar in MeasureColor";
    dc.image().save(testsupport::OutputFolder() + QStringLiteral("/PlotRoutines-measure.png"));
}

TEST_F(PlotRoutines, MetafileExport) {
    const QString wmf = folder_.file(QStringLiteral("map.wmf"));
    std::vector<QString> status;
    ASSERT_TRUE(SaveMetaFile(wmf, {}, [&](const QString& s) { status.push_back(s); }));
    EXPECT_EQ(status, std::vector<QString>{QStringLiteral("メタファイル(WMF)へ出力しています...")});
    const QString written = folder_.file(QStringLiteral("map.WMF"));
    const QByteArray bytes = testsupport::ReadBytes(written);
    ASSERT_GT(bytes.size(), 22);
    plat::BinaryReader r(bytes);
    EXPECT_EQ(r.u32(), 0x9AC6CDD7u);
    r.skip(6);
    EXPECT_EQ(r.u16(), kW);   // bounds end after the last pixel
    EXPECT_EQ(r.u16(), kH);
    EXPECT_EQ(r.u16(), 96);

    // A plot that fails writes nothing; a read-only file is refused.
    testsupport::WriteBytes(written, "old");
    EXPECT_FALSE(SaveMetaFile(written, [](plat::HDC, int32_t, int32_t, int32_t, int32_t) { return int16_t(1); }));
    EXPECT_EQ(testsupport::ReadBytes(written), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(written).constData(), 0444), 0);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("は読み取り専用ファイルです."), plat::IdOk);
    EXPECT_FALSE(SaveMetaFile(written));
    EXPECT_EQ(testsupport::ReadBytes(written), "old");
}

// The bundled world with its accessories, exported as EPS through the plot
// engine: Ghostscript reads it without a complaint and sees the map the
// canvas shows.
TEST_F(PlotRoutines, EpsExportOfTheWorld) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "Ghostscript is not installed";
    ASSERT_TRUE(QFile::copy(QStringLiteral(KAL_SOURCE_DIR "/data/KALDERO.PS"), folder_.file(QStringLiteral("KALDERO.PS"))));
    ASSERT_TRUE(ShowWholeWorld());
    ll_->AccessoryEnable = true;
    accessory_.setIndex(clsAccessory::Title);
    accessory_.setUse(true);
    accessory_.setText(QStringLiteral("世界 World"));

    const QString eps = folder_.file(QStringLiteral("world.eps"));
    std::vector<QString> status;
    ASSERT_TRUE(SaveEpsFile(eps, {}, [&](const QString& s) { status.push_back(s); }));
    EXPECT_EQ(status, std::vector<QString>{QStringLiteral("ポストスクリプトファイル(EPS)へ出力しています...")});
    EXPECT_FALSE(graph_.PostScriptEi());
    epstest::GsRun run;
    const QImage page = epstest::RenderEps(eps, 96, &run);
    ASSERT_FALSE(page.isNull()) << run.output.toStdString();
    EXPECT_TRUE(run.clean()) << run.output.toStdString();
    page.save(testsupport::OutputFolder() + QStringLiteral("/PlotRoutines-world-eps.png"));

    plat::RasterDC dc(plat::Bitmap::Create(kW, kH, 32), 96);
    ASSERT_EQ(PlotMap(&dc, 96, 96, kW, kH), PlotDone);
    const QImage canvas = dc.image().convertToFormat(QImage::Format_RGB32);
    canvas.save(testsupport::OutputFolder() + QStringLiteral("/PlotRoutines-world-canvas.png"));
    ASSERT_EQ(page.size(), canvas.size());
    // Coarse pictures: the mean colour of each 20 x 20 block, and the share
    // of blocks that are not the paper's white.
    const QImage rendered = page.convertToFormat(QImage::Format_RGB32);
    auto coarse = [](const QImage& img) { return img.scaled(kW / 20, kH / 20, Qt::IgnoreAspectRatio, Qt::SmoothTransformation); };
    const QImage a = coarse(rendered), b = coarse(canvas);
    int inked = 0, worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            inked += qGray(p) < 245;
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    EXPECT_GT(inked, a.width() * a.height() * 3 / 4) << "the map is drawn";
    EXPECT_LT(worst, 24);
    EXPECT_LT(epstest::DifferingShare(rendered, canvas, 32, 2), 0.03);

    // A plot that fails writes nothing; a read-only file is refused.
    const QString written = folder_.file(QStringLiteral("world.EPS"));
    testsupport::WriteBytes(written, "old");
    EXPECT_FALSE(SaveEpsFile(written, [](plat::HDC, int32_t, int32_t, int32_t, int32_t) { return int16_t(1); }));
    EXPECT_EQ(testsupport::ReadBytes(written), "old");
    EXPECT_FALSE(graph_.PostScriptEi());
    ASSERT_EQ(::chmod(QFile::encodeName(written).constData(), 0444), 0);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("は読み取り専用ファイルです."), plat::IdOk);
    EXPECT_FALSE(SaveEpsFile(written));
    EXPECT_EQ(testsupport::ReadBytes(written), "old");
}

TEST_F(PlotRoutines, HooksFollowTheMapMode) {
    for (int32_t mode : {1, 2, 3}) {
        gvMapMode = mode;
        EXPECT_EQ(CurrentMapMode(), mode);
        EXPECT_EQ(CurrentMapPlot(), mode == 1 ? ll_.get() : nullptr);
    }
    gvMapMode = 1;
    plat::RasterDC dc(plat::Bitmap::Create(kW, kH, 32), 96);
    accessory_.setIndex(clsAccessory::Comment);
    accessory_.setUse(true);
    accessory_.setText(QStringLiteral("*"));
    accessory_.sethandle(&dc);
    accessory_.setWidth(kW);
    accessory_.setHeight(kH);
    accessory_.Layout();
    // The test folder's Environment.txt names no view projection.
    EXPECT_EQ(accessory_.Area(clsAccessory::Comment).lines, QStringList{QStringLiteral("--- 未定義 ---")});
    gvEnvironment->LoadLines({QStringLiteral("DirectPrjName02=割円筒図法")});
    ll_->ProjectionAuto = false;
    ll_->setProjectionIndex(2);
    accessory_.Layout();
    EXPECT_EQ(accessory_.Area(clsAccessory::Comment).lines, QStringList{QStringLiteral("割円筒図法")});
}

} // namespace
