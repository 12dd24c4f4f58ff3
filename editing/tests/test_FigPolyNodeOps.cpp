#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "FigPolyTestSupport.h"
#include "basMouseWheel.h"
#include "basSplineLib.h"

using namespace edittest;
using Nodes = std::vector<PolyPoint>;

namespace {

const QString kRange = QStringLiteral("既定の範囲を超えています.");
const PolyPoint P1{1000, 1000}, P2{2000, 2000}, P3{3000, 3000};

// Child windows for one test, played by the test; the wheel hook of the
// grid is followed through the dialog's child-window callback.
struct Windows {
    FigPolyWindows previous;
    std::vector<bool> childOpen;
    explicit Windows(FigPolyWindows w) : previous(SetFigPolyWindows(std::move(w))) {}
    static FigPolyWindows Draw(std::function<bool(DrawWindowRequest&)> draw) {
        FigPolyWindows w;
        w.draw = std::move(draw);
        return w;
    }
    ~Windows() { SetFigPolyWindows(std::move(previous)); }
    void follow(FigPolyLogic& logic) {
        logic.onChildWindow = [this](bool open) { childOpen.push_back(open); };
        logic.windowCorner = [] { return plat::DialogPosition{1000, 2000}; };
    }
};

} // namespace

TEST(FigPolyNodes, PasteGoesBeforeTheCurrentNode) {
    struct Case {
        Nodes before;
        int32_t row;
        Nodes pasted, after;
        int32_t current;
    } cases[] = {
        {{A, B, C, D}, 2, {P1, P2, P3}, {A, P1, P2, P3, B, C, D}, 4},
        {{A}, 1, {P1}, {P1, A}, 1},
        {{}, 0, {P1, P2, P3}, {P1, P2, P3}, 2},  // into an empty list: the next-to-last
        {{}, 0, {P1}, {P1}, 1},
    };
    for (const Case& c : cases) {
        PolyDialog d(2, 2, c.before, c.row);
        d->PasteNodes(PolyOf(c.pasted));
        EXPECT_EQ(d.nodes(), c.after);
        EXPECT_EQ(d.row(), c.current);
        EXPECT_EQ(d.vars.ActiveNode, c.current);
        EXPECT_EQ(d.cells.TextMatrix(d->NodeCount(), FigPolyLogic::ColNumber), QString::number(d->NodeCount()));
        EXPECT_EQ(d.cells.FixedRows(), 1);
    }
}

TEST(FigPolyNodes, PasteFromTheClipboard) {
    PolyDialog d(1, 2, {A, B});
    QGuiApplication::clipboard()->setText("E139 N35\r\nE140 N36");
    d->PasteClick();
    EXPECT_EQ(d.nodes(), (Nodes{{Deg(139), Deg(35)}, {Deg(140), Deg(36)}, A, B}));
    for (const char* text : {"何もない", "E139 N95"}) {  // nothing readable; a point off the map
        testsupport::ScriptedBoxes boxes;
        if (QString(text).contains("95")) boxes.expect(kRange, plat::IdOk);
        boxes.expect("クリップボードに有効なデータがありません.", plat::IdOk);
        QGuiApplication::clipboard()->setText(text);
        d->PasteClick();
        EXPECT_EQ(boxes.shown().back().style, plat::MbExclamation);
        EXPECT_EQ(d->NodeCount(), 4);
    }
}

TEST(FigPolyNodes, InsertCopiesTheCurrentNodeOrStartsAtTheOrigin) {
    PolyDialog empty(1, 2, {});
    EXPECT_EQ(empty.cells.FixedRows(), 0);
    empty->InsertClick();
    EXPECT_EQ(empty.nodes(), (Nodes{{0, 0}}));
    EXPECT_EQ(empty.cells.TextMatrix(1, FigPolyLogic::ColX), NodeXText(1, 0));
    EXPECT_EQ(empty.cells.FixedRows(), 1);
    EXPECT_EQ(empty.row(), 1);

    PolyDialog d(1, 2, {A, B, C}, 2);
    d->ToggleCut(2);
    d->InsertClick();
    EXPECT_EQ(d.nodes(), (Nodes{A, B, B, C}));
    EXPECT_EQ(d.marks(), (QStringList{" ", " ", "< *", " "}));  // the copy has no mark
    EXPECT_EQ(d.row(), 2);
}

