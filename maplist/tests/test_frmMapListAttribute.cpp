#include "frmMapListTestSupport.h"

#include "MapListHost.h"

using namespace listtest;

namespace {

// A list with the pickers and the colour chooser faked: each records what
// it was asked and gives the answer set beforehand.
struct Attributes : ListTest {
    int32_t answer = -1;
    std::vector<std::pair<int32_t, int32_t>> asked;   // (figure kind or 0, preset)
    MapListHost saved;

    Attributes() {
        MapListHost host;
        host.PickThing = [this](const clsMapUnit&, int32_t kind, int32_t preset) {
            asked.emplace_back(kind, preset);
            return answer;
        };
        host.PickAdmin = [this](const clsMapUnit&, int32_t preset) {
            asked.emplace_back(0, preset);
            return answer;
        };
        host.InputNativeColor = [this](int32_t current) {
            asked.emplace_back(-1, current);
            return answer;
        };
        saved = SetMapListHost(host);
    }
    ~Attributes() override { SetMapListHost(saved); }
    void select(int32_t a, int32_t b) { ASSERT_TRUE(list.SetSelectRange(a, b)); }
    std::vector<int32_t> column(const std::function<int32_t(const clsMapFigure&)>& of) {
        std::vector<int32_t> out;
        for (const MapFigurePtr& f : map()) out.push_back(of(*f));
        return out;
    }
    std::vector<int32_t> things() { return column([](const clsMapFigure& f) { return f.Thing(); }); }
    std::vector<int32_t> kinds() { return column([](const clsMapFigure& f) { return f.FigCode(); }); }
};

std::shared_ptr<clsMapPolyline> Line(Points pts, int32_t thing = 1, int32_t admin = 1) {
    return Lined<clsMapPolyline>(pts, thing, admin);
}
std::shared_ptr<clsMapPolygon> Area(int32_t thing = 1) {
    return Lined<clsMapPolygon>({{0, 0}, {9, 0}, {9, 9}, {0, 0}}, thing);
}

} // namespace

TEST_F(Attributes, ShowSwitchChangesOnlyTheFirstRowsKindAndUndoBringsItBack) {
    openUnit("/maps/A.MLL", {Area(), Area(), Text("a", "あ"), Line({{0, 0}, {1, 1}}), Area()});
    const double id = map().Item(1)->FigID();
    select(1, 5);
    list.ShowItem(3);
    EXPECT_EQ(column([](const clsMapFigure& f) { return f.OwnShowMode(); }), (std::vector<int32_t>{1, 1, -1, -1, 1}));
    for (int32_t r : {1, 2, 5}) EXPECT_EQ(grid.data.TextMatrix(r, 2), "●") << r;
    EXPECT_EQ(grid.data.TextMatrix(3, 2), "？");
    EXPECT_EQ(map().Item(1)->FigID(), id);
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 0);
    list.Undo();
    EXPECT_EQ(column([](const clsMapFigure& f) { return f.OwnShowMode(); }), (std::vector<int32_t>{-1, -1, -1, -1, -1}));
}

TEST_F(Attributes, ColourOfTheFirstRowsKindOrNothingWhenCancelled) {
    openUnit("/maps/A.MLL", {Line({{0, 0}, {1, 1}}), Area(), Line({{2, 2}, {3, 3}})});
    map().Item(1)->setOwnColor(0x0000FF);
    map().ResetUndo();
    select(1, 3);
    answer = -2;
    list.ChangeColor();
    EXPECT_FALSE(map().CanUndo());
    EXPECT_EQ(asked, (std::vector<std::pair<int32_t, int32_t>>{{-1, 0x0000FF}}));
    answer = 0x00FF00;
    list.ChangeColor();
    EXPECT_EQ(column([](const clsMapFigure& f) { return f.OwnColor(); }), (std::vector<int32_t>{0x00FF00, -1, 0x00FF00}));
    EXPECT_EQ(grid.data.TextMatrix(1, 3), "■");
    answer = -1;
    list.ChangeColor();
    EXPECT_EQ(grid.data.TextMatrix(3, 3), "？");
    EXPECT_EQ(frmMapListRows::MarkColor(map().Item(3).get()), 0u);
}

