#include "JumpTestSupport.h"

#include "FileOps.h"
#include "MessageBox.h"
#include "basGazetteer.h"
#include "clsCruise05.h"
#include "frmJump05Logic.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

using namespace jumptest;

namespace {

struct JumpDialog : ::testing::Test {
    Installation inst;
    testsupport::ScriptedBoxes boxes;
    plat::FlexGridData cells;
    frmJump05Logic logic{cells};

    QString gazetteer() const { return inst.dir.file(gvLanguage == 2 ? "GAZET_KALD_J.TXT" : "GAZET_KALD_E.TXT"); }
    // Opens the dialog on the units and fills the list as its activation does.
    void open(clsMapUnits* units) {
        logic.TargetUnits = units;
        ASSERT_TRUE(logic.Load());
        logic.Activate();
    }
    // The rows the keyword selects on Enter, pressed `times` times.
    QStringList Enter(const QString& keyword, int times) {
        logic.setKeyword(keyword);
        QStringList out;
        for (int i = 0; i < times; ++i) {
            logic.SearchKey();
            out << QStringLiteral("%1:%2").arg(cells.Row()).arg(cells.TextMatrix(cells.Row(), kPlaceName));
        }
        return out;
    }
    // The gazetteer of the places, written as the build writes it.
    void writeGazetteer(std::initializer_list<std::pair<const char*, std::vector<Place>>> maps) {
        plat::FlexGridData g;
        ClearPlaces(g);
        for (const auto& [name, places] : maps)
            AddUnitPlace(g, MakeUnit(inst.dir.file(name), 190000, places).get(), static_cast<int32_t>(gvLanguage));
        testsupport::WriteBytes(gazetteer(), GazetteerBytes(g, static_cast<int32_t>(gvLanguage), 1));
    }
};

} // namespace

TEST_F(JumpDialog, GazetteerIsOfferedInLatitudeLongitudeModeWhenItHasPlaces) {
    gvLanguage = 2;
    struct Case {
        int32_t mode;
        const char* file;
        int16_t source;   // after asking for the gazetteer
        bool gazetteer, build;
    } cases[] = {{1, nullptr, 0, false, true},
                 {1, "# Gazetteer File\r\n# number = 0\r\n# sort = 3\r\n", 0, true, true},   // no place: the units
                 {1, "", 1, true, true},   // written by the program
                 {2, "", 0, false, false}};
    for (const Case& c : cases) {
        if (c.file && *c.file) testsupport::WriteBytes(gazetteer(), c.file);
        if (c.file && !*c.file) writeGazetteer({{"A.MLL", kJapanPlaces}});
        auto units = inst.units({}, c.mode);
        open(units.get());
        EXPECT_TRUE(logic.state().gazetteerEnabled == c.gazetteer && logic.state().buildEnabled == c.build) << c.mode;
        logic.SelectSource(1);
        logic.Unload();
        logic.TargetUnits = units.get();
        logic.Load();
        EXPECT_EQ(logic.state().source, c.source) << c.mode;   // persists between openings, but not into X/Y
        logic.Unload();
    }
    EXPECT_FALSE(logic.Load());   // no units: the dialog closes
}

TEST_F(JumpDialog, KeywordFindsByPrefixOrAnywhereAndMovesOn) {
    auto units = inst.units({MakeUnit(inst.dir.file("JAPAN_A7.MLL"), 167392, kJapanPlaces),
                             MakeUnit(inst.dir.file("WORLD_A3.MLL"), 133000, kWorldPlaces)});
    open(units.get());
    EXPECT_EQ(logic.state().count, 9);
    EXPECT_EQ(cells.TextMatrix(0, 0), "地名　▲");
    // Japan Kyoto Nishitokyo Osaka Russia Sankt-Peterburg Tokorozawa Tokyo Tokyo.
    EXPECT_EQ(Enter("tok", 5), QStringList({"3:Nishitokyo", "7:Tokorozawa", "8:Tokyo", "9:Tokyo", "3:Nishitokyo"}));
    EXPECT_EQ(Enter("to", 3), QStringList({"7:Tokorozawa", "8:Tokyo", "9:Tokyo"}));
    EXPECT_EQ(Enter("leningrad", 1), QStringList({"6:Sankt-Peterburg (Leningrad)"}));
    EXPECT_EQ(Enter("Tokyq", 1), QStringList({"8:Tokyo"}));   // shortened to "TOKY"
    EXPECT_EQ(Enter("", 1), QStringList({"1:Japan"}));
    EXPECT_TRUE(cells.RowSel() == cells.Row() && cells.ColSel() == kPlaceColumns - 1);

    const std::pair<int32_t, int16_t> clicks[] = {{0, 2}, {0, 1}, {3, 7}, {3, 8}, {1, 3}, {5, 3}};
    for (const auto& [column, code] : clicks) {
        logic.HeaderClick(column);
        EXPECT_EQ(logic.state().sortCode, code);
    }
}

