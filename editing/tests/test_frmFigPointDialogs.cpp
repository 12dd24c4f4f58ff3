#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include "DialogPlayer.h"
#include "PointDialogTestSupport.h"

using namespace edittest;

namespace {

void PressEnter(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

int InkedPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    return n;
}

struct PointWindows : ::testing::Test {
    CleanEditing clean;
    CoordinateMode ll{1};
    MapUnitPtr unit = SmallUnit(1);

    PointWindows() {
        SetAngleUnit(1);
        HMapEdit().EditMapUnit = unit;
        HMapEdit().EditLastAdminThing = {12, 3};
        HMapEdit().EditPointX = Deg(139.5);
        HMapEdit().EditPointY = Deg(35.5);
    }
};

} // namespace

TEST_F(PointWindows, ANewSymbolPlacedByTyping) {
    testsupport::WhenModal<frmFigSymbol>([](frmFigSymbol* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("点記号図形プロパティ - SMALL.MLL"));
        EXPECT_EQ(dlg->fraPosition->title(), QStringLiteral("アンカー座標"));
        EXPECT_EQ(dlg->lblX->text(), QStringLiteral("経度(&X):"));
        EXPECT_EQ(dlg->txtX->text(), LonToStr(Deg(139.5)));
        EXPECT_TRUE(dlg->cmdTrace->isEnabled());
        EXPECT_EQ(dlg->choAdmin->currentText(), QStringLiteral("District 12"));
        EXPECT_EQ(dlg->choThing->currentText(), QStringLiteral("Star"));
        EXPECT_FALSE(testsupport::SaveWidgetPng(dlg).isEmpty());
        dlg->txtX->setFocus();
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QStringLiteral("既定の範囲を超えています."), plat::IdOk);
            dlg->txtX->setText(QStringLiteral("E200"));
            PressEnter(dlg->txtX);  // checked at once; the stored value comes back
            EXPECT_EQ(dlg->txtX->text(), LonToStr(Deg(139.5)));
        }
        dlg->txtX->setFocus();
        dlg->txtX->setText(QStringLiteral("E140"));
        PressEnter(dlg->txtX);
        EXPECT_EQ(dlg->focusWidget(), dlg->cmdOK);
        dlg->choThing->setCurrentIndex(1);
        emit dlg->choThing->activated(1);
        dlg->txtY->setText(QStringLiteral("N36"));  // typed but never left: OK checks it
        dlg->cmdOK->click();
    });
    const auto results = CreateMapFigure(4);
    ASSERT_TRUE(results);
    ASSERT_EQ(results->size(), 1u);
    const auto& symbol = static_cast<const clsMapSymbol&>(*results->front());
    EXPECT_EQ(symbol.Position(), (PolyPoint{Deg(140), Deg(36)}));
    EXPECT_EQ(symbol.Thing(), 4);
    EXPECT_EQ(HMapEdit().EditLastAdminThing, (std::array<int16_t, 2>{12, 4}));
}

TEST_F(PointWindows, TheSampleWordOfTheTextPlacementStandsClearOfEveryButton) {
    testsupport::WhenModal<frmFigText>([](frmFigText* dlg) {
        TextFixPicture* picture = dlg->fraFixPicture;
        // The picture alone, as it lies under the buttons.
        for (QRadioButton* b : picture->optFix) b->hide();
        const QImage shot = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (QRadioButton* b : picture->optFix) b->show();
        const qreal dpr = shot.devicePixelRatio();
        const auto dark = [&](const QRect& area) {
            int n = 0;
            const QRect r = QRect((area.topLeft() * dpr), area.size() * dpr) & shot.rect();
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) n += qGray(shot.pixel(x, y)) < 100;
            return n;
        };
        for (int i = 0; i < FigTextLogic::kFixCount; ++i) EXPECT_EQ(dark(picture->optFix[i]->geometry()), 0) << i;
        // Both halves of the word are there, either side of the centre buttons.
        const QRect centre = picture->optFix[7]->geometry();
        EXPECT_GT(dark(QRect(QPoint(0, centre.top()), QPoint(centre.left() - 1, picture->optFix[17]->geometry().bottom()))), 200);
        EXPECT_GT(dark(QRect(QPoint(centre.right() + 1, centre.top()),
                             QPoint(picture->width() - 1, picture->optFix[17]->geometry().bottom()))), 200);
        dlg->reject();
    });
    EXPECT_FALSE(CreateMapFigure(5));
}

