#include "frmMapListTestSupport.h"

#include "AppInfo.h"
#include "ErrorMng.h"

#include <QTimer>

using namespace listtest;

namespace {

// A list over a base unit of 3 figures, "WORLD.MLL" of 30 and an empty
// "EMPTY.MLL" (active), on a grid showing 10 rows.
struct MapList : ::testing::Test {
    DisplaySettings settings;
    FakeGrid grid;
    frmMapListLogic list;
    std::unique_ptr<clsMapUnits> units;
    QStringList captions;
    int32_t mode = 1;

    MapList() {
        std::vector<MapFigurePtr> world;
        for (int i = 0; i < 30; ++i) world.push_back(Symbol(i * 3600, 0));
        auto worldUnit = Unit("/maps/WORLD.MLL");
        for (const auto& f : world) worldUnit->Map().Add(f);
        worldUnit->Map().setModify(false);
        units = Units({Unit("/maps/BASE.MLL", {Rem("a"), Rem("b"), Rem("c")}), worldUnit, Unit("/maps/EMPTY.MLL")});
        list.attach(&grid);
        list.onCaption = [this](const QString& c) { captions << c; };
        SetMapListModeHooks([this] { return mode; }, [this](int32_t m) { mode = m; });
    }
    ~MapList() override { SetMapListModeHooks({}, {}); }

    void open(int16_t startUnit = 0, int32_t startRow = 0) {
        list.MapUnits = units.get();
        list.StartUnit = startUnit;
        list.StartRow = startRow;
        ASSERT_TRUE(list.Load());
        ASSERT_TRUE(list.Activate());
    }
    QStringList panels() const {
        QStringList out;
        for (int p = 2; p <= 5; ++p) out << list.PanelText(p);
        return out;
    }
    clsMap& map(int i) { return units->Item(i)->Map(); }
};

} // namespace

TEST_F(MapList, OpensOnTheActiveUnitOrTheStartUnitAndRow) {
    units->setIndex(2);
    open();
    EXPECT_EQ(list.UnitIndex, 2);
    EXPECT_EQ(captions.last(), "地図図形リスト - [2] WORLD.MLL");
    EXPECT_EQ(grid.data.Rows(), 31);
    EXPECT_EQ(grid.data.FixedRows(), 1);
    EXPECT_EQ(grid.ColWidth(0), 600);   // wider than its title: six digits
    EXPECT_EQ(panels(), QStringList({"総行数:30", "選択行:1", "編集領域行数:0", "下行と非接続"}));
    list.Unload(9000, 5000, 100, 200);

    open(2, 25);
    EXPECT_EQ(grid.data.Row(), 25);
    EXPECT_EQ(grid.TopRow(), 20);   // 25 - 10 \ 2
    EXPECT_EQ(list.PanelText(3), "選択行:25");
}

TEST_F(MapList, EmptyMapShowsTheTitleRowAlone) {
    mode = 2;   // the caller's map mode, back after the list
    open();     // EMPTY.MLL is active
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.SelectTopRow(), -1);
    EXPECT_EQ(grid.data.FixedRows(), 0);
    EXPECT_EQ(grid.data.TextMatrix(0, 1), "マーク");
    EXPECT_EQ(panels(), QStringList({"総行数:0", "選択行:no selected", "編集領域行数:0", ""}));
    EXPECT_EQ(list.ClipMap->FileName(), "clip.MLL");
    list.Unload(9000, 5000, 0, 0);
    EXPECT_EQ(mode, 2);
    EXPECT_TRUE(!list.MapUnits && !list.MapUnit && !list.ClipMap && list.PanelText(1).isEmpty());
}

TEST_F(MapList, LaterActivationsKeepTheUnitShown) {
    // The empty unit leaves the grid at one row; a sub-dialog closing
    // activates the window again, which must not go back to the start unit.
    open(3);
    list.ChooseUnit(2);
    list.JumpRow(17);
    EXPECT_FALSE(list.Activate());
    EXPECT_EQ(list.UnitIndex, 2);
    EXPECT_EQ(grid.data.Row(), 17);
    list.ChooseUnit(3);
    EXPECT_FALSE(list.Activate());
    EXPECT_EQ(list.UnitIndex, 3);
}

