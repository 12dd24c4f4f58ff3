// The map-symbol dialog's model: the thing tree and its edits, samples,
// preview, districts, sync into other units, OK and Cancel.
#include "MapSymbolTestSupport.h"

#include "AppError.h"
#include "ExpStyleModel.h"
#include "KeyCodes.h"
#include "RangeModel.h"
#include "SysColors.h"
#include "basGlobe.h"
#include "basNumberText.h"

using namespace symboltest;

namespace {

QRgb Rgb(uint32_t colorref) {
    const plat::COLORREF c = plat::TranslateColor(colorref);
    return qRgb(plat::GetRValue(c), plat::GetGValue(c), plat::GetBValue(c));
}

int Count(const QImage& img, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) | 0xFF000000u) == (colour | 0xFF000000u);
    return n;
}

} // namespace

using MapSymbolTree = Opening;

TEST_F(MapSymbolTree, CategoriesListUsedThingsAndRemarksOnly) {
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(m.MapNames.size(), 2);
    const struct {
        bool dispAll;
        QStringList names;
    } cases[] = {
        {false, {"海岸", "海岸線", "陸地", "交通", "空港", "注記", "地名", "メモ"}},
        {true, {"海岸", "海岸線", "陸地", "交通", "鉄道", "空港", "注記", "地名", "メモ"}},
    };
    for (const auto& c : cases) {
        m.SetDispAll(c.dispAll);
        EXPECT_EQ(column(1), c.names) << c.dispAll;   // "空" has no thing: no row
    }
    EXPECT_EQ(things.FixedRows(), 1);
    const int32_t cat = rowOf("交通"), rail = rowOf("鉄道");
    EXPECT_EQ(things.TextMatrix(cat, 0), "+");
    EXPECT_EQ(things.TextMatrix(cat, 6), "2");
    EXPECT_EQ(things.TextMatrix(cat, 7), "category");
    EXPECT_TRUE(things.format(cat, 4).bold);
    EXPECT_EQ(things.format(cat, 7).back, MapSymbolModel::kCategoryBack);
    EXPECT_EQ(things.rowHeightTwips(cat), 240);
    EXPECT_EQ(things.rowHeightTwips(rail), 0);   // closed
    const QStringList railRow = {"", "鉄道", "連続線", "依存", DoubleToJpUnits(MapScaleMax, true) + "～" + DoubleToJpUnits(MapScaleMin, true),
                                 "", "3", "off"};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(things.TextMatrix(rail, c), railRow[c]) << c;
    EXPECT_TRUE(m.ScaleRangeText(work(u"メモ")).isEmpty());
    EXPECT_FALSE(things.format(rail, 5).picture.isNull());
    EXPECT_TRUE(m.IsThingRow(rail) && !m.IsThingRow(cat) && !m.IsDataRow(0) && !m.IsDataRow(things.Rows()));
}

TEST_F(MapSymbolTree, OpenCategoriesAndWholeSelectionSurviveARefill) {
    m.GridTree(rowOf("空港"));   // a thing row opens its own category
    EXPECT_EQ(things.TextMatrix(rowOf("交通"), 0), "-");
    EXPECT_EQ(things.rowHeightTwips(rowOf("空港")), 400);
    m.ChoosePage(1);
    EXPECT_EQ(things.TextMatrix(rowOf("交通"), 0), "-");
    EXPECT_EQ(things.rowHeightTwips(rowOf("空港")), 400);
    EXPECT_EQ(things.rowHeightTwips(rowOf("海岸線")), 0);
    m.GridTree(rowOf("交通"));
    EXPECT_EQ(things.rowHeightTwips(rowOf("空港")), 0);
    m.ThingDblClick(rowOf("注記"));   // a category row selects its things
    EXPECT_EQ(things.selTop(), rowOf("地名"));
    EXPECT_EQ(things.selBottom(), rowOf("メモ"));
    m.ThingDblClick(0);   // the header selects the whole list
    int32_t top = 0, bottom = 0;
    EXPECT_TRUE(m.SelRange(top, bottom));
    work(u"陸地").setUse(false);
    m.ChoosePage(1);
    EXPECT_TRUE(m.SelRange(top, bottom));
    EXPECT_EQ(bottom, things.Rows() - 1);
}

