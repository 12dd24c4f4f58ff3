#include "CruiseTestSupport.h"

#include "CruiseFiles.h"
#include "basGlobe.h"
#include "clsEnvironment.h"

#include <cerrno>
#include <cmath>

using namespace cruisetest;

TEST(CruiseLevels, BordersAndLevels) {
    Installation inst;
    clsCruise05 c;
    const double g = MapScaleMax;
    const double std[] = {g, g / 10, g / 20, g / 50, g / 100, g / 200, g / 500, g / 2000, g / 10000};
    for (int16_t i = 0; i <= 8; ++i) {
        EXPECT_EQ(c.BorderScale(i), std[i]) << i;
        EXPECT_EQ(clsCruise05::StdBorderScale(i), std[i]) << i;
    }
    struct Case {
        double scale;
        int16_t level;
    } cases[] = {
        {g, 1}, {g + 1, -1}, {g / 10, 1}, {g / 10 - 1, 2}, {g / 50, 3},  // a border belongs to the smaller scale
        {20000000, 3}, {19999999, 4}, {g / 2000, 7}, {g / 2000 - 1, 8}, {g / 10000, 8}, {g / 10000 - 1, -1},
        {std::nan(""), -1},
    };
    for (const Case& k : cases) EXPECT_EQ(c.ScaleToLevel(k.scale), k.level) << k.scale;
}

TEST(CruiseLevels, BorderLetKeepsToTheScaleRange) {
    Installation inst;
    clsCruise05 c;
    struct Case {
        int16_t index;
        double value;
        double after;  // of that border
    } cases[] = {
        {3, 30000000, 30000000},
        {3, MapScaleMax + 0.4, MapScaleMax + 0.4},  // rounds to the bound
        {3, MapScaleMax + 0.5, MapScaleMax + 0.5},  // half to even: still the bound
        {3, MapScaleMax + 1.5, MapScaleMax + 0.5},
        {4, MapScaleMin - 0.5, MapScaleMin - 0.5},
        {4, MapScaleMin - 1, MapScaleMin - 0.5},
        {5, std::nan(""), MapScaleMax / 200},
        {0, 5e8, MapScaleMax},
        {8, 5e5, MapScaleMin},
        {9, 5e5, 0},
        {-1, 5e5, 0},
    };
    for (const Case& k : cases) {
        c.setBorderScale(k.index, k.value);
        EXPECT_EQ(c.BorderScale(k.index), k.after) << k.index << " " << k.value;
    }
}

TEST(CruiseLevels, StandardBordersFromTheEnvironment) {
    clsEnvironment env;
    env.LoadLines({"BorderRatio1=4", "BorderRatio2=0", "BorderRatio3=20000", "BorderRatio4=99.5", "BorderRatio5=abc"});
    gvEnvironment = &env;
    EXPECT_EQ(clsCruise05::StdBorderScale(1), MapScaleMax / 4);
    EXPECT_EQ(clsCruise05::StdBorderScale(2), MapScaleMax / 20);   // below 1
    EXPECT_EQ(clsCruise05::StdBorderScale(3), MapScaleMax / 50);   // above 10000
    EXPECT_EQ(clsCruise05::StdBorderScale(4), MapScaleMax / 100);  // rounded half to even
    EXPECT_EQ(clsCruise05::StdBorderScale(5), MapScaleMax / 200);
    EXPECT_EQ(clsCruise05::StdBorderScale(9), 0);
    gvEnvironment = nullptr;
}

