// The main window's menus: each drop-down's states from the state handed
// in, the unit submenus, the trash, the resets, the azimuth and size-ratio
// items, the jump's scale, the wizard's switches and the web links.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "AppState.h"
#include "Bitmap.h"
#include "MainLogicTestSupport.h"
#include "MainMenus.h"
#include "MainPlotRoutines.h"
#include "MessageBox.h"
#include "PublicVal.h"
#include "RasterDC.h"
#include "Shell.h"
#include "basBaseMap.h"
#include "basFileNames.h"
#include "clsEnvironment.h"
#include "clsMap.h"
#include "clsMapPlot.h"
#include "clsMapRem.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "clsPoly.h"
#include "clsThings.h"

namespace {

using apptest::MainLogic;

MapFigurePtr remark(const QString& text) {
    auto r = std::make_shared<clsMapRem>();
    r->setAdmin(0);
    r->setComment(text);
    return r;
}

QString commentOf(const MapFigurePtr& f) { return std::static_pointer_cast<clsMapRem>(f)->Comment(); }

TEST(FileMenu, ItemsFollowTheStateAndTheSnapshotsAreCaptionedAsTheirFiles) {
    FileMenuInputs in;
    FileMenuState s = PrepareFileMenu(in);
    EXPECT_FALSE(s.Overwrite.Enabled);
    EXPECT_TRUE(s.CruiseSet.Enabled && s.CruiseExe.Enabled);
    EXPECT_FALSE(s.Print.Enabled);
    EXPECT_FALSE(s.MapInfo.Enabled);
    EXPECT_EQ(s.LogItems[0], (MenuItemState{"(&1) LAST.PLG", false, false}));
    EXPECT_EQ(s.LogItems[1], (MenuItemState{"(&2) CLIP.PLG", false, false}));
    EXPECT_EQ(s.LogItems[2], (MenuItemState{"(&3) PRINT.PLG", false, false}));
    EXPECT_EQ(s.LogItems[3], (MenuItemState{"(&4) ", false, false})) << "no snapshot named yet";

    in.MapMode = 2;
    in.Modified = in.PrinterExists = true;
    in.ActiveFigures = 1;
    in.LogExists = {true, false, true, true};
    in.LastLog = QStringLiteral("/home/u/maps/TRIP.PLG");
    s = PrepareFileMenu(in);
    EXPECT_TRUE(s.Overwrite.Enabled && s.Print.Enabled && s.MapInfo.Enabled);
    EXPECT_FALSE(s.CruiseSet.Enabled || s.CruiseExe.Enabled) << "cruise is for latitude/longitude maps";
    EXPECT_EQ(s.LogItems[0].Enabled, true);
    EXPECT_EQ(s.LogItems[1].Enabled, false);
    EXPECT_EQ(s.LogItems[3], (MenuItemState{"(&4) TRIP.PLG", true, false}));
}

TEST_F(MainLogic, SnapshotItemsReadThePlgFiles) {
    EXPECT_EQ(LogItemPath(1), ChangeExt(GetLogLast(), QStringLiteral(".PLG")));
    EXPECT_TRUE(LogItemPath(2).endsWith(QStringLiteral("CLIP.PLG"))) << LogItemPath(2).toStdString();
    EXPECT_TRUE(LogItemPath(3).endsWith(QStringLiteral("PRINT.PLG")));
    gvLastLog = QStringLiteral("/tmp/x/TRIP.LOG");
    EXPECT_EQ(LogItemPath(4), QStringLiteral("/tmp/x/TRIP.PLG"));
    gvLastLog.clear();
}

TEST(FileMenu, NewUnitNameAndFilterByMode) {
    EXPECT_EQ(NewUnitProposal(1, QStringLiteral("/m"), QStringLiteral("20261207093000")),
              QStringLiteral("/m/UserMap20261207093000.MLL"));
    EXPECT_EQ(NewUnitProposal(2, QStringLiteral("/m"), QStringLiteral("1")), QStringLiteral("/m/UserMap1.MXY"));
    EXPECT_EQ(NewUnitFilter(1), QStringLiteral("経緯度地図ファイル(*.MLL)|*.MLL|"));
    EXPECT_EQ(NewUnitFilter(2), QStringLiteral("ＸＹ地図ファイル(*.MXY)|*.MXY|"));
    EXPECT_EQ(SaveFilter().count(QLatin1Char('|')), 18) << "nine kinds";
    EXPECT_TRUE(SaveFilter().startsWith(OpenFilter()));
}

TEST_F(MainLogic, ANewUnitIsActiveAndSavedAtOnce) {
    const QString path = folder_.map(QStringLiteral("UserMap1.MLL"));
    EXPECT_TRUE(NewMapUnit(*gvMapUnitsLL, path));
    EXPECT_EQ(gvMapUnitsLL->Index(), gvMapUnitsLL->Count());
    EXPECT_EQ(gvMapUnitsLL->Active()->UnitName(), path);
    EXPECT_TRUE(QFile::exists(path)) << "saved before any figure exists";
    EXPECT_FALSE(gvMapUnitsLL->Active()->Modify());

    // The same name again: the set keeps the loaded unit and nothing is saved.
    const int32_t count = gvMapUnitsLL->Count();
    gvMapUnitsLL->setIndex(1);
    EXPECT_FALSE(NewMapUnit(*gvMapUnitsLL, path));
    EXPECT_EQ(gvMapUnitsLL->Count(), count);
}

TEST_F(MainLogic, OverwriteSavesEveryModifiedUnitOfBothModes) {
    const MapUnitPtr a = addUnit(folder_.map(QStringLiteral("A.MLL")));
    const MapUnitPtr b = addUnit(folder_.map(QStringLiteral("B.MLL")));
    ASSERT_TRUE(a->Modify() && b->Modify());
    EXPECT_TRUE(SaveModifiedUnits());
    EXPECT_TRUE(QFile::exists(folder_.map(QStringLiteral("A.MLL"))));
    EXPECT_TRUE(QFile::exists(folder_.map(QStringLiteral("B.MLL"))));
    EXPECT_FALSE(gvMapUnitsLL->Modify());

    // A unit that cannot be written stays modified: the reminder keeps counting.
    const MapUnitPtr c = addUnit(folder_.path() + QStringLiteral("/gone/C.MLL"));
    plat::ScriptedMessageBox boxes;
    boxes.expect(QString(), plat::IdCancel).expect(QString(), plat::IdCancel).expect(QString(), plat::IdCancel);
    EXPECT_FALSE(SaveModifiedUnits());
    EXPECT_TRUE(c->Modify());
}

TEST(EditMenu, ItemsFollowTheState) {
    struct Case {
        const char* what;
        EditMenuInputs in;
        bool undo, restore, pickupOn, pickupChecked, add, azimuth;
    } cases[] = {
        {"nothing to undo or restore", {}, false, false, true, false, true, true},
        {"undo and trash", {true, 2}, true, true, true, false, true, true},
        {"survey runs", {.SurveyOn = true}, false, false, false, false, true, true},
        {"pickup on", {.PickupOn = true}, false, false, true, true, true, true},
        {"locked map, X/Y", {.Locked = true, .MapMode = 2}, false, false, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EditMenuState s = PrepareEditMenu(c.in);
        EXPECT_EQ(s.Undo.Enabled, c.undo);
        EXPECT_EQ(s.GarbageOne.Enabled, c.restore);
        EXPECT_EQ(s.GarbageAll.Enabled, c.restore);
        EXPECT_EQ(s.Pickup.Enabled, c.pickupOn);
        EXPECT_EQ(s.Pickup.Checked, c.pickupChecked);
        EXPECT_EQ(s.Add.Enabled, c.add);
        EXPECT_EQ(s.AddAzimuthLine.Enabled, c.azimuth);
    }
    EditMenuInputs detail;
    detail.DetailEnable = true;
    detail.FigurePick = 2 | 16;
    const EditMenuState s = PrepareEditMenu(detail);
    EXPECT_TRUE(s.Detail.Checked);
    EXPECT_EQ((std::array<bool, 4>{s.FigPick[0].Checked, s.FigPick[1].Checked, s.FigPick[2].Checked,
                                   s.FigPick[3].Checked}),
              (std::array<bool, 4>{true, false, false, true}));
}

TEST(KindMasks, AnItemTurnsOverItsOwnBitOnly) {
    EXPECT_EQ(ToggleKindBit(31, 3), 27) << "polygon is bit 4";
    EXPECT_EQ(ToggleKindBit(27, 3), 31);
    EXPECT_EQ(ToggleKindBit(0, 2), 2);
    EXPECT_EQ(ToggleKindBit(0, 5), 16);
    ViewMenuInputs in;
    in.FigureDisp = ToggleKindBit(30, 4);
    const ViewMenuState v = PrepareViewMenu(in);
    EXPECT_TRUE(v.FigDisp[0].Checked && v.FigDisp[1].Checked && v.FigDisp[3].Checked);
    EXPECT_FALSE(v.FigDisp[2].Checked);
}

TEST_F(MainLogic, UnitSubmenusLetterTheUnitsInSetOrder) {
    addUnit(folder_.map(QStringLiteral("A.MLL")));
    const MapUnitPtr b = addUnit(folder_.map(QStringLiteral("B.MLL")));
    b->setDisplaySwitch(false);
    b->setSearchSwitch(true);
    gvMapUnitsLL->Base()->setSearchSwitch(false);
    std::vector<MenuItemState> display = UnitMenuItems(gvMapUnitsLL, true, 2);
    ASSERT_EQ(display.size(), 3u);
    const char* letters[] = {"(&A)", "(&B)", "(&C)"};
    for (size_t i = 0; i < 3; ++i) {
        const MapUnitPtr u = gvMapUnitsLL->Item(int32_t(i) + 1);
        EXPECT_EQ(display[i].Caption, u->Map().MapName(2) + QString::fromUtf8(letters[i]));
    }
    EXPECT_TRUE(display[0].Checked && display[1].Checked);
    EXPECT_FALSE(display[2].Checked);
    const std::vector<MenuItemState> search = UnitMenuItems(gvMapUnitsLL, false, 2);
    EXPECT_FALSE(search[0].Checked);
    EXPECT_TRUE(search[2].Checked);

    gvMapUnitsLL->Remove(2);
    display = UnitMenuItems(gvMapUnitsLL, true, 2);
    ASSERT_EQ(display.size(), 2u);
    EXPECT_TRUE(display[1].Caption.endsWith(QStringLiteral("(&B)")));
    EXPECT_TRUE(UnitMenuItems(nullptr, true, 2).empty());
}

TEST_F(MainLogic, TrashGivesBackNewestFirstAndKeepsWhatTheMapRefuses) {
    const MapUnitPtr unit = addUnit(folder_.map(QStringLiteral("T.MLL")));
    clsMap& map = unit->Map();
    clsMap& trash = unit->Garbage();
    // A figure the map refuses (no district), as an older trash could hold.
    auto invalid = std::make_shared<clsMapRem>();
    for (const char* t : {"one", "two", "three"}) trash.Add(remark(QString::fromLatin1(t)));
    trash.MapCollection().push_back(invalid);
    trash.Add(remark(QStringLiteral("four")));
    ASSERT_EQ(trash.Count(), 5);
    const int32_t before = map.Count();

    EXPECT_TRUE(RestoreOneFromTrash(*unit));
    EXPECT_EQ(commentOf(map.Item(map.Count())), QStringLiteral("four"));
    EXPECT_FALSE(RestoreOneFromTrash(*unit)) << "the invalid figure is refused";
    EXPECT_EQ(trash.Count(), 4) << "and stays in the trash";
    EXPECT_EQ(trash.Item(4), invalid);

    EXPECT_EQ(RestoreAllFromTrash(*unit), 3);
    EXPECT_EQ(map.Count(), before + 4);
    EXPECT_EQ(commentOf(map.Item(before + 2)), QStringLiteral("one")) << "in trash order";
    EXPECT_EQ(commentOf(map.Item(before + 4)), QStringLiteral("three"));
    ASSERT_EQ(trash.Count(), 1);
    EXPECT_EQ(trash.Item(1), invalid);

    // A locked map says so once and nothing leaves the trash.
    trash.Add(remark(QStringLiteral("five")));
    map.setLockMode(true);
    plat::ScriptedMessageBox boxes;
    boxes.expect(QStringLiteral("変更禁止"), plat::IdOk);
    EXPECT_EQ(RestoreAllFromTrash(*unit), 0);
    EXPECT_EQ(trash.Count(), 2);
    EXPECT_TRUE(boxes.unexpected().empty());
    boxes.expect(QStringLiteral("変更禁止"), plat::IdOk);
    EXPECT_FALSE(RestoreOneFromTrash(*unit));
    EXPECT_EQ(trash.Count(), 2);
    map.setLockMode(false);
    EXPECT_TRUE(boxes.unexpected().empty());
}

TEST_F(MainLogic, ResetsMakeEveryFigureFollowItsThing) {
    const MapUnitPtr unit = addUnit(folder_.map(QStringLiteral("R.MLL")));
    const MapFigurePtr a = remark(QStringLiteral("a")), b = remark(QStringLiteral("b"));
    a->setOwnShowMode(1);
    a->setOwnColor(0x00FF00);
    b->setOwnColor(0x0000FF);
    unit->Map().Add(a);
    unit->Map().Add(b);
    EXPECT_EQ(ResetOwnShowModes(*gvMapUnitsLL), 1);
    EXPECT_EQ(a->OwnShowMode(), -1);
    EXPECT_EQ(a->OwnColor(), 0x00FF00) << "colours are the other reset";
    EXPECT_EQ(ResetOwnColors(*gvMapUnitsLL), 2);
    EXPECT_EQ(b->OwnColor(), -1);
    EXPECT_EQ(ResetOwnColors(*gvMapUnitsLL), 0) << "all follow their things already";
}

TEST_F(MainLogic, AzimuthLinesComeAfterTheirRemark) {
    const MapUnitPtr unit = addUnit(folder_.map(QStringLiteral("Z.MLL")));
    const int32_t before = unit->Map().Count();
    gvMapPlotLL->setCenterX(135 * 3600);
    gvMapPlotLL->setCenterY(35 * 3600);
    const MapUnitPtr base = gvMapUnitsLL->Base();
    EXPECT_EQ(AddAzimuthLines(*unit, QString(), *gvMapPlotLL, base.get()), 0);
    EXPECT_EQ(unit->Map().Count(), before) << "no lines, no remark";
    const int32_t lines = AddAzimuthLines(*unit, QStringLiteral("0 90"), *gvMapPlotLL, base.get());
    EXPECT_GE(lines, 2);
    ASSERT_EQ(unit->Map().Count(), before + 1 + lines);
    EXPECT_EQ(commentOf(unit->Map().Item(before + 1)), QStringLiteral("# [方位線]"));
    EXPECT_EQ(unit->Map().Item(before + 2)->FigCode(), 2);
}

// The lines drawn where the user adds them: on the start map and on a new
// map, each with the catalogues it ships with, at the first view. They take
// the base map's thing number, which a catalogue without that thing would
// list and never draw.
class AzimuthLinesOnShippedMaps : public ::testing::Test, protected apptest::RunningProgram {
protected:
    static constexpr int kW = 400, kH = 300;
    AzimuthLinesOnShippedMaps() : RunningProgram(kW, kH) {}

    static QImage Plot() {
        plat::RasterDC dc(plat::Bitmap::Create(kW, kH, 32), 96);
        EXPECT_EQ(PlotMap(&dc, 96, 96, kW, kH), PlotDone);
        return dc.image().copy();
    }

    // Lines at 45 and 135 degrees from the centre of the first view (as
    // empty settings give it) run right, one up and one down.
    void ExpectLinesDrawn(const char* name) {
        ll_->ReadRegistry();
        const MapUnitPtr base = gvMapUnitsLL->Base();
        const ThingPtr& thing = base->Things().Item(base->Things().Search(QStringLiteral("方位線")));
        ASSERT_TRUE(thing);
        const int32_t fore = thing->PageRecord(1).Fore;
        const QRgb ink = qRgb(fore & 0xFF, (fore >> 8) & 0xFF, (fore >> 16) & 0xFF);

        const QImage before = Plot();
        ASSERT_GT(AddAzimuthLines(*gvMapUnitsLL->Active(), QStringLiteral("45 135"), *ll_, base.get()), 0);
        const QImage after = Plot();
        after.save(testsupport::OutputFolder() + QStringLiteral("/azimuth-lines-%1.png").arg(QLatin1String(name)));
        int upRight = 0, downRight = 0, left = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                if (after.pixel(x, y) == before.pixel(x, y) || after.pixel(x, y) != ink) continue;
                if (x < kW / 2) ++left;
                else if (y < kH / 2) ++upRight;
                else ++downRight;
            }
        EXPECT_GT(upRight, 40);
        EXPECT_GT(downRight, 40);
        EXPECT_EQ(left, 0);
    }
};

TEST_F(AzimuthLinesOnShippedMaps, StartMap) {
    for (const char* name : {"WORLD_T3.MLL", "WORLD_T3.THG", "WORLD_T3.ADM"}) folder_.CopyMap(QString::fromLatin1(name));
    auto world = std::make_shared<clsMapUnit>();
    world->setUnitName(folder_.map(QStringLiteral("WORLD_T3.MLL")));
    ASSERT_TRUE(world->Load());
    ASSERT_TRUE(gvMapUnitsLL->Add(world));
    ASSERT_EQ(gvMapUnitsLL->Active(), world);
    ExpectLinesDrawn("start");
}

TEST_F(AzimuthLinesOnShippedMaps, NewMap) {
    ASSERT_TRUE(gvMapUnitsLL->AddNew(folder_.map(QStringLiteral("MINE"))));
    ExpectLinesDrawn("new");
}

TEST(ViewMenu, ItemsFollowTheState) {
    ViewMenuInputs in;
    in.ActiveFigures = 0;
    in.MapMode = 2;
    in.Language = 1;
    in.ViewArea = 7;
    in.TextSlant = true;
    in.AdmShow = in.FigNative = true;
    ViewMenuState s = PrepareViewMenu(in);
    EXPECT_FALSE(s.Jump.Enabled);
    EXPECT_FALSE(s.Grid.Enabled);
    EXPECT_FALSE(s.ViewArea.Enabled) << "a canvas no larger than the view";
    EXPECT_FALSE(s.AzimuthLine.Enabled);
    EXPECT_TRUE(s.Language[0].Checked && !s.Language[1].Checked);
    EXPECT_TRUE(!s.Coordinate[0].Checked && s.Coordinate[1].Checked);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(s.ViewAreaItems[i].Checked, i == 6) << i;
    EXPECT_EQ(s.TextSlant, (MenuItemState{QString(), false, true}));
    EXPECT_TRUE(s.AdmShow.Checked && s.FigNative.Checked);
    EXPECT_FALSE(s.Edge.Checked || s.ThgShow.Checked || s.FigShow.Checked);

    in.ActiveFigures = 3;
    in.MapMode = 1;
    in.AreaMode = true;
    s = PrepareViewMenu(in);
    EXPECT_TRUE(s.Jump.Enabled && s.Grid.Enabled && s.ViewArea.Enabled && s.AzimuthLine.Enabled && s.TextSlant.Enabled);
}

TEST(ViewMenu, AzimuthItemOfTheText) {
    const QString eight = BaseMapAzimuthText(8, QString());
    struct Case {
        QString text;
        int item;
    } cases[] = {
        {QString(), 0},
        {BaseMapAzimuthText(4, QString()), 1},
        {eight, 2},
        {BaseMapAzimuthText(12, QString()), 3},
        {BaseMapAzimuthText(16, QString()), 4},
        {QStringLiteral("15 165"), 5},
        {QStringLiteral("0,45"), 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AzimuthCheckIndex(c.text), c.item) << c.text.toStdString();
        if (c.item < 5) {
            EXPECT_EQ(AzimuthTextOfItem(c.item, QStringLiteral("7")), c.text);
        }
    }
    ViewMenuInputs in;
    in.AzimuthLine = eight;   // typed by the user, equal to the eight directions
    const ViewMenuState s = PrepareViewMenu(in);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(s.AzimuthItems[i].Checked, i == 2) << i;

    plat::ScriptedMessageBox boxes;
    boxes.expectInput(QStringLiteral("方位線"), QStringLiteral("30 60"));
    EXPECT_EQ(AzimuthTextOfItem(5, QStringLiteral("7")), QStringLiteral("30 60"));
    ASSERT_EQ(boxes.shown().size(), 1u);
}

TEST(ViewMenu, SizeRatioItems) {
    const std::pair<int32_t, int> cases[] = {{10, 0},  {40, 0},  {59, 0},  {60, 1},   {100, 3},
                                             {110, 3}, {119, 3}, {160, 6}, {1000, 6}, {-20, 0}};
    for (const auto& [ratio, item] : cases) {
        EXPECT_EQ(PtnRatioCheckIndex(ratio), item) << ratio;
        ViewMenuInputs in;
        in.PtnRatio = ratio;
        const ViewMenuState s = PrepareViewMenu(in);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(s.PtnRatioItems[i].Checked, i == item) << ratio << " " << i;
    }
    for (int i = 0; i < 7; ++i) EXPECT_EQ(PtnRatioCheckIndex(PtnRatioOfItem(i)), i);
    EXPECT_EQ(PtnRatioOfItem(0), 40);
    EXPECT_EQ(PtnRatioOfItem(6), 160);
}

TEST(ViewMenu, JumpKeepsTheScaleWithinThePlacesBounds) {
    struct Case {
        double scale, lower, upper, expected;
    } cases[] = {
        {5e6, 1e6, 1e7, 5e6},    // allowed: kept
        {5e5, 1e6, 1e7, 1e6},    // below the lower bound: exactly that bound
        {5e7, 1e6, 1e7, 1e7},    // above the upper bound
        {1e6, 1e6, 1e6, 1e6},
        {5e6, 2e7, 1e7, 1e7},    // crossed bounds: the upper one wins, as it is applied last
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(JumpScale(c.scale, c.lower, c.upper), c.expected) << c.scale;
}

TEST(ProjectMenu, TheWizardCopiesSevenSwitchesToTheXYView) {
    clsMapPlot ll, xy;
    ll.AccessoryEnable = true;
    ll.EdgeEnable = false;
    ll.FigureDisp = 6;
    ll.FigurePick = 8;
    ll.FigNativeEnable = false;
    ll.FigShowModeEnable = false;
    ll.ThgShowModeEnable = false;
    ll.AdmShowModeEnable = false;
    ll.TextSlant = true;
    ll.AzimuthLine = QStringLiteral("0 90");
    ll.DetailEnable = true;
    CopyWizardSwitches(ll, xy);
    EXPECT_TRUE(xy.AccessoryEnable);
    EXPECT_FALSE(xy.EdgeEnable);
    EXPECT_EQ(xy.FigureDisp, 6);
    EXPECT_EQ(xy.FigurePick, 8);
    EXPECT_FALSE(xy.FigNativeEnable || xy.FigShowModeEnable || xy.ThgShowModeEnable);
    // The X/Y view's own.
    EXPECT_TRUE(xy.AdmShowModeEnable);
    EXPECT_FALSE(xy.TextSlant);
    EXPECT_TRUE(xy.AzimuthLine.isEmpty());
    EXPECT_FALSE(xy.DetailEnable);
}

TEST(ToolMenu, SurveyAndFrameCutExcludeEachOtherAndThePickup) {
    struct Case {
        bool survey, frameCut, pickup;
        MenuItemState s, f;
    } cases[] = {
        {false, false, false, {QString(), true, false}, {QString(), true, false}},
        {true, false, false, {QString(), true, true}, {QString(), false, false}},
        {false, true, false, {QString(), false, false}, {QString(), true, true}},
        {false, false, true, {QString(), false, false}, {QString(), false, false}},
    };
    for (const Case& c : cases) {
        const ToolMenuState t = PrepareToolMenu(c.survey, c.frameCut, c.pickup);
        EXPECT_EQ(t.Survey, c.s) << c.survey << c.frameCut << c.pickup;
        EXPECT_EQ(t.FrameCut, c.f) << c.survey << c.frameCut << c.pickup;
    }
}

TEST_F(MainLogic, WebLinksOpenTheEnvironmentsPagesAndAFailureIsTold) {
    folder_.WriteEnvironment({QStringLiteral("MapFolder=maps"), QStringLiteral("AuthorURLhome=https://example.org/"),
                              QStringLiteral("AuthorURLorder=https://example.org/order")});
    gvEnvironment->Load();
    std::vector<QString> opened;
    plat::UrlOpener previous = plat::SetUrlOpener([&](const QString& url) {
        if (url.contains(QStringLiteral("order"))) throw plat::AppError(5, QStringLiteral("x"), QStringLiteral("y"));
        opened.push_back(url);
        return true;
    });
    plat::ScriptedMessageBox boxes;
    OpenHomepageItem(1);
    EXPECT_EQ(opened, (std::vector<QString>{QStringLiteral("https://example.org/")}));
    boxes.expect(QStringLiteral("WEBブラウザを起動できませんでした."), plat::IdOk);
    OpenHomepageItem(6);
    EXPECT_TRUE(boxes.unexpected().empty());
    EXPECT_EQ(boxes.pending(), 0u);
    plat::SetUrlOpener(std::move(previous));
}

} // namespace
