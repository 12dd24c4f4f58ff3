// Cruise runs over a fake loader: nomination, substitution, messages, and
// hiding, showing and loading the units.
#include "CruiseTestSupport.h"

#include "CruiseFiles.h"
#include "basGlobe.h"

#include <cerrno>

using namespace cruisetest;

namespace {

constexpr double kLevel3 = 30000000;
constexpr double kLevel4 = 15000000;
constexpr double kLevel6 = 3000000;
constexpr double kLevel7 = 1000000;
constexpr double kLevel8 = 200000;

const clsRect kTokyo = Degrees(138.5, 35, 140.5, 36.5);
const clsRect kWorld = Degrees(-180, -90, 180, 90);

struct CruiseFixture : ::testing::Test {
    Installation inst;
    FakeLoader loader;
    std::unique_ptr<clsMapUnits> units = BaseUnits();
    testsupport::ScriptedBoxes boxes;
    std::unique_ptr<clsCruise05> engine = std::make_unique<clsCruise05>();
};

QStringList Codes(const QStringList& entries) {
    QStringList out;
    for (const QString& e : entries) out << e.left(8);
    return out;
}

} // namespace

TEST_F(CruiseFixture, NominationOfEverySwitchAndLevel) {
    struct Case {
        bool topo, ocean, traffic;
        int16_t level;
        clsRect area;
        QStringList entries;
    } cases[] = {
        {false, false, false, 1, kWorld, {"+,131000"}},
        {false, false, false, 6, kWorld, {"+,136000"}},
        {true, false, false, 3, kWorld, {"+,143000"}},
        {true, true, true, 4, kWorld, {"+,120000", "-,144000", "-,154000"}},
        {false, true, true, 3, kWorld, {"+,120000", "+,133000", "+,153000"}},
        {false, false, false, 7, kTokyo, {"+,167392"}},
        {false, false, false, 8, Degrees(125, 35, 135, 37), {"-,168410", "+,168392"}},
        {false, true, true, 7, Degrees(125, 35, 135, 37), {"+,120000", "-,167410", "+,167392", "-,187410", "-,187392"}},
        {true, false, false, 8, kTokyo, {"-,178392"}},
        {false, true, false, 7, Degrees(-160, 0, -150, 10), {}},  // the sea: nothing, not even the ocean floor
        {false, false, false, 0, kWorld, {}},
        {false, false, false, 9, kWorld, {}},
    };
    for (const Case& c : cases) {
        engine->EiTopo = c.topo;
        engine->EiOcean = c.ocean;
        engine->EiTraffic = c.traffic;
        EXPECT_EQ(Codes(engine->NominateMaps(c.level, c.area)), c.entries) << c.level << c.topo << c.ocean << c.traffic;
    }
    EXPECT_EQ(engine->NominateMaps(7, Degrees(125, 35, 135, 37))[0], "-,167410,Korea");
    EXPECT_EQ(engine->NominateMaps(7, kTokyo)[0], "+,167392,JAPAN_A7.MLL");
}

