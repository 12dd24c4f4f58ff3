// One map unit: its name and mode, modified state, drawing cells, things in
// use, the add-figure question, and the load and save of its three files.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "MapUnitIo.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsMapUnit.h"

#include <QFile>

#include <functional>

#include <sys/stat.h>

using namespace maptest;

namespace {

// Returns the figures of the file: those asked for and the date line a save adds.
int32_t writeMap(const QString& path, int figures) {
    clsMap m;
    m.setFileName(path);
    m.Add(NewMapRem(QStringLiteral("# 地図コード　　　：190000")));
    for (int i = 1; i < figures; ++i) m.Add(Sym(i, 0, 1, 2));
    EXPECT_EQ(m.Save(), 0);
    return m.Count();
}

void writeAdm(const QString& path, const QString& name) {
    WriteLines(path, {"[ADMINISTRATION]", QStringLiteral("1,0,2,1,1,\"%1\",\"\"").arg(name)});
}

void writeThg(const QString& path, const QString& name) {
    WriteLines(path, {"[THING]", "NUMBER=2", "FIGURE=SYMBOL", QStringLiteral("NAME=\"%1\"").arg(name), "FORE=1,2,3,4,5,6,7,8", ""});
}

// The events of a load or save, without the per cents of the map.
QStringList withoutPercents(const QStringList& events) {
    QStringList out;
    for (const QString& e : events)
        if (!e.endsWith(QLatin1Char('%'))) out.append(e);
    return out;
}

QStringList stepsOf(const QString& base, const char* doing, std::initializer_list<const char*> exts) {
    QStringList out;
    for (const char* e : exts) out << base + e << QString::fromLatin1(doing) << QStringLiteral("Success.");
    return out;
}

} // namespace

TEST(MapUnit, NameModeAndModifiedState) {
    clsMapUnit u;
    u.setUnitName(QStringLiteral("/maps/plane.MXY"));
    EXPECT_EQ(u.Map().MapMode(), 2);
    EXPECT_EQ(u.Garbage().MapMode(), 2);
    EXPECT_EQ(u.Admins().FileName(), "/maps/plane.ADM");
    EXPECT_EQ(u.Things().FileName(), "/maps/plane.THG");
    u.setUnitName(QStringLiteral("/maps/other.mll"));   // lower case keeps the mode
    EXPECT_EQ(u.UnitName(), "/maps/other.MXY");
    // Parts that were only named hold nothing to write; the parts of an
    // established unit are written also when emptied.
    const std::function<void(bool)> parts[] = {[&](bool m) { u.Map().setModify(m); },
                                               [&](bool m) { u.Things().setModify(m); },
                                               [&](bool m) { u.Admins().setModify(m); }};
    for (bool established : {false, true}) {
        u.setEstablished(established);
        for (size_t i = 0; i < std::size(parts); ++i) {
            for (const auto& set : parts) set(false);
            EXPECT_FALSE(u.Modify());
            parts[i](true);
            // The district catalogue counts even empty, as it always did.
            EXPECT_EQ(u.Modify(), established || i == 2) << established << " part " << i;
        }
    }
}

TEST(MapUnit, CellsAndTheAddFigureQuestion) {
    clsMapUnit u;
    auto d = std::make_shared<clsAdmin>();
    d->setAdminCode(1);
    d->setPage(3);
    u.Admins().Add(d);
    auto t = std::make_shared<clsThing>();
    t->setIndex(2);
    t->setFigure(4);
    for (int p = 1; p <= 8; ++p) t->setPage(p), t->setFore(p * 10);
    t->setPage(1);
    u.Things().Add(t);
    auto fig = Sym(5, 5, 1, 2);
    u.Map().Add(fig);
    const clsMapCell cell = u.Cell(1);   // the district's page decides the colour
    ASSERT_TRUE(cell.IsValid());
    EXPECT_EQ(cell.RealColor(), 30);
    fig->setOwnColor(0x00FF00);
    EXPECT_EQ(cell.RealColor(), 0x00FF00);
    EXPECT_FALSE(u.ToCell(Sym(1, 1, 7, 2)).IsValid());   // no such district
    EXPECT_FALSE(u.Cell(9).IsValid());

    // A base or standard map asks once before a figure is added; a user map never.
    EXPECT_TRUE(ConfirmAddFigure(u));
    clsMapUnit base, standard;
    base.Map().Add(NewMapRem(QStringLiteral("# 地図コード　　　：110000")));
    standard.Map().Add(NewMapRem(QStringLiteral("# 地図コード　　　：142392")));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("アクティブ地図はベース地図です.\r\n図形を追加してもよろしいですか？"), plat::IdNo)
        .expect(QStringLiteral("アクティブ地図は標準地図です."), plat::IdYes);
    EXPECT_FALSE(ConfirmAddFigure(base));
    EXPECT_FALSE(ConfirmAddFigure(base));
    EXPECT_TRUE(ConfirmAddFigure(standard));
    EXPECT_TRUE(ConfirmAddFigure(standard));
}

