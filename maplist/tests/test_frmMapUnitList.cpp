#include "frmMapListTestSupport.h"

#include "FlexGrid.h"
#include "MapListHost.h"
#include "basLibrary.h"
#include "frmMapUnitList.h"

#include <QFile>
#include <QPushButton>

using namespace listtest;

namespace {

// A set of the base unit, A (3 figures), B (2) and E (no figure, active),
// and a map file ADD.MLL of 4 figures on disk.
struct UnitList : ::testing::Test {
    DisplaySettings settings;
    testsupport::TempDir dir;
    plat::FlexGridData grid;
    frmMapUnitListLogic list;
    std::unique_ptr<clsMapUnits> units;
    QStringList unloaded;
    MapListHost previousHost;
    QString previousFolder = gvMapFolder;

    UnitList() {
        for (const char* f : {"DEFAULT.ADM", "DEFAULT.THG"})
            QFile::copy(QStringLiteral(KAL_SOURCE_DIR "/data/maps/") + f, dir.file(f));
        gvMapFolder = dir.path();
        auto add = Unit(dir.file("ADD.MLL"), {Symbol(1, 1), Symbol(2, 2), Symbol(3, 3), Symbol(4, 4)});
        add->setEstablished(true);
        add->Map().setModify(true);
        EXPECT_TRUE(add->Save(false));
        MapListHost host;
        host.UnloadMapUnit = [this](const MapUnitPtr& u) { unloaded << FileNameOf(u->UnitName()); };
        previousHost = SetMapListHost(host);
        units = Units({Unit("/maps/BASE.MLL", {Rem("b")}), Unit("/maps/A.MLL", {Rem("1"), Rem("2"), Rem("3")}),
                       Unit("/maps/B.MLL", {Rem("1"), Rem("2")}), Unit("/maps/E.MLL")});
        list.attach(&grid);
        list.UnitSet = units.get();
        EXPECT_TRUE(list.Load());
    }
    ~UnitList() override {
        SetMapListHost(previousHost);
        gvMapFolder = previousFolder;
    }
    QStringList column(int c) const {
        QStringList out;
        for (int32_t r = 1; r < grid.Rows(); ++r) out << grid.TextMatrix(r, c);
        return out;
    }
    QStringList setNames() const {
        QStringList out;
        for (const MapUnitPtr& u : *units) out << FileNameOf(u->UnitName());
        return out;
    }
    void click(int32_t row, int32_t col) {
        grid.select(row, col, row, col);
        list.GridClick();
    }
};

} // namespace

TEST_F(UnitList, GridShowsEveryUnit) {
    EXPECT_EQ(list.Caption(), "地図ユニットリスト - 経緯度地図");
    ASSERT_EQ(grid.Cols(), 11);
    QStringList titles;
    for (int c = 0; c < 11; ++c) titles << grid.TextMatrix(0, c);
    EXPECT_EQ(titles.join('|'), "No.|地図名|表示|検索|地図図形ファイル名|修正|図形数|事象ファイル名|修正|行政区ファイル名|修正");
    EXPECT_EQ(column(0), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(column(4), QStringList({"/maps/BASE.MLL", "/maps/A.MLL", "/maps/B.MLL", "/maps/E.MLL"}));
    EXPECT_EQ(column(6), QStringList({"1", "3", "2", "0"}));
    EXPECT_EQ(column(7).last(), "/maps/E.THG");
    EXPECT_EQ(column(2), QStringList({"Yes", "Yes", "Yes", "Yes"}));
    EXPECT_EQ(grid.Row(), 4);   // the active unit
    EXPECT_TRUE(list.RemoveEnabled && list.ClearEnabled);
    // Up from row 3 on, down from rows 2 .. next to last: never above the base.
    const bool moves[5][2] = {{}, {false, false}, {false, true}, {true, true}, {true, false}};
    for (int32_t r = 1; r <= 4; ++r) {
        click(r, 0);
        EXPECT_EQ(list.UpEnabled, moves[r][0]) << r;
        EXPECT_EQ(list.DownEnabled, moves[r][1]) << r;
    }
    EXPECT_EQ(frmMapUnitListLogic::ToolTipAt(3), "地図別検索許可切り替え");
}

TEST_F(UnitList, SwitchesReachTheUnitsOnOK) {
    click(1, 2);   // the base unit's display switch
    click(3, 3);
    click(3, 2);
    EXPECT_EQ(column(2), QStringList({"No", "Yes", "No", "Yes"}));
    EXPECT_EQ(column(3), QStringList({"Yes", "Yes", "No", "Yes"}));
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 0);   // whole row again: the next redraw does not toggle
    EXPECT_TRUE(units->Base()->DisplaySwitch());   // nothing before OK
    list.OK();
    EXPECT_FALSE(units->Base()->DisplaySwitch());
    EXPECT_FALSE(units->Item(3)->DisplaySwitch() || units->Item(3)->SearchSwitch());
    EXPECT_TRUE(units->Item(2)->DisplaySwitch() && units->Item(2)->SearchSwitch());
}