TEST(CruiseList, LinesThatCountAndLookups) {
    Installation inst(
        "' comment, with, three commas\r\n"
        "\r\n"
        "13100,SHORT.MLL,Five digits,五桁\r\n"
        "1310000,LONG.MLL,Seven digits,七桁\r\n"
        "131000,THREE.MLL,Three fields\r\n"
        "131000,FIVE.MLL,Five,fields,多い\r\n"
        "13a000,LETTER.MLL,Not a number,数字でない\r\n"
        "131000,WORLD_A1.MLL,\"World, level 1\",世界1\r\n"
        "131000,SECOND.MLL,Second,二番目\r\n"
        "132000,maps2/WORLD_A2.MLL,World 2,世界2\r\n"
        "133000,/abs/WORLD_A3.MLL,,世界3\r\n"
        "134000,C:\\MAPS\\WORLD_A4.MLL,,W4\r\n"
        "135000,TRAIL.MLL,Trailing empty field,\r\n"
        "167392,JAPAN_A7.MLL,Japan,日本\r\n"
        "167410,,Korea,韓国\r\n"
        "177410,,,韓国地形\r\n"
        "000000,ZERO.MLL,Zero,零");  // last line without its end
    testsupport::ScriptedBoxes boxes;
    clsCruise05 c;
    EXPECT_TRUE(c.ReadCruiseList());
    EXPECT_EQ(c.RecordCount(), 9);
    const CruiseListRecord r = c.FindCruiseRecord(131000);
    EXPECT_EQ(r.Path, "WORLD_A1.MLL");
    EXPECT_EQ(r.EuropeanName, "World, level 1");
    EXPECT_EQ(r.JapaneseName, "世界1");
    EXPECT_EQ(c.FindCruiseRecord(999999).Code, 0);

    const QString maps = gvMapFolder;
    struct Case {
        int32_t code;
        QString path, entry;
    } cases[] = {
        {131000, maps + "/WORLD_A1.MLL", "+,131000,WORLD_A1.MLL"},
        {132000, "maps2/WORLD_A2.MLL", "+,132000,maps2/WORLD_A2.MLL"},  // folders without a root: as written
        {133000, "/abs/WORLD_A3.MLL", "+,133000,/abs/WORLD_A3.MLL"},
        {134000, "C:\\MAPS\\WORLD_A4.MLL", "+,134000,C:\\MAPS\\WORLD_A4.MLL"},
        {167410, "", "-,167410,Korea"},      // no path
        {177410, "", "-,177410,韓国地形"},   // no European name
        {178410, "", "-,178410,(unknown)"},  // not listed
        {0, "", "+,000000,ZERO.MLL"},        // listed, but code 0 has no path
    };
    for (const Case& k : cases) {
        EXPECT_EQ(c.MapCodeToPath(k.code), k.path) << k.code;
        EXPECT_EQ(c.CruiseEntryText(k.code), k.entry) << k.code;
    }
    // By the last three digits, of any kind and level.
    EXPECT_EQ(c.CountryName(187392, 2), "日本");
    EXPECT_EQ(c.CountryName(168410, 1), "Korea");
    EXPECT_EQ(c.CountryName(168410, 3), "");
    EXPECT_EQ(c.CountryName(168999, 1), "");
}

TEST(CruiseList, EmptyListIsReadAgainAndAMissingOneToldOncePerPath) {
    Installation inst("' nothing usable\r\n131000,A.MLL,B\r\n");
    testsupport::ScriptedBoxes boxes;
    clsCruise05 c;
    EXPECT_TRUE(c.ReadCruiseList());
    EXPECT_EQ(c.RecordCount(), 0);
    testsupport::WriteBytes(inst.listPath(), "131000,WORLD_A1.MLL,World 1,W1\r\n");
    EXPECT_EQ(c.MapCodeToPath(131000), gvMapFolder + "/WORLD_A1.MLL");  // read again

    const QString missing = inst.dir.file("NONE.LST");
    c.setListFile(missing);
    EXPECT_EQ(c.RecordCount(), 0);
    boxes.expect("クルーズリストファイルが存在しません.\r\n" + missing, plat::IdOk);
    EXPECT_EQ(c.MapCodeToPath(131000), "");
    EXPECT_EQ(c.GetStdMapList(), 0);
    EXPECT_EQ(c.CruiseEntryText(131000), "-,131000,(unknown)");
    EXPECT_FALSE(c.ReadCruiseList());
    EXPECT_EQ(boxes.shown().size(), 1u);
    c.setListFile(inst.dir.file("OTHER.LST"));
    boxes.expect("OTHER.LST", plat::IdOk);
    EXPECT_EQ(c.CountryName(167392, 1), "");
}

TEST(CruiseList, FileErrorsAskOncePerOperation) {
    Installation inst;
    inst.addMaps({"WORLD_A1.MLL", "WORLD_A2.MLL"});
    testsupport::ScriptedBoxes boxes;
    clsCruise05 c;
    // Retry reads again.
    cruise::FailNextReadsWith(EACCES, 1);
    boxes.expect("再試行しますか", plat::IdYes);
    EXPECT_EQ(c.GetStdMapCount(), 2);
    // Skip: the 25 lookups of the mask ask once; the next operation asks again.
    c.setListFile(inst.listPath());
    cruise::FailNextReadsWith(EACCES, 100);
    boxes.expect("再試行しますか", plat::IdNo);
    EXPECT_EQ(c.GetStdMapList(), 0);
    boxes.expect("再試行しますか", plat::IdNo);
    EXPECT_EQ(c.MapCodeToPath(131000), "");
    // A list too large to be one is an error without retry.
    cruise::FailNextReadsWith(0, 0);
    testsupport::WriteBytes(inst.listPath(), QByteArray((16 << 20) + 1, ','));
    boxes.expect("*File=" + inst.listPath(), plat::IdOk);
    EXPECT_EQ(c.MapCodeToPath(131000), "");
    EXPECT_EQ(c.RecordCount(), 0);
}

