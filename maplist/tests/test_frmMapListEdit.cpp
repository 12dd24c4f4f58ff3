#include "frmMapListTestSupport.h"

#include "KeyCodes.h"

#include <QTimer>

#include <random>
#include <set>

using namespace listtest;

namespace {

// A list on one unit whose figures are symbols tagged by their x (1..n), on
// a grid showing 10 rows.
struct EditList : ::testing::Test {
    DisplaySettings settings;
    FakeGrid grid;
    frmMapListLogic list;
    std::unique_ptr<clsMapUnits> units;
    int32_t mode = 1;

    EditList() {
        SetMapListModeHooks([this] { return mode; }, [this](int32_t m) { mode = m; });
        list.attach(&grid);
    }
    ~EditList() override { SetMapListModeHooks({}, {}); }

    void open(int n, std::initializer_list<MapFigurePtr> more = {}) {
        auto unit = Unit("/maps/EDIT.MLL");
        for (int i = 1; i <= n; ++i) unit->Map().Add(Symbol(i, 0));
        for (const MapFigurePtr& f : more) unit->Map().Add(f);
        unit->Map().ResetUndo();
        units = Units({unit});
        list.MapUnits = units.get();
        ASSERT_TRUE(list.Load());
        ASSERT_TRUE(list.Activate());
    }
    clsMap& map() { return list.MapUnit->Map(); }
    clsMap& trash() { return list.MapUnit->Garbage(); }
    static std::vector<int32_t> tags(const clsMap& m) {
        std::vector<int32_t> out;
        for (const MapFigurePtr& f : m) out.push_back(f->Poly()->Count() ? f->Poly()->x(1) : -1);
        return out;
    }
    // Row i shows figure i, and the grid has a row per figure.
    void expectRowsShowFigures() {
        ASSERT_EQ(list.RowCount(), map().Count());
        for (int32_t r = 1; r <= map().Count(); ++r) {
            QStringList cells;
            for (int c = 1; c < 9; ++c) cells << grid.data.TextMatrix(r, c);
            ASSERT_EQ(cells.join('\t'), frmMapListRows::FigureToStrGrid(map().Item(r).get(), list.MapUnit.get())) << r;
        }
    }
    void select(int32_t a, int32_t b) { ASSERT_TRUE(list.SetSelectRange(a, b)); }
};

} // namespace

// Random commands against a model of the map, the trash, the clipboard and
// the undo state: after each, the map and the trash hold what the model says
// (an undo puts both back), every row shows its figure, and no figure
// object sits twice in the map or in both the map and the clipboard or the
// trash.
TEST_F(EditList, RandomCommandsKeepRowsAndModelInStep) {
    open(40);
    std::vector<int32_t> model = tags(map()), modelTrash, modelClip, undoBase = model, undoTrash;
    std::mt19937 rng(7);
    const auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    for (int step = 0; step < 300; ++step) {
        const auto n = static_cast<int32_t>(model.size());
        int32_t a = 1, b = 1;
        if (n > 0) {
            a = pick(1, n);
            b = std::min(n, a + pick(0, 7));
            select(a, b);
        }
        const int op = pick(0, 6);
        SCOPED_TRACE(testing::Message() << "step " << step << " op " << op << " rows " << a << "-" << b);
        switch (op) {
        case 0:   // copy
            if (n == 0) break;
            list.Copy();
            modelClip.assign(model.begin() + (a - 1), model.begin() + b);
            break;
        case 1:   // paste
            list.Paste();
            undoBase = model;
            undoTrash = modelTrash;
            model.insert(model.begin() + (n == 0 ? 0 : a - 1), modelClip.begin(), modelClip.end());
            break;
        case 2:   // cut, delete
        case 3:
            if (n == 0) break;
            if (op == 2) {
                list.Cut();
                modelClip.assign(model.begin() + (a - 1), model.begin() + b);
            } else {
                list.Delete();
            }
            undoBase = model;
            undoTrash = modelTrash;
            modelTrash.insert(modelTrash.end(), model.begin() + (a - 1), model.begin() + b);
            model.erase(model.begin() + (a - 1), model.begin() + b);
            break;
        case 4:   // restore one: not a new edit for undo
            list.RestoreOne();
            if (!modelTrash.empty()) {
                model.push_back(modelTrash.back());
                modelTrash.pop_back();
            }
            break;
        case 5:
            list.RestoreAll();
            if (!modelTrash.empty()) {
                undoBase = model;
                undoTrash = modelTrash;
                model.insert(model.end(), modelTrash.begin(), modelTrash.end());
                modelTrash.clear();
            }
            break;
        default:
            list.Undo();
            model = undoBase;
            modelTrash = undoTrash;
            break;
        }
        ASSERT_EQ(tags(map()), model);
        ASSERT_EQ(tags(trash()), modelTrash);
        ASSERT_EQ(tags(*list.ClipMap), modelClip);
        expectRowsShowFigures();
        std::set<const clsMapFigure*> seen;
        for (const MapFigurePtr& f : map()) ASSERT_TRUE(seen.insert(f.get()).second);
        for (const MapFigurePtr& f : *list.ClipMap) ASSERT_FALSE(seen.count(f.get()));
        for (const MapFigurePtr& f : trash()) ASSERT_FALSE(seen.count(f.get()));
        ASSERT_EQ(list.PanelText(2), "総行数:" + QString::number(map().Count()));
    }
}

