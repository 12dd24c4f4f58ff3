#include <gtest/gtest.h>

#include "FigPolyTestSupport.h"
#include "basGlobe.h"

using namespace edittest;

namespace {

const QString kInvalid = QStringLiteral("設定に誤りがあります.\r修正しますか？");
const QString kRange = QStringLiteral("既定の範囲を超えています.");

// The points of every result of a closed OK.
std::vector<std::vector<PolyPoint>> ResultPoints(const FigureDialogVars& vars) {
    std::vector<std::vector<PolyPoint>> out;
    for (const MapFigurePtr& f : vars.Results.value()) out.push_back(PointsOf(*f->Poly()));
    return out;
}

// Angle notation for one test; back to degrees, minutes and seconds after.
struct AngleUnit {
    explicit AngleUnit(int16_t unit) { SetAngleUnit(unit); }
    ~AngleUnit() { SetAngleUnit(1); }
};

} // namespace

TEST(FigPolyGrid, NodesComeBackExactlyInEveryNotation) {
    struct Case {
        int mode;
        int16_t angleUnit;
        PolyPoint p;
        QString x;  // column 1 text; empty: not checked
    } cases[] = {
        {1, 1, {Deg(139) + 41 * 60 + 30, Deg(35) + 41 * 60 + 22}, ""},
        // Degrees and minutes show a node to the nearest minute; the node stays where it is.
        {1, 2, {Deg(139) + 41 * 60 + 30, -(Deg(35) + 29)}, ""},
        {1, 4, {-Deg(179) - 59, Deg(89) + 1}, ""},
        {2, 1, {1234567, -1}, "    1234.567"},
        {2, 1, {-40000000, 40000000}, "  -40000.000"},
    };
    for (const Case& c : cases) {
        AngleUnit unit(c.angleUnit);
        PolyDialog d(c.mode, 2, {c.p, {0, 0}});
        SetAngleUnit(c.angleUnit);  // the fixture set the default
        d.reload();
        if (!c.x.isEmpty()) {
            EXPECT_EQ(d.cells.TextMatrix(1, FigPolyLogic::ColX), c.x);
        }
        EXPECT_EQ(d.cells.TextMatrix(1, FigPolyLogic::ColX), NodeXText(c.mode, c.p.x));
        EXPECT_EQ(d.cells.TextMatrix(1, FigPolyLogic::ColY), NodeYText(c.mode, c.p.y));
        // Opening an editor and leaving it unchanged reads nothing back.
        EXPECT_TRUE(d->CommitCell(FigPolyLogic::ColX, d.cells.TextMatrix(1, FigPolyLogic::ColX)));
        EXPECT_TRUE(d->CommitCell(FigPolyLogic::ColY, d.cells.TextMatrix(1, FigPolyLogic::ColY)));
        ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
        EXPECT_EQ(ResultPoints(d.vars), (std::vector<std::vector<PolyPoint>>{{c.p, {0, 0}}})) << c.mode << c.angleUnit;
    }
}

TEST(FigPolyGrid, TypedCoordinatesAreReadOnlyWhereTyped) {
    struct Case {
        int mode;
        int32_t col;
        QString typed;
        bool accepted;
        PolyPoint after;
    } cases[] = {
        {1, FigPolyLogic::ColX, "E140°", true, {Deg(140), Deg(20)}},
        {1, FigPolyLogic::ColY, "S0°30′", true, {Deg(10), -Deg(0.5)}},
        {1, FigPolyLogic::ColX, "E181°", false, A},  // beyond 180 degrees east
        {1, FigPolyLogic::ColY, "N91", false, A},
        {1, FigPolyLogic::ColX, "どこか", false, A},   // unreadable
        {2, FigPolyLogic::ColX, "12.5", true, {12500, Deg(20)}},
        {2, FigPolyLogic::ColY, "50000km", false, A},
    };
    for (const Case& c : cases) {
        PolyDialog d(c.mode, 2, {A, B}, 1);
        testsupport::ScriptedBoxes boxes;
        if (!c.accepted) boxes.expect(kRange, plat::IdOk);
        EXPECT_EQ(d->CommitCell(c.col, c.typed), c.accepted) << c.typed.toStdString();
        EXPECT_EQ(d.nodes(), (std::vector<PolyPoint>{c.after, B})) << c.typed.toStdString();
        EXPECT_EQ(d.cells.TextMatrix(1, c.col),
                  c.col == FigPolyLogic::ColX ? NodeXText(c.mode, c.after.x) : NodeYText(c.mode, c.after.y));
    }
}