TEST_F(JumpDialog, OkReturnsTheUnitPlaceAndShowsItsMap) {
    const MapUnitPtr japan = MakeUnit(inst.dir.file("JAPAN_A7.MLL"), 167392, kJapanPlaces);
    auto empty = inst.units({});
    open(empty.get());
    logic.Ok();
    EXPECT_FALSE(logic.DialogOK);   // no place
    logic.Unload();

    auto units = inst.units({japan});
    japan->setDisplaySwitch(false);
    open(units.get());
    EXPECT_EQ(Enter("tokyo", 2).last(), "6:Tokyo");
    inst.loaded.clear();
    logic.Ok();
    EXPECT_TRUE(logic.DialogOK && logic.JumpMapMode == 1 && logic.JumpX == 502920 && logic.JumpY == 128520);
    EXPECT_TRUE(logic.JumpScaleS == 20000000 && logic.JumpScaleL == 200000);
    EXPECT_TRUE(japan->DisplaySwitch() && inst.loaded.isEmpty());
}

TEST_F(JumpDialog, GazetteerPlaceLoadsItsMapFromASubfolderAndHidesOtherLevels) {
    gvLanguage = 2;
    inst.addMap(QStringLiteral("japan/JAPAN_A7.MLL"), 167392, kJapanPlaces);
    writeGazetteer({{"JAPAN_A7.MLL", kJapanPlaces}, {"PLAN.MXY", {{"Plan", "計画地", kJapan, kCity, 100, 200}}}});
    const MapUnitPtr world = MakeUnit(inst.dir.file("WORLD_A3.MLL"), 133000, kWorldPlaces);
    const MapUnitPtr user = MakeUnit(inst.dir.file("USER.MLL"), 190000, kWorldPlaces);
    world->Map().Add(world->Map().Item(world->Map().Count())->Copy());   // an edit not yet saved
    auto units = inst.units({world, user});
    open(units.get());
    logic.SelectSource(1);
    EXPECT_EQ(logic.state().count, 7);

    Enter("計画", 1);   // a place of an X/Y map: nothing to load into these units
    inst.loaded.clear();
    logic.Ok();
    EXPECT_TRUE(logic.DialogOK && logic.JumpMapMode == 2 && logic.JumpX == 100 && inst.loaded.isEmpty());

    Enter("東京", 1);
    logic.Ok();
    EXPECT_TRUE(logic.DialogOK && logic.JumpMapMode == 1 && logic.JumpX == 502920);
    EXPECT_EQ(inst.loaded, QStringList({"JAPAN_A7.MLL"}));
    ASSERT_EQ(units->Count(), 4);
    EXPECT_EQ(FileNameOf(FolderOf(units->Active()->UnitName())), "japan");
    // Level 3 hidden and kept with its edit; maps without a level stay.
    EXPECT_TRUE(!world->DisplaySwitch() && world->Modify() && inst.saved.isEmpty());
    EXPECT_TRUE(user->DisplaySwitch() && units->Base()->DisplaySwitch());

    units->Active()->setDisplaySwitch(false);   // loaded once: only shown again
    inst.loaded.clear();
    logic.Ok();
    EXPECT_TRUE(inst.loaded.isEmpty() && units->Active()->DisplaySwitch());
}