TEST(FigPolyNodes, DeleteKeepsARingClosed) {
    struct Case {
        Nodes before;
        int32_t row;
        Nodes after;
        int32_t current;
    } cases[] = {
        {{A, B, C, D, A}, 1, {B, C, D, B}, 1},
        {{A, B, C, D, A}, 5, {B, C, D, B}, 4},
        {{A, B, C, D, A}, 3, {A, B, D, A}, 3},
        {{A, B, C, D}, 4, {A, B, C}, 3},
        {{A, B, C, D}, 1, {B, C, D}, 1},
        {{A, B}, 1, {B}, 1},
        {{A}, 1, {A}, 1},  // fewer than 2 nodes: nothing
    };
    for (const Case& c : cases) {
        PolyDialog d(1, 3, c.before, c.row);
        d->DeleteClick();
        EXPECT_EQ(d.nodes(), c.after) << c.row;
        EXPECT_EQ(d.row(), c.current);
        EXPECT_EQ(d.cells.TextMatrix(d->NodeCount(), FigPolyLogic::ColNumber), QString::number(d->NodeCount()));
    }
}

TEST(FigPolyNodes, MakeFirstTurnsTheRing) {
    struct Case {
        Nodes before;
        int32_t row;
        Nodes after;
    } cases[] = {
        {{A, B, C, D, A}, 3, {C, D, A, B, C}},
        {{A, B, C, D, A}, 2, {B, C, D, A, B}},
        {{A, B, C, D, A}, 5, {A, B, C, D, A}},  // already first
        {{A, B, C, D, E}, 3, {A, B, C, D, E}},  // an open list has no other start
    };
    for (const Case& c : cases) {
        PolyDialog d(1, 3, c.before, c.row);
        d->RotationClick();
        EXPECT_EQ(d.nodes(), c.after) << c.row;
    }
    PolyDialog d(1, 3, {A, B, C, D, A}, 3);
    d->RotationClick();
    EXPECT_EQ(d.marks(), (QStringList{"*", " ", " ", " ", "*"}));  // the old node 3 at both ends
    EXPECT_EQ(d.row(), 1);
}

TEST(FigPolyNodes, ReverseTakesTheMarksAlong) {
    PolyDialog d(2, 2, {A, B, C, D}, 2);
    d->ToggleCut(3);
    d->ReverseClick();
    EXPECT_EQ(d.nodes(), (Nodes{D, C, B, A}));
    EXPECT_EQ(d.marks(), (QStringList{" ", "<", "*", " "}));
    EXPECT_EQ(d.row(), 2);
    EXPECT_EQ(d.cells.TextMatrix(1, FigPolyLogic::ColNumber), "1");
}

TEST(FigPolyNodes, ScalingAboutTheCurrentNode) {
    const PolyPoint c{Deg(10), Deg(10)};
    struct Case {
        QString rx, ry;  // empty: that box is not asked
        Nodes after;
    } cases[] = {
        {"100", "100", {{c.x + 1, c.y - 3}, c, {c.x + 3, c.y + 5}}},
        {"-100", "100", {{c.x - 1, c.y - 3}, c, {c.x - 3, c.y + 5}}},
        // Rounded half to even: 1.5 -> 2, 4.5 -> 4; -4.5 -> -4, 7.5 -> 8.
        {"150", "１５０", {{c.x + 2, c.y - 4}, c, {c.x + 4, c.y + 8}}},
        {"10.0", "-1000", {{c.x, c.y + 30}, c, {c.x, c.y - 50}}},
        {"9.9", "", {{c.x + 1, c.y - 3}, c, {c.x + 3, c.y + 5}}},
        {"100", "1000.1", {{c.x + 1, c.y - 3}, c, {c.x + 3, c.y + 5}}},
        {"abc", "", {{c.x + 1, c.y - 3}, c, {c.x + 3, c.y + 5}}},
    };
    for (const Case& k : cases) {
        PolyDialog d(1, 2, {{c.x + 1, c.y - 3}, c, {c.x + 3, c.y + 5}}, 2);
        const Nodes before = d.nodes();
        testsupport::ScriptedBoxes boxes;
        boxes.expectInput("横方向拡大率(%)", k.rx);
        if (!k.ry.isEmpty()) boxes.expectInput("縦方向拡大率(%)", k.ry);
        d->ZoomClick();
        EXPECT_EQ(d.nodes(), k.after) << k.rx.toStdString() << " " << k.ry.toStdString();
        EXPECT_EQ(d.row(), 2);
    }
    PolyDialog d(1, 2, {{0, Deg(40)}, {0, 0}}, 2);
    testsupport::ScriptedBoxes boxes;
    boxes.expectInput("横方向拡大率(%)", "", false);  // Cancel
    d->ZoomClick();
    // A node would pass the pole: refused, the nodes stay.
    boxes.expect(kRange, plat::IdOk);
    EXPECT_FALSE(d->ScaleNodes(100, 300));
    EXPECT_TRUE(d->ScaleNodes(-100, -200));
    EXPECT_EQ(d.nodes(), (Nodes{{0, -Deg(80)}, {0, 0}}));
}