TEST_F(MapSymbolTree, RememberedRowsAreClampedIntoAShorterList) {
    const int32_t last = things.Rows() - 1;
    things.select(last - 1, 1, last, 1);
    m.ChoosePage(1);
    EXPECT_EQ(things.Row(), last - 1);
    EXPECT_EQ(things.RowSel(), last);
    things.select(last, 1, last, 1);
    work(u"空港").setUse(false);   // its category goes with it
    work(u"地名").setUse(false);
    m.ChoosePage(1);
    ASSERT_EQ(things.Rows() - 1, last - 3);
    EXPECT_EQ(things.Row(), last - 3);
    EXPECT_EQ(things.RowSel(), last - 3);
}

TEST_F(MapSymbolTree, ShowModeCyclesAndFollowsPageSync) {
    const int32_t row = rowOf("海岸線");
    clsThing& t = work(u"海岸線");
    const QStringList texts = {"隠蔽", "表示", "依存"};
    for (const QString& expected : texts) {
        m.ThingClick(row, MapSymbolModel::colShow);
        EXPECT_EQ(things.TextMatrix(row, 3), expected);
    }
    m.ThingClick(row, MapSymbolModel::colShow);   // hidden on every page
    for (int p = 1; p <= 8; ++p) EXPECT_EQ(t.PageRecord(p).ShowMode, 0) << p;
    m.ChoosePage(3);
    EXPECT_FALSE(m.EiPageSync);   // pages 2..8 end all-page sync
    m.ThingClick(rowOf("海岸線"), MapSymbolModel::colShow);
    EXPECT_EQ(t.PageRecord(3).ShowMode, 1);
    EXPECT_EQ(t.PageRecord(4).ShowMode, 0);
    m.ChoosePage(1);
    EXPECT_FALSE(m.EiPageSync);
    const int plots = main.plots;
    const QString remark = things.TextMatrix(rowOf("メモ"), 3);
    m.ThingClick(rowOf("メモ"), MapSymbolModel::colShow);   // a remark keeps its show mode
    EXPECT_EQ(things.TextMatrix(rowOf("メモ"), 3), remark);
    EXPECT_EQ(main.plots, plots + 1);
}

TEST_F(MapSymbolTree, RangeDialogSetsEveryPageOrOne) {
    for (const bool sync : {false, true}) {
        clsThing& t = work(u"陸地");
        m.EiPageSync = sync;
        m.ThingClick(rowOf("陸地"), MapSymbolModel::colShow);   // hidden, not scale-dependent
        bool answer = false;
        m.ShowRange = [&](RangeModel& r) {
            EXPECT_EQ(r.RangeTitle, "陸地");
            r.RangeScaleS = ScaleOfLevel(10);
            r.RangeScaleL = ScaleOfLevel(30);
            r.DialogOK = answer;
            return answer;
        };
        m.ThingClick(rowOf("陸地"), MapSymbolModel::colRange);   // cancelled
        EXPECT_EQ(t.ShowMode(), 0);
        answer = true;
        m.ThingClick(rowOf("陸地"), MapSymbolModel::colRange);
        EXPECT_EQ(things.TextMatrix(rowOf("陸地"), 3), "依存");
        EXPECT_EQ(things.TextMatrix(rowOf("陸地"), 4), DoubleToJpUnits(ScaleOfLevel(10), true) + "～" +
                                                           DoubleToJpUnits(ScaleOfLevel(30), true));
        EXPECT_EQ(t.PageRecord(5).ScaleS == ScaleOfLevel(10), sync) << sync;
        EXPECT_EQ(t.PageRecord(1).ShowMode, -1);
        EXPECT_EQ(own(u"陸地").PageRecord(1).ScaleS, MapScaleMax);   // the unit's own until OK
    }
}

