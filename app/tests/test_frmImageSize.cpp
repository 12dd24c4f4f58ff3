// The image size dialog: sizes in dots, inches and millimetres both ways,
// the checks of the three kinds of box with their range messages, what OK
// and Cancel leave on the canvas, and a picture of the dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "CanvasPictures.h"
#include "HelpPages.h"
#include "PublicVal.h"
#include "TestSupport.h"
#include "clsCanvas.h"
#include "clsRegistry.h"
#include "frmImageSize.h"

namespace {

class ImageSize : public ::testing::Test {
protected:
    ImageSize() : view_(400, 300, QSize(0, 0), QSize(1280, 1024)) {
        clsRegistry(clsCanvas::RegistrySection()).RegDelete(QString());
        canvas_ = std::make_unique<clsCanvas>(picture_, view_, 96);
        canvas_->setDpi(96);
        gvScreenDPI = 96;
        logic_.Canvas = canvas_.get();
        logic_.SetUnit(MapSizeLogic::Dots);
        logic_.Load();
    }
    ~ImageSize() override {
        canvas_.reset();
        clsRegistry(clsCanvas::RegistrySection()).RegDelete(QString());
    }
    struct Sizes {
        bool synchro;
        int32_t dpi, cw, ch, vw, vh;
        bool operator==(const Sizes&) const = default;
    };
    Sizes sizes() const {
        return {canvas_->Synchro(), canvas_->Dpi(), canvas_->CanvasWidth(), canvas_->CanvasHeight(), canvas_->ViewWidth(),
                canvas_->ViewHeight()};
    }

