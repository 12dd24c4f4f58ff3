#include "frmMapListTestSupport.h"

#include "basAngle.h"

using namespace listtest;

namespace {

struct Geometry : ListTest {
    void select(int32_t a, int32_t b) { ASSERT_TRUE(list.SetSelectRange(a, b)); }
    std::vector<std::pair<int32_t, int32_t>> points(int32_t row) {
        std::vector<std::pair<int32_t, int32_t>> out;
        const auto p = map().Item(row)->Poly();
        for (int32_t k = 1; k <= p->Count(); ++k) out.emplace_back(p->x(k), p->y(k));
        return out;
    }
    using Pts = std::vector<std::pair<int32_t, int32_t>>;
};

} // namespace

TEST(GeometryParse, ShiftAnswers) {
    struct Case {
        int32_t mode;
        QString across, upDown;
        bool ok;
        int32_t dx, dy;
    } cases[] = {
        {2, "1.5", "-200m", true, 1500, -200},     // a bare number is kilometres
        {2, "0", "0", false, 0, 0},                // no shift
        {2, "", "1", false, 0, 0},                 // cancelled
        {2, "1", "", false, 0, 0},
        {2, "abc", "1", false, 0, 0},              // unreadable: silently nothing
        {2, "0.0005", "0.0025", true, 0, 2},        // halves go to the even metre
        {2, "1e30", "0", false, 0, 0},             // beyond the coordinate range
        {1, AngleToStr(0), AngleToStr(0), false, 0, 0},
        {1, AngleToStr(3600), AngleToStr(-1800), true, 3600, -1800},
        {1, "abc", AngleToStr(60), false, 0, 0},
    };
    DisplaySettings settings;
    for (const Case& c : cases) {
        int32_t dx = 0, dy = 0;
        EXPECT_EQ(frmMapListLogic::ParseShift(c.mode, c.across, c.upDown, dx, dy), c.ok) << c.across.toStdString();
        if (c.ok) {
            EXPECT_EQ(std::pair(dx, dy), std::pair(c.dx, c.dy)) << c.across.toStdString();
        }
    }
}

TEST(GeometryParse, CurveFactor) {
    for (const auto& [answer, factor] : std::initializer_list<std::pair<const char*, int32_t>>{
             {"1", 0}, {"11", 0}, {"2", 2}, {"4", 4}, {"10", 10}, {"", 0}, {"x", 0}, {"-4", 0}})
        EXPECT_EQ(frmMapListLogic::ParseCurveFactor(answer), factor) << answer;
}

TEST_F(Geometry, ShiftMovesEveryKindAndOneUndoBringsTheOldPointsBack) {
    openUnit("/maps/A.MLL", {Lined<clsMapPolyline>({{0, 0}, {100, 100}}), Symbol(10, 20), Rem("note"),
                             Lined<clsMapPolyline>({{5, 5}, {6, 6}})});
    const MapFigurePtr before = map().Item(1);
    select(1, 3);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expectInput("東西方向移動量", AngleToStr(1500)).expectInput("南北方向移動量", AngleToStr(-200));
        list.MoveCoordinates();
    }
    EXPECT_EQ(points(1), (Pts{{1500, -200}, {1600, -100}}));
    EXPECT_EQ(points(2), (Pts{{1510, -180}}));
    EXPECT_EQ(map().Item(3)->FigCode(), 1);
    EXPECT_EQ(points(4), (Pts{{5, 5}, {6, 6}}));   // outside the selection
    // The figure the map held was never touched.
    EXPECT_EQ(before->Poly()->x(1), 0);
    list.Undo();
    EXPECT_EQ(points(1), (Pts{{0, 0}, {100, 100}}));
    EXPECT_EQ(points(2), (Pts{{10, 20}}));
    EXPECT_EQ(map().Count(), 4);
}

