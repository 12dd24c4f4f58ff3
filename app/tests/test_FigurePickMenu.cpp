// The pick menu over a small set: the base unit, a unit of lines, a polygon
// and a symbol around the origin, and a third, empty unit; the engine shows
// ten pixels per dx.
#include <gtest/gtest.h>

#include "FigurePickMenu.h"
#include "FigurePickMenuUi.h"
#include "MainMenus.h"
#include "MapPlotTestSupport.h"
#include "TestSupport.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsMapSymbol.h"
#include "clsMapUnit.h"

using namespace plottest;

namespace {

class PickMenu : public MapPlotTest {
protected:
    PickMenu() {
        units = WithFigures({});
        thing = ThingOf(*units, "緯線");
        other = std::make_shared<clsMapUnit>();
        other->setThings(units->Base()->Things().Copy());
        other->setAdmins(units->Base()->Admins().Copy());
        other->setUnitName(BundledMaps() + QStringLiteral("/OTHER.MLL"));
        units->Add(other);
        lines = units->Item(2);
        p.MapUnits = units;
        SetView(p, &dc, 1, 0, 0, 1e7);
        p.MapToCanvas(0, 0, ox, oy);
        menu.MapPlot = &p;
    }
    ~PickMenu() override { SetFigPolyWindows(windows); }
    // The map point shown at pixel (ox + x, oy + y).
    PolyPoint px(int32_t x, int32_t y) {
        PolyPoint m;
        p.CanvasToMap(ox + x, oy + y, m.x, m.y);
        int32_t cx = 0, cy = 0;
        p.MapToCanvas(m.x, m.y, cx, cy);
        EXPECT_EQ(cx - ox, x);
        EXPECT_EQ(cy - oy, y);
        return m;
    }
    MapFigurePtr line(std::initializer_list<PolyPoint> pts, const MapUnitPtr& unit = nullptr, int16_t th = -2) {
        MapFigurePtr f = Poly<clsMapPolyline>(th == -2 ? thing : th, pts);
        (unit ? unit : lines)->Map().Add(f);
        return f;
    }
    void pick(const MapUnitPtr& unit, const MapFigurePtr& f, int32_t node) {
        auto info = std::make_shared<clsSearchInfo>();
        info->MapUnits = units;
        info->MapUnit = unit;
        info->UnitIndex = unit == other ? 3 : unit == lines ? 2 : 1;
        for (int32_t i = 1; i <= unit->Map().Count(); ++i)
            if (unit->Map().Item(i) == f) info->FigureIndex = i;
        info->PointIndex = node;
        f->Poly()->GetXandY(node, info->MapX, info->MapY);
        info->Cell = unit->ToCell(f);
        menu.PickInfo = info;
    }
    // Lines far off bearing the marks 1..n.
    void addMarked(int n) {
        for (int k = 1; k <= n; ++k) line({{0, 9 * dx}, {dx, 9 * dx}})->setJumpMark(k);
    }
    std::vector<PolyPoint> points(const MapFigurePtr& f) {
        auto s = f->Poly()->Points();
        return {s.begin(), s.end()};
    }