// Fewer than 5 rows go one by one, 5 or more in one block: both leave the
// same map, trash, rows, current row and undo.
TEST_F(EditList, SingleAndBlockDeletionsAgree) {
    struct Case {
        int32_t first, last;
        int32_t current;   // row current afterwards
    } cases[] = {{3, 3, 3}, {3, 6, 3}, {3, 7, 3}, {2, 11, 2}, {9, 12, 8}, {8, 12, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << "-" << c.last);
        open(12);
        std::vector<int32_t> expected = tags(map());
        const std::vector<int32_t> gone(expected.begin() + (c.first - 1), expected.begin() + c.last);
        expected.erase(expected.begin() + (c.first - 1), expected.begin() + c.last);
        const MapFigurePtr firstGone = map().Item(c.first);
        select(c.first, c.last);
        list.Delete();
        EXPECT_EQ(tags(map()), expected);
        EXPECT_EQ(tags(trash()), gone);
        EXPECT_NE(trash().Item(1), firstGone);   // the trash holds copies
        EXPECT_EQ(grid.data.Row(), c.current);
        EXPECT_EQ(list.PanelText(3), "選択行:" + QString::number(c.current));
        expectRowsShowFigures();
        list.Undo();
        EXPECT_EQ(tags(map()).size(), 12u);
        EXPECT_EQ(map().Item(c.first), firstGone);
        EXPECT_EQ(trash().Count(), 0) << "the undo takes the copies out of the trash";
        expectRowsShowFigures();
        list.Unload(9000, 5000, 0, 0);
    }
}

TEST_F(EditList, EscWhileCopyingToTheTrashDeletesNothing) {
    open(200);
    select(10, 150);
    // Esc arrives with the first events the deletion lets run.
    QTimer::singleShot(0, [this] { list.KeyDown(plat::KeyEscape, 0); });
    EXPECT_FALSE(list.DelLines(10, 150));
    EXPECT_EQ(map().Count(), 200);
    EXPECT_EQ(trash().Count(), 0);
    EXPECT_FALSE(map().CanUndo());
    expectRowsShowFigures();
    EXPECT_EQ(list.PanelText(1), "");
}

TEST_F(EditList, LockedMapRefusesAndKeepsTheTrash) {
    open(12);
    select(2, 6);
    list.Delete();
    select(1, 1);
    list.Copy();
    map().setLockMode(true);
    const std::vector<int32_t> before = tags(map());
    testsupport::ScriptedBoxes boxes;
    boxes.expect("は変更禁止. [Removes]", plat::IdOk)
        .expect("は変更禁止. [Remove]", plat::IdOk)
        .expect("は変更禁止. [Remove]", plat::IdOk)   // one message for rows 1-2
        .expect("は変更禁止. [Inss]", plat::IdOk)
        .expect("は変更禁止. [Ins]", plat::IdOk)
        .expect("は変更禁止. [Inss]", plat::IdOk)
        .expect("は変更禁止. [Renew]", plat::IdOk);
    select(1, 5);
    list.Delete();
    list.DelLine(2);
    select(1, 2);
    list.Delete();
    list.Paste();
    list.RestoreOne();
    list.RestoreAll();
    EXPECT_FALSE(list.RenewLine(1, Symbol(99, 0)));
    EXPECT_FALSE(list.RenewLine(1, Lined<clsMapPolygon>({{0, 0}, {1, 1}})));   // invalid: refused before asking the map
    EXPECT_EQ(tags(map()), before);
    EXPECT_EQ(tags(trash()), std::vector<int32_t>({2, 3, 4, 5, 6}));
    expectRowsShowFigures();
    const auto enabled = list.EditMenuEnabled();
    EXPECT_FALSE(enabled[frmMapListLogic::mnuPaste] || enabled[frmMapListLogic::mnuDelete]);
    EXPECT_TRUE(enabled[frmMapListLogic::mnuCopy] && enabled[frmMapListLogic::mnuGarbageOne]);
}

