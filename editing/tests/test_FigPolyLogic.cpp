#include <gtest/gtest.h>

#include "FigPolyTestSupport.h"

using namespace edittest;

namespace {

const QString kInvalid = QStringLiteral("設定に誤りがあります.\r修正しますか？");

std::vector<Nodes> ResultPoints(const FigureDialogVars& vars) {
    std::vector<Nodes> out;
    for (const MapFigurePtr& f : vars.Results.value()) out.push_back(PointsOf(*f->Poly()));
    return out;
}

} // namespace

TEST(FigPolyGrid, NodesComeBackExactlyInEveryNotation) {
    struct Case {
        int mode;
        int16_t angleUnit;  // 2: degrees and minutes, coarser than the data
        PolyPoint p;
        QString x, y;
    } cases[] = {
        {1, 1, {Deg(139) + 41 * 60 + 30, Deg(35) + 41 * 60 + 22}, "E139°41′30″", "N35°41′22″"},
        {1, 2, {Deg(139) + 41 * 60 + 30, -(Deg(35) + 29)}, "E139°42′", "S35°00′"},
        {1, 4, {-Deg(179) - 59, Deg(89) + 1}, "W179.0163889°", "N89.0002778°"},
        {2, 1, {1234567, -1}, "    1234.567", "      -0.001"},
        {2, 1, {-40000000, 40000000}, "  -40000.000", "   40000.000"},
    };
    for (const Case& c : cases) {
        PolyDialog d(c.mode, 2, {c.p, {0, 0}});
        SetAngleUnit(c.angleUnit);
        d.reload();
        EXPECT_EQ(d.cells.TextMatrix(1, FigPolyLogic::ColX), c.x);
        EXPECT_EQ(d.cells.TextMatrix(1, FigPolyLogic::ColY), c.y);
        // An editor left as it was reads nothing back.
        EXPECT_TRUE(d->CommitCell(FigPolyLogic::ColX, d.cells.TextMatrix(1, FigPolyLogic::ColX)));
        ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
        EXPECT_EQ(ResultPoints(d.vars), (std::vector<Nodes>{{c.p, {0, 0}}})) << c.angleUnit;
        SetAngleUnit(1);
    }
}

TEST(FigPolyGrid, TypedCoordinatesAreReadOnlyWhereTyped) {
    struct Case {
        int mode;
        int32_t col;
        QString typed;
        PolyPoint after;  // A: refused with the range message
        QString x, y;     // the node's cells afterwards
    } cases[] = {
        {1, FigPolyLogic::ColX, "E140°", {Deg(140), Deg(20)}, "E140°00′00″", "N20°00′00″"},
        {1, FigPolyLogic::ColY, "S0°30′", {Deg(10), -Deg(0.5)}, "E010°00′00″", "S00°30′00″"},
        {1, FigPolyLogic::ColX, "E181°", A, "E010°00′00″", "N20°00′00″"},
        {1, FigPolyLogic::ColY, "N91", A, "E010°00′00″", "N20°00′00″"},
        {1, FigPolyLogic::ColX, "どこか", A, "E010°00′00″", "N20°00′00″"},
        {2, FigPolyLogic::ColX, "12.5", {12500, Deg(20)}, "      12.500", "      72.000"},
        {2, FigPolyLogic::ColY, "50000km", A, "      36.000", "      72.000"},
    };
    for (const Case& c : cases) {
        PolyDialog d(c.mode, 2, {A, B}, 1);
        testsupport::ScriptedBoxes boxes;
        if (c.after == A) boxes.expect(kRangeMessage, plat::IdOk);
        EXPECT_EQ(d->CommitCell(c.col, c.typed), c.after != A) << c.typed.toStdString();
        EXPECT_EQ(d.nodes(), (Nodes{c.after, B}));
        EXPECT_EQ(d.cells.TextMatrix(1, FigPolyLogic::ColX), c.x) << c.typed.toStdString();
        EXPECT_EQ(d.cells.TextMatrix(1, FigPolyLogic::ColY), c.y) << c.typed.toStdString();
    }
}

