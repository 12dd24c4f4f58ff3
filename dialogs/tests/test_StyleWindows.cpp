// The windows of the style editors and the range dialog over their models:
// clicks reach the models, the controls follow them, positions are kept,
// and every window is rendered for a person to look at.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

#include "ExpStyleModel.h"
#include "HelpPages.h"
#include "PictureBox.h"
#include "TestSupport.h"
#include "basGlobe.h"
#include "frmExpStyle.h"
#include "frmExpText.h"
#include "frmRange.h"

using namespace plat;

namespace {

constexpr QRgb kRed = 0xFFFF0000;

// The help context each window asks for, instead of opening a browser.
struct HelpSpy {
    long asked = 0;
    DialogBase::HelpOpener old = DialogBase::SetHelpOpener([this](long id) { asked = id; });
    ~HelpSpy() { DialogBase::SetHelpOpener(old); }
};

} // namespace

TEST(StyleEditorWindows, PickingMovesTheRedFrameAndSetsTheWidthList) {
    ExpPolylineModel m;
    m.Style = 110;
    m.Size = 3;
    frmExpPolyline dlg(nullptr, m);
    EXPECT_FALSE(dlg.widthList()->isEnabled());
    EXPECT_EQ(dlg.widthList()->currentText(), QStringLiteral("3"));
    QTest::mouseClick(dlg.grid(), Qt::LeftButton, {}, QPoint(100, 5));     // pen 1
    EXPECT_EQ(m.Style, 1);
    EXPECT_TRUE(dlg.widthList()->isEnabled());
    EXPECT_EQ(dlg.grid()->image().pixel(89, 2), kRed);
    EXPECT_NE(dlg.grid()->image().pixel(1, 2 + 16 * 4), kRed);
    emit dlg.widthList()->activated(5);
    EXPECT_EQ(m.Size, 6);
    emit dlg.grid()->mouseMoved(10, 40);
    EXPECT_EQ(dlg.grid()->toolTip(), QStringLiteral("破線小細"));
}

TEST(StyleEditorWindows, ChosenBackColourTicksTheBoxClearedBoxHandsBackNone) {
    testsupport::ScriptedBoxes boxes;
    boxes.expectColor(RGB(1, 2, 3), false).expectColor(RGB(0, 128, 0)).expectColor(RGB(7, 8, 9));
    ExpPolygonModel m;
    m.Back = -1;
    m.Title = QStringLiteral("森林");
    frmExpPolygon dlg(nullptr, m);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("多辺形事象図式 - 森林"));
    dlg.backButton()->click();   // cancelled: nothing changes
    EXPECT_FALSE(dlg.secondColorBox()->isChecked());
    EXPECT_EQ(m.Back, 0xFFFFFF);
    dlg.backButton()->click();
    EXPECT_TRUE(dlg.secondColorBox()->isChecked());
    EXPECT_EQ(m.SecondColor(), static_cast<int32_t>(RGB(0, 128, 0)));
    dlg.foreButton()->click();
    EXPECT_EQ(m.Fore, static_cast<int32_t>(RGB(7, 8, 9)));
    dlg.secondColorBox()->click();
    dlg.okButton()->click();
    EXPECT_TRUE(m.DialogOK);
    EXPECT_EQ(m.Back, -1);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(StyleEditorWindows, ReopensWhereLeftPulledBackOntoTheScreen) {
    HelpSpy help;
    ExpSymbolModel m;
    m.Position = {2000000, 2000000};
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QPoint first;
    for (int opening = 0; opening < 2; ++opening) {
        frmExpSymbol dlg(nullptr, m);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        EXPECT_TRUE(screen.contains(dlg.frameGeometry())) << opening;
        if (opening == 0) first = dlg.pos();
        else EXPECT_EQ(dlg.pos(), first);
        dlg.helpButton()->click();
        dlg.cancelButton()->click();
        EXPECT_FALSE(m.DialogOK);
        EXPECT_LT(m.Position.left, 2000000);
    }
    EXPECT_EQ(help.asked, 252204);
}

