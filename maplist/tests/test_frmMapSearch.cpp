#include "frmMapListTestSupport.h"

#include "MapListHost.h"
#include "basHMapCoord.h"
#include "frmMapSearch.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace listtest;

namespace {

struct Search : ListTest {
    void open(std::initializer_list<MapFigurePtr> figures) { openUnit("/maps/SEARCH.MLL", figures); }
    QString comment(int32_t row) { return static_cast<const clsMapRem&>(*map().Item(row)).Comment(); }
    int32_t row() { return list.SelectTopRow(); }
    void run(int32_t mode_, int32_t target, const QString& keyword, const QString& replace = {}, int32_t direction = 2) {
        list.SearchRecord.Mode = mode_;
        list.SearchRecord.Target = target;
        list.SearchRecord.Keyword = keyword;
        list.SearchRecord.ReplaceWord = replace;
        list.SearchRecord.Direction = direction;
        list.exeSearch();
    }
};

std::shared_ptr<clsMapSymbol> Coloured(int32_t x, int32_t color) {
    auto s = Symbol(x, 0);
    s->setOwnColor(color);
    return s;
}

} // namespace

TEST_F(Search, EachTargetMatchesItsOwnPart) {
    open({Rem("Area of Tokyo"), Text("Tokyo", "東京都"), Coloured(3600, 0x123456), Lined<clsMapPolyline>({{1, 1}, {7, 8}})});
    const struct {
        int32_t target;
        QString keyword;
        int32_t x, y, color;
        std::array<bool, 4> match;   // rows 1..4
    } cases[] = {
        {1, "tokyo", 0, 0, 0, {true, true, false, false}},      // every text, case ignored
        {1, "海岸線", 0, 0, 0, {false, false, false, true}},     // the thing name
        {1, LonToStr(7), 0, 0, 0, {false, false, false, true}},  // a coordinate text
        {2, "TOKYO", 0, 0, 0, {true, true, false, false}},
        {2, "東京", 0, 0, 0, {false, true, false, false}},      // Japanese: the Japanese name only
        {2, "O\t", 0, 0, 0, {false, true, false, false}},       // half-width: European, TAB, Japanese
        {2, "都市", 0, 0, 0, {false, false, false, false}},     // other kinds never
        {3, "", 7, 8, 0, {false, false, false, true}},
        {3, "", 0, 0, 0, {false, true, false, false}},          // the text's anchor
        {4, "", 0, 0, 0x123456, {false, false, true, false}},
        {4, "", 0, 0, -1, {true, true, false, true}},           // no own colour
    };
    for (const auto& c : cases) {
        list.SearchRecord.Target = c.target;
        list.SearchRecord.Keyword = c.keyword;
        list.SearchRecord.PosX = c.x;
        list.SearchRecord.PosY = c.y;
        list.SearchRecord.Color = c.color;
        for (int32_t r = 1; r <= 4; ++r)
            EXPECT_EQ(list.MatchRow(map().Item(r).get()), c.match[size_t(r - 1)]) << c.target << " " << c.keyword.toStdString() << " row " << r;
    }
}

TEST_F(Search, WalksFromTheSelectedRowAndSaysWhenNothingIsLeft) {
    open({Rem("x"), Rem("key 2"), Rem("x"), Rem("key 4"), Rem("x")});
    list.JumpRow(1);
    run(1, 2, "key");
    EXPECT_EQ(row(), 2);
    run(1, 2, "key");   // the current find is not tested again
    EXPECT_EQ(row(), 4);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("キーワードは見つかりませんでした.", plat::IdOk);
        run(1, 2, "key");
        EXPECT_EQ(boxes.shown().front().title, "テキスト検索");
    }
    EXPECT_EQ(row(), 4);
    list.SearchBack();
    EXPECT_EQ(row(), 2);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("座標は見つかりませんでした.", plat::IdOk).expect("指定色は見つかりませんでした.", plat::IdOk);
        run(1, 3, "", {}, 2);
        list.SearchRecord.Color = 5;
        run(1, 4, "", {}, 2);
    }
}

TEST_F(Search, ReplaceAllSkipsTheFirstRowAndCountsTheReplacements) {
    open({Rem("alpha"), Rem("Area"), Rem("banana"), Rem("xyz")});
    list.JumpRow(3);
    testsupport::ScriptedBoxes boxes;
    boxes.expect("2個置換しました.", plat::IdOk);
    run(3, 2, "a", "b");
    EXPECT_EQ(comment(1), "alpha");
    EXPECT_EQ(comment(2), "breb");
    EXPECT_EQ(comment(3), "bbnbnb");
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 2);
    list.Undo();
    EXPECT_EQ(comment(2), "Area");
    EXPECT_EQ(comment(3), "banana");
}

