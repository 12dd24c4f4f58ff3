#include "CruiseTestSupport.h"

#include "basGlobe.h"
#include "frmCruise05.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

using namespace cruisetest;

namespace {

struct DialogFixture : ::testing::Test {
    Installation inst;
    testsupport::ScriptedBoxes boxes;
    clsCruise05 engine;
    frmCruise05Logic logic;
    DialogFixture() { logic.CruiseEngine = &engine; }
};

} // namespace

TEST_F(DialogFixture, InstalledMapsDecideWhatCanBeChosen) {
    struct Case {
        std::initializer_list<const char*> maps;
        bool admin, topo, ocean, traffic, autoCruise;
    } cases[] = {
        {{}, false, false, false, false, false},
        {{"WORLD_A1.MLL", "WORLD_A2.MLL", "WORLD_A3.MLL", "WORLD_A4.MLL", "WORLD_A5.MLL"}, true, false, false, false, false},
        {{"WORLD_A6.MLL"}, true, false, false, false, true},  // now all six
        {{"WORLD_T3.MLL", "TRAFFIC3.MLL", "OCEAN.MLL"}, true, true, true, true, true},
    };
    engine.EiTopo = engine.EiAuto = engine.EiOcean = true;
    for (const Case& c : cases) {
        inst.addMaps(c.maps);
        logic.Load();
        const frmCruise05Logic::State& s = logic.state();
        EXPECT_EQ(s.administrativeEnabled, c.admin);
        EXPECT_EQ(s.topoEnabled, c.topo);
        EXPECT_EQ(s.oceanEnabled, c.ocean);
        EXPECT_EQ(s.trafficEnabled, c.traffic);
        EXPECT_EQ(s.autoEnabled, c.autoCruise);
        // The settings are shown whatever can be chosen.
        EXPECT_TRUE(s.topo && s.autoCruise && s.ocean && s.replace && !s.traffic);
    }
    // Japan's two maps alone allow automatic cruise.
    Installation japan;
    japan.addMaps({"JAPAN_A7.MLL", "JAPAN_A8.MLL"});
    logic.Load();
    EXPECT_TRUE(logic.state().autoEnabled);
}

TEST_F(DialogFixture, BorderTextsAndSliders) {
    logic.Load();
    EXPECT_EQ(logic.state().largest, "-------       1 /  1,000,000,000");
    EXPECT_EQ(logic.state().smallest, "-------       1 /  100,000");
    EXPECT_EQ(logic.state().text[3], "20,000,000");
    EXPECT_EQ(logic.state().slider[1], 14);  // 1:100 000 000
    EXPECT_EQ(logic.state().slider[3], 23);
    struct Case {
        const char* typed;
        bool ok;
        const char* text;
        int16_t slider;
    } cases[] = {
        {"45,000,000", true, "45,000,000", 18},  // between levels: kept, slider on 1:50 000 000
        {"40000000", true, "40000000", 19},
        {"４千万", true, "４千万", 19},
        {"abc", false, "40,000,000", 19},        // the slider's level comes back
        {"", false, "40,000,000", 19},
        {"99", false, "40,000,000", 19},         // no allowed scale
        {"2000000000", false, "40,000,000", 19},
    };
    for (const Case& c : cases) {
        logic.setText(3, QString::fromUtf8(c.typed));
        EXPECT_EQ(logic.ValidateText(3), c.ok) << c.typed;
        EXPECT_EQ(logic.state().text[3], QString::fromUtf8(c.text)) << c.typed;
        EXPECT_EQ(logic.state().slider[3], c.slider) << c.typed;
    }
    logic.SliderScrolled(5, 30);
    EXPECT_EQ(logic.state().text[5], "6,000,000");
    EXPECT_EQ(frmCruise05Logic::SliderTip(30), "1/600万");

    // Standard values reach the texts and sliders only.
    logic.DefaultScales();
    EXPECT_EQ(logic.state().text[3], "20,000,000");
    EXPECT_EQ(logic.state().slider[5], LevelOfScale(MapScaleMax / 200));
    EXPECT_EQ(engine.BorderScale(3), MapScaleMax / 50);
}

