#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "FigPolyTestSupport.h"

using namespace edittest;

namespace {

const PolyPoint P1{1000, 1000}, P2{2000, 2000}, P3{3000, 3000};

// Child windows played by a test; the dialog's corner is (1000, 2000).
struct Windows {
    FigPolyWindows previous;
    std::vector<bool> childOpen;
    explicit Windows(FigPolyWindows w) : previous(SetFigPolyWindows(std::move(w))) {}
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
        EXPECT_EQ(d.vars.ActiveNode, c.current);
        EXPECT_EQ(d.cells.TextMatrix(d->NodeCount(), FigPolyLogic::ColNumber), QString::number(d->NodeCount()));
    }
    PolyDialog d(1, 2, {A, B});
    QGuiApplication::clipboard()->setText("E139 N35\r\nE140 N36");
    d->PasteClick();
    EXPECT_EQ(d.nodes(), (Nodes{{Deg(139), Deg(35)}, {Deg(140), Deg(36)}, A, B}));
    for (const char* text : {"何もない", "E139 N95"}) {  // nothing readable; a point off the map
        testsupport::ScriptedBoxes boxes;
        if (QString(text).contains("95")) boxes.expect(kRangeMessage, plat::IdOk);
        boxes.expect("クリップボードに有効なデータがありません.", plat::IdOk);
        QGuiApplication::clipboard()->setText(text);
        d->PasteClick();
        EXPECT_EQ(d->NodeCount(), 4);
    }
}

TEST(FigPolyNodes, InsertCopiesTheCurrentNodeOrStartsAtTheOrigin) {
    PolyDialog empty(1, 2, {});
    empty->InsertClick();
    EXPECT_EQ(empty.nodes(), (Nodes{{0, 0}}));
    EXPECT_EQ(empty.cells.FixedRows(), 1);
    PolyDialog d(1, 2, {A, B, C}, 2);
    d->ToggleCut(2);
    d->InsertClick();
    EXPECT_EQ(d.nodes(), (Nodes{A, B, B, C}));
    EXPECT_EQ(d.marks(), (QStringList{" ", " ", "< *", " "}));
    EXPECT_EQ(d.row(), 2);
}

TEST(FigPolyNodes, DeleteMakeFirstAndReverse) {
    enum Op { Delete, Rotation, Reverse };
    struct Case {
        Op op;
        Nodes before;
        int32_t row;
        Nodes after;
        int32_t current;
    } cases[] = {
        {Delete, {A, B, C, D, A}, 1, {B, C, D, B}, 1},  // a ring stays closed
        {Delete, {A, B, C, D, A}, 5, {B, C, D, B}, 4},
        {Delete, {A, B, C, D, A}, 3, {A, B, D, A}, 3},
        {Delete, {A, B, C, D}, 4, {A, B, C}, 3},
        {Delete, {A}, 1, {A}, 1},
        {Rotation, {A, B, C, D, A}, 3, {C, D, A, B, C}, 1},
        {Rotation, {A, B, C, D, A}, 5, {A, B, C, D, A}, 5},
        {Rotation, {A, B, C, D, E}, 3, {A, B, C, D, E}, 3},  // an open list has no other start
        {Reverse, {A, B, C, D}, 2, {D, C, B, A}, 2},
    };
    for (const Case& c : cases) {
        PolyDialog d(1, 3, c.before, c.row);
        d->ToggleCut(3);
        const QString markOf3 = d.marks().value(2);
        (c.op == Delete ? d->DeleteClick() : c.op == Rotation ? d->RotationClick() : d->ReverseClick());
        EXPECT_EQ(d.nodes(), c.after) << c.op << " " << c.row;
        EXPECT_EQ(d.row(), c.current);
        // Marks travel with their nodes.
        for (int32_t r = 1; c.before.size() > 3 && r <= d->NodeCount(); ++r)
            if (c.after[r - 1] == c.before[2]) {
                EXPECT_EQ(d->MarkOf(r), markOf3) << r;
            }
    }
}

