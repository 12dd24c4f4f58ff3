#include "MapSymbolTestSupport.h"

#include "FlexGridData.h"
#include "MessageBox.h"
#include "ThingsEditModel.h"
#include "basHThing.h"

using namespace symboltest;

namespace {

const QString kRange = QStringLiteral("事象番号は 0～999");
const QString kTaken = QStringLiteral("すでに使われている事象番号です.");
const QString kAskReplace = QStringLiteral("本当に置換しますか？");
const QString kAskDelete = QStringLiteral("本当に削除しますか？");

struct ThingsEdit : ::testing::Test {
    long language = gvLanguage;
    MapUnitPtr unit;
    plat::FlexGridData grid;
    ThingsEditModel m;

    ThingsEdit() {
        gvLanguage = 2;
        unit = Unit(QStringLiteral("/maps/W.MLL"));
        unit->Things().setFileName(QStringLiteral("/maps/WORLD.THG"));
        grid.setFormatString(ThingsEditModel::GridFormat());
        m.attach(&grid);
        m.TargetThings = &unit->Things();
        m.TargetMap = &unit->Map();
        EXPECT_TRUE(m.Load());
    }
    ~ThingsEdit() override { gvLanguage = language; }

    QStringList numbers() const {
        QStringList out;
        for (int32_t r = 1; r < grid.Rows(); ++r) out << grid.TextMatrix(r, 0);
        return out;
    }
    void active(const char* number, const QString& name, int figure = 2, int category = 0) {
        m.NumberText = QString::fromUtf8(number);
        m.Name = name;
        m.FigureIndex = figure - 1;
        m.CategoryIndex = category;
    }
    void select(int32_t row) { m.SelectThingRow(row); }
};

TEST_F(ThingsEdit, OpensOnCopiesOfTheCatalogue) {
    EXPECT_EQ(numbers(), (QStringList{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("海岸"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("多辺形"));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("陸地"));
    EXPECT_EQ(m.CategoryNames, (QStringList{"海岸", "交通", "空", "注記"}));
    EXPECT_EQ(m.Caption(), QStringLiteral("事象編集 - WORLD.THG"));
    EXPECT_EQ(m.TotalText(), QStringLiteral("事象数 = 6"));
    EXPECT_EQ(m.Row(), 1);
    EXPECT_EQ(m.Name, QStringLiteral("海岸線"));
    EXPECT_NE(m.EditList[0].get(), unit->Things().Item(1).get());

    ThingsEditModel empty;
    clsThings none;
    empty.TargetThings = &none;
    EXPECT_FALSE(empty.Load());
}

TEST_F(ThingsEdit, TheWarningIsAskedOncePerOpening) {
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("実行しますか？"), plat::IdNo);
        EXPECT_FALSE(m.Activate());
        EXPECT_TRUE(m.Activate());
    }
    ASSERT_TRUE(m.Load());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("根本的な変更"), plat::IdYes);
    EXPECT_TRUE(m.Activate());
}

TEST_F(ThingsEdit, NewThingsStartWithTheStyleOfTheirKind) {
    const struct {
        int16_t kind;
        int16_t style, size;
        const char* font;
    } cases[] = {
        {1, 0, 0, "(default)"}, {2, 0, LINE_WIDTH_MIN, "(default)"}, {3, 8, 0, "(default)"},
        {4, 0, 0, "(default)"}, {5, 0, FONT_HEIGHT_MIN, "SYSTEM"},
    };
    for (const auto& c : cases) {
        const ThingPtr t = ThingsEditModel::NewThing(12, QStringLiteral("x"), c.kind, 3);
        EXPECT_EQ(t->Figure(), c.kind);
        EXPECT_EQ(t->Category(), 3);
        EXPECT_FALSE(t->Modify());
        for (int p = -8; p <= 8; ++p) {
            if (p == 0) continue;
            const ThingPage& page = t->PageRecord(p);
            EXPECT_EQ(page.ShowMode, -1) << c.kind << " page " << p;
            EXPECT_EQ(page.Back, 0xFFFFFF);
            EXPECT_EQ(page.Style, c.style) << c.kind;
            EXPECT_EQ(page.Size, c.size) << c.kind;
            EXPECT_EQ(page.Japanese, QString::fromLatin1(c.font));
            EXPECT_EQ(page.ScaleS, ThingPage::Default().ScaleS);
            EXPECT_EQ(page.ScaleL, ThingPage::Default().ScaleL);
        }
    }
}

TEST_F(ThingsEdit, NumberTextsOutsideTheRangeAreRefused) {
    const struct {
        const char* text;
        int16_t number;   // -1: the range message
    } cases[] = {
        {"abc", -1}, {"", -1}, {"1000", -1}, {"-1", -1}, {"1e9", -1},
        {"0", 0},    {"999", 999}, {"12.5", 12}, {"13.5", 14}, {"１２", 12}, {"-0.4", 0},
    };
    for (const auto& c : cases) {
        active(c.text, QStringLiteral("新"));
        testsupport::ScriptedBoxes boxes;
        if (c.number < 0) boxes.expect(kRange, plat::IdOk);
        const ThingPtr t = m.CreateThing();
        EXPECT_EQ(t ? t->Index() : -1, c.number) << c.text;
    }
    active("7", QString());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("事象名を設定してください."), plat::IdOk);
    EXPECT_EQ(m.CreateThing(), nullptr);
}