TEST_F(MapSymbolTree, StyleEditsCopyPagesButKeepEachPagesRange) {
    clsThing& land = work(u"陸地");
    land.setPage(6);
    land.setScaleS(ScaleOfLevel(5));
    land.setPage(1);
    m.ShowStyle = [](ExpStyleModel& e) {
        EXPECT_EQ(e.Title, "陸地");
        e.Fore = 0x00FF00;
        e.Back = 0x0000FF;
        e.Style = 103;
        e.DialogOK = true;
        return true;
    };
    m.ThingClick(rowOf("陸地"), MapSymbolModel::colSample);
    for (int p = 1; p <= 8; ++p) {
        EXPECT_EQ(land.PageRecord(p).Fore, 0x00FF00) << p;
        EXPECT_EQ(land.PageRecord(p).Style, 103) << p;
    }
    EXPECT_EQ(land.PageRecord(6).ScaleS, ScaleOfLevel(5));
    // Text things go to the text editor, with their fonts and height.
    m.ShowTextStyle = [](TextStyleFields& f) {
        EXPECT_EQ(f.Size, 12);
        f.Size = 20;
        f.JapaneseFont = "IPAゴシック";
        return true;
    };
    m.ThingClick(rowOf("地名"), MapSymbolModel::colSample);
    EXPECT_EQ(work(u"地名").PageRecord(8).Size, 20);
    EXPECT_EQ(work(u"地名").PageRecord(8).Japanese, "IPAゴシック");
    EXPECT_EQ(work(u"地名", 1).PageRecord(2).Size, 20);   // synchronised into the base unit's copy
}

TEST_F(MapSymbolTree, SamplePixelsPerKind) {
    m.SampleWidth = 80;
    m.SampleHeight = 26;
    m.GridBackColor = 0xFFFFFF;
    m.GridBackColorSel = 0x8000000D;
    const QRgb grey = qRgb(160, 160, 160), red = qRgb(0xC0, 0, 0), white = qRgb(255, 255, 255);
    const struct {
        const char16_t* thing;
        bool grey;
        int minRed;
    } cases[] = {{u"メモ", false, 0}, {u"海岸線", true, 60}, {u"陸地", true, 400}, {u"空港", true, 5}, {u"地名", true, 5}};
    for (const auto& c : cases) {
        const QImage plain = m.DrawSample(work(c.thing), false);
        const QImage lit = m.DrawSample(work(c.thing), true);
        ASSERT_EQ(plain.size(), QSize(80, 26));
        EXPECT_EQ(Count(plain, grey) > 0, c.grey) << QString::fromUtf16(c.thing).toStdString();
        EXPECT_GE(Count(plain, red), c.minRed) << QString::fromUtf16(c.thing).toStdString();
        EXPECT_EQ(plain.pixel(0, 0) | 0xFF000000u, white);
        EXPECT_EQ(lit.pixel(0, 0) | 0xFF000000u, Rgb(0x8000000D));
        if (c.grey) {
            EXPECT_EQ(plain.pixel(79, 25), lit.pixel(79, 25));   // the grey half
        }
    }
    // Selecting the sample column redraws the selected samples highlighted.
    m.GridTree(rowOf("海岸線"));
    const int32_t row = rowOf("海岸線");
    things.select(row, 5, row, 5);
    EXPECT_TRUE(m.ThingSelChange());
    EXPECT_EQ(things.TextMatrix(row, 7), "on");
    EXPECT_EQ(things.format(row, 5).picture.pixel(0, 0) | 0xFF000000u, Rgb(0x8000000D));
    EXPECT_EQ(things.Row(), row);   // drawing a sample leaves the selection as it was
    things.select(row, 1, row, 1);
    m.ThingSelChange();
    EXPECT_EQ(things.TextMatrix(row, 7), "off");
}

TEST_F(MapSymbolTree, PreviewDrawsWithTheCopiesAndPutsTheUnitsBack) {
    QList<int> seen;
    main.onPlot = [&] { seen << own(u"海岸線").ShowMode(); };
    m.ThingClick(rowOf("海岸線"), MapSymbolModel::colShow);
    EXPECT_EQ(seen, QList<int>{0});
    EXPECT_EQ(main.cruiseWhilePlotting, std::vector<bool>{false});
    EXPECT_TRUE(main.cruise);
    EXPECT_EQ(own(u"海岸線").ShowMode(), -1);
    // A failing redraw still leaves every unit its own catalogue.
    main.onPlot = [] { throw AppError(5, "plot", "broken"); };
    EXPECT_ANY_THROW(m.ThingClick(rowOf("海岸線"), MapSymbolModel::colShow));
    EXPECT_EQ(own(u"海岸線").ShowMode(), -1);
    EXPECT_EQ(own(u"海岸線", 1).ShowMode(), -1);
    EXPECT_EQ(work(u"海岸線").ShowMode(), 1);
    EXPECT_TRUE(main.cruise);
    main.onPlot = nullptr;
    const int plots = main.plots;
    m.SetPreview(false);   // the view with the units' own catalogues
    m.ThingClick(rowOf("海岸線"), MapSymbolModel::colShow);
    EXPECT_EQ(main.plots, plots + 1);
}