TEST_F(Geometry, ShiftQuestionsStopAtTheFirstEmptyAnswer) {
    openUnit("/maps/A.MLL", {Symbol(1, 1)});
    select(1, 1);
    for (bool defaults : {false, true}) {
        testsupport::ScriptedBoxes boxes;
        if (defaults)
            boxes.expectInput("東西方向移動量", AngleToStr(0)).expectInput("南北方向移動量", AngleToStr(0));
        else
            boxes.expectInput("東西方向移動量", "", false);
        list.MoveCoordinates();
    }
    EXPECT_EQ(points(1), (Pts{{1, 1}}));
    EXPECT_FALSE(map().CanUndo());
}

TEST_F(Geometry, LongitudesWrapAndLatitudesBeyondAPoleRefuseTheShift) {
    openUnit("/maps/A.MLL", {Symbol(647000, 300000), Lined<clsMapPolyline>({{-647000, 0}, {0, 320000}})});
    select(1, 2);
    EXPECT_TRUE(list.ShiftSelection(2000, 1000));
    EXPECT_EQ(points(1), (Pts{{-647000, 301000}}));
    EXPECT_EQ(points(2), (Pts{{-645000, 1000}, {2000, 321000}}));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("南北９０度を越える", plat::IdOk);
        EXPECT_FALSE(list.ShiftSelection(0, 3001));
    }
    EXPECT_EQ(points(2), (Pts{{-645000, 1000}, {2000, 321000}}));
}

TEST_F(Geometry, LockedMapStaysAsItWasInMemoryAndTellsOnce) {
    mode = 2;
    openUnit("/maps/A.MLL", {Symbol(1, 1), Symbol(2, 2), Lined<clsMapPolyline>({{0, 0}, {1, 1}, {2, 0}, {3, 1}})});
    map().setLockMode(true);
    select(1, 3);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("は変更禁止. [Renew]", plat::IdOk);
        EXPECT_FALSE(list.ShiftSelection(10, 10));
    }
    EXPECT_EQ(points(1), (Pts{{1, 1}}));
    EXPECT_EQ(points(2), (Pts{{2, 2}}));
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 0);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("は変更禁止. [Renew]", plat::IdOk);
        list.CompressSelection();
    }
    EXPECT_EQ(points(3).size(), 4u);
}

TEST_F(Geometry, RenewLineRefusesBeforeAnythingLeavesTheRow) {
    openUnit("/maps/A.MLL", {Symbol(1, 1), Symbol(2, 2), Symbol(3, 3)});
    auto broken = std::make_shared<clsMapPolyline>();   // no points: not a valid figure
    EXPECT_FALSE(list.RenewLine(2, broken));
    EXPECT_EQ(map().Count(), 3);
    EXPECT_EQ(points(2), (Pts{{2, 2}}));
    EXPECT_EQ(points(3), (Pts{{3, 3}}));
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 0);
    EXPECT_TRUE(list.RenewLine(2, Symbol(9, 9)));
    EXPECT_EQ(points(2), (Pts{{9, 9}}));
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 1);
    EXPECT_EQ(list.RowCount(), 3);
}

TEST_F(Geometry, ThinningAndSmoothingLeaveShortLinesAndOtherKinds) {
    openUnit("/maps/A.MLL",
             {Lined<clsMapPolyline>({{0, 0}, {10, 0}}), Symbol(1, 1),
              Lined<clsMapPolyline>({{0, 0}, {10, 10}, {20, 0}, {30, 10}, {40, 0}, {50, 10}, {60, 0}}),
              Lined<clsMapPolygon>({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}})});
    select(1, 4);
    list.CompressSelection();
    EXPECT_EQ(points(1), (Pts{{0, 0}, {10, 0}}));
    EXPECT_EQ(points(2), (Pts{{1, 1}}));
    const Pts thinned = points(3);
    EXPECT_LT(thinned.size(), 7u);
    EXPECT_EQ(thinned.front(), (std::pair<int32_t, int32_t>{0, 0}));   // an open line keeps its ends
    EXPECT_EQ(thinned.back(), (std::pair<int32_t, int32_t>{60, 0}));
    EXPECT_TRUE(map().Item(4)->Poly()->IsLoop() || map().Item(4)->Poly()->Count() == 5);
    list.Undo();
    EXPECT_EQ(points(3).size(), 7u);

    for (int k = 1; k <= 3; ++k) {
        select(1, 4);
        EXPECT_TRUE(list.CurveSelection(k, 4)) << k;
        EXPECT_GT(points(3).size(), 7u) << k;
        EXPECT_EQ(points(1).size(), 2u);
        list.Undo();
        EXPECT_EQ(points(3).size(), 7u) << k;
    }
    select(1, 4);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expectInput("倍率を指定してください. [2～10]", "11");
        list.CurveItem(2);
    }
    EXPECT_EQ(points(3).size(), 7u);
    EXPECT_FALSE(map().CanUndo());
}

