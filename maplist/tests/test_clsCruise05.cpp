#include "CruiseTestSupport.h"

#include "CruiseFiles.h"
#include "basGlobe.h"
#include "clsEnvironment.h"

#include <cerrno>
#include <cmath>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

using namespace cruisetest;

TEST(CruiseEngine, LevelsAndBorders) {
    Installation inst;
    clsCruise05 c;
    const double g = MapScaleMax;
    struct Case {
        double scale;
        int16_t level;
    } cases[] = {
        {g, 1}, {g + 1, -1}, {g / 10, 1}, {g / 10 - 1, 2}, {20000000, 3}, {19999999, 4},  // a border belongs to the smaller scale
        {g / 2000, 7}, {g / 2000 - 1, 8}, {g / 10000, 8}, {g / 10000 - 1, -1}, {std::nan(""), -1},
    };
    for (const Case& k : cases) EXPECT_EQ(c.ScaleToLevel(k.scale), k.level) << k.scale;
    struct Let {
        int16_t index;
        double value, after;
    } lets[] = {
        {3, 30000000, 30000000}, {3, g + 0.5, g + 0.5},  // rounds half to even onto the bound
        {3, g + 1.5, g + 0.5},   {4, MapScaleMin - 1, g / 100}, {5, std::nan(""), g / 200},
        {0, 5e8, g},             {8, 5e5, MapScaleMin},         {9, 5e5, 0}, {-1, 5e5, 0},
    };
    for (const Let& k : lets) {
        c.setBorderScale(k.index, k.value);
        EXPECT_EQ(c.BorderScale(k.index), k.after) << k.index << " " << k.value;
    }
    clsEnvironment env;
    env.LoadLines({"BorderRatio1=4", "BorderRatio2=0", "BorderRatio4=99.5"});
    gvEnvironment = &env;
    EXPECT_EQ(clsCruise05::StdBorderScale(1), g / 4);
    EXPECT_EQ(clsCruise05::StdBorderScale(2), g / 20);   // out of range: the default
    EXPECT_EQ(clsCruise05::StdBorderScale(4), g / 100);  // rounded half to even
    gvEnvironment = nullptr;
}

TEST(CruiseEngine, ListLinesAndLookups) {
    Installation inst(
        "' comment, with, three commas\r\n\r\n13100,SHORT.MLL,Five digits,五桁\r\n1310000,LONG.MLL,Seven,七桁\r\n"
        "131000,THREE.MLL,Three fields\r\n131000,FIVE.MLL,Five,fields,多い\r\n13a000,LETTER.MLL,No number,数字でない\r\n"
        "131000,WORLD_A1.MLL,\"World, level 1\",世界1\r\n131000,SECOND.MLL,Second,二番目\r\n"
        "132000,maps2/WORLD_A2.MLL,World 2,世界2\r\n133000,/abs/WORLD_A3.MLL,,世界3\r\n"
        "135000,TRAIL.MLL,Trailing empty field,\r\n167392,JAPAN_A7.MLL,Japan,日本\r\n167410,,Korea,韓国\r\n"
        "177410,,,韓国地形\r\n000000,ZERO.MLL,Zero,零");  // the last line has no end
    testsupport::ScriptedBoxes boxes;
    clsCruise05 c;
    EXPECT_TRUE(c.ReadCruiseList());
    EXPECT_EQ(c.RecordCount(), 8);
    EXPECT_EQ(c.FindCruiseRecord(131000).EuropeanName, "World, level 1");
    struct Case {
        int32_t code;
        QString path, entry;
    } cases[] = {
        {131000, gvMapFolder + "/WORLD_A1.MLL", "+,131000,WORLD_A1.MLL"},
        {132000, "maps2/WORLD_A2.MLL", "+,132000,maps2/WORLD_A2.MLL"},  // folders without a root: as written
        {133000, "/abs/WORLD_A3.MLL", "+,133000,/abs/WORLD_A3.MLL"},
        {167410, "", "-,167410,Korea"}, {177410, "", "-,177410,韓国地形"}, {178410, "", "-,178410,(unknown)"},
        {0, "", "+,000000,ZERO.MLL"},  // listed, but code 0 has no path
    };
    for (const Case& k : cases) {
        EXPECT_EQ(c.MapCodeToPath(k.code), k.path) << k.code;
        EXPECT_EQ(c.CruiseEntryText(k.code), k.entry) << k.code;
    }
    EXPECT_EQ(c.CountryName(187392, 2), "日本");  // by the last three digits
    EXPECT_EQ(c.CountryName(168410, 1), "Korea");
    EXPECT_EQ(c.CountryName(168410, 3), "");
}