TEST(FigPolyGrid, LoopsAndTheInfoLine) {
    struct Case {
        std::vector<PolyPoint> nodes;
        QString info;
    } cases[] = {
        {{}, "形状:開放線 , ノード数:0"},
        {{A, B, A}, "形状:開放線 , ノード数:3"},  // too short for a ring
        {{A, B, C, A}, "形状:閉鎖線 , ノード数:4"},
        {{A, B, C, D}, "形状:開放線 , ノード数:4"},
        // Equal in degrees and minutes, 30" apart: not closed.
        {{A, B, C, {A.x + 30, A.y}}, "形状:開放線 , ノード数:4"},
    };
    for (const Case& c : cases) {
        PolyDialog d(1, 2, c.nodes);
        EXPECT_EQ(d->PolyInfo(), c.info);
        EXPECT_EQ(d->IsLoopGrid(), c.info.contains("閉鎖線"));
    }
}

TEST(FigPolyGrid, WhichNodeButtonsCanBePressed) {
    struct Case {
        int mode;
        std::vector<PolyPoint> nodes;
        int32_t row;
        bool reduction, reverse, rotation, move;
    } cases[] = {
        {1, {A, B, C, D, A}, 1, true, true, false, true},
        {1, {A, B, C, D, A}, 2, true, true, true, true},
        {1, {A, B, C, D, A}, 5, true, true, true, true},
        {1, {A, B, C, A}, 3, false, true, true, true},
        {1, {A, B, C}, 2, true, true, false, true},
        {1, {A, B}, 2, false, true, false, true},
        {2, {A}, 1, false, false, false, true},
        {2, {}, 0, false, false, false, false},
    };
    for (const Case& c : cases) {
        PolyDialog d(c.mode, 3, c.nodes, c.row);
        const NodeButtons b = d->Buttons();
        EXPECT_EQ(d.row(), std::max(c.row, int32_t(c.nodes.empty() ? 0 : 1)));
        EXPECT_EQ(std::vector<bool>({b.reduction, b.reverse, b.rotation, b.move, b.great, b.trace}),
                  std::vector<bool>({c.reduction, c.reverse, c.rotation, c.move, c.mode == 1, c.mode == 1}))
            << c.nodes.size() << " nodes, row " << c.row;
    }
}

TEST(FigPolyGrid, CutMarksOnlyOnInnerNodes) {
    PolyDialog d(2, 2, {A, B, C, D, E}, 3);
    EXPECT_EQ(d.marks(), (QStringList{" ", " ", "*", " ", " "}));
    for (int32_t r = 0; r <= 6; ++r) d->ToggleCut(r);
    EXPECT_EQ(d.marks(), (QStringList{" ", "<", "< *", "<", " "}));
    d->ToggleCut(3);
    d->ToggleCut(2);
    EXPECT_EQ(d.marks(), (QStringList{" ", " ", "*", "<", " "}));
}

TEST(FigPolyGrid, SplitsAtTheMarksEachCutNodeInBothPieces) {
    std::vector<PolyPoint> ten;
    for (int i = 1; i <= 10; ++i) ten.push_back({Deg(i), Deg(i % 3)});
    auto range = [&](int from, int to) { return std::vector<PolyPoint>(ten.begin() + from - 1, ten.begin() + to); };
    struct Case {
        int mode, code;
        std::vector<int32_t> cuts;
        std::vector<std::vector<PolyPoint>> pieces;
    } cases[] = {
        {2, 2, {4, 7}, {range(1, 4), range(4, 7), range(7, 10)}},
        {1, 2, {4, 7}, {range(1, 4), range(4, 7), range(7, 10)}},
        {2, 2, {}, {ten}},
        // Polygon pieces need 4 nodes: 4..5 is dropped.
        {2, 3, {4, 5}, {range(1, 4), range(5, 10)}},
        {2, 3, {2, 9}, {range(2, 9)}},
    };
    for (const Case& c : cases) {
        PolyDialog d(c.mode, c.code, ten);
        for (int32_t r : c.cuts) d->ToggleCut(r);
        EXPECT_EQ(d->GridToPolies().size(), c.pieces.size());
        ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
        EXPECT_EQ(ResultPoints(d.vars), c.pieces);
    }
    // A mark on the first or last node (not settable by a click) is ignored.
    PolyDialog d(2, 2, ten);
    d.cells.setTextMatrix(1, FigPolyLogic::ColMark, "<");
    d.cells.setTextMatrix(10, FigPolyLogic::ColMark, "< *");
    EXPECT_EQ(d->GridToPolies().size(), 1u);
}

