// The map information dialog over the active map: what it shows, where it
// first opens beside the main window, that it stays on the screen, and
// that it lets go of the map when it closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

#include "DialogPlayer.h"
#include "AppTestSupport.h"
#include "HelpPages.h"
#include "MainPlotRoutines.h"
#include "Screen.h"
#include "basHMap.h"
#include "clsMap.h"
#include "frmMapInfo.h"

namespace {

// Closes the next modal dialog with its OK button once it shows, after
// letting the test look at it.
void closeWhenShown(const std::function<void(frmMapInfo&)>& look) {
    testsupport::WhenModal<frmMapInfo>([look](frmMapInfo& dlg) {
        look(dlg);
        dlg.closeOK();
    });
}

TEST(MapInformation, ShowsTheActiveMapBesideTheMainWindow) {
    apptest::ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    clsMap* map = ActiveMap();
    ASSERT_NE(map, nullptr);
    map->Add(NewMapRem(QStringLiteral("# 収録項目　　　　：海岸線、国境")));
    map->Add(NewMapRem(QStringLiteral("ただの注釈")));

    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 640, 480);
    mainWindow.show();
    frmMapInfo::Remembered() = plat::DialogPosition();
    bool looked = false;
    closeWhenShown([&](frmMapInfo& dlg) {
        looked = true;
        EXPECT_EQ(dlg.map(), map);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("地図情報"));
        EXPECT_TRUE(dlg.lblPass()->text().endsWith(QStringLiteral("BASE.MLL"))) << dlg.lblPass()->text().toStdString();
        EXPECT_EQ(dlg.lblVersion()->text(), QStringLiteral("map version : 1.06"));
        EXPECT_TRUE(dlg.txtInfo()->toPlainText().endsWith(QStringLiteral("収録項目　　　　：海岸線、国境\n")));
        EXPECT_FALSE(dlg.txtInfo()->toPlainText().contains(QStringLiteral("ただの注釈")));
        testsupport::SaveWidgetPng(&dlg);
        // The whole screen as a person sees it (under xvfb-run with the xcb platform).
        QGuiApplication::primaryScreen()->grabWindow(0).save(testsupport::OutputFolder() +
                                                             QStringLiteral("/MapInformation-screen.png"));
    });
    mnuMapInfo(&mainWindow);
    EXPECT_TRUE(looked);
    // First opening: the main window's corner plus 600 twips each way.
    const plat::DialogPosition p = frmMapInfo::Remembered();
    EXPECT_NEAR(p.left, plat::WindowLeftTwips(&mainWindow) + 600, 2 * plat::TwipsPerPixelX());
    EXPECT_NEAR(p.top, plat::WindowTopTwips(&mainWindow) + 600, 2 * plat::TwipsPerPixelY());
}

TEST(MapInformation, ReopensOnTheScreenAndLetsGoOfTheMap) {
    clsMap map;
    map.setFileName(QStringLiteral("/tmp/THE_MAP.MLL"));
    frmMapInfo::Remembered() = plat::DialogPosition{1000000, 1000000};
    frmMapInfo dlg;
    dlg.setMap(&map);
    dlg.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_TRUE(screen.contains(dlg.frameGeometry())) << "moved back inside the screen";
    EXPECT_EQ(dlg.lblPass()->text(), QStringLiteral("/tmp/THE_MAP.MLL"));
    EXPECT_EQ(dlg.txtInfo()->toPlainText(), QString()) << "a map without remarks";
    EXPECT_EQ(testsupport::NamesNotInWindow(frmMapInfo::kHelpContext, dlg), QStringList());
    dlg.closeOK();
    EXPECT_EQ(dlg.map(), nullptr);
    EXPECT_LT(frmMapInfo::Remembered().left, 1000000);
}

} // namespace