TEST_F(UnitList, AddRemoveReorderAndRebuild) {
    testsupport::ScriptedBoxes boxes;
    boxes.expectOpenFile("", "/maps/a.mll")               // listed already, in another case
        .expectOpenFile("", dir.file("ADD.MLL"))
        .expectOpenFile("", "")                           // cancelled
        .expectOpenFile("", "/maps/A.MLL")                // again, once the listed one is removed
        .expect("地図図形ファイルが存在しません.", plat::IdOk);   // read on OK: there is no such file
    list.Add();
    EXPECT_EQ(grid.Rows(), 5);
    list.Add();
    ASSERT_EQ(grid.Rows(), 6);
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(boxes.fileRequests()[1].fileName, "/maps/a.mll");   // the last chosen file is proposed
    EXPECT_EQ(grid.TextMatrix(5, 0), "5");
    EXPECT_EQ(grid.TextMatrix(5, 6), "0");
    EXPECT_EQ(grid.TextMatrix(5, 9), dir.file("ADD.ADM"));
    list.Add();
    EXPECT_EQ(grid.Rows(), 6);

    click(2, 0);
    list.Remove();           // A
    EXPECT_EQ(column(0), QStringList({"1", "3", "4", "5"}));
    click(1, 0);
    list.Remove();           // the base stays
    list.Add();              // A again, at the end
    EXPECT_EQ(column(0), QStringList({"1", "3", "4", "5", "6"}));
    click(2, 0);
    list.Up();               // only the base above: nothing
    click(5, 0);
    list.Down();             // the last: nothing
    list.Up();               // A over ADD, skipping nothing
    list.Up();
    EXPECT_EQ(column(4).mid(1), QStringList({"/maps/B.MLL", "/maps/A.MLL", "/maps/E.MLL", dir.file("ADD.MLL")}));
    EXPECT_EQ(grid.Row(), 3);

    list.OK();
    // The removed A and the empty E leave through the unload question; the
    // A added again does not load and is dropped.
    EXPECT_EQ(setNames(), QStringList({"BASE.MLL", "B.MLL", "ADD.MLL"}));
    EXPECT_EQ(unloaded, QStringList({"A.MLL", "E.MLL"}));
    EXPECT_EQ(units->Index(), 1);   // the current row's A is not in the set: the base
    EXPECT_TRUE(list.DialogOK);
}

TEST_F(UnitList, ClearAndActiveUnit) {
    testsupport::ScriptedBoxes boxes;
    boxes.expectOpenFile("", dir.file("ADD.MLL"));
    list.Add();
    list.Clear();
    EXPECT_EQ(column(0), QStringList({"1"}));
    EXPECT_FALSE(list.UpEnabled || list.DownEnabled);
    list.Unload();   // Cancel: nothing happens to the set
    EXPECT_EQ(setNames(), QStringList({"BASE.MLL", "A.MLL", "B.MLL", "E.MLL"}));
    EXPECT_TRUE(unloaded.isEmpty());

    list.UnitSet = units.get();
    ASSERT_TRUE(list.Load());
    click(3, 0);
    list.OK();
    EXPECT_EQ(setNames(), QStringList({"BASE.MLL", "A.MLL", "B.MLL"}));
    EXPECT_EQ(units->Index(), 3);   // B, the current row
}

TEST_F(UnitList, ColumnsWidenToTheGrid) {
    const std::array<int32_t, 11> design = {400, 1000, 400, 400, 1000, 400, 500, 1000, 400, 1000, 400};   // 6900
    // 12255 wide: 5100 to share, u = 510.
    const auto w = frmMapUnitListLogic::WidenedColumns(12255, design);
    EXPECT_EQ(w, (std::array<int32_t, 11>{400, 4570, 400, 400, 1510, 400, 500, 1510, 400, 1510, 12255}));
    EXPECT_EQ(frmMapUnitListLogic::WidenedColumns(3000, design)[1], 120);   // narrower than the design
}

TEST_F(UnitList, DialogPicture) {
    list.Unload();
    frmMapUnitList dialog;
    dialog.logic().UnitSet = units.get();
    ASSERT_TRUE(dialog.loadControls());
    EXPECT_EQ(dialog.windowTitle(), "地図ユニットリスト - 経緯度地図");
    EXPECT_EQ(dialog.flgInfos->Rows(), 5);
    EXPECT_FALSE(dialog.cmdDown->isEnabled());
    EXPECT_TRUE(dialog.cmdUp->isEnabled());
    const QString png = testsupport::SaveWidgetPng(&dialog);
    EXPECT_TRUE(QFileInfo::exists(png));
    dialog.unloadControls();
    EXPECT_EQ(dialog.flgInfos->Rows(), 1);
}
