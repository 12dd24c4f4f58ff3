// The view projection dialog: the copy it edits, its range checks (full-
// width digits included), what OK writes back, and the window with one tab
// on the X/Y engine and two on the latitude/longitude one.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "AppState.h"
#include "DialogPlayer.h"
#include "HelpPages.h"
#include "TestSupport.h"
#include "WizardTestSupport.h"
#include "basHMapCoord.h"
#include "clsEnvironment.h"
#include "clsMapPlot.h"
#include "frmDirectProjection.h"

using testsupport::ScriptedBoxes;

namespace {

const QString kOutOfRange = QStringLiteral("既定の範囲を超えています.");

class DirectProjection : public ::testing::Test {
protected:
    DirectProjection() {
        env.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/Environment.txt"));
        EXPECT_EQ(env.Load(), 0);
        gvEnvironment = &env;
        SetMapModeSource([this] { return plot.MapMode(); });
        plot.ProjectionAuto = false;
        plot.setProjectionIndex(2);
        plot.setCenterX(486000);
        plot.setCenterY(126000);
        plot.setMapScale(5000000);
        logic.TargetPlot = &plot;
    }
    ~DirectProjection() override {
        SetMapModeSource({});
        SetDirectProjectionHost({});
        gvEnvironment = nullptr;
    }
    clsEnvironment env;
    clsMapPlot plot;
    frmDirectProjectionLogic logic;
};

TEST_F(DirectProjection, ScaleTexts) {
    logic.Load();
    wiztest::CheckTyped(
        {
            {"50000", false, "5,000,000"},
            {"５００００", false, "5,000,000"},
            {"1000000", true, "1,000,000"},
            {"２００万", true, "2,000,000"},
            {"1,000,000,001", false, "2,000,000"},
            {"縮尺", false, "2,000,000"},
        },
        QStringLiteral("100,000～1,000,000,000"), [&](const QString& t) { return logic.ValidateScale(t); },
        [&] { return logic.TextScale(); });
}

TEST_F(DirectProjection, CentreTextsByMapMode) {
    logic.Load();
    EXPECT_EQ(logic.LabelX(), QStringLiteral("経度(&X):"));
    ScriptedBoxes boxes;
    boxes.expect(kOutOfRange, plat::IdOk).expect(kOutOfRange, plat::IdOk).expect(kOutOfRange, plat::IdOk);
    EXPECT_FALSE(logic.ValidateX(QStringLiteral("E181")));
    EXPECT_FALSE(logic.ValidateX(QStringLiteral("東の方")));
    EXPECT_EQ(logic.WorkCenterX, 486000);
    EXPECT_TRUE(logic.ValidateX(QStringLiteral("W120.5")));
    EXPECT_EQ(logic.WorkCenterX, -433800);
    EXPECT_FALSE(logic.ValidateY(QStringLiteral("91")));
    EXPECT_TRUE(logic.ValidateY(QStringLiteral("S45")));
    EXPECT_EQ(logic.WorkCenterY, -162000);

    // The X/Y engine: kilometres and the plain labels.
    clsMapPlot xy;
    xy.setProjectionIndex(0);
    xy.setCenterX(1234567);
    frmDirectProjectionLogic other;
    other.TargetPlot = &xy;
    SetMapModeSource([&] { return xy.MapMode(); });
    other.ActiveTab = 1;
    other.Load();
    EXPECT_FALSE(other.HasProjectionTab());
    EXPECT_EQ(other.ActiveTab, 0);
    EXPECT_EQ(other.LabelX(), QStringLiteral("Ｘ(&X):"));
    EXPECT_EQ(other.LabelY(), QStringLiteral("Ｙ(&Y):"));
    EXPECT_EQ(other.TextX(), QStringLiteral("  1234.567km"));
    EXPECT_TRUE(other.ValidateX(QStringLiteral("250")));
    EXPECT_EQ(other.WorkCenterX, 250000);
}

TEST_F(DirectProjection, OkWritesTheCopyAndTheSlotChosenLastUnderAutomaticChoice) {
    logic.Load();
    EXPECT_EQ(logic.WorkIndex, 2);
    logic.SetSlot(3);
    logic.SetAuto(true);
    EXPECT_FALSE(logic.ManualEnabled());
    logic.ValidateX(QStringLiteral("E10"));
    logic.ValidateScale(QStringLiteral("20000000"));
    // Nothing reaches the engine before OK.
    EXPECT_EQ(plot.CenterX(), 486000);
    EXPECT_FALSE(plot.ProjectionAuto);
    logic.OK();
    EXPECT_TRUE(logic.DialogOK);
    EXPECT_TRUE(plot.ProjectionAuto);
    EXPECT_EQ(plot.CenterX(), 36000);
    EXPECT_EQ(plot.CenterY(), 126000);
    EXPECT_DOUBLE_EQ(plot.MapScale(), 20000000);
    plot.ProjectionAuto = false;
    EXPECT_EQ(plot.ProjectionIndex(), 3);
}

TEST_F(DirectProjection, SlotCaptionsFromTheEnvironment) {
    EXPECT_EQ(frmDirectProjectionLogic::SlotCaption(1), QStringLiteral("接円筒図法(&1)"));
    EXPECT_EQ(frmDirectProjectionLogic::SlotCaption(4), QStringLiteral("接方位図法(&4)"));
    gvEnvironment = nullptr;
    EXPECT_EQ(frmDirectProjectionLogic::SlotCaption(2), QStringLiteral("図法(&2)"));
}

TEST_F(DirectProjection, HelpPageNamesOnlyItsControls) {
    const frmDirectProjection dlg(logic);   // the latitude/longitude engine: both tabs
    EXPECT_EQ(testsupport::NamesNotInWindow(frmDirectProjectionLogic::kHelpContext, dlg), QStringList());
}

TEST_F(DirectProjection, WindowOnBothEngines) {
    {
        frmDirectProjection dlg(logic);
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        EXPECT_EQ(dlg.tabs()->count(), 2);
        EXPECT_TRUE(dlg.option(2)->isChecked());
        testsupport::SaveWidgetPng(&dlg, QStringLiteral("centre"));
        dlg.tabs()->setCurrentIndex(1);
        EXPECT_EQ(logic.ActiveTab, 1);
        dlg.chkAuto()->click();
        EXPECT_FALSE(dlg.option(1)->isEnabled());
        dlg.chkAuto()->click();
        QTest::mouseClick(dlg.picture(4), Qt::LeftButton);
        EXPECT_EQ(logic.WorkIndex, 4);
        testsupport::SaveWidgetPng(&dlg, QStringLiteral("projection"));
        dlg.tabs()->setCurrentIndex(0);
        // Enter in the scale box with a refused value: the message, the old
        // scale, and the dialog still closes with OK.
        ScriptedBoxes boxes;
        boxes.expect(kOutOfRange, plat::IdOk);
        dlg.txtScale()->setFocus();
        dlg.txtScale()->selectAll();
        QTest::keyClicks(dlg.txtScale(), "50000");
        QTest::keyClick(dlg.txtScale(), Qt::Key_Return);
        EXPECT_TRUE(dlg.DialogOK());
        EXPECT_FALSE(dlg.isVisible());
    }
    EXPECT_EQ(plot.ProjectionIndex(), 4);
    EXPECT_DOUBLE_EQ(plot.MapScale(), 5000000);
    EXPECT_EQ(logic.TargetPlot, nullptr);

    // The X/Y engine: one tab; the remembered projection tab falls back.
    clsMapPlot xy;
    xy.setProjectionIndex(0);
    SetMapModeSource([&] { return xy.MapMode(); });
    logic.TargetPlot = &xy;
    frmDirectProjection dlg(logic);
    dlg.show();
    EXPECT_EQ(dlg.tabs()->count(), 1);
    EXPECT_EQ(logic.ActiveTab, 0);
    EXPECT_EQ(dlg.labelX()->text(), QStringLiteral("Ｘ(&X):"));
    testsupport::SaveWidgetPng(&dlg, QStringLiteral("xy"));
}

TEST_F(DirectProjection, EnterOnAnOptionTheCheckBoxOrABoxPressesOk) {
    // Each opening: the control the user last clicked or typed in has the
    // focus when Enter comes.
    const auto open = [this](const std::function<QWidget*(frmDirectProjection&)>& use) {
        logic.TargetPlot = &plot;
        frmDirectProjection dlg(logic);
        dlg.show();
        dlg.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        QWidget* focused = use(dlg);
        EXPECT_TRUE(focused->hasFocus());
        QTest::keyClick(focused, Qt::Key_Return);
        EXPECT_TRUE(dlg.DialogOK());
        EXPECT_FALSE(dlg.isVisible());
    };
    open([](frmDirectProjection& d) {
        d.tabs()->setCurrentIndex(1);
        QTest::mouseClick(d.option(3), Qt::LeftButton, {}, QPoint(8, d.option(3)->height() / 2));
        return d.option(3);
    });
    EXPECT_EQ(plot.ProjectionIndex(), 3);
    EXPECT_FALSE(plot.ProjectionAuto);
    open([](frmDirectProjection& d) {
        QTest::mouseClick(d.chkAuto(), Qt::LeftButton, {}, QPoint(8, d.chkAuto()->height() / 2));   // on its box
        return d.chkAuto();
    });
    EXPECT_TRUE(plot.ProjectionAuto);
    open([](frmDirectProjection& d) {
        d.tabs()->setCurrentIndex(0);
        QTest::mouseClick(d.txtX(), Qt::LeftButton);
        d.txtX()->selectAll();
        QTest::keyClicks(d.txtX(), "E10");
        return d.txtX();
    });
    EXPECT_EQ(plot.CenterX(), 36000);
}

TEST_F(DirectProjection, TheMainWindowsCommandRedrawsOnlyAfterOk) {
    int redraws = 0;
    SetDirectProjectionHost({[this] { return &plot; }, [&] { ++redraws; }});
    for (bool ok : {false, true}) {
        testsupport::WhenModal<frmDirectProjection>([ok](frmDirectProjection* d) {
            d->logic().ValidateScale(QStringLiteral("3000000"));
            if (ok) d->okButton()->click();
            else d->reject();
        });
        EXPECT_EQ(mnuDirectProjection(nullptr), ok);
    }
    EXPECT_EQ(redraws, 1);
    EXPECT_DOUBLE_EQ(plot.MapScale(), 3000000);
}

} // namespace