TEST_F(EditList, PastedFiguresTakeTheirJumpMarks) {
    auto marked = Symbol(100, 0);
    marked->setJumpMark(3);
    auto later = Symbol(200, 0);
    later->setJumpMark(4);
    open(8, {marked, later});   // rows 9 (mark 3) and 10 (mark 4)
    // A copy pasted before the holder takes the mark from it, wherever it is.
    select(9, 10);
    list.Copy();
    select(2, 2);
    list.Paste();
    EXPECT_EQ(grid.data.TextMatrix(2, 1), "3");
    EXPECT_EQ(grid.data.TextMatrix(3, 1), "4");
    EXPECT_EQ(grid.data.TextMatrix(11, 1), "");
    EXPECT_EQ(grid.data.TextMatrix(12, 1), "");
    EXPECT_EQ(map().SearchJumpMark(3), 2);
    EXPECT_EQ(grid.data.Row(), 4);   // the row after the pasted ones
    // Pasted after the holder: the new copy takes it again.
    select(12, 12);
    list.Paste();
    EXPECT_EQ(grid.data.TextMatrix(2, 1), "");
    EXPECT_EQ(grid.data.TextMatrix(12, 1), "3");
    const auto table = list.MarkTable();
    EXPECT_EQ(table[3], 12);
    EXPECT_EQ(table[4], 13);
}

