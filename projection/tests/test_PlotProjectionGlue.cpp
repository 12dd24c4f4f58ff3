// What the application installs to join the plot and projection engines:
// the plot engine's projection services, the base-map layers, and a plot
// engine's view taken over by the main projection.
#include <gtest/gtest.h>

#include "Bitmap.h"
#include "MapProjection.h"
#include "PlotProjectionGlue.h"
#include "PrjServices.h"
#include "ProjectorTestSupport.h"
#include "RasterDC.h"
#include "ResString.h"
#include "clsEnvironment.h"
#include "clsMapPlot.h"

using namespace prjtest;

namespace {

// The catalogue's names come from the bundled environment file.
using Glue = ProjectorEnvTest;

TEST_F(Glue, InstallingGivesThePlotEngineItsServicesAndTheProjectorItsLayers) {
    SetPrjServices(nullptr, nullptr);
    EXPECT_EQ(PrjIndexOfName(plat::LoadResString(5012)), -1);
    InstallPlotProjectionGlue();
    EXPECT_NE(dynamic_cast<BaseMapLayers*>(InstalledProjectorLayers()), nullptr);
    EXPECT_EQ(PrjIndexOfName(plat::LoadResString(5012)), 12);
    EXPECT_EQ(PrjShadowPolysOf(8, 0, 0, 2.0, 12).size(), PrjShadowPolys(8, 0, 0, 2.0, 12).size());
    EXPECT_FALSE(PrjShadowPolysOf(8, 0, 0, 2.0, 12).empty());
}

// The projector takes over the engine's field, centre, scale, graticule,
// azimuth lines and the main projection matching each view slot.
TEST_F(Glue, SynchroPlotTakesThePlotEnginesView) {
    plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
    clsMapPlot plot;
    plot.sethdc(&dc);
    plot.setCanvasWidth(800);
    plot.setCanvasHeight(600);
    plot.ProjectionAuto = false;
    plot.AzimuthLine = QStringLiteral("0 180");
    plot.Grid().setWidth(36000);
    struct Case {
        int32_t slot;
        int16_t index;
    };
    for (const Case c : {Case{1, 12}, Case{2, 12}, Case{3, 23}, Case{4, 6}}) {
        plot.setProjectionIndex(c.slot);
        plot.setCenterX(500000);
        plot.setCenterY(130000);
        plot.setMapScale(2e7);
        clsProjector p;
        p.SynchroPlot(MapPlotSource(plot));
        EXPECT_EQ(p.PrjIndex(), c.index) << c.slot;
        EXPECT_EQ(p.CenterLon(), 500000);
        EXPECT_EQ(p.MapScale(), 2e7);
        EXPECT_EQ(p.Grid()->Width(), 36000);
        EXPECT_NE(p.Grid().get(), &plot.Grid()) << "a copy of the graticule";
        EXPECT_EQ(p.AzimuthLine, QStringLiteral("0 180"));
        EXPECT_EQ(*p.Field(), plot.Field());
    }
    clsRegistry(QStringLiteral("LLPLOT")).RegDelete(QString());
    clsRegistry(QStringLiteral("LLGRID")).RegDelete(QString());
}

} // namespace
