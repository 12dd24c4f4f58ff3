// One map unit: its name and mode, modified state, drawing cells, things in
// use, the add-figure question, and the load and save of its three files.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "MapTestSupport.h"
#include "MapUnitIo.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsMapUnit.h"

#include <QFile>

#include <sys/stat.h>

using namespace maptest;

namespace {

// Returns the figures of the file: those asked for and the date line a save adds.
int32_t writeMap(const QString& path, int32_t mode, int figures) {
    clsMap m;
    m.setMapMode(mode);
    m.setFileName(path);
    m.Add(NewMapRem(QStringLiteral("# 地図コード　　　：190000")));
    for (int i = 1; i < figures; ++i) m.Add(Sym(i, 0, 1, 2));
    EXPECT_EQ(m.Save(), 0);
    return m.Count();
}

void writeAdm(const QString& path, const QString& name) {
    maptest::WriteLines(path, {"[ADMINISTRATION]", QStringLiteral("1,0,2,1,1,\"%1\",\"\"").arg(name)});
}

void writeThg(const QString& path, const QString& name) {
    maptest::WriteLines(path, {"[THING]", "NUMBER=2", "FIGURE=SYMBOL", QStringLiteral("NAME=\"%1\"").arg(name),
                               "FORE=1,2,3,4,5,6,7,8", ""});
}

// The events of a load or save, without the per cents of the map.
QStringList withoutPercents(const QStringList& events) {
    QStringList out;
    for (const QString& e : events)
        if (!e.endsWith(QLatin1Char('%'))) out.append(e);
    return out;
}

clsMapUnit& unitWithCatalogues(clsMapUnit& u) {
    auto d = std::make_shared<clsAdmin>();
    d->setAdminCode(1);
    d->setPage(3);
    u.Admins().Add(d);
    auto t = std::make_shared<clsThing>();
    t->setIndex(2);
    t->setFigure(4);
    for (int p = 1; p <= 8; ++p) {
        t->setPage(p);
        t->setFore(p * 10);
    }
    t->setPage(1);
    u.Things().Add(t);
    return u;
}

} // namespace

TEST(MapUnit, NameAndMode) {
    clsMapUnit u;
    u.setUnitName(QStringLiteral("/maps/world.mll"));
    EXPECT_EQ(u.Map().MapMode(), 1);
    u.setUnitName(QStringLiteral("/maps/plane.MXY"));
    EXPECT_EQ(u.Map().MapMode(), 2);
    EXPECT_EQ(u.Garbage().MapMode(), 2);
    EXPECT_EQ(u.UnitName(), "/maps/plane.MXY");
    EXPECT_EQ(u.Admins().FileName(), "/maps/plane.ADM");
    EXPECT_EQ(u.Things().FileName(), "/maps/plane.THG");
    // Lower case keeps the mode; the map still takes its mode's extension.
    u.setUnitName(QStringLiteral("/maps/other.mll"));
    EXPECT_EQ(u.Map().MapMode(), 2);
    EXPECT_EQ(u.UnitName(), "/maps/other.MXY");
    EXPECT_TRUE(u.DisplaySwitch());
    EXPECT_TRUE(u.SearchSwitch());
    EXPECT_FALSE(u.Garbage().EiUndo());
}

TEST(MapUnit, ModifyCountsOnlyWhatWouldBeSaved) {
    clsMapUnit u;
    u.Map().setModify(false);
    u.Things().setModify(false);
    u.Admins().setModify(false);
    EXPECT_FALSE(u.Modify());
    u.Map().setModify(true);
    u.Things().setModify(true);
    EXPECT_FALSE(u.Modify());   // both empty
    u.Admins().setModify(true);
    EXPECT_TRUE(u.Modify());    // an empty district catalogue counts
    u.Admins().setModify(false);
    u.Map().Add(Sym(1, 1));
    EXPECT_TRUE(u.Modify());
}

