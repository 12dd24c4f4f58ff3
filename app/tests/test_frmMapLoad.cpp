// The load and save dialogs of a map unit: what each frame shows, a map
// found nowhere, the snapshot after a save, pictures mid-work, and a save
// killed halfway.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <csignal>

#include "DialogPlayer.h"
#include "AppTestSupport.h"
#include "MapUnitProgress.h"
#include "basHMap.h"
#include "clsMap.h"
#include "frmMapLoad.h"

using apptest::ProgramFolder;
using F = MapUnitProgress;

namespace {

// The installed start map (about 1.5 MB) in the map folder.
struct WorldFolder : ProgramFolder {
    WorldFolder() {
        Install();
        for (const char* n : {"WORLD_T3.MLL", "WORLD_T3.ADM", "WORLD_T3.THG"}) CopyMap(QString::fromLatin1(n));
        gvMapFolder = file(QStringLiteral("maps"));
    }
    MapUnitPtr unit(const QString& name = QStringLiteral("WORLD_T3.MLL")) const {
        auto u = std::make_shared<clsMapUnit>();
        u->setUnitName(map(name));
        return u;
    }
};

// Takes one picture once the bar has passed half way.
std::function<void(MapUnitIoDialog&)> pictureAtHalf(const QString& name, bool& taken) {
    return [name, &taken](MapUnitIoDialog& d) {
        if (taken || !d.progress().ProgressVisible() || d.progress().ProgressValue() < 50) return;
        taken = true;
        testsupport::SaveWidgetPng(&d, name);
    };
}

// Each frame as "file name: state".
QStringList framesOf(const MapUnitProgress& p) {
    QStringList out;
    for (int fr = 0; fr < MapUnitProgress::kFrames; ++fr)
        out.append(FileNameOf(p.Path(F::Frame(fr))) + QStringLiteral(": ") + p.Info(F::Frame(fr)));
    return out;
}

} // namespace

TEST(MapLoadDialog, LoadsTheThreeFilesShowingTheMapProgress) {
    WorldFolder f;
    const MapUnitPtr u = f.unit();
    frmMapLoad dlg(*u);
    bool taken = false;
    dlg.AfterChange = pictureAtHalf(QStringLiteral("loading"), taken);
    EXPECT_TRUE(dlg.Run());
    EXPECT_TRUE(taken);
    EXPECT_GT(u->Map().Count(), 1000);
    const MapUnitProgress& p = dlg.progress();
    EXPECT_EQ(framesOf(p), QStringList({"WORLD_T3.ADM: Success.", "WORLD_T3.THG: Success.", "WORLD_T3.MLL: Success.",
                                        "---: ---"}));
    EXPECT_EQ(p.Path(F::FrameFigures), f.map(QStringLiteral("WORLD_T3.MLL")));
    EXPECT_FALSE(p.ProgressVisible());
    EXPECT_EQ(p.ProgressValue(), 100);
    EXPECT_TRUE(p.DisplayPath(F::FrameFigures).size() <= MapUnitProgress::kPathChars);
}

TEST(MapLoadDialog, MapFoundNowhere) {
    WorldFolder f;
    // A map found nowhere: the catalogues fall back to the defaults, the map
    // is emptied and its load fails.
    const MapUnitPtr missing = f.unit(QStringLiteral("NOWHERE.MLL"));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk);
    frmMapLoad dlg(*missing);
    EXPECT_FALSE(dlg.Run());
    EXPECT_EQ(missing->Map().Count(), 0);
    EXPECT_EQ(missing->Map().FileName(), f.map(QStringLiteral("NOWHERE.MLL")));
    EXPECT_EQ(framesOf(dlg.progress()), QStringList({"DEFAULT.ADM: Success.", "DEFAULT.THG: Success.",
                                                     "NOWHERE.MLL: Loading...", "---: ---"}));
    EXPECT_FALSE(dlg.progress().ProgressVisible());
}

TEST(MapLoadDialog, InstalledForTheMapUnits) {
    WorldFolder f;
    const MapUnitPtr u = f.unit(QStringLiteral("BASE.MLL"));
    InstallMapUnitDialogs(nullptr);
    QString shown;
    // The window only shows progress: it is read while the load pumps.
    testsupport::WhenModal<QDialog>([&](QDialog& d) { shown = d.windowTitle(); }, {.inPumps = true});
    EXPECT_TRUE(u->Load());
    RemoveMapUnitDialogs();
    EXPECT_EQ(shown, "地図ファイルを開く");
}

TEST(MapSaveDialog, WritesOnlyWhatChangedThenTheSnapshot) {
    WorldFolder f;
    SetWriteLogHook(WriteMapUnitLog);
    const MapUnitPtr u = f.unit();
    ASSERT_TRUE(u->Load());
    u->Things().setModify(true);
    frmMapSave dlg(*u, f.map(QStringLiteral("WORLD_T3.MLL")));
    EXPECT_EQ(dlg.LogFile(), f.map(QStringLiteral("WORLD_T3.PLG")));
    EXPECT_TRUE(dlg.Run());
    SetWriteLogHook({});
    testsupport::SaveWidgetPng(&dlg, QStringLiteral("done"));
    EXPECT_EQ(framesOf(dlg.progress()),
              QStringList({"---: ---", "WORLD_T3.THG: Success.", "---: ---", "WORLD_T3.PLG: Success."}));
    EXPECT_TRUE(QFile::exists(f.map(QStringLiteral("WORLD_T3.PLG"))));
    EXPECT_FALSE(u->Things().Modify());
}

TEST(MapSaveDialog, SaveKilledHalfwayLeavesThePreviousFilesLoadable) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WorldFolder f;
    const MapUnitPtr u = f.unit();
    ASSERT_TRUE(u->Load());
    const int32_t figures = u->Map().Count();
    const QByteArray before = testsupport::ReadBytes(u->UnitName());
    ASSERT_TRUE(u->Map().Add(NewMapRem(QStringLiteral("added"))));
    ASSERT_EXIT(
        {
            frmMapSave dlg(*u, QString());
            bool taken = false;
            dlg.AfterChange = [&](MapUnitIoDialog& d) {
                pictureAtHalf(QStringLiteral("saving"), taken)(d);
                if (taken) std::raise(SIGKILL);
            };
            dlg.exec();
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(testsupport::ReadBytes(u->UnitName()), before);
    const MapUnitPtr again = f.unit();
    ASSERT_TRUE(again->Load());
    EXPECT_EQ(again->Map().Count(), figures);
}
