// The settings dialogs joined to the application state: the environment
// dialog's OK switches the program's angle format and resolution, and the
// accessory dialog's OK redraws the map with its title.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "DialogPlayer.h"
#include "AppTestSupport.h"
#include "Bitmap.h"
#include "MainPlotRoutines.h"
#include "PublicVal.h"
#include "RasterDC.h"
#include "SettingsDialogs.h"
#include "SettingsDialogsGlue.h"
#include "basAngle.h"
#include "clsAccessory.h"
#include "clsCanvas.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"
#include "frmAccessory.h"
#include "frmEnvironment.h"

namespace {

constexpr int kW = 400, kH = 300;

class SettingsGlue : public ::testing::Test, protected apptest::RunningProgram {
protected:
    SettingsGlue() : RunningProgram(kW, kH), dc_(plat::Bitmap::Create(kW, kH, 32), 96) {
        InstallSettingsDialogs([this] {
            ++redraws_;
            PlotMap(&dc_, 96, 96, kW, kH);
        });
    }
    ~SettingsGlue() override {
        SetSettingsDialogHost({});
        SetAngleUnit(1);
        SetAngleSymbol(2);
        SetAngleDirStyle(2);
    }
    // The checks run on focus moves inside an active window.
    template <class Dialog>
    static void WhenModal(std::function<void(Dialog&)> act) {
        testsupport::WhenModal<Dialog>(std::move(act), {.active = true});
    }

    plat::RasterDC dc_;
    int redraws_ = 0;
};

} // namespace

TEST_F(SettingsGlue, EnvironmentOkSwitchesAngleFormatAndResolution) {
    gvMapMode = 1;
    gvScreenDPI = 96;
    QString typedFolder;
    WhenModal<frmEnvironment>([&](frmEnvironment& dlg) {
        typedFolder = folder_.path();
        dlg.txtMapPath->setText(typedFolder);
        emit dlg.txtMapPath->textEdited(typedFolder);
        dlg.txtScreenWidth->setText(QStringLiteral("169"));   // half the width: twice the resolution
        dlg.txtScreenWidth->setFocus();
        emit dlg.choAngle->activated(3);
        dlg.choSaveInterval->setFocus();   // the width is checked on leaving
        dlg.cmdOK->click();
    });
    EXPECT_TRUE(ShowEnvironmentDialog(nullptr));
    EXPECT_EQ(gvMapFolder, typedFolder);
    EXPECT_EQ(gvAngleValue * 100 + gvAngleUnit * 10 + gvAngleDirection, 132);
    EXPECT_EQ(LonToStr(-443532), QStringLiteral("W123d12m12s"));
    const int32_t pixels = EnvironmentDialog().ScreenWidthPixels;
    EXPECT_EQ(gvScreenDPI, (pixels * 254 / 169) / 10);
    if (gvScreenDPI >= 48 && gvScreenDPI <= 1440) {
        EXPECT_EQ(gvCanvas->Dpi(), gvScreenDPI);
    }
    EXPECT_EQ(redraws_, 0);
}

TEST_F(SettingsGlue, AccessoryOkRedrawsTheMapWithItsTitle) {
    ASSERT_TRUE(ShowWholeWorld());
    ll_->AccessoryEnable = false;
    accessory_.setPosition(0);
    WhenModal<frmAccessory>([](frmAccessory& dlg) {
        dlg.chkAcsEi->click();
        if (!dlg.chkAcsItem[clsAccessory::Title]->isChecked()) dlg.chkAcsItem[clsAccessory::Title]->click();
        QLineEdit* title = dlg.txtAcs[clsAccessory::Title];
        title->setFocus();
        title->selectAll();
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("世界の地図"));
        QApplication::sendEvent(title, &typed);
        dlg.cmdOK->click();
    });
    EXPECT_TRUE(ShowAccessoryDialog(nullptr));
    EXPECT_TRUE(ll_->AccessoryEnable);
    EXPECT_EQ(redraws_, 1);
    EXPECT_EQ(accessory_.Area(clsAccessory::Title).lines, QStringList{QStringLiteral("世界の地図")});
    const clsAccessory::ItemArea& a = accessory_.Area(clsAccessory::Title);
    const QImage img = dc_.image();
    int dark = 0;
    for (int y = a.top; y < a.top + a.height; ++y)
        for (int x = a.left; x < a.left + a.width; ++x) dark += qGray(img.pixel(x, y)) < 128;
    EXPECT_GT(dark, 20) << "the title drawn in its band";
    EXPECT_EQ(ll_->CanvasTop(), accessory_.BackHeight());
    img.save(testsupport::OutputFolder() + QStringLiteral("/SettingsGlue-map-with-title.png"));
}
