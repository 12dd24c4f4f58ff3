// The map-symbol window over its model: clicks on the grids reach the model,
// the controls follow it, and both tabs are rendered for a person to look at.
#include "DialogPlayer.h"
#include "MapSymbolTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "FlexGrid.h"
#include "HelpPages.h"
#include "basHMap.h"
#include "frmMapSymbol.h"

using namespace symboltest;

namespace {

void ClickCell(plat::FlexGrid* g, int row, int col) {
    const int m = row - g->FixedRows();   // the header row is not a row of the view
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                      QPoint(g->columnViewportPosition(col) + g->columnWidth(col) / 2, g->rowViewportPosition(m) + g->rowHeight(m) / 2));
}

struct MapSymbolWindow : Opening {
    MapSymbolWindow() { m.Unload(); }
};

} // namespace

TEST_F(MapSymbolWindow, ClicksEditTheCopiesAndOkHandsThemOver) {
    m.TargetUnits = units.get();
    frmMapSymbol dlg(nullptr, m);
    ASSERT_TRUE(dlg.loadControls());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.windowTitle(), "地図記号 - W.THG");
    EXPECT_EQ(dlg.mapList()->currentText(), dlg.mapList()->itemText(1));
    EXPECT_TRUE(dlg.unitSyncBox()->isEnabled() && dlg.previewBox()->isChecked());
    plat::FlexGrid* g = dlg.thingGrid();
    ClickCell(g, 1, 0);   // opens 海岸
    EXPECT_EQ(g->TextMatrix(1, 0), "-");
    const int plots = main.plots;
    ClickCell(g, 2, 3);
    EXPECT_EQ(g->TextMatrix(2, 3), "隠蔽");
    EXPECT_EQ(main.plots, plots + 1);
    EXPECT_TRUE(dlg.isEnabled());
    emit dlg.pageList()->activated(2);
    EXPECT_FALSE(dlg.pageSyncBox()->isChecked());
    EXPECT_EQ(m.CurPage, 3);
    dlg.tabs()->setCurrentIndex(0);
    EXPECT_EQ(dlg.windowTitle(), "地図記号 - W.ADM");
    ClickCell(dlg.adminGrid(), 1, 1);
    EXPECT_TRUE(dlg.dropPageList()->isVisible());
    QTest::mouseClick(dlg.dropPageList()->viewport(), Qt::LeftButton, {},
                      dlg.dropPageList()->visualItemRect(dlg.dropPageList()->item(4)).center());
    EXPECT_FALSE(dlg.dropPageList()->isVisible());
    EXPECT_EQ(dlg.adminGrid()->TextMatrix(1, 1), "5");
    dlg.okButton()->click();
    EXPECT_TRUE(m.DialogOK);
    EXPECT_EQ(own(u"海岸線").PageRecord(1).ShowMode, 0);
    EXPECT_EQ(units->Item(2)->Admins().Item(4)->Page(), 5);   // インド
    EXPECT_EQ(m.CurTab, 0);
}

TEST_F(MapSymbolWindow, HelpPageNamesOnlyItsControls) {
    m.TargetUnits = units.get();
    frmMapSymbol dlg(nullptr, m);
    ASSERT_TRUE(dlg.loadControls());
    EXPECT_EQ(testsupport::NamesNotInWindow(MapSymbolModel::kHelpContext, dlg), QStringList());
}

TEST_F(MapSymbolWindow, CommandOfTheMainWindowRedrawsOnlyAfterOk) {
    for (const bool ok : {false, true}) {
        testsupport::WhenModal<frmMapSymbol>([ok](frmMapSymbol* d) {
            (ok ? d->okButton() : static_cast<QAbstractButton*>(d->cancelButton()))->click();
        });
        const int plots = main.plots;
        EXPECT_EQ(ShowMapSymbolDialog(nullptr, units.get()), ok);
        EXPECT_EQ(main.plots, plots + (ok ? 2 : 1));   // the preview's own, then the caller's
        EXPECT_EQ(MapSymbol().TargetUnits, nullptr);
    }
}

TEST_F(MapSymbolWindow, PicturesOfBothTabs) {
    m.TargetUnits = units.get();
    m.EiDispAll = true;
    frmMapSymbol dlg(nullptr, m);
    ASSERT_TRUE(dlg.loadControls());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    for (int r = dlg.thingGrid()->Rows() - 1; r >= 1; --r)
        if (!m.IsThingRow(r)) m.GridTree(r);
    dlg.thingGrid()->select(3, 5, 4, 5);
    testsupport::SaveWidgetPng(&dlg, QStringLiteral("things"));
    EXPECT_EQ(dlg.thingGrid()->TextMatrix(3, 7), "on");
    dlg.tabs()->setCurrentIndex(0);
    testsupport::SaveWidgetPng(&dlg, QStringLiteral("districts"));
    dlg.cancelButton()->click();
    EXPECT_FALSE(m.DialogOK);
}

TEST_F(MapSymbolWindow, PopupPastesOnlyAfterACopyAndColouredMapNeedsAnAdministrativeMap) {
    units->Item(2)->Map().MakeHeader(MakeMapCode(1, 3, 1, 0), QStringLiteral("World"), QStringLiteral("世界行政図"));
    m.TargetUnits = units.get();
    m.CopiedFore = m.CopiedBack = -2;
    frmMapSymbol dlg(nullptr, m);
    ASSERT_TRUE(dlg.loadControls());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_TRUE(dlg.coloredMapButton()->isEnabled());
    ClickCell(dlg.thingGrid(), 1, 0);   // opens 海岸
    int32_t land = 1;
    while (land < dlg.thingGrid()->Rows() - 1 && dlg.thingGrid()->TextMatrix(land, 1) != "陸地") ++land;
    dlg.thingGrid()->select(1, 1, 1, 1);
    EXPECT_FALSE(dlg.popupButton()->isEnabled());   // a category row alone
    dlg.thingGrid()->select(land, 1, land, 1);
    ASSERT_TRUE(dlg.popupButton()->isEnabled());
    dlg.popupButton()->click();
    QAction* paste = dlg.popupMenu()->findChild<QAction*>(QStringLiteral("mnuPopupPaste"));
    ASSERT_NE(paste, nullptr);
    EXPECT_FALSE(paste->isEnabled());
    dlg.popupMenu()->hide();
    dlg.popupMenu()->findChild<QAction*>(QStringLiteral("mnuPopupCopy"))->trigger();
    dlg.popupButton()->click();
    EXPECT_TRUE(paste->isEnabled());
    dlg.popupMenu()->hide();
    dlg.tabs()->setCurrentIndex(0);
    m.Draw = [](int32_t n) { return n; };
    dlg.coloredMapButton()->click();
    EXPECT_EQ(dlg.adminGrid()->TextMatrix(1, 1), "4");
    testsupport::SaveWidgetPng(&dlg, QStringLiteral("coloured"));
    emit dlg.mapList()->activated(0);   // the base map is no administrative map
    EXPECT_FALSE(dlg.coloredMapButton()->isEnabled());
    dlg.cancelButton()->click();
}
