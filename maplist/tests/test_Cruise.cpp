// Cruise runs over a fake loader: nomination, substitution, messages, and
// hiding, showing and loading the units.
#include "CruiseTestSupport.h"

#include "CruiseFiles.h"
#include "basGlobe.h"

#include <cerrno>

using namespace cruisetest;

namespace {

constexpr double kLevel3 = 30000000, kLevel4 = 15000000, kLevel6 = 3000000, kLevel7 = 1000000, kLevel8 = 200000;
const clsRect kTokyo = Degrees(138.5, 35, 140.5, 36.5);
const clsRect kKoreaJapan = Degrees(125, 35, 135, 37);
const clsRect kWorld = Degrees(-180, -90, 180, 90);

struct CruiseRun : ::testing::Test {
    Installation inst;
    FakeLoader loader;
    std::unique_ptr<clsMapUnits> units = BaseUnits();
    testsupport::ScriptedBoxes boxes;
    clsCruise05 engine;
    bool cruise(double scale, const clsRect& area) { return engine.Cruise(scale, &area, units.get()); }
};

} // namespace

TEST_F(CruiseRun, NominationOfEverySwitchAndLevel) {
    struct Case {
        bool topo, ocean, traffic;
        int16_t level;
        clsRect area;
        QStringList codes;
    } cases[] = {
        {false, false, false, 1, kWorld, {"+,131000"}},
        {true, false, false, 3, kWorld, {"+,143000"}},
        {true, true, true, 4, kWorld, {"+,120000", "-,144000", "-,154000"}},  // one ocean floor for every level
        {false, true, true, 3, kWorld, {"+,120000", "+,133000", "+,153000"}},
        {false, false, false, 7, kTokyo, {"+,167392"}},
        {false, false, false, 8, kKoreaJapan, {"-,168410", "+,168392"}},
        {false, true, true, 7, kKoreaJapan, {"+,120000", "-,167410", "+,167392", "-,187410", "-,187392"}},
        {true, false, false, 8, kTokyo, {"-,178392"}},
        {false, true, false, 7, Degrees(-160, 0, -150, 10), {}},  // the sea: nothing, not even the ocean floor
        {false, false, false, 9, kWorld, {}},
    };
    for (const Case& c : cases) {
        engine.EiTopo = c.topo, engine.EiOcean = c.ocean, engine.EiTraffic = c.traffic;
        QStringList codes;
        for (const QString& e : engine.NominateMaps(c.level, c.area)) codes << e.left(8);
        EXPECT_EQ(codes, c.codes) << c.level << c.topo << c.ocean << c.traffic;
    }
    EXPECT_EQ(engine.NominateMaps(7, kKoreaJapan), (QStringList{"-,167410,Korea", "+,167392,JAPAN_A7.MLL"}));
}

TEST_F(CruiseRun, ZoomingHidesAndShowsWithoutLoadingAgain) {
    inst.addMaps({"WORLD_A3.MLL", "WORLD_A4.MLL", "JAPAN_A7.MLL", "JAPAN_A8.MLL", "WORLD_A6.MLL"});
    auto user = std::make_shared<clsMapUnit>();
    user->setUnitName(gvMapFolder + "/USER.MLL");
    user->Load();
    units->Add(user);
    EXPECT_TRUE(cruise(kLevel3, kWorld));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*", "USER.MLL"}));  // ordered by kind
    EXPECT_TRUE(cruise(kLevel4, kWorld));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "-WORLD_A3.MLL", "WORLD_A4.MLL*", "USER.MLL"}));
    EXPECT_TRUE(cruise(kLevel7, kTokyo));
    EXPECT_TRUE(cruise(kLevel8, kTokyo));
    EXPECT_TRUE(cruise(kLevel3, kWorld));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*", "-WORLD_A4.MLL", "-JAPAN_A7.MLL", "-JAPAN_A8.MLL", "USER.MLL"}));
    EXPECT_EQ(loader.loaded, (QStringList{"BASE.MLL", "USER.MLL", "WORLD_A3.MLL", "WORLD_A4.MLL", "JAPAN_A7.MLL", "JAPAN_A8.MLL"}));
    // A map of the same name loaded from elsewhere counts as loaded.
    auto other = std::make_shared<clsMapUnit>();
    other->setMapMode(1);
    other->setUnitName(inst.dir.file("world_a6.mll"));
    other->Load();
    units->Add(other);
    units->setIndex(1);
    EXPECT_TRUE(cruise(kLevel6, kWorld));
    EXPECT_EQ(loader.loaded.size(), 7);
    EXPECT_EQ(units->Active(), other);
}