    // Tests install their own drawing window.
    const FigPolyWindows windows = SetFigPolyWindows({});
    plat::RasterDC dc{plat::Bitmap::Create(400, 300, 32), 96};
    clsMapPlot p;
    std::shared_ptr<clsMapUnits> units;
    MapUnitPtr lines, other;
    int16_t thing = 0;
    int32_t ox = 0, oy = 0;
    const int32_t dx = SafeCLng(10 / (96 * 1000 / 25.4 / 1e7) / MeterPerSec);
    int plots = 0;
    std::optional<FigureList> dialogResult;
    MapFigurePtr edited;
    int32_t created = 0;
    FigurePickMenu menu{{[this](const MapUnitPtr&, const MapFigurePtr& f, int16_t) { return edited = f, dialogResult; },
                         [this](const MapUnitPtr&, int32_t kind) { return created = kind, dialogResult; },
                         [this] { ++plots; }, {}, {}, {}}};
};

TEST_F(PickMenu, EnablingMatrix) {
    const MapFigurePtr a = line({{0, 0}, {dx, 0}, {2 * dx, 0}});
    const MapFigurePtr poly = Poly<clsMapPolygon>(thing, {{0, dx}, {dx, dx}, {dx, 2 * dx}, {0, dx}});
    lines->Map().Add(poly);
    const MapFigurePtr sym = At<clsMapSymbol>(thing, 0, 3 * dx);
    lines->Map().Add(sym);
    const struct {
        const char* name;
        MapFigurePtr f;
        int32_t node;
        std::function<void()> set;
        bool edit, connect, length, area, mark, move, copy;
        std::array<bool, 4> seek;
    } cases[] = {
        {"line end", a, 1, {}, true, true, true, false, true, true, true, {false, false, true, true}},
        {"line middle", a, 2, {}, true, false, true, false, true, true, true, {false, false, true, true}},
        {"polygon", poly, 1, {}, true, false, true, true, true, true, true, {true, true, true, true}},
        {"symbol", sym, 1, {}, true, false, false, false, true, true, true, {true, true, false, false}},
        {"locked", a, 3, [&] { lines->Map().setLockMode(true); }, false, false, true, false, false, false, true, {}},
        {"all marks used", a, 1, [&] { lines->Map().setLockMode(false), addMarked(9); }, true, true, true, false,
         false, true, true, {false, false, true, true}},
    };
    for (const auto& c : cases) {
        if (c.set) c.set();
        pick(lines, c.f, c.node);
        const FigurePickState s = menu.Prepare();
        SCOPED_TRACE(c.name);
        EXPECT_EQ(s.Retouch, c.edit);
        EXPECT_EQ(s.Delete && s.Gap && s.Hide, c.edit);
        EXPECT_EQ(s.Connect, c.connect);
        EXPECT_EQ(s.Length, c.length);
        EXPECT_EQ(s.Area, c.area);
        EXPECT_EQ(s.Mark, c.mark);
        EXPECT_EQ(s.Move, c.move);
        EXPECT_EQ(s.Copy, c.copy);
        EXPECT_EQ(s.Seek, c.seek);
        EXPECT_FALSE(s.DrawVisible);
        ASSERT_EQ(s.Units.size(), 3u);
        EXPECT_EQ(s.Units[2].Caption, other->UnitName());
        EXPECT_EQ(s.Units[1].Enabled, false) << "not into its own unit";
    }
    // One mark left; a locked target; a set of one unit; the drawing window.
    lines->Map().setLockMode(false);
    lines->Map().Item(lines->Map().Count())->setJumpMark(0);
    other->Map().setLockMode(true);
    SetFigPolyWindows({[](DrawWindowRequest&) { return false; }, {}, {}, {}});
    FigurePickState s = menu.Prepare();
    EXPECT_TRUE(s.Mark);
    EXPECT_EQ(s.MarkItem, (std::array<bool, 9>{false, false, false, false, false, false, false, false, true}));
    EXPECT_FALSE(s.Units[2].Enabled);
    EXPECT_TRUE(s.DrawVisible);
    units = BaseOnly(1);
    const MapUnitPtr base = units->Base();
    int32_t i = 1;
    while (base->Map().Item(i)->Poly()->Count() == 0) ++i;
    pick(base, base->Map().Item(i), 1);
    s = menu.Prepare();
    EXPECT_FALSE(s.Move || s.Copy);
}

// Every sequence of delete, restore and undo leaves each figure once: on
// the map or in the trash.
TEST_F(PickMenu, DeleteRestoreAndUndoKeepEachFigureOnce) {
    clsMap& map = lines->Map();
    clsMap& trash = lines->Garbage();
    const MapFigurePtr a = line({{0, 0}, {dx, 0}});
    pick(lines, a, 1);
    menu.Delete();
    EXPECT_EQ(map.Count(), 0);
    ASSERT_EQ(trash.Count(), 1);
    EXPECT_EQ(points(trash.Item(1)), points(a));
    EXPECT_EQ(plots, 1);
    // Undo of the delete: back on the map, its copy out of the trash.
    units->Undo();
    ASSERT_EQ(map.Count(), 1);
    EXPECT_EQ(map.Item(1), a);
    EXPECT_EQ(trash.Count(), 0);
    EXPECT_FALSE(units->CanUndo());

    // Undo of a restore: the figure goes back to the trash.
    pick(lines, a, 1);
    menu.Delete();
    const MapFigurePtr copy = trash.Item(1);
    units->ResetUndo();
    ASSERT_TRUE(RestoreOneFromTrash(*lines));
    EXPECT_EQ(map.Item(1), copy);
    EXPECT_EQ(trash.Count(), 0);
    EXPECT_TRUE(units->CanUndo());
    units->Undo();
    EXPECT_EQ(map.Count(), 0);
    ASSERT_EQ(trash.Count(), 1);
    EXPECT_EQ(trash.Item(1), copy);

    // Undo of restore all: the trash holds every figure again, in its order.
    const MapFigurePtr b = line({{0, dx}, {dx, dx}}), c = line({{0, 2 * dx}, {dx, 2 * dx}});
    for (const MapFigurePtr& f : {b, c}) {
        pick(lines, f, 1);
        menu.Delete();
    }
    const std::vector<MapFigurePtr> held(trash.begin(), trash.end());
    ASSERT_EQ(held.size(), 3u);
    units->ResetUndo();
    EXPECT_EQ(RestoreAllFromTrash(*lines), 3);
    EXPECT_EQ(trash.Count(), 0);
    EXPECT_EQ(map.Count(), 3);
    units->Undo();
    EXPECT_EQ(map.Count(), 0);
    EXPECT_EQ(std::vector<MapFigurePtr>(trash.begin(), trash.end()), held);
}

TEST_F(PickMenu, GatherPullsVerticesWithinFourPixelsAndRenewsOnlyMovedFigures) {
    const MapFigurePtr a = line({{0, 0}, {dx, 0}});
    const MapFigurePtr near = line({px(4, 0), px(0, -9)});     // 4.0 px: pulled
    const MapFigurePtr diag = line({px(3, 3), px(3, 9)});      // 4.24 px: not
    const MapFigurePtr same = line({{0, 0}, {0, dx}});         // already there
    const MapFigurePtr locked = line({px(0, 4), px(9, 9)}, other);
    other->Map().setLockMode(true);
    const double id = near->FigID();
    pick(lines, a, 1);
    menu.Gap();
    const MapFigurePtr moved = lines->Map().Item(2);
    EXPECT_NE(moved, near);
    EXPECT_EQ(moved->FigID(), id);
    EXPECT_EQ(points(moved), (std::vector<PolyPoint>{{0, 0}, px(0, -9)}));
    EXPECT_EQ(lines->Map().Item(3), diag);
    EXPECT_EQ(lines->Map().Item(4), same) << "nothing moved: not renewed";
    EXPECT_EQ(points(other->Map().Item(1)), (std::vector<PolyPoint>{px(0, 4), px(9, 9)}));
    EXPECT_EQ(plots, 1);
    menu.Gap();
    EXPECT_EQ(plots, 1) << "nothing left to move";
}

TEST_F(PickMenu, JoinTheFourEndCasesKeepTheSharedPointOnce) {
    const PolyPoint o{0, 0}, a1{dx, dx}, b1{-dx, dx};
    const struct {
        bool pickedFirst, winnerFirst;
        std::vector<PolyPoint> expected;
    } cases[] = {
        {true, false, {b1, o, a1}},
        {false, false, {a1, o, b1}},
        {true, true, {b1, o, a1}},
        {false, true, {a1, o, b1}},
    };
    for (const auto& c : cases) {
        lines->Map().Clear();
        const MapFigurePtr picked = c.pickedFirst ? line({o, a1}) : line({a1, o});
        c.winnerFirst ? line({o, b1}) : line({b1, o});
        pick(lines, picked, c.pickedFirst ? 1 : 2);
        menu.Connect();
        ASSERT_EQ(lines->Map().Count(), 1);
        EXPECT_EQ(points(lines->Map().Item(1)), c.expected);
        EXPECT_EQ(lines->Map().Item(1)->FigID(), picked->FigID());
        EXPECT_EQ(lines->Map().Item(1)->OwnShowMode(), -1);
    }
}

TEST_F(PickMenu, JoinScoresTheThingAboveTheUnitAndLeavesClosedMiddleAndLockedLinesAlone) {
    const MapFigurePtr picked = line({{0, 0}, {dx, dx}});
    picked->setAdmin(1);
    line({{0, 0}, {-dx, dx}}, lines, ThingOf(*units, "経線"));   // same unit: 1
    const MapFigurePtr same = line({{-dx, 0}, {0, 0}}, other);      // same thing: 2
    pick(lines, picked, 1);
    menu.Connect();
    EXPECT_EQ(other->Map().Count(), 0);
    EXPECT_EQ(points(lines->Map().Item(1)).front(), (PolyPoint{-dx, 0}));

    const std::function<void()> refused[] = {
        [&] { line({{0, 0}, {dx, 0}, {dx, dx}, {0, 0}}); },
        [&] { line({{-dx, 0}, {0, 0}, {0, dx}}); },
        [&] { line({{-dx, 0}, {0, 0}}, other), other->Map().setLockMode(true); },
    };
    for (const auto& set : refused) {
        lines->Map().Clear();
        other->Map().setLockMode(false);
        other->Map().Clear();
        const MapFigurePtr p2 = line({{0, 0}, {dx, dx}});
        set();
        pick(lines, p2, 1);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("結合可能な連続線図形は存在しません."), plat::IdOk);
        menu.Connect();
        EXPECT_EQ(lines->Map().Item(1), p2);
    }
}

