// Start-up and shutdown of the application state, its accessors and the
// start map file.
#include <gtest/gtest.h>

#include <functional>

#include "AppTestSupport.h"
#include "basHMap.h"
#include "clsEnvironment.h"
#include "clsMap.h"
#include "clsRegistry.h"
#include "CanvasPictures.h"
#include "clsAccessory.h"
#include "clsCanvas.h"
#include "clsCruise05.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsNativeColor.h"
#include "clsProjector.h"

using apptest::ProgramFolder;

TEST(Startup, EachFailureGivesItsCodeAndKeepsTheSettings) {
    struct Case {
        const char* what;
        std::function<void(const ProgramFolder&)> breakIt;
        int16_t code;
        const char* box;     // the message shown on the way, if any
        bool readSettings;   // the failure came after "PUBLIC" was read
        const char* message; // what the window then says
    } cases[] = {
        {"installed", [](const ProgramFolder&) {}, StartupOK, nullptr, true, ""},
        {"no Environment.txt", [](const ProgramFolder& f) { QFile::remove(f.file("Environment.txt")); },
         StartupNoObjects, "環境ファイルが存在しません.", false, "パブリックインスタンスを生成できませんでした．"},
        {"empty MapFolder", [](const ProgramFolder& f) { f.WriteEnvironment({"MapFolder=", "StartMapFile=X.MLL"}); },
         StartupBadEnvironment, nullptr, false, "環境ファイルに異常があります."},
        {"no BASE.MLL", [](const ProgramFolder& f) { QFile::remove(f.map("BASE.MLL")); }, StartupNoBaseLL,
         "地図図形ファイルが存在しません.", true, "経緯度地図ベースユニットを確立できませんでした."},
        {"no BASE.MXY", [](const ProgramFolder& f) { QFile::remove(f.map("BASE.MXY")); }, StartupNoBaseXY,
         "地図図形ファイルが存在しません.", true, "ＸＹ地図ベースユニットを確立できませんでした."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder f;
        f.Install();
        c.breakIt(f);
        clsRegistry pub(QStringLiteral("PUBLIC"));
        pub.RegPut(QStringLiteral("HomeLat"), QStringLiteral("12345"));
        pub.RegPut(QStringLiteral("Language"), QStringLiteral("2"));
        {
            testsupport::ScriptedBoxes boxes;
            if (c.box) boxes.expect(QString::fromUtf8(c.box), plat::IdOk);
            EXPECT_EQ(gvInitialize(), c.code);
        }
        EXPECT_EQ(StartupMessage(c.code), QString::fromUtf8(c.message));
        gvTerminate();
        EXPECT_EQ(pub.RegGet(QStringLiteral("HomeLat"), QString()), "12345");
        EXPECT_EQ(pub.RegGet(QStringLiteral("Language"), QString()), "2");
        // Only a start-up that read the settings writes them back whole.
        EXPECT_EQ(pub.RegGet(QStringLiteral("SaveInterval"), QString()), c.readSettings ? "15" : "");
    }
}

TEST(Startup, CreatesEveryObjectAndShutdownWritesTheirSettings) {
    ProgramFolder f;
    f.Install();
    // The X/Y engine ignores automatic choices it was left with.
    clsRegistry(QStringLiteral("XYPLOT")).RegPut(QStringLiteral("GridAuto"), QStringLiteral("True"));
    clsRegistry(QStringLiteral("XYPLOT")).RegPut(QStringLiteral("Scale"), QStringLiteral("2000000"));
    ASSERT_EQ(gvInitialize(), StartupOK);
    for (const void* p : {static_cast<const void*>(gvMapGraph), static_cast<const void*>(gvAccessory),
                          static_cast<const void*>(gvCruise), static_cast<const void*>(gvNativeColor),
                          static_cast<const void*>(gvMapUnitsLL), static_cast<const void*>(gvMapPlotLL),
                          static_cast<const void*>(gvMapUnitsXY), static_cast<const void*>(gvMapPlotXY),
                          static_cast<const void*>(gvCanvas), static_cast<const void*>(gvViewPicture),
                          static_cast<const void*>(gvProjector)})
        EXPECT_NE(p, nullptr);
    EXPECT_EQ(gvMapPlotLL->MapMode(), 1);
    EXPECT_EQ(gvMapPlotXY->MapMode(), 2);
    EXPECT_EQ(gvMapPlotXY->ProjectionIndex(), 0);
    EXPECT_EQ(gvMapPlotXY->MapScale(), 2000000.0) << "its own section";
    EXPECT_EQ(gvMapPlotXY->Grid().UnitMode(), 2);
    EXPECT_FALSE(gvMapPlotXY->ProjectionAuto);
    EXPECT_FALSE(gvMapPlotXY->GridAuto);
    EXPECT_EQ(gvMapUnitsLL->Count(), 1);
    EXPECT_EQ(gvMapUnitsXY->Count(), 1);
    gvMapPlotLL->setMapScale(3000000);
    gvCanvas->setViewArea(3);

    gvTerminate();
    for (const void* p : {static_cast<const void*>(gvMapGraph), static_cast<const void*>(gvAccessory),
                          static_cast<const void*>(gvCruise), static_cast<const void*>(gvMapPlotLL),
                          static_cast<const void*>(gvMapPlotXY), static_cast<const void*>(gvCanvas),
                          static_cast<const void*>(gvViewPicture), static_cast<const void*>(gvCanvasPicture),
                          static_cast<const void*>(gvProjector), static_cast<const void*>(gvMapUnitsLL)})
        EXPECT_EQ(p, nullptr);
    EXPECT_EQ(clsRegistry(QStringLiteral("LLPLOT")).RegGet(QStringLiteral("Scale"), {}), QStringLiteral("3000000"));
    EXPECT_EQ(clsRegistry(QStringLiteral("CANVAS")).RegGet(QStringLiteral("Area"), {}), QStringLiteral("3"));
    for (const char* section : {"ACCESSORY", "XYPLOT", "XYGRID", "LLGRID", "CRUISE05", "PROJECTOR", "PUBLIC"})
        EXPECT_TRUE(clsRegistry(QString::fromLatin1(section)).RegGetSec().has_value()) << section;
    EXPECT_EQ(clsRegistry(QStringLiteral("XYPLOT")).RegGet(QStringLiteral("GridAuto"), {}), QStringLiteral("False"));
    // A second shutdown, as after a fatal error during the first, finds nothing to do.
    gvTerminate();
}

TEST(Startup, MapFolderBesideTheProgramFolder) {
    ProgramFolder f;
    f.Install();
    QDir(f.path()).mkdir(QStringLiteral("BIN"));
    plat::SetAppPath(f.file(QStringLiteral("BIN")));
    ProgramFolder::CopyCruiseFiles(f.file(QStringLiteral("BIN")));
    testsupport::WriteBytes(f.file(QStringLiteral("BIN/Environment.txt")), "MapFolder=..\\maps\r\n");
    ASSERT_EQ(gvInitialize(), StartupOK);
    EXPECT_EQ(gvMapFolder, f.file(QStringLiteral("maps")));
}

TEST(Startup, AccessorsFollowTheMapMode) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    EXPECT_EQ(gvMapMode, 1);
    for (int32_t mode : {1, 2, 3, 0}) {
        gvMapMode = mode;
        clsMapUnits* expected = mode == 1 ? gvMapUnitsLL : mode == 2 ? gvMapUnitsXY : nullptr;
        EXPECT_EQ(CurrentMapUnits(), expected) << mode;
        EXPECT_EQ(ActiveMapUnit(), expected ? expected->Active() : nullptr);
        EXPECT_EQ(ActiveMap(), expected ? &expected->Active()->Map() : nullptr);
    }
}

