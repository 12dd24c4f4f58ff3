// The main window destroyed with the figure list it keeps for the run left
// as the user left it. The list goes with the window, after the window's
// own parts: the sanitizers stop the test when its grid or the list reach
// anything already gone.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "AppTestSupport.h"
#include "ErrorMng.h"
#include "FlexGrid.h"
#include "frmMain.h"
#include "frmMapList.h"
#include "frmMapLoad.h"

namespace {

struct MainWindowTeardown : ::testing::Test {
    apptest::ProgramFolder folder;
    MainWindowTeardown() {
        folder.Install();
        for (const char* n : {"WORLD_T3.MLL", "WORLD_T3.ADM", "WORLD_T3.THG"}) folder.CopyMap(QString::fromLatin1(n));
        QDir(folder.path()).mkdir(QStringLiteral("help"));
        testsupport::WriteBytes(folder.file(QStringLiteral("help/index.html")), "<html></html>");
        SetProgramEndHook([] {});
    }
    ~MainWindowTeardown() override {
        SetProgramEndHook({});
        RemoveMapUnitDialogs();
    }
};

TEST_F(MainWindowTeardown, FigureListLeftScrolledWithRowsChosen) {
    frmMain window;
    ASSERT_TRUE(window.Start({}));
    bool left = false, closed = false;
    // Acts once the list is filled, and closes it even when it never is, so
    // the menu command returns.
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* list = qobject_cast<frmMapList*>(QApplication::activeModalWidget());
        if (!list) return;
        const bool filled = list->logic().UnitIndex > 0 && !list->logic().Busy() && list->flgList->Rows() > 100;
        if (!filled && waited.elapsed() < 10000) return;
        poll.stop();
        if (filled) {
            plat::FlexGrid* g = list->flgList;
            g->setTopRow(g->Rows() / 2);
            const int32_t top = g->TopRow();
            g->select(top + 1, 1, top + 4, 1);
            left = top > 1 && g->RowSel() == top + 4;
        }
        list->fileItems[frmMapListLogic::mnuClose]->trigger();
        closed = true;
    });
    poll.start(10);
    emit window.mnuEdit->aboutToShow();
    for (QAction* a : window.mnuEdit->actions())
        if (a->text() == QStringLiteral("地図図形リスト(&T)...")) a->trigger();
    // The command waits for a plot still running.
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed; }, 20000));
    EXPECT_TRUE(left);
}

} // namespace
