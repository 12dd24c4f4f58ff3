#include <gtest/gtest.h>

#include <QFile>

#include "AppInfo.h"
#include "AppState.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "basFileNames.h"
#include "clsEnvironment.h"

TEST(Environment, LinesNumbersAndRanges) {
    clsEnvironment e;
    e.LoadLines({"' comment=1", "// also=2", "   ", "=novalue", "noequals", "  Key1  =  \"quoted value\"  ",
                 "DefaultADM=\"\"", "key1=second", "MaxImageSize=9000", "a=\"2500\"", "hex=&H80000008", "junk=abc",
                 "lead= 12.5mm"});
    EXPECT_EQ(e.ItemID(0), "Key1");
    EXPECT_EQ(e.GetString("KEY1", "d"), "quoted value");   // first entry wins, case ignored
    EXPECT_EQ(e.GetString("DefaultADM", "d"), "d");         // empty values are no entries
    EXPECT_EQ(e.GetVal("MaxImageSize", 4000, 2000, 8000), 4000);
    EXPECT_EQ(e.GetVal("A", 4000, 2000, 8000), 2500);
    EXPECT_EQ(e.GetVal("hex", 0, -2147483648.0, 2147483647.0), -2147483640.0);
    EXPECT_EQ(e.GetVal("junk", 5, -10, 10), 0);        // no number reads as 0
    EXPECT_EQ(e.GetVal("lead", 0, 0, 100), 12.5);
    EXPECT_EQ(e.GetVal("absent", 7, 0, 1), 7);
    EXPECT_EQ(e.GetVal("A", 4, 8, 8), 4);               // min = max accepts one value only
}

TEST(Environment, LoadFromFileAndMissingFile) {
    testsupport::TempDir dir;
    plat::TextWriter w(dir.file("Environment.txt"));
    w.print("' 設定");
    w.print("StartMapFile=世界.MLL");
    w.commit();
    clsEnvironment e;
    e.setFileName(dir.file("environment.TXT"));   // found without regard to case
    EXPECT_EQ(e.Load(), 0);
    EXPECT_EQ(e.GetString("startmapfile", ""), "世界.MLL");
    clsEnvironment missing;
    missing.setFileName(dir.file("none.txt"));
    testsupport::ScriptedBoxes boxes;
    boxes.expect("環境ファイルが存在しません.", plat::IdOk);
    EXPECT_EQ(missing.Load(), 53);
    // Far larger than any environment file: refused by name, no box.
    ASSERT_TRUE(QFile::resize(dir.file("Environment.txt"), 1024 * 1024 + 1));
    const plat::AppError big = testsupport::ErrorOf([&] { e.Load(); });
    EXPECT_EQ(big.number(), plat::ErrOutOfMemory);
    EXPECT_TRUE(big.description().startsWith("環境ファイルが大きすぎる")) << big.description().toStdString();
    EXPECT_TRUE(big.description().endsWith(dir.file("environment.TXT")));
}

TEST(Environment, FileNamesAndGridLook) {
    clsEnvironment env;
    env.LoadLines({"LogLast=MYLOG.TXT", "LogError=D:\\logs\\x", "DefaultADM=", "GazetFileKaldJ=地名.TXT",
                   "CruiseListFile=/data/list.LST", "GridFontSize=100"});
    gvEnvironment = &env;
    plat::SetAppPath("/opt/kaldero");
    gvMapFolder = "/opt/kaldero/maps";
    EXPECT_EQ(GetLogLast(), "/opt/kaldero/MYLOG.PLG");
    EXPECT_EQ(GetLogError(), "D:\\logs\\x.PLG");
    EXPECT_EQ(GetDefaultADM(), "/opt/kaldero/maps/DEFAULT.ADM");
    EXPECT_EQ(GetCruiseListFile(), "/data/list.LST");
    EXPECT_EQ(GetGazetFile(), "/opt/kaldero/maps/GAZET_KALD_E.TXT");
    gvLanguage = 2;
    EXPECT_EQ(GetGazetFile(), "/opt/kaldero/maps/地名.TXT");
    gvLanguage = 1;
    EXPECT_EQ(GetGridBackColor(), static_cast<int32_t>(0x80000005u));
    gvDefaultFont = "メイリオ";
    EXPECT_EQ(GetGridFontSize(), 8);   // out of range: the font's own size
    gvDefaultFont = "ＭＳ Ｐゴシック";
    EXPECT_EQ(GetGridFontSize(), 9);
    gvEnvironment = nullptr;
    plat::SetAppPath(QString());
    gvMapFolder.clear();
}
