// The map as a collection: edits, undo, lock, modified state, names.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "TestSupport.h"
#include "clsMap.h"

using namespace maptest;

namespace {

// Figures told apart by their x position.
std::vector<int32_t> order(const clsMap& map) {
    std::vector<int32_t> v;
    for (const MapFigurePtr& f : map) v.push_back(f->Poly()->x(1));
    return v;
}

void fill(clsMap& map, int n) {
    for (int i = 1; i <= n; ++i) ASSERT_TRUE(map.Add(Sym(i, 0)));
    map.ResetUndo();
    map.setModify(false);
}

} // namespace

TEST(Map, NewMap) {
    clsMap map;
    EXPECT_EQ(map.FileName(), "BLANK.MLL");
    EXPECT_EQ(map.MapMode(), 1);
    EXPECT_EQ(map.Version(), 106);
    EXPECT_FALSE(map.LockMode());
    EXPECT_TRUE(map.EiUndo());
    EXPECT_FALSE(map.Modify());
    EXPECT_EQ(map.Count(), 0);
    EXPECT_TRUE(map.IsRight());
    EXPECT_EQ(map.Item(1), nullptr);
    EXPECT_EQ(map.FigCode(0), 0);
}

TEST(Map, AddRefusesFiguresThatAreNotRight) {
    clsMap map;
    auto gon = PolyFig<clsMapPolygon>({{0, 0}, {1, 0}, {1, 1}, {0, 0}}, -1);
    EXPECT_FALSE(map.Add(gon));
    EXPECT_FALSE(map.Add(nullptr));
    EXPECT_EQ(map.Count(), 0);
    EXPECT_FALSE(map.Modify());
    EXPECT_FALSE(map.CanUndo());
}

TEST(Map, MovePlacesBeforeTheTarget) {
    struct Case {
        int32_t from, to;
        bool ok;
        std::vector<int32_t> result;
    } cases[] = {
        {2, 5, true, {1, 3, 4, 2, 5}}, {2, 6, true, {1, 3, 4, 5, 2}}, {5, 2, true, {1, 5, 2, 3, 4}},
        {3, 3, false, {1, 2, 3, 4, 5}}, {2, 7, false, {1, 2, 3, 4, 5}}, {0, 2, false, {1, 2, 3, 4, 5}},
        {1, 5, true, {2, 3, 4, 1, 5}},
    };
    for (const Case& c : cases) {
        clsMap map;
        fill(map, 5);
        EXPECT_EQ(map.Move(c.from, c.to), c.ok) << c.from << "->" << c.to;
        EXPECT_EQ(order(map), c.result) << c.from << "->" << c.to;
        map.Undo();
        EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 3, 4, 5}));
        EXPECT_FALSE(map.Modify());
    }
}

TEST(Map, InsertionsAndTheirUndo) {
    clsMap map;
    fill(map, 3);
    EXPECT_TRUE(map.Ins(0, Sym(10, 0)));
    EXPECT_TRUE(map.Ins(9, Sym(11, 0)));
    EXPECT_TRUE(map.Ins(1, Sym(12, 0)));
    EXPECT_EQ(order(map), (std::vector<int32_t>{12, 1, 2, 3, 10, 11}));
    map.Undo();
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_FALSE(map.CanUndo());

    EXPECT_TRUE(map.Inss(2, {Sym(20, 0), Sym(21, 0), Sym(22, 0)}));
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 20, 21, 22, 2, 3}));
    map.Undo();
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_TRUE(map.Inss(99, {Sym(30, 0), Sym(31, 0)}));
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 3, 30, 31}));
    EXPECT_FALSE(map.Inss(1, {}));
    EXPECT_FALSE(map.Inss(1, {Sym(40, 0), Sym(41, 0, -1)}));
    EXPECT_EQ(map.Count(), 5);
    map.Undo();
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 3}));
}

