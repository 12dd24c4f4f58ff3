// The windows of the environment, graticule and accessory dialogs: what
// they grey, what Enter does in them, that the path boxes keep what was
// typed, the main window's side of each dialog, and a picture of each.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "DialogPlayer.h"
#include "HelpPages.h"
#include "SettingsTestSupport.h"
#include "clsAccessory.h"
#include "clsMapPlot.h"
#include "frmAccessory.h"
#include "frmEnvironment.h"
#include "frmGrid.h"

using settingstest::FakeHost;

namespace {

void Show(QDialog& dlg) {
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

// Typed as an input method commits it, which reaches Japanese text too.
void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(box, &e);
}

} // namespace

TEST(EnvironmentWindow, TypedPathsSurviveOtherChecksAndReachTheState) {
    FakeHost host;
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("180°00′00″W～180°00′00″E"), plat::IdOk);
    frmEnvironmentLogic m;
    frmEnvironment dlg(nullptr, m);
    Show(dlg);
    EXPECT_EQ(dlg.lblHomeLon->text(), QStringLiteral("経度(&X):"));
    EXPECT_EQ(dlg.choAngle->count(), 33);
    Type(dlg.txtMapPath, QStringLiteral("/home/user/地図"));
    Type(dlg.txtHomeLon, QStringLiteral("西経200度"));
    dlg.txtHomeScale->setFocus();   // refused: back to the box, the old value shown
    EXPECT_TRUE(dlg.txtHomeLon->hasFocus());
    EXPECT_EQ(dlg.txtHomeLon->text(), LonToStr(135 * 3600));
    EXPECT_EQ(dlg.txtMapPath->text(), QStringLiteral("/home/user/地図"));
    Type(dlg.txtHomeLon, QStringLiteral("E100°"));
    QTest::keyClick(dlg.txtHomeLon, Qt::Key_Return);   // checked, then the focus on OK
    EXPECT_TRUE(dlg.cmdOK->hasFocus());
    EXPECT_TRUE(dlg.isVisible());
    dlg.optStartMap[1]->setFocus();                     // an option likewise
    QTest::keyClick(dlg.optStartMap[1], Qt::Key_Return);
    EXPECT_TRUE(dlg.cmdOK->hasFocus());
    EXPECT_TRUE(dlg.isVisible());
    emit dlg.choAngle->activated(3);
    dlg.cmdOK->click();
    EXPECT_TRUE(m.DialogOK);
    EXPECT_EQ(host.state.MapFolder, QStringLiteral("/home/user/地図"));
    EXPECT_EQ(host.state.HomeLon, 100 * 3600);
    EXPECT_EQ(LonToStr(-443532), QStringLiteral("W123d12m12s"));
}

TEST(EnvironmentWindow, XYModeLabelsAndPicture) {
    FakeHost host;
    host.mode = host.state.MapMode = 2;
    frmEnvironmentLogic m;
    frmEnvironment dlg(nullptr, m);
    EXPECT_EQ(dlg.lblHomeLon->text(), QStringLiteral("Ｘ(&X):"));
    EXPECT_EQ(dlg.lblHomeLat->toolTip(), QStringLiteral("ホームポジションのY座標"));
    EXPECT_EQ(dlg.txtHomeLat->toolTip(), QStringLiteral("ホームポジションのY座標を入力"));
    EXPECT_TRUE(dlg.txtHomeLon->text().contains(QStringLiteral("-12.000km")));
    testsupport::SaveWidgetPng(&dlg);
}

TEST(GridWindow, AutomaticSpacingAndLinesOffGreyTheValues) {
    FakeHost host;
    clsGrid grid;
    frmGridLogic m;
    m.TargetGrid = &grid;
    m.GridEnable = true;
    m.GridAuto = true;
    frmGrid dlg(nullptr, m);
    Show(dlg);
    const auto valuesEnabled = [&] {
        int n = 0;
        for (QGroupBox* f : dlg.fraGrid) n += f->isEnabled();
        return n;
    };
    EXPECT_EQ(valuesEnabled(), 0);
    dlg.chkGridAuto->click();
    EXPECT_EQ(valuesEnabled(), 4);
    dlg.sliGrid[0]->setValue(44);
    EXPECT_EQ(dlg.sliGrid[0]->value(), 30);
    EXPECT_EQ(dlg.txtGrid[0]->text(), AngleToStr(1800));
    dlg.chkGridEi->click();
    EXPECT_EQ(valuesEnabled(), 0);
    dlg.chkGridEi->click();
    testsupport::SaveWidgetPng(&dlg);

    // Enter in a box: a refusal is shown, OK is pressed all the same.
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("5ﾟ00'N～90ﾟ00'N"), plat::IdOk);
    Type(dlg.txtGrid[2], QStringLiteral("0ﾟ30'"));
    QTest::keyClick(dlg.txtGrid[2], Qt::Key_Return);
    EXPECT_TRUE(m.DialogOK);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(grid.Width(), 1800);
    EXPECT_EQ(grid.NorthLimit(), 270000);

    // Enter on a check box presses OK as well.
    frmGrid again(nullptr, m);
    Show(again);
    again.chkOcean->setFocus();
    QTest::keyClick(again.chkOcean, Qt::Key_Return);
    EXPECT_TRUE(m.DialogOK);
    EXPECT_FALSE(again.isVisible());
}

