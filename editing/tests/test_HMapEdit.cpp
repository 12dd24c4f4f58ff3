#include <gtest/gtest.h>

#include <QComboBox>

#include "EditingTestSupport.h"
#include "TestSupport.h"
#include "clsMapText.h"

using edittest::MakeAdmin;
using edittest::MakeThing;
using Pair = std::array<int16_t, 2>;

namespace {

// A figure dialog that records what it was given and plays a user who
// moves the window and, with `user`, edits the work copy and presses OK;
// without it the user cancels.
struct FakeDialog {
    int shown = 0;
    FigureDialogVars seen;
    std::function<void(clsMapFigure&)> user;

    FigureDialogRunner runner() {
        return [this](FigureDialogVars& v) {
            ++shown;
            seen = v;
            FigureDialogLogic logic(v, QStringLiteral("fake"));
            ASSERT_TRUE(logic.LoadCommon());
            if (user) {
                user(logic.Work());
                EXPECT_EQ(logic.Finish({logic.WorkPtr()}), OkOutcome::Closed);
            }
            logic.Unload();
            v.Win = {120, 240};
        };
    }
};

struct Dispatch : ::testing::Test {
    edittest::CleanEditing clean;
    FakeDialog dialogs[kFigureDialogKinds];
    FakeDialog &remark = dialogs[0], &poly = dialogs[1], &symbol = dialogs[2], &text = dialogs[3];
    MapUnitPtr unit = std::make_shared<clsMapUnit>();

    Dispatch() {
        for (int k = 0; k < kFigureDialogKinds; ++k) SetFigureDialog(FigureDialogKind(k), dialogs[k].runner());
        HMapEdit().EditMapUnit = unit;
    }
};

} // namespace

TEST_F(Dispatch, EachKindOpensItsDialogOrSaysThereIsNone) {
    const FakeDialog* expected[] = {&remark, &poly, &poly, &symbol, &text};
    for (int code = 1; code <= 5; ++code) {
        const int before = expected[code - 1]->shown;
        EXPECT_FALSE(EditMapFigure(NewMapFigure(code)));  // cancelled
        EXPECT_EQ(expected[code - 1]->shown, before + 1) << code;
        EXPECT_EQ(expected[code - 1]->seen.Figure->FigCode(), code);
        EXPECT_EQ(expected[code - 1]->seen.MapUnit, unit);
        EXPECT_FALSE(FigureDialogVarsOf(*FigureDialogOf(code)).Figure);  // let go after the call
    }
    EXPECT_FALSE(EditMapFigure(nullptr) || CreateMapFigure(0) || CreateMapFigure(6));
    EXPECT_EQ(remark.shown + poly.shown + symbol.shown + text.shown, 5);

    SetFigureDialog(FigureDialogKind::Symbol, {});  // a kind left without a dialog
    testsupport::ScriptedBoxes boxes;
    boxes.expect("点記号の図形プロパティ画面は組み込まれていません.", plat::IdOk);
    EXPECT_FALSE(CreateMapFigure(4));
    ResetFigureDialogs();  // every kind has its dialog built in
    for (int k = 0; k < kFigureDialogKinds; ++k) EXPECT_TRUE(FigureDialogRunnerOf(FigureDialogKind(k))) << k;
}