TEST(Map, RemovalsRenewAndTheChangeCount) {
    clsMap map;
    fill(map, 5);
    EXPECT_FALSE(map.Removes(4, 2));
    EXPECT_FALSE(map.Removes(2, 6));
    EXPECT_TRUE(map.Removes(2, 4));
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 5}));
    EXPECT_TRUE(map.Modify());
    map.Undo();
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(map.Modify());

    EXPECT_TRUE(map.Renew(5, Sym(50, 0)));
    EXPECT_TRUE(map.Renew(1, Sym(60, 0)));
    EXPECT_FALSE(map.Renew(6, Sym(70, 0)));
    EXPECT_FALSE(map.Renew(2, Sym(70, 0, -1)));
    EXPECT_EQ(order(map), (std::vector<int32_t>{60, 2, 3, 4, 50}));
    map.Undo();
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(map.Modify());

    EXPECT_TRUE(map.Remove(3));
    EXPECT_FALSE(map.Remove(0));
    map.ResetUndo();
    map.Undo();   // nothing to revert
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 4, 5}));
    EXPECT_FALSE(map.CanUndo());
}

TEST(Map, UndoSwitch) {
    clsMap map;
    map.setEiUndo(false);
    EXPECT_TRUE(map.Add(Sym(1, 0)));
    EXPECT_TRUE(map.Add(Sym(2, 0)));
    EXPECT_FALSE(map.CanUndo());
    // Removes and Inss record whatever the switch says.
    EXPECT_TRUE(map.Removes(1, 1));
    EXPECT_TRUE(map.CanUndo());
    map.Undo();
    EXPECT_TRUE(map.Inss(1, {Sym(3, 0)}));
    EXPECT_TRUE(map.CanUndo());
    map.Undo();
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2}));
}

TEST(Map, UndoAfterMarkingUnmodifiedLeavesTheMapModified) {
    clsMap map;
    map.Add(Sym(1, 0));
    map.setModify(false);
    map.Undo();
    EXPECT_EQ(map.Count(), 0);
    EXPECT_TRUE(map.Modify());
}

TEST(Map, LockRefusesEveryEdit) {
    clsMap map;
    fill(map, 3);
    map.setLockMode(true);
    EXPECT_TRUE(map.Modify());   // the lock change counts
    testsupport::ScriptedBoxes boxes;
    for (const char* edit : {"Add", "Ins", "Inss", "Remove", "Removes", "Renew", "Move", "Clear"})
        boxes.expect(QStringLiteral("BLANK.MLL\r\nは変更禁止. [%1]").arg(QLatin1String(edit)), plat::IdOk);
    EXPECT_FALSE(map.Add(Sym(9, 0)));
    EXPECT_FALSE(map.Ins(1, Sym(9, 0)));
    EXPECT_FALSE(map.Inss(1, {Sym(9, 0)}));
    EXPECT_FALSE(map.Remove(1));
    EXPECT_FALSE(map.Removes(1, 2));
    EXPECT_FALSE(map.Renew(1, Sym(9, 0)));
    EXPECT_FALSE(map.Move(1, 3));
    map.Clear();
    EXPECT_EQ(order(map), (std::vector<int32_t>{1, 2, 3}));
    for (const plat::MessageRequest& r : boxes.shown()) EXPECT_EQ(r.icon(), plat::MbCritical);
}

TEST(Map, ModifiedThroughAFigure) {
    clsMap map;
    fill(map, 2);
    EXPECT_FALSE(map.Modify());
    map.Item(2)->setJumpMark(3);
    EXPECT_TRUE(map.Modify());
    map.setModify(false);
    EXPECT_FALSE(map.Item(2)->Modify());
    EXPECT_FALSE(map.Modify());
    map.setModify(true);
    EXPECT_TRUE(map.Modify());
}

TEST(Map, NamesAndModes) {
    clsMap map;
    map.setModify(false);
    map.setFileName(QStringLiteral("BLANK.MLL"));
    EXPECT_FALSE(map.Modify());
    map.setFileName(QString());
    EXPECT_EQ(map.FileName(), "BLANK.MLL");
    map.setLockMode(true);
    map.setFileName(QStringLiteral("/maps/A.txt"));
    EXPECT_EQ(map.FileName(), "/maps/A.MLL");
    EXPECT_FALSE(map.LockMode());
    EXPECT_TRUE(map.Modify());

    map.setMapMode(3);
    EXPECT_EQ(map.MapMode(), 1);
    map.setMapMode(2);
    EXPECT_EQ(map.MapMode(), 2);
    EXPECT_EQ(map.FileName(), "/maps/A.MXY");
    map.setFileName(QStringLiteral("B"));
    EXPECT_EQ(map.FileName(), "B.MXY");

    map.Add(Sym(1, 1));
    map.setMapMode(1);
    EXPECT_EQ(map.MapMode(), 2);
}
