#include <gtest/gtest.h>

#include <QComboBox>

#include "EditingTestSupport.h"
#include "TestSupport.h"
#include "basHMap.h"
#include "clsMapRem.h"
#include "clsMapSymbol.h"
#include "clsMapText.h"

using edittest::CleanEditing;
using edittest::MakeAdmin;
using edittest::MakeThing;

namespace {

// A figure dialog that records what it was given and plays a user: `user`
// edits the work copy and presses OK; without it the user cancels.
struct FakeDialog {
    int shown = 0;
    int32_t figCode = 0;
    MapUnitPtr unit;
    int32_t activeNode = -1;
    plat::DialogPosition win;
    std::function<void(clsMapFigure&)> user;
    std::function<void(FigureDialogVars&)> afterwards;

    FigureDialogRunner runner() {
        return [this](FigureDialogVars& v) {
            ++shown;
            figCode = v.Figure->FigCode();
            unit = v.MapUnit;
            activeNode = v.ActiveNode;
            win = v.Win;
            FigureDialogLogic logic(v, QStringLiteral("fake"));
            ASSERT_TRUE(logic.LoadCommon());
            if (user) {
                user(logic.Work());
                EXPECT_EQ(logic.Finish({logic.WorkPtr()}), OkOutcome::Closed);
            }
            logic.Unload();
            if (afterwards) afterwards(v);
        };
    }
};

struct Dispatch : ::testing::Test {
    CleanEditing clean;
    FakeDialog dialogs[kFigureDialogKinds];
    MapUnitPtr unit = std::make_shared<clsMapUnit>();

    Dispatch() {
        for (int k = 0; k < kFigureDialogKinds; ++k) SetFigureDialog(FigureDialogKind(k), dialogs[k].runner());
        unit->setUnitName("/maps/JAPAN.MLL");
        HMapEdit().EditMapUnit = unit;
    }
    FakeDialog& of(FigureDialogKind k) { return dialogs[static_cast<int>(k)]; }
    int shownTotal() const {
        int n = 0;
        for (const FakeDialog& d : dialogs) n += d.shown;
        return n;
    }
};

// A remark that reports a figure code of no kind.
struct StrangeFigure : clsMapRem {
    int32_t FigCode() const override { return 6; }
};

} // namespace

TEST_F(Dispatch, EachKindOpensItsDialog) {
    const FigureDialogKind expected[] = {FigureDialogKind::Remark, FigureDialogKind::Poly, FigureDialogKind::Poly,
                                         FigureDialogKind::Symbol, FigureDialogKind::Text};
    for (int code = 1; code <= 5; ++code) {
        const int before = of(expected[code - 1]).shown;
        EXPECT_FALSE(EditMapFigure(NewMapFigure(code))) << code;  // cancelled
        EXPECT_EQ(of(expected[code - 1]).shown, before + 1) << code;
        EXPECT_EQ(of(expected[code - 1]).figCode, code);
        EXPECT_EQ(of(expected[code - 1]).unit, unit);
    }
    EXPECT_EQ(shownTotal(), 5);
    EXPECT_FALSE(EditMapFigure(std::make_shared<StrangeFigure>()));
    EXPECT_FALSE(EditMapFigure(nullptr));
    EXPECT_FALSE(CreateMapFigure(0));
    EXPECT_FALSE(CreateMapFigure(6));
    EXPECT_EQ(shownTotal(), 5);
    // The instances hold no figure or unit between uses.
    for (int k = 0; k < kFigureDialogKinds; ++k) {
        EXPECT_FALSE(FigureDialogVarsOf(FigureDialogKind(k)).Figure);
        EXPECT_FALSE(FigureDialogVarsOf(FigureDialogKind(k)).MapUnit);
    }
}

