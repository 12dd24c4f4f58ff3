// The main window's logic over the started application state: the plot
// driver with a fake engine, the caption, the scroll steps, the keys, the
// start mode, the close question and the fatal road.
#include <gtest/gtest.h>

#include <QDir>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cerrno>

#include "AppTestSupport.h"
#include "MainLogicTestSupport.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "FileOpenSave.h"
#include "Help.h"
#include "HelpWindow.h"
#include "MainPlotRoutines.h"
#include "MainWindowLogic.h"
#include "StartupChecks.h"
#include "basFileNames.h"
#include "basHMapCoord.h"
#include "clsCanvas.h"
#include "clsCruise05.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"
#include "clsMapRem.h"

namespace {

using apptest::FakeView;
using apptest::MainLogic;

TEST_F(MainLogic, PlotDriverReportsEachResultOfTheEngine) {
    struct Case {
        int16_t engine;
        int units;   // latitude/longitude units in the set
        const char* status;
    } cases[] = {
        {0, 2, ""},
        {1, 2, "地図描画は中断されました."},
        {2, 2, "地図描画でエラー発生."},
        {7, 2, "地図描画で原因不明のエラー発生."},
        {0, 1, "地図ファイルを開きましょう."},
        {1, 1, "地図ファイルを開きましょう."},
    };
    addUnit(folder_.map(QStringLiteral("USER.MLL")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.engine);
        while (gvMapUnitsLL->Count() > c.units) gvMapUnitsLL->Remove(gvMapUnitsLL->Count());
        bool lockedDuringPlot = false;
        logic_.Plotter = [&](plat::HDC hdc, int32_t, int32_t, int32_t w, int32_t h,
                             const std::function<void(int16_t)>& progress) {
            lockedDuringPlot = view_.last.Locked && logic_.PlottingEi;
            EXPECT_NE(hdc, nullptr);
            EXPECT_EQ(w, gvCanvas->CanvasWidth());
            EXPECT_EQ(h, gvCanvas->CanvasHeight());
            // A second request while the plot runs is refused.
            EXPECT_EQ(logic_.PlotWindow(), 1);
            EXPECT_EQ(logic_.PlotMap(hdc, 96, 96, w, h), PlotNoSurface);
            progress(1);
            return c.engine;
        };
        const int plotted = view_.plotted;
        EXPECT_EQ(logic_.PlotWindow(), c.engine);
        EXPECT_EQ(view_.plotted, plotted + 1) << "the overlay follows every plot";
        EXPECT_TRUE(lockedDuringPlot);
        EXPECT_FALSE(view_.last.Locked);
        EXPECT_FALSE(logic_.PlottingEi);
        EXPECT_EQ(view_.last.Panels[0], QString::fromUtf8(c.status));
        EXPECT_EQ(view_.last.Panels[1], QStringLiteral("1/") + FormatStandardInt(gvMapPlotLL->MapScale()));
        EXPECT_TRUE(view_.last.Panels[2].startsWith(QStringLiteral("C:")));
    }
    logic_.InitializingEi = true;
    EXPECT_EQ(logic_.PlotWindow(), 1) << "nothing while the window is laid out";
}

TEST_F(MainLogic, ProgressMarksThePhasesAndRepaintsFromTheThird) {
    std::vector<QString> texts;
    std::vector<int> repaints;
    logic_.Plotter = [&](plat::HDC, int32_t, int32_t, int32_t, int32_t, const std::function<void(int16_t)>& progress) {
        for (int16_t phase : {0, 2, 3, 9}) {
            const int before = view_.repaints;
            progress(phase);
            texts.push_back(view_.last.Panels[0]);
            repaints.push_back(view_.repaints - before);
        }
        return int16_t(0);
    };
    logic_.PlotWindow();
    EXPECT_EQ(texts, (std::vector<QString>{QStringLiteral("地図描画中... ooooooooo"), QStringLiteral("地図描画中... **ooooooo"),
                                           QStringLiteral("地図描画中... ***oooooo"), QStringLiteral("地図描画中... *********")}));
    EXPECT_EQ(repaints, (std::vector<int>{0, 0, 1, 1}));
}

TEST_F(MainLogic, EscDuringAPlotCancelsItAndLeavesTheModes) {
    logic_.Plotter = [&](plat::HDC, int32_t, int32_t, int32_t, int32_t, const std::function<void(int16_t)>&) {
        EXPECT_TRUE(logic_.KeyDown(27));
        EXPECT_FALSE(logic_.KeyDown(37)) << "no scrolling while plotting";
        return int16_t(gvMapPlotLL->Cancel ? 1 : 0);
    };
    EXPECT_EQ(logic_.PlotWindow(), 1);
    EXPECT_EQ(view_.leaves, 0) << "the modes stay while Esc stops a plot";
    EXPECT_EQ(view_.last.Panels[0], QStringLiteral("地図ファイルを開きましょう."));
    EXPECT_TRUE(logic_.KeyDown(27));
    EXPECT_EQ(view_.leaves, 1) << "Esc without a plot leaves the modes";
    EXPECT_FALSE(logic_.KeyDown(107)) << "the keypad zoom is the view control's";
}

// A command given during a plot (the engine refuses every change while it
// draws) waits for the plot's end, also behind a command under way and its
// dialog's event loop; the stopped map is drawn again unless a command drew.
TEST_F(MainLogic, CommandsGivenDuringAPlotRunAfterItInTheirOrder) {
    QStringList log;
    std::function<void()> user;   // what the user does while the engine draws
    logic_.Plotter = [&](plat::HDC, int32_t, int32_t, int32_t, int32_t, const std::function<void(int16_t)>&) {
        if (auto act = std::exchange(user, {})) act();
        const bool stopped = std::exchange(gvMapPlotLL->Cancel, false);
        log << (stopped ? "stopped" : "drawn");
        return int16_t(stopped ? PlotCancelled : PlotDone);
    };
    auto command = [&](QString name, std::function<void()> body = {}) {
        logic_.RunCommand([&log, name, body] {
            log << name;
            if (body) body();
        });
    };
    user = [&] {
        command("first", [&] {
            user = [&] { command("second"); };
            logic_.PlotWindow();
            view_.RunPosted();
            log << "first ends";
        });
        command("third");
    };
    logic_.PlotWindow();
    view_.RunPosted();
    EXPECT_EQ(log, (QStringList{"stopped", "first", "stopped", "first ends", "third", "second", "drawn"}));
    for (bool draws : {true, false}) {
        log.clear();
        user = [&] { command("dialog", [&] { if (draws) logic_.PlotWindow(); }); };
        logic_.PlotWindow();
        view_.RunPosted();
        EXPECT_EQ(log, (QStringList{"stopped", "dialog", "drawn"})) << draws;
    }
}

TEST(MainCaption, FlagsAndShortening) {
    const QString path = QStringLiteral("C:\\maps\\world\\asia\\japan\\JAPAN_A7.MLL");
    struct Case {
        bool modified, locked;
        double width;
        const char* expected;
    } cases[] = {
        {false, false, 100000, "KALDERO - C:\\maps\\world\\asia\\japan\\JAPAN_A7.MLL - [正距円筒図法]"},
        {true, true, 100000, "KALDERO - C:\\maps\\world\\asia\\japan\\JAPAN_A7.MLL - [正距円筒図法, 更新]"},
        {false, true, 100000, "KALDERO - C:\\maps\\world\\asia\\japan\\JAPAN_A7.MLL - [正距円筒図法, 変更禁止]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MainCaption(QStringLiteral("KALDERO"), path, QStringLiteral("正距円筒図法"), c.modified, c.locked,
                              c.width, 12),
                  QString::fromUtf8(c.expected));
    // A narrow window shortens the path from the front folders on.
    const QString narrow = MainCaption(QStringLiteral("KALDERO"), path, QStringLiteral("正距円筒図法"), false, false,
                                       2000 + 10 * 12 * 45, 12);
    EXPECT_LT(narrow.size(), MainCaption(QStringLiteral("KALDERO"), path, QStringLiteral("正距円筒図法"), false,
                                         false, 100000, 12)
                                 .size());
    EXPECT_TRUE(narrow.contains(QStringLiteral("JAPAN_A7.MLL"))) << narrow.toStdString();
    EXPECT_TRUE(narrow.contains(QStringLiteral("..."))) << narrow.toStdString();
}

TEST_F(MainLogic, ScrollBarsFollowTheEngineAndMoveIt) {
    logic_.Plotter = [](plat::HDC, int32_t, int32_t, int32_t, int32_t, const std::function<void(int16_t)>&) {
        return int16_t(0);
    };
    EXPECT_EQ(view_.last.Horizontal.Min, -10800);
    EXPECT_EQ(view_.last.Vertical.Min, 5400);
    EXPECT_EQ(view_.last.Vertical.Max, -5400);
    gvMapPlotLL->setCenterX(10700 * 60);
    gvMapPlotLL->setCenterY(30 * 3600);
    logic_.SetViewControllByEngine();
    EXPECT_FALSE(logic_.InitializingEi);
    EXPECT_EQ(view_.last.Horizontal.Value, 10700);
    EXPECT_EQ(view_.last.Vertical.Value, 1800);
    EXPECT_EQ(view_.last.ScaleLevel, LevelOfScale(gvMapPlotLL->MapScale()));
    logic_.PlotWindow();
    // East past the 180th meridian goes on from the west.
    const int32_t large = logic_.state().Horizontal.LargeChange;
    EXPECT_TRUE(logic_.KeyDown(39));
    ASSERT_EQ(view_.scrolled.size(), 1u);
    EXPECT_EQ(view_.scrolled[0], std::make_pair(false, WrapRange(10700 + large, -10800, 10799)));
    // North stops at the top of the bar: no step asked past it.
    for (int i = 0; i < 100; ++i) logic_.KeyDown(38);
    EXPECT_EQ(logic_.state().Vertical.Value, 5400);
    EXPECT_LT(view_.scrolled.size(), 100u);
    // West in X/Y stops at the bar's end instead of wrapping.
    gvMapMode = 2;
    logic_.SetScrollRange();
    logic_.KeepScrollValue(false, logic_.state().Horizontal.Min + 1);
    view_.scrolled.clear();
    logic_.ScrollStep(0);
    logic_.ScrollStep(0);
    EXPECT_EQ(view_.scrolled, (std::vector<std::pair<bool, int32_t>>{{false, logic_.state().Horizontal.Min}}));
    gvMapMode = 1;
    logic_.SetScrollRange();

    // X/Y mode: the whole plane within 16 bits.
    gvMapMode = 2;
    logic_.SetScrollRange();
    EXPECT_LE(view_.last.Horizontal.Max, 32767);
    EXPECT_GE(view_.last.Horizontal.Max, 32000);
}

TEST_F(MainLogic, PointerReadoutOutsideTheMapAndAfterTheMapModeChanged) {
    logic_.ShowCursorPos(false, 0, 0);
    EXPECT_EQ(view_.last.Panels[3], QStringLiteral("P:********, ********"));
    // A position read in X/Y mode is not kept once the view is back in
    // latitude/longitude; one of the same mode is.
    gvMapMode = 2;
    logic_.ShowCursorPos(true, 201000, -4827000);
    EXPECT_TRUE(view_.last.Panels[3].contains(QStringLiteral("km"))) << view_.last.Panels[3].toStdString();
    logic_.PlotWindow();
    EXPECT_FALSE(view_.last.Panels[3].isEmpty());
    gvMapMode = 1;
    logic_.PlotWindow();
    EXPECT_EQ(view_.last.Panels[3], QString());
}

TEST_F(MainLogic, StartModeRunsOnlyWithTheBaseUnit) {
    folder_.CopyMap(QStringLiteral("WORLD_T3.MLL"));
    folder_.CopyMap(QStringLiteral("WORLD_T3.ADM"));
    folder_.CopyMap(QStringLiteral("WORLD_T3.THG"));
    gvStartMapType = 2;
    gvStartMapFile = QStringLiteral("WORLD_T3.MLL");
    std::vector<QString> opened;
    logic_.Plotter = [](plat::HDC, int32_t, int32_t, int32_t, int32_t, const std::function<void(int16_t)>&) {
        return int16_t(0);
    };
    // The window's part of the file dispatch: its layout and redraw.
    mainform::FileHost host;
    host.AfterLoad = [this] { logic_.AfterLoad(); };
    host.PlotWindow = [this] { logic_.PlotWindow(); };
    const mainform::FileHost previous = mainform::SetFileHost(host);
    logic_.LoadFile = [&](const QString& path) {
        opened.push_back(path);
        return path.endsWith(QLatin1String(".MXY")) ? false : mainform::LoadFile(path);
    };
    // An X/Y file leaves the latitude/longitude set at its base: the start
    // map follows, its load and its first plot timed apart.
    std::vector<std::string> steps;
    logic_.Plotter = [&](plat::HDC, int32_t, int32_t, int32_t, int32_t, const std::function<void(int16_t)>&) {
        steps.emplace_back("plot");
        return int16_t(0);
    };
    logic_.StartupStage = [&](const char* stage) { steps.emplace_back(stage); };
    gvCruise->EiAuto = false;
    logic_.OpenFirstFile({QStringLiteral("plan.MXY")});
    EXPECT_EQ(opened, (std::vector<QString>{QStringLiteral("plan.MXY"), QStringLiteral("WORLD_T3.MLL")}));
    EXPECT_EQ(steps, (std::vector<std::string>{"load units", "plot", "first plot"}));
    logic_.StartupStage = {};
    EXPECT_EQ(gvMapUnitsLL->Count(), 2);
    EXPECT_EQ(view_.last.Panels[0], QString()) << "the world map is drawn";

    // A latitude/longitude file: no start mode, no automatic cruise.
    opened.clear();
    gvCruise->EiAuto = true;
    {
        // The file's plot still cruises, for standard maps this folder lacks.
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("必要な地図ファイルを揃えられません."), plat::IdOk);
        logic_.OpenFirstFile({folder_.map(QStringLiteral("WORLD_T3.MLL"))});
    }
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_FALSE(gvCruise->EiAuto);
    // No file and start mode 0: nothing opens.
    opened.clear();
    gvMapUnitsLL->Remove(2);
    gvStartMapType = 0;
    logic_.OpenFirstFile({});
    EXPECT_TRUE(opened.empty());
    mainform::SetFileHost(previous);
}