TEST(FigPolyNodes, SplineChoiceAndFactor) {
    const Nodes nodes{A, B, C, D, E};
    struct Case {
        QString answer;
        std::optional<clsPoly> after;  // none: unchanged
    } cases[] = {
        {"b5", BSpline3rd(PolyOf(nodes), 5)},
        {"４", Spline3rd(PolyOf(nodes), 4)},
        {"B10", BSpline3rd(PolyOf(nodes), 10)},
        {"1", std::nullopt},
        {"11", std::nullopt},
        {"B", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        PolyDialog d(1, 2, nodes, 3);
        testsupport::ScriptedBoxes boxes;
        boxes.expectInput("辺数の倍率を指定してください. [2～10]", c.answer);
        d->CurveClick();
        EXPECT_EQ(d.nodes(), c.after ? PointsOf(*c.after) : nodes) << c.answer.toStdString();
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("３次スプラインによる曲線化"));
        EXPECT_EQ(d.row(), c.after ? 1 : 3);
    }
}

TEST(FigPolyNodes, GreatCircleKeepsThePartBeforeThePole) {
    // From 80N 0E to 80N 180E the great circle runs over the north pole.
    const PolyPoint from{0, Deg(80)}, to{Deg(180), Deg(80)};
    PolyDialog d(1, 2, {from, to});
    d->GreatCircleClick();
    const Nodes after = d.nodes();
    ASSERT_GT(after.size(), 3u);
    EXPECT_EQ(after.front(), from);
    for (const PolyPoint& p : after) {
        EXPECT_LE(std::abs(p.x), 60) << p.x;  // along the meridian of 0, not beyond the pole
        EXPECT_LE(p.y, 323970);
    }
    // A short line far from the poles gains a node every degree.
    PolyDialog line(1, 2, {{0, 0}, {Deg(10), 0}});
    line->GreatCircleClick();
    EXPECT_EQ(line->NodeCount(), 11);
    PolyDialog plane(2, 2, {{0, 0}, {Deg(10), 0}});  // X/Y maps have no great circles
    plane->GreatCircleClick();
    EXPECT_EQ(plane->NodeCount(), 2);
}

TEST(FigPolyNodes, HalvingKeepsTheEnds) {
    PolyDialog d(2, 2, {A, B, C, D, E, A, B}, 4);
    d->PressClick();
    const Nodes after = d.nodes();
    EXPECT_EQ(after.size(), 4u);
    EXPECT_EQ(after.front(), A);
    EXPECT_EQ(after.back(), B);
    EXPECT_EQ(d.row(), 1);
}