TEST_F(Dispatch, KindsWithoutADialogSaySo) {
    ResetFigureDialogs();
    testsupport::ScriptedBoxes boxes;
    boxes.expect("連続線の図形プロパティ画面は組み込まれていません.", plat::IdOk)
        .expect("点記号の図形プロパティ画面は組み込まれていません.", plat::IdOk);
    EXPECT_FALSE(EditMapFigure(NewMapFigure(2)));
    EXPECT_FALSE(CreateMapFigure(4));
    EXPECT_EQ(HMapEdit().EditLastAdminThing, (std::array<int16_t, 2>{0, 0}));
    EXPECT_TRUE(FigureDialogRunnerOf(FigureDialogKind::Remark));
}

TEST_F(Dispatch, NewFiguresTakeTheDistrictAndThingOfTheLastCreation) {
    HMapEdit().EditPointX = 500400;
    HMapEdit().EditPointY = 126000;
    MapFigurePtr seen;
    for (FakeDialog& d : dialogs) d.afterwards = [&](FigureDialogVars& v) { seen = v.Results ? v.Results->front() : nullptr; };

    of(FigureDialogKind::Remark).user = [](clsMapFigure& f) { EXPECT_EQ(f.Admin(), 0); };
    ASSERT_TRUE(CreateMapFigure(1));

    of(FigureDialogKind::Poly).user = [](clsMapFigure& f) {
        EXPECT_EQ(f.Admin(), 0);
        EXPECT_EQ(f.Thing(), 0);
        f.setAdmin(12);
        f.setThing(7);
        auto p = std::make_shared<clsPoly>();
        p->SetRect(0, 0, 10, 10);
        f.setPoly(p);
    };
    const auto polygon = CreateMapFigure(3);
    ASSERT_TRUE(polygon);
    EXPECT_EQ(of(FigureDialogKind::Poly).activeNode, 0);
    EXPECT_EQ(HMapEdit().EditLastAdminThing, (std::array<int16_t, 2>{12, 7}));

    of(FigureDialogKind::Remark).user = [](clsMapFigure& f) { EXPECT_EQ(f.Admin(), 12); };
    ASSERT_TRUE(CreateMapFigure(1));
    EXPECT_EQ(HMapEdit().EditLastAdminThing, (std::array<int16_t, 2>{12, 7}));

    of(FigureDialogKind::Text).user = [](clsMapFigure& f) {
        auto& t = dynamic_cast<clsMapText&>(f);
        EXPECT_EQ(t.Admin(), 12);
        EXPECT_EQ(t.Thing(), 7);
        EXPECT_EQ(t.mx(), 500400);
        EXPECT_EQ(t.my(), 126000);
        t.setThing(9);
    };
    ASSERT_TRUE(CreateMapFigure(5));
    EXPECT_EQ(HMapEdit().EditLastAdminThing, (std::array<int16_t, 2>{12, 9}));

    // A cancelled creation and any edit leave the pair alone.
    of(FigureDialogKind::Symbol).user = nullptr;
    EXPECT_FALSE(CreateMapFigure(4));
    of(FigureDialogKind::Poly).user = [](clsMapFigure& f) { f.setAdmin(30); };
    ASSERT_TRUE(EditMapFigure(polygon->front()));
    EXPECT_EQ(HMapEdit().EditLastAdminThing, (std::array<int16_t, 2>{12, 9}));
}

TEST_F(Dispatch, TheResultKeepsTheEditedFiguresIdentity) {
    of(FigureDialogKind::Remark).user = [](clsMapFigure& f) { static_cast<clsMapRem&>(f).setComment("new"); };
    const MapFigurePtr original = NewMapRem("old");
    const double id = original->FigID();
    const auto results = EditMapFigure(original);
    ASSERT_TRUE(results);
    ASSERT_EQ(results->size(), 1u);
    EXPECT_NE(results->front(), original);
    EXPECT_EQ(results->front()->FigID(), id);
    EXPECT_NE(original->FigID(), id);
    EXPECT_EQ(static_cast<clsMapRem&>(*original).Comment(), "old");

    of(FigureDialogKind::Remark).user = nullptr;
    const MapFigurePtr kept = NewMapRem("kept");
    const double keptId = kept->FigID();
    EXPECT_FALSE(EditMapFigure(kept));
    EXPECT_EQ(kept->FigID(), keptId);
}

