#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "EditingTestSupport.h"
#include "TestSupport.h"
#include "frmAdminSelect.h"
#include "frmThingSelect.h"

using edittest::CleanEditing;
using edittest::MakeAdmin;
using edittest::MakeThing;

namespace {

struct AdminPicker : ::testing::Test {
    CleanEditing clean;
    clsAdmins admins;
    AdminSelectLogic picker;

    AdminPicker() {
        gvLanguage = 1;
        const char* areas[][2] = {{"World", "世界"}, {"Asia", "アジア"}, {"", "名無し"}, {"Europe", "ヨーロッパ"}};
        for (int i = 0; i < 4; ++i) {
            admins.setAreaName(i, 1, areas[i][0]);
            admins.setAreaName(i, 2, areas[i][1]);
        }
        for (const AdminPtr& a : {MakeAdmin(0, 0, "World"), MakeAdmin(10, 1, "Japan"), MakeAdmin(20, 1, "Georgia"),
                                  MakeAdmin(30, 3, "Georgia"), MakeAdmin(40, 2, "Nowhere"), MakeAdmin(50, 3, "France"),
                                  MakeAdmin(60, -1, "Unplaced")})
            admins.Add(a);
        picker.Admins = &admins;
    }
    bool open(int16_t code) {
        picker.AdminCode = code;
        return picker.Load();
    }
};

struct ThingPicker : ::testing::Test {
    CleanEditing clean;
    clsThings things;
    ThingSelectLogic picker;

    ThingPicker() {
        for (const auto& [c, name] : {std::pair{1, "行政"}, {3, "地名"}, {4, "水部"}}) things.setCategoryName(c, name);
        for (const ThingPtr& t : {MakeThing(1, 3, 1, "陸地"), MakeThing(2, 5, 1, "国名"), MakeThing(3, 3, 3, "湖"),
                                  MakeThing(4, 5, 3, "都市名"), MakeThing(5, 5, 3, "湖"), MakeThing(6, 4, 3, "都市"),
                                  MakeThing(7, 5, 2, "隠れ"), MakeThing(8, 2, 4, "川"), MakeThing(9, 5, -1, "無所属")})
            things.Add(t);
        picker.Things = &things;
        picker.FigCode = 5;
    }
    bool open(int16_t index) {
        picker.ThingIndex = index;
        return picker.Load();
    }
};

} // namespace

TEST_F(AdminPicker, GroupsWithANameAndTheirDistricts) {
    ASSERT_TRUE(open(-1));
    EXPECT_EQ(picker.Caption(), QStringLiteral("行政区選択"));
    EXPECT_EQ(picker.UpperList().texts, (QStringList{"World", "Asia", "Europe"}));
    EXPECT_EQ(picker.UpperList().selected, 0);
    EXPECT_EQ(picker.LowerList().size(), 7);  // group 0 lists every district
    EXPECT_EQ(picker.LowerList().selected, 0);
    picker.UpperClick(2);
    EXPECT_EQ(picker.Area(), 3);
    EXPECT_EQ(picker.LowerList().texts, (QStringList{"Georgia", "France"}));
    picker.UpperClick(1);
    EXPECT_EQ(picker.LowerList().texts, (QStringList{"Japan", "Georgia"}));
    // Nothing chosen until the user picks a district.
    EXPECT_EQ(picker.AdminCode, -1);
    picker.OkClick();
    EXPECT_TRUE(picker.OK);
    EXPECT_EQ(picker.AdminCode, -1);

    gvLanguage = 2;
    ASSERT_TRUE(open(-1));
    EXPECT_EQ(picker.UpperList().texts, (QStringList{"世界", "アジア", "名無し", "ヨーロッパ"}));
    EXPECT_FALSE(picker.OK);
}