    BitmapCanvasPicture picture_;
    BitmapViewPicture view_;
    std::unique_ptr<clsCanvas> canvas_;
    MapSizeLogic logic_;
};

TEST_F(ImageSize, UnitsBothWays) {
    struct Case {
        int16_t unit;
        int32_t dpi, dots;
        const char* shown;
        const char* shownAsLowerBound;
    } toText[] = {
        {MapSizeLogic::Dots, 96, 1000, "1000", "1000"},
        {MapSizeLogic::Inches, 96, 1000, "10.4", "10.5"},   // truncated; rounded up
        {MapSizeLogic::Inches, 96, 96, "1", "1"},
        {MapSizeLogic::Inches, 96, 32, "0.3", "0.4"},
        {MapSizeLogic::Inches, 1440, 4000, "2.7", "2.8"},
        {MapSizeLogic::Millimetres, 96, 1000, "264", "265"},
        {MapSizeLogic::Millimetres, 96, 32, "8", "9"},
        {MapSizeLogic::Millimetres, 254, 1000, "100", "100"},
    };
    for (const Case& c : toText) {
        logic_.SetUnit(c.unit);
        ASSERT_TRUE(logic_.SetDpiText(QString::number(c.dpi)));
        EXPECT_EQ(logic_.ToText(c.dots), QString::fromLatin1(c.shown)) << c.unit << " " << c.dots;
        EXPECT_EQ(logic_.ToText(c.dots, true), QString::fromLatin1(c.shownAsLowerBound)) << c.unit << " " << c.dots;
    }
    ASSERT_TRUE(logic_.SetDpiText(QStringLiteral("96")));
    struct Back {
        int16_t unit;
        const char* text;
        int32_t dots;
    } fromText[] = {
        {MapSizeLogic::Dots, "2.5", 2},        // half to even
        {MapSizeLogic::Dots, "１２３", 123},
        {MapSizeLogic::Dots, "abc", 0},
        {MapSizeLogic::Inches, "0.3", 29},
        {MapSizeLogic::Inches, "0.4", 38},
        {MapSizeLogic::Inches, "二", 192},
        {MapSizeLogic::Millimetres, "264", 998},
        {MapSizeLogic::Millimetres, "1e300", INT32_MAX},
    };
    for (const Back& b : fromText) {
        logic_.SetUnit(b.unit);
        EXPECT_EQ(logic_.FromText(QString::fromUtf8(b.text)), b.dots) << b.unit << " " << b.text;
    }
}

TEST_F(ImageSize, ChecksAndTheirMessages) {
    const MapSizeLogic::PrinterDpiSource old = MapSizeLogic::SetPrinterDpiSource([] { return 600; });
    struct Case {
        const char* text;
        int32_t dpi;          // 0: refused
    } dpis[] = {
        {"SCREEN", 96}, {"Printer", 720},   // 1440 \ CLng(2.4)
        {"0", 96}, {"abc", 96}, {"47", 0}, {"48", 48}, {"1440", 1440}, {"1441", 0}, {"３００", 300},
    };
    for (const Case& c : dpis) {
        testsupport::ScriptedBoxes boxes;
        if (!c.dpi) boxes.expect(QStringLiteral("既定の範囲を超えています.\r\n48～1440"), plat::IdOk);
        const int32_t before = logic_.Dpi();
        EXPECT_EQ(logic_.SetDpiText(QString::fromUtf8(c.text)), c.dpi != 0) << c.text;
        EXPECT_EQ(logic_.Dpi(), c.dpi ? c.dpi : before) << c.text;
    }
    MapSizeLogic::SetPrinterDpiSource(old);
    ASSERT_TRUE(logic_.SetDpiText(QStringLiteral("96")));

    // The lower bound a message names is accepted in every unit.
    struct Side {
        int16_t unit;
        const char* text;
        int32_t dots;         // 0: refused with `message`
        const char* message;
    } sides[] = {
        {MapSizeLogic::Dots, "31", 0, "32～4000"},
        {MapSizeLogic::Dots, "32", 32, nullptr},
        {MapSizeLogic::Dots, "4001", 0, "32～4000"},
        {MapSizeLogic::Inches, "0.3", 0, "0.4～41.6"},
        {MapSizeLogic::Inches, "0.4", 38, nullptr},
        {MapSizeLogic::Inches, "41.6", 3994, nullptr},
        {MapSizeLogic::Millimetres, "8", 0, "9～1058"},
        {MapSizeLogic::Millimetres, "9", 34, nullptr},
        {MapSizeLogic::Millimetres, "1058", 3999, nullptr},
    };
    for (const Side& s : sides) {
        SCOPED_TRACE(testing::Message() << s.unit << " " << s.text);
        logic_.SetUnit(s.unit);
        const int32_t before = logic_.CanvasSide(1);
        testsupport::ScriptedBoxes boxes;
        if (s.message) boxes.expect(QStringLiteral("既定の範囲を超えています.\r\n") + QString::fromUtf8(s.message), plat::IdOk);
        EXPECT_EQ(logic_.SetCanvasText(1, QString::fromLatin1(s.text)), s.dots != 0);
        EXPECT_EQ(logic_.CanvasSide(1), s.dots ? s.dots : before);
    }

    const QString viewRange = QStringLiteral("32～%1").arg(canvas_->ViewMaxWidth());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(viewRange, plat::IdOk).expect(viewRange, plat::IdOk);
    EXPECT_FALSE(logic_.SetViewText(0, QStringLiteral("31")));
    EXPECT_FALSE(logic_.SetViewText(0, QString::number(canvas_->ViewMaxWidth() + 1)));
    EXPECT_TRUE(logic_.SetViewText(0, QString::number(canvas_->ViewMaxWidth())));
    EXPECT_EQ(logic_.ViewSide(0), canvas_->ViewMaxWidth());
}

TEST_F(ImageSize, HelpPageNamesOnlyItsControls) {
    const frmMapSize dlg(logic_);
    EXPECT_EQ(testsupport::NamesNotInWindow(230010, dlg), QStringList());
}

TEST_F(ImageSize, OkWritesTheCopyCancelNothing) {
    const Sizes start = sizes();
    ASSERT_TRUE(start.synchro);
    {
        frmMapSize dlg(logic_);
        dlg.viewSizeBox(0)->setText(QStringLiteral("500"));
        EXPECT_TRUE(dlg.checkField(dlg.viewSizeBox(0)));
        dlg.synchroBox()->click();
        EXPECT_TRUE(dlg.canvasSizeBox(0)->isEnabled());
        dlg.canvasSizeBox(0)->setText(QStringLiteral("900"));
        EXPECT_TRUE(dlg.checkField(dlg.canvasSizeBox(0)));
        dlg.cancelButton()->click();
        EXPECT_FALSE(logic_.OK);
        EXPECT_EQ(sizes(), start);
    }
    {
        // With the switch on only the view and the switch can change; the
        // canvas follows the view.
        frmMapSize dlg(logic_);
        EXPECT_FALSE(dlg.canvasSizeBox(0)->isEnabled());
        EXPECT_FALSE(dlg.dpiBox()->isEnabled());
        dlg.viewSizeBox(1)->setText(QStringLiteral("200"));
        EXPECT_TRUE(dlg.checkField(dlg.viewSizeBox(1)));
        dlg.okButton()->click();
        EXPECT_TRUE(logic_.OK);
        EXPECT_EQ(sizes(), (Sizes{true, 96, 400, 200, 400, 200}));
    }
    {
        // Switch off: the canvas takes its own size; the unit shown last
        // comes back, and a refused entry puts the last value back.
        frmMapSize dlg(logic_);
        dlg.synchroBox()->click();
        dlg.unitList()->setCurrentIndex(MapSizeLogic::Millimetres);
        emit dlg.unitList()->activated(MapSizeLogic::Millimetres);
        EXPECT_EQ(dlg.canvasSizeBox(0)->text(), "105");
        dlg.canvasSizeBox(0)->setText(QStringLiteral("300"));
        EXPECT_TRUE(dlg.checkField(dlg.canvasSizeBox(0)));
        dlg.dpiBox()->setText(QStringLiteral("2000"));
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QStringLiteral("48～1440"), plat::IdOk);
            EXPECT_FALSE(dlg.checkField(dlg.dpiBox()));
        }
        EXPECT_EQ(dlg.dpiBox()->text(), "96");
        testsupport::SaveWidgetPng(&dlg);
        dlg.okButton()->click();
        EXPECT_EQ(sizes(), (Sizes{false, 96, 1134, 200, 400, 200}));
    }
    frmMapSize again(logic_);
    EXPECT_EQ(again.unitList()->currentIndex(), MapSizeLogic::Millimetres);
    // Dots to millimetres and back shows the same count.
    again.unitList()->setCurrentIndex(MapSizeLogic::Dots);
    emit again.unitList()->activated(MapSizeLogic::Dots);
    EXPECT_EQ(again.canvasSizeBox(0)->text(), "1134");
    again.cancelButton()->click();
}

} // namespace