TEST_F(Attributes, ThingReplacesOneThingByAnotherWithinTheKind) {
    openUnit("/maps/A.MLL", {Line({{0, 0}, {1, 1}}, 1), Line({{1, 1}, {2, 2}}, 1), Line({{2, 2}, {3, 3}}, 2), Area(1),
                             Rem("r")});
    select(1, 5);
    answer = 3;
    list.ChangeThing();
    EXPECT_EQ(asked, (std::vector<std::pair<int32_t, int32_t>>{{2, 1}}));
    EXPECT_EQ(things(), (std::vector<int32_t>{3, 3, 2, 1, -1}));
    EXPECT_EQ(grid.data.TextMatrix(1, 5), "地名");
    list.Undo();
    EXPECT_EQ(things(), (std::vector<int32_t>{1, 1, 2, 1, -1}));

    asked.clear();
    for (int32_t same : {1, -1}) {   // the same thing again, or cancelled
        answer = same;
        select(1, 5);
        list.ChangeThing();
        EXPECT_FALSE(map().CanUndo());
    }
    select(5, 5);                    // a remark first: no picker at all
    list.ChangeThing();
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(Attributes, DistrictOfARemarkIsTheValueReplacedButRemarksKeepTheirs) {
    auto rem = Rem("r");
    rem->setAdmin(1);
    openUnit("/maps/A.MLL", {rem, Line({{0, 0}, {1, 1}}, 1, 1), Area(), Symbol(1, 1)});
    map().Item(4)->setAdmin(0);
    map().ResetUndo();
    select(1, 4);
    answer = 7;
    list.ChangeAdmin();
    EXPECT_EQ(asked, (std::vector<std::pair<int32_t, int32_t>>{{0, 1}}));
    EXPECT_EQ(column([](const clsMapFigure& f) { return f.Admin(); }), (std::vector<int32_t>{1, 7, 7, 0}));
}

TEST_F(Attributes, LockedMapIsNotChangedEvenInMemory) {
    openUnit("/maps/A.MLL", {Line({{0, 0}, {1, 1}}, 1), Line({{1, 1}, {2, 2}}, 1)});
    const MapFigurePtr held = map().Item(1);
    map().setLockMode(true);
    select(1, 2);
    answer = 2;
    testsupport::ScriptedBoxes boxes;
    boxes.expect("は変更禁止. [Renew]", plat::IdOk);
    list.ChangeThing();
    EXPECT_EQ(held->Thing(), 1);
    EXPECT_EQ(things(), (std::vector<int32_t>{1, 1}));
}

TEST_F(Attributes, ChainsOfPolylinesThatCloseBecomePolygonsAboveThem) {
    struct Case {
        const char* name;
        std::vector<MapFigurePtr> figures;
        std::vector<int32_t> kinds;   // afterwards
        int32_t last;                 // of the grown selection
    } cases[] = {
        {"forward and reversed pieces",
         {Line({{0, 0}, {5, 0}}), Line({{5, 0}, {5, 5}}), Line({{0, 0}, {5, 5}})}, {3, 2, 2, 2}, 4},
        {"two pieces there and back are no ring", {Line({{0, 0}, {5, 0}}), Line({{5, 0}, {0, 0}})}, {2, 2}, 2},
        {"a closed polyline alone",
         {Symbol(1, 1), Line({{0, 0}, {5, 0}, {5, 5}, {0, 0}}), Text("a", "あ")}, {4, 3, 2, 5}, 4},
        {"other kinds neither join nor break a chain",
         {Line({{0, 0}, {5, 0}}), Area(), Rem("r"), Line({{5, 0}, {5, 5}}), Line({{5, 5}, {0, 0}})},
         {3, 2, 3, 1, 2, 2}, 6},
        {"a piece that does not touch restarts the chain",
         {Line({{9, 9}, {8, 8}}), Line({{0, 0}, {5, 0}}), Line({{5, 0}, {5, 5}}), Line({{5, 5}, {0, 0}})},
         {2, 3, 2, 2, 2}, 5},
    };
    for (const Case& c : cases) {
        units = Units({Unit("/maps/A.MLL")});
        for (const MapFigurePtr& f : c.figures) units->Active()->Map().Add(f);
        units->Active()->Map().ResetUndo();
        list.MapUnits = units.get();
        ASSERT_TRUE(list.Load());
        ASSERT_TRUE(list.Activate());
        select(1, static_cast<int32_t>(c.figures.size()));
        answer = 2;
        list.MakePolygons();
        EXPECT_EQ(kinds(), c.kinds) << c.name;
        int32_t first = 0, last = 0;
        ASSERT_TRUE(list.GetSelectRange(first, last));
        EXPECT_EQ(last, c.last) << c.name;
        list.Undo();
        EXPECT_EQ(map().Count(), static_cast<int32_t>(c.figures.size())) << c.name;
    }
    EXPECT_EQ(asked.front(), (std::pair<int32_t, int32_t>{3, -1}));   // no "海洋" in the catalogue
}

TEST_F(Attributes, GeneratedPolygonTakesTheChainsPointsDistrictAndThing) {
    openUnit("/maps/A.MLL", {Line({{0, 0}, {5, 0}}, 1, 1), Line({{5, 5}, {5, 0}}, 1, 1), Line({{5, 5}, {0, 0}})});
    select(1, 3);
    answer = 2;
    list.MakePolygons();
    ASSERT_EQ(map().Item(1)->FigCode(), 3);
    EXPECT_EQ(map().Item(1)->Thing(), 2);
    EXPECT_EQ(map().Item(1)->Admin(), 1);
    const auto p = map().Item(1)->Poly();
    std::vector<std::pair<int32_t, int32_t>> pts;
    for (int32_t k = 1; k <= p->Count(); ++k) pts.emplace_back(p->x(k), p->y(k));
    EXPECT_EQ(pts, (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {5, 0}, {5, 5}, {0, 0}}));
    answer = -1;
    select(2, 4);
    list.MakePolygons();
    EXPECT_EQ(map().Count(), 4);
}