TEST(RangeWindow, StepButtonsSliderClicksAndOk) {
    RangeModel m;
    m.RangeScaleS = ScaleOfLevel(10);
    m.RangeScaleL = ScaleOfLevel(20);
    frmRange dlg(nullptr, m);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.slider()->value(), 34);
    dlg.stepButton(0)->click();
    EXPECT_EQ(dlg.largeValLabel()->text(), RangeModel::LevelText(21));
    EXPECT_EQ(dlg.slider()->selectionStart(), 33);
    EXPECT_EQ(dlg.slider()->selectionLength(), 11);
    const auto clickAt = [&](int value, Qt::KeyboardModifiers mods) {
        QTest::mouseClick(dlg.slider(), Qt::LeftButton, mods, QPoint(dlg.slider()->centerOf(value), dlg.slider()->height() / 2));
    };
    clickAt(40, {});   // from level 14 down to level 1
    EXPECT_EQ(dlg.slider()->value(), 40);
    EXPECT_EQ(m.SmallLevel(), 1);
    EXPECT_FALSE(dlg.stepButton(3)->isEnabled());
    clickAt(30, Qt::ShiftModifier);   // widened from the thumb to the large-scale side
    EXPECT_EQ(m.LargeLevel(), 24);
    EXPECT_EQ(m.SmallLevel(), 14);
    EXPECT_EQ(dlg.smallValLabel()->text(), RangeModel::LevelText(14));
    EXPECT_TRUE(dlg.stepButton(3)->isEnabled());
    dlg.okButton()->click();
    EXPECT_TRUE(m.DialogOK);
    EXPECT_EQ(m.RangeScaleL, ScaleOfLevel(24));
    EXPECT_EQ(m.RangeScaleS, ScaleOfLevel(14));
}

TEST(RangeWindow, HelpPageNamesTheSliderTheFourStepButtonsAndOk) {
    RangeModel m;
    frmRange dlg(nullptr, m);
    EXPECT_EQ(testsupport::NamesNotInWindow(252201, dlg), QStringList());
    const QString page = testsupport::HelpPage(252201);
    const QStringList named = testsupport::BracketedNames(page);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(named.contains(testsupport::PlainCaption(dlg.stepButton(i)->text()))) << i;
    EXPECT_TRUE(named.contains(testsupport::PlainCaption(dlg.okButton()->text())));
    EXPECT_TRUE(page.contains(QStringLiteral("スライダー")));
}

