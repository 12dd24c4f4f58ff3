// The trace window as a person sees it: the picture with its crosses, the
// digitised figure inverted over it, zoom 2, and the window opened by a
// figure dialog through the installed trace window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "DialogPlayer.h"
#include "EditingTestSupport.h"
#include "FigureWindows.h"
#include "HelpPages.h"
#include "Screen.h"
#include "TraceTestSupport.h"
#include "frmTrace.h"

using namespace tracetest;

namespace {

bool Inverted(QRgb shown, QRgb picture) { return (shown & 0xFFFFFF) == (~picture & 0xFFFFFF); }

} // namespace

TEST(frmTrace, PhaseOneShowsTheCrossesOnThePicture) {
    TracedPicture pic(false);
    frmTraceLogic logic;
    logic.setPicturePath(pic.path);
    ASSERT_TRUE(logic.Open());
    logic.Mesh().SetLists(OneCellCrosses(), {});
    logic.SetActIndexGrid(2);
    frmTrace form(logic);
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("トレース - scan.png [モード：経緯線網編集]"));
    EXPECT_EQ(form.fraGrid->title(), QStringLiteral("交点 [2]"));
    EXPECT_EQ(form.lblIxBody->text(), QStringLiteral("150"));
    EXPECT_EQ(form.txtLon->text(), LonToStr(11 * kDeg));
    EXPECT_FALSE(form.fraNode->isEnabled());
    const QImage view = logic.Render(form.picView->size());
    const QImage picture = GraticulePicture();
    // The 10-pixel mark of cross 1 (50, 250): its left edge at x 45.
    EXPECT_TRUE(Inverted(view.pixel(45, 252), picture.pixel(45, 252)));
    EXPECT_EQ(view.pixel(44, 252), picture.pixel(44, 252));
    edittest::ExpectPicture(&form);
    // The phase in which the page's steps are taken: the registration can be closed.
    EXPECT_EQ(testsupport::NamesNotInWindow(frmTraceLogic::HelpContext, form), QStringList());
}

TEST(frmTrace, PhaseTwoShowsTheFigureAndZoomTwoDoublesTheView) {
    TracedPicture pic(true);
    frmTraceLogic logic;
    logic.setPicturePath(pic.path);
    logic.Mode = frmTraceLogic::ModePoly;
    for (auto [x, y] : {std::pair{60, 230}, {170, 120}, {330, 160}}) logic.Poly.AddXandY(LonAt(x), LatAt(y));
    logic.ActIndex = 2;
    ASSERT_TRUE(logic.Open());
    frmTrace form(logic);
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("トレース - scan.png [モード：地図図形編集／連続線]"));
    EXPECT_EQ(form.fraNode->title(), QStringLiteral("ノード [2]"));
    EXPECT_EQ(form.cmdPhase->text(), QStringLiteral("経緯線網(&G)"));
    EXPECT_TRUE(form.cmdLoop->isEnabled());
    const QImage view = logic.Render(form.picView->size());
    // The active node's handle is filled inverted, the rubber line between
    // nodes 1 and 2 runs through the middle.
    const QImage picture = GraticulePicture();
    EXPECT_TRUE(Inverted(view.pixel(170, 120), picture.pixel(170, 120)));
    EXPECT_TRUE(Inverted(view.pixel(115, 175), picture.pixel(115, 175)));
    edittest::ExpectPicture(&form, QStringLiteral("zoom1"));

    const int rangeAtOne = form.hsbView->maximum();
    form.chkDouble->setChecked(true);
    QApplication::processEvents();
    EXPECT_EQ(logic.Zoom(), 2);
    EXPECT_GT(form.hsbView->maximum(), rangeAtOne) << "twice the picture to scroll over";
    // Scrolled to node 2, a drag of 20 view pixels moves it 10 picture pixels.
    form.hsbView->setValue(std::min(form.hsbView->maximum(), 100));
    form.vsbView->setValue(std::min(form.vsbView->maximum(), 80));
    const QPoint node(logic.ImageToViewX(170), logic.ImageToViewY(120));
    ASSERT_TRUE(form.picView->rect().contains(node + QPoint(20, 0)));
    QTest::mousePress(form.picView, Qt::LeftButton, {}, node);
    QTest::mouseRelease(form.picView, Qt::LeftButton, {}, node + QPoint(20, 0));
    EXPECT_NEAR(logic.Poly.x(2), LonAt(180), 1);
    EXPECT_NEAR(logic.Poly.y(2), LatAt(120), 1);
    edittest::ExpectPicture(&form, QStringLiteral("zoom2"));
    form.chkDouble->setChecked(false);
}

TEST(frmTrace, TheInstalledTraceWindowReturnsTheDigitisedPoint) {
    TracedPicture pic(true);
    const FigPolyWindows before = InstalledFigPolyWindows();
    const TraceHost host = InstalledTraceHost();
    InstallTraceWindow(host);
    TraceDialog().setPicturePath(pic.path);

    TraceWindowRequest req;
    req.PointX = LonAt(100);
    req.PointY = LatAt(200);
    testsupport::WhenModal<frmTrace>([](frmTrace* dlg) {
        QTest::mouseClick(dlg->picView, Qt::LeftButton, {}, QPoint(230, 120));
        dlg->cmdOK->click();
    });
    ASSERT_TRUE(InstalledFigPolyWindows().trace(req));
    EXPECT_NEAR(req.PointX, LonAt(230), 1);
    EXPECT_NEAR(req.PointY, LatAt(120), 1);
    EXPECT_FALSE(TraceDialog().HasPicture()) << "released on closing";
    EXPECT_EQ(TraceDialog().PicturePath(), pic.path) << "kept for the next opening";

    // Without a picture (chooser cancelled) the window does not stay.
    TraceDialog().setPicturePath(QString());
    EXPECT_FALSE(InstalledFigPolyWindows().trace(req));
    EXPECT_EQ(pic.asked.size(), 1u);
    SetFigPolyWindows(before);
}

TEST(frmTrace, TheFrameStaysOnTheScreenFromARememberedPlaceOffItAndWhenZoomed) {
    TracedPicture pic(false);
    frmTraceLogic logic;
    logic.setPicturePath(pic.path);
    ASSERT_TRUE(logic.Open());
    QWidget owner;
    owner.show();
    const QRect screen = owner.screen()->availableGeometry();
    // Remembered on a larger screen, below and right of this one.
    logic.Win = {int32_t((screen.right() + 200) * plat::TwipsPerPixelX()),
                 int32_t((screen.bottom() + 100) * plat::TwipsPerPixelY())};
    frmTrace form(logic, &owner);
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(screen.contains(form.frameGeometry())) << "opened on the screen";
    EXPECT_EQ(form.frameGeometry().bottomRight(), screen.bottomRight());

    // Left near the bottom right; twice the picture grows the window.
    const QSize small = form.frameGeometry().size();
    form.move(screen.right() - small.width() - 10, screen.bottom() - small.height() - 10);
    form.chkDouble->setChecked(true);
    QApplication::processEvents();
    EXPECT_GT(form.frameGeometry().height(), small.height() + 20);
    EXPECT_TRUE(screen.contains(form.frameGeometry())) << "grown on the screen";
    form.chkDouble->setChecked(false);
}
