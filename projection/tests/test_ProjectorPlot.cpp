// The start map projected to X/Y maps and drawn by the plot engine as a
// plane plot, one projection of each family plus the gores and the
// interrupted one. Each map and picture is written to the test output folder
// to be looked at; the checks here are that the plot ends cleanly without a
// message box, that land and sea lie where their projected points say, and
// that the ocean stays within the projection's frame.
#include <gtest/gtest.h>

#include <QImage>

#include "AppState.h"
#include "Bitmap.h"
#include "ProjectorTestSupport.h"
#include "RasterDC.h"
#include "TestSupport.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"

using namespace prjtest;

namespace {

constexpr int32_t kDeg = 3600;
constexpr int kW = 1000, kH = 700;

struct GeoPoint {
    int32_t lon, lat;   // degrees
};

struct Aspect {
    int16_t index;
    int32_t lon, lat;   // centre, degrees
    const char* name;
    std::vector<GeoPoint> land, sea;   // off the graticule's lines and the borders
    bool framed;                       // the canvas corners lie outside the frame
};

const Aspect kAspects[] = {
    {12, 0, 0, "12_equirect", {{22, 3}, {101, 61}, {-57, -11}, {134, -24}}, {{-151, 7}, {-31, -31}, {79, -29}}, false},
    {17, 150, 0, "17_mollweide_150E", {{22, 3}, {101, 61}, {134, -24}}, {{-151, 7}, {-31, -31}, {79, -29}}, true},
    {24, 0, 45, "24_albers", {{22, 3}, {101, 61}, {-57, -11}}, {{-31, 11}, {-151, 31}, {-41, 41}}, true},
    {6, 0, 90, "06_azimuthal_north", {{101, 61}, {-101, 51}, {22, 3}}, {{-41, 41}, {-151, 31}, {-31, -31}}, true},
    {28, 0, 0, "28_gores", {{22, 3}, {101, 61}, {-57, -11}}, {{-151, 7}, {-31, -31}, {79, -29}}, true},
    {29, 0, 0, "29_goode", {{22, 3}, {101, 61}, {-57, -11}, {134, -24}}, {{-151, 7}, {-31, -31}, {79, -29}}, true},
};

QRgb Rgb(int32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// A drawing layer beside the projector's set-up.
class ProjectorPlot : public ProjectorEnvTest {
protected:
    ProjectorPlot() { gvMapGraph = &graph; }
    ~ProjectorPlot() override { gvMapGraph = nullptr; }
    clsMapGraph graph;
};

// The bounds of every line and area of the base unit: the frame the
// generated layers draw.
clsRect Frame(const clsMapUnit& unit) {
    clsRect b;
    bool any = false;
    for (const MapFigurePtr& f : unit.Map()) {
        if (f->FigCode() != 2 && f->FigCode() != 3) continue;
        const clsRect r = f->Poly()->RectBound();
        any ? b.OpeOr(r) : void(b = r);
        any = true;
    }
    return b;
}

// A plane plot of the X/Y set with the frame filling the canvas but for a
// margin of a twentieth.
void FitPlanePlot(clsMapPlot& p, plat::HDC dc, const clsRect& frame) {
    p.sethdc(dc);
    p.setCanvasWidth(kW);
    p.setCanvasHeight(kH);
    p.setdpix(96);
    p.setdpiy(96);
    p.ProjectionAuto = false;
    p.setProjectionIndex(0);
    p.setCenterX(static_cast<int32_t>((int64_t(frame.x1) + frame.x2) / 2));
    p.setCenterY(static_cast<int32_t>((int64_t(frame.y1) + frame.y2) / 2));
    const double metresPerPixel = 1.1 * std::max(double(frame.x2 - frame.x1) / kW, double(frame.y2 - frame.y1) / kH);
    p.setMapScale(metresPerPixel * 96 * 1000 / 25.4);
    p.Field();
}

} // namespace

TEST_F(ProjectorPlot, ProjectedWorldMapsDrawThroughThePlotEngine) {
    auto units = std::make_shared<clsMapUnits>();
    units->Create(1);
    auto world = std::make_shared<clsMapUnit>();
    world->setUnitName(BundledMaps() + QStringLiteral("/WORLD_T3.MLL"));
    ASSERT_TRUE(world->Load());
    units->Add(world);
    const QString outDir = testsupport::OutputFolder();
    // The land is the countries' over the base map's, or the base map's alone.
    for (const bool baseOnly : {false, true})
    for (const Aspect& a : kAspects) {
        SCOPED_TRACE(std::string(a.name) + (baseOnly ? " base only" : ""));
        world->setDisplaySwitch(!baseOnly);
        testsupport::ScriptedBoxes boxes;   // no box expected
        ForgetSettings();
        clsProjector prj;
        prj.setPrjIndex(a.index);
        prj.setCenterLon(a.lon * kDeg);
        prj.setCenterLat(a.lat * kDeg);
        prj.setCone(216000);
        prj.setMapScale(5e7);
        const auto out = prj.ExeProjection(*units);
        ASSERT_TRUE(out);
        const QString name = outDir + QStringLiteral("/Projected-") + QString::fromLatin1(a.name) +
                             (baseOnly ? QStringLiteral("-base") : QString());
        for (const MapUnitPtr& u : *out) {
            u->Map().setFileName(name + QLatin1Char('_') + u->UnitName().section(QLatin1Char('/'), -1));
            EXPECT_EQ(u->Map().Save(), 0);
        }

        plat::RasterDC dc(plat::Bitmap::Create(kW, kH, 32), 96);
        clsMapPlot plot;
        plot.MapUnits = out;
        const clsRect frame = Frame(*out->Base());
        FitPlanePlot(plot, &dc, frame);
        ASSERT_EQ(plot.Replot(), 0);
        const QImage img = dc.image().copy();
        EXPECT_TRUE(img.save(name + QStringLiteral(".png")));

        const ThingPtr oceanThing = out->Base()->Things().Item(out->Base()->Things().Search(QStringLiteral("海洋")));
        ASSERT_TRUE(oceanThing);
        const QRgb ocean = Rgb(oceanThing->Fore());
        const QRgb land = Rgb(out->Base()->Things().Item(out->Base()->Things().Search(QStringLiteral("陸地")))->Fore());
        const auto pixelOf = [&](const GeoPoint& g, QRgb& rgb) {
            int32_t mx = 0, my = 0, x = 0, y = 0;
            if (!prj.ProjectPointSec(g.lon * kDeg, g.lat * kDeg, mx, my) || !plot.PointMapToCanvas(mx, my, x, y) ||
                x < 0 || y < 0 || x >= kW || y >= kH)
                return false;
            rgb = img.pixel(x, y);
            return true;
        };
        for (const GeoPoint& g : a.land) {
            QRgb rgb = 0;
            ASSERT_TRUE(pixelOf(g, rgb)) << g.lon << " " << g.lat;
            EXPECT_NE(rgb, ocean) << "land at " << g.lon << " " << g.lat;
            EXPECT_NE(rgb, img.pixel(0, 0)) << "land at " << g.lon << " " << g.lat;
            if (baseOnly) {
                EXPECT_EQ(rgb, land) << "land at " << g.lon << " " << g.lat;
            }
        }
        for (const GeoPoint& g : a.sea) {
            QRgb rgb = 0;
            ASSERT_TRUE(pixelOf(g, rgb)) << g.lon << " " << g.lat;
            EXPECT_EQ(rgb, ocean) << "sea at " << g.lon << " " << g.lat;
        }
        if (a.framed) {
            for (const QPoint c : {QPoint(1, 1), QPoint(kW - 2, 1), QPoint(1, kH - 2), QPoint(kW - 2, kH - 2)})
                EXPECT_NE(img.pixel(c), ocean) << "corner " << c.x() << " " << c.y();
        }
        // The ocean stays inside the frame and covers a good part of it.
        int32_t left = 0, top = 0, right = 0, bottom = 0;
        ASSERT_TRUE(plot.PointMapToCanvas(frame.x1, frame.y2, left, top));
        ASSERT_TRUE(plot.PointMapToCanvas(frame.x2, frame.y1, right, bottom));
        const QRect inside = QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-2, -2, 2, 2);
        int64_t within = 0, without = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (img.pixel(x, y) == ocean) ++(inside.contains(x, y) ? within : without);
        EXPECT_EQ(without, 0);
        EXPECT_GT(double(within) / (int64_t(inside.width()) * inside.height()), 0.25);
    }
}