TEST(AccessoryWindow, ItemSwitchesGreyTheirRowsAndEnterKeepsToTextBoxes) {
    FakeHost host;
    clsAccessory set;
    set.Clear();
    frmAccessoryLogic m;
    m.TargetAccessory = &set;
    frmAccessory dlg(nullptr, m);
    Show(dlg);
    const int title = clsAccessory::Title;
    // The colour button's face: the item's colour, faded toward the button
    // face while the item is off.
    const auto face = [&] {
        QTest::qWait(400);   // past the style's fade between states
        QPushButton* b = dlg.cmdAcsColor[title];
        return b->grab().toImage().pixelColor(b->width() / 2, b->height() / 2);
    };
    const int button = dlg.palette().color(QPalette::Button).lightness();
    dlg.chkAcsItem[title]->setChecked(true);
    const QColor on = face();
    dlg.chkAcsItem[title]->setChecked(false);
    EXPECT_FALSE(dlg.txtAcs[title]->isEnabled());
    EXPECT_FALSE(dlg.cmdAcsFont[title]->isEnabled());
    EXPECT_FALSE(dlg.cmdAcsColor[title]->isEnabled());
    EXPECT_LT(std::abs(face().lightness() - button) + 40, std::abs(on.lightness() - button));
    dlg.chkAcsItem[title]->setChecked(true);
    EXPECT_TRUE(dlg.txtAcs[title]->isEnabled() && dlg.cmdAcsFont[title]->isEnabled() && dlg.cmdAcsColor[title]->isEnabled());
    EXPECT_EQ(face(), on);
    EXPECT_EQ(dlg.cmdAcsColor[clsAccessory::Back]->isEnabled(), m.Item(clsAccessory::Back).Use);

    Type(dlg.txtAcs[title], QStringLiteral("世界の海"));
    QTest::keyClick(dlg.txtAcs[title], Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(m.EnterToOK);
    dlg.chkAcsEi->setFocus();
    EXPECT_TRUE(m.EnterToOK);
    testsupport::SaveWidgetPng(&dlg);
    QTest::keyClick(dlg.chkAcsEi, Qt::Key_Return);
    EXPECT_TRUE(m.DialogOK);
    set.setIndex(title);
    EXPECT_EQ(set.Text(), QStringLiteral("世界の海"));
    EXPECT_TRUE(set.Use());
}

namespace {

// The main window's side: the current plot engine, the accessory set, and
// a window to place the dialogs beside.
struct MainSide : ::testing::Test {
    FakeHost host;
    clsMapPlot plot;
    clsAccessory set;
    QWidget main;
    clsAccessory* savedSet = gvAccessory;
    MainSide() {
        gvMapPlotLL = &plot;
        gvAccessory = &set;
        main.setGeometry(100, 100, 400, 300);
        GridDialog().Position = {};
        AccessoryDialog().Position = {};
    }
    ~MainSide() override {
        gvMapPlotLL = nullptr;
        gvAccessory = savedSet;
    }
};

} // namespace

TEST_F(MainSide, GridOkCopiesTheSwitchesBackAndRedraws) {
    plot.GridEnable = true;
    plot.GridAuto = true;
    plot.GridOcean = false;
    plat::DialogPosition placed;
    testsupport::WhenModal<frmGrid>([&placed](frmGrid* dlg) {
        placed = GridDialog().Position;
        dlg->chkGridAuto->click();
        dlg->chkOcean->click();
        dlg->cmdOK->click();
    });
    const int32_t mainLeft = plat::WindowLeftTwips(&main);
    EXPECT_TRUE(ShowGridDialog(&main));
    EXPECT_FALSE(plot.GridAuto);
    EXPECT_TRUE(plot.GridOcean);
    EXPECT_EQ(host.redraws, 1);
    EXPECT_EQ(GridDialog().TargetGrid, nullptr);
    EXPECT_EQ(placed.left, mainLeft + 1500);

    testsupport::WhenModal<frmGrid>([](frmGrid& d) { d.cmdCancel->click(); });
    EXPECT_FALSE(ShowGridDialog(&main));
    EXPECT_EQ(host.redraws, 1);
}

TEST_F(MainSide, AccessoryOkSetsTheEnginesSwitch) {
    plot.AccessoryEnable = false;
    plat::DialogPosition placed;
    testsupport::WhenModal<frmAccessory>([&placed](frmAccessory* dlg) {
        placed = AccessoryDialog().Position;
        dlg->chkAcsEi->click();
        dlg->optAcsPosition[0]->click();
        dlg->cmdOK->click();
    });
    const int32_t mainTop = plat::WindowTopTwips(&main);
    EXPECT_TRUE(ShowAccessoryDialog(&main));
    EXPECT_TRUE(plot.AccessoryEnable);
    EXPECT_EQ(set.Position(), 0);
    EXPECT_EQ(host.redraws, 1);
    EXPECT_EQ(AccessoryDialog().TargetAccessory, nullptr);
    EXPECT_EQ(placed.top, mainTop + 600);
}

TEST(SettingsWindows, HelpPagesNameOnlyTheirControls) {
    FakeHost host;
    frmEnvironmentLogic environment;
    frmEnvironment environmentDlg(nullptr, environment);
    clsGrid grid;
    frmGridLogic graticule;
    graticule.TargetGrid = &grid;
    frmGrid gridDlg(nullptr, graticule);
    clsAccessory set;
    set.Clear();
    frmAccessoryLogic accessory;
    accessory.TargetAccessory = &set;
    frmAccessory accessoryDlg(nullptr, accessory);
    EXPECT_EQ(testsupport::NamesNotInWindow(frmEnvironmentLogic::kHelpContext, environmentDlg), QStringList());
    EXPECT_EQ(testsupport::NamesNotInWindow(frmGridLogic::kHelpContext, gridDlg), QStringList());
    EXPECT_EQ(testsupport::NamesNotInWindow(frmAccessoryLogic::kHelpContext, accessoryDlg), QStringList());
}