TEST_F(PointWindows, ATextWithItsAngleNamesAndPair) {
    testsupport::WhenModal<frmFigText>([](frmFigText* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("文字列図形プロパティ - SMALL.MLL"));
        EXPECT_TRUE(dlg->fraFixPicture->optFix[10]->isChecked());
        EXPECT_FALSE(dlg->chkSymbol->isChecked());
        EXPECT_EQ(dlg->choThingSymbol->count(), 2);
        EXPECT_EQ(dlg->choThing->currentText(), QStringLiteral("Capital"));  // thing 3 is a symbol's

        dlg->activateWindow();  // an offscreen window is not always activated when shown
        QApplication::processEvents();
        dlg->sliAngle->setValue(45);  // the slider moves the box and the indicator
        EXPECT_EQ(dlg->txtAngle->text(), QStringLiteral("45"));
        const QImage at45 = dlg->picAngle->image();
        dlg->txtAngle->setFocus();
        dlg->txtAngle->setText(QStringLiteral("-90.5"));
        PressEnter(dlg->txtAngle);
        EXPECT_EQ(dlg->txtAngle->text(), QStringLiteral("-90"));
        EXPECT_EQ(dlg->sliAngle->value(), -90);
        EXPECT_NE(dlg->picAngle->image(), at45);
        EXPECT_GT(InkedPixels(at45), 100);

        dlg->fraFixPicture->optFix[17]->click();
        dlg->txtEuropian->setFocus();
        dlg->txtEuropian->setText(QStringLiteral("Cha^teau"));
        EXPECT_EQ(QApplication::focusWidget(), dlg->txtEuropian);
        PressEnter(dlg->txtEuropian);  // the name is stored and shown
        EXPECT_EQ(QApplication::focusWidget(), dlg->cmdOK);
        EXPECT_EQ(dlg->txtEuropian->text(), QStringLiteral("Château"));
        dlg->txtJapanese->setText(QStringLiteral("城"));
        dlg->choThingSymbol->setCurrentIndex(1);
        emit dlg->choThingSymbol->activated(1);
        EXPECT_TRUE(dlg->chkSymbol->isChecked());
        EXPECT_FALSE(testsupport::SaveWidgetPng(dlg).isEmpty());
        dlg->cmdOK->click();
    });
    const auto results = CreateMapFigure(5);
    ASSERT_TRUE(results);
    ASSERT_EQ(results->size(), 2u);
    const auto& text = static_cast<const clsMapText&>(*results->front());
    EXPECT_EQ(std::tuple(text.Angle(), text.TextFix()), std::tuple(-90, 17));
    EXPECT_EQ(text.TextAnsi(1), QByteArray("Ch\xE2teau"));
    EXPECT_EQ(text.TextUnicode(2), QStringLiteral("城"));
    EXPECT_EQ(results->back()->Thing(), 4);
    EXPECT_EQ(TextPair().PairThingName, QStringLiteral("Dot"));

    // The pair is offered again for the next text.
    testsupport::WhenModal<frmFigText>([](frmFigText* dlg) {
        EXPECT_TRUE(dlg->chkSymbol->isChecked());
        EXPECT_EQ(dlg->choThingSymbol->currentText(), QStringLiteral("Dot"));
        dlg->cmdCancel->click();
    });
    EXPECT_FALSE(CreateMapFigure(5));
}