TEST(FigPolyNodes, ShiftOnTheMapRefusedBeyondTheRange) {
    struct Case {
        bool ok;
        PolyPoint to;
        Nodes after;
        bool outOfRange;
    } cases[] = {
        {true, {B.x, B.y}, {{A.x + 3600, A.y + 3600}, {B.x + 3600, B.y + 3600}, {C.x + 3600, C.y + 3600}}, false},
        {false, {B.x + 7, B.y}, {A, B, C}, false},                // the window was cancelled
        {true, {Deg(179.5), B.y}, {A, B, C}, true},               // C would pass 180 degrees
        {true, {A.x, -Deg(95)}, {A, B, C}, true},
    };
    for (const Case& c : cases) {
        DrawWindowRequest seen;
        Windows w(Windows::Draw([&](DrawWindowRequest& r) {
            seen = r;
            r.PointX = c.to.x;
            r.PointY = c.to.y;
            return c.ok;
        }));
        PolyDialog d(1, 2, {A, B, C}, 1);
        w.follow(*d);
        testsupport::ScriptedBoxes boxes;
        if (c.outOfRange) boxes.expect(kRange, plat::IdOk);
        d->MoveClick();
        EXPECT_EQ(d.nodes(), c.after);
        EXPECT_FALSE(seen.polyMode);
        EXPECT_EQ(PolyPoint({seen.PointX, seen.PointY}), A);
        EXPECT_EQ(seen.firstPosition.left, 1600);
        EXPECT_EQ(seen.firstPosition.top, 2600);
        EXPECT_EQ(w.childOpen, (std::vector<bool>{true, false}));
    }
}

TEST(FigPolyNodes, ReshapedOnTheMapOrTraced) {
    FigPolyWindows windows = Windows::Draw([](DrawWindowRequest& r) {
        EXPECT_TRUE(r.polyMode);
        EXPECT_EQ(r.ActIndex, 2);
        r.Poly.AddPoint(E);
        r.ActIndex = 4;
        return true;
    });
    windows.trace = [](TraceWindowRequest& r) {
        r.Poly.Del(1);
        r.ActiveNode = 1;
        return true;
    };
    Windows w(std::move(windows));
    PolyDialog d(1, 2, {A, B, C}, 2);
    d->OnMapClick();
    EXPECT_EQ(d.nodes(), (Nodes{A, B, C, E}));
    EXPECT_EQ(d.row(), 4);
    d->TraceClick();
    EXPECT_EQ(d.nodes(), (Nodes{B, C, E}));
    PolyDialog plane(2, 2, {A, B, C}, 2);  // no tracing in X/Y maps
    plane->TraceClick();
    EXPECT_EQ(plane.nodes(), (Nodes{A, B, C}));
}

TEST(FigPolyNodes, RegularPolygonRoundTheCurrentNodeOrTheViewCentre) {
    std::vector<PolyPoint> centres;
    FigPolyWindows windows;
    windows.regularPolygon = [&](RegularPolygonRequest& r) {
        centres.push_back({r.CenterX, r.CenterY});
        EXPECT_EQ(r.firstPosition.left, 1400);
        EXPECT_EQ(r.firstPosition.top, 2800);
        r.Result = PolyOf({A, B, C, A});
        return true;
    };
    windows.viewCentre = [](int32_t mode) { return PolyPoint{mode, 77}; };
    Windows w(std::move(windows));
    PolyDialog d(2, 3, {D, E}, 2);
    w.follow(*d);
    d->RegularPolygonClick();
    EXPECT_EQ(d.nodes(), (Nodes{A, B, C, A}));
    PolyDialog empty(2, 3, {});
    w.follow(*empty);
    empty->RegularPolygonClick();
    EXPECT_EQ(centres, (Nodes{E, {2, 77}}));
    EXPECT_EQ(empty.row(), 1);
}

TEST(FigPolyNodes, WindowsNotBuiltYetSaySo) {
    Windows none({});
    PolyDialog d(1, 2, {A, B}, 1);
    testsupport::ScriptedBoxes boxes;
    boxes.expect("地図上の編集画面は組み込まれていません.", plat::IdOk)
        .expect("地図上の編集画面は組み込まれていません.", plat::IdOk)
        .expect("トレース画面は組み込まれていません.", plat::IdOk)
        .expect("正多角形の生成画面は組み込まれていません.", plat::IdOk);
    d->MoveClick();
    d->OnMapClick();
    d->TraceClick();
    d->RegularPolygonClick();
    EXPECT_EQ(d.nodes(), (Nodes{A, B}));
}