TEST_F(Dispatch, NewFiguresTakeTheDistrictAndThingOfTheLastCreation) {
    HMapEdit().EditPointX = 500400;
    HMapEdit().EditPointY = 126000;
    remark.user = [](clsMapFigure& f) { EXPECT_EQ(f.Admin(), 0); };
    ASSERT_TRUE(CreateMapFigure(1));
    poly.user = [](clsMapFigure& f) {
        EXPECT_EQ(Pair({f.Admin(), f.Thing()}), Pair({0, 0}));
        f.setAdmin(12);
        f.setThing(7);
        f.Poly()->SetRect(0, 0, 10, 10);
    };
    const auto polygon = CreateMapFigure(3);
    ASSERT_TRUE(polygon);
    EXPECT_EQ(poly.seen.ActiveNode, 0);
    remark.user = [](clsMapFigure& f) { EXPECT_EQ(f.Admin(), 12); };
    ASSERT_TRUE(CreateMapFigure(1));
    EXPECT_EQ(HMapEdit().EditLastAdminThing, Pair({12, 7}));  // a remark has no thing to give
    text.user = [](clsMapFigure& f) {
        auto& t = dynamic_cast<clsMapText&>(f);
        EXPECT_EQ(Pair({t.Admin(), t.Thing()}), Pair({12, 7}));
        EXPECT_EQ(t.Position(), (PolyPoint{500400, 126000}));
        t.setThing(9);
    };
    ASSERT_TRUE(CreateMapFigure(5));
    EXPECT_EQ(HMapEdit().EditLastAdminThing, Pair({12, 9}));
    // A cancelled creation and any edit leave the pair alone.
    EXPECT_FALSE(CreateMapFigure(4));
    poly.user = [](clsMapFigure& f) { f.setAdmin(30); };
    ASSERT_TRUE(EditMapFigure(polygon->front()));
    EXPECT_EQ(HMapEdit().EditLastAdminThing, Pair({12, 9}));
}

TEST_F(Dispatch, ADialogOpensFirstAtTheCallersPlaceThenWhereItWasLeft) {
    HMapEdit().EditDialogLeft = 4000;
    HMapEdit().EditDialogTop = 3000;
    HMapEdit().EditActiveNode = 7;
    EditMapFigure(NewMapFigure(2));
    EXPECT_EQ(std::tuple(poly.seen.Win.left, poly.seen.Win.top, poly.seen.ActiveNode), std::tuple(4000, 3000, 7));
    HMapEdit().EditDialogLeft = 9000;
    EditMapFigure(NewMapFigure(3));
    EXPECT_EQ(std::tuple(poly.seen.Win.left, poly.seen.Win.top), std::tuple(120, 240));
    EditMapFigure(NewMapFigure(4));  // another dialog, its own place
    EXPECT_EQ(std::tuple(symbol.seen.Win.left, symbol.seen.ActiveNode), std::tuple(9000, 0));
}

TEST(FigureCombos, ListTheFiguresKindAndSelectByNumber) {
    clsAdmins admins;
    for (int i : {0, 20, 30}) admins.Add(MakeAdmin(i, 0, i ? "Georgia" : "World"));
    clsThings things;
    for (const ThingPtr& t : {MakeThing(1, 3, 1, "Lake"), MakeThing(2, 5, 1, "Country"), MakeThing(3, 5, 1, "Lake"),
                              MakeThing(4, 4, 1, "City")})
        things.Add(t);
    clsMapText text;
    struct Case {
        int admin, thing, adminRow, thingRow;
    } cases[] = {
        {-1, -1, -1, -1},  // none: no row, rather than one the figure does not have
        {30, 3, 2, 1},     // the second "Georgia" and the text's "Lake", not the first of their names
        {999, 1, -1, -1},  // a district the catalogue lacks, a polygon's thing
    };
    for (const Case& c : cases) {
        text.setAdmin(c.admin);
        text.setThing(c.thing);
        const ChoiceList a = AdminComboChoices(admins, text), t = ThingComboChoices(things, text);
        EXPECT_EQ(a.texts, (QStringList{"World", "Georgia", "Georgia"}));
        EXPECT_EQ(t.texts, (QStringList{"Country", "Lake"}));
        EXPECT_EQ(std::pair(a.selected, t.selected), std::pair(c.adminRow, c.thingRow)) << c.admin;
        EXPECT_EQ(text.Admin(), c.admin);  // the figure changes only when the user picks
    }
    QComboBox combo;
    CreateThingCombo(&combo, things, text);
    EXPECT_EQ(ComboNumber(&combo), -1);
    text.setThing(2);
    CreateThingCombo(&combo, things, text);
    EXPECT_EQ(ComboNumber(&combo), 2);
    CreateThingCombo(&combo, clsThings(), text);
    EXPECT_EQ(ComboNumber(&combo), -1);  // no row
}