TEST_F(Search, ReplaceAsksFirstAndPicksTheLanguage) {
    open({Rem("start"), Text("Osaka", "大阪"), Text("Kobe", "神戸"), Text("Kyoto", "京都KT")});
    const double id = map().Item(2)->FigID();
    list.JumpRow(1);
    testsupport::ScriptedBoxes boxes;
    boxes.expect("置換前：Osaka\r\n置換後：OSAKA-shi\r\n\r\n置換しますか？", plat::IdYes)
        .expect("置換前：神戸\r\n置換後：こうべ", plat::IdNo)
        .expect("置換前：京都KT\r\n置換後：京都goya", plat::IdYes);
    run(2, 2, "osaka", "OSAKA-shi");
    EXPECT_EQ(static_cast<const clsMapText&>(*map().Item(2)).TextUnicode(1), "OSAKA-shi");
    EXPECT_EQ(map().Item(2)->FigID(), id);   // the same figure, renewed
    run(2, 2, "神戸", "こうべ");             // No: nothing changes
    EXPECT_EQ(static_cast<const clsMapText&>(*map().Item(3)).TextUnicode(2), "神戸");
    EXPECT_EQ(row(), 3);
    // A half-width keyword the European name lacks changes the Japanese one.
    run(2, 2, "kt", "goya");
    EXPECT_EQ(static_cast<const clsMapText&>(*map().Item(4)).TextUnicode(2), "京都goya");
    EXPECT_EQ(static_cast<const clsMapText&>(*map().Item(4)).TextUnicode(1), "Kyoto");
}

TEST_F(Search, LockedMapsKeepTheirTexts) {
    open({Rem("one"), Rem("two a"), Rem("three a")});
    map().setLockMode(true);
    const MapFigurePtr figure = map().Item(2);
    list.JumpRow(1);
    testsupport::ScriptedBoxes boxes;
    boxes.expect("置換しますか？", plat::IdYes).expect("は変更禁止.", plat::IdOk);
    run(2, 2, "a", "b");
    EXPECT_EQ(map().Item(2), figure);
    EXPECT_EQ(comment(2), "two a");
    // Replace all tells the lock once.
    boxes.expect("は変更禁止.", plat::IdOk).expect("0個置換しました.", plat::IdOk);
    run(3, 2, "a", "b");
    EXPECT_EQ(comment(3), "three a");
}

TEST_F(Search, EscStopsQuietly) {
    open({});
    for (int i = 0; i < 100; ++i) map().Add(Rem("x"));
    list.RowsChanged();
    list.JumpRow(1);
    QTimer::singleShot(0, [this] { list.EscAbort = true; });
    run(1, 2, "nothing");   // no message
    EXPECT_EQ(row(), 1);
}

TEST_F(Search, TheDialogHandsItsAnswersToTheList) {
    open({Rem("a"), Lined<clsMapPolyline>({{10, 20}, {30, 40}}), Coloured(0, 0xFF), Symbol(30, 40)});
    list.JumpRow(2);
    std::vector<frmMapSearchLogic> seen;
    list.onSearchDialog = [&](frmMapSearchLogic& d) {
        d.Load();
        seen.push_back(d);
        d.Close(1, "ignored", "", 1);   // the second node
    };
    list.OpenSearch(3);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Color, -1);
    EXPECT_EQ(seen[0].NodeEntries(), (QStringList{"00001 " + LonToStr(10) + " " + LatToStr(20), "00002 " + LonToStr(30) + " " + LatToStr(40)}));
    EXPECT_EQ(list.SearchRecord.Mode, 1);
    EXPECT_EQ(std::make_pair(list.SearchRecord.PosX, list.SearchRecord.PosY), std::make_pair(30, 40));
    EXPECT_FALSE(list.SearchDialog().NodePoly);
    EXPECT_EQ(row(), 4);
    list.SearchBack();
    EXPECT_EQ(row(), 2);
    // Cancelled: the answers are kept, nothing is searched.
    list.JumpRow(3);
    list.onSearchDialog = [](frmMapSearchLogic& d) {
        d.Load();
        d.Close(0, "kept", "", -1);
    };
    list.OpenSearch(4);
    EXPECT_EQ(list.SearchRecord.Mode, 0);
    EXPECT_EQ(list.SearchRecord.Color, 0xFF);
    EXPECT_EQ(list.SearchRecord.Keyword, "kept");
    EXPECT_EQ(row(), 3);
}