TEST_F(ThingsEdit, InsertGoesBeforeTheSelectedRowOnce) {
    select(3);
    active("20", QStringLiteral("港湾"), 4, 1);
    m.Insert();
    EXPECT_EQ(numbers(), (QStringList{"1", "2", "20", "3", "4", "5", "6"}));
    EXPECT_EQ(m.Row(), 3);
    EXPECT_EQ(grid.TextMatrix(3, 1), QStringLiteral("交通"));
    EXPECT_EQ(grid.TextMatrix(3, 2), QStringLiteral("点記号"));
    EXPECT_EQ(m.TotalText(), QStringLiteral("事象数 = 7"));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(kTaken, plat::IdOk);
        active("20", QStringLiteral("again"));
        m.Insert();
    }
    {
        testsupport::ScriptedBoxes boxes;   // "abc" no longer becomes thing 0
        boxes.expect(kRange, plat::IdOk);
        active("abc", QStringLiteral("x"));
        m.Insert();
    }
    EXPECT_EQ(m.Count(), 7);
}

TEST_F(ThingsEdit, ReplaceAsksOnlyWhenAUsedNumberChanges) {
    const struct {
        int32_t row;
        const char* number;
        bool asks;
        int answer;
        const char* first;   // the row's number afterwards
    } cases[] = {
        {1, "1", false, 0, "1"},                    // same number, used: no question
        {1, "10", true, plat::IdNo, "1"},
        {1, "10", true, plat::IdYes, "10"},
        {3, "30", false, 0, "30"},                  // thing 3 is not used by the map
    };
    for (const auto& c : cases) {
        select(c.row);
        active(c.number, QStringLiteral("替"));
        testsupport::ScriptedBoxes boxes;
        if (c.asks) boxes.expect(kAskReplace, c.answer);
        m.Replace();
        EXPECT_EQ(grid.TextMatrix(c.row, 0), QString::fromLatin1(c.first)) << c.number;
        EXPECT_EQ(m.Row(), c.row);
    }
    select(2);
    active("4", QStringLiteral("dup"));   // another row's number
    testsupport::ScriptedBoxes boxes;
    boxes.expect(kAskReplace, plat::IdYes);
    boxes.expect(kTaken, plat::IdOk);
    m.Replace();
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("陸地"));
    EXPECT_EQ(m.Count(), 6);
}

TEST_F(ThingsEdit, DeleteAsksForUsedThings) {
    {
        testsupport::ScriptedBoxes boxes;
        select(2);
        boxes.expect(kAskDelete, plat::IdNo);
        m.Delete();
        EXPECT_EQ(m.Count(), 6);
    }
    select(3);   // not used
    m.Delete();
    EXPECT_EQ(numbers(), (QStringList{"1", "2", "4", "5", "6"}));
    EXPECT_EQ(m.Row(), 3);
    select(5);   // the last: row 1 stays selected
    m.Delete();
    EXPECT_EQ(m.Row(), 1);
    EXPECT_EQ(m.Name, QStringLiteral("海岸線"));
}

TEST_F(ThingsEdit, RowsMoveUpAndDownWithinTheList) {
    select(1);
    EXPECT_FALSE(m.UpEnabled());
    m.Up();
    m.Down();
    EXPECT_EQ(numbers(), (QStringList{"2", "1", "3", "4", "5", "6"}));
    EXPECT_EQ(m.Row(), 2);
    select(6);
    EXPECT_FALSE(m.DownEnabled());
    m.Down();
    m.Up();
    EXPECT_EQ(numbers(), (QStringList{"2", "1", "3", "4", "6", "5"}));
    EXPECT_EQ(m.Row(), 5);
    select(5);
    m.Down();
    EXPECT_EQ(numbers(), (QStringList{"2", "1", "3", "4", "5", "6"}));
    EXPECT_EQ(m.Row(), 6);
}

TEST_F(ThingsEdit, OkMakesTheCatalogueHoldTheListInOrder) {
    select(1);
    m.Down();
    select(3);
    m.Delete();
    active("50", QStringLiteral("新規"), 3, 2);
    m.Insert();
    unit->Things().setModify(false);
    m.OK();
    EXPECT_TRUE(m.DialogOK);
    QStringList order;
    for (const ThingPtr& t : unit->Things()) order << QString::number(t->Index());
    EXPECT_EQ(order, (QStringList{"2", "1", "50", "4", "5", "6"}));
    EXPECT_TRUE(unit->Things().Modify());
    EXPECT_EQ(unit->Things().Item(50)->Style(), 8);
    EXPECT_EQ(unit->Things().Item(50)->Category(), 3);   // the third listed: "空"
}

TEST_F(ThingsEdit, AReadOnlyCatalogueStaysAsItWas) {
    unit->Things().setLockMode(true);
    ASSERT_TRUE(m.Load());
    EXPECT_TRUE(m.Locked);
    EXPECT_FALSE(m.UpEnabled());
    select(3);
    m.Delete();
    EXPECT_EQ(m.Count(), 6);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("は変更禁止. [Remove]"), plat::IdOk);
    m.OK();
    EXPECT_EQ(unit->Things().Count(), 6);
}

} // namespace
