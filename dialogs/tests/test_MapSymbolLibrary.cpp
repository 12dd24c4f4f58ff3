#include "MapSymbolTestSupport.h"

#include <QDir>

#include "MapSymbolLibrary.h"
#include "MessageBox.h"

using namespace symboltest;

namespace {

constexpr int32_t kBlue = 0xFF0000;

// A library file written through the catalogue itself.
void WriteLibrary(const QString& path, const QString& comment,
                  const std::function<void(clsThings&)>& fill) {
    clsThings lib;
    lib.setFileName(path);
    lib.setComment(comment);
    fill(lib);
    ASSERT_EQ(lib.Save(), 0);
}

ThingPtr Styled(int16_t n, const QString& name, int16_t kind, int32_t fore, int16_t show) {
    auto t = std::make_shared<clsThing>();
    t->setIndex(n);
    t->setName(name);
    t->setFigure(kind);
    for (int p = 1; p <= 8; ++p) {
        t->setPage(p);
        t->setFore(fore + p);   // every page its own colour
        t->setBack(0x00FF00);
        t->setShowMode(show);
        t->setStyle(kind == 3 ? 5 : 2);
        t->setSize(kind == 2 ? 4 : 20);
    }
    t->setPage(1);
    return t;
}

struct MapSymbolLibraryTest : Opening {
    testsupport::TempDir dir;
    QString oldFolder = gvMapFolder;
    MapSymbolLibrary lib{m};
    MapSymbolLibraryTest() {
        gvMapFolder = dir.path();
        m.CurThings->setFileName(dir.file(QStringLiteral("W.THG")));
        m.CurThings->setComment(QStringLiteral("working"));
        m.CurThings->setModify(false);
    }
    ~MapSymbolLibraryTest() override { gvMapFolder = oldFolder; }
    QString lib_(const QString& name) const { return dir.file(QStringLiteral("__") + name + QStringLiteral(".THG")); }
};

TEST_F(MapSymbolLibraryTest, TypedNamesAddressTheMapFolder) {
    const struct {
        const char* text;
        const char* file;   // empty: no library
    } cases[] = {
        {"abc", "__abc.THG"},       {"__abc", "__abc.THG"},   {"abc.txt", "__abc.THG"},
        {"sub/abc", "__abc.THG"},   {"__", "____.THG"},       {"", ""},
        {"a.b.thg", "__a.b.THG"},   {"日本", "__日本.THG"},
    };
    for (const auto& c : cases) {
        const QString got = MapSymbolLibrary::LibraryFilePath(QStringLiteral("/maps"), QString::fromUtf8(c.text));
        EXPECT_EQ(got, *c.file ? QStringLiteral("/maps/") + QString::fromUtf8(c.file) : QString()) << c.text;
    }
}

TEST_F(MapSymbolLibraryTest, ListKeepsThePathWhereEachLibraryWasFound) {
    gvMapFolder.clear();   // no folder: no search from the root
    lib.MakeLibraryList();
    EXPECT_TRUE(lib.Entries.empty());
    gvMapFolder = dir.path();
    lib.MakeLibraryList();
    EXPECT_TRUE(lib.Entries.empty());
    EXPECT_FALSE(lib.OpenEnabled());

    QDir(dir.path()).mkpath(QStringLiteral("sub"));
    const QString inSub = dir.file(QStringLiteral("sub/__road.THG"));
    WriteLibrary(lib_(QStringLiteral("coast")), {}, [](clsThings& l) { l.Add(Styled(1, QStringLiteral("陸地"), 3, kBlue, 1)); });
    WriteLibrary(inSub, {}, [](clsThings& l) { l.Add(Styled(1, QStringLiteral("陸地"), 3, 0x0000FF, 1)); });
    testsupport::WriteBytes(dir.file(QStringLiteral("coast.THG")), "not a library");
    lib.MakeLibraryList();
    ASSERT_EQ(lib.Names(), (QStringList{QStringLiteral("coast"), QStringLiteral("road")}));
    EXPECT_TRUE(lib.OpenEnabled());
    EXPECT_EQ(lib.Current, 0);
    EXPECT_EQ(lib.Text, QStringLiteral("coast"));

    lib.Choose(1);
    EXPECT_EQ(lib.LibraryFilePath(), inSub);
    // Opening the subfolder's entry reads that file, not one of its name in the map folder.
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("事象リストを更新しました."), plat::IdOk);
    EXPECT_TRUE(lib.Open());
    EXPECT_EQ(work(u"陸地").PageRecord(1).Fore, 0x0000FF + 1);

    lib.Text = QStringLiteral("road2");   // typed over the entry
    EXPECT_EQ(lib.LibraryFilePath(), lib_(QStringLiteral("road2")));
}