TEST_F(MainLogic, CloseQuestionNoLeavesEverythingYesSavesAndWritesLast) {
    const QString path = folder_.map(QStringLiteral("USER.MLL"));
    MapUnitPtr unit = addUnit(path);
    ASSERT_TRUE(unit->Modify());
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("KALDERO アプリケーションを終了しますか ?"), plat::IdNo);
        EXPECT_FALSE(logic_.QueryUnload());
    }
    EXPECT_TRUE(unit->Modify());
    EXPECT_FALSE(QFile::exists(GetLogLast()));
    EXPECT_FALSE(QFile::exists(path));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("アプリケーションを終了しますか"), plat::IdYes);
        boxes.expect(QStringLiteral("には修正されたデータがあります."), plat::IdYes);
        EXPECT_TRUE(logic_.QueryUnload());
    }
    EXPECT_FALSE(unit->Modify());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(GetLogLast()));
    ASSERT_TRUE(plat::ShowHelpContents());
    EXPECT_FALSE(logic_.Unload()) << "nothing stays";
    EXPECT_EQ(plat::HelpWindow::Current(), nullptr) << "the help window closes with the program";
    EXPECT_EQ(gvMapUnitsLL, nullptr);
}

TEST_F(MainLogic, FatalErrorWritesTheReportAndErrorSnapshotAndKeepsTheMapFile) {
    const QString path = folder_.map(QStringLiteral("USER.MLL"));
    testsupport::WriteBytes(path, "previous");
    MapUnitPtr unit = addUnit(path);
    SetWindupHook([this] { logic_.WindupError(); });
    bool ended = false;
    SetProgramEndHook([&] { ended = true; });
    ASSERT_TRUE(plat::ShowHelpContents());
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("*Description=forced"), plat::IdOk);
        boxes.expect(QStringLiteral("には修正されたデータがあります."), plat::IdNo);
        StopOnFatalError(AppError(ErrFormUnload, QStringLiteral("frmMain.Test"), QStringLiteral("forced")),
                         QStringLiteral("by StopError"));
    }
    SetWindupHook({});
    SetProgramEndHook({});
    EXPECT_TRUE(ended);
    EXPECT_EQ(plat::HelpWindow::Current(), nullptr) << "the help window closes with the fatal stop";
    EXPECT_EQ(testsupport::ReadBytes(path), "previous");
    EXPECT_TRUE(QFile::exists(GetLogError()));
    EXPECT_FALSE(QDir(folder_.path()).entryList({QStringLiteral("ErrorStop*.TXT")}).isEmpty());
    EXPECT_EQ(gvMapUnitsLL, nullptr) << "released";

    // A file error asks nothing and writes no snapshot.
    QFile::remove(GetLogError());
    ASSERT_TRUE(logic_.Load());
    addUnit(path);
    SetWindupHook([this] { logic_.WindupError(); });
    SetProgramEndHook([] {});
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("*Code=53"), plat::IdOk);
        StopOnFatalError(AppError(53, QStringLiteral("x"), QStringLiteral("missing")), QString());
    }
    SetWindupHook({});
    SetProgramEndHook({});
    EXPECT_FALSE(QFile::exists(GetLogError()));
}