TEST(StyleWindowPictures, AllFourDialogs) {
    ExpPolygonModel polygon;
    ExpPolylineModel line;
    ExpSymbolModel symbol;
    const struct {
        ExpStyleModel& m;
        int16_t style;
        COLORREF fore;
        const char16_t* title;
    } pages[] = {{polygon, 103, RGB(0, 90, 0), u"耕地"}, {line, 120, RGB(200, 0, 0), u"鉄道"}, {symbol, 7, RGB(0, 0, 160), u"空港"}};
    for (const auto& p : pages) {
        p.m.Style = p.style;
        p.m.Fore = static_cast<int32_t>(p.fore);
        p.m.Title = QString::fromUtf16(p.title);
    }
    polygon.Back = static_cast<int32_t>(RGB(220, 240, 200));
    RangeModel range;
    range.RangeScaleS = ScaleOfLevel(12);
    range.RangeScaleL = ScaleOfLevel(30);
    range.RangeTitle = QStringLiteral("国道");
    frmExpPolygon a(nullptr, polygon);
    frmExpPolyline b(nullptr, line);
    frmExpSymbol c(nullptr, symbol);
    frmRange d(nullptr, range);
    testsupport::SaveWidgetPng(&a, QStringLiteral("polygon"));
    testsupport::SaveWidgetPng(&b, QStringLiteral("polyline"));
    testsupport::SaveWidgetPng(&c, QStringLiteral("symbol"));
    testsupport::SaveWidgetPng(&d, QStringLiteral("range"));
    // Each grid frames the chosen style's cell in red, its neighbour to the
    // left in the grid's text colour; each sample is drawn in the chosen
    // colour (the colour checker under it has no channel below 12).
    const struct {
        frmExpStyle& dlg;
        int cols, rows, dx, dy, cell;
    } grids[] = {{a, 8, 5, 4, 3, 8 + 3}, {b, 4, 13, 1, 2, 8 + 18}, {c, 8, 6, 3, 2, 7}};
    for (size_t k = 0; k < 3; ++k) {
        const QImage& grid = grids[k].dlg.grid()->image();
        const int cw = grid.width() / grids[k].cols, ch = grid.height() / grids[k].rows;
        const int x = grids[k].cell % grids[k].cols * cw + grids[k].dx, y = grids[k].cell / grids[k].cols * ch + grids[k].dy;
        EXPECT_EQ(grid.pixel(x, y + ch / 2), kRed) << k;
        EXPECT_EQ(grid.pixel(x + cw / 2, y), kRed) << k;
        EXPECT_EQ(grid.pixel(x - cw, y + ch / 2), 0xFF000000u) << k;
        const QImage& sample = grids[k].dlg.sample()->image();
        int fore = 0;
        for (int sy = 0; sy < sample.height(); ++sy)
            for (int sx = 0; sx < sample.width(); ++sx)
                fore += (sample.pixel(sx, sy) & 0xFFFFFF) == (qRgb(GetRValue(pages[k].fore), GetGValue(pages[k].fore),
                                                                     GetBValue(pages[k].fore)) & 0xFFFFFF);
        EXPECT_GT(fore, 20) << k;
    }
    // The middle of the cross holds only the pattern's two colours, both.
    const QImage& cross = a.sample()->image();
    QSet<QRgb> inside;
    for (int sy = cross.height() * 7 / 20; sy < cross.height() * 13 / 20; ++sy)
        for (int sx = cross.width() * 8 / 20; sx < cross.width() * 12 / 20; ++sx) inside.insert(cross.pixel(sx, sy) | 0xFF000000u);
    EXPECT_EQ(inside, (QSet<QRgb>{qRgb(0, 90, 0), qRgb(220, 240, 200)}));
    // The band covers the selected stretch of the slider.
    const QRect band = d.slider()->bandRect();
    EXPECT_LE(band.left(), d.slider()->centerOf(54 - 30));
    EXPECT_GE(band.right(), d.slider()->centerOf(54 - 12));
}

TEST(TextStyleWindow, BoxesFollowTheModelAndAPictureForAPerson) {
    ExpTextModel m;
    m.Faces = [] { return std::vector<FontFaceInfo>{{0, 0x04, "DejaVu Sans"}, {128, 0x04, "Noto Sans CJK JP"}}; };
    m.Title = "地名";
    m.Size = 14;
    m.Style = ExpTextModel::FS_BOLD;
    m.EuropianFont = "DejaVu Sans";
    m.JapaneseFont = ExpTextModel::kDefaultFace;
    m.Back = -1;
    frmExpText dlg(nullptr, m);
    EXPECT_EQ(dlg.windowTitle(), "文字列事象図式 - 地名");
    EXPECT_EQ(dlg.faceList(0)->currentText(), "(TT) DejaVu Sans");
    EXPECT_EQ(dlg.faceList(1)->currentIndex(), 0);
    EXPECT_TRUE(dlg.styleBox(0)->isChecked());
    EXPECT_FALSE(dlg.styleBox(3)->isEnabled());
    dlg.edgeBox()->setChecked(true);
    EXPECT_TRUE(dlg.styleBox(3)->isEnabled());
    dlg.styleBox(1)->setChecked(true);
    EXPECT_EQ(m.Style, ExpTextModel::FS_BOLD | ExpTextModel::FS_ITALIC);
    testsupport::SaveWidgetPng(&dlg);
    dlg.cancelButton()->click();
}
