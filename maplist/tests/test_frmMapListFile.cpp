#include "frmMapListTestSupport.h"

#include "FileOps.h"
#include "MapListHost.h"
#include "clsMapRem.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace listtest;

namespace {

// The base unit and the default catalogues in a map folder of our own; a
// user unit "USER.MLL" of 6 symbols (and the date line its save puts in
// after the first) on disk beside them.
struct FileList : ::testing::Test {
    DisplaySettings settings;
    testsupport::TempDir dir;
    FakeGrid grid;
    frmMapListLogic list;
    std::unique_ptr<clsMapUnits> units;
    int reminderResets = 0;
    MapListHost previousHost;
    QString previousFolder = gvMapFolder;

    FileList() {
        for (const char* f : {"BASE.MLL", "BASE.ADM", "BASE.THG", "DEFAULT.ADM", "DEFAULT.THG"})
            QFile::copy(QStringLiteral(KAL_SOURCE_DIR "/data/maps/") + f, dir.file(f));
        gvMapFolder = dir.path();
        MapListHost host;
        host.ResetSaveReminder = [this] { ++reminderResets; };
        previousHost = SetMapListHost(host);
        units = std::make_unique<clsMapUnits>();
        units->Create(1);
        auto user = Unit(dir.file("USER.MLL"));
        for (int i = 1; i <= 6; ++i) user->Map().Add(Symbol(i, 0));
        user->setEstablished(true);
        EXPECT_TRUE(user->Save(false));
        units->Add(user);
        list.attach(&grid);
        list.MapUnits = units.get();
        EXPECT_TRUE(list.Load());
        EXPECT_TRUE(list.Activate());
    }
    ~FileList() override {
        SetMapListHost(previousHost);
        gvMapFolder = previousFolder;
    }
    static std::shared_ptr<clsMap> Read(const QString& path) {
        auto m = std::make_shared<clsMap>();
        m->setFileName(path);
        EXPECT_EQ(m->Load(), 0);
        return m;
    }
};

} // namespace

TEST_F(FileList, NewUnitIsSavedUnderTheChosenNameOnly) {
    testsupport::ScriptedBoxes boxes;
    boxes.expectSaveFile("新しい地図ファイル", "")                                      // cancelled
        .expectSaveFile("新しい地図ファイル", dir.file("user.mll"))                     // loaded already
        .expect("user.MLL\r\nは既に読み込まれています.", plat::IdOk)
        .expectSaveFile("新しい地図ファイル", dir.file("NEW.MLL"));
    for (int k = 0; k < 3; ++k) list.CreateUnit();
    // The proposal: the map folder, "UserMap", the time stamp's digits.
    const QString proposed = boxes.fileRequests().front().fileName;
    EXPECT_TRUE(QRegularExpression("^" + QRegularExpression::escape(dir.path()) + "/UserMap\\d{8,}\\.MLL$").match(proposed).hasMatch())
        << proposed.toStdString();
    EXPECT_TRUE(boxes.fileRequests().front().save);
    ASSERT_EQ(units->Count(), 3);
    EXPECT_EQ(list.UnitIndex, 3);
    EXPECT_EQ(list.MapUnit->UnitName(), dir.file("NEW.MLL"));
    EXPECT_EQ(list.UnitMenu().back().caption, dir.file("NEW.MLL") + " (&3)");
    for (const char* f : {"NEW.MLL", "NEW.THG", "NEW.ADM"}) EXPECT_TRUE(QFileInfo::exists(dir.file(f))) << f;
    EXPECT_EQ(Read(dir.file("NEW.MLL"))->Count(), list.MapUnit->Map().Count());
    EXPECT_FALSE(list.MapUnit->Modify());
}

TEST_F(FileList, SelectionSavedAsAMapOfItsOwn) {
    list.SetSelectRange(2, 4);
    list.Copy();   // the list's own clipboard is not touched by the command
    list.SetSelectRange(4, 6);
    testsupport::ScriptedBoxes boxes;
    boxes.expectSaveFile("", dir.file("PART.MLL"));
    list.SaveSelectionAsMap();
    EXPECT_EQ(boxes.fileRequests().front().fileName, dir.file("BlockMap.MLL"));
    EXPECT_EQ(list.PanelText(4), "編集領域行数:3");
    EXPECT_EQ(units->Count(), 2);

    const auto part = Read(dir.file("PART.MLL"));
    EXPECT_EQ(part->Version(), 106);
    std::vector<int32_t> xs;
    int emptyRemarks = 0;
    for (const MapFigurePtr& f : *part) {
        if (f->FigCode() == 1) emptyRemarks += std::static_pointer_cast<clsMapRem>(f)->Comment().isEmpty();
        else xs.push_back(f->Poly()->x(1));
    }
    EXPECT_EQ(emptyRemarks, 1);
    EXPECT_EQ(xs, std::vector<int32_t>({3, 4, 5}));
    EXPECT_EQ(part->Item(part->Count() - 3)->FigCode(), 1);   // the empty remark stands before the copies
    for (const char* f : {"PART.THG", "PART.ADM"}) EXPECT_TRUE(QFileInfo::exists(dir.file(f))) << f;
    EXPECT_FALSE(list.MapUnit->Map().Modify());
}

TEST_F(FileList, OpenInsertAndSave) {
    // A missing file is refused with its name.
    testsupport::ScriptedBoxes boxes;
    boxes.expectOpenFile("", dir.file("NONE.MLL"))
        .expect("NONE.MLL\r\nが存在しません.", plat::IdOk)
        .expectOpenFile("", dir.file("USER.MLL"))      // insert the user map into itself before row 2
        .expectSaveFile("", dir.file("COPY.MLL"));
    list.OpenUnit();
    EXPECT_EQ(units->Count(), 2);

    list.ChooseUnit(2);
    list.SetSelectRange(2, 2);
    list.InsertMapFile();
    EXPECT_EQ(list.RowCount(), 14);
    // The file's date line (put in by the save) comes along.
    std::vector<int32_t> xs;
    for (const MapFigurePtr& f : list.MapUnit->Map()) xs.push_back(f->FigCode() == 1 ? -1 : f->Poly()->x(1));
    EXPECT_EQ(xs, std::vector<int32_t>({1, 1, -1, 2, 3, 4, 5, 6, -1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(list.PanelText(4), "編集領域行数:0");
    EXPECT_TRUE(list.Caption().endsWith(" (更新)"));

    list.SaveUnitAs();
    EXPECT_EQ(list.Caption(), "地図図形リスト - [2] COPY.MLL");
    EXPECT_EQ(Read(dir.file("COPY.MLL"))->Count(), 14);
    EXPECT_EQ(Read(dir.file("USER.MLL"))->Count(), 7);
    EXPECT_EQ(reminderResets, 1);
    list.OverwriteUnit();
    EXPECT_EQ(reminderResets, 2);
}

TEST_F(FileList, AMapFileThatDoesNotLoadInsertsNothing) {
    testsupport::WriteBytes(dir.file("BAD.MLL"), "no map");
    ASSERT_TRUE(QDir(dir.path()).mkdir("DIR.MLL"));
    list.ChooseUnit(2);
    const int32_t rows = list.RowCount();
    testsupport::ScriptedBoxes boxes;
    boxes.expectOpenFile("", dir.file("BAD.MLL")).expect("地図バージョン確認不能", plat::IdOk);
    boxes.expectOpenFile("", dir.file("DIR.MLL")).expect("DIR.MLL", plat::IdCancel);   // cancel in the file-error box
    list.InsertMapFile();
    list.InsertMapFile();
    EXPECT_EQ(list.RowCount(), rows);
}