TEST_F(EditList, CopyPasteAndTheTrash) {
    open(8);
    select(3, 5);
    list.Copy();
    EXPECT_EQ(list.PanelText(4), "編集領域行数:3");
    EXPECT_NE(list.ClipMap->Item(1)->FigID(), map().Item(3)->FigID());
    // Two pastes are two sets of new figures.
    select(1, 1);
    list.Paste();
    list.Paste();
    EXPECT_EQ(tags(map()), std::vector<int32_t>({3, 4, 5, 3, 4, 5, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_NE(map().Item(1)->FigID(), map().Item(4)->FigID());
    list.Undo();   // the last paste
    EXPECT_EQ(tags(map()), std::vector<int32_t>({3, 4, 5, 1, 2, 3, 4, 5, 6, 7, 8}));
    // Deleting rows 2..4, restoring one appends the former row 4; undo then
    // reverts the deletion and the restoration together.
    open(8);
    select(2, 4);
    list.Delete();
    list.RestoreOne();
    EXPECT_EQ(tags(map()), std::vector<int32_t>({1, 5, 6, 7, 8, 4}));
    EXPECT_EQ(tags(trash()), std::vector<int32_t>({2, 3}));
    list.Undo();
    EXPECT_EQ(tags(map()), std::vector<int32_t>({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(trash().Count(), 0) << "the undone deletion takes its copies back";
    // Restore all appends in trash order and empties the trash; its undo
    // puts the figures back in the trash, in their order.
    select(2, 3);
    list.Delete();
    list.RestoreAll();
    EXPECT_EQ(tags(map()), std::vector<int32_t>({1, 4, 5, 6, 7, 8, 2, 3}));
    EXPECT_EQ(trash().Count(), 0);
    EXPECT_EQ(grid.data.Row(), 8);
    list.SelectAll();
    EXPECT_EQ(list.PanelText(3), "選択行:1-8");
    list.Undo();
    EXPECT_EQ(tags(map()), std::vector<int32_t>({1, 4, 5, 6, 7, 8}));
    EXPECT_EQ(tags(trash()), std::vector<int32_t>({2, 3}));
    expectRowsShowFigures();
}

TEST_F(EditList, InsertionsAppendBeyondTheRows) {
    open(3);
    for (int32_t row : {0, 9, -1}) EXPECT_TRUE(list.InsLine(row, Symbol(10 + row, 0)));
    EXPECT_EQ(tags(map()), std::vector<int32_t>({1, 2, 3, 10, 19, 9}));
    EXPECT_TRUE(list.InsLine(2, Symbol(50, 0)));
    EXPECT_EQ(tags(map()), std::vector<int32_t>({1, 50, 2, 3, 10, 19, 9}));
    EXPECT_FALSE(list.InsLines(2, {}));
    EXPECT_TRUE(list.RenewLine(3, Symbol(60, 0)));
    EXPECT_EQ(tags(map()), std::vector<int32_t>({1, 50, 60, 3, 10, 19, 9}));
    EXPECT_EQ(tags(trash()), std::vector<int32_t>({2}));
    EXPECT_EQ(grid.data.Row(), 3);
    expectRowsShowFigures();
}

// The enabling rule of the Edit menu, item by item. S: a selection, E: and
// the map editable, M: and more than one row.
TEST_F(EditList, EditMenuEnabling) {
    using L = frmMapListLogic;
    const auto enabledItems = [this] {
        std::set<int> on;
        const auto e = list.EditMenuEnabled();
        for (int i = 0; i < L::EditItemCount; ++i)
            if (e[static_cast<size_t>(i)]) on.insert(i);
        return on;
    };
    const std::set<int> always = {L::mnuPolylinePolygon, L::mnuPrevNext};
    const std::set<int> selection = {L::mnuCopy, L::mnuAllSelect};
    const std::set<int> editable = {L::mnuCut, L::mnuDelete, L::mnuInsert, L::mnuAdd, L::mnuTouch, L::mnuShow,
                                    L::mnuColor, L::mnuThing, L::mnuAdmin, L::mnuPolygon, L::mnuMove,
                                    L::mnuCompress, L::mnuCurve};
    const auto join = [](std::initializer_list<std::set<int>> sets) {
        std::set<int> out;
        for (const auto& s : sets) out.insert(s.begin(), s.end());
        return out;
    };
    // Rows: 1 remark, 2 line, 3 polygon, 4 symbol, 5 line.
    const auto poly = Lined<clsMapPolygon>({{0, 0}, {1, 0}, {1, 1}, {0, 0}});
    const auto line = [] { return Lined<clsMapPolyline>({{0, 0}, {1, 1}}); };
    open(0, {Rem("r"), line(), poly, Symbol(5, 5), line()});

    struct Case {
        int32_t a, b;
        std::set<int> extra;
    } cases[] = {
        {1, 1, {}},                                                                     // a remark: no neighbour copies
        {2, 2, {L::mnuPosPrev, L::mnuPosNext, L::mnuPosAdd, L::mnuJunction}},           // line then polygon
        {3, 4, {L::mnuPosPrev, L::mnuPosNext, L::mnuReverse, L::mnuSortUp, L::mnuSortDown}},   // polygon then symbol
        {4, 4, {L::mnuPosPrev, L::mnuPosNext}},
        {5, 5, {L::mnuPosPrev}},                                                        // the last row
    };
    for (const Case& c : cases) {
        select(c.a, c.b);
        EXPECT_EQ(enabledItems(), join({always, selection, editable, c.extra})) << c.a << "-" << c.b;
    }
    // Clipboard, trash and undo add their items; a lock leaves the selection's.
    select(2, 2);
    list.Copy();
    list.Delete();
    select(1, 1);
    EXPECT_EQ(enabledItems(), join({always, selection, editable,
                                    {L::mnuPaste, L::mnuGarbageOne, L::mnuGarbageAll, L::mnuUndo}}));
    map().setLockMode(true);
    EXPECT_EQ(enabledItems(), join({always, selection, {L::mnuGarbageOne, L::mnuGarbageAll, L::mnuUndo}}));
    // No rows, no selection: nothing that needs one, not even append.
    list.MapUnit->Map().setLockMode(false);
    open(0);
    trash().Add(Symbol(1, 1));
    map().ResetUndo();   // the trash holds a figure of an earlier edit
    EXPECT_EQ(enabledItems(), join({always, {L::mnuGarbageOne, L::mnuGarbageAll}}));

    EXPECT_EQ(list.SortKey6Caption(), "緯度(&6)");
    mode = 2;
    EXPECT_EQ(list.SortKey6Caption(), "Ｙ座標(&6)");
    EXPECT_EQ(L::EditSubItemCaptions(L::mnuSortDown).size(), 7);
}