TEST(FigPolyNodes, ScalingAboutTheCurrentNode) {
    const PolyPoint c{Deg(10), Deg(10)};
    const Nodes before{{c.x + 1, c.y - 3}, c, {c.x + 3, c.y + 5}};
    struct Case {
        QString rx, ry;  // empty: that box is not asked
        Nodes after;
    } cases[] = {
        {"100", "100", before},
        {"-100", "100", {{c.x - 1, c.y - 3}, c, {c.x - 3, c.y + 5}}},
        // Rounded half to even: 1.5 -> 2, 4.5 -> 4, -4.5 -> -4, 7.5 -> 8.
        {"150", "１５０", {{c.x + 2, c.y - 4}, c, {c.x + 4, c.y + 8}}},
        {"10.0", "-1000", {{c.x, c.y + 30}, c, {c.x, c.y - 50}}},
        {"9.9", "", before},
        {"100", "1000.1", before},
        {"abc", "", before},
    };
    for (const Case& k : cases) {
        PolyDialog d(1, 2, before, 2);
        testsupport::ScriptedBoxes boxes;
        boxes.expectInput("横方向拡大率(%)", k.rx);
        if (!k.ry.isEmpty()) boxes.expectInput("縦方向拡大率(%)", k.ry);
        d->ZoomClick();
        EXPECT_EQ(d.nodes(), k.after) << k.rx.toStdString() << " " << k.ry.toStdString();
    }
    PolyDialog d(1, 2, {{0, Deg(40)}, {0, 0}}, 2);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(kRangeMessage, plat::IdOk);
    EXPECT_FALSE(d->ScaleNodes(100, 300));  // past the pole: refused, the nodes stay
    EXPECT_EQ(d.nodes(), (Nodes{{0, Deg(40)}, {0, 0}}));
}

TEST(FigPolyNodes, SplineHalvingAndGreatCircle) {
    const Nodes nodes{A, B, C, D, E};
    // Samples worked out from the spline formulas; the interpolating one
    // passes through every node (each fourth sample).
    const struct {
        const char* answer;
        size_t count;
        std::vector<std::pair<size_t, PolyPoint>> samples;
    } cases[] = {
        {"b5", 12, {{0, A}, {1, {37946, 73558}}, {5, {41700, 71700}}, {9, {43476, 74129}}, {10, E}, {11, E}}},
        {"４", 18, {{0, A}, {2, {37589, 74493}}, {4, B}, {8, C}, {12, D}, {13, {38795, 68804}}, {16, E}, {17, E}}},
        {"1", 5, {{0, A}, {1, B}, {2, C}, {3, D}, {4, E}}},
        {"11", 5, {{0, A}, {1, B}, {2, C}, {3, D}, {4, E}}},
        {"B", 5, {{0, A}, {1, B}, {2, C}, {3, D}, {4, E}}},
    };
    for (const auto& c : cases) {
        PolyDialog d(1, 2, nodes, 3);
        testsupport::ScriptedBoxes boxes;
        boxes.expectInput("辺数の倍率を指定してください. [2～10]", c.answer);
        d->CurveClick();
        const Nodes after = d.nodes();
        ASSERT_EQ(after.size(), c.count) << c.answer;
        for (const auto& [i, p] : c.samples)
            EXPECT_EQ(after[i], p) << c.answer << " sample " << i << ": " << after[i].x << ", " << after[i].y;
    }
    PolyDialog halved(2, 2, {A, B, C, D, E, A, B}, 4);
    halved->PressClick();
    EXPECT_EQ(halved.nodes().size(), 4u);
    EXPECT_EQ(halved.nodes().back(), B);
    // From 80N 0E to 80N 180E the great circle runs over the pole: the
    // part before it is kept.
    PolyDialog polar(1, 2, {{0, Deg(80)}, {Deg(180), Deg(80)}});
    polar->GreatCircleClick();
    ASSERT_GT(polar->NodeCount(), 3);
    for (const PolyPoint& p : polar.nodes()) EXPECT_TRUE(std::abs(p.x) <= 60 && p.y <= 323970) << p.x << " " << p.y;
    PolyDialog equator(1, 2, {{0, 0}, {Deg(10), 0}});
    equator->GreatCircleClick();
    EXPECT_EQ(equator->NodeCount(), 11);
}