TEST_F(CruiseFixture, ZoomingHidesAndShowsWithoutLoadingAgain) {
    inst.addMaps({"WORLD_A3.MLL", "WORLD_A4.MLL", "JAPAN_A7.MLL", "JAPAN_A8.MLL"});
    units->Add([] {
        auto u = std::make_shared<clsMapUnit>();
        u->setMapMode(1);
        u->setUnitName(gvMapFolder + "/USER.MLL");
        u->Load();
        return u;
    }());
    EXPECT_TRUE(engine->Cruise(kLevel3, &kWorld, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*", "USER.MLL"}));  // ordered by kind
    EXPECT_TRUE(engine->Cruise(kLevel4, &kWorld, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "-WORLD_A3.MLL", "WORLD_A4.MLL*", "USER.MLL"}));
    EXPECT_TRUE(engine->Cruise(kLevel7, &kTokyo, units.get()));
    EXPECT_TRUE(engine->Cruise(kLevel8, &kTokyo, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "-WORLD_A3.MLL", "-WORLD_A4.MLL", "-JAPAN_A7.MLL", "JAPAN_A8.MLL*", "USER.MLL"}));
    EXPECT_TRUE(engine->Cruise(kLevel3, &kWorld, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*", "-WORLD_A4.MLL", "-JAPAN_A7.MLL", "-JAPAN_A8.MLL", "USER.MLL"}));
    EXPECT_EQ(loader.loaded, (QStringList{"BASE.MLL", "USER.MLL", "WORLD_A3.MLL", "WORLD_A4.MLL", "JAPAN_A7.MLL", "JAPAN_A8.MLL"}));
    // A map of the same name loaded from elsewhere counts as loaded.
    auto other = std::make_shared<clsMapUnit>();
    other->setMapMode(1);
    other->setUnitName(inst.dir.file("world_a6.mll"));
    other->Load();
    units->Add(other);
    inst.addMaps({"WORLD_A6.MLL"});
    EXPECT_TRUE(engine->Cruise(kLevel6, &kWorld, units.get()));
    EXPECT_EQ(loader.loaded.size(), 7);
    EXPECT_TRUE(units->Active()->DisplaySwitch());
    EXPECT_EQ(units->Active(), other);
}

TEST_F(CruiseFixture, SubstitutionAndItsMessages) {
    inst.addMaps({"WORLD_A1.MLL", "WORLD_A2.MLL", "WORLD_A3.MLL", "JAPAN_A7.MLL"});
    // A missing level-4 map: the level-3 map is shown after an information box.
    boxes.expect("以下の地図ファイルが見つかりません.\r\n134000,WORLD_A4.MLL\r\n\r\nより小縮尺用の地図ファイルで代用します.", plat::IdOk);
    EXPECT_TRUE(engine->Cruise(kLevel4, &kWorld, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*"}));
    // Japan's level-8 map is named; level 7 serves.
    boxes.expect("168392,JAPAN_A8.MLL", plat::IdOk);
    EXPECT_TRUE(engine->Cruise(kLevel8, &kTokyo, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "-WORLD_A3.MLL", "JAPAN_A7.MLL*"}));  // ordered by kind
    // Korea's maps are not installed: levels 8 and 7 fail silently, 6 is
    // missing and named, 5 and 4 too, 3 serves.
    boxes.expect("136000,WORLD_A6.MLL\r\n135000,WORLD_A5.MLL\r\n134000,WORLD_A4.MLL\r\n\r\n", plat::IdOk);
    const clsRect seoul = Degrees(126, 37, 127, 37.5);
    EXPECT_TRUE(engine->Cruise(kLevel8, &seoul, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*", "-JAPAN_A7.MLL"}));
    // The sea at level 7 nominates nothing: level 6 and below are tried.
    boxes.expect("136000,WORLD_A6.MLL", plat::IdOk);
    const clsRect sea = Degrees(-160, 0, -159, 1);
    EXPECT_TRUE(engine->Cruise(kLevel7, &sea, units.get()));
}

TEST_F(CruiseFixture, FailureMessages) {
    inst.addMaps({"WORLD_A3.MLL"});
    engine->EiReplace = false;
    const QStringList before = Shown(*units);
    boxes.expect("必要な地図ファイルを揃えられません.\r\n\r\n以下の地図ファイルが見つかりません.\r\n134000,WORLD_A4.MLL\r\n\r\n"
                 "・小縮尺用地図による代用が許可されていません.",
                 plat::IdOk);
    EXPECT_FALSE(engine->Cruise(kLevel4, &kWorld, units.get()));
    EXPECT_EQ(Shown(*units), before);

    // Nothing at any level: more than eight misses are counted, and the user
    // is sent to the author's site.
    engine->EiReplace = true;
    engine->EiOcean = true;
    engine->EiTraffic = true;
    boxes.expect("必要な地図ファイルを揃えられません.\r\n\r\n見つけられない地図ファイルが 17 個ありました.\r\n"
                 "・作者サイトから地図ファイルをダウンロードしてください.\r\n  ",
                 plat::IdOk);
    EXPECT_FALSE(engine->Cruise(kLevel6, &kWorld, units.get()));
    EXPECT_EQ(boxes.shown().back().icon(), plat::MbCritical);

    // Without a list every entry is unknown: one message for the list, then
    // the failure listing levels 3, 2 and 1.
    engine->EiOcean = engine->EiTraffic = false;
    engine->setListFile(inst.dir.file("NONE.LST"));
    boxes.expect("クルーズリストファイルが存在しません.", plat::IdOk)
        .expect("133000,(unknown)\r\n132000,(unknown)\r\n131000,(unknown)\r\n", plat::IdOk)
        .expect("131000,(unknown)", plat::IdOk);
    EXPECT_FALSE(engine->Cruise(kLevel3, &kWorld, units.get()));
    EXPECT_FALSE(engine->Cruise(kLevel3, &kWorld, units.get()));  // the list is not told again
}

TEST_F(CruiseFixture, QuietRefusals) {
    inst.addMaps({"WORLD_A3.MLL"});
    clsMapUnits xy;
    struct Case {
        double scale;
        const clsRect* area;
        clsMapUnits* units;
    } cases[] = {
        {kLevel3, &kWorld, nullptr},
        {kLevel3, nullptr, units.get()},
        {kLevel3, &kWorld, &xy},
        {MapScaleMax * 2, &kWorld, units.get()},
        {MapScaleMin / 2, &kWorld, units.get()},
    };
    xy.Create(2);
    for (const Case& c : cases) EXPECT_FALSE(engine->Cruise(c.scale, c.area, c.units));
    EXPECT_EQ(units->Count(), 1);
}

TEST_F(CruiseFixture, LoadsThatFailOrBringNothing) {
    inst.addMaps({"OCEAN.MLL", "WORLD_A3.MLL", "TRAFFIC3.MLL"});
    engine->EiOcean = engine->EiTraffic = true;
    loader.failing = {"OCEAN.MLL"};
    loader.empty = {"TRAFFIC3.MLL"};
    EXPECT_FALSE(engine->Cruise(kLevel3, &kWorld, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*"}));
    EXPECT_EQ(loader.loaded, (QStringList{"BASE.MLL", "OCEAN.MLL", "WORLD_A3.MLL", "TRAFFIC3.MLL"}));
    // Base maps, user maps and maps without a code are never hidden.
    EXPECT_TRUE(units->Base()->DisplaySwitch());
}

TEST_F(CruiseFixture, CancelInTheFileErrorBoxEndsOnlyTheCruise) {
    inst.addMaps({"WORLD_A3.MLL"});
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect("再試行しますか", plat::IdCancel);
    EXPECT_FALSE(engine->Cruise(kLevel3, &kWorld, units.get()));
    EXPECT_EQ(units->Count(), 1);
    EXPECT_TRUE(engine->Cruise(kLevel3, &kWorld, units.get()));  // the next one reads the list
    // The same for the grid at level 7.
    inst.addMaps({"JAPAN_A7.MLL"});
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect("再試行しますか", plat::IdCancel);
    EXPECT_FALSE(engine->Cruise(kLevel7, &kTokyo, units.get()));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*"}));
}