TEST_F(Attributes, ConversionTurnsTheFirstRowsKindOnly) {
    openUnit("/maps/A.MLL", {Line({{0, 0}, {5, 0}, {5, 5}, {0, 5}}), Area(1), Text("a", "あ")});
    map().Item(1)->setJumpMark(4);
    map().Item(1)->setOwnColor(0x123456);
    map().ResetUndo();
    select(3, 3);
    list.ConvertPolylinePolygon();   // a text first: nothing, no picker
    EXPECT_TRUE(asked.empty());
    select(1, 3);
    answer = 2;
    list.ConvertPolylinePolygon();
    EXPECT_EQ(asked, (std::vector<std::pair<int32_t, int32_t>>{{3, -1}}));
    EXPECT_EQ(kinds(), (std::vector<int32_t>{3, 3, 5}));
    EXPECT_EQ(things(), (std::vector<int32_t>{2, 1, 3}));   // the polygon that was one stays as it was
    EXPECT_EQ(map().Item(1)->JumpMark(), 4);
    EXPECT_EQ(map().Item(1)->OwnColor(), 0x123456);
    EXPECT_EQ(map().Item(1)->Poly()->Count(), 4);           // the same points, not closed
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 1);
    list.Undo();
    EXPECT_EQ(kinds(), (std::vector<int32_t>{2, 3, 5}));
}

namespace {

// The property dialogs faked: each gives the figures set beforehand.
struct Dialogs : Attributes {
    std::optional<std::vector<MapFigurePtr>> result;
    std::vector<int32_t> kindsAsked;
    Dialogs() {
        MapListHost host;
        host.CreateFigure = [this](const MapUnitPtr&, int32_t kind) {
            kindsAsked.push_back(kind);
            return result;
        };
        host.EditFigure = [this](const MapUnitPtr&, const MapFigurePtr& f, int32_t left, int32_t top) {
            kindsAsked.push_back(f->FigCode());
            EXPECT_EQ(std::pair(left, top), std::pair(1600, 2600));
            return result;
        };
        SetMapListHost(host);
    }
};

} // namespace

TEST_F(Dialogs, InsertBeforeTheCurrentRowOrAppendWithoutResettingUndo) {
    openUnit("/maps/A.MLL", {Symbol(1, 1), Symbol(2, 2)});
    grid.data.setRow(0);
    grid.data.setRowSel(0);
    result = std::vector<MapFigurePtr>{Rem("new")};
    list.InsertItem(1);   // no row: before row 1
    EXPECT_EQ(kinds(), (std::vector<int32_t>{1, 4, 4}));
    result = std::vector<MapFigurePtr>{Symbol(3, 3), Symbol(4, 4)};
    list.AddItem(4);
    EXPECT_EQ(kinds(), (std::vector<int32_t>{1, 4, 4, 4, 4}));
    EXPECT_EQ(map().Item(5)->Poly()->x(1), 4);
    result.reset();       // cancelled
    list.InsertItem(2);
    EXPECT_EQ(map().Count(), 5);
    EXPECT_EQ(kindsAsked, (std::vector<int32_t>{1, 4, 2}));
    list.Undo();          // both insertions are one edit
    EXPECT_EQ(map().Count(), 2);
}

TEST_F(Dialogs, PropertiesOfASplitLineReplaceTheRowAndInsertTheSecondBelow) {
    openUnit("/maps/A.MLL", {Line({{0, 0}, {5, 5}, {9, 9}}), Symbol(7, 7)});
    list.WindowLeft = 1000;
    list.WindowTop = 2000;
    list.JumpRow(1);
    result = std::vector<MapFigurePtr>{Line({{0, 0}, {5, 5}}), Line({{5, 5}, {9, 9}})};
    list.Touch();
    EXPECT_EQ(kinds(), (std::vector<int32_t>{2, 2, 4}));
    EXPECT_EQ(map().Item(2)->Poly()->x(1), 5);
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 1);
    EXPECT_EQ(list.SelectTopRow(), 1);
    list.Undo();
    EXPECT_EQ(map().Count(), 2);
    EXPECT_EQ(map().Item(1)->Poly()->Count(), 3);

    map().setLockMode(true);   // refused: the second piece does not go in either
    testsupport::ScriptedBoxes boxes;
    boxes.expect("は変更禁止. [Renew]", plat::IdOk);
    list.Touch();
    EXPECT_EQ(map().Count(), 2);
}
