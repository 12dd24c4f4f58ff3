// The map as a collection: edits, undo, lock, modified state, names.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "TestSupport.h"
#include "clsMap.h"

#include <functional>

using namespace maptest;

namespace {

using Order = std::vector<int32_t>;

// Figures told apart by their x position.
Order order(const clsMap& map) {
    Order v;
    for (const MapFigurePtr& f : map) v.push_back(f->Poly()->x(1));
    return v;
}

void fill(clsMap& map, int n) {
    for (int i = 1; i <= n; ++i) ASSERT_TRUE(map.Add(Sym(i, 0)));
    map.ResetUndo();
    map.setModify(false);
}

} // namespace

// Each edit, its result, and its undo back to the unmodified map.
TEST(Map, EditsAndTheirUndo) {
    const std::pair<std::function<bool(clsMap&)>, Order> cases[] = {
        {[](clsMap& m) { return m.Move(2, 5); }, {1, 3, 4, 2, 5}},   // placed before the target
        {[](clsMap& m) { return m.Move(5, 2); }, {1, 5, 2, 3, 4}},
        {[](clsMap& m) { return m.Move(2, 6); }, {1, 3, 4, 5, 2}},
        {[](clsMap& m) { return m.Move(3, 3) || m.Move(2, 7) || m.Move(0, 2); }, {1, 2, 3, 4, 5}},
        {[](clsMap& m) { return m.Ins(0, Sym(10, 0)) && m.Ins(9, Sym(11, 0)) && m.Ins(1, Sym(12, 0)); }, {12, 1, 2, 3, 4, 5, 10, 11}},
        {[](clsMap& m) { return m.Inss(2, {Sym(20, 0), Sym(21, 0)}); }, {1, 20, 21, 2, 3, 4, 5}},
        {[](clsMap& m) { return m.Inss(1, {}) || m.Inss(1, {Sym(40, 0), Sym(41, 0, -1)}); }, {1, 2, 3, 4, 5}},
        {[](clsMap& m) { return m.Removes(2, 4); }, {1, 5}},
        {[](clsMap& m) { return m.Removes(4, 2) || m.Removes(2, 6) || m.Remove(0); }, {1, 2, 3, 4, 5}},
        {[](clsMap& m) { return m.Renew(5, Sym(50, 0)) && !m.Renew(6, Sym(70, 0)) && !m.Renew(2, Sym(70, 0, -1)); }, {1, 2, 3, 4, 50}},
    };
    for (const auto& [edit, result] : cases) {
        clsMap map;
        fill(map, 5);
        const bool changed = result != Order{1, 2, 3, 4, 5};
        EXPECT_EQ(edit(map), changed) << result.size();
        EXPECT_EQ(order(map), result);
        EXPECT_EQ(map.Modify(), changed);
        map.Undo();
        EXPECT_EQ(order(map), (Order{1, 2, 3, 4, 5}));
        EXPECT_FALSE(map.Modify());
    }
}

TEST(Map, UndoSwitchRefusalsAndModifiedState) {
    clsMap map;
    EXPECT_EQ(map.FileName(), "BLANK.MLL");
    EXPECT_FALSE(map.Add(PolyFig<clsMapPolygon>({{0, 0}, {1, 0}, {1, 1}, {0, 0}}, -1)) || map.Add(nullptr));   // not right
    EXPECT_FALSE(map.Modify() || map.CanUndo());
    map.setEiUndo(false);
    EXPECT_TRUE(map.Add(Sym(1, 0)) && map.Add(Sym(2, 0)));
    EXPECT_FALSE(map.CanUndo());
    EXPECT_TRUE(map.Removes(1, 1));   // Removes and Inss record whatever the switch says
    EXPECT_TRUE(map.CanUndo());
    map.Undo();
    EXPECT_EQ(order(map), (Order{1, 2}));
    map.setModify(false);
    EXPECT_FALSE(map.Item(2)->Modify());
    map.Item(2)->setJumpMark(3);   // modified through a figure
    EXPECT_TRUE(map.Modify());
    map.setModify(false);
    map.setEiUndo(true);
    map.Add(Sym(3, 0));
    map.setModify(false);
    map.Undo();   // an undo after marking the map unmodified leaves it modified
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
    EXPECT_FALSE(map.Add(Sym(9, 0)) || map.Ins(1, Sym(9, 0)) || map.Inss(1, {Sym(9, 0)}) || map.Remove(1) ||
                 map.Removes(1, 2) || map.Renew(1, Sym(9, 0)) || map.Move(1, 3));
    map.Clear();
    EXPECT_EQ(order(map), (Order{1, 2, 3}));
    for (const plat::MessageRequest& r : boxes.shown()) EXPECT_EQ(r.icon(), plat::MbCritical);
}

TEST(Map, NamesAndModes) {
    clsMap map;
    map.setFileName(QString());
    EXPECT_EQ(map.FileName(), "BLANK.MLL");
    EXPECT_FALSE(map.Modify());
    map.setLockMode(true);
    map.setFileName(QStringLiteral("/maps/A.txt"));
    EXPECT_EQ(map.FileName(), "/maps/A.MLL");
    EXPECT_FALSE(map.LockMode());   // a new name unlocks
    map.setMapMode(3);
    EXPECT_EQ(map.MapMode(), 1);
    map.setMapMode(2);
    EXPECT_EQ(map.FileName(), "/maps/A.MXY");
    map.setFileName(QStringLiteral("B"));
    EXPECT_EQ(map.FileName(), "B.MXY");
    map.Add(Sym(1, 1));
    map.setMapMode(1);   // a map with figures keeps its mode
    EXPECT_EQ(map.MapMode(), 2);
}