TEST(MapUnit, CellsAndTheirColour) {
    clsMapUnit u;
    unitWithCatalogues(u);
    auto fig = Sym(5, 5, 1, 2);
    u.Map().Add(fig);
    const clsMapCell cell = u.Cell(1);
    ASSERT_TRUE(cell.IsValid());
    EXPECT_EQ(cell.CellThing->Page(), 3);
    EXPECT_EQ(cell.RealColor(), 30);
    fig->setOwnColor(0x00FF00);
    EXPECT_EQ(cell.RealColor(), 0x00FF00);

    // A district not in the catalogue: no valid cell, the page untouched.
    u.Things().Item(2)->setPage(5);
    const clsMapCell orphan = u.ToCell(Sym(1, 1, 7, 2));
    EXPECT_FALSE(orphan.IsValid());
    EXPECT_EQ(orphan.CellAdmin, nullptr);
    EXPECT_EQ(u.Things().Item(2)->Page(), 5);
    EXPECT_FALSE(u.ToCell(nullptr).CellFigure);
    EXPECT_FALSE(u.Cell(9).IsValid());

    // No own colour and a thing without colour on that page.
    u.Things().Item(2)->setPage(3);
    u.Things().Item(2)->setFore(-1);
    fig->setOwnColor(-1);
    EXPECT_EQ(u.Cell(1).RealColor(), -1);
}

TEST(MapUnit, CheckUseThingMarksFiguresAndFrames) {
    clsMapUnit u;
    for (int32_t n : {1, 2, 3, 4}) {
        auto t = std::make_shared<clsThing>();
        t->setIndex(n);
        u.Things().Add(t);
    }
    u.Things().setCategoryName(2, QStringLiteral("枠組"));
    u.Things().Item(4)->setCategory(2);
    u.Things().Item(3)->setUse(true);
    for (int32_t n : {1, 1, 9, 1}) u.Map().Add(Sym(0, 0, 1, static_cast<int16_t>(n)));
    u.CheckUseThing(false);
    std::vector<bool> use;
    for (int32_t n : {1, 2, 3, 4}) use.push_back(u.Things().Item(n)->Use());
    EXPECT_EQ(use, (std::vector<bool>{true, false, false, false}));
    u.CheckUseThing(true);
    EXPECT_TRUE(u.Things().Item(4)->Use());
}

TEST(MapUnit, ConfirmAddFigureAsksOncePerUnit) {
    clsMapUnit user;
    user.Map().Add(NewMapRem(QStringLiteral("# 地図コード　　　：190000")));
    EXPECT_TRUE(ConfirmAddFigure(user));
    EXPECT_EQ(user.AddFigureAnswer(), 0);
    clsMapUnit none;
    EXPECT_TRUE(ConfirmAddFigure(none));

    clsMapUnit base;
    base.Map().Add(NewMapRem(QStringLiteral("# 地図コード　　　：110000")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("アクティブ地図はベース地図です.\r\n図形を追加してもよろしいですか？"), plat::IdNo);
        EXPECT_FALSE(ConfirmAddFigure(base));
    }
    EXPECT_FALSE(ConfirmAddFigure(base));
    EXPECT_EQ(base.AddFigureAnswer(), 1);

    clsMapUnit standard;
    standard.Map().Add(NewMapRem(QStringLiteral("# 地図コード　　　：142392")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("アクティブ地図は標準地図です."), plat::IdYes);
        EXPECT_TRUE(ConfirmAddFigure(standard));
    }
    EXPECT_TRUE(ConfirmAddFigure(standard));
}

// ----------------------------------------------------------- load and save

TEST(MapUnitLoad, FilesAsNamedWithProgress) {
    maptest::Folders f;
    const QString base = f.other(QStringLiteral("WORLD"));
    writeAdm(base + ".ADM", QStringLiteral("given"));
    writeThg(base + ".THG", QStringLiteral("given"));
    const int32_t count = writeMap(base + ".MLL", 1, 20);
    clsMapUnit u;
    u.setUnitName(base + ".MLL");
    u.Garbage().Add(Sym(1, 1));
    HeadlessMapUnitIoReporter r;
    ASSERT_TRUE(LoadMapUnitFiles(u, r));
    EXPECT_EQ(withoutPercents(r.Events), (QStringList{base + ".ADM", "Loading...", "Success.", base + ".THG",
                                                      "Loading...", "Success.", base + ".MLL", "Loading...",
                                                      "Success."}));
    EXPECT_TRUE(r.Events.contains(QStringLiteral("100%")));
    EXPECT_EQ(u.Map().Count(), count);
    EXPECT_EQ(u.Admins().Item(1)->EuropianName(), "given");
    EXPECT_FALSE(u.Modify());
    EXPECT_FALSE(u.Map().Progress);   // the relay is gone
    ASSERT_TRUE(u.Load());
    EXPECT_EQ(u.Garbage().Count(), 0);
}