TEST_F(MapSymbolTree, OkAdoptsTheCopiesAndTheChosenUnitCancelDropsThem) {
    for (const bool ok : {false, true}) {
        m.TargetUnits = units.get();
        ASSERT_TRUE(m.Load());
        m.ChooseMap(1);
        m.ThingClick(rowOf("海岸線"), MapSymbolModel::colShow);
        const int plots = main.plots;
        if (ok) m.OK();
        m.Unload();
        EXPECT_EQ(main.plots, plots + 1);   // with preview on the view is drawn again
        EXPECT_EQ(own(u"海岸線", 1).ShowMode(), ok ? 0 : -1);
        EXPECT_EQ(own(u"海岸線", 2).ShowMode(), ok ? 0 : -1);
        EXPECT_EQ(units->Index(), ok ? 1 : 2);
        EXPECT_EQ(things.Rows(), 1);
    }
}

TEST_F(MapSymbolTree, SyncReachesOtherUnitsByNameUnlessOffOrLocked) {
    const struct {
        bool unitSync, locked;
        int16_t baseMode;
    } cases[] = {{true, false, 0}, {false, false, -1}, {true, true, -1}};
    for (const auto& c : cases) {
        m.TargetUnits = units.get();
        ASSERT_TRUE(m.Load());
        m.EiUnitSync = c.unitSync;
        m.WorkThings[0]->setLockMode(c.locked);
        m.ThingClick(rowOf("海岸線"), MapSymbolModel::colShow);
        EXPECT_EQ(work(u"海岸線", 1).ShowMode(), c.baseMode);
        EXPECT_EQ(work(u"海岸線", 1).Index(), 1);
        m.Unload();
    }
}

