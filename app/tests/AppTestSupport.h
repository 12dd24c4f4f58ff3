// A program folder of its own for each test: "Environment.txt", a copy of
// the installed base maps, an empty settings store; the application state
// is torn down and the folders restored afterwards.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <memory>
#include <utility>

#include "AppInfo.h"
#include "MainPlotRoutines.h"
#include "PublicVal.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "clsAccessory.h"
#include "clsCanvas.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "SettingsStore.h"
#include "clsRegistry.h"
#include "TestSupport.h"
#include "TextFile.h"

namespace apptest {

class ProgramFolder {
public:
    ProgramFolder() : oldAppPath_(plat::AppPath()), oldSettings_(plat::SettingsStore::Folder()) {
        plat::SetAppPath(program_.path());
        plat::SettingsStore::SetFolder(settings_.path());
        QDir(program_.path()).mkdir(QStringLiteral("maps"));
    }
    ~ProgramFolder() {
        gvTerminate();
        // A set too large to free at shutdown stays behind; tests free it.
        delete std::exchange(gvMapUnitsLL, nullptr);
        delete std::exchange(gvMapUnitsXY, nullptr);
        gvMapMode = 1;
        gvMapFolder.clear();
        plat::SetAppPath(oldAppPath_);
        plat::SettingsStore::SetFolder(oldSettings_);
    }
    QString path() const { return program_.path(); }
    QString file(const QString& name) const { return program_.file(name); }
    QString map(const QString& name) const { return program_.file(QStringLiteral("maps/") + name); }

    void WriteEnvironment(const QStringList& lines) const {
        testsupport::WriteBytes(file(QStringLiteral("Environment.txt")), plat::EncodeCp932(lines.join(QStringLiteral("\r\n"))));
    }
    // The environment and the base maps of both modes with their catalogues.
    void Install() const {
        WriteEnvironment({QStringLiteral("MapFolder=maps")});
        for (const char* n : {"BASE.MLL", "BASE.MXY", "BASE.ADM", "BASE.THG", "DEFAULT.ADM", "DEFAULT.THG"})
            CopyMap(QString::fromLatin1(n));
        CopyCruiseFiles(path());
    }
    // The standard-map list and country grid of the cruise into a program folder.
    static void CopyCruiseFiles(const QString& folder) {
        for (const char* n : {"CRUISE05.LST", "CRUISE05.GRD"})
            EXPECT_TRUE(QFile::copy(QStringLiteral(KAL_SOURCE_DIR "/data/") + QString::fromLatin1(n),
                                    folder + QLatin1Char('/') + QString::fromLatin1(n)))
                << n;
    }
    // A map file installed with the program.
    void CopyMap(const QString& name) const {
        EXPECT_TRUE(QFile::copy(QStringLiteral(KAL_SOURCE_DIR "/data/maps/") + name, map(name))) << name.toStdString();
    }

private:
    testsupport::TempDir program_, settings_;
    QString oldAppPath_, oldSettings_;
};

// The installed program started, with a drawing layer, the latitude/longitude
// plot engine, the accessories and a canvas of width x height at 96 dpi.
class RunningProgram {
public:
    RunningProgram(int32_t width, int32_t height) : view_(width, height, QSize(0, 0), QSize(1920, 1080)) {
        folder_.Install();
        EXPECT_EQ(gvInitialize(), StartupOK);
        // The test's own objects in place of those of the start-up, and no
        // X/Y engine.
        delete std::exchange(gvCanvas, nullptr);
        delete std::exchange(gvMapPlotXY, nullptr);
        delete std::exchange(gvMapPlotLL, nullptr);
        delete std::exchange(gvAccessory, nullptr);
        delete std::exchange(gvMapGraph, &graph_);
        clsRegistry(clsCanvas::RegistrySection()).RegDelete(QString());   // its sizes are not the test's
        ll_ = std::make_unique<clsMapPlot>();
        gvMapPlotLL = ll_.get();
        gvAccessory = &accessory_;
        canvas_ = std::make_unique<clsCanvas>(picture_, view_, 96);
        gvCanvas = canvas_.get();
        InstallMapViewHooks();
    }
    ~RunningProgram() {
        gvCanvas = nullptr;
        gvAccessory = nullptr;
        gvMapPlotLL = nullptr;
        gvMapGraph = nullptr;
        SetMapModeSource({});
        clsAccessory::SetProjectionNameSource({});
    }

    // The installed world map loaded beside the base unit, shown whole in
    // the first view projection at 1:240 000 000.
    bool ShowWholeWorld() {
        for (const char* name : {"WORLD_T3.MLL", "WORLD_T3.THG", "WORLD_T3.ADM"})
            folder_.CopyMap(QString::fromLatin1(name));
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(folder_.map(QStringLiteral("WORLD_T3.MLL")));
        if (!world->Load()) return false;
        gvMapUnitsLL->Add(world);
        ll_->ProjectionAuto = false;
        ll_->setProjectionIndex(1);
        ll_->setCenterX(0);
        ll_->setCenterY(0);
        ll_->setMapScale(2.4e8);
        return true;
    }

    ProgramFolder folder_;
    clsMapGraph graph_;
    std::unique_ptr<clsMapPlot> ll_;
    clsAccessory accessory_;
    BitmapCanvasPicture picture_;
    BitmapViewPicture view_;
    std::unique_ptr<clsCanvas> canvas_;
};

} // namespace apptest