TEST(MapUnitLoad, FallsBackOnTheMapFolderTheProgramFolderAndTheDefaults) {
    maptest::Folders f;
    const QString given = f.other(QStringLiteral("gone/AREA.MLL"));
    writeAdm(f.map(QStringLiteral("AREA.ADM")), QStringLiteral("map folder"));
    writeAdm(f.program(QStringLiteral("AREA.ADM")), QStringLiteral("program"));
    writeThg(f.program(QStringLiteral("area.thg")), QStringLiteral("program"));
    writeThg(f.map(QStringLiteral("DEFAULT.THG")), QStringLiteral("default"));
    const int32_t count = writeMap(f.program(QStringLiteral("AREA.MLL")), 1, 3);
    clsMapUnit u;
    u.setUnitName(given);
    HeadlessMapUnitIoReporter r;
    ASSERT_TRUE(LoadMapUnitFiles(u, r));
    EXPECT_EQ(u.Admins().FileName(), f.map(QStringLiteral("AREA.ADM")));
    EXPECT_EQ(u.Admins().Item(1)->EuropianName(), "map folder");
    // Found whatever the case of the file; named as the unit names it.
    EXPECT_EQ(u.Things().FileName(), f.program(QStringLiteral("AREA.THG")));
    EXPECT_EQ(u.Things().Item(2)->Name(), "program");
    EXPECT_EQ(u.UnitName(), f.program(QStringLiteral("AREA.MLL")));
    EXPECT_EQ(u.Map().Count(), count);

    // Nowhere but the default.
    QFile::remove(f.program(QStringLiteral("area.thg")));
    clsMapUnit v;
    v.setUnitName(given);
    ASSERT_TRUE(LoadMapUnitFiles(v, r));
    EXPECT_EQ(v.Things().FileName(), f.map(QStringLiteral("DEFAULT.THG")));
    EXPECT_EQ(v.Things().Item(2)->Name(), "default");
}

TEST(MapUnitLoad, AMissingMapFailsAndKeepsItsName) {
    maptest::Folders f;
    writeAdm(f.map(QStringLiteral("DEFAULT.ADM")), QStringLiteral("default"));
    writeThg(f.map(QStringLiteral("DEFAULT.THG")), QStringLiteral("default"));
    const QString given = f.other(QStringLiteral("LOST.MLL"));
    clsMapUnit u;
    u.setUnitName(given);
    u.Map().Add(Sym(1, 1));
    u.Map().setLockMode(true);
    HeadlessMapUnitIoReporter r;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk);
        EXPECT_FALSE(LoadMapUnitFiles(u, r));
    }
    EXPECT_EQ(r.Events.mid(6), (QStringList{given, "Loading..."}));
    EXPECT_EQ(u.Map().Count(), 0);
    EXPECT_FALSE(u.Map().LockMode());
    EXPECT_EQ(u.UnitName(), given);
    EXPECT_EQ(u.Things().Item(2)->Name(), "default");

    // A catalogue found nowhere stops the load before the map.
    QFile::remove(f.map(QStringLiteral("DEFAULT.ADM")));
    clsMapUnit v;
    v.setUnitName(given);
    v.Map().Add(Sym(1, 1));
    HeadlessMapUnitIoReporter s;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("行政区ファイルが存在しません."), plat::IdOk);
        EXPECT_FALSE(LoadMapUnitFiles(v, s));
    }
    EXPECT_EQ(s.Events, (QStringList{ChangeExt(given, ".ADM"), "Loading..."}));
    EXPECT_EQ(v.Admins().FileName(), ChangeExt(given, ".ADM"));
    EXPECT_EQ(v.Map().Count(), 1);
}

TEST(MapUnitLoad, AFileThatDoesNotReadIsAFailure) {
    maptest::Folders f;
    const QString base = f.other(QStringLiteral("BROKEN"));
    writeAdm(base + ".ADM", QStringLiteral("x"));
    maptest::WriteLines(base + ".THG", {"[THING]", "NUMBER=70000", ""});
    clsMapUnit u;
    u.setUnitName(base + ".MLL");
    HeadlessMapUnitIoReporter r;
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("*Source=clsThing.ReadThing/"), plat::IdOk);
    EXPECT_FALSE(LoadMapUnitFiles(u, r));
    EXPECT_EQ(u.Things().Count(), 0);
}