TEST(MapUnitLoad, FilesAsNamedOrFoundElsewhere) {
    Folders f;
    const QString base = f.other(QStringLiteral("WORLD"));
    writeAdm(base + ".ADM", QStringLiteral("given"));
    writeThg(base + ".THG", QStringLiteral("given"));
    const int32_t count = writeMap(base + ".MLL", 20);
    clsMapUnit u;
    u.setUnitName(base + ".MLL");
    u.Garbage().Add(Sym(1, 1));
    HeadlessMapUnitIoReporter r;
    ASSERT_TRUE(LoadMapUnitFiles(u, r));
    EXPECT_EQ(withoutPercents(r.Events), stepsOf(base, "Loading...", {".ADM", ".THG", ".MLL"}));
    EXPECT_TRUE(r.Events.contains(QStringLiteral("100%")));
    EXPECT_EQ(u.Map().Count(), count);
    EXPECT_FALSE(u.Modify() || u.Map().Progress);   // the relay is gone
    ASSERT_TRUE(u.Load());
    EXPECT_EQ(u.Garbage().Count(), 0);

    // Not beside the map: the map folder, the program folder, then the
    // defaults; found whatever the case of the file, named as the unit names it.
    const QString given = f.other(QStringLiteral("gone/AREA.MLL"));
    writeAdm(f.map(QStringLiteral("AREA.ADM")), QStringLiteral("map folder"));
    writeAdm(f.program(QStringLiteral("AREA.ADM")), QStringLiteral("program"));
    writeThg(f.program(QStringLiteral("area.thg")), QStringLiteral("program"));
    writeThg(f.map(QStringLiteral("DEFAULT.THG")), QStringLiteral("default"));
    writeMap(f.program(QStringLiteral("AREA.MLL")), 3);
    clsMapUnit v;
    v.setUnitName(given);
    ASSERT_TRUE(LoadMapUnitFiles(v, r));
    EXPECT_EQ(v.Admins().Item(1)->EuropianName(), "map folder");
    EXPECT_EQ(v.Things().FileName(), f.program(QStringLiteral("AREA.THG")));
    EXPECT_EQ(v.Things().Item(2)->Name(), "program");
    EXPECT_EQ(v.UnitName(), f.program(QStringLiteral("AREA.MLL")));
    QFile::remove(f.program(QStringLiteral("area.thg")));
    clsMapUnit w;
    w.setUnitName(given);
    ASSERT_TRUE(LoadMapUnitFiles(w, r));
    EXPECT_EQ(w.Things().FileName(), f.map(QStringLiteral("DEFAULT.THG")));
}

TEST(MapUnitLoad, FailuresKeepTheNamesGiven) {
    Folders f;
    writeAdm(f.map(QStringLiteral("DEFAULT.ADM")), QStringLiteral("default"));
    writeThg(f.map(QStringLiteral("DEFAULT.THG")), QStringLiteral("default"));
    const QString given = f.other(QStringLiteral("LOST.MLL"));
    clsMapUnit u;
    u.setUnitName(given);
    u.Map().Add(Sym(1, 1));
    u.Map().setLockMode(true);
    HeadlessMapUnitIoReporter r, s, t;
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk)
        .expect(QStringLiteral("*Source=clsThing.ReadThing/"), plat::IdOk)
        .expect(QStringLiteral("行政区ファイルが存在しません."), plat::IdOk);
    EXPECT_FALSE(LoadMapUnitFiles(u, r));   // a missing map
    EXPECT_EQ(r.Events.mid(6), (QStringList{given, "Loading..."}));
    EXPECT_EQ(u.Map().Count(), 0);
    EXPECT_FALSE(u.Map().LockMode());
    EXPECT_EQ(u.UnitName(), given);
    WriteLines(f.map(QStringLiteral("DEFAULT.THG")), {"[THING]", "NUMBER=70000", ""});
    EXPECT_FALSE(LoadMapUnitFiles(u, s));   // a file that does not read
    EXPECT_EQ(u.Things().Item(2)->Name(), "default");   // kept as it was
    QFile::remove(f.map(QStringLiteral("DEFAULT.ADM")));
    clsMapUnit v;   // a catalogue found nowhere stops the load before the map
    v.setUnitName(given);
    v.Map().Add(Sym(1, 1));
    EXPECT_FALSE(LoadMapUnitFiles(v, t));
    EXPECT_EQ(t.Events, (QStringList{ChangeExt(given, ".ADM"), "Loading..."}));
    EXPECT_EQ(v.Admins().FileName(), ChangeExt(given, ".ADM"));
    EXPECT_EQ(v.Map().Count(), 1);
}

TEST(MapUnitSave, SavesWhatIsModifiedAndTheSnapshot) {
    Folders f;
    writeAdm(f.map(QStringLiteral("DEFAULT.ADM")), QStringLiteral("default"));
    writeThg(f.map(QStringLiteral("DEFAULT.THG")), QStringLiteral("default"));
    const QString base = f.other(QStringLiteral("NEW"));
    writeMap(base + ".MLL", 4);
    clsMapUnit u;
    u.setUnitName(base + ".MLL");
    ASSERT_TRUE(u.Load());
    EXPECT_EQ(u.Admins().FileName(), f.map(QStringLiteral("DEFAULT.ADM")));
    QStringList logs;
    SetWriteLogHook([&](const QString& path) { return logs.append(path), true; });
    // Saving names the catalogues after the map, so they are saved beside it.
    u.Map().Add(Sym(9, 9));
    HeadlessMapUnitIoReporter r;
    u.setUnitName(u.UnitName());
    ASSERT_TRUE(SaveMapUnitFiles(u, u.UnitName(), r));
    EXPECT_EQ(withoutPercents(r.Events), stepsOf(base, "Saving...", {".ADM", ".THG", ".MLL"}));
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
    EXPECT_EQ(withoutPercents(t.Events), stepsOf(base, "Saving...", {".ADM"}) + (QStringList{base + ".MLL", "Saving..."}));
    EXPECT_EQ(plat::ReadTextLines(base + ".ADM").last(), "001,0,2,0,1,\"default\",\"\"");
}