TEST_F(JumpDialog, BuildWritesTheGazetteerAndAStoppedBuildKeepsTheOldOne) {
    gvLanguage = 2;
    const QString question = QStringLiteral("<日本語用> 地名辞典を作成します.");
    auto units = inst.units({});
    inst.addMap(QStringLiteral("WORLD_A3.MLL"), 133000, kWorldPlaces);
    inst.addMap(QStringLiteral("sub/JAPAN_A7.MLL"), 167392, kJapanPlaces);
    inst.addMap(QStringLiteral("PLAN.MXY"), 290000, {{"Plan", "計画地", kJapan, kCity, 100, 200}});
    testsupport::WriteBytes(inst.dir.file("BROKEN.MLL"), {});   // does not load: skipped
    open(units.get());
    inst.loaded.clear();
    boxes.expect(question, plat::IdNo).expect(question, plat::IdYes);
    logic.BuildGazetteer();
    EXPECT_TRUE(inst.loaded.isEmpty());
    logic.BuildGazetteer();
    EXPECT_EQ(inst.loaded, QStringList({"BASE.MLL", "BROKEN.MLL", "WORLD_A3.MLL", "JAPAN_A7.MLL", "PLAN.MXY"}));
    EXPECT_TRUE(logic.state().source == 1 && logic.state().gazetteerEnabled && logic.state().count == 10);
    const QByteArray written = testsupport::ReadBytes(gazetteer());
    EXPECT_TRUE(written.startsWith("# Gazetteer File for KALDERO/SOLVANTE. Japanese Version.\r\n# number = 10\r\n"));

    boxes.expect(question, plat::IdYes);
    inst.loaded.clear();
    inst.onLoad = [this](int n) {
        if (n == 2) {
            EXPECT_FALSE(logic.Cancel());   // during a build it only stops it
        }
    };
    logic.BuildGazetteer();   // stopped at the second map
    EXPECT_EQ(inst.loaded.size(), 2);
    EXPECT_EQ(testsupport::ReadBytes(gazetteer()), written);
    EXPECT_TRUE(logic.state().source == 0 && !logic.state().gazetteerEnabled && !logic.state().building);
    EXPECT_TRUE(logic.state().message.isEmpty());

    gvMapFolder = inst.dir.file("nowhere");
    boxes.expect(question, plat::IdYes).expect(QStringLiteral("地図ファイル名リストの取得に失敗しました.\r\n[ツール]-[環境設定]"), plat::IdOk);
    logic.BuildGazetteer();
}

TEST_F(JumpDialog, UnreadableLinesAreReportedOnceAndKeywordsKeptOnce) {
    testsupport::WriteBytes(gazetteer(), "# Gazetteer File\r\n# number = 9\r\n# sort = 1\r\n"
                                         "Tokyo\tA.MLL\tJapan\tCity\t1\t2\t1000000\t100000\tTOKYO\r\n"
                                         "Bad\tA.MLL\tJapan\tCity\tx\t2\t1000000\t100000\tBAD\r\nBad\tA.MLL\r\n");
    boxes.expect(QStringLiteral("読めない行 2 行 (最初は 5 行目)"), plat::IdOk);
    auto units = inst.units({});
    for (const char* keyword : {"Tokyo", "tokyo", "", "Osaka", "Tokyo"}) {
        open(units.get());
        logic.setKeyword(QString::fromUtf8(keyword));
        logic.Unload();
    }
    EXPECT_EQ(logic.state().history, QStringList({"Tokyo", "Osaka", "Tokyo"}));
    logic.TargetUnits = units.get();
    logic.Load();
    EXPECT_TRUE(logic.ReadGazetteer(gazetteer()));
    EXPECT_EQ(logic.state().count, 1);
    EXPECT_FALSE(logic.ReadGazetteer(inst.dir.file("MISSING.TXT")));   // silently
}