TEST(CruiseMask, BitsOfTheInstalledMaps) {
    Installation inst(
        "120000,OCEAN.MLL,O,O\r\n131000,WORLD_A1.MLL,W,W\r\n136000,WORLD_A6.MLL,W,W\r\n141000,T1.MLL,T,T\r\n"
        "156000,TR6.MLL,T,T\r\n168392,JAPAN_A8.MLL,J,J\r\n188392,TRJ8.MLL,T,T\r\n132000,,World 2,W\r\n"
        "133000,maps,W,W\r\n134000,MISSING.MLL,W,W\r\n");
    inst.addMaps({"OCEAN.MLL", "WORLD_A1.MLL", "WORLD_A6.MLL", "T1.MLL", "TR6.MLL", "JAPAN_A8.MLL", "TRJ8.MLL"});
    QDir(gvMapFolder).mkdir("maps");  // a folder is no map
    testsupport::ScriptedBoxes boxes;
    clsCruise05 c;
    const int32_t mask = c.GetStdMapList();
    EXPECT_EQ(mask, 1 | 1 << 1 | 1 << 6 | 1 << 7 | 1 << 18 | 1 << 20 | 1 << 24);
    EXPECT_EQ(c.GetStdMapCount(), 7);
    EXPECT_NE(mask & clsCruise05::kMaskAdministrative, 0);
    EXPECT_NE(mask & clsCruise05::kMaskTraffic, 0);
    EXPECT_EQ(c.LastStdMapList(), "0");
    c.WriteRegistry();
    EXPECT_EQ(c.LastStdMapList(), QString::number(mask));
    EXPECT_EQ(clsCruise05().LastStdMapList(), QString::number(mask));
}

TEST(CruiseSettings, RoundTripAndRules) {
    Installation inst;
    testsupport::ScriptedBoxes boxes;
    {
        clsCruise05 c;
        c.EiAuto = true;
        c.EiReplace = false;
        c.EiTopo = true;
        c.EiOcean = true;
        c.EiTraffic = true;
        c.setBorderScale(2, 60000000.25);
        c.setBorderScale(7, 600000);
        c.setGridFile(inst.dir.file("OTHER.GRD"));
        c.WriteRegistry();
    }
    clsCruise05 c;
    EXPECT_TRUE(c.EiAuto && !c.EiReplace && c.EiTopo && c.EiOcean && c.EiTraffic);
    EXPECT_EQ(c.BorderScale(2), 60000000.25);
    EXPECT_EQ(c.BorderScale(7), 600000);
    EXPECT_EQ(c.BorderScale(3), clsCruise05::StdBorderScale(3));
    EXPECT_EQ(c.GridFile(), inst.gridPath());  // the stored grid does not exist
    EXPECT_EQ(c.ListFile(), inst.listPath());

    clsRegistry reg("CRUISE05");
    reg.RegPut("BorderScale4", "1e12");
    reg.RegPut("BorderScale5", "abc");
    reg.RegPut("EiReplace", "1");
    const QString other = inst.dir.file("MY.LST");
    testsupport::WriteBytes(other, "");
    reg.RegPut("ListFile", other);
    clsCruise05 d;
    EXPECT_EQ(d.BorderScale(4), clsCruise05::StdBorderScale(4));
    EXPECT_EQ(d.BorderScale(5), clsCruise05::StdBorderScale(5));
    EXPECT_TRUE(d.EiReplace);
    EXPECT_EQ(d.ListFile(), other);
}

TEST(CruiseGlobal, MapHeadersReadTheEngine) {
    Installation inst;
    testsupport::ScriptedBoxes boxes;
    CreateGlobalCruise();
    ASSERT_NE(gvCruise, nullptr);
    gvCruise->setBorderScale(3, 25000000);
    EXPECT_EQ(BorderScale(3), 25000000);
    EXPECT_EQ(BorderScale(9), 0);
    DestroyGlobalCruise();
    EXPECT_EQ(gvCruise, nullptr);
    EXPECT_EQ(BorderScale(3), MapScaleMax / 50);          // the standard again
    EXPECT_EQ(clsCruise05().BorderScale(3), 25000000);    // saved at the end
}