TEST_F(PickMenu, MoveHandsTheFigureOverCopyMakesANewOne) {
    const MapFigurePtr a = line({{0, 0}, {dx, 0}});
    pick(lines, a, 1);
    menu.CopyTo(3);
    ASSERT_EQ(other->Map().Count(), 1);
    EXPECT_NE(other->Map().Item(1), a);
    EXPECT_NE(other->Map().Item(1)->FigID(), a->FigID());
    EXPECT_EQ(points(other->Map().Item(1)), points(a));
    EXPECT_EQ(lines->Map().Item(1), a);
    menu.MoveTo(3);
    EXPECT_EQ(lines->Map().Count(), 0);
    ASSERT_EQ(other->Map().Count(), 2);
    EXPECT_EQ(other->Map().Item(2), a);
    menu.MoveTo(0);
    EXPECT_EQ(plots, 2);
}

TEST_F(PickMenu, OrderHideMarkAndTheRemarkBefore) {
    auto remark = [] {
        MapFigurePtr r = NewMapFigure(1);
        r->setAdmin(0);
        return r;
    };
    for (int k = 0; k < 3; ++k) lines->Map().Add(remark());
    const MapFigurePtr a = line({{0, 0}, {dx, 0}});
    for (int k = 0; k < 3; ++k) line({{0, dx}, {dx, dx}});
    // Three header remarks stay first; Move counts a target behind the figure without it.
    const struct {
        int32_t from;
        int index, to;
    } seeks[] = {{5, 0, 4}, {5, 1, 4}, {4, 2, 5}, {4, 3, 7}};
    for (const auto& c : seeks) {
        const MapFigurePtr f = lines->Map().Item(c.from);
        pick(lines, f, 1);
        menu.Seek(c.index);
        EXPECT_EQ(lines->Map().Item(c.to), f) << c.index;
    }
    ASSERT_EQ(lines->Map().Item(4), a);
    pick(lines, a, 1);
    menu.Hide();
    EXPECT_EQ(lines->Map().Item(4)->OwnShowMode(), 0);
    EXPECT_EQ(lines->Map().Item(4)->FigID(), a->FigID());
    pick(lines, lines->Map().Item(4), 1);
    menu.Mark(4);
    EXPECT_EQ(lines->Map().Item(4)->JumpMark(), 4);
    EXPECT_EQ(lines->Map().Item(4)->FigID(), a->FigID());
    EXPECT_TRUE(units->CanUndo());

    // No text before it: one is created (cancelled, then inserted). A
    // remark before it is edited as a copy of itself.
    pick(lines, lines->Map().Item(4), 1);
    menu.RemOrText(5);
    EXPECT_EQ(created, 5);
    EXPECT_EQ(lines->Map().Count(), 7);
    const MapFigurePtr text = Poly<clsMapPolyline>(thing, {{0, 0}, {1, 1}});
    dialogResult = FigureList{text};
    menu.RemOrText(5);
    EXPECT_EQ(lines->Map().Item(4), text);
    const double remId = lines->Map().Item(3)->FigID();
    const MapFigurePtr rem = remark();
    dialogResult = FigureList{rem};
    pick(lines, text, 1);
    menu.RemOrText(1);
    EXPECT_EQ(edited->FigID(), remId);
    EXPECT_EQ(lines->Map().Item(3), rem);
}