TEST(CruiseEngine, ListMissingEmptyOrUnreadable) {
    Installation inst("' nothing usable\r\n131000,A.MLL,B\r\n");
    inst.addMaps({"WORLD_A1.MLL", "WORLD_A2.MLL"});
    testsupport::ScriptedBoxes boxes;
    clsCruise05 c;
    EXPECT_TRUE(c.ReadCruiseList());
    EXPECT_EQ(c.RecordCount(), 0);
    testsupport::WriteBytes(inst.listPath(), plat::EncodeCp932(QString::fromUtf8(kStandardList)));
    EXPECT_EQ(c.GetStdMapCount(), 2);  // an empty list is read again

    // A missing list is told once for its path.
    const QString missing = inst.dir.file("NONE.LST");
    c.setListFile(missing);
    boxes.expect("クルーズリストファイルが存在しません.\r\n" + missing, plat::IdOk);
    EXPECT_EQ(c.GetStdMapList(), 0);
    EXPECT_EQ(c.CruiseEntryText(131000), "-,131000,(unknown)");
    EXPECT_FALSE(c.ReadCruiseList());
    c.setListFile(inst.dir.file("OTHER.LST"));
    boxes.expect("OTHER.LST", plat::IdOk);
    EXPECT_EQ(c.CountryName(167392, 1), "");

    // A file error asks once per operation: the 25 lookups of the mask once.
    c.setListFile(inst.listPath());
    cruise::FailNextReadsWith(EACCES, 100);
    boxes.expect("再試行しますか", plat::IdNo).expect("再試行しますか", plat::IdYes).expect("再試行しますか", plat::IdNo);
    EXPECT_EQ(c.GetStdMapList(), 0);
    EXPECT_EQ(c.MapCodeToPath(131000), "");
    // A file too large to be a list is refused.
    cruise::FailNextReadsWith(0, 0);
    testsupport::WriteBytes(inst.listPath(), QByteArray((16 << 20) + 1, ','));
    boxes.expect(inst.listPath() + "\r\nは大きすぎるので読み込みません. (上限 16 MiB)", plat::IdOk);
    EXPECT_EQ(c.MapCodeToPath(131000), "");
}

TEST(CruiseEngine, AvailabilityMask) {
    Installation inst(
        "120000,OCEAN.MLL,O,O\r\n131000,WORLD_A1.MLL,W,W\r\n136000,WORLD_A6.MLL,W,W\r\n141000,T1.MLL,T,T\r\n"
        "156000,TR6.MLL,T,T\r\n168392,JAPAN_A8.MLL,J,J\r\n188392,TRJ8.MLL,T,T\r\n132000,,World 2,W\r\n"
        "133000,maps,W,W\r\n134000,MISSING.MLL,W,W\r\n");
    inst.addMaps({"OCEAN.MLL", "WORLD_A1.MLL", "WORLD_A6.MLL", "T1.MLL", "TR6.MLL", "JAPAN_A8.MLL", "TRJ8.MLL"});
    QDir(gvMapFolder).mkdir("maps");  // a folder is no map, nor is an empty path
    testsupport::ScriptedBoxes boxes;
    clsCruise05 c;
    const int32_t mask = c.GetStdMapList();
    EXPECT_EQ(mask, 1 | 1 << 1 | 1 << 6 | 1 << 7 | 1 << 18 | 1 << 20 | 1 << 24);
    EXPECT_EQ(c.GetStdMapCount(), 7);
    EXPECT_EQ(c.LastStdMapList(), "0");
    c.WriteRegistry();
    EXPECT_EQ(clsCruise05().LastStdMapList(), QString::number(mask));
}