TEST_F(JumpDialog, CallerClampsTheScaleAndEndsAutomaticCruise) {
    const double cases[][4] = {{1e6, 2e7, 2e5, 1e6}, {1e5, 2e7, 2e5, 2e5}, {5e7, 2e7, 2e5, 2e7}, {1e6, 1e5, 2e5, 1e5}};
    for (const auto& c : cases) EXPECT_EQ(frmJump05Logic::JumpScale(c[0], c[1], c[2]), c[3]);
    clsCruise05 engine;
    clsCruise05* const saved = std::exchange(gvCruise, &engine);
    engine.EiAuto = true;
    boxes.expect(QStringLiteral("〔オートクルーズ〕を解除します."), plat::IdOk);
    frmJump05Logic::EndAutoCruise();
    frmJump05Logic::EndAutoCruise();   // off already: no message
    EXPECT_FALSE(engine.EiAuto);
    gvCruise = saved;
}

// Cancel in the file-error box ends the command under way and nothing more:
// no error climbs to the dialog's handler (which would stop the program),
// and the old gazetteer file stays.
TEST_F(JumpDialog, CancelInTheFileErrorBoxEndsOnlyTheCommand) {
    gvLanguage = 1;
    writeGazetteer({{"WORLD_A3.MLL", kWorldPlaces}});
    const QByteArray old = testsupport::ReadBytes(gazetteer());
    auto units = inst.units({});
    open(units.get());
    ASSERT_EQ(logic.state().source, 0);

    plat::ReadOnlyFile::FailNextOpenWith(EIO);
    boxes.expect(QStringLiteral("*Code=57"), plat::IdCancel);
    EXPECT_NO_THROW(logic.SelectSource(1));
    EXPECT_EQ(PlaceCount(cells), 0);
    EXPECT_TRUE(logic.state().message.isEmpty());

    EXPECT_NO_THROW(logic.SelectSource(1));   // read again: the places are there
    ASSERT_GT(PlaceCount(cells), 0);
    plat::AtomicFileWriter::FailNextWriteWith(ENOSPC);
    boxes.expect(QStringLiteral("*Code=61"), plat::IdCancel);
    bool written = true;
    EXPECT_ANY_THROW(written = logic.WriteGazetteer(gazetteer()));   // the part passes it on to its command
    EXPECT_TRUE(written);
    EXPECT_EQ(testsupport::ReadBytes(gazetteer()), old);

    // The build's writing cancelled: the build ends, the old file stays.
    inst.addMap(QStringLiteral("WORLD_A3.MLL"), 133000, kWorldPlaces);
    boxes.expect(QStringLiteral("<欧州語用> 地名辞典を作成します."), plat::IdYes)
        .expect(QStringLiteral("*Code=61"), plat::IdCancel);
    plat::AtomicFileWriter::FailNextWriteWith(ENOSPC);
    EXPECT_NO_THROW(logic.BuildGazetteer());
    EXPECT_FALSE(logic.state().building);
    EXPECT_EQ(testsupport::ReadBytes(gazetteer()), old);
}

// A gazetteer that is no regular file, or whose count is no number, is
// reported; the list falls back to the loaded units.
TEST_F(JumpDialog, SpecialOrDamagedGazetteersAreReported) {
    gvLanguage = 1;
    writeGazetteer({{"WORLD_A3.MLL", kWorldPlaces}});
    auto units = inst.units({});
    open(units.get());
    ASSERT_TRUE(logic.state().gazetteerEnabled);
    const QString path = gazetteer();
    QFile::remove(path);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);   // never opened for writing
    boxes.expect(QStringLiteral("*Code=75"), plat::IdOk);
    logic.SelectSource(1);
    EXPECT_EQ(logic.state().source, 0);

    QFile::remove(path);
    testsupport::WriteBytes(path, "# Gazetteer File\r\n# number = many\r\n# sort = 1\r\n"
                                  "Tokyo\tA.MLL\tJapan\tCity\t1\t2\t1000000\t100000\tTOKYO\r\n");
    boxes.expect(QStringLiteral("の見出し (2 行目 \"# number = \") が壊れているので地名を読めません."), plat::IdOk);
    logic.SelectSource(1);
    EXPECT_EQ(logic.state().source, 0);
}