// ------------------------------------------------------------ the dialog

TEST(SearchDialog, KeywordsWithAnglesAreRewrittenInTheAngleFormat) {
    DisplaySettings settings;
    const struct {
        QString typed;
        QString expected;
        bool angles;
    } cases[] = {
        {"Tokyo", "Tokyo", false},
        {"", "", false},
        {"E135°30′ N35°", LonToStr(135 * 3600 + 1800) + "," + LatToStr(35 * 3600), true},
        {"N35 Tokyo", LatToStr(35 * 3600) + ",Tokyo", true},
        {"E135°30′15\"", LonToStr(135 * 3600 + 1815), true},
    };
    for (const auto& c : cases) {
        bool angles = true;
        EXPECT_EQ(frmMapSearchLogic::NormalizeKeyword(c.typed, &angles), c.expected) << c.typed.toStdString();
        EXPECT_EQ(angles, c.angles) << c.typed.toStdString();
    }
}

TEST(SearchDialog, ClosingKeepsHistoriesAndResetsTheAngleRule) {
    DisplaySettings settings;
    frmMapSearchLogic d;
    d.Target = 1;
    d.Load();
    d.Close(1, "E135°", "", -1);
    EXPECT_EQ(d.Keyword, LonToStr(135 * 3600));
    d.Close(1, "plain words", "", -1);   // no angle: kept as typed
    EXPECT_EQ(d.Keyword, "plain words");
    d.Close(1, "plain words", "", -1);
    d.Target = 2;
    d.Direction = 1;
    d.Close(3, "a", "b", -1);
    d.Close(0, "", "b", -1);
    EXPECT_EQ(d.Direction, 2);
    EXPECT_EQ(d.KeywordHistory, (QStringList{LonToStr(135 * 3600), "plain words", "a"}));
    EXPECT_EQ(d.ReplaceHistory, (QStringList{"b"}));
    // A coordinate search without nodes becomes a text search.
    d.Target = 3;
    d.NodePoly.reset();
    d.Load();
    EXPECT_EQ(d.Target, 2);
}

TEST(SearchDialog, ControlsFollowTheTarget) {
    DisplaySettings settings;
    SetMapModeSource([] { return 1; });
    frmMapSearchLogic logic;
    logic.KeywordHistory = {"old", "new"};
    logic.Keyword = "typed";
    logic.Target = 3;
    logic.Color = 0x0000FF;
    logic.NodePoly = std::make_shared<clsPoly>();
    logic.NodePoly->AddXandY(1, 2);
    logic.NodePoly->AddXandY(3, 4);
    frmMapSearch dialog(logic);
    dialog.loadControls();
    EXPECT_EQ(dialog.choKeyword->itemText(0), "new");
    EXPECT_EQ(dialog.choKeyword->currentText(), "typed");
    EXPECT_TRUE(dialog.optTarget[3]->isChecked());
    EXPECT_TRUE(dialog.choNode->isEnabled());
    EXPECT_FALSE(dialog.choKeyword->isEnabled());
    EXPECT_EQ(dialog.cmdPalette->text(), "BGR=0000FF");
    testsupport::SaveWidgetPng(&dialog, "node");
    dialog.optTarget[2]->click();
    EXPECT_TRUE(dialog.cmdReplaceAll->isEnabled() && dialog.choReplace->isEnabled());
    EXPECT_FALSE(dialog.choNode->isEnabled() || dialog.cmdPalette->isEnabled());
    testsupport::SaveWidgetPng(&dialog, "text");
    dialog.optTarget[4]->click();
    EXPECT_TRUE(dialog.cmdPalette->isEnabled());
    EXPECT_FALSE(dialog.cmdReplace->isEnabled());
    // The palette offers "no own colour".
    MapListHost host;
    host.InputNativeColor = [](int32_t) { return -1; };
    const MapListHost previous = SetMapListHost(host);
    dialog.cmdPalette->click();
    SetMapListHost(previous);
    EXPECT_EQ(dialog.cmdPalette->text(), "事象依存");
    // Replace all closes with the downward direction.
    dialog.optDirection[1]->click();
    dialog.optTarget[2]->click();
    dialog.cmdReplaceAll->click();
    EXPECT_EQ(logic.Command, 3);
    EXPECT_EQ(logic.Direction, 2);
    EXPECT_EQ(std::make_pair(logic.PosX, logic.PosY), std::make_pair(1, 2));
    SetMapModeSource({});
}
