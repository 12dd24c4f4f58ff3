#include "WorldCatalogues.h"

#include "TestSupport.h"

#include "basGlobe.h"
#include "clsAdmins.h"
#include "clsThings.h"

#include <gtest/gtest.h>

#include <set>

using namespace worldsrc;

TEST(WorldCatalogues, ThingsWriteAndReadBackAsTheTablesSay) {
    testsupport::ScriptedBoxes boxes;
    testsupport::TempDir dir;
    for (const CatalogueStyle& style : {BaseCatalogue(), WorldCatalogue(), DefaultCatalogue()}) {
        clsThings written;
        FillThings(written, style);
        written.setFileName(dir.file(QStringLiteral("T.THG")));
        ASSERT_EQ(written.Save(), 0);
        clsThings read;
        read.setFileName(dir.file(QStringLiteral("T.THG")));
        ASSERT_EQ(read.Load(), 0);
        EXPECT_EQ(read.Comment(), written.Comment());
        ASSERT_EQ(read.Count(), int32_t(style.things.size()));
        std::set<QString> names;   // each once, as the layers look them up by name
        for (const ThingStyle& t : style.things) {
            const ThingPtr& thing = read.Item(t.number);
            ASSERT_TRUE(thing) << t.number;
            EXPECT_TRUE(names.insert(thing->Name()).second && thing->Name() == QString::fromUtf8(t.name)) << t.name;
            EXPECT_EQ(thing->Category(), t.category);
            EXPECT_FALSE(read.CategoryName(t.category).isEmpty());
            for (int32_t page = 1; page <= 8; ++page) {
                const ThingPage& p = thing->PageRecord(page);
                EXPECT_EQ(p.Fore, t.number == style.pagedLand ? LandPageColours()[size_t(page - 1)] : t.fore);
                EXPECT_TRUE(p.Back == t.back && p.ShowMode == -1);
                EXPECT_EQ(p.ScaleS, t.smallest > 0 ? t.smallest : ThingPage::Default().ScaleS);
                EXPECT_TRUE(p == written.Item(t.number)->PageRecord(page)) << t.name << " page " << page;
            }
        }
    }
}

TEST(WorldCatalogues, RefusedValuesStopTheGenerator) {
    const CategoryStyle categories[] = {{1, "x"}};
    const ThingStyle badStyle[] = {{1, "x", FigPolygon, 1, 99, 0, -1, 0, 0}};      // no fill style 99
    const ThingStyle badSize[] = {{1, "x", FigText, 1, 0, 0, -1, 200, 0}};         // text height over 100
    const ThingStyle twice[] = {{1, "x", FigPolyline, 1, 0, 0, -1, 1, 0}, {1, "y", FigPolyline, 1, 0, 0, -1, 1, 0}};
    const ThingStyle badNumber[] = {{1000, "x", FigPolyline, 1, 0, 0, -1, 1, 0}};
    for (std::span<const ThingStyle> things : {std::span<const ThingStyle>(badStyle), std::span<const ThingStyle>(badSize),
                                               std::span<const ThingStyle>(badNumber)}) {
        clsThings c;
        EXPECT_THROW(FillThings(c, {"", categories, things}), WorldSourceError);
    }
    clsThings c;
    EXPECT_ANY_THROW(FillThings(c, {"", categories, twice}));
    const QString x = QStringLiteral("x");
    for (const District& d : {District{1000, 1, 1, x, x}, District{5, 1, 9, x, x}}) {   // a code beyond 999, page 9
        clsAdmins admins;
        EXPECT_THROW(FillAdmins(admins, {d}, QString()), WorldSourceError);
    }
}

TEST(WorldCatalogues, DistrictsWithTheAreasTheyUse) {
    testsupport::ScriptedBoxes boxes;
    clsAdmins admins;
    FillAdmins(admins,
               {{0, 0, 1, QStringLiteral("World"), QStringLiteral("世界")},
                {392, 5, 3, QStringLiteral("Japan"), QStringLiteral("日本")}},
               QStringLiteral("one\ntwo"));
    EXPECT_EQ(admins.Comment(), QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(admins.AreaName(5, 2), QStringLiteral("アジア"));
    EXPECT_EQ(admins.AreaName(0, 1), QStringLiteral("World"));
    EXPECT_TRUE(admins.AreaName(6, 1).isEmpty());  // no district in Europe
    ASSERT_TRUE(admins.Item(392));
    EXPECT_TRUE(admins.Item(392)->Page() == 3 && admins.Item(392)->AreaCode() == 5);
    EXPECT_TRUE(admins.Item(392)->Show() && admins.Item(392)->Search());
}

TEST(WorldCatalogues, TiersOfNamesByTheScaleTheyShowFrom) {
    testsupport::ScriptedBoxes boxes;
    TieredCatalogue tiers(WorldCatalogue(), "tiers");
    for (const auto& [base, level] : {std::pair{tier::CountryName, 10}, {tier::CityName, 14}, {tier::CountryName, 10}})
        tiers.addTier(int16_t(base), int16_t(level));
    EXPECT_THROW(tiers.addTier(tier::CityName, 54), WorldSourceError);
    EXPECT_THROW(tiers.addTier(7, 3), WorldSourceError);  // no tier of that kind
    const TieredCatalogue moved = std::move(tiers);
    clsThings things;
    FillThings(things, moved.style());
    EXPECT_EQ(things.Count(), int32_t(WorldCatalogue().things.size()) + 2);
    const ThingPtr& country = things.Item(tier::CountryName + 10);
    const ThingPtr& city = things.Item(tier::CityName + 14);
    ASSERT_TRUE(country && city);
    EXPECT_EQ(country->Name(), QStringLiteral("国名（1:") + ScaleLevelText(10) + QStringLiteral("～）"));
    EXPECT_TRUE(country->Figure() == FigText && city->Size() == 8);
    EXPECT_TRUE(country->IsPrint(ScaleOfLevel(10)) && !country->IsPrint(ScaleOfLevel(9)) && city->IsPrint(ScaleOfLevel(53)));
}