TEST(FigPolyGrid, ShapeAndWhichButtonsCanBePressed) {
    struct Case {
        int mode;
        Nodes nodes;
        int32_t row;
        bool closed, reduction, reverse, rotation, move;
    } cases[] = {
        {1, {A, B, C, D, A}, 1, true, true, true, false, true},
        {1, {A, B, C, D, A}, 5, true, true, true, true, true},
        {1, {A, B, C, A}, 3, true, false, true, true, true},
        {1, {A, B, C, D}, 2, false, true, true, false, true},
        {1, {A, B, A}, 2, false, true, true, false, true},  // too short for a ring
        {1, {A, B, C, {A.x + 30, A.y}}, 2, false, true, true, false, true},  // the same minute is not enough
        {1, {A, B}, 2, false, false, true, false, true},
        {2, {A}, 1, false, false, false, false, true},
        {2, {}, 0, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        PolyDialog d(c.mode, 3, c.nodes, c.row);
        const NodeButtons b = d->Buttons();
        EXPECT_EQ(d->PolyInfo(), QStringLiteral("形状:%1 , ノード数:%2").arg(c.closed ? "閉鎖線" : "開放線").arg(c.nodes.size()));
        EXPECT_EQ(std::vector<bool>({b.reduction, b.reverse, b.rotation, b.move, b.great, b.trace}),
                  std::vector<bool>({c.reduction, c.reverse, c.rotation, c.move, c.mode == 1, c.mode == 1}))
            << c.nodes.size() << " nodes, row " << c.row;
    }
}

TEST(FigPolyGrid, CutMarksOnlyOnInnerNodes) {
    PolyDialog d(2, 2, {A, B, C, D, E}, 3);
    for (int32_t r = 0; r <= 6; ++r) d->ToggleCut(r);
    EXPECT_EQ(d.marks(), (QStringList{" ", "<", "< *", "<", " "}));
    d->ToggleCut(3);
    d->ToggleCut(2);
    EXPECT_EQ(d.marks(), (QStringList{" ", " ", "*", "<", " "}));
}

TEST(FigPolyGrid, SplitsAtTheMarksEachCutNodeInBothPieces) {
    Nodes ten;
    for (int i = 1; i <= 10; ++i) ten.push_back({Deg(i), Deg(i % 3)});
    auto range = [&](int from, int to) { return Nodes(ten.begin() + from - 1, ten.begin() + to); };
    struct Case {
        int mode, code;
        std::vector<int32_t> cuts;
        std::vector<Nodes> pieces;
    } cases[] = {
        {2, 2, {4, 7}, {range(1, 4), range(4, 7), range(7, 10)}},
        {1, 2, {4, 7}, {range(1, 4), range(4, 7), range(7, 10)}},
        {2, 3, {4, 5}, {range(1, 4), range(5, 10)}},  // a polygon piece needs 4 nodes
        {2, 3, {2, 9}, {range(2, 9)}},
    };
    for (const Case& c : cases) {
        PolyDialog d(c.mode, c.code, ten);
        for (int32_t r : c.cuts) d->ToggleCut(r);
        ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
        EXPECT_EQ(ResultPoints(d.vars), c.pieces);
    }
    PolyDialog d(2, 2, ten);  // marks on the end nodes (no click sets them) are ignored
    d.cells.setTextMatrix(1, FigPolyLogic::ColMark, "<");
    d.cells.setTextMatrix(10, FigPolyLogic::ColMark, "< *");
    EXPECT_EQ(d->GridToPolies().size(), 1u);
}

TEST(FigPolyOk, LinesCrossingTheDateLineComeBackInPieces) {
    PolyDialog d(1, 2, {{Deg(170), 0}, {Deg(179), Deg(1)}, {-Deg(179), Deg(2)}, {-Deg(170), Deg(3)}});
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    ASSERT_EQ(d.vars.Results->size(), 2u);
    for (const MapFigurePtr& f : *d.vars.Results) {
        const clsRect r = f->Poly()->RectBound();
        EXPECT_TRUE((r.x1 >= Deg(170) && r.x2 < Deg(180)) || (r.x1 > -Deg(180) && r.x2 <= -Deg(170)));
    }
}

TEST(FigPolyOk, IdentifiersChangeOnlyWhenEveryPieceIsRight) {
    PolyDialog d(2, 2, {A, B, C, D}, 0, false);  // no district and no thing yet: refused
    const double id = d.figure->FigID();
    for (int attempt = 0; attempt < 2; ++attempt) {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(kInvalid, plat::IdOk);
        EXPECT_EQ(d->OkClick(), OkOutcome::Stay);
        EXPECT_EQ(d.figure->FigID(), id);
        EXPECT_FALSE(d.figure->Modify() || d.vars.OK || d.vars.Results);
    }
    d->Work().setAdmin(7);
    d->Work().setThing(3);
    d->ToggleCut(2);
    d->SetCurrentRow(3);
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    const FigureList& results = *d.vars.Results;
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0]->FigID(), id);
    EXPECT_NE(d.figure->FigID(), id);
    EXPECT_EQ(results[1]->Admin(), 7);
    EXPECT_EQ(d.vars.ActiveNode, 3);
    EXPECT_EQ(d.figure->Poly()->Count(), 4);  // the given figure itself is never edited
}

TEST(FigPolyOk, NothingLeftToReturnIsInvalidSettings) {
    for (const auto& [code, nodes] : {std::pair{2, Nodes{A}}, {3, {A, B, A}}, {3, {}}}) {
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
    EXPECT_EQ(d.vars.ActiveNode, 4);
    EXPECT_EQ(d->Caption(), QStringLiteral("多辺形図形プロパティ - TEST.MLL"));
    d.vars.Figure = NewMapFigure(4);
    EXPECT_FALSE(FigPolyLogic(d.vars, d.cells).Load());
    d.vars.Figure = d.figure;
    d.vars.MapUnit.reset();
    EXPECT_FALSE(FigPolyLogic(d.vars, d.cells).Load());
}
