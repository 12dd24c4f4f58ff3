// Pages 2 to 6 in the window as a user drives them, headless: typed and
// slid values, the greyed edges, the narrowing list and the projection-
// surface page of an azimuthal, a conic and the interrupted projection;
// pictures of each page for a person to look at.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "HelpPages.h"
#include "MapProjection.h"
#include "WizardTestSupport.h"
#include "frmPrjWizard.h"

using namespace wiztest;
using testsupport::SaveWidgetPng;
using testsupport::ScriptedBoxes;

namespace {

using Item = frmPrjWizardLogic::AngleItem;

class PagesWindow : public WizardTest {
protected:
    PagesWindow() {
        logic.InitOption = 1;
        LoadWithFake(logic);
        window = std::make_unique<frmPrjWizard>(logic);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void Forward() { window->button(frmPrjWizardLogic::BtnForward)->click(); }
    void Backward() { window->button(frmPrjWizardLogic::BtnBackward)->click(); }
    frmPrjWizardLogic logic;
    std::unique_ptr<frmPrjWizard> window;
};

TEST_F(PagesWindow, HelpPageNamesOnlyTheWizardsControls) {
    EXPECT_EQ(testsupport::NamesNotInWindow(frmPrjWizardLogic::kHelpBase, *window), QStringList());
}

TEST_F(PagesWindow, FieldCentreAndGraticule) {
    Forward();
    ASSERT_EQ(logic.Page(), 2);
    const auto& north = window->angle(Item::FieldNorth);
    EXPECT_FALSE(north.text->isEnabled());
    EXPECT_FALSE(north.slider->isEnabled());
    window->worldBox()->click();
    ASSERT_TRUE(north.text->isEnabled());
    // Typed: taken when the box is left; a refused text comes back.
    north.text->setFocus();
    north.text->selectAll();
    QTest::keyClicks(north.text, "N60");
    window->angle(Item::FieldSouth).text->setFocus();
    EXPECT_EQ(logic.Work.Field.y2, 216000);
    EXPECT_EQ(north.slider->value(), 3600);
    {
        ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("既定の範囲を超えています."), plat::IdOk);
        const auto& south = window->angle(Item::FieldSouth);
        south.text->setText(QStringLiteral("南の果て"));
        north.text->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), south.text);
        EXPECT_EQ(south.text->text(), logic.AngleText(Item::FieldSouth));
    }
    // Slid: snapped to half degrees.
    window->angle(Item::FieldWest).slider->setValue(-7523);
    EXPECT_EQ(logic.Work.Field.x1, -7530 * 60);
    EXPECT_EQ(window->angle(Item::FieldWest).slider->value(), -7530);
    SaveWidgetPng(window.get(), QStringLiteral("page2"));

    Forward();
    window->angle(Item::CenterLat).slider->setValue(2110);
    EXPECT_EQ(logic.Work.CenterLat, 2100 * 60);
    SaveWidgetPng(window.get(), QStringLiteral("page3"));

    Forward();
    window->gridBox()->click();
    EXPECT_FALSE(window->angle(Item::GridWidth).frame->isEnabled());
    window->gridBox()->click();
    EXPECT_TRUE(window->angle(Item::GridWidth).frame->isEnabled());
    SaveWidgetPng(window.get(), QStringLiteral("page4"));
}

TEST_F(PagesWindow, ChoiceAndSurfaceOfThreeKinds) {
    for (int i = 0; i < 4; ++i) Forward();
    ASSERT_EQ(logic.Page(), 5);
    EXPECT_EQ(window->prjListLabel()->text(), QStringLiteral("図法(&P): [30/30]"));
    EXPECT_EQ(window->prjList()->currentItem()->text(), PrjNameOf(12));

    // Circles: the azimuthal projections only.
    window->conditionBox(0, 0)->click();
    EXPECT_EQ(window->prjList()->count(), 7);
    EXPECT_EQ(window->prjListLabel()->text(), QStringLiteral("図法(&P): [7/30]"));
    // Balanced circles: nothing; the boxes stay ticked, the list says so.
    window->conditionBox(1, 6)->click();
    EXPECT_EQ(window->prjList()->count(), 1);
    EXPECT_EQ(window->prjList()->item(0)->text(), QStringLiteral("該当する図法は存在しません."));
    EXPECT_FALSE(window->button(frmPrjWizardLogic::BtnForward)->isEnabled());
    EXPECT_TRUE(window->conditionBox(1, 6)->isChecked());
    SaveWidgetPng(window.get(), QStringLiteral("page5-none"));
    window->conditionBox(1, 6)->click();
    EXPECT_TRUE(window->button(frmPrjWizardLogic::BtnForward)->isEnabled());

    struct Kind {
        int16_t prj;
        const char* name;
        std::array<bool, 4> items;
        bool gores;
    };
    const Kind kinds[] = {
        {4, "azimuthal", {true, false, false, true}, false},
        {24, "conic", {true, true, true, false}, false},
        {28, "interrupted", {true, false, false, false}, true},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        ASSERT_EQ(logic.Page(), 5);
        if (k.prj == 24) window->conditionBox(0, 0)->click();   // back to the whole list
        const auto found = window->prjList()->findItems(PrjNameOf(k.prj), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        window->prjList()->setCurrentItem(found.front());
        EXPECT_EQ(logic.Work.PrjIndex, k.prj);
        SaveWidgetPng(window.get(), QStringLiteral("page5-%1").arg(QString::fromLatin1(k.name)));
        Forward();
        ASSERT_EQ(logic.Page(), 6);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(window->screen(i).frame->isVisible(), k.items[size_t(i)]) << i;
        EXPECT_EQ(window->divisionList()->isVisible(), k.gores);
        EXPECT_TRUE(window->rightAxisButton()->isEnabled());
        if (k.prj == 24) {
            window->screen(frmPrjWizardLogic::ScreenCone).slider->setValue(4500);   // 75 degrees
            EXPECT_EQ(logic.Work.Cone, 270000);
            EXPECT_EQ(window->screen(frmPrjWizardLogic::ScreenCone).text->text(), logic.ScreenText(frmPrjWizardLogic::ScreenCone));
            window->screen(frmPrjWizardLogic::ScreenSecant).slider->setValue(1200);
            EXPECT_EQ(logic.Work.Secant, 72000);
        } else if (k.prj == 4) {
            window->screen(frmPrjWizardLogic::ScreenLight).slider->setValue(80);
            EXPECT_EQ(window->screen(frmPrjWizardLogic::ScreenLight).text->text(), QStringLiteral("10,000km"));
            window->screen(frmPrjWizardLogic::ScreenPoler).slider->setValue(900);
            EXPECT_EQ(logic.Work.poler, 54000);
        } else {
            window->divisionList()->setCurrentIndex(window->divisionList()->findText(QStringLiteral("18")));
            emit window->divisionList()->activated(window->divisionList()->currentIndex());
            EXPECT_EQ(logic.Work.Division, 18);
        }
        SaveWidgetPng(window.get(), QStringLiteral("page6-%1").arg(QString::fromLatin1(k.name)));
        Backward();
    }
}

} // namespace