TEST(MapUnitLoad, InstalledDialogsAreShown) {
    int loads = 0, saves = 0;
    QString log;
    SetMapUnitDialogs([&](clsMapUnit&) { return ++loads == 1; },
                      [&](clsMapUnit&, const QString& name) {
                          ++saves;
                          log = name;
                          return true;
                      });
    clsMapUnit u;
    u.setUnitName(QStringLiteral("/x/UNIT.MLL"));
    u.Garbage().Add(Sym(1, 1));
    EXPECT_TRUE(u.Load());
    EXPECT_EQ(u.Garbage().Count(), 0);
    EXPECT_FALSE(u.Load());
    EXPECT_TRUE(u.Save(true));
    EXPECT_EQ(log, "/x/UNIT.MLL");
    EXPECT_TRUE(u.Save(false));
    EXPECT_EQ(log, "");
    EXPECT_EQ(saves, 2);
    SetMapUnitDialogs(nullptr, nullptr);
}

TEST(MapUnitSave, SavesWhatIsModifiedAndTheSnapshot) {
    maptest::Folders f;
    writeAdm(f.map(QStringLiteral("DEFAULT.ADM")), QStringLiteral("default"));
    writeThg(f.map(QStringLiteral("DEFAULT.THG")), QStringLiteral("default"));
    const QString base = f.other(QStringLiteral("NEW"));
    writeMap(base + ".MLL", 1, 4);
    clsMapUnit u;
    u.setUnitName(base + ".MLL");
    ASSERT_TRUE(u.Load());
    EXPECT_EQ(u.Admins().FileName(), f.map(QStringLiteral("DEFAULT.ADM")));

    QStringList logs;
    SetWriteLogHook([&](const QString& path) {
        logs.append(path);
        return true;
    });
    // Saving names the catalogues after the map, so they are saved beside it.
    u.Map().Add(Sym(9, 9));
    HeadlessMapUnitIoReporter r;
    u.setUnitName(u.UnitName());
    ASSERT_TRUE(SaveMapUnitFiles(u, u.UnitName(), r));
    EXPECT_EQ(withoutPercents(r.Events),
              (QStringList{base + ".ADM", "Saving...", "Success.", base + ".THG", "Saving...", "Success.",
                           base + ".MLL", "Saving...", "Success."}));
    EXPECT_EQ(logs, (QStringList{base + ".PLG"}));
    EXPECT_EQ(plat::ReadTextLines(base + ".ADM").last(), "001,0,2,1,1,\"default\",\"\"");
    EXPECT_FALSE(u.Modify());

    // Nothing modified: only the snapshot; a snapshot that fails is a failure.
    SetWriteLogHook([](const QString&) { return false; });
    HeadlessMapUnitIoReporter s;
    EXPECT_FALSE(SaveMapUnitFiles(u, u.UnitName(), s));
    EXPECT_TRUE(s.Events.isEmpty());
    EXPECT_TRUE(SaveMapUnitFiles(u, QString(), s));
    SetWriteLogHook(nullptr);
    EXPECT_TRUE(u.Save(true));

    // A locked catalogue is left alone; a read-only map is a failure and
    // the other files are still saved.
    u.Things().Item(2)->setFore(5);
    u.Things().setLockMode(true);
    u.Admins().Item(1)->setShow(false);
    u.Map().Add(Sym(8, 8));
    ::chmod(QFile::encodeName(base + ".MLL").constData(), 0444);
    HeadlessMapUnitIoReporter t;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("は読み取り専用ファイルです."), plat::IdOk);
        EXPECT_FALSE(SaveMapUnitFiles(u, QString(), t));
    }
    ::chmod(QFile::encodeName(base + ".MLL").constData(), 0644);
    EXPECT_EQ(withoutPercents(t.Events), (QStringList{base + ".ADM", "Saving...", "Success.", base + ".MLL", "Saving..."}));
    EXPECT_EQ(plat::ReadTextLines(base + ".ADM").last(), "001,0,2,0,1,\"default\",\"\"");
}