TEST_F(AdminPicker, OpensOnTheDistrictsGroupElseTheLastOne) {
    struct Case {
        int16_t code;
        int16_t area;
        int upperRow;
        QString lowerSelected;
    } cases[] = {
        {30, 3, 2, "Georgia"},   // the second of its name
        {-1, 3, 2, "Georgia"},   // the group used last, its first district
        {999, 3, 2, "Georgia"},  // a district the catalogue lacks: likewise
        {40, 2, 0, "Nowhere"},   // a group without a name: listed, not shown in the group list
        {60, 0, 0, "Unplaced"},  // a district without a group: group 0
        {10, 1, 1, "Japan"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(open(c.code));
        EXPECT_EQ(picker.Area(), c.area) << c.code;
        EXPECT_EQ(picker.UpperList().selected, c.upperRow) << c.code;
        EXPECT_EQ(picker.LowerList().texts.value(picker.LowerList().selected), c.lowerSelected) << c.code;
        EXPECT_EQ(picker.AdminCode, c.code);
        picker.Unload();
        picker.Admins = &admins;
    }
}

TEST_F(AdminPicker, ADistrictNameGivenTwiceGivesTheDistrictChosen) {
    ASSERT_TRUE(open(-1));
    picker.LowerClick(3);  // the second "Georgia" of the whole list
    EXPECT_EQ(picker.AdminCode, 30);
    picker.LowerClick(2);
    EXPECT_EQ(picker.AdminCode, 20);
    picker.LowerClick(99);  // no such row: nothing happens
    EXPECT_EQ(picker.AdminCode, 20);
}

TEST_F(AdminPicker, NoCatalogueClosesAtOnce) {
    picker.Admins = nullptr;
    picker.OK = true;
    EXPECT_FALSE(picker.Load());
    EXPECT_FALSE(picker.OK);
}

TEST_F(ThingPicker, OffersTheThingsOfOneKindByCategory) {
    ASSERT_TRUE(open(-1));
    EXPECT_EQ(picker.Caption(), QStringLiteral("事象選択 (文字列)"));
    EXPECT_EQ(picker.UpperList().texts, (QStringList{"行政", "地名", "水部"}));
    // The first named category at the very first use, and its first thing.
    EXPECT_EQ(picker.Category(), 1);
    EXPECT_EQ(picker.LowerList().texts, (QStringList{"国名"}));
    EXPECT_EQ(picker.ThingIndex, 2);
    picker.FigCode = 4;
    EXPECT_EQ(picker.Caption(), QStringLiteral("事象選択 (点記号)"));
}

TEST_F(ThingPicker, OpeningAndChangingCategory) {
    struct Case {
        const char* what;
        int16_t open;
        int clickCategoryRow;  // -1 none
        int16_t category;
        QStringList things;
        int16_t thingIndex;
    } cases[] = {
        {"a thing opens its category", 5, -1, 3, {"都市名", "湖"}, 5},
        {"the same category keeps the thing", 5, 1, 3, {"都市名", "湖"}, 5},
        {"another category: its first thing", 5, 0, 1, {"国名"}, 2},
        {"a category without texts keeps the thing", 4, 2, 4, {}, 4},
        {"an unnamed category: the first listed one", 7, -1, 1, {"国名"}, 2},
        {"a thing without a category: category 1", 9, -1, 1, {"国名"}, 2},
        {"no thing: the category used last", -1, -1, 1, {"国名"}, 2},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(open(c.open)) << c.what;
        if (c.clickCategoryRow >= 0) picker.UpperClick(c.clickCategoryRow);
        EXPECT_EQ(picker.Category(), c.category) << c.what;
        EXPECT_EQ(picker.LowerList().texts, c.things) << c.what;
        EXPECT_EQ(picker.LowerList().selectedNumber(), c.things.isEmpty() ? -1 : c.thingIndex) << c.what;
        EXPECT_EQ(picker.ThingIndex, c.thingIndex) << c.what;
    }
}

TEST_F(ThingPicker, ATextNeverGetsAPolygonsThingOfTheSameName) {
    ASSERT_TRUE(open(4));
    picker.LowerClick(1);  // "湖" of the texts, after the polygon "湖" in the catalogue
    EXPECT_EQ(picker.ThingIndex, 5);
    picker.OkClick();
    EXPECT_TRUE(picker.OK);
    EXPECT_EQ(picker.ThingIndex, 5);
}

TEST_F(ThingPicker, TheCategoryIsKeptBetweenOpenings) {
    ASSERT_TRUE(open(-1));
    picker.UpperClick(1);
    EXPECT_EQ(picker.ThingIndex, 4);
    picker.Unload();
    EXPECT_EQ(picker.Things, nullptr);
    picker.Things = &things;
    ASSERT_TRUE(open(-1));
    EXPECT_EQ(picker.Category(), 3);
    EXPECT_EQ(picker.ThingIndex, 4);
    picker.Things = nullptr;
    EXPECT_FALSE(picker.Load());
}

TEST_F(AdminPicker, WindowAndItsSingleInstance) {
    AdminSelectLogic& single = AdminSelect();
    single.Admins = &admins;
    single.AdminCode = 10;
    single.Win = {2000, 1500};
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<PickerDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dlg);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("行政区選択"));
        EXPECT_EQ(dlg->upper->currentText(), QStringLiteral("Asia"));
        EXPECT_EQ(dlg->lower->currentText(), QStringLiteral("Japan"));
        dlg->upper->setCurrentIndex(2);
        emit dlg->upper->activated(2);
        EXPECT_EQ(dlg->lower->count(), 2);
        dlg->lower->setCurrentIndex(1);
        emit dlg->lower->activated(1);
        dlg->cmdOK->click();
    });
    EXPECT_TRUE(ShowAdminSelect());
    EXPECT_EQ(single.AdminCode, 50);
    EXPECT_EQ(single.Admins, nullptr);
    EXPECT_EQ(single.Area(), 3);

    single.Admins = &admins;
    QTimer::singleShot(0, [] { qobject_cast<PickerDialog*>(QApplication::activeModalWidget())->cmdCancel->click(); });
    EXPECT_FALSE(ShowAdminSelect());
    EXPECT_EQ(single.AdminCode, 50);
    EXPECT_FALSE(ShowAdminSelect());  // no catalogue: closes without showing
}

TEST(PickerPictures, WithTheDefaultCatalogues) {
    CleanEditing clean;
    gvLanguage = 2;
    clsAdmins admins;
    admins.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/maps/DEFAULT.ADM"));
    ASSERT_EQ(admins.Load(), 0);
    clsThings things;
    things.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/maps/DEFAULT.THG"));
    ASSERT_EQ(things.Load(), 0);

    AdminSelectLogic districts;
    districts.Admins = &admins;
    districts.AdminCode = 392;
    PickerDialog a(districts, AdminSelectTexts());
    ASSERT_TRUE(a.loaded());
    EXPECT_EQ(a.lower->currentText(), QStringLiteral("日本"));
    EXPECT_FALSE(testsupport::SaveWidgetPng(&a, "districts").isEmpty());

    ThingSelectLogic kinds;
    kinds.Things = &things;
    kinds.FigCode = 5;
    kinds.ThingIndex = things.Search(QStringLiteral("国名"));
    PickerDialog t(kinds, ThingSelectTexts());
    ASSERT_TRUE(t.loaded());
    EXPECT_EQ(t.windowTitle(), QStringLiteral("事象選択 (文字列)"));
    EXPECT_EQ(t.lower->currentText(), QStringLiteral("国名"));
    EXPECT_FALSE(testsupport::SaveWidgetPng(&t, "things").isEmpty());
}