TEST(Startup, StartMapFileFallsBackStepByStep) {
    ProgramFolder f;
    testsupport::TempDir elsewhere;
    testsupport::WriteBytes(elsewhere.file(QStringLiteral("MINE.MLL")), "x");
    testsupport::WriteBytes(f.map(QStringLiteral("INMAPS.MLL")), "x");
    testsupport::WriteBytes(f.map(QStringLiteral("CONF.MLL")), "x");
    gvMapFolder = f.file(QStringLiteral("maps"));
    struct Case {
        QString configured;   // "StartMapFile" of Environment.txt
        QString given;
        QString stored;
    } cases[] = {
        {"CONF.MLL", elsewhere.file("MINE.MLL"), elsewhere.file("MINE.MLL")},
        {"CONF.MLL", "C:\\old\\INMAPS.MLL", "INMAPS.MLL"},
        {"CONF.MLL", "/gone/NOWHERE.MLL", "CONF.MLL"},
        {"CONF.MLL", "", "CONF.MLL"},
        {"MISSING.MLL", "/gone/NOWHERE.MLL", "WORLD_T3.MLL"},
        {"", "", "WORLD_T3.MLL"},
    };
    for (const Case& c : cases) {
        gvEnvironment = new clsEnvironment();
        gvEnvironment->LoadLines({QStringLiteral("StartMapFile=") + c.configured});
        SetGvStartMapFile(c.given);
        EXPECT_EQ(gvStartMapFile, c.stored) << c.given.toStdString();
        delete std::exchange(gvEnvironment, nullptr);
    }
}

TEST(Shutdown, AVeryLargeUnitSetStaysForTheProcessToEnd) {
    for (int32_t total : {kKeepUnitsFigureCount - 1, kKeepUnitsFigureCount}) {
        ProgramFolder f;
        f.Install();
        ASSERT_EQ(gvInitialize(), StartupOK);
        ASSERT_TRUE(gvMapUnitsLL->AddNew(f.map(QStringLiteral("BIG.MLL"))));
        int32_t count = 0;
        for (const MapUnitPtr& u : *gvMapUnitsLL) count += u->Map().Count();
        clsMap& big = gvMapUnitsLL->Active()->Map();
        for (; count < total; ++count) ASSERT_TRUE(big.Add(NewMapRem(QStringLiteral("r"))));
        gvTerminate();
        EXPECT_EQ(gvMapUnitsLL != nullptr, total >= kKeepUnitsFigureCount) << total;
    }
}
