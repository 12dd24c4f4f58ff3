#include "CruiseTestSupport.h"

#include "basGlobe.h"
#include "DialogPlayer.h"
#include "frmCruise05.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

using namespace cruisetest;

namespace {

struct CruiseDialog : ::testing::Test {
    Installation inst;
    testsupport::ScriptedBoxes boxes;
    clsCruise05 engine;
    frmCruise05Logic logic;
    CruiseDialog() { logic.CruiseEngine = &engine; }
};

} // namespace

TEST_F(CruiseDialog, InstalledMapsDecideWhatCanBeChosen) {
    struct Case {
        std::initializer_list<const char*> maps;
        bool admin, topo, ocean, traffic, autoCruise;
    } cases[] = {
        {{}, false, false, false, false, false},
        {{"WORLD_A1.MLL", "WORLD_A2.MLL", "WORLD_A3.MLL", "WORLD_A4.MLL", "WORLD_A5.MLL"}, true, false, false, false, false},
        {{"WORLD_A6.MLL"}, true, false, false, false, true},  // all six now
        {{"WORLD_T3.MLL", "TRAFFIC3.MLL", "OCEAN.MLL"}, true, true, true, true, true},
    };
    engine.EiTopo = engine.EiAuto = engine.EiOcean = true;
    for (const Case& c : cases) {
        inst.addMaps(c.maps);
        logic.Load();
        const frmCruise05Logic::State& s = logic.state();
        EXPECT_TRUE(s.administrativeEnabled == c.admin && s.topoEnabled == c.topo && s.oceanEnabled == c.ocean &&
                    s.trafficEnabled == c.traffic && s.autoEnabled == c.autoCruise);
        EXPECT_TRUE(s.topo && s.autoCruise && s.ocean && s.replace && !s.traffic);  // shown whatever can be chosen
    }
    Installation japan;  // Japan's two maps alone allow automatic cruise
    japan.addMaps({"JAPAN_A7.MLL", "JAPAN_A8.MLL"});
    logic.Load();
    EXPECT_TRUE(logic.state().autoEnabled);
}

TEST_F(CruiseDialog, BorderTextsSlidersAndButtons) {
    logic.Load();
    EXPECT_EQ(logic.state().largest, "-------       1 /  1,000,000,000");
    EXPECT_EQ(logic.state().smallest, "-------       1 /  100,000");
    EXPECT_EQ(logic.state().text[3], "20,000,000");
    EXPECT_EQ(logic.state().slider[3], 23);
    struct Case {
        const char* typed;
        bool ok;
        const char* text;
        int16_t slider;
    } cases[] = {
        {"45,000,000", true, "45,000,000", 18},  // between levels: kept, slider on 1:50 000 000
        {"４千万", true, "４千万", 19}, {"abc", false, "40,000,000", 19},  // the slider's level comes back
        {"99", false, "40,000,000", 19}, {"45000000", true, "45000000", 18},
    };
    for (const Case& c : cases) {
        logic.setText(3, QString::fromUtf8(c.typed));
        EXPECT_EQ(logic.ValidateText(3), c.ok) << c.typed;
        EXPECT_TRUE(logic.state().text[3] == QString::fromUtf8(c.text) && logic.state().slider[3] == c.slider) << c.typed;
    }
    logic.SliderScrolled(5, 30);
    EXPECT_EQ(logic.state().text[5], "6,000,000");
    EXPECT_EQ(frmCruise05Logic::SliderTip(30), "1/600万");
    logic.setTopo(true);
    logic.Cancel();
    EXPECT_EQ(engine.BorderScale(3), MapScaleMax / 50);
    logic.Ok();
    EXPECT_TRUE(logic.ExitCode == 1 && engine.BorderScale(3) == 45000000 && engine.BorderScale(5) == 6000000 && engine.EiTopo);
    logic.DefaultScales();  // the texts and sliders only
    EXPECT_TRUE(logic.state().text[3] == "20,000,000" && logic.state().slider[5] == LevelOfScale(MapScaleMax / 200));
    EXPECT_EQ(engine.BorderScale(3), 45000000);

    // The run button cruises the target view with the settings taken.
    inst.addMaps({"WORLD_A2.MLL"});
    FakeLoader loader;
    auto units = BaseUnits();
    logic.TargetUnits = units.get();
    logic.TargetPlot = [] { return CruiseView{60000000, Degrees(100, 20, 160, 50)}; };
    logic.setTopo(false);
    EXPECT_TRUE(logic.Execute());
    EXPECT_EQ(logic.ExitCode, 2);
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A2.MLL*"}));
    logic.TargetPlot = nullptr;  // no view: nothing to cruise
    EXPECT_FALSE(logic.Execute());
}

TEST_F(CruiseDialog, Window) {
    inst.addMaps({"WORLD_A1.MLL", "WORLD_A2.MLL", "WORLD_A3.MLL", "WORLD_A4.MLL", "WORLD_A5.MLL", "WORLD_A6.MLL"});
    engine.EiAuto = true;
    frmCruise05 dlg;
    dlg.logic().CruiseEngine = &engine;
    dlg.loadControls();
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    testsupport::SaveWidgetPng(&dlg);
    EXPECT_TRUE(dlg.optType[0]->isChecked() && dlg.optType[0]->isEnabled() && !dlg.optType[1]->isEnabled());
    EXPECT_TRUE(dlg.chkAuto->isEnabled() && dlg.chkAuto->isChecked() && !dlg.chkOcean->isEnabled());
    EXPECT_EQ(dlg.txtScale[2]->toolTip(), "レベル2とレベル3の境界縮尺を入力");
    // Letters typed and the box left: the text comes back, the focus stays.
    dlg.txtScale[2]->setFocus();
    dlg.txtScale[2]->selectAll();
    QTest::keyClicks(dlg.txtScale[2], "abc");
    QTest::keyClick(dlg.txtScale[2], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dlg.txtScale[2]);
    EXPECT_EQ(dlg.txtScale[2]->text(), "50,000,000");
    // A value between two levels moves the slider; Enter goes on to OK.
    dlg.txtScale[2]->selectAll();
    QTest::keyClicks(dlg.txtScale[2], "45000000");
    QTest::keyClick(dlg.txtScale[2], Qt::Key_Return);
    EXPECT_TRUE(QApplication::focusWidget() == dlg.cmdOK && dlg.sliScale[2]->value() == 18);
    dlg.sliScale[4]->setValue(27);
    EXPECT_EQ(dlg.txtScale[4]->text(), "10,000,000");
    dlg.chkReplace->click();
    dlg.cmdOK->click();
    EXPECT_TRUE(dlg.logic().ExitCode == 1 && !engine.EiReplace && engine.BorderScale(2) == 45000000);
    // Modal: each way out leaves its code.
    for (const auto& [button, code] : {std::pair{"cancel", 0}, {"escape", 0}, {"run", 2}}) {
        frmCruise05 modal;
        modal.logic().CruiseEngine = &engine;
        testsupport::WhenModal<frmCruise05>([&, b = QString::fromLatin1(button)](frmCruise05&) {
            if (b == "cancel") modal.cmdCancel->click();
            else if (b == "run") modal.cmdExe->click();
            else QTest::keyClick(&modal, Qt::Key_Escape);
        });
        EXPECT_EQ(modal.showCruise(), code) << button;
    }
}