TEST_F(MapSymbolLibraryTest, SaveWritesTheWorkingCopyAndLeavesItAsItWas) {
    lib.MakeLibraryList();
    lib.Text = QStringLiteral("abc");
    m.CurThings->setLockMode(true);   // a read-only thing file
    m.CurThings->setModify(false);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("保存に成功しました."), plat::IdOk);
        EXPECT_TRUE(lib.Save());
    }
    EXPECT_TRUE(FileExists(lib_(QStringLiteral("abc"))));
    EXPECT_EQ(m.CurThings->FileName(), dir.file(QStringLiteral("W.THG")));
    EXPECT_EQ(m.CurThings->Comment(), QStringLiteral("working"));
    EXPECT_FALSE(m.CurThings->Modify());
    EXPECT_TRUE(m.CurThings->LockMode());
    EXPECT_EQ(lib.Names(), QStringList{QStringLiteral("abc")});

    clsThings saved;
    saved.setFileName(lib_(QStringLiteral("abc")));
    ASSERT_EQ(saved.Load(), 0);
    EXPECT_EQ(saved.Count(), m.CurThings->Count());
    EXPECT_EQ(saved.Comment(), QStringLiteral("working"));
    EXPECT_EQ(saved.CategoryName(2), QStringLiteral("交通"));
}

TEST_F(MapSymbolLibraryTest, SavingOverALibraryAsksAndKeepsItsComment) {
    WriteLibrary(lib_(QStringLiteral("old")), QStringLiteral("shared styles"),
                 [](clsThings& l) { l.Add(Styled(1, QStringLiteral("陸地"), 3, kBlue, 1)); });
    lib.MakeLibraryList();
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("上書きしてもよいですか？"), plat::IdNo);
        EXPECT_FALSE(lib.Save());
    }
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("上書きしてもよいですか？"), plat::IdYes);
        boxes.expect(QStringLiteral("保存に成功しました."), plat::IdOk);
        EXPECT_TRUE(lib.Save());
    }
    clsThings saved;
    saved.setFileName(lib_(QStringLiteral("old")));
    ASSERT_EQ(saved.Load(), 0);
    EXPECT_EQ(saved.Comment(), QStringLiteral("shared styles"));
    EXPECT_EQ(saved.Count(), m.CurThings->Count());
    EXPECT_EQ(m.CurThings->Comment(), QStringLiteral("working"));
}

TEST_F(MapSymbolLibraryTest, OpenCopiesStylesByNameAndKind) {
    WriteLibrary(lib_(QStringLiteral("s")), {}, [](clsThings& l) {
        l.Add(Styled(7, QStringLiteral("りくち"), 3, 0, 1));   // no such name: ignored
        l.Add(Styled(8, QStringLiteral("陸地"), 3, kBlue, 1));
        l.Add(Styled(9, QStringLiteral("鉄道"), 3, kBlue, 1));   // a polyline in the map: ignored
        l.Add(Styled(10, QStringLiteral("メモ"), 1, kBlue, 1));  // remarks are never styled
    });
    const struct {
        bool pageSync, libShow;
        int32_t forePage3;
        int16_t show;
    } cases[] = {
        {false, true, kBlue + 3, 1},
        {true, true, kBlue + 1, 1},    // the library's first page onto all
        {false, false, kBlue + 3, -1}, // show mode and range stay
    };
    for (const auto& c : cases) {
        // A fresh working copy for each case.
        m.Unload();
        m.TargetUnits = units.get();
        ASSERT_TRUE(m.Load());
        m.ChooseMap(2);
        m.CurThings->setFileName(dir.file(QStringLiteral("W.THG")));
        m.EiPageSync = c.pageSync;
        m.EiLibShow = c.libShow;
        lib.MakeLibraryList();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("事象リストを更新しました."), plat::IdOk);
        const int plots = main.plots;
        ASSERT_TRUE(lib.Open());
        EXPECT_EQ(main.plots, plots + 1);   // the preview
        const clsThing& land = work(u"陸地");
        EXPECT_EQ(land.Index(), 2);        // number, name and category stay
        EXPECT_EQ(land.Category(), 1);
        EXPECT_EQ(land.PageRecord(3).Fore, c.forePage3) << c.pageSync;
        EXPECT_EQ(land.PageRecord(3).Style, 5);
        EXPECT_EQ(land.PageRecord(8).Back, 0x00FF00);
        EXPECT_EQ(land.PageRecord(3).ShowMode, c.show) << c.libShow;
        EXPECT_EQ(work(u"陸地", 1).PageRecord(3).Fore, c.forePage3);   // the other unit follows by name
        EXPECT_EQ(work(u"鉄道").PageRecord(1).Fore, 0x0000C0);
        EXPECT_EQ(work(u"メモ").PageRecord(1).Fore, 0x0000C0);
    }
}

TEST_F(MapSymbolLibraryTest, ALibraryThatDoesNotReadChangesNothing) {
    lib.Text = QStringLiteral("gone");
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("事象ファイルが存在しません."), plat::IdOk);
        EXPECT_FALSE(lib.Open());
    }
    testsupport::WriteBytes(lib_(QStringLiteral("bad")), QByteArray("[THING]\r\nNAME=\x82\r\n"));
    lib.Text = QStringLiteral("bad");
    const int32_t fore = work(u"陸地").PageRecord(1).Fore;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(lib_(QStringLiteral("bad")), plat::IdOk);
        EXPECT_FALSE(lib.Open());
    }
    EXPECT_EQ(work(u"陸地").PageRecord(1).Fore, fore);
    EXPECT_FALSE(m.CurThings->Modify());
}

} // namespace
