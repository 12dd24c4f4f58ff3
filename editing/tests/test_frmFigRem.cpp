#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "AppInfo.h"
#include "EditingTestSupport.h"
#include "TestSupport.h"
#include "basColorLib.h"
#include "basHMap.h"
#include "clsMapRem.h"
#include "frmFigRem.h"

using edittest::CleanEditing;

namespace {

// A remark that never passes the check, as a damaged figure would not.
struct BrokenRem : clsMapRem {
    bool IsRight() const override { return false; }
    MapFigurePtr Copy() const override { return std::make_shared<BrokenRem>(); }
};

struct RemarkDialog : ::testing::Test {
    CleanEditing clean;
    FigureDialogVars vars;
    std::shared_ptr<clsMapRem> rem = std::make_shared<clsMapRem>();
    double id = rem->FigID();

    RemarkDialog() {
        rem->setComment(QStringLiteral("# 地図名：日本"));
        vars.Figure = rem;
        vars.MapUnit = std::make_shared<clsMapUnit>();
        vars.MapUnit->setUnitName(QStringLiteral("/maps/JAPAN.MLL"));
    }
    const clsMapRem& result() const { return static_cast<const clsMapRem&>(*vars.Results->front()); }
    void expectUntouched() const {
        EXPECT_FALSE(vars.OK);
        EXPECT_FALSE(vars.Results);
        EXPECT_EQ(rem->FigID(), id);
        EXPECT_EQ(rem->Comment(), QStringLiteral("# 地図名：日本"));
        EXPECT_EQ(rem->Admin(), -1);
    }
};

} // namespace

TEST_F(RemarkDialog, OkStoresOneLineWithADistrict) {
    FigRemLogic logic(vars);
    ASSERT_TRUE(logic.Load());
    EXPECT_EQ(logic.Caption(), QStringLiteral("注釈図形プロパティ - JAPAN.MLL"));
    EXPECT_EQ(logic.Comment(), QStringLiteral("# 地図名：日本"));
    EXPECT_EQ(logic.ShowModeIndex(), 0);
    EXPECT_EQ(logic.OkClick(QStringLiteral("一行目\r\n二行目\t終わり\x1f")), OkOutcome::Closed);
    ASSERT_TRUE(vars.OK);
    ASSERT_EQ(vars.Results->size(), 1u);
    EXPECT_EQ(result().Comment(), QStringLiteral("一行目二行目終わり"));
    EXPECT_EQ(result().Admin(), 0);
    EXPECT_EQ(result().FigID(), id);
    EXPECT_NE(rem->FigID(), id);
    EXPECT_EQ(rem->Comment(), QStringLiteral("# 地図名：日本"));
}

TEST_F(RemarkDialog, InvalidSettingsAskWhetherToCorrectThem) {
    vars.Figure = std::make_shared<BrokenRem>();
    for (const int answer : {plat::IdOk, plat::IdCancel}) {
        FigRemLogic logic(vars);
        ASSERT_TRUE(logic.Load());
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("設定に誤りがあります.\r修正しますか？"), answer);
        EXPECT_EQ(logic.OkClick(QStringLiteral("x")), answer == plat::IdOk ? OkOutcome::Stay : OkOutcome::Cancelled);
        EXPECT_EQ(boxes.shown().at(0).style, plat::MbOkCancel + plat::MbCritical);
        EXPECT_FALSE(vars.OK);
        EXPECT_FALSE(vars.Results);
    }
}

TEST_F(RemarkDialog, ACommentTooLongForTheFileKeepsTheDialogOpen) {
    FigRemLogic logic(vars);
    ASSERT_TRUE(logic.Load());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("注釈が長すぎます"), plat::IdOk);
    EXPECT_EQ(logic.OkClick(QString(kMaxRecordText / 2 + 1, QChar(0x3042))), OkOutcome::Stay);
    EXPECT_FALSE(vars.OK);
}

TEST_F(RemarkDialog, NothingToEditClosesAtOnce) {
    vars.MapUnit.reset();
    EXPECT_FALSE(FigRemLogic(vars).Load());
    vars.MapUnit = std::make_shared<clsMapUnit>();
    vars.Figure.reset();
    frmFigRem dlg(vars);
    EXPECT_FALSE(dlg.loaded());
    EXPECT_FALSE(vars.OK);
}