TEST_F(Dispatch, ADialogOpensFirstAtTheCallersPlaceThenWhereItWasLeft) {
    HMapEdit().EditDialogLeft = 4000;
    HMapEdit().EditDialogTop = 3000;
    HMapEdit().EditActiveNode = 7;
    of(FigureDialogKind::Poly).afterwards = [](FigureDialogVars& v) { v.Win = {120, 240}; };  // moved by the user
    EditMapFigure(NewMapFigure(2));
    EXPECT_EQ(of(FigureDialogKind::Poly).win.left, 4000);
    EXPECT_EQ(of(FigureDialogKind::Poly).win.top, 3000);
    EXPECT_EQ(of(FigureDialogKind::Poly).activeNode, 7);
    HMapEdit().EditDialogLeft = 9000;
    EditMapFigure(NewMapFigure(3));
    EXPECT_EQ(of(FigureDialogKind::Poly).win.left, 120);
    EXPECT_EQ(of(FigureDialogKind::Poly).win.top, 240);
    // Another dialog has its own place.
    EditMapFigure(NewMapFigure(4));
    EXPECT_EQ(of(FigureDialogKind::Symbol).win.left, 9000);
    EXPECT_EQ(of(FigureDialogKind::Symbol).activeNode, 0);
}

TEST_F(Dispatch, AnErrorReachesTheCallerWithTheModuleInItsSource) {
    SetFigureDialog(FigureDialogKind::Symbol, [](FigureDialogVars&) {
        throw AppError(ErrGeneral, QStringLiteral("frmFigSymbol.Load/"), QStringLiteral("broken"));
    });
    try {
        CreateMapFigure(4);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.source(), "basHMapEdit.CreateMapFigure/frmFigSymbol.Load/");
    }
    EXPECT_FALSE(FigureDialogVarsOf(FigureDialogKind::Symbol).Figure);
}

TEST(FigureCombos, ListAndSelectByNumber) {
    CleanEditing clean;
    clsAdmins admins;
    for (const AdminPtr& a : {MakeAdmin(0, 0, "World"), MakeAdmin(20, 5, "Georgia"), MakeAdmin(30, 6, "Georgia"),
                              MakeAdmin(40, 6, "France")})
        admins.Add(a);
    clsThings things;
    for (const ThingPtr& t : {MakeThing(1, 3, 1, "Lake"), MakeThing(2, 5, 1, "Country"), MakeThing(3, 5, 1, "Lake"),
                              MakeThing(4, 4, 1, "City")})
        things.Add(t);
    auto text = std::make_shared<clsMapText>();

    struct Case {
        int admin, thing;
        int adminRow, thingRow;
    } cases[] = {
        {-1, -1, 0, 0},
        {30, 3, 2, 1},   // the second "Georgia" and the text "Lake", not the first of their names
        {40, 1, 3, 0},   // a polygon's thing: the first thing of the text's own kind
        {999, 4, 0, 0},  // a district the catalogue lacks, a symbol's thing
    };
    for (const Case& c : cases) {
        text->setAdmin(c.admin);
        text->setThing(c.thing);
        const ChoiceList a = AdminComboChoices(admins, *text);
        const ChoiceList t = ThingComboChoices(things, *text);
        EXPECT_EQ(a.texts, (QStringList{"World", "Georgia", "Georgia", "France"}));
        EXPECT_EQ(t.texts, (QStringList{"Country", "Lake"}));
        EXPECT_EQ(a.selected, c.adminRow) << c.admin;
        EXPECT_EQ(t.selected, c.thingRow) << c.thing;
        // The figure keeps its own values until the user picks another.
        EXPECT_EQ(text->Admin(), c.admin);
    }

    QComboBox combo;
    text->setAdmin(30);
    CreateAdminCombo(&combo, admins, *text);
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(ComboNumber(&combo), 30);
    CreateThingCombo(&combo, clsThings(), *text);
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(ComboNumber(&combo), -1);
}