TEST_F(MapList, CaptionsByLockAndModification) {
    open(1);
    const char* marks[] = {"", " (変更禁止)", " (更新)", " (変更禁止) (更新)"};
    for (int c = 0; c < 4; ++c) {
        map(1).setLockMode(c & 1);
        map(1).setModify(c & 2);
        EXPECT_EQ(list.Caption(), QStringLiteral("地図図形リスト - [1] BASE.MLL") + marks[c]);
    }
}

TEST_F(MapList, SelectionJumpsAndScrolling) {
    open(2);
    EXPECT_TRUE(list.SetSelectRange(9, 4));
    EXPECT_EQ(list.PanelText(3), "選択行:4-9");
    EXPECT_TRUE(grid.data.selLeft() == 0 && grid.data.selRight() == 8);   // whole rows
    EXPECT_FALSE(list.SetSelectRange(0, 4) || list.SetSelectRange(4, 31));
    EXPECT_EQ(list.PanelText(3), "選択行:4-9");
    // 12 rows high: 10 visible rows from TopRow; a row outside comes to the
    // middle, never above row 1.
    struct Case {
        int32_t top, target, newTop;
    } cases[] = {{1, 10, 1}, {1, 11, 6}, {12, 11, 6}, {12, 21, 12}, {20, 3, 1}, {5, 30, 25}};
    for (const Case& c : cases) {
        grid.top = c.top;
        list.JumpRow(c.target);
        EXPECT_EQ(grid.TopRow(), c.newTop) << c.top << " -> " << c.target;
        EXPECT_EQ(grid.data.Row(), c.target);
    }
    // A grid lower than three rows still scrolls the target into view.
    grid.height = 100;
    grid.top = 1;
    list.JumpRow(7);
    EXPECT_EQ(grid.TopRow(), 7);
}

TEST_F(MapList, UnderPanelTellsWhetherTheNextFigureConnects) {
    struct Case {
        MapFigurePtr a, b;
        const char* text;
    } cases[] = {
        {Symbol(5, 5), Lined<clsMapPolyline>({{1, 1}, {5, 5}, {9, 9}}), "下行と接続"},   // a point on the line
        {Symbol(5, 5), Lined<clsMapPolyline>({{1, 1}, {9, 9}}), "下行と非接続"},
        {Lined<clsMapPolyline>({{0, 0}, {1, 1}}), Lined<clsMapPolyline>({{2, 2}, {1, 1}}), "下行と接続"},   // last - last
        {Lined<clsMapPolyline>({{0, 0}, {1, 1}}), Lined<clsMapPolyline>({{0, 0}, {3, 3}}), "下行と接続"},   // first - first
        {Lined<clsMapPolyline>({{0, 0}, {1, 1}, {2, 2}}), Lined<clsMapPolyline>({{1, 1}, {3, 3}}), "下行と非接続"},   // middle points do not count
        {Rem("x"), Symbol(0, 0), ""},
        {Symbol(0, 0), Rem("x"), ""},
    };
    for (const Case& c : cases) {
        units = Units({Unit("/maps/BASE.MLL", {c.a, c.b})});
        open(1);
        EXPECT_EQ(list.PanelText(5), c.text);
        list.JumpRow(2);   // the last row has nothing below
        EXPECT_EQ(list.PanelText(5), "");
        list.SetSelectRange(1, 2);   // nor has a range
        EXPECT_EQ(list.PanelText(5), "");
        list.Unload(9000, 5000, 0, 0);
    }
}

