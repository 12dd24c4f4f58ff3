#include "frmMapListTestSupport.h"

using namespace listtest;

namespace {

// A list of n symbols tagged by their x (1..n).
struct Jumps : ListTest {
    void open(int n) {
        auto unit = Unit("/maps/J.MLL");
        for (int i = 1; i <= n; ++i) unit->Map().Add(Symbol(i, 0));
        unit->Map().ResetUndo();
        units = Units({unit});
        list.MapUnits = units.get();
        ASSERT_TRUE(list.Load());
        ASSERT_TRUE(list.Activate());
    }
    void mark(int32_t row, int16_t m) { map().Item(row)->setJumpMark(m); }
    int32_t current() { return list.SelectTopRow(); }
    std::vector<int32_t> tags() {
        std::vector<int32_t> out;
        for (const MapFigurePtr& f : map()) out.push_back(f->Poly()->x(1));
        return out;
    }
};

} // namespace

TEST_F(Jumps, MenuCaptionsShowTheRowOfEachMark) {
    open(130);
    mark(120, 3);
    mark(7, 3);   // held twice: the last holder keeps it
    const auto menu = list.JumpMenuState();
    EXPECT_EQ(menu.caption[3], "マーク &3  [000120]");
    EXPECT_EQ(menu.caption[4], "マーク &4");
    EXPECT_TRUE(menu.jumpItem[3] && menu.clear && menu.clearAll && menu.jump && menu.record);
    EXPECT_FALSE(menu.jumpItem[4]);
    EXPECT_EQ(map().Item(7)->JumpMark(), 0);

    open(1);
    const auto one = list.JumpMenuState();
    EXPECT_FALSE(one.top || one.bottom || one.line || one.record || one.clear || one.jump);
}

TEST_F(Jumps, RecordRecallAndClear) {
    open(12);
    mark(9, 3);
    list.JumpRow(5);
    list.RecordMark(3);
    EXPECT_EQ(grid.data.TextMatrix(9, 1), "");
    EXPECT_EQ(grid.data.TextMatrix(5, 1), "3");
    list.JumpRow(1);
    list.RecallMark(3);
    EXPECT_EQ(current(), 5);
    list.RecallMark(4);   // nobody holds it
    EXPECT_EQ(current(), 5);
    list.ClearMark();
    EXPECT_EQ(map().SearchJumpMark(3), -1);
    mark(2, 1);
    mark(11, 2);
    list.ClearAllMarks();
    EXPECT_EQ(list.MarkTable(), (std::array<int32_t, 10>{}));
    EXPECT_EQ(grid.data.TextMatrix(11, 1), "");
}

TEST_F(Jumps, AutomaticMarkTakesTheFirstFreeOne) {
    open(12);
    for (auto [row, m] : {std::pair{1, 1}, {2, 2}, {3, 4}}) mark(row, static_cast<int16_t>(m));
    list.JumpRow(6);
    list.AutoMark();
    EXPECT_EQ(map().Item(6)->JumpMark(), 3);
    for (int16_t m = 1; m <= 9; ++m) mark(m, m);
    list.JumpRow(12);
    list.AutoMark();
    EXPECT_EQ(map().Item(12)->JumpMark(), 1);
    EXPECT_EQ(map().Item(1)->JumpMark(), 0);
}

TEST_F(Jumps, NearestMarksAboveAndBelow) {
    open(12);
    mark(2, 5);
    mark(7, 6);
    list.JumpRow(10);
    list.PrevMark();
    EXPECT_EQ(current(), 7);
    list.PrevMark();
    EXPECT_EQ(current(), 2);
    list.PrevMark();   // none above
    EXPECT_EQ(current(), 2);
    list.NextMark();
    EXPECT_EQ(current(), 7);
    list.NextMark();   // none below
    EXPECT_EQ(current(), 7);
}

TEST_F(Jumps, LineNumberAnswers) {
    open(12);
    list.JumpRow(4);
    for (const char* answer : {"0", "", "13", "x"}) {
        testsupport::ScriptedBoxes boxes;
        boxes.expectInput("ジャンプ先行番号を入力してください.  [1～12]", answer);
        list.JumpToLine();
        EXPECT_EQ(current(), 4) << answer;
    }
    testsupport::ScriptedBoxes boxes;
    boxes.expectInput("ジャンプ先行番号", "１１");
    list.JumpToLine();
    EXPECT_EQ(current(), 11);
}

TEST_F(Jumps, ReverseSwapsPairsAndMarksFollowTheFigures) {
    open(10);
    mark(4, 2);
    mark(6, 3);
    ASSERT_TRUE(list.SetSelectRange(4, 8));
    list.Reverse();
    EXPECT_EQ(tags(), (std::vector<int32_t>{1, 2, 3, 8, 7, 6, 5, 4, 9, 10}));
    EXPECT_EQ(map().SearchJumpMark(2), 8);
    EXPECT_EQ(map().SearchJumpMark(3), 6);
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 4);
    int32_t first = 0, last = 0;
    ASSERT_TRUE(list.GetSelectRange(first, last));
    EXPECT_EQ(std::pair(first, last), std::pair(4, 8));
    list.Undo();
    EXPECT_EQ(tags(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    ASSERT_TRUE(list.SetSelectRange(1, 2));
    map().setLockMode(true);
    testsupport::ScriptedBoxes boxes;
    boxes.expect("は変更禁止. [Renew]", plat::IdOk);
    list.Reverse();
    EXPECT_EQ(tags(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(Jumps, PopupEnablesPasteWithoutARow) {
    open(3);
    list.JumpRow(1);
    list.Copy();
    grid.data.setRow(0);   // no current row
    grid.data.setRowSel(0);
    auto popup = list.PopupMenuState();
    EXPECT_TRUE(popup.paste);
    EXPECT_FALSE(popup.cut || popup.copy || popup.del || popup.touch || popup.markRegist || popup.before);
    EXPECT_TRUE(popup.next);
    list.JumpRow(3);
    popup = list.PopupMenuState();
    EXPECT_TRUE(popup.cut && popup.before && popup.markRegist);
    EXPECT_FALSE(popup.next);
}