TEST(FigPolyNodes, ShiftOnTheMapRefusedBeyondTheRange) {
    struct Case {
        bool ok;
        PolyPoint to;
        Nodes after;
    } cases[] = {
        {true, B, {{A.x + 3600, A.y + 3600}, {B.x + 3600, B.y + 3600}, {C.x + 3600, C.y + 3600}}},
        {false, B, {A, B, C}},                  // the window was cancelled
        {true, {Deg(179.5), B.y}, {A, B, C}},  // C would pass 180 degrees
        {true, {A.x, -Deg(95)}, {A, B, C}},
    };
    for (const Case& c : cases) {
        FigPolyWindows windows;
        DrawWindowRequest seen;
        windows.draw = [&](DrawWindowRequest& r) {
            seen = r;
            r.PointX = c.to.x;
            r.PointY = c.to.y;
            return c.ok;
        };
        Windows w(windows);
        PolyDialog d(1, 2, {A, B, C}, 1);
        w.follow(*d.logic);
        testsupport::ScriptedBoxes boxes;
        if (c.ok && c.after.front() == A) boxes.expect(kRangeMessage, plat::IdOk);
        d->MoveClick();
        EXPECT_EQ(d.nodes(), c.after);
        EXPECT_TRUE(!seen.polyMode && PolyPoint({seen.PointX, seen.PointY}) == A);
        EXPECT_TRUE(seen.firstPosition.left == 1600 && seen.firstPosition.top == 2600);
        EXPECT_EQ(w.childOpen, (std::vector<bool>{true, false}));
    }
}

TEST(FigPolyNodes, OtherWindowsReshapeTheList) {
    FigPolyWindows windows;
    windows.draw = [](DrawWindowRequest& r) {
        EXPECT_TRUE(r.polyMode && r.ActIndex == 2);
        r.Poly.AddPoint(E);
        r.ActIndex = 4;
        return true;
    };
    windows.trace = [](TraceWindowRequest& r) {
        r.Poly.Del(1);
        r.ActiveNode = 1;
        return true;
    };
    std::vector<PolyPoint> centres;
    windows.regularPolygon = [&](RegularPolygonRequest& r) {
        centres.push_back({r.CenterX, r.CenterY});
        EXPECT_TRUE(r.firstPosition.left == 1400 && r.firstPosition.top == 2800);
        r.Result = PolyOf({A, B, C, A});
        return true;
    };
    windows.viewCentre = [](int32_t mode) { return PolyPoint{mode, 77}; };
    Windows w(windows);
    PolyDialog d(1, 2, {A, B, C}, 2);
    w.follow(*d.logic);
    d->OnMapClick();
    EXPECT_EQ(d.nodes(), (Nodes{A, B, C, E}));
    EXPECT_EQ(d.row(), 4);
    d->TraceClick();
    EXPECT_EQ(d.nodes(), (Nodes{B, C, E}));
    d->RegularPolygonClick();
    EXPECT_EQ(d.nodes(), (Nodes{A, B, C, A}));
    PolyDialog empty(2, 3, {});  // no node: round the view centre; no tracing on X/Y maps
    w.follow(*empty.logic);
    empty->TraceClick();
    empty->RegularPolygonClick();
    EXPECT_EQ(centres, (Nodes{B, {2, 77}}));

    Windows none({});
    testsupport::ScriptedBoxes boxes;
    boxes.expect("地図上の編集画面は組み込まれていません.", plat::IdOk)
        .expect("トレース画面は組み込まれていません.", plat::IdOk)
        .expect("正多角形の生成画面は組み込まれていません.", plat::IdOk);
    d->OnMapClick();
    d->TraceClick();
    d->RegularPolygonClick();
    EXPECT_EQ(d->NodeCount(), 4);
}
