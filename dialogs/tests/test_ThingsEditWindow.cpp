// The thing list editor's window and the style library frame of the
// map-symbol window: controls reach their models, and both are rendered for
// a person to look at.
#include "MapSymbolTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "FlexGrid.h"
#include "HelpPages.h"
#include "frmMapSymbol.h"
#include "frmThingsEdit.h"

using namespace symboltest;

namespace {

struct ThingsEditWindow : ::testing::Test {
    long language = gvLanguage;
    MapUnitPtr unit;
    ThingsEditModel m;
    ThingsEditWindow() {
        gvLanguage = 2;
        unit = Unit(QStringLiteral("/maps/W.MLL"));
        unit->Things().setFileName(QStringLiteral("/maps/WORLD.THG"));
        m.TargetThings = &unit->Things();
        m.TargetMap = &unit->Map();
    }
    ~ThingsEditWindow() override { gvLanguage = language; }
};

TEST_F(ThingsEditWindow, WarnsThenEditsTheListAndOkRewritesTheCatalogue) {
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("実行しますか？"), plat::IdYes);
    frmThingsEdit dlg(nullptr, m);
    ASSERT_TRUE(dlg.loadControls());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.Warned; })) << "the warning comes once the window stands";
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("事象編集 - WORLD.THG"));
    EXPECT_EQ(dlg.totalLabel()->text(), QStringLiteral("事象数 = 6"));
    EXPECT_EQ(dlg.nameBox()->text(), QStringLiteral("海岸線"));
    EXPECT_FALSE(dlg.upButton()->isEnabled());
    EXPECT_TRUE(dlg.downButton()->isEnabled());
    EXPECT_EQ(dlg.numberBox()->count(), 1000);
    EXPECT_EQ(dlg.figureBox()->itemText(4), QStringLiteral("文字列"));

    m.SelectThingRow(3);
    dlg.numberBox()->setCurrentText(QStringLiteral("30"));
    dlg.nameBox()->setText(QStringLiteral("新しい道"));
    dlg.figureBox()->setCurrentIndex(1);
    dlg.categoryBox()->setCurrentIndex(1);
    dlg.insertButton()->click();
    EXPECT_EQ(dlg.grid()->cells().TextMatrix(3, 3), QStringLiteral("新しい道"));
    EXPECT_EQ(dlg.totalLabel()->text(), QStringLiteral("事象数 = 7"));
    EXPECT_TRUE(dlg.upButton()->isEnabled());
    testsupport::SaveWidgetPng(&dlg);
    dlg.okButton()->click();
    EXPECT_TRUE(m.DialogOK);
    EXPECT_EQ(unit->Things().Count(), 7);
    EXPECT_EQ(unit->Things().Item(30)->Name(), QStringLiteral("新しい道"));
}

TEST_F(ThingsEditWindow, NoToTheWarningClosesWithNothingChanged) {
    unit->Things().setLockMode(true);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("実行しますか？"), plat::IdNo);
    frmThingsEdit dlg(nullptr, m);
    ASSERT_TRUE(dlg.loadControls());
    for (QWidget* w : std::initializer_list<QWidget*>{dlg.numberBox(), dlg.nameBox(), dlg.insertButton(), dlg.deleteButton(),
                                                      dlg.replaceButton(), dlg.upButton(), dlg.downButton()})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    dlg.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); })) << "the answer closes the window";
    EXPECT_FALSE(m.DialogOK);
    EXPECT_EQ(unit->Things().Count(), 6);
}

struct LibraryWindow : Opening {
    testsupport::TempDir dir;
    QString oldFolder = gvMapFolder;
    LibraryWindow() {
        m.Unload();
        gvMapFolder = dir.path();
    }
    ~LibraryWindow() override { gvMapFolder = oldFolder; }
};

TEST_F(ThingsEditWindow, HelpPageNamesOnlyItsControls) {
    frmThingsEdit dlg(nullptr, m);
    ASSERT_TRUE(dlg.loadControls());
    EXPECT_EQ(testsupport::NamesNotInWindow(ThingsEditModel::kHelpContext, dlg), QStringList());
}

TEST_F(LibraryWindow, TypedNameSavesAndTheListOpensIt) {
    m.TargetUnits = units.get();
    frmMapSymbol dlg(nullptr, m);
    ASSERT_TRUE(dlg.loadControls());
    m.CurThings->setFileName(dir.file(QStringLiteral("W.THG")));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.libraryList()->count(), 0);
    EXPECT_FALSE(dlg.libOpenButton()->isEnabled());
    EXPECT_TRUE(dlg.libShowBox()->isChecked());

    dlg.libraryList()->setEditText(QStringLiteral("abc"));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("保存に成功しました."), plat::IdOk);
        dlg.libSaveButton()->click();
    }
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("__abc.THG"))));
    EXPECT_EQ(dlg.libraryList()->count(), 1);
    EXPECT_EQ(dlg.libraryList()->currentText(), QStringLiteral("abc"));
    EXPECT_TRUE(dlg.libOpenButton()->isEnabled());

    dlg.libShowBox()->click();
    EXPECT_FALSE(m.EiLibShow);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("事象リストを更新しました."), plat::IdOk);
        dlg.libOpenButton()->click();
    }
    testsupport::SaveWidgetPng(&dlg);
    dlg.libShowBox()->click();
    dlg.cancelButton()->click();
}

} // namespace