TEST_F(CruiseRun, SubstitutionAndItsMessages) {
    inst.addMaps({"WORLD_A1.MLL", "WORLD_A2.MLL", "WORLD_A3.MLL", "JAPAN_A7.MLL"});
    boxes.expect("以下の地図ファイルが見つかりません.\r\n134000,WORLD_A4.MLL\r\n\r\nより小縮尺用の地図ファイルで代用します.", plat::IdOk);
    EXPECT_TRUE(cruise(kLevel4, kWorld));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*"}));
    // Japan's level-8 map is named; level 7 serves.
    boxes.expect("168392,JAPAN_A8.MLL", plat::IdOk);
    EXPECT_TRUE(cruise(kLevel8, kTokyo));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "-WORLD_A3.MLL", "JAPAN_A7.MLL*"}));
    // Korea's maps are not installed: levels 8 and 7 fail silently, 6, 5
    // and 4 are named, 3 serves.
    boxes.expect("見つかりません.\r\n136000,WORLD_A6.MLL\r\n135000,WORLD_A5.MLL\r\n134000,WORLD_A4.MLL\r\n\r\n", plat::IdOk);
    EXPECT_TRUE(cruise(kLevel8, Degrees(126, 37, 127, 37.5)));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*", "-JAPAN_A7.MLL"}));
    // The sea at level 7 nominates nothing: level 6 and below are tried.
    boxes.expect("136000,WORLD_A6.MLL", plat::IdOk);
    EXPECT_TRUE(cruise(kLevel7, Degrees(-160, 0, -159, 1)));
}

TEST_F(CruiseRun, FailureMessages) {
    inst.addMaps({"WORLD_A3.MLL"});
    engine.EiReplace = false;
    boxes.expect("必要な地図ファイルを揃えられません.\r\n\r\n以下の地図ファイルが見つかりません.\r\n134000,WORLD_A4.MLL\r\n\r\n"
                 "・小縮尺用地図による代用が許可されていません.",
                 plat::IdOk);
    EXPECT_FALSE(cruise(kLevel4, kWorld));
    EXPECT_EQ(Shown(*units), QStringList{"BASE.MLL*"});
    // Nothing at any level: more than eight misses are counted, and the
    // user is sent to the author's site.
    engine.EiReplace = engine.EiOcean = engine.EiTraffic = true;
    boxes.expect("必要な地図ファイルを揃えられません.\r\n\r\n見つけられない地図ファイルが 17 個ありました.\r\n"
                 "・作者サイトから地図ファイルをダウンロードしてください.\r\n  ",
                 plat::IdOk);
    EXPECT_FALSE(cruise(kLevel6, kWorld));
    EXPECT_EQ(boxes.shown().back().icon(), plat::MbCritical);
    // Without a list every entry is unknown; the list is told of only once.
    engine.EiOcean = engine.EiTraffic = false;
    engine.setListFile(inst.dir.file("NONE.LST"));
    boxes.expect("クルーズリストファイルが存在しません.", plat::IdOk)
        .expect("133000,(unknown)\r\n132000,(unknown)\r\n131000,(unknown)\r\n", plat::IdOk)
        .expect("131000,(unknown)", plat::IdOk);
    EXPECT_FALSE(cruise(kLevel3, kWorld));
    EXPECT_FALSE(cruise(kLevel3, kWorld));
    // Quiet refusals: no units, X/Y units, no area, a scale outside the borders.
    clsMapUnits xy;
    xy.Create(2);
    EXPECT_FALSE(engine.Cruise(kLevel3, &kWorld, nullptr) || engine.Cruise(kLevel3, nullptr, units.get()) ||
                 engine.Cruise(kLevel3, &kWorld, &xy) || cruise(MapScaleMax * 2, kWorld) || cruise(MapScaleMin / 2, kWorld));
}

TEST_F(CruiseRun, LoadsThatFailOrBringNothingAndCancelledFileErrors) {
    inst.addMaps({"OCEAN.MLL", "WORLD_A3.MLL", "TRAFFIC3.MLL", "JAPAN_A7.MLL"});
    engine.EiOcean = engine.EiTraffic = true;
    loader.failing = {"OCEAN.MLL"};
    loader.empty = {"TRAFFIC3.MLL"};
    // Cancel in the file-error box of the list ends the cruise only.
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect("再試行しますか", plat::IdCancel);
    EXPECT_FALSE(cruise(kLevel3, kWorld));
    EXPECT_EQ(units->Count(), 1);
    EXPECT_FALSE(cruise(kLevel3, kWorld));  // a failed load
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*"}));
    EXPECT_EQ(loader.loaded, (QStringList{"BASE.MLL", "OCEAN.MLL", "WORLD_A3.MLL", "TRAFFIC3.MLL"}));
    // The same for the grid at level 7.
    engine.EiOcean = engine.EiTraffic = false;
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect("再試行しますか", plat::IdCancel);
    EXPECT_FALSE(cruise(kLevel7, kTokyo));
    EXPECT_EQ(Shown(*units), (QStringList{"BASE.MLL", "WORLD_A3.MLL*"}));
}
