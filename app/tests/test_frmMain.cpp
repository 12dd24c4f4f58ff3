// The main window over the installed program: the start on the world map,
// the smallest size, Esc during a real plot, and the close question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSlider>

#include "AppTestSupport.h"
#include "ErrorMng.h"
#include "MainPlotRoutines.h"
#include "basFileNames.h"
#include "clsMapPlot.h"
#include "basGlobe.h"
#include "frmMain.h"
#include "frmMapLoad.h"
#include "Screen.h"

namespace {

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        folder_.Install();
        for (const char* n : {"WORLD_T3.MLL", "WORLD_T3.ADM", "WORLD_T3.THG"}) folder_.CopyMap(QString::fromLatin1(n));
        QDir(folder_.path()).mkdir(QStringLiteral("help"));
        testsupport::WriteBytes(folder_.file(QStringLiteral("help/index.html")), "<html></html>");
        SetProgramEndHook([] {});
    }
    ~MainWindow() override {
        SetProgramEndHook({});
        RemoveMapUnitDialogs();
    }
    apptest::ProgramFolder folder_;
};

TEST_F(MainWindow, StartsOnTheWorldMapStopsWithEscAndAsksBeforeClosing) {
    frmMain window;
    ASSERT_TRUE(window.Start({}));
    ASSERT_NE(gvMapUnitsLL, nullptr);
    EXPECT_EQ(gvMapUnitsLL->Count(), 2) << "base and start map";
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("KALDERO - "))) << window.windowTitle().toStdString();
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("WORLD_T3"))) << window.windowTitle().toStdString();
    EXPECT_EQ(window.stbPanels[0]->text(), QString());
    EXPECT_TRUE(window.stbPanels[1]->text().startsWith(QStringLiteral("1/")));
    EXPECT_TRUE(window.stbPanels[2]->text().startsWith(QStringLiteral("C:")));
    EXPECT_EQ(window.hsbView->minimum(), -10800);
    EXPECT_EQ(window.hsbView->maximum(), 10800);
    EXPECT_EQ(window.sliScale->value(), LevelOfScale(gvMapPlotLL->MapScale()));
    EXPECT_TRUE(window.sliScale->isEnabled());
    testsupport::SaveWidgetPng(&window, QStringLiteral("start"));

    // Never smaller than its minimum.
    window.resize(100, 100);
    QApplication::processEvents();
    EXPECT_GE(window.width(), window.minimumWidth());
    EXPECT_EQ(window.minimumWidth(), int(6525 / plat::TwipsPerPixelX()));
    QApplication::processEvents();
    testsupport::SaveWidgetPng(&window, QStringLiteral("small"));
    window.resize(900, 640);
    QApplication::processEvents();

    // Esc while the engine draws: the key is served between its figures.
    const MapPlotter plot = window.logic().Plotter;
    bool lockedDuringPlot = false;
    window.logic().Plotter = [&](plat::HDC hdc, int32_t dx, int32_t dy, int32_t w, int32_t h,
                                 const std::function<void(int16_t)>& progress) {
        lockedDuringPlot = !window.sliScale->isEnabled() && !window.mnuFile->menuAction()->isEnabled();
        QCoreApplication::postEvent(window.focusWidget() ? window.focusWidget() : &window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        return plot(hdc, dx, dy, w, h, progress);
    };
    EXPECT_EQ(window.logic().PlotWindow(), PlotCancelled);
    EXPECT_TRUE(lockedDuringPlot);
    EXPECT_EQ(window.stbPanels[0]->text(), QStringLiteral("地図描画は中断されました."));
    EXPECT_TRUE(window.sliScale->isEnabled());
    testsupport::SaveWidgetPng(&window, QStringLiteral("stopped"));
    window.logic().Plotter = plot;

    // No keeps the window and writes nothing; Yes writes LAST and releases.
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("KALDERO アプリケーションを終了しますか ?"), plat::IdNo);
        EXPECT_FALSE(window.close());
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(QFile::exists(GetLogLast()));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("アプリケーションを終了しますか"), plat::IdYes);
        EXPECT_TRUE(window.close());
    }
    EXPECT_TRUE(QFile::exists(GetLogLast()));
    EXPECT_EQ(gvMapUnitsLL, nullptr);
}

} // namespace
