// Pages 2 to 6 of the wizard through its logic: typed angles and their
// ranges, slider snapping, the whole-globe and graticule switches, the
// condition list against the real catalogue, the secant limit, the light
// table and the right-axis adjustment.
#include "MapProjection.h"
#include "WizardTestSupport.h"
#include "basAngle.h"

using namespace wiztest;
using testsupport::ScriptedBoxes;

namespace {

using Item = frmPrjWizardLogic::AngleItem;
const QString kOutOfRange = QStringLiteral("既定の範囲を超えています.");

class Pages : public WizardTest {
protected:
    Pages() {
        w.InitOption = 1;   // the fresh values
        LoadWithFake(w);
        w.Forward();
    }
    void GoTo(int page) {
        while (w.Page() < page) w.Forward();
        while (w.Page() > page) w.Backward();
    }
    QStringList Names(std::initializer_list<int> indices) {
        QStringList l;
        for (int i : indices) l.append(PrjNameOf(static_cast<int16_t>(i)));
        return l;
    }
    frmPrjWizardLogic w;
};

// --- pages 2 to 4 --------------------------------------------------------------------

TEST_F(Pages, TypedAnglesInAndOutOfTheirRanges) {
    w.SetFieldWorld(false);
    struct Case {
        Item item;
        const char* text;
        bool accepted;
        int32_t stored;   // the value afterwards
    };
    const Case cases[] = {
        {Item::FieldNorth, "45", true, 162000},
        {Item::FieldNorth, "N90", true, 324000},
        {Item::FieldNorth, "91", false, 324000},
        {Item::FieldSouth, "S10.5", true, -37800},
        // Unreadable texts are refused everywhere, not taken as 0.
        {Item::FieldSouth, "abc", false, -37800},
        {Item::FieldWest, "W180", true, -648000},
        {Item::FieldEast, "181", false, 648000},
        {Item::CenterLon, "E135", true, 486000},
        {Item::CenterLon, "", false, 486000},
        {Item::CenterLat, "35 30", true, 127800},
        {Item::CenterLat, "北緯", false, 127800},
        {Item::GridWidth, "0", false, 54000},
        {Item::GridWidth, "0.5", true, 1800},
        {Item::GridWidth, "45.1", false, 1800},
        {Item::GridHeight, "0°01′", true, 60},
        {Item::GridNorth, "4", false, 270000},
        {Item::GridNorth, "N5", true, 18000},
        {Item::GridSouth, "S5", true, -18000},
        {Item::GridSouth, "5", false, -18000},
        {Item::GridSouth, "xyz", false, -18000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedBoxes boxes;
        if (!c.accepted) boxes.expect(kOutOfRange, plat::IdOk);
        EXPECT_EQ(w.ValidateAngleText(c.item, QString::fromUtf8(c.text)), c.accepted);
        EXPECT_EQ(w.AngleValue(c.item), c.stored);
    }
}

TEST_F(Pages, TheRangeWarningNamesTheRangeInTheItemsOwnStyle) {
    ScriptedBoxes boxes;
    boxes.expect(kOutOfRange + QStringLiteral("\r\n") + LatToStr(18000) + QStringLiteral("～") + LatToStr(324000), plat::IdOk);
    boxes.expect(kOutOfRange + QStringLiteral("\r\n") + AngleToStr(60) + QStringLiteral("～") + AngleToStr(162000), plat::IdOk);
    w.ValidateAngleText(Item::GridNorth, QStringLiteral("1"));
    w.ValidateAngleText(Item::GridWidth, QStringLiteral("46"));
}

TEST_F(Pages, SlidersSnapToHalfDegreesAndZeroGivesAMinuteWhereZeroIsNoValue) {
    struct Case {
        Item item;
        int minutes;
        int32_t stored;
    };
    const Case cases[] = {
        {Item::FieldNorth, 0, 60},      {Item::FieldNorth, 14, 60},    {Item::FieldNorth, 15, 1800},
        {Item::FieldSouth, -14, 60},    {Item::FieldSouth, -15, -1800}, {Item::FieldSouth, -44, -1800},
        {Item::FieldSouth, -45, -3600}, {Item::FieldWest, 0, 0},       {Item::FieldEast, 10785, 648000},
        {Item::CenterLon, 0, 0},        {Item::CenterLat, 44, 1800},   {Item::CenterLat, 45, 3600},
        {Item::GridWidth, 0, 60},       {Item::GridHeight, 2700, 162000}, {Item::GridNorth, 300, 18000},
        {Item::GridSouth, -5010, -300600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.minutes);
        const QString tip = w.ScrollAngle(c.item, c.minutes);
        EXPECT_EQ(w.AngleValue(c.item), c.stored);
        EXPECT_EQ(tip, w.AngleText(c.item));
        EXPECT_EQ(w.AngleSlider(c.item), c.stored / 60);
    }
}

TEST_F(Pages, WholeGlobeGreysAndWidensTheEdges) {
    w.SetFieldWorld(false);
    w.ValidateAngleText(Item::FieldNorth, QStringLiteral("60"));
    w.ValidateAngleText(Item::FieldWest, QStringLiteral("100"));
    for (Item i : {Item::FieldNorth, Item::FieldSouth, Item::FieldWest, Item::FieldEast}) EXPECT_TRUE(w.AngleEnabled(i));
    w.SetFieldWorld(true);
    EXPECT_EQ(w.AngleValue(Item::FieldNorth), 324000);
    EXPECT_EQ(w.AngleValue(Item::FieldSouth), -324000);
    EXPECT_EQ(w.AngleValue(Item::FieldWest), -648000);
    EXPECT_EQ(w.AngleValue(Item::FieldEast), 648000);
    for (Item i : {Item::FieldNorth, Item::FieldSouth, Item::FieldWest, Item::FieldEast}) EXPECT_FALSE(w.AngleEnabled(i));
    EXPECT_TRUE(w.AngleEnabled(Item::CenterLat));
}

TEST_F(Pages, GraticuleOffGreysItsValuesButKeepsThemAndLeavesTheZones) {
    w.ValidateAngleText(Item::GridWidth, QStringLiteral("15"));
    w.SetZone(true);
    w.SetGridOn(false);
    EXPECT_FALSE(w.GridOn());
    for (Item i : {Item::GridWidth, Item::GridHeight, Item::GridNorth, Item::GridSouth}) EXPECT_FALSE(w.AngleEnabled(i));
    EXPECT_EQ(w.AngleValue(Item::GridWidth), 54000);
    EXPECT_TRUE(w.Work.Grid.Zone);
    w.SetGridOn(true);
    EXPECT_TRUE(w.Work.Grid.Vertical && w.Work.Grid.Horizontal);
}

// --- page 5 --------------------------------------------------------------------------

TEST_F(Pages, ConditionsNarrowTheCatalogue) {
    GoTo(5);
    EXPECT_EQ(w.PrjList().size(), 30);
    EXPECT_EQ(w.PrjListLabel(), QStringLiteral("図法(&P): [30/30]"));
    EXPECT_EQ(w.PrjList()[w.PrjListSelected()], PrjNameOf(12));

    const std::initializer_list<int> highLat = {1, 2, 3, 4, 5, 6, 7, 11, 18, 19, 20, 21, 22, 25, 28, 29, 30};
    struct Step {
        int group, index;
        bool on;
        std::initializer_list<int> expected;   // empty: the whole catalogue
        int16_t projection;                    // the working projection afterwards
    };
    const Step steps[] = {
        {2, 2, true, highLat, 1},   // 12 is not listed: the first entry takes over
        {0, 0, true, {1, 2, 3, 4, 5, 6, 7}, 1},
        {1, 6, true, {}, 12},       // balanced circles: none (checked below)
        {1, 6, false, {1, 2, 3, 4, 5, 6, 7}, 1},
        {0, 0, false, highLat, 1},
        {2, 2, false, {}, 1},   // no box: the whole catalogue
        {1, 0, true, {6, 12, 16, 22, 23, 26, 27, 28}, 6},
        {1, 1, true, {16, 26}, 16},   // distance and area together
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        w.SetCondition(s.group, s.index, s.on);
        EXPECT_EQ(w.ConditionChecked(s.group, s.index), s.on);
        EXPECT_EQ(w.Work.PrjIndex, s.projection);
        if (n == 3) {
            EXPECT_EQ(w.PrjList(), QStringList{frmPrjWizardLogic::NoMatchEntry()});
            EXPECT_EQ(w.PrjListLabel(), QStringLiteral("図法(&P): [0/30]"));
            EXPECT_FALSE(w.Enabled(frmPrjWizardLogic::BtnForward));
            continue;
        }
        const QStringList want = s.expected.size() ? Names(s.expected) : Names({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                                                16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30});
        EXPECT_EQ(w.PrjList(), want);
        EXPECT_EQ(w.PrjListLabel(), QStringLiteral("図法(&P): [%1/30]").arg(want.size()));
        EXPECT_EQ(w.PrjList()[w.PrjListSelected()], PrjNameOf(s.projection));
        EXPECT_TRUE(w.Enabled(frmPrjWizardLogic::BtnForward));
    }
}

TEST_F(Pages, NoMatchKeepsTheTickedBoxesAndResetClearsThem) {
    GoTo(5);
    w.SetCondition(0, 0, true);
    w.SetCondition(1, 6, true);
    ASSERT_EQ(w.PrjList(), QStringList{frmPrjWizardLogic::NoMatchEntry()});
    // The boxes stay as the user ticked them and the state says so.
    EXPECT_TRUE(w.ConditionChecked(0, 0));
    EXPECT_TRUE(w.ConditionChecked(1, 6));
    EXPECT_EQ(w.PrjHelpContext(), 0);
    w.ClickPrj(0);
    EXPECT_EQ(w.Work.PrjIndex, 12);
    w.ResetConditions();
    EXPECT_EQ(w.ConditionMask, 0);
    EXPECT_EQ(w.PrjList().size(), 30);
    EXPECT_TRUE(w.Enabled(frmPrjWizardLogic::BtnForward));
    // The mask survives leaving the page; picking a name picks its projection.
    w.SetCondition(0, 5, true);
    EXPECT_EQ(w.PrjList(), Names({28, 29}));
    w.ClickPrj(1);
    EXPECT_EQ(w.Work.PrjIndex, 29);
    EXPECT_EQ(w.PrjHelpContext(), 344001);
    GoTo(4);
    GoTo(5);
    EXPECT_EQ(w.PrjList(), Names({28, 29}));
    EXPECT_EQ(w.PrjList()[w.PrjListSelected()], PrjNameOf(29));
}

// --- page 6 --------------------------------------------------------------------------

TEST_F(Pages, OnlyTheAdjustableItemsShow) {
    struct Case {
        int16_t prj;
        bool rotation, cone, secant, light, gores, rightAxis;
    };
    const Case cases[] = {
        {4, true, false, false, true, false, true},    // perspective azimuthal
        {24, true, true, true, false, false, true},    // conic
        {28, true, false, false, false, true, true},   // gores
        {29, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prj);
        w.Work.PrjIndex = c.prj;
        EXPECT_EQ(w.ScreenVisible(frmPrjWizardLogic::ScreenPoler), c.rotation);
        EXPECT_EQ(w.ScreenVisible(frmPrjWizardLogic::ScreenCone), c.cone);
        EXPECT_EQ(w.ScreenVisible(frmPrjWizardLogic::ScreenSecant), c.secant);
        EXPECT_EQ(w.ScreenVisible(frmPrjWizardLogic::ScreenLight), c.light);
        EXPECT_EQ(w.GoresVisible(), c.gores);
        EXPECT_EQ(w.RightAxisEnabled(), c.rightAxis);
        EXPECT_EQ(w.ScreenMessage().endsWith(QStringLiteral("〔正軸調整〕をクリックしてください。")), c.rightAxis);
        EXPECT_EQ(w.DivisionToolTip(), c.gores ? QStringLiteral("舟型多円錐図法の片数") : QStringLiteral("投影面の分割数"));
    }
}

TEST_F(Pages, TheSecantFollowsItsMaximumWhenConeOrProjectionChange) {
    ScriptedBoxes boxes;
    w.Work.PrjIndex = 24;
    GoTo(6);
    // Cone 60 degrees: the secant may reach 118 degrees.
    EXPECT_EQ(w.ScreenSliderRange(frmPrjWizardLogic::ScreenSecant).max, 7080);
    EXPECT_TRUE(w.ValidateScreenText(frmPrjWizardLogic::ScreenSecant, QStringLiteral("110")));
    EXPECT_EQ(w.Work.Secant, 396000);
    // A cone of 70.5 degrees leaves 107.5: cut to whole degrees of it.
    EXPECT_TRUE(w.ValidateScreenText(frmPrjWizardLogic::ScreenCone, QStringLiteral("70.5")));
    EXPECT_EQ(w.Work.Secant, 107 * 3600);
    EXPECT_EQ(w.ScreenSliderRange(frmPrjWizardLogic::ScreenSecant).max, 6450);
    boxes.expect(kOutOfRange, plat::IdOk);
    EXPECT_FALSE(w.ValidateScreenText(frmPrjWizardLogic::ScreenSecant, QStringLiteral("108")));
    // The cone slider moves in whole degrees and the secant follows.
    w.ScrollScreen(frmPrjWizardLogic::ScreenCone, 8159);   // 135 degrees
    EXPECT_EQ(w.Work.Cone, 135 * 3600);
    EXPECT_EQ(w.Work.Secant, 43 * 3600);
    // A projection without secant, chosen on page 5, drops it at once.
    GoTo(5);
    w.ClickPrj(int(w.PrjList().indexOf(PrjNameOf(13))));
    EXPECT_EQ(w.Work.Secant, 0);
    EXPECT_EQ(w.ScreenSliderRange(frmPrjWizardLogic::ScreenSecant).max, 1);
}

TEST_F(Pages, RotationSliderInStepsOfFiveDegreesTypedAnyAngle) {
    const std::pair<int, int32_t> slides[] = {{0, 0}, {299, 0}, {300, 18000}, {599, 18000}, {-599, -18000}, {10800, 648000}};
    for (const auto& [v, want] : slides) {
        w.ScrollScreen(frmPrjWizardLogic::ScreenPoler, v);
        EXPECT_EQ(w.Work.poler, want) << v;
    }
    EXPECT_TRUE(w.ValidateScreenText(frmPrjWizardLogic::ScreenPoler, QStringLiteral("12.25")));
    EXPECT_EQ(w.Work.poler, 44100);
    ScriptedBoxes boxes;
    boxes.expect(kOutOfRange, plat::IdOk);
    EXPECT_FALSE(w.ValidateScreenText(frmPrjWizardLogic::ScreenPoler, QStringLiteral("rot")));
    EXPECT_EQ(w.Work.poler, 44100);
}

TEST_F(Pages, LightHeightsOnTheSliderAndTyped) {
    const std::vector<double>& t = w.LightTable();
    ASSERT_EQ(t.size(), 161u);
    EXPECT_DOUBLE_EQ(t.front(), 100000);
    EXPECT_DOUBLE_EQ(t.back(), 1e9);
    // The last entry at or below the height, never the first.
    const std::pair<double, int> heights[] = {{0, 1}, {100000, 1}, {110000, 1}, {119999, 1}, {120000, 2},
                                              {1e6, 40}, {1.05e6, 40}, {1e9, 160}, {5e9, 160}};
    for (const auto& [h, pos] : heights) EXPECT_EQ(w.LightToSlider(h), pos) << h;

    w.ScrollScreen(frmPrjWizardLogic::ScreenLight, 40);
    EXPECT_EQ(w.ScreenText(frmPrjWizardLogic::ScreenLight), QStringLiteral("1,000km"));
    EXPECT_EQ(w.ScreenSlider(frmPrjWizardLogic::ScreenLight), 40);

    CheckTyped(
        {
            {"36000", true, "36,000km"},   // kilometres without a unit word
            {"500000m", true, "500km"},
            {"５千km", true, "5,000km"},
            {"50", false, "5,000km"},        // below the lowest height
            {"2000000", false, "5,000km"},   // above the highest
            {"遠い", false, "5,000km"},
        },
        QStringLiteral("100～1000000"),
        [&](const QString& t) { return w.ValidateScreenText(frmPrjWizardLogic::ScreenLight, t); },
        [&] { return w.ScreenText(frmPrjWizardLogic::ScreenLight); });
}

TEST_F(Pages, RightAxisPutsAConicIntoItsNormalAspect) {
    w.Work.PrjIndex = 24;
    w.Work.CenterLat = 126000;
    w.Work.poler = 36000;
    w.Work.Cone = 400000;
    GoTo(6);
    w.RightAxis();
    EXPECT_EQ(w.Work.poler, 0);
    EXPECT_EQ(w.Work.CenterLat, 126000);
    EXPECT_EQ(w.Work.Cone, 252000);   // twice the centre latitude
    EXPECT_FALSE(w.Work.RightAxis);
    EXPECT_FALSE(w.Work.AutoProjection);
}

} // namespace