TEST_F(DialogFixture, ButtonsAndTheEngine) {
    logic.Load();
    logic.setText(3, "45,000,000");
    logic.ValidateText(3);
    logic.setTopo(true);
    logic.setReplace(false);
    logic.Cancel();
    EXPECT_EQ(logic.ExitCode, 0);
    EXPECT_EQ(engine.BorderScale(3), MapScaleMax / 50);
    EXPECT_FALSE(engine.EiTopo);

    logic.Ok();
    EXPECT_EQ(logic.ExitCode, 1);
    EXPECT_EQ(engine.BorderScale(3), 45000000);
    EXPECT_TRUE(engine.EiTopo);
    EXPECT_FALSE(engine.EiReplace);
    logic.Load();
    EXPECT_EQ(logic.ExitCode, 0);
    EXPECT_EQ(logic.state().text[3], "45,000,000");

    // The run button cruises the target view with the settings taken.
    inst.addMaps({"WORLD_A3.MLL"});
    FakeLoader loader;
    auto units = BaseUnits();
    logic.TargetUnits = units.get();
    logic.TargetPlot = [] { return CruiseView{46000000, Degrees(100, 20, 160, 50)}; };  // level 3 now
    logic.setTopo(false);
    EXPECT_TRUE(logic.Execute());
    EXPECT_EQ(logic.ExitCode, 2);
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*"}));
    // Without a view the run does nothing.
    logic.TargetPlot = nullptr;
    EXPECT_FALSE(logic.Execute());
}

TEST_F(DialogFixture, Window) {
    inst.addMaps({"WORLD_A1.MLL", "WORLD_A2.MLL", "WORLD_A3.MLL", "WORLD_A4.MLL", "WORLD_A5.MLL", "WORLD_A6.MLL",
                  "JAPAN_A7.MLL", "JAPAN_A8.MLL"});
    engine.EiAuto = true;
    frmCruise05 dlg;
    dlg.logic().CruiseEngine = &engine;
    dlg.loadControls();
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    testsupport::SaveWidgetPng(&dlg);
    EXPECT_EQ(dlg.windowTitle(), "クルーズ設定");
    EXPECT_TRUE(dlg.optType[0]->isChecked() && dlg.optType[0]->isEnabled());
    EXPECT_FALSE(dlg.optType[1]->isEnabled());
    EXPECT_TRUE(dlg.chkAuto->isEnabled() && dlg.chkAuto->isChecked());
    EXPECT_FALSE(dlg.chkOcean->isEnabled());
    EXPECT_EQ(dlg.txtScale[7]->text(), "500,000");
    EXPECT_EQ(dlg.txtScale[2]->toolTip(), "レベル2とレベル3の境界縮尺を入力");
    EXPECT_EQ(dlg.sliScale[7]->toolTip(), "レベル7とレベル8の境界縮尺を設定");

    // Letters typed and the box left: the text comes back, the focus stays.
    dlg.txtScale[2]->setFocus();
    dlg.txtScale[2]->selectAll();
    QTest::keyClicks(dlg.txtScale[2], "abc");
    QTest::keyClick(dlg.txtScale[2], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dlg.txtScale[2]);
    EXPECT_EQ(dlg.txtScale[2]->text(), "50,000,000");
    // A value between two levels moves the slider; Enter goes to OK.
    dlg.txtScale[2]->selectAll();
    QTest::keyClicks(dlg.txtScale[2], "45000000");
    QTest::keyClick(dlg.txtScale[2], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), dlg.cmdOK);
    EXPECT_EQ(dlg.sliScale[2]->value(), 18);
    EXPECT_EQ(dlg.txtScale[2]->text(), "45000000");
    // The slider writes its level's denominator.
    dlg.sliScale[4]->setValue(27);
    EXPECT_EQ(dlg.txtScale[4]->text(), "10,000,000");
    dlg.cmdDefScale->click();
    EXPECT_EQ(dlg.txtScale[2]->text(), "50,000,000");
    EXPECT_EQ(dlg.sliScale[4]->value(), LevelOfScale(MapScaleMax / 100));
    dlg.chkReplace->click();
    dlg.cmdOK->click();
    EXPECT_EQ(dlg.logic().ExitCode, 1);
    EXPECT_FALSE(engine.EiReplace);
}

TEST_F(DialogFixture, ModalExitCodes) {
    struct Case {
        const char* button;
        int32_t code;
    } cases[] = {{"cancel", 0}, {"ok", 1}, {"escape", 0}, {"run", 2}};
    for (const Case& c : cases) {
        frmCruise05 dlg;
        dlg.logic().CruiseEngine = &engine;
        QTimer::singleShot(0, &dlg, [&] {
            const QString b = QString::fromLatin1(c.button);
            if (b == "cancel") dlg.cmdCancel->click();
            else if (b == "ok") dlg.cmdOK->click();
            else if (b == "run") dlg.cmdExe->click();
            else QTest::keyClick(&dlg, Qt::Key_Escape);
        });
        EXPECT_EQ(dlg.showCruise(), c.code) << c.button;
    }
}
