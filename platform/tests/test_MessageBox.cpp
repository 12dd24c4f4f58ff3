#include <gtest/gtest.h>

#include "MessageBox.h"
#include "ResString.h"
#include "TestSupport.h"

using namespace plat;

TEST(ScriptedBoxes, AnswerInOrderAndRecordWhatWasShown) {
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("保存"), IdNo).expectInput(QStringLiteral("名前"), QStringLiteral("東京"));
    EXPECT_EQ(MsgBox(QStringLiteral("保存しますか？"), MbYesNo | MbExclamation), IdNo);
    bool ok = false;
    EXPECT_EQ(InputBox(QStringLiteral("名前を入力"), QString(), QString(), 0, &ok), QStringLiteral("東京"));
    EXPECT_TRUE(ok);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("KALDERO"));
    EXPECT_EQ(boxes.shown()[0].icon(), MbExclamation);
}

TEST(ScriptedBoxes, UnexpectedBoxIsRecorded) {
    ScriptedMessageBox boxes;  // the plain one: a test decides what to do with surprises
    EXPECT_EQ(MsgBox(QStringLiteral("?"), MbYesNoCancel), IdCancel);
    ASSERT_EQ(boxes.unexpected().size(), 1u);
}

TEST(StringTable, HoldsTheFileErrorTexts) {
    EXPECT_EQ(LoadResString(6000), QStringLiteral("不明なドライブ関連エラーです."));
    EXPECT_EQ(LoadResString(6061), QStringLiteral("ドライブが満杯です."));
    EXPECT_EQ(LoadResString(6056), QString());
}
