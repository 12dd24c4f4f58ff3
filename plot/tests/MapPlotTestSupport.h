// Helpers of the plot engine's tests: the bundled Environment.txt and maps,
// a drawing layer, a raster canvas, empty settings sections, and the
// bundled world (loaded once per test program).
#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "AppInfo.h"
#include "AppState.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "SettingsStore.h"
#include "basGlobe.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapText.h"
#include "clsMapUnits.h"
#include "clsRegistry.h"

namespace plottest {

inline QString BundledMaps() { return QStringLiteral(KAL_SOURCE_DIR "/data/maps"); }

// A device context whose drawing calls can be counted and can run a
// callback (a cancel, a setter) in the middle of a phase.
class CountingDC : public plat::RasterDC {
public:
    CountingDC(int w, int h) : RasterDC(plat::Bitmap::Create(w, h, 32), 96) {}
    bool Polygon(const plat::POINT* pts, int n) override {
        ++polygons;
        if (onPolygon) onPolygon(polygons);
        return RasterDC::Polygon(pts, n);
    }
    bool Polyline(const plat::POINT* pts, int n) override {
        ++polylines;
        return RasterDC::Polyline(pts, n);
    }
    int polygons = 0;
    int polylines = 0;
    std::function<void(int)> onPolygon;
};

// Every test starts from the bundled environment, a fresh drawing layer and
// empty settings sections of both engines and graticules.
class MapPlotTest : public ::testing::Test {
protected:
    MapPlotTest() : oldFolder_(gvMapFolder), oldApp_(plat::AppPath()) {
        ForgetSettings();
        env.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/Environment.txt"));
        EXPECT_EQ(env.Load(), 0);
        gvEnvironment = &env;
        gvMapFolder = BundledMaps();
        plat::SetAppPath(QStringLiteral(KAL_SOURCE_DIR "/data"));
        gvMapGraph = &graph;
    }
    ~MapPlotTest() override {
        gvMapGraph = nullptr;
        gvEnvironment = nullptr;
        gvMapFolder = oldFolder_;
        plat::SetAppPath(oldApp_);
        ForgetSettings();
    }
    static void ForgetSettings() {
        const plat::SettingsStore::Batch batch;
        for (const char* s : {"LLPLOT", "XYPLOT", "LLGRID", "XYGRID"})
            clsRegistry(QString::fromLatin1(s)).RegDelete(QString());
    }

    // The base units of both map modes, and the start map over the
    // latitude/longitude one; read once, every switch back on.
    static std::shared_ptr<clsMapUnits> World() {
        static std::shared_ptr<clsMapUnits> units = [] {
            auto u = std::make_shared<clsMapUnits>();
            u->Create(1);
            auto world = std::make_shared<clsMapUnit>();
            world->setUnitName(BundledMaps() + QStringLiteral("/WORLD_T3.MLL"));
            EXPECT_TRUE(world->Load());
            u->Add(world);
            return u;
        }();
        for (const MapUnitPtr& u : *units) u->setDisplaySwitch(true);
        return units;
    }
    static std::shared_ptr<clsMapUnits> BaseOnly(int mode) {
        auto u = std::make_shared<clsMapUnits>();
        u->Create(mode);
        return u;
    }

    // A unit of the given figures with the base catalogues of a fresh set.
    static std::shared_ptr<clsMapUnits> WithFigures(const std::vector<MapFigurePtr>& figures, int mode = 1) {
        auto units = BaseOnly(mode);
        auto unit = std::make_shared<clsMapUnit>();
        unit->setThings(units->Base()->Things().Copy());
        unit->setAdmins(units->Base()->Admins().Copy());
        unit->setUnitName(BundledMaps() + (mode == 1 ? QStringLiteral("/TEST.MLL") : QStringLiteral("/TEST.MXY")));
        for (const MapFigurePtr& f : figures) unit->Map().Add(f);
        units->Add(unit);
        return units;
    }
    static int16_t ThingOf(const clsMapUnits& units, const char* name) {
        return units.Base()->Things().Search(QString::fromUtf8(name));
    }
    template <class Fig>
    static std::shared_ptr<Fig> Poly(int16_t thing, std::initializer_list<PolyPoint> pts) {
        auto f = std::make_shared<Fig>();
        f->setAdmin(0);
        f->setThing(thing);
        for (const PolyPoint& p : pts) f->Poly()->AddPoint(p);
        return f;
    }
    template <class Fig>
    static std::shared_ptr<Fig> At(int16_t thing, int32_t x, int32_t y) {
        auto f = std::make_shared<Fig>();
        f->setAdmin(0);
        f->setThing(thing);
        f->setMx(x);
        f->setMy(y);
        return f;
    }

    // An engine over the surface, centred and scaled as given, set up as a
    // drawing would set it up.
    static void SetView(clsMapPlot& p, plat::HDC dc, int32_t slot, int32_t cx, int32_t cy, double scale, int w = 800,
                     int h = 600) {
        p.sethdc(dc);
        p.setCanvasWidth(w);
        p.setCanvasHeight(h);
        p.setdpix(96);
        p.setdpiy(96);
        p.ProjectionAuto = slot < 0;
        if (slot >= 0) p.setProjectionIndex(slot);
        p.setCenterX(cx);
        p.setCenterY(cy);
        p.setMapScale(scale);
        p.Field();   // the set-up of a drawing
    }

    clsEnvironment env;
    clsMapGraph graph;

private:
    QString oldFolder_, oldApp_;
};

} // namespace plottest