TEST_F(MapSymbolTree, ToolTipsByRowAndColumn) {
    m.SetDispAll(true);
    const int32_t cat = rowOf("海岸"), thing = rowOf("海岸線");
    const struct {
        int32_t row, col;
        const char* tip;
    } cases[] = {
        {0, 0, "見出し行(ダブルクリックで全行選択) / この桁はカテゴリーを展開"},
        {0, 4, "見出し行(ダブルクリックで全行選択) / この桁は「可視縮尺範囲」を示す"},
        {cat, 0, "カテゴリーを開閉"},
        {cat, 3, "カテゴリー行(ダブルクリックでカテゴリー内全行選択)"},
        {thing, 0, "カテゴリーを開閉"},
        {thing, 1, "行(事象)の選択"},
        {thing, 3, "「事象別表示モード」を変更"},
        {thing, 5, "図形の描画属性を変更"},
        {thing, 6, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(m.ThingToolTip(c.row, c.col), QString::fromUtf8(c.tip)) << c.row << "," << c.col;
    things.setTextMatrix(thing, 1, "とても長い事象の名前です");
    EXPECT_EQ(m.ThingToolTip(thing, 1), "行(事象)の選択 「とても長い事象の名前です」");
    EXPECT_EQ(MapSymbolModel::AdminToolTip(2), "表示スイッチ反転");
}

using MapSymbolDistricts = Opening;

TEST_F(MapSymbolDistricts, AreaGroupsListSortedDistricts) {
    EXPECT_EQ(m.AreaNames, QStringList({"アジア", "欧州"}));
    EXPECT_EQ(adminColumn(0), QStringList({"インド", "日本", "韓国"}));   // by character code
    EXPECT_EQ(adminColumn(2), QStringList({"表示", "表示", "表示"}));
    m.ChooseArea(1);
    EXPECT_EQ(adminColumn(0), QStringList({"フランス"}));
    m.CurArea = 7;
    m.MakeAreaList();
    EXPECT_EQ(m.CurArea, 1);
}

TEST_F(MapSymbolDistricts, PagesWrapKeysAndInsertToggles) {
    admins.setRow(2);   // 日本
    const struct {
        int key;
        int32_t page;
    } keys[] = {{plat::KeySpace, 2}, {plat::Key0 + 8, 8}, {plat::KeySpace, 1}, {plat::KeyNumpad0 + 5, 5}};
    for (const auto& k : keys) {
        int key = k.key;
        m.AdminKeyDown(key);
        EXPECT_EQ(key, 0);
        EXPECT_EQ(admins.TextMatrix(2, 1), QString::number(k.page));
    }
    m.SetAdminPage(0);
    EXPECT_EQ(admins.TextMatrix(2, 1), "8");
    EXPECT_EQ(m.CurAdmins->Item(1)->Page(), 8);
    EXPECT_EQ(m.WorkAdmins[0]->Item(1)->Page(), 8);   // synchronised by name
    for (const char* expected : {"隠蔽", "表示"}) {
        int key = plat::KeyInsert;
        m.AdminKeyDown(key);
        EXPECT_EQ(admins.TextMatrix(2, 2), QString::fromUtf8(expected));
    }
    EXPECT_TRUE(m.AdminClick(2, 1));   // the page list drops
    EXPECT_FALSE(m.AdminClick(2, 2));
    EXPECT_FALSE(m.CurAdmins->Item(1)->Show());
    m.EiAreaSync = true;
    m.SetAdminPage(9);
    EXPECT_EQ(adminColumn(1), QStringList({"1", "1", "1"}));
    EXPECT_EQ(m.CurAdmins->Item(3)->Page(), 1);   // France is in another group
    m.AllAdminShow(false);
    EXPECT_EQ(adminColumn(2), QStringList({"隠蔽", "隠蔽", "隠蔽"}));
    EXPECT_TRUE(m.WorkAdmins[0]->Item(2)->Show());   // the buttons touch the active unit only
}

TEST_F(MapSymbolDistricts, AListPositionStandsForItsAreaCodeAcrossGaps) {
    // Only groups 0 and 5 have names: the second entry is code 5, not 1.
    m.CurAdmins->setAreaName(1, 2, QString());
    m.CurAdmins->setAreaName(5, 2, QStringLiteral("南米"));
    m.CurAdmins->Item(3)->setAreaCode(1);   // in an unnamed group now
    m.CurAdmins->Item(2)->setAreaCode(5);   // 韓国
    m.MakeAreaList();
    EXPECT_EQ(m.AreaNames, QStringList({"アジア", "南米"}));
    m.ChooseArea(1);
    EXPECT_EQ(m.CurAreaCode(), 5);
    EXPECT_EQ(adminColumn(0), QStringList({"韓国"}));
    m.EiAreaSync = true;
    m.SetAdminPage(3);
    EXPECT_EQ(m.CurAdmins->Item(2)->Page(), 3);
    EXPECT_EQ(m.CurAdmins->Item(3)->Page(), 1);
}

TEST_F(MapSymbolDistricts, SyncSkipsLockedListsAndReachesTheFirstOfANameOnly) {
    // A second 日本 in the base unit: only the first of that name follows.
    auto twin = m.WorkAdmins[0]->Item(1)->Copy();
    twin->setAdminCode(9);
    m.WorkAdmins[0]->Add(twin);
    admins.setRow(2);   // 日本
    m.SetAdminPage(6);
    EXPECT_EQ(m.WorkAdmins[0]->Item(1)->Page(), 6);
    EXPECT_EQ(m.WorkAdmins[0]->Item(9)->Page(), 1);
    EXPECT_EQ(m.WorkAdmins[0]->Item(1)->AdminCode(), 1);   // keeps its own code
    m.WorkAdmins[0]->setLockMode(true);
    m.SetAdminPage(2);
    EXPECT_EQ(m.CurAdmins->Item(1)->Page(), 2);
    EXPECT_EQ(m.WorkAdmins[0]->Item(1)->Page(), 6);
    m.WorkAdmins[0]->setLockMode(false);
    m.EiUnitSync = false;
    m.SetAdminPage(4);
    EXPECT_EQ(m.WorkAdmins[0]->Item(1)->Page(), 6);
}

using MapSymbolSwitches = Opening;

TEST_F(MapSymbolSwitches, PersistBetweenOpenings) {
    m.ChoosePage(4);
    m.SetDispAll(true);
    m.ChooseTab(0);
    m.Unload();
    clsMapUnits none;
    m.TargetUnits = &none;
    EXPECT_FALSE(m.Load());   // nothing to edit
    m.TargetUnits = units.get();
    ASSERT_TRUE(m.Load());
    EXPECT_EQ(m.CurPage, 4);
    EXPECT_TRUE(m.EiDispAll);
    EXPECT_FALSE(m.EiPageSync);
    EXPECT_EQ(m.Caption(), "地図記号 - W.ADM");
}
