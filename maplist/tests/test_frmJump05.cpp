#include "JumpTestSupport.h"

#include "FlexGrid.h"
#include "SysColors.h"
#include "frmJump05.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace jumptest;

namespace {

struct JumpWindow : ::testing::Test {
    Installation inst;
    testsupport::ScriptedBoxes boxes;
    frmJump05 dlg;
    std::unique_ptr<clsMapUnits> units;

    void open() {
        units = inst.units({MakeUnit(inst.dir.file("JAPAN_A7.MLL"), 167392, kJapanPlaces),
                            MakeUnit(inst.dir.file("WORLD_A3.MLL"), 133000, kWorldPlaces)});
        dlg.logic().TargetUnits = units.get();
        ASSERT_TRUE(dlg.loadControls());
        dlg.resize(720, 440);
        dlg.show();
        dlg.activateList();
    }
    QString current() { return dlg.flgPlaces->TextMatrix(dlg.flgPlaces->Row(), kPlaceName); }
};

} // namespace

TEST_F(JumpWindow, EnterInTheKeywordBoxSearchesOnward) {
    gvLanguage = 1;
    open();
    EXPECT_EQ(dlg.lblCount->text(), "地名数 = 9");
    EXPECT_TRUE(dlg.optSource[0]->isChecked() && !dlg.optSource[1]->isEnabled() && dlg.cmdGazetteer->isEnabled());
    QLineEdit* box = dlg.choKeyword->lineEdit();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("tok"));
    QStringList found;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(box, Qt::Key_Return);
        found << current();
    }
    EXPECT_EQ(found, QStringList({"Nishitokyo", "Tokorozawa", "Tokyo"}));
    EXPECT_TRUE(dlg.isVisible());   // Enter searched; it did not press OK
    EXPECT_GT(dlg.flgPlaces->ColWidth(0), 0);
    EXPECT_EQ(dlg.flgPlaces->ColWidth(kPlaceKey), 0);
    testsupport::SaveWidgetPng(&dlg, QStringLiteral("search"));

    // Enter on the list takes the current place.
    dlg.flgPlaces->setFocus();
    QTest::keyClick(dlg.flgPlaces, Qt::Key_Return);
    EXPECT_TRUE(dlg.logic().DialogOK && dlg.logic().JumpX == 502920);
    EXPECT_FALSE(dlg.isVisible());
    dlg.unloadControls();
    EXPECT_EQ(dlg.choKeyword->count(), 1);   // "tok" kept in the history
}

TEST_F(JumpWindow, EscDuringABuildStopsItAndKeepsTheDialog) {
    gvLanguage = 2;
    open();
    inst.addMap(QStringLiteral("WORLD_A3.MLL"), 133000, kWorldPlaces);
    inst.addMap(QStringLiteral("japan/JAPAN_A7.MLL"), 167392, kJapanPlaces);
    inst.loaded.clear();
    bool checked = false;
    inst.onLoad = [&](int n) {
        if (n != 2) return;
        checked = true;
        EXPECT_EQ(dlg.lblMessage->text(), "取得中...2/3");
        EXPECT_TRUE(!dlg.cmdOK->isEnabled() && !dlg.choKeyword->isEnabled() && !dlg.optSource[0]->isEnabled());
        EXPECT_TRUE(dlg.cmdCancel->isEnabled());
        testsupport::SaveWidgetPng(&dlg, QStringLiteral("building"));
        QTest::keyClick(&dlg, Qt::Key_Escape);
    };
    boxes.expect(QStringLiteral("地名辞典を作成します"), plat::IdYes);
    QTest::mouseClick(dlg.cmdGazetteer, Qt::LeftButton);
    EXPECT_TRUE(checked);
    EXPECT_EQ(inst.loaded.size(), 2);
    EXPECT_TRUE(dlg.isVisible() && dlg.cmdOK->isEnabled() && dlg.optSource[0]->isChecked());
    EXPECT_FALSE(dlg.optSource[1]->isEnabled());
    EXPECT_EQ(dlg.lblMessage->text(), "");
}

TEST_F(JumpWindow, AnEmptyListShowsItsColumnTitlesAndNothingChosen) {
    // The X/Y units hold no place: the titles stand over an empty list.
    units = inst.units({}, 2);
    dlg.logic().TargetUnits = units.get();
    ASSERT_TRUE(dlg.loadControls());
    dlg.resize(720, 440);
    dlg.show();
    dlg.activateList();
    EXPECT_EQ(dlg.lblCount->text(), "地名数 = 0");
    EXPECT_FALSE(dlg.optSource[1]->isEnabled());
    const QStringList titles = {"地名", "ファイル名", "行政区名", "事象名"};
    for (int32_t c = 0; c < 4; ++c) EXPECT_EQ(dlg.flgPlaces->TextMatrix(0, c), titles[c]) << c;
    dlg.flgPlaces->setFocus();
    QApplication::processEvents();
    testsupport::SaveWidgetPng(&dlg);
    const QImage shot = dlg.flgPlaces->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const plat::COLORREF sel = plat::TranslateColor(dlg.flgPlaces->BackColorSel());
    const QRgb highlight = qRgb(sel & 0xFF, (sel >> 8) & 0xFF, (sel >> 16) & 0xFF);
    int highlighted = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) highlighted += (shot.pixel(x, y) | 0xFF000000u) == highlight;
    EXPECT_EQ(highlighted, 0);

    // Places coming in later get the sorted titles as before.
    dlg.unloadControls();
    units = inst.units({MakeUnit(inst.dir.file("JAPAN_A7.MLL"), 167392, kJapanPlaces)});
    dlg.logic().TargetUnits = units.get();
    ASSERT_TRUE(dlg.loadControls());
    dlg.activateList();
    EXPECT_EQ(dlg.flgPlaces->TextMatrix(0, 0), "地名　▲");
    EXPECT_EQ(dlg.flgPlaces->FixedRows(), 1);
}