TEST(StartupFailure, WindupAfterAFailedStartTouchesNoSets) {
    apptest::ProgramFolder folder;
    folder.Install();
    QFile::remove(folder.map(QStringLiteral("BASE.MXY")));
    FakeView view;
    MainWindowLogic logic(view);
    QDir(folder.path()).mkdir(QStringLiteral("help"));
    testsupport::WriteBytes(folder.file(QStringLiteral("help/index.html")), "<html></html>");
    SetWindupHook([&] { logic.WindupError(); });
    bool ended = false;
    SetProgramEndHook([&] { ended = true; });
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk);
        boxes.expect(QStringLiteral("ＸＹ地図ベースユニットを確立できませんでした."), plat::IdOk);
        EXPECT_FALSE(logic.Load());
    }
    SetWindupHook({});
    SetProgramEndHook({});
    EXPECT_TRUE(ended);
    EXPECT_EQ(gvMapUnitsLL, nullptr);
    EXPECT_EQ(gvMapUnitsXY, nullptr);
    EXPECT_FALSE(QFile::exists(GetLogError())) << "no snapshot of a state that never was";
}

TEST(StartupFailure, AnEnvironmentOrSettingsFileThatDoesNotReadEndsInOrderNamingIt) {
    for (const bool settings : {false, true}) {
        SCOPED_TRACE(settings ? "KALDERO.ini a folder" : "Environment.txt unreadable, retry declined");
        apptest::ProgramFolder folder;
        folder.Install();
        QDir(folder.path()).mkdir(QStringLiteral("help"));
        testsupport::WriteBytes(folder.file(QStringLiteral("help/index.html")), "<html></html>");
        const QString file = settings ? plat::SettingsStore::Folder() + QStringLiteral("/KALDERO.ini")
                                      : folder.file(QStringLiteral("Environment.txt"));
        if (settings) ASSERT_TRUE(QDir().mkpath(file));
        // Root reads every file: the denial comes from the test hook.
        else plat::ReadOnlyFile::FailNextOpenWith(EACCES);
        FakeView view;
        MainWindowLogic logic(view);
        SetWindupHook([&] { logic.WindupError(); });
        bool ended = false;
        SetProgramEndHook([&] { ended = true; });
        {
            testsupport::ScriptedBoxes boxes;
            if (!settings) boxes.expect(QStringLiteral("読み取りが禁止されています."), plat::IdNo);
            boxes.expect(QStringLiteral("*Description=パブリックインスタンスを生成できませんでした．/"), plat::IdOk);
            EXPECT_FALSE(logic.Load());
            EXPECT_TRUE(boxes.shown().back().text.contains(file)) << boxes.shown().back().text.toStdString();
        }
        SetWindupHook({});
        SetProgramEndHook({});
        EXPECT_TRUE(ended);
    }
}