TEST(CruiseEngine, SettingsRoundTrip) {
    Installation inst;
    testsupport::ScriptedBoxes boxes;
    {
        clsCruise05 c;
        c.EiAuto = c.EiTopo = c.EiOcean = c.EiTraffic = true;
        c.EiReplace = false;
        c.setBorderScale(2, 60000000.25);
        c.setGridFile(inst.dir.file("OTHER.GRD"));
        c.WriteRegistry();
    }
    clsCruise05 c;
    EXPECT_TRUE(c.EiAuto && !c.EiReplace && c.EiTopo && c.EiOcean && c.EiTraffic);
    EXPECT_EQ(c.BorderScale(2), 60000000.25);
    EXPECT_EQ(c.GridFile(), inst.gridPath());  // the stored grid does not exist
    clsRegistry reg("CRUISE05");
    reg.RegPut("BorderScale4", "1e12");
    reg.RegPut("EiReplace", "1");
    testsupport::WriteBytes(inst.dir.file("MY.LST"), "");
    reg.RegPut("ListFile", inst.dir.file("MY.LST"));
    clsCruise05 d;
    EXPECT_EQ(d.BorderScale(4), clsCruise05::StdBorderScale(4));
    EXPECT_TRUE(d.EiReplace);
    EXPECT_EQ(d.ListFile(), inst.dir.file("MY.LST"));
}

TEST(CruiseEngine, GlobalEngineServesMapHeaders) {
    Installation inst;
    testsupport::ScriptedBoxes boxes;
    CreateGlobalCruise();
    gvCruise->setBorderScale(3, 25000000);
    EXPECT_EQ(BorderScale(3), 25000000);
    EXPECT_EQ(BorderScale(9), 0);
    DestroyGlobalCruise();
    EXPECT_EQ(gvCruise, nullptr);
    EXPECT_EQ(BorderScale(3), MapScaleMax / 50);        // the standard again
    EXPECT_EQ(clsCruise05().BorderScale(3), 25000000);  // saved at the end
}

// A list without a valid record is read once, not by every operation, until
// the file changes.
TEST(CruiseEngine, AListWithoutRecordsIsNotReadAgainUntilItChanges) {
    Installation inst(std::string(100000, '\n').c_str());
    testsupport::ScriptedBoxes boxes;
    clsCruise05 c;
    EXPECT_EQ(c.GetStdMapList(), 0);
    // Any further read would fail with a box the script does not expect.
    cruise::FailNextReadsWith(EIO, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c.MapCodeToPath(131000), "");
        EXPECT_EQ(c.CountryName(167392, 1), "");
    }
    cruise::FailNextReadsWith(0, 0);
    testsupport::WriteBytes(inst.listPath(), plat::EncodeCp932(QString::fromUtf8(kStandardList)));
    EXPECT_NE(c.MapCodeToPath(131000), "");
}

// Named pipes and devices in place of the list or the grid are refused with
// the file-error box, at once.
TEST(CruiseEngine, SpecialFilesInPlaceOfTheListOrTheGrid) {
    Installation inst(kStandardList);
    testsupport::ScriptedBoxes boxes;
    QFile::remove(inst.listPath());
    ASSERT_EQ(::mkfifo(QFile::encodeName(inst.listPath()).constData(), 0600), 0);
    clsCruise05 c;
    boxes.expect("*Code=75", plat::IdOk);
    EXPECT_EQ(c.GetStdMapList(), 0);

    clsGridMap grid;
    QFile::remove(inst.gridPath());
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(inst.gridPath()).constData()), 0);
    grid.setFileName(inst.gridPath());
    boxes.expect("*Code=75", plat::IdOk);
    EXPECT_EQ(grid.GetCountryCode(503000, 128000), -1);
}
