#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "DialogPlayer.h"
#include "EditingTestSupport.h"
#include "TestSupport.h"
#include "clsMapRem.h"
#include "frmFigRem.h"

namespace {

// A remark that never passes the check, as a damaged figure would not.
struct BrokenRem : clsMapRem {
    bool IsRight() const override { return false; }
    MapFigurePtr Copy() const override { return std::make_shared<BrokenRem>(); }
};

struct RemarkDialog : ::testing::Test {
    edittest::CleanEditing clean;
    FigureDialogVars vars;
    std::shared_ptr<clsMapRem> rem = std::make_shared<clsMapRem>();
    const double id = rem->FigID();

    RemarkDialog() {
        rem->setComment(QStringLiteral("# 地図名：日本"));
        vars.Figure = rem;
        vars.MapUnit = std::make_shared<clsMapUnit>();
        vars.MapUnit->setUnitName(QStringLiteral("/maps/JAPAN.MLL"));
    }
};

} // namespace

TEST_F(RemarkDialog, RefusedSettingsKeepTheDialogOpenOrGiveUp) {
    vars.Figure = std::make_shared<BrokenRem>();
    for (const int answer : {plat::IdOk, plat::IdCancel}) {
        FigRemLogic logic(vars);
        ASSERT_TRUE(logic.Load());
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("設定に誤りがあります.\r修正しますか？"), answer);
        EXPECT_EQ(logic.OkClick("x"), answer == plat::IdOk ? OkOutcome::Stay : OkOutcome::Cancelled);
        EXPECT_EQ(boxes.shown().at(0).style, plat::MbOkCancel + plat::MbCritical);
        EXPECT_FALSE(vars.OK || vars.Results);
    }
    // A comment too long for a map record is refused by the remark itself.
    vars.Figure = rem;
    FigRemLogic logic(vars);
    ASSERT_TRUE(logic.Load());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("注釈が長すぎます"), plat::IdOk);
    EXPECT_EQ(logic.OkClick(QString(kMaxRecordText / 2 + 1, QChar(0x3042))), OkOutcome::Stay);
    EXPECT_FALSE(vars.OK);
    vars.MapUnit.reset();  // nothing to edit: the dialog closes at once
    EXPECT_FALSE(frmFigRem(vars).loaded());
}

TEST_F(RemarkDialog, OwnColourFromThePalette) {
    FigRemLogic logic(vars);
    ASSERT_TRUE(logic.Load());
    std::vector<int32_t> answers = {0x2040FF, -2, -1};
    const NativeColorInput previous = SetNativeColorInput([&](int32_t) { return answers.at(0); });
    for (int32_t expected : {0x2040FF, 0x2040FF, -1}) {  // a colour, cancelled, "事象依存"
        logic.ColorClick();
        EXPECT_EQ(logic.Work().OwnColor(), expected);
        answers.erase(answers.begin());
    }
    SetNativeColorInput(previous);
    testsupport::ScriptedBoxes boxes;  // no palette installed: the colour chooser answers
    boxes.expectColor(0x00A0B0C0);
    logic.ColorClick();
    EXPECT_EQ(logic.Work().OwnColor(), 0xA0B0C0);
    EXPECT_EQ(rem->OwnColor(), -1);
}

TEST_F(RemarkDialog, EditedThroughHMapEditAsAUserWould) {
    HMapEdit().EditMapUnit = vars.MapUnit;
    rem->setOwnColor(0x3070E0);
    for (const bool ok : {false, true}) {
        testsupport::WhenModal<frmFigRem>([ok](frmFigRem* dlg) {
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("注釈図形プロパティ - JAPAN.MLL"));
            EXPECT_EQ(dlg->focusWidget(), dlg->txtComment);
            if (ok) {
                edittest::ExpectPicture(dlg);
            }
            dlg->txtComment->setPlainText(QStringLiteral("一行目\r\n二行目\t終わり\x1f"));
            (ok ? dlg->cmdOK : dlg->cmdCancel)->click();
        });
        const auto results = EditMapFigure(rem);
        ASSERT_EQ(results.has_value(), ok);
        EXPECT_EQ(rem->Comment(), QStringLiteral("# 地図名：日本"));
        EXPECT_EQ(rem->Admin(), -1);
        EXPECT_EQ(rem->FigID() == id, !ok);
    }
    const auto& result = static_cast<const clsMapRem&>(*FigureDialogVarsOf(FigureDialogKind::Remark).Results->front());
    EXPECT_EQ(result.Comment(), QStringLiteral("一行目二行目終わり"));  // removed, not replaced by blanks
    EXPECT_EQ(result.Admin(), 0);
    EXPECT_EQ(result.FigID(), id);
}

TEST_F(RemarkDialog, PasteFromAnEmptyClipboardLeavesTheCommentAlone) {
    frmFigRem dlg(vars);
    dlg.show();
    // X11 offers no format at all while nobody owns the clipboard.
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    QTest::keyClick(dlg.txtComment, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(dlg.txtComment, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dlg.txtComment->toPlainText(), QStringLiteral("# 地図名：日本"));
    QGuiApplication::clipboard()->setText(QStringLiteral("追記"));
    QTest::keyClick(dlg.txtComment, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_TRUE(dlg.txtComment->toPlainText().contains(QStringLiteral("追記")));
}