TEST(StartupChecks, HelpRuntimeAndShiftJis) {
    apptest::ProgramFolder folder;
    EXPECT_EQ(MissingHelpMessage(), QStringLiteral("ヘルプファイル ") + folder.file(QStringLiteral("help/index.html")) +
                                        QStringLiteral(" が見つかりません."));
    QDir(folder.path()).mkdir(QStringLiteral("help"));
    testsupport::WriteBytes(folder.file(QStringLiteral("help/index.html")), "<html></html>");
    EXPECT_EQ(MissingHelpMessage(), QString());
    EXPECT_TRUE(ShiftJisWorks());

    WriteRuntimeReport(folder.path(), {});
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Runtime.txt"))));
    WriteRuntimeReport(folder.path(), {QStringLiteral("Japanese font")});
    const QStringList lines =
        plat::DecodeCp932(testsupport::ReadBytes(folder.file(QStringLiteral("Runtime.txt")))).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[1], QStringLiteral("作者サイトより「ランタイムセット」を入手してください."));
    EXPECT_EQ(lines[2], QStringLiteral("Japanese font"));
}

} // namespace

namespace {

TEST_F(MainLogic, HomeAndLanguageRedrawTheCurrentEngine) {
    int plots = 0;
    logic_.Plotter = [&](plat::HDC, int32_t, int32_t, int32_t, int32_t, const std::function<void(int16_t)>&) {
        ++plots;
        return int16_t(0);
    };
    gvHomeLon = 135 * 3600, gvHomeLat = 35 * 3600, gvHomeScaleLL = 5e6;
    gvHomeX = 1000, gvHomeY = -2000, gvHomeScaleXY = 2e6;
    for (const int mode : {1, 2}) {
        SCOPED_TRACE(mode);
        gvMapMode = mode;
        clsMapPlot* plot = CurrentMapPlot();
        ASSERT_NE(plot, nullptr);
        plot->setCenterX(0), plot->setCenterY(0), plot->setMapScale(1e7);
        const int before = plots;
        logic_.mnuHome_Click();
        EXPECT_EQ(plot->CenterX(), mode == 1 ? gvHomeLon : gvHomeX);
        EXPECT_EQ(plot->CenterY(), mode == 1 ? gvHomeLat : gvHomeY);
        EXPECT_DOUBLE_EQ(plot->MapScale(), mode == 1 ? gvHomeScaleLL : gvHomeScaleXY);
        EXPECT_EQ(plots, before + 1);
    }
    gvMapMode = 1;
    for (const int32_t language : {1, 2}) {
        const int before = plots;
        logic_.mnuLanguageItem_Click(language);
        EXPECT_EQ(gvLanguage, language);
        EXPECT_EQ(plots, before + 1);
    }
}

TEST_F(MainLogic, MapCopyPutsTheCanvasOnTheClipboardWithItsSnapshot) {
    QFile::remove(GetLogClip());
    logic_.mnuMapCopy_Click();
    const QImage clip = QGuiApplication::clipboard()->image();
    EXPECT_EQ(clip.size(), QSize(gvCanvas->CanvasWidth(), gvCanvas->CanvasHeight()));
    EXPECT_TRUE(QFile::exists(GetLogClip()));
    EXPECT_EQ(view_.last.Panels[0], QStringLiteral("クリップボードへ出力しました."));
}

} // namespace
