// Helpers of the main projection's tests: an empty "PROJECTOR" section, the
// bundled maps as the map folder, the base-map generators with a call log,
// source units made of chosen figures.
#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "AppInfo.h"
#include "AppState.h"
#include "FakeProjectorLayers.h"
#include "PrjServices.h"
#include "clsEnvironment.h"
#include "clsMapSymbol.h"
#include "clsMapUnits.h"
#include "clsProjector.h"
#include "clsRegistry.h"

namespace prjtest {

inline QString BundledMaps() { return QStringLiteral(KAL_SOURCE_DIR "/data/maps"); }

// Every test starts from an empty settings section and the bundled maps,
// with the fake generators installed.
class ProjectorTest : public ::testing::Test {
protected:
    ProjectorTest() : oldFolder_(gvMapFolder), oldApp_(plat::AppPath()) {
        ForgetSettings();
        gvMapFolder = BundledMaps();
        plat::SetAppPath(BundledMaps());
        layers = std::make_shared<FakeProjectorLayers>();
        SetProjectorLayers(layers);
        InstallPlotProjectionServices();
    }
    ~ProjectorTest() override {
        SetProjectorLayers(nullptr);
        SetPrjServices(nullptr, nullptr);
        gvMapFolder = oldFolder_;
        plat::SetAppPath(oldApp_);
        ForgetSettings();
    }

    // A projector writes its settings when it goes: the next one would
    // start from them.
    static void ForgetSettings() { clsRegistry(clsProjector::RegistrySection()).RegDelete(QString()); }

    // A latitude/longitude set whose base unit (named TESTBASE.MLL, with the
    // bundled base catalogues) holds the given figures.
    static std::shared_ptr<clsMapUnits> SourceUnits(const std::vector<MapFigurePtr>& figures) {
        auto units = std::make_shared<clsMapUnits>();
        units->Create(1);
        auto base = std::make_shared<clsMapUnit>();
        base->setThings(units->Base()->Things().Copy());
        base->setAdmins(units->Base()->Admins().Copy());
        base->setUnitName(BundledMaps() + QStringLiteral("/TESTBASE.MLL"));
        for (const MapFigurePtr& f : figures) base->Map().Add(f);
        units->Add(base);
        return units;
    }
    // A further unit of the given name and figures.
    static MapUnitPtr Unit(const QString& name, const std::vector<MapFigurePtr>& figures, bool shown = true) {
        auto u = std::make_shared<clsMapUnit>();
        u->setUnitName(BundledMaps() + QLatin1Char('/') + name);
        for (const MapFigurePtr& f : figures) u->Map().Add(f);
        u->setDisplaySwitch(shown);
        return u;
    }
    static MapFigurePtr Line(std::initializer_list<PolyPoint> pts, bool polygon = false) {
        MapFigurePtr f = polygon ? MapFigurePtr(std::make_shared<clsMapPolygon>())
                                 : MapFigurePtr(std::make_shared<clsMapPolyline>());
        f->setAdmin(0);
        f->setThing(1);
        for (const PolyPoint& p : pts) f->Poly()->AddPoint(p);
        return f;
    }
    template <class Point = clsMapSymbol>
    static std::shared_ptr<Point> At(int32_t x, int32_t y) {
        auto s = std::make_shared<Point>();
        s->setAdmin(0);
        s->setThing(1);
        s->setMx(x);
        s->setMy(y);
        return s;
    }

    std::shared_ptr<FakeProjectorLayers> layers;

private:
    QString oldFolder_, oldApp_;
};

// The same with the bundled environment file (the catalogue's names, the
// plot engine's settings) installed.
class ProjectorEnvTest : public ProjectorTest {
protected:
    ProjectorEnvTest() {
        env.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/Environment.txt"));
        EXPECT_EQ(env.Load(), 0);
        gvEnvironment = &env;
    }
    ~ProjectorEnvTest() override { gvEnvironment = nullptr; }
    clsEnvironment env;
};

} // namespace prjtest