TEST_F(MapList, GridPositionKeptPerUnit) {
    open(2);
    grid.top = 11;
    grid.data.select(14, 0, 12, 8);   // dragged upwards
    list.ChooseUnit(1);   // shown the first time: row 1 at the top
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_EQ(grid.data.Row(), 1);
    list.JumpRow(3);
    list.ChooseUnit(2);
    EXPECT_EQ(grid.TopRow(), 11);
    EXPECT_EQ(grid.data.Row(), 14);
    EXPECT_EQ(grid.data.RowSel(), 12);
    // Kept rows the map no longer has fall back to row 1.
    map(1).Removes(1, 2);
    list.ChooseUnit(1);
    EXPECT_EQ(grid.data.Row(), 1);
    // Closing keeps the position for the next opening.
    list.JumpRow(1);
    list.ChooseUnit(2);
    list.JumpRow(29);
    list.Unload(9000, 5000, 0, 0);
    open(2);
    EXPECT_EQ(grid.data.Row(), 29);
}

TEST_F(MapList, EachJumpMarkEndsWithOneFigure) {
    for (int i : {3, 7, 9}) map(2).Item(i)->setJumpMark(3);
    map(2).Item(5)->setJumpMark(8);
    map(2).setModify(false);
    open(2);   // the switch runs the mark table
    for (int i : {3, 7}) EXPECT_EQ(map(2).Item(i)->JumpMark(), 0) << i;
    EXPECT_EQ(grid.data.TextMatrix(9, 1), "3");
    EXPECT_EQ(grid.data.TextMatrix(3, 1), "");
    EXPECT_EQ(list.MarkTable(), (std::array<int32_t, 10>{0, 0, 0, 9, 0, 0, 0, 0, 5, 0}));
    EXPECT_TRUE(captions.last().endsWith("(更新)"));
    // A mark given to a row leaves the figure that had it.
    list.SetMark(2, 8);
    EXPECT_EQ(grid.data.TextMatrix(2, 1), "8");
    EXPECT_EQ(grid.data.TextMatrix(5, 1), "");
    list.SetMark(2, 10);   // not a mark: cleared
    EXPECT_EQ(grid.data.TextMatrix(2, 1), "");
}

TEST_F(MapList, UnitMenuCaptionsAndSwitch) {
    units->Item(2)->setUnitName("/maps/A&B.MLL");
    units->setIndex(2);
    open();
    const auto& menu = list.UnitMenu();
    ASSERT_EQ(list.UnitMenuCount(), 3);
    EXPECT_EQ(menu[0].caption, "/maps/BASE.MLL (&1)");
    EXPECT_EQ(menu[1].caption, "/maps/A&&B.MLL (&2)");   // the name's own & is no access key
    EXPECT_EQ(menu[2].caption, "/maps/EMPTY.MLL (&3)");
    EXPECT_TRUE(!menu[0].checked && menu[1].checked && !menu[2].checked);
    for (int n : {0, 4, -1}) {   // "取り消し(&0)" and numbers beyond the set
        list.ChooseUnit(n);
        EXPECT_EQ(list.UnitIndex, 2);
    }
    list.ChooseUnit(3);
    EXPECT_TRUE(!menu[1].checked && menu[2].checked);
    EXPECT_EQ(units->Index(), 3);
}