TEST_F(PickMenu, LengthAndAreaTexts) {
    EXPECT_EQ(FigurePickMenu::LengthText(5000, 2),
              QStringLiteral("5.00 km\r\n\r\nＸＹモードのため実際の値とは大きく異なることがあります."));
    EXPECT_EQ(FigurePickMenu::AreaText(12345678900.0, 1), QStringLiteral("12,345.68 km2"));
    // One degree square on the equator: R² · π/180 · sin 1°.
    const MapFigurePtr sq = Poly<clsMapPolygon>(thing, {{0, 0}, {3600, 0}, {3600, 3600}, {0, 3600}, {0, 0}});
    lines->Map().Add(sq);
    pick(lines, sq, 1);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("12,363."), plat::IdOk);
    boxes.expect(QStringLiteral("444.7"), plat::IdOk);
    menu.Area();
    menu.Length();
}

TEST_F(PickMenu, DrawKeepsTheIdentifierAndCancelChangesNothing) {
    const MapFigurePtr a = line({{0, 0}, {dx, 0}});
    bool ok = false;
    SetFigPolyWindows({[&](DrawWindowRequest& r) {
                           EXPECT_TRUE(r.polyMode);
                           EXPECT_FALSE(r.CenterView);
                           EXPECT_EQ(r.ActIndex, 2);
                           r.Poly.SetXandY(2, dx, dx);
                           return ok;
                       },
                       {}, {}, {}});
    pick(lines, a, 2);
    menu.Draw();
    EXPECT_EQ(lines->Map().Item(1), a);
    EXPECT_EQ(points(a), (std::vector<PolyPoint>{{0, 0}, {dx, 0}}));
    ok = true;
    menu.Draw();
    EXPECT_EQ(points(lines->Map().Item(1)), (std::vector<PolyPoint>{{0, 0}, {dx, dx}}));
    EXPECT_EQ(lines->Map().Item(1)->FigID(), a->FigID());
}

// The menu opens where the whole of it fits on the usable screen: beside
// the point, else above or left of it; a panel at the bottom stays free.
TEST(PickMenuPlace, OpensWhereItFits) {
    const QRect area(0, 0, 1600, 960);   // a 40-pixel panel below
    const QSize size(190, 430);
    EXPECT_EQ(PopupPlace({700, 300}, size, area), QPoint(700, 300));
    EXPECT_EQ(PopupPlace({700, 900}, size, area), QPoint(700, 470));     // above the point
    EXPECT_EQ(PopupPlace({1500, 300}, size, area), QPoint(1310, 300));   // left of it
    EXPECT_EQ(PopupPlace({700, 500}, QSize(190, 600), area), QPoint(700, 0));   // neither: kept inside
    EXPECT_EQ(PopupPlace({700, 500}, QSize(190, 1200), area), QPoint(700, 0));
}

} // namespace
