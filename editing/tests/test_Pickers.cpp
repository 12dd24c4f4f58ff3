#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "EditingTestSupport.h"
#include "TestSupport.h"
#include "frmAdminSelect.h"
#include "frmThingSelect.h"

using edittest::MakeAdmin;
using edittest::MakeThing;

namespace {

struct Pickers : ::testing::Test {
    edittest::CleanEditing clean;
    clsAdmins admins;
    clsThings things;
    AdminSelectLogic districts;
    ThingSelectLogic kinds;

    Pickers() {
        gvLanguage = 1;
        const char* areas[][2] = {{"World", "世界"}, {"Asia", "アジア"}, {"", "名無し"}, {"Europe", "ヨーロッパ"}};
        for (int i = 0; i < 4; ++i)
            for (int lang : {1, 2}) admins.setAreaName(i, lang, areas[i][lang - 1]);
        for (const AdminPtr& a : {MakeAdmin(0, 0, "World"), MakeAdmin(10, 1, "Japan"), MakeAdmin(20, 1, "Georgia"),
                                  MakeAdmin(30, 3, "Georgia"), MakeAdmin(40, 2, "Nowhere"), MakeAdmin(50, 3, "France"),
                                  MakeAdmin(60, -1, "Unplaced")})
            admins.Add(a);
        for (const auto& [c, name] : {std::pair{1, "行政"}, {3, "地名"}, {4, "水部"}}) things.setCategoryName(c, name);
        for (const ThingPtr& t : {MakeThing(1, 3, 1, "陸地"), MakeThing(2, 5, 1, "国名"), MakeThing(3, 3, 3, "湖"),
                                  MakeThing(4, 5, 3, "都市名"), MakeThing(5, 5, 3, "湖"), MakeThing(6, 4, 3, "都市"),
                                  MakeThing(7, 5, 2, "隠れ"), MakeThing(8, 2, 4, "川"), MakeThing(9, 5, -1, "無所属")})
            things.Add(t);
        kinds.FigCode = 5;
    }
};

QString SelectedText(const ChoiceList& l) { return l.texts.value(l.selected); }

} // namespace

TEST_F(Pickers, DistrictPickerOpensOnTheDistrictsGroupElseTheLastOne) {
    struct Case {
        int16_t code, area;
        int upperRow;
        QString district;
        int listed;
    } cases[] = {
        {-1, 0, 0, "World", 7},  // group 0 lists every district
        {30, 3, 2, "Georgia", 2}, {-1, 3, 2, "Georgia", 2}, {999, 3, 2, "Georgia", 2},
        {40, 2, 0, "Nowhere", 1},  // its group has no name: not offered in the group list
        {60, 0, 0, "Unplaced", 7}, {10, 1, 1, "Japan", 2},
    };
    for (const Case& c : cases) {
        districts.Admins = &admins;
        districts.AdminCode = c.code;
        ASSERT_TRUE(districts.Load());
        EXPECT_EQ(districts.UpperList().texts, (QStringList{"World", "Asia", "Europe"}));
        EXPECT_EQ(districts.Area(), c.area) << c.code;
        EXPECT_EQ(districts.UpperList().selected, c.upperRow) << c.code;
        EXPECT_EQ(SelectedText(districts.LowerList()), c.district) << c.code;
        EXPECT_EQ(districts.LowerList().size(), c.listed) << c.code;
        EXPECT_EQ(districts.AdminCode, c.code);  // until the user picks one
    }
    districts.UpperClick(2);
    districts.LowerClick(0);
    EXPECT_EQ(districts.AdminCode, 30);  // the second "Georgia" of the catalogue
    gvLanguage = 2;
    ASSERT_TRUE(districts.Load());
    EXPECT_EQ(districts.UpperList().texts, (QStringList{"世界", "アジア", "名無し", "ヨーロッパ"}));
    districts.Admins = nullptr;
    EXPECT_FALSE(districts.Load());
}

TEST_F(Pickers, ThingPickerOpensOnTheThingsCategoryElseTheLastOne) {
    struct Case {
        int16_t open;
        int clickRow;  // category row clicked, -1 none
        int16_t category;
        QStringList things;
        int16_t chosen;
    } cases[] = {
        {-1, -1, 1, {"国名"}, 2},            // first use: the first named category, its first thing
        {5, -1, 3, {"都市名", "湖"}, 5},
        {5, 1, 3, {"都市名", "湖"}, 5},      // the same category keeps the thing
        {5, 0, 1, {"国名"}, 2},              // another: its first thing
        {4, 2, 4, {}, 4},                    // no texts in it: the thing stays
        {7, -1, 1, {"国名"}, 2},             // an unnamed category: the first listed one
        {9, -1, 1, {"国名"}, 2},             // a thing without a category
        {-1, 1, 3, {"都市名", "湖"}, 4},
        {-1, -1, 3, {"都市名", "湖"}, 4},    // the category used last
    };
    for (const Case& c : cases) {
        kinds.Things = &things;
        kinds.ThingIndex = c.open;
        ASSERT_TRUE(kinds.Load());
        if (c.clickRow >= 0) kinds.UpperClick(c.clickRow);
        EXPECT_EQ(kinds.Category(), c.category) << c.open;
        EXPECT_EQ(kinds.LowerList().texts, c.things) << c.open;
        EXPECT_EQ(kinds.LowerList().selectedNumber(), c.things.isEmpty() ? -1 : c.chosen) << c.open;
        EXPECT_EQ(kinds.ThingIndex, c.chosen) << c.open;
    }
    EXPECT_EQ(kinds.UpperList().texts, (QStringList{"行政", "地名", "水部"}));
    kinds.LowerClick(1);  // the text "湖", after the polygon "湖" in the catalogue
    EXPECT_EQ(kinds.ThingIndex, 5);
}

TEST(PickerWindows, WithTheDefaultCatalogues) {
    edittest::CleanEditing clean;
    gvLanguage = 2;
    clsAdmins admins;
    admins.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/maps/DEFAULT.ADM"));
    clsThings things;
    things.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/maps/DEFAULT.THG"));
    ASSERT_EQ(admins.Load() + things.Load(), 0);
    AdminSelectLogic districts;
    districts.Admins = &admins;
    districts.AdminCode = 392;
    PickerDialog a(districts, AdminSelectTexts());
    EXPECT_EQ(a.lower->currentText(), QStringLiteral("日本"));
    edittest::ExpectPicture(&a, "districts");
    emit a.upper->activated(0);  // "世界": every district
    EXPECT_EQ(a.lower->count(), admins.Count());
    emit a.lower->activated(1);
    a.cmdOK->click();
    EXPECT_TRUE(districts.OK);
    EXPECT_EQ(districts.AdminCode, admins.Search(a.lower->itemText(1)));

    ThingSelectLogic kinds;
    kinds.Things = &things;
    kinds.FigCode = 5;
    kinds.ThingIndex = things.Search(QStringLiteral("国名"));
    PickerDialog t(kinds, ThingSelectTexts());
    EXPECT_EQ(t.windowTitle(), QStringLiteral("事象選択 (文字列)"));
    EXPECT_EQ(t.lower->currentText(), QStringLiteral("国名"));
    edittest::ExpectPicture(&t, "things");
    EXPECT_FALSE(ShowThingSelect());  // no catalogue: closes without showing
}