TEST_F(RemarkDialog, ShowModeAndOwnColour) {
    FigRemLogic logic(vars);
    ASSERT_TRUE(logic.Load());
    logic.ShowModeClick(2);
    EXPECT_EQ(logic.Work().OwnShowMode(), 1);
    EXPECT_EQ(logic.ColorLook().caption, QStringLiteral("事象依存"));
    EXPECT_EQ(logic.ColorLook().back, 0x8000000Fu);
    EXPECT_EQ(logic.ColorLook().toolTip, QStringLiteral("この図形の色は / 事象依存"));

    std::vector<int32_t> answers = {0x2040FF, -2, -1};
    std::vector<int32_t> asked;
    const NativeColorInput previous = SetNativeColorInput([&](int32_t current) {
        asked.push_back(current);
        const int32_t a = answers.front();
        answers.erase(answers.begin());
        return a;
    });
    logic.ColorClick();
    EXPECT_EQ(logic.Work().OwnColor(), 0x2040FF);
    EXPECT_EQ(logic.ColorLook().caption, ColorToHex(0x2040FF));
    EXPECT_EQ(logic.ColorLook().back, 0x2040FFu);
    EXPECT_EQ(logic.ColorLook().toolTip, QStringLiteral("この図形の色は / BBGGRR=") + ColorToHex(0x2040FF));
    logic.ColorClick();  // cancelled
    EXPECT_EQ(logic.Work().OwnColor(), 0x2040FF);
    logic.ColorClick();  // follow the thing
    EXPECT_EQ(logic.Work().OwnColor(), -1);
    EXPECT_EQ(asked, (std::vector<int32_t>{-1, 0x2040FF, 0x2040FF}));
    SetNativeColorInput(previous);

    // Without the palette the colour chooser answers.
    testsupport::ScriptedBoxes boxes;
    boxes.expectColor(0x00A0B0C0);
    logic.ColorClick();
    EXPECT_EQ(logic.Work().OwnColor(), 0xA0B0C0);
    EXPECT_EQ(rem->OwnColor(), -1);
    EXPECT_EQ(rem->OwnShowMode(), -1);
}

TEST_F(RemarkDialog, WindowOkAndCancel) {
    {
        frmFigRem dlg(vars);
        ASSERT_TRUE(dlg.loaded());
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("注釈図形プロパティ - JAPAN.MLL"));
        EXPECT_EQ(dlg.txtComment->toPlainText(), QStringLiteral("# 地図名：日本"));
        EXPECT_EQ(dlg.choPrint->currentText(), QStringLiteral("事象依存"));
        EXPECT_EQ(dlg.lblDateBody->text(), FormatGeneralDate(rem->FigDate()));
        dlg.txtComment->setPlainText(QStringLiteral("変えた"));
        dlg.cmdCancel->click();
        EXPECT_FALSE(dlg.DialogOK());
    }
    expectUntouched();
    {
        frmFigRem dlg(vars);
        dlg.txtComment->setPlainText(QStringLiteral("新しい\n注釈"));
        dlg.choPrint->setCurrentIndex(1);
        emit dlg.choPrint->activated(1);
        dlg.cmdOK->click();
        EXPECT_TRUE(dlg.DialogOK());
    }
    ASSERT_TRUE(vars.OK);
    EXPECT_EQ(result().Comment(), QStringLiteral("新しい注釈"));
    EXPECT_EQ(result().OwnShowMode(), 0);
}

TEST_F(RemarkDialog, EditedThroughHMapEditAsAUserWould) {
    HMapEdit().EditMapUnit = vars.MapUnit;
    HMapEdit().EditDialogLeft = 1500;
    HMapEdit().EditDialogTop = 1200;
    bool typed = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<frmFigRem*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dlg);
        EXPECT_EQ(dlg->focusWidget(), dlg->txtComment);
        dlg->txtComment->setPlainText(QStringLiteral("打ち込んだ注釈"));
        typed = true;
        dlg->cmdOK->click();
    });
    const auto results = EditMapFigure(rem);
    EXPECT_TRUE(typed);
    ASSERT_TRUE(results);
    EXPECT_EQ(static_cast<const clsMapRem&>(*results->front()).Comment(), QStringLiteral("打ち込んだ注釈"));
    EXPECT_EQ(results->front()->FigID(), id);
    // The window remembers where it stood, not where the caller asked.
    EXPECT_TRUE(FigureDialogVarsOf(FigureDialogKind::Remark).Win.isSet());
    EXPECT_FALSE(FigureDialogVarsOf(FigureDialogKind::Remark).Figure);
}

TEST_F(RemarkDialog, AFailingHandlerStopsTheProgram) {
    testsupport::TempDir dir;
    plat::SetAppPath(dir.path());
    int ended = 0;
    SetProgramEndHook([&] { ++ended; });
    const NativeColorInput previous =
        SetNativeColorInput([](int32_t) -> int32_t { throw AppError(ErrGeneral, "frmPalette.Show/", "lost"); });
    {
        frmFigRem dlg(vars);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("frmFigRem.cmdColor_Click/frmPalette.Show/"), plat::IdOk);
        dlg.cmdColor->click();
    }
    EXPECT_EQ(ended, 1);
    SetNativeColorInput(previous);
    SetProgramEndHook(nullptr);
    plat::SetAppPath(QString());
}

TEST_F(RemarkDialog, Picture) {
    vars.Figure->setOwnColor(0x3070E0);
    frmFigRem dlg(vars);
    dlg.txtComment->setPlainText(QStringLiteral("# 地図名：日本 (1:1,000,000)"));
    EXPECT_FALSE(testsupport::SaveWidgetPng(&dlg).isEmpty());
}