TEST_F(Geometry, PointsOfTheRowAboveAndBelow) {
    openUnit("/maps/A.MLL", {Lined<clsMapPolyline>({{0, 0}, {5, 5}}), Lined<clsMapPolyline>({{1, 1}, {2, 2}, {3, 3}}),
                             Text("a", "あ", 7, 7), Symbol(8, 8)});
    select(3, 3);
    list.PosPrev();   // a text moves to the last point of the figure above
    EXPECT_EQ(points(3), (Pts{{3, 3}}));
    list.Undo();
    EXPECT_EQ(points(3), (Pts{{7, 7}}));
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 0) << "the undone replacement takes its copy back";
    select(1, 1);
    list.PosNext();   // a line takes all points of the figure below
    EXPECT_EQ(points(1), (Pts{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(map().Item(1)->FigCode(), 2);
    select(2, 2);
    list.PosPrev();
    EXPECT_EQ(points(2), (Pts{{1, 1}, {2, 2}, {3, 3}}));
    select(3, 3);
    list.PosNext();   // ... and a text the first point of the figure below
    EXPECT_EQ(points(3), (Pts{{8, 8}}));
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 3);
}

TEST_F(Geometry, JunctionKeepsTheSharedPointOnceAndRemovesTheRowBelow) {
    struct Case {
        std::vector<std::pair<int32_t, int32_t>> second;
        Pts joined;
    } cases[] = {
        {{{5, 5}, {9, 0}}, {{0, 0}, {5, 5}, {9, 0}}},          // touching
        {{{9, 0}, {5, 5}}, {{0, 0}, {5, 5}, {9, 0}}},          // touching end to end: reversed
        {{{7, 7}, {8, 8}}, {{0, 0}, {5, 5}, {7, 7}, {8, 8}}},  // apart: a straight step
    };
    for (const Case& c : cases) {
        auto second = std::make_shared<clsPoly>();
        for (auto [x, y] : c.second) second->AddXandY(x, y);
        auto below = Placed<clsMapPolyline>(1, 1);
        below->setPoly(second);
        openUnit("/maps/A.MLL", {Lined<clsMapPolyline>({{0, 0}, {5, 5}}), below, Symbol(3, 3)});
        select(1, 1);
        list.Junction();
        EXPECT_EQ(points(1), c.joined);
        EXPECT_EQ(map().Count(), 2);
        EXPECT_EQ(list.RowCount(), 2);
        EXPECT_EQ(list.MapUnit->Garbage().Count(), 2);   // the old row 1 and the joined-in one
    }
}

TEST_F(Geometry, JunctionOnALockedMapCostsNoRow) {
    openUnit("/maps/A.MLL", {Lined<clsMapPolyline>({{0, 0}, {5, 5}}), Lined<clsMapPolyline>({{5, 5}, {9, 0}})});
    map().setLockMode(true);
    select(1, 1);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("は変更禁止. [Renew]", plat::IdOk);
        list.Junction();
    }
    EXPECT_EQ(map().Count(), 2);
    EXPECT_EQ(points(1), (Pts{{0, 0}, {5, 5}}));
}