TEST_F(MapList, FileMenuEnabling) {
    open(2);
    using L = frmMapListLogic;
    struct Case {
        bool selected, locked, modified;
        std::array<bool, L::FileItemCount> enabled;   // in menu order
    } cases[] = {
        {false, false, false, {1, 1, 0, 0, 0, 0, 0, 0, 1, 1}},
        {true, false, false, {1, 1, 0, 0, 1, 1, 1, 1, 1, 1}},
        {true, false, true, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {true, true, true, {1, 1, 0, 0, 0, 0, 1, 1, 1, 1}},   // a locked map saves only the selection
        {false, true, true, {1, 1, 0, 0, 0, 0, 0, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        grid.data.select(c.selected ? 3 : 0, 0, c.selected ? 3 : 0, 8);
        map(2).setLockMode(c.locked);
        map(2).setModify(c.modified);
        EXPECT_EQ(list.FileMenuEnabled(), c.enabled) << c.selected << c.locked << c.modified;
    }
    EXPECT_EQ(L::FileItemCaption(L::mnuCloseMove), "地図ビューを移動して閉じる(&M)");
}

TEST_F(MapList, ColumnWidthsShareWhatColumnsZeroToFourLeave) {
    std::array<int32_t, 9> kept{500, 1000, 500, 500, 1500};
    EXPECT_EQ(frmMapListLogic::ColumnWidths(12000, kept), (std::array<int32_t, 9>{500, 1000, 500, 500, 1500, 1000, 1000, 3000, 12000}));
    EXPECT_EQ(frmMapListLogic::ColumnWidths(4001, kept)[5], 120);   // an eighth of 1 twip: kept visible
    kept[1] = 20000;   // widened past the grid
    const auto w = frmMapListLogic::ColumnWidths(8000, kept);
    EXPECT_TRUE(w[5] > 0 && w[6] > 0 && w[7] > 0) << w[5] << " " << w[7];
}

TEST_F(MapList, NothingToListClosesAtOnce) {
    clsMapUnits none;
    list.MapUnits = &none;
    list.MoveView = true;
    EXPECT_FALSE(list.Load());
    EXPECT_FALSE(list.MoveView);
    EXPECT_FALSE(list.Activate());
}

TEST_F(MapList, KeysOfTheWindow) {
    using K = frmMapListLogic::KeyAction;
    const std::tuple<int, int, K> cases[] = {   // key, Shift 1 / Ctrl 2, action: Ctrl wins
        {45, 2, K::Copy}, {45, 1, K::Paste}, {45, 3, K::Copy}, {45, 0, K::None}, {46, 2, K::Delete},
        {46, 1, K::Cut},  {46, 3, K::Delete}, {46, 0, K::None}, {13, 0, K::Properties}, {32, 4, K::Properties}};
    for (const auto& [key, shift, action] : cases) EXPECT_EQ(list.KeyDown(key, shift), action) << key << "/" << shift;
    EXPECT_FALSE(list.EscAbort);
    EXPECT_EQ(list.KeyDown(27, 0), K::Abort);
    EXPECT_TRUE(list.EscAbort);
}

TEST_F(MapList, LongOperationsYieldEvery32FiguresAndStopOnEsc) {
    std::vector<bool> busy;
    list.onBusy = [&](bool b) { busy.push_back(b); };
    list.EscAbort = true;
    {
        frmMapListLogic::LongOperation op(list);
        EXPECT_FALSE(list.EscAbort);
        frmMapListLogic::LongOperation inner(list);
        EXPECT_TRUE(list.Busy());
        int ran = 0;
        QTimer::singleShot(0, [&] { ++ran; });
        for (int i = 1; i < frmMapListLogic::kYieldPeriod; ++i) list.YieldEvents();
        EXPECT_EQ(ran, 0);
        QTimer::singleShot(0, [&] { list.KeyDown(27, 0); });
        EXPECT_FALSE(list.YieldEvents());   // the 32nd call lets Esc in
        EXPECT_EQ(ran, 1);
    }
    EXPECT_FALSE(list.Busy());
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
}

TEST_F(MapList, CancelInTheFileErrorBoxEndsOnlyTheCommand) {
    testsupport::TempDir dir;
    plat::SetAppPath(dir.path());
    int ended = 0;
    SetProgramEndHook([&] { ++ended; });
    const auto diskNotReady = [] { plat::ThrowRuntimeError(plat::ErrDiskNotReady); };
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("再試行しますか", plat::IdCancel);
        bool after = false;
        EXPECT_FALSE(list.RunHandler("mnuTextRead_Click", [&] {
            ListFileStep("/maps/A.CSV", diskNotReady);
            after = true;
        }));
        EXPECT_FALSE(after);
        EXPECT_EQ(ended, 0);   // no fatal stop, no further box
    }
    {
        // Any other error still ends the program through the fatal stop.
        testsupport::ScriptedBoxes boxes;
        boxes.expect("frmMapList.mnuFile_Click/", plat::IdOk);
        EXPECT_FALSE(list.RunHandler("mnuFile_Click", [] { plat::ThrowRuntimeError(plat::ErrInvalidCall); }));
        EXPECT_EQ(ended, 1);
        EXPECT_TRUE(boxes.shown().at(0).text.contains("by StopError"));
    }
    SetProgramEndHook(nullptr);
    plat::SetAppPath(QString());
}
