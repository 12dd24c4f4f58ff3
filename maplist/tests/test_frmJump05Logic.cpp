#include "JumpTestSupport.h"

#include "MessageBox.h"
#include "TextFile.h"
#include "basGazetteer.h"
#include "clsCruise05.h"
#include "frmJump05Logic.h"

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
    QString current() const { return cells.TextMatrix(cells.Row(), kPlaceName); }
    // The rows the keyword selects on Enter, pressed `times` times.
    QStringList Enter(const QString& keyword, int times) {
        logic.setKeyword(keyword);
        QStringList out;
        for (int i = 0; i < times; ++i) {
            logic.SearchKey();
            out << QStringLiteral("%1:%2").arg(cells.Row()).arg(current());
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

TEST_F(JumpDialog, LoadOffersTheGazetteerInLatitudeLongitudeModeOnly) {
    gvLanguage = 2;
    struct Case {
        int32_t mode;
        bool file;
        int16_t source;
        bool gazetteer, build;
    } cases[] = {{1, false, 0, false, true}, {1, true, 1, true, true}, {2, true, 0, false, false}};
    for (const Case& c : cases) {
        if (c.file) writeGazetteer({{"A.MLL", JapanPlaces()}});
        auto units = inst.units({}, c.mode);
        logic.SelectSource(1);   // persisted from an earlier opening
        logic.TargetUnits = units.get();
        ASSERT_TRUE(logic.Load());
        EXPECT_EQ(logic.state().gazetteerPath, gazetteer());
        EXPECT_TRUE(logic.state().gazetteerEnabled == c.gazetteer && logic.state().buildEnabled == c.build) << c.mode;
        logic.Activate();
        EXPECT_EQ(logic.state().source, c.source) << c.mode << c.file;   // no file: back to the units
        logic.Unload();
        EXPECT_EQ(logic.TargetUnits, nullptr);
    }
    EXPECT_EQ(logic.state().sortCode, 1);
    EXPECT_FALSE(logic.Load());   // no units: the dialog closes
}

TEST_F(JumpDialog, KeywordFindsByPrefixOrAnywhereAndMovesOn) {
    auto units = inst.units({MakeUnit(inst.dir.file("JAPAN_A7.MLL"), 167392, JapanPlaces()),
                             MakeUnit(inst.dir.file("WORLD_A3.MLL"), 133000, WorldPlaces())});
    open(units.get());
    EXPECT_EQ(logic.state().count, 9);
    EXPECT_EQ(cells.TextMatrix(0, 0), "地名　▲");
    EXPECT_EQ(current(), "Japan");   // the empty keyword: row 1
    // Sorted: Japan Kyoto Nishitokyo Osaka Russia Sankt-Peterburg Tokorozawa Tokyo Tokyo.
    EXPECT_EQ(Enter(QStringLiteral("tok"), 5),
              QStringList({"3:Nishitokyo", "7:Tokorozawa", "8:Tokyo", "9:Tokyo", "3:Nishitokyo"}));
    EXPECT_EQ(Enter(QStringLiteral("to"), 3), QStringList({"7:Tokorozawa", "8:Tokyo", "9:Tokyo"}));
    EXPECT_EQ(Enter(QStringLiteral("leningrad"), 1), QStringList({"6:Sankt-Peterburg (Leningrad)"}));
    EXPECT_EQ(Enter(QStringLiteral("Tokyq"), 1), QStringList({"8:Tokyo"}));   // shortened to "TOKY"
    EXPECT_EQ(Enter(QStringLiteral("qq"), 1), QStringList({"1:Japan"}));
    EXPECT_EQ(cells.RowSel(), cells.Row());
    EXPECT_EQ(cells.ColSel(), kPlaceColumns - 1);
}

TEST_F(JumpDialog, HeaderClicksSortAscendingThenDescending) {
    auto units = inst.units({MakeUnit(inst.dir.file("JAPAN_A7.MLL"), 167392, JapanPlaces())});
    open(units.get());
    struct Case {
        int32_t column;
        int16_t code;
        const char* title;
        const char* first;
    } cases[] = {{0, 2, "地名　▼", "Tokyo"}, {0, 1, "地名　▲", "Japan"}, {3, 7, "事象名　▲", "Japan"},
                 {3, 8, "事象名　▼", "Kyoto"}, {1, 3, "ファイル名　▲", "Kyoto"}, {5, 3, "ファイル名　▲", "Kyoto"}};
    for (const Case& c : cases) {
        logic.HeaderClick(c.column);
        EXPECT_EQ(logic.state().sortCode, c.code);
        const int32_t col = (c.code - 1) / 2;
        EXPECT_EQ(cells.TextMatrix(0, col), QString::fromUtf8(c.title));
        EXPECT_EQ(cells.TextMatrix(1, kPlaceName), QString::fromUtf8(c.first)) << c.code;
    }
}

TEST_F(JumpDialog, OkReturnsTheUnitPlaceAndShowsItsMap) {
    auto empty = inst.units({});
    open(empty.get());
    logic.Ok();
    EXPECT_FALSE(logic.DialogOK);   // no place
    logic.Unload();

    const MapUnitPtr japan = MakeUnit(inst.dir.file("JAPAN_A7.MLL"), 167392, JapanPlaces());
    auto units = inst.units({japan});
    japan->setDisplaySwitch(false);
    open(units.get());
    EXPECT_EQ(Enter(QStringLiteral("tokyo"), 2).last(), "6:Tokyo");
    inst.loaded.clear();
    logic.Ok();
    EXPECT_TRUE(logic.DialogOK);
    EXPECT_TRUE(logic.JumpMapMode == 1 && logic.JumpX == 502920 && logic.JumpY == 128520);
    EXPECT_TRUE(logic.JumpScaleS == 20000000 && logic.JumpScaleL == 200000);
    EXPECT_TRUE(japan->DisplaySwitch());
    EXPECT_TRUE(inst.loaded.isEmpty());
}

TEST_F(JumpDialog, GazetteerPlaceLoadsItsMapFromASubfolderAndHidesOtherLevels) {
    gvLanguage = 2;
    inst.addMap(QStringLiteral("japan/JAPAN_A7.MLL"), 167392, JapanPlaces());
    writeGazetteer({{"JAPAN_A7.MLL", JapanPlaces()}, {"PLAN.MXY", {{"Plan", "計画地", kJapan, kCity, 100, 200}}}});
    const MapUnitPtr world = MakeUnit(inst.dir.file("WORLD_A3.MLL"), 133000, WorldPlaces());
    const MapUnitPtr user = MakeUnit(inst.dir.file("USER.MLL"), 190000, WorldPlaces());
    world->Map().Add(Text(WorldPlaces()[0]));   // an edit not yet saved
    auto units = inst.units({world, user});
    open(units.get());
    logic.SelectSource(1);
    ASSERT_EQ(logic.state().source, 1);
    EXPECT_EQ(logic.state().count, 7);

    Enter(QStringLiteral("計画"), 1);   // a place of an X/Y map: nothing to load into these units
    inst.loaded.clear();
    logic.Ok();
    EXPECT_TRUE(logic.DialogOK && logic.JumpMapMode == 2 && logic.JumpX == 100);
    EXPECT_TRUE(inst.loaded.isEmpty());

    Enter(QStringLiteral("東京"), 1);
    logic.Ok();
    EXPECT_TRUE(logic.DialogOK && logic.JumpMapMode == 1 && logic.JumpX == 502920);
    EXPECT_EQ(inst.loaded, QStringList({"JAPAN_A7.MLL"}));
    ASSERT_EQ(units->Count(), 4);
    EXPECT_EQ(FileNameOf(FolderOf(units->Active()->UnitName())), "japan");
    // Level 3 hidden and kept with its edit; no level (the base, a user map) stays.
    EXPECT_TRUE(!world->DisplaySwitch() && world->Modify());
    EXPECT_TRUE(user->DisplaySwitch() && units->Base()->DisplaySwitch());
    EXPECT_TRUE(inst.saved.isEmpty());

    // Once loaded, the map is only shown again.
    units->Active()->setDisplaySwitch(false);
    inst.loaded.clear();
    logic.Ok();
    EXPECT_TRUE(inst.loaded.isEmpty() && units->Active()->DisplaySwitch());
}

TEST_F(JumpDialog, GazetteerWithoutPlacesFallsBackToTheUnits) {
    gvLanguage = 1;
    testsupport::WriteBytes(gazetteer(), "# Gazetteer File\r\n# number = 0\r\n# sort = 3\r\n");
    auto units = inst.units({MakeUnit(inst.dir.file("JAPAN_A7.MLL"), 167392, JapanPlaces())});
    open(units.get());
    logic.SelectSource(1);
    EXPECT_EQ(logic.state().source, 0);
    EXPECT_EQ(logic.state().count, 6);
    EXPECT_EQ(logic.state().sortCode, 3);   // the file's sort code all the same
}

TEST_F(JumpDialog, UnreadableGazetteerLinesAreReportedOnce) {
    gvLanguage = 1;
    testsupport::WriteBytes(gazetteer(), "# Gazetteer File\r\n# number = 9\r\n# sort = 1\r\n"
                                         "Tokyo\tA.MLL\tJapan\tCity\t1\t2\t1000000\t100000\tTOKYO\r\n"
                                         "Bad\tA.MLL\tJapan\tCity\tx\t2\t1000000\t100000\tBAD\r\n"
                                         "Bad\tA.MLL\tJapan\tCity\t1\t2\t1000000\r\n");
    boxes.expect(QStringLiteral("読めない行 2 行 (最初は 5 行目)"), plat::IdOk);
    auto units = inst.units({});
    logic.TargetUnits = units.get();
    logic.Load();
    EXPECT_TRUE(logic.ReadGazetteer(gazetteer()));
    EXPECT_EQ(logic.state().count, 1);
    EXPECT_FALSE(logic.ReadGazetteer(inst.dir.file("MISSING.TXT")));   // silently
    EXPECT_EQ(logic.state().count, 1);
}

TEST_F(JumpDialog, BuildWritesTheGazetteerAndAStoppedBuildKeepsTheOldOne) {
    gvLanguage = 2;
    const QString question = QStringLiteral("<日本語用> 地名辞典を作成します.");
    auto units = inst.units({});
    inst.addMap(QStringLiteral("WORLD_A3.MLL"), 133000, WorldPlaces());
    inst.addMap(QStringLiteral("sub/JAPAN_A7.MLL"), 167392, JapanPlaces());
    inst.addMap(QStringLiteral("PLAN.MXY"), 290000, {{"Plan", "計画地", kJapan, kCity, 100, 200}});
    testsupport::WriteBytes(inst.dir.file("BROKEN.MLL"), {});   // does not load: skipped
    open(units.get());

    boxes.expect(question, plat::IdNo);
    inst.loaded.clear();
    logic.BuildGazetteer();
    EXPECT_TRUE(inst.loaded.isEmpty());

    boxes.expect(question, plat::IdYes);
    logic.BuildGazetteer();
    EXPECT_EQ(inst.loaded, QStringList({"BASE.MLL", "BROKEN.MLL", "WORLD_A3.MLL", "JAPAN_A7.MLL", "PLAN.MXY"}));
    EXPECT_TRUE(logic.state().source == 1 && logic.state().gazetteerEnabled && !logic.state().building);
    EXPECT_EQ(logic.state().count, 10);
    const QByteArray written = testsupport::ReadBytes(gazetteer());
    EXPECT_TRUE(written.startsWith("# Gazetteer File for KALDERO/SOLVANTE. Japanese Version.\r\n# number = 10\r\n"));

    // Stopped at the second map: the old file stays, the units' places show.
    boxes.expect(question, plat::IdYes);
    inst.loaded.clear();
    inst.onLoad = [this](int n) {
        if (n == 2) {
            EXPECT_FALSE(logic.Cancel());
        }
    };
    logic.BuildGazetteer();
    EXPECT_EQ(inst.loaded.size(), 2);
    EXPECT_EQ(testsupport::ReadBytes(gazetteer()), written);
    EXPECT_TRUE(logic.state().source == 0 && !logic.state().gazetteerEnabled && !logic.state().building);
    EXPECT_TRUE(logic.state().message.isEmpty());
}

TEST_F(JumpDialog, BuildWithoutMapFilesTellsWhereToSetTheFolder) {
    gvMapFolder = inst.dir.file("nowhere");
    auto units = std::make_unique<clsMapUnits>();
    logic.TargetUnits = units.get();
    logic.Load();
    boxes.expect(QStringLiteral("地名辞典を作成します"), plat::IdYes)
        .expect(QStringLiteral("地図ファイル名リストの取得に失敗しました.\r\n[ツール]-[環境設定]"), plat::IdOk);
    logic.BuildGazetteer();
    EXPECT_FALSE(logic.state().building);
}

TEST_F(JumpDialog, KeywordHistoryKeepsAKeywordOnceInARow) {
    auto units = inst.units({});
    const char* typed[] = {"Tokyo", "tokyo", "", "Osaka", "Tokyo"};
    for (const char* k : typed) {
        logic.TargetUnits = units.get();
        logic.Load();
        logic.setKeyword(QString::fromUtf8(k));
        logic.Unload();
    }
    EXPECT_EQ(logic.state().history, QStringList({"Tokyo", "Osaka", "Tokyo"}));
}

TEST_F(JumpDialog, CallerClampsTheScaleAndEndsAutomaticCruise) {
    struct Case {
        double current, s, l, result;
    } cases[] = {{1e6, 2e7, 2e5, 1e6}, {1e5, 2e7, 2e5, 2e5}, {5e7, 2e7, 2e5, 2e7}, {1e6, 1e5, 2e5, 1e5}};
    for (const Case& c : cases) EXPECT_EQ(frmJump05Logic::JumpScale(c.current, c.s, c.l), c.result);

    clsCruise05 engine;
    clsCruise05* const saved = gvCruise;
    gvCruise = &engine;
    engine.EiAuto = true;
    boxes.expect(QStringLiteral("〔オートクルーズ〕を解除します."), plat::IdOk);
    frmJump05Logic::EndAutoCruise();
    frmJump05Logic::EndAutoCruise();   // off already: no message
    EXPECT_FALSE(engine.EiAuto);
    gvCruise = saved;
}
