// The bundled start map over the base land map, loaded once per benchmark
// program with the bundled settings and a drawing layer of its own.
#pragma once

#include <QTemporaryDir>

#include <memory>

#include "BenchData.h"
#include "clsMapGraph.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"

struct BenchWorld {
    QTemporaryDir settings;
    clsEnvironment env;
    clsMapGraph graph;
    std::shared_ptr<clsMapUnits> units = std::make_shared<clsMapUnits>();

    BenchWorld() {
        UseBundledData(settings, env);
        gvMapGraph = &graph;
        units->Create(1);
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(gvMapFolder + QStringLiteral("/WORLD_T3.MLL"));
        world->Load();
        units->Add(world);
    }
};

inline BenchWorld& TheWorld() {
    static BenchWorld w;
    return w;
}