TEST(FigPolyOk, LinesCrossingTheDateLineComeBackInPieces) {
    const PolyPoint east{Deg(170), 0}, edge{Deg(179), Deg(1)}, over{-Deg(179), Deg(2)}, west{-Deg(170), Deg(3)};
    PolyDialog d(1, 2, {east, edge, over, west});
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    const FigureList& results = *d.vars.Results;
    ASSERT_EQ(results.size(), 2u);
    for (const MapFigurePtr& f : results) {
        const clsRect r = f->Poly()->RectBound();
        EXPECT_TRUE(r.x2 <= 648000 && r.x1 >= -648000);
        EXPECT_TRUE(r.x1 >= Deg(170) || r.x2 <= -Deg(170)) << r.x1 << " " << r.x2;
    }
    EXPECT_EQ(results.front()->Poly()->x(1), east.x);
}

TEST(FigPolyOk, IdentifiersChangeOnlyWhenEveryPieceIsRight) {
    PolyDialog d(2, 2, {A, B, C, D});
    // A new figure has no district and no thing yet: refused.
    d.figure = NewMapFigure(2);
    d.figure->setPoly(std::make_shared<clsPoly>(PolyOf({A, B, C, D})));
    d.figure->setModify(false);
    d.vars.Figure = d.figure;
    d.reload();
    const double id = d.figure->FigID();
    for (int attempt = 0; attempt < 2; ++attempt) {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(kInvalid, plat::IdOk);
        EXPECT_EQ(d->OkClick(), OkOutcome::Stay);
        EXPECT_EQ(d.figure->FigID(), id);
        EXPECT_FALSE(d.figure->Modify());
        EXPECT_FALSE(d.vars.OK || d.vars.Results);
    }
    d->Work().setAdmin(7);
    d->Work().setThing(3);
    d->ToggleCut(2);
    d->SetCurrentRow(3);
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    const FigureList& results = *d.vars.Results;
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0]->FigID(), id);
    EXPECT_NE(results[1]->FigID(), id);
    EXPECT_NE(d.figure->FigID(), id);
    EXPECT_EQ(results[1]->Admin(), 7);
    EXPECT_EQ(d.vars.ActiveNode, 3);
    EXPECT_EQ(d.figure->Poly()->Count(), 4);  // the given figure is never edited
}

TEST(FigPolyOk, NothingLeftToReturnIsInvalidSettings) {
    for (const auto& [code, nodes] : {std::pair{2, std::vector<PolyPoint>{A}}, {3, {A, B, A}}, {3, {}}}) {
        PolyDialog d(2, code, nodes);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(kInvalid, plat::IdOk).expect(kInvalid, plat::IdCancel);
        EXPECT_EQ(d->OkClick(), OkOutcome::Stay);
        EXPECT_EQ(d->OkClick(), OkOutcome::Cancelled);
        EXPECT_FALSE(d.vars.OK);
    }
}

TEST(FigPolyLoad, OnlyPolylinesAndPolygonsWithAUnit) {
    PolyDialog d(1, 3, {A, B, C, A}, 9);
    EXPECT_EQ(d.vars.ActiveNode, 4);  // clamped to the nodes
    EXPECT_EQ(d->Caption(), QStringLiteral("多辺形図形プロパティ - TEST.MLL"));
    EXPECT_EQ(d->HelpContext(), FigPolyLogic::kHelpPolygon);
    EXPECT_EQ(d.cells.TextMatrix(0, FigPolyLogic::ColX), QStringLiteral("経度"));
    EXPECT_EQ(d.cells.FixedRows(), 1);
    d.vars.Figure = NewMapFigure(4);
    EXPECT_FALSE(FigPolyLogic(d.vars, d.cells).Load());
    d.vars.Figure = d.figure;
    d.vars.MapUnit.reset();
    EXPECT_FALSE(FigPolyLogic(d.vars, d.cells).Load());
}
